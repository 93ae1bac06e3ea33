// Iso groups from arbitrary bytes: what validates is read part by part
// through both views, which must agree, and every part is found again.
#include <cstdint>
#include <vector>

#include "../framework/fuzz_support.h"
#include "iso/iso_blob.h"
#include "iso/iso_tile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint32_t n = static_cast<uint32_t>(size);
  if (!ValidateIsoGroup(data, n)) return 0;
  QnoResourceManager* m = zorfuzz::Serve({{1, std::vector<uint8_t>(data, data + size)}});
  if (!m) return 0;
  const IsoGroupBlob view = IsoGroupBlob::FromResource(m, 1);
  const CIsoGroup* group = CIsoGroup::Get(m, 1);
  if (view.Empty() || !group) __builtin_trap();  // it validated
  if (view.Width() != static_cast<uint32_t>(group->GetSizeX()) || view.Depth() != static_cast<uint32_t>(group->GetSizeY()) ||
      view.PartCount() != static_cast<uint32_t>(group->GetEntryCount()))
    __builtin_trap();
  for (int zoom = -1; zoom <= 2; ++zoom)
    for (int rot = -1; rot <= 4; ++rot)
      if (view.MicroLayoutId(zoom, rot) != group->GetDataResID(zoom, rot)) __builtin_trap();
  for (uint32_t i = 0; i < view.PartCount(); ++i) {
    const IsoGroupPart p = view.Part(i);
    const int x = static_cast<int>(p.x), y = static_cast<int>(p.y), layer = static_cast<int>(p.layer);
    if (view.FindObject(x, y, layer) != group->FindObject(x, y, layer)) __builtin_trap();
  }
  return 0;
}
