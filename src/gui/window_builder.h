#pragma once
// Builds the window tree in code: windows, dialogs, items, actions and
// variables, addressed through three cursors (the current window, dialog and
// item) so that a builder can write its windows as straight-line calls.
// The world's building operations forward to one builder.
#include "gui/gui_types.h"

class CAction;
class CDialog;
class CItem;
class CScreenWindow;
class CUserInt;
class CWindowVar;

class CWindowBuilder {
 public:
  // The game model's variables; null creates nothing.
  using VarFactory = CWindowVar* (*)(EVarType type, const char* name);
  // True when the data exchange names an object that owns variables.
  using ObjectLookup = bool (*)(const char* objectName);
  // The scrolling selection lists; null makes a plain dialog of that type.
  using SelectionListFactory = CDialog* (*)(EDialogType type);
  // Told the root window as soon as it exists, so that windows can be
  // opened and closed by id while the builders still run.
  using RootListener = void (*)(CScreenWindow* root);

  explicit CWindowBuilder(CUserInt* userInt = nullptr) : m_userInt(userInt) {}

  void SetVarFactory(VarFactory f) { m_varFactory = f; }
  void SetObjectLookup(ObjectLookup f) { m_objectLookup = f; }
  void SetSelectionListFactory(SelectionListFactory f) { m_selectionListFactory = f; }
  void SetRootListener(RootListener f) { m_rootListener = f; }

  // The three cursors start at -1 before the builders run.
  void ResetCursors() { m_CurWindow = m_CurDialog = m_CurItem = -1; }
  // The root window 1, null until it is built. The builder does not own it.
  CScreenWindow* GetTopWindow() const { return m_top; }
  void SetTopWindow(CScreenWindow* top) { m_top = top; }
  // Destroys and deletes the whole tree.
  void DestroyWindows();

  int AddWindow(int id, int x, int y, int w, int h, int parent, EScreenWindowType type, EPositionType position,
                int link);
  int AddDialog(int window, int id, int x, int y, int w, int h, EDialogType type, const char* name);
  // A hot area (type 1).
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type);
  // Pictures; type 4 makes a rectangle with res as fill and res2 as colour.
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, int res, int res2);
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, int resDE, int resDE2, int resEN,
              int resEN2);
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, EFilledType fill, int a, int b);
  int AddItem(int window, int dialog, int x, int y, int w, int h, EItemType type, const char* textDE, EHO h_align,
              EVO v_align, int reserved, int font, int colour, int highlightColour, int a, int b,
              const char* textEN);
  int AddAction(int window, int dialog, int item, EActionType kind, EActionWhen when, EInOutType inout, int p1,
                int p2, int p3, const char* name, int p4);
  // 1 when object names an object that owns variables (nothing is made).
  int AddVar(int window, int dialog, int item, EVarType type, const char* object, const char* name);
  int ActivateWindow(int id);
  int DeActivateWindow(int id);

  int AddButton(int x, int y, int w, int h, int resDE, EActionType kind, int p1, int balloon, int resEN);
  int AddBalloonHelp(int nr);
  int AddHilfe(int x, int y, int topic);
  int AddHilfeDynamic(int x, int y, int p1, int p2, int p3, int picture, int p4);

  int m_CurWindow = -1;
  int m_CurDialog = -1;
  int m_CurItem = -1;

 private:
  int Window(int w) const { return w == -2 ? m_CurWindow : w; }
  int Dialog(int d) const { return d == -2 ? m_CurDialog : d; }
  int Item(int i) const { return i == -2 ? m_CurItem : i; }
  // Hangs the item into the tree and makes it current; deletes it when the
  // tree refuses it.
  int Place(CItem* item, int window, int dialog);

  CUserInt* m_userInt;
  CScreenWindow* m_top = nullptr;
  VarFactory m_varFactory = nullptr;
  ObjectLookup m_objectLookup = nullptr;
  SelectionListFactory m_selectionListFactory = nullptr;
  RootListener m_rootListener = nullptr;
};
