#pragma once
// Plays the whole game headless the way a player does: the real world starts
// on the generated archives, input arrives as SDL events through the frame
// loop, time moves only when the script waits, and the checks read the
// world's state and small regions of the finished frame.
//
//   zortest::Scenario game;
//   game.Run({Key(SDLK_6), Move(400, 300), Press(400, 300, kRight), Wait(150), Release(400, 300, kRight)});
//   EXPECT_EQ(game.Ui().selObj.tool, 1);
//
// Every step ends with one pass of the frame loop (events, one turn, one
// frame); Wait(ms) runs one frame per kFrameMs of hand-driven time.
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class CZorvaWorld;
class CUserInt;
class CIsoWelt;
class CZorFrameLoop;

namespace zortest {

// The wheel turns by a press and release of a button of its own.
enum class Button : uint8_t { kLeft, kRight, kWheelUp, kWheelDown };
constexpr Button kLeft = Button::kLeft;
constexpr Button kRight = Button::kRight;
constexpr Button kWheelUp = Button::kWheelUp;
constexpr Button kWheelDown = Button::kWheelDown;

// One thing the player does, or a pause.
struct Step {
  enum Kind : uint8_t { kMove, kPress, kRelease, kKeyDown, kKeyUp, kWait, kFrames };
  Kind kind;
  int a = 0;  // x, the SDL key symbol, milliseconds or a frame count
  int b = 0;  // y
  Button button = kLeft;
  int character = 0;  // a key press: the character the key types (SDL's unicode), 0 for none
};

inline Step Move(int x, int y) { return {Step::kMove, x, y}; }
inline Step Press(int x, int y, Button b = kLeft) { return {Step::kPress, x, y, b}; }
inline Step Release(int x, int y, Button b = kLeft) { return {Step::kRelease, x, y, b}; }
inline Step KeyDown(int sdlKey, int character = 0) { return {Step::kKeyDown, sdlKey, 0, kLeft, character}; }
inline Step KeyUp(int sdlKey) { return {Step::kKeyUp, sdlKey}; }
inline Step Wait(int ms) { return {Step::kWait, ms}; }
inline Step Frames(int count) { return {Step::kFrames, count}; }

// A rectangle of screen pixels, right and bottom exclusive.
struct Region {
  int x0, y0, x1, y1;
};

class Scenario {
 public:
  // Milliseconds of hand-driven time per frame while the script waits.
  static constexpr int kFrameMs = 20;

  // Writes the settings (with any extra lines), starts the world and runs
  // frames until the start-up phases are over, passing the title and the
  // welcome as a player does: the title by its continue corner, the welcome
  // by its button, and the game menu that button opens by its close box.
  explicit Scenario(const std::string& extraSettings = "");
  // The same with a world made by `make`, for scenarios that watch what the
  // game asks of the world (savegames, videos, ...).
  explicit Scenario(const std::function<CZorvaWorld*()>& make, const std::string& extraSettings = "");
  ~Scenario();
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  // Plays the steps in order.
  Scenario& Run(std::initializer_list<Step> steps);
  Scenario& Do(const Step& step);
  // Shorthands for the usual pairs.
  Scenario& Key(int sdlKey) { return Run({KeyDown(sdlKey), KeyUp(sdlKey)}); }
  Scenario& Click(int x, int y, Button b = kLeft) { return Run({Move(x, y), Press(x, y, b), Release(x, y, b)}); }
  // Types the text on a US keyboard: for each character the key that shows
  // it goes down, reporting the character as SDL does, and up again; then
  // the player waits 60 ms.
  Scenario& TypeOnUsKeyboard(const std::string& text);
  // Clicks at (x, y) inside window `id`, wherever the window stands; false,
  // with nothing done, while the window is closed.
  bool ClickIn(int id, int x, int y, Button b = kLeft);
  bool IsOpen(int id);
  // The game's window loses the input focus, as when the player switches
  // to another program.
  Scenario& LoseFocus();
  // Chooses a tool as a palette button does; the window that turns a
  // building to place, which the building tools open over the map, is
  // closed again so that the script's clicks reach the map.
  void ChooseTool(int tool, int subtool, int variant);
  // Presses at `from`, moves in `moves` even steps to `to`, releases there.
  Scenario& Drag(int fx, int fy, int tx, int ty, Button b = kLeft, int moves = 4);

  // A screen point over map cell (tx, ty), clear of the bar and the
  // palette's menus; false, with nothing set, when the cell shows nowhere
  // there.
  bool ScreenOfCell(int tx, int ty, int* x, int* y);

  CZorvaWorld& World() { return *m_world; }
  CUserInt& Ui();
  CIsoWelt& Map();
  // Frames run since the start-up phases ended.
  int FramesRun() const { return m_frames; }
  uint32_t Now() const;

  // ---- the frame: the 16-bit screen surface ----
  int Width() const;
  int Height() const;
  uint16_t Pixel(int x, int y) const;
  // Pixels of the region equal to `colour`.
  int CountPixels(const Region& r, uint16_t colour) const;
  // A fingerprint of the region's pixels; equal regions give equal values.
  uint64_t Fingerprint(const Region& r) const;
  // The region around the mouse where the cursor is drawn.
  Region CursorRegion() const;
  // 565 colour of 8-bit components, as the surface stores it.
  static uint16_t Rgb(int r, int g, int b);
  // Writes the frame as a PNG; false when it cannot. With ZOR_SCENARIO_PNG
  // set to a folder, Shot writes <folder>/<name>.png, otherwise nothing.
  bool WritePng(const std::string& path) const;
  static bool CanWritePng();
  void Shot(const std::string& name) const;

 private:
  // Passes the start-up window that is open; false when none is.
  bool PassStartupWindow();
  void Push(const SDL_Event& e);
  void Frame();

  // The map's view as it was before the game started; the game leaves
  // its rotation and zoom in globals, so they are put back at the end.
  int m_savedRotation = 0;
  int m_savedZoom = 0;
  CZorvaWorld* m_world = nullptr;
  CZorFrameLoop* m_loop = nullptr;
  int m_frames = 0;
  int m_mouseX = 0;
  int m_mouseY = 0;
  uint8_t m_buttons = 0;  // SDL button mask of the held buttons
};

}  // namespace zortest
