#include "gui/dialog_selection_list.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>

#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "gui/gui_host.h"
#include "gui/item_bitmap.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"

int CDialogSelectionList::often = 0;

namespace {

constexpr int kRowFont = 19671;
constexpr int kRowColour = 100;
constexpr int kNoLine = 65535;
constexpr int kLineWindow = 227;
constexpr int kLineTool = 17;
constexpr int kOpnvGroup = 120;

// Top of the first row and the step from row to row, by list kind.
int FirstRowY(EDialogType type) {
  switch (type) {
    case 6: return 20;
    case 7: return 2;
    case 8:
    case 9: return 3;
    default: return 0;
  }
}

// The last spare element, or a new one when none is left.
template <class T>
T* NewOrSpare(std::vector<T*>& spare) {
  if (spare.empty()) return new T;
  T* t = spare.back();
  spare.pop_back();
  return t;
}

int RowStep(EDialogType type) { return type == 18 || type == 21 ? 17 : CDialogSelectionList::kRowHeight; }

}  // namespace

CDialogSelectionList::~CDialogSelectionList() { Destroy(); }

int CDialogSelectionList::Create(int x, int y, int w, int h, EDialogType type, int id, CScreenWindow* window) {
  CDialog::Create(x, y, w, h, type, id, window);
  m_listType = type;
  m_firstItem = 0;
  return 0;
}

int CDialogSelectionList::Destroy() {
  DestroyItems();
  m_rowItems.clear();
  for (CItemText* t : m_spareTexts) delete t;
  for (CItemBitmap* b : m_spareBitmaps) delete b;
  for (CAction* a : m_spareActions) delete a;
  m_spareTexts.clear();
  m_spareBitmaps.clear();
  m_spareActions.clear();
  m_list = nullptr;
  return CDialog::Destroy();
}

int CDialogSelectionList::GetMaxListItems() {
  const int counted = m_rows ? m_rows->CountElements(m_listType) : -1;
  if (counted >= 0) return counted;
  return m_list ? m_list->GetCount() : 0;
}

int CDialogSelectionList::CheckFirstItem() {
  const int max = GetMaxListItems();
  if (m_firstItem >= max) m_firstItem = std::max(max - 1, 0);
  if (m_firstItem < 0) m_firstItem = 0;
  return 0;
}

int CDialogSelectionList::SetSliderData() {
  if (!m_items) return 1;
  m_visibleRows = m_h / kRowHeight - (m_listType == 6 ? 1 : 0);
  const int max = GetMaxListItems();
  const int rows = m_visibleRows;
  m_items->ForEach([&](CItem* slider) {
    if (slider->GetItemType() != kSliderItemType) return;
    slider->SetShown(1);
    slider->SetSliderDialog(this);
    const int H = slider->GetYSize();
    int offset = 0;
    int knob = H;
    if (max == 0 || rows > max) {
      slider->SetShown(0);
    } else {
      knob = static_cast<int>(static_cast<long long>(H) * rows / max);
      offset = max > 1 ? static_cast<int>(static_cast<long long>(H - knob) * m_firstItem / (max - 1)) : H - knob;
      // A first row past the last element keeps the knob on the slider.
      offset = std::clamp(offset, 0, std::max(H - knob, 0));
    }
    slider->SetKnob(slider->GetXPos(), slider->GetYPos() + offset, slider->GetXSize(), knob);
  });
  return 0;
}

int CDialogSelectionList::CalculateFirstItemFromMouseY(int y) {
  if (!m_items) return 1;
  const int before = m_firstItem;
  const int max = GetMaxListItems();
  const int top = GetRealPosY();
  m_items->ForEach([&](CItem* slider) {
    // A hidden knob means every element fits: there is nothing to scroll.
    if (slider->GetItemType() != kSliderItemType || !slider->GetShown()) return;
    const int r = y - (top + slider->GetYPos());
    const int K = slider->GetKnob(3);
    const int H = slider->GetYSize();
    int offset = 0;
    if (r < K / 2) {
      m_firstItem = 0;
    } else if (r >= H - K / 2) {
      m_firstItem = std::max(max - 1, 0);
      offset = H - K;
    } else {
      offset = r - K / 2;
      m_firstItem = max == 0 ? 0 : static_cast<int>(std::trunc((r - K * 0.5) / (H - K) * max));
    }
    slider->SetKnob(slider->GetKnob(0), slider->GetYPos() + offset, slider->GetKnob(2), K);
  });
  if (m_firstItem != before) SetZorvaList(nullptr, 1);
  return 0;
}

