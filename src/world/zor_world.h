#pragma once
// The root object of the game. It creates, owns and orders every long-lived
// object, holds the state that the turn, the input filter and the renderer
// share, opens the archives, the screen and the audio device, and tears
// everything down again at the end.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/qno_event.h"
#include "framework/qno_object.h"
#include "framework/zor_file_layer.h"
#include "gui/window_builder.h"
#include "sim/sim_date.h"
#include "worldbase/sim_location_types.h"
#include "worldbase/zor_env_table.h"

class QnoView;
class QnoDisplay;
class QnoResourceManager;
class CWorldObj;
class CBaseObject;
class CSecondLayerObject;
class CList;
class CSoundObj;
class CSimLocationFactory;
class CSimLocation;
template <class Location>
class CLocationListT;
class CBuildingObject;
class CStreetObj;
enum TIsoRichtung : int32_t;
class CSimWelt;
class CUserInt;
class CIsoWelt;
struct ZorKeptPlay;
struct ZorObjectPlace;
class CMessage;
class CMessageHost;
class CIndikatoren;
class CMicroSimulation;
class CStrJunctionList;
class CStrSchJuncList;
class CDataExchange;
class CMeasure;
class CMietMicro;
class CTrafficDisplay;
class CParkManagement;
class COpnv;
class CCarsharing;
class CGottModus;
class CParkRide;
class CZorviZentrale;
class CAktiveRoutenPlanung;
class CPassiveRoutenPlanung;
class CUmland;
class CFinanzen;
class CStadtVerwaltung;
class CPta;
class CStatistik;
class CPreise;
class CZorWorldSimParts;
class CZorWorldHost;
class CZorIsoHost;
class CZorLocationHost;
class CZorGrowthContext;
class CZorExpoHost;
class CSimLocationHost;
class CZorMicroHost;
class CZorUiHost;
class CZorGuiHost;
class CZorOpnvHost;
class CZorMeasureHost;
class CIsoHost;
class ZorFileLayer;
struct ParkingDataType;
// The two layers of a map cell (iso/iso_object.h).
enum TBaseType : int32_t;
// Object kinds and directions (worldbase/zor_types.h).
enum TObjectType : int32_t;
class CIsoRichtung;
struct PotentialType;

// Set when the small map's picture is to be cleared before the next frame.
extern int resetSmallMap;
// When the last Return or typed key of the input filter came (ticks).
extern uint32_t m_TicksLastKey;

class CZorvaWorld : public CZorvaObject {
 public:
  // The settings file name, chosen by main.
  static char m_sIniFile[400];
  // 0 German, 1 English.
  static int m_Language;
  static CZorvaWorld* m_pThis;
  static QnoDisplay* m_pDisplay;
  static QnoView* m_pView;
  // 1 while the demand simulation is being created.
  static int m_LoadGame;
  // The screen stays black while this is set during start-up.
  static unsigned char m_RenderEmpty;
  static constexpr uint32_t kAutoSaveInterval = 120000;
  // The time of a turn in which it goes on computing the simulated hour;
  // the rest of the frame is left to the map, the interface and drawing.
  static constexpr uint32_t kComputeBudgetMs = 12;

  // Reads the settings and creates the resource manager (fatal on failure).
  CZorvaWorld();
  ~CZorvaWorld() override;

  int Create() override;
  int Destroy() override;
  virtual int OnPlayloopTurn();
  // Whether the next turn has work that should not wait for the next
  // frame's time: a simulated hour, or the loaded hour's routing, that the
  // running game is computing.
  virtual bool HasComputationDue() const;
  virtual int OnStartup();
  // 0 when the event was consumed.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view);
  // The window lost the input focus: drags end without building.
  void InputFocusLost();
  virtual int Render(QnoDisplay* display);
  virtual int OnShutdown();
  int OnStartOfCycle();

  // Start-up pieces.
  int OpenWadFiles();
  int OpenDisplay(int& width, int& height);
  QnoView* OpenView(int width, int height, int bits, bool fullScreen, bool hardware);
  // Closes SDL and opens the screen again at the new size; false when no
  // screen could be opened (the old one is gone then).
  bool ReOpenView(int width, int height, int bits, bool fullScreen, bool hardware);
  // Switches the screen size; 0, or 1 when the new size could not be opened
  // and the one before was restored. Without any screen the game ends.
  int SetWindowMode(int mode, int width, int height);
  int GetWindowMode() const;
  int InterpretIniFile();
  void NewCreatePureZorvaObjects();
  void DestroyDeletePureZorvaObjects();
  // Hands the singletons to the data exchange as the owners of their names.
  void RegisterVarOwners();
  void SetWindowObjects();
  // Pages 90, 87, 81 and 84 of the measures group show their companion page
  // while the advice centre and masts, the masts, the centre or the car
  // sharing outlets, in this order, number 0.
  void UpdateMeasurePageHints();
  int InitializeTools();

