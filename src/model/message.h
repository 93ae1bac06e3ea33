#pragma once
// The message system: adviser messages, events, tasks and goals, raised by
// (group, entry) and shown newest first with a short and a long text, the
// values formatted into them, a map cell to jump to and a window to open.
// Messages are paced (a block time after a reset, a repeat interval per
// message, 55 s of showing time with a queue behind it) and re-checked
// against their cause just before they are shown. The texts come from the
// message and information text files of the current language.
#include <cstdint>
#include <cstdio>

#include "sim/sim_date.h"

class CScreenWindow;
class CDataExchange;
class COpnvLine;
class CBuildingObject;
class CSimCityModell;

enum ELanguage : int { LANGUAGE_GERMAN = 0, LANGUAGE_ENGLISH = 1 };

// Message kinds; a lower number is more important for the queue.
enum EMessageKind : int32_t {
  MESSAGE_GOAL = 0,        // "§ZIEL"
  MESSAGE_TASK = 1,        // "§AUFGABE"
  MESSAGE_ANNOUNCEMENT = 2,  // "§MITTEILUNG"
  MESSAGE_URGENT = 3,      // "§URGENT"
  MESSAGE_WARNING = 4,     // "§WARNING"
  MESSAGE_NOTICE_1 = 5,    // "§NOTICE_1"
  MESSAGE_NOTICE_2 = 6,    // "§NOTICE_2", the default
};

constexpr int kMessageGroups = 22;
constexpr int kMessageEntries = 30;
constexpr int kInfoTexts = 111;
constexpr int kEventListSize = 10;
constexpr int kWaitQueueSize = 8;
constexpr int kAdvisers = 5;
// Buffers of the event list and the queue.
constexpr int kShortTextSize = 255;
constexpr int kLongTextSize = 1400;
// Repeat interval of every message after a reset, in ms.
constexpr uint32_t kMessageInterval = 120000;

// One message. In the table the texts are owned copies of the file's texts
// (null: no message); in the event list and the queue they are owned
// buffers of kShortTextSize and kLongTextSize bytes.
struct M_Type {
  char* shortText = nullptr;
  char* longText = nullptr;
  int32_t type = MESSAGE_NOTICE_2;
  float value1 = 0.0f, value2 = 0.0f, value3 = 0.0f;  // -1: not given
  int32_t x = -1, y = -1;                              // map cell, -1 none
  int32_t xd = 0, yd = 0;                              // extent of the mark
  int32_t window = -1;                                 // window to open, -1 none
  uint8_t processed = 0;                               // list: marked processed
  uint32_t time = 0;  // table: last shown; list: shown or queued (ticks)
  uint32_t interval = kMessageInterval;  // table: repeat interval in ms

  // Every field from other; the texts are copied into this record's
  // buffers (cut to fit) only when both records' buffers exist.
  void Copy(const M_Type* other);
};

// The message table, groups 0..21 x entries 0..29, shared by the game.
extern M_Type Global_Messages[kMessageGroups][kMessageEntries];

// What the message system needs from the game around it: the clock is
// kfx_GetTicks; the rest is the world's. The defaults are those of a game
// without interface, map or public transport.
class CMessageHost {
 public:
  virtual ~CMessageHost() = default;
  // 0 god mode, 1 normal, 2 scenario, 3 exhibition; and the entry of the
  // running scenario's task among the task messages.
  virtual int GetGameModus() { return 1; }
  virtual int GetScenarioTask() { return 0; }
  virtual CDataExchange* GetDataExchange() { return nullptr; }
  // The city model: by default the data exchange's demand simulation's.
  virtual CSimCityModell* GetCity();
  virtual COpnvLine* GetLineByID(int /*id*/) { return nullptr; }
  virtual CBuildingObject* GetHstByID(int /*id*/) { return nullptr; }
  // Streets of the street network; -1 when there is no street network.
  virtual int GetStreetCount() { return -1; }
  // The directory of the text files (the WADPATH setting).
  virtual const char* GetTextDirectory() { return ""; }
  // Opens the event window.
  virtual void ActivateEventWindow() {}
  // The interface's map mark: set, its time, and cleared to -1.
  virtual void SetMapMark(int /*x*/, int /*y*/, int /*xd*/, int /*yd*/, uint32_t /*time*/) {}
  virtual bool GetMapMarkTime(uint32_t* /*time*/) { return false; }
  virtual void ClearMapMark() {}
  // Centres the map on a cell.
  virtual void CenterMap(int /*x*/, int /*y*/) {}
  // Selects a public-transport line in the interface (id 65535: none).
  virtual void SelectLine(COpnvLine* /*line*/, uint16_t /*id*/) {}
  // Relabels the statistics and stores LANGUAGE in the settings.
  virtual void StatistikChangeLanguage(int /*language*/) {}
  virtual void StoreLanguage(int /*language*/) {}
};

