#include "gui/item.h"

#include <cstring>

#include "framework/zor_seams.h"
#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "worldbase/zor_world_host.h"

namespace {
// How long a clicked item looks pressed.
constexpr uint32_t kPressedMs = 200;
// Inset of the hit box of the large frame buttons.
constexpr int kFrameButtonInset = 10;
}  // namespace

CItem::CItem(CDialog* dialog) : m_dialog(dialog) {}

CItem::~CItem() { Destroy(); }

void CItem::SetBaseData(CDialog* dialog) {
  m_hit = INOUT_OUTSIDE;
  m_entered = m_left = 0;
  m_nr = -1;
  m_shown = 1;
  for (int& r : m_reserved) r = 0;
  m_highlight = 0;
  m_on = 0;
  m_state = 0;
  m_highlightLock = 0;
  m_pressedUntil = 0;
  m_level = 0;
  m_pressed = 0;
  m_changed[0] = m_changed[1] = 1;
  m_dialog = dialog;
}

int CItem::Create(int x, int y, int w, int h, EItemType type, EItemType second, int param) {
  if (!m_actions) m_actions = new CActionList;
  if (!m_vars) m_vars = new CWindowVarList;
  m_hit = INOUT_OUTSIDE;
  m_nr = -1;
  m_classCode = ITEM_CLASS_PLAIN;
  m_x = m_homeX = x;
  m_y = m_homeY = y;
  m_w = m_homeW = w;
  m_h = m_homeH = h;
  m_type = type;
  m_second = second;
  m_param = param;
  m_highlight = 0;
  return 0;
}

int CItem::Destroy() {
  m_classCode = ITEM_CLASS_NONE;
  delete m_vars;  // destroys and deletes its variables
  m_vars = nullptr;
  delete m_actions;
  m_actions = nullptr;
  return 0;
}

void CItem::Reuse(std::vector<CAction*>& spare) {
  if (m_actions)
    while (CAction* a = m_actions->GetHead()) {
      m_actions->Unlink(a);
      spare.push_back(a);
    }
  if (m_vars) m_vars->Destroy();
  SetBaseData(nullptr);
  m_classCode = ITEM_CLASS_NONE;
  m_homeX = m_homeY = m_homeW = m_homeH = 0;
  m_x = m_y = m_w = m_h = 0;
  for (int& r : m_res) r = -1;
  m_type = 0;
  m_second = 0;
  m_param = -1;
  m_topDialog = nullptr;
  m_topWindow = nullptr;
  m_sliderDialog = nullptr;
  for (int& p : m_pressedP) p = 0;
  m_selectMark = 0;
  m_drag = m_dragX = m_dragY = 0;
}

int CItem::AddVar(CWindowVar* var) {
  if (!m_vars) return 1;
  m_vars->AddHead(var);
  return 0;
}

void CItem::HighLightOn() {
  if (!m_highlightLock) m_highlight = 1;
}

void CItem::HighLightOff() {
  if (!m_highlightLock) m_highlight = 0;
}

int CItem::Render(QnoDisplay*, QnoResourceManager*, int, int) { return 0; }

EInOutType CItem::OverItem(int originX, int originY, int mouseX, int mouseY) {
  const int d = (m_type == 37 || m_type == 38) ? kFrameButtonInset : 0;
  const int left = originX + m_x;
  const int top = originY + m_y;
  m_screenLeft = left;
  const bool inside = left + d <= mouseX && mouseX < left + m_w - d && top + d <= mouseY && mouseY < top + m_h - d;
  if (inside) {
    if (m_hit != INOUT_INSIDE) m_entered = 1;
    m_hit = INOUT_INSIDE;
  } else {
    if (m_hit != INOUT_OUTSIDE) m_left = 1;
    m_hit = INOUT_OUTSIDE;
  }
  return m_hit;
}

int CItem::CheckEvent(QnoInteractionEvent* event, CActionList* actions, CActionSelection* selected, int x, int y) {
  if (!event || !actions || actions->GetCount() == 0) return 0;
  switch (event->type) {
    case QNO_EVENT_BUTTONDOWN:
      if (event->button == 0) {
        CheckAllAktion(actions, selected, WHEN_LEFT_DOWN, x, y);
        CheckAllAktion(actions, selected, WHEN_LEFT_HELD, x, y);
      } else {
        CheckAllAktion(actions, selected, WHEN_OTHER_DOWN, x, y);
      }
      break;
    case QNO_EVENT_BUTTONUP:
      CheckAllAktion(actions, selected, event->button == 0 ? WHEN_LEFT_UP : WHEN_OTHER_UP, x, y);
      break;
    case QNO_EVENT_MOUSEMOVE:
      CheckAllAktion(actions, selected, WHEN_MOVE_FIRST, x, y);
      CheckAllAktion(actions, selected, WHEN_MOVE, x, y);
      if (CGuiHost::Get()->IsLeftButtonHeld()) CheckAllAktion(actions, selected, WHEN_LEFT_HELD, x, y);
      break;
    default:
      break;
  }
  return 0;
}

