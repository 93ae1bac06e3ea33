#include <gtest/gtest.h>

#include <SDL.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "support/test_support.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

// Records what the frame loop hands to the world, in order.
class RecordingWorld : public CZorvaWorld {
 public:
  std::vector<std::string> calls;
  std::vector<QnoInteractionEvent> events;
  // The time each turn takes on the hand-driven clock.
  uint32_t turnMs = 0;
  bool computing = false;
  int InputFilter(QnoInteractionEvent* e, QnoView*) override {
    events.push_back(*e);
    calls.push_back("input");
    return 1;
  }
  int OnPlayloopTurn() override {
    calls.push_back("turn");
    zortest::Clock().Advance(turnMs);
    return 0;
  }
  bool HasComputationDue() const override { return computing; }
  int Render(QnoDisplay* d) override {
    calls.push_back("render");
    return CZorvaWorld::Render(d);
  }
};

void PushKey(int sym, bool down = true, int character = 0) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.sym = static_cast<SDLKey>(sym);
  e.key.keysym.unicode = static_cast<Uint16>(character);
  SDL_PushEvent(&e);
}

void PushMotion(int x, int y, int state) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = static_cast<Uint16>(x);
  e.motion.y = static_cast<Uint16>(y);
  e.motion.state = static_cast<Uint8>(state);
  SDL_PushEvent(&e);
}

void PushButton(int x, int y, int button, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.x = static_cast<Uint16>(x);
  e.button.y = static_cast<Uint16>(y);
  e.button.button = static_cast<Uint8>(button);
  SDL_PushEvent(&e);
}

void PushQuit() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
}

struct FrameLoopTest : testing::Test {
  RecordingWorld* world = nullptr;
  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    zortest::WriteGameSettings();
    Leave_Game = 0;
    world = new RecordingWorld;
    world->Create();
    world->OnStartup();
  }
  void TearDown() override {
    world->OnShutdown();
    world->Destroy();
    delete world;
    Leave_Game = 0;
  }
};

}  // namespace

TEST(KeyCodes, TableAndFolding) {
  EXPECT_EQ(TranslateKeyCodes('y'), 90);
  EXPECT_EQ(TranslateKeyCodes('z'), 89);
  EXPECT_EQ(TranslateKeyCodes('Y'), 90);
  EXPECT_EQ(TranslateKeyCodes('a'), 65);
  EXPECT_EQ(TranslateKeyCodes(SDLK_F1), 23);
  EXPECT_EQ(TranslateKeyCodes(SDLK_F4), 26);
  EXPECT_EQ(TranslateKeyCodes(SDLK_F11), 33);
  EXPECT_EQ(TranslateKeyCodes(SDLK_PAGEDOWN), 22);
  EXPECT_EQ(TranslateKeyCodes(SDLK_PAGEUP), 280);
  EXPECT_EQ(TranslateKeyCodes(SDLK_F12), 293);
  EXPECT_EQ(TranslateKeyCodes(SDLK_UP), 1);
  EXPECT_EQ(TranslateKeyCodes(SDLK_DOWN), 2);
  EXPECT_EQ(TranslateKeyCodes(SDLK_LEFT), 3);
  EXPECT_EQ(TranslateKeyCodes(SDLK_RIGHT), 4);
  EXPECT_EQ(TranslateKeyCodes(SDLK_ESCAPE), 10);
  EXPECT_EQ(TranslateKeyCodes(SDLK_DELETE), 15);
  EXPECT_EQ(TranslateKeyCodes(SDLK_KP_PLUS), 16);
  EXPECT_EQ(TranslateKeyCodes(SDLK_KP_MINUS), 17);
  EXPECT_EQ(TranslateKeyCodes(SDLK_BACKSPACE), 18);
  EXPECT_EQ(TranslateKeyCodes(SDLK_LSHIFT), 19);
  EXPECT_EQ(TranslateKeyCodes(SDLK_RCTRL), 20);
  EXPECT_EQ(TranslateKeyCodes(SDLK_LALT), 21);
  EXPECT_EQ(TranslateKeyCodes(SDLK_RETURN), 13);
  EXPECT_EQ(TranslateKeyCodes('5'), '5');
  for (int sym = 0; sym < 400; ++sym) {
    const int code = TranslateKeyCodes(sym);
    EXPECT_FALSE(code >= 97 && code <= 122) << sym;
  }
}

TEST(KeyCodes, ProgramPathChoosesTheSettingsFile) {
  EXPECT_STREQ(ZorChooseIniFile("/opt/game/dazor.exe"), "DAZOR.INI");
  EXPECT_STREQ(ZorChooseIniFile("/opt/game/DAZOR.EXE"), "ZORVANTA.INI");
  EXPECT_STREQ(ZorChooseIniFile("./zorvanta"), "ZORVANTA.INI");
  EXPECT_STREQ(ZorChooseIniFile(nullptr), "ZORVANTA.INI");
}

