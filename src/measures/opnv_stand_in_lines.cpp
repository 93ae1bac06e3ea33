// Stands in for the nets and lines until they are built: the operator keeps
// its stop list and has no lines, so no line is made, walked or saved.
#include "framework/zor_stand_in.h"
#include "measures/building_object.h"
#include "measures/opnv.h"

COpnvLine* COpnv::CreateNewLine(int) {
  ZOR_STAND_IN("COpnvLine");
  SetNewMatrix(true);
  return nullptr;
}

int COpnv::RemoveLine(int number) { return RemoveLine(nullptr, number); }

int COpnv::RemoveLine(COpnvLine*, int) {
  ZOR_STAND_IN("COpnvLine");
  return 1;
}

void COpnv::SetActiveLine(int) { ZOR_STAND_IN("COpnvLine"); }

int COpnv::RemoveAllLineBeforeLoadExit() {
  ZOR_STAND_IN("COpnvLine");
  m_pActiveLine = nullptr;
  return 0;
}

int COpnv::OnPlayloopTurn() { return 0; }

void COpnv::SimSetupLineDataCount() { ZOR_STAND_IN("COpnvLine"); }

LineDataType* COpnv::SimGetNextLineData() {
  ZOR_STAND_IN("COpnvLine");
  return nullptr;
}

int COpnv::NetVar(COpnvNet*, const char*, double* value) {
  ZOR_STAND_IN("COpnvNet");
  *value = 0.0;
  return 1;
}

void COpnv::MakeNets() {
  ZOR_STAND_IN("COpnvNet");
  m_pHstList = new CBuildingList(1);
}

void COpnv::DestroyNets() {
  if (m_pHstList) m_pHstList->Destroy();
  delete m_pHstList;
  m_pHstList = nullptr;
  m_HstCount = 0;
  m_pActiveLine = nullptr;
}

void COpnv::PassNetworks() {}

void COpnv::CheckLineRoutes() { ZOR_STAND_IN("COpnvNet"); }

void COpnv::LineFleet(int32_t*) { ZOR_STAND_IN("COpnvLine"); }

void COpnv::LinesGiveUp(int32_t*) { ZOR_STAND_IN("COpnvLine"); }

bool COpnv::MoveVehicle(bool) {
  ZOR_STAND_IN("COpnvLine");
  return false;
}

bool COpnv::ActiveLineIsTram() const { return false; }

double COpnv::CrossingShare() {
  ZOR_STAND_IN("COpnvNet");
  return 0.0;
}

void COpnv::BindNetWindow(int) { ZOR_STAND_IN("COpnvNet"); }

void COpnv::ShowNets(bool) { ZOR_STAND_IN("COpnvNet"); }

void COpnv::ShowLine(bool, int) { ZOR_STAND_IN("COpnvLine"); }

int COpnv::StoreNet(COpnvNet*, FILE*) {
  ZOR_STAND_IN("COpnvNet");
  return 0;
}

int COpnv::LoadNet(COpnvNet*, FILE*) {
  ZOR_STAND_IN("COpnvNet");
  return 0;
}
