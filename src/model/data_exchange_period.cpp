// The period cycle: three times a simulated day the cause-effect network is
// fed the state of the running game through its input nodes, settles, takes
// one time step and the global events are raised. Every input is written in
// real units through "W." names, so a node maps it onto its own range; a
// formula that reads another input reads the size just set.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>

#include "cybernet/cyber_net.h"
#include "framework/qno_log.h"
#include "measures/measure.h"
#include "measures/opnv.h"
#include "model/data_exchange.h"
#include "model/zor_var.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"

namespace {
// Travel-time and length averages of the city model, read once per period.
struct SCityTravel {
  double carAccess = 0, parkSearch = 0, carTravel = 0;
  double busTravel = 0, busAccess = 0, busTransfer = 0;
  double carLength = 0, busLength = 0, busSpeed = 0, resistance = 0;
};
}  // namespace

#define ZOR_FEED(n, member) {"W." n, &CDataExchange::Calc_W_##member}
const CDataExchange::SFeed* CDataExchange::GetFeedTable() {
  static const SFeed table[kFeedCount] = {
      ZOR_FEED("G3", G3),          ZOR_FEED("G5", G5),          ZOR_FEED("G6", G6),
      ZOR_FEED("E5", E5),          ZOR_FEED("E6", E6),          ZOR_FEED("E7", E7),
      ZOR_FEED("E8", E8),          ZOR_FEED("E9", E9),          ZOR_FEED("E10", E10),
      ZOR_FEED("E13", E13),        ZOR_FEED("E14", E14),        ZOR_FEED("E15", E15),
      ZOR_FEED("E16", E16),        ZOR_FEED("K12.1", K12_1),    ZOR_FEED("U13.1", U13_1),
      ZOR_FEED("S1", S1),          ZOR_FEED("S2", S2),          ZOR_FEED("S3_norm", S3_norm),
      ZOR_FEED("S3_micro", S3_micro), ZOR_FEED("S4", S4),       ZOR_FEED("S5", S5),
      ZOR_FEED("S6", S6),          ZOR_FEED("S7", S7),          ZOR_FEED("I1", I1),
      ZOR_FEED("I2", I2),          ZOR_FEED("I3", I3),          ZOR_FEED("I4", I4),
      ZOR_FEED("I5", I5),          ZOR_FEED("I7", I7),          ZOR_FEED("I8", I8),
      ZOR_FEED("I9", I9),          ZOR_FEED("K1.1", K1_1),      ZOR_FEED("K1.2", K1_2),
      ZOR_FEED("K2.1", K2_1),      ZOR_FEED("K2.2", K2_2),      ZOR_FEED("K3.1", K3_1),
      ZOR_FEED("K3.2", K3_2),      ZOR_FEED("K4", K4),          ZOR_FEED("K5.1", K5_1),
      ZOR_FEED("K5.2", K5_2),      ZOR_FEED("K6.1", K6_1),      ZOR_FEED("K6.2", K6_2),
      ZOR_FEED("K7", K7),          ZOR_FEED("K8.1", K8_1),      ZOR_FEED("K9.1", K9_1),
      ZOR_FEED("K9.2", K9_2),      ZOR_FEED("K10", K10),        ZOR_FEED("K11", K11),
      ZOR_FEED("K12.4", K12_4),    ZOR_FEED("K13", K13),        ZOR_FEED("K15", K15),
      ZOR_FEED("U1", U1),          ZOR_FEED("U2", U2),          ZOR_FEED("U3", U3),
      ZOR_FEED("U4", U4),          ZOR_FEED("U5", U5),          ZOR_FEED("U6", U6),
      ZOR_FEED("U7", U7),          ZOR_FEED("U8", U8),          ZOR_FEED("U9", U9),
      ZOR_FEED("U10.1", U10_1),    ZOR_FEED("U10.2", U10_2),    ZOR_FEED("U11.1", U11_1),
      ZOR_FEED("U11.2", U11_2),    ZOR_FEED("U12", U12),        ZOR_FEED("U13.2", U13_2),
      ZOR_FEED("U15", U15),        ZOR_FEED("M8.1", M8_1),      ZOR_FEED("M8.2", M8_2),
      ZOR_FEED("M9", M9),          ZOR_FEED("M4", M4),          ZOR_FEED("M10", M10),
  };
  return table;
}
#undef ZOR_FEED

double CDataExchange::FValue(const char* name) { return CVar::ToFloatPrecision(GetVarValue(name)); }

