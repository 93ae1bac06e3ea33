#include "model/message.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "model/data_exchange.h"
#include "model/message_format.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"

M_Type Global_Messages[kMessageGroups][kMessageEntries];

namespace {

// The message system that filled the shared table last; only it frees the
// table's texts, so that an older one going away leaves them alone.
const CMessage* g_tableOwner = nullptr;

constexpr uint32_t kShowingTime = 55000;      // a shown message stays this long before the next
constexpr uint32_t kQueueOvertakeAge = 137500;  // a queue this old lets more important messages ahead
constexpr uint32_t kMarkTime = 60000;          // the map mark and the ticker last this long
constexpr uint32_t kTopTime = 30000;           // the newest message counts as new this long
constexpr int kEventWindow = 217;
constexpr int kMessageListWindow = 218;

bool ValidPair(int group, int entry) {
  return group >= 0 && group < kMessageGroups && entry >= 0 && entry < kMessageEntries;
}

// Copies text into a buffer of size bytes, cut to fit, always ended.
void CopyInto(char* buffer, size_t size, const char* text) {
  if (!buffer || size == 0) return;
  std::strncpy(buffer, text ? text : "", size);
  buffer[size - 1] = '\0';
}

bool OnMap(int x, int y) { return x >= 0 && x < 128 && y >= 0 && y < 128; }

// The values and the marked rectangle a message is raised with.
void SetPlace(M_Type& record, float v1, float v2, float v3, int x, int y, int xd, int yd) {
  record.value1 = v1;
  record.value2 = v2;
  record.value3 = v3;
  record.x = x;
  record.y = y;
  record.xd = xd;
  record.yd = yd;
}

}  // namespace

void M_Type::Copy(const M_Type* other) {
  if (!other || other == this) return;
  if (shortText && longText && other->shortText && other->longText) {
    CopyInto(shortText, kShortTextSize, other->shortText);
    CopyInto(longText, kLongTextSize, other->longText);
  }
  type = other->type;
  value1 = other->value1;
  value2 = other->value2;
  value3 = other->value3;
  x = other->x;
  y = other->y;
  xd = other->xd;
  yd = other->yd;
  window = other->window;
  processed = other->processed;
  time = other->time;
  interval = other->interval;
}

// ---- life ----

CMessage::CMessage(CMessageHost* host, int language) {
  SetHost(host);
  g_tableOwner = this;
  for (auto& group : Global_Messages) {
    for (M_Type& record : group) {
      ReplaceText(record.shortText, nullptr);
      ReplaceText(record.longText, nullptr);
      record = M_Type{};
      record.value1 = record.value2 = record.value3 = 0.0f;
    }
  }
  LoadMessageTexte(language);
  for (M_Type& event : m_Events) AllocBuffers(event);
  for (M_Type& queued : m_Queue) AllocBuffers(queued);
  for (SPair& slot : m_BeraterSlots) slot = SPair{};
  GetInfoTextFromFile(language);
}

CMessage::~CMessage() {
  SetAchtungMessage(nullptr);
  SetAchtungJaNeinText(nullptr);
  FreeInfoTexts();
  for (M_Type& event : m_Events) FreeBuffers(event);
  for (M_Type& queued : m_Queue) FreeBuffers(queued);
  if (g_tableOwner != this) return;
  g_tableOwner = nullptr;
  for (auto& group : Global_Messages) {
    for (M_Type& record : group) {
      ReplaceText(record.shortText, nullptr);
      ReplaceText(record.longText, nullptr);
    }
  }
}

void CMessage::SetHost(CMessageHost* host) { m_pHost = host ? host : &m_DefaultHost; }

M_Type* CMessage::Table(int group, int entry) {
  return ValidPair(group, entry) ? &Global_Messages[group][entry] : nullptr;
}

void CMessage::AllocBuffers(M_Type& record) {
  record.shortText = new char[kShortTextSize]();
  record.longText = new char[kLongTextSize]();
  record.processed = 0;
  record.type = MESSAGE_NOTICE_1;
}

