#include "support/scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#ifdef ZOR_SCENARIO_PNG
#include <cairo.h>
#endif

#include "framework/qno_log.h"
#include "gui/screen_window.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace zortest {

namespace {
// Turns the start-up may take before the game must be running.
constexpr int kStartupFrames = 20;
// The moment after the last start-up window before the script goes on.
constexpr int kPassedMs = 300;
// Half the side of the square around the mouse that holds the cursor.
constexpr int kCursorReach = 32;

// The SDL key symbol of the US keyboard's key that types `c`, with Shift
// where `c` needs it.
int UsKeyOf(char c) {
  static const char kShifted[] = "~!@#$%^&*()_+{}|:\"<>?";
  static const char kPlain[] = "`1234567890-=[]\\;',./";
  if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
  if (const char* at = c ? std::strchr(kShifted, c) : nullptr) return kPlain[at - kShifted];
  return static_cast<unsigned char>(c);
}
}  // namespace

Scenario::Scenario(const std::string& extraSettings) : Scenario([] { return new CZorvaWorld; }, extraSettings) {}

Scenario::Scenario(const std::function<CZorvaWorld*()>& make, const std::string& extraSettings) {
  m_savedRotation = g_IsoRichtung;
  m_savedZoom = g_ZoomStufe;
  OpenErrorLog("errors.log");
  std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
  WriteGameSettings(extraSettings);
  Leave_Game = 0;
  m_world = make();
  m_world->Create();
  m_world->OnStartup();
  // Nothing the tests did before may wait in SDL's queue.
  SDL_Event stale;
  while (SDL_PollEvent(&stale)) {
  }
  m_loop = new CZorFrameLoop(m_world);
  bool passed = false;
  for (int i = 0; i < kStartupFrames && m_world->GetStartupPhase() != 0; ++i) {
    Frame();
    passed = PassStartupWindow() || passed;
  }
  EXPECT_EQ(m_world->GetStartupPhase(), 0) << "the start-up phases did not end";
  for (int i = 0; i < kStartupFrames && PassStartupWindow(); ++i) passed = true;
  // The player takes a moment before going on, as after any click.
  if (passed) Do(Wait(kPassedMs));
  m_frames = 0;
}

Scenario::~Scenario() {
  delete m_loop;
  m_world->OnShutdown();
  m_world->Destroy();
  delete m_world;
  Leave_Game = 0;
  g_IsoRichtung = m_savedRotation;
  g_ZoomStufe = static_cast<TIsoZoomStufe>(m_savedZoom);
}

CUserInt& Scenario::Ui() { return *m_world->GetUserInt(); }
CIsoWelt& Scenario::Map() { return *m_world->GetIsoWelt(); }
uint32_t Scenario::Now() const { return Clock().Now(); }

Scenario& Scenario::Run(std::initializer_list<Step> steps) {
  for (const Step& s : steps) Do(s);
  return *this;
}

Scenario& Scenario::Do(const Step& step) {
  SDL_Event e{};
  static constexpr Uint8 kSdlButton[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN};
  const Uint8 sdlButton = kSdlButton[static_cast<int>(step.button)];
  // A wheel turn holds no button down.
  const bool wheel = step.button == kWheelUp || step.button == kWheelDown;
  const uint8_t mask = wheel ? 0 : SDL_BUTTON(sdlButton);
  switch (step.kind) {
    case Step::kMove:
      e.type = SDL_MOUSEMOTION;
      e.motion.x = static_cast<Uint16>(step.a);
      e.motion.y = static_cast<Uint16>(step.b);
      e.motion.state = m_buttons;
      m_mouseX = step.a;
      m_mouseY = step.b;
      Push(e);
      break;
    case Step::kPress:
    case Step::kRelease:
      e.type = step.kind == Step::kPress ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      e.button.button = sdlButton;
      e.button.x = static_cast<Uint16>(step.a);
      e.button.y = static_cast<Uint16>(step.b);
      m_buttons = step.kind == Step::kPress ? m_buttons | mask : m_buttons & ~mask;
      m_mouseX = step.a;
      m_mouseY = step.b;
      Push(e);
      break;
    case Step::kKeyDown:
    case Step::kKeyUp:
      e.type = step.kind == Step::kKeyDown ? SDL_KEYDOWN : SDL_KEYUP;
      e.key.keysym.sym = static_cast<SDLKey>(step.a);
      e.key.keysym.unicode = static_cast<Uint16>(step.character);
      Push(e);
      break;
    case Step::kWait:
      for (int left = step.a; left > 0; left -= kFrameMs) {
        Clock().Advance(static_cast<uint32_t>(std::min(left, kFrameMs)));
        Frame();
      }
      return *this;
    case Step::kFrames:
      for (int i = 0; i < step.a; ++i) Frame();
      return *this;
  }
  Frame();
  return *this;
}

Scenario& Scenario::TypeOnUsKeyboard(const std::string& text) {
  for (char c : text) {
    const int key = UsKeyOf(c);
    Run({KeyDown(key, static_cast<unsigned char>(c)), KeyUp(key), Wait(60)});
  }
  return *this;
}

