// The operator's fleet: owned counts kept consistent with the lines and the
// free pools, the pending trade of the fleet window and its prices, trades
// carried out, and pools that went negative repaired from the lines.
#include <algorithm>
#include <string>

#include "measures/opnv.h"
#include "measures/preise.h"

namespace {
// Each kind's fleet row and its entry in the price list.
struct SKind {
  EOpnvFleetKind kind;
  const char* row;
  int price;
};
constexpr SKind kKinds[FLEET_KINDS] = {
    {FLEET_NORMAL, "OPNV.FP.BUS.NORMAL", 39},  {FLEET_ENERGIE, "OPNV.FP.BUS.ENERGIE", 40},
    {FLEET_H2, "OPNV.FP.BUS.H2", 42},          {FLEET_LOWFLOOR, "OPNV.FP.BUS.LOWFLOOR", 41},
    {FLEET_TRAM, "OPNV.FP.TRAM", 43},
};
// A sale pays this share of the price.
constexpr double kSaleShare = 0.8;

double Price(EOpnvFleetKind kind) { return CPreise::GetPreis(kKinds[kind].price, 0); }

std::string RowOf(EOpnvFleetKind kind, const char* suffix) { return std::string(kKinds[kind].row) + suffix; }

// The share of the price a used vehicle of the kind fetches: 0.8 new, 0.2
// at its maximum age.
double UsedShare(EOpnvFleetKind kind) {
  const SVVarTypeNew* age = COpnv::GetVar(RowOf(kind, ".AGE").c_str());
  if (!age || age->max == 0) return kSaleShare;
  return kSaleShare - 0.6 * age->value / age->max;
}

}  // namespace

int32_t* COpnv::PendingOf(EOpnvFleetKind kind) {
  switch (kind) {
    case FLEET_NORMAL: return &m_BuySellNormal;
    case FLEET_ENERGIE: return &m_BuySellEnergie;
    case FLEET_H2: return &m_BuySellH2;
    case FLEET_LOWFLOOR: return &m_BuySellLowFloor;
    default: return &m_BuySellTram;
  }
}

int32_t* COpnv::PoolOf(EOpnvFleetKind kind) {
  switch (kind) {
    case FLEET_NORMAL: return &m_FreeNormal;
    case FLEET_ENERGIE: return &m_FreeEnergie;
    case FLEET_H2: return &m_FreeH2;
    case FLEET_LOWFLOOR: return &m_FreeLowFloor;
    default: return &m_FreeTram;
  }
}

int COpnv::GetFreeFp(EOpnvFleetKind kind) const { return *const_cast<COpnv*>(this)->PoolOf(kind); }

int COpnv::IsEinVerkauf() {
  for (const SKind& k : kKinds)
    if (*PendingOf(k.kind) != 0) return 0;
  return 1;
}

void COpnv::ResetEinVerkauf() {
  for (const char* key : {"OPNV.FP.BUS.NORMAL.BUYSELL", "OPNV.FP.BUS.ENERGIE.BUYSELL", "OPNV.FP.BUS.LOWFLOOR.BUYSELL",
                          "OPNV.FP.BUS.H2.BUYSELL", "OPNV.FP.TRAM.BUYSELL"})
    SetVarData(key, 0.0);
}

void COpnv::CheckFP() {
  int32_t onLines[FLEET_KINDS] = {};
  LineFleet(onLines);
  for (EOpnvFleetKind kind : {FLEET_NORMAL, FLEET_H2, FLEET_LOWFLOOR, FLEET_ENERGIE, FLEET_TRAM}) {
    int32_t& pool = *PoolOf(kind);
    const int32_t held = onLines[kind] + pool;
    double& owned = Val(kKinds[kind].row);
    const int32_t count = static_cast<int32_t>(owned);
    if (count > held) pool += count - held;
    else if (count < held) owned = held;
  }
}

