// The render list, opening and closing through the controller, warnings and
// the yes/no question.
#include "measures/opnv_line.h"
#include "ui/view_filter.h"
#include "ui_fixture.h"

using uitest::Controller;

TEST_F(Controller, OpenedWindowsGoToTheFrontExceptTheMainScreenOnceListed) {
  EXPECT_EQ(ui->IsWindowOpen(1), 1) << "an empty render list holds nothing";
  EXPECT_EQ(ui->InsertIntoRenderList(Window(6), 6), 0);
  for (int id : {7, 120, 20}) ASSERT_EQ(ui->ActivateWindow(id), 0);
  EXPECT_EQ(Order(), (std::vector<int>{20, 120, 7, 6}));
  ui->ActivateWindow(6);
  EXPECT_EQ(Order(), (std::vector<int>{20, 120, 7, 6})) << "a main-screen window keeps its place";
  ui->ActivateWindow(120);
  EXPECT_EQ(Order(), (std::vector<int>{120, 20, 7, 6}));
  EXPECT_EQ(ui->InsertIntoRenderList(Window(6), 6), 1);
  EXPECT_EQ(ui->InsertIntoRenderList(nullptr, 999), 1) << "an id the tree does not hold";
  EXPECT_EQ(Order().size(), 4u);
  EXPECT_EQ(ui->IsWindowOpen(120), 0);
  EXPECT_EQ(ui->IsWindowOpen(220), 1);
}

TEST_F(Controller, ClosingTakesOneEntryAndToleratesWindowsThatAreNotOpen) {
  for (int id : {6, 120, 20}) ui->ActivateWindow(id);
  EXPECT_EQ(ui->RemoveFromRenderList(nullptr, 220), 0);
  EXPECT_EQ(ui->DeActivateWindow(120), 0);
  EXPECT_EQ(Order(), (std::vector<int>{20, 6}));
  EXPECT_EQ(ui->RemoveFromRenderList(Window(6), -5), 0) << "found by the window itself";
  EXPECT_EQ(Order(), (std::vector<int>{20}));
  EXPECT_EQ(ui->BringToFront(Window(120)), 1) << "a closed window is not brought back";
  EXPECT_EQ(ui->ActivateWindow(4711), 1);
}

TEST_F(Controller, MenusCloseButOtherWindowsStay) {
  for (int id : {6, 120, 20, 25, 26}) ui->ActivateWindow(id);
  ui->DisableSubMenues();
  EXPECT_EQ(Order(), (std::vector<int>{20, 120, 6}));
  ui->ActivateWindow(25);
  ui->DisableStandardMenues();
  EXPECT_EQ(Order(), (std::vector<int>{120, 6}));
  ui->ActivateWindow(20);
  Window(20)->SetPosX(Window(20)->GetPosX() + 30);
  Window(20)->SetPosY(Window(20)->GetPosY() - 10);
  ui->DisableStandardMenues();
  EXPECT_EQ(ui->IsWindowOpen(20), 0) << "a menu the player moved stays open";
}

TEST_F(Controller, TheMenuWalkEndsAfterElevenRestarts) {
  for (int id = 300; id < 314; ++id) builder.AddWindow(id, 0, 0, 10, 10, 1, WINDOW_SUBMENU, POSITION_FIXED, 0);
  for (int id = 300; id < 314; ++id) ui->ActivateWindow(id);
  ui->DisableStandardMenues();
  EXPECT_EQ(Order().size(), 2u);
  ui->DisableSubMenues();
  EXPECT_TRUE(Order().empty()) << "the sub-menu walk goes on until none is left";
}

