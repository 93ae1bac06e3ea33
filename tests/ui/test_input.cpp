// The input filter without a map: shortcuts and when they run, the open
// windows taking mouse events, the bottom panel, the warning window, the
// pan key, Escape and the questions before a game is replaced.
#include <string>
#include <vector>

#include "ui_fixture.h"

namespace {

// The controller's host with the shortcut services counted.
struct InputHost : uitest::ScriptedUiHost {
  int languageToggles = 0;
  bool carsharingCentre = false;
  void ToggleLanguage() override { ++languageToggles; }
  bool HasCarsharingCentre() override { return carsharingCentre; }
};

struct Input : uitest::Controller {
  // Installed over the fixture's host for as long as the test runs.
  InputHost inputHost;

  void SetUp() override {
    Controller::SetUp();
    CUserInt::ClearTools();
    CUserInt::DefineTool(1, 1409, "select");
    CUserInt::DefineTool(2, 1, 28455, "street 1");
    CUserInt::DefineTool(2, 2, 28454, "street 2");
    CUserInt::DefineTool(2, 4, 28451, "street 4");
    CUserInt::DefineTool(5, 1, 28468, "stop");
    CUserInt::DefineTool(5, 2, 28468, "stop");
    CUserInt::DefineTool(10, 1, 28481, "res");
    CUserInt::DefineTool(10, 2, 28482, "res");
    CUserInt::DefineTool(11, 1, 28478, "com");
    CUserInt::DefineTool(11, 2, 28479, "com");
    CUserInt::DefineTool(12, 1, 28480, "ind");
    for (int id : {160, 147, 201, 227, 228, 140, 141, 142, 143, 144, 145, 146}) builder.AddWindow(id, 300, 100, 200, 150, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    // The load and save pages belong to their group window.
    for (int id : {161, 162, 163}) builder.AddWindow(id, 0, 20, 200, 130, 160, WINDOW_NORMAL, POSITION_FIXED, 0);
    ui->SetSceneWindowDisplaySize(800, 600);
    inputHost.started = true;
    CUserInt::m_ActivateDebugInfo = 0;
    CUserInt::m_StaticCity = false;
    // A catalogue with a picture for each kind the placing tools choose.
    CBuildingDataList::ClearRows();
    const int kinds[][3] = {{23, 0, 32290}, {25, 0, 30084}, {12, 1, 18332}, {18, 2, 27552}, {19, 2, 27563}, {34, 0, 28686}};
    for (const auto& k : kinds) {
      PotentialType row;
      row.objectType = k[0];
      row.height = static_cast<uint16_t>(k[1]);
      row.resId = k[2];
      ASSERT_EQ(CBuildingDataList::AddBuildingPotential(&row), 0);
    }
  }
  void TearDown() override {
    CBuildingDataList::ClearRows();
    CUserInt::m_ActivateDebugInfo = 0;
    CUserInt::ClearTools();
    Controller::TearDown();
  }

  int Send(int type, int x, int y = 0, int button = 0) {
    QnoInteractionEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = button;
    return ui->InputFilter(&e, nullptr);
  }
  int Key(int code) { return Send(QNO_EVENT_KEYDOWN, code); }
  int KeyUp(int code) { return Send(QNO_EVENT_KEYUP, code); }
  bool Open(int id) { return ui->IsWindowOpen(id) == 0; }
  int Tool() const { return CUserInt::selObj.tool; }
};

TEST_F(Input, DigitsChooseToolsOnlyOnceTheGameHasStarted) {
  inputHost.started = false;
  EXPECT_EQ(Key('6'), 0);
  EXPECT_EQ(Tool(), 1);
  // Without DEBUGKEYS=1 in the settings, 0 and 9 on the start windows do
  // nothing at all.
  EXPECT_EQ(Key(CUserInt::kDebugKey), 0);
  EXPECT_EQ(Key(CUserInt::kStaticCityKey), 0);
  EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 0);
  EXPECT_FALSE(CUserInt::m_StaticCity);
  // With it, the debug key acts while the shortcuts do not.
  inputHost.debugKeys = true;
  EXPECT_EQ(Key(CUserInt::kDebugKey), 0);
  EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 1);
  // Once on, 0 is the debug keys' own (game mode 1); they go off by the
  // world's lock.
  const int calls = ui->GetMapCallCount();
  EXPECT_EQ(Key(CUserInt::kDebugKey), 0);
  EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 1);
  EXPECT_EQ(ui->GetMapCallCount(), calls + 1);
  CUserInt::m_ActivateDebugInfo = 0;
  EXPECT_EQ(Key(CUserInt::kStaticCityKey), 0);
  EXPECT_TRUE(CUserInt::m_StaticCity);

  inputHost.started = true;
  const std::vector<std::pair<int, std::pair<int, int>>> table = {
      {'6', {2, 1}}, {'7', {2, 2}}, {'8', {2, 4}}, {'9', {5, 1}}, {'0', {5, 2}},
      {'1', {10, 1}}, {'2', {10, 2}}, {'3', {11, 1}}, {'4', {11, 2}}, {'5', {12, 1}}};
  for (const auto& [key, tool] : table) {
    EXPECT_EQ(Key(key), 0) << key;
    EXPECT_EQ(Tool(), tool.first) << key;
    EXPECT_EQ(CUserInt::selObj.subtool, tool.second) << key;
  }
  EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 0) << "0 chose a tool instead";
  EXPECT_TRUE(CUserInt::m_StaticCity) << "9 chose a tool instead";
  EXPECT_EQ(ui->GetCursorID(), 28480);
}

