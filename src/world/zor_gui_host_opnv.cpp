// What the public-transport windows ask of the world: lines by number, the
// line the interface edits, and the question that guards an entered fleet
// purchase or sale before a page or the group is left.
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "world/zor_world_hosts.h"

namespace {

constexpr uint16_t kNoLine = 65535;
constexpr int kYesNoWindow = 247;

}  // namespace

CWorldObj* CZorGuiHost::GetLineByID(int number) {
  COpnv* opnv = m_world.GetOpnv();
  return opnv ? opnv->GetLineByID(number) : nullptr;
}

CWorldObj* CZorGuiHost::SetActiveLine(int number) {
  COpnv* opnv = m_world.GetOpnv();
  if (!opnv) return nullptr;
  opnv->SetActiveLine(number);
  return opnv->GetActiveLine();
}

bool CZorGuiHost::GetActiveLine(int* number, int* kind) {
  COpnv* opnv = m_world.GetOpnv();
  const COpnvLine* line = opnv ? opnv->GetActiveLine() : nullptr;
  if (!line) return false;
  if (number) *number = line->GetID();
  if (kind) *kind = line->GetNetType();
  return true;
}

// The net of the active line: the bus or the tram net.
CWorldObj* CZorGuiHost::GetOpnvNet() {
  COpnv* opnv = m_world.GetOpnv();
  const COpnvLine* line = opnv ? opnv->GetActiveLine() : nullptr;
  if (!line) return nullptr;
  return line->GetNetType() == NET_TRAM ? opnv->GetTramNet() : opnv->GetBusNet();
}

// The line the player chose to delete, after the question.
void CZorGuiHost::RemoveSelectedLine() {
  COpnv* opnv = m_world.GetOpnv();
  COpnvLine* line = CUserInt::selObj.editedLine;
  if (opnv && line) opnv->RemoveLine(line, CUserInt::selObj.editedLineId);
}

void CZorGuiHost::SetSelectedLine(CWorldObj* line, int number) {
  auto* opnvLine = dynamic_cast<COpnvLine*>(line);
  CUserInt::selObj.editedLine = opnvLine;
  CUserInt::selObj.editedLineId = opnvLine && number >= 0 && number < kNoLine ? static_cast<uint16_t>(number) : kNoLine;
  if (opnvLine) CUserInt::selObj.editedLineKind = opnvLine->GetNetType();
}

void CZorGuiHost::CentreOnLine(CWorldObj* line) {
  auto* opnvLine = dynamic_cast<COpnvLine*>(line);
  if (const CSecondLayerObject* stop = opnvLine ? opnvLine->GetFirstHst() : nullptr)
    SetIsoCenter(stop->GetXPos(), stop->GetYPos());
}

bool CZorGuiHost::IsFleetTradeEntered() {
  COpnv* opnv = m_world.GetOpnv();
  return opnv && opnv->IsEinVerkauf() == 0;
}

void CZorGuiHost::ResetEinVerkauf() {
  if (COpnv* opnv = m_world.GetOpnv()) opnv->ResetEinVerkauf();
}

// The question waits only while it shows: once the player answered no and
// it closed, the next page change with an entered purchase asks again (the
// question's own turn, which would clear the flag, runs only while it is
// open).
bool CZorGuiHost::IsConfirmationPending() { return m_confirmationPending && IsWindowOpen(kYesNoWindow); }
void CZorGuiHost::SetConfirmationPending() { m_confirmationPending = true; }
void CZorGuiHost::ClearPendingConfirmation() { m_confirmationPending = false; }

void CZorGuiHost::SaveConfirmationAction(const CAction& action) { m_confirmationAction.reset(action.Clone()); }

CAction* CZorGuiHost::GetConfirmationAction() { return m_confirmationAction.get(); }

void CZorGuiHost::SetFollowUpFlag() { m_followUp = true; }
