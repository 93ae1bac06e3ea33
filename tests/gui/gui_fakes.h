#pragma once
// Stand-ins for the game model's variables and for the interface controller,
// so that window tests run without the rest of the game.
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "gui/window_var.h"

class FakeVar : public CWindowVar {
 public:
  FakeVar(EVarType type, std::string name, double value = 0, double lo = 0, double hi = 100, double step = 1)
      : m_type(type), m_name(std::move(name)), m_value(value), m_min(lo), m_max(hi), m_step(step) {}
  EVarType GetVarType() const override { return m_type; }
  const char* GetName() const override { return m_name.c_str(); }
  int GetValue(double* out, bool fromSource) override {
    if (!m_readable) return 1;
    if (fromSource) ++m_sourceReads;
    *out = m_value;
    return 0;
  }
  int SetValue(double v) override {
    m_value = std::clamp(v, m_min, m_max);
    ++m_sets;
    return 0;
  }
  int Refresh() override {
    ++m_refreshes;
    return 0;
  }
  int GetMin(double* out) override {
    if (!m_ranged) return 1;
    *out = m_min;
    return 0;
  }
  int GetMax(double* out) override {
    if (!m_ranged) return 1;
    *out = m_max;
    return 0;
  }
  int StepUp() override { return SetValue(m_value + m_step); }
  int StepDown() override { return SetValue(m_value - m_step); }
  int SetWorldOject(CWorldObj* owner) override {
    m_owner = owner;
    return 0;
  }
  int Destroy() override {
    ++s_destroyed;
    return CWindowVar::Destroy();
  }

  EVarType m_type;
  std::string m_name;
  double m_value, m_min, m_max, m_step;
  bool m_readable = true;
  // Without a range the variable answers neither minimum nor maximum.
  bool m_ranged = true;
  int m_sourceReads = 0;
  int m_sets = 0;
  int m_refreshes = 0;
  CWorldObj* m_owner = nullptr;
  // Destroy() calls of all fake variables, for the owners' clean-up.
  static inline int s_destroyed = 0;
};

// Keeps a render list and answers the controller's questions from fields.
// Its answers are held to the game's own host by the host contract tests:
// what a fresh game answers is what the fields start with.
class FakeHost : public CGuiHost {
 public:
  FakeHost() { CGuiHost::Install(this); }
  ~FakeHost() override { CGuiHost::Install(nullptr); }

  bool IsWindowOpen(int id) override {
    return std::any_of(renderList.begin(), renderList.end(), [id](CScreenWindow* w) { return w->GetID() == id; });
  }
  void AddToRenderList(CScreenWindow* w) override { BringToFront(w); }
  void RemoveFromRenderList(CScreenWindow* w) override {
    std::erase(renderList, w);
    closedOrder.push_back(w->GetID());
    if (w->GetID() == 247) yesNo = -1;
  }
  void BringToFront(CScreenWindow* w) override {
    std::erase(renderList, w);
    renderList.insert(renderList.begin(), w);
    ++frontCalls;
  }
  int GetYesNoWarningNumber() override { return yesNo; }
  void SetType13PressFlag() override { ++type13Presses; }
  bool IsLeftButtonHeld() override { return leftHeld; }
  int GetThematicMapLayer() override { return layer; }
  bool IsBottomPanelPinned() override { return panelPinned; }
  void PlaySound(const char* name) override { sounds.push_back(name); }
  bool IsMessageProcessed(int n) override { return processed.count(n) != 0; }
  int GetGameSpeed() override { return speed; }
  int GetGameSpeedMin() override { return 6000; }
  int GetGameSpeedMax() override { return 24000; }
  void SetGameSpeed(int v) override { speed = v; }
  const char* GetMessageText(int type) override {
    auto it = messages.find(type);
    return it == messages.end() ? nullptr : it->second.c_str();
  }
  double GetPendingRemovalCost() override { return removalCost; }
  bool GetActiveLine(int* number, int* kind) override {
    if (lineNumber < 0) return false;
    *number = lineNumber;
    *kind = lineKind;
    return true;
  }
  // The German labels of a fresh installation; an unknown one is the first.
  const char* GetGltText(int n) override {
    static const char* const kLabels[] = {"Bus %i", "S-Bahn %i", "Carsharing-Zentrale", "Station %i"};
    return n >= 0 && n < 4 ? kLabels[n] : kLabels[0];
  }
  const char* GetNameInput(int* cursor, bool* open) override {
    *cursor = nameCursor;
    *open = nameOpen;
    return name.c_str();
  }
  bool GetIndicator(const char* n, double* value) override {
    auto it = indicators.find(n);
    if (it == indicators.end()) return false;
    *value = it->second;
    return true;
  }
  double GetSimHour() override { return hour; }
  double GetSimYear() override { return year; }

