// The public-transport group open on its lines page over 40 bus lines: one
// interface frame (the open windows drawn by the controller) and one
// interface turn (the windows' turn with the list's rows), at 800 x 600 on
// the generated game data; a full-screen memcpy of the same screen is the
// yardstick in the same run.
//
// The frame is checked first: the list shows the newest lines in order, a
// row for each that fits, two frames in a row are the same, and the group's
// caption is drawn; a wrong frame makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "gui/dialog_selection_list.h"
#include "gui/gui_host.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "gui/window_builder.h"
#include "measures/opnv.h"
#include "measures/preise.h"
#include "model/zor_var.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "windows/selection_list_rows.h"
#include "windows/window_add_opnv.h"
#include "windows/window_builders.h"

#include "../bench_memcpy_yardstick.h"
#include "bench_ui_hosts.h"

namespace {

bool g_failed = false;
constexpr int kLines = 40;

using benchui::Checksum;

class Hosts : public benchui::Hosts {
 public:
  using benchui::Hosts::Hosts;
  const char* GetGltText(int n) override { return n == 0 ? "Bus %d" : "Bahn %d"; }
};

struct Scene {
  QnoResourceManager resources;
  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  CUserInt* ui = nullptr;
  Hosts hosts{ui};
  std::unique_ptr<CPreise> prices{CPreise::SetPreise()};
  COpnv opnv;
  CWindowBuilder builder;

  Scene() {
    surface = benchui::LoadScreen(resources, display, hosts, 800, 600);
    opnv.Create();
    for (int i = 0; i < kLines; ++i) opnv.CreateNewLine(NET_BUS);
    ui = new CUserInt;
    ui->OnCreate(&resources, &display, nullptr, nullptr, nullptr);
    builder = CWindowBuilder(ui);
    builder.SetSelectionListFactory(
        [](EDialogType) -> CDialog* { return new CDialogSelectionList(CZorvaListRows::Get()); });
    builder.SetVarFactory([](EVarType type, const char* name) -> CWindowVar* {
      auto* var = new CVar;
      var->Create(type, name, static_cast<CVarOwner*>(nullptr));
      return var;
    });
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddOpnv();
    CUserInt::topWindow = builder.GetTopWindow();
    ui->SetAufloesung(800, 600);
    CUserInt::topWindow->SetVarWorldObject(zorwin::kOpnvLines, -2, -2, &opnv, nullptr);
    ui->ActivateWindow(zorwin::kOpnvGroup);
    ui->ActivateWindow(zorwin::kOpnvLines);
    ui->DeActivateWindow(zorwin::kOpnvFinances);
  }
  ~Scene() {
    builder.DestroyWindows();
    CUserInt::topWindow = nullptr;
    delete ui;
    opnv.Destroy();
    SDL_FreeSurface(surface);
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  void Frame() {
    display.GetRenderBuffer()->FillRect(0, 0, surface->w, surface->h, 0);
    ui->Render(&display);
  }
  CDialogSelectionList* List() {
    CDialogSelectionList* list = nullptr;
    if (CScreenWindow* page = CUserInt::topWindow->GetWindowByID(zorwin::kOpnvLines))
      page->GetDialogs()->ForEach([&](CDialog* d) {
        if (d->GetID() == 1) list = dynamic_cast<CDialogSelectionList*>(d);
      });
    return list;
  }

  // The frame the benchmark times must be right and the same every time.
  bool Check() {
    for (int i = 0; i < 12; ++i) ui->OnPlayloopTurn();
    CDialogSelectionList* list = List();
    // The rows' labels, top down: the newest lines first, as the nets hold them.
    std::map<int, std::string> labels;
    if (list && list->GetItems())
      list->GetItems()->ForEach([&](CItem* i) {
        auto* text = dynamic_cast<CItemText*>(i);
        if (text && std::strncmp(text->GetText(), "Bus ", 4) == 0) labels[i->GetYPos()] = text->GetText();
      });
    int rows = 0;
    for (const auto& [y, label] : labels) rows += label == "Bus " + std::to_string(kLines - rows) ? 1 : 0;
    Frame();
    const uint32_t first = Checksum(surface);
    ui->OnPlayloopTurn();
    Frame();
    const uint32_t second = Checksum(surface);
    // The page's title bar is drawn in the caption's colours, not black.
    const uint16_t caption = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                               10 * surface->pitch)[600];
    const int fit = list ? list->GetVisibleRows() : 0;
    const bool right = list && fit > 0 && rows == fit && static_cast<int>(labels.size()) == fit && first == second && caption != 0 &&
                       ui->IsWindowOpen(zorwin::kOpnvLines) == 0;
    if (!right) {
      std::fprintf(stderr, "lines page: wrong frame (list %d, rows %d of %d, checksums %08x %08x, caption %04x)\n",
                   list != nullptr, rows, fit, first, second, caption);
      g_failed = true;
    }
    return right;
  }
};

void BM_LinesPageFrame(benchmark::State& state) {
  Scene scene;
  if (!scene.Check()) {
    state.SkipWithError("wrong frame");
    return;
  }
  for (auto _ : state) {
    scene.ui->Render(&scene.display);
    benchmark::ClobberMemory();
  }
  state.counters["checksum"] = static_cast<double>(Checksum(scene.surface));
}

// Six turns: every sixth turns the windows with the list's rows.
void BM_LinesPageSixTurns(benchmark::State& state) {
  Scene scene;
  if (!scene.Check()) {
    state.SkipWithError("wrong frame");
    return;
  }
  for (auto _ : state)
    for (int i = 0; i < 6; ++i) scene.ui->OnPlayloopTurn();
}

}  // namespace

BENCHMARK(BM_LinesPageFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinesPageSixTurns)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
