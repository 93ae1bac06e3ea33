// The operator's stops and the walks over its nets: registering and
// removing stop buildings with their ids, the nearest stop to a place, and
// the virtual net of walking links between nearby stops, rebuilt whenever a
// stop comes or goes.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "framework/zor_pointer_list.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "network/street_objects.h"

namespace {

// How far a tram stop looks for a bus stop to walk to, and a bus stop for
// another bus stop (100 per cell).
constexpr int kTramWalkRadius = 1600;
constexpr int kBusWalkRadius = 500;

CSecondLayerObject* StopOf(CZorvaPointer* node) {
  return dynamic_cast<CSecondLayerObject*>(static_cast<CBuildingObject*>(node->GetZorvaObject()));
}

int LinesServing(CSecondLayerObject* stop) {
  CZorvaList* lines = stop ? stop->GetLineList() : nullptr;
  return lines ? lines->GetCount() : 0;
}

// The nearest-stop search over the stop list, passing over `self`.
int NearestHst(CBuildingList* stops, short x, short y, short w, short h, int radius, short* ids, int* distances,
               unsigned char* found, unsigned char max, bool skipTrams, const CBuildingObject* self) {
  for (int i = 0; i < max; ++i) {
    if (ids) ids[i] = 0;
    if (distances) distances[i] = 0;
  }
  if (found) *found = 0;
  if (!stops) return 1;
  // Squared distances in hundredths of a cell; the first bound is the
  // radius.
  int64_t best = static_cast<int64_t>(radius) * radius;
  bool any = false;
  for (CZorvaPointer* n = stops->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    CSecondLayerObject* stop = StopOf(n);
    if (!stop || stop == self) continue;
    if (skipTrams && stop->GetNetType() == NET_TRAM) continue;
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
    if (max > 0 && ids) ids[0] = static_cast<short>(stop->GetID());
    if (max > 0 && distances) distances[0] = static_cast<int>(std::sqrt(static_cast<double>(nearest)));
  }
  if (any && found) *found = max > 0 ? 1 : 0;
  return any ? 0 : 1;
}

}  // namespace

int COpnv::AddHst(CBuildingObject* stop, NetActiveType net, bool loading) {
  auto* side = dynamic_cast<CSecondLayerObject*>(stop);
  if (!side) return 1;
  if (!m_pHstList) m_pHstList = new CBuildingList(1);
  m_NewMatrix = true;
  // A new stop goes to the head. The stops of a savegame come in the order
  // of the world's list, the order they were listed in here; appended, they
  // keep it, and with it the walking links made in that order and which of
  // equally near stops is the nearest.
  if (loading)
    m_pHstList->AddTailBuilding(stop);
  else
    m_pHstList->AddHeadBuilding(stop);
  side->SetNetType(net);
  // A loaded stop keeps its saved id; the ids handed out stay above it.
  const unsigned saved = loading ? side->GetID() : 0;
  if (saved != 0) {
    if (saved >= static_cast<unsigned>(m_NextHstID)) m_NextHstID = static_cast<int16_t>(saved + 1);
  } else {
    side->SetID(static_cast<unsigned>(m_NextHstID++));
  }
  ++m_HstCount;
  if (!loading) CheckMakeVirtuellNet();
  return 0;
}

int COpnv::RemoveHst(CBuildingObject* stop) {
  if (!m_pHstList) return 1;
  m_NewMatrix = true;
  const int result = m_pHstList->RemoveBuilding(stop);
  if (result == 0) --m_HstCount;
  CheckMakeVirtuellNet();
  return result;
}