  // What the actions ask: answered from fields.
  int GetGameMode() override { return gameMode; }
  void SetGameMode(int m) override { Log("SetGameMode", m); gameMode = m; }
  bool IsDebugInfoOn() override { return debugInfo; }
  bool IsPaused() override { return paused; }
  // Filters 1-4 as set; 0 is on exactly when none of them is.
  bool IsViewFilterOn(int f) override {
    if (f == 0) return std::none_of(filters.begin(), filters.end(), [](const auto& e) { return e.first <= 4; });
    return f <= 4 && filters.count(f) != 0;
  }
  int GetCurrentTool() override { return tool; }
  int GetLoadSaveGameMode() override { return listMode; }
  int GetStatKmOrTrip() override { return kmOrTrip; }
  bool GetStatChartSwitch() override { return chartSwitch; }
  int GetStatSelectedChart() override { return selectedChart; }
  int GetStatView() override { return statView; }
  bool IsStatSeriesShown(int s) override { return shownSeries.count(s) != 0; }
  int GetSelectedEvent() override { return selectedEvent; }
  int GetEventListFlag() override { return eventListFlag; }
  int GetMessagePageIndex() override { return pageIndex; }
  int GetMusicMode() override { return musicMode; }
  bool IsHotlineOn() override { return hotline; }
  int GetScreenWidth() override { return screenWidth; }
  int GetScreenHeight() override { return screenHeight; }
  bool GetWindow239Opened() override { return opened239; }
  void SetWindow239Opened(bool on) override { Log("SetWindow239Opened", on); opened239 = on; }
  bool GetSelectedCrossingLights(int* n) override {
    if (crossingLights < 0) return false;
    *n = crossingLights;
    return true;
  }
  int GetSaveGameCount() override { return static_cast<int>(slots.size()); }
  const char* GetSaveSlotName(int slot) override {
    return slot >= 0 && slot < static_cast<int>(slots.size()) ? slots[slot].c_str() : nullptr;
  }
  int GetSelectedLoadSaveName() override { return selectedSlot; }
  bool CheckSelectedLoadSaveName() override { return selectedSlotValid; }
  int CheckForSaveGame() override { return saveAsks; }
  int CheckForLoadGame() override { return loadSelected; }
  int DeleteGame() override { Log("DeleteGame"); return deleteResult; }
  uint32_t GetTicksAfterLoad() override { return ticksAfterLoad; }
  uint32_t GetStartupTicks() override { return startupTicks; }
  int AutoSaveGame() override { Log("AutoSaveGame"); return autoSaveResult; }
  int AutoLoadGame() override { Log("AutoLoadGame"); return autoLoadResult; }
  CWorldObj* GetLineByID(int n) override { return lines.count(n) ? lines[n] : nullptr; }
  CWorldObj* SetActiveLine(int n) override { Log("SetActiveLine", n); return GetLineByID(n); }
  CWorldObj* GetOpnvNet() override { return net; }
  bool IsFleetTradeEntered() override { return fleetTrade; }
  // The question waits only while window 247 shows it.
  bool IsConfirmationPending() override { return pending && IsWindowOpen(247); }
  void SetConfirmationPending() override { Log("SetConfirmationPending"); pending = true; }
  void ClearPendingConfirmation() override { ++pendingCleared; pending = false; }
  void SaveConfirmationAction(const CAction& a) override {
    saved.reset(a.Clone());
    Log("SaveConfirmationAction", a.m_kind);
  }
  CAction* GetConfirmationAction() override { return saved.get(); }
  bool GetHelpEntry(int n, const char** title, const char** text) override {
    if (n < 0 || n != helpEntry) return false;
    *title = "Title";
    *text = "Body";
    return true;
  }
  int GetEnvInt(const char* key, int def) override { return std::string(key) == "WIN2000" ? win2000 : def; }
  bool GetPictureSize(int id, int* w, int* h) override {
    auto it = pictures.find(id);
    if (it == pictures.end()) return false;
    *w = it->second.first;
    *h = it->second.second;
    return true;
  }

