#include "gui/dialog.h"

#include <cmath>
#include <cstring>

#include "gui/gui_host.h"
#include "gui/screen_window.h"

CDialog::CDialog() = default;

CDialog::~CDialog() { Destroy(); }

int CDialog::Create(int x, int y, int w, int h, EDialogType type, int id, CScreenWindow* window) {
  if (!m_vars) m_vars = new CWindowVarList;
  if (!m_dialogs) m_dialogs = new CDialogList;
  if (!m_items) m_items = new CItemList;
  if (!m_actions) m_actions = new CActionList;
  m_x = x;
  m_y = y;
  m_w = w;
  m_h = h;
  m_type = type;
  m_id = id;
  m_window = window;
  return 0;
}

int CDialog::Destroy() {
  delete m_dialogs;
  m_dialogs = nullptr;
  delete m_items;
  m_items = nullptr;
  delete m_actions;
  m_actions = nullptr;
  delete m_vars;
  m_vars = nullptr;
  m_type = 0;
  return 0;
}

void CDialog::AddItem(CItem* item, int* number) {
  if (!item || !m_items) return;
  const int n = m_items->GetCount();
  item->SetNr(n);
  m_items->AddHeadItem(item);
  item->SetDialogPointer(this);
  if (number) *number = n;
}

int CDialog::AddVar(CWindowVar* var, int itemNumber) {
  if (!m_vars || !var) return 1;
  if (itemNumber == -1) {
    m_vars->AddHead(var);
    return 0;
  }
  CItem* item = m_items->GetItemByID(itemNumber);
  if (!item) return 1;
  return item->AddVar(var);
}

int CDialog::AddAction(CAction* action, int itemNumber) {
  if (!m_actions || !action) return 1;
  if (itemNumber < 0) return m_actions->AddHeadAction(action);
  CItem* item = m_items->GetItemByID(itemNumber);
  if (!item || !item->GetActions()) return 1;
  return item->GetActions()->AddHeadAction(action);
}

void CDialog::AddDialog(CDialog* dialog) {
  if (m_dialogs && dialog) m_dialogs->AddHeadDialog(dialog);
}

void CDialog::RemoveDialog(CDialog* dialog) {
  if (m_dialogs) m_dialogs->DestroyDialog(dialog);
}

int CDialog::RemoveVar(CWindowVar* var) { return m_vars ? m_vars->Remove(var) : 1; }

int CDialog::RemoveVar(const char* name) { return m_vars ? m_vars->Remove(m_vars->GetVarByName(name)) : 1; }

int CDialog::DestroyVar(CWindowVar* var) {
  if (!var || RemoveVar(var) != 0) return 1;
  var->Destroy();
  delete var;
  return 0;
}

int CDialog::DestroyVar(const char* name) { return m_vars ? DestroyVar(m_vars->GetVarByName(name)) : 1; }

int CDialog::SetVarWorldObject(CWorldObj* object, int itemNumber, const char* name) {
  if (m_vars) {
    m_vars->ForEach([&](CWindowVar* v) {
      if (!name || (v->GetName() && std::strcmp(v->GetName(), name) == 0)) v->SetWorldOject(object);
    });
  }
  if (itemNumber != -1 && m_items) {
    m_items->ForEach([&](CItem* i) {
      if (itemNumber == -2 || i->GetNr() == itemNumber) i->SetVarWorldObject(object, name);
    });
  }
  return 0;
}

int CDialog::RefreshVars() {
  if (m_items) m_items->ForEach([](CItem* i) { i->RefreshVars(); });
  if (m_vars) m_vars->ForEach([](CWindowVar* v) { v->Refresh(); });
  return 1;
}

void CDialog::SetChangedLanguage() {
  if (m_items) m_items->ForEach([](CItem* i) { i->SetChanged(); });
}

int CDialog::ActivateDialog(int id) {
  if (id != m_id) return 1;
  m_active = 1;
  return 0;
}

