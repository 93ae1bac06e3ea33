// A press on the slider of a selection list of 1,000 objects, through the
// window's input filter: the list scrolls to the pointer and builds its
// seven rows again. Every event moves the list between two places, so each
// one rebuilds. Counts the heap allocations per event with a replaced
// operator new, after one press at each place has shown both; the
// yardstick is a full-screen memcpy of an 800 x 600 16-bit frame in the
// same run.
//
// A scroll event that allocates, or a list whose rows are not the elements
// from the one the slider points to on, in order, one per row, is reported
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

// The rows' texts from the top, with an empty text for a row step that
// holds no row or more than one.
std::vector<std::string> Rows(CDialogSelectionList* list) {
  std::vector<std::string> rows(static_cast<size_t>(list->GetVisibleRows()));
  std::vector<int> counts(rows.size(), 0);
  list->GetItems()->ForEach([&](CItem* i) {
    if (i->GetClassCode() != ITEM_CLASS_TEXT) return;
    const int row = i->GetYPos() / CDialogSelectionList::kRowHeight;
    if (row < 0 || row >= static_cast<int>(rows.size()) || i->GetYPos() % CDialogSelectionList::kRowHeight) return;
    rows[static_cast<size_t>(row)] = static_cast<CItemText*>(i)->GetText();
    ++counts[static_cast<size_t>(row)];
  });
  for (size_t r = 0; r < rows.size(); ++r)
    if (counts[r] != 1) rows[r].clear();
  return rows;
}

bool RowsRight(CDialogSelectionList* list, int count) {
  const int first = list->GetFirstItem();
  const std::vector<std::string> rows = Rows(list);
  bool right = first > 0 && !rows.empty();
  for (size_t r = 0; r < rows.size(); ++r) {
    const int element = first + static_cast<int>(r);
    const std::string want = element < count ? "Zorva: " + std::to_string(element) : "";
    if (rows[r] != want) {
      std::fprintf(stderr, "list of %d from %d: row %zu shows \"%s\", not \"%s\"\n", count, first, r,
                   rows[r].c_str(), want.c_str());
      right = false;
    }
  }
  return right;
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
  // Both places shown once: the rows' items exist from then on.
  for (int y : places) {
    e.y = y;
    window->InputFilter(&e, nullptr, 0, 0, e.x, e.y, INOUT_ALWAYS);
    if (!RowsRight(list, count)) g_failed = true;
  }
  const long before = g_allocations.load();
  long events = 0;
  for (auto _ : state) {
    e.y = places[events & 1];
    benchmark::DoNotOptimize(window->InputFilter(&e, nullptr, 0, 0, e.x, e.y, INOUT_ALWAYS));
    ++events;
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocs_per_event"] = events ? static_cast<double>(allocations) / static_cast<double>(events) : 0;
  if (allocations != 0) {
    g_failed = true;
    std::fprintf(stderr, "list of %d: %ld allocations in %ld scroll events\n", count, allocations, events);
  }
  // The last press: the rows are the elements from the one the slider
  // points to on.
  if (!RowsRight(list, count)) g_failed = true;
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
