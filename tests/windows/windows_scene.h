#pragma once
// The windows of the game built by their builders on the generated game
// data, with a render list standing in for the interface controller's and
// an off-screen 16-bit screen to draw them into.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <vector>

#include "framework/qno_bitmap.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "gui/window_builder.h"
#include "measures/preise.h"
#include "model/zor_var.h"
#include "support/test_support.h"
#include "windows/window_builders.h"
#include "worldbase/zor_world_host.h"

namespace wintest {

class SceneHost : public CGuiHost, public CWorldHost {
 public:
  SceneHost() {
    CGuiHost::Install(this);
    CWorldHost::Install(this);
  }
  ~SceneHost() override {
    CGuiHost::Install(nullptr);
    CWorldHost::Install(nullptr);
  }
  bool IsWindowOpen(int id) override {
    return std::any_of(renderList.begin(), renderList.end(), [id](CScreenWindow* w) { return w->GetID() == id; });
  }
  void AddToRenderList(CScreenWindow* w) override { BringToFront(w); }
  void RemoveFromRenderList(CScreenWindow* w) override { std::erase(renderList, w); }
  void BringToFront(CScreenWindow* w) override {
    std::erase(renderList, w);
    renderList.insert(renderList.begin(), w);
  }
  double GetSimHour() override { return hour; }
  int GetLanguage() override { return language; }
  bool CheckMessageForJump(int /*n*/) override { return eventHasPlace; }
  // The measures' pages ask which of them show their companion page.
  void UpdateMeasurePageHints() override { ++measureHintsAsked; }
  // A window given a new background takes the picture's size, as in the
  // game, once a test names the archives to measure it in.
  bool GetPictureSize(int id, int* w, int* h) override {
    QnoBitmap* picture = pictures && id > 0 ? QnoBitmap::FromResource(pictures, static_cast<unsigned>(id)) : nullptr;
    if (!picture) return false;
    *w = picture->GetSizeX();
    *h = picture->GetSizeY();
    return true;
  }

  std::vector<CScreenWindow*> renderList;  // front first
  double hour = 12;
  int language = 0;
  bool eventHasPlace = false;  // the newest event has a place to jump to
  int measureHintsAsked = 0;
  QnoResourceManager* pictures = nullptr;  // measures the pictures when set
};

// Every window of the tree below and with `root`, parents before children.
inline void ForEachWindow(CScreenWindow* root, const std::function<void(CScreenWindow*)>& f) {
  if (!root) return;
  f(root);
  if (root->GetChildren()) root->GetChildren()->ForEach([&](CScreenWindow* c) { ForEachWindow(c, f); });
}

inline void ForEachItem(CScreenWindow* w, const std::function<void(CItem*)>& f) {
  if (w->GetItems()) w->GetItems()->ForEach([&](CItem* i) { f(i); });
}

inline void ForEachAction(CItem* item, const std::function<void(CAction*)>& f) {
  if (item->GetActions()) item->GetActions()->ForEach([&](CAction* a) { f(a); });
}

struct Scene : ::testing::Test {
  SceneHost host;
  QnoResourceManager resources;
  CWindowBuilder builder;
  SDL_Surface* surface = nullptr;
  QnoDisplay display;

  void SetUp() override {
    for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
      char path[1024];
      QnoMakeValidPathname((zortest::BinaryDir() + "/gamedata").c_str(), name, ".GLA", path, sizeof path);
      ASSERT_EQ(resources.AddWadFile(path), 0) << path;
    }
    delete CPreise::SetPreise();
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 800, 600, 16, 0xF800, 0x07E0, 0x001F, 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 800;
    cs.screenHeight = cs.viewHeight = 600;
    display.Create(nullptr, &cs, surface);
    builder.ResetCursors();
  }
  void TearDown() override {
    builder.DestroyWindows();
    SDL_FreeSurface(surface);
  }
  // Starts again with no window and an emptied manager on the archives, so
  // that what one build asks for is counted alone.
  void ReloadGameData() {
    builder.DestroyWindows();
    host.renderList.clear();
    builder.ResetCursors();
    resources.Clear();
    for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
      char path[1024];
      QnoMakeValidPathname((zortest::BinaryDir() + "/gamedata").c_str(), name, ".GLA", path, sizeof path);
      ASSERT_EQ(resources.AddWadFile(path), 0);
    }
  }
  // The builders' variables made by name with no owner, as the world makes
  // the game model's unbound ones.
  void UseNamedVars() {
    builder.SetVarFactory([](EVarType type, const char* name) -> CWindowVar* {
      auto* var = new CVar;
      var->Create(type, name, static_cast<CVarOwner*>(nullptr));
      return var;
    });
  }
  CScreenWindow* Root() const { return builder.GetTopWindow(); }
  CScreenWindow* Window(int id) const { return Root() ? Root()->GetWindowByID(id) : nullptr; }
  // The open windows, back to front.
  void RenderOpen() {
    for (auto it = host.renderList.rbegin(); it != host.renderList.rend(); ++it)
      (*it)->Render(&display, &resources, -1, -1);
  }
  // A left press and release at (x, y) inside window id.
  void PressIn(int window, int x, int y) {
    CScreenWindow* w = Window(window);
    const int mx = w->GetRealPosX() + x, my = w->GetRealPosY() + y;
    QnoInteractionEvent down{QNO_EVENT_BUTTONDOWN, mx, my, 0};
    w->InputFilter(&down, nullptr, 0, 0, mx, my, INOUT_INSIDE);
    QnoInteractionEvent up{QNO_EVENT_BUTTONUP, mx, my, 0};
    w->InputFilter(&up, nullptr, 0, 0, mx, my, INOUT_INSIDE);
  }
  // Every item of window id and of its dialogs.
  // The variable names of a list, oldest first.
  static std::vector<std::string> VarNames(CWindowVarList* vars) {
    std::vector<std::string> out;
    if (vars) vars->ForEach([&](CWindowVar* v) { out.insert(out.begin(), v->GetName()); });
    return out;
  }
  void ForEachItemDeep(int id, const std::function<void(CItem*)>& f) {
    ForEachItem(Window(id), f);
    if (CDialogList* dialogs = Window(id)->GetDialogs())
      dialogs->ForEach([&](CDialog* d) {
        if (d->GetItems()) d->GetItems()->ForEach(f);
      });
  }
  // The pictures that window id's items name in the language (1 English).
  void NamePictures(int id, int language, std::set<int>& named) {
    ForEachItemDeep(id, [&](CItem* i) {
      const int picture = language == 1 && i->GetResource(2) > 0 ? i->GetResource(2) : i->GetResource(0);
      if (picture > 0) named.insert(picture);
    });
  }
  // After drawing with the requests tracked: no picture missing, and every
  // named one asked for.
  void ExpectNamedPicturesDrawn(const std::set<int>& named, int language, const char* what) {
    resources.TrackRequests(false);
    EXPECT_TRUE(resources.MissingIds().empty())
        << resources.MissingIds().size() << " missing, the first " << *resources.MissingIds().begin();
    for (int picture : named) EXPECT_TRUE(resources.RequestedIds().count(static_cast<uint32_t>(picture))) << picture;
    std::printf("language %d: %zu pictures named by %s, %zu missing\n", language, named.size(), what,
                resources.MissingIds().size());
  }
  uint16_t Pixel(int x, int y) const {
    return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  }
};

}  // namespace wintest