TEST_F(Controller, WarningsShowTheirTextInTheCurrentLanguage) {
  zortest::Clock().Set(5000);
  ui->SetAchtungWindow(68);
  EXPECT_EQ(host.warning, "Spielstand nicht vorhanden!");
  EXPECT_EQ(ui->IsWindowOpen(220), 0);
  EXPECT_EQ(CUserInt::selObj.warningShown, 1);
  EXPECT_EQ(ui->GetAchtungTime(), 5000u);
  language.language = 1;
  ui->SetAchtungWindow(83);
  EXPECT_EQ(host.warning, "Do you really want to delete this line?");
  ui->SetAchtungWindow(17);
  EXPECT_EQ(host.warning.find("Banh"), std::string::npos);
  ui->SetAchtungWindow(84);
  EXPECT_EQ(host.warning, "The game could not be saved!");
  ui->SetAchtungWindow(85);
  EXPECT_EQ(host.warning, "A new street must join the street network!");
  ui->SetAchtungWindow(89);
  EXPECT_EQ(host.warning, "The building needs free land!");
  language.language = 0;
  ui->SetAchtungWindow(89);
  EXPECT_EQ(host.warning, "Das Geb\xE4ude braucht freies Land!");
  ui->SetAchtungWindow(CUserInt::kAchtungCount);
  EXPECT_EQ(host.warning, "");
  ui->SetAchtungWindow(-1);
  EXPECT_EQ(host.warning, "");
}

TEST_F(Controller, TheExhibitionKeepsTheWarningClosedAndItDoesNotCountAsShown) {
  gui.gameMode = 3;
  zortest::Clock().Set(700);
  ui->SetAchtungWindow(2);
  EXPECT_EQ(ui->IsWindowOpen(220), 1);
  EXPECT_EQ(CUserInt::selObj.warningShown, 0);
  gui.gameMode = 1;
  ui->SetAchtungWindow(2);
  EXPECT_EQ(CUserInt::selObj.warningShown, 1);
}

TEST_F(Controller, AWarningWhoseWindowStaysClosedDoesNotCountAsShown) {
  RemoveWindow(220);
  ui->SetAchtungWindow(2);
  EXPECT_EQ(ui->IsWindowOpen(220), 1);
  EXPECT_EQ(CUserInt::selObj.warningShown, 0);
  EXPECT_EQ(ui->GetAchtungTime(), 0u);
}

namespace {
CAction* AddAnswer(CScreenWindow* window, int itemNr, EActionType kind) {
  auto* a = new CAction;
  a->Set(kind, WHEN_LEFT_UP, INOUT_INSIDE, 1, 2, 3, 4);
  EXPECT_EQ(window->AddAction(a, window->GetID(), -1, itemNr), 0);
  return a;
}
}  // namespace

TEST_F(Controller, TheQuestionAnswersThroughItsFirstItem) {
  CAction* action = reinterpret_cast<CAction*>(1);
  CItem* item = reinterpret_cast<CItem*>(1);
  EXPECT_EQ(ui->GetAchtungWindowJaNeinItemAction(action, item, true), nullptr);
  EXPECT_EQ(action, nullptr);
  EXPECT_EQ(item, nullptr) << "no item in the window";

  builder.AddItem(247, -1, 0, 0, 50, 20, 1);  // item 0
  builder.AddItem(247, -1, 60, 0, 50, 20, 1);  // item 1
  CScreenWindow* w = Window(247);
  CAction* otherYes = AddAnswer(w, 1, 81);
  CAction* close = AddAnswer(w, 0, 6);
  CAction* hover = AddAnswer(w, 0, 11);
  CAction* yes = AddAnswer(w, 0, 81);
  EXPECT_EQ(ui->GetAchtungWindowJaNeinItemAction(action, item, true), yes);
  EXPECT_EQ(action, yes);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetNr(), 0);
  EXPECT_EQ(ui->GetAchtungWindowJaNeinItemAction(action, item, false), close);
  ui->SetAchtungWindowJaNein(70, 145);
  EXPECT_EQ(yes->m_kind, 145) << "yes runs the question's follow-up";
  EXPECT_EQ(close->m_kind, 6);
  EXPECT_EQ(hover->m_kind, 11);
  EXPECT_EQ(otherYes->m_kind, 81) << "only item 0 answers";
  ui->SetAchtungWindowJaNein(79);
  EXPECT_EQ(yes->m_kind, 145) << "no kind given: the answer stays";
  RemoveWindow(247);
  EXPECT_EQ(ui->GetAchtungWindowJaNeinItemAction(action, item, true), nullptr);
  EXPECT_EQ(item, nullptr) << "no question window";
}

