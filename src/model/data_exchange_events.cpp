// The global events: the adviser messages about the city as a whole that
// the data exchange raises once per period of the cause-effect network, and
// the checks the message system makes just before it shows one of them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_seams.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/measure.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_location.h"

namespace {
// A message waits this long after the last one of the same cause.
constexpr uint32_t kMessageGap = 60000;
// Stop distances count 100 per cell.
constexpr int kCellDistance = 100;
constexpr int kSchoolStopReach = 1501;
constexpr int kSchoolCrossingDistance = 500;
constexpr int kSchoolStreetReach = 3;
constexpr double kSchoolStreetSpeed = 9.0;
constexpr double kBusyCrossing = 0.1;
constexpr int kFewPlaces = 250;
constexpr int kQuoteMessagePeople = 5000;
constexpr int kGrowthMessagePeople = 13000;
constexpr int kDistrictCells = 8;

uint32_t Ticks() { return kfx_GetTicks(); }

// Whether a message whose last one was at `then` may come again at `now`;
// all bits set means there was none.
bool Due(uint32_t then, uint32_t now) { return then == COpnvLine::kChangeNow || now - then > kMessageGap; }

double LineQuote(COpnvLine* line) {
  double quote = 0.0;
  return line->GetVarData("OPNV.LINE.USERQUOTE", &quote) == 0 ? quote : 0.0;
}

bool SamePlace(COpnvLine* line, int x1, int y1, int x2, int y2) {
  int x = 0, y = 0, xs = 0, ys = 0;
  line->GetXYPos(x, y, xs, ys);
  return x == x1 && y == y1 && xs == x2 && ys == y2;
}

// A value of an object's own variables; `fallback` when it does not answer.
double ObjectValue(CWorldObj* object, const char* name, double fallback) {
  double value = 0.0;
  return object && object->GetVarData(name, &value) == 0 && std::isfinite(value) ? value : fallback;
}

bool ServesNoLine(CBuildingObject* stop) {
  auto* shelter = dynamic_cast<CSecondLayerObject*>(stop);
  CZorvaList* lines = shelter ? shelter->GetLineList() : nullptr;
  return !lines || lines->GetCount() == 0;
}

bool IsCarPark(TObjectType t) { return t == OBJ_CARPARK_OPEN || t == OBJ_CARPARK_GARAGE || t == OBJ_CARPARK_GARAGE2; }

// The parking quality of a district, as its parking search time gives it:
// 1 - time / 360 s between 0.03 and 1, and 0 where nobody lives, works,
// learns, shops or spends free time. It never throws: the message system asks it from the
// frame loop.
float ParkingQuality(const CSimDistrict& d) {
  // A district not made yet (a city being built) holds nobody.
  if (!d.IsValid()) return 0.0f;
  if (d.NrOfPersons() == 0) return 0.0f;
  float v = static_cast<float>(1.0 - d.Parksuchzeit() / 360.0);
  v = std::min(std::max(v, 0.01f), 1.0f);
  return std::max(v, 0.03f);
}
// The reference of the parking map.
constexpr float kParkingReference = 1.0f;

CStrJunction* JunctionAt(CStrJunctionList* net, int x, int y) {
  if (!net) return nullptr;
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext())
    if (auto* j = dynamic_cast<CStrJunction*>(o); j && j->GetXPos() == x && j->GetYPos() == y) return j;
  return nullptr;
}

// A junction without lights whose crossing carried more than a tenth of
// its capacity over the day.
bool BusyWithoutLights(CStrJunction* j) {
  CKreuzObj* crossing = j ? j->GetKreuzObject() : nullptr;
  return crossing && j->GetAmpelType() < Ampel_Ampel && crossing->GetAuslastung24() > kBusyCrossing;
}
}  // namespace

int CDataExchange::PostMessage(bool paced, int group, int entry, float v1, float v2, float v3, int x, int y,
                               int window, int xd, int yd) {
  CMessage* message = m_pGrowthContext->Message();
  if (!message) return 1;
  return paced ? message->ActivateMessage(group, entry, v1, v2, v3, x, y, window, xd, yd)
               : message->AddMessage(group, entry, v1, v2, v3, x, y, window, xd, yd);
}

