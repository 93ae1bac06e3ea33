// Stands in for the nets' stop list until it is built: registration with
// ids, removal and the nearest-stop search over the stop buildings.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "framework/zor_stand_in.h"
#include "measures/building_object.h"
#include "measures/opnv.h"

namespace {
// The net each registered stop joined.
std::unordered_map<const CBuildingObject*, NetActiveType> g_stopNet;
}  // namespace

int COpnv::AddHst(CBuildingObject* stop, NetActiveType net, bool loading) {
  ZOR_STAND_IN("COpnvNet");
  if (!stop || !m_pHstList) return 1;
  auto* side = dynamic_cast<CSecondLayerObject*>(stop);
  unsigned id = side ? side->GetID() : 0;
  if (!loading || id == 0) {
    id = static_cast<unsigned>(m_NextHstID++);
    if (side) side->SetID(id);
  } else if (id >= static_cast<unsigned>(m_NextHstID)) {
    m_NextHstID = static_cast<int16_t>(id + 1);
  }
  m_pHstList->AddHeadBuilding(stop);
  g_stopNet[stop] = net;
  ++m_HstCount;
  m_NewMatrix = true;
  return 0;
}

int COpnv::RemoveHst(CBuildingObject* stop) {
  ZOR_STAND_IN("COpnvNet");
  if (!m_pHstList || m_pHstList->RemoveBuilding(stop) != 0) return 1;
  g_stopNet.erase(stop);
  --m_HstCount;
  m_NewMatrix = true;
  return 0;
}

int COpnv::SearchNextHst(short x, short y, short w, short h, int radius, short* ids, int* distances,
                         unsigned char* found, unsigned char max, bool skipTrams) {
  ZOR_STAND_IN("COpnvNet");
  for (int i = 0; i < max; ++i) {
    if (ids) ids[i] = 0;
    if (distances) distances[i] = 0;
  }
  if (found) *found = 0;
  if (!m_pHstList) return 1;
  int64_t best = static_cast<int64_t>(radius) * radius;
  bool any = false;
  for (CZorvaPointer* n = m_pHstList->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    auto* stop = static_cast<CBuildingObject*>(n->GetZorvaObject());
    if (skipTrams && g_stopNet[stop] == NET_TRAM) continue;
    const int64_t sx = stop->GetXPos(), sy = stop->GetYPos();
    int64_t nearest = -1;
    for (const int64_t dx : {100 * (sx - x), 100 * (sx + 1 - x - w)})
      for (const int64_t dy : {100 * (sy - y), 100 * (sy + 1 - y - h)}) {
        const int64_t d = dx * dx + dy * dy;
        if (nearest < 0 || d < nearest) nearest = d;
      }
    if (nearest >= best) continue;
    best = nearest;
    any = true;
    auto* side = dynamic_cast<CSecondLayerObject*>(stop);
    if (max > 0 && ids) ids[0] = static_cast<short>(side ? side->GetID() : 0);
    if (max > 0 && distances) distances[0] = static_cast<int>(std::sqrt(static_cast<double>(nearest)));
  }
  if (any && found) *found = std::min<unsigned char>(1, max);
  return any ? 0 : 1;
}

int COpnv::CheckLinesForNoHst() {
  ZOR_STAND_IN("COpnvNet");
  return 0;
}