TEST_F(Controller, TheQuestionIsPendingOnlyWhileItsWindowIsOpen) {
  ui->SetAchtungWindowJaNein(79);
  EXPECT_EQ(host.question, "Wollen Sie das Spiel wirklich verlassen?");
  EXPECT_TRUE(ui->IsAchtungWindowJaNein(79));
  EXPECT_FALSE(ui->IsAchtungWindowJaNein(80));
  EXPECT_EQ(gui.GetYesNoWarningNumber(), 79);
  ui->DeActivateWindow(247);
  EXPECT_FALSE(ui->IsAchtungWindowJaNein(79));
  RemoveWindow(247);
  ui->SetAchtungWindowJaNein(80);
  EXPECT_EQ(CUserInt::selObj.yesNoWarning, -1) << "no window, no question";
}

TEST_F(Controller, ANewResolutionShiftsTheWindowsFromTheirHomePlaces) {
  CScreenWindow* w = Window(120);
  builder.AddItem(1, -1, 700, 500, 20, 20, 4, FILL_SOLID, 0xFFFFFF);
  CItem* rootItem = CUserInt::topWindow->GetItems()->GetHead();
  ASSERT_NE(rootItem, nullptr);
  const int homeX = w->GetStandardPosX(), homeY = w->GetStandardPosY();
  EXPECT_EQ(ui->SetAufloesung(1024, 768), 0);
  EXPECT_EQ(w->GetPosX(), homeX + 224);
  EXPECT_EQ(w->GetPosY(), homeY + 168);
  EXPECT_EQ(rootItem->GetXPos(), 924);
  EXPECT_EQ(rootItem->GetYPos(), 668);
  // Closed and opened again at the new size, the window stands where the
  // new size put it, not at its place on the old screen.
  ui->ActivateWindow(120);
  ui->DeActivateWindow(120);
  ui->ActivateWindow(120);
  EXPECT_EQ(w->GetPosX(), homeX + 224);
  EXPECT_EQ(w->GetPosY(), homeY + 168);
  ui->DeActivateWindow(120);
  ui->SetAufloesung(800, 600);
  EXPECT_EQ(w->GetPosX(), homeX) << "moves are from home, not cumulative";
  ui->ActivateWindow(120);
  ui->DeActivateWindow(120);
  EXPECT_EQ(w->GetPosX(), homeX);
  ui->SetAufloesung(640, 480);
  EXPECT_EQ(ui->GetSmallMap()->GetWindowPosX(), 640 - 514);
  EXPECT_EQ(ui->GetSmallMap()->GetWindowPosY(), 480 - 132);
}

TEST_F(Controller, BoundingBoxKeepsAnOpenWindowNearThePointAndOnTheScreen) {
  CScreenWindow* w = Window(120);  // 100 x 80
  EXPECT_EQ(ui->BoundingBox(120, 10, 10, 400, 300), 1) << "a closed window stays";
  ui->ActivateWindow(120);
  EXPECT_EQ(ui->BoundingBox(120, 10, 10, 400, 300), 0);
  EXPECT_EQ(w->GetPosX() + 50, 390);
  EXPECT_EQ(w->GetPosY() + 40, 290);
  ui->BoundingBox(120, 0, 0, 790, 595);
  EXPECT_EQ(w->GetPosX(), 800 - 100 - 1);
  EXPECT_EQ(w->GetPosY(), 600 - 80 - 1);
  ui->BoundingBox(120, 0, 0, 5, 5);
  EXPECT_EQ(w->GetPosX(), 0);
  EXPECT_EQ(w->GetPosY(), 0);
}

