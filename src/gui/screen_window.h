#pragma once
// Every panel, menu, pop-up and message box is a screen window. Windows form
// one tree below the root window 1; an operation that addresses a window by
// id is called on the root and finds the window through the id table.
#include "framework/qno_event.h"
#include "gui/action.h"
#include "gui/dialog.h"
#include "gui/item.h"

class CHashTable;
class CUserInt;
class CWorldObj;
class CZorvaList;
class QnoDisplay;
class QnoResourceManager;
class QnoView;

class CWindowList;

class CScreenWindow : public CZorvaObject {
 public:
  explicit CScreenWindow(CUserInt* userInt = nullptr);
  ~CScreenWindow() override;
  CScreenWindow(const CScreenWindow&) = delete;
  CScreenWindow& operator=(const CScreenWindow&) = delete;
  // Every window's number lies below this.
  static constexpr int kWindowIdLimit = 1500;

  // The id table: created by the first Create, deleted with its last entry.
  static CHashTable* m_HashTable;

  using CZorvaObject::Create;
  int Destroy() override;
  virtual int Create(int x, int y, int w, int h, int id, unsigned char layer, EScreenWindowType type,
                     EPositionType position, int link);
  virtual int SetZorvaList(int window, int dialog, CZorvaList* list, ZorvaList_Settings settings);
  virtual int OnPlayloopTurn();
  virtual int Render(QnoDisplay* display, QnoResourceManager* resources, int, int);
  // 0 when the event was consumed.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view, int, int, int mouseX, int mouseY,
                          EInOutType inOut);
  virtual void SetHinweisWindow(bool on) { m_hint = on ? 1 : 0; }
  virtual int GetHinweisWindow() { return m_hint; }
  virtual void SetTopWindow(CScreenWindow* w) { m_top = w; }
  virtual CScreenWindow* GetTopWindow() { return m_top; }

  // Opening and closing by id (-1: this window), searched below this window.
  // Opening puts the window at the front of the render list, closing takes
  // it out; both carry the fixed effects of their ids. 0 when done (also when
  // exhibition mode keeps the window closed), 1 when the id is not found.
  virtual int ActivateWindow(int id, EOverType over);
  virtual int DeActivateWindow(int id, EOverType over);
  int ToggleWindow(int id);
  // Closes the group that window id belongs to; 1 when it belongs to none.
  virtual int CloseOnEscAndRightMouse(int id);
  // The windows that Escape or a right click closes with window id, in the
  // order they close; none when the id belongs to no group. A group holds
  // only windows that close by the same rule, so closing every window with
  // a group closes every group.
  struct EscapeGroup {
    int ids[16] = {};
    int count = 0;
  };
  static EscapeGroup EscapeGroupOf(int id);
  static bool ClosesOnEscape(int id) { return EscapeGroupOf(id).count > 0; }
  // A sub-menu, or a menu at its standard position, closes itself.
  bool CloseIfSubMenue();
  bool CloseIfStandardPosMenue();
  // 1 for the windows that exhibition mode keeps closed.
  static int CheckExpoActivateWindow(int id);
  // The window-level interpreter of the collected actions.
  virtual int ActionAuswertung(CActionList* list, EInOutType hit, int mouseX, int mouseY, EPosition* zone);
  // Every picture item (type 20) shows the picture and takes its size.
  void SetReplaceBitmap(int picture, int englishPicture);
  // Lays out the dynamic help window from its first six items.
  void SetDynamicHilfe(int width, int height, const char* title, const char* text);
  // The paired street and crossing windows keep one position.
  void MoveTooSecondCrossingStreetWindow();
  // Moves the window by the least that puts it whole on the screen.
  void KeepOnScreen(int screenW, int screenH);
  // Selects the statistics group that page id shows.
  static void WindowStatistikGruppe(int id);
  // The windows that hold the pages of a group.
  static bool IsGroupRoot(int id);
  // The root of the tree this window hangs in.
  CScreenWindow* Root();
  // The help panels (the picture help and the text help) show the help of
  // the window whose help button opened them, and close with it.
  static constexpr int kHelpPanels[2] = {215, 242};
  void SetHelpOwner(int id) { m_helpOwner = id; }
  int GetHelpOwner() const { return m_helpOwner; }
  // Whether the window is on screen: it and every window it lies in are
  // open (the root of the tree always is).
  bool IsShown() const;

  // Until this time (ms) plus 50 the selection lists skip their rebuild.
  static uint32_t m_NoZorvaListRefresh;

  // Tree addressing: 0 when done, 1 when the target does not exist.
  int AddWindow(CScreenWindow* child, int parentId, int = 0);
  int AddDialog(CDialog* dialog, int windowId);
  int AddItem(CItem* item, int windowId, int dialogId, int* number);
  int AddVar(CWindowVar* var, int windowId, int dialogId, int itemNumber);
  int AddAction(CAction* action, int windowId, int dialogId, int itemNumber);
  int SetVarWorldObject(int windowId, int dialogId, int itemNumber, CWorldObj* object, const char* name);
  // The window, its dialogs and its items show no world object.
  void ForgetWorldObject();
  // Visits this window and every window below it, each before its children.
  template <class Visit>
  void ForEachInTree(Visit&& visit);
  CWorldObj* GetVarWorldObject(int windowId);
  CScreenWindow* GetWindowByID(int id, bool = false);
  int RefreshVars();
  void SetChangedLanguage();
  int ResetItems();
  int GetHilfeReplaceBitmap();

  EInOutType OverWindow(int realX, int realY, int mouseX, int mouseY, EPosition* zone, EOverType over);
  int CheckEvent(QnoInteractionEvent* event, CActionList* own, CActionList* collected, int mouseX, int mouseY);
  int CheckAllAktion(CActionList* own, CActionList* collected, EActionWhen when, int x, int y);

  void Reposition(int screenW, int screenH);
  void CheckForXYInScreen(int screenW, int screenH);
  int ResetPos(int dx, int dy, bool relative);

  int GetRealPosX();
  int GetRealPosY();
  int GetOffsetX();
  int GetOffsetY();
  int GetPosX() const { return m_posX; }
  int GetPosY() const { return m_posY; }
  int SetPosX(int x) { m_posX = x; return 0; }
  int SetPosY(int y) { m_posY = y; return 0; }
  int GetStandardPosX() const { return m_stdX; }
  int GetStandardPosY() const { return m_stdY; }
  int SetStandardPosX(int x) { m_stdX = x; return 0; }
  int SetStandardPosY(int y) { m_stdY = y; return 0; }
  int GetSizeX() const { return m_sizeX; }
  int GetSizeY() const { return m_sizeY; }
  int SetSizeX(int w) { m_sizeX = w; return 0; }
  int SetSizeY(int h) { m_sizeY = h; return 0; }
  int GetPosX8x6() const { return m_posX8x6; }
  int GetPosY8x6() const { return m_posY8x6; }
  int GetSizeX8x6() const { return m_sizeX8x6; }
  int GetSizeY8x6() const { return m_sizeY8x6; }
  int GetID() const { return m_id; }
  unsigned char GetLayer() const { return m_layer; }
  int GetTextNr() const { return m_textNr; }
  int SetTextNr(int n) { m_textNr = n; return 0; }
  int GetLink() const { return m_link; }
  EScreenWindowType GetType() const { return m_type; }
  EPositionType GetPositionType() const { return m_positionType; }
  bool IsActive() const { return m_active != 0; }
  void SetActive(bool on) { m_active = on ? 1 : 0; }
  CUserInt* GetUserInt() const { return m_userInt; }
  void IncrementListNumber() { ++m_listNumber; }
  void DecrementListNumber() { --m_listNumber; }

  CWindowList* GetChildren() { return m_children; }
  CDialogList* GetDialogs() { return m_dialogs; }
  CItemList* GetItems() { return m_items; }
  CActionList* GetActions() { return m_actions; }

 private:
  // Brings the window to the front on a left press inside it.
  void BringToFrontOnPress();
  // A group root and then its open pages come to the front.
  void GroupToFront();
  // The fleet purchase waiting for confirmation holds the action back.
  bool FleetGuardHolds(const CAction& action);
  // Every picture item of the window shows the pictures and takes the size.
  void ReplacePictures(int picture, int englishPicture, bool windowTakesSize);
  // SetVarWorldObject on this window.
  int SetOwnWorldObject(int dialogId, int itemNumber, CWorldObj* object, const char* name);
  // The tree walk that the id table replaces once it exists.
  CScreenWindow* FindInTree(int id);
  // Closes every help panel whose window is no longer on screen.
  void CloseHelpOfClosedWindows();

  int m_listNumber = 0;
  int m_stdX = 0, m_stdY = 0;
  int m_posX = 0, m_posY = 0;
  int m_sizeX = 0, m_sizeY = 0;
  int m_sizeX8x6 = 0, m_sizeY8x6 = 0;
  int m_posX8x6 = 0, m_posY8x6 = 0;
  CWindowList* m_children = nullptr;
  CDialogList* m_dialogs = nullptr;
  CItemList* m_items = nullptr;
  int m_id = 0;
  uint8_t m_active = 0;
  CScreenWindow* m_top = nullptr;
  unsigned char m_layer = 0;
  int m_link = 0;
  uint8_t m_hint = 0;
  int m_textNr = 0;
  EScreenWindowType m_type = WINDOW_NONE;
  EPositionType m_positionType = POSITION_FIXED;
  CActionList* m_actions = nullptr;
  CUserInt* m_userInt = nullptr;
  CWorldObj* m_worldObj = nullptr;
  int m_helpOwner = 0;  // a help panel: the window whose help it shows; 0 none
};

class CWindowList : public CToolkitList<CScreenWindow> {
 public:
  int Destroy() {
    DestroyAll();
    return 0;
  }
  int AddHeadWindow(CScreenWindow* w) { return AddHead(w); }
  int DestroyWindow(CScreenWindow* w) {
    DestroyElement(w);
    return 1;
  }
  // The first matching window from the head; a window that does not match
  // is asked through the id table, so any window of the tree is found.
  CScreenWindow* GetWindowByID(int id);
  void SetupWindowCount() { SetupCount(); }
  CScreenWindow* GetNextWindow() { return GetNext(); }
};

template <class Visit>
void CScreenWindow::ForEachInTree(Visit&& visit) {
  visit(this);
  if (m_children) m_children->ForEach([&visit](CScreenWindow* c) { c->ForEachInTree(visit); });
}
