#include "measures/opnv.h"

#include "measures/building_object.h"

namespace {
COpnv* g_opnv = nullptr;
}  // namespace

COpnv::COpnv() = default;

COpnv::~COpnv() {
  if (g_opnv == this) g_opnv = nullptr;
  delete m_pHstList;
}

COpnv* COpnv::Get() { return g_opnv; }

int COpnv::Create() {
  CWorldObj::Create();
  g_opnv = this;
  m_NewMatrix = true;
  m_BuySellNormal = m_BuySellH2 = m_BuySellEnergie = m_BuySellLowFloor = 0;
  m_BusBuyCost = m_BusSellIncome = m_BusTotal = m_TramTotal = m_BuySellTram = 0;
  m_FreeNormal = m_FreeEnergie = m_FreeH2 = m_FreeLowFloor = m_FreeTram = 0;
  m_TurnFlag = true;
  m_ShowAll = false;
  // A new game starts from the table's first values; a load overwrites them.
  ResetVarTable();
  m_VarRows = CVarTable(OPNVVars, kVarTableSize).CountRows();
  delete m_pHstList;
  m_pHstList = new CBuildingList(1);
  m_NextLineNr = 1;
  m_NextHstID = 1;
  m_HstCount = 0;
  return 0;
}

int COpnv::Destroy() {
  delete m_pHstList;
  m_pHstList = nullptr;
  m_HstCount = 0;
  m_pActiveLine = nullptr;
  if (g_opnv == this) g_opnv = nullptr;
  return CWorldObj::Destroy();
}

int COpnv::SerializeGameStore(FILE* file, char* name) { return CWorldObj::SerializeGameStore(file, name); }

int COpnv::SerializeGameLoad(FILE* file) { return CWorldObj::SerializeGameLoad(file); }

int COpnv::GetVarData(const char* key, double* value) { return CVarTable(OPNVVars, kVarTableSize).GetVarData(key, value); }

int COpnv::SetVarData(const char* key, double value) { return SetVarValue(key, static_cast<float>(value)); }

int COpnv::GetStep(const char* key, float* step) {
  const SVVarTypeNew* row = GetVar(key);
  if (!row) return 1;
  *step = static_cast<float>(row->step);
  return 0;
}

int COpnv::GetVarMin(const char* key, float* min) {
  const SVVarTypeNew* row = GetVar(key);
  if (!row) return 1;
  *min = static_cast<float>(row->min);
  return 0;
}

int COpnv::GetVarMax(const char* key, float* max) {
  const SVVarTypeNew* row = GetVar(key);
  if (!row) return 1;
  *max = static_cast<float>(row->max);
  return 0;
}

int COpnv::OnPlayloopTurn(STime, STime) { return 0; }

int COpnv::ResetYearData(STime, STime) { return 0; }

int COpnv::OnPlayloopTurn() { return 0; }

int COpnv::RemoveAllLineBeforeLoadExit() { return 0; }
