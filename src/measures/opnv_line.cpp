#include "measures/opnv_line.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "microsim/micro_car.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "worldbase/zor_world_host.h"

namespace {

bool Is(const char* a, const char* b) { return a && std::strcmp(a, b) == 0; }

}  // namespace

COpnvLine::COpnvLine(NetActiveType type) {
  m_Data.Reset(type);
  m_ChangeTime = kfx_GetTicks();
  m_BuildTime = m_ChangeTime;
}

COpnvLine::~COpnvLine() {
  if (m_pHstList) {
    m_pHstList->Destroy();
    delete m_pHstList;
  }
}

int COpnvLine::Create(int number, CStrJunctionList* network, NetActiveType type) {
  m_Data.lineNumber = static_cast<int16_t>(number);
  m_pNetwork = network;
  m_Data.netType = type;
  m_Data.length = 0;
  if (type != NET_VIRTUELL && !m_pHstList) m_pHstList = new CZorvaList(0);
  return 0;
}

int COpnvLine::Destroy() {
  if (m_pHstList) {
    m_pHstList->SetupZorvaCount();
    while (auto* stop = static_cast<CSecondLayerObject*>(m_pHstList->GetNextZorva())) DetachFromHst(stop);
    m_pHstList->Destroy();
    delete m_pHstList;
    m_pHstList = nullptr;
  }
  DetachFromEveryHst();
  if (GetNetType() != NET_VIRTUELL) RemoveVehicles();
  return CWorldObj::Destroy();
}

// ---------------------------------------------------------------- accessors

void COpnvLine::GetHstList(const short** ids, int* count) const {
  if (ids) *ids = m_Data.stopIds;
  if (count) *count = m_Data.stopsOneWay;
}

void COpnvLine::GetHstStreetList(const short** ids, int* count) const {
  if (ids) *ids = m_Data.stopStreetIds;
  if (count) *count = m_Data.stopsOneWay;
}

void COpnvLine::GetStreetList(const short** ids, int* count) const {
  if (ids) *ids = m_Data.streetIds;
  if (count) *count = m_Data.streetsOneWay;
}

CZorvaList* COpnvLine::GetList(const char*) { return m_pHstList; }

CSecondLayerObject* COpnvLine::GetFirstHst() const {
  return m_Data.stopsOneWay > 0 ? Hst(0) : nullptr;
}

CSecondLayerObject* COpnvLine::GetLastHst() const {
  return m_Data.stopsOneWay > 0 ? Hst(m_Data.stopsOneWay - 1) : nullptr;
}

void COpnvLine::GetXYPos(int& x, int& y, int& xs, int& ys) const {
  x = y = xs = ys = -1;
  const CSecondLayerObject* stop = GetFirstHst();
  if (!stop) return;
  x = stop->GetXPos();
  y = stop->GetYPos();
  xs = stop->GetXSizeRichtung();
  ys = stop->GetYSizeRichtung();
}

int COpnvLine::GetVirtuellHstID(short& a, short& b) const {
  if (m_Data.stopsOneWay != 2) return 1;
  a = m_Data.stopIds[0];
  b = m_Data.stopIds[1];
  return 0;
}

void COpnvLine::SetupStreetCount() { m_StreetCursor = 0; }

short COpnvLine::GetNextStreet(CStrStrasse** street) {
  if (street) *street = nullptr;
  if (m_StreetCursor >= m_Data.streetsOneWay) return 0;
  const short id = m_Data.streetIds[m_StreetCursor++];
  if (street && m_pNetwork) *street = m_pNetwork->GetStreetByID(id);
  return id;
}

void COpnvLine::SetHstActiveByNr(int i, bool on) {
  if (i >= 0 && i < kMaxHst) m_Data.stopActive[i] = on ? 1 : 0;
}

int COpnvLine::GetHstActiveByNr(int i) const { return i >= 0 && i < kMaxHst ? m_Data.stopActive[i] : 1; }

void COpnvLine::SetHstActiveByID(int id, bool on) {
  for (int i = 0; i < m_Data.stopEntries && i < kMaxHst; ++i)
    if (m_Data.stopIds[i] == id) m_Data.stopActive[i] = on ? 1 : 0;
}

int COpnvLine::GetHstActiveByID(int id) const {
  for (int i = 0; i < m_Data.stopEntries && i < kMaxHst; ++i)
    if (m_Data.stopIds[i] == id) return m_Data.stopActive[i];
  return 1;
}

