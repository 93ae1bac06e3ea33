#include "model/gott_modus.h"

int CGottModus::OnPlayloopTurn(STime) { return 0; }

int CGottModus::SetGameModus(EGameModus mode) {
  m_GameModus = mode;
  return 0;
}

int CGottModus::SetExpoModus(int) { return 0; }
int CGottModus::SetExpoState(int) { return 0; }
int CGottModus::Expo_RefreshLastMove() { return 0; }
