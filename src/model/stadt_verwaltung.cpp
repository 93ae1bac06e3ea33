#include "model/stadt_verwaltung.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "measures/preise.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/message.h"
#include "sim/sim_city_model.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_net_lengths.h"
#include "network/str_strasse.h"
#include "worldbase/zor_world_host.h"

namespace {

constexpr const char* kRecordName = "StadtVerwaltung";
constexpr const char* kEndTag = "SVENDE";
constexpr int kTagSize = 30;
// Versions before this one hold float rows and a float research block.
constexpr int kDoubleVersion = 180;

struct Default {
  const char* name;
  double value, min, max, step;
};

// Rows whose value would lie outside their own range (the car prices, the
// driving ban, the fines' income) have ranges that hold it.
const Default kDefaults[CStadtVerwaltung::kRows + 1] = {
    {"SV.TAX.GENERAL", 25, 20, 30, 1},
    {"SV.TAX.GENERAL.INCOME", 0, 0, 0, 0},
    {"SV.TAX.KFZ.PKW", 100, 0, 200, 10},
    {"SV.TAX.KFZ.PKW.INCOME", 0, 0, 0, 0},
    {"SV.TAX.KFZ.MICROCAR", 30, 0, 60, 5},
    {"SV.TAX.KFZ.MICROCAR.INCOME", 0, 0, 0, 0},
    {"SV.TAX.ENERGIE", 0.49, 0.49, 1, 0.05},
    {"SV.TAX.ENERGIE.INCOME", 0, 0, 0, 0},
    {"SV.TAX.MWST", 16, 14, 22, 1},
    {"SV.TAX.MWST.INCOME", 0, 0, 0, 0},
    {"SV.SUB.BUYINGPKWH2", 0, 0, 15, 1},
    {"SV.SUB.BUYINGPKWH2.NUMBER", 0, 0, 1000, 50},
    {"SV.SUB.BUYINGPKWH2.EXPENSES", 0, 0, 15, 1},
    {"SV.SUB.BUYINGPKWH2.PRICE", 40000, 0, 100000, 1000},
    {"SV.SUB.BUYINGPKWENERGIE", 0, 0, 15, 1},
    {"SV.SUB.BUYINGPKWENERGIE.NUMBER", 0, 0, 1000, 50},
    {"SV.SUB.BUYINGPKWENERGIE.EXPENSES", 0, 0, 15, 1},
    {"SV.SUB.BUYINGPKWENERGIE.PRICE", 45000, 0, 100000, 1000},
    {"SV.SUB.BUYINGMICROCAR", 0, 0, 15, 1},
    {"SV.SUB.BUYINGMICROCAR.NUMBER", 0, 0, 1000, 50},
    {"SV.SUB.BUYINGMICROCAR.EXPENSES", 0, 0, 15, 1},
    {"SV.SUB.BUYINGMICROCAR.PRICE", 18000, 0, 100000, 1000},
    {"SV.SUB.SELLINGCAR", 0, 0, 1000, 100},
    {"SV.SUB.SELLINGCAR.NUMBER", 0, 0, 1000, 50},
    {"SV.SUB.SELLINGCAR.EXPENSES", 0, 0, 15, 1},
    {"SV.SUB.SELLINGCAR.PRICE", 0, 0, 15, 1},
    {"SV.SUB.TELEWORKING", 0, 0, 1000, 100},
    {"SV.SUB.TELEWORKING.NUMBER", 0, 0, 1000, 50},
    {"SV.SUB.TELEWORKING.EXPENSES", 0, 0, 2500, 100},
    {"SV.SUB.TELEWORKING.PRICE", 0, 0, 2500, 100},
    {"SV.SPEED.AREA", 100, 80, 120, 10},
    {"SV.SPEED.TOWN", 70, 30, 70, 20},
    {"SV.SPEED.BAB", 250, 130, 250, 10},
    {"SV.DRIVINGPROHIBIT", 0, 0, 1, 1},
    {"SV.TICKET", 20, 10, 25, 3},
    {"SV.TICKET.BILANZ", 20, 10, 25, 3},
    {"SV.TICKET.LASTYEAR.BILANZ", 20, 10, 25, 3},
    {"SV.TICKET.INCOME", 0, 0, 0, 0},
    {"SV.TICKET.PERSON", 0, 0, 50, 1},
    {"SV.TICKET.PERSON.EXPENSES", 0, 0, 100, 1},
    {"LISTENDE", 0, 130, 250, 1},
};

const char* const kAreaNames[CStadtVerwaltung::kAreas] = {"SV.RES.EMISSION", "SV.RES.REDUCTION", "SV.RES.ENERGIE",
                                                      "SV.RES.H2", "SV.RES.TELEWORKING"};
// The message of a completed level: the area's first entry of group 9.
const int kMessageBase[CStadtVerwaltung::kAreas] = {6, 3, 9, 12, 0};
constexpr int kResearchMessages = 9;

struct FieldName {
  const char* suffix;
  int field;
};
// In the order they are looked for: ".DURATION.MAX" before ".DURATION".
const FieldName kFieldNames[] = {{".DURATION.MAX", CStadtVerwaltung::kNeeded}, {".WIRKUNG", CStadtVerwaltung::kEffect},
                                 {".DURATION", CStadtVerwaltung::kDone},      {".ACTIVE", CStadtVerwaltung::kActive},
                                 {".COST", CStadtVerwaltung::kToPay},         {".PICSTURESTATE", CStadtVerwaltung::kPicture}};

// Warnings of the interface.
constexpr int kWarningNoMoney = 74;
constexpr int kWarningLowerLevel = 45;

// Street speeds in metres per second: 50 and 30 km/h.
constexpr double kSpeed50 = 13.9;
constexpr double kSpeed30 = 8.0;

// Entries of the price table.
constexpr int kPriceStreet1 = 5, kPriceStreet2 = 6, kPriceStreet4 = 7, kPriceRail = 9, kPriceLights = 11;

}  // namespace