int CItem::CheckAllAktion(CActionList* actions, CActionSelection* selected, EActionWhen when, int, int) {
  if (!actions) return 0;
  actions->ForEach([&](CAction* a) {
    if (a->m_when == when && selected) selected->AddHeadAction(a);
    CGuiHost* host = nullptr;
    switch (a->m_kind) {
      case 51:
      case 55:
      case 65:
      case 68:
      case 122:
        host = CGuiHost::Get();
        break;
      default:
        return;
    }
    switch (a->m_kind) {
      case 51:
        if (host->GetThematicMapLayer() == a->m_p1 && m_pressed != 3) {
          m_pressed = 3;
          m_pressedP[0] = a->m_p1;
          m_pressedP[1] = a->m_p2;
          m_pressedP[2] = a->m_p3;
        }
        break;
      case 55: {
        const bool shown = a->m_p1 == 79 ? host->GetStatKmOrTrip() != 0 : host->IsStatSeriesShown(a->m_p1);
        m_state = shown ? 2 : -1;
        break;
      }
      case 65:
        m_state = host->GetSelectedEvent() == a->m_p1 ? 1 : 0;
        break;
      case 68:
        m_state = host->GetEventListFlag() == 1 ? 1 : 0;
        break;
      case 122:
        if (host->IsMessageProcessed(a->m_p1)) {
          m_pressed = 19;
          m_pressedP[0] = a->m_p1;
          m_state = 3;
        } else {
          m_pressed = 0;
          m_state = 0;
          m_level = 0;
        }
        break;
      default:
        break;
    }
  });
  return 0;
}

void CItem::SetPressed(EPressedType look, int p1, int p2, int p3) {
  if (m_pressed == 3) return;
  m_pressed = look;
  m_pressedP[0] = p1;
  m_pressedP[1] = p2;
  m_pressedP[2] = p3;
}

bool CItem::PressedLookHolds() {
  CGuiHost* host = CGuiHost::Get();
  const int p1 = m_pressedP[0];
  switch (m_pressed) {
    case 1: return host->IsWindowOpen(p1);
    case 2: return host->IsTool(p1, m_pressedP[1], m_pressedP[2]);
    case 3: return host->GetThematicMapLayer() == p1;
    case 4: return host->GetLoadSaveGameMode() == p1;
    case 5: return host->GetScreenWidth() == p1;
    case 6: return host->GetStatChartSwitch();
    case 7: return host->GetStatSelectedChart() == p1;
    case 9: return host->IsViewFilterOn(p1);
    case 10: return host->IsWindowOpen(143) || host->IsWindowOpen(144) || host->IsWindowOpen(145);
    case 11: return host->IsPaused();
    case 12: return host->GetMessagePageIndex() + 1 == p1;
    case 13: return host->GetCurrentTool() == p1;
    case 15: return host->IsWindowOpen(215) && host->GetHelpPicture215() == m_pressedP[1];
    case 16: return host->IsWindowOpen(242) && host->GetHelpEntry242() == p1;
    case 17: return host->GetMusicMode() == p1;
    case 18: {
      CWindowVar* v = GetVar();
      double value = 0;
      return v && v->GetValue(&value, false) == 0 && value == static_cast<double>(p1);
    }
    case 19: return host->IsMessageProcessed(p1);
    case 20: return host->GetStatKmOrTrip() == p1;
    case 21: return host->IsBottomPanelPinned();
    case 22: return host->IsHotlineOn();
    case 23: return CWorldHost::Get()->GetLanguage() == p1;
    default: return true;
  }
}

int CItem::CheckPressed() {
  if (m_pressed < 1 || m_pressed > 23 || m_pressed == 8 || m_pressed == 14) return 1;
  const EPressedType look = m_pressed;
  const bool holds = PressedLookHolds();
  if (!holds) m_pressed = 0;
  if (look >= 19 && look <= 22) {
    static constexpr int kLookState[] = {3, 3, 1, 1};
    m_state = holds ? kLookState[look - 19] : 0;
  }
  return 1;
}

int CItem::InputFilter(QnoInteractionEvent* event, QnoView* view, CActionList* passUp, int originX, int originY,
                       int mouseX, int mouseY, EInOutType ownerState, EInOutType claim) {
  CActionSelection selected;
  EInOutType hit = OverItem(originX, originY, mouseX, mouseY);
  if (hit == INOUT_INSIDE && event) {
    if (m_type == 13 && m_topWindow && m_topWindow->GetID() == 1 && event->type == QNO_EVENT_BUTTONDOWN)
      CGuiHost::Get()->SetType13PressFlag();
    if (m_type == 15) CGuiHost::Get()->ThematicMapInput(event, view);
    if (ownerState == INOUT_OUTSIDE) hit = INOUT_OUTSIDE;
  }
  CheckEvent(event, m_actions, &selected, mouseX, mouseY);
  ActionAuswertung(passUp, &selected, mouseX, mouseY, hit, claim);
  if (hit == INOUT_INSIDE && event && event->type == QNO_EVENT_BUTTONDOWN && event->button == 0) {
    m_pressedUntil = kfx_GetTicks() + kPressedMs;
    CGuiHost::Get()->PlaySound("Klick");
  }
  return hit == INOUT_INSIDE ? 0 : 1;
}

int CItem::OnPlayloopTurn() {
  CActionSelection selected;
  CActionList discarded;
  CheckAllAktion(m_actions, &selected, WHEN_TURN, -1, -1);
  ActionAuswertung(&discarded, &selected, -1, -1, INOUT_NONE, INOUT_NONE);
  CheckPressed();
  return 0;
}

int CItem::RefreshVars() {
  if (m_vars) m_vars->ForEach([](CWindowVar* v) { v->Refresh(); });
  return 0;
}

int CItem::SetVarWorldObject(CWorldObj* object, const char* name) {
  if (!m_vars) return 0;
  m_vars->ForEach([&](CWindowVar* v) {
    if (!name || (v->GetName() && std::strcmp(v->GetName(), name) == 0)) v->SetWorldOject(object);
  });
  return 0;
}

CItem* CItemList::GetItemByID(int n) const {
  for (CItem* i = GetHead(); i; i = static_cast<CItem*>(i->GetNext()))
    if (i->GetNr() == n) return i;
  return nullptr;
}
