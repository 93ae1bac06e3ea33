#include "gui/window_builder.h"

#include "gui/item_bitmap.h"
#include "gui/item_shapes.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"

namespace {
constexpr int kHelpButton = 25863;
constexpr int kSmallHelpButton = 40664;
constexpr int kHelpWindow = 215;

bool IsOneOf(int v, std::initializer_list<int> set) {
  for (int s : set)
    if (v == s) return true;
  return false;
}

bool IsPictureType(EItemType t) {
  return t == 2 || t == 5 || (t >= 13 && t <= 22) || IsOneOf(t, {25, 27, 28, 30, 35, 37, 38, 39});
}
}  // namespace

void CWindowBuilder::DestroyWindows() {
  if (!m_top) return;
  m_top->Destroy();
  delete m_top;
  m_top = nullptr;
}

int CWindowBuilder::AddWindow(int id, int x, int y, int w, int h, int parent, EScreenWindowType type,
                              EPositionType position, int link) {
  m_CurWindow = id;
  if (type == WINDOW_NORMAL || type == WINDOW_MENU || type == WINDOW_SUBMENU) {
    if (!m_top) return 0;
    CScreenWindow* window = new CScreenWindow(m_userInt);
    window->Create(x, y, w, h, id, 0, type, position, link);
    if (m_top->AddWindow(window, parent, id) != 0) {
      window->Destroy();
      delete window;
    }
  } else if (type == WINDOW_ROOT) {
    CScreenWindow* window = new CScreenWindow(m_userInt);
    window->Create(x, y, w, h, id, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    if (m_top) {
      if (m_top->AddWindow(window, parent, id) == 0) return 0;
    } else if (id == 1) {
      m_top = window;
      if (m_rootListener) m_rootListener(window);
      return 0;
    }
    window->Destroy();
    delete window;
  }
  return 0;
}

int CWindowBuilder::AddDialog(int window, int id, int x, int y, int w, int h, EDialogType type, const char*) {
  m_CurDialog = id;
  if (!m_top) return 0;
  CDialog* dialog = nullptr;
  if (IsOneOf(type, {1, 4, 5, 20})) {
    dialog = new CDialog;
  } else if (IsOneOf(type, {3, 6, 7, 8, 9, 12, 13, 14, 18, 19, 21})) {
    dialog = m_selectionListFactory ? m_selectionListFactory(type) : new CDialog;
  }
  if (!dialog) return 0;
  CScreenWindow* target = m_top->GetWindowByID(Window(window));
  dialog->Create(x, y, w, h, type, id, target);
  if (!target || m_top->AddDialog(dialog, Window(window)) != 0) {
    dialog->Destroy();
    delete dialog;
  }
  return 0;
}

int CWindowBuilder::Place(CItem* item, int window, int dialog) {
  int number = -1;
  if (m_top->AddItem(item, Window(window), Dialog(dialog), &number) != 0) {
    item->Destroy();
    delete item;
    return 0;
  }
  if (number >= 0) m_CurItem = number;
  return 0;
}

int CWindowBuilder::AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type) {
  if (!m_top || type != 1) return 0;
  CItem* item = new CItem;
  item->Create(x, y, w, h, 1, 0, -1);
  return Place(item, window, dialog);
}

int CWindowBuilder::AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, int res, int res2) {
  if (!m_top) return 0;
  if (type == 4) {
    CItemRect* rect = new CItemRect;
    rect->Create(x, y, w, h, 4, static_cast<EFilledType>(res), res2, 2000);
    return Place(rect, window, dialog);
  }
  if (!IsPictureType(type)) return 0;
  CItemBitmap* bitmap = new CItemBitmap;
  bitmap->Create(x, y, w, h, type, res, res2 < 1 ? -1 : res2, -1, -1);
  return Place(bitmap, window, dialog);
}

int CWindowBuilder::AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, int resDE,
                            int resDE2, int resEN, int resEN2) {
  if (!m_top || !IsOneOf(type, {2, 13, 19, 20})) return 0;
  CItemBitmap* bitmap = new CItemBitmap;
  bitmap->Create(x, y, w, h, type, resDE, resDE2 < 1 ? -1 : resDE2, resEN, resEN2);
  return Place(bitmap, window, dialog);
}

