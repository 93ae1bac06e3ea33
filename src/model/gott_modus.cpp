#include "model/gott_modus.h"

#include "framework/zor_stand_in.h"

int CGottModus::OnPlayloopTurn(STime) { return 0; }

int CGottModus::SetGameModus(EGameModus mode) {
  m_GameModus = mode;
  return 0;
}

int CGottModus::SetExpoModus(int) {
  ZOR_STAND_IN("CGottModus");
  return 0;
}
int CGottModus::SetExpoState(int) {
  ZOR_STAND_IN("CGottModus");
  return 0;
}
int CGottModus::Expo_RefreshLastMove() { return 0; }