int CDialog::DeActivateDialog(int id) {
  if (id != m_id) return 1;
  m_active = 0;
  return 0;
}

EInOutType CDialog::OverDialog(int originX, int originY, int mouseX, int mouseY, EPosition* zone) {
  const bool inside = originX <= mouseX && mouseX < originX + m_w && originY <= mouseY && mouseY < originY + m_h;
  if (zone) *zone = inside ? 5 : 0;
  return inside ? INOUT_INSIDE : INOUT_OUTSIDE;
}

int CDialog::GetRealPosX() { return m_x + (m_window ? m_window->GetRealPosX() : 0); }

int CDialog::GetRealPosY() { return m_y + (m_window ? m_window->GetRealPosY() : 0); }

int CDialog::CheckAllAktion(CActionList* own, CActionList* collected, EActionWhen when, int, int) {
  if (own) own->CopyMatching(collected, when);
  return 0;
}

int CDialog::CheckEvent(QnoInteractionEvent* event, CActionList* own, CActionList* collected, int x, int y) {
  if (!event) return 0;
  switch (event->type) {
    case QNO_EVENT_BUTTONDOWN:
      CheckAllAktion(own, collected, event->button == 0 ? WHEN_LEFT_DOWN : WHEN_OTHER_DOWN, x, y);
      break;
    case QNO_EVENT_BUTTONUP:
      CheckAllAktion(own, collected, event->button == 0 ? WHEN_LEFT_UP : WHEN_OTHER_UP, x, y);
      break;
    case QNO_EVENT_MOUSEMOVE:
      CheckAllAktion(own, collected, WHEN_MOVE_FIRST, x, y);
      CheckAllAktion(own, collected, WHEN_MOVE, x, y);
      break;
    default:
      break;
  }
  return 0;
}

int CDialog::InputFilter(QnoInteractionEvent* event, QnoView* view, int windowX, int windowY, int mouseX, int mouseY,
                         EInOutType windowHit, EInOutType inOut) {
  const int ox = windowX + m_x;
  const int oy = windowY + m_y;
  EPosition zone = 0;
  const EInOutType hit = OverDialog(ox, oy, mouseX, mouseY, &zone);
  CActionList list;
  CheckEvent(event, m_actions, &list, mouseX, mouseY);
  if (m_items) {
    m_items->ForEach([&](CItem* i) {
      i->CheckPressed();
      i->InputFilter(event, view, &list, ox, oy, mouseX, mouseY, windowHit, inOut);
    });
  }
  if (m_dialogs)
    m_dialogs->ForEach([&](CDialog* d) { d->InputFilter(event, view, ox, oy, mouseX, mouseY, windowHit, inOut); });
  ActionAuswertung(&list, hit, mouseX, mouseY, &zone);
  return hit == INOUT_INSIDE ? 0 : 1;
}

CItem* CDialog::FindLastItemOfClass(int classCode) const {
  CItem* found = nullptr;
  if (m_items)
    m_items->ForEach([&](CItem* i) {
      if (i->GetClassCode() == classCode) found = i;
    });
  return found;
}

// Value and knob use the same mapping from the bar: minimum at the left
// edge, maximum at the right, so that the drag and the turn agree for any
// minimum. A bar without width or a variable without range moves nothing.
int CDialog::DragSlider(int mouseX) {
  CItem* bar = FindLastItemOfClass(ITEM_CLASS_BAR);
  CItem* knob = FindLastItemOfClass(ITEM_CLASS_BITMAP);
  if (!bar) return 0;
  if (!m_topWindow) return 1;
  const int width = bar->GetXSize();
  if (width <= 0) return 0;
  int d = mouseX - (m_topWindow->GetRealPosX() + m_x + bar->GetXPos());
  if (d < 0) d = 0;
  if (d >= width) d = width - 1;
  if (m_type == DIALOG_SPEED_SLIDER) {
    CGuiHost* host = CGuiHost::Get();
    const int lo = host->GetGameSpeedMin();
    const int hi = host->GetGameSpeedMax();
    host->SetGameSpeed(lo + static_cast<int>(static_cast<double>(hi - lo) * d / width));
    if (knob) knob->SetXPos(d - knob->GetXSize() / 2);
    return 0;
  }
  CWindowVar* var = GetFirstVar();
  if (!var) return 0;
  double lo = 0, hi = 0;
  var->GetMin(&lo);
  var->GetMax(&hi);
  if (!(hi > lo)) return 0;
  var->SetValue(lo + (hi - lo) * d / width);
  PlaceKnob();
  return 0;
}

