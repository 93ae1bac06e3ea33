#pragma once
// What the window toolkit asks of the interface controller, the world and
// the game model. The toolkit sits below them, so it reaches them through
// this one interface; the controller installs its implementation, and tests
// install a scripted one. Every default is a stand-in: it answers as a game
// with nothing open, nothing selected and no data would, and says once in
// the log that no part of the game answered.
#include <cstdint>

#include "framework/qno_event.h"
#include "framework/zor_stand_in.h"

class CAction;
class CScreenWindow;
class CWorldObj;
class QnoDisplay;
class QnoView;

class CGuiHost {
 public:
  virtual ~CGuiHost() = default;

  // The installed host, never null: without one a default host answers.
  static CGuiHost* Get();
  // The caller keeps ownership; null restores the default.
  static void Install(CGuiHost* host);

  // Render list of the open top-level windows, front first.
  virtual bool IsWindowOpen(int /*id*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual void AddToRenderList(CScreenWindow* /*window*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void RemoveFromRenderList(CScreenWindow* /*window*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void BringToFront(CScreenWindow* /*window*/) { ZOR_STAND_IN("CGuiHost"); }
  // The yes/no question waiting for its answer.
  virtual int GetYesNoWarningNumber() {
    ZOR_STAND_IN("CGuiHost");
    return -1;
  }
  virtual void ClearPendingConfirmation() { ZOR_STAND_IN("CGuiHost"); }
  // The measures' pages 81, 84, 87 and 90 show their companion page while
  // their service has nothing built; asked again as a page of the group opens.
  virtual void UpdateMeasurePageHints() { ZOR_STAND_IN("CGuiHost"); }

