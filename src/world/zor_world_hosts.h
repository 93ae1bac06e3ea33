#pragma once
// The root's side of the host interfaces through which the subsystems below
// it reach the world: each forwards to the world that owns it.
#include <memory>
#include <vector>

#include "gui/action.h"
#include "gui/gui_host.h"
#include "iso/iso_host.h"
#include "network/str_micro_host.h"
#include "sim/sim_location_factory.h"
#include "ui/ui_host.h"
#include "worldbase/zor_world_host.h"

class CCar;
class CZorvaWorld;

class CZorWorldHost : public CWorldHost {
 public:
  explicit CZorWorldHost(CZorvaWorld& world) : m_world(world) {}
  int GetLanguage() override;
  int AddSound(const char* name, int priority) override;
  int FadeOutSound(const char* name) override;
  void SetWorldObjectListFilter(CWorldObj* object) override;
  void SetAchtungWindow(int warning) override;
  bool GetShowMicroZellen() override;
  double GetPreis(int entry, int cls) override;
  int CheckForMoney(int amount) override;
  int GetWohnqualitaetMapXY(int x, int y) override;
  void VarAddValue(const char* name, double value) override;
  void DestroyPLSObject(CBuildingParkingObject* parking) override;

 private:
  CZorvaWorld& m_world;
};

// The location factory's view of the game: the street network's crossings,
// public transport's stops and the map with the world's factory.
class CZorLocationHost : public CSimLocationHost {
 public:
  explicit CZorLocationHost(CZorvaWorld& world) : m_world(world) {}
  short GetNearestCrossing(int x, int y, short excluded) override;
  int RegisterLocationAtCrossing(CSimLocation* location, short crossing) override;
  int RemoveLocationFromCrossing(short crossing, CSimLocation* location) override;
  int FindNearestHst(int x, int y, int xSize, int ySize, int radius, int most, short* ids, int* distances) override;
  bool HasMap() override;
  TObjectType GetTypeAt(int x, int y) override;
  CSimLocation* GetLocationAt(int x, int y) override;
  int SearchEmptySpaceFor(TObjectType kind, CSimLocation* lot, int resId, ESimLocationHeight height,
                          CLocationListT<CSimLocation>* replaced, TIsoRichtung* direction, int* x, int* y) override;
  int RemoveObjectAt(int x, int y) override;
  CWorldObj* CreateBuilding(TObjectType kind, int resId, TIsoRichtung direction, int x, int y) override;
  int CheckLocationForStreetDistance(CSimLocation* location, int distance, SimLocationSizeType* size) override;
  bool CheckResComIndForOnlyOne(TObjectType kind, CSimLocation* location, ESimLocationHeight height) override;

 private:
  CZorvaWorld& m_world;
};

// The micro simulation's view of the game: the street network, the car mix
// of the data exchange, the interface's vehicle lists and the map.
class CZorMicroHost : public CStrMicroHost {
 public:
  explicit CZorMicroHost(CZorvaWorld& world) : m_world(world) {}
  bool GetNextCarPicture(SMicroCarPicture& out) override;
  void AddCar(CCar* car) override;
  void RemoveCar(CCar* car) override;
  void AddBus(CMicroOpnv* bus) override;
  void RemoveBus(CMicroOpnv* bus) override;
  QnoResourceManager* GetResources() override;
  CIsoWelt* GetIsoWelt() override;
  bool IsSoundVisible(int x, int y) override;
  // A line vehicle's way and stops come from its line (zor_world_hosts_opnv.cpp).
  bool IsIsoPosHst(CMicroOpnv* bus, int x, int y) override;
  int GetAbzwStreetID(CMicroOpnv* bus, bool& flag, bool current) override;
  int GetNextStreetID(CMicroOpnv* bus) override;
  BinaryMicroSimObject* GetNextHstZelle(CMicroOpnv* bus, int x, int y, int simId) override;
  void VehicleDestroyed(CMicroOpnv* bus) override;

 protected:
  CStrJunctionList* GetStreets() override;

 private:
  CZorvaWorld& m_world;
};

// The map's view of the game: the world's factory and lists, the street and
// rail networks, the buildings and the interface controller.
class CZorIsoHost : public CIsoHost {
 public:
  explicit CZorIsoHost(CZorvaWorld& world) : m_world(world) {}