void CMessage::FreeBuffers(M_Type& record) {
  delete[] record.shortText;
  delete[] record.longText;
  record.shortText = record.longText = nullptr;
}

void CMessage::ReplaceText(char*& into, const char* text) {
  delete[] into;
  into = nullptr;
  if (!text) return;
  const size_t n = std::strlen(text);
  into = new char[n + 1];
  std::memcpy(into, text, n + 1);
}

int CMessage::SerializeGameStore(FILE* file) {
  ZorRecordWriter w(file);
  w.Header("MESSAGE", 0);
  return w.Ok() ? 0 : 1;
}

int CMessage::SerializeGameLoad(FILE*) { return 0; }

// ---- raising and pacing ----

int CMessage::ActivateMessage(int group, int entry, float value1, float value2, float value3, int x, int y, int window,
                              int xd, int yd) {
  if (m_pHost->GetGameModus() == 3) return 1;
  const uint32_t now = kfx_GetTicks();
  // Times are compared by what has passed since them: right across the
  // wrap of the tick count.
  if (now - m_BlockFrom < m_BlockFor && group != 19 && group != 20) return 1;
  const M_Type* record = Table(group, entry);
  if (!record) return 1;
  if (now - record->time <= static_cast<uint32_t>(record->interval * 3ull / 2)) return 1;
  if (m_EventCount > 0) {
    const M_Type* newest = Table(m_EventPairs[0].group, m_EventPairs[0].entry);
    if (newest && now - newest->time < kShowingTime) {
      // A full queue or one that holds the message already refuses it, and
      // the caller hears so: it keeps its own time and retries later.
      return AddWaitMessage(group, entry, value1, value2, value3, x, y, window, xd, yd);
    }
  }
  QNO_ERROR3(QNO_SEV_WARNING, "SetMessage: %s %i %i\n", record->shortText ? record->shortText : "", group, entry);
  AddMessage(group, entry, value1, value2, value3, x, y, window, xd, yd);
  return 0;
}

void CMessage::RemoveEventAt(int i) {
  if (i < 0 || i >= m_EventCount) return;
  // Rotating keeps every record's buffers: the removed one goes to the end.
  std::rotate(m_Events + i, m_Events + i + 1, m_Events + kEventListSize);
  std::rotate(m_EventPairs + i, m_EventPairs + i + 1, m_EventPairs + kEventListSize);
  m_Events[kEventListSize - 1].shortText[0] = '\0';
  m_Events[kEventListSize - 1].longText[0] = '\0';
  --m_EventCount;
  if (m_Selected >= i) --m_Selected;
}

void CMessage::FormatEntry(M_Type& event, const M_Type& table, float v1, float v2, float v3) {
  if (v1 == -1.0f) {
    CopyInto(event.shortText, kShortTextSize, table.shortText);
    CopyInto(event.longText, kLongTextSize, table.longText);
    return;
  }
  double values[3] = {v1, v2, v3};
  int count = 3;
  if (v2 == -1.0f) {
    count = 1;
    // A short text that counts in whole numbers makes both texts do so.
    if (std::strstr(table.shortText, "%i")) values[0] = static_cast<double>(static_cast<int>(v1));
  } else if (v3 == -1.0f) {
    count = 2;
  }
  ZorFormatMessageText(event.shortText, kShortTextSize, table.shortText, values, count);
  ZorFormatMessageText(event.longText, kLongTextSize, table.longText, values, count);
}

