#pragma once
// The message system's host as the message tests script it: the game mode,
// opened event windows, the map mark and the map's centre, each kept in a
// field. The host contract tests hold its answers to the game's host.
#include <cstdint>

#include "model/message.h"

struct ScriptedMessageHost : CMessageHost {
  int mode = 1;
  int eventWindows = 0;
  int markX = -1, markY = -1;
  uint32_t markTime = 0;
  int centreX = -1, centreY = -1;
  int GetGameModus() override { return mode; }
  void ActivateEventWindow() override { ++eventWindows; }
  void SetMapMark(int x, int y, int, int, uint32_t t) override { markX = x, markY = y, markTime = t; }
  bool GetMapMarkTime(uint32_t* t) override {
    *t = markTime;
    return markX != -1;
  }
  void ClearMapMark() override { markX = markY = -1; }
  void CenterMap(int x, int y) override { centreX = x, centreY = y; }
};