TEST_F(Input, KeysAreConsumedAndKeyReleasesPassOn) {
  EXPECT_EQ(Key('Q'), 0);
  EXPECT_EQ(KeyUp('Q'), 1);
  EXPECT_EQ(KeyUp('6'), 1);
  // The automatic-save key and D are taken even while the shortcuts wait.
  inputHost.started = false;
  EXPECT_EQ(KeyUp(26), 0);
  EXPECT_EQ(KeyUp(68), 0);
  EXPECT_EQ(CUserInt::selObj.doLater, 0);
}

TEST_F(Input, PageKeysShowOnePageOfTheLoadAndSaveGroup) {
  EXPECT_EQ(Key(24), 0);
  EXPECT_TRUE(Open(160));
  EXPECT_TRUE(Open(163));
  EXPECT_FALSE(Open(161));
  EXPECT_EQ(Key(23), 0);
  EXPECT_TRUE(Open(161));
  EXPECT_FALSE(Open(163));
  EXPECT_TRUE(Open(160));
  EXPECT_EQ(Key(22), 0);
  EXPECT_TRUE(Open(162));
  EXPECT_FALSE(Open(161));
  // The page shown closes the group again.
  EXPECT_EQ(Key(22), 0);
  for (int id : {160, 161, 162, 163}) EXPECT_FALSE(Open(id)) << id;
}

TEST_F(Input, PauseKeyHoldsTheGameWithTheOptionsPageAndReleasesIt) {
  ui->ActivateWindow(161);
  EXPECT_EQ(Key(12), 0);
  EXPECT_EQ(CUserInt::selObj.pause, 1);
  EXPECT_TRUE(Open(160));
  EXPECT_TRUE(Open(163));
  EXPECT_FALSE(Open(161));
  EXPECT_EQ(Key(12), 0);
  EXPECT_EQ(CUserInt::selObj.pause, 0);
  for (int id : {160, 161, 162, 163}) EXPECT_FALSE(Open(id)) << id;
}

TEST_F(Input, ViewKeysWaitForTheNextFramesWithTheWaitCursor) {
  ui->SetCursorID(1409, 0);
  const std::vector<std::pair<int, int>> table = {{'X', DOLATER_TURN_RIGHT}, {'Y', DOLATER_TURN_LEFT},
                                                  {'C', DOLATER_ZOOM_IN},    {17, DOLATER_ZOOM_IN},
                                                  {'D', DOLATER_ZOOM_OUT},   {16, DOLATER_ZOOM_OUT},
                                                  {26, DOLATER_AUTOSAVE}};
  for (const auto& [key, action] : table) {
    EXPECT_EQ(Key(key), 0) << key;
    EXPECT_EQ(CUserInt::selObj.doLater, action) << key;
    EXPECT_EQ(ui->GetCursorID(), CUserInt::kCursorWait) << key;
  }
  EXPECT_EQ(ui->GetLastCursorID(), 1409u);
}