int CDataExchange::Raise(int group, int entry, float v1, float v2, float v3, int x, int y, int window, int xd, int yd) {
  return PostMessage(true, group, entry, v1, v2, v3, x, y, window, xd, yd);
}

int CDataExchange::GetPMI(int people) {
  static constexpr int kBounds[] = {5000, 10000, 20000, 30000, 50000, 100000, 150000, 250000, 500000};
  int pmi = -1;
  for (int bound : kBounds)
    if (people > bound) ++pmi;
  return pmi;
}

// ---- shortages
bool CDataExchange::HasShortage(Shortage kind) const {
  const CSimCityModell* city = City();
  if (!city) return false;
  const double r = city->NrOfResidents();
  switch (kind) {
    case Shortage::Homes: {
      // A town whose homes fill up is short of them, and so is every small
      // town: below 10000 homes it needs more to grow, whether or not the
      // ones it has stand empty.
      const double homes = city->NrOfHomes();
      return r > 0.8 * homes || homes < 10000;
    }
    case Shortage::Jobs: {
      const double jobs = city->NrOfJobs(), workers = city->NrOfWorkers();
      return jobs < 0.63 * r || workers > 0.8 * jobs || jobs < 4000;
    }
    case Shortage::School:
      return city->NrOfSchoolSeats() < 0.15 * r;
    case Shortage::Shops: {
      const double shops = city->NrOfShops();
      return shops < 0.7 * r || city->NrOfConsumers() > 0.65 * shops;
    }
    case Shortage::Leisure: {
      const double places = city->NrOfLeisurePoints();
      return places < 0.2 * r || city->NrOfLeisurers() > 0.8 * places;
    }
  }
  return false;
}

// The growth obstacle counts the shortages the period's events find; the
// message system's look whether a shortage still holds is no finding.
int CDataExchange::CheckForHousing() { return HasShortage(Shortage::Homes) ? 1 : 0; }

int CDataExchange::CheckForJobs() { return CountShortage(Shortage::Jobs); }

int CDataExchange::CheckForSchool() { return CountShortage(Shortage::School); }

int CDataExchange::CheckForShopping() { return CountShortage(Shortage::Shops); }

int CDataExchange::CheckForLeisure() { return CountShortage(Shortage::Leisure); }

int CDataExchange::CountShortage(Shortage kind) {
  if (!HasShortage(kind)) return 0;
  m_Block.growthHindernis += 1.0f;
  return 1;
}

