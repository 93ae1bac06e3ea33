// The interface's share of a frame: the main screen's bar and its buttons,
// the status line and two menus open over it, drawn by the controller at
// 800 x 600 and 1024 x 768, and a full-screen memcpy of the same screen as
// the yardstick in the same run.
//
// Every configuration first checks its frame: two frames in a row are the
// same (checksum), each open window shows its own colour where it is the
// front window, and the status line is drawn; a wrong frame fails the
// configuration and makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "gui/window_builder.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "windows/window_builders.h"

#include "bench_ui_hosts.h"

namespace {

bool g_failed = false;

using benchui::Checksum;

// The status line's figures as the game would give them.
class Hosts : public benchui::Hosts {
 public:
  using benchui::Hosts::Hosts;
  bool GetMoney(double* value) override {
    *value = 1234567;
    return true;
  }
  int GetPeople() override { return 54321; }
  void GetDate(int* month, int* year) override {
    *month = 4;
    *year = 3;
  }
  const char* GetTickerText() override { return "Neue Buslinie 3 eingerichtet"; }
};

// The colour of each test window's background.
int Colour(int id) { return 0x204000 + id * 0x050307; }

struct Scene {
  QnoResourceManager resources;
  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  CUserInt* ui = nullptr;
  Hosts hosts{ui};
  CWindowBuilder builder;
  std::vector<uint8_t> copySource;
  bool ok = true;

