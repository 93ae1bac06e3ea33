// The game screen's input: keyboard shortcuts, the open windows front to
// back, the bottom panel with the small map, and the current tool on the
// map. Every step returns 0 when it consumed the event.
#include <array>

#include "framework/qno_log.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"

namespace {

constexpr int kWindowBuildingChoice = 228;
// Windows 147-153 take clicks and still let them pass on.
constexpr int kPassFirst = 147;
constexpr int kPassLast = 153;
// Pages of the load and save group, and the group itself.
constexpr int kLoadSaveGroup = 160;
constexpr int kLoadPage = 161;
constexpr int kSavePage = 162;
constexpr int kOptionsPage = 163;
// Windows below this id belong to the main screen and take input only
// while the bottom panel is shown.
constexpr int kMainScreenIds = 20;
// A right click drops the tool when released this soon (ms).
constexpr uint32_t kRightClickOnMap = 210;
constexpr uint32_t kRightClickOffMap = 300;
// The warning window goes away on a mouse move after this long (ms).
constexpr uint32_t kWarningHold = 1500;
// A press this soon after a move closed the warning, where the warning
// stood, was aimed at the warning (ms). The move that closes it is most
// often the start of the way to its close box, and that way takes the
// hand as long as the warning stood before a move could close it; a
// shorter hold let the click on the close box build beneath it.
constexpr uint32_t kWarningAimMs = kWarningHold;

// Where the one warning window stood when a move closed it, and when.
struct GoneWarning {
  bool byMove = false;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  uint32_t time = 0;
};
GoneWarning g_goneWarning;

// Whether a press at (sx, sy) lands, a moment after a move closed the
// warning, where the warning stood: it was meant for the warning.
bool PressMeantForGoneWarning(int sx, int sy) {
  const GoneWarning& w = g_goneWarning;
  return w.byMove && kfx_GetTicks() - w.time < kWarningAimMs && sx >= w.x0 && sx < w.x1 && sy >= w.y0 && sy < w.y1;
}

// Arrow keys scroll the map by this many pixels.
constexpr int kScrollStep = 50;

bool IsMouseEvent(const QnoInteractionEvent* e) {
  return e->type == QNO_EVENT_MOUSEMOVE || e->type == QNO_EVENT_BUTTONDOWN || e->type == QNO_EVENT_BUTTONUP;
}

}  // namespace

