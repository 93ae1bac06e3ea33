#include "gui/screen_window.h"

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "gui/gui_host.h"

CHashTable* CScreenWindow::m_HashTable = nullptr;
uint32_t CScreenWindow::m_NoZorvaListRefresh = 0;

namespace {
constexpr int kHashBuckets = 2000;
constexpr int kWarningWindow = 220;
constexpr int kYesNoWindow = 247;
// The yes/no question that keeps its confirmation pending while it shows.
constexpr int kYesNoKeepsPending = 81;

// Pages whose group window comes to the front before them.
bool ParentComesFirst(int id) {
  return id == 81 || id == 82 || (id >= 84 && id <= 92) || (id >= 101 && id <= 103) || (id >= 112 && id <= 116) ||
         (id >= 122 && id <= 129) || (id >= 141 && id <= 146) || (id >= 161 && id <= 163) ||
         (id >= 171 && id <= 173) || (id >= 202 && id <= 204);
}

}  // namespace

bool CScreenWindow::IsGroupRoot(int id) {
  switch (id) {
    case 214: case 110: case 80: case 120: case 170: case 140: case 201: case 160:
      return true;
    default:
      return false;
  }
}

CScreenWindow::CScreenWindow(CUserInt* userInt) : m_userInt(userInt) {}

CScreenWindow::~CScreenWindow() { Destroy(); }

int CScreenWindow::Create(int x, int y, int w, int h, int id, unsigned char layer, EScreenWindowType type,
                          EPositionType position, int link) {
  if (!m_HashTable) m_HashTable = new CHashTable(kHashBuckets);
  if (m_HashTable->GetEntry(static_cast<uint32_t>(id)))
    QNO_ERROR1(QNO_SEV_WARNING, "Window id %d exists twice; the first one keeps the id", id);
  else
    m_HashTable->InsertEntry(static_cast<uint32_t>(id), this);
  if (id >= kWindowIdLimit)
    QNO_ERROR1(QNO_SEV_WARNING, "Window id %d lies beyond the numbers a load lets go of", id);
  m_id = id;
  m_layer = layer;
  m_link = link;
  m_type = type;
  m_positionType = position;
  m_top = nullptr;
  m_hint = 0;
  if (!m_children) m_children = new CWindowList;
  if (!m_dialogs) m_dialogs = new CDialogList;
  if (!m_items) m_items = new CItemList;
  if (!m_actions) m_actions = new CActionList;
  m_stdX = m_posX = m_posX8x6 = x;
  m_stdY = m_posY = m_posY8x6 = y;
  m_sizeX = m_sizeX8x6 = w;
  m_sizeY = m_sizeY8x6 = h;
  return 0;
}

int CScreenWindow::Destroy() {
  if (m_HashTable && m_children &&
      m_HashTable->GetEntry(static_cast<uint32_t>(m_id)) == static_cast<CZorvaObject*>(this)) {
    m_HashTable->RemoveEntry(static_cast<uint32_t>(m_id));
    if (m_HashTable->GetCount() == 0) {
      delete m_HashTable;
      m_HashTable = nullptr;
    }
  }
  delete m_actions;
  m_actions = nullptr;
  delete m_items;
  m_items = nullptr;
  delete m_dialogs;
  m_dialogs = nullptr;
  delete m_children;
  m_children = nullptr;
  m_type = WINDOW_NONE;
  return 0;
}

CScreenWindow* CScreenWindow::FindInTree(int id) {
  if (m_id == id) return this;
  CScreenWindow* found = nullptr;
  if (m_children)
    m_children->ForEach([&](CScreenWindow* c) {
      if (!found) found = c->FindInTree(id);
    });
  return found;
}

CScreenWindow* CScreenWindow::GetWindowByID(int id, bool) {
  if (m_HashTable) return static_cast<CScreenWindow*>(m_HashTable->GetEntry(static_cast<uint32_t>(id)));
  return FindInTree(id);
}

CScreenWindow* CWindowList::GetWindowByID(int id) {
  for (CScreenWindow* w = GetHead(); w; w = static_cast<CScreenWindow*>(w->GetNext())) {
    if (w->GetID() == id) return w;
    if (CScreenWindow* found = w->GetWindowByID(id)) return found;
  }
  return nullptr;
}

int CScreenWindow::AddWindow(CScreenWindow* child, int parentId, int) {
  CScreenWindow* parent = GetWindowByID(parentId);
  if (!parent || !child || !parent->m_children) return 1;
  parent->m_children->AddHeadWindow(child);
  child->SetTopWindow(parent);
  return 0;
}

