// What a line asks of the operator that owns it and of the game above it.
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "measures/opnv_line.h"

void COpnvLine::Changed() {
  if (COpnv* opnv = COpnv::Get()) opnv->SetNewMatrix(true);
}

CSecondLayerObject* COpnvLine::FindHst(int id) {
  COpnv* opnv = COpnv::Get();
  return opnv ? dynamic_cast<CSecondLayerObject*>(opnv->GetHstByID(id)) : nullptr;
}

bool COpnvLine::CanFindHst() { return COpnv::Get() != nullptr; }

int COpnvLine::MessageLineService(int number, int line, int x, int y, int xs, int ys) {
  return COpnvHost::Get()->ActivateMessage(0, number, line, -1, -1, x, y, -1, xs, ys);
}

void COpnvLine::AttachToHst(CSecondLayerObject* stop) {
  if (stop) stop->AddLine(this);
}

void COpnvLine::DetachFromHst(CSecondLayerObject* stop) {
  if (stop) stop->RemoveLine(this);
}

CStreetObj* COpnvLine::StreetUnderHst(CSecondLayerObject* stop, int* x, int* y) {
  *x = *y = -1;
  return stop ? stop->GetStreet(x, y) : nullptr;
}

int COpnvLine::HstLengthFromJunction(CSecondLayerObject* stop, CStrJunction* junction, short simId) {
  return stop ? stop->GetLengthFromJunction(junction, simId) : -1;
}

void COpnvLine::DetachFromEveryHst() {
  COpnv* opnv = COpnv::Get();
  CBuildingList* stops = opnv ? opnv->GetHstList() : nullptr;
  if (!stops) return;
  // A stop may list the line without the line listing the stop; none keeps
  // a line that is gone.
  stops->SetupBuildingCount();
  while (CBuildingObject* b = stops->GetNextBuilding())
    if (auto* stop = dynamic_cast<CSecondLayerObject*>(b)) stop->RemoveLine(this);
}
