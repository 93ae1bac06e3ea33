// The controller's turn, its deferred actions, the search spiral, the view
// filters and its name tables.
#include "ui_fixture.h"

using uitest::Controller;
using uitest::CountingWindow;

namespace {
struct Turn : Controller {
  std::vector<int> turns;
  CountingWindow* Add(int id) {
    auto* w = new CountingWindow(ui, &turns);
    w->Create(0, 0, 10, 10, id, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    EXPECT_EQ(CUserInt::topWindow->AddWindow(w, 1), 0);
    return w;
  }
};
}  // namespace

TEST_F(Turn, OpenWindowsTakeTheirTurnEverySixthFrameFromTheBack) {
  Add(301);
  Add(302);
  Add(303);
  for (int id : {301, 302, 303}) ui->ActivateWindow(id);
  ui->OnPlayloopTurn();
  EXPECT_EQ(turns, (std::vector<int>{301, 302, 303}));
  for (int i = 0; i < 5; ++i) ui->OnPlayloopTurn();
  EXPECT_EQ(turns.size(), 3u) << "frames 1-5 leave the windows alone";
  ui->OnPlayloopTurn();
  EXPECT_EQ(turns.size(), 6u);
  EXPECT_EQ(CUserInt::framecount, 7);
}

TEST_F(Turn, AWindowClosedDuringTheWalkEndsIt) {
  CountingWindow* back = Add(301);
  Add(302);
  Add(303);
  for (int id : {301, 302, 303}) ui->ActivateWindow(id);
  back->onTurn = [this] { ui->DeActivateWindow(302); };
  ui->OnPlayloopTurn();
  EXPECT_EQ(turns, (std::vector<int>{301}));
  turns.clear();
  back->onTurn = [this] { ui->ActivateWindow(302); };
  for (int i = 0; i < 6; ++i) ui->OnPlayloopTurn();
  EXPECT_EQ(turns, (std::vector<int>{301, 303})) << "a window opened during the walk waits for the next one";
}

TEST_F(Controller, ADeferredActionRunsAfterAFrameWithTheWaitCursor) {
  host.loadable = 1;
  host.loadResult = 0;
  ui->SetDoLater(DOLATER_LOAD);
  ui->SetDoLater(DOLATER_LOAD);
  EXPECT_EQ(CUserInt::selObj.countdown, 1);
  EXPECT_EQ(ui->GetCursorID(), CUserInt::kCursorWait);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.loads, 0) << "nothing runs before a frame was drawn";
  ui->Render(nullptr);
  EXPECT_EQ(CUserInt::selObj.countdown, 0);
  ui->OnPlayloopTurn();
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.loads, 1) << "asked twice, run once";
  EXPECT_EQ(CUserInt::selObj.countdown, -1);
  EXPECT_EQ(CUserInt::selObj.doLater, 0);
  EXPECT_EQ(host.listings, (std::vector<bool>{false}));
}

TEST_F(Controller, TheCursorBeforeTheWaitComesBack) {
  ui->SetCursorID(1409, 0);
  ui->SetDoLater(DOLATER_NEW);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(ui->GetCursorID(), 1409) << "without a world the cursor id is still kept";
  EXPECT_EQ(ui->GetLastCursorID(), Overlay::kNoBackup);
}

TEST_F(Controller, ALoadClosesTheGameMenuAndTheQuestionAndShowsAScenarioTask) {
  for (int id : {120, 247}) ui->ActivateWindow(id);
  builder.AddWindow(160, 0, 0, 352, 305, 1, WINDOW_NORMAL, POSITION_CENTERED, 0);
  ui->ActivateWindow(160);
  host.modus = 2;
  host.loadable = 1;
  host.loadResult = 0;
  ui->SetDoLater(DOLATER_LOAD);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(Order(), (std::vector<int>{120}));
  EXPECT_EQ(host.tasks, 1);
  EXPECT_EQ(ui->IsWindowOpen(220), 1);
}

TEST_F(Controller, FailedLoadsAndSavesAreReported) {
  host.loadable = 0;
  ui->SetDoLater(DOLATER_LOAD);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.loads, 0) << "a game that is not there is not loaded";
  EXPECT_EQ(host.warning, "Spielstand nicht vorhanden!");

  host.loadable = 1;
  host.loadResult = 1;
  host.warning.clear();
  ui->SetDoLater(DOLATER_LOAD);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.loads, 1);
  EXPECT_EQ(host.warning, "Spielstand nicht vorhanden!");

  host.saveResult = 1;
  ui->SetDoLater(DOLATER_SAVE);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.saves, 1);
  EXPECT_EQ(host.warning, "Spielstand konnte nicht gespeichert werden!");
  EXPECT_EQ(host.listings.back(), true);

  // A save that gave its own warning keeps it in front.
  host.onSave = [this] { ui->SetAchtungWindow(72); };
  ui->SetDoLater(DOLATER_SAVE);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.warning, "Original-Spielstand kann nicht \xFC" "berschrieben werden!");

  host.saveResult = 0;
  host.warning.clear();
  host.onSave = nullptr;
  ui->SetDoLater(DOLATER_SAVE);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.warning, "");
}

