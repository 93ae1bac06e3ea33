#pragma once
// God mode: the game mode (free play, normal game, scenario, exhibition)
// and the exhibition's time-out and rating.
// Stand-in: only what the world's start-up and turn use.
#include "sim/sim_date.h"
#include "framework/zor_stand_in.h"
#include "worldbase/zor_world_obj.h"

enum EGameModus : int { GAME_GOD = 0, GAME_NORMAL = 1, GAME_SCENARIO = 2, GAME_EXPO = 3 };

class CGottModus : public CWorldObj {
 public:
  // Stand-in for god mode's record: the plain record without data.
  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file) override {
    ZOR_STAND_IN("CGottModus");
    return CWorldObj::SerializeGameStore(file, nullptr);
  }
  using CWorldObj::OnPlayloopTurn;
  // Every running turn, with the current simulation time.
  virtual int OnPlayloopTurn(STime now);
  virtual int SetGameModus(EGameModus mode);
  virtual int SetExpoModus(int mode);
  virtual int SetExpoState(int state);
  virtual int Expo_RefreshLastMove();

  EGameModus GetGameModus() const { return m_GameModus; }

  // Fields the world writes at an exhibition start-up.
  int m_ListingMode = GAME_NORMAL;
  int m_ExpoLanguage = 0;
  int m_ExpoTimeOut = 0;
  int m_ExpoRatingTime = 0;

 private:
  EGameModus m_GameModus = GAME_NORMAL;
};