CStadtVerwaltung::CStadtVerwaltung() {
  std::memset(m_Rows, 0, sizeof m_Rows);
  for (int i = 0; i <= kRows; ++i) {
    std::strncpy(m_Rows[i].name, kDefaults[i].name, sizeof m_Rows[i].name - 1);
    m_Rows[i].value = kDefaults[i].value;
    m_Rows[i].min = kDefaults[i].min;
    m_Rows[i].max = kDefaults[i].max;
    m_Rows[i].step = kDefaults[i].step;
  }
  static const double kLevel[kLevels][kFields] = {{0, 2, 0, 5000000, 5000000, 0.1, 0},
                                                  {0, 3, 0, 10000000, 10000000, 0.2, 1},
                                                  {0, 4, 0, 20000000, 20000000, 0.3, 2}};
  for (auto& area : m_Research)
    for (int l = 0; l < kLevels; ++l) std::copy(kLevel[l], kLevel[l] + kFields, area[l]);
}

int CStadtVerwaltung::Create(CFinanzen* finanzen) {
  m_pFinanzen = finanzen;
  // A new council has no limit in town (its row holds 70).
  CStrStrasse::m_TownLimit = 0.0;
  return CWorldObj::Create();
}

int CStadtVerwaltung::Destroy() {
  CStrStrasse::m_TownLimit = 0.0;
  m_SpeedControls.Destroy();
  return CWorldObj::Destroy();
}

int CStadtVerwaltung::AddSpeedControl(CSecondLayerObject* control) {
  return control ? m_SpeedControls.AddTailBuilding(control) : 1;
}

int CStadtVerwaltung::RemoveSpeedControl(CSecondLayerObject* control) {
  return control ? m_SpeedControls.RemoveBuilding(control) : 1;
}