CBuildingObject* COpnv::GetHstByID(int id) {
  if (!m_pHstList || id == 0) return nullptr;
  for (CZorvaPointer* n = m_pHstList->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    if (CSecondLayerObject* stop = StopOf(n); stop && static_cast<int>(stop->GetID()) == id) return stop;
  return nullptr;
}

CBuildingObject* COpnv::GetFirstHst() {
  CZorvaPointer* head = m_pHstList ? m_pHstList->GetHeadZorvaPointer() : nullptr;
  return head ? static_cast<CBuildingObject*>(head->GetZorvaObject()) : nullptr;
}

int COpnv::CheckHstForStreet(CWorldObj* street) {
  if (!m_pHstList || !street) return 1;
  auto* piece = dynamic_cast<CStreetObj*>(street);
  CStrStrasse* whole = piece ? piece->GetStreetList() : nullptr;
  for (CZorvaPointer* n = m_pHstList->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    CSecondLayerObject* stop = StopOf(n);
    if (!stop) continue;
    CStreetObj* under = stop->GetStreet(nullptr, nullptr);
    if (!under) continue;
    if (under == street || (whole && under->GetStreetList() == whole)) return 0;
  }
  return 1;
}

bool COpnv::IsLineOnSelectedHst(int number) {
  auto* stop = dynamic_cast<CSecondLayerObject*>(COpnvHost::Get()->GetSelectedHst());
  CZorvaList* lines = stop ? stop->GetLineList() : nullptr;
  if (!lines) return false;
  for (CZorvaPointer* n = lines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    if (static_cast<COpnvLine*>(n->GetZorvaObject())->GetID() == number) return true;
  return false;
}

int COpnv::HstToHstAirDistance(int idA, int idB) {
  CBuildingObject* a = GetHstByID(idA);
  CBuildingObject* b = GetHstByID(idB);
  if (!a || !b) return 1000000;
  const double dx = 50.0 * (a->GetXPos() - b->GetXPos());
  const double dy = 50.0 * (a->GetYPos() - b->GetYPos());
  return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

int COpnv::SearchNextHst(short x, short y, short w, short h, int radius, short* ids, int* distances,
                         unsigned char* found, unsigned char max, bool skipTrams) {
  return NearestHst(m_pHstList, x, y, w, h, radius, ids, distances, found, max, skipTrams, nullptr);
}

void COpnv::CheckMakeVirtuellNet() {
  m_NewMatrix = true;
  if (!m_pVirNet) return;
  m_pVirNet->Destroy();
  m_pVirNet->Create();
  // Virtual lines are numbered anew from 1 at every rebuild: a line is told
  // apart by its net type and its number, and the numbers stay positive
  // however often the stops change.
  m_VirLineCount = 0;
  if (!m_pHstList) return;
  for (CZorvaPointer* n = m_pHstList->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    CSecondLayerObject* stop = StopOf(n);
    if (!stop) continue;
    const auto x = static_cast<short>(stop->GetXPos()), y = static_cast<short>(stop->GetYPos());
    short id = 0;
    int distance = 0;
    unsigned char found = 0;
    CSecondLayerObject* other = nullptr;
    if (stop->GetNetType() == NET_TRAM) {
      // A tram stop walks to the nearest bus stop.
      NearestHst(m_pHstList, x, y, 1, 1, kTramWalkRadius, &id, &distance, &found, 1, true, stop);
      if (id != 0) other = dynamic_cast<CSecondLayerObject*>(GetHstByID(id));
    } else {
      // A bus stop walks to the nearest other bus stop when lines serve
      // both; the stop itself is passed over.
      NearestHst(m_pHstList, x, y, 1, 1, kBusWalkRadius, &id, &distance, &found, 1, true, stop);
      if (id != 0 && id != static_cast<short>(stop->GetID())) {
        other = dynamic_cast<CSecondLayerObject*>(GetHstByID(id));
        if (other && (LinesServing(other) == 0 || LinesServing(stop) == 0)) other = nullptr;
      }
    }
    if (!other) continue;
    auto* line = new COpnvLine(NET_VIRTUELL);
    line->Create(++m_VirLineCount, m_pStreetNet, NET_VIRTUELL);
    line->CreateVirtuell(stop, other);
    m_pVirNet->AddOpnvLine(line);
  }
}

void COpnv::SetupLineCount() {
  m_LineWalkState = 1;
  for (COpnvNet* net : {m_pBusNet, m_pTramNet})
    if (net && net->GetList()) net->GetList()->SetupZorvaCount();
}

COpnvLine* COpnv::GetNextLine() {
  if (m_LineWalkState == 1) {
    CZorvaList* bus = m_pBusNet ? m_pBusNet->GetList() : nullptr;
    if (CZorvaObject* o = bus ? bus->GetNextZorva() : nullptr) return static_cast<COpnvLine*>(o);
    m_LineWalkState = 2;
  }
  if (m_LineWalkState == 2) {
    CZorvaList* tram = m_pTramNet ? m_pTramNet->GetList() : nullptr;
    if (CZorvaObject* o = tram ? tram->GetNextZorva() : nullptr) return static_cast<COpnvLine*>(o);
    m_LineWalkState = 3;
  }
  return nullptr;
}

COpnvLine* COpnv::GetLineByID(int number) {
  for (COpnvNet* net : {m_pBusNet, m_pTramNet})
    if (COpnvLine* line = net ? net->GetLineObjectByID(number) : nullptr) return line;
  return nullptr;
}

CZorvaList* COpnv::GetList(const char* name) {
  if (!name) return nullptr;
  if (std::strcmp(name, "OPNV.NET.BUSLINES") == 0) return m_pBusNet ? m_pBusNet->GetList() : nullptr;
  if (std::strcmp(name, "OPNV.NET.TRAMLINES") == 0) return m_pTramNet ? m_pTramNet->GetList() : nullptr;
  return nullptr;
}

CZorvaList* COpnv::GetVirLineList() { return m_pVirNet ? m_pVirNet->GetList() : nullptr; }