CVarOwner* CDataExchange::Owner(const char* prefix) const {
  for (const Route& route : m_Routes)
    if (std::strcmp(route.prefix, prefix) == 0) return route.owner;
  return nullptr;
}

double CDataExchange::ServiceQuote(const char* prefix) {
  CVarOwner* service = Owner(prefix);
  if (!service) return 0.0;
  char name[32];
  std::snprintf(name, sizeof name, "%sUSERQUOTE", prefix);
  double quote = 0.0;
  return service->GetVarData(name, &quote) == 0 && std::isfinite(quote) ? quote : 0.0;
}

double CDataExchange::ServiceTarget(const char* prefix) {
  auto* service = dynamic_cast<CMeasure*>(Owner(prefix));
  if (!service) return 0.0;
  const double quote = service->CalculateUserQuote();
  return std::isfinite(quote) ? quote : 0.0;
}

namespace {
double NodeMax(CDataExchange& dx, const char* name) { return dx.DoVar(EX_MAX, name, 0.0); }
double NodeMin(CDataExchange& dx, const char* name) { return dx.DoVar(EX_MIN, name, 0.0); }
// Travel information's share of a service quote for the car-time nodes:
// the quote scaled onto the range of its node, 0 without a range.
double Scaled(double quote, double quoteMax, double nodeMax) { return quoteMax == 0.0 ? 0.0 : quote / quoteMax * nodeMax; }

SCityTravel Travel(const CSimCityModell* city) {
  SCityTravel t;
  if (!city) return t;
  t.carAccess = city->ZugangszeitMIV();
  t.parkSearch = city->ParksuchzeitMIV();
  t.carTravel = city->ReisezeitMIV();
  t.busTravel = city->ReisezeitBus();
  t.busAccess = city->ZugangszeitBus();
  t.busTransfer = city->UmsteigezeitBus();
  t.carLength = city->StreckenlaengeMIV();
  t.busLength = city->StreckenlaengeBus();
  t.busSpeed = city->GeschwindigkeitBus();
  t.resistance = city->Raumwiderstaende();
  return t;
}

// The price a car costs a year per km, from its purchase price S, the car
// tax and the insurance (the "S3" nodes).
double CarCostPerKm(double vat, double price, double tax, double insurance, double divisor) {
  return ((vat / 100.0 * price + price) * 0.75 / 8.0 + tax + insurance) / divisor;
}
double FuelCostPerKm(double vat, double energyTax, double reduction, double consumption, double km, double base,
                     double divisor) {
  return (((vat / 100.0 + 1.0) * (2.0 * energyTax + 0.23 + 0.13) * (1.0 - reduction / 10.0) * consumption * km) +
          base) /
         divisor;
}
}  // namespace

