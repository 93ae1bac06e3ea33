// The derived values of the whole city: people, workers and cars from the
// city model; built-up area, land use and the separation of the town by its
// traffic ways from the map; the lengths of the street, rail and public-
// transport networks; car occupancy, trip lengths, prices, energy and
// emissions of travel from the city model's trips and the named values of
// the measures and the cause-effect network.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "framework/qno_log.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "network/str_net_lengths.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location.h"
#include "sim/sim_welt.h"
#include "worldbase/zor_world_obj.h"

namespace {
constexpr int kMapCells = 128;
constexpr int kSeparationReach = 5;
// Persons per car on a car trip without car pooling.
constexpr double kBaseOccupancy = 1.3;

bool IsTrafficWay(TObjectType t) {
  return t == OBJ_RAIL_PIECE || t == OBJ_RAIL_JUNCTION || t == OBJ_STREET_PIECE || t == OBJ_CROSSING;
}

// The height word of the building on a cell, 0 without one.
int BuildingHeight(const CIsoInfo* cell) {
  const CWorldObj* object = cell->GetWorldObject(ISO_LAYER_GROUND);
  const CSimLocation* location = object ? object->GetSimLocation() : nullptr;
  return location ? location->GetHeight() : 0;
}
}  // namespace

int CDataExchange::CalculateGeneral(STime now, STime last) {
  DXCalc_BesetzungsGradPkw();
  DXCalc_BebauteFlaeche();
  DXCalc_People();
  CalculateGrowth(now.fyear, last.fyear);
  DXCalc_StreetNetLength();
  DXCalc_OpnvNetLength();
  DXCalc_OpnvNetExclusiveLength();
  return 0;
}

float CDataExchange::DXCalc_BesetzungsGradPkw() {
  const double q = (GetVarValue("PTA.USERQUOTE") + GetVarValue("MZ.USERQUOTE") + GetVarValue("AR.USERQUOTE") +
                    GetVarValue("PAR.USERQUOTE")) /
                   400.0;
  m_Block.besetzungsGrad = static_cast<float>(kBaseOccupancy * (1.0 + 2.0 * q));
  SetVarValue("W.M12", m_Block.besetzungsGrad);
  return m_Block.besetzungsGrad;
}

CSimCityModell* CDataExchange::City() const {
  if (CSimCityModell* city = m_pGrowthContext->City()) return city;
  return m_pSimulation ? m_pSimulation->pCityModell() : nullptr;
}

int CDataExchange::GetPeople() {
  if (const CSimCityModell* city = City()) m_Block.people = static_cast<int32_t>(city->NrOfResidents());
  return m_Block.people;
}

int CDataExchange::DXCalc_People() {
  // What the service and industry split keeps when there is no such area.
  const int32_t workerD = m_Block.workerD, workerI = m_Block.workerI;
  m_Block.people = m_Block.worker = m_Block.workerD = m_Block.workerI = m_Block.fze = m_Block.kfz = 0;
  m_Block.peopleValue = 0.0f;
  const CSimCityModell* city = City();
  if (!city) {
    if (m_pSimulation) QNO_LOG("pCityModell == NULL in CDataExchange::CalcPeople()");
    return 0;
  }
  const unsigned residents = city->NrOfResidents();
  m_Block.kfz = static_cast<int32_t>(residents * GetVarValue("W.M7") / 1000.0);
  m_Block.people = static_cast<int32_t>(residents);
  m_Block.worker = static_cast<int32_t>(m_Block.people * 0.6);
  const double area = static_cast<double>(m_Block.landUse[0]) + m_Block.landUse[1];
  if (area > 0.0) {
    m_Block.workerD = static_cast<int32_t>(m_Block.worker * m_Block.landUse[0] / area);
    m_Block.workerI = static_cast<int32_t>(m_Block.worker * m_Block.landUse[1] / area);
  } else {
    m_Block.workerD = workerD;
    m_Block.workerI = workerI;
  }
  m_Block.fze = static_cast<int32_t>(city->NrOfLeisurePoints());
  // The counters are unsigned: their difference is taken in signed 64 bits.
  const int64_t imbalance = std::llabs(static_cast<int64_t>(city->NrOfHomes()) - static_cast<int64_t>(city->NrOfJobs()));
  m_Block.peopleValue = static_cast<float>(static_cast<double>(imbalance) * 0.00390625);
  return m_Block.people;
}