TEST_F(Controller, AutomaticSavesWaitLongerWithoutADisplay) {
  ui->SetDoLater(DOLATER_AUTOSAVE);
  EXPECT_EQ(CUserInt::selObj.countdown, 5);
  for (int frame = 0; frame < 4; ++frame) {
    ui->Render(nullptr);
    ui->OnPlayloopTurn();
  }
  EXPECT_EQ(host.autoSaves, 0);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.autoSaves, 1);
}

TEST_F(Controller, TurningTheViewRefreshesTheObjectFiltersOnlyWhileOneIsOn) {
  ui->SetDoLater(DOLATER_TURN_RIGHT);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.filterRefreshes, 0);
  ui->SetFilter(4, true);
  const int before = host.filterRefreshes;
  ui->SetDoLater(DOLATER_TURN_LEFT);
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.filterRefreshes, before + 1);
}

TEST_F(Controller, FiltersThreeAndFourNeverStandTogether) {
  EXPECT_EQ(ui->GetFilter(0), 1);
  ui->SetFilter(3, true);
  EXPECT_EQ(host.filterRefreshes, 1);
  ui->SetFilter(3, true);
  EXPECT_EQ(host.filterRefreshes, 1) << "no change, no refresh";
  ui->SetFilter(4, true);
  EXPECT_EQ(ui->GetFilter(3), 0);
  EXPECT_EQ(ui->GetFilter(4), 1);
  EXPECT_EQ(ui->GetFilter(0), 0);
  EXPECT_EQ(host.filterRefreshes, 2);
  ui->SetFilter(2, true);
  ui->SetFilter(0, true);
  EXPECT_EQ(ui->GetFilter(2), 0);
  EXPECT_EQ(ui->GetFilter(4), 0);
  EXPECT_EQ(host.filterRefreshes, 3);
  ui->SetFilter(0, true);
  EXPECT_EQ(host.filterRefreshes, 3);
  ui->SetFilter(5, true);
  EXPECT_EQ(ui->GetFilter(5), 0);
}

TEST_F(Controller, SwitchingTheLineFilterOffForgetsTheEditedLine) {
  CUserInt::selObj.selectedLine = reinterpret_cast<COpnvLine*>(8);
  ui->SetFilter(1, true);
  EXPECT_NE(CUserInt::selObj.selectedLine, nullptr);
  ui->SetFilter(1, false);
  EXPECT_EQ(CUserInt::selObj.selectedLine, nullptr);
}

TEST_F(Controller, TheSpiralVisitsRingAfterRingAndNeverTheCentre) {
  int x = 0, y = 0;
  ui->InitSpirale(10, 20, 0, false);
  EXPECT_FALSE(ui->GetNextSpiralWert(x, y));
  ui->InitSpirale(10, 20, 2, true);
  std::vector<std::pair<int, int>> cells;
  while (ui->GetNextSpiralWert(x, y)) cells.emplace_back(x, y);
  ASSERT_EQ(cells.size(), 24u);
  const std::vector<std::pair<int, int>> ring1 = {{11, 21}, {10, 21}, {9, 21}, {9, 20},
                                                  {9, 19},  {10, 19}, {11, 19}, {11, 20}};
  EXPECT_EQ((std::vector<std::pair<int, int>>(cells.begin(), cells.begin() + 8)), ring1);
  EXPECT_EQ(cells[8], (std::make_pair(12, 22)));
  EXPECT_EQ(cells[23], (std::make_pair(12, 21)));
  EXPECT_FALSE(ui->GetNextSpiralWert(x, y)) << "exhausted stays exhausted";
}

TEST_F(Controller, NamesOutsideTheirTablesAreEmptyOrTheFirstTemplate) {
  EXPECT_STREQ(CUserInt::GetZorvaObjectName(2), "Flu\xDF");
  language.language = 1;
  EXPECT_STREQ(CUserInt::GetZorvaObjectName(3), "Hill");
  EXPECT_STREQ(CUserInt::GetZorvaObjectName(69), "");
  EXPECT_STREQ(CUserInt::GetZorvaObjectName(70), "");
  EXPECT_STREQ(CUserInt::GetZorvaObjectName(-1), "");
  EXPECT_STREQ(CUserInt::GetGltTexte(1), "Train %i");
  EXPECT_STREQ(CUserInt::GetGltTexte(7), "Bus %i");
  EXPECT_STREQ(CUserInt::GetGltTexte(-3), "Bus %i");
}

namespace {
struct Owned : CZorvaObject {
  explicit Owned(int* destroyed) : m_destroyed(destroyed) {}
  int Destroy() override {
    ++*m_destroyed;
    return 0;
  }
  int* m_destroyed;
};

struct Bus : CIsoVehicle {
  explicit Bus(int* deleted) : m_deleted(deleted) {}
  ~Bus() override { ++*m_deleted; }
  int* m_deleted;
};
}  // namespace