// ---- the inputs, in feeding order
double CDataExchange::Calc_W_G3() { return FValue("F.GREENADVERTISMENT"); }
double CDataExchange::Calc_W_G5() {
  return (FValue("SV.RES.ENERGIE.WIRKUNG") + FValue("SV.RES.H2.WIRKUNG")) / 1.2 * NodeMax(*this, "W.G5");
}
double CDataExchange::Calc_W_G6() { return FValue("I.EQM"); }
double CDataExchange::Calc_W_E5() { return 2.0 * FValue("SV.TAX.KFZ.PKW"); }
double CDataExchange::Calc_W_E6() { return 2.0 * FValue("SV.TAX.KFZ.MICROCAR"); }
double CDataExchange::Calc_W_E7() { return 2.0 * FValue("SV.TAX.ENERGIE"); }
double CDataExchange::Calc_W_E8() { return FValue("SV.TAX.GENERAL") / 100.0 * 10000.0; }
double CDataExchange::Calc_W_E9() { return 2.0 * FValue("PRM.PRICE.PKW"); }
double CDataExchange::Calc_W_E10() { return 2.0 * FValue("PRM.PRICE.MICROCAR"); }
double CDataExchange::Calc_W_E13() {
  COpnv* opnv = dynamic_cast<COpnv*>(Owner("OPNV."));
  return opnv ? opnv->CalculateAveragePriceFahrt() : 0.0;
}
double CDataExchange::Calc_W_E14() {
  return (2.0 * FValue("CS.PRICE.KM") * 200.0 + 2.0 * FValue("CS.PRICE.MONTH")) / 200.0;
}
double CDataExchange::Calc_W_E15() {
  const double q = FValue("PRM.USERQUOTE") / 100.0;
  return std::clamp(q >= 0.8 ? q * 90.0 + 69.0 : q * 70.0, 30.0, 160.0);
}
double CDataExchange::Calc_W_E16() {
  const double min = NodeMin(*this, "W.E16"), max = NodeMax(*this, "W.E16");
  const double a = m_Block.landUse[0], b = m_Block.landUse[1], c = m_Block.landUse[2], d = m_Block.landUse[3];
  if (a + b == 0.0) return min;
  return min + (a + b) / (a + b + c + d) * (max - min);
}
double CDataExchange::Calc_W_K12_1() {
  if (m_Block.people == 0) return 0.0;
  double subsidy = 0.0;
  if (CVarOwner* admin = Owner("SV.")) admin->GetVarData("SV.SUB.BUYINGMICROCAR", &subsidy);
  return CVar::ToFloatPrecision(subsidy) * 9000.0 * 2.0 / 100.0;
}
double CDataExchange::Calc_W_U13_1() { return FValue("I.ZORV.SECURITY"); }
double CDataExchange::Calc_W_S1() { return 30000.0; }
double CDataExchange::Calc_W_S2() { return 18000.0 - FValue("W.K12.1"); }
double CDataExchange::Calc_W_S3_norm() { return (1.0 - FValue("W.U13.1")) * 500.0 + 580.0; }
double CDataExchange::Calc_W_S3_micro() { return (1.0 - FValue("W.U13.1")) * 250.0 + 290.0; }
double CDataExchange::Calc_W_S4() {
  return CarCostPerKm(FValue("SV.TAX.MWST"), FValue("W.S1"), FValue("W.E5"), FValue("W.S3_norm"), 12500.0);
}
double CDataExchange::Calc_W_S5() {
  // The microcar's price "W.S2" already has the purchase subsidy "W.K12.1"
  // taken off; taking it off once more would count the subsidy twice.
  return CarCostPerKm(FValue("SV.TAX.MWST"), FValue("W.S2"), FValue("W.E6"), FValue("W.S3_micro"), 10500.0);
}
double CDataExchange::Calc_W_S6() {
  return FuelCostPerKm(FValue("SV.TAX.MWST"), FValue("W.E7"), FValue("SV.RES.REDUCTION.WIRKUNG"), 9.0, 125.0, 1000.0,
                       12500.0);
}
double CDataExchange::Calc_W_S7() {
  return FuelCostPerKm(FValue("SV.TAX.MWST"), FValue("W.E7"), FValue("SV.RES.REDUCTION.WIRKUNG"), 4.5, 105.0, 800.0,
                       10500.0);
}
double CDataExchange::Calc_W_I1() {
  return m_Block.bebauteFlaeche == 0.0f ? 6.0 : m_Block.streetNetLength / static_cast<double>(m_Block.bebauteFlaeche);
}
double CDataExchange::Calc_W_I2() {
  return m_Block.bebauteFlaeche == 0.0f ? 0.0 : m_Block.opnvNetLength / static_cast<double>(m_Block.bebauteFlaeche);
}
double CDataExchange::Calc_W_I3() {
  return m_Block.opnvNetLength == 0.0f
             ? 0.0
             : m_Block.opnvNetExclusiveLength * 100.0 / static_cast<double>(m_Block.opnvNetLength);
}
double CDataExchange::Calc_W_I4() {
  return m_Block.bebauteFlaeche == 0.0f ? 0.0
                                        : FValue("OPNV.HST.NUMBER") * 4.0 / static_cast<double>(m_Block.bebauteFlaeche);
}
double CDataExchange::Calc_W_I5() { return FValue("OPNV.FREQUENCY"); }
double CDataExchange::Calc_W_I7() { return m_Block.people == 0 ? 0.0 : FValue("PRM.PLACES") * 1000.0 / m_Block.people; }
double CDataExchange::Calc_W_I8() { return m_Block.landUseShare * 100.0; }
double CDataExchange::Calc_W_I9() {
  return m_Block.bebauteFlaeche == 0.0f ? 0.0 : m_Block.landUseShare / static_cast<double>(m_Block.bebauteFlaeche);
}
double CDataExchange::Calc_W_K1_1() {
  return Scaled(ServiceTarget("PAR."), NodeMax(*this, "W.K1.2"), NodeMax(*this, "W.K1.1"));
}
double CDataExchange::Calc_W_K1_2() { return ServiceTarget("PAR."); }
double CDataExchange::Calc_W_K2_1() {
  return Scaled(ServiceTarget("AR."), NodeMax(*this, "W.K2.2"), NodeMax(*this, "W.K2.1"));
}
double CDataExchange::Calc_W_K2_2() { return ServiceTarget("AR."); }
double CDataExchange::Calc_W_K3_1() {
  return Owner("PRM.") ? FValue("PRM.QUOTERESERVATION") * NodeMax(*this, "W.K3.1") : 0.0;
}
double CDataExchange::Calc_W_K3_2() {
  const double max1 = NodeMax(*this, "W.K3.1");
  return max1 == 0.0 ? 0.0 : FValue("W.K3.1") / max1 * NodeMax(*this, "W.K3.2");
}
double CDataExchange::Calc_W_K4() {
  return Owner("PRM.") ? FValue("PRM.QUOTEPLS") * NodeMax(*this, "W.K4") : 0.0;
}
double CDataExchange::Calc_W_K5_1() { return FValue("OPNV.CROSSING.PRIORISIERUNG") * NodeMax(*this, "W.K5.1"); }
double CDataExchange::Calc_W_K5_2() {
  // Each input is scaled onto its own node's range, as every other pair of
  // inputs is; the two nodes answer alike only while their ranges agree.
  return FValue("OPNV.CROSSING.PRIORISIERUNG") * NodeMax(*this, "W.K5.2");
}
double CDataExchange::Calc_W_K6_1() {
  const double max = NodeMax(*this, "W.K6.1");
  const double share = m_Block.worker == 0 ? 0.0 : static_cast<double>(m_Block.teleWorker) / m_Block.worker;
  const double divisor = max / 100.0 == 0.0 ? 1.0 : max / 100.0;
  return max * share / divisor;
}
double CDataExchange::Calc_W_K6_2() {
  return m_Block.worker == 0 ? 0.0 : 100.0 * m_Block.teleWorker / static_cast<double>(m_Block.worker);
}
double CDataExchange::Calc_W_K7() { return m_StreetNetValue; }
double CDataExchange::Calc_W_K8_1() {
  if (!Owner("CS.") || m_Block.people == 0 || m_Block.bebauteFlaeche == 0.0f) return 0.0;
  return 3.0 * FValue("CS.NUMBER") / static_cast<double>(m_Block.bebauteFlaeche) * FValue("CS.QUALITY");
}
double CDataExchange::Calc_W_K9_1() {
  return Scaled(ServiceTarget("PTA."), NodeMax(*this, "W.K9.2"), NodeMax(*this, "W.K9.1"));
}
double CDataExchange::Calc_W_K9_2() { return ServiceTarget("PTA."); }
double CDataExchange::Calc_W_K10() {
  const double max = NodeMax(*this, "W.K10");
  if (!Owner("MZ.") || m_Block.people == 0 || max == 0.0) return 0.0;
  return ServiceQuote("MZ.") / 15.0 * max;
}
double CDataExchange::Calc_W_K11() {
  if (!Owner("PR.") || m_Block.people == 0) return 0.0;
  return FValue("PR.PLACES") * 1000.0 / m_Block.people;
}
double CDataExchange::Calc_W_K12_4() {
  const double places = FValue("PRM.PLACES");
  return places == 0.0 ? 0.0 : FValue("PRM.PLACES.MICROCAR") / places;
}
double CDataExchange::Calc_W_K13() { return FValue("OPNV.QUALI") * NodeMax(*this, "W.K13"); }
double CDataExchange::Calc_W_K15() {
  if (!Owner("MS.") || m_Block.people == 0) return 0.0;
  return FValue("MS.EXPENSES") / m_Block.people;
}