// -------------------------------------------------------------------- fleet

void COpnvLine::GetFp(int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram) const {
  normal = m_Data.normalBuses;
  electric = m_Data.electricBuses;
  hydrogen = m_Data.hydrogenBuses;
  lowfloor = m_Data.lowFloorBuses;
  tram = m_Data.trams;
}

void COpnvLine::AddFp(int normal, int electric, int hydrogen, int lowfloor, int tram) {
  m_Data.normalBuses += normal;
  m_Data.electricBuses += electric;
  m_Data.hydrogenBuses += hydrogen;
  m_Data.lowFloorBuses += lowfloor;
  m_Data.trams += tram;
  m_ChangeTime = kChangeNow;
}

void COpnvLine::AddFp(int& count, int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram) {
  m_ChangeTime = kChangeNow;
  if (GetNetType() == NET_TRAM) {
    while (count > 0 && tram > 0) {
      --tram;
      ++m_Data.trams;
      --count;
    }
    return;
  }
  int* pool[4] = {&normal, &electric, &hydrogen, &lowfloor};
  int32_t* line[4] = {&m_Data.normalBuses, &m_Data.electricBuses, &m_Data.hydrogenBuses, &m_Data.lowFloorBuses};
  const auto empty = [&] { return normal < 1 && electric < 1 && hydrogen < 1 && lowfloor < 1; };
  while (count >= 1 && !empty()) {
    const int k = zor_random() % 4;
    if (*pool[k] < 1) continue;
    --*pool[k];
    ++*line[k];
    --count;
  }
}

int COpnvLine::SubFp(int& count, int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram) {
  if (GetNetType() == NET_TRAM) {
    while (count > 0 && m_Data.trams > 0) {
      --m_Data.trams;
      ++tram;
      --count;
    }
    return count > 0 ? 1 : 0;
  }
  int* pool[4] = {&normal, &electric, &hydrogen, &lowfloor};
  int32_t* line[4] = {&m_Data.normalBuses, &m_Data.electricBuses, &m_Data.hydrogenBuses, &m_Data.lowFloorBuses};
  const auto none = [&] {
    return m_Data.normalBuses < 1 && m_Data.electricBuses < 1 && m_Data.hydrogenBuses < 1 && m_Data.lowFloorBuses < 1;
  };
  while (count > 0 && !none()) {
    const int k = zor_random() % 4;
    if (*line[k] < 1) continue;
    --*line[k];
    ++*pool[k];
    --count;
  }
  return count > 0 ? 1 : 0;
}

void COpnvLine::SubFp(int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram) {
  const auto take = [](int32_t& have, int& deficit) {
    const int n = std::max(0, std::min<int>(have, deficit));
    have -= n;
    deficit -= n;
  };
  take(m_Data.normalBuses, normal);
  take(m_Data.electricBuses, electric);
  take(m_Data.hydrogenBuses, hydrogen);
  take(m_Data.lowFloorBuses, lowfloor);
  take(m_Data.trams, tram);
}

int COpnvLine::GetFpAssigned() const {
  if (GetNetType() == NET_BUS) return m_Data.normalBuses + m_Data.electricBuses + m_Data.hydrogenBuses + m_Data.lowFloorBuses;
  return m_Data.trams;
}

// ---------------------------------------------------------------- variables

float COpnvLine::GetTaktKilometer() const {
  if (m_Data.headway <= 0) return 0.0f;
  return static_cast<float>(m_Data.length * 18.0 / (m_Data.headway / 60.0));
}

int COpnvLine::GetPassengers() const {
  int sum = 0;
  for (const int32_t p : m_Data.passengers) sum += p;
  return sum;
}

float COpnvLine::GetUserQuote() const {
  if (m_Data.headway <= 0) return 0.0f;
  const float q = static_cast<float>(20.0 * m_Data.length / (m_Data.headway / 60.0));
  const float c = std::min(0.5f * m_Data.length, 5.0f);
  float quote = q != 0 ? 2.0f * c * static_cast<float>(GetPassengers()) * 100.0f / q : 0.0f;
  quote /= GetNetType() == NET_TRAM ? 200.0f : 60.0f;
  return quote;
}