  Scene(int width, int height) {
    surface = benchui::LoadScreen(resources, display, hosts, width, height);
    ui = new CUserInt;
    ui->OnCreate(&resources, &display, nullptr, nullptr, nullptr);
    Build();
    ui->SetAufloesung(width, height);
    CUserInt::selObj.panelShown = 1;
    for (int id : {1, 6, 7, 8, 9, 11, 12, 13, 14, 20, 21}) ui->ActivateWindow(id);
    copySource.assign(static_cast<size_t>(surface->pitch) * height, 0x5A);
  }
  ~Scene() {
    delete ui;
    SDL_FreeSurface(surface);
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // The main screen as the game lays it out at 800 x 600: the bar at the
  // bottom with its button columns, the small bar windows, two menus.
  void Build() {
    builder = CWindowBuilder(ui);
    builder.AddWindow(1, 0, 0, 800, 600, 0, WINDOW_ROOT, POSITION_FIXED, 0);
    builder.AddWindow(6, 0, 460, 800, 140, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    builder.AddItem(6, -1, 0, 0, 800, 140, 4, FILL_SOLID, Colour(6));
    for (int i = 0; i < 24; ++i) {
      builder.AddItem(6, -1, 440 + (i % 8) * 40, 20 + (i / 8) * 40, 36, 36, 4, FILL_FRAME, 0x303030);
      builder.AddItem(6, -1, 442 + (i % 8) * 40, 22 + (i / 8) * 40, 32, 32, 4, FILL_SOLID, 0x8090A0 + i);
    }
    for (int id : {7, 8, 9, 11, 12, 13, 14}) {
      const int x = (id - 7) * 52, y = 470;
      builder.AddWindow(id, x, y, 48, 24, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
      builder.AddItem(id, -1, 0, 0, 48, 24, 4, FILL_SOLID, Colour(id));
      builder.AddItem(id, -1, 2, 2, 44, 20, 7, "Knopf", HO_LEFT, VO_UP, 0, 823, 0, 1, 0, 0, "Button");
    }
    builder.AddWindow(20, 380, 300, 46, 96, 1, WINDOW_MENU, POSITION_FIXED, 0);
    builder.AddItem(20, -1, 0, 0, 46, 96, 4, FILL_SOLID, Colour(20));
    builder.AddWindow(21, 300, 250, 46, 168, 1, WINDOW_MENU, POSITION_FIXED, 0);
    builder.AddItem(21, -1, 0, 0, 46, 168, 4, FILL_SOLID, Colour(21));
    for (int id : {20, 21})
      for (int i = 0; i < 4; ++i) builder.AddItem(id, -1, 5, 5 + i * 40, 36, 36, 4, FILL_FRAME, 0x101010);
    CUserInt::topWindow = builder.GetTopWindow();
  }

  void Frame() {
    display.GetRenderBuffer()->FillRect(0, 0, surface->w, surface->h, 0);
    ui->Render(&display);
  }

  uint16_t Pixel(int x, int y) const {
    return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  }
  uint16_t Expected(int id) const {
    const int c = Colour(id);
    return static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(c >> 16, (c >> 8) & 255, c & 255));
  }
  bool Shows(int id, int dx, int dy) {
    CScreenWindow* w = CUserInt::topWindow->GetWindowByID(id);
    return w && Pixel(w->GetRealPosX() + dx, w->GetRealPosY() + dy) == Expected(id);
  }

  // The frame the benchmark times must be right and the same every time.
  bool Check(const char* name) {
    Frame();
    const uint32_t first = Checksum(surface);
    Frame();
    const uint32_t second = Checksum(surface);
    const uint16_t status = static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(173, 179, 195));
    int statusPixels = 0;
    for (int y = surface->h - 45; y < surface->h - 30; ++y)
      for (int x = surface->w - 260; x < surface->w - 200; ++x) statusPixels += Pixel(x, y) == status;
    const bool right = first == second && Shows(20, 40, 90) && Shows(21, 40, 160) && Shows(6, 5, 5) &&
                       Shows(7, 1, 1) && statusPixels > 0;
    if (!right)
      std::fprintf(stderr, "shows 20 %d 21 %d 6 %d 7 %d\n", Shows(20, 40, 90), Shows(21, 40, 160), Shows(6, 5, 5),
                   Shows(7, 1, 1));
    if (!right) {
      std::fprintf(stderr, "%s: wrong frame (checksums %08x %08x, status %d)\n", name, first, second, statusPixels);
      g_failed = true;
    }
    return right;
  }
};

void BM_InterfaceFrame(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (!scene.Check("interface frame")) {
    state.SkipWithError("wrong frame");
    return;
  }
  for (auto _ : state) {
    scene.ui->Render(&scene.display);
    benchmark::ClobberMemory();
  }
  state.counters["checksum"] = static_cast<double>(Checksum(scene.surface));
}

// The game's own main screen from its builder, with menus 20 and 21 open.
void BM_MainScreenFrame(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  delete scene.ui;
  scene.ui = new CUserInt;
  scene.ui->OnCreate(&scene.resources, &scene.display, nullptr, nullptr, nullptr);
  scene.builder = CWindowBuilder(scene.ui);
  CZorvaWindows(scene.builder).WindowAdd();
  CUserInt::topWindow = scene.builder.GetTopWindow();
  scene.ui->SetAufloesung(scene.surface->w, scene.surface->h);
  CUserInt::selObj.panelShown = 1;
  scene.Frame();
  const uint32_t closed = Checksum(scene.surface);
  for (int id : {20, 21}) scene.ui->ActivateWindow(id);
  scene.Frame();
  const uint32_t open = Checksum(scene.surface);
  scene.Frame();
  if (scene.ui->IsWindowOpen(6) != 0 || scene.ui->IsWindowOpen(20) != 0 || open == closed ||
      Checksum(scene.surface) != open) {
    std::fprintf(stderr, "main screen: wrong frame (bar %d, menu %d, checksums %08x %08x)\n",
                 scene.ui->IsWindowOpen(6), scene.ui->IsWindowOpen(20), closed, open);
    g_failed = true;
    state.SkipWithError("wrong frame");
    return;
  }
  for (auto _ : state) {
    scene.ui->Render(&scene.display);
    benchmark::ClobberMemory();
  }
  state.counters["checksum"] = static_cast<double>(open);
}

void BM_InterfaceTurn(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) scene.ui->OnPlayloopTurn();
}

void BM_MemcpyYardstick(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const size_t bytes = static_cast<size_t>(scene.surface->pitch) * scene.surface->h;
  for (auto _ : state) {
    std::memcpy(scene.surface->pixels, scene.copySource.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

}  // namespace

BENCHMARK(BM_InterfaceFrame)->Args({800, 600})->Args({1024, 768})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainScreenFrame)->Args({800, 600})->Args({1024, 768})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InterfaceTurn)->Args({800, 600})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyYardstick)->Args({800, 600})->Args({1024, 768})->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