int CScreenWindow::AddDialog(CDialog* dialog, int windowId) {
  CScreenWindow* w = windowId == -1 ? this : GetWindowByID(windowId);
  if (!w || !dialog || !w->m_dialogs) return 1;
  w->m_dialogs->AddHeadDialog(dialog);
  dialog->SetTopWindow(w);
  return 0;
}

int CScreenWindow::AddItem(CItem* item, int windowId, int dialogId, int* number) {
  CScreenWindow* w = GetWindowByID(windowId);
  if (!w || !item || !w->m_items) return 1;
  int n = -1;
  if (dialogId != -1) {
    CDialog* d = w->m_dialogs->GetDialogByID(dialogId);
    if (!d) return 1;
    d->AddItem(item, &n);
    item->SetTopDialog(d);
  } else {
    n = w->m_items->GetCount();
    item->SetNr(n);
    w->m_items->AddHeadItem(item);
    item->SetTopWindow(w);
  }
  if (number) *number = n;
  return 0;
}

int CScreenWindow::AddVar(CWindowVar* var, int windowId, int dialogId, int itemNumber) {
  CScreenWindow* w = GetWindowByID(windowId);
  if (!w || !var || !w->m_items) return 1;
  if (dialogId != -1) {
    CDialog* d = w->m_dialogs->GetDialogByID(dialogId);
    return d ? d->AddVar(var, itemNumber) : 1;
  }
  CItem* item = w->m_items->GetItemByID(itemNumber);
  return item ? item->AddVar(var) : 1;
}

int CScreenWindow::AddAction(CAction* action, int windowId, int dialogId, int itemNumber) {
  CScreenWindow* w = GetWindowByID(windowId);
  if (!w || !action || !w->m_items) return 1;
  if (dialogId != -1) {
    CDialog* d = w->m_dialogs->GetDialogByID(dialogId);
    return d ? d->AddAction(action, itemNumber) : 1;
  }
  if (itemNumber != -1) {
    CItem* item = w->m_items->GetItemByID(itemNumber);
    if (!item || !item->GetActions()) return 1;
    return item->GetActions()->AddHeadAction(action);
  }
  return w->m_actions->AddHeadAction(action);
}

int CScreenWindow::SetVarWorldObject(int windowId, int dialogId, int itemNumber, CWorldObj* object,
                                     const char* name) {
  CScreenWindow* w = GetWindowByID(windowId);
  return w ? w->SetOwnWorldObject(dialogId, itemNumber, object, name) : 1;
}

int CScreenWindow::SetOwnWorldObject(int dialogId, int itemNumber, CWorldObj* object, const char* name) {
  if (!m_items) return 1;
  m_worldObj = object;
  if (dialogId != -1)
    m_dialogs->ForEach([&](CDialog* d) {
      if (dialogId == -2 || d->GetID() == dialogId) d->SetVarWorldObject(object, itemNumber, name);
    });
  if (itemNumber != -1)
    m_items->ForEach([&](CItem* i) {
      if (itemNumber == -2 || i->GetNr() == itemNumber) i->SetVarWorldObject(object, nullptr);
    });
  return 0;
}

void CScreenWindow::ForgetWorldObject() { SetOwnWorldObject(-2, -2, nullptr, nullptr); }

CWorldObj* CScreenWindow::GetVarWorldObject(int windowId) {
  CScreenWindow* w = GetWindowByID(windowId);
  return w ? w->m_worldObj : nullptr;
}

int CScreenWindow::SetZorvaList(int windowId, int dialogId, CZorvaList* list, ZorvaList_Settings settings) {
  CScreenWindow* w = GetWindowByID(windowId);
  if (!w || !w->m_dialogs) return 1;
  int result = 1;
  w->m_dialogs->ForEach([&](CDialog* d) {
    if (result == 0 && dialogId != -2) return;
    if (dialogId == -2 || d->GetID() == dialogId) {
      d->SetZorvaList(list, settings);
      result = 0;
    }
  });
  return result;
}

int CScreenWindow::RefreshVars() {
  if (m_dialogs) m_dialogs->ForEach([](CDialog* d) { d->RefreshVars(); });
  if (m_items) m_items->ForEach([](CItem* i) { i->RefreshVars(); });
  return 0;
}