  CWorldObj* CreateObject(TObjectType kind) override;
  CWorldObj* CreateObjectEmpty() override;
  int DestroyObject(CWorldObj* object, int mode) override;
  CWorldObj* CreateObjectAt(TObjectType kind, int resId, CIsoRichtung direction, int x, int y) override;
  int GetBaseResID(bool first) override;
  int RemoveObject(int x, int y, TBaseType layer) override;
  CList* GetObjectList() override;
  void TurnMicroSim() override;
  void PlaceVehicles() override;
  bool IsExpoMode() override;

  bool GetBuildingFootprint(CWorldObj* object, IsoFootprint& footprint) override;
  int GetLocationHeight(CWorldObj* object) override;
  int GetDistrictAt(int x, int y) override;
  void GetMarkedBuildings(std::vector<IsoFootprint>& out) override;
  int GetCatalogueResID(int row) override;
  bool IsCatalogueGroup(int row) override;

  selObjType* GetSelection() override;
  int GetFilter(int n) override;
  bool IsDebugInfo() override;
  unsigned char GetTileMask(int x, int y) override;
  unsigned char GetTileMask2(int x, int y) override;
  bool GetBuildSurfaceStatus() override;
  void GetMousePosition(int& x, int& y) override;
  void SetMousePosition(int x, int y) override;
  void ResetCursor() override;
  void BackupCursor() override;
  void SetCursorID(int id, int state) override;
  void RestoreCursor() override;
  void RenderOpnvNet(QnoDisplay* display) override;
  bool GetLineColor(COpnvLine* line, unsigned char& r, unsigned char& g, unsigned char& b) override;
  void RenderOpnvLineStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour) override;
  void RenderOpnvLineHst(QnoDisplay* display, COpnvLine* line) override;
  void UpdateViewFilter(int x, int y) override;
  void UpdateViewRect(const IsoViewRectType& rect) override;

 private:
  CZorvaWorld& m_world;
  // The cars placed in a turn, kept between turns for their room.
  std::vector<CCar*> m_Placing;
};

// The interface controller's view of the world: display, resources, flags,
// savegames and the status line's values.
class CZorUiHost : public CUiHost {
 public:
  explicit CZorUiHost(CZorvaWorld& world) : m_world(world) {}
  void RenderIndikatoren(QnoDisplay* display) override;
  const uint8_t* GetIndicatorCellMap(int n) override;
  QnoResourceManager* GetResourceManager() override;
  QnoDisplay* GetDisplay() override;
  int GetScreenWidth() override;
  int GetScreenHeight() override;
  bool IsReady() override;
  bool IsGameStarted() override;
  bool DebugKeysAllowed() override;
  int GetGameModus() override;
  int GetExpoHold() override;
  int AutoSaveGame() override;
  int AutoLoadGame() override;
  int CheckForLoadGame() override;
  int LoadGame() override;
  int SaveGame() override;
  int ResetGame() override;
  int MakeLoadSaveGamesFromDirectory(bool save) override;
  void ShowAufgabeWindow() override;
  void SetObjectListFilter() override;
  void SetAchtungMessage(const char* text) override;
  void SetAchtungJaNeinText(const char* text) override;
  bool GetMoney(double* value) override;
  int GetPeople() override;
  void GetDate(int* month, int* year) override;
  // The ticker's short message and its tile (zor_world_hosts_messages.cpp).
  const char* GetTickerText() override;
  bool GetShortMessageTile(int* x, int* y) override;
  // Shortcuts and tools.
  void ToggleLanguage() override;
  bool HasAdviceCentre() override;
  bool HasCarsharingCentre() override;
  const float* GetCarsharingMap(float* maximum) override;
  // The factory for the placing and removal tools (zor_world_hosts_place.cpp).
  CWorldObj* CreateObject(int kind, int resId, int direction, int x, int y, int height) override;
  int RemoveObject(int x, int y, int layer) override;
  // Changes of the street network.
  int CheckStreetForRemove(CWorldObj* street, int& x, int& y, int& width, int& depth) override;
  void CheckAllLocationsForNearestCrossing() override;
  void StreetNetChanged() override;
  // The demand model's query district for the thematic map.
  bool GetQueryDistrict(int* x, int* y) override;
  // Route guidance's coverage map.
  const float* GetRouteGuidanceMap() override;
  void SetQueryDistrict(int x, int y) override;
  const float* GetStatisticMap(int layer, float* maximum) override;
  // The exhibition (zor_ui_host_expo.cpp).
  int GetExpoModus() override;
  void RenderExpoMarkers(QnoDisplay* display, int kind, bool blinkOn) override;
  void RenderExpoMarkersSmallMap(QnoDisplay* display, int kind, int x, int y) override;
  int GetExpoState() override;
  void SetExpoState(int state) override;
  void ExpoBusSetHst(int x, int y) override;
  void ExpoStreetSetStreet(int x, int y) override;
  void ExpoCheckWarningWindow(bool buttonOrKey) override;
  void ExpoRefreshLastMove() override;

