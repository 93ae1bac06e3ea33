#pragma once
// A controller on a small window tree, with the hosts a world would give it:
// the toolkit's host forwards to the controller, the controller's host
// answers from fields and counts the savegame calls. The fields start as a
// fresh game answers (the host contract tests hold them to it): nothing to
// load, and every load and save fails until a test scripts otherwise.
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "gui/window_builder.h"
#include "iso/iso_vehicle.h"
#include "measures/building_object.h"
#include "support/test_support.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace uitest {

class ForwardingGuiHost : public CGuiHost {
 public:
  explicit ForwardingGuiHost(CUserInt*& ui) : m_ui(ui) { CGuiHost::Install(this); }
  ~ForwardingGuiHost() override { CGuiHost::Install(nullptr); }
  bool IsWindowOpen(int id) override { return m_ui && m_ui->IsWindowOpen(id) == 0; }
  void AddToRenderList(CScreenWindow* w) override {
    if (m_ui) m_ui->InsertIntoRenderList(w, w->GetID());
  }
  void RemoveFromRenderList(CScreenWindow* w) override {
    if (m_ui) m_ui->RemoveFromRenderList(w, w->GetID());
  }
  void BringToFront(CScreenWindow* w) override {
    if (m_ui) m_ui->BringToFront(w);
  }
  int GetYesNoWarningNumber() override { return CUserInt::selObj.yesNoWarning; }
  int GetGameMode() override { return gameMode; }
  int gameMode = 1;

 private:
  CUserInt*& m_ui;
};

class ScriptedUiHost : public CUiHost {
 public:
  ScriptedUiHost() { CUiHost::Install(this); }
  ~ScriptedUiHost() override { CUiHost::Install(nullptr); }
  QnoResourceManager* GetResourceManager() override { return resources; }
  QnoDisplay* GetDisplay() override { return display; }
  int GetScreenWidth() override { return width; }
  int GetScreenHeight() override { return height; }
  bool IsReady() override { return ready; }
  bool IsGameStarted() override { return started; }
  bool DebugKeysAllowed() override { return debugKeys; }
  int GetGameModus() override { return modus; }
  int GetExpoHold() override { return expoHold; }
  int CheckForLoadGame() override { return loadable; }
  int LoadGame() override {
    ++loads;
    if (onLoad) onLoad();
    // A loaded game shows its scenario's task again, as god mode does.
    if (loadResult == 0) taskPending = true;
    return loadResult;
  }
  int SaveGame() override {
    ++saves;
    if (onSave) onSave();
    return saveResult;
  }
  // A new game reads the start game, which a fresh folder does not have.
  int ResetGame() override {
    ++resets;
    return resetResult;
  }
  int AutoLoadGame() override {
    ++autoLoads;
    return autoLoadResult;
  }
  int AutoSaveGame() override {
    ++autoSaves;
    return autoSaveResult;
  }
  int MakeLoadSaveGamesFromDirectory(bool save) override {
    listings.push_back(save);
    return 0;
  }
  // As god mode: the task shows in a scenario only, once until the next load.
  void ShowAufgabeWindow() override {
    if (modus != 2 || !taskPending) return;
    ++tasks;
    taskPending = false;
  }
  void SetObjectListFilter() override { ++filterRefreshes; }
  void SetAchtungMessage(const char* text) override { warning = text ? text : "(null)"; }
  void SetAchtungJaNeinText(const char* text) override { question = text ? text : "(null)"; }

  QnoResourceManager* resources = nullptr;
  QnoDisplay* display = nullptr;
  int width = 800, height = 600;
  bool ready = true, started = false;
  // The settings file's DEBUGKEYS=1.
  bool debugKeys = false;
  int modus = 1;
  int expoHold = 0;
  int loadable = 0, loadResult = 1, saveResult = 1, resetResult = 1;
  int autoSaveResult = 1;
  int loads = 0, saves = 0, autoSaves = 0, tasks = 0, filterRefreshes = 0, resets = 0, autoLoads = 0;
  int autoLoadResult = 1;
  bool taskPending = true;
  std::vector<bool> listings;
  std::function<void()> onLoad, onSave;
  std::string warning, question;
};

