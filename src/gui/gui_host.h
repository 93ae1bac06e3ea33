#pragma once
// What the window toolkit asks of the interface controller, the world and
// the game model. The toolkit sits below them, so it reaches them through
// this one interface; the controller installs its implementation, and tests
// install a scripted one. The defaults answer as a game with nothing open,
// nothing selected and no data would.
#include <cstdint>

#include "framework/qno_event.h"

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
  virtual bool IsWindowOpen(int /*id*/) { return false; }
  virtual void AddToRenderList(CScreenWindow* /*window*/) {}
  virtual void RemoveFromRenderList(CScreenWindow* /*window*/) {}
  virtual void BringToFront(CScreenWindow* /*window*/) {}
  // The yes/no question waiting for its answer.
  virtual int GetYesNoWarningNumber() { return -1; }
  virtual void ClearPendingConfirmation() {}

  // Interface state.
  virtual void SetType13PressFlag() {}
  virtual bool IsLeftButtonHeld() { return false; }
  virtual bool IsTool(int /*tool*/, int /*subtool*/, int /*variant*/) { return false; }
  virtual int GetCurrentTool() { return 0; }
  virtual bool IsPaused() { return false; }
  virtual bool IsBottomPanelPinned() { return false; }
  virtual bool IsViewFilterOn(int /*filter*/) { return false; }
  virtual int GetThematicMapLayer() { return 0; }
  virtual void ThematicMapInput(QnoInteractionEvent* /*event*/, QnoView* /*view*/) {}
  virtual int GetHelpPicture215() { return -1; }
  virtual int GetHelpEntry242() { return -1; }
  // The removal cost waiting to be booked.
  virtual double GetPendingRemovalCost() { return 0; }
  // Name of the object kind n; null when none.
  virtual const char* GetZorvaObjectName(int /*n*/) { return nullptr; }
  // The active public-transport line: false when there is none.
  virtual bool GetActiveLine(int* /*number*/, int* /*kind*/) { return false; }
  // Label pattern n of the interface texts in the current language.
  virtual const char* GetGltText(int /*n*/) { return nullptr; }

  // World.
  virtual int GetScreenWidth() { return 800; }
  virtual int GetGameSpeed() { return 18000; }
  virtual int GetGameSpeedMin() { return 6000; }
  virtual int GetGameSpeedMax() { return 24000; }
  virtual void SetGameSpeed(int /*v*/) {}
  virtual bool IsHotlineOn() { return false; }
  virtual void PlaySound(const char* /*name*/) {}
  // The savegame name input: text, cursor and whether it is open.
  virtual const char* GetNameInput(int* cursor, bool* open) {
    *cursor = 0;
    *open = false;
    return "";
  }

  // Game model.
  virtual int GetLoadSaveGameMode() { return 1; }
  virtual bool IsGottWertActive(int /*n*/) { return false; }
  virtual bool IsStatSeriesShown(int /*series*/) { return false; }
  virtual int GetStatKmOrTrip() { return 0; }
  virtual bool GetStatChartSwitch() { return false; }
  virtual int GetStatSelectedChart() { return 0; }
  virtual int GetSelectedEvent() { return -1; }
  virtual int GetEventListFlag() { return 0; }
  virtual int GetMessagePageIndex() { return 0; }
  virtual bool IsMessageProcessed(int /*n*/) { return false; }
  virtual bool CheckMessageForJump(int /*n*/) { return false; }
  // The text a message item of that type shows; null keeps the item's own.
  virtual const char* GetMessageText(int /*itemType*/) { return nullptr; }
  virtual int GetMusicMode() { return 0; }
  // Indicator value by name; false leaves value unchanged.
  virtual bool GetIndicator(const char* /*name*/, double* /*value*/) { return false; }
  // Simulation clock: hour of the day (5-20) and the year as a fraction.
  virtual double GetSimHour() { return 5; }
  virtual double GetSimYear() { return 0; }
  // Loads of the selected street for the 24-hour chart; -1 = no value.
  virtual int GetStreet24hLoad(int /*direction*/, int /*hour*/) { return -1; }

  // ---- What the window and item actions ask and change ----
  // Game mode of god mode: 0 free play, 1 normal game, 2 scenario,
  // 3 exhibition.
  virtual int GetGameMode() { return 1; }
  virtual void SetGameMode(int /*mode*/) {}
  // The interface's debug display switch.
  virtual bool IsDebugInfoOn() { return false; }
  // The world's blocked flag, which holds the simulation.
  virtual void SetBlocked(bool /*on*/) {}
  // The savegame list: re-read the directory, keeping the chosen game mode
  // or taking the current one; choose the mode the list shows.
  virtual void MakeLoadSaveGamesFromDirectory(bool /*keepMode*/) {}
  virtual void SetLoadSaveGameMode(int /*mode*/) {}
  // The world's name-entry state of the save window.
  virtual void ClearNameEntry() {}
  // The text the name input shows, emptied.
  virtual void ClearNameInput() {}
  virtual void SetNameInput(const char* /*text*/) {}
  virtual void OpenNameInput() {}
  virtual void DeaktivateEingabe() {}
  // The listed savegames: their count, slot n's name (null when none), the
  // selected slot and whether its name is valid.
  virtual int GetSaveGameCount() { return 0; }
  virtual const char* GetSaveSlotName(int /*slot*/) { return nullptr; }
  virtual void SetSelectedLoadSaveName(int /*slot*/) {}
  virtual int GetSelectedLoadSaveName() { return -1; }
  virtual bool CheckSelectedLoadSaveName() { return false; }
  // 1 when the selected name may not be saved without asking.
  virtual int CheckForSaveGame() { return 0; }
  // 1 when a game is selected for loading.
  virtual int CheckForLoadGame() { return 0; }
  // 0 when the selected game was deleted.
  virtual int DeleteGame() { return 1; }
  // Tick stamps of the last load and of the start-up.
  virtual uint32_t GetTicksAfterLoad() { return 0; }
  virtual uint32_t GetStartupTicks() { return 0; }
  // 0 when the automatic savegame was loaded or written.
  virtual int AutoLoadGame() { return 1; }
  virtual int AutoSaveGame() { return 1; }
  virtual void PlayAbspannVideo() {}
  virtual void PlayTutorialVideo() {}
  // Waits briefly and ends the frame loop.
  virtual void LeaveGame() {}
  virtual void SetWindowMode(int /*mode*/) {}
  virtual void SetPause(bool /*on*/) {}

  // The interface's deferred action (1 load, 2 save, 3 new game, 4 and 5
  // turn the view, 6 zoom in, 7 zoom out).
  virtual void SetDoLater(int /*action*/) {}
  virtual void SetToolNr(int /*tool*/, int /*subtool*/, int /*variant*/) {}
  virtual void SetToolStandard() {}
  virtual void DisableStandardMenues() {}
  virtual void SetViewFilter(int /*filter*/, bool /*on*/) {}
  virtual void TurnBuilding(bool /*left*/) {}
  virtual void ChangeThematicMapFilter(int /*layer*/) {}
  virtual void ActivateTwoDMap(bool /*on*/) {}
  virtual void SetIsoCenter(int /*x*/, int /*y*/) {}
  virtual void SetBalloonHelp(const char* /*text*/, int /*x*/, int /*y*/, int /*reserved*/) {}
  // Warning window 220 with text n; yes/no window 247 with text n whose yes
  // button runs an action of the follow-up kind.
  virtual void SetAchtungWindow(int /*text*/) {}
  virtual void SetAchtungWindowJaNein(int /*text*/, int /*followUpKind*/) {}
  // Selections of the interface that closing windows clears.
  virtual void ResetSelectedBuildingList() {}
  virtual void ClearWarningHighlight() {}
  virtual void ClearSelectedStreet() {}
  virtual void ClearSelectedCrossing() {}
  virtual void ClearBuildingMarker() {}
  virtual void ClearAdviserSelection() {}
  // Whether window 239 was opened and should come back with 218.
  virtual bool GetWindow239Opened() { return false; }
  virtual void SetWindow239Opened(bool /*on*/) {}
  // The selected crossing's traffic-light count; false when none is selected.
  virtual bool GetSelectedCrossingLights(int* /*lights*/) { return false; }
  // Removal of selected objects with its cost.
  virtual void ClearRemovalWord() {}
  virtual void CheckForRemoveObjectSelected() {}
  virtual void RemoveBuildingSelectedBuildingList() {}
  // 0 when the selected cell lies in the world and its object was removed.
  virtual int RemoveSelectedObject() { return 1; }
  virtual void VarAddValue(const char* /*name*/, double /*value*/) {}

  // Public transport: lines by number (null when none), the active line,
  // the net, the interface's selected line, the window to re-open after line
  // editing, and the fleet purchase waiting for confirmation.
  virtual CWorldObj* GetLineByID(int /*number*/) { return nullptr; }
  virtual CWorldObj* SetActiveLine(int /*number*/) { return nullptr; }
  virtual CWorldObj* GetOpnvNet() { return nullptr; }
  virtual void SetSelectedLine(CWorldObj* /*line*/, int /*number*/) {}
  virtual void RemoveSelectedLine() {}
  virtual void CentreOnLine(CWorldObj* /*line*/) {}
  virtual void SetLineReopenWindow(int /*id*/) {}
  // True while a purchase or sale of vehicles is entered and not booked.
  virtual bool IsFleetTradeEntered() { return false; }
  virtual void ResetEinVerkauf() {}
  virtual bool IsConfirmationPending() { return false; }
  virtual void SetConfirmationPending() {}
  // Keeps a copy of the action that waits for the confirmation; the saved
  // copy stays the host's.
  virtual void SaveConfirmationAction(const CAction& /*action*/) {}
  virtual CAction* GetConfirmationAction() { return nullptr; }
  virtual void SetFollowUpFlag() {}

  // Game model.
  virtual void SetAdviser(int /*adviser*/) {}
  virtual void SetDataExchangeSelection(int /*value*/) {}
  virtual void ToggleGottWertActive(int /*n*/) {}
  virtual void SetGottActive() {}
  virtual void TakeCredit(long /*amount*/) {}
  virtual void RepayCredit(long /*amount*/) {}
  virtual void SetExpoModus(int /*mode*/) {}
  virtual void SetExpoTask(int /*task*/) {}
  virtual void SetExpoState(int /*state*/) {}
  virtual void SetExpoStreetType(int /*type*/) {}
  virtual void ExpoSetTimeRating() {}
  virtual void ExpoBusSetTakt(int /*headway*/) {}
  virtual void ChangeStatistikGruppe(int /*group*/) {}
  virtual void StatToggle(int /*series*/) {}
  virtual void StatYearMax(int /*year*/) {}
  virtual void StatYearStep(int /*delta*/) {}
  virtual void StatGroupAll(bool /*on*/) {}
  virtual void StatClearScroll() {}
  virtual int GetStatView() { return 0; }
  virtual void SetStatChartSwitch(bool /*on*/) {}
  virtual void SetStatKmOrTrip(bool /*km*/) {}
  virtual void SetMessagePageIndex(int /*index*/) {}
  virtual void SelectEvent(int /*n*/) {}
  virtual void RemoveSelectedEvent() {}
  virtual void GotoSelectedEvent() {}
  virtual void SetEventListFlag(int /*flag*/) {}
  virtual void GotoActiveMessage() {}
  virtual void GotoSelectedMessage(int /*n*/) {}
  virtual void ToggleMessageProcessed(int /*n*/) {}
  // Help entry n of the message system; false when it has none.
  virtual bool GetHelpEntry(int /*n*/, const char** /*title*/, const char** /*text*/) { return false; }
  virtual void SetHelpEntry242(int /*n*/) {}
  virtual void StartTutorial() {}
  virtual void ToggleBottomPanelPinned() {}
  virtual int GetEnvInt(const char* /*key*/, int defaultValue) { return defaultValue; }
  virtual void SetHotlineOn() {}
  virtual void SetMusicMode(int /*mode*/) {}
  virtual void SetLanguage(int /*language*/) {}
  // Width and height of picture id; false when it does not exist.
  virtual bool GetPictureSize(int /*id*/, int* /*w*/, int* /*h*/) { return false; }

  // Displays drawn by other subsystems into an item's place.
  virtual void RenderTwoDMap(QnoDisplay* /*display*/, int /*x*/, int /*y*/) {}
  virtual void RenderTwoDMapColorKey(QnoDisplay* /*display*/, int /*x*/, int /*y*/) {}
  virtual void RenderStatistik(QnoDisplay* /*display*/, int /*x*/, int /*y*/, int /*w*/, int /*h*/) {}
  virtual void RenderUmland(QnoDisplay* /*display*/, int /*x*/, int /*y*/) {}
};
