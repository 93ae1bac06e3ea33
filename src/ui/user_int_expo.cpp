// The exhibition's input: the visitor reaches only the windows of the
// exhibition chain, the small map, selection and panning; a left press on
// the map is the next step of god mode's task (placing a stop, building the
// street, choosing a street for its window). No building tool acts here,
// and Escape does nothing.
#include <array>

#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "microsim/micro_car.h"
#include "network/street_objects.h"
#include "ui/overlay.h"
#include "ui/small_map.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"

namespace {

// A right click drops the tool when released this soon (ms).
constexpr uint32_t kRightClick = 329;
constexpr int kPanKey = 20;
constexpr int kMapCells = 128;
// The street windows of the exhibition: two-lane streets, the other types.
// They are the only ones bound to the chosen street: no window of the chain
// shows more of it.
constexpr int kTwoLane = 330, kOther = 332;
constexpr int kExpoChainFirst = 300, kExpoChainSecond = 302;
constexpr int kTwoLaneType = 2;

bool IsMouseEvent(const QnoInteractionEvent* e) {
  return e->type == QNO_EVENT_MOUSEMOVE || e->type == QNO_EVENT_BUTTONDOWN || e->type == QNO_EVENT_BUTTONUP;
}

}  // namespace

int CUserInt::Expo_CheckWindowOK(int id) {
  static constexpr std::array<std::array<int, 2>, 22> kClosed = {{
      {2, 7},     {10, 14},   {20, 21},   {23, 23},   {25, 26},   {28, 28},   {30, 59},
      {80, 92},   {101, 103}, {110, 110}, {112, 116}, {120, 133}, {140, 143}, {145, 153},
      {160, 163}, {170, 173}, {190, 195}, {200, 204}, {210, 221}, {223, 224}, {227, 230},
      {242, 244}}};
  for (const auto& r : kClosed)
    if (id >= r[0] && id <= r[1]) return 1;
  return 0;
}

int CUserInt::Expo_InputFilter(QnoInteractionEvent* e, QnoView* view) {
  if (!e) return 1;
  CUiHost* host = CUiHost::Get();
  const bool down = e->type == QNO_EVENT_BUTTONDOWN;
  const bool up = e->type == QNO_EVENT_BUTTONUP;
  const bool keyDown = e->type == QNO_EVENT_KEYDOWN;
  const bool left = e->button == 0;
  // Anything the visitor does keeps the exhibition from timing out.
  if (down || keyDown) host->ExpoRefreshLastMove();
  host->ExpoCheckWarningWindow(up || keyDown);
  if (up && !left) {
    selObj.rightPressed = 0;
    if (m_pIsoWelt) m_pIsoWelt->ResetPanningMode();
  }
  selObj.toolStage = 0;
  int sx = e->x, sy = e->y;
  if (m_pIsoWelt && IsMouseEvent(e)) m_pIsoWelt->MouseKoorToScreenKoor(e->x, e->y, &sx, &sy);
  if (up) m_LeftPressedOnMap = false;
  CloseWarningOnPressOrLateMove(e);

  if (IsMouseEvent(e)) {
    ResetBalloonHelp();
    const int dx = GetSceneSizeX() - 800, dy = GetSceneSizeY() - 600;
    // The panel counts as shown: its shape is tested whatever it shows.
    const uint8_t shown = selObj.panelShown;
    selObj.panelShown = 1;
    const bool overPanel = PanelHit(sx, sy, dx, dy);
    selObj.panelShown = shown;
    if (overPanel && !left && (down || up) && m_pIsoWelt) m_pIsoWelt->ResetMove();
    selObj.overPanel = overPanel ? 1 : 0;
    const bool consumed = WindowsInput(e, view, sx, sy, true);
    if (consumed) {
      Overlay::InputFilter(e);
      return 0;
    }
    if (overPanel) {
      SetCursorID(kCursorWindow, 0);
      if (!m_pSmallMap || m_pSmallMap->InputFilter(e, view) != 0) Overlay::InputFilter(e);
      return 0;
    }
    RestoreCursorFromTool();
    const int modus = host->GetExpoModus();
    int tx = 0, ty = 0;
    if (down && left && (modus == 1 || modus == 2) && m_pIsoWelt &&
        m_pIsoWelt->MouseKoorToIsoKoor(sx, sy, &tx, &ty) == 0 && tx >= 0 && tx < kMapCells && ty >= 0 &&
        ty < kMapCells)
      ExpoTaskClick(tx, ty);
  }

  Overlay::InputFilter(e);
  selObj.toolStage = 1;
  if (keyDown) {
    const int code = e->x;
    if (code == kPanKey) {
      m_PanKeyHeld = true;
      BackupCursor();
      SetCursorID(kCursorPan, 0);
      return 0;
    }
    // The debug keys only where the settings allow them.
    if (!CUiHost::Get()->DebugKeysAllowed()) return 0;
    if (code == kDebugKey) {
      m_ActivateDebugInfo = m_ActivateDebugInfo ? 0 : 1;
      if (m_ActivateDebugInfo) {
        DeActivateWindow(kExpoChainFirst, 0);
        DeActivateWindow(kExpoChainSecond, 0);
      }
    } else if (code == kStaticCityKey) {
      m_StaticCity = !m_StaticCity;
    } else if (m_ActivateDebugInfo && InputFilterDebugKeys(e, view) == 0) {
      return 0;
    }
    return 0;
  }
  if (!IsMouseEvent(e)) return 0;
  return ExpoMapInput(e, sx, sy);
}