void CDataExchange::Raumtrennung(int x, int y, float* sum) {
  CIsoWelt* map = m_pGrowthContext->Map();
  if (!map || !sum) return;
  auto count = [&](int cx, int cy) {
    if (cx < 0 || cy < 0 || cx >= kMapCells || cy >= kMapCells) return;
    const CIsoInfo* cell = map->GetIsoInfo(cx, cy);
    if (cell && IsTrafficWay(cell->GetType(ISO_LAYER_GROUND))) *sum += 1.0f;
  };
  for (int d = -kSeparationReach; d <= kSeparationReach; ++d) count(x + d, y);
  for (int d = -kSeparationReach; d <= kSeparationReach; ++d) count(x, y + d);
}

float CDataExchange::DXCalc_BebauteFlaeche() {
  float service = 0, industry = 0, area5 = 0, area6 = 0, built = 0, traffic = 0, separation = 0;
  double separated = 1.0, buildings = 0.0, weight = 0.0;
  if (CIsoWelt* map = m_pGrowthContext->Map()) {
    for (int x = 0; x < kMapCells; ++x)
      for (int y = 0; y < kMapCells; ++y) {
        const CIsoInfo* cell = map->GetIsoInfo(x, y);
        if (!cell) continue;
        const TObjectType type = cell->GetType(ISO_LAYER_GROUND);
        switch (type) {
          case OBJ_NONE:  // nothing stands on the cell
          case OBJ_GROUND:
          case OBJ_RIVER:
          case OBJ_HILL: continue;
          case OBJ_ZONE_RESIDENTIAL: buildings += 1; continue;
          case OBJ_ZONE_COMMERCIAL: buildings += 1, area5 += 1; continue;
          case OBJ_ZONE_INDUSTRIAL: buildings += 1, area6 += 1; continue;
          case OBJ_RESIDENTIAL:
            Raumtrennung(x, y, &separation);
            separated += 1;
            if (cell->GetWorldObject(ISO_LAYER_GROUND)) buildings += 1, weight += BuildingHeight(cell) == 2 ? 0.5 : 0.1;
            break;
          case OBJ_INDUSTRY:
            Raumtrennung(x, y, &separation);
            industry += 1, buildings += 1, weight += 0.2, separated += 1;
            break;
          case OBJ_OFFICE:
            Raumtrennung(x, y, &separation);
            service += 1, separated += 1;
            if (cell->GetWorldObject(ISO_LAYER_GROUND)) buildings += 1, weight += BuildingHeight(cell) == 2 ? 1.0 : 0.2;
            break;
          case OBJ_PARK: buildings += 1; break;
          case OBJ_SHOPPING:
          case OBJ_SCHOOL:
          case OBJ_SPORTS:
          case OBJ_ENTERTAINMENT:
          case OBJ_CARPARK_OPEN:
          case OBJ_BUSSTOP_SHELTER:
          case OBJ_BUSSTOP_SHELTER4:
          case OBJ_CARSHARING_CENTRE:
          case OBJ_CARSHARING_STATION:
          case OBJ_PARKRIDE: buildings += 1, weight += 0.5; break;
          default: break;
        }
        built += 1;
        if (IsTrafficWay(type) || type == OBJ_CARPARK_OPEN || type == OBJ_PARKRIDE || type == OBJ_BUSSTOP_SHELTER ||
            type == OBJ_BUSSTOP_SHELTER4 || type == OBJ_CARSHARING_CENTRE || type == OBJ_CARSHARING_STATION)
          traffic += 1;
      }
  }
  m_Block.landUseShare = buildings > 0 ? static_cast<float>(weight / buildings) : 0.25f;
  const double r = 1.0 - (separation - 1.5 * separated) / (2.0 * separated);
  m_Block.raumtrennung = static_cast<float>(std::clamp(r, 0.0, 1.0));
  m_Block.landUse[0] = service * 0.01f;
  m_Block.landUse[1] = industry * 0.01f;
  m_Block.landUse[2] = area5 * 0.01f;
  m_Block.landUse[3] = area6 * 0.01f;
  m_Block.landUseU13 = traffic * 0.01f;
  m_Block.bebauteFlaeche = built * 0.01f;
  return m_Block.bebauteFlaeche;
}