TEST_F(Controller, CreatingTwiceKeepsTheSubObjectsAndDestroyReleasesThem) {
  CTwoDMap* map = ui->GetTwoDMap();
  CSmallMap* small = ui->GetSmallMap();
  CZorvaList* list = ui->GetRenderList();
  CBuildingList* selection = CUserInt::selObj.markedBuildings;
  ASSERT_NE(selection, nullptr);
  ASSERT_NE(map, nullptr);
  ui->ActivateWindow(120);
  ui->OnCreate(nullptr, nullptr, reinterpret_cast<CZorvaWorld*>(&host), nullptr, nullptr);
  EXPECT_EQ(ui->GetTwoDMap(), map);
  EXPECT_EQ(ui->GetSmallMap(), small);
  EXPECT_EQ(ui->GetRenderList(), list);
  EXPECT_EQ(CUserInt::selObj.markedBuildings, selection);
  EXPECT_EQ(Order(), (std::vector<int>{120})) << "the open windows stay listed";
  EXPECT_EQ(Overlay::GetWorld(), reinterpret_cast<CZorvaWorld*>(&host));

  int destroyed = 0;
  CUserInt::selObj.ownedObject = new Owned(&destroyed);
  EXPECT_EQ(ui->Destroy(), 0);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(CUserInt::selObj.ownedObject, nullptr);
  EXPECT_EQ(CUserInt::selObj.markedBuildings, nullptr);
  EXPECT_EQ(CUserInt::topWindow, nullptr);
  EXPECT_EQ(ui->GetTwoDMap(), nullptr);
  EXPECT_EQ(Overlay::GetWorld(), nullptr);
  EXPECT_EQ(ui->IsWindowOpen(120), 1);
}

TEST_F(Controller, BusesThatStoppedAreRemovedAtTheSlowTurn) {
  int deleted = 0;
  auto* running = new Bus(&deleted);
  auto* stopped = new Bus(&deleted);
  ui->AddBus(running);
  ui->AddBus(stopped);
  stopped->SetVehicleActive(false);
  CUserInt::framecount = 1;
  ui->OnPlayloopTurn();
  EXPECT_EQ(ui->GetBusList()->GetCount(), 2) << "only every sixth frame";
  CUserInt::framecount = 6;
  ui->OnPlayloopTurn();
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(ui->GetBusList()->GetCount(), 1);
  EXPECT_EQ(ui->GetBusList()->CheckZorvaInList(running), 0);
  ui->RemoveBus(running);
  delete running;
}

TEST_F(Controller, NewGameAndAutomaticLoadRunThroughTheWorld) {
  ui->SetCursorID(28426, 2);
  ui->SetDoLater(DOLATER_NEW);
  EXPECT_EQ(ui->GetCursorState(), 0) << "the wait cursor plays its first state";
  ui->Render(nullptr);
  ui->OnPlayloopTurn();
  EXPECT_EQ(host.resets, 1);
  ui->SetDoLater(DOLATER_AUTOLOAD);
  for (int i = 0; i < 5; ++i) {
    ui->Render(nullptr);
    ui->OnPlayloopTurn();
  }
  EXPECT_EQ(host.autoLoads, 1);
  EXPECT_EQ(host.warning, "Spielstand nicht vorhanden!");
  host.warning.clear();
  host.autoLoadResult = 0;
  ui->SetDoLater(DOLATER_AUTOLOAD);
  for (int i = 0; i < 5; ++i) {
    ui->Render(nullptr);
    ui->OnPlayloopTurn();
  }
  EXPECT_EQ(host.autoLoads, 2);
  EXPECT_EQ(host.warning, "");
}

TEST_F(Controller, TheStreetMarksStayInsideTheMap) {
  ui->SetTileMask(127, 127, 3, 4);
  EXPECT_EQ(ui->GetTileMask(127, 127), 3);
  EXPECT_EQ(ui->GetTileMask2(127, 127), 4);
  ui->SetTileMask(128, 0, 7, 9);
  ui->SetTileMask(0, 128, 7, 9);
  ui->SetTileMask(-1, 5, 7, 9);
  EXPECT_EQ(ui->GetTileMask2(0, 0), 0);
  EXPECT_EQ(ui->GetTileMask(0, 0), 0);
  EXPECT_EQ(ui->GetTileMask(1, 0), 0);
  EXPECT_EQ(ui->GetTileMask(128, 0), 0);
  EXPECT_EQ(ui->GetTileMask2(-1, 5), 0);
}

TEST_F(Controller, AnyOneFilterSwitchesTheNoFilterStateOff) {
  for (int n = 1; n <= 4; ++n) {
    ui->SetFilter(0, true);
    ui->SetFilter(n, true);
    EXPECT_EQ(ui->GetFilter(0), 0) << "filter " << n;
  }
}