int CUserInt::InputFilter(QnoInteractionEvent* e, QnoView* view) {
  if (!e) return 1;
  CUiHost* host = CUiHost::Get();
  const bool keyEvent = e->type == QNO_EVENT_KEYDOWN || e->type == QNO_EVENT_KEYUP;
  // A question holds the keys as it holds the mouse (the world has given
  // it its answer keys already): Escape closes the warning or the question
  // in front, any other key does nothing. Key releases pass, so that a key
  // held before the question came (the pan key) is let go.
  if (e->type == QNO_EVENT_KEYDOWN && host->GetGameModus() != 3 && FrontWarningOrQuestion(true) != 0) {
    if (e->x == QNO_KEY_ESCAPE) {
      const int front = FrontWarningOrQuestion();
      DeActivateWindow(front, 0);
      if (front == kWarningWindow) selObj.warningShown = 0;
    }
    return 0;
  }
  if (!m_ActivateDebugInfo && host->IsGameStarted() && CheckShortCuts(e, view) == 0) return 0;
  // The automatic-save key and D act only as shortcuts; while the debug
  // keys are on they reach those instead.
  if (keyEvent && (e->x == 26 || e->x == 68) && !m_ActivateDebugInfo) return 0;
  if (host->GetGameModus() == 3 && !m_ActivateDebugInfo) return Expo_InputFilter(e, view);

  const bool down = e->type == QNO_EVENT_BUTTONDOWN;
  const bool up = e->type == QNO_EVENT_BUTTONUP;
  const bool left = e->button == 0;
  if (up && !left) {
    selObj.rightPressed = 0;
    if (m_pIsoWelt) m_pIsoWelt->ResetPanningMode();
  }
  selObj.toolStage = 0;
  int sx = e->x, sy = e->y;
  if (m_pIsoWelt && !keyEvent) m_pIsoWelt->MouseKoorToScreenKoor(e->x, e->y, &sx, &sy);

  if (down) {
    if (m_ActivateDebugInfo && m_MatrixDebug && CheckForMatrix(e->x, e->y) == 0) return 0;
    if (m_PanKeyHeld && !left) {
      int tx, ty;
      if (m_pIsoWelt) {
        m_pIsoWelt->MouseKoorToIsoKoor(e->x, e->y, &tx, &ty);
        m_pIsoWelt->SetIsoCenter(tx, ty);
      }
      return 0;
    }
    // Set again by the map when the press reaches it: a release acts on
    // the map only after a press there.
    if (left) m_LeftPressedOnMap = false;
  }
  if (down && left) selObj.leftButton = 1;
  if (down && !left) {
    selObj.rightButton = 1;
    SetMouseFix(true);
    if (m_pIsoWelt) m_pIsoWelt->ResetPanningMode();
  }
  if (up && left) selObj.leftButton = 0;
  if (up && !left) {
    selObj.rightButton = 0;
    SetMouseFix(false);
  }

  // While a warning or a question shows, a press is its alone, and so is
  // that press's release: what it does not take goes nowhere, neither to
  // the windows, the panel and the map behind it nor to a question that a
  // warning hides. The press that closes a warning does nothing else. A
  // release whose press came before the warning ends its gesture as usual.
  const int modal = FrontWarningOrQuestion();
  CloseWarningOnPressOrLateMove(e, modal != 0 && modal != kWarningWindow);
  const bool held = down ? modal != 0 || PressMeantForGoneWarning(sx, sy) : up && m_PressHeldByModal;
  if (down || up) m_PressHeldByModal = down && held;

  if (IsMouseEvent(e)) {
    ResetBalloonHelp();
    const int dx = GetSceneSizeX() - 800, dy = GetSceneSizeY() - 600;
    UpdatePanel(sx, sy, dx, dy);
    bool consumed = true;
    if (held)  // no window has the id -1: a release held by one since closed reaches none
      WindowsInput(e, view, sx, sy, false, modal != 0 ? modal : -1);
    else
      consumed = WindowsInput(e, view, sx, sy);
    if (down || up) framecount = 0;
    if (consumed) {
      Overlay::InputFilter(e);
      if (up && left) EndSelectionOnRelease();
      return 0;
    }
    if (selObj.overPanel) {
      ShowWindowCursor(false);
      if (up && left) EndSelectionOnRelease();
      if (SmallMapInputFilter(e, view) == 0) return 0;
      if (down && !selObj.itemTookClick) SetToolStandard();
      const bool ticker = e->x > dx + 417 && e->x < dx + 717 && e->y > dy + 583 && e->y < dy + 591;
      int tx, ty;
      if (up && ticker && host->GetShortMessageTile(&tx, &ty) && tx != -1 && ty != -1 && m_pIsoWelt)
        m_pIsoWelt->SetIsoCenter(tx, ty);
      Overlay::InputFilter(e);
      return 0;
    }
    // A window that lets the event pass keeps its pointer.
    if (!m_PointerShown) ShowToolCursor();
    if (down) DisableStandardMenues();
  }

  Overlay::InputFilter(e);
  selObj.toolStage = 1;
  if (keyEvent) return KeyInput(e, view);
  return MapInput(e, sx, sy);
}