CZorvaList* CStadtVerwaltung::GetList(const char* name) {
  return name && std::strcmp(name, "SV.SPEEDCONTROLLIST") == 0 ? &m_SpeedControls : nullptr;
}

// ---- named values --------------------------------------------------------------------------------

int CStadtVerwaltung::GetForschung(const char* name, int* area, int* level, int* field) {
  if (!name) return 1;
  int a = -1, l = -1, f = kActive;
  for (int i = 0; i < kAreas && a < 0; ++i)
    if (std::strstr(name, kAreaNames[i])) a = i;
  for (const FieldName& n : kFieldNames)
    if (std::strstr(name, n.suffix)) {
      f = n.field;
      break;
    }
  // The effect and the picture belong to the area, kept in its first level.
  if (f == kEffect || f == kPicture) {
    l = 0;
  } else {
    const char* levels[kLevels] = {".1", ".2", ".3"};
    for (int i = 0; i < kLevels && l < 0; ++i)
      if (std::strstr(name, levels[i])) l = i;
  }
  if (a < 0 || l < 0) return 1;
  *area = a, *level = l, *field = f;
  return 0;
}

SVVarTypeNew* CStadtVerwaltung::GetVar(const char* name) { return CVarTable(m_Rows, m_RowCount + 1).GetVar(name); }

int CStadtVerwaltung::GetVarData(const char* name, double* value) {
  int a = 0, l = 0, f = 0;
  if (name && std::strncmp(name, "SV.RES.", 7) == 0 && GetForschung(name, &a, &l, &f) == 0) {
    double v = m_Research[a][l][f];
    if (f == kEffect) {
      v = 0;
      for (const auto& level : m_Research[a]) v += level[kDone] / level[kNeeded];
      v /= 10.0;
    }
    if (value) *value = v;
    return 0;
  }
  return CVarTable(m_Rows, m_RowCount + 1).GetVarData(name, value);
}

int CStadtVerwaltung::SetVarData(const char* name, double value) {
  if (name && std::strncmp(name, "SV.RES.", 7) == 0) {
    int a = 0, l = 0, f = 0;
    if (GetForschung(name, &a, &l, &f) != 0) return 1;
    if (f == kActive) return SetResearchActive(a, l, value);
    m_Research[a][l][f] = value;
    return 0;
  }
  SVVarTypeNew* row = GetVar(name);
  if (!row) return 1;
  if (std::strcmp(name, "SV.SPEED.TOWN") == 0)
    TownSetMaxSpeed(static_cast<int>(value), static_cast<int>(row->value));
  row->value = value;
  return 0;
}

int CStadtVerwaltung::GetStep(const char* name, float* step) {
  double v = 0;
  const int r = CVarTable(m_Rows, m_RowCount + 1).GetStep(name, &v);
  if (r == 0 && step) *step = static_cast<float>(v);
  return r;
}

int CStadtVerwaltung::GetVarMin(const char* name, float* min) {
  double v = 0;
  const int r = CVarTable(m_Rows, m_RowCount + 1).GetVarMin(name, &v);
  if (r == 0 && min) *min = static_cast<float>(v);
  return r;
}

int CStadtVerwaltung::GetVarMax(const char* name, float* max) {
  double v = 0;
  const int r = CVarTable(m_Rows, m_RowCount + 1).GetVarMax(name, &v);
  if (r == 0 && max) *max = static_cast<float>(v);
  return r;
}

double CStadtVerwaltung::GetVarValue(const char* name) {
  double v = 0;
  return GetVarData(name, &v) == 0 ? v : -1.0;
}

int CStadtVerwaltung::SetVarValue(const char* name, double value) { return SetVarData(name, value); }

void CStadtVerwaltung::Add(const char* name, double amount) {
  if (SVVarTypeNew* row = GetVar(name)) row->value += amount;
}

double CStadtVerwaltung::Dx(const char* name) { return m_pExchange ? m_pExchange->GetVarValue(name) : 0.0; }

