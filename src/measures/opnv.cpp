#include "measures/opnv.h"

#include "measures/building_object.h"

namespace {
COpnv* g_opnv = nullptr;
}  // namespace

COpnv::COpnv() = default;

COpnv::~COpnv() {
  if (g_opnv == this) g_opnv = nullptr;
}

COpnv* COpnv::Get() { return g_opnv; }

int COpnv::Create() {
  CWorldObj::Create();
  g_opnv = this;
  m_NewMatrix = true;
  m_BuySellNormal = m_BuySellH2 = m_BuySellEnergie = m_BuySellLowFloor = 0;
  m_BusBuyCost = m_BusSellIncome = m_BusTotal = m_TramTotal = m_BuySellTram = 0;
  m_FreeNormal = m_FreeEnergie = m_FreeH2 = m_FreeLowFloor = m_FreeTram = 0;
  m_pActiveLine = nullptr;
  m_TurnFlag = true;
  m_ShowAll = false;
  m_ServiceQuality = 0.0f;
  // A new game starts from the table's first values; a load overwrites them.
  ResetVarTable();
  m_VarRows = CVarTable(OPNVVars, kVarTableSize).CountRows();
  DestroyNets();
  MakeNets();
  m_NextLineNr = 1;
  m_NextHstID = 1;
  m_HstCount = 0;
  return 0;
}

int COpnv::Destroy() {
  DestroyNets();
  if (g_opnv == this) g_opnv = nullptr;
  return CWorldObj::Destroy();
}

void COpnv::SetNetworks(CStrJunctionList* streets, CStrJunctionList* rails) {
  m_pStreetNet = streets;
  m_pRailNet = rails;
  PassNetworks();
}