void CUserInt::CloseWarningOnPressOrLateMove(const QnoInteractionEvent* e, bool hidden) {
  if (hidden) {
    m_AchtungTime = kfx_GetTicks();
    return;
  }
  const bool press = e->type == QNO_EVENT_BUTTONDOWN;
  if (selObj.warningShown &&
      (press || (e->type == QNO_EVENT_MOUSEMOVE && kfx_GetTicks() - GetAchtungTime() > kWarningHold))) {
    // The move that closes the warning is often the one that takes the
    // pointer to its close box; the press that follows belongs to it.
    CScreenWindow* warning = topWindow ? topWindow->GetWindowByID(kWarningWindow) : nullptr;
    GoneWarning& gone = g_goneWarning;
    gone.byMove = !press && warning;
    if (gone.byMove) {
      gone.x0 = warning->GetRealPosX();
      gone.y0 = warning->GetRealPosY();
      gone.x1 = gone.x0 + warning->GetSizeX();
      gone.y1 = gone.y0 + warning->GetSizeY();
      gone.time = kfx_GetTicks();
    }
    DeActivateWindow(kWarningWindow, 0);
    selObj.warningShown = 0;
  }
}

// ---- the bottom panel ----

void CUserInt::UpdatePanel(int sx, int sy, int dx, int dy) {
  const bool buttonHeld = selObj.leftButton || selObj.rightButton;
  if (sx > 190 + dx && sy > 580 + dy && !buttonHeld) selObj.panelShown = 1;
  const bool hit = PanelHit(sx, sy, dx, dy);
  selObj.overPanelRaw = hit ? 1 : 0;
  const bool counted = hit && CUiHost::Get()->IsGameStarted();
  if (!counted && !selObj.panelPinned && !buttonHeld) selObj.panelShown = 0;
  selObj.overPanel = counted ? 1 : 0;
}

bool CUserInt::PanelHit(int sx, int sy, int dx, int dy) const {
  if (!selObj.panelShown || sy <= 460 + dy) return false;
  const double u = sx - dx, v = sy - dy;
  if (u > 432) return v > 498;
  if (u > 356) return (v - 460) + (356 - u) * 38 / 76 > 0;
  if (u >= 76) return (v - 600) + (u - 76) * 140 / 280 > 0;
  return false;
}

// ---- the open windows ----

int CUserInt::FrontWarningOrQuestion(bool questionsOnly) const {
  for (CZorvaPointer* n = m_pRenderList ? m_pRenderList->GetHeadZorvaPointer() : nullptr; n;
       n = n->GetNextZorvaPointer()) {
    const int id = static_cast<CScreenWindow*>(n->GetZorvaObject())->GetID();
    if (((id == kWarningWindow || IsEndWindow(id)) && !questionsOnly) || id == kYesNoWindow || id == kRemoveOneQuestion ||
        id == kRemoveManyQuestion || id == kRemoveStopQuestion)
      return id;
  }
  return 0;
}

bool CUserInt::WindowsInput(QnoInteractionEvent* e, QnoView* view, int sx, int sy, bool exhibition, int only) {
  selObj.itemTookClick = 0;
  m_PointerShown = false;
  if (!m_pRenderList) return false;
  // A window's actions may open and close windows: the walk follows the
  // list as it was when the event came. Windows live as long as the tree.
  std::array<CScreenWindow*, 128> front;
  int count = 0;
  for (CZorvaPointer* n = m_pRenderList->GetHeadZorvaPointer(); n && count < static_cast<int>(front.size());
       n = n->GetNextZorvaPointer())
    front[count++] = static_cast<CScreenWindow*>(n->GetZorvaObject());
  const int rootX = topWindow ? topWindow->GetPosX() : 0;
  const int rootY = topWindow ? topWindow->GetPosY() : 0;
  EInOutType state = INOUT_ALWAYS;
  const bool button = e->type != QNO_EVENT_MOUSEMOVE;
  for (int i = 0; i < count; ++i) {
    CScreenWindow* w = front[i];
    if (w->GetLink() != 0 && w->GetHinweisWindow() == 1 && topWindow) {
      if (CScreenWindow* linked = topWindow->GetWindowByID(w->GetLink())) w = linked;
    }
    if (only != 0 && w->GetID() != only) continue;
    if (exhibition ? Expo_CheckWindowOK(w->GetID()) == 1 : w->GetID() < kMainScreenIds && !selObj.panelShown) continue;
    if (w->InputFilter(e, view, rootX, rootY, sx, sy, state) != 0) continue;
    if (exhibition) {
      if (button && e->button != 0 && m_pIsoWelt) m_pIsoWelt->ResetMove();
      SetCursorID(kCursorWindow, 0);
    } else {
      ShowWindowCursor(true);
      m_PointerShown = true;
    }
    if (w->GetID() >= kPassFirst && w->GetID() <= kPassLast) continue;
    state = INOUT_INSIDE;
    if (button) break;
  }
  if (exhibition && button) framecount = 0;
  return state == INOUT_INSIDE;
}

