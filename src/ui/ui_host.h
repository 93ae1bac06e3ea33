#pragma once
// What the interface controller asks of the world above it: the world's
// display and resources, its flags, its savegame operations and the game
// model's texts and values shown in the status line. The world installs its
// implementation at start-up; tests install a scripted one. Every default
// is a stand-in: it answers as a world with nothing loaded would and says
// once in the log that no part of the game answered.
#include <cstdint>

#include "framework/zor_stand_in.h"

class QnoDisplay;
class QnoResourceManager;
class CWorldObj;

class CUiHost {
 public:
  virtual ~CUiHost() = default;

  // The installed host, never null: without one a default host answers.
  static CUiHost* Get();
  // The caller keeps ownership; null restores the default.
  static void Install(CUiHost* host);

  // World state.
  virtual QnoResourceManager* GetResourceManager() {
    ZOR_STAND_IN("CUiHost");
    return nullptr;
  }
  virtual QnoDisplay* GetDisplay() {
    ZOR_STAND_IN("CUiHost");
    return nullptr;
  }
  virtual int GetScreenWidth() {
    ZOR_STAND_IN("CUiHost");
    return 800;
  }
  virtual int GetScreenHeight() {
    ZOR_STAND_IN("CUiHost");
    return 600;
  }
  // The world's ready flag: while it is clear no mouse handler runs.
  virtual bool IsReady() {
    ZOR_STAND_IN("CUiHost");
    return true;
  }
  // The player has left the start windows.
  virtual bool IsGameStarted() {
    ZOR_STAND_IN("CUiHost");
    return false;
  }
  // The settings file allows the debug keys and their lock (a developer's
  // setting, off unless written there).
  virtual bool DebugKeysAllowed() {
    ZOR_STAND_IN("CUiHost");
    return false;
  }
  // The exhibition holds the game.
  virtual int GetExpoHold() {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }
  // 0 free play, 1 normal game, 2 scenario, 3 exhibition.
  virtual int GetGameModus() {
    ZOR_STAND_IN("CUiHost");
    return 1;
  }
  virtual int GetExpoModus() {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }

  // Savegames, run by the deferred actions. Results as the world's own
  // operations give them: a load check of 1 means loadable, 0 is success
  // for the rest.
  virtual int CheckForLoadGame() {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }
  virtual int LoadGame() {
    ZOR_STAND_IN("CUiHost");
    return 1;
  }
  virtual int SaveGame() {
    ZOR_STAND_IN("CUiHost");
    return 1;
  }
  virtual int ResetGame() {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }
  virtual int AutoSaveGame() {
    ZOR_STAND_IN("CUiHost");
    return 1;
  }
  virtual int AutoLoadGame() {
    ZOR_STAND_IN("CUiHost");
    return 1;
  }
  // Re-reads the savegame list; save selects the saving kind.
  virtual int MakeLoadSaveGamesFromDirectory(bool /*save*/) {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }
  // God mode's task window of a scenario, shown once after a scenario is
  // loaded. Without a game there is no scenario, so nothing shows.
  virtual void ShowAufgabeWindow() {}
  // Every world object takes its filter picture again.
  virtual void SetObjectListFilter() { ZOR_STAND_IN("CUiHost"); }

  // The message system's warning and question texts.
  virtual void SetAchtungMessage(const char* /*text*/) { ZOR_STAND_IN("CUiHost"); }
  virtual void SetAchtungJaNeinText(const char* /*text*/) { ZOR_STAND_IN("CUiHost"); }

  // The status line.
  virtual bool GetMoney(double* /*value*/) {
    ZOR_STAND_IN("CUiHost");
    return false;
  }
  virtual int GetPeople() {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }
  // Month 0-11 and year of the simulation date.
  virtual void GetDate(int* month, int* year) {
    ZOR_STAND_IN("CUiHost");
    *month = 0;
    *year = 0;
  }
  // The current ticker text, null when none.
  virtual const char* GetTickerText() {
    ZOR_STAND_IN("CUiHost");
    return nullptr;
  }
  virtual void RenderIndikatoren(QnoDisplay* /*display*/) { ZOR_STAND_IN("CUiHost"); }
  // God mode's exhibition task markers, on the map and on the small map.
  virtual void RenderExpoMarkers(QnoDisplay* /*display*/, int /*kind*/, bool /*blinkOn*/) { ZOR_STAND_IN("CUiHost"); }
  virtual void RenderExpoMarkersSmallMap(QnoDisplay* /*display*/, int /*kind*/, int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CUiHost");
  }
  // God mode's exhibition step, its operations on a clicked cell, its
  // warning windows (on a mouse button or key too) and its idle time.
  virtual int GetExpoState() {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }
  virtual void SetExpoState(int /*state*/) { ZOR_STAND_IN("CUiHost"); }
  virtual void ExpoBusSetHst(int /*x*/, int /*y*/) { ZOR_STAND_IN("CUiHost"); }
  virtual void ExpoStreetSetStreet(int /*x*/, int /*y*/) { ZOR_STAND_IN("CUiHost"); }
  virtual void ExpoCheckWarningWindow(bool /*buttonOrKey*/) { ZOR_STAND_IN("CUiHost"); }
  virtual void ExpoRefreshLastMove() { ZOR_STAND_IN("CUiHost"); }

