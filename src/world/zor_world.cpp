#include "world/zor_world.h"

#include "world/zor_filter_icons.h"
#include "world/zor_world_obj.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "framework/zor_util.h"

char CZorvaWorld::m_sIniFile[400] = "ZORVANTA.INI";
int CZorvaWorld::m_Language = 0;
CZorvaWorld* CZorvaWorld::m_pThis = nullptr;

CZorvaWorld::CZorvaWorld() {
  m_pThis = this;
  LoadEnvFromIni(m_sIniFile);
  m_GameSpeed = GetEnvValue("GAMESPEED", 12000);
  m_Language = GetEnvValue("LANGUAGE", 0) == 1 ? 1 : 0;
}

CZorvaWorld::~CZorvaWorld() {
  if (m_pThis == this) m_pThis = nullptr;
}

int CZorvaWorld::Create() {
  m_pThis = this;
  return 0;
}

int CZorvaWorld::Destroy() {
  if (m_sdlStarted) {
    SDL_Quit();
    m_sdlStarted = false;
    m_pScreen = nullptr;
  }
  ResetEnvDescription();
  return 0;
}

int CZorvaWorld::OnStartup() {
  zor_srandom(kfx_GetTicks());
  OpenScreen();
  return 0;
}

int CZorvaWorld::OnShutdown() { return 0; }

// Nothing consumes input until the interface and the map exist.
int CZorvaWorld::InputFilter(QnoInteractionEvent*, QnoView*) { return 1; }

int CZorvaWorld::OnPlayloopTurn() { return 0; }

int CZorvaWorld::Render(QnoDisplay*) {
  if (m_pScreen) SDL_FillRect(m_pScreen, nullptr, 0);
  return 0;
}

void CZorvaWorld::FlipBuffer() {
  if (m_pScreen) SDL_Flip(m_pScreen);
}

void CZorvaWorld::OpenScreen() {
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::printf("Unable to start X11 or svga with the KFX_Video.lib\n");
    std::printf("Please start ZORVANTA from within your X-Server\n");
    QNO_ERROR(QNO_SEV_FATAL, "SDL_Init: %s", SDL_GetError());
    zor_fatal_exit(1);
  }
  m_sdlStarted = true;
  int width = GetEnvValue("AUFLOESUNG", 800);
  int height = width == 640 ? 480 : width == 1024 ? 768 : 600;
  if (width != 640 && width != 800 && width != 1024) {
    const int fx = GetEnvValue("AUFLOESUNGX", 0);
    const int fy = GetEnvValue("AUFLOESUNGY", 0);
    if (fx > 0 && fy > 0 && fx <= 4096 && fy <= 4096) {
      width = fx;
      height = fy;
    } else {
      width = 800;
      height = 600;
    }
  }
  const bool fullscreen = GetEnvValue("FULLSCREEN", 0) == 0;
  const bool hardware = GetEnvValue("HARDWARE", 0) == 0;
  Uint32 flags = hardware ? SDL_HWSURFACE | SDL_DOUBLEBUF : SDL_SWSURFACE;
  if (fullscreen) flags |= SDL_FULLSCREEN;
  m_pScreen = SDL_SetVideoMode(width, height, 16, flags);
  if (!m_pScreen) {
    std::printf("Could not open X11 Display\n");
    std::printf("Programm terminates\n");
    QNO_ERROR(QNO_SEV_FATAL, "SDL_SetVideoMode: %s", SDL_GetError());
    zor_fatal_exit(1);
  }
  SDL_ShowCursor(GetEnvValue("SDLMOUSE", 0) != 0 ? SDL_ENABLE : SDL_DISABLE);
  SetEnv("FULLSCREEN", fullscreen ? 0 : 1);
  SetEnv("HARDWARE", hardware ? 0 : 1);
  SetEnv("AUFLOESUNG", width);
  SetEnv("AUFLOESUNGX", width);
  SetEnv("AUFLOESUNGY", height);
}

int CZorvaWorld::LoadEnvFromIni(const char* path) { return m_env.LoadFromFile(path); }

int CZorvaWorld::SetEnvString(const char* key, const char* value) {
  m_env.SetString(key, value);
  return 0;
}

int CZorvaWorld::SetEnv(const char* key, const char* value) {
  SetEnvString(key, value);
  m_env.WriteToFile(m_sIniFile);
  return 0;
}

int CZorvaWorld::SetEnv(const char* key, int value) {
  char text[40];
  kfx_itoa(value, text, 10);
  return SetEnv(key, text);
}

const char* CZorvaWorld::GetEnvValue(const char* key, const char* defaultValue) {
  QNO_LOG("GetEnvChar %s", key);
  const char* v = m_env.Find(key);
  return v ? v : defaultValue;
}

int CZorvaWorld::GetEnvValue(const char* key, int defaultValue) {
  char text[40];
  kfx_itoa(defaultValue, text, 10);
  const char* v = GetEnvValue(key, text);
  if (!v) return 0;
  long n = std::strtol(v, nullptr, 10);
  if (n > INT_MAX) n = INT_MAX;
  if (n < INT_MIN) n = INT_MIN;
  return static_cast<int>(n);
}

bool CZorvaWorld::GetEnvOnOff(const char* key) { return GetEnvValue(key, 1) != 1; }

void CZorvaWorld::ResetEnvDescription() { m_env.Reset(); }

int CZorvaWorld::AddSound(const char*, int) { return 0; }

int CZorvaWorld::FadeOutSound(const char*) { return 0; }

void CZorvaWorld::SetWorldObjectListFilter(CWorldObj* object) {
  if (!object) return;
  object->SetFilterResID(ZorFilterIconFor(object->GetType(), 0, false, false, object->GetFilterResID()));
}