void CUserInt::EndSelectionOnRelease() {
  if (m_pIsoWelt) m_pIsoWelt->ResetPanningMode();
  if (IsWindowOpen(kWindowBuildingChoice) != 0) {
    selObj.startX = -1;
    selObj.width = selObj.depth = -1;
  }
  selObj.endX = -1;
  m_BuildStreet = 0;
  selObj.streetDrag = 0;
  // An area drag ends with its release wherever that comes: a later
  // release on the map must not build or clear what this one left open.
  if (selObj.leftDrag && selObj.tool >= 10 && selObj.tool <= 13) selObj.startX = -1;
  selObj.leftDrag = 0;
  m_LeftPressedOnMap = false;
}

void CUserInt::InputFocusLost() {
  // The release of a button held while the game lost the input may never
  // come: every drag ends here, building nothing, and the buttons count as
  // up.
  if (selObj.rightButton) SetMouseFix(false);
  selObj.leftButton = selObj.rightButton = 0;
  selObj.rightPressed = 0;
  EndSelectionOnRelease();
}

void CUserInt::ShowWindowCursor(bool backup) {
  if (GetCursorID() != kCursorWindow) {
    if (backup) BackupCursor();
    SetCursorID(kCursorWindow, 0);
  }
  m_WindowCursor = true;
}

void CUserInt::ShowToolCursor() {
  if (m_WindowCursor) {
    // Back from a window: the cursor it covered returns, or the tool's.
    m_WindowCursor = false;
    if (GetLastCursorID() != kNoBackup) RestoreCursor();
    if (GetCursorID() == kCursorWindow) selObj.cursorId = 0;
  }
  RestoreCursorFromTool();
}

// ---- keys ----

int CUserInt::KeyInput(QnoInteractionEvent* e, QnoView* view) {
  const int code = e->x;
  if (e->type == QNO_EVENT_KEYUP) {
    if (code != QNO_KEY_CTRL) return 1;
    m_PanKeyHeld = false;
    RestoreCursor();
    return 0;
  }
  if (code == QNO_KEY_CTRL) {
    m_PanKeyHeld = true;
    BackupCursor();
    SetCursorID(kCursorPan, 0);
    return 0;
  }
  // Where the settings allow them, 0 switches the debug keys on and 9 holds
  // the city still; while the debug keys are on, both are debug keys like
  // the others (game mode, next indicator), and the debug keys go off by the
  // world's three-key lock.
  const bool debugKeys = CUiHost::Get()->DebugKeysAllowed();
  if (debugKeys && code == kDebugKey && !m_ActivateDebugInfo) {
    m_ActivateDebugInfo = 1;
    return 0;
  }
  if (debugKeys && code == kStaticCityKey && !m_ActivateDebugInfo) {
    m_StaticCity = !m_StaticCity;
    return 0;
  }
  if (code == QNO_KEY_ESCAPE) {
    CZorvaPointer* head = m_pRenderList ? m_pRenderList->GetHeadZorvaPointer() : nullptr;
    if (!head) return 0;
    auto* front = static_cast<CScreenWindow*>(head->GetZorvaObject());
    const int id = front->GetID();
    // Escape closes the front window with its group; with nothing to close
    // (only the main screen is open) it asks whether to quit.
    const bool closed = topWindow && topWindow->CloseOnEscAndRightMouse(id) == 0;
    if (id == kYesNoWindow)
      DeActivateWindow(kYesNoWindow, 0);
    else if (!closed)
      SetAchtungWindowJaNein(kQuestionQuit, kActionQuit);
    return 0;
  }
  if (debugKeys && m_ActivateDebugInfo && InputFilterDebugKeys(e, view) == 0) return 0;
  return 0;
}