int CMessage::AddMessage(int group, int entry, float value1, float value2, float value3, int x, int y, int window,
                         int xd, int yd) {
  M_Type* record = Table(group, entry);
  if (!record) return 1;
  if (!CheckBack(group, entry, value1, value2, value3, x, y, window, xd, yd)) return 1;
  record->value1 = value1;
  record->value2 = value2;
  record->value3 = value3;
  if (!record->shortText || !record->longText) return 1;
  for (int i = m_EventCount - 1; i >= 0; --i)
    if (m_EventPairs[i].group == group && m_EventPairs[i].entry == entry) RemoveEventAt(i);
  m_EventCount = std::min(m_EventCount, kEventListSize - 1);
  std::rotate(m_Events, m_Events + kEventListSize - 1, m_Events + kEventListSize);
  std::rotate(m_EventPairs, m_EventPairs + kEventListSize - 1, m_EventPairs + kEventListSize);
  m_Selected = std::min(m_Selected + 1, m_EventCount - 1);
  ++m_EventCount;

  M_Type& event = m_Events[0];
  event.window = window != -1 ? window : record->window;
  m_EventPairs[0] = SPair{group, entry};
  event.processed = 0;
  FormatEntry(event, *record, value1, value2, value3);
  const uint32_t now = kfx_GetTicks();
  m_LastShown = now;
  record->time = now;
  event.time = now;
  event.type = record->type;
  SetPlace(event, value1, value2, value3, x, y, xd, yd);
  record->x = x;
  record->y = y;
  if (m_AutoEvents == 1) m_pHost->ActivateEventWindow();
  if (m_pWindowTree) m_pWindowTree->SetZorvaList(kMessageListWindow, -2, nullptr, 1);
  return 0;
}

int CMessage::AddWaitMessage(int group, int entry, float value1, float value2, float value3, int x, int y, int window,
                             int xd, int yd) {
  const M_Type* record = Table(group, entry);
  if (!record) return 1;
  for (int i = 0; i < m_QueueCount; ++i)
    if (m_QueuePairs[i].group == group && m_QueuePairs[i].entry == entry) return 1;
  const uint32_t now = kfx_GetTicks();
  int place = m_QueueCount;
  if (m_QueueCount > 0 && now - m_Queue[0].time > kQueueOvertakeAge) {
    for (int i = 0; i < m_QueueCount; ++i) {
      const M_Type* queued = Table(m_QueuePairs[i].group, m_QueuePairs[i].entry);
      if (queued && queued->type > record->type) {
        place = i;
        break;
      }
    }
  }
  if (place == m_QueueCount && m_QueueCount >= kWaitQueueSize) return 1;
  // Entries from the place on move back one; a full queue drops its last.
  std::rotate(m_Queue + place, m_Queue + kWaitQueueSize - 1, m_Queue + kWaitQueueSize);
  std::rotate(m_QueuePairs + place, m_QueuePairs + kWaitQueueSize - 1, m_QueuePairs + kWaitQueueSize);
  M_Type& queued = m_Queue[place];
  m_QueuePairs[place] = SPair{group, entry};
  queued.processed = 0;
  queued.type = record->type;
  SetPlace(queued, value1, value2, value3, x, y, xd, yd);
  queued.window = window;
  queued.time = now;
  if (record->shortText && record->longText) {
    FormatEntry(queued, *record, value1, value2, value3);
  } else {
    queued.shortText[0] = queued.longText[0] = '\0';
  }
  m_QueueCount = std::min(m_QueueCount + 1, kWaitQueueSize);
  return 0;
}

int CMessage::CheckWaitMessage() {
  const uint32_t now = kfx_GetTicks();
  uint32_t markTime = 0;
  if (m_pHost->GetMapMarkTime(&markTime) && now - markTime >= kMarkTime) m_pHost->ClearMapMark();
  if (now - m_LastShown <= kShowingTime || m_QueueCount == 0) return 0;
  const M_Type first = m_Queue[0];
  const SPair pair = m_QueuePairs[0];
  std::rotate(m_Queue, m_Queue + 1, m_Queue + kWaitQueueSize);
  std::rotate(m_QueuePairs, m_QueuePairs + 1, m_QueuePairs + kWaitQueueSize);
  m_QueueCount = std::max(m_QueueCount - 1, 0);
  // Refused by its check, the message is dropped.
  AddMessage(pair.group, pair.entry, first.value1, first.value2, first.value3, first.x, first.y, first.window, first.xd,
             first.yd);
  return 0;
}

