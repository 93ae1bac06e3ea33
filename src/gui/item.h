#pragma once
// The smallest element of a window: a button, picture, text, rectangle, bar
// or list row. An item hit-tests the pointer, turns input into triggers for
// its own actions, runs those it handles and passes the rest to its owner,
// holds bound variables and a pressed look.
#include <cstdint>
#include <vector>

#include "framework/qno_event.h"
#include "gui/action.h"
#include "gui/window_var.h"

class CDialog;
class CDialogSelectionList;
class CScreenWindow;
class CWorldObj;
class QnoDisplay;
class QnoResourceManager;
class QnoView;

class CItem : public CZorvaObject {
 public:
  explicit CItem(CDialog* dialog = nullptr);
  ~CItem() override;
  CItem(const CItem&) = delete;
  CItem& operator=(const CItem&) = delete;

  using CZorvaObject::Create;
  int Destroy() override;
  // Puts the item back into the state of a new one, ready for another
  // Create, but keeps its lists: a list's rows are made from the items of
  // the rows before instead of fresh ones. Its actions move into `spare`
  // for the next rows; its variables are destroyed. The item must be in no
  // list.
  virtual void Reuse(std::vector<CAction*>& spare);

  virtual void SetDialogPointer(CDialog* dialog) { m_dialog = dialog; }
  virtual void IncrementListNumber() { ++m_listCount; }
  virtual void DecrementListNumber() { --m_listCount; }
  virtual void SetSliderDialog(CDialogSelectionList* d) { m_sliderDialog = d; }
  virtual int GetResID() { return m_res[0]; }
  virtual int GetResIDTOGGLE() { return m_res[0]; }
  virtual int GetNr() { return m_nr; }
  virtual int Create(int x, int y, int w, int h, EItemType type, EItemType second, int param);
  // 1 when the item has no variable list.
  virtual int AddVar(CWindowVar* var);
  virtual void SetTopWindow(CScreenWindow* w) { m_topWindow = w; }
  virtual void SetTopDialog(CDialog* d) { m_topDialog = d; }
  virtual void SetNr(int n) { m_nr = n; }
  virtual void HighLightOn();
  virtual void HighLightOff();
  virtual int Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y);
  virtual int GetXSize() { return m_w; }
  virtual int GetYSize() { return m_h; }
  virtual int GetXPos8x6() { return m_homeX; }
  virtual int GetYPos8x6() { return m_homeY; }
  virtual int GetXPos() { return m_x; }
  virtual int GetYPos() { return m_y; }
  virtual void SetXPos(int x) { m_x = x; }
  virtual void SetYPos(int y) { m_y = y; }

  virtual int OnPlayloopTurn();
  // 0 when the pointer is inside (the event is consumed), 1 otherwise.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view, CActionList* passUp, int originX, int originY,
                          int mouseX, int mouseY, EInOutType ownerState, EInOutType claim);
  // Runs the actions the item handles and passes the others into passUp.
  virtual int ActionAuswertung(CActionList* passUp, CActionSelection* selected, int x, int y, EInOutType hit,
                               EInOutType claim);
  // The place in the savegame name the screen column x points at (0 before
  // the first character); -1, the name's end, for items that show no name.
  virtual int NameCursorAt(int /*x*/) { return -1; }

  void SetBaseData(CDialog* dialog);
  // Stores and returns 2 (inside) or 4 (outside).
  EInOutType OverItem(int originX, int originY, int mouseX, int mouseY);
  int CheckEvent(QnoInteractionEvent* event, CActionList* actions, CActionSelection* selected, int x, int y);
  int CheckAllAktion(CActionList* actions, CActionSelection* selected, EActionWhen when, int x, int y);
  void SetPressed(EPressedType look, int p1, int p2, int p3);
  int CheckPressed();
  int RefreshVars();
  int SetVarWorldObject(CWorldObj* object, const char* name);
  // Texts and pictures are rebuilt at the next render.
  void SetChanged() { m_changed[0] = m_changed[1] = 1; }
  int IsValid() { return 0; }

  int GetClassCode() const { return m_classCode; }
  EItemType GetItemType() const { return m_type; }
  EInOutType GetHitState() const { return m_hit; }
  bool HasEntered() const { return m_entered != 0; }
  bool HasLeft() const { return m_left != 0; }
  bool IsHighlighted() const { return m_highlight != 0; }
  void SetHighlightLock(bool on) { m_highlightLock = on ? 1 : 0; }
  int GetState() const { return m_state; }
  void SetState(int s) { m_state = s; }
  int GetOn() const { return m_on; }
  void SetOn(int on) { m_on = on; }
  int GetLevel() const { return m_level; }
  void SetLevel(int l) { m_level = l; }
  EPressedType GetPressedLook() const { return m_pressed; }
  uint32_t GetPressedUntil() const { return m_pressedUntil; }
  void ResetPressedUntil() { m_pressedUntil = 0; }
  // Lets go of a drag whose release will never come.
  void EndDrag() { m_drag = 0; }
  bool IsDragging() const { return m_drag != 0; }
  int GetResource(int i) const { return m_res[i]; }
  // The picture and its English version (first and third resource).
  void SetPictures(int picture, int englishPicture) {
    m_res[0] = picture;
    m_res[2] = englishPicture;
    SetChanged();
  }
  void SetSize(int w, int h) {
    m_w = w;
    m_h = h;
  }
  CActionList* GetActions() { return m_actions; }
  CWindowVarList* GetVars() { return m_vars; }
  // The head of the variable list: the variable added last.
  CWindowVar* GetVar() const { return m_vars ? m_vars->GetHead() : nullptr; }
  CDialog* GetDialog() const { return m_dialog; }
  CDialog* GetTopDialog() const { return m_topDialog; }
  CScreenWindow* GetTopWindow() const { return m_topWindow; }
  int GetListNumber() const { return m_listCount; }
  int GetSecondType() const { return m_second; }
  int GetParam() const { return m_param; }
  int GetShown() const { return m_shown; }
  void SetShown(int s) { m_shown = s; }
  // The knob rectangle of a selection list's slider, in the reserved words:
  // 0 x, 1 y, 2 width, 3 height.
  void SetKnob(int x, int y, int w, int h) {
    m_reserved[0] = x;
    m_reserved[1] = y;
    m_reserved[2] = w;
    m_reserved[3] = h;
  }
  int GetKnob(int i) const { return i >= 0 && i < 4 ? m_reserved[i] : 0; }
  CDialogSelectionList* GetSliderDialog() const { return m_sliderDialog; }

  // The selected mark of kind 65, and the drag state of kinds 7-9.
  uint8_t m_selectMark = 0;
  int m_drag = 0;
  int m_dragX = 0;
  int m_dragY = 0;

 protected:
  bool PressedLookHolds();
  // The window the item lies in (through its dialog when it has one), and
  // the root of the window tree it hangs in.
  CScreenWindow* OwnWindow() const;
  CScreenWindow* TreeRoot() const;
  // The kinds that work on the item's variables; false for other kinds.
  bool VariableAction(const CAction& a, EInOutType hit);
  // The kinds that go to the controller, the world or the game model;
  // false for other kinds.
  bool GameAction(CActionSelection* selected, const CAction& a, EInOutType hit);

  int m_classCode = ITEM_CLASS_NONE;
  EInOutType m_hit = INOUT_OUTSIDE;
  uint8_t m_entered = 0;
  uint8_t m_left = 0;
  int m_nr = -1;
  int m_x = 0, m_y = 0, m_w = 0, m_h = 0;
  // The screen column of the item's left edge when the pointer last came.
  int m_screenLeft = 0;
  int m_homeX = 0, m_homeY = 0, m_homeW = 0, m_homeH = 0;
  int m_shown = 1;
  int m_reserved[4] = {};
  int m_res[4] = {-1, -1, -1, -1};
  EItemType m_type = 0;
  uint8_t m_highlight = 0;
  int m_second = 0;
  int m_param = -1;
  CDialog* m_topDialog = nullptr;
  CScreenWindow* m_topWindow = nullptr;
  CDialogSelectionList* m_sliderDialog = nullptr;
  int m_on = 0;
  int m_state = 0;
  uint8_t m_highlightLock = 0;
  uint32_t m_pressedUntil = 0;
  int m_level = 0;
  CActionList* m_actions = nullptr;
  int m_listCount = 0;
  CWindowVarList* m_vars = nullptr;
  CDialog* m_dialog = nullptr;
  EPressedType m_pressed = 0;
  int m_pressedP[3] = {};
  uint8_t m_changed[2] = {1, 1};
};

class CItemList : public CToolkitList<CItem> {
 public:
  int Destroy() {
    DestroyAll();
    return 0;
  }
  int AddHeadItem(CItem* item) { return AddHead(item); }
  void SetupItemCount() { SetupCount(); }
  CItem* GetNextItem() { return GetNext(); }
  // The first item numbered n, null when none.
  CItem* GetItemByID(int n) const;
  // 1 when the item is not in the list.
  int DestroyItem(CItem* item) { return DestroyElement(item); }
};
