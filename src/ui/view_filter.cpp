// The view filter's registry and its colour rules.
#include "ui/view_filter.h"

#include <algorithm>

#include "framework/qno_log.h"
#include "framework/zor_pointer_list.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_location.h"

CViewFilter::MapEntry CViewFilter::m_Maps[CViewFilter::kMaxMaps];
int CViewFilter::m_MapMax = 0;
CIsoWelt* CViewFilter::m_IsoWelt = nullptr;
bool CViewFilter::active = true;

namespace {
void Set(TMap_ColorHeight* c, int r, int g, int b) {
  c->red = static_cast<uint8_t>(r);
  c->green = static_cast<uint8_t>(g);
  c->blue = static_cast<uint8_t>(b);
}
void Grass(TMap_ColorHeight* c) { Set(c, 0, 159, 98); }
void Water(TMap_ColorHeight* c) { Set(c, 80, 80, 255); }
void Grey(TMap_ColorHeight* c, int g) { Set(c, g, g, g); }
bool In(int t, int lo, int hi) { return t >= lo && t <= hi; }
// Buildings that stand for a location of the demand model.
bool IsLocationType(int t) { return In(t, 4, 6) || In(t, 8, 10) || In(t, 12, 16) || In(t, 18, 21); }
// Stops, signs, car parks' neighbours and the other service objects.
bool IsServiceType(int t) { return In(t, 22, 26) || In(t, 28, 37) || In(t, 39, 44); }
bool IsNetType(int t) { return In(t, 47, 49) || t == 52 || t == 53; }

int Fail(const char* what) {
  QNO_ERROR(QNO_SEV_ERROR, "%s == NULL in CViewFilter::GetIsoTileColor()", what);
  return 1;
}

// The street layers' colour of a cell that is no street piece: grass,
// water, junctions light grey, everything else a darker grey; black and
// the street object for a street piece. The result is 1 for a street
// piece without its object.
int StreetCell(CIsoWelt* iso, int x, int y, TMap_ColorHeight* c, CStreetObj** road) {
  CIsoInfo* cell = iso->GetIsoInfo(x, y);
  const int type = cell->GetType(ISO_LAYER_GROUND);
  Set(c, 0, 0, 0);
  c->height = 0;
  *road = nullptr;
  if (type == 1) Grass(c);
  else if (type == 2) Water(c);
  else if (type == 53) Grey(c, 180);
  else if (type != 52) Grey(c, 159);
  if (type != 52) return 0;
  *road = dynamic_cast<CStreetObj*>(cell->GetWorldObject(ISO_LAYER_GROUND));
  return *road ? 0 : Fail("road");
}
}  // namespace

CViewFilter::CViewFilter(CIsoWelt* iso) {
  m_IsoWelt = iso;
  m_MapMax = 0;
}

CViewFilter::~CViewFilter() {
  m_IsoWelt = nullptr;
  m_MapMax = 0;
}

int CViewFilter::Create() {
  m_MapMax = 0;
  return 0;
}

int CViewFilter::Destroy() {
  m_IsoWelt = nullptr;
  m_MapMax = 0;
  return 0;
}

int CViewFilter::Activate() {
  active = true;
  return 0;
}

int CViewFilter::Deactivate() {
  active = false;
  return 0;
}

int CViewFilter::AddMap(TileCallback tile, ViewRectCallback rect, TSimDistrictMapType layer, TileTestCallback test) {
  if (m_MapMax >= kMaxMaps) return -1;
  m_Maps[m_MapMax] = MapEntry{layer, tile, rect, test};
  return m_MapMax++;
}

int CViewFilter::ChangeFilter(int index, TSimDistrictMapType layer) {
  if (index >= 0 && index < m_MapMax) m_Maps[index].layer = layer;
  return 0;
}

TSimDistrictMapType CViewFilter::GetFilter(int index) {
  return index >= 0 && index < m_MapMax ? m_Maps[index].layer : 0;
}

int CViewFilter::GetIsoTileColor(int index, int x, int y, TMap_ColorHeight* colour) {
  if (!m_IsoWelt) return Fail("m_IsoWelt");
  if (!IsoInMap(x, y) || !m_IsoWelt->GetIsoInfo(x, y)) return Fail("IsoInfo");
  if (!colour) return Fail("ue_color");
  switch (GetFilter(index)) {
    case kLayerAlles: return ColorAlles(x, y, colour);
    case kLayerStrassenTyp: return ColorStrassenTyp(x, y, colour);
    case kLayerStrassen: return ColorStrassen(x, y, colour);
    case kLayerOpnvReach: return ColorOpnvReach(x, y, colour);
    default: return 0;
  }
}