TEST_F(Input, WithDebugKeysOnTheSaveKeyReachesThemInstead) {
  inputHost.debugKeys = true;
  CUserInt::m_ActivateDebugInfo = 1;
  EXPECT_EQ(Key(26), 0);
  EXPECT_EQ(CUserInt::selObj.doLater, 0);
  ASSERT_GT(ui->GetMapCallCount(), 0);
  const auto& last = ui->GetMapCall(ui->GetMapCallCount() - 1);
  EXPECT_STREQ(last.name, "InputFilterDebugKeys");
  EXPECT_EQ(last.x, 26);
  // The shortcuts wait while the debug keys are on.
  EXPECT_EQ(Key('6'), 0);
  EXPECT_EQ(Tool(), 1);
}

// The yes answer of the question window: item 0 with one action.
CAction* AddYes(uitest::Controller& t) {
  t.builder.AddItem(247, -1, 0, 0, 50, 20, 1);
  auto* yes = new CAction;
  yes->Set(1, WHEN_LEFT_UP, INOUT_INSIDE, 0, 0, 0, 0);
  EXPECT_EQ(t.Window(247)->AddAction(yes, 247, -1, 0), 0);
  return yes;
}

TEST_F(Input, TheAutomaticGameReplacesTheGameOnlyAfterTheQuestion) {
  CAction* yes = AddYes(*this);
  EXPECT_EQ(Key(27), 0);
  EXPECT_EQ(CUserInt::selObj.doLater, 0) << "nothing is loaded by the key itself";
  EXPECT_TRUE(Open(247));
  EXPECT_EQ(CUserInt::selObj.yesNoWarning, CUserInt::kQuestionReplaceGame);
  EXPECT_NE(inputHost.question.find("ersetzen"), std::string::npos);
  EXPECT_EQ(yes->m_kind, CUserInt::kActionFastLoad) << "yes loads the fast save of the save key";
  // Escape says no.
  EXPECT_EQ(Key(QNO_KEY_ESCAPE), 0);
  EXPECT_FALSE(Open(247));
  EXPECT_EQ(CUserInt::selObj.doLater, 0);
}

TEST_F(Input, EscapeWithOnlyTheMainScreenAsksToQuit) {
  CAction* yes = AddYes(*this);
  ui->ActivateWindow(6);
  EXPECT_EQ(Key(QNO_KEY_ESCAPE), 0);
  EXPECT_EQ(CUserInt::selObj.yesNoWarning, CUserInt::kQuestionQuit);
  EXPECT_EQ(yes->m_kind, CUserInt::kActionQuit);
}

TEST_F(Input, TheAutomaticGameIsNotLoadedWhenNoQuestionCanBeAsked) {
  RemoveWindow(247);
  EXPECT_EQ(Key(27), 0);
  EXPECT_EQ(Key(27), 0);
  EXPECT_EQ(CUserInt::selObj.doLater, 0);
}

TEST_F(Input, EscapeAsksBeforeQuittingAndClosesTheQuestion) {
  EXPECT_EQ(Key(QNO_KEY_ESCAPE), 0) << "nothing open";
  EXPECT_FALSE(Open(247));
  ui->ActivateWindow(6);
  EXPECT_EQ(Key(QNO_KEY_ESCAPE), 0);
  EXPECT_TRUE(Open(6)) << "the main screen stays";
  EXPECT_TRUE(Open(247));
  EXPECT_EQ(CUserInt::selObj.yesNoWarning, CUserInt::kQuestionQuit);
  EXPECT_EQ(Key(QNO_KEY_ESCAPE), 0);
  EXPECT_FALSE(Open(247));
  // A page of a group closes with its group and asks nothing.
  ui->ActivateWindow(160);
  ui->ActivateWindow(163);
  EXPECT_EQ(Key(QNO_KEY_ESCAPE), 0);
  EXPECT_FALSE(Open(160));
  EXPECT_FALSE(Open(163));
  EXPECT_FALSE(Open(247));
  EXPECT_EQ(Key(QNO_KEY_ESCAPE), 0);
  EXPECT_TRUE(Open(247)) << "nothing left to close but the main screen";
}