int CWindowBuilder::AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, EFilledType fill,
                            int a, int b) {
  if (!m_top || (type != 10 && type != 11)) return 0;
  CItemBalkenMinMax* bar = new CItemBalkenMinMax;
  bar->Create(x, y, w, h, type, fill, a, b);
  return Place(bar, window, dialog);
}

int CWindowBuilder::AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, const char* textDE,
                            EHO h_align, EVO v_align, int reserved, int font, int colour, int highlightColour, int a,
                            int b, const char* textEN) {
  if (!m_top || !IsOneOf(type, {7, 23, 24, 26, 27, 31, 32, 33, 34, 36, 40})) return 0;
  CItemText* text = new CItemText;
  text->Create(x, y, w, h, type, textDE, h_align, v_align, reserved, font, colour, highlightColour, a, b, textEN);
  return Place(text, window, dialog);
}

int CWindowBuilder::AddAction(int window, int dialog, int item, EActionType kind, EActionWhen when,
                              EInOutType inout, int p1, int p2, int p3, const char* name, int p4) {
  if (!m_top) return 0;
  CAction* action = new CAction;
  action->Set(kind, when, inout, p1, p2, p3, p4);
  action->SetName(name);
  if (m_top->AddAction(action, Window(window), Dialog(dialog), Item(item)) != 0) {
    action->Destroy();
    delete action;
  }
  return 0;
}

int CWindowBuilder::AddVar(int window, int dialog, int item, EVarType type, const char* object, const char* name) {
  if (!m_top) return 0;
  if (m_objectLookup && m_objectLookup(object)) return 1;
  CWindowVar* var = m_varFactory ? m_varFactory(type, name) : nullptr;
  if (!var) return 0;
  if (m_top->AddVar(var, Window(window), Dialog(dialog), Item(item)) != 0) {
    var->Destroy();
    delete var;
  }
  return 0;
}

int CWindowBuilder::ActivateWindow(int id) { return m_top ? (m_top->ActivateWindow(id, OVER_GROUP), 0) : 0; }

int CWindowBuilder::DeActivateWindow(int id) { return m_top ? (m_top->DeActivateWindow(id, OVER_SINGLE), 0) : 0; }

int CWindowBuilder::AddButton(int x, int y, int w, int h, int resDE, EActionType kind, int p1, int balloon,
                              int resEN) {
  AddItem(-2, -1, x, y, w, h, 13, resDE, -1, resEN, -1);
  AddAction(-2, -1, -2, 11, WHEN_MOVE, INOUT_ALWAYS, -1, -1, -1, "hover", -1);
  if (kind > 0) AddAction(-2, -1, -2, kind, WHEN_LEFT_DOWN, INOUT_INSIDE, p1, -1, -1, "button", -1);
  if (balloon != 0) AddBalloonHelp(balloon);
  return 0;
}

int CWindowBuilder::AddBalloonHelp(int nr) {
  return AddAction(-2, -1, -2, 33, WHEN_MOVE, INOUT_INSIDE, nr, -1, -1, "balloon", -1);
}

int CWindowBuilder::AddHilfe(int x, int y, int topic) {
  AddItem(-2, -1, x, y, 16, 15, 13, kHelpButton, -1);
  AddAction(-2, -1, -2, 49, WHEN_LEFT_DOWN, INOUT_INSIDE, kHelpWindow, topic, -1, "help", -1);
  AddAction(-2, -1, -2, 11, WHEN_MOVE_FIRST, INOUT_ALWAYS, -1, -1, -1, "hover", -1);
  return 0;
}

int CWindowBuilder::AddHilfeDynamic(int x, int y, int p1, int p2, int p3, int picture, int p4) {
  if (picture == kHelpButton)
    AddItem(-2, -1, x, y, 16, 15, 13, kHelpButton, -1);
  else
    AddItem(-2, -1, x, y, 14, 12, 13, kSmallHelpButton, -1);
  AddAction(-2, -1, -2, 132, WHEN_LEFT_DOWN, INOUT_INSIDE, p1, p2, p3, "help", p4);
  AddAction(-2, -1, -2, 11, WHEN_MOVE, INOUT_ALWAYS, -1, -1, -1, "hover", -1);
  return 0;
}