void CStadtVerwaltung::Book(const char* name, double amount) {
  if (m_pExchange) m_pExchange->VarAddValue(name, amount);
}

// ---- research ------------------------------------------------------------------------------------

int CStadtVerwaltung::SetResearchActive(int area, int level, double value) {
  double* r = m_Research[area][level];
  CWorldHost* host = CWorldHost::Get();
  if (m_pFinanzen && m_pFinanzen->CheckForMoney(static_cast<int>(r[kToPay])) != 0) {
    if (host) host->SetAchtungWindow(kWarningNoMoney);
    return 1;
  }
  for (int lower = 0; lower < level; ++lower) {
    const double* low = m_Research[area][lower];
    if (low[kActive] == 0 || low[kDone] < low[kNeeded]) {
      if (host) host->SetAchtungWindow(kWarningLowerLevel);
      return 1;
    }
  }
  // A level done keeps its state.
  if (r[kDone] >= r[kNeeded]) return 1;
  r[kActive] = value;
  return 0;
}

void CStadtVerwaltung::Research(double dt) {
  double cost = 0;
  CMessage* message = m_pExchange ? m_pExchange->Context().Message() : nullptr;
  for (int a = 0; a < kAreas; ++a)
    for (int l = 0; l < kLevels; ++l) {
      double* r = m_Research[a][l];
      if (r[kActive] == 0 || r[kDone] >= r[kNeeded]) continue;
      const double part = std::floor(dt * r[kTotal] / r[kNeeded]);
      cost += part;
      r[kToPay] -= part;
      r[kDone] += dt;
      if (r[kDone] < r[kNeeded]) continue;
      cost += r[kToPay];
      r[kToPay] = 0;
      r[kDone] = r[kNeeded];
      m_Research[a][0][kPicture] += 1;
      if (message) message->ActivateMessage(kResearchMessages, kMessageBase[a] + l);
    }
  Book("F.RES", cost);
}

// ---- the hourly accounts -------------------------------------------------------------------------

