#pragma once
// The process entry and the frame loop: SDL input converted to
// QnoInteractionEvent, then one turn and one frame whenever the queue is empty.
#include <SDL.h>
#include <signal.h>

#include <array>
#include <cstdint>

#include "framework/qno_event.h"
#include "framework/zor_seams.h"

class CZorvaWorld;

extern CZorvaWorld* dazoR;
extern unsigned char Leave_Game;

int TranslateKeyCodes(int sdlKeySymbol);
bool Kfx_Event_ConvertFrom_KFX2QNO(const SDL_Event* sdl, QnoInteractionEvent* event);

// Picks the settings file name from the program's own path.
const char* ZorChooseIniFile(const char* programPath);

class CZorFrameLoop {
 public:
  // While the loop lives, an interrupt, a termination signal or a hang-up
  // ends it in order, named in the log; the handlers found are put back
  // when it goes.
  explicit CZorFrameLoop(CZorvaWorld* world);
  ~CZorFrameLoop();
  CZorFrameLoop(const CZorFrameLoop&) = delete;
  CZorFrameLoop& operator=(const CZorFrameLoop&) = delete;
  // The signals that end the game in order.
  static constexpr std::array<int, 3> kEndSignals{SIGINT, SIGTERM, SIGHUP};
  // The steady rate the loop keeps at most.
  static constexpr int kFramesPerSecond = 60;

  // One pass of the loop: every pending event handed to the world, then,
  // unless the game is being left, one turn, one frame and a flip, and a
  // wait until the next frame is due when the pass ended early.
  // Returns false once the loop is to end.
  bool Iterate();
  int GetFrames() const { return m_frames; }
  // The milliseconds the last pass waited for its next frame.
  uint32_t GetLastWait() const { return m_lastWait; }

 private:
  void CarryKeyCharacter(const SDL_Event& sdl);
  // Sets Leave_Game, with a log line naming why, the first time.
  static void Leave(const char* why);

  CZorvaWorld* m_world;
  // One record serves every event, so key events keep the mouse words.
  QnoInteractionEvent m_event;
  int m_frames = 0;
  // Without it a game with nothing to do draws as many frames as the
  // machine can, and keeps a core and the display server busy.
  ZorFramePacer m_pacer{kFramesPerSecond};
  uint32_t m_lastWait = 0;
  // The character each held key typed when it went down, by SDL key symbol.
  std::array<int32_t, SDLK_LAST> m_keyCharacters{};
  std::array<struct sigaction, kEndSignals.size()> m_foundActions{};
};

// The whole run of the program; returns the exit code.
int zor_main(int argc, char** argv);
