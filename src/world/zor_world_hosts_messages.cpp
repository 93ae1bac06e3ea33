// The windows' side of the message system: the texts of the message items,
// the event list with its selection, processed marks and jumps, the
// automatic event display, the adviser topic, the information texts and the
// status line's ticker.
// Without a message system the windows keep their own texts and do nothing.
#include "model/message.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "world/zor_world_hosts.h"

namespace {
// The item types whose text the message system gives.
constexpr int kWarningTextItem = 23;
constexpr int kEventTextItem = 26;
constexpr int kAdviserTextItem = 33;
constexpr int kStandardTextItem = 34;
constexpr int kSelectedEventTextItem = 36;
constexpr int kYesNoTextItem = 40;

// The newest event's short text while the ticker shows it, with its tile.
const char* TickerMessage(CZorvaWorld& world, int* x, int* y) {
  CMessage* message = world.GetMessage();
  if (!message) return nullptr;
  CSimWelt* sim = world.GetSimWelt();
  const STime now = sim ? STime::FromDate(sim->Date()) : STime{};
  return message->GetToggleMessageShort(now, *x, *y);
}
}  // namespace

const char* CZorGuiHost::GetMessageText(int itemType) {
  CMessage* message = m_world.GetMessage();
  if (!message) return nullptr;
  switch (itemType) {
    case kWarningTextItem: return message->GetAchtungMessage();
    case kYesNoTextItem: return message->GetAchtungJaNeinText();
    case kEventTextItem: return message->GetEventLongText();
    case kAdviserTextItem: return message->GetBeraterMessage();
    case kStandardTextItem: return message->GetStandardMessage();
    case kSelectedEventTextItem: return message->GetSelectedEventLongText();
    default: return nullptr;
  }
}

// The event list's rows, newest first.
int CZorGuiHost::GetMaxMessage() {
  CMessage* message = m_world.GetMessage();
  return message ? message->GetMaxMessage() : 0;
}

const char* CZorGuiHost::GetMessageE(int n) {
  CMessage* message = m_world.GetMessage();
  return message ? message->GetMessageE(n) : nullptr;
}

bool CZorGuiHost::GetMessageHourMinute(int n, int* hour, int* minute) {
  CMessage* message = m_world.GetMessage();
  if (!message || n < 0 || n >= message->GetMaxMessage()) return false;
  int second = 0;
  message->GetMessageHourMinuteSeconds(n, *hour, *minute, second);
  return true;
}

int CZorGuiHost::GetSelectedEvent() {
  CMessage* message = m_world.GetMessage();
  return message ? message->GetSelectedEvent() : -1;
}

int CZorGuiHost::GetEventListFlag() {
  CMessage* message = m_world.GetMessage();
  return message ? message->IsAutoEvent() : 0;
}

void CZorGuiHost::SetEventListFlag(int flag) {
  CMessage* message = m_world.GetMessage();
  if (message && (message->IsAutoEvent() != 0) != (flag != 0)) message->ToggleAutoEvent();
}

// The page of the adviser window is the message system's adviser, 0 to 4.
int CZorGuiHost::GetMessagePageIndex() {
  CMessage* message = m_world.GetMessage();
  return message ? message->GetBerater() - 1 : 0;
}

void CZorGuiHost::SetMessagePageIndex(int index) {
  if (CMessage* message = m_world.GetMessage()) message->SetBerater(index + 1);
}

bool CZorGuiHost::IsMessageProcessed(int n) {
  CMessage* message = m_world.GetMessage();
  return message && message->GetMessageProcessed(n) == 1;
}

bool CZorGuiHost::CheckMessageForJump(int n) {
  CMessage* message = m_world.GetMessage();
  return message && message->CheckMessageForJump(n);
}

void CZorGuiHost::SelectEvent(int n) {
  if (CMessage* message = m_world.GetMessage()) message->SelectEvent(n);
}

void CZorGuiHost::RemoveSelectedEvent() {
  if (CMessage* message = m_world.GetMessage()) message->RemoveSelectedEvent();
}

void CZorGuiHost::GotoSelectedEvent() {
  if (CMessage* message = m_world.GetMessage()) message->GotoSelectedEvent();
}

void CZorGuiHost::GotoActiveMessage() {
  if (CMessage* message = m_world.GetMessage()) message->GotoActiveMessage();
}

void CZorGuiHost::GotoSelectedMessage(int n) {
  if (CMessage* message = m_world.GetMessage()) message->GotoSelectedMessage(n);
}

void CZorGuiHost::ToggleMessageProcessed(int n) {
  if (CMessage* message = m_world.GetMessage()) message->ToggleMessageProcessed(n);
}

// The information texts: the short text is the help's title, the long one
// its body; false when the entry has neither.
bool CZorGuiHost::GetHelpEntry(int n, const char** title, const char** text) {
  CMessage* message = m_world.GetMessage();
  char* shortText = nullptr;
  char* longText = nullptr;
  if (!message || message->GetInfoText(n, shortText, longText) != 0 || (!shortText && !longText)) return false;
  *title = shortText ? shortText : "";
  *text = longText ? longText : "";
  return true;
}

// The event list's text panel comes back with the list until the player
// closes it.
// The event windows leave the map's highlight of an event's place with the
// last of them to close.
void CZorGuiHost::ClearAdviserSelection() { CUserInt::ClearMessageMark(); }

// The ticker shows the newest event's short text while it is fresh; a click
// on it goes to the event's tile.
const char* CZorUiHost::GetTickerText() {
  int x = -1, y = -1;
  return TickerMessage(m_world, &x, &y);
}

bool CZorUiHost::GetShortMessageTile(int* x, int* y) { return TickerMessage(m_world, x, y) != nullptr; }

bool CZorGuiHost::GetWindow239Opened() { return CUserInt::selObj.windowFlag != 0; }
void CZorGuiHost::SetWindow239Opened(bool on) { CUserInt::selObj.windowFlag = on ? 1 : 0; }