TEST(EventConversion, OnlyInputEventsConvert) {
  QnoInteractionEvent ev;
  ev.type = 99;
  SDL_Event sdl{};
  sdl.type = SDL_ACTIVEEVENT;
  EXPECT_FALSE(Kfx_Event_ConvertFrom_KFX2QNO(&sdl, &ev));
  EXPECT_EQ(ev.type, 99);
  sdl.type = SDL_MOUSEBUTTONDOWN;
  sdl.button.button = SDL_BUTTON_MIDDLE;
  sdl.button.x = 65535;
  EXPECT_TRUE(Kfx_Event_ConvertFrom_KFX2QNO(&sdl, &ev));
  EXPECT_EQ(ev.type, 2);
  EXPECT_EQ(ev.button, 1);
  EXPECT_EQ(ev.x, 65535);
  // A wheel turn is no button of the game's, in either direction.
  ev.type = 99;
  for (Uint8 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
    for (Uint8 wheel : {SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN}) {
      sdl.type = type;
      sdl.button.button = wheel;
      EXPECT_FALSE(Kfx_Event_ConvertFrom_KFX2QNO(&sdl, &ev));
      EXPECT_EQ(ev.type, 99);
    }
  sdl.type = SDL_MOUSEBUTTONDOWN;
  sdl.button.button = SDL_BUTTON_LEFT;
  EXPECT_TRUE(Kfx_Event_ConvertFrom_KFX2QNO(&sdl, &ev));
  EXPECT_EQ(ev.button, 0);
}

TEST_F(FrameLoopTest, QueuedEventsAllReachTheWorldBeforeOneTurn) {
  PushMotion(10, 20, SDL_BUTTON(1) | SDL_BUTTON(3));
  PushMotion(11, 21, SDL_BUTTON(1));
  PushButton(12, 22, SDL_BUTTON_RIGHT, true);
  PushKey('z');
  CZorFrameLoop loop(world);
  EXPECT_TRUE(loop.Iterate());
  ASSERT_EQ(world->calls, (std::vector<std::string>{"input", "input", "input", "input", "turn", "render"}));
  const auto& ev = world->events;
  EXPECT_EQ(ev[0].type, 1);
  EXPECT_EQ(ev[0].button, 5);
  EXPECT_EQ(ev[2].type, 2);
  EXPECT_EQ(ev[2].button, 1);
  // The key event keeps the words of the mouse event before it.
  EXPECT_EQ(ev[3].type, 4);
  EXPECT_EQ(ev[3].x, 89);
  EXPECT_EQ(ev[3].y, 22);
  EXPECT_EQ(ev[3].button, 1);
  EXPECT_TRUE(loop.Iterate());
  EXPECT_EQ(loop.GetFrames(), 2);
}

// SDL reports the typed character on the press only; the release of the
// same key carries it too, and nothing else does.
TEST_F(FrameLoopTest, KeysCarryTheCharacterTheyTypeFromPressToRelease) {
  EXPECT_EQ(SDL_EnableUNICODE(-1), 1) << "the platform reports typed characters";
  PushKey('y', true, 'y');
  PushKey(SDLK_LSHIFT, true);
  PushKey('a', true, 'A');
  PushMotion(5, 5, 0);
  PushKey('y', false);
  PushKey('a', false);
  PushKey(SDLK_LSHIFT, false);
  PushKey('y', false);
  CZorFrameLoop loop(world);
  loop.Iterate();
  ASSERT_EQ(world->events.size(), 8u);
  const auto& ev = world->events;
  EXPECT_EQ(ev[0].x, 90) << "the key code keeps its table";
  EXPECT_EQ(ev[0].character, 'y');
  EXPECT_EQ(ev[1].character, 0);
  EXPECT_EQ(ev[2].character, 'A');
  EXPECT_EQ(ev[3].character, 0) << "a mouse event types nothing";
  EXPECT_EQ(ev[4].type, 5);
  EXPECT_EQ(ev[4].character, 'y');
  EXPECT_EQ(ev[5].character, 'A');
  EXPECT_EQ(ev[6].character, 0);
  EXPECT_EQ(ev[7].character, 0) << "a second release without a press";
  // Opening the screen again keeps the characters reported.
  EXPECT_EQ(world->SetWindowMode(-1, 640, 480), 0);
  EXPECT_EQ(SDL_EnableUNICODE(-1), 1);
}

TEST_F(FrameLoopTest, QuitStillDeliversLaterEventsThenStopsWithoutATurn) {
  PushQuit();
  PushKey('a');
  PushKey('a', false);
  CZorFrameLoop loop(world);
  EXPECT_FALSE(loop.Iterate());
  EXPECT_EQ(world->calls, (std::vector<std::string>{"input", "input"}));
  EXPECT_EQ(world->events[1].type, 5);
  EXPECT_EQ(Leave_Game, 1);
  EXPECT_EQ(loop.GetFrames(), 0);
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A quit event says the window was closed, once however many arrive.
TEST_F(FrameLoopTest, AClosedWindowEndsTheLoopAndTheLogSaysSoOnce) {
  PushQuit();
  PushQuit();
  CZorFrameLoop loop(world);
  EXPECT_FALSE(loop.Iterate());
  EXPECT_FALSE(loop.Iterate());
  EXPECT_EQ(Occurrences(zortest::ReadFile("errors.log"), "The game ends: its window was closed"), 1u);
}

// An interrupt, a termination or a hang-up ends the loop in order after
// the events already queued, names the signal in the log, and the handler
// that was there before the loop is there again after it.
TEST_F(FrameLoopTest, AnEndSignalEndsTheLoopInOrderAndTheLogNamesIt) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    Leave_Game = 0;
    world->calls.clear();
    struct sigaction before {};
    sigaction(signal, nullptr, &before);
    {
      CZorFrameLoop loop(world);
      EXPECT_TRUE(loop.Iterate()) << "no signal yet";
      PushKey('a');
      std::raise(signal);
      EXPECT_FALSE(loop.Iterate());
      EXPECT_EQ(world->calls.back(), "input") << "the queued key still arrives, and no turn follows";
      EXPECT_EQ(Leave_Game, 1);
      const std::string line = "The game ends: signal " + std::to_string(signal) + " (";
      EXPECT_EQ(Occurrences(zortest::ReadFile("errors.log"), line), 1u);
      EXPECT_EQ(Occurrences(zortest::ReadFile("errors.log"), "its window was closed"), 0u);
    }
    struct sigaction after {};
    sigaction(signal, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
  }
  // A new loop starts with no signal noted.
  Leave_Game = 0;
  CZorFrameLoop loop(world);
  EXPECT_TRUE(loop.Iterate());
}

TEST_F(FrameLoopTest, ScreenIsOpenedFromTheSettingsAndStored) {
  ASSERT_NE(world->GetScreen(), nullptr);
  EXPECT_EQ(world->GetScreen()->w, 800);
  EXPECT_EQ(world->GetScreen()->h, 600);
  EXPECT_EQ(world->GetScreen()->format->BitsPerPixel, 16);
  const std::string ini = zortest::ReadFile("ZORVANTA.INI");
  EXPECT_NE(ini.find("AUFLOESUNG=800\n"), std::string::npos);
  EXPECT_NE(ini.find("AUFLOESUNGY=600\n"), std::string::npos);
}

// A game with nothing to do waits for its next frame, through the clock,
// and the input that arrives meanwhile is answered in the next pass.
TEST_F(FrameLoopTest, AnIdleLoopWaitsForItsNextFrameAndAnswersInputEachPass) {
  zortest::Clock().ForgetWaits();
  CZorFrameLoop loop(world);
  world->turnMs = 4;
  PushKey('a');
  EXPECT_TRUE(loop.Iterate());
  EXPECT_EQ(loop.GetLastWait(), 12u) << "the first frame is due 16 ms after the loop began";
  EXPECT_EQ(zortest::Clock().Waits(), 1);
  EXPECT_EQ(zortest::Clock().LastWait(), 12u);
  for (int pass = 0; pass < 3; ++pass) {
    zortest::Clock().Advance(loop.GetLastWait());  // the wait, slept
    PushMotion(30 + pass, 40, 0);
    world->calls.clear();
    EXPECT_TRUE(loop.Iterate());
    EXPECT_EQ(world->calls, (std::vector<std::string>{"input", "turn", "render"})) << pass;
    EXPECT_EQ(world->events.back().x, 30 + pass);
    EXPECT_GE(loop.GetLastWait(), 12u);
    EXPECT_LE(loop.GetLastWait(), 13u);
  }
  EXPECT_EQ(zortest::Clock().Waits(), 4);
  // The game being left does not wait for a frame it will not draw.
  PushQuit();
  EXPECT_FALSE(loop.Iterate());
  EXPECT_EQ(zortest::Clock().Waits(), 4);
}

TEST_F(FrameLoopTest, ALoopBehindItsFramesOrComputingAnHourDoesNotWait) {
  zortest::Clock().ForgetWaits();
  CZorFrameLoop loop(world);
  world->turnMs = 40;
  EXPECT_TRUE(loop.Iterate());
  EXPECT_EQ(loop.GetLastWait(), 0u);
  // Back on time: paced from there, with no burst of frames to catch up.
  world->turnMs = 5;
  EXPECT_TRUE(loop.Iterate());
  EXPECT_EQ(loop.GetLastWait(), 11u);
  EXPECT_EQ(zortest::Clock().Waits(), 1);
  zortest::Clock().Advance(loop.GetLastWait());
  // An hour under computation: the passes follow each other at once.
  world->computing = true;
  for (int pass = 0; pass < 3; ++pass) {
    EXPECT_TRUE(loop.Iterate());
    EXPECT_EQ(loop.GetLastWait(), 0u);
  }
  EXPECT_EQ(zortest::Clock().Waits(), 1);
  // Done: the pacing takes up again within two passes.
  world->computing = false;
  EXPECT_TRUE(loop.Iterate());
  EXPECT_TRUE(loop.Iterate());
  EXPECT_EQ(zortest::Clock().Waits(), 2);
  EXPECT_GT(loop.GetLastWait(), 0u);
}
