#include <cstring>

#include "measures/opnv.h"

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