void COpnv::CalculateBuySellCostNew() {
  m_BusBuyCost = m_BusSellIncome = m_BusTotal = m_TramTotal = 0;
  for (EOpnvFleetKind kind : {FLEET_NORMAL, FLEET_ENERGIE, FLEET_H2, FLEET_LOWFLOOR}) {
    const int32_t amount = *PendingOf(kind);
    const double price = Price(kind);
    if (amount >= 1) m_BusBuyCost += static_cast<int32_t>(price * amount);
    else m_BusSellIncome -= static_cast<int32_t>(amount * price * kSaleShare);
  }
  const double tramPrice = Price(FLEET_TRAM);
  if (m_BuySellTram >= 1) m_TramTotal -= static_cast<int32_t>(tramPrice * m_BuySellTram);
  else m_TramTotal -= static_cast<int32_t>(tramPrice * kSaleShare * m_BuySellTram);
  m_BusTotal = m_BusSellIncome - m_BusBuyCost;
}

void COpnv::BuySellBus() {
  for (EOpnvFleetKind kind : {FLEET_NORMAL, FLEET_LOWFLOOR, FLEET_H2, FLEET_ENERGIE}) {
    int32_t& amount = *PendingOf(kind);
    Val(kKinds[kind].row) += amount;
    *PoolOf(kind) += amount;
    amount = 0;
  }
  Val("OPNV.F.INCOME.SELLING") += m_BusSellIncome;
  Val("OPNV.F.COST.BUS") += m_BusBuyCost;
  m_BusSellIncome = m_BusBuyCost = m_BusTotal = 0;
  CalculateBusNumber();
  CalculateBilanz();
  CalculateFreeFp();
}

void COpnv::BuySellTram() {
  Val("OPNV.FP.TRAM") += m_BuySellTram;
  m_FreeTram += m_BuySellTram;
  if (m_TramTotal > 0) Val("OPNV.F.INCOME.SELLING") += m_TramTotal;
  else Val("OPNV.F.COST.TRAM") -= m_TramTotal;
  m_TramTotal = m_BuySellTram = 0;
  CalculateBusNumber();
  CalculateBilanz();
  CalculateFreeFp();
}

void COpnv::CalculateFreeFp() {
  int32_t deficit[FLEET_KINDS] = {};
  bool any = false;
  for (const SKind& k : kKinds) {
    int32_t& pool = *PoolOf(k.kind);
    if (pool >= 0) continue;
    deficit[k.kind] = -pool;
    pool = 0;
    any = true;
  }
  if (any) LinesGiveUp(deficit);
}

void COpnv::CalculateBuySellCost() {
  for (const SKind& k : kKinds) {
    const double price = Price(k.kind);
    Val(RowOf(k.kind, ".SELL.PRICE").c_str()) = Val(RowOf(k.kind, ".SELL").c_str()) * price * UsedShare(k.kind);
    Val(RowOf(k.kind, ".BUY.PRICE").c_str()) = Val(RowOf(k.kind, ".BUY").c_str()) * price;
  }
}

void COpnv::KaufeVerkaufeBusTram(const char* fleetRow, EOpnvFleetKind kind, int newCount) {
  double& owned = Val(fleetRow);
  const int oldCount = static_cast<int>(owned);
  *PoolOf(kind) += newCount - oldCount;
  double& age = Val(RowOf(kind, ".AGE").c_str());
  const double price = Price(kind);
  if (newCount < oldCount) {
    Val("OPNV.F.INCOME.SELLING") += (oldCount - newCount) * price * UsedShare(kind);
    if (newCount <= 0) age = 0;
  } else if (newCount > oldCount) {
    Val(kind == FLEET_TRAM ? "OPNV.F.COST.TRAM" : "OPNV.F.COST.BUS") += (newCount - oldCount) * price;
    // New vehicles have age 0.
    age = static_cast<double>(oldCount) * age / newCount;
  }
  owned = newCount;
  CalculateBusNumber();
  CalculateBilanz();
  CalculateFreeFp();
}