// ---- the tools on the map ----

int CUserInt::MapInput(QnoInteractionEvent* e, int sx, int sy) {
  if (!m_pIsoWelt) return 1;
  const bool down = e->type == QNO_EVENT_BUTTONDOWN;
  const bool up = e->type == QNO_EVENT_BUTTONUP;
  const bool left = e->button == 0;
  const uint32_t now = kfx_GetTicks();
  int tx = 0, ty = 0;
  if (m_pIsoWelt->MouseKoorToIsoKoor(sx, sy, &tx, &ty) != 0) {
    // Released off the map: the drag ends there without building.
    if (up && left) EndSelectionOnRelease();
    if (up && !left) {
      RestoreCursor();
      if (now - selObj.rightPressTime < kRightClickOffMap) SetToolNr(1, -1, -1);
      selObj.rightPressed = 0;
    }
    return 1;
  }
  selObj.mouseTileX = tx;
  selObj.mouseTileY = ty;
  const int tool = selObj.tool;

  if (down && !left) {
    m_pIsoWelt->ResetPanningMode();
    selObj.rightPressed = 1;
    selObj.rightPressTime = now;
    return 1;
  }
  if (down) {
    m_LeftPressedOnMap = true;
    selObj.leftDrag = 1;
    if (IsWindowOpen(kWindowBuildingChoice) != 0) selObj.startX = -1;
    if (selObj.rightButton) {
      m_pIsoWelt->ResetPanningMode();
      SetToolNr(1, -1, -1);
      SetToolStandard();
      return 1;
    }
    switch (tool) {
      case 1:
        return SelectObject(tx, ty, true);
      case 2:
        ResetStreet24hData();
        return StartBuildStreet(tx, ty);
      case 5:
      case 6:
      case 7:
      case 8:
      case 14:
        BuildBuildingLayerObject(tx, ty);
        return 0;
      case 9: {
        const int result = DeleteStreet(tx, ty);
        CheckSelStreet(tx, ty);
        return result;
      }
      case 10:
      case 11:
      case 12:
      case 13:
        if (!NetHasStreets()) {
          SetAchtungWindow(kWarningNoStreet);
          return 0;
        }
        SelectFlaecheStartPoint(tx, ty);
        selObj.leftDrag = 1;
        return 1;
      case 15:
        ResetSelectedBuildingList();
        selObj.startX = selObj.endX = tx;
        selObj.startY = selObj.endY = ty;
        CheckBuildingList();
        RemoveObject(tx, ty, 0);
        return 0;
      case 16:
      case 17:
      case 18:
      case 19:
      case 20:
      case 21: {
        int lx = tx, ly = ty;
        StopCellAt(sx, sy, lx, ly);
        BuildRemoveOpnvLine(lx, ly);
        return 1;
      }
      case 23: {
        StopCellAt(sx, sy, tx, ty);
        CIsoInfo* cell = m_pIsoWelt->GetIsoInfo(tx, ty);
        const int type = cell ? cell->GetType(ISO_LAYER_UPPER) : 0;
        if (type == 23 || type == 24 || type == 25 || type == 26 || type == 28) {
          SetToolNr(23, -1, -1);
          RemoveObject(tx, ty, 1);
        }
        return 0;
      }
      default:
        return 1;
    }
  }
  if (up) {
    // A release whose press went to a window, the panel or a question (a
    // window closed by that press, say) does nothing on the map.
    if (left && !m_LeftPressedOnMap) {
      EndSelectionOnRelease();
      return 1;
    }
    int result = 1;
    m_LeftPressedOnMap = false;
    if (!left) {
      RestoreCursor();
      if (now - selObj.rightPressTime < kRightClickOnMap) {
        SetToolNr(1, -1, -1);
        SetToolStandard();
      }
      selObj.rightPressed = 0;
    } else {
      if (tool == 2) {
        result = StopBuildStreet(tx, ty);
        CheckSelStreet(tx, ty);
      } else if (tool >= 10 && tool <= 12) {
        if (selObj.leftDrag && selObj.startX != -1) {
          SelectFlaecheFinishPoint(tx, ty);
          BuildFlaeche(selObj);
        }
      } else if (tool == 13) {
        if (selObj.leftDrag) {
          SelectFlaecheFinishPoint(tx, ty);
          if (selObj.removeAllTest == 1)
            TestRemoveAll(selObj);
          else
            RemoveFlaeche(selObj);
        }
      } else if (tool == 15) {
        selObj.endX = tx;
        selObj.endY = ty;
        RemoveBuildingSelection();
      }
      selObj.leftDrag = 0;
      selObj.startX = -1;
    }
    CheckSelStreet(tx, ty);
    return result;
  }

  // A mouse move.
  selObj.rawMouseX = e->x;
  selObj.rawMouseY = e->y;
  if (m_ActivateDebugInfo) {
    selObj.debugMouseX = e->x;
    selObj.debugMouseY = e->y;
  }
  const bool onlyLeft = selObj.leftButton && !selObj.rightButton;
  switch (tool) {
    case 2:
      if (onlyLeft) m_pIsoWelt->CheckPannungModeAgain();
      return BuildStreet(tx, ty);
    case 5:
      selObj.startX = selObj.endX = tx;
      selObj.startY = selObj.endY = ty;
      CheckBusStopTypeRichtungShow(tx, ty);
      break;
    case 6:
    case 7:
    case 8:
    case 14:
      selObj.startX = selObj.endX = tx;
      selObj.startY = selObj.endY = ty;
      break;
    case 10:
    case 11:
    case 12:
    case 13:
      if (onlyLeft) m_pIsoWelt->CheckPannungModeAgain();
      if (selObj.leftDrag) SelectFlaecheFinishPoint(tx, ty);
      break;
    case 15:
      if (selObj.leftButton) {
        selObj.endX = tx;
        selObj.endY = ty;
        CheckBuildingList();
      }
      break;
    default:
      break;
  }
  return 1;
}

