#pragma once
// The root object of the game. It owns and orders everything: settings,
// screen, and (as the subsystems arrive) every long-lived object.
#include <SDL.h>

#include "framework/qno_event.h"
#include "framework/qno_object.h"
#include "world/zor_env_table.h"

class QnoView;
class CWorldObj;
class QnoDisplay;

class CZorvaWorld : public CZorvaObject {
 public:
  // The settings file name, chosen by main.
  static char m_sIniFile[400];
  // 0 German, 1 English.
  static int m_Language;
  static CZorvaWorld* m_pThis;

  // Reads the settings file and the values the constructor needs.
  CZorvaWorld();
  virtual ~CZorvaWorld();

  int Create() override;
  int Destroy() override;
  virtual int OnStartup();
  virtual int OnShutdown();
  // 0 when the event was consumed.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view);
  virtual int OnPlayloopTurn();
  virtual int Render(QnoDisplay* display);

  QnoDisplay* GetDisplay() { return nullptr; }
  SDL_Surface* GetScreen() { return m_pScreen; }
  void FlipBuffer();

  // Settings.
  int LoadEnvFromIni(const char* path);
  int SetEnvString(const char* key, const char* value);
  int SetEnv(const char* key, const char* value);
  int SetEnv(const char* key, int value);
  const char* GetEnvValue(const char* key, const char* defaultValue);
  int GetEnvValue(const char* key, int defaultValue);
  bool GetEnvOnOff(const char* key);
  void ResetEnvDescription();
  CEnvTable& GetEnvTable() { return m_env; }

  int GetGameSpeed() const { return m_GameSpeed; }

  // Sounds of world objects, played through the sound object when there is one.
  int AddSound(const char* name, int priority);
  int FadeOutSound(const char* name);
  // Sets the filter icon of one object from the interface's map filters.
  void SetWorldObjectListFilter(CWorldObj* object);

 protected:
  // Opens the screen from the settings and stores what was opened.
  // Fatal (exit code 1) when SDL video cannot start.
  void OpenScreen();

  CEnvTable m_env;
  int m_GameSpeed = 12000;
  SDL_Surface* m_pScreen = nullptr;
  bool m_sdlStarted = false;
};
