#pragma once
// A dialog that shows a scrolling list of rows, one per element of a bound
// object list or of the game's lines, messages or savegames, with a slider
// item (type 35) that shows and sets the scroll position. The rows are
// items made afresh on every rebuild by the list kind's row maker.
#include <vector>

#include "gui/dialog.h"

class CDialogSelectionList;
class CItemBitmap;
class CItemText;

// What a list kind's rows are made of. The game installs one maker for all
// kinds; the list asks it for the elements it counts itself and for each
// row it shows.
class CSelectionListRows {
 public:
  virtual ~CSelectionListRows() = default;
  // Number of elements of a kind that shows no bound list (lines,
  // messages, savegames); -1 for the kinds that show their bound list.
  virtual int CountElements(EDialogType type) = 0;
  // Adds the row of element `index` with its top at y. `element` is the
  // bound list's element, null for the kinds without one.
  virtual void AddRow(CDialogSelectionList& list, CZorvaObject* element, int index, int y) = 0;
};

class CDialogSelectionList : public CDialog {
 public:
  static constexpr int kRowHeight = 18;
  static constexpr int kSliderItemType = 35;
  // A refresh this soon after a row was held keeps the rows as they are.
  static constexpr uint32_t kRefreshPauseMs = 50;
  // Input filter calls of all selection lists together; every tenth
  // rebuilds the list whose call it is.
  static int often;

  explicit CDialogSelectionList(CSelectionListRows* rows = nullptr) : m_rows(rows) {}
  ~CDialogSelectionList() override;

  using CDialog::Create;
  int Create(int x, int y, int w, int h, EDialogType type, int id, CScreenWindow* window) override;
  int Destroy() override;
  // Settings 0 binds the list; any other value refreshes the rows.
  int SetZorvaList(CZorvaList* list, ZorvaList_Settings settings) override;
  int InputFilter(QnoInteractionEvent* event, QnoView* view, int windowX, int windowY, int mouseX, int mouseY,
                  EInOutType windowHit, EInOutType inOut) override;
  int ActionAuswertung(CActionList* list, EInOutType hit, int mouseX, int mouseY, EPosition* zone) override;
  int OnPlayloopTurn() override;

  int GetMaxListItems();
  int CheckFirstItem();
  // 1 when the dialog has no item list.
  int SetSliderData();
  int CalculateFirstItemFromMouseY(int y);
  // Removes the rows; the items made with the dialog itself stay.
  int DestroyItems();
  // Rebuilds every row; 1 for a kind that shows a bound list and has none.
  int CreateItemsFromZorvaList(CZorvaList* list);

  int GetFirstItem() const { return m_firstItem; }
  void SetFirstItem(int first) { m_firstItem = first; }
  int GetVisibleRows() const { return m_visibleRows; }
  CZorvaList* GetZorvaList() const { return m_list; }
  EDialogType GetListType() const { return m_listType; }

  // ---- What row makers add a row with; each item gets the next number.
  // Rows are only made while the list has its item list; null without one.
  CItemText* AddRowText(int x, int y, int w, int h, EItemType type, const char* text, EHO align);
  CItemBitmap* AddRowBitmap(int x, int y, int w, int h, EItemType type, int picture, int englishPicture = -1);
  // Any other item made by the maker, numbered and hung into the list.
  void AddRowItem(CItem* item);
  // Rows' actions come from the spare actions of their list.
  static void AddAction(CItem* item, EActionType kind, EActionWhen when, EInOutType inout, int p1 = -1, int p2 = -1,
                        int p3 = -1, const char* name = "");
  // A plain sub-dialog with the next sub-dialog id; its items are added to
  // it directly.
  CDialog* AddRowDialog(int x, int y, int w, int h, EDialogType type);

 private:
  // The turn of the rows and of their sub-dialogs.
  void TurnRows();
  // While the list walks its items, a rebuild would free the item whose
  // actions run; it waits for the walk's end instead.
  void RebuildOrDefer();

  CSelectionListRows* m_rows;
  EDialogType m_listType = 0;
  CZorvaList* m_list = nullptr;
  int m_firstItem = 0;
  int m_visibleRows = 0;
  int m_nextItemNr = 2;
  int m_nextDialogId = 0;
  // The rows, newest last; the list owns them through its item list.
  std::vector<CItem*> m_rowItems;
  // Items and actions of removed rows, owned here until a new row takes
  // them; a row item is a text or picture item or any other item class.
  std::vector<CItemText*> m_spareTexts;
  std::vector<CItemBitmap*> m_spareBitmaps;
  std::vector<CAction*> m_spareActions;
  int m_walking = 0;
  bool m_rebuildWaiting = false;
};