// The city model's averages; the period has them computed before the first
// of these inputs is fed.
double CDataExchange::Calc_W_U1() {
  const SCityTravel t = Travel(City());
  return t.carAccess + t.parkSearch + Calc_W_U5_Reduction() * t.carTravel;
}
double CDataExchange::Calc_W_U2() { return Travel(City()).carAccess; }
double CDataExchange::Calc_W_U3() { return Travel(City()).parkSearch; }
double CDataExchange::Calc_W_U4() { return Travel(City()).parkSearch * 0.9; }
double CDataExchange::Calc_W_U5() { return Calc_W_U5_Reduction() * Travel(City()).carTravel; }
double CDataExchange::Calc_W_U6() {
  const SCityTravel t = Travel(City());
  return t.busTravel + Calc_W_U8() + t.busTransfer;
}
double CDataExchange::Calc_W_U7() { return Travel(City()).busTravel; }
double CDataExchange::Calc_W_U8() {
  return Travel(City()).busAccess * (1.0 - FValue("PTA.USERQUOTE") / 5.0 / 100.0);
}
double CDataExchange::Calc_W_U9() { return Travel(City()).busTransfer; }
double CDataExchange::Calc_W_U10_1() { return Travel(City()).carLength; }
double CDataExchange::Calc_W_U10_2() {
  const SCityTravel t = Travel(City());
  const double hours = Calc_W_U5_Reduction() * t.carTravel / 60.0;
  return hours == 0.0 ? 0.0 : t.carLength / hours;
}
double CDataExchange::Calc_W_U11_1() { return Travel(City()).busLength; }
double CDataExchange::Calc_W_U11_2() { return Travel(City()).busSpeed; }
double CDataExchange::Calc_W_U12() { return Travel(City()).resistance; }
double CDataExchange::Calc_W_U13_2() {
  return m_Block.bebauteFlaeche == 0.0f ? 0.5 : m_Block.landUseU13 * 50.0 / static_cast<double>(m_Block.bebauteFlaeche);
}
double CDataExchange::Calc_W_U15() {
  const double u5 = FValue("W.U5");
  return u5 == 0.0 ? 2.0 : FValue("W.U3") * 0.33 / u5 * 100.0;
}
double CDataExchange::Calc_W_M8_1() {
  const double bus = FValue("W.U11.1");
  if (bus == 0.0) return 0.0;
  return FValue("W.S4") + FValue("W.S6") + FValue("W.E9") * 150.0 / 10000.0 - FValue("W.E13") / bus;
}
double CDataExchange::Calc_W_M8_2() {
  const double car = FValue("W.U10.1"), bus = FValue("W.U11.1");
  if (car == 0.0) return 0.0;
  if (bus == 0.0) return 2.0;
  return FValue("W.U6") / bus - FValue("W.U1") / car;
}
double CDataExchange::Calc_W_M9() {
  return FValue("W.S4") + FValue("W.S6") + FValue("W.E9") * 150.0 / 10000.0 -
         (FValue("W.S5") + FValue("W.S7") + FValue("W.E10") * 150.0 / 10000.0);
}
double CDataExchange::Calc_W_M4() {
  const double min = NodeMin(*this, "W.M4");
  return min + FValue("W.M5") * (NodeMax(*this, "W.M4") - min);
}
double CDataExchange::Calc_W_M10() { return FValue("W.K12.4") / 100.0; }