bool Scenario::IsOpen(int id) { return m_world->GetUserInt() && Ui().IsWindowOpen(id) == 0; }

void Scenario::ChooseTool(int tool, int subtool, int variant) {
  Ui().SetToolNr(tool, subtool, variant);
  constexpr int kTurnBuildingWindow = 228;
  Ui().DeActivateWindow(kTurnBuildingWindow);
}

bool Scenario::ClickIn(int id, int x, int y, Button b) {
  CScreenWindow* w = CUserInt::topWindow ? CUserInt::topWindow->GetWindowByID(id) : nullptr;
  if (!w || !IsOpen(id)) return false;
  Click(w->GetRealPosX() + x, w->GetRealPosY() + y, b);
  return true;
}

bool Scenario::ScreenOfCell(int tx, int ty, int* x, int* y) {
  for (int sy = 40; sy < 440; sy += 2)
    for (int sx = 20; sx < 500; sx += 2) {
      int cx = -1, cy = -1;
      if (Map().MouseKoorToIsoKoor(sx, sy, &cx, &cy) == 0 && cx == tx && cy == ty) {
        *x = sx;
        *y = sy;
        return true;
      }
    }
  return false;
}

bool Scenario::PassStartupWindow() {
  // Each window's own way on: the title's continue corner, the welcome's
  // button (to the game menu), the second welcome's continue area.
  const struct {
    int id, x, y;
  } ways[] = {{249, 485, 400}, {237, 292, 329}, {246, 292, 329}, {245, 316, 403}, {160, 329, 9}};
  for (const auto& w : ways)
    if (ClickIn(w.id, w.x, w.y)) return true;
  return false;
}

Scenario& Scenario::Drag(int fx, int fy, int tx, int ty, Button b, int moves) {
  Run({Move(fx, fy), Press(fx, fy, b)});
  for (int i = 1; i <= moves; ++i) Do(Move(fx + (tx - fx) * i / moves, fy + (ty - fy) * i / moves));
  return Do(Release(tx, ty, b));
}

Scenario& Scenario::LoseFocus() {
  SDL_Event e{};
  e.type = SDL_ACTIVEEVENT;
  e.active.gain = 0;
  e.active.state = SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS;
  Push(e);
  Frame();
  return *this;
}

void Scenario::Push(const SDL_Event& e) {
  SDL_Event copy = e;
  ASSERT_EQ(SDL_PushEvent(&copy), 0) << SDL_GetError();
}

void Scenario::Frame() {
  m_loop->Iterate();
  ++m_frames;
}

int Scenario::Width() const { return m_world->GetScreen() ? m_world->GetScreen()->w : 0; }
int Scenario::Height() const { return m_world->GetScreen() ? m_world->GetScreen()->h : 0; }

uint16_t Scenario::Pixel(int x, int y) const {
  SDL_Surface* s = m_world->GetScreen();
  if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0;
  const auto* row = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
  uint16_t v;
  std::memcpy(&v, row + 2 * x, sizeof v);
  return v;
}

int Scenario::CountPixels(const Region& r, uint16_t colour) const {
  int n = 0;
  for (int y = r.y0; y < r.y1; ++y)
    for (int x = r.x0; x < r.x1; ++x) n += Pixel(x, y) == colour;
  return n;
}

uint64_t Scenario::Fingerprint(const Region& r) const {
  // FNV-1a over the pixels in row order.
  uint64_t h = 1469598103934665603ull;
  for (int y = r.y0; y < r.y1; ++y)
    for (int x = r.x0; x < r.x1; ++x) {
      h = (h ^ Pixel(x, y)) * 1099511628211ull;
    }
  return h;
}

Region Scenario::CursorRegion() const {
  return {std::max(0, m_mouseX - kCursorReach), std::max(0, m_mouseY - kCursorReach),
          std::min(Width(), m_mouseX + kCursorReach), std::min(Height(), m_mouseY + kCursorReach)};
}

uint16_t Scenario::Rgb(int r, int g, int b) {
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

bool Scenario::CanWritePng() {
#ifdef ZOR_SCENARIO_PNG
  return true;
#else
  return false;
#endif
}

bool Scenario::WritePng(const std::string& path) const {
#ifdef ZOR_SCENARIO_PNG
  SDL_Surface* s = m_world->GetScreen();
  if (!s || s->format->BitsPerPixel != 16) return false;
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB16_565, s->w, s->h);
  cairo_surface_flush(out);
  unsigned char* dst = cairo_image_surface_get_data(out);
  const int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < s->h; ++y)
    std::memcpy(dst + static_cast<size_t>(y) * stride, static_cast<const uint8_t*>(s->pixels) + y * s->pitch,
                static_cast<size_t>(s->w) * 2);
  cairo_surface_mark_dirty(out);
  const bool ok = cairo_surface_write_to_png(out, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(out);
  return ok;
#else
  (void)path;
  return false;
#endif
}

void Scenario::Shot(const std::string& name) const {
  const char* dir = std::getenv("ZOR_SCENARIO_PNG");
  if (dir && *dir) {
    EXPECT_TRUE(WritePng(std::string(dir) + "/" + name + ".png")) << name;
  }
}

}  // namespace zortest