int CMessage::ResetMessage(int seconds) {
  m_BlockFrom = kfx_GetTicks();
  m_BlockFor = static_cast<uint32_t>(std::clamp(seconds, 0, 86400)) * 1000u;
  if (m_Achtung) m_Achtung[0] = '\0';
  m_EventCount = 0;
  for (M_Type& event : m_Events) event.shortText[0] = event.longText[0] = '\0';
  for (M_Type& queued : m_Queue) queued.shortText[0] = queued.longText[0] = '\0';
  m_QueueCount = 0;
  m_LastShown = 0;
  for (auto& group : Global_Messages) {
    for (M_Type& record : group) {
      record.time = 0;
      record.interval = kMessageInterval;
      record.value1 = record.value2 = record.value3 = 0.0f;
    }
  }
  return 0;
}

int CMessage::AddCheckMessage(int group, int entry) {
  M_Type* record = Table(group, entry);
  if (!record) return 1;
  record->value1 = record->value2 = record->value3 = -1.0f;
  m_EventCount = std::max(m_EventCount, 1);
  M_Type& event = m_Events[0];
  if (record->shortText && record->longText) {
    m_EventPairs[0] = SPair{group, entry};
    event.processed = 0;
    if (std::strstr(record->longText, "%i") || std::strstr(record->longText, "%.2f")) {
      if (std::strstr(record->shortText, "%i")) {
        const double s[2] = {2, 2345}, l[2] = {2, 2344};
        ZorFormatMessageText(event.shortText, kShortTextSize, record->shortText, s, 2);
        ZorFormatMessageText(event.longText, kLongTextSize, record->longText, l, 2);
      } else {
        const double s[2] = {1.3456, 1.234}, l[2] = {1.34567, 1.234};
        ZorFormatMessageText(event.shortText, kShortTextSize, record->shortText, s, 2);
        ZorFormatMessageText(event.longText, kLongTextSize, record->longText, l, 2);
      }
    } else {
      CopyInto(event.shortText, kShortTextSize, record->shortText);
      CopyInto(event.longText, kLongTextSize, record->longText);
    }
  }
  const uint32_t now = kfx_GetTicks();
  record->time = now;
  event.time = now;
  event.x = event.y = event.xd = event.yd = -1;
  record->x = record->y = -1;
  event.value1 = event.value2 = event.value3 = -1.0f;
  event.type = record->type;
  if (m_AutoEvents == 1) m_pHost->ActivateEventWindow();
  if (m_pWindowTree) m_pWindowTree->SetZorvaList(kMessageListWindow, -2, nullptr, 1);
  return 0;
}

// ---- event list ----

const M_Type* CMessage::GetEvent(int i) const { return i >= 0 && i < m_EventCount ? &m_Events[i] : nullptr; }

bool CMessage::GetMessagePair(int i, int& group, int& entry) const {
  if (!GetEvent(i)) return false;
  group = m_EventPairs[i].group;
  entry = m_EventPairs[i].entry;
  return true;
}

const char* CMessage::GetMessageE(int i) const {
  const M_Type* e = GetEvent(i);
  return e ? e->shortText : nullptr;
}

const char* CMessage::GetSelectedEventLongText() const {
  const M_Type* e = GetEvent(m_Selected);
  return e ? e->longText : nullptr;
}

const char* CMessage::GetEventShortText() {
  if (m_EventCount == 0) CopyInto(m_Events[0].shortText, kShortTextSize, " ");
  return m_Events[0].shortText;
}

const char* CMessage::GetEventLongText() {
  if (m_EventCount == 0) CopyInto(m_Events[0].longText, kLongTextSize, " ");
  return m_Events[0].longText;
}

const char* CMessage::GetTopMessageShort() const {
  if (m_EventCount == 0 || kfx_GetTicks() - m_Events[0].time >= kTopTime) return nullptr;
  return m_Events[0].shortText;
}