TEST_F(Input, LanguageAndWindowKeys) {
  EXPECT_EQ(Key('L'), 0);
  EXPECT_EQ(inputHost.languageToggles, 1);
  EXPECT_EQ(Key('O'), 0);
  EXPECT_TRUE(Open(120));
  EXPECT_EQ(Key('O'), 0);
  EXPECT_FALSE(Open(120));
  EXPECT_EQ(Key('M'), 0);
  EXPECT_TRUE(Open(201));
}

TEST_F(Input, TheIndicatorKeyOpensItsPageAndClosesTheOthers) {
  ui->ActivateWindow(142);
  ui->ActivateWindow(144);
  EXPECT_EQ(Key('I'), 0);
  EXPECT_TRUE(Open(140));
  EXPECT_TRUE(Open(141));
  for (int id : {142, 143, 144, 145, 146}) EXPECT_FALSE(Open(id)) << id;
  EXPECT_EQ(Key('I'), 0);
  for (int id = 140; id <= 146; ++id) EXPECT_FALSE(Open(id)) << id;
}

TEST_F(Input, ArrowKeysWithoutAMapAreTakenAndChangeNothing) {
  for (int k : {QNO_KEY_UP, QNO_KEY_DOWN, QNO_KEY_LEFT, QNO_KEY_RIGHT}) EXPECT_EQ(Key(k), 0);
  EXPECT_EQ(Tool(), 1);
}

TEST_F(Input, AHeldControlKeyShowsThePanCursorUntilReleased) {
  ui->SetCursorID(28455, 0);
  EXPECT_EQ(Key(QNO_KEY_CTRL), 0);
  EXPECT_EQ(ui->GetCursorID(), CUserInt::kCursorPan);
  EXPECT_EQ(KeyUp(QNO_KEY_CTRL), 0);
  EXPECT_EQ(ui->GetCursorID(), 28455);
}

TEST_F(Input, AWindowTakesButtonsOverItAndShowsThePointer) {
  Key('6');
  ui->ActivateWindow(120);  // at (0, 20), 100 x 80
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 50, 50), 0);
  EXPECT_EQ(ui->GetCursorID(), CUserInt::kCursorWindow);
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 50, 50, 0), 0);
  EXPECT_EQ(CUserInt::selObj.leftButton, 1);
  CUserInt::framecount = 9;
  EXPECT_EQ(Send(QNO_EVENT_BUTTONUP, 50, 50, 0), 0);
  EXPECT_EQ(CUserInt::framecount, 0);
  EXPECT_EQ(CUserInt::selObj.leftButton, 0);
  EXPECT_EQ(CUserInt::selObj.startX, -1);
  EXPECT_EQ(CUserInt::selObj.width, -1) << "no building choice open: no footprint either";
  // Leaving the window brings the street cursor back.
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 400, 200), 1);
  EXPECT_EQ(ui->GetCursorID(), 28455);
  EXPECT_EQ(ui->GetLastCursorID(), Overlay::kNoBackup);
}

TEST_F(Input, WindowsOfTheIndicatorPanelLetClicksPass) {
  ui->ActivateWindow(147);  // at (300, 100), 200 x 150
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 350, 150, 0), 1);
  EXPECT_EQ(ui->GetCursorID(), CUserInt::kCursorWindow);
  ui->ActivateWindow(120);
  ui->ActivateWindow(163);  // over 147 at the same place
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 350, 150, 0), 0);
}

TEST_F(Input, MainScreenWindowsTakeInputOnlyWithThePanelShown) {
  ui->ActivateWindow(6);  // at (60, 20), 100 x 80
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 70, 30, 0), 1);
  CUserInt::selObj.panelShown = 1;
  CUserInt::selObj.panelPinned = 1;
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 70, 30, 0), 0);
}