void CScreenWindow::SetChangedLanguage() {
  if (m_children) m_children->ForEach([](CScreenWindow* c) { c->SetChangedLanguage(); });
  if (m_dialogs) m_dialogs->ForEach([](CDialog* d) { d->SetChangedLanguage(); });
  if (m_items) m_items->ForEach([](CItem* i) { i->SetChanged(); });
}

int CScreenWindow::ResetItems() {
  if (m_items)
    m_items->ForEach([](CItem* i) {
      i->ResetPressedUntil();
      i->HighLightOff();
    });
  return 0;
}

int CScreenWindow::GetHilfeReplaceBitmap() {
  if (!m_items) return -1;
  for (CItem* i = m_items->GetHead(); i; i = static_cast<CItem*>(i->GetNext()))
    if (i->GetItemType() == 20) return i->GetResID();
  return -1;
}

int CScreenWindow::GetOffsetX() {
  int x = 0;
  for (CScreenWindow* t = m_top; t; t = t->m_top) x += t->m_posX;
  return x;
}

int CScreenWindow::GetOffsetY() {
  int y = 0;
  for (CScreenWindow* t = m_top; t; t = t->m_top) y += t->m_posY;
  return y;
}

int CScreenWindow::GetRealPosX() { return m_posX + GetOffsetX(); }

int CScreenWindow::GetRealPosY() { return m_posY + GetOffsetY(); }

EInOutType CScreenWindow::OverWindow(int realX, int realY, int mouseX, int mouseY, EPosition* zone, EOverType over) {
  if (!m_active) return INOUT_OUTSIDE;
  const int h = mouseX < realX ? 3 : (mouseX >= realX + m_sizeX ? 6 : 0);
  const int v = mouseY < realY ? 1 : (mouseY >= realY + m_sizeY ? 2 : 0);
  if (zone) *zone = 1 + h + v;
  return (h == 0 && v == 0 && over != OVER_OUTSIDE) ? INOUT_INSIDE : INOUT_OUTSIDE;
}

int CScreenWindow::CheckAllAktion(CActionList* own, CActionList* collected, EActionWhen when, int, int) {
  if (own) own->CopyMatching(collected, when);
  return 0;
}

void CScreenWindow::GroupToFront() {
  CGuiHost* host = CGuiHost::Get();
  host->BringToFront(this);
  if (m_children)
    m_children->ForEach([&](CScreenWindow* c) {
      if (!c->IsActive()) return;
      host->BringToFront(c);
      if (c->GetID() == 142 && c->m_children)
        c->m_children->ForEach([host](CScreenWindow* g) {
          if (g->IsActive()) host->BringToFront(g);
        });
    });
}

void CScreenWindow::BringToFrontOnPress() {
  CGuiHost* host = CGuiHost::Get();
  if (ParentComesFirst(m_id) && m_top) host->BringToFront(m_top);
  if (!IsGroupRoot(m_id))
    ActivateWindow(m_id, OVER_FRONT);
  else
    GroupToFront();
  if (m_id == 142 && m_children)
    m_children->ForEach([host](CScreenWindow* c) {
      if (c->IsActive()) host->BringToFront(c);
    });
}

int CScreenWindow::CheckEvent(QnoInteractionEvent* event, CActionList* own, CActionList* collected, int mouseX,
                              int mouseY) {
  if (!event) return 0;
  switch (event->type) {
    case QNO_EVENT_BUTTONDOWN:
      if (event->button == 0) {
        EPosition zone = 0;
        if (OverWindow(GetRealPosX(), GetRealPosY(), mouseX, mouseY, &zone, OVER_SINGLE) != INOUT_INSIDE) {
          if (m_type == WINDOW_SUBMENU) DeActivateWindow(m_id, OVER_SINGLE);
        } else {
          BringToFrontOnPress();
        }
        CheckAllAktion(own, collected, WHEN_LEFT_DOWN, mouseX, mouseY);
      } else {
        CheckAllAktion(own, collected, WHEN_OTHER_DOWN, mouseX, mouseY);
      }
      break;
    case QNO_EVENT_BUTTONUP:
      CheckAllAktion(own, collected, event->button == 0 ? WHEN_LEFT_UP : WHEN_OTHER_UP, mouseX, mouseY);
      break;
    case QNO_EVENT_MOUSEMOVE:
      CheckAllAktion(own, collected, WHEN_MOVE_FIRST, mouseX, mouseY);
      CheckAllAktion(own, collected, WHEN_MOVE, mouseX, mouseY);
      break;
    default:
      break;
  }
  return 0;
}

