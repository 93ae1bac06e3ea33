// Starts the real game in the current directory (its settings file points at
// the game data and sets the screen size and language), lays out a small
// town, opens the windows named on the command line over the main screen and
// writes the frame as a PNG:
//   zor_mainshot <output.png> [window id ...]
// The interface's window list is kept here: the game's controller draws the
// map, this tool draws the open windows over it, back to front.
#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

class WindowListHost : public CGuiHost {
 public:
  bool IsWindowOpen(int id) override {
    return std::any_of(m_list.begin(), m_list.end(), [id](CScreenWindow* w) { return w->GetID() == id; });
  }
  void AddToRenderList(CScreenWindow* w) override { BringToFront(w); }
  void RemoveFromRenderList(CScreenWindow* w) override { std::erase(m_list, w); }
  void BringToFront(CScreenWindow* w) override {
    std::erase(m_list, w);
    m_list.insert(m_list.begin(), w);
  }
  void Render(QnoDisplay* display, QnoResourceManager* resources) {
    for (auto it = m_list.rbegin(); it != m_list.rend(); ++it) (*it)->Render(display, resources, -1, -1);
  }

 private:
  std::vector<CScreenWindow*> m_list;  // front first
};

struct Building {
  int resId, x, y, dir;
};
constexpr Building kTown[] = {
    {37749, 1, 1, 0},  {18510, 2, 1, 1},  {11896, 3, 1, 2},  {11897, 4, 1, 3},  {11949, 1, 3, 0},
    {14023, 3, 3, 0},  {35759, 6, 1, 0},  {14073, 9, 1, 1},  {11871, 12, 1, 0}, {10302, 13, 1, 0},
    {18383, 14, 1, 0}, {39546, 12, 4, 0}, {10328, 9, 4, 0},  {16918, 5, 5, 0},  {26509, 1, 9, 0},
    {30008, 4, 9, 0},  {11878, 4, 10, 1}, {18332, 8, 8, 0},  {30540, 10, 8, 0}, {12555, 1, 5, 0},
    {12513, 6, 10, 0}, {30083, 6, 8, 0},  {29793, 8, 11, 0}, {25669, 12, 11, 0},
};
constexpr int kOrigin = 56;

bool WritePng(SDL_Surface* s, const char* path) {
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s->w, s->h);
  unsigned char* data = cairo_image_surface_get_data(out);
  const int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) {
      const uint16_t p = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch)[x];
      const uint32_t r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
      reinterpret_cast<uint32_t*>(data + y * stride)[x] = r << 16 | g << 8 | b;
    }
  cairo_surface_mark_dirty(out);
  const bool ok = cairo_surface_write_to_png(out, path) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(out);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output.png> [window id ...]\n", argv[0]);
    return 2;
  }
  OpenErrorLog("errors.log");
  WindowListHost host;
  CGuiHost::Install(&host);
  CZorvaWorld world;
  world.Create();
  world.OnStartup();
  for (const Building& b : kTown)
    world.CreateObject(OBJ_FIXED_BUILDING, b.resId, CIsoRichtung(b.dir), kOrigin + b.x, kOrigin + b.y,
                       static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1);
  world.GetIsoWelt()->SetIsoCenter(kOrigin + 7, kOrigin + 6);
  CScreenWindow* root = CUserInt::topWindow;
  int w = 800, h = 600;
  world.GetWindowSizeXY(w, h);
  // The interface keeps the bar and its windows at the lower right corner:
  // the root's items and its child windows move by the growth of the screen.
  if (root) {
    const int dx = w - 800, dy = h - 600;
    if (root->GetItems())
      root->GetItems()->ForEach([&](CItem* i) {
        i->SetXPos(i->GetXPos() + dx);
        i->SetYPos(i->GetYPos() + dy);
      });
    if (root->GetChildren())
      root->GetChildren()->ForEach([&](CScreenWindow* c) {
        c->SetPosX(c->GetPosX() + dx);
        c->SetPosY(c->GetPosY() + dy);
      });
    for (int i = 2; i < argc; ++i) root->ActivateWindow(std::atoi(argv[i]), OVER_SINGLE);
  }
  CZorFrameLoop loop(&world);
  for (int i = 0; i < 10; ++i) loop.Iterate();
  SDL_Surface* screen = world.GetScreen();
  host.Render(world.GetDisplay(), world.GetResourceManager());
  const bool ok = screen && WritePng(screen, argv[1]);
  world.OnShutdown();
  world.Destroy();
  CGuiHost::Install(nullptr);
  return ok && root ? 0 : 1;
}