class CMessage {
 public:
  // Loads the texts of `language` from the host's text directory.
  explicit CMessage(CMessageHost* host = nullptr, int language = LANGUAGE_GERMAN);
  virtual ~CMessage();
  CMessage(const CMessage&) = delete;
  CMessage& operator=(const CMessage&) = delete;

  // The world's hooks; null restores the defaults.
  void SetHost(CMessageHost* host);
  CMessageHost* GetHost() const { return m_pHost; }

  // Savegame: a record named "MESSAGE" without payload; messages are not
  // saved. Loading reads nothing.
  virtual int SerializeGameLoad(FILE* file);
  virtual int SerializeGameStore(FILE* file);

  // ---- raising and pacing ----
  // 0 when the message was shown or queued, 1 when refused.
  virtual int ActivateMessage(int group, int entry, float value1 = -1.0f, float value2 = -1.0f, float value3 = -1.0f,
                              int x = -1, int y = -1, int window = -1, int xd = 1, int yd = 1);
  // Shows a message now (0) or refuses it (1), without pacing.
  virtual int AddMessage(int group, int entry, float value1 = -1.0f, float value2 = -1.0f, float value3 = -1.0f,
                         int x = -1, int y = -1, int window = -1, int xd = 1, int yd = 1);
  // Queues a message; 1 when it is queued already or the queue is full.
  int AddWaitMessage(int group, int entry, float value1, float value2, float value3, int x, int y, int window, int xd,
                     int yd);
  // Every running turn: expires the map mark, shows the next queued message
  // once 55 s have passed since the last one was shown.
  virtual int CheckWaitMessage();
  // Blocks new messages for that many seconds and empties the list, the
  // queue and the attention text.
  virtual int ResetMessage(int seconds);
  // True while the cause of the message still holds; may rewrite value1.
  bool CheckBack(int group, int entry, float& value1, float& value2, float& value3, int x, int y, int window, int xd,
                 int yd);
  // Shows a message with sample values.
  int AddCheckMessage(int group, int entry);

  // ---- event list, index 0 the newest ----
  int GetMaxMessage() const { return m_EventCount; }
  const char* GetMessageE(int i) const;
  const char* GetSelectedEventLongText() const;
  const char* GetEventShortText();
  const char* GetEventLongText();
  const char* GetTopMessageShort() const;
  const char* GetTopMessageLong() const;
  const char* GetToggleMessageShort(STime now, int& x, int& y) const;
  uint32_t GetMessageTicks(int i) const;
  int GetMessageHourMinuteSeconds(int i, int& hour, int& minute, int& second) const;
  // 1 when x or y lies outside 0..127.
  int GetTopMessageXYXDYD(int& x, int& y, int& xd, int& yd) const;
  bool CheckMessageForJump(int i) const;
  // The (group, entry) and values of event i; false outside the list.
  bool GetMessagePair(int i, int& group, int& entry) const;
  const M_Type* GetEvent(int i) const;
  int GetMessageProcessed(int i) const;
  void ToggleMessageProcessed(int i);
  void SelectEvent(int i);
  bool IsEventSelected(int i) const { return i == m_Selected; }
  int GetSelectedEvent() const { return m_Selected; }
  void RemoveSelectedEvent();
  int RemoveMessage(int i);
  // The listed and waiting messages placed on a cell of the rectangle
  // (w x h cells from x, y) lose their place: what stood there is gone,
  // and a jump would lead to nothing.
  void ForgetPlace(int x, int y, int w, int h);
  void GotoActiveMessage();
  void GotoSelectedMessage(int i);
  void GotoSelectedEvent();
  void ToggleAutoEvent() { m_AutoEvents = m_AutoEvents ? 0 : 1; }
  int IsAutoEvent() const { return m_AutoEvents; }

