// What a line asks of the operator that owns it and of the game above it.
#include "framework/zor_stand_in.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "measures/opnv_line.h"

void COpnvLine::Changed() {
  if (COpnv* opnv = COpnv::Get()) opnv->SetNewMatrix(true);
}

CSecondLayerObject* COpnvLine::FindHst(int) {
  // Stand-in: the operator's stops by id, not built yet.
  ZOR_STAND_IN("COpnv");
  return nullptr;
}

bool COpnvLine::CanFindHst() {
  // Stand-in: the operator's stops by id, not built yet; no stop is dropped.
  ZOR_STAND_IN("COpnv");
  return false;
}

void COpnvLine::MessageLineService(int number, int line, int x, int y, int xs, int ys) {
  COpnvHost::Get()->ActivateMessage(0, number, line, -1, -1, x, y, -1, xs, ys);
}

void COpnvLine::AttachToHst(CSecondLayerObject*) {
  // Stand-in: the stop's list of its lines, not built yet.
  ZOR_STAND_IN("CSecondLayerObject");
}

void COpnvLine::DetachFromHst(CSecondLayerObject*) {
  // Stand-in: the stop's list of its lines, not built yet.
  ZOR_STAND_IN("CSecondLayerObject");
}

CStreetObj* COpnvLine::StreetUnderHst(CSecondLayerObject* stop, int* x, int* y) { return stop->GetStreet(x, y); }

int COpnvLine::HstLengthFromJunction(CSecondLayerObject* stop, CStrJunction* junction, short simId) {
  return stop->GetLengthFromJunction(junction, simId);
}