int CStadtVerwaltung::OnPlayloopTurn(STime now, STime last) {
  const double dt = static_cast<double>(now.fyear) - last.fyear;
  const double people = m_pExchange ? m_pExchange->GetPeople() : 0;
  const double cars = m_pExchange ? m_pExchange->GetPkw() : 0;
  Research(dt);

  const double f = Dx("W.G9") * 0.5 + 0.75;
  const double general = std::floor(people * Row("SV.TAX.GENERAL") / 100.0 * 600.0 * dt * f);
  Add("SV.TAX.GENERAL.INCOME", general);
  const double mwst = std::floor(people * Row("SV.TAX.MWST") / 100.0 * 500.0 * dt * f);
  Add("SV.TAX.MWST.INCOME", mwst);
  const double kfz = std::floor(cars * Row("SV.TAX.KFZ.PKW") * dt);
  Add("SV.TAX.KFZ.PKW.INCOME", kfz);
  const double microcars = m_pExchange ? m_pExchange->GetMicrocar() : 0;
  const double micro = std::floor(microcars * Row("SV.TAX.KFZ.MICROCAR") * dt);
  Add("SV.TAX.KFZ.MICROCAR.INCOME", micro);
  // The fuel of the trips the agents make now: the city's statistics are
  // summed afresh, so that the tax does not depend on when they were last
  // summed (a load sums them too).
  if (CSimCityModell* city = m_pExchange ? m_pExchange->City() : nullptr) city->CalcStatisticData();
  const double fuel = m_pExchange ? m_pExchange->DXCalc_BenzinPkw() + m_pExchange->DXCalc_BenzinBus() : 0.0;
  const double energy = std::floor(fuel * 365.0 * Row("SV.TAX.ENERGIE") * dt);
  Add("SV.TAX.ENERGIE.INCOME", energy);

  // Tickets: wardens cost, fines come in from the share of cars they can
  // watch.
  const double wardens = Row("SV.TICKET.PERSON");
  const double expenses = std::floor(wardens * 30000.0 * dt);
  Add("SV.TICKET.PERSON.EXPENSES", expenses);
  const int kfzCount = m_pExchange ? m_pExchange->GetKfz() : 0;
  const double share = kfzCount ? std::min(1.0, wardens * 1000.0 / kfzCount) : 0.0;
  const double income = std::floor(Dx("W.E15") * 0.5 * (Row("SV.TICKET") / 15.0) * cars * share * dt);
  Add("SV.TICKET.INCOME", income);
  if (SVVarTypeNew* balance = GetVar("SV.TICKET.BILANZ"))
    balance->value = Row("SV.TICKET.INCOME") - Row("SV.TICKET.PERSON.EXPENSES");
  // The city's income takes the taxes and the ticket balance (the fines
  // less the wardens' cost), so each fine is booked once.
  Book("F.INCOME.CITY", general + mwst + kfz + micro + energy - expenses + income);

  float c1 = 0, c2 = 0, c4 = 0, rail = 0;
  if (m_pExchange) m_pExchange->GetStreetDistribution(&c1, &c2, &c4, &rail);
  const double upkeep =
      std::floor(people * 150.0 + 0.5 * (CPreise::GetPreis(kPriceStreet1, 2) * c1 + CPreise::GetPreis(kPriceStreet2, 2) * c2 +
                                        0.5 * CPreise::GetPreis(kPriceStreet4, 2) * c4 +
                                        GetAmpel() * CPreise::GetPreis(kPriceLights, 2)));
  Book("F.EXPENSES.PRESERVEINFRASTRUCTURE", upkeep * dt);
  Book("OPNV.F.COST.PRESERVE", std::floor(CPreise::GetPreis(kPriceRail, 2) * rail * 0.5) * dt);

  if (!m_pExchange) return 0;
  CDataExchange& dx = *m_pExchange;
  const double kMicroMax = GetVar("SV.SUB.BUYINGMICROCAR")->max;
  dx.SetMicrocar(Adopt({dx.GetMicrocar(), static_cast<double>(static_cast<int>((Dx("W.K12.2") + Dx("W.K12.3")) / 100.0 * cars)),
                        0.2, {5, 4}, false, Row("SV.SUB.BUYINGMICROCAR") / 100.0 * Dx("W.S2"),
                        "SV.SUB.BUYINGMICROCAR", kMicroMax},
                       dt, "SV.SUB.BUYINGMICROCAR"));
  double k62 = dx.DoVar(EX_MAX, "W.K6.2", 0.0);
  if (k62 == 0.0) k62 = 10.0;
  const double tele = Row("SV.RES.TELEWORKING.WIRKUNG");
  dx.SetTeleWorker(Adopt({dx.GetTeleWorker(), dx.GetWorker() * (k62 * (tele + 0.1) / 0.4 / 100.0), 0.5, {5, 1.5},
                          false, Row("SV.SUB.TELEWORKING"), "SV.SUB.TELEWORKING", GetVar("SV.SUB.TELEWORKING")->max},
                         dt, "SV.SUB.TELEWORKING"));
  for (const char* kind : {"ENERGIE", "H2"}) {
    const bool h2 = std::strcmp(kind, "H2") == 0;
    const double effect = Row(h2 ? "SV.RES.H2.WIRKUNG" : "SV.RES.ENERGIE.WIRKUNG");
    const char* prefix = h2 ? "SV.SUB.BUYINGPKWH2" : "SV.SUB.BUYINGPKWENERGIE";
    const double rate = Row(prefix);
    const int current = h2 ? dx.GetH2Car() : dx.GetEnergieCar();
    const int next = Adopt({current, cars * (effect + 0.1) / 0.4 * (Dx("W.K14") / 10.0) / 100.0, 0.5, {5, 1.5}, true,
                            (35000.0 - effect / 0.3 * 15000.0) * rate / 100.0, prefix, 100.0 * 0.15},
                           dt, prefix);
    if (h2)
      dx.SetH2Car(next);
    else
      dx.SetEnergieCar(next);
  }
  dx.SetVerzichtAuto(Adopt({dx.GetVerzichtAuto(), cars * Dx("W.G2") * 0.05, 0.5, {7, 3}, false,
                            Row("SV.SUB.SELLINGCAR"), "SV.SUB.SELLINGCAR", GetVar("SV.SUB.SELLINGCAR")->max},
                           dt, "SV.SUB.SELLINGCAR"));
  return 0;
}

