#include "measures/opnv.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "measures/building_object.h"

int COpnv::OnPlayloopTurn(STime, STime) { return 0; }

int COpnv::ResetYearData(STime, STime) { return 0; }

int COpnv::OnPlayloopTurn() { return 0; }

int COpnv::RemoveAllLineBeforeLoadExit() { return 0; }

int COpnv::AddHst(CBuildingObject* stop, NetActiveType net, bool loading) {
  if (!stop) return 1;
  auto* side = dynamic_cast<CSecondLayerObject*>(stop);
  unsigned id = side ? side->GetID() : 0;
  if (!loading || id == 0) {
    id = 0;
    for (const Stop& s : m_Stops) id = std::max(id, s.id);
    ++id;
    if (side) side->SetID(id);
  }
  m_Stops.push_back({stop, net, id});
  return 0;
}

int COpnv::RemoveHst(CBuildingObject* stop) {
  std::erase_if(m_Stops, [stop](const Stop& s) { return s.object == stop; });
  return 0;
}

int COpnv::SearchNextHst(short x, short y, short w, short h, int radius, short* ids, int* distances,
                         unsigned char* found, unsigned char max, bool skipTrams) {
  for (int i = 0; i < max; ++i) {
    if (ids) ids[i] = 0;
    if (distances) distances[i] = 0;
  }
  if (found) *found = 0;
  // Squared distances in hundredths of a cell; the first bound is the
  // radius.
  int64_t best = static_cast<int64_t>(radius) * radius;
  bool any = false;
  for (const Stop& s : m_Stops) {
    if (skipTrams && s.net == NET_TRAM) continue;
    const int64_t sx = s.object->GetXPos(), sy = s.object->GetYPos();
    int64_t nearest = -1;
    for (const int64_t dx : {100 * (sx - x), 100 * (sx + 1 - x - w)})
      for (const int64_t dy : {100 * (sy - y), 100 * (sy + 1 - y - h)}) {
        const int64_t d = dx * dx + dy * dy;
        if (nearest < 0 || d < nearest) nearest = d;
      }
    if (nearest >= best) continue;
    best = nearest;
    any = true;
    if (max > 0 && ids) ids[0] = static_cast<short>(s.id);
    if (max > 0 && distances) distances[0] = static_cast<int>(std::sqrt(static_cast<double>(nearest)));
  }
  if (any && found) *found = std::min<unsigned char>(1, max);
  return any ? 0 : 1;
}
int COpnv::CheckLinesForNoHst() { return 0; }
