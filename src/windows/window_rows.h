#pragma once
// Shorthands for the recurring rows of the window tables: the builders add
// windows, pictures and their actions through them, each to the builder's
// current window and item.
#include "measures/preise.h"
#include "windows/window_builders.h"

class CWindowRows {
 public:
  static constexpr int kNone = -1;

  explicit CWindowRows(CWindowBuilder& b) : m_b(b) {}

  // link: the companion window drawn in its place while its hint flag is on.
  void Window(int id, int x, int y, int w, int h, int parent, EScreenWindowType type, int link = 0) {
    m_b.AddWindow(id, x, y, w, h, parent, type, POSITION_FIXED, link);
    m_d = -1;
  }
  void Window(int id, int x, int y, int w, int h, int parent, EScreenWindowType type, EPositionType position) {
    m_b.AddWindow(id, x, y, w, h, parent, type, position, 0);
    m_d = -1;
  }
  // The rows after it are elements of the newest dialog with this id, until
  // the next window.
  void Dialog(int id, int x, int y, int w, int h, EDialogType type, const char* name) {
    m_b.AddDialog(-2, id, x, y, w, h, type, name);
    m_d = id;
  }
  // A variable of the current dialog itself, the one its buttons change.
  void DialogVar(EVarType type, const char* name) { m_b.AddVar(-2, m_d, -1, type, "NULL", name); }
  void Picture(int x, int y, int w, int h, EItemType type, int res) {
    m_b.AddItem(-2, m_d, x, y, w, h, type, res, kNone);
  }
  void Picture(int x, int y, int w, int h, EItemType type, int de, int en) {
    Pictures(x, y, w, h, type, de, en, kNone);
  }
  // German and English pictures with the same second resource.
  void Pictures(int x, int y, int w, int h, EItemType type, int de, int en, int second) {
    m_b.AddItem(-2, m_d, x, y, w, h, type, de, second, en, second);
  }
  void HotArea(int x, int y, int w, int h) { m_b.AddItem(-2, m_d, x, y, w, h, 1); }
  // A filled rectangle of a colour.
  void Rect(int x, int y, int w, int h, int fill, int colour) { m_b.AddItem(-2, m_d, x, y, w, h, 4, fill, colour); }
  // A bar between two range values.
  void Bar(int x, int y, int w, int h, int fill, int from, int to) {
    m_b.AddItem(-2, m_d, x, y, w, h, 10, static_cast<EFilledType>(fill), from, to);
  }
  // A text item in the standard font, centred vertically.
  void Text(int x, int y, int w, int h, EItemType type, const char* de, const char* en, EHO align,
            int font = kStandardFont) {
    m_b.AddItem(-2, m_d, x, y, w, h, type, de, align, VO_CENTER, 3, font, 0, 1, 2, 3, en);
  }
  void Var(EVarType type, const char* name) { m_b.AddVar(-2, m_d, -2, type, "NULL", name); }
  // A picture with a second resource: the look of the item's other state.
  void TwoState(int x, int y, int w, int h, EItemType type, int first, int second) {
    m_b.AddItem(-2, m_d, x, y, w, h, type, first, second);
  }

  void Act(EActionType kind, EActionWhen when, EInOutType inout, int p1 = kNone, int p2 = kNone, int p3 = kNone,
           int p4 = kNone) {
    m_b.AddAction(-2, m_d, -2, kind, when, inout, p1, p2, p3, "null", p4);
  }
  void Press(EActionType kind, int p1 = kNone, int p2 = kNone, int p3 = kNone) {
    Act(kind, WHEN_LEFT_DOWN, INOUT_INSIDE, p1, p2, p3);
  }
  void Release(EActionType kind, int p1 = kNone, int p2 = kNone, int p3 = kNone) {
    Act(kind, WHEN_LEFT_UP, INOUT_INSIDE, p1, p2, p3);
  }
  void Hover() { Act(11, WHEN_MOVE, INOUT_ALWAYS); }
  // The caption actions that let the player move the window by this item.
  void Drag() {
    Act(8, WHEN_LEFT_DOWN, INOUT_INSIDE);
    Act(7, WHEN_MOVE_FIRST, INOUT_ALWAYS);
    Act(9, WHEN_LEFT_UP, INOUT_ALWAYS);
  }
  // Balloon text nr while the pointer is inside; a price shown with it.
  void Balloon(int nr, int price = kNone) { Act(33, WHEN_MOVE, INOUT_INSIDE, nr, price); }
  // The same balloon, asked on every move so that it also clears outside.
  void BalloonAlways(int nr, int price = kNone) { Act(33, WHEN_MOVE, INOUT_ALWAYS, nr, price); }
  // A street window's direction picture (of the street with or without a
  // bus lane) and the load of each direction against the street's
  // capacity, dy below their place in the narrow window.
  void StreetDirectionAndLoads(int dy, int direction) {
    Picture(11, 81 + dy, 99, 61, 13, direction);
    Act(53, WHEN_TURN, INOUT_ALWAYS, kNone, kNone, 1);
    Var(VAR_FLOAT, "ST.RICHTUNG");
    const struct {
      int y, picture;
      const char* flow;
    } loads[] = {{88, 33808, "ST.FLOW.1"}, {121, 33809, "ST.FLOW.2"}};
    for (const auto& l : loads) {
      Picture(110, l.y + dy, 84, 15, 13, l.picture);
      Act(25, WHEN_TURN, INOUT_ALWAYS, 17, 9);
      Var(VAR_FLOAT, "ST.CAPACITY");
      Var(VAR_FLOAT, l.flow);
    }
  }
  void Open() { m_b.ActivateWindow(m_b.m_CurWindow); }
  void Close() { m_b.DeActivateWindow(m_b.m_CurWindow); }

  // The caption strip and close button every tool menu starts with; the
  // close button may go without its hover highlight.
  void MenuCaption(int closeX, EActionType closeKind, int window, bool closeTwice = false, bool closeHover = true) {
    Picture(0, 0, 46, 15, 13, kMenuCaption);
    Drag();
    Hover();
    Picture(closeX, 3, 9, 9, 13, kMenuClose);
    Press(closeKind, window);
    if (closeTwice) Press(closeKind, window);
    if (closeHover) Hover();
  }

  // The build price of entry n, as the balloons show it.
  static int Price(int n) { return static_cast<int>(CPreise::GetPreis(n, 0)); }

 private:
  static constexpr int kMenuCaption = 19022;
  static constexpr int kMenuClose = 19021;
  static constexpr int kStandardFont = 823;
  CWindowBuilder& m_b;
  int m_d = -1;
};