  // What the actions change: each call is logged as "Name" or "Name arg...".
  void SetBlocked(bool on) override { Log("SetBlocked", on); }
  void MakeLoadSaveGamesFromDirectory(bool keep) override { Log("MakeLoadSaveGames", keep); }
  void SetLoadSaveGameMode(int m) override {
    Log("SetLoadSaveGameMode", m);
    listMode = m;
  }
  void ClearNameEntry() override {
    Log("ClearNameEntry");
    name.clear();
    nameCursor = 0;
    nameOpen = false;
  }
  void ClearNameInput() override {
    Log("ClearNameInput");
    name.clear();
    nameCursor = 0;
  }
  void SetNameInput(const char* t) override {
    Log(std::string("SetNameInput ") + t);
    name = t;
  }
  void OpenNameInput(int cursor) override {
    Log("OpenNameInput", cursor);
    nameOpen = true;
    const int last = std::min(static_cast<int>(name.size()), 12);
    nameCursor = cursor < 0 ? last : std::min(cursor, last);
  }
  void DeaktivateEingabe() override {
    Log("DeaktivateEingabe");
    nameOpen = false;
  }
  void SetSelectedLoadSaveName(int s) override {
    Log("SetSelectedLoadSaveName", s);
    selectedSlot = s;
  }
  void PlayAbspannVideo() override { Log("PlayAbspannVideo"); }
  void PlayTutorialVideo() override { Log("PlayTutorialVideo"); }
  void LeaveGame() override { Log("LeaveGame"); }
  void SetWindowMode(int m) override { Log("SetWindowMode", m); }
  void SetPause(bool on) override { Log("SetPause", on); paused = on; }
  void SetDoLater(int a) override { Log("SetDoLater", a); }
  // As the game chooses: tools 1-23 only, and a choice without a variant
  // changes only the cursor.
  void SetToolNr(int t, int s, int v) override {
    Log("SetToolNr", t, s, v);
    if (t < 1 || t > 23 || v == 0) return;
    tool = t;
    subtool = std::max(s, 0);
    variant = v;
  }
  bool IsTool(int t, int s, int v) override { return tool == t && subtool == s && variant == v; }
  void SetToolStandard() override {
    Log("SetToolStandard");
    tool = 1;
    subtool = variant = -1;
  }
  void DisableStandardMenues() override { Log("DisableStandardMenues"); }
  void SetViewFilter(int f, bool on) override {
    Log("SetViewFilter", f, on);
    if (on) filters.insert({f, true});
    else filters.erase(f);
  }
  void TurnBuilding(bool left) override { Log("TurnBuilding", left); }
  // Layers 0-23; one outside the table is layer 0, the net alone.
  void ChangeThematicMapFilter(int l) override {
    Log("ChangeThematicMapFilter", l);
    layer = l >= 0 && l < 24 ? l : 0;
  }
  void ActivateTwoDMap(bool on) override { Log("ActivateTwoDMap", on); }
  void SetIsoCenter(int x, int y) override { Log("SetIsoCenter", x, y); }
  void SetBalloonHelp(const char* text, int x, int y, int r) override {
    Log(std::string("SetBalloonHelp ") + (text ? text : "null") + " " + std::to_string(x) + " " + std::to_string(y) +
        " " + std::to_string(r));
  }
  // As the game does: the warning opens window 220 of the tree.
  void SetAchtungWindow(int t) override {
    Log("SetAchtungWindow", t);
    if (tree) tree->ActivateWindow(220, OVER_GROUP);
  }
  // As the game does: window 247 of the tree opens first, then the question
  // is noted, and only when the window is open.
  void SetAchtungWindowJaNein(int t, int k) override {
    // As the game does: the question is known before 247 opens, so that
    // opening the quit question holds the game; it is forgotten when 247 closes.
    Log("SetAchtungWindowJaNein", t, k);
    yesNo = t;
    if (tree) tree->ActivateWindow(247, OVER_GROUP);
    if (!IsWindowOpen(247)) yesNo = -1;
  }
  void ResetSelectedBuildingList() override { Log("ResetSelectedBuildingList"); }
  void ClearWarningHighlight() override { Log("ClearWarningHighlight"); }
  void ClearSelectedStreet() override { Log("ClearSelectedStreet"); }
  void ClearSelectedCrossing() override { Log("ClearSelectedCrossing"); }
  void ClearBuildingMarker() override { Log("ClearBuildingMarker"); }
  void ClearAdviserSelection() override { Log("ClearAdviserSelection"); }
  void ClearRemovalWord() override { Log("ClearRemovalWord"); }
  void CheckForRemoveObjectSelected() override { Log("CheckForRemoveObjectSelected"); }
  void RemoveBuildingSelectedBuildingList() override { Log("RemoveBuildingSelectedBuildingList"); }
  int RemoveSelectedObject() override { Log("RemoveSelectedObject"); return removeResult; }
  // Adds to a value the game model holds; an unknown name changes nothing.
  void VarAddValue(const char* n, double v) override {
    Log(std::string("VarAddValue ") + n + " " + std::to_string(static_cast<long long>(v)));
    if (auto it = indicators.find(n); it != indicators.end()) it->second += v;
  }
  void SetSelectedLine(CWorldObj* line, int n) override {
    selectedLine = line;
    Log("SetSelectedLine", n);
  }
  void RemoveSelectedLine() override { Log("RemoveSelectedLine"); }
  void CentreOnLine(CWorldObj*) override { Log("CentreOnLine"); }
  void SetLineReopenWindow(int id) override { Log("SetLineReopenWindow", id); }
  void ResetEinVerkauf() override {
    Log("ResetEinVerkauf");
    fleetTrade = false;
  }
  void SetFollowUpFlag() override { Log("SetFollowUpFlag"); }
  void SetAdviser(int n) override { Log("SetAdviser", n); }
  void SetDataExchangeSelection(int v) override { Log("SetDataExchangeSelection", v); }
  void ToggleGottWertActive(int n) override { Log("ToggleGottWertActive", n); }
  void SetGottActive() override { Log("SetGottActive"); }
  void TakeCredit(long a) override { Log("TakeCredit", static_cast<int>(a)); }
  void RepayCredit(long a) override { Log("RepayCredit", static_cast<int>(a)); }
  void SetExpoModus(int m) override { Log("SetExpoModus", m); }
  void SetExpoTask(int t) override { Log("SetExpoTask", t); }
  void SetExpoState(int s) override { Log("SetExpoState", s); }
  void SetExpoStreetType(int t) override { Log("SetExpoStreetType", t); }
  void ExpoSetTimeRating() override { Log("ExpoSetTimeRating"); }
  void ExpoBusSetTakt(int t) override { Log("ExpoBusSetTakt", t); }
  void ChangeStatistikGruppe(int g) override {
    Log("ChangeStatistikGruppe", g);
    statView = g;
  }
  void StatToggle(int s) override {
    Log("StatToggle", s);
    if (shownSeries.count(s)) shownSeries.erase(s);
    else if (s >= 0) shownSeries[s] = true;
  }
  // The chart spans the chosen 1 to 30 recordings.
  void StatYearMax(int y) override {
    Log("StatYearMax", y);
    if (y >= 1 && y <= 30) selectedChart = y;
  }
  void StatYearStep(int d) override { Log("StatYearStep", d); }
  void StatGroupAll(bool on) override { Log("StatGroupAll", on); }
  void StatClearScroll() override { Log("StatClearScroll"); }
  void SetStatChartSwitch(bool on) override { Log("SetStatChartSwitch", on); chartSwitch = on; }
  void SetStatKmOrTrip(bool km) override { Log("SetStatKmOrTrip", km); kmOrTrip = km ? 1 : 0; }
  void SetMessagePageIndex(int i) override { Log("SetMessagePageIndex", i); pageIndex = i; }
  void SelectEvent(int n) override { Log("SelectEvent", n); selectedEvent = n; }
  void RemoveSelectedEvent() override { Log("RemoveSelectedEvent"); }
  void GotoSelectedEvent() override { Log("GotoSelectedEvent"); }
  void SetEventListFlag(int f) override { Log("SetEventListFlag", f); eventListFlag = f; }
  void GotoActiveMessage() override { Log("GotoActiveMessage"); }
  void GotoSelectedMessage(int n) override { Log("GotoSelectedMessage", n); }
  void ToggleMessageProcessed(int n) override {
    Log("ToggleMessageProcessed", n);
    if (processed.count(n)) processed.erase(n);
    else processed[n] = true;
  }
  int GetHelpEntry242() override { return helpEntry242; }
  void SetHelpEntry242(int n) override {
    Log("SetHelpEntry242", n);
    helpEntry242 = n;
  }
  void StartTutorial() override { Log("StartTutorial"); }
  void ToggleBottomPanelPinned() override {
    Log("ToggleBottomPanelPinned");
    panelPinned = !panelPinned;
  }
  void SetHotlineOn() override { Log("SetHotlineOn"); hotline = true; }
  void SetMusicMode(int m) override { Log("SetMusicMode", m); musicMode = m; }
  void SetLanguage(int l) override { Log("SetLanguage", l); }