// ---- the period's events
int CDataExchange::CreateGlobalEvents(STime now, STime last) {
  CGottModus* god = m_pGrowthContext->GottModus();
  const int mode = god ? static_cast<int>(god->GetGameModus()) : 1;
  auto* finances = dynamic_cast<CFinanzen*>(Owner("F."));
  CMessage* message = m_pGrowthContext->Message();
  if (mode != 0 && finances && finances->IsPleite()) {
    PostMessage(false, 20, 14, -1.0f, -1.0f, -1.0f, -1, -1, -1, -1, -1);
    m_pGrowthContext->ActivateWindow(248);
    m_pGrowthContext->DeActivateWindow(218);
    m_pGrowthContext->DeActivateWindow(217);
    m_pGrowthContext->SetPause();
    return 0;
  }
  CreateBuildingEvents(now, last);
  DienstleisterEvents(now, last);
  m_Block.growthHindernis = 0.0f;

  CStrJunctionList* streets = m_pGrowthContext->StreetNet();
  if (!streets || streets->GetNumber() == 0) Raise(21, 6);

  const CSimCityModell* city = City();
  const int people = m_Block.people;
  if (message) {
    const int pmi = GetPMI(people);
    // A refused announcement is made again at the next period.
    if (pmi > GetPMI(message->GetLastPeopleSizeMessage()) && Raise(5, pmi + 13) == 0)
      message->SetLastPeopleSizeMessage(people);
  }

  // Each shortage found overrides the ones checked before it: the last
  // one kept is the one that holds the town most.
  m_GrowthShortage = -1;
  const auto shortage = [&](int entry) {
    m_GrowthShortage = entry;
    Raise(5, entry);
  };
  if (people < m_Block.targetPeople && city) {
    if (CheckForShopping()) {
      m_Block.growthHindernis += 1.0f;
      shortage(city->NrOfShops() < kFewPlaces ? 7 : 8);
    }
    if (CheckForLeisure()) shortage(city->NrOfLeisurePoints() < kFewPlaces ? 9 : 10);
    if (CheckForSchool()) {
      m_Block.growthHindernis += 1.0f;
      shortage(city->NrOfSchoolSeats() < kFewPlaces ? 5 : 6);
    }
    if (CheckForJobs()) {
      m_Block.growthHindernis += 1.0f;
      shortage(city->NrOfJobs() == 0 ? 2 : 3);
    }
    if (CheckForHousing()) {
      m_Block.growthHindernis += 1.0f;
      const unsigned homes = city->NrOfHomes();
      // Homes that still take newcomers hold the town less than any other
      // shortage: a small town hears of them only when nothing else holds it.
      const bool full = homes < city->NrOfResidents() + CSimCityModell::kPersonsPerAgent;
      const int before = m_GrowthShortage;
      shortage(homes == 0 ? 0 : 1);
      if (!full && before >= 0) m_GrowthShortage = before;
    }
  }

  if (Check_M_G_OPNV_TOTAL_OPNVNEEDED()) {
    m_Block.growthHindernis += 10.0f;
    Raise(1, 11);
  }
  auto* opnv = dynamic_cast<COpnv*>(Owner("OPNV."));
  const unsigned residents = city ? city->NrOfResidents() : 0;
  if (opnv && opnv->GetTramNetLength() <= 0.0 && residents > 50000) {
    m_Block.growthHindernis += 10.0f;
    Raise(1, 8);
  }
  if (people < kQuoteMessagePeople) return 0;
  QuoteEvents();
  return 0;
}

void CDataExchange::QuoteEvents() {
  const uint32_t now = Ticks();
  // One quote: its current value, its value at the last message and the
  // time of that message, the least change worth a message and the group's
  // entries on a rise and on a fall; `store` keeps time and quote when the
  // message was accepted.
  auto quote = [&](double current, double atLast, uint32_t lastTime, double least, int group, int rise, int fall,
                   auto&& store) {
    if (now - lastTime <= kMessageGap) return;
    // The quotes are kept as floats: their change is taken in float
    // precision, so a share stored as 0.02 is a change of 2 points.
    const float change = static_cast<float>(current) - static_cast<float>(atLast);
    if (std::fabs(change) < least) return;
    if (Raise(group, change > 0.0f ? rise : fall, static_cast<float>(current)) == 0) store(now, current);
  };
  // A measure keeps its time and quote in its own variables.
  auto measure = [&](const char* prefix, double current, int group, int rise, int fall) {
    CVarOwner* owner = Owner(prefix);
    if (!owner) return;
    char timeName[48], lastName[48];
    std::snprintf(timeName, sizeof timeName, "%sTIMELASTCHANGEMESSAGE", prefix);
    std::snprintf(lastName, sizeof lastName, "%sUSERQUOTELASTMESSAGE", prefix);
    double lastTime = 0.0, atLast = 0.0;
    owner->GetVarData(timeName, &lastTime);
    owner->GetVarData(lastName, &atLast);
    // The measure keeps the tick in a signed 32-bit field: its bits, as
    // the data exchange keeps its own, so that a tick past 2^31 is not cut.
    quote(current, atLast, static_cast<uint32_t>(static_cast<int64_t>(lastTime)), 1.0, group, rise, fall,
          [&](uint32_t t, double q) {
            owner->SetVarData(timeName, static_cast<double>(static_cast<int32_t>(t)));
            owner->SetVarData(lastName, q);
          });
  };

  measure("PR.", FValue("W.M2"), 11, 5, 6);
  UpdateQuoteMicrocar();
  quote(m_Block.quoteMicrocar * 100.0, m_Block.microcarMessageQuote * 100.0,
        static_cast<uint32_t>(m_Block.microcarMessageTime), 2.0, 14, 0, 1, [&](uint32_t t, double q) {
          m_Block.microcarMessageTime = static_cast<int32_t>(t);
          m_Block.microcarMessageQuote = static_cast<float>(q / 100.0);
        });
  quote(m_Block.quoteTeleworking * 100.0, m_Block.teleworkingMessageQuote * 100.0,
        static_cast<uint32_t>(m_Block.teleworkingMessageTime), 1.0, 13, 0, 1, [&](uint32_t t, double q) {
          m_Block.teleworkingMessageTime = static_cast<int32_t>(t);
          m_Block.teleworkingMessageQuote = static_cast<float>(q / 100.0);
        });
  measure("CS.", FValue("CS.USERQUOTEPEOPLE"), 15, 0, 1);

  // The growth of the town, between the quotes of the measures.
  double g = 0.5;
  if (GetVarData("I.GROWTH", &g) != 0) g = 0.5;
  // The indicators keep the growth as a float, and so it is compared.
  const float growth = static_cast<float>(g);
  if (growth < 0.52f && m_Block.people > kGrowthMessagePeople) Raise(8, growth < 0.47f ? 5 : 6);

  measure("PTA.", FValue("PTA.USERQUOTE"), 12, 3, 4);
  measure("AR.", FValue("AR.USERQUOTE"), 17, 0, 1);
}