 private:
  CZorvaWorld& m_world;
};

// The window toolkit's view of the interface, the world and the game model.
class CZorGuiHost : public CGuiHost {
 public:
  explicit CZorGuiHost(CZorvaWorld& world) : m_world(world) {}
  bool IsWindowOpen(int id) override;
  void AddToRenderList(CScreenWindow* window) override;
  void RemoveFromRenderList(CScreenWindow* window) override;
  void BringToFront(CScreenWindow* window) override;
  int GetYesNoWarningNumber() override;
  void SetType13PressFlag() override;
  bool IsLeftButtonHeld() override;
  bool IsTool(int tool, int subtool, int variant) override;
  int GetCurrentTool() override;
  bool IsPaused() override;
  bool IsBottomPanelPinned() override;
  bool IsViewFilterOn(int filter) override;
  const char* GetZorvaObjectName(int n) override;
  const char* GetGltText(int n) override;
  bool GetIndicator(const char* name, double* value) override;
  int GetScreenWidth() override;
  int GetScreenHeight() override;
  int GetGameSpeed() override;
  void SetGameSpeed(int v) override;
  void PlayTutorialVideo() override;
  // The welcome's way on: the tutorial once after a fresh installation.
  void StartTutorial() override;
  int GetLoadSaveGameMode() override;
  double GetSimHour() override;
  double GetSimYear() override;

  // The interface controller's operations the windows run.
  int GetGameMode() override;
  bool IsDebugInfoOn() override;
  void SetBlocked(bool on) override;
  int AutoLoadGame() override;
  int AutoSaveGame() override;
  void LeaveGame() override;
  void SetPause(bool on) override;
  void SetDoLater(int action) override;
  void SetToolNr(int tool, int subtool, int variant) override;
  void SetToolStandard() override;
  void DisableStandardMenues() override;
  void SetViewFilter(int filter, bool on) override;
  void TurnBuilding(bool left) override;
  // The thematic map.
  int GetThematicMapLayer() override;
  void ThematicMapInput(QnoInteractionEvent* event, QnoView* view) override;
  void ChangeThematicMapFilter(int layer) override;
  void ActivateTwoDMap(bool on) override;
  void RenderTwoDMap(QnoDisplay* display, int x, int y) override;
  void RenderTwoDMapColorKey(QnoDisplay* display, int x, int y) override;
  void SetIsoCenter(int x, int y) override;
  void MarkBuildingAt(int x, int y) override;
  void SetBalloonHelp(const char* text, int x, int y, int cost) override;
  void SetAchtungWindow(int text) override;
  void SetAchtungWindowJaNein(int text, int followUpKind) override;
  void ClearBuildingMarker() override;
  void PlayAbspannVideo() override;
  void ToggleBottomPanelPinned() override;
  void SetLanguage(int language) override;