float CDataExchange::SumNetLengths(CStrJunctionList* net, bool classes) {
  const SStrNetLengths n = StrMeasureNetLengths(net);
  if (classes) {
    if (n.streets > 0) m_StreetNetValue = static_cast<float>(static_cast<double>(n.vls) / n.streets);
    m_Block.streetNet[0] = static_cast<float>(n.side / 100.0);
    m_Block.streetNet[1] = static_cast<float>(n.main / 100.0);
    m_Block.streetNet[2] = static_cast<float>(n.four / 100.0 * 2.0);
  }
  return static_cast<float>(n.total);
}

float CDataExchange::DXCalc_StreetNetLength() {
  m_Block.streetNetLength = SumNetLengths(m_pGrowthContext->StreetNet(), true) / 1000.0f;
  return m_Block.streetNetLength;
}

float CDataExchange::DXCalc_RailNetLength() {
  const float length = SumNetLengths(m_pGrowthContext->RailNet(), false);
  m_Block.streetNet[3] = length / 100.0f * 2.0f;
  m_Block.railNetValue = length / 1000.0f;
  return m_Block.railNetValue;
}

void CDataExchange::GetStreetDistribution(float* class1, float* class2, float* class4, float* rail) {
  if (m_Block.streetNet[0] == -1.0f || m_Block.streetNet[1] == -1.0f || m_Block.streetNet[2] == -1.0f)
    DXCalc_StreetNetLength();
  if (m_Block.streetNet[3] == -1.0f) DXCalc_RailNetLength();
  if (class1) *class1 = m_Block.streetNet[0];
  if (class2) *class2 = m_Block.streetNet[1];
  if (class4) *class4 = m_Block.streetNet[2];
  if (rail) *rail = m_Block.streetNet[3];
}

double CDataExchange::OpnvValue(const char* name) {
  double value = 0.0;
  return GetVarData(name, &value) == 0 ? value : 0.0;
}

float CDataExchange::DXCalc_OpnvNetLength() {
  m_Block.opnvNetLength = static_cast<float>(OpnvValue("OPNV.NET.LENGTH"));
  return m_Block.opnvNetLength;
}

float CDataExchange::DXCalc_OpnvNetExclusiveLength() {
  m_Block.opnvNetExclusiveLength = static_cast<float>(OpnvValue("OPNV.NET.EXCLUSIVELENGTH"));
  return m_Block.opnvNetExclusiveLength;
}

namespace {
struct Trips {
  double car = 0, bus = 0, foot = 0;
  double carLength = 0, busLength = 0, footLength = 0;
};

Trips CityTrips(const CSimCityModell* city) {
  Trips t;
  if (!city) return t;
  t.car = city->NrOfMIVTrips();
  t.bus = city->NrOfBusTrips();
  t.foot = city->NrOfFeetTrips();
  t.carLength = city->StreckenlaengeMIV();
  t.busLength = city->StreckenlaengeBus();
  t.footLength = city->StreckenlaengeFeet();
  return t;
}
}  // namespace

double CDataExchange::DXCalc_WegLaenge() {
  const Trips t = CityTrips(City());
  if (t.car + t.bus <= 0) return 0.0;
  return (t.car * t.carLength + t.bus * t.busLength) / (t.car + t.bus);
}

double CDataExchange::DXCalc_KmPerPerson() {
  const Trips t = CityTrips(City());
  if (m_Block.people == 0) return 0.0;
  return (kBaseOccupancy / m_Block.besetzungsGrad * GetVarValue("W.U10.1") * t.car + t.bus * GetVarValue("W.U11.1") +
          t.foot * t.footLength) /
         m_Block.people;
}

