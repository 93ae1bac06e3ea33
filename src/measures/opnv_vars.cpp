#include <algorithm>
#include <cstring>
#include <string>

#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "worldbase/zor_world_host.h"

namespace {
// The first values and bounds of every row: value, minimum, maximum, step.
// The rows' order matters: the yearly closing copies rows 0-12 onto rows
// 13-25 by position, and savegames store the rows in this order. Every
// advertising campaign runs one year: its maximum, by which its progress
// and its cost are divided, is 1.
const SVVarTypeNew kOpnvRows[COpnv::kVarTableSize] = {
    {"OPNV.F.INCOME", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.INCOME.TICKET.BUS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.INCOME.TICKET.TRAM", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.INCOME.SELLING", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST.PERS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST.BUS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST.TRAM", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST.INFRASTRUCTURE", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST.SERVICE", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST.ADVERTISEMENT", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST.PRESERVE", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.COST", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.BILANZ", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.INCOME", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.INCOME.TICKET.BUS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.INCOME.TICKET.TRAM", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.INCOME.SELLING", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST.PERS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST.BUS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST.TRAM", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST.INFRASTRUCTURE", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST.SERVICE", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST.ADVERTISEMENT", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST.PRESERVE", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.COST", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.F.LY.BILANZ", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.DRIVER", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.DRIVER.QUOTE", 0, 100.0, 80.0, 120.0, 10.0},
    {"OPNV.PERS.DRIVER.NEEDED", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.MECHANICS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.MECHANICS.QUOTE", 0, 100.0, 80.0, 120.0, 10.0},
    {"OPNV.PERS.MECHANICS.NEEDED", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.SERVICE", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.SERVICE.QUOTE", 0, 100.0, 80.0, 120.0, 10.0},
    {"OPNV.PERS.SERVICE.NEEDED", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.QUALI", 0, 1.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.NEEDED", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.PERS.COST", 0, 0.0, 0.0, 0.0, 0.0},
    {"OPNV.FP.BUS", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.NEEDED", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.NORMAL", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.NORMAL.AGE", 0, 0.0, 0.0, 10.0, 100.0},
    {"OPNV.FP.BUS.NORMAL.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.NORMAL.BUY", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.NORMAL.BUY.PRICE", 0, 0.0, 0.0, 10.0, 100.0},
    {"OPNV.FP.BUS.NORMAL.BUY.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.NORMAL.SELL", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.NORMAL.SELL.PRICE", 0, 0.0, 0.0, 20.0, 100.0},
    {"OPNV.FP.BUS.NORMAL.SELL.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.LOWFLOOR", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.LOWFLOOR.AGE", 0, 0.0, 0.0, 10.0, 100.0},
    {"OPNV.FP.BUS.LOWFLOOR.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.LOWFLOOR.BUY", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.LOWFLOOR.BUY.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.LOWFLOOR.BUY.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.LOWFLOOR.SELL", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.LOWFLOOR.SELL.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.LOWFLOOR.SELL.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.H2", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.H2.AGE", 0, 0.0, 0.0, 10.0, 100.0},
    {"OPNV.FP.BUS.H2.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.H2.BUY", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.H2.BUY.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.H2.BUY.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.H2.SELL", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.H2.SELL.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.H2.SELL.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.ENERGIE", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.ENERGIE.AGE", 0, 0.0, 0.0, 10.0, 100.0},
    {"OPNV.FP.BUS.ENERGIE.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.ENERGIE.BUY", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.ENERGIE.BUY.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.ENERGIE.BUY.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.ENERGIE.SELL", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.BUS.ENERGIE.SELL.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.BUS.ENERGIE.SELL.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.TRAM", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.TRAM.AGE", 0, 0.0, 0.0, 25.0, 100.0},
    {"OPNV.FP.TRAM.NEEDED", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.TRAM.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.TRAM.BUY", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.TRAM.BUY.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.TRAM.BUY.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.TRAM.SELL", 0, 0.0, 0.0, 10.0, 1.0},
    {"OPNV.FP.TRAM.SELL.PRICE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.TRAM.SELL.OK", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.FP.COSTMONTH", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.LP.TRAM.USERQUOTE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.LP.BUS.USERQUOTE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.LP.SUB.USERQUOTE", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.PRICE", 0, 0.5, 0.0, 0.75, 1.0},
    {"OPNV.PRICE.KM", 0, 0.14, 0.0, 0.24, 0.02},
    {"OPNV.PRICE.BASE", 0, 0.5, 0.0, 0.7, 0.1},
    {"OPNV.PRICE.REDUCTIONTICKETMONTH", 0, 50.0, 40.0, 60.0, 5.0},
    {"OPNV.PRICE.ESTIMATEDINCOME", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.QUALI", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.SV.INTERNET", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.SV.INTERNET.COST", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.SV.INFOTERMINAL", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.SV.INFOTERMINAL.COST", 0, 0.0, 0.0, 2500.0, 100.0},
    {"OPNV.SV.DYNAMICTABLE", 0, 0.0, 0.0, 25000.0, 1000.0},
    {"OPNV.SV.DYNAMICTABLE.COST", 0, 0.0, 0.0, 25000.0, 1000.0},
    {"OPNV.ADVERTISEMENT.SERVICE.NR1", 0, 0.0, 0.0, 1.0, 1000.0},
    {"OPNV.ADVERTISEMENT.SERVICE.NR1.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.SERVICE.NR2", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.SERVICE.NR2.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.SERVICE.NR3", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.SERVICE.NR3.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.PRICE.NR1", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.PRICE.NR1.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.PRICE.NR2", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.PRICE.NR2.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.PRICE.NR3", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.PRICE.NR3.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.NET.NR1", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.NET.NR1.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.NET.NR2", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.NET.NR2.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.NET.NR3", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.ADVERTISEMENT.NET.NR3.PERCENTREADY", 0, 0.0, 0.0, 1.0, 0.0},
    {"OPNV.HST", 0, 0.0, 1.0, 2.0, 1.0},
    {"LISTENDE", 0, 0.0, 0.0, 0.0, 0.0},
};

CVarTable Table() { return CVarTable(COpnv::OPNVVars, COpnv::kVarTableSize); }
}  // namespace

SVVarTypeNew COpnv::OPNVVars[COpnv::kVarTableSize];
SVVarType COpnv::OPNVVarsOld[COpnv::kVarTableSize];

void COpnv::ResetVarTable() {
  std::memcpy(OPNVVars, kOpnvRows, sizeof OPNVVars);
  for (int i = 0; i < kVarTableSize; ++i) {
    SVVarType& old = OPNVVarsOld[i];
    std::memcpy(old.name, kOpnvRows[i].name, sizeof old.name);
    old.value = static_cast<float>(kOpnvRows[i].value);
    old.min = static_cast<float>(kOpnvRows[i].min);
    old.max = static_cast<float>(kOpnvRows[i].max);
    old.step = static_cast<float>(kOpnvRows[i].step);
  }
}

SVVarTypeNew* COpnv::GetVar(const char* name) { return Table().GetVar(name); }

double COpnv::GetVarValue(const char* name) {
  const SVVarTypeNew* row = GetVar(name);
  return row ? row->value : -1.0;
}

int COpnv::SetVarValue(const char* name, double value) { return Table().SetVarData(name, value); }

namespace {
// The pending trade's keys and the kind each one trades.
struct STradeKey {
  const char* key;
  EOpnvFleetKind kind;
};
constexpr STradeKey kTradeKeys[] = {
    {"OPNV.FP.BUS.NORMAL.BUYSELL", FLEET_NORMAL},     {"OPNV.FP.BUS.H2.BUYSELL", FLEET_H2},
    {"OPNV.FP.BUS.LOWFLOOR.BUYSELL", FLEET_LOWFLOOR}, {"OPNV.FP.BUS.ENERGIE.BUYSELL", FLEET_ENERGIE},
    {"OPNV.FP.TRAM.BUYSELL", FLEET_TRAM},
};
// The fleet rows of the five kinds, in the trade keys' order of kinds.
constexpr const char* kFleetRows[FLEET_KINDS] = {"OPNV.FP.BUS.NORMAL", "OPNV.FP.BUS.ENERGIE", "OPNV.FP.BUS.H2",
                                                 "OPNV.FP.BUS.LOWFLOOR", "OPNV.FP.TRAM"};

const STradeKey* TradeKey(const char* key) {
  for (const STradeKey& t : kTradeKeys)
    if (std::strcmp(key, t.key) == 0) return &t;
  return nullptr;
}

bool Is(const char* key, const char* name) { return std::strcmp(key, name) == 0; }

bool EndsWith(const std::string& s, const char* tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// The kind whose fleet row is `row` followed by `suffix`; -1 for none.
int KindOfRow(const std::string& key, const char* suffix) {
  for (int k = 0; k < FLEET_KINDS; ++k)
    if (key == std::string(kFleetRows[k]) + suffix) return k;
  return -1;
}
}  // namespace

int COpnv::GetVarData(const char* key, double* value) {
  if (!key || !value) return 1;
  if (const STradeKey* t = TradeKey(key)) {
    *value = *PendingOf(t->kind);
    return 0;
  }
  double bus = 0, tram = 0, other = 0;
  if (Is(key, "OPNV.FP.TRAM.BUYSELL.PRICE")) *value = m_TramTotal;
  else if (Is(key, "OPNV.FP.BUS.BUYSELL.INCOME")) *value = m_BusSellIncome;
  else if (Is(key, "OPNV.FP.BUS.BUYSELL.TOTAL")) *value = m_BusTotal;
  else if (Is(key, "OPNV.FP.BUS.BUYSELL.COST")) *value = m_BusBuyCost;
  else if (Is(key, "OPNV.FP.BUS.BUYSELL.OK") || Is(key, "OPNV.FP.TRAM.BUYSELL.OK") || Is(key, "OPNV.MOVEFP.MINUS") ||
           Is(key, "OPNV.MOVEFP.PLUS") || Is(key, "OPNV.LINES"))
    *value = 0;
  else if (Is(key, "OPNV.FREEFP")) {
    // Without an active line the bus pools answer.
    *value = ActiveLineIsTram() ? m_FreeTram : m_FreeNormal + m_FreeEnergie + m_FreeH2 + m_FreeLowFloor;
  } else if (Is(key, "OPNV.FREEBUS"))
    *value = m_FreeNormal + m_FreeEnergie + m_FreeH2 + m_FreeLowFloor;
  else if (Is(key, "OPNV.FREETRAM"))
    *value = m_FreeTram;
  else if (Is(key, "OPNV.BUS.TAKTKILOMETER"))
    NetVar(m_pBusNet, "OPNV.NET.TAKTKILOMETER", value);
  else if (Is(key, "OPNV.TRAM.TAKTKILOMETER"))
    NetVar(m_pTramNet, "OPNV.NET.TAKTKILOMETER", value);
  else if (Is(key, "OPNV.NET.TAKTKILOMETER")) {
    NetVar(m_pBusNet, "OPNV.NET.TAKTKILOMETER", &bus);
    NetVar(m_pTramNet, "OPNV.NET.TAKTKILOMETER", &tram);
    *value = bus + tram;
  } else if (Is(key, "OPNV.NET.SHOWALL"))
    m_ShowAll = true;
  else if (Is(key, "OPNV.FREQUENCY"))
    *value = CalculateFrequency();
  else if (Is(key, "OPNV.HST.NUMBER"))
    *value = m_HstCount;
  else if (Is(key, "OPNV.CROSSING.PRIORISIERUNG")) {
    *value = CrossingShare();
  } else if (Is(key, "OPNV.NET.EXCLUSIVELENGTH"))
    NetVar(m_pBusNet, "OPNV.NET.EXCLUSIVELENGTH", value);
  else if (Is(key, "OPNV.NET.BUS.LENGTH"))
    NetVar(m_pBusNet, "OPNV.NET.LENGTH", value);
  else if (Is(key, "OPNV.NET.BUS.USERQUOTE"))
    NetVar(m_pBusNet, "OPNV.NET.USERQUOTE", value);
  else if (Is(key, "OPNV.NET.BUS.NUMBER"))
    NetVar(m_pBusNet, "OPNV.NET.NUMBER", value);
  else if (Is(key, "OPNV.NET.TRAM.LENGTH"))
    NetVar(m_pTramNet, "OPNV.NET.LENGTH", value);
  else if (Is(key, "OPNV.NET.TRAM.USERQUOTE"))
    NetVar(m_pTramNet, "OPNV.NET.USERQUOTE", value);
  else if (Is(key, "OPNV.NET.TRAM.NUMBER"))
    NetVar(m_pTramNet, "OPNV.NET.NUMBER", value);
  else if (Is(key, "OPNV.NET.USERQUOTE")) {
    double busQuote = 0, tramQuote = 0;
    NetVar(m_pBusNet, "OPNV.NET.USERQUOTE", &busQuote);
    NetVar(m_pTramNet, "OPNV.NET.USERQUOTE", &tramQuote);
    NetVar(m_pBusNet, "OPNV.NET.TAKTKILOMETER", &bus);
    NetVar(m_pTramNet, "OPNV.NET.TAKTKILOMETER", &tram);
    *value = bus + tram == 0 ? 0.0 : (busQuote * bus + tramQuote * tram) / (bus + tram);
  } else if (Is(key, "OPNV.NET.LENGTH")) {
    NetVar(m_pBusNet, "OPNV.NET.LENGTH", &bus);
    NetVar(m_pTramNet, "OPNV.NET.LENGTH", &tram);
    NetVar(m_pVirNet, "OPNV.NET.LENGTH", &other);
    *value = bus + tram + other;
  } else if (Is(key, "OPNV.SERVICEQUALITY"))
    *value = m_ServiceQuality;
  else
    return Table().GetVarData(key, value);
  return 0;
}

// The trade keys are bounded by what is owned (a sale) and 30 (a purchase);
// the moves step by one; every other row answers its own step and bounds,
// wherever it stands in the table.
int COpnv::GetStep(const char* key, float* step) {
  if (!key || !step) return 1;
  if (TradeKey(key) || Is(key, "OPNV.MOVEFP.PLUS") || Is(key, "OPNV.MOVEFP.MINUS")) {
    *step = 1;
    return 0;
  }
  double v = 0;
  if (Table().GetStep(key, &v) != 0) return 1;
  *step = static_cast<float>(v);
  return 0;
}

int COpnv::GetVarMin(const char* key, float* min) {
  if (!key || !min) return 1;
  if (const STradeKey* t = TradeKey(key)) {
    *min = -static_cast<float>(static_cast<int>(GetVarValue(kFleetRows[t->kind])));
    return 0;
  }
  double v = 0;
  if (Table().GetVarMin(key, &v) != 0) return 1;
  *min = static_cast<float>(v);
  return 0;
}

int COpnv::GetVarMax(const char* key, float* max) {
  if (!key || !max) return 1;
  if (TradeKey(key)) {
    *max = 30;
    return 0;
  }
  double v = 0;
  if (Table().GetVarMax(key, &v) != 0) return 1;
  *max = static_cast<float>(v);
  return 0;
}

int COpnv::SetVarData(const char* key, double value) {
  if (!key) return 1;
  CWorldHost* world = CWorldHost::Get();
  COpnvHost* host = COpnvHost::Get();
  if (Is(key, "OPNV.MOVEFP.MINUS") || Is(key, "OPNV.MOVEFP.PLUS")) {
    const int before = m_FreeNormal + m_FreeEnergie + m_FreeH2 + m_FreeLowFloor + m_FreeTram;
    const bool toLine = Is(key, "OPNV.MOVEFP.PLUS");
    // Nothing moved to the line: buy vehicles or take them from other lines.
    if (MoveVehicle(toLine) && toLine && m_FreeNormal + m_FreeEnergie + m_FreeH2 + m_FreeLowFloor + m_FreeTram == before)
      world->SetAchtungWindow(54);
    return 0;
  }
  if (Is(key, "OPNV.NET.LINES")) {
    BindNetWindow(static_cast<int>(value));
    return 0;
  }
  if (Is(key, "OPNV.NET.SHOWALL")) {
    m_ShowAll = value != 0;
    ShowNets(value == 0);
    return 0;
  }
  if (Is(key, "OPNV.NET.BUS.LINE.SETACTIVELINE") || Is(key, "OPNV.NET.TRAM.LINE.SETACTIVELINE")) {
    if (value > 0) ShowLine(Is(key, "OPNV.NET.BUS.LINE.SETACTIVELINE"), static_cast<int>(value));
    return 0;
  }
  if (const STradeKey* t = TradeKey(key)) {
    if (value > 0 && t->kind == FLEET_H2 && host->GetExchangeValue("SV.RES.H2.WIRKUNG") == 0) {
      world->SetAchtungWindow(43);
      return 0;
    }
    if (value > 0 && t->kind == FLEET_ENERGIE && host->GetExchangeValue("SV.RES.ENERGIE.WIRKUNG") == 0) {
      world->SetAchtungWindow(44);
      return 0;
    }
    *PendingOf(t->kind) = static_cast<int32_t>(value);
    CalculateBuySellCostNew();
    return 0;
  }
  if (Is(key, "OPNV.FP.BUS.BUYSELL.OK")) {
    if (m_BusTotal >= 0 || world->CheckForMoney(m_BusBuyCost - m_BusSellIncome) == 0) BuySellBus();
    else world->SetAchtungWindow(75);
    return 0;
  }
  if (Is(key, "OPNV.FP.TRAM.BUYSELL.OK")) {
    if (m_TramTotal >= 0 || world->CheckForMoney(-m_TramTotal) == 0) BuySellTram();
    else world->SetAchtungWindow(75);
    return 0;
  }
  SVVarTypeNew* row = GetVar(key);
  if (!row) return 1;
  const std::string name(key);
  const int sellKind = KindOfRow(name, ".SELL.OK");
  const int buyKind = KindOfRow(name, ".BUY.OK");
  if (sellKind >= 0 || buyKind >= 0) {
    const int kind = sellKind >= 0 ? sellKind : buyKind;
    double& amount = Val((std::string(kFleetRows[kind]) + (sellKind >= 0 ? ".SELL" : ".BUY")).c_str());
    if (amount != 0) {
      const int owned = static_cast<int>(GetVarValue(kFleetRows[kind]));
      const int wanted = owned + (sellKind >= 0 ? -1 : 1) * static_cast<int>(amount);
      KaufeVerkaufeBusTram(kFleetRows[kind], static_cast<EOpnvFleetKind>(kind), wanted);
      amount = 0;
      CalculateBuySellCost();
    }
  }
  row->value = static_cast<float>(value);
  const int kind = KindOfRow(name, "");
  if (KindOfRow(name, ".BUY") >= 0) {
    CalculateBuySellCost();
  } else if (const int sold = KindOfRow(name, ".SELL"); sold >= 0) {
    // No more can be sold than is owned.
    row->value = std::min(row->value, static_cast<double>(static_cast<int>(GetVarValue(kFleetRows[sold]))));
    CalculateBuySellCost();
  } else if (kind >= 0 && kind != FLEET_TRAM) {
    CalculateBusNumber();
  } else if (EndsWith(name, ".QUOTE") && name.rfind("OPNV.PERS.", 0) == 0) {
    CalculatePersonalNumber();
  } else if (Is(key, "OPNV.PRICE.KM") || Is(key, "OPNV.PRICE.BASE") || Is(key, "OPNV.PRICE.REDUCTIONTICKETMONTH")) {
    Val("OPNV.PRICE.ESTIMATEDINCOME") = EstimatedIncome();
  }
  CalculateBilanz();
  return 0;
}
