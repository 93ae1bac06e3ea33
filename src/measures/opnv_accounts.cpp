// The operator's hourly accounts: staff and fleet needs, costs and ticket
// income for the elapsed part of the year, the balance, the service quality,
// the adviser's messages and the yearly closing.
#include <algorithm>
#include <cmath>
#include <string>

#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "measures/preise.h"
#include "worldbase/zor_world_host.h"

namespace {
// The nine campaigns with what one year of each costs.
struct SCampaign {
  const char* row;
  const char* progress;
  double yearlyCost;
};
constexpr SCampaign kCampaigns[] = {
    {"OPNV.ADVERTISEMENT.PRICE.NR1", "OPNV.ADVERTISEMENT.PRICE.NR1.PERCENTREADY", 150000},
    {"OPNV.ADVERTISEMENT.PRICE.NR2", "OPNV.ADVERTISEMENT.PRICE.NR2.PERCENTREADY", 250000},
    {"OPNV.ADVERTISEMENT.PRICE.NR3", "OPNV.ADVERTISEMENT.PRICE.NR3.PERCENTREADY", 500000},
    {"OPNV.ADVERTISEMENT.NET.NR1", "OPNV.ADVERTISEMENT.NET.NR1.PERCENTREADY", 150000},
    {"OPNV.ADVERTISEMENT.NET.NR2", "OPNV.ADVERTISEMENT.NET.NR2.PERCENTREADY", 250000},
    {"OPNV.ADVERTISEMENT.NET.NR3", "OPNV.ADVERTISEMENT.NET.NR3.PERCENTREADY", 500000},
    {"OPNV.ADVERTISEMENT.SERVICE.NR1", "OPNV.ADVERTISEMENT.SERVICE.NR1.PERCENTREADY", 150000},
    {"OPNV.ADVERTISEMENT.SERVICE.NR2", "OPNV.ADVERTISEMENT.SERVICE.NR2.PERCENTREADY", 250000},
    {"OPNV.ADVERTISEMENT.SERVICE.NR3", "OPNV.ADVERTISEMENT.SERVICE.NR3.PERCENTREADY", 500000},
};

constexpr const char* kIncomeRows[] = {"OPNV.F.INCOME.TICKET.BUS", "OPNV.F.INCOME.TICKET.TRAM", "OPNV.F.INCOME.SELLING"};
constexpr const char* kCostRows[] = {"OPNV.F.COST.PERS",    "OPNV.F.COST.BUS",           "OPNV.F.COST.TRAM",
                                     "OPNV.F.COST.INFRASTRUCTURE", "OPNV.F.COST.SERVICE", "OPNV.F.COST.ADVERTISEMENT",
                                     "OPNV.F.COST.PRESERVE"};
// This year's account rows and last year's, by position in the table.
constexpr int kAccountRows = 13;
constexpr int kLastYearRows = 13;
}  // namespace

double& COpnv::Val(const char* name) {
  static double scratch = 0.0;
  SVVarTypeNew* row = GetVar(name);
  if (row) return row->value;
  scratch = 0.0;
  return scratch;
}

int COpnv::OnPlayloopTurn(STime now, STime last) {
  const double elapsed = static_cast<double>(now.fyear) - static_cast<double>(last.fyear);
  CheckFP();
  CheckLineRoutes();
  CalculateBussePersonal();
  CalculateBusNumber();
  CalculatePersonalNumber();
  m_TurnFlag = false;
  CalculateErhaltungskosten(elapsed);
  CalculatePersonalkosten(elapsed);
  CalculateWerbung(elapsed);
  CalculateIncome(elapsed);
  CalculateServiceKosten(elapsed);
  CalculateBilanz();
  CalculateServiceQuality();
  COpnvHost* host = COpnvHost::Get();
  if (host->CheckBadService()) host->ActivateMessage(1, 0, -1, -1, -1, -1, -1, -1, 1, 1);
  if (host->CheckTooFewLines()) host->ActivateMessage(1, 3, -1, -1, -1, -1, -1, -1, 1, 1);
  return 0;
}

int COpnv::ResetYearData(STime now, STime last) {
  if (now.year == last.year) return 0;
  for (int i = 0; i < kLastYearRows; ++i) OPNVVars[kAccountRows + i].value = OPNVVars[i].value;
  for (int i = 0; i < kAccountRows; ++i) OPNVVars[i].value = 0.0;
  for (const char* row : {"OPNV.SV.DYNAMICTABLE.COST", "OPNV.SV.INTERNET.COST", "OPNV.SV.INFOTERMINAL.COST"})
    Val(row) = 0.0;
  return 0;
}