int CStadtVerwaltung::Adopt(const Adoption& a, double dt, const char* prefix) {
  int current = a.current;
  if (a.target <= current) return static_cast<int>(current - (current - a.target) * a.shrink * dt);
  const double rate = Row(a.rate);
  const double s = a.rateScale != 0.0 ? rate / a.rateScale : 0.0;
  const int n = static_cast<int>((a.target - current) / ((1.0 - s) * a.divisor[0] + a.divisor[1]));
  if (a.perYearTest ? n * dt < 1.0 : n <= 1) return current;
  const double bought = std::floor(n * dt);
  const double subsidy = std::floor(a.subsidyPerCase * bought);
  current += static_cast<int>(bought);
  const std::string base = prefix;
  Add((base + ".EXPENSES").c_str(), subsidy);
  Book("F.SUB", subsidy);
  if (a.subsidyPerCase != 0.0) Add((base + ".NUMBER").c_str(), bought);
  return current;
}

int CStadtVerwaltung::CalculateSubKosten() {
  for (const char* prefix : {"SV.SUB.BUYINGPKWH2", "SV.SUB.BUYINGPKWENERGIE", "SV.SUB.BUYINGMICROCAR"}) {
    const std::string base = prefix;
    GetVar((base + ".EXPENSES").c_str())->value =
        Row(prefix) / 100.0 * Row((base + ".NUMBER").c_str()) * Row((base + ".PRICE").c_str());
  }
  for (const char* prefix : {"SV.SUB.SELLINGCAR", "SV.SUB.TELEWORKING"}) {
    const std::string base = prefix;
    GetVar((base + ".EXPENSES").c_str())->value = Row(prefix) * Row((base + ".NUMBER").c_str());
  }
  return 0;
}

int CStadtVerwaltung::GetAmpel() {
  CStrJunctionList* net = m_pExchange ? m_pExchange->Context().StreetNet() : nullptr;
  int arms = 0;
  for (CZorvaObject* o = net ? net->GetHead() : nullptr; o; o = o->GetNext()) {
    const auto* j = static_cast<CStrJunction*>(o);
    if (j->GetAnzLinkedStreets() >= 3 && j->GetAmpelType() >= Ampel_Ampel) arms += j->GetAnzLinkedStreets();
  }
  return arms;
}

void CStadtVerwaltung::TownSetMaxSpeed(int newSpeed, int /*oldSpeed*/) {
  // Each street remembers its own speed while the limit holds it lower, so
  // a raised limit gives back what a lower one took, whatever came between.
  CStrStrasse::m_TownLimit = newSpeed == 50 ? kSpeed50 : (newSpeed == 30 ? kSpeed30 : 0.0);
  CStrJunctionList* net = m_pExchange ? m_pExchange->Context().StreetNet() : nullptr;
  StrForEachStreet(net, [](CStrStrasse* s) { s->ApplyTownLimit(); });
}

