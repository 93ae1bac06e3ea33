// One mouse move through the interface's input filter while windows are
// open: the shortcuts, the panel test, every open window front to back with
// its items and their mouse-move actions, and the tool on the map part of
// the screen. Counts the heap allocations per event with a replaced
// operator new; the yardstick is a full-screen memcpy of an 800 x 600
// 16-bit frame in the same run.
//
// A configuration that allocates during the timed events is reported and
// makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "gui/window_builder.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"

#include "../bench_counting_new.h"
#include "../bench_memcpy_yardstick.h"

namespace {
bool g_failed = false;
}  // namespace

namespace {

// The toolkit sees the controller's render list; the game has started.
class Hosts : public CGuiHost, public CUiHost {
 public:
  explicit Hosts(CUserInt* ui) : m_ui(ui) {
    CGuiHost::Install(this);
    CUiHost::Install(this);
  }
  ~Hosts() override {
    CGuiHost::Install(nullptr);
    CUiHost::Install(nullptr);
  }
  bool IsWindowOpen(int id) override { return m_ui->IsWindowOpen(id) == 0; }
  void AddToRenderList(CScreenWindow* w) override { m_ui->InsertIntoRenderList(w, w->GetID()); }
  void RemoveFromRenderList(CScreenWindow* w) override { m_ui->RemoveFromRenderList(w, w->GetID()); }
  void BringToFront(CScreenWindow* w) override { m_ui->BringToFront(w); }
  bool IsGameStarted() override { return true; }

 private:
  CUserInt* m_ui;
};

// The main screen's eight windows and `extra` windows above it, each with
// `items` hot areas that carry an action for mouse moves or for presses.
struct Screen {
  CUserInt ui;
  Hosts hosts{&ui};
  CWindowBuilder builder{&ui};

  Screen(int extra, int items, bool moveActions) {
    ui.OnCreate(nullptr, nullptr, nullptr, nullptr, nullptr);
    ui.SetSceneWindowDisplaySize(800, 600);
    CUserInt::DefineTool(1, 1409, "select");
    builder.AddWindow(1, 0, 0, 800, 600, 0, WINDOW_ROOT, POSITION_FIXED, 0);
    std::vector<int> ids = {6, 7, 8, 9, 11, 12, 13, 14};
    for (int i = 0; i < extra; ++i) ids.push_back(100 + i);
    for (size_t i = 0; i < ids.size(); ++i) {
      const int id = ids[i];
      const int x = static_cast<int>(40 * i % 600), y = static_cast<int>(30 * i % 400);
      builder.AddWindow(id, x, y, 180, 140, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
      for (int k = 0; k < items; ++k) {
        builder.AddItem(id, -1, 10 * k % 160, 12 * k % 120, 20, 14, 1);
        builder.AddAction(id, -1, k, 1, moveActions ? WHEN_MOVE : WHEN_LEFT_DOWN, INOUT_INSIDE, 0, 0, 0, "hover", 0);
      }
    }
    CUserInt::topWindow = builder.GetTopWindow();
    for (int id : ids) ui.ActivateWindow(id);
    CUserInt::selObj.panelShown = 1;
    CUserInt::selObj.panelPinned = 1;
  }
  ~Screen() {
    // The controller destroys the tree it was handed.
    builder.SetTopWindow(nullptr);
  }
};

void BM_MouseMoveOverOpenWindows(benchmark::State& state) {
  Screen screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
  QnoInteractionEvent e;
  e.type = QNO_EVENT_MOUSEMOVE;
  // Warm up: the first events may set the cursor and the balloon.
  for (int i = 0; i < 16; ++i) {
    e.x = 100 + i;
    e.y = 100;
    screen.ui.InputFilter(&e, nullptr);
  }
  const long before = g_allocations.load();
  long events = 0;
  int step = 0;
  for (auto _ : state) {
    // Across the windows, over items and between them.
    e.x = 60 + (step * 37) % 500;
    e.y = 40 + (step * 23) % 400;
    ++step;
    benchmark::DoNotOptimize(screen.ui.InputFilter(&e, nullptr));
    ++events;
  }
  const long allocations = g_allocations.load() - before;
  state.counters["windows"] = static_cast<double>(screen.ui.GetRenderList()->GetCount());
  state.counters["allocs_per_event"] = events ? static_cast<double>(allocations) / static_cast<double>(events) : 0;
  if (allocations != 0) {
    g_failed = true;
    std::fprintf(stderr, "%d windows: %ld heap allocations in %ld events\n", screen.ui.GetRenderList()->GetCount(),
                 allocations, events);
  }
}
BENCHMARK(BM_MouseMoveOverOpenWindows)
    ->ArgNames({"extra", "items", "move"})
    ->Args({0, 0, 0})
    ->Args({4, 8, 0})
    ->Args({12, 16, 0})
    ->Args({24, 32, 0})
    ->Args({4, 8, 1})
    ->Args({12, 16, 1})
    ->Args({24, 32, 1});

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
