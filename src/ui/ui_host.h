#pragma once
// What the interface controller asks of the world above it: the world's
// display and resources, its flags, its savegame operations and the game
// model's texts and values shown in the status line. The world installs its
// implementation at start-up; tests install a scripted one. The defaults
// answer as a world with nothing loaded would.
#include <cstdint>

class QnoDisplay;
class QnoResourceManager;

class CUiHost {
 public:
  virtual ~CUiHost() = default;

  // The installed host, never null: without one a default host answers.
  static CUiHost* Get();
  // The caller keeps ownership; null restores the default.
  static void Install(CUiHost* host);

  // World state.
  virtual QnoResourceManager* GetResourceManager() { return nullptr; }
  virtual QnoDisplay* GetDisplay() { return nullptr; }
  virtual int GetScreenWidth() { return 800; }
  virtual int GetScreenHeight() { return 600; }
  // The world's ready flag: while it is clear no mouse handler runs.
  virtual bool IsReady() { return true; }
  // The player has left the start windows.
  virtual bool IsGameStarted() { return false; }
  // The exhibition holds the game.
  virtual int GetExpoHold() { return 0; }
  // 0 free play, 1 normal game, 2 scenario, 3 exhibition.
  virtual int GetGameModus() { return 1; }
  virtual int GetExpoModus() { return 0; }

  // Savegames, run by the deferred actions. Results as the world's own
  // operations give them: a load check of 1 means loadable, 0 is success
  // for the rest.
  virtual int CheckForLoadGame() { return 0; }
  virtual int LoadGame() { return 1; }
  virtual int SaveGame() { return 1; }
  virtual int ResetGame() { return 0; }
  virtual int AutoSaveGame() { return 1; }
  virtual int AutoLoadGame() { return 1; }
  // Re-reads the savegame list; save selects the saving kind.
  virtual int MakeLoadSaveGamesFromDirectory(bool /*save*/) { return 0; }
  // God mode's task window of a scenario.
  virtual void ShowAufgabeWindow() {}
  // Every world object takes its filter picture again.
  virtual void SetObjectListFilter() {}

  // The message system's warning and question texts.
  virtual void SetAchtungMessage(const char* /*text*/) {}
  virtual void SetAchtungJaNeinText(const char* /*text*/) {}

  // The status line.
  virtual bool GetMoney(double* /*value*/) { return false; }
  virtual int GetPeople() { return 0; }
  // Month 0-11 and year of the simulation date.
  virtual void GetDate(int* month, int* year) {
    *month = 0;
    *year = 0;
  }
  // The current ticker text, null when none.
  virtual const char* GetTickerText() { return nullptr; }
  virtual void RenderIndikatoren(QnoDisplay* /*display*/) {}
  // God mode's exhibition task markers, on the map and on the small map.
  virtual void RenderExpoMarkers(QnoDisplay* /*display*/, int /*kind*/, bool /*blinkOn*/) {}
  virtual void RenderExpoMarkersSmallMap(QnoDisplay* /*display*/, int /*kind*/, int /*x*/, int /*y*/) {}
};