double CDataExchange::DXCalc_KmPrice() {
  const Trips t = CityTrips(City());
  if (t.car + t.bus <= 0) return 0.0;
  const double p = GetVarValue("W.U10.2");
  const double surcharge = p < 30.0 ? (30.0 - p) / 240.0 : 0.0;
  const double m = GetQuoteMicroCar();
  const double car = kBaseOccupancy / m_Block.besetzungsGrad *
                     ((1.0 - m) * (GetVarValue("W.S4") + GetVarValue("W.S6")) +
                      m * (GetVarValue("W.S5") + GetVarValue("W.S7"))) *
                     (1.0 + surcharge);
  const double length = std::max(t.busLength, 2.0);
  const double bus = (2.0 * OpnvValue("OPNV.PRICE.BASE") + 2.0 * OpnvValue("OPNV.PRICE.KM") * length) / length;
  return (car * t.car + bus * t.bus) / (t.car + t.bus);
}

double CDataExchange::DXCalc_EnergiePerKm() {
  Trips t = CityTrips(City());
  double e = OpnvValue("OPNV.BUS.TAKTKILOMETER") / 100.0 * 20.0 + OpnvValue("OPNV.TRAM.TAKTKILOMETER") / 100.0 * 40.0;
  const double busKm = GetVarValue("W.U11.1");
  const double p = t.bus * busKm;
  if (p != 0.0)
    e = std::max(e * 100.0 / p, 3.0) * p / 100.0;
  else
    t.bus = 0;
  const double m = GetQuoteMicroCar();
  const double c = (4.5 * m + 9.0 * (1.0 - m)) * (1.0 - GetVarValue("SV.RES.REDUCTION.WIRKUNG"));
  const double carKm = GetVarValue("W.U10.1");
  const double k = t.bus * busKm + t.car * carKm;
  if (k == 0.0) return 0.0;
  return (kBaseOccupancy / m_Block.besetzungsGrad * c * t.car * carKm + e) / k;
}

double CDataExchange::DXCalc_TotalEnergieverbrauch() {
  return m_Block.people * DXCalc_EnergiePerKm() * DXCalc_KmPerPerson();
}

double CDataExchange::DXCalc_TotalEmmission() {
  const double clean = m_Block.quoteH2 + m_Block.quoteECar + GetVarValue("CS.USERQUOTE") / 100.0 +
                       GetVarValue("SV.RES.EMISSION.WIRKUNG");
  return (1.0 - clean) * m_Block.people * DXCalc_EnergiePerKm() * DXCalc_KmPerPerson();
}

double CDataExchange::DXCalc_BenzinPkw() {
  UpdateQuoteMicrocar();
  const double m = m_Block.quoteMicrocar, h = m_Block.quoteH2, e = m_Block.quoteECar;
  const Trips t = CityTrips(City());
  return (4.5 * m + 9.0 * (1.0 - m - h - e)) * (1.0 - GetVarValue("SV.RES.REDUCTION.WIRKUNG")) * t.car *
         GetVarValue("W.U10.1") / 100.0;
}

double CDataExchange::DXCalc_BenzinBus() {
  const double fleet = OpnvValue("OPNV.FP.BUS");
  if (fleet == 0.0) return 0.0;
  return OpnvValue("OPNV.BUS.TAKTKILOMETER") * (OpnvValue("OPNV.FP.BUS.NORMAL") + OpnvValue("OPNV.FP.BUS.LOWFLOOR")) /
         fleet / 100.0 * 20.0;
}

float CDataExchange::DXCalc_QuotePkwH2() {
  m_Block.quoteH2 = static_cast<float>((m_Block.quoteH2 * 25.0 + 0.05) / 26.0);
  return m_Block.quoteH2;
}

float CDataExchange::DXCalc_QuotePkwE() {
  m_Block.quoteECar =
      static_cast<float>((GetVarValue("SV.RES.ENERGIE.WIRKUNG") * 0.5 + 0.05 + m_Block.quoteECar * 25.0) / 26.0);
  return m_Block.quoteECar;
}

float CDataExchange::DX_CalculateQuoteTeleworking() {
  double q = GetVarValue("SV.RES.TELEWORKING.WIRKUNG");
  float max = 0.0f;
  if (GetVarMax("SV.SUB.TELEWORKING", &max) == 0 && max > 0.0f) q += GetVarValue("SV.SUB.TELEWORKING") / max;
  m_Block.quoteTeleworking = static_cast<float>(q);
  return m_Block.quoteTeleworking;
}