// ---- shortcuts ----

void CUserInt::ToggleShortcutWindow(int id) {
  // Opening closes the standard menus first; closing takes the group's
  // pages with it.
  if (topWindow) topWindow->ToggleWindow(id);
}

void CUserInt::ShowPage(int page) {
  // One page of the load and save group: open it with its group, or close
  // the whole group when it is the page already shown.
  const int pages[] = {kLoadPage, kSavePage, kOptionsPage};
  if (IsWindowOpen(page) == 0) {
    DeActivateWindow(kLoadSaveGroup, 0);
    DeActivateWindow(page, 0);
    for (int p : pages)
      if (p != page) DeActivateWindow(p, 0);
    return;
  }
  ActivateWindow(kLoadSaveGroup, 1);
  ActivateWindow(page, 1);
  for (int p : pages)
    if (p != page) DeActivateWindow(p, 0);
}

int CUserInt::CheckShortCuts(QnoInteractionEvent* e, QnoView*) {
  if (!e || e->type != QNO_EVENT_KEYDOWN) return 1;
  CUiHost* host = CUiHost::Get();
  const int code = e->x;
  if (code >= QNO_KEY_UP && code <= QNO_KEY_RIGHT) {
    if (!m_pIsoWelt) return 0;
    const int step = code == QNO_KEY_UP || code == QNO_KEY_LEFT ? kScrollStep : -kScrollStep;
    const bool vertical = code == QNO_KEY_UP || code == QNO_KEY_DOWN;
    m_pIsoWelt->SetPixelOffset(m_pIsoWelt->GetPixelOffsetX() + (vertical ? 0 : step),
                               m_pIsoWelt->GetPixelOffsetY() + (vertical ? step : 0));
    m_pIsoWelt->CheckXYPixelIsoMove();
    m_pIsoWelt->UpdateMicroSim();
    return 0;
  }
  switch (code) {
    case 12:
      if (selObj.pause != 1) {
        selObj.pause = 1;
        ActivateWindow(kLoadSaveGroup, 1);
        ActivateWindow(kOptionsPage, 1);
        DeActivateWindow(kLoadPage, 0);
        DeActivateWindow(kSavePage, 0);
      } else {
        for (int id : {kLoadSaveGroup, kLoadPage, kSavePage, kOptionsPage}) DeActivateWindow(id, 0);
        selObj.pause = 0;
      }
      return 0;
    case QNO_KEY_KP_PLUS:
    case 'D':
      SetDoLater(DOLATER_ZOOM_OUT);
      return 0;
    case QNO_KEY_KP_MINUS:
    case 'C':
      SetDoLater(DOLATER_ZOOM_IN);
      return 0;
    case QNO_KEY_PAGEDOWN:
      ShowPage(kSavePage);
      return 0;
    case 23:
      ShowPage(kLoadPage);
      return 0;
    case 24:
      ShowPage(kOptionsPage);
      return 0;
    case 26:
      SetDoLater(DOLATER_AUTOSAVE);
      return 0;
    case 27:
      // The fast save of the save key replaces the game only when the
      // player says yes to the question.
      SetAchtungWindowJaNein(kQuestionReplaceGame, kActionFastLoad);
      return 0;
    case '0': SetToolNr(5, 2, -1); return 0;
    case '1': SetToolNr(10, 1, -1); return 0;
    case '2': SetToolNr(10, 2, -1); return 0;
    case '3': SetToolNr(11, 1, -1); return 0;
    case '4': SetToolNr(11, 2, -1); return 0;
    case '5': SetToolNr(12, 1, -1); return 0;
    case '6': SetToolNr(2, 1, -1); return 0;
    case '7': SetToolNr(2, 2, -1); return 0;
    case '8': SetToolNr(2, 4, -1); return 0;
    case '9': SetToolNr(5, 1, -1); return 0;
    case 'A': ToggleShortcutWindow(80); return 0;
    case 'B': ToggleShortcutWindow(219); return 0;
    case 'E': ToggleShortcutWindow(218); return 0;
    case 'I':
      if (IsWindowOpen(141) == 0) {
        DeActivateWindow(140, 0);
        DeActivateWindow(141, 0);
        DeActivateWindow(142, 1);
        for (int id : {146, 143, 144, 145}) DeActivateWindow(id, 0);
      } else {
        ActivateWindow(140, 1);
        DeActivateWindow(142, 1);
        DeActivateWindow(146, 0);
        ActivateWindow(141, 1);
        for (int id : {143, 144, 145}) DeActivateWindow(id, 0);
      }
      return 0;
    case 'L':
      host->ToggleLanguage();
      return 0;
    case 'M':
      ToggleShortcutWindow(201);
      ActivateTwoDMap(true);
      return 0;
    case 'O': ToggleShortcutWindow(120); return 0;
    case 'P': ToggleShortcutWindow(214); return 0;
    case 'S': ToggleShortcutWindow(110); return 0;
    case 'X':
      SetDoLater(DOLATER_TURN_RIGHT);
      return 0;
    case 'Y':
      SetDoLater(DOLATER_TURN_LEFT);
      return 0;
    default:
      return 1;
  }
}

// ---- what the tools reach in other parts of the interface ----

int CUserInt::RecordMapCall(const char* name, int x, int y, int result) {
  m_MapCalls[m_MapCallCount % kMapCallLog] = {name, x, y};
  ++m_MapCallCount;
  return result;
}

// Over the panel the small map takes the event first.
int CUserInt::SmallMapInputFilter(QnoInteractionEvent* e, QnoView* view) {
  const int result = m_pSmallMap ? m_pSmallMap->InputFilter(e, view) : 1;
  return RecordMapCall("SmallMapInputFilter", e->x, e->y, result);
}