const char* CMessage::GetTopMessageLong() const {
  if (m_EventCount == 0 || kfx_GetTicks() - m_Events[0].time >= kTopTime) return nullptr;
  return m_Events[0].longText;
}

const char* CMessage::GetToggleMessageShort(STime, int& x, int& y) const {
  if (m_EventCount == 0 || kfx_GetTicks() - m_Events[0].time >= kMarkTime) return nullptr;
  x = m_Events[0].x;
  y = m_Events[0].y;
  return m_Events[0].shortText;
}

uint32_t CMessage::GetMessageTicks(int i) const {
  const M_Type* e = GetEvent(i);
  return e ? e->time : 0;
}

int CMessage::GetMessageHourMinuteSeconds(int i, int& hour, int& minute, int& second) const {
  const M_Type* e = GetEvent(i);
  if (!e) return 0;
  const time_t shown = std::time(nullptr) - static_cast<time_t>((kfx_GetTicks() - e->time) / 1000);
  struct tm local{};
  localtime_r(&shown, &local);
  hour = local.tm_hour;
  minute = local.tm_min;
  second = local.tm_sec;
  return 0;
}

int CMessage::GetTopMessageXYXDYD(int& x, int& y, int& xd, int& yd) const {
  if (m_EventCount == 0) {
    x = y = xd = yd = -1;
    return 1;
  }
  x = m_Events[0].x;
  y = m_Events[0].y;
  xd = m_Events[0].xd;
  yd = m_Events[0].yd;
  return OnMap(x, y) ? 0 : 1;
}

bool CMessage::CheckMessageForJump(int i) const {
  const M_Type* e = GetEvent(i);
  return e && ((e->x != -1 && e->y != -1) || e->window != -1);
}

int CMessage::GetMessageProcessed(int i) const {
  const M_Type* e = GetEvent(i);
  return e ? e->processed : 0;
}

void CMessage::ToggleMessageProcessed(int i) {
  if (i >= 0 && i < m_EventCount) m_Events[i].processed = m_Events[i].processed ? 0 : 1;
}

void CMessage::SelectEvent(int i) {
  m_Selected = i;
  if (const M_Type* e = GetEvent(i)) m_pHost->SetMapMark(e->x, e->y, e->xd, e->yd, kfx_GetTicks());
}

void CMessage::RemoveSelectedEvent() {
  if (m_Selected == 0) ActivateOrDeactivateWindow(kEventWindow, false);
  if (m_Selected >= 0 && m_Selected < m_EventCount) {
    const int selected = m_Selected;
    RemoveEventAt(selected);
    m_Selected = selected;
  }
  if (m_Selected >= m_EventCount) --m_Selected;
}

int CMessage::RemoveMessage(int i) {
  // Only listed events: removing an empty place would lose the count.
  if (m_EventCount == 0 || i < 0 || i >= kEventListSize || i >= m_EventCount) return 1;
  RemoveEventAt(i);
  return 0;
}

void CMessage::ForgetPlace(int x, int y, int w, int h) {
  auto forget = [&](M_Type& m) {
    if (m.x >= x && m.x < x + w && m.y >= y && m.y < y + h) {
      m.x = m.y = -1;
      m.xd = m.yd = 0;
    }
  };
  for (int i = 0; i < m_EventCount; ++i) forget(m_Events[i]);
  for (int i = 0; i < m_QueueCount; ++i) forget(m_Queue[i]);
}

void CMessage::ActivateOrDeactivateWindow(int id, bool open) {
  if (!m_pWindowTree) return;
  if (open)
    m_pWindowTree->ActivateWindow(id, static_cast<EOverType>(1));
  else
    m_pWindowTree->DeActivateWindow(id, static_cast<EOverType>(0));
}

