#pragma once
// The game mode (free play with god values, normal game, scenario,
// exhibition), the running scenario with its goal and end date, and the
// seventeen god values the player may pin in free play, each bound to a
// node of the cause-effect network or to the city model.
#include <cstdint>

#include "framework/zor_stand_in.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

enum EGameModus : int { GAME_GOD = 0, GAME_NORMAL = 1, GAME_SCENARIO = 2, GAME_EXPO = 3 };
// What a god value is asked for or told.
enum GottToDo : int { GOTT_MIN = 0, GOTT_MAX = 1, GOTT_STEP = 2, GOTT_CURRENT = 3, GOTT_SET = 4 };

class CDataExchange;
class CGrowthContext;
class CMessage;
class CStatistik;
class CIndikatoren;
class CIsoWelt;
class COpnvLine;
class CSecondLayerObject;
class QnoDisplay;
class QnoResourceManager;

// What god mode needs of the game beyond the data exchange: the statistics'
// modal split, the indicators, the world's blocked state and the
// interface's debug information.
class CGottModusHost {
 public:
  virtual ~CGottModusHost() = default;
  virtual CStatistik* Statistik() = 0;
  virtual CIndikatoren* Indikatoren() = 0;
  virtual void SetBlocked(int state) = 0;
  virtual bool DebugInfo() = 0;
  // God value 10: the advice centre's user quote in percent.
  virtual void SetAdviceCentreQuote(float percent) = 0;
};

// What the exhibition's tasks need of the running game: its windows and
// language, a stop placed through the world's factory, a street dragged
// through the interface's street builder, the street piece on a cell, and
// a new bus line of the public-transport operator.
class CExpoHost {
 public:
  virtual ~CExpoHost() = default;
  virtual void OpenWindow(int id) = 0;
  virtual void CloseWindow(int id) = 0;
  // Binds the object to every dialog and item of the window.
  virtual void BindWindow(int id, CWorldObj* object) = 0;
  virtual bool English() = 0;
  // The stop of that object type at (x, y); null when none could be placed.
  virtual CSecondLayerObject* CreateStop(int type, int resId, int direction, int x, int y) = 0;
  // True when the street could not be built.
  virtual bool BuildStreet(int x1, int y1, int x2, int y2, int type) = 0;
  // The street piece (object type 52) on the cell's ground layer; null when none.
  virtual CWorldObj* StreetPieceAt(int x, int y) = 0;
  virtual COpnvLine* CreateBusLine() = 0;
  virtual void SetBlocked(int state) = 0;
};

// The exhibition's task kinds and the steps within a task.
enum EExpoModus : int { EXPO_NONE = 0, EXPO_BUS = 1, EXPO_STREET = 2 };
enum EExpoBusStreetState : int {
  EXPO_IDLE = 0, EXPO_PLACE_STOPS = 1, EXPO_STOPS_PLACED = 2, EXPO_LINE_RUNS = 3, EXPO_STREET_CHOSEN = 4,
  EXPO_BUILD_STREET = 5, EXPO_STREET_BUILT = 6, EXPO_STREET_RUNS = 7
};

class CGottModus : public CWorldObj {
 public:
  static constexpr int kGottWerte = 17;
  static constexpr uint32_t kPayload = 164;

  void Attach(CDataExchange* exchange, CGottModusHost* host) {
    m_pExchange = exchange;
    m_pHost = host;
  }

