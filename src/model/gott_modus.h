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
class CStatistik;
class CIndikatoren;

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

  virtual int SetExpoModus(int mode);
  virtual int SetExpoState(int state);
  virtual int Expo_RefreshLastMove();

  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;

  // Fields the world writes at an exhibition start-up.
  int m_ListingMode = GAME_NORMAL;
  int m_ExpoLanguage = 0;
  int m_ExpoTimeOut = 0;
  int m_ExpoRatingTime = 0;

 private:
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
  int32_t m_EndHour = 0, m_EndDay = 0, m_EndYear = -1;
  float m_EndFYear = 0.0f;
  int32_t m_Language = 0;
  // The exhibition's stop type, street type, stop count, headway, rating
  // deadline, last-move deadline, warning deadline and warning window.
  int32_t m_Expo[8] = {};
  int m_LoadGameModus = GAME_NORMAL;
};