int CDataExchange::CreateBuildingEvents(STime, STime) {
  CheckParkingForNoUser();
  CheckDistrictForParking();
  CheckSchoolsForOpnv();
  CheckSchoolsForHeavyTrafficCrossings();
  CreateStreetCrossingEvents();
  return 0;
}

int CDataExchange::DienstleisterEvents(STime, STime) {
  CheckForLineCapacity();
  return 0;
}

// ---- buildings
int CDataExchange::CheckParkingForNoUser() {
  auto* parking = dynamic_cast<CMeasure*>(Owner("PRM."));
  CZorvaList* places = parking ? parking->GetList("PRM.PLACELIST") : nullptr;
  if (!places) return 0;
  places->SetupZorvaCount(0);
  while (CZorvaObject* o = places->GetNextZorva()) {
    auto* park = dynamic_cast<CBuildingObject*>(o);
    if (!park || ObjectValue(park, "PH.AUSLASTUNG", 100.0) >= 10.0) continue;
    Raise(10, 2, -1.0f, -1.0f, -1.0f, park->GetXPos(), park->GetYPos(), -1, park->GetXSizeRichtung(),
          park->GetYSizeRichtung());
    return 1;
  }
  return 0;
}

int CDataExchange::CheckDistrictForParking() {
  CSimCityModell* city = City();
  if (!city || m_Block.people < kQuoteMessagePeople) return 0;
  const float reference = kParkingReference;
  int bestX = -1, bestY = -1;
  float best = 0.0f;
  for (int x = 0; x < CSimCityModell::kGrid; ++x)
    for (int y = 0; y < CSimCityModell::kGrid; ++y) {
      const float v = ParkingQuality(*city->pDistrictAt(x, y));
      if (v > 0.0f && v < 10000.0f && (bestX < 0 || v < best)) best = v, bestX = x, bestY = y;
    }
  if (bestX < 0 || reference == 0.0f || !(best < 0.1f * reference)) return 0;
  Raise(10, 4, -1.0f, -1.0f, -1.0f, bestX * kDistrictCells, bestY * kDistrictCells, -1, kDistrictCells,
        kDistrictCells);
  return 1;
}

int CDataExchange::SchoolStop(CBuildingObject* school, int* distance) {
  const CSimLocation* location = school ? school->GetSimLocation() : nullptr;
  short id = 0;
  *distance = 0;
  if (!location || !location->GetNearestHst(id, *distance)) return 0;
  return id;
}