  // ---- shortcuts and tools ----
  // Switches the game between German and English.
  virtual void ToggleLanguage() { ZOR_STAND_IN("CUiHost"); }
  // The city has its travel advice centre; car sharing has its centre.
  virtual bool HasAdviceCentre() {
    ZOR_STAND_IN("CUiHost");
    return false;
  }
  virtual bool HasCarsharingCentre() {
    ZOR_STAND_IN("CUiHost");
    return false;
  }
  // ---- the world's factory, for the placing and removal tools ----
  // Places an object of the kind with its picture, direction 0..3 and height
  // class at the cell; null when none is made there.
  virtual CWorldObj* CreateObject(int /*kind*/, int /*resId*/, int /*direction*/, int /*x*/, int /*y*/,
                                  int /*height*/) {
    ZOR_STAND_IN("CUiHost");
    return nullptr;
  }
  // Removes the object on the cell's layer (0 ground, 1 upper); 0 when it
  // was removed.
  virtual int RemoveObject(int /*x*/, int /*y*/, int /*layer*/) {
    ZOR_STAND_IN("CUiHost");
    return 1;
  }
  // ---- changes of the street network ----
  // 1 when removing the street of this world object would leave a building
  // without its last street access, with that building's tile rectangle.
  virtual int CheckStreetForRemove(CWorldObj* /*street*/, int& /*x*/, int& /*y*/, int& /*width*/,
                                   int& /*depth*/) {
    ZOR_STAND_IN("CUiHost");
    return 0;
  }
  // Every building location searches its nearest crossing again.
  virtual void CheckAllLocationsForNearestCrossing() { ZOR_STAND_IN("CUiHost"); }
  // The street or rail network changed through a tool: the game model
  // measures the lengths of both networks by class again.
  virtual void StreetNetChanged() { ZOR_STAND_IN("CUiHost"); }
  // ---- what the thematic map shows ----
  // The demand model's district from which accessibility is shown; false
  // when there is none.
  virtual bool GetQueryDistrict(int* /*x*/, int* /*y*/) {
    ZOR_STAND_IN("CUiHost");
    return false;
  }
  virtual void SetQueryDistrict(int /*x*/, int /*y*/) { ZOR_STAND_IN("CUiHost"); }
  // The demand model's 16 x 16 district map of a statistic layer (index
  // a x 16 + b for the district of cells x = 8a.., y = 8b..) with its
  // largest value; null when it has none.
  virtual const float* GetStatisticMap(int /*layer*/, float* maximum) {
    ZOR_STAND_IN("CUiHost");
    *maximum = 0.0f;
    return nullptr;
  }
  // The 16 x 16 district maps of route guidance and of car sharing (with
  // its largest value); null when there is none.
  virtual const float* GetRouteGuidanceMap() {
    ZOR_STAND_IN("CUiHost");
    return nullptr;
  }
  virtual const float* GetCarsharingMap(float* maximum) {
    ZOR_STAND_IN("CUiHost");
    *maximum = 0.0f;
    return nullptr;
  }
  // The indicators' cell map n (1 noise, 2 emissions, 3 living quality):
  // one byte per cell, y x 128 + x; null when there is none.
  virtual const uint8_t* GetIndicatorCellMap(int /*n*/) {
    ZOR_STAND_IN("CUiHost");
    return nullptr;
  }
  // The tile of the short message in the ticker; false when it has none.
  virtual bool GetShortMessageTile(int* /*x*/, int* /*y*/) {
    ZOR_STAND_IN("CUiHost");
    return false;
  }
};
