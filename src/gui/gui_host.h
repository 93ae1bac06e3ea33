#pragma once
// What the window toolkit asks of the interface controller, the world and
// the game model. The toolkit sits below them, so it reaches them through
// this one interface; the controller installs its implementation, and tests
// install a scripted one. The defaults answer as a game with nothing open,
// nothing selected and no data would.
#include <cstdint>

#include "framework/qno_event.h"

class CScreenWindow;
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

  // Displays drawn by other subsystems into an item's place.
  virtual void RenderTwoDMap(QnoDisplay* /*display*/, int /*x*/, int /*y*/) {}
  virtual void RenderTwoDMapColorKey(QnoDisplay* /*display*/, int /*x*/, int /*y*/) {}
  virtual void RenderStatistik(QnoDisplay* /*display*/, int /*x*/, int /*y*/, int /*w*/, int /*h*/) {}
  virtual void RenderUmland(QnoDisplay* /*display*/, int /*x*/, int /*y*/) {}
};