int CDataExchange::CheckSchoolsForOpnv() {
  if (!m_pObjectList) return 0;
  auto* opnv = dynamic_cast<COpnv*>(Owner("OPNV."));
  int raised = 0;
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    auto* school = dynamic_cast<CBuildingObject*>(o);
    if (!school || school->GetType() != OBJ_SCHOOL) continue;
    int distance = 0;
    const int stop = SchoolStop(school, &distance);
    int entry = -1;
    if (stop == 0 || distance >= kSchoolStopReach)
      entry = 3;
    else if (CBuildingObject* shelter = opnv ? opnv->GetHstByID(stop) : nullptr; shelter && ServesNoLine(shelter))
      entry = 4;
    if (entry < 0) continue;
    m_Block.growthHindernis += 1.0f;
    Raise(4, entry, -1.0f, -1.0f, -1.0f, school->GetXPos(), school->GetYPos(), -1, school->GetXSizeRichtung(),
          school->GetYSizeRichtung());
    ++raised;
  }
  return raised;
}

bool CDataExchange::SchoolCrossingRule(CBuildingObject* school, int* x, int* y, int* w, int* h) {
  const CSimLocation* location = school->GetSimLocation();
  CStrJunctionList* streets = m_pGrowthContext->StreetNet();
  if (!location || !streets) return false;
  CStrJunction* j = streets->GetJunctionByID(static_cast<unsigned short>(location->NearestCrossing()));
  if (!j || j->GetAnzLinkedStreets() <= 1 || !BusyWithoutLights(j)) return false;
  // Both places are cells; the distance is taken in the hundredths of a
  // cell that every distance of buildings and stops is counted in.
  const double dx = static_cast<double>(school->GetXPos()) - j->GetXPos();
  const double dy = static_cast<double>(school->GetYPos()) - j->GetYPos();
  if (!(std::sqrt(dx * dx + dy * dy) * kCellDistance > kSchoolCrossingDistance)) return false;
  *x = j->GetXPos();
  *y = j->GetYPos();
  *w = *h = 1;
  if (dynamic_cast<CKreuzObjGroup*>(j->GetKreuzObject())) {
    CIsoWelt* map = m_pGrowthContext->Map();
    int gw = 0, gh = 0;
    if (map && map->GetGroupSize(*x, *y, ISO_LAYER_GROUND, gw, gh) == 0 && gw > 0 && gh > 0) {
      const int facing = j->GetKreuzObject()->GetPriorityCode();
      *w = facing == 1 || facing == 3 ? gh : gw;
      *h = facing == 1 || facing == 3 ? gw : gh;
    }
  }
  return true;
}

bool CDataExchange::SchoolStreetRule(CBuildingObject* school, int* x, int* y, int* w, int* h) {
  CStrJunctionList* streets = m_pGrowthContext->StreetNet();
  if (!streets) return false;
  int reach = kSchoolStreetReach;
  CStrStrasse* street = nullptr;
  short hx = -1, hy = -1;
  if (!streets->GetNearestStreet(static_cast<short>(school->GetXPos()), static_cast<short>(school->GetYPos()), &reach,
                                 &street, &hx, &hy) ||
      !street || !(street->GetVelocity() > kSchoolStreetSpeed))
    return false;
  CIsoWelt* map = m_pGrowthContext->Map();
  const CIsoInfo* cell = map ? map->GetIsoInfo(hx, hy) : nullptr;
  if (!cell || cell->GetType(ISO_LAYER_GROUND) != OBJ_STREET_PIECE) return false;
  int gw = 0, gh = 0;
  map->GetGroupSize(hx, hy, ISO_LAYER_GROUND, gw, gh);
  *x = hx;
  *y = hy;
  *w = std::max(gw, 0) + 1;
  *h = std::max(gh, 0) + 1;
  return true;
}

int CDataExchange::CheckSchoolsForHeavyTrafficCrossings() {
  if (!m_pObjectList) return 0;
  int raised = 0;
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    auto* school = dynamic_cast<CBuildingObject*>(o);
    if (!school || school->GetType() != OBJ_SCHOOL) continue;
    const float sx = static_cast<float>(school->GetXPos()), sy = static_cast<float>(school->GetYPos());
    int x = 0, y = 0, w = 1, h = 1;
    if (SchoolCrossingRule(school, &x, &y, &w, &h)) Raise(4, 8, -1.0f, sy, sx, x, y, -1, w, h), ++raised;
    if (SchoolStreetRule(school, &x, &y, &w, &h)) Raise(4, 9, -1.0f, sy, sx, x, y, -1, w, h), ++raised;
  }
  return raised;
}