void COpnv::CalculateBussePersonal() {
  double busKm = 0.0, tramKm = 0.0, busNeeded = 0.0, tramNeeded = 0.0;
  if (NetVar(m_pBusNet, "OPNV.NET.TAKTKILOMETER", &busKm) == 0) NetVar(m_pBusNet, "OPNV.NET.FPNEEDED", &busNeeded);
  if (NetVar(m_pTramNet, "OPNV.NET.TAKTKILOMETER", &tramKm) == 0) NetVar(m_pTramNet, "OPNV.NET.FPNEEDED", &tramNeeded);
  Val("OPNV.FP.BUS.NEEDED") = busNeeded;
  Val("OPNV.FP.TRAM.NEEDED") = tramNeeded;
  const int raw = static_cast<int>(busKm / 15) + static_cast<int>(tramKm / 25);
  int drivers = static_cast<int>(raw / 4.3835616);
  if (raw != 0) drivers = std::max(drivers, 1);
  int service = static_cast<int>(drivers * 0.25);
  int mechanics = static_cast<int>(drivers * 0.15);
  if (drivers != 0) {
    service = std::max(service, 1);
    mechanics = std::max(mechanics, 1);
  }
  Val("OPNV.PERS.DRIVER.NEEDED") = drivers;
  Val("OPNV.PERS.SERVICE.NEEDED") = service;
  Val("OPNV.PERS.MECHANICS.NEEDED") = mechanics;
  Val("OPNV.PERS.NEEDED") = drivers + service + mechanics;
}

void COpnv::CalculateBusNumber() {
  Val("OPNV.FP.BUS") =
      Val("OPNV.FP.BUS.NORMAL") + Val("OPNV.FP.BUS.LOWFLOOR") + Val("OPNV.FP.BUS.H2") + Val("OPNV.FP.BUS.ENERGIE");
}

void COpnv::CalculatePersonalNumber() {
  const double needed = Val("OPNV.PERS.SERVICE.NEEDED") + Val("OPNV.PERS.DRIVER.NEEDED") + Val("OPNV.PERS.MECHANICS.NEEDED");
  Val("OPNV.PERS.NEEDED") = needed;
  double staff = 0.0;
  for (const char* kind : {"OPNV.PERS.SERVICE", "OPNV.PERS.DRIVER", "OPNV.PERS.MECHANICS"}) {
    const std::string base(kind);
    const double count = static_cast<float>(Val((base + ".NEEDED").c_str()) * Val((base + ".QUOTE").c_str()) / 100);
    Val(kind) = count;
    staff += count;
  }
  Val("OPNV.PERS") = staff;
  Val("OPNV.PERS.QUALI") = needed == 0 ? 0.5 : std::min(1.0, (staff / needed - 0.8) / 0.36);
}

void COpnv::CalculateErhaltungskosten(double elapsed) {
  const int cost = static_cast<int>(CPreise::GetPreis(14, 2) * m_HstCount * elapsed) +
                   static_cast<int>(CPreise::GetPreis(10, 2) * GetTramNetLength() * elapsed) +
                   static_cast<int>(CPreise::GetPreis(43, 2) * Val("OPNV.FP.TRAM") * elapsed) +
                   static_cast<int>(CPreise::GetPreis(39, 2) * Val("OPNV.FP.BUS") * elapsed);
  Val("OPNV.F.COST.PRESERVE") += cost;
}

void COpnv::CalculatePersonalkosten(double elapsed) {
  double& cost = Val("OPNV.F.COST.PERS");
  cost = std::floor(cost);
  double yearlyTotal = 0.0;
  for (const char* kind : {"OPNV.PERS.DRIVER", "OPNV.PERS.MECHANICS", "OPNV.PERS.SERVICE"}) {
    const double yearly = Val(kind) * 50000;
    cost += std::floor(yearly * elapsed);
    yearlyTotal += yearly;
  }
  Val("OPNV.PERS.COST") = yearlyTotal;
}

void COpnv::CalculateWerbung(double elapsed) {
  double& cost = Val("OPNV.F.COST.ADVERTISEMENT");
  const double before = cost;
  // Every campaign runs one year: its progress and its cost are booked for
  // the elapsed share of that year.
  for (const SCampaign& c : kCampaigns) {
    if (Val(c.row) == 0) continue;
    double& progress = Val(c.progress);
    progress += elapsed;
    cost += elapsed * c.yearlyCost;
    if (progress > 1) {
      Val(c.row) = 0;
      progress = 0;
    }
  }
  if (cost != before) CWorldHost::Get()->VarAddValue("F.GREENADVERTISMENT", cost - before);
}

double COpnv::EstimatedIncome() {
  COpnvHost* host = COpnvHost::Get();
  return CalculateAveragePriceKm() * host->StreckenlaengeBus() * (host->NrOfBusTrips() * 210.0);
}

