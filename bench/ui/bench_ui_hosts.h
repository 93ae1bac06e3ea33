#pragma once
// What the interface benchmarks share: the interface's and the toolkit's
// host over one user interface, the game data loaded into a resource
// manager, a 16-bit screen, and a checksum of its pixels.
#include <SDL.h>

#include <cstdint>

#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"

namespace benchui {

// FNV-1a over the screen's pixel rows.
inline uint32_t Checksum(SDL_Surface* s) {
  uint32_t h = 2166136261u;
  for (int y = 0; y < s->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
    for (int i = 0; i < 2 * s->w; ++i) h = (h ^ row[i]) * 16777619u;
  }
  return h;
}

// Both hosts over the user interface `ui` points to once it is made.
class Hosts : public CUiHost, public CGuiHost {
 public:
  explicit Hosts(CUserInt*& ui) : m_ui(ui) {
    CUiHost::Install(this);
    CGuiHost::Install(this);
  }
  ~Hosts() override {
    CUiHost::Install(nullptr);
    CGuiHost::Install(nullptr);
  }
  QnoResourceManager* GetResourceManager() override { return resources; }
  QnoDisplay* GetDisplay() override { return display; }
  int GetScreenWidth() override { return width; }
  int GetScreenHeight() override { return height; }
  bool IsWindowOpen(int id) override { return m_ui->IsWindowOpen(id) == 0; }
  void AddToRenderList(CScreenWindow* w) override { m_ui->InsertIntoRenderList(w, w->GetID()); }
  void RemoveFromRenderList(CScreenWindow* w) override { m_ui->RemoveFromRenderList(w, w->GetID()); }
  void BringToFront(CScreenWindow* w) override { m_ui->BringToFront(w); }

  QnoResourceManager* resources = nullptr;
  QnoDisplay* display = nullptr;
  int width = 800, height = 600;

 protected:
  CUserInt*& m_ui;
};

// The game's archives, a screen of the size and the hosts pointed at both.
inline SDL_Surface* LoadScreen(QnoResourceManager& resources, QnoDisplay& display, Hosts& hosts, int width,
                               int height) {
  for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
    char path[1024];
    QnoMakeValidPathname(ZOR_GAMEDATA_DIR, name, ".GLA", path, sizeof path);
    resources.AddWadFile(path);
  }
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
  QnoDisplayCreateStruct cs;
  cs.screenWidth = cs.viewWidth = width;
  cs.screenHeight = cs.viewHeight = height;
  display.Create(nullptr, &cs, surface);
  hosts.resources = &resources;
  hosts.display = &display;
  hosts.width = width;
  hosts.height = height;
  return surface;
}

}  // namespace benchui