// An object that goes leaves no page of the selection showing it: the
// building's, the park-and-ride site's and the car park's let the house go
// and close, the line window lets the line go, and neither stays selected
// or edited.
TEST_F(Controller, AnObjectThatGoesClosesTheWindowsThatShowIt) {
  CWorldObj house;
  COpnvLine line(NET_BUS);
  const int shown[] = {221, 224, 170, 171, 172, 173, 227};
  for (int id : shown) {
    builder.AddWindow(id, 0, 0, 10, 10, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    CWorldObj* object = id == 227 ? static_cast<CWorldObj*>(&line) : &house;
    CUserInt::topWindow->SetVarWorldObject(id, -2, -2, object, nullptr);
    ui->ActivateWindow(id);
  }
  CUserInt::selObj.selectedObject = &house;
  CUserInt::selObj.selectedLine = CUserInt::selObj.editedLine = &line;
  ui->ForgetObject(&house);
  // The line stays shown and selected while only the house went.
  EXPECT_EQ(CUserInt::topWindow->GetVarWorldObject(227), &line);
  EXPECT_EQ(ui->IsWindowOpen(227), 0);
  EXPECT_EQ(CUserInt::selObj.selectedLine, &line);
  ui->ForgetObject(&line);
  EXPECT_EQ(CUserInt::selObj.selectedObject, nullptr);
  EXPECT_EQ(CUserInt::selObj.selectedLine, nullptr);
  EXPECT_EQ(CUserInt::selObj.editedLine, nullptr);
  for (int id : shown) {
    EXPECT_EQ(CUserInt::topWindow->GetVarWorldObject(id), nullptr) << id;
    EXPECT_EQ(ui->IsWindowOpen(id), 1) << id;
  }
}

TEST_F(Controller, ResetBeforeLoadForgetsTheSelectionAndTheTool) {
  CUserInt::selObj.tool = 9;
  CUserInt::selObj.selectedStreetId = 4;
  CUserInt::selObj.streetLoad[1][23] = 55;
  // The street's window, the car park's and a building's: the load frees
  // what each shows, closed or open.
  // The car park's pages hang below its window and the crossing's window
  // below a window that Escape does not close, as deep as the game's tree.
  const int shown[] = {229, 170, 221, 171, 172, 60};
  for (int id : {170, 221, 60}) builder.AddWindow(id, 0, 0, 10, 10, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  for (int id : {171, 172}) builder.AddWindow(id, 0, 0, 10, 10, 170, WINDOW_NORMAL, POSITION_FIXED, 0);
  builder.AddWindow(229, 0, 0, 10, 10, 60, WINDOW_NORMAL, POSITION_FIXED, 0);
  CWorldObj street;
  for (int id : shown) CUserInt::topWindow->SetVarWorldObject(id, -2, -2, &street, nullptr);
  ASSERT_EQ(CUserInt::topWindow->GetVarWorldObject(229), &street);
  for (int id : {2, 3, 4}) builder.AddWindow(id, 0, 0, 10, 10, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  for (int id : {120, 20, 6, 60, 229, 170, 172, 2, 3, 4}) ui->ActivateWindow(id);
  CViewFilter::Activate();
  EXPECT_EQ(ui->ResetBeforeLoad(nullptr), 0);
  EXPECT_FALSE(CViewFilter::IsActive());
  for (int id : shown) EXPECT_EQ(CUserInt::topWindow->GetVarWorldObject(id), nullptr) << id;
  // Every window that Escape closes is closed, however deep; the others
  // stay as they were.
  for (int id : {229, 170, 172, 20, 2, 3, 4}) EXPECT_EQ(ui->IsWindowOpen(id), 1) << id;
  for (int id : {6, 60}) EXPECT_EQ(ui->IsWindowOpen(id), 0) << id;
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  EXPECT_EQ(CUserInt::selObj.selectedStreetId, -1);
  EXPECT_EQ(CUserInt::selObj.streetLoad[1][23], -1);
  EXPECT_EQ(CUserInt::selObj.streetLoad[0][0], -1);
  EXPECT_EQ(ui->IsWindowOpen(120), 1);
}