TEST_F(Input, ThePanelFollowsTheMouseAlongTheBottomEdge) {
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 190, 590), 1);
  EXPECT_EQ(CUserInt::selObj.panelShown, 0);
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 600, 590), 0);
  EXPECT_EQ(CUserInt::selObj.panelShown, 1);
  EXPECT_EQ(CUserInt::selObj.overPanel, 1);
  EXPECT_EQ(ui->GetCursorID(), CUserInt::kCursorWindow);
  // Its slanted left edge: above the slope is still the map.
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 200, 560), 0);
  EXPECT_EQ(CUserInt::selObj.overPanel, 1);
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 200, 520), 1);
  EXPECT_EQ(CUserInt::selObj.overPanel, 0);
  EXPECT_EQ(CUserInt::selObj.panelShown, 0);
  // While the start windows wait the panel is seen but not counted.
  inputHost.started = false;
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 600, 590), 1);
  EXPECT_EQ(CUserInt::selObj.overPanelRaw, 1);
  EXPECT_EQ(CUserInt::selObj.overPanel, 0);
  EXPECT_EQ(CUserInt::selObj.panelShown, 0);
}

TEST_F(Input, AtTheLargestScreenThePanelStripMovesWithTheCorner) {
  ui->SetSceneWindowDisplaySize(1024, 768);
  Send(QNO_EVENT_MOUSEMOVE, 414, 760);
  EXPECT_EQ(CUserInt::selObj.panelShown, 0);
  Send(QNO_EVENT_MOUSEMOVE, 415, 749);
  EXPECT_EQ(CUserInt::selObj.overPanelRaw, 1);
  Send(QNO_EVENT_MOUSEMOVE, 900, 700);
  EXPECT_EQ(CUserInt::selObj.overPanel, 1) << "the panel's top edge lies at 666 there";
  Send(QNO_EVENT_MOUSEMOVE, 900, 600);
  EXPECT_EQ(CUserInt::selObj.panelShown, 0);
  // A held button keeps the panel as it is.
  Send(QNO_EVENT_BUTTONDOWN, 900, 600, 1);
  Send(QNO_EVENT_MOUSEMOVE, 900, 760);
  EXPECT_EQ(CUserInt::selObj.panelShown, 0);
}

TEST_F(Input, APressOnThePanelDropsTheTool) {
  Key('8');
  Send(QNO_EVENT_MOUSEMOVE, 600, 590);
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 600, 590, 0), 0);
  EXPECT_EQ(Tool(), 1);
}

TEST_F(Input, TheWarningGoesOnAPressOrOnAMoveAfterItsTime) {
  zortest::Clock().Set(10000);
  ui->SetAchtungWindow(34);
  ASSERT_EQ(CUserInt::selObj.warningShown, 1);
  zortest::Clock().Set(11500);
  Send(QNO_EVENT_MOUSEMOVE, 400, 300);
  EXPECT_TRUE(Open(220));
  zortest::Clock().Set(11501);
  Send(QNO_EVENT_MOUSEMOVE, 401, 300);
  EXPECT_FALSE(Open(220));
  EXPECT_EQ(CUserInt::selObj.warningShown, 0);
  ui->SetAchtungWindow(34);
  Send(QNO_EVENT_BUTTONDOWN, 700, 10, 0);
  EXPECT_FALSE(Open(220));
}

TEST_F(Input, TheExhibitionTakesTheWholeInputAndPassesOverTheNormalGamesWindows) {
  ui->ActivateWindow(160, 1);
  ASSERT_TRUE(Open(160));
  inputHost.modus = 3;
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 350, 150, 0), 1) << "the load and save group takes nothing";
  EXPECT_EQ(CUserInt::selObj.leftButton, 0) << "nothing else looked at the press";
  Send(QNO_EVENT_BUTTONUP, 350, 150, 0);
  inputHost.modus = 1;
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 350, 150, 0), 0) << "in the normal game the window takes it";
}