void CUserInt::ExpoTaskClick(int tx, int ty) {
  CUiHost* host = CUiHost::Get();
  int state = host->GetExpoState();
  switch (state) {
    case 1:
      host->ExpoBusSetHst(tx, ty);
      return;
    case 5:
      host->ExpoStreetSetStreet(tx, ty);
      return;
    case 6:
      host->SetExpoState(7);
      state = 7;
      break;
    case 3:
    case 7:
      break;
    default:
      return;
  }
  // A street piece of a street: its window for its type, bound to it.
  CIsoInfo* cell = m_pIsoWelt ? m_pIsoWelt->GetIsoInfo(tx, ty) : nullptr;
  if (!cell || cell->GetType(ISO_LAYER_GROUND) != OBJ_STREET_PIECE) return;
  auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(tx, ty, ISO_LAYER_GROUND));
  if (!piece || !piece->GetStreetList() || !topWindow) return;
  const bool twoLane = piece->GetStreetType() == kTwoLaneType;
  ActivateWindow(twoLane ? kTwoLane : kOther, 1);
  DeActivateWindow(twoLane ? kOther : kTwoLane, 0);
  topWindow->SetVarWorldObject(twoLane ? kTwoLane : kOther, -2, -2, piece, nullptr);
}

int CUserInt::ExpoMapInput(QnoInteractionEvent* e, int sx, int sy) {
  int tx = 0, ty = 0;
  if (!m_pIsoWelt || m_pIsoWelt->MouseKoorToIsoKoor(sx, sy, &tx, &ty) != 0) return 1;
  const bool down = e->type == QNO_EVENT_BUTTONDOWN;
  const bool up = e->type == QNO_EVENT_BUTTONUP;
  const bool left = e->button == 0;
  const uint32_t now = kfx_GetTicks();
  if (down && !left) {
    selObj.rightPressed = 1;
    selObj.rightPressTime = now;
  } else if (down) {
    selObj.leftDrag = 1;
    selObj.startX = -1;
    if (selObj.rightPressed) {
      SetToolNr(1, -1, -1);
    } else {
      // A click on a line's bus is taken and goes no further.
      CZorvaList* buses = GetBusList();
      for (CZorvaPointer* n = buses ? buses->GetHeadZorvaPointer() : nullptr; n; n = n->GetNextZorvaPointer()) {
        auto* bus = dynamic_cast<CCar*>(n->GetZorvaObject());
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (!bus) continue;
        bus->GetScreenXYPos(x1, y1, x2, y2);
        if (e->x >= x1 && e->x <= x2 && e->y >= y1 && e->y <= y2 && bus->GetOpnvLine()) return 0;
      }
      if (selObj.tool == 1) return SelectObject(tx, ty, true);
    }
  } else if (up) {
    m_LeftPressedOnMap = false;
    if (!left) {
      if (now - selObj.rightPressTime < kRightClick) SetToolNr(1, -1, -1);
      selObj.rightPressed = 0;
    } else {
      selObj.leftDrag = 0;
      selObj.startX = -1;
    }
  } else {
    const int tool = selObj.tool;
    if (tool == 5 || tool == 6 || tool == 7 || tool == 8 || tool == 14) {
      selObj.startX = selObj.endX = tx;
      selObj.startY = selObj.endY = ty;
    }
  }
  return 1;
}