class LanguageHost : public CWorldHost {
 public:
  LanguageHost() { CWorldHost::Install(this); }
  ~LanguageHost() override { CWorldHost::Install(nullptr); }
  int GetLanguage() override { return language; }
  int language = 0;
};

// A window that records its turns.
class CountingWindow : public CScreenWindow {
 public:
  CountingWindow(CUserInt* ui, std::vector<int>* log) : CScreenWindow(ui), m_log(log) {}
  int OnPlayloopTurn() override {
    m_log->push_back(GetID());
    if (onTurn) onTurn();
    return CScreenWindow::OnPlayloopTurn();
  }
  std::function<void()> onTurn;

 private:
  std::vector<int>* m_log;
};

// Root 1 with the main screen 6 and 7, menu 20 at its standard place,
// sub-menus 25 and 26, window 120, the warning 220 and the question 247
// whose item 0 answers.
struct Controller : ::testing::Test {
  LanguageHost language;
  ScriptedUiHost host;
  CUserInt* ui = nullptr;
  ForwardingGuiHost gui{ui};
  CWindowBuilder builder;

  void SetUp() override {
    CUserInt::framecount = 0;
    ui = new CUserInt;
    ASSERT_EQ(ui->OnCreate(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    builder = CWindowBuilder(ui);
    builder.AddWindow(1, 0, 0, 800, 600, 0, WINDOW_ROOT, POSITION_FIXED, 0);
    for (int id : {6, 7, 120}) builder.AddWindow(id, 10 * id % 300, 20, 100, 80, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    builder.AddWindow(20, 100, 400, 46, 96, 1, WINDOW_MENU, POSITION_FIXED, 0);
    builder.AddWindow(25, 150, 400, 46, 96, 1, WINDOW_SUBMENU, POSITION_FIXED, 0);
    builder.AddWindow(26, 200, 400, 46, 96, 1, WINDOW_SUBMENU, POSITION_FIXED, 0);
    builder.AddWindow(220, 250, 250, 287, 108, 1, WINDOW_NORMAL, POSITION_CENTERED, 0);
    builder.AddWindow(247, 250, 250, 315, 100, 1, WINDOW_NORMAL, POSITION_CENTERED, 0);
    CUserInt::topWindow = builder.GetTopWindow();
    ASSERT_NE(CUserInt::topWindow, nullptr);
  }
  void TearDown() override { delete ui; }

  std::vector<int> Order() {
    std::vector<int> ids;
    CZorvaList* list = ui->GetRenderList();
    for (CZorvaPointer* n = list->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
      ids.push_back(static_cast<CScreenWindow*>(n->GetZorvaObject())->GetID());
    return ids;
  }
  CScreenWindow* Window(int id) { return CUserInt::topWindow->GetWindowByID(id); }
  // Takes the window out of the tree, as a game without it would be.
  void RemoveWindow(int id) {
    CScreenWindow* w = Window(id);
    ASSERT_NE(w, nullptr);
    w->GetTopWindow()->GetChildren()->DestroyWindow(w);
    ASSERT_EQ(Window(id), nullptr);
  }
};

// An off-screen 16-bit display of the given size.
struct Screen {
  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  Screen(int w, int h) {
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = w;
    cs.screenHeight = cs.viewHeight = h;
    display.Create(nullptr, &cs, surface);
  }
  ~Screen() { SDL_FreeSurface(surface); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  uint16_t Pixel(int x, int y) const {
    return reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  }
  void Clear() { display.GetRenderBuffer()->FillRect(0, 0, surface->w, surface->h, 0); }
  int Count(int x0, int y0, int x1, int y1, uint16_t p) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += Pixel(x, y) == p;
    return n;
  }
};

}  // namespace uitest