  // The world, its settings and the game model.
  int GetGameSpeedMin() override;
  int GetGameSpeedMax() override;
  void SetGameMode(int mode) override;
  void SetLoadSaveGameMode(int mode) override;
  void SetExpoModus(int mode) override;
  void SetExpoState(int state) override;
  void SetExpoTask(int task) override;
  void SetExpoStreetType(int type) override;
  void ExpoSetTimeRating() override;
  void ExpoBusSetTakt(int headway) override;
  void ExpoRestart() override;
  bool IsHotlineOn() override;
  void SetHotlineOn() override;
  // The sound object's music mode, shown and switched by the options window.
  int GetMusicMode() override;
  void SetMusicMode(int mode) override;
  int GetEnvInt(const char* key, int defaultValue) override;
  void SetWindowMode(int mode) override;
  uint32_t GetStartupTicks() override;
  // The savegame list and the typed name, held by the world.
  void MakeLoadSaveGamesFromDirectory(bool keepMode) override;
  void ClearNameEntry() override;
  void ClearNameInput() override;
  void SetNameInput(const char* text) override;
  void OpenNameInput(int cursor) override;
  const char* GetNameInput(int* cursor, bool* open) override;
  void DeaktivateEingabe() override;
  int GetSaveGameCount() override;
  const char* GetSaveSlotName(int slot) override;
  void SetSelectedLoadSaveName(int slot) override;
  int GetSelectedLoadSaveName() override;
  bool CheckSelectedLoadSaveName() override;
  int CheckForSaveGame() override;
  int CheckForLoadGame() override;
  int DeleteGame() override;
  uint32_t GetTicksAfterLoad() override;
  void PlaySound(const char* name) override;
  bool GetPictureSize(int id, int* w, int* h) override;
  void VarAddValue(const char* name, double value) override;
  void TakeCredit(long amount) override;
  void RepayCredit(long amount) override;
  void SetAdviser(int adviser) override;
  // Item action 52's word of the data exchange.
  void SetDataExchangeSelection(int value) override;
  void UpdateMeasurePageHints() override;
  // The message system's texts, event list and advisers
  // (zor_world_hosts_messages.cpp).
  const char* GetMessageText(int itemType) override;
  int GetSelectedEvent() override;
  int GetEventListFlag() override;
  void SetEventListFlag(int flag) override;
  int GetMessagePageIndex() override;
  void SetMessagePageIndex(int index) override;
  bool IsMessageProcessed(int n) override;
  bool CheckMessageForJump(int n) override;
  void SelectEvent(int n) override;
  void RemoveSelectedEvent() override;
  void GotoSelectedEvent() override;
  void GotoActiveMessage() override;
  void GotoSelectedMessage(int n) override;
  void ToggleMessageProcessed(int n) override;
  bool GetHelpEntry(int n, const char** title, const char** text) override;
  // The help entry the text help window 242 shows.
  int GetHelpEntry242() override { return m_helpEntry242; }
  void SetHelpEntry242(int n) override { m_helpEntry242 = n; }
  int GetMaxMessage() override;
  const char* GetMessageE(int n) override;
  bool GetMessageHourMinute(int n, int* hour, int* minute) override;
  bool GetWindow239Opened() override;
  void SetWindow239Opened(bool on) override;
  // The interface's selections.
  int GetStreet24hLoad(int direction, int hour) override;
  void ClearSelectedStreet() override;
  void ClearSelectedCrossing() override;
  void ClearWarningHighlight() override;
  void ClearAdviserSelection() override;
  bool GetSelectedCrossingLights(int* lights) override;
  void SetLineReopenWindow(int id) override;
  // Public transport's lines and the fleet purchase's question
  // (zor_gui_host_opnv.cpp).
  CWorldObj* GetLineByID(int number) override;
  CWorldObj* SetActiveLine(int number) override;
  bool GetActiveLine(int* number, int* kind) override;
  CWorldObj* GetOpnvNet() override;
  void SetSelectedLine(CWorldObj* line, int number) override;
  void RemoveSelectedLine() override;
  void CentreOnLine(CWorldObj* line) override;
  bool IsFleetTradeEntered() override;
  void ResetEinVerkauf() override;
  bool IsConfirmationPending() override;
  void SetConfirmationPending() override;
  void ClearPendingConfirmation() override;
  void SaveConfirmationAction(const CAction& action) override;
  CAction* GetConfirmationAction() override;
  void SetFollowUpFlag() override;
  // The statistics' chart and panels and god mode's switches
  // (zor_gui_host_statistik.cpp).
  bool IsGottWertActive(int n) override;
  void ToggleGottWertActive(int n) override;
  void SetGottActive() override;
  bool IsStatSeriesShown(int series) override;
  int GetStatKmOrTrip() override;
  bool GetStatChartSwitch() override;
  int GetStatSelectedChart() override;
  int GetStatView() override;
  void ChangeStatistikGruppe(int group) override;
  void StatToggle(int series) override;
  void StatYearMax(int quarters) override;
  void StatYearStep(int delta) override;
  void StatGroupAll(bool on) override;
  void StatClearScroll() override;
  void SetStatChartSwitch(bool on) override;
  void SetStatKmOrTrip(bool km) override;
  void RenderStatistik(QnoDisplay* display, int x, int y, int w, int h) override;
  void RenderUmland(QnoDisplay* display, int x, int y) override;
  // The removal questions' answers (zor_world_hosts_place.cpp).
  double GetPendingRemovalCost() override;
  void ResetSelectedBuildingList() override;
  void ClearRemovalWord() override;
  void CheckForRemoveObjectSelected() override;
  void RemoveBuildingSelectedBuildingList() override;
  int RemoveSelectedObject() override;

 private:
  CZorvaWorld& m_world;
  // The action that waits for the answer to the fleet purchase's question.
  std::unique_ptr<CAction> m_confirmationAction;
  bool m_confirmationPending = false;
  bool m_followUp = false;
  int m_helpEntry242 = -1;
};
