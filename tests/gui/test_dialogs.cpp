#include <gtest/gtest.h>

#include <utility>

#include "gui/item_bitmap.h"
#include "gui/item_shapes.h"
#include "gui_fakes.h"
#include "support/test_support.h"

namespace {
struct Slider : ::testing::Test {
  FakeHost host;
  CScreenWindow window;
  CDialog* dialog = new CDialog;
  CItemBitmap* knob = new CItemBitmap;
  CItemBalkenMinMax* bar = new CItemBalkenMinMax;
  FakeVar* var = new FakeVar(VAR_INT, "S", 0, 0, 200);

  void Make(EDialogType type) {
    window.Create(100, 50, 400, 300, 7, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    dialog->Create(10, 20, 200, 30, type, 1, &window);
    window.AddDialog(dialog, -1);
    int n = 0;
    bar->Create(5, 0, 100, 10, 10, FILL_SOLID, 1, 2);
    dialog->AddItem(bar, &n);
    knob->Create(0, 0, 11, 18, 35, 28545, -1, -1, -1);
    dialog->AddItem(knob, &n);
    dialog->AddVar(var, -1);
  }
  void TearDown() override { window.Destroy(); }
  int Drag(int mouseX) {
    CActionList list;
    list.AddHeadAction(MakeAction(19, WHEN_LEFT_HELD, INOUT_ALWAYS));
    return dialog->ActionAuswertung(&list, INOUT_INSIDE, mouseX, 0, nullptr);
  }
};
}  // namespace

TEST_F(Slider, DragIsClampedToTheBar) {
  Make(DIALOG_SLIDER);
  const int left = 100 + 10 + 5;
  Drag(left - 30);
  EXPECT_EQ(var->m_value, 0);
  EXPECT_EQ(knob->GetXPos(), -5);
  Drag(left + 500);
  EXPECT_DOUBLE_EQ(var->m_value, 200.0 * 99 / 100);  // bar width - 1, never the full width
  Drag(left + 50);
  EXPECT_DOUBLE_EQ(var->m_value, 100);
  EXPECT_EQ(knob->GetXPos(), 50 - 5);
}

TEST_F(Slider, DragAndTurnAgreeForAnyMinimum) {
  Make(DIALOG_SLIDER);
  var->m_min = 100;
  var->m_max = 300;
  Drag(115 + 25);
  EXPECT_DOUBLE_EQ(var->m_value, 150);
  const int placed = knob->GetXPos();
  knob->SetXPos(0);
  dialog->OnPlayloopTurn();
  EXPECT_EQ(knob->GetXPos(), placed);
  EXPECT_EQ(placed, 25 - 5);
}

TEST_F(Slider, DegenerateRangesAndBarsMoveNothing) {
  Make(DIALOG_SLIDER);
  var->m_min = var->m_max = 50;
  var->m_value = 50;
  knob->SetXPos(3);
  Drag(140);
  dialog->OnPlayloopTurn();
  EXPECT_EQ(var->m_sets, 0);
  EXPECT_EQ(knob->GetXPos(), 3);
}

TEST_F(Slider, VariableWithoutRangeMovesNothing) {
  Make(DIALOG_SLIDER);
  var->m_ranged = false;
  knob->SetXPos(3);
  Drag(140);
  dialog->OnPlayloopTurn();
  EXPECT_EQ(var->m_sets, 0);
  EXPECT_EQ(knob->GetXPos(), 3);
}

TEST_F(Slider, OnlySliderDialogsMoveTheirKnob) {
  Make(DIALOG_VALUE_EDITOR);
  var->m_value = 100;
  knob->SetXPos(3);
  Drag(140);
  dialog->OnPlayloopTurn();
  EXPECT_EQ(var->m_sets, 0);
  EXPECT_EQ(knob->GetXPos(), 3);
}

TEST_F(Slider, GameSpeedSlider) {
  Make(DIALOG_SPEED_SLIDER);
  Drag(115 + 50);
  EXPECT_EQ(host.speed, 6000 + 18000 * 50 / 100);
  EXPECT_EQ(knob->GetXPos(), 50 - 5);
}

TEST(Dialogs, ValueKindsAndHits) {
  FakeHost host;
  CDialog d;
  d.Create(0, 0, 50, 20, DIALOG_VALUE_EDITOR, 3, nullptr);
  auto* v = new FakeVar(VAR_FLOAT, "V", 0.5, 0, 10, 2);
  d.AddVar(v, -1);
  auto run = [&](EActionType kind, EInOutType hit, int p1 = -1, int p2 = -1) {
    CActionList list;
    list.AddHeadAction(MakeAction(kind, WHEN_LEFT_DOWN, INOUT_INSIDE, p1, p2));
    d.ActionAuswertung(&list, hit, 0, 0, nullptr);
  };
  run(24, INOUT_INSIDE);
  EXPECT_EQ(v->m_value, 0);
  run(24, INOUT_INSIDE);
  EXPECT_EQ(v->m_value, 1);
  run(16, INOUT_OUTSIDE);
  EXPECT_EQ(v->m_value, 1);
  run(16, INOUT_INSIDE);
  EXPECT_EQ(v->m_value, 3);
  run(17, INOUT_INSIDE);
  EXPECT_EQ(v->m_value, 1);
  run(22, INOUT_INSIDE, 5);  // sets 1 and does not go on into a step down
  EXPECT_EQ(v->m_value, 1);
  run(23, INOUT_INSIDE, 0);
  EXPECT_EQ(v->m_value, 0);
  run(21, INOUT_INSIDE, 7, 0);  // no item 0: nothing
  EXPECT_EQ(v->m_value, 0);
  int n = -1;
  auto* item = new CItem;
  item->Create(0, 0, 1, 1, 1, 0, -1);
  d.AddItem(item, &n);
  run(21, INOUT_ALWAYS, 7, 0);
  EXPECT_EQ(v->m_value, 7);
  run(2, INOUT_OUTSIDE, 3);
  EXPECT_EQ(d.IsActive(), 1);
  FakeVar refused(VAR_INT, "refused");
  EXPECT_EQ(d.AddVar(&refused, 5), 1);  // the caller keeps what was refused
}

TEST(Dialogs, InputReachesItemsWithTheWindowHit) {
  FakeHost host;
  CScreenWindow w;
  w.Create(0, 0, 300, 300, 9, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  auto* d = new CDialog;
  d->Create(10, 10, 20, 20, DIALOG_VALUE_EDITOR, 1, &w);
  w.AddDialog(d, -1);
  auto* v = new FakeVar(VAR_INT, "V", 5);
  d->AddVar(v, -1);
  d->GetActions()->AddHeadAction(MakeAction(16, WHEN_LEFT_DOWN, INOUT_INSIDE));
  d->GetActions()->AddHeadAction(MakeAction(17, WHEN_OTHER_DOWN, INOUT_INSIDE));
  // An item that reaches beyond the dialog's rectangle.
  auto* item = new CItem;
  item->Create(0, 0, 100, 10, 1, 0, -1);
  int n = -1;
  d->AddItem(item, &n);
  QnoInteractionEvent right = MakeEvent(QNO_EVENT_BUTTONDOWN, 15, 15, 1);
  d->InputFilter(&right, nullptr, 0, 0, 15, 15, INOUT_INSIDE, INOUT_ALWAYS);
  EXPECT_EQ(v->m_value, 4);  // when-value 3, not 2
  QnoInteractionEvent beyond = MakeEvent(QNO_EVENT_MOUSEMOVE, 90, 15);
  EXPECT_EQ(d->InputFilter(&beyond, nullptr, 0, 0, 90, 15, INOUT_INSIDE, INOUT_ALWAYS), 1);
  EXPECT_EQ(item->GetHitState(), INOUT_INSIDE);
  w.Destroy();
}

TEST(Dialogs, LifecycleActivationAndVariablesByName) {
  FakeHost host;
  CDialog d;
  EXPECT_EQ(d.Create(3, 4, 50, 20, DIALOG_VALUE_EDITOR, 7, nullptr), 0);
  EXPECT_EQ(d.GetType(), DIALOG_VALUE_EDITOR);
  // Only the dialog's own id switches it.
  EXPECT_EQ(d.ActivateDialog(8), 1);
  EXPECT_EQ(d.IsActive(), 0);
  EXPECT_EQ(d.ActivateDialog(7), 0);
  EXPECT_EQ(d.IsActive(), 1);
  EXPECT_EQ(d.DeActivateDialog(8), 1);
  EXPECT_EQ(d.IsActive(), 1);
  EXPECT_EQ(d.DeActivateDialog(7), 0);
  EXPECT_EQ(d.IsActive(), 0);

  auto* a = new FakeVar(VAR_INT, "A");
  d.AddVar(a, -1);
  d.AddVar(new FakeVar(VAR_INT, "B"), -1);
  // Removing hands the variable back; destroying ends it.
  EXPECT_EQ(d.RemoveVar("A"), 0);
  EXPECT_EQ(d.GetVars()->GetVarByName("A"), nullptr);
  EXPECT_EQ(d.RemoveVar("A"), 1);
  delete a;
  const int destroyed = FakeVar::s_destroyed;
  EXPECT_EQ(d.DestroyVar("B"), 0);
  EXPECT_EQ(FakeVar::s_destroyed, destroyed + 1);
  EXPECT_EQ(d.GetVars()->GetCount(), 0);
  EXPECT_EQ(d.DestroyVar("B"), 1);

  // An action for an item that does not exist is refused and stays the caller's.
  CAction* action = MakeAction(16, WHEN_LEFT_DOWN, INOUT_INSIDE);
  EXPECT_EQ(d.AddAction(action, 5), 1);
  delete action;

  EXPECT_EQ(d.Destroy(), 0);
  EXPECT_EQ(d.GetType(), 0);
  EXPECT_EQ(d.GetVars(), nullptr);
}

TEST(Dialogs, EdgesOfTheDialogAreHalfOpen) {
  CDialog d;
  d.Create(0, 0, 10, 5, DIALOG_GROUP, 1, nullptr);
  EPosition zone = -1;
  EXPECT_EQ(d.OverDialog(100, 50, 100, 50, &zone), INOUT_INSIDE);
  EXPECT_EQ(zone, 5);
  EXPECT_EQ(d.OverDialog(100, 50, 109, 54, &zone), INOUT_INSIDE);
  for (auto [x, y] : {std::pair{110, 52}, {105, 55}, {99, 52}, {105, 49}}) {
    zone = -1;
    EXPECT_EQ(d.OverDialog(100, 50, x, y, &zone), INOUT_OUTSIDE) << x << "," << y;
    EXPECT_EQ(zone, 0);
  }
}

TEST(Dialogs, MovesCollectBothMoveTriggersAndSubDialogsTakeInput) {
  FakeHost host;
  CDialog outer;
  outer.Create(10, 10, 100, 100, DIALOG_VALUE_EDITOR, 1, nullptr);
  auto* own = new FakeVar(VAR_INT, "O", 5);
  outer.AddVar(own, -1);
  outer.GetActions()->AddHeadAction(MakeAction(16, WHEN_MOVE_FIRST, INOUT_INSIDE));
  outer.GetActions()->AddHeadAction(MakeAction(16, WHEN_MOVE, INOUT_INSIDE));
  auto* inner = new CDialog;
  inner->Create(5, 5, 20, 20, DIALOG_VALUE_EDITOR, 2, nullptr);
  outer.AddDialog(inner);
  auto* v = new FakeVar(VAR_INT, "V", 5);
  inner->AddVar(v, -1);
  inner->GetActions()->AddHeadAction(MakeAction(16, WHEN_LEFT_DOWN, INOUT_INSIDE));

  QnoInteractionEvent move = MakeEvent(QNO_EVENT_MOUSEMOVE, 50, 50);
  outer.InputFilter(&move, nullptr, 0, 0, 50, 50, INOUT_INSIDE, INOUT_ALWAYS);
  EXPECT_EQ(own->m_value, 7);  // when-values 10 and 1 each collect their action
  EXPECT_EQ(v->m_value, 5);

  // The sub-dialog's origin is the outer dialog's: (15, 15) to (35, 35).
  QnoInteractionEvent down = MakeEvent(QNO_EVENT_BUTTONDOWN, 20, 20);
  outer.InputFilter(&down, nullptr, 0, 0, 20, 20, INOUT_INSIDE, INOUT_ALWAYS);
  EXPECT_EQ(v->m_value, 6);
  QnoInteractionEvent beside = MakeEvent(QNO_EVENT_BUTTONDOWN, 40, 40);
  outer.InputFilter(&beside, nullptr, 0, 0, 40, 40, INOUT_INSIDE, INOUT_ALWAYS);
  EXPECT_EQ(v->m_value, 6);
  EXPECT_EQ(own->m_value, 7);

  outer.RemoveDialog(inner);
  EXPECT_EQ(outer.GetDialogs()->GetCount(), 0);
}
