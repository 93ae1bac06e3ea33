#pragma once
// A rectangular group inside a window: items, sub-dialogs, variables and its
// own actions. Plain groups, the value editor (plus and minus step its first
// variable) and the sliders that drive a variable or the game speed.
#include "framework/qno_event.h"
#include "gui/action.h"
#include "gui/item.h"
#include "gui/window_var.h"

class CScreenWindow;
class CZorvaList;
class CWorldObj;
class QnoDisplay;
class QnoResourceManager;
class QnoView;

using ZorvaList_Settings = int;

enum : int {
  DIALOG_GROUP = 1,
  DIALOG_SLIDER = 4,
  DIALOG_VALUE_EDITOR = 5,
  DIALOG_SPEED_SLIDER = 20,
};

class CDialogList;

class CDialog : public CZorvaObject {
 public:
  CDialog();
  ~CDialog() override;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  using CZorvaObject::Create;
  int Destroy() override;
  virtual int Create(int x, int y, int w, int h, EDialogType type, int id, CScreenWindow* window);
  virtual int SetZorvaList(CZorvaList*, ZorvaList_Settings) { return 0; }
  virtual int OnPlayloopTurn();
  virtual int Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y);
  // 1 when the pointer was outside the dialog.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view, int windowX, int windowY, int mouseX, int mouseY,
                          EInOutType windowHit, EInOutType inOut);
  virtual int ActionAuswertung(CActionList* list, EInOutType hit, int mouseX, int mouseY, EPosition* zone);
  virtual int CheckAllAktion(CActionList* own, CActionList* collected, EActionWhen when, int x, int y);
  virtual int CheckEvent(QnoInteractionEvent* event, CActionList* own, CActionList* collected, int x, int y);

  void AddItem(CItem* item, int* number);
  // 1 when no item has that number.
  int AddVar(CWindowVar* var, int itemNumber);
  int AddAction(CAction* action, int itemNumber);
  void AddDialog(CDialog* dialog);
  void RemoveDialog(CDialog* dialog);
  int RemoveVar(CWindowVar* var);
  int RemoveVar(const char* name);
  int DestroyVar(CWindowVar* var);
  int DestroyVar(const char* name);
  int SetVarWorldObject(CWorldObj* object, int itemNumber, const char* name);
  int RefreshVars();
  void SetChangedLanguage();
  int ActivateDialog(int id);
  int DeActivateDialog(int id);
  EInOutType OverDialog(int originX, int originY, int mouseX, int mouseY, EPosition* zone);
  int GetRealPosX();
  int GetRealPosY();

  int GetPosX() const { return m_x; }
  int GetPosY() const { return m_y; }
  int SetPosX(int x) { m_x = x; return 0; }
  int SetPosY(int y) { m_y = y; return 0; }
  int GetSizeX() const { return m_w; }
  int GetSizeY() const { return m_h; }
  int SetSizeX(int w) { m_w = w; return 0; }
  int SetSizeY(int h) { m_h = h; return 0; }
  int GetID() const { return m_id; }
  EDialogType GetType() const { return m_type; }
  int IsActive() const { return m_active; }
  void SetTopWindow(CScreenWindow* w) { m_topWindow = w; }
  CScreenWindow* GetTopWindow() const { return m_topWindow; }
  CScreenWindow* GetWindow() const { return m_window; }
  void IncrementListNumber() { ++m_listNumber; }
  void DecrementListNumber() { --m_listNumber; }
  int GetListNumber() const { return m_listNumber; }
  int IsValid() { return 0; }

  CWindowVarList* GetVars() { return m_vars; }
  CWindowVar* GetFirstVar() const { return m_vars ? m_vars->GetHead() : nullptr; }
  CItemList* GetItems() { return m_items; }
  CDialogList* GetDialogs() { return m_dialogs; }
  CActionList* GetActions() { return m_actions; }

 protected:
  // The slider's knob and bar: the last bitmap and the last bar item.
  CItem* FindLastItemOfClass(int classCode) const;
  int DragSlider(int mouseX);
  void PlaceKnob();

  CWindowVarList* m_vars = nullptr;
  EDialogType m_type = 0;
  int m_x = 0, m_y = 0, m_w = 0, m_h = 0;
  int m_id = 0;
  int m_active = 0;
  CDialogList* m_dialogs = nullptr;
  CItemList* m_items = nullptr;
  CScreenWindow* m_window = nullptr;
  CActionList* m_actions = nullptr;
  CScreenWindow* m_topWindow = nullptr;
  int m_listNumber = 0;
};

class CDialogList : public CToolkitList<CDialog> {
 public:
  int Destroy() {
    DestroyAll();
    return 0;
  }
  int AddHeadDialog(CDialog* d) { return AddHead(d); }
  int DestroyDialog(CDialog* d) {
    DestroyElement(d);
    return 1;
  }
  CDialog* GetDialogByID(int id) const;
  void SetupDialogCount() { SetupCount(); }
  CDialog* GetNextDialog() { return GetNext(); }
};