int CDialogSelectionList::DestroyItems() {
  // Only the rows go: the items the window builder made with the dialog,
  // wherever they stand in the list, stay. Text and picture items wait for
  // the next rows, the first made on top, so that rows made alike take
  // the items of the same places; others are freed.
  if (m_items)
    for (auto it = m_rowItems.rbegin(); it != m_rowItems.rend(); ++it) {
      CItem* row = *it;
      if (m_items->Unlink(row) != 0) continue;
      if (row->GetClassCode() == ITEM_CLASS_TEXT && typeid(*row) == typeid(CItemText)) {
        row->Reuse(m_spareActions);
        m_spareTexts.push_back(static_cast<CItemText*>(row));
      } else if (row->GetClassCode() == ITEM_CLASS_BITMAP && typeid(*row) == typeid(CItemBitmap)) {
        row->Reuse(m_spareActions);
        m_spareBitmaps.push_back(static_cast<CItemBitmap*>(row));
      } else {
        row->Destroy();
        delete row;
      }
    }
  m_rowItems.clear();
  return 0;
}

int CDialogSelectionList::SetZorvaList(CZorvaList* list, ZorvaList_Settings settings) {
  if (settings == 0) {
    m_list = list;
    // A newly bound list starts at its top; the rows show that at once.
    m_firstItem = 0;
    RebuildOrDefer();
    return 0;
  }
  if (kfx_GetTicks() - CScreenWindow::m_NoZorvaListRefresh > kRefreshPauseMs) {
    CheckFirstItem();
    RebuildOrDefer();
  }
  return 0;
}

void CDialogSelectionList::RebuildOrDefer() {
  if (m_walking > 0)
    m_rebuildWaiting = true;
  else
    CreateItemsFromZorvaList(m_list);
}

int CDialogSelectionList::CreateItemsFromZorvaList(CZorvaList*) {
  m_rebuildWaiting = false;
  DestroyItems();
  if (m_dialogs) m_dialogs->Destroy();
  m_nextItemNr = 2;
  m_nextDialogId = 0;
  if (!m_items) return 1;
  const int counted = m_rows ? m_rows->CountElements(m_listType) : -1;
  if (counted < 0 && !m_list) {
    SetSliderData();
    return 1;
  }
  const int step = RowStep(m_listType);
  int y = FirstRowY(m_listType);
  ++m_walking;
  if (counted < 0) {
    int index = 0;
    for (CZorvaPointer* p = m_list->GetHeadZorvaPointer(); p && y + 16 < m_h; p = p->GetNextZorvaPointer(), ++index) {
      if (index < m_firstItem) continue;
      if (m_rows) m_rows->AddRow(*this, p->GetZorvaObject(), index, y);
      y += step;
    }
  } else {
    // The message list fills every visible position; the others stop at
    // their last element.
    for (int index = std::max(m_firstItem, 0); y + 16 < m_h; ++index) {
      if (m_listType != 18 && index >= counted) break;
      m_rows->AddRow(*this, nullptr, index, y);
      y += step;
    }
  }
  --m_walking;
  SetSliderData();
  // One turn lets the new rows take their looks and values; a rebuild it
  // would ask for is not needed.
  TurnRows();
  m_rebuildWaiting = false;
  return 0;
}

int CDialogSelectionList::InputFilter(QnoInteractionEvent* event, QnoView* view, int windowX, int windowY, int mouseX,
                                      int mouseY, EInOutType windowHit, EInOutType inOut) {
  if (often % 10 == 0) RebuildOrDefer();
  ++often;
  ++m_walking;
  const int result = CDialog::InputFilter(event, view, windowX, windowY, mouseX, mouseY, windowHit, inOut);
  --m_walking;
  if (m_rebuildWaiting && m_walking == 0) CreateItemsFromZorvaList(m_list);
  return result;
}

void CDialogSelectionList::TurnRows() {
  ++m_walking;
  CDialog::OnPlayloopTurn();
  if (m_dialogs) m_dialogs->ForEach([](CDialog* d) { d->OnPlayloopTurn(); });
  --m_walking;
}

int CDialogSelectionList::OnPlayloopTurn() {
  TurnRows();
  if (m_rebuildWaiting && m_walking == 0) CreateItemsFromZorvaList(m_list);
  return 0;
}