  // Interface state.
  virtual void SetType13PressFlag() { ZOR_STAND_IN("CGuiHost"); }
  virtual bool IsLeftButtonHeld() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual bool IsTool(int /*tool*/, int /*subtool*/, int /*variant*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual int GetCurrentTool() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual bool IsPaused() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual bool IsBottomPanelPinned() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual bool IsViewFilterOn(int /*filter*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual int GetThematicMapLayer() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual void ThematicMapInput(QnoInteractionEvent* /*event*/, QnoView* /*view*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual int GetHelpPicture215() {
    ZOR_STAND_IN("CGuiHost");
    return -1;
  }
  virtual int GetHelpEntry242() {
    ZOR_STAND_IN("CGuiHost");
    return -1;
  }
  // The removal cost waiting to be booked.
  virtual double GetPendingRemovalCost() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  // Name of the object kind n; null when none.
  virtual const char* GetZorvaObjectName(int /*n*/) {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  // The active public-transport line: false when there is none.
  virtual bool GetActiveLine(int* /*number*/, int* /*kind*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  // Label pattern n of the interface texts in the current language.
  virtual const char* GetGltText(int /*n*/) {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }

  // World.
  virtual int GetScreenWidth() {
    ZOR_STAND_IN("CGuiHost");
    return 800;
  }
  virtual int GetScreenHeight() {
    ZOR_STAND_IN("CGuiHost");
    return 600;
  }
  virtual int GetGameSpeed() {
    ZOR_STAND_IN("CGuiHost");
    return 18000;
  }
  virtual int GetGameSpeedMin() {
    ZOR_STAND_IN("CGuiHost");
    return 6000;
  }
  virtual int GetGameSpeedMax() {
    ZOR_STAND_IN("CGuiHost");
    return 24000;
  }
  virtual void SetGameSpeed(int /*v*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual bool IsHotlineOn() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual void PlaySound(const char* /*name*/) { ZOR_STAND_IN("CGuiHost"); }
  // The savegame name input: text, cursor and whether it is open.
  virtual const char* GetNameInput(int* cursor, bool* open) {
    ZOR_STAND_IN("CGuiHost");
    *cursor = 0;
    *open = false;
    return "";
  }

  // Game model.
  virtual int GetLoadSaveGameMode() {
    ZOR_STAND_IN("CGuiHost");
    return 1;
  }
  virtual bool IsGottWertActive(int /*n*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual bool IsStatSeriesShown(int /*series*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual int GetStatKmOrTrip() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual bool GetStatChartSwitch() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual int GetStatSelectedChart() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual int GetSelectedEvent() {
    ZOR_STAND_IN("CGuiHost");
    return -1;
  }
  virtual int GetEventListFlag() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual int GetMessagePageIndex() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual bool IsMessageProcessed(int /*n*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual bool CheckMessageForJump(int /*n*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  // The messages a list shows: their number, message n's text (null when
  // none) and the hour and minute it came at (false when none).
  virtual int GetMaxMessage() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual const char* GetMessageE(int /*n*/) {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  virtual bool GetMessageHourMinute(int /*n*/, int* /*hour*/, int* /*minute*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  // The text a message item of that type shows; null keeps the item's own.
  virtual const char* GetMessageText(int /*itemType*/) {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  virtual int GetMusicMode() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  // Indicator value by name; false leaves value unchanged.
  virtual bool GetIndicator(const char* /*name*/, double* /*value*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  // Simulation clock: hour of the day (5-20) and the year as a fraction.
  virtual double GetSimHour() {
    ZOR_STAND_IN("CGuiHost");
    return 5;
  }
  virtual double GetSimYear() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  // Loads of the selected street for the 24-hour chart; -1 = no value.
  virtual int GetStreet24hLoad(int /*direction*/, int /*hour*/) {
    ZOR_STAND_IN("CGuiHost");
    return -1;
  }

  // ---- What the window and item actions ask and change ----
  // Game mode of god mode: 0 free play, 1 normal game, 2 scenario,
  // 3 exhibition.
  virtual int GetGameMode() {
    ZOR_STAND_IN("CGuiHost");
    return 1;
  }
  virtual void SetGameMode(int /*mode*/) { ZOR_STAND_IN("CGuiHost"); }
  // The interface's debug display switch.
  virtual bool IsDebugInfoOn() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  // The world's blocked flag, which holds the simulation.
  virtual void SetBlocked(bool /*on*/) { ZOR_STAND_IN("CGuiHost"); }
  // The savegame list: re-read the directory, keeping the chosen game mode
  // or taking the current one; choose the mode the list shows.
  virtual void MakeLoadSaveGamesFromDirectory(bool /*keepMode*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetLoadSaveGameMode(int /*mode*/) { ZOR_STAND_IN("CGuiHost"); }
  // The world's name-entry state of the save window.
  virtual void ClearNameEntry() { ZOR_STAND_IN("CGuiHost"); }
  // The text the name input shows, emptied.
  virtual void ClearNameInput() { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetNameInput(const char* /*text*/) { ZOR_STAND_IN("CGuiHost"); }
  // Opens the name input with its cursor on place `cursor` of the name, or
  // at its end for -1 or a place behind it.
  virtual void OpenNameInput(int /*cursor*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void DeaktivateEingabe() { ZOR_STAND_IN("CGuiHost"); }
  // The listed savegames: their count, slot n's name (null when none), the
  // selected slot and whether its name is valid.
  virtual int GetSaveGameCount() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual const char* GetSaveSlotName(int /*slot*/) {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  virtual void SetSelectedLoadSaveName(int /*slot*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual int GetSelectedLoadSaveName() {
    ZOR_STAND_IN("CGuiHost");
    return -1;
  }
  virtual bool CheckSelectedLoadSaveName() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  // 1 when the selected name may not be saved without asking.
  virtual int CheckForSaveGame() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  // 1 when a game is selected for loading.
  virtual int CheckForLoadGame() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  // 0 when the selected game was deleted.
  virtual int DeleteGame() {
    ZOR_STAND_IN("CGuiHost");
    return 1;
  }
  // Tick stamps of the last load and of the start-up.
  virtual uint32_t GetTicksAfterLoad() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual uint32_t GetStartupTicks() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  // 0 when the automatic savegame was loaded or written.
  virtual int AutoLoadGame() {
    ZOR_STAND_IN("CGuiHost");
    return 1;
  }
  virtual int AutoSaveGame() {
    ZOR_STAND_IN("CGuiHost");
    return 1;
  }
  virtual void PlayAbspannVideo() { ZOR_STAND_IN("CGuiHost"); }
  virtual void PlayTutorialVideo() { ZOR_STAND_IN("CGuiHost"); }
  // Waits briefly and ends the frame loop.
  virtual void LeaveGame() { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetWindowMode(int /*mode*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetPause(bool /*on*/) { ZOR_STAND_IN("CGuiHost"); }

  // The interface's deferred action (1 load, 2 save, 3 new game, 4 and 5
  // turn the view, 6 zoom in, 7 zoom out).
  virtual void SetDoLater(int /*action*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetToolNr(int /*tool*/, int /*subtool*/, int /*variant*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetToolStandard() { ZOR_STAND_IN("CGuiHost"); }
  virtual void DisableStandardMenues() { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetViewFilter(int /*filter*/, bool /*on*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void TurnBuilding(bool /*left*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void ChangeThematicMapFilter(int /*layer*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void ActivateTwoDMap(bool /*on*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetIsoCenter(int /*x*/, int /*y*/) { ZOR_STAND_IN("CGuiHost"); }
  // Marks the building on cell (x, y), if any, as a list row points to it.
  virtual void MarkBuildingAt(int /*x*/, int /*y*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetBalloonHelp(const char* /*text*/, int /*x*/, int /*y*/, int /*reserved*/) {
    ZOR_STAND_IN("CGuiHost");
  }
  // Warning window 220 with text n; yes/no window 247 with text n whose yes
  // button runs an action of the follow-up kind.
  virtual void SetAchtungWindow(int /*text*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetAchtungWindowJaNein(int /*text*/, int /*followUpKind*/) { ZOR_STAND_IN("CGuiHost"); }
  // Selections of the interface that closing windows clears.
  virtual void ResetSelectedBuildingList() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ClearWarningHighlight() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ClearSelectedStreet() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ClearSelectedCrossing() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ClearBuildingMarker() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ClearAdviserSelection() { ZOR_STAND_IN("CGuiHost"); }
  // Whether window 239 was opened and should come back with 218.
  virtual bool GetWindow239Opened() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual void SetWindow239Opened(bool /*on*/) { ZOR_STAND_IN("CGuiHost"); }
  // The selected crossing's traffic-light count; false when none is selected.
  virtual bool GetSelectedCrossingLights(int* /*lights*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  // Removal of selected objects with its cost.
  virtual void ClearRemovalWord() { ZOR_STAND_IN("CGuiHost"); }
  virtual void CheckForRemoveObjectSelected() { ZOR_STAND_IN("CGuiHost"); }
  virtual void RemoveBuildingSelectedBuildingList() { ZOR_STAND_IN("CGuiHost"); }
  // 0 when the selected cell lies in the world and its object was removed.
  virtual int RemoveSelectedObject() {
    ZOR_STAND_IN("CGuiHost");
    return 1;
  }
  virtual void VarAddValue(const char* /*name*/, double /*value*/) { ZOR_STAND_IN("CGuiHost"); }

  // Public transport: lines by number (null when none), the active line,
  // the net, the interface's selected line, the window to re-open after line
  // editing, and the fleet purchase waiting for confirmation.
  virtual CWorldObj* GetLineByID(int /*number*/) {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  virtual CWorldObj* SetActiveLine(int /*number*/) {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  virtual CWorldObj* GetOpnvNet() {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  virtual void SetSelectedLine(CWorldObj* /*line*/, int /*number*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void RemoveSelectedLine() { ZOR_STAND_IN("CGuiHost"); }
  virtual void CentreOnLine(CWorldObj* /*line*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetLineReopenWindow(int /*id*/) { ZOR_STAND_IN("CGuiHost"); }
  // True while a purchase or sale of vehicles is entered and not booked.
  virtual bool IsFleetTradeEntered() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual void ResetEinVerkauf() { ZOR_STAND_IN("CGuiHost"); }
  virtual bool IsConfirmationPending() {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual void SetConfirmationPending() { ZOR_STAND_IN("CGuiHost"); }
  // Keeps a copy of the action that waits for the confirmation; the saved
  // copy stays the host's.
  virtual void SaveConfirmationAction(const CAction& /*action*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual CAction* GetConfirmationAction() {
    ZOR_STAND_IN("CGuiHost");
    return nullptr;
  }
  virtual void SetFollowUpFlag() { ZOR_STAND_IN("CGuiHost"); }

  // Game model.
  virtual void SetAdviser(int /*adviser*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetDataExchangeSelection(int /*value*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void ToggleGottWertActive(int /*n*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetGottActive() { ZOR_STAND_IN("CGuiHost"); }
  virtual void TakeCredit(long /*amount*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void RepayCredit(long /*amount*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetExpoModus(int /*mode*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetExpoTask(int /*task*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetExpoState(int /*state*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetExpoStreetType(int /*type*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void ExpoSetTimeRating() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ExpoBusSetTakt(int /*headway*/) { ZOR_STAND_IN("CGuiHost"); }
  // Back to the exhibition's first page on a fresh map.
  virtual void ExpoRestart() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ChangeStatistikGruppe(int /*group*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void StatToggle(int /*series*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void StatYearMax(int /*year*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void StatYearStep(int /*delta*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void StatGroupAll(bool /*on*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void StatClearScroll() { ZOR_STAND_IN("CGuiHost"); }
  virtual int GetStatView() {
    ZOR_STAND_IN("CGuiHost");
    return 0;
  }
  virtual void SetStatChartSwitch(bool /*on*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetStatKmOrTrip(bool /*km*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetMessagePageIndex(int /*index*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SelectEvent(int /*n*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void RemoveSelectedEvent() { ZOR_STAND_IN("CGuiHost"); }
  virtual void GotoSelectedEvent() { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetEventListFlag(int /*flag*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void GotoActiveMessage() { ZOR_STAND_IN("CGuiHost"); }
  virtual void GotoSelectedMessage(int /*n*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void ToggleMessageProcessed(int /*n*/) { ZOR_STAND_IN("CGuiHost"); }
  // Help entry n of the message system; false when it has none.
  virtual bool GetHelpEntry(int /*n*/, const char** /*title*/, const char** /*text*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }
  virtual void SetHelpEntry242(int /*n*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void StartTutorial() { ZOR_STAND_IN("CGuiHost"); }
  virtual void ToggleBottomPanelPinned() { ZOR_STAND_IN("CGuiHost"); }
  virtual int GetEnvInt(const char* /*key*/, int defaultValue) {
    ZOR_STAND_IN("CGuiHost");
    return defaultValue;
  }
  virtual void SetHotlineOn() { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetMusicMode(int /*mode*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void SetLanguage(int /*language*/) { ZOR_STAND_IN("CGuiHost"); }
  // Width and height of picture id; false when it does not exist.
  virtual bool GetPictureSize(int /*id*/, int* /*w*/, int* /*h*/) {
    ZOR_STAND_IN("CGuiHost");
    return false;
  }

  // Displays drawn by other subsystems into an item's place.
  virtual void RenderTwoDMap(QnoDisplay* /*display*/, int /*x*/, int /*y*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void RenderTwoDMapColorKey(QnoDisplay* /*display*/, int /*x*/, int /*y*/) { ZOR_STAND_IN("CGuiHost"); }
  virtual void RenderStatistik(QnoDisplay* /*display*/, int /*x*/, int /*y*/, int /*w*/, int /*h*/) {
    ZOR_STAND_IN("CGuiHost");
  }
  virtual void RenderUmland(QnoDisplay* /*display*/, int /*x*/, int /*y*/) { ZOR_STAND_IN("CGuiHost"); }
};