void COpnv::CalculateIncome(double elapsed) {
  double bus = 0, busTooMuch = 0, tram = 0, tramTooMuch = 0;
  NetVar(m_pBusNet, "OPNV.NET.PASSENGER", &bus);
  NetVar(m_pBusNet, "OPNV.NET.PASSENGERTOOMUCH", &busTooMuch);
  NetVar(m_pTramNet, "OPNV.NET.PASSENGER", &tram);
  NetVar(m_pTramNet, "OPNV.NET.PASSENGERTOOMUCH", &tramTooMuch);
  const double estimated = EstimatedIncome();
  Val("OPNV.PRICE.ESTIMATEDINCOME") = estimated;
  const double income = elapsed * estimated;
  if (bus + tram == 0) return;
  Val("OPNV.F.INCOME.TICKET.BUS") += std::floor((bus - busTooMuch) * income / (bus + tram));
  Val("OPNV.F.INCOME.TICKET.TRAM") += std::floor((tram - tramTooMuch) * income / (tram + bus));
}

void COpnv::CalculateServiceKosten(double elapsed) {
  if (!m_pHstList) return;
  const int stops = m_HstCount;
  int terminals = 0, tables = 0, internet = 0;
  if (Val("OPNV.SV.INFOTERMINAL") != 0) terminals = static_cast<int>(stops * 4000 * elapsed);
  if (Val("OPNV.SV.DYNAMICTABLE") != 0) tables = static_cast<int>(stops * 15000 * elapsed);
  if (Val("OPNV.SV.INTERNET") != 0)
    internet = static_cast<int>((Val("OPNV.PERS.DRIVER.NEEDED") * 300 + 25000) * elapsed);
  Val("OPNV.SV.INFOTERMINAL.COST") += terminals;
  Val("OPNV.SV.DYNAMICTABLE.COST") += tables;
  Val("OPNV.SV.INTERNET.COST") += internet;
  Val("OPNV.F.COST.SERVICE") += terminals + tables + internet;
}

void COpnv::CalculateBilanz() {
  double income = 0.0, cost = 0.0;
  for (const char* row : kIncomeRows) income += (Val(row) = std::floor(Val(row)));
  for (const char* row : kCostRows) cost += (Val(row) = std::floor(Val(row)));
  Val("OPNV.F.INCOME") = income;
  Val("OPNV.F.COST") = cost;
  Val("OPNV.F.BILANZ") = income - cost;
}

void COpnv::CalculateServiceQuality() {
  const double staff = Val("OPNV.PERS.QUALI") * 0.5;
  const double normal = Val("OPNV.FP.BUS.NORMAL");
  const double better = Val("OPNV.FP.BUS.ENERGIE") + Val("OPNV.FP.BUS.LOWFLOOR") + Val("OPNV.FP.BUS.H2");
  const double buses = normal + better;
  const double fleet = buses == 0 ? 0.0 : (normal + 2 * better) / buses;
  const double service =
      (Val("OPNV.SV.INTERNET") + Val("OPNV.SV.INFOTERMINAL") + 2 * Val("OPNV.SV.DYNAMICTABLE")) * 0.25;
  const double quality = (fleet + service + staff) / 3;
  Val("OPNV.QUALI") = quality;
  m_ServiceQuality = static_cast<float>(quality);
}

float COpnv::CalculateAveragePriceFahrt() {
  const double fare = Val("OPNV.PRICE.KM") * 6 + Val("OPNV.PRICE.BASE");
  const double reduction = Val("OPNV.PRICE.REDUCTIONTICKETMONTH");
  return static_cast<float>((100 - reduction) * 0.8 * fare / 100 + 0.2 * fare);
}

float COpnv::CalculateAveragePriceKm() { return CalculateAveragePriceFahrt() / 6; }

double COpnv::CalculateFrequency() {
  double busLength = 0, tramLength = 0, busFrequency = 0, tramFrequency = 0;
  if (NetVar(m_pBusNet, "OPNV.NET.LENGTH", &busLength) == 0) NetVar(m_pBusNet, "OPNV.NET.FREQUENCY", &busFrequency);
  if (NetVar(m_pTramNet, "OPNV.NET.LENGTH", &tramLength) == 0)
    NetVar(m_pTramNet, "OPNV.NET.FREQUENCY", &tramFrequency);
  if (busLength == 0 && tramLength == 0) return 30;
  return (busFrequency * busLength + tramFrequency * tramLength) / (busLength + tramLength);
}

double COpnv::GetTramNetLength() {
  double length = 0;
  NetVar(m_pTramNet, "OPNV.NET.LENGTH", &length);
  return length;
}