int CDataExchange::CreateStreetCrossingEvents() {
  CStrJunctionList* streets = m_pGrowthContext->StreetNet();
  if (!streets) return 0;
  for (CZorvaObject* o = streets->GetHead(); o; o = o->GetNext()) {
    auto* j = dynamic_cast<CStrJunction*>(o);
    if (!j || !BusyWithoutLights(j)) continue;
    Raise(3, 0, -1.0f, -1.0f, -1.0f, j->GetXPos(), j->GetYPos(), -1, 1, 1);
    return 1;
  }
  return 0;
}

int CDataExchange::CheckForLineCapacity() {
  auto* opnv = dynamic_cast<COpnv*>(Owner("OPNV."));
  if (!opnv) return 0;
  const uint32_t now = Ticks();
  int raised = 0;
  opnv->SetupLineCount();
  while (COpnvLine* line = opnv->GetNextLine()) {
    if (!Due(line->GetMessageTime(), now)) continue;
    line->CheckForKfz(now);
    const double q = LineQuote(line);
    if (!line->IsActive() || (q <= 100.0 && q >= 10.0)) continue;
    int x = -1, y = -1, xs = 1, ys = 1;
    if (line->NoHst()) line->GetXYPos(x, y, xs, ys);
    if (Raise(0, q > 100.0 ? 1 : 0, static_cast<float>(line->GetID()), -1.0f, -1.0f, x, y, -1, xs, ys) == 0)
      line->SetMessageTime(now);
    ++raised;
  }
  return raised;
}

// ---- the checks of shown messages
bool CDataExchange::Check_M_G_OPNV_L_USERLOW(COpnvLine* line, int x1, int y1, int x2, int y2) {
  return line && Due(line->GetMessageTime(), Ticks()) && line->IsActive() && LineQuote(line) < 10.0 &&
         (!line->NoHst() || SamePlace(line, x1, y1, x2, y2));
}

bool CDataExchange::Check_M_G_OPNV_L_USERTOOMUCH(COpnvLine* line, int x1, int y1, int x2, int y2) {
  return line && Due(line->GetMessageTime(), Ticks()) && line->IsActive() && LineQuote(line) > 100.0 &&
         (!line->NoHst() || SamePlace(line, x1, y1, x2, y2));
}

namespace {
// -1 without a fleet check (other nets), 0 when fewer than 0.8 of the
// vehicles needed are there, 1 when short but at least that, 2 when enough.
int FleetState(COpnvLine* line) {
  if (line->GetNetType() != NET_BUS && line->GetNetType() != NET_TRAM) return -1;
  const int have = line->GetFpAssigned(), need = line->GetData()->vehiclesNeeded;
  if (have >= need) return 2;
  return have >= 0.8 * need ? 1 : 0;
}
bool FleetCheckDue(COpnvLine* line, int x1, int y1, int x2, int y2) {
  const uint32_t then = line->GetMessageTime();
  return SamePlace(line, x1, y1, x2, y2) && (then == COpnvLine::kChangeNow || Ticks() - then >= kMessageGap);
}
}  // namespace

bool CDataExchange::Check_M_G_OPNV_L_LESSKFZ(COpnvLine* line, int x1, int y1, int x2, int y2) {
  return line && FleetCheckDue(line, x1, y1, x2, y2) && FleetState(line) == 1;
}

bool CDataExchange::Check_M_G_OPNV_L_TOOLESSKFZ(COpnvLine* line, int x1, int y1, int x2, int y2) {
  return line && FleetCheckDue(line, x1, y1, x2, y2) && FleetState(line) == 0;
}