void CDialog::PlaceKnob() {
  CItem* bar = FindLastItemOfClass(ITEM_CLASS_BAR);
  CItem* knob = FindLastItemOfClass(ITEM_CLASS_BITMAP);
  if (!bar || !knob) return;
  double value = 0, lo = 0, hi = 0;
  if (m_type == DIALOG_SPEED_SLIDER) {
    CGuiHost* host = CGuiHost::Get();
    value = host->GetGameSpeed();
    lo = host->GetGameSpeedMin();
    hi = host->GetGameSpeedMax();
  } else {
    CWindowVar* var = GetFirstVar();
    if (!var || var->GetValue(&value, false) != 0) return;
    var->GetMin(&lo);
    var->GetMax(&hi);
  }
  if (!(hi > lo) || !std::isfinite(value)) return;
  const double pos = (value - lo) / (hi - lo) * bar->GetXSize();
  knob->SetXPos(static_cast<int>(std::trunc(pos)) - knob->GetXSize() / 2);
}

int CDialog::ActionAuswertung(CActionList* list, EInOutType hit, int mouseX, int, EPosition*) {
  if (!list) return 1;
  int result = 0;
  list->ForEach([&](CAction* a) {
    CWindowVar* var = GetFirstVar();
    switch (a->m_kind) {
      case 2:
        ActivateDialog(a->m_p1);
        break;
      case 16:
        if (hit == INOUT_INSIDE && var) var->StepUp();
        break;
      case 17:
        if (hit == INOUT_INSIDE && var) var->StepDown();
        break;
      case 19:
        if (m_type == DIALOG_SLIDER || m_type == DIALOG_SPEED_SLIDER) result |= DragSlider(mouseX);
        break;
      case 21:
        if (hit != INOUT_OUTSIDE && var && m_items && m_items->GetItemByID(a->m_p2)) var->SetValue(a->m_p1);
        break;
      case 22:
      case 23:
        // Set only: these kinds do not go on into a step.
        if (hit == INOUT_INSIDE && var) var->SetValue(a->m_p1 != 0 ? 1 : 0);
        break;
      case 24:
        if (hit == INOUT_INSIDE && var) {
          double v = 0;
          if (var->GetValue(&v, false) == 0) var->SetValue(v == 0 ? 1 : 0);
        }
        break;
      default:
        break;
    }
  });
  return result;
}

int CDialog::OnPlayloopTurn() {
  if (m_items) m_items->ForEach([](CItem* i) { i->OnPlayloopTurn(); });
  if (m_type == DIALOG_SLIDER || m_type == DIALOG_SPEED_SLIDER) PlaceKnob();
  return 0;
}

int CDialog::Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) {
  const int ox = x + m_x;
  const int oy = y + m_y;
  if (m_dialogs) m_dialogs->ForEach([&](CDialog* d) { d->Render(display, resources, ox, oy); });
  if (m_items) m_items->ForEach([&](CItem* i) { i->Render(display, resources, ox, oy); });
  return 0;
}

CDialog* CDialogList::GetDialogByID(int id) const {
  for (CDialog* d = GetHead(); d; d = static_cast<CDialog*>(d->GetNext()))
    if (d->GetID() == id) return d;
  return nullptr;
}