int CViewFilter::ColorAlles(int x, int y, TMap_ColorHeight* c) {
  CIsoInfo* cell = m_IsoWelt->GetIsoInfo(x, y);
  const int type = cell->GetType(ISO_LAYER_GROUND);
  CWorldObj* object = cell->GetWorldObject(ISO_LAYER_GROUND);
  auto* building = dynamic_cast<CBuildingObject*>(object);
  CSimLocation* location = building ? building->GetSimLocation() : nullptr;
  // The third byte of the location's potential record: the low byte of its
  // height word.
  int h = location ? (location->GetPotential()->height & 0xFF) : 0;
  Set(c, 0, 0, 0);
  c->height = 0;
  bool needsLocation = true;
  int height = h;
  switch (type) {
    case 1: Grass(c), needsLocation = false, height = 0; break;
    case 2: Water(c), needsLocation = false, height = 0; break;
    case 4: Set(c, 0, 104, 63); break;
    case 5: Set(c, 0, 0, 79); break;
    case 6: Set(c, 79, 72, 0), height = 0; break;
    case 8: h == 1 ? Set(c, 0, 255, 0) : Set(c, 0, 207, 0); break;
    case 9: h == 1 ? Set(c, 48, 111, 255) : Set(c, 0, 0, 207); break;
    case 10: Set(c, 255, 255, 0), height = 1; break;
    case 12: Set(c, 255, 191, 16); break;
    case 13: Set(c, 252, 22, 22); break;
    case 14: Set(c, 207, 16, 255), needsLocation = false; break;
    case 15:
    case 16: Set(c, 207, 16, 255); break;
    case 18:
    case 19:
    case 20:
    case 21: Set(c, 96, 0, 127); break;
    default:
      needsLocation = false;
      height = 0;
      if (IsServiceType(type))
        Set(c, 240, 128, 128);
      else if (type == 50 || type == 51)
        Grey(c, 120);
      else if (IsNetType(type))
        Grey(c, 180);
      break;
  }
  c->height = static_cast<uint8_t>(std::min(height, 3) * 80);
  if (needsLocation && !location) return Fail("simLocation");
  return 0;
}

int CViewFilter::ColorStrassenTyp(int x, int y, TMap_ColorHeight* c) {
  CStreetObj* road = nullptr;
  if (const int result = StreetCell(m_IsoWelt, x, y, c, &road); !road) return result;
  CStrStrasse* street = road->GetStreetList();
  const float v = street ? static_cast<float>(street->GetVelocity()) : 0.0f;
  switch (road->GetStreetType()) {
    case 1:
      if (v >= 9.0f) Set(c, 255, 0, 255);
      else if (v >= 3.0f) Set(c, 109, 2, 103);
      break;
    case 2:
      if (v >= 9.0f) Set(c, 72, 255, 0);
      else if (v >= 3.0f) Set(c, 0, 122, 20);
      break;
    case 4:
      if (road->HasBusSpur()) Set(c, 255, 255, 0);
      else if (v > 14.9f) Set(c, 116, 116, 255);
      else if (v > 9.0f) Set(c, 0, 0, 255);
      else if (v > 3.0f) Set(c, 0, 0, 128);
      break;
    default: break;
  }
  return 0;
}

int CViewFilter::ColorStrassen(int x, int y, TMap_ColorHeight* c) {
  CStreetObj* road = nullptr;
  if (const int result = StreetCell(m_IsoWelt, x, y, c, &road); !road) return result;
  int flow = 0, capacity = 0, flow2 = 0, capacity2 = 0;
  road->GetAuslastung(&flow, &capacity);
  road->GetAuslastungSecond(&flow2, &capacity2);
  const float f = capacity < 1 ? 0.0f : static_cast<float>(std::max(flow, flow2));
  float v;
  if (f <= 200.0f) v = f / 600.0f;
  else if (f <= 400.0f) v = (f - 200.0f) / 600.0f + 0.33f;
  else v = (f - 400.0f) / 1400.0f + 0.66f;
  v = std::clamp(v, 0.0f, 1.0f);
  Set(c, static_cast<int>(255.0f * v), static_cast<int>(255.0f - 255.0f * v), 0);
  return 0;
}

int CViewFilter::ColorOpnvReach(int x, int y, TMap_ColorHeight* c) {
  CIsoInfo* cell = m_IsoWelt->GetIsoInfo(x, y);
  const int type = cell->GetType(ISO_LAYER_GROUND);
  Grass(c);
  c->height = 0;
  if (IsLocationType(type)) {
    CWorldObj* object = cell->GetWorldObject(ISO_LAYER_GROUND);
    if (!object) return Fail("object");
    CSimLocation* location = object->GetSimLocation();
    if (!location) return Fail("simLocation");
    short id = -1;
    int distance = 2000;
    location->GetNearestHst(id, distance);
    Set(c, 255, 0, 0);
    COpnv* opnv = COpnv::Get();
    auto* stop = id >= 0 && opnv ? dynamic_cast<CSecondLayerObject*>(opnv->GetHstByID(id)) : nullptr;
    if (stop && stop->GetLineList() && stop->GetLineList()->GetCount() > 0) {
      const int k = std::clamp(static_cast<int>(distance * 0.25), 0, 255);
      Set(c, k, 255 - k, 0);
      c->height = static_cast<uint8_t>(k);
    }
  } else if (IsServiceType(type)) {
    Set(c, 0, 0, 255);
  } else if (type == 50 || type == 51) {
    Grey(c, 120);
  } else if (IsNetType(type)) {
    Grey(c, 180);
  }
  return 0;
}

int CViewFilter::Update(int x, int y) {
  if (!active || m_MapMax == 0) return 0;
  TMap_ColorHeight colour;
  for (int i = 0; i < m_MapMax; ++i) {
    GetIsoTileColor(i, x, y, &colour);
    if (m_Maps[i].tile) m_Maps[i].tile(x, y, &colour);
  }
  return 0;
}

int CViewFilter::UpdateViewRect(const IsoViewRectType& rect) {
  if (!active) return 0;
  for (int i = 0; i < m_MapMax; ++i)
    if (m_Maps[i].rect) m_Maps[i].rect(rect);
  return 0;
}

int CViewFilter::UpdateTest(int x, int y, enumTestType test) {
  if (!active) return 0;
  for (int i = 0; i < m_MapMax; ++i) {
    TMap_ColorHeight colour;
    colour.red = 255;
    if (m_Maps[i].test) m_Maps[i].test(x, y, &colour, test);
  }
  return 0;
}

int CViewFilter::UpdateIsoWeltCenter(int x, int y) {
  if (m_IsoWelt) m_IsoWelt->SetIsoCenter(x, y);
  return 0;
}