int CScreenWindow::InputFilter(QnoInteractionEvent* event, QnoView* view, int, int, int mouseX, int mouseY,
                               EInOutType inOut) {
  if (!m_active && m_type != WINDOW_NORMAL && m_type != WINDOW_ROOT) return 1;
  const int rx = GetRealPosX();
  const int ry = GetRealPosY();
  EPosition zone = 0;
  EInOutType hit = m_active ? OverWindow(rx, ry, mouseX, mouseY, &zone, OVER_SINGLE) : INOUT_OUTSIDE;
  if (hit == INOUT_INSIDE) {
    if (inOut == INOUT_OUTSIDE) hit = INOUT_OUTSIDE;
    if (event && event->type == QNO_EVENT_BUTTONDOWN && event->button == 1) {
      CScreenWindow* root = this;
      while (root->m_top) root = root->m_top;
      root->CloseOnEscAndRightMouse(m_id);
      return 0;
    }
  }
  const bool isRoot = m_top == nullptr;
  const EInOutType itemHit = isRoot ? INOUT_INSIDE : hit;
  CActionList list;
  if (m_dialogs)
    m_dialogs->ForEach([&](CDialog* d) { d->InputFilter(event, view, rx, ry, mouseX, mouseY, hit, inOut); });
  CheckEvent(event, m_actions, &list, mouseX, mouseY);
  if (m_items)
    m_items->ForEach([&](CItem* i) {
      i->CheckPressed();
      i->InputFilter(event, view, &list, rx, ry, mouseX, mouseY, itemHit, inOut);
    });
  ActionAuswertung(&list, itemHit, mouseX, mouseY, &zone);
  return hit == INOUT_INSIDE ? 0 : 1;
}

int CScreenWindow::OnPlayloopTurn() {
  CGuiHost* host = CGuiHost::Get();
  if (m_id == kWarningWindow && host->IsWindowOpen(kWarningWindow)) host->BringToFront(this);
  if (m_id == kYesNoWindow) {
    const bool open = host->IsWindowOpen(kYesNoWindow);
    if (open) host->BringToFront(this);
    if (!open || host->GetYesNoWarningNumber() != kYesNoKeepsPending) host->ClearPendingConfirmation();
  }
  if (m_dialogs) m_dialogs->ForEach([](CDialog* d) { d->OnPlayloopTurn(); });
  if (m_items) m_items->ForEach([](CItem* i) { i->OnPlayloopTurn(); });
  return 0;
}

int CScreenWindow::Render(QnoDisplay* display, QnoResourceManager* resources, int, int) {
  const int rx = GetRealPosX();
  const int ry = GetRealPosY();
  if (m_items) m_items->ForEach([&](CItem* i) { i->Render(display, resources, rx, ry); });
  if (m_dialogs) m_dialogs->ForEach([&](CDialog* d) { d->Render(display, resources, rx, ry); });
  return 0;
}

void CScreenWindow::Reposition(int screenW, int screenH) {
  if (m_positionType != POSITION_CENTERED) return;
  m_posX = screenW / 2 - m_sizeX / 2 - GetOffsetX();
  m_posY = screenH / 2 - m_sizeY / 2 - GetOffsetY();
}

void CScreenWindow::CheckForXYInScreen(int screenW, int screenH) {
  if (m_top) {
    const int rx = GetRealPosX();
    const int ry = GetRealPosY();
    if (!(rx >= 0 && ry >= 0 && rx + m_sizeX < screenW && ry + m_sizeY < screenH)) {
      m_posX = m_stdX = (screenW - m_sizeX) / 2 - GetOffsetX();
      m_posY = m_stdY = (screenH - m_sizeY) / 2 - GetOffsetY();
    }
  }
  if (m_children) m_children->ForEach([&](CScreenWindow* c) { c->CheckForXYInScreen(screenW, screenH); });
}

int CScreenWindow::ResetPos(int dx, int dy, bool relative) {
  if (relative) {
    if (m_children) m_children->ForEach([&](CScreenWindow* c) { c->ResetPos(dx, dy, true); });
    m_posX += dx;
    m_posY += dy;
  } else {
    const int ox = m_posX - m_stdX;
    const int oy = m_posY - m_stdY;
    if (m_children) m_children->ForEach([&](CScreenWindow* c) { c->ResetPos(ox, oy, true); });
    m_posX = m_stdX;
    m_posY = m_stdY;
  }
  return 0;
}