bool CDataExchange::Check_M_G_OPNV_TOTAL_BADSERVICE() {
  double service = 1.0;
  if (GetVarData("OPNV.SERVICEQUALITY", &service) != 0) service = 1.0;
  return service < 0.35 && OpnvValue("OPNV.NET.LENGTH") > 0.0;
}

bool CDataExchange::Check_M_G_OPNV_TOTAL_TOOLESSLINES() {
  return m_Block.opnvNetLength < 0.14 * m_Block.streetNetLength && m_Block.people > 5000;
}

bool CDataExchange::Check_M_G_OPNV_TOTAL_HSTNOTUSED(CBuildingObject* stop, int x, int y, int w, int h) {
  return stop && stop->GetXPos() == x && stop->GetYPos() == y && stop->GetXSizeRichtung() == w &&
         stop->GetYSizeRichtung() == h && ServesNoLine(stop);
}

bool CDataExchange::Check_M_G_OPNV_TOTAL_OPNVNEEDED() {
  const CSimCityModell* city = City();
  return OpnvValue("OPNV.NET.LENGTH") <= 10.0 && city && city->NrOfResidents() > 10000;
}

bool CDataExchange::Check_M_G_CROSSING_TRAFFICLIGHTNEEDED(int x, int y) {
  return BusyWithoutLights(JunctionAt(m_pGrowthContext->StreetNet(), x, y));
}

CBuildingObject* CDataExchange::SchoolAt(int x, int y) const {
  if (!m_pObjectList) return nullptr;
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    auto* b = dynamic_cast<CBuildingObject*>(o);
    if (b && b->GetType() == OBJ_SCHOOL && b->GetXPos() == x && b->GetYPos() == y) return b;
  }
  return nullptr;
}

bool CDataExchange::Check_M_G_BUILDING_SCHOOL_OPNVNEEDED(int x, int y) {
  CBuildingObject* school = SchoolAt(x, y);
  if (!school || !school->GetSimLocation()) return false;
  int distance = 0;
  return SchoolStop(school, &distance) == 0 || distance >= kSchoolStopReach;
}

bool CDataExchange::Check_M_G_BUILDING_SCHOOL_OPNVLINENEEDED(int x, int y) {
  CBuildingObject* school = SchoolAt(x, y);
  int distance = 0;
  const int stop = school ? SchoolStop(school, &distance) : 0;
  if (stop == 0 || distance >= kSchoolStopReach) return false;
  auto* opnv = dynamic_cast<COpnv*>(Owner("OPNV."));
  CBuildingObject* shelter = opnv ? opnv->GetHstByID(stop) : nullptr;
  return shelter && ServesNoLine(shelter);
}

bool CDataExchange::Check_M_G_BUILDING_SCHOOL_CROSSINGNOAMPEL(int x, int y) {
  CBuildingObject* school = SchoolAt(x, y);
  int cx, cy, w, h;
  return school && SchoolCrossingRule(school, &cx, &cy, &w, &h);
}

bool CDataExchange::Check_M_G_BUILDING_SCHOOL_NO30(int x, int y) {
  CBuildingObject* school = SchoolAt(x, y);
  int cx, cy, w, h;
  return school && SchoolStreetRule(school, &cx, &cy, &w, &h);
}

bool CDataExchange::Check_M_G_PARKING_USERLOW(int x, int y) {
  if (!m_pObjectList) return false;
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    auto* b = dynamic_cast<CBuildingObject*>(o);
    if (b && IsCarPark(b->GetType()) && b->GetXPos() == x && b->GetYPos() == y)
      return ObjectValue(b, "PH.AUSLASTUNG", 100.0) < 10.0;
  }
  return false;
}

bool CDataExchange::Check_M_G_PARKING_PLACESNEEDED(int x, int y) {
  CSimCityModell* city = City();
  const int dx = x / kDistrictCells, dy = y / kDistrictCells;
  if (!city || m_Block.people < kQuoteMessagePeople || x < 0 || y < 0 || dx >= CSimCityModell::kGrid ||
      dy >= CSimCityModell::kGrid)
    return false;
  return kParkingReference != 0.0f && ParkingQuality(*city->pDistrictAt(dx, dy)) < 0.1f * kParkingReference;
}