int CDialogSelectionList::ActionAuswertung(CActionList* list, EInOutType hit, int, int, EPosition*) {
  if (!list) return 1;
  CGuiHost* host = CGuiHost::Get();
  CScreenWindow* root = m_topWindow ? m_topWindow->Root() : nullptr;
  const bool inside = hit == INOUT_INSIDE;
  const int before = m_firstItem;
  list->ForEach([&](CAction* a) {
    if (a->m_inout != INOUT_ALWAYS && a->m_inout != hit) return;
    const int p1 = a->m_p1;
    switch (a->m_kind) {
      case 3:
        if (m_vars)
          m_vars->ForEach([&, done = false](CWindowVar* v) mutable {
            if (done || !v->GetName() || !std::strstr(v->GetName(), ".SETACTIVEBUILDING")) return;
            v->SetValue(p1);
            done = true;
          });
        break;
      case 4: {
        if (!inside || !root) break;
        root->ActivateWindow(kLineWindow, OVER_GROUP);
        CWorldObj* line = host->GetLineByID(p1);
        if (!line) {
          host->SetSelectedLine(nullptr, kNoLine);
          root->SetVarWorldObject(kLineWindow, -2, -2, nullptr, nullptr);
          break;
        }
        root->SetVarWorldObject(kLineWindow, -2, -2, line, nullptr);
        host->SetSelectedLine(line, p1);
        host->SetToolNr(kLineTool, -1, -1);
        break;
      }
      case 16:
        m_firstItem = std::max(m_firstItem - 1, 0);
        break;
      case 17:
        ++m_firstItem;
        CheckFirstItem();
        break;
      case 20:
        if (inside) host->SetIsoCenter(p1, a->m_p2);
        break;
      case 35:
        if (!inside || !root) break;
        root->ActivateWindow(kOpnvGroup, OVER_GROUP);
        for (int w = 122; w <= 129; ++w) root->DeActivateWindow(w, OVER_SINGLE);
        root->ActivateWindow(p1, OVER_GROUP);
        break;
      case 149:
        if (inside) host->MarkBuildingAt(p1, a->m_p2);
        break;
      default:
        break;
    }
  });
  // A step by the arrows shows at once, as a drag of the slider does.
  if (m_firstItem != before) SetZorvaList(nullptr, 1);
  return 0;
}

// ---- row items ------------------------------------------------------------------------

void CDialogSelectionList::AddRowItem(CItem* item) {
  if (!item) return;
  if (!m_items) {
    item->Destroy();
    delete item;
    return;
  }
  item->SetNr(m_nextItemNr++);
  m_items->AddHeadItem(item);
  item->SetDialogPointer(this);
  item->SetTopDialog(this);
  m_rowItems.push_back(item);
}

CItemText* CDialogSelectionList::AddRowText(int x, int y, int w, int h, EItemType type, const char* text,
                                            EHO align) {
  if (!m_items) return nullptr;
  CItemText* item = NewOrSpare(m_spareTexts);
  item->Create(x, y, w, h, type, text, align, VO_CENTER, 3, kRowFont, kRowColour, kRowColour, -1, -1, "");
  AddRowItem(item);
  return item;
}

CItemBitmap* CDialogSelectionList::AddRowBitmap(int x, int y, int w, int h, EItemType type, int picture,
                                                int englishPicture) {
  if (!m_items) return nullptr;
  CItemBitmap* item = NewOrSpare(m_spareBitmaps);
  item->Create(x, y, w, h, type, picture, -1, englishPicture, -1);
  AddRowItem(item);
  return item;
}

void CDialogSelectionList::AddAction(CItem* item, EActionType kind, EActionWhen when, EInOutType inout, int p1,
                                     int p2, int p3, const char* name) {
  if (!item || !item->GetActions()) return;
  auto* list = dynamic_cast<CDialogSelectionList*>(item->GetTopDialog());
  CAction* action = list ? NewOrSpare(list->m_spareActions) : new CAction;
  action->Set(kind, when, inout, p1, p2, p3, -1);
  action->SetName(name);
  item->GetActions()->AddHeadAction(action);
}

CDialog* CDialogSelectionList::AddRowDialog(int x, int y, int w, int h, EDialogType type) {
  if (!m_dialogs) return nullptr;
  auto* dialog = new CDialog;
  dialog->Create(x, y, w, h, type, m_nextDialogId++, m_window);
  dialog->SetTopWindow(m_topWindow);
  m_dialogs->AddHeadDialog(dialog);
  return dialog;
}