  void Log(const std::string& name) { calls.push_back(name); }
  template <class... A>
  void Log(const std::string& name, A... args) {
    std::string line = name;
    for (int v : {static_cast<int>(args)...}) {
      line.push_back(' ');
      line.append(std::to_string(v));
    }
    calls.push_back(line);
  }
  // The logged calls since the last look, which empties the log.
  std::vector<std::string> Take() { return std::exchange(calls, {}); }

  std::vector<CScreenWindow*> renderList;
  std::vector<std::string> sounds;
  std::map<int, std::string> messages;
  std::map<std::string, double> indicators;
  std::map<int, bool> processed;
  int frontCalls = 0;
  int yesNo = -1;
  int pendingCleared = 0;
  int type13Presses = 0;
  bool leftHeld = false;
  // The thematic map starts on layer 1.
  int layer = 1;
  int speed = 18000;
  double removalCost = 0;
  int lineNumber = -1;
  int lineKind = 1;
  std::string name;
  int nameCursor = 0;
  bool nameOpen = false;
  double hour = 5;
  double year = 0;

  std::vector<std::string> calls;
  // Ids of the windows taken out of the render list, in order.
  std::vector<int> closedOrder;
  int gameMode = 1;
  bool debugInfo = false;
  bool paused = false;
  std::map<int, bool> filters;
  // The selection tool.
  int tool = 1;
  int subtool = -1;
  int variant = -1;
  int listMode = 1;
  // A fresh chart: the modal split by kilometres, ten recordings wide, and
  // events shown as they come.
  int kmOrTrip = 1;
  bool chartSwitch = false;
  int selectedChart = 10;
  int statView = 0;
  std::map<int, bool> shownSeries;
  int selectedEvent = -1;
  int eventListFlag = 1;
  int pageIndex = 0;
  int musicMode = 0;
  bool hotline = false;
  int screenWidth = 800, screenHeight = 600;
  bool opened239 = false;
  int crossingLights = -1;
  std::vector<std::string> slots;
  int selectedSlot = -1;
  bool selectedSlotValid = false;
  int saveAsks = 0;
  int loadSelected = 0;
  uint32_t ticksAfterLoad = 0;
  uint32_t startupTicks = 0;
  // A fresh game has no savegame to write, read or delete and no selected
  // object to remove.
  int autoSaveResult = 1;
  int autoLoadResult = 1;
  int deleteResult = 1;
  int removeResult = 1;
  std::map<int, CWorldObj*> lines;
  CWorldObj* net = nullptr;
  CWorldObj* selectedLine = nullptr;
  bool fleetTrade = false;
  bool pending = false;
  std::unique_ptr<CAction> saved;
  int helpEntry = -1;
  int helpEntry242 = -1;
  bool panelPinned = false;
  int win2000 = 1;
  std::map<int, std::pair<int, int>> pictures;
  // The tree the warning and the yes/no question open their windows 220 and
  // 247 in; none by default.
  CScreenWindow* tree = nullptr;
};

inline QnoInteractionEvent MakeEvent(int type, int x, int y, int button = 0) {
  QnoInteractionEvent e;
  e.type = type;
  e.x = x;
  e.y = y;
  e.button = button;
  return e;
}

inline CAction* MakeAction(EActionType kind, EActionWhen when, EInOutType inout, int p1 = -1, int p2 = -1,
                           int p3 = -1, const char* name = nullptr) {
  CAction* a = new CAction;
  a->Set(kind, when, inout, p1, p2, p3, -1);
  a->SetName(name);
  return a;
}