TEST_F(Input, ToolsOpenAndCloseTheBuildingChoiceAndTheLineEditor) {
  EXPECT_EQ(ui->SetToolNr(6, 1, 1), 0);
  EXPECT_EQ(Tool(), 6);
  EXPECT_TRUE(Open(228));
  ui->SetToolNr(2, 1, -1);
  EXPECT_FALSE(Open(228));
  ui->SetToolNr(8, 2, 2);
  EXPECT_TRUE(Open(228));
  ui->ActivateWindow(227);
  ui->SetToolNr(23, -1, -1);
  EXPECT_FALSE(Open(227));
  EXPECT_FALSE(Open(228));
  ui->ActivateWindow(227);
  ui->SetToolNr(1, -1, -1);
  EXPECT_FALSE(Open(227));
  // Leaving the line editor closes it and opens the window it came from.
  ui->SetToolNr(18, 0, -1);
  ui->ActivateWindow(227);
  CUserInt::selObj.reopenWindow = 120;
  ui->SetToolNr(2, 1, -1);
  EXPECT_FALSE(Open(227));
  EXPECT_TRUE(Open(120));
  EXPECT_EQ(CUserInt::selObj.reopenWindow, 0);
}

TEST_F(Input, TheCarSharingCentreComesFromTheWorld) {
  ui->SetToolNr(7, 1, 1);
  EXPECT_EQ(Tool(), 7);
  inputHost.carsharingCentre = true;
  ui->SetToolNr(2, 1, -1);
  EXPECT_EQ(ui->SetToolNr(7, 1, 1), 0);
  EXPECT_EQ(Tool(), 2) << "a second centre is refused";
  EXPECT_TRUE(Open(220));
}

TEST_F(Input, TheCallLogKeepsTheLatestCalls) {
  inputHost.debugKeys = true;
  CUserInt::m_ActivateDebugInfo = 1;
  for (int i = 0; i < 20; ++i) Key(100 + i);
  EXPECT_EQ(ui->GetMapCallCount(), 20);
  EXPECT_EQ(ui->GetFirstKeptMapCall(), 20 - CUserInt::kMapCallLog);
  EXPECT_EQ(ui->GetMapCall(ui->GetFirstKeptMapCall()).x, 104);
  EXPECT_EQ(ui->GetMapCall(19).x, 119);
}

}  // namespace

namespace {

// The debug keys on a controller with no game behind it: off they do
// nothing; on, every key of the table runs without a vehicle, node,
// message or network to act on, and the test-object keys step through the
// catalogue and the four directions with their wraps.
TEST_F(Input, DebugKeysActOnlyWhileOnAndNeedNothingThatIsNotThere) {
  CUserInt::DefineTool(14, 1409, "test object");
  Key('K');
  Key('V');
  EXPECT_EQ(CUserInt::selObj.removeAllTest, 0);
  EXPECT_EQ(CUserInt::m_Debug.tripDistribution, 0);
  // On, but not allowed by the settings: still nothing.
  CUserInt::m_ActivateDebugInfo = 1;
  Key('K');
  Key('Z');
  EXPECT_EQ(CUserInt::selObj.removeAllTest, 0);

  inputHost.debugKeys = true;
  for (int code = 25; code <= 90; ++code) Key(code);
  EXPECT_EQ(CUserInt::selObj.ownedObject, nullptr) << "no test vehicle without a world to make it";
  EXPECT_EQ(CUserInt::SelectedCyberNode(), nullptr);
  EXPECT_EQ(CUserInt::m_Debug.browseGroup, 0);
  EXPECT_EQ(CUserInt::selObj.removeAllTest, 1);
  EXPECT_EQ(CUserInt::m_Debug.tripDistribution, 1);
  EXPECT_EQ(CUserInt::m_Debug.netCheck, 1);
  EXPECT_EQ(CUserInt::selObj.pause, 1);

  CUserInt::selObj.buildingNumber = 0;
  CUserInt::selObj.buildingRichtung = 0;
  EXPECT_EQ(Key('Q'), 0);
  EXPECT_EQ(Tool(), 14);
  EXPECT_EQ(CUserInt::selObj.buildingNumber, 4) << "from 0 back to the count - 2";
  EXPECT_EQ(CUserInt::selObj.objectType, 19);
  Key('W');
  Key('W');
  EXPECT_EQ(CUserInt::selObj.buildingNumber, 0) << "from the count - 1 on to 0";
  EXPECT_EQ(CUserInt::selObj.objectType, 23);
  for (int expected : {3, 2}) {
    Key('R');
    EXPECT_EQ(CUserInt::selObj.buildingRichtung, expected);
  }
  Key('E');
  Key('E');
  EXPECT_EQ(CUserInt::selObj.buildingRichtung, 0);
}

}  // namespace