double CDataExchange::Calc_W_U5_Reduction() {
  const float route = static_cast<float>(FValue("W.K2.2") * 0.5 / 100.0);
  const float assistant = static_cast<float>(FValue("W.K9.2") * 0.5 / 100.0);
  const float planning = static_cast<float>(FValue("W.K1.2") / 6.0 / 100.0);
  return 1.0 - (static_cast<double>(route) + assistant + planning);
}

// ---- the cycle
int CDataExchange::CalculateNextMatrix(STime now, STime last) {
  if (m_pGrowthContext->NetHold() || !m_pCyberNet) return 1;
  try {
    const SFeed* feed = GetFeedTable();
    for (int i = 0; i < kFeedCount; ++i) {
      // The travel averages of the city model are brought up to date once,
      // before the first input that reads them.
      if (feed[i].calc == &CDataExchange::Calc_W_U1)
        if (CSimCityModell* city = City()) city->CalcStatisticData();
      const double value = (this->*feed[i].calc)();
      // A number the node could not hold would spread through the network
      // and never leave it: the node keeps its size instead.
      if (!std::isfinite(value)) {
        QNO_ERROR(QNO_SEV_WARNING, "CDataExchange::CalculateNextMatrix() %s bekommt keine Zahl", feed[i].name);
        continue;
      }
      SetVarData(feed[i].name, value);
    }
    m_LastSettleRounds = 0;
    for (int round = 0; round < kMaxSettleRounds; ++round) {
      const double change = m_pCyberNet->UpdateInput();
      m_pCyberNet->CalculateValues();
      m_LastSettleRounds = round + 1;
      if (change < kSettled) break;
    }
    m_pCyberNet->NextTimeStep();

    if (m_pGrowthContext->StaticCity()) WriteDumps();
    if (now.hour != last.hour) CreateGlobalEvents(now, last);
  } catch (const std::exception& e) {
    QNO_ERROR(QNO_SEV_ERROR, "CDataExchange::CalculateNextMatrix() %s", e.what());
  } catch (const char* text) {
    QNO_ERROR(QNO_SEV_ERROR, "CDataExchange::CalculateNextMatrix() %s", text ? text : "");
  } catch (...) {
    QNO_ERROR(QNO_SEV_ERROR, "CDataExchange::CalculateNextMatrix() unbekannter Fehler");
  }
  return 0;
}