  // Every running turn, with the current simulation time: the scenario's end.
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now);
  bool CheckForSzenarioEnde(STime now);

  // The minimum, maximum, step or current value of god value i, or sets
  // it; 0 for a set and for an index or operation outside the table.
  double DoGottWerte(int i, float v, GottToDo op);
  // Pins or frees god value i; its node stops stepping while pinned.
  int SetGottWertActive(bool on, int i, bool nodeOnly = false);
  void ToggleGottWertActive(int i);
  bool GetGottWertActive(int i) const { return i >= 0 && i < kGottWerte && m_Active[i] != 0; }
  bool IsGottWertActive(int i) const { return GetGottWertActive(i); }
  bool PeopleFromGott() const { return m_Active[8] != 0; }
  float GetGottWert(int i) const { return i >= 0 && i < kGottWerte ? m_Werte[i] : 0.0f; }
  // The two digits after a name's first "."; 0 without one.
  static int GetNrFromName(const char* name);

  int GetVarData(const char* name, double* value) override;
  int SetVarData(const char* name, double value) override;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int GetStep(const char* name, float* step) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;

  virtual int SetGameModus(EGameModus mode);
  EGameModus GetGameModus() const { return m_GameModus; }
  bool IsGottActive() const { return m_GameModus == GAME_GOD; }
  void SetGottActive();
  void ClearGottActive() { m_GottFlag = 0; }
  int GetLoadGameModus() const { return m_LoadGameModus; }
  void SetLoadGameModus(int mode) { m_LoadGameModus = mode; }
  int GetLanguage() const { return m_Language; }
  void SetLanguage(int language) { m_Language = language; }
  int GetEndYear() const { return m_EndYear; }
  void GetSzenario(int* scenario, int* indicator, float* target) const;
  void SetSzenario(int scenario, int indicator, float target, int years);
  void SetEndeYear(int years);
  void ShowAufgabeWindow();
  void ResetShowAufgabeZiel() { m_ShowTask = m_EndNotShown = 1; }
  // Whether the scenario's end (its goal or its time) is still to be shown.
  bool EndNotShown() const { return m_EndNotShown != 0; }
  // The end window a loaded game was saved with (a window id of the
  // scenario's end, or 0), which the savegame keeps in a record of its own:
  // a game saved with its end on the screen shows it again once it is
  // loaded (ShowSavedEnd).
  void SetEndWindowShowing(int id) { m_EndWindowShowing = id == kGoalWindowId || id == kTimeWindowId ? id : 0; }
  void ShowSavedEnd();
  static constexpr int kGoalWindowId = 233, kTimeWindowId = 234;

  // ---- the exhibition (gott_modus_expo.cpp)
  static constexpr int kExpoPlaces = 4, kExpoPlaceCells = 3, kExpoStreetTasks = 4, kExpoStreetPoints = 5;
  static constexpr int kMarkingTile = 17024, kArrowPicture = 49552;
  void AttachExpo(CExpoHost* host) { m_pExpoHost = host; }
  virtual int SetExpoModus(int mode);
  static int GetExpoModus() { return m_ExpoModus; }
  virtual int SetExpoState(int state);
  static int GetExpoState() { return m_ExpoState; }
  void Expo_Bus_SetHstType(int type) { m_ExpoFields.stopType = type; }
  void Expo_Street_SetStreetType(int type) { m_ExpoFields.streetType = type; }
  int Expo_GetStopCount() const { return m_ExpoFields.stopCount; }
  int Expo_GetHeadway() const { return m_ExpoFields.headway; }
  int Expo_GetWarningWindow() const { return m_ExpoFields.warningWindow; }
  COpnvLine* Expo_GetLine() const { return m_Expo_Line; }
  CWorldObj* Expo_GetStreet() const { return m_Expo_Street; }
  int Expo_GetStreetNr() const { return m_Expo_StreetNr; }
  // The stop place 0..3 with a cell at (x, y), or the street task whose
  // marked run covers it; -1 for none.
  int Expo_Bus_IsMarkierung(int x, int y) const;
  int Expo_Street_IsMarkierung(int x, int y) const;
  bool Expo_Bus_SetHst(int x, int y);
  bool Expo_Street_SetStreet(int x, int y);
  void Expo_MakeBusLine();
  bool Expo_Bus_SetTakt(int headway);
  bool Expo_Bus_LineGood() const;
  int Expo_TimeRating();
  virtual int Expo_RefreshLastMove();
  uint32_t Get_LastMoveTimeOut() const { return m_ExpoFields.lastMoveDeadline; }
  void Expo_SetTimeRating();
  void Expo_Set_Ticks_Timeout_Auswertung(int timeout, int rating);
  void Expo_CheckTimeOut() {}
  void Expo_CheckWarningWindow();
  void Expo_CheckWarningWindowMouseKey();
  // Every marked cell on the map with the marking tile; the arrow over each
  // free stop place; the same cells on the small map in magenta, through
  // `toPixel` (the small map's pixel of a cell, false outside it).
  void Expo_Street_RenderMarkierung(CIsoWelt* map) const;
  void Expo_Bus_RenderMarkierung(CIsoWelt* map) const;
  void Expo_Bus_RenderPfeil(CIsoWelt* map, QnoDisplay* display, QnoResourceManager* resources) const;
  using SmallMapPixel = bool (*)(void* context, int x, int y, int* px, int* py);
  void Expo_Street_RenderMarkierungSmallMap(QnoDisplay* display, SmallMapPixel toPixel, void* context) const;
  void Expo_Bus_RenderMarkierungSmallMap(QnoDisplay* display, SmallMapPixel toPixel, void* context) const;

  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;

  // Fields the world writes at an exhibition start-up.
  int m_ListingMode = GAME_NORMAL;
  int m_ExpoLanguage = 0;
  int m_ExpoTimeOut = 180000;
  int m_ExpoRatingTime = 120000;

 private:
  // Opens the end window with its message, as the end does.
  void ShowEnd(int window, CMessage* message, CGrowthContext* context);
  // The node a god value is bound to, without "W."; null for none.
  static const char* Node(int i);
  double NodeBound(int i, bool max);
  // Takes the node of god value i out of the network's stepping, or puts
  // it back; 1 when there is no network or no such node.
  int HoldNode(int i, bool hold);
  double Dx(const char* name);

  CDataExchange* m_pExchange = nullptr;
  CGottModusHost* m_pHost = nullptr;
  int32_t m_GottFlag = 0;
  float m_Werte[kGottWerte] = {};
  uint8_t m_Active[kGottWerte] = {};
  EGameModus m_GameModus = GAME_NORMAL;
  int32_t m_Szenario = 0;
  int32_t m_SzenarioIndicator = 0;
  float m_SzenarioTarget = 0.55f;
  uint8_t m_ShowTask = 1;
  uint8_t m_EndNotShown = 1;
  int m_EndWindowShowing = 0;
  int32_t m_EndHour = 0, m_EndDay = 0, m_EndYear = -1;
  float m_EndFYear = 0.0f;
  int32_t m_Language = 0;
  // The exhibition's fields, saved in this order.
  struct SExpoFields {
    int32_t stopType = 0, streetType = 0, stopCount = 0, headway = 0;
    uint32_t ratingDeadline = 0, lastMoveDeadline = 0, warningDeadline = 0;
    int32_t warningWindow = -1;
  };
  // The task tables of a fresh exhibition: the stop places and the marked
  // runs, which the built stops and street use up.
  void Expo_ResetTasks();
  void Expo_ShowWarning(int window, uint32_t hold = 1750);
  void Expo_Window(int german, int english) const;

  static int m_ExpoModus;
  static int m_ExpoState;
  SExpoFields m_ExpoFields;
  CExpoHost* m_pExpoHost = nullptr;
  int m_Expo_Bus_Markierung[kExpoPlaces][kExpoPlaceCells][2] = {};
  int m_Expo_Street_M[kExpoStreetTasks][kExpoStreetPoints][2] = {};
  CSecondLayerObject* m_Expo_Haltestellen[2] = {};
  int m_Expo_Bus_Nr[2] = {-1, -1};
  COpnvLine* m_Expo_Line = nullptr;
  CWorldObj* m_Expo_Street = nullptr;
  int m_Expo_StreetNr = -1;
  int m_LoadGameModus = GAME_NORMAL;
};
