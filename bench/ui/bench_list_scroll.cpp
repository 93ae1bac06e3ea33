// A press on the slider of a selection list of 1,000 objects, through the
// window's input filter: the list scrolls to the pointer and builds its
// seven rows afresh. Every event moves the list between two places, so each
// one rebuilds. Counts the heap allocations per event with a replaced
// operator new; the yardstick is a full-screen memcpy of an 800 x 600
// 16-bit frame in the same run.
//
// A list whose top row is not the element the slider points to is reported
// and makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "gui/dialog_selection_list.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "gui/window_builder.h"
#include "windows/selection_list_rows.h"
#include "worldbase/zor_world_obj.h"

#include "../bench_counting_new.h"
#include "../bench_memcpy_yardstick.h"

namespace {
bool g_failed = false;
}  // namespace

namespace {

constexpr int kSliderHeight = 94;

CDialog* MakeList(EDialogType) { return new CDialogSelectionList(CZorvaListRows::Get()); }

// The top row's text.
std::string TopRow(CDialogSelectionList* list) {
  std::string top;
  int y = 1 << 20;
  list->GetItems()->ForEach([&](CItem* i) {
    if (i->GetClassCode() == ITEM_CLASS_TEXT && i->GetYPos() < y) {
      y = i->GetYPos();
      top = static_cast<CItemText*>(i)->GetText();
    }
  });
  return top;
}

void BM_SliderPressOnListOf1000(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  CWindowBuilder builder;
  builder.SetSelectionListFactory(&MakeList);
  builder.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  builder.AddWindow(2, 0, 0, 320, 200, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  builder.AddDialog(2, 1, 0, 0, 300, 126, 3, "list");
  builder.AddItem(2, 1, 283, 16, 15, kSliderHeight, 35, -1, -1);
  builder.AddAction(2, 1, -2, 119, WHEN_LEFT_HELD, INOUT_INSIDE, 1, -1, -1, "slider", -1);
  CScreenWindow* root = builder.GetTopWindow();
  root->ActivateWindow(2, OVER_SINGLE);
  std::vector<std::unique_ptr<CWorldObj>> objects;
  CZorvaList bound(0);
  for (int i = 0; i < count; ++i) {
    objects.push_back(std::make_unique<CWorldObj>());
    bound.AddTailZorva(objects.back().get());
  }
  root->SetZorvaList(2, 1, &bound, 0);
  auto* list = static_cast<CDialogSelectionList*>(root->GetWindowByID(2)->GetDialogs()->GetDialogByID(1));
  CScreenWindow* window = root->GetWindowByID(2);

  QnoInteractionEvent e;
  e.type = QNO_EVENT_BUTTONDOWN;
  e.x = 290;
  const int places[2] = {16 + 30, 16 + 70};
  const long before = g_allocations.load();
  long events = 0;
  for (auto _ : state) {
    e.y = places[events & 1];
    benchmark::DoNotOptimize(window->InputFilter(&e, nullptr, 0, 0, e.x, e.y, INOUT_ALWAYS));
    ++events;
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocs_per_event"] = events ? static_cast<double>(allocations) / static_cast<double>(events) : 0;
  // The last press: the top row is the element the slider points to.
  const int first = list->GetFirstItem();
  if (first <= 0 || TopRow(list) != "Zorva: " + std::to_string(first)) {
    g_failed = true;
    std::fprintf(stderr, "list of %d: first row %d, top row \"%s\"\n", count, first, TopRow(list).c_str());
  }
  builder.DestroyWindows();
}
BENCHMARK(BM_SliderPressOnListOf1000)->ArgName("elements")->Arg(1000);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
