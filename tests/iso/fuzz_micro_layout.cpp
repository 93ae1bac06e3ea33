// Micro-cell layouts ("Micr") from arbitrary bytes: what validates is read
// cell by cell, and its render chain and links are followed by id with a
// bound, as a loader does.
#include <cstdint>
#include <vector>

#include "../framework/fuzz_support.h"
#include "iso/iso_blob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!ValidateMicroLayout(data, static_cast<uint32_t>(size))) return 0;
  QnoResourceManager* m = zorfuzz::Serve({{1, std::vector<uint8_t>(data, data + size)}});
  if (!m) return 0;
  const MicroLayoutBlob view = MicroLayoutBlob::FromResource(m, 1);
  if (view.Empty() || view.Version() != MICR_VERSION) __builtin_trap();  // it validated
  const uint32_t cells = view.CellCount();
  if (cells != data[MICR_AT_COUNT]) __builtin_trap();
  auto find = [&](uint32_t id) -> int {
    for (uint32_t i = 0; i < cells; ++i)
      if (view.Cell(i).id == id) return static_cast<int>(i);
    return -1;
  };
  uint32_t links = 0;
  for (uint32_t i = 0; i < cells; ++i) {
    const MicroCell c = view.Cell(i);
    for (uint32_t s : c.successors) links += s && find(s) >= 0;
    links += MicroLaneIsOuter(c.laneKind);
  }
  // The render chain ends, or repeats within as many steps as there are cells.
  uint32_t id = view.FirstRenderId();
  for (uint32_t step = 0; id != 0 && step <= cells; ++step) {
    const int at = find(id);
    if (at < 0) break;
    id = view.Cell(static_cast<uint32_t>(at)).nextRender;
  }
  if (view.Cell(cells).id != 0) __builtin_trap();  // past the end: the empty cell
  volatile uint32_t sink = links;
  (void)sink;
  return 0;
}