  // Window building, forwarded to the one window builder. The signatures
  // are spelled out so that NULL and 0 pass for an absent text or name.
  int AddWindow(int id, int x, int y, int w, int h, int parent, EScreenWindowType type, EPositionType position,
                int link) {
    return m_builder.AddWindow(id, x, y, w, h, parent, type, position, link);
  }
  int AddDialog(int window, int id, int x, int y, int w, int h, EDialogType type, const char* name) {
    return m_builder.AddDialog(window, id, x, y, w, h, type, name);
  }
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type) {
    return m_builder.AddItem(window, dialog, x, y, w, h, type);
  }
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, int res, int res2) {
    return m_builder.AddItem(window, dialog, x, y, w, h, type, res, res2);
  }
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, int resDE, int resDE2, int resEN,
              int resEN2) {
    return m_builder.AddItem(window, dialog, x, y, w, h, type, resDE, resDE2, resEN, resEN2);
  }
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, EFilledType fill, int a, int b) {
    return m_builder.AddItem(window, dialog, x, y, w, h, type, fill, a, b);
  }
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, const char* textDE, EHO h_align,
              EVO v_align, int reserved, int font, int colour, int highlightColour, int a, int b,
              const char* textEN) {
    return m_builder.AddItem(window, dialog, x, y, w, h, type, textDE, h_align, v_align, reserved, font, colour,
                             highlightColour, a, b, textEN);
  }
  int AddAction(int window, int dialog, int item, EActionType kind, EActionWhen when, EInOutType inout, int p1,
                int p2, int p3, const char* name, int p4) {
    return m_builder.AddAction(window, dialog, item, kind, when, inout, p1, p2, p3, name, p4);
  }
  int AddVar(int window, int dialog, int item, EVarType type, const char* object, const char* name) {
    return m_builder.AddVar(window, dialog, item, type, object, name);
  }
  int AddButton(int x, int y, int w, int h, int resDE, EActionType kind, int p1, int balloon, int resEN) {
    return m_builder.AddButton(x, y, w, h, resDE, kind, p1, balloon, resEN);
  }
  int AddBalloonHelp(int nr) { return m_builder.AddBalloonHelp(nr); }
  int AddHilfe(int x, int y, int topic) { return m_builder.AddHilfe(x, y, topic); }
  int AddHilfeDynamic(int x, int y, int p1, int p2, int p3, int picture, int p4) {
    return m_builder.AddHilfeDynamic(x, y, p1, p2, p3, picture, p4);
  }
  // Opens a window with its group, or closes it alone; 0 always.
  int ActivateWindow(int id) { return m_builder.ActivateWindow(id); }
  int DeActivateWindow(int id) { return m_builder.DeActivateWindow(id); }
  CWindowBuilder& GetWindowBuilder() { return m_builder; }

  // ---- savegame files and names (zor_savegame_names.cpp) ----
  // The game under the typed name in the savegame folder; 1 when nothing
  // was written (no name, a supplied game's name, a failed save).
  int SaveGame();
  // "FASTSAVE.AUD", or "AUTOSAVE" with the game mode's extension.
  virtual int AutoSaveGame(bool fast);
  int LoadGame();
  virtual int AutoLoadGame(bool fast);
  virtual int LoadStartupGame();
  // Loads the new game "DATA.00D"; 1 when it could not be loaded.
  int ResetGame();
  // True when "AUTOSAVE.AUD" can be read.
  virtual bool CheckForAutoLoadGame();
  // 1 when the typed name's savegame exists (game mode, listing mode); a
  // supplied game, which the save refuses, counts as none.
  int CheckForSaveGame();
  int CheckForLoadGame();
  // 1 when the typed name's savegame was removed.
  int DeleteGame();
  // 1 when the name is a supplied game's (listed in "GND.TXT").
  int CheckForMitgeliefert(const char* name);
  int CheckForGameNotOverWrite(const char* name);
  // The list of the listing mode's savegames (at most kMaxSaveNames).
  static constexpr int kMaxSaveNames = 50;
  // A name of up to 30 characters and its terminator.
  static constexpr int kSaveNameSize = 31;
  int MakeLoadSaveGamesFromDirectory(const char* dir, bool keepMode);
  void SetSaveLoadFile(int i);
  const char* GetLoadSaveName();
  const char* GetLoadSaveName(int i, bool flag);
  void ResetLoadSaveName();
  // Puts a text into the name entry (cut to its field).
  void SetLoadSaveName(const char* text);
  int GetLoadSaveMaxName() const { return m_LoadSaveCount; }
  int GetEingabeBuchstaben() const { return m_EntryCursor; }
  bool IsEingabeAktiv() const { return m_EntryActive != 0; }
  void AktivateEingabe();
  // Opens the name entry with its cursor on place `cursor`, at the name's
  // end for -1 or a place behind it.
  void AktivateEingabeAt(int cursor);
  void DeaktivateEingabe();
  void SetSelectedLoadSaveName(int i) { m_SelectedLoadSaveName = i; }
  int GetSelectedLoadSaveName() const { return m_SelectedLoadSaveName; }
  bool CheckSelectedLoadSaveName();
  // ---- end of savegame files and names ----
  // ---- savegame container (zor_savegame.cpp) ----
  // Writes the game to the savegame `name` and its companion; 0 when both
  // are whole on disk, 1 otherwise (the old files are then as they were).
  using CZorvaObject::SerializeGameStore;
  virtual int SerializeGameStore(const char* name);
  // Loads the savegame `name`; 0 when loaded, 1 when not, and then the game
  // goes on as it was.
  using CZorvaObject::SerializeGameLoad;
  virtual int SerializeGameLoad(const char* name);
  // The whole game as the bytes of a savegame and its companion.
  bool SerializeToMemory(std::string& binary, std::string& companion);
  // Waits for the savegame that the periodic save is writing on its worker
  // thread; false when that write failed (the old files are then as they
  // were, and the player is shown the failed-save warning).
  bool WaitForSave();
  // Whether a periodic save was handed to its worker and not waited for.
  bool SaveBeingWritten() const { return m_SaveWrite.Started(); }
  // Tests fail file operations through their own layer; null restores the
  // real one. The caller keeps ownership.
  void SetFileLayer(ZorFileLayer* layer);
  // The version of the savegame being read, for the section readers.
  static int g_LoadVersion;
  // When the last load finished (ms).
  static uint32_t m_TicksAfterLoad;
  // ---- end of savegame container ----
  int DestroyObjectList(int kind);
  // After a load's teardown: takes out and frees what is still listed.
  void DropListLeftovers();
  bool IsPause() const;
  void SetPause(bool on);

  // ---- world services (zor_world_services.cpp) ----
  // Videos are looked up, not shown: the game has no player for them. The
  // look-up records the time, and the frame stays empty for a while after
  // it (Render).
  static bool FileExists(const char* path);
  // Reads VIDEO and records the video as the last one asked for; 0.
  virtual int PlayVideo(const char* path, int type, bool wait);
  // 1 when the intro is missing.
  int PlayVorspannVideo();
  int PlayAbspannVideo();
  // A missing tutorial shows warning 61.
  int PlayTutorialVideo();
  // The tutorial after a fresh installation, once: AFTERINSTALLATION is
  // stored as 1 before the look-up.
  void StartTutorialFirstTime();
  const char* GetLastVideo() const { return m_LastVideo; }
  int64_t GetLastVideoTime() const { return m_LastVideoTime; }
  // While a savegame is read: at most every 500 ms the loading bar shows
  // the file's position against the size the loader recorded.
  int RenderLadeAnzeige(FILE* file);
  void SetLoadFileSize(long size) { m_LoadFileSize = size; }
  // Every listed object, then the map, take the interface's filters.
  void SetObjectListFilter();
  // The sim id of the street crossing nearest to the cell's group, other
  // than `excluded` (0 excludes none), and its distance; 0 when there is none.
  short GetNearestCrossing(int x, int y, int* distance, short excluded);
  int RegisterLocationAtCrossing(CSimLocation* location, short crossing);
  int RemoveLocationFromCrossing(short crossing, CSimLocation* location);
  // The stop nearest to the rectangle of cells, within the distance (100 per
  // cell), from public transport's stops: 0 when one was found, else 1.
  int FindNearestHst(short x1, short y1, short x2, short y2, int distance, unsigned char flag, short* stop,
                     int* stopDistance, unsigned char* found);
  // Destroys every rail piece object that no track of the rail network
  // holds; one that a map cell still shows stays (and is logged). The count
  // destroyed.
  int RemoveDummyRailObject();
  uint32_t GetTime() const;
  uint64_t GetRealTime() const { return m_TotalTime; }
  bool TestMicroSim() const { return m_MicroTest == 1; }
  bool IsCCVersion() const { return m_IsCC != 0; }
  bool IsMouseEnabled() const { return m_MouseEnabled != 0; }
  void SetMouseEnabled(unsigned char on) { m_MouseEnabled = on; }
  // Sets the current map layer; the one before.
  TBaseType SetLevel(TBaseType layer);
  // True at 800 x 600.
  bool GetWindowSizeXY(int& w, int& h) const {
    w = m_ScreenWidth;
    h = m_ScreenHeight;
    return w == 800 && h == 600;
  }
  // ---- end of world services ----

  // ---- space rules (zor_space_rules.cpp) ----
  // A location's footprint is its building's cells: the size given (1 x 1
  // when absent, 0 or above 10 wide or deep), turned with the building.
  // 0 when a street or crossing lies within `distance` cells of it.
  int CheckLocationForStreetDistance(CSimLocation* location, int distance, SimLocationSizeType* size);
  // 0 when the location reaches a street other than `street`; 1 when it
  // hangs on `street` alone, with its position and turned size written out.
  int CheckLocationForOtherStreetDistance(CSimLocation* location, int distance, SimLocationSizeType* size,
                                          CStreetObj* street, int& x, int& y, int& width, int& depth);
  // 1 when removing the street would cut a building at one of its
  // junctions off every street (that building written out), else 0.
  int CheckStreetForRemove(CStreetObj* street, int& x, int& y, int& width, int& depth);
  // Whether a building of the kind and height may join the location's
  // neighbours of its like: none, or one with a chance of 1 in 10.
  bool CheckResComIndForOnlyOne(TObjectType kind, CSimLocation* location, ESimLocationHeight height);
  // A place for the larger building `resId` over the location's block of
  // buildings of its kind and height: 0 with the place, a random direction
  // and the other locations it replaces (each once); 1 when none fits or
  // the location lies more than 3 cells from any street.
  int SearchEmptySpaceFor(TObjectType kind, CSimLocation* location, int resId, ESimLocationHeight height,
                          CLocationListT<CSimLocation>* replaced, TIsoRichtung* direction, int* x, int* y);
  // The listed building of the location; null when there is none.
  CBuildingObject* BuildingOf(const CSimLocation* location) const;
  // ---- end of space rules ----

  // Owned objects.
  QnoDisplay* GetDisplay() { return m_pDisplay; }
  SDL_Surface* GetScreen() { return m_pScreen; }
  QnoResourceManager* GetResourceManager() { return m_pResourceManager; }
  CSoundObj* GetSoundObj() { return m_pSoundObj; }
  CList* GetObjectList() { return m_pObjectList; }
  CSimLocationFactory* GetLocationFactory() { return m_pLocationFactory; }
  CUserInt* GetUserInt() { return m_pUserInt; }
  CSimWelt* GetSimWelt() { return m_pSimWelt; }
  CIsoWelt* GetIsoWelt() { return m_pIsoWelt; }
  // What the map reaches of the world; made on first use.
  CIsoHost* GetIsoHost();
  CSimLocationHost* GetLocationHost();
  CMessage* GetMessage() { return m_pMessage; }
  CIndikatoren* GetIndikatoren() { return m_pIndikatoren; }
  CMicroSimulation* GetMicroSim() { return m_pMicroSim; }
  CStrJunctionList* GetStreetNet() { return m_pStreetNet; }
  CStrSchJuncList* GetRailNet() { return m_pRailNet; }
  CDataExchange* GetDataExchange() { return m_pDataExchange; }
  CMietMicro* GetMietMicro() { return m_pMietMicro; }
  CTrafficDisplay* GetTrafficDisplay() { return m_pTrafficDisplay; }
  CParkManagement* GetParkManagement() { return m_pParkManagement; }
  COpnv* GetOpnv() { return m_pOpnv; }
  CCarsharing* GetCarsharing() { return m_pCarsharing; }
  CGottModus* GetGottModus() { return m_pGottModus; }
  CParkRide* GetParkRide() { return m_pParkRide; }
  CZorviZentrale* GetZorviZentrale() { return m_pZorviZentrale; }
  CAktiveRoutenPlanung* GetAktiveRP() { return m_pAktiveRP; }
  CPassiveRoutenPlanung* GetPassiveRP() { return m_pPassiveRP; }
  CUmland* GetUmland() { return m_pUmland; }
  CFinanzen* GetFinanzen() { return m_pFinanzen; }
  CStadtVerwaltung* GetStadtVerwaltung() { return m_pStadtVerwaltung; }
  CPta* GetPta() { return m_pPta; }
  CStatistik* GetStatistik() { return m_pStatistik; }
  CPreise* GetPreise() { return m_pPreise; }
  void FlipBuffer();

  // Settings.
  int LoadEnvFromIni(const char* path);
  int SetEnvString(const char* key, const char* value);
  int SetEnv(const char* key, const char* value);
  int SetEnv(const char* key, int value);
  const char* GetEnvValue(const char* key, const char* defaultValue);
  int GetEnvValue(const char* key, int defaultValue);
  bool GetEnvOnOff(const char* key);
  // The settings file's DEBUGKEYS=1: the debug keys and their lock act. A
  // developer's setting that the game never writes, so a player never
  // meets them.
  bool DebugKeysAllowed() const;
  // Switches the game to language 0 (German) or 1 (English; any other
  // value counts as German): the message system and every window follow,
  // and the LANGUAGE setting keeps it.
  void ChangeLanguage(int language);
  void ResetEnvDescription();
  CEnvTable& GetEnvTable() { return m_env; }

  // Sounds of world objects, played through the sound object when there is one.
  int AddSound(const char* name, int priority);
  int FadeOutSound(const char* name);
  // Sets the filter icon of one object from the interface's map filters.
  void SetWorldObjectListFilter(CWorldObj* object);

  // The ground of empty cells: one shared object, one more reference per
  // call; and the table of ground tile ids the map picks from.
  CBaseObject* CreateObjectEmpty();
  static constexpr int kMaxBaseResIDs = 12;
  // Stores a ground tile id in the first free slot; nothing once full.
  void AddBase(int resId);
  // The first ground id when `first`, else a random one of the table; 0
  // while the table is empty.
  int GetBaseResID(bool first);
  // The graphics record of a street type, kept by the map; 1 without a map.
  int DefineStreet(int type, int straightId, int straightLayer, int curveId, int curveLayer, int crossId,
                   int crossLayer, int tId, int tLayer, int endId, int endLayer, unsigned short capacity);
  // One row of the building catalogue: (resource id, object type, kind,
  // graphic flag, capacity fields 1, 2, 3, 5, 4, 6, 7, 8, 9, size class,
  // unused); field 4 becomes the work places (2 + 3 + 4), field 6 the
  // leisure places (1 / 12 + 6). The catalogue's answer: 0 added, 1 full.
  int DefineTileGroup(int resId, int objectType, int kind, int graphic, int f1, int f2, int f3, int f5, int f4,
                      int f6, int f7, int f8, int f9, int sizeClass, int unused);

  // State shared by the turn, the input filter and the renderer.
  // The game speed as the interface's slider shows it: 30000 minus the
  // real milliseconds per simulated hour, from 6000 (slow) to 24000.
  static constexpr int kGameSpeedSum = 30000;
  int GetGameSpeed() const { return kGameSpeedSum - m_GameSpeed; }
  // Sets the milliseconds per hour from the slider's value and keeps them
  // in GAMESPEED.
  void SetGameSpeed(int slider);
  static constexpr int GetGameSpeedMax() { return 24000; }
  static constexpr int GetGameSpeedMin() { return 6000; }
  // Real milliseconds per simulated hour.
  int GetGameSpeedMs() const { return m_GameSpeed; }
  int GetStartupPhase() const { return m_StartupPhase; }
  // The exhibition: its start on its own map (at start-up and again when a
  // visitor is done or has left it idle), and its part of every turn: the
  // warning windows, the rating and the idle time-out. A restart asked for
  // by a window waits for the next turn.
  void ExpoStart();
  bool ExpoTurn();
  void RequestExpoRestart() { m_ExpoRestart = true; }
  int GetBlocked() const { return m_Blocked; }
  void SetBlocked(int blocked) { m_Blocked = blocked; }
  bool IsInputAccepted() const { return m_InputAccepted != 0; }
  bool IsStartupWindow() const { return m_StartupWindow != 0; }
  // The time (ms) the start-up windows opened.
  uint32_t GetStartupWindowTime() const { return m_StartupWindowTime; }
  int GetMicroTest() const { return m_MicroTest; }
  bool GetShowMicroZellen() const { return m_ShowMicroZellen != 0; }
  int16_t GetCalculatedPending() const { return m_CalculatedPending; }
  int64_t GetAccumulatedTime() const { return m_AccumulatedTime; }
  // The loader and the game reset hold the indicators back for ten hours.
  void ResetAfterLoad();
  int ShowingEndWindow() const;
  void CloseEndWindows();
  // While a savegame is read the frame shows a loading picture and a bar
  // of the progress (0.0 - 1.0).
  void SetLoading(bool loading, float progress) {
    m_Loading = loading ? 1 : 0;
    m_LoadProgress = progress;
  }
  unsigned char IsLoading() const { return m_Loading; }
  float GetLoadProgress() const { return m_LoadProgress; }
  static constexpr int kLoadingPictureDE = 49803;
  static constexpr int kLoadingPictureEN = 50121;

  // ---- object factory and removal (zor_factory.cpp, zor_removal.cpp) ----
  // Checks the cells, creates the object of the kind, lists it, registers it
  // with its manager and the location factory and places it on the map;
  // null when the kind is not made or a check fails.
  CWorldObj* CreateObject(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                          ESimLocationHeight height, PotentialType* potential, short value,
                          ParkingDataType* parking, unsigned int stopId, int locationId);
  CWorldObj* CreateObject(TObjectType kind);
  // Kind 0 drops every reference of the ground object; 0.
  int DestroyObject(CWorldObj* object, int kind);
  // 0 when the object in the cell's layer was removed, 1 when there is none,
  // it belongs to the street network or its manager refuses.
  int RemoveObject(int x, int y, TBaseType layer, bool unused);
  int RemoveObject(CWorldObj* object, int mode, bool keepStops);
  int CheckAllLocationsForNearestCrossing();
  int CheckAllLocationsForNearestHst();
  CBaseObject* GetGroundObject() const { return m_pGroundObject; }
  // Set while a savegame is being read.
  static bool g_isLoad;

 protected:
  // Takes a half-made object out again: list, manager, location, memory.
  void DiscardObject(CWorldObj* object, bool listed, bool registered);
  void UnregisterObject(CWorldObj* object);
  CWorldObj* CreateBuilding(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                            ESimLocationHeight height, PotentialType* potential, ParkingDataType* parking,
                            int locationId);
  CWorldObj* CreateZone(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                        ESimLocationHeight height, PotentialType* potential, int locationId);
  CWorldObj* CreateStreetSide(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                              ESimLocationHeight height, unsigned int stopId);
  void LetManagerGo(CWorldObj* object, bool force, bool clearLists, int& refused);
  // Takes a street-side object of the kind out of every list that counts on
  // it: stops, parking and traffic signs, speed controls.
  void UnlistStreetSide(int kind, CSecondLayerObject* side);
  // ---- end of object factory and removal ----

 protected:
  // Object construction; tests substitute recording versions.
  virtual CSoundObj* NewSoundObj();
  virtual CSimWelt* NewSimWelt();
  virtual CSimLocationFactory* NewLocationFactory();
  virtual CDataExchange* NewDataExchange();
  virtual CIsoWelt* NewIsoWelt();
  virtual CStrJunctionList* NewStreetNet();
  virtual CStrSchJuncList* NewRailNet();
  virtual CUserInt* NewUserInt();
  virtual CMicroSimulation* NewMicroSim();
  virtual CMessage* NewMessage();
  virtual CGottModus* NewGottModus();
  virtual CStatistik* NewStatistik();
  virtual CIndikatoren* NewIndikatoren();
  virtual CParkManagement* NewParkManagement();
  virtual COpnv* NewOpnv();
  virtual CCarsharing* NewCarsharing();
  virtual CParkRide* NewParkRide();
  virtual CZorviZentrale* NewZorviZentrale();
  virtual CAktiveRoutenPlanung* NewAktiveRP();
  virtual CPassiveRoutenPlanung* NewPassiveRP();
  virtual CUmland* NewUmland();
  virtual CPta* NewPta();
  virtual CFinanzen* NewFinanzen();
  virtual CStadtVerwaltung* NewStadtVerwaltung();

  int ComputeWithinBudget(int spacing);
  // The day view's and the hourly work of an hour not handled yet.
  void RunHourChange();
  void RunHourlyFanOut(const STime& now);
  // Input filter steps (zor_world_input.cpp).
  bool IsOpen(int window) const;
  void CloseWindows(std::initializer_list<int> windows);
  void AnswerReturn();
  // Edits the typed name by a key; `character` is what the key reports it
  // types (0 for none).
  void EditName(int key, int character, bool up);
  // 0 or 1 when the debug key was handled (1: it failed), 2 for no debug key.
  int DebugKey(int key);
  void RemoveSelectionByKey();
  void ResetModelForDebug();
  void MoreSpaceForDebug(int kind);
  // Savegame files and names.
  bool EnterSaveDir();
  static std::string SavePath(const std::string& file);
  int GameModeForSaving() const;
  int GameModeForListing() const;
  std::string EnteredName();
  void EndNameEntry();
  void RestartMessages(int seconds);
  void ResetMessagesKeepingWarning(int seconds);
  void Warn(int id);
  int SavegameExists(int mode);
  // Savegame container steps.
  ZorFileLayer& Files();
  bool WriteSingletonRecords(FILE* file);
  bool WriteSavegame(FILE* file);
  bool RebuildForLoad(const std::string& companion);
  // `order` receives, for each record of the list in file order, the object
  // it stands for: the building made from it, or null for a record passed
  // over (the objects that the other sections make again).
  bool ReadSavegame(FILE* file, std::vector<CWorldObj*>& order);
  bool ReadListRecords(FILE* file, std::vector<CWorldObj*>& order);
  // Takes the city's state record (the indicators' hour counter and the
  // city model's state) of `length` bytes at the file's position, its
  // values held to their ranges; one that does not fit is passed over.
  void TakeSimState(FILE* file, uint32_t length);
  // The course record met in the list: the random position for the end of
  // the load and the active hour's trips for the demand simulation's block.
  void TakeSimCourse();
  int ReadRecord(FILE* file, const char* name, int payload, std::vector<CWorldObj*>& order);
  // Lists the objects of a loaded game in the order of their records.
  void RestoreListOrder(const std::vector<CWorldObj*>& order);
  // Reads one building record (zor_building_records.cpp) and places the
  // building again (in `made`, null when it no longer fits or its kind is
  // not one the record can hold). A value out of its range is held to the
  // range with a log line naming the building; 1 only when the record is
  // cut short.
  int LoadBuildingObject(FILE* file, const char* name, CWorldObj*& made);
  void CheckForVLSAfterLoad();
  // 0 when the bytes start with a savegame header of a known version (then
  // in `version`), else the warning to show.
  int CheckSavegameHeader(const std::string& binary, int& version);
  bool LoadFromMemory(const std::string& binary, const std::string& companion, int version);
  // What a load tears down that the savegame does not hold (the interface,
  // the view, the turn's clocks, the random source), kept before a load and
  // put back after the running game was read again (zor_load_keep.cpp).
  ZorKeptPlay KeepPlay();
  void PutBackPlay(const ZorKeptPlay& kept);
  CWorldObj* FindAgain(const ZorObjectPlace& place);
  // The world's measures, each in its own place.
  std::vector<CMeasure*> Measures();
  // Opens the screen surface of the view; tests refuse chosen sizes.
  virtual SDL_Surface* OpenScreenSurface(int width, int height, bool fullScreen, bool hardware);
  // The world's, the display's and the interface's idea of the screen size.
  void ApplyScreenSize(int width, int height);
  // Makes this the world that m_pThis and the subsystems' hosts reach.
  void SetThis();
  // 1 when the window does not exist.
  int ActivateWindow(int id, int overType);

  CEnvTable m_env;
  CWindowBuilder m_builder;
  QnoResourceManager* m_pResourceManager = nullptr;
  SDL_Surface* m_pScreen = nullptr;

  CSoundObj* m_pSoundObj = nullptr;
  CList* m_pObjectList = nullptr;
  CBaseObject* m_pGroundObject = nullptr;
  CSimLocationFactory* m_pLocationFactory = nullptr;
  CUserInt* m_pUserInt = nullptr;
  CSimWelt* m_pSimWelt = nullptr;
  CIsoWelt* m_pIsoWelt = nullptr;
  CMessage* m_pMessage = nullptr;
  CIndikatoren* m_pIndikatoren = nullptr;
  CMicroSimulation* m_pMicroSim = nullptr;
  CStrJunctionList* m_pStreetNet = nullptr;
  CStrSchJuncList* m_pRailNet = nullptr;
  CDataExchange* m_pDataExchange = nullptr;
  CMietMicro* m_pMietMicro = nullptr;
  CTrafficDisplay* m_pTrafficDisplay = nullptr;
  CParkManagement* m_pParkManagement = nullptr;
  // What the car parks ask of the world for their signs and displays.
  class CZorParkingHost* m_pParkingHost = nullptr;
  COpnv* m_pOpnv = nullptr;
  CCarsharing* m_pCarsharing = nullptr;
  CGottModus* m_pGottModus = nullptr;
  CParkRide* m_pParkRide = nullptr;
  CZorviZentrale* m_pZorviZentrale = nullptr;
  CAktiveRoutenPlanung* m_pAktiveRP = nullptr;
  CPassiveRoutenPlanung* m_pPassiveRP = nullptr;
  CUmland* m_pUmland = nullptr;
  CFinanzen* m_pFinanzen = nullptr;
  CStadtVerwaltung* m_pStadtVerwaltung = nullptr;
  CPta* m_pPta = nullptr;
  CStatistik* m_pStatistik = nullptr;
  CPreise* m_pPreise = nullptr;
  CZorWorldSimParts* m_pSimParts = nullptr;
  CZorWorldHost* m_pHost = nullptr;
  CZorIsoHost* m_pIsoHost = nullptr;
  CZorLocationHost* m_pLocationHost = nullptr;
  CZorGrowthContext* m_pGrowthContext = nullptr;
  CZorExpoHost* m_pExpoHost = nullptr;
  bool m_ExpoRestart = false;
  CMessageHost* m_pMessageHost = nullptr;
  CZorMicroHost* m_pMicroHost = nullptr;
  CZorUiHost* m_pUiHost = nullptr;
  CZorGuiHost* m_pGuiHost = nullptr;
  CZorOpnvHost* m_pOpnvHost = nullptr;
  CZorMeasureHost* m_pMeasureHost = nullptr;
  unsigned char m_Loading = 0;
  float m_LoadProgress = 0.0f;
  ZorFileLayer* m_pFiles = nullptr;
  // The periodic save builds its bytes on the frame and hands the files to
  // a worker thread; every other use of the savegame files waits for it.
  ZorBackgroundWrite m_SaveWrite;
  bool m_SaveInBackground = false;
  // The bytes of the last save, kept for the room they hold.
  std::string m_SaveBinary, m_SaveText;
  std::array<std::array<char, kSaveNameSize>, kMaxSaveNames> m_LoadSaveNames{};
  int m_LoadSaveCount = 0;
  int m_SaveLoadFile = -1;
  int m_SelectedLoadSaveName = -1;
  char m_EntryName[kSaveNameSize] = {};
  int m_EntryCursor = 0;
  unsigned char m_EntryActive = 0;
  unsigned char m_ChordFlags[3] = {};
  int m_BaseResID[kMaxBaseResIDs] = {};
  unsigned char m_BaseResCount = 0;

  int m_GameSpeed = 12000;
  // Real-time pacing of the demand simulation (ms).
  // The turns' times are differences of the unsigned tick count, right
  // across its wrap; the sums are wide enough for years of play.
  uint32_t m_LastTurnTicks = 0;
  uint64_t m_TotalTime = 0;
  int64_t m_AccumulatedTime = 0;
  uint32_t m_LastDelta = 0;
  int16_t m_CalculatedPending = -1;
  // The last hour handled by the hourly fan-out and by the 24-hour view.
  STime m_LastHourTime{-1, -1, -1, -1.0f};
  STime m_LastDayTime{-1, -1, -1, -1.0f};
  int m_IndikatorenCounter = -1;
  // Whether the savegame being read brought the city model's state.
  bool m_SimStateLoaded = false;
  // The course record met in the object list of the savegame being read,
  // and the city's random sequence's position it carried.
  std::string m_SimCourseRecord;
  bool m_SimCourseFound = false;
  bool m_SimRandomLoaded = false;
  uint64_t m_SimRandom = 0;
  // The state record met in the object list of the savegame being read, to
  // be taken once the demand simulation's block stands.
  std::string m_SimStateRecord;
  bool m_SimStateFound = false;
  // The last periodic save; none before the first turn.
  std::optional<uint32_t> m_LastAutoSave;
  int m_MicroTest = 0;
  unsigned char m_ShowMicroZellen = 0;
  unsigned char m_StartupWindow = 0;
  unsigned char m_IsCC = 0;
  uint32_t m_StartupWindowTime = 0;
  int m_Blocked = 0;
  unsigned char m_InputAccepted = 0;
  unsigned char m_WelcomeDone = 0;
  int m_StartupPhase = 0;
  int m_ScreenWidth = 800;
  int m_ScreenHeight = 600;
  int64_t m_LastVideoTime = -1;
  char m_LastVideo[400] = {};
  long m_LoadFileSize = 0;
  uint32_t m_LastLoadProgress = 0;
  unsigned char m_MouseEnabled = 1;
  TBaseType m_Level{};
  bool m_sdlStarted = false;
};