int COpnvLine::GetVarData(const char* name, double* value) {
  if (!value) return 1;
  if (Is(name, "OPNV.LINE.NR")) {
    *value = GetID();
  } else if (Is(name, "OPNV.LINE.LENGTH")) {
    *value = m_Data.length;
  } else if (Is(name, "OPNV.LINE.EXCLUSIVELENGTH")) {
    *value = m_Data.exclusiveLength;
  } else if (Is(name, "OPNV.LINE.TAKTKILOMETER")) {
    *value = GetTaktKilometer();
  } else if (Is(name, "OPNV.LINE.COST")) {
    *value = m_Data.yearlyCost;
  } else if (Is(name, "OPNV.LINE.TAKT")) {
    *value = m_Data.headway;
  } else if (Is(name, "OPNV.LINE.PASSENGER")) {
    *value = GetPassengers() * (COpnvHost::Get()->ExpoLineGood() ? 4 : 1);
  } else if (Is(name, "OPNV.LINE.USERQUOTE")) {
    *value = GetUserQuote() * (COpnvHost::Get()->ExpoLineGood() ? 4 : 1);
  } else if (Is(name, "OPNV.LINE.FP")) {
    *value = GetFpAssigned();
  } else if (Is(name, "OPNV.LINE.FPNEEDED")) {
    *value = m_Data.vehiclesNeeded;
  } else {
    return 1;
  }
  return 0;
}

int COpnvLine::SetVarData(const char* name, double value) {
  if (!Is(name, "OPNV.LINE.TAKT")) return 1;
  Changed();
  m_ChangeTime = kfx_GetTicks();
  // The headway divides the line's length; it stays within its bounds.
  const double v = std::isfinite(value) ? std::trunc(value) : kNewHeadway;
  m_Data.headway = static_cast<int32_t>(std::clamp(v, 2.0, 60.0));
  CalculateFuhrPark();
  return 0;
}

int COpnvLine::GetStep(const char* name, float* step) {
  if (!Is(name, "OPNV.LINE.TAKT") || !step) return 1;
  const bool small = m_Data.headway < 15 || (*step == -1.0f && m_Data.headway < 16);
  *step = small ? 1.0f : 5.0f;
  return 0;
}

int COpnvLine::GetVarMin(const char* name, float* min) {
  if (!Is(name, "OPNV.LINE.TAKT") || !min) return 1;
  *min = 2;
  return 0;
}

int COpnvLine::GetVarMax(const char* name, float* max) {
  if (!Is(name, "OPNV.LINE.TAKT") || !max) return 1;
  *max = 60;
  return 0;
}

int COpnvLine::CalculateFuhrPark() {
  const double t = GetTaktKilometer();
  int n = 0;
  if (GetNetType() == NET_BUS)
    n = static_cast<int>(std::ceil(t / 15.0 / 12.0 * 1.15));
  else if (GetNetType() == NET_TRAM)
    n = static_cast<int>(std::ceil(t / 25.0 / 12.0 * 1.15));
  if (n == 0 && t != 0 && GetNetType() != NET_VIRTUELL) n = 1;
  m_Data.vehiclesNeeded = n;
  return 0;
}

// -------------------------------------------------------------------- tools

int COpnvLine::ToolAddHstTail(CSecondLayerObject* stop, short streetId) { return AddHst(stop, streetId, false); }

int COpnvLine::ToolAddHstHead(CSecondLayerObject* stop, short streetId) { return AddHst(stop, streetId, true); }

int COpnvLine::AddHst(CSecondLayerObject* stop, short streetId, bool head) {
  if (!stop) return 1;
  const int m = m_Data.stopsOneWay;
  for (int i = 0; i < m; ++i)
    if (Hst(i) == stop || m_Data.stopIds[i] == static_cast<short>(stop->GetID())) {
      CWorldHost::Get()->SetAchtungWindow(53);
      return 1;
    }
  if (2 * m + 1 >= kMaxHst) {
    CWorldHost::Get()->SetAchtungWindow(60);
    return 1;
  }
  // The line as it was, to go back to when the route would not fit.
  const LineDataType before = m_Data;
  const int at = head ? 0 : m;
  for (int i = m; i > at; --i) {
    m_Data.stopStreetIds[i] = m_Data.stopStreetIds[i - 1];
    m_Data.stopIds[i] = m_Data.stopIds[i - 1];
    m_Data.stopActive[i] = m_Data.stopActive[i - 1];
    m_Data.stopObjects[i] = Hst(i - 1);
  }
  m_Data.stopStreetIds[at] = streetId;
  m_Data.stopIds[at] = static_cast<short>(stop->GetID());
  m_Data.stopActive[at] = 1;
  m_Data.stopObjects[at] = stop;
  m_Data.stopsOneWay = static_cast<uint16_t>(m + 1);
  m_RouteFull = false;
  MakeStreetListFromHst();
  if (m_RouteFull) {
    m_Data = before;
    m_RouteFull = false;
    CWorldHost::Get()->SetAchtungWindow(60);
    return 1;
  }
  AttachToHst(stop);
  if (m_pHstList && m_pHstList->CheckZorvaInList(stop) != 0) m_pHstList->AddTailZorva(stop);
  Changed();
  return 0;
}