void CMessage::GotoEvent(int i, bool selectLine) {
  const M_Type* e = GetEvent(i);
  if (!e) return;
  if (OnMap(e->x, e->y)) {
    m_pHost->CenterMap(e->x, e->y);
    m_pHost->SetMapMark(e->x, e->y, e->xd, e->yd, kfx_GetTicks());
  }
  if (selectLine && m_EventPairs[i].group == 0 && e->value1 >= 0.0f) {
    COpnvLine* line = m_pHost->GetLineByID(static_cast<int>(e->value1));
    m_pHost->SelectLine(line, line ? static_cast<uint16_t>(static_cast<int>(e->value1)) : uint16_t{65535});
  }
  if (e->window == -1) return;
  if (e->window == 129) {
    ActivateOrDeactivateWindow(120, true);
    for (int id = 122; id <= 128; ++id) ActivateOrDeactivateWindow(id, false);
  }
  ActivateOrDeactivateWindow(e->window, true);
}

void CMessage::GotoActiveMessage() {
  if (m_EventCount > 0) GotoEvent(0, false);
}

void CMessage::GotoSelectedMessage(int i) {
  if (i >= 0 && i < m_EventCount) GotoEvent(i, true);
}

void CMessage::GotoSelectedEvent() {
  const M_Type* e = GetEvent(m_Selected);
  if (e && OnMap(e->x, e->y)) {
    m_pHost->CenterMap(e->x, e->y);
    m_pHost->SetMapMark(e->x, e->y, e->xd, e->yd, kfx_GetTicks());
  }
}

// ---- queue ----

const char* CMessage::GetWaitMessageShort(int i) const {
  return i >= 0 && i < m_QueueCount ? m_Queue[i].shortText : nullptr;
}

bool CMessage::GetWaitMessagePair(int i, int& group, int& entry) const {
  if (i < 0 || i >= m_QueueCount) return false;
  group = m_QueuePairs[i].group;
  entry = m_QueuePairs[i].entry;
  return true;
}

// ---- advisers and the standing message ----

void CMessage::SetBerater(int n) { m_Berater = std::clamp(n - 1, 0, kAdvisers - 1); }

void CMessage::SetBeraterMessage(int slot, int group, int entry) {
  if (slot >= 0 && slot < kAdvisers) m_BeraterSlots[slot] = SPair{group, entry};
}

const char* CMessage::GetBeraterMessage() const {
  if (m_Berater < 0 || m_Berater >= kAdvisers) return nullptr;
  const M_Type* record = Table(m_BeraterSlots[m_Berater].group, m_BeraterSlots[m_Berater].entry);
  return record ? record->longText : nullptr;
}

int CMessage::SetBeraterZielMessage() {
  switch (m_pHost->GetGameModus()) {
    case 0:
      SetBeraterMessage(4, 21, 3);
      break;
    case 1:
      SetBeraterMessage(4, 21, 4);
      break;
    case 2:
      SetBeraterMessage(4, 19, m_pHost->GetScenarioTask());
      break;
    default:
      break;
  }
  return 0;
}

void CMessage::SetStandardMessage(int group, int entry) { m_Standard = SPair{group, entry}; }

const char* CMessage::GetStandardMessage() const {
  if (m_Standard.group == -1 || m_Standard.entry == -1) return nullptr;
  const M_Type* record = Table(m_Standard.group, m_Standard.entry);
  return record ? record->longText : nullptr;
}

bool CMessage::CheckForGlobalMessage(int group, int entry) {
  const M_Type* record = Table(group, entry);
  return record && record->shortText;
}

// ---- attention window ----

void CMessage::SetAchtungMessage(const char* text) { ReplaceText(m_Achtung, text); }
void CMessage::SetAchtungJaNeinText(const char* text) { ReplaceText(m_JaNein, text); }

// ---- language ----

int CMessage::ChangeLanguage(int language) {
  GetInfoTextFromFile(language);
  LoadMessageTexte(language);
  m_pHost->StatistikChangeLanguage(language);
  m_EventCount = 0;
  if (m_pWindowTree) m_pWindowTree->SetChangedLanguage();
  m_pHost->StoreLanguage(language == 1 ? 1 : 0);
  return 0;
}