  // ---- queue ----
  int GetWaitMessageMax() const { return m_QueueCount; }
  const char* GetWaitMessageShort(int i) const;
  // (group, entry) of queued message i; false outside the queue.
  bool GetWaitMessagePair(int i, int& group, int& entry) const;

  // ---- advisers and the standing message ----
  void SetBerater(int n);
  int GetBerater() const { return m_Berater + 1; }
  void SetBeraterMessage(int slot, int group, int entry);
  const char* GetBeraterMessage() const;
  virtual int SetBeraterZielMessage();
  void SetStandardMessage(int group, int entry);
  const char* GetStandardMessage() const;

  // ---- table ----
  static bool CheckForGlobalMessage(int group, int entry);
  void SetLastPeopleSizeMessage(int n) { m_LastPeopleSize = n; }
  int GetLastPeopleSizeMessage() const { return m_LastPeopleSize; }

  // ---- attention window ----
  // Replaces the text by a copy; null clears it.
  void SetAchtungMessage(const char* text);
  const char* GetAchtungMessage() const { return m_Achtung; }
  void DeactivateAchtungMessage() { SetAchtungMessage(nullptr); }
  void SetAchtungJaNeinText(const char* text);
  const char* GetAchtungJaNeinText() const { return m_JaNein; }

  // ---- texts and language ----
  // Reads the message file of the language into the table (records the
  // file does not mention keep their texts). 0 read, 1 no file.
  int LoadMessageTexte(int language);
  // Frees the information texts and reads the information file. 0 read,
  // 1 no file.
  int GetInfoTextFromFile(int language);
  // 1 for i outside 0..110; else the texts of i (null where missing), 0.
  int GetInfoText(int i, char*& shortText, char*& longText) const;
  // Reloads the texts, empties the event list, relabels the window tree and
  // the statistics and stores the language in the settings. 0.
  virtual int ChangeLanguage(int language);

  // The window tree whose texts follow the language and whose message list
  // is refreshed; null while there is none. The tree stays its builder's.
  void SetWindowTree(CScreenWindow* top) { m_pWindowTree = top; }

 private:
  struct SPair {
    int32_t group = 0, entry = 0;
  };
  static M_Type* Table(int group, int entry);
  void AllocBuffers(M_Type& record);
  static void FreeBuffers(M_Type& record);
  static void ReplaceText(char*& into, const char* text);
  void RemoveEventAt(int i);
  void FormatEntry(M_Type& event, const M_Type& table, float v1, float v2, float v3);
  bool CheckUserQuote(int group, float& value1);
  void GotoEvent(int i, bool selectLine);
  void ActivateOrDeactivateWindow(int id, bool open);
  void FreeInfoTexts();

  // Fields in this order.
  char* m_Achtung = nullptr;
  char* m_JaNein = nullptr;
  uint8_t m_AutoEvents = 1;
  // After a reset, messages wait m_BlockFor ms from m_BlockFrom.
  uint32_t m_BlockFrom = 0, m_BlockFor = 0;
  int32_t m_Selected = -1;
  int32_t m_EventCount = 0;
  M_Type m_Events[kEventListSize];
  SPair m_QueuePairs[kWaitQueueSize];
  M_Type m_Queue[kWaitQueueSize];
  int32_t m_QueueCount = 0;
  uint32_t m_LastShown = 0;
  SPair m_EventPairs[kEventListSize];
  // Starts at the first adviser, whose picture the adviser window shows
  // before a topic is chosen.
  int32_t m_Berater = 0;
  char* m_InfoTexts[kInfoTexts][2] = {};
  SPair m_BeraterSlots[kAdvisers];
  SPair m_Standard{-1, -1};
  int32_t m_LastPeopleSize = 0;

  CMessageHost m_DefaultHost;
  CMessageHost* m_pHost = &m_DefaultHost;
  CScreenWindow* m_pWindowTree = nullptr;
};