void COpnvLine::RemoveHstEntry(int index) {
  const int m = m_Data.stopsOneWay;
  if (index < 0 || index >= m) return;
  for (int i = index; i + 1 < m; ++i) {
    m_Data.stopStreetIds[i] = m_Data.stopStreetIds[i + 1];
    m_Data.stopIds[i] = m_Data.stopIds[i + 1];
    m_Data.stopActive[i] = m_Data.stopActive[i + 1];
    m_Data.stopObjects[i] = Hst(i + 1);
  }
  m_Data.stopStreetIds[m - 1] = 0;
  m_Data.stopIds[m - 1] = 0;
  m_Data.stopActive[m - 1] = 0;
  m_Data.stopObjects[m - 1] = nullptr;
  m_Data.stopsOneWay = static_cast<uint16_t>(m - 1);
}

int COpnvLine::ToolRemoveHst(CSecondLayerObject* stop, short) {
  if (!stop) return 1;
  int index = -1;
  for (int i = 0; i < m_Data.stopsOneWay && index < 0; ++i)
    if (Hst(i) == stop) index = i;
  if (index < 0) return 1;
  RemoveHstEntry(index);
  if (m_pHstList) m_pHstList->RemoveZorva(stop);
  DetachFromHst(stop);
  MakeStreetListFromHst();
  if (m_Data.stopsOneWay <= 1) RemoveVehicles();
  Changed();
  return 0;
}

// ------------------------------------------------------------ service check

int COpnvLine::CheckForKfz(uint32_t now) {
  if (m_ChangeTime != kChangeNow && now - m_ChangeTime < kCheckDelay) return 0;
  m_ChangeTime = kChangeNow;
  const uint8_t wasActive = m_Data.active;
  m_Data.active = 1;
  if (GetNetType() == NET_VIRTUELL) {
    if (!wasActive) Changed();
    return 0;
  }
  m_Data.serviceState = 0.6f;
  const int f = GetFpAssigned(), n = m_Data.vehiclesNeeded;
  int x, y, xs, ys;
  GetXYPos(x, y, xs, ys);
  if (f >= n) {
    m_Data.serviceState = 1.0f;
    m_ShortageTime = kChangeNow;
  } else if (f < 0.8 * n) {
    m_ShortageTime = now;
    if (MessageLineService(3, GetID(), x, y, xs, ys) == 0) m_MessageTime = now;
    m_Data.active = 0;
    RemoveVehicles();
    if (GetNetType() == NET_BUS) std::fill(std::begin(m_Data.passengers), std::end(m_Data.passengers), 0);
    m_Data.serviceState = 0.0f;
  } else {
    m_ShortageTime = now;
    if (MessageLineService(2, GetID(), x, y, xs, ys) == 0) m_MessageTime = now;
    m_Data.serviceState = 0.5f;
  }
  if (m_Data.active != wasActive) Changed();
  return 0;
}

// ------------------------------------------------------------- virtual line

int COpnvLine::CreateVirtuell(CSecondLayerObject* a, CSecondLayerObject* b) {
  if (!a || !b) return 1;
  m_Data.netType = NET_VIRTUELL;
  m_Data.active = 1;
  m_Data.streetsOneWay = m_Data.streetEntries = 0;
  m_Data.headway = kNewHeadway;
  m_Data.yearlyCost = 0;
  m_Data.vehiclesNeeded = 0;
  CSecondLayerObject* stops[4] = {a, b, b, a};
  const int32_t distance[4] = {0, 1000, 0, 1000};
  const int32_t time[4] = {0, 120, 0, 120};
  for (int i = 0; i < 4; ++i) {
    m_Data.stopObjects[i] = stops[i];
    m_Data.stopIds[i] = static_cast<short>(stops[i]->GetID());
    m_Data.stopActive[i] = 1;
    m_Data.distances[i] = distance[i];
    m_Data.times[i] = time[i];
  }
  m_Data.stopsOneWay = 2;
  m_Data.stopEntries = 4;
  return 0;
}