int CStadtVerwaltung::ResetYearData(STime now, STime last) {
  if (now.year == last.year) return 0;
  GetVar("SV.TICKET.LASTYEAR.BILANZ")->value = Row("SV.TICKET.BILANZ");
  for (const char* name :
       {"SV.TICKET.INCOME", "SV.TICKET.PERSON.EXPENSES", "SV.TICKET.BILANZ", "SV.SUB.TELEWORKING.EXPENSES",
        "SV.SUB.TELEWORKING.NUMBER", "SV.SUB.BUYINGPKWH2.EXPENSES", "SV.SUB.BUYINGPKWH2.NUMBER",
        "SV.SUB.BUYINGPKWENERGIE.EXPENSES", "SV.SUB.BUYINGPKWENERGIE.NUMBER", "SV.SUB.BUYINGMICROCAR.EXPENSES",
        "SV.SUB.BUYINGMICROCAR.NUMBER", "SV.SUB.SELLINGCAR.EXPENSES", "SV.TAX.GENERAL.INCOME",
        "SV.TAX.KFZ.PKW.INCOME", "SV.TAX.KFZ.MICROCAR.INCOME", "SV.TAX.ENERGIE.INCOME", "SV.TAX.MWST.INCOME"})
    GetVar(name)->value = 0;
  return 0;
}

// ---- the savegame record ---------------------------------------------------------------------

int CStadtVerwaltung::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  // The stored length counts the rows at 76 bytes, as older savegames held
  // them; the reader knows the record's real size.
  out.Header(name && *name ? name : kRecordName, static_cast<uint32_t>(m_RowCount) * 76 + 908 - kTagSize);
  out.I32(m_RowCount);
  for (int i = 0; i < m_RowCount; ++i) WriteVarRow(out, m_Rows[i]);
  for (const auto& area : m_Research)
    for (const auto& level : area)
      for (double v : level) out.F64(v);
  out.FixedString(kEndTag, kTagSize);
  return out.Ok() ? 0 : 1;
}

int CStadtVerwaltung::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  const int32_t count = in.I32();
  if (!in.Ok()) return 1;
  if (count < 0 || count > kRows) {
    QNO_ERROR1(QNO_SEV_ERROR, "CStadtVerwaltung: a savegame with %d rows is refused", count);
    return 1;
  }
  SVVarTypeNew rows[kRows + 1];
  std::memcpy(rows, m_Rows, sizeof rows);
  const bool doubles = g_ZorLoadVersion >= kDoubleVersion;
  for (int i = 0; i < count; ++i) {
    if (doubles) {
      ReadVarRow(in, &rows[i]);
    } else {
      SVVarType old{};
      ReadVarRowFloat(in, &old);
      ConvertOldVarRows(&old, &rows[i], 1);
    }
  }
  double research[kAreas][kLevels][kFields];
  for (auto& area : research)
    for (auto& level : area)
      for (double& v : level) v = doubles ? in.F64() : in.F32();
  char tag[kTagSize];
  in.FixedString(tag, kTagSize);
  if (!in.Ok() || std::strcmp(tag, kEndTag) != 0) return 1;
  for (int i = 0; i < count; ++i)
    if (std::strncmp(rows[i].name, kDefaults[i].name, sizeof rows[i].name) != 0 || !std::isfinite(rows[i].value)) {
      QNO_ERROR1(QNO_SEV_ERROR, "CStadtVerwaltung: the savegame's row %d does not fit; refused", i);
      return 1;
    }
  for (const auto& area : research)
    for (const auto& level : area)
      for (double v : level)
        if (!std::isfinite(v)) {
          QNO_ERROR(QNO_SEV_ERROR, "CStadtVerwaltung: research values that are no numbers; refused");
          return 1;
        }
  // A level needs a duration to be done in.
  for (const auto& area : research)
    for (const auto& level : area)
      if (level[kNeeded] <= 0) {
        QNO_ERROR(QNO_SEV_ERROR, "CStadtVerwaltung: a research level without a duration; refused");
        return 1;
      }
  std::memcpy(m_Rows, rows, sizeof rows);
  std::memcpy(m_Research, research, sizeof research);
  // The streets were read with their own speeds: the town's limit goes
  // over them again.
  const double town = Row("SV.SPEED.TOWN");
  TownSetMaxSpeed(town >= INT_MIN && town <= INT_MAX ? static_cast<int>(town) : 0, 70);
  return 0;
}
