// The item-level interpreter of the collected actions: what an item does
// itself (variables, looks, highlight, dragging) and what it asks of the
// controller, the world and the game model through the toolkit's host. The
// rest, and a copy of several kinds it handles in part, goes up to the owner.
#include <algorithm>
#include <climits>
#include <cmath>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "gui/dialog.h"
#include "gui/dialog_selection_list.h"
#include "gui/gui_host.h"
#include "gui/item.h"
#include "gui/screen_window.h"
#include "worldbase/zor_world_host.h"

namespace {
constexpr uint32_t kLoadAgainAskMs = 60000;
constexpr int kNoLine = 65535;
constexpr long kCreditAmount = 10000000;
constexpr int kMaxHelpEntry = 110;
constexpr int kMaxSaveSlot = 49;
constexpr const char* kNoFileSelected = "No File Selected";
constexpr const char* kBuildCosts = "F.EXPENSES.BUILDINFRASTRUCTURE";

// Deferred actions of the controller.
enum { kLaterLoad = 1, kLaterSave = 2, kLaterNewGame = 3, kLaterTurnRight = 4, kLaterTurnLeft = 5,
       kLaterZoomIn = 6, kLaterZoomOut = 7, kLaterFastLoad = 9, kLaterAskQuitUnsaved = 10 };

// Yes/no questions and their follow-up kinds.
enum { kAskOverwrite = 69, kAskDelete = 70, kAskReplaceByLoad = 71, kAskMasterMode = 80, kAskDeleteLine = 83,
       kNoGameWarning = 68, kNewGameQuestion = 82 };

// A frame number from a computed value: NaN and out-of-range values do not
// reach the conversion to int.
int ToState(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

CAction* PassUp(CActionList* passUp, const CAction& a) {
  CAction* copy = a.CopyForEvent();
  if (passUp) passUp->AddHeadAction(copy);
  else delete copy;
  return copy;
}

// A variable's value: the cached one, or asked from its owner again where
// `fromSource`.
bool ReadValue(CWindowVar* var, double* value, bool fromSource = false) {
  return var && var->GetValue(value, fromSource) == 0;
}
}  // namespace

CScreenWindow* CItem::OwnWindow() const {
  CScreenWindow* w = m_topWindow;
  if (!w && m_topDialog) w = m_topDialog->GetTopWindow();
  if (!w && m_dialog) w = m_dialog->GetTopWindow();
  return w;
}

CScreenWindow* CItem::TreeRoot() const {
  CScreenWindow* w = OwnWindow();
  return w ? w->Root() : nullptr;
}

bool CItem::VariableAction(const CAction& a, EInOutType hit) {
  CWindowVar* var = GetVar();
  double value = 0;
  const int p1 = a.m_p1, p2 = a.m_p2, p3 = a.m_p3;
  // A look kept by the turn follows the game while the window stays open:
  // it reads its variables from their owners, not the values cached when
  // the window opened.
  const bool live = a.m_when == WHEN_TURN;
  switch (a.m_kind) {
    case 12:
      SetPressed(18, p1, p2, p3);
      CheckPressed();
      return true;
    case 130:
      CGuiHost::Get()->SetActiveLine(p2);
      [[fallthrough]];
    case 24:
    case 48:
      if (!var) {
        m_on = m_on ? 0 : 1;
      } else if (ReadValue(var, &value) && value == 0) {
        var->SetValue(1);
        if (ReadValue(var, &value) && value == 1) m_on = 1;
      } else {
        var->SetValue(0);
        if (ReadValue(var, &value) && value == 0) m_on = 0;
      }
      return true;
    case 25: {
      CWindowVar* last = m_vars ? m_vars->GetTail() : nullptr;
      double b = 0;
      if (!ReadValue(var, &value, live) || !ReadValue(last, &b, live)) return true;
      if (p2 != -1) {
        // A limit of 0 or less shows the first frame.
        m_state = b > 0 ? ToState(std::trunc(value / b * p2)) : 0;
        if (m_state > p1 - 1) m_state = p1 - 1;
      } else if (p1 != -1 || p3 != -1) {
        m_state = p1 != -1 ? ToState(std::trunc(value - p1)) : ToState(std::floor(p3 * value + 0.5));
        if (p3 != -1 && m_state > p3) m_state = p3;
      } else {
        m_on = value != 0 ? 1 : 0;
        return true;
      }
      if (m_state < 0) m_state = 0;
      return true;
    }
    case 45:
      if (hit == INOUT_INSIDE && var) var->SetValue(1);
      return true;
    case 50:
      if (ReadValue(var, &value, live)) m_state = std::max(0, ToState(std::trunc(value)) - p1);
      return true;
    case 53:
      if (!ReadValue(var, &value, live)) return true;
      m_state = std::max(0, ToState(std::trunc(value)));
      if (m_type == 2) m_on = value != 0 ? 1 : 0;
      return true;
    case 129: {
      const bool equal = ReadValue(var, &value, live) && value == static_cast<double>(p1);
      m_state = m_on = equal ? 1 : 0;
      return true;
    }
    case 133:
      if (ReadValue(var, &value, live)) m_on = value != 0 ? 1 : 0;
      return true;
    default:
      return false;
  }
}

bool CItem::GameAction(CActionSelection* selected, const CAction& a, EInOutType hit) {
  CGuiHost* host = CGuiHost::Get();
  CScreenWindow* root = TreeRoot();
  const bool inside = hit == INOUT_INSIDE;
  const int p1 = a.m_p1, p2 = a.m_p2, p3 = a.m_p3;
  const uint32_t now = kfx_GetTicks();
  auto open = [root](int id) {
    if (root) root->ActivateWindow(id, OVER_GROUP);
  };
  auto close = [root](int id) {
    if (root) root->DeActivateWindow(id, OVER_SINGLE);
  };
  auto rebuildList = [root](int window) {
    if (root) root->SetZorvaList(window, -2, nullptr, 1);
  };
  auto bindWindow = [root](int window, int dialog, int item, CWorldObj* object) {
    if (root) root->SetVarWorldObject(window, dialog, item, object, nullptr);
  };
  switch (a.m_kind) {
    // Maps, filters, tools and view.
    case 27: host->SetDoLater(kLaterZoomOut); break;
    case 28: host->SetDoLater(kLaterZoomIn); break;
    case 29: host->SetDoLater(kLaterTurnRight); break;
    case 30: host->SetDoLater(kLaterTurnLeft); break;
    case 31: host->ActivateTwoDMap(p1 != 0); break;
    case 51:
      if (!inside) break;
      SetPressed(3, p1, p2, p3);
      host->ChangeThematicMapFilter(p1);
      break;
    case 32:
      if (inside && p1 >= 0) host->SetViewFilter(p1, !host->IsViewFilterOn(p1));
      break;
    case 38:
    case 39:
      if (inside) host->TurnBuilding(a.m_kind == 38);
      break;
    case 98:
      if (!inside) break;
      host->SetExpoModus(p1);
      if (p1 == 1) host->SetIsoCenter(45, 30);
      break;

    // Statistics.
    case 55: {
      if (inside) host->StatToggle(p1);
      const bool shown = p1 == 79 ? host->GetStatKmOrTrip() != 0 : host->IsStatSeriesShown(p1);
      m_state = shown ? 2 : -1;
      break;
    }
    case 57: if (inside) host->StatYearMax(p1); break;
    case 58: if (inside) host->StatClearScroll(); break;
    case 59: if (inside) host->StatGroupAll(true); break;
    case 60: if (inside) host->StatGroupAll(false); break;
    case 61: if (inside) host->StatYearStep(1); break;
    case 62: if (inside) host->StatYearStep(-1); break;
    case 63:
      if (inside) host->SetStatChartSwitch(!(host->GetStatChartSwitch() || host->GetStatView() == 6));
      break;
    case 137:
      if (!inside) break;
      host->SetStatKmOrTrip(p1 == 1);
      if (host->GetStatKmOrTrip() == p1) SetPressed(20, p1, p2, p3);
      break;

    // Messages and events.
    case 65:
      if (m_type != 7) break;
      m_selectMark = host->GetSelectedEvent() != p1 ? 1 : 0;
      host->SelectEvent(p1);
      break;
    case 66:
      if (!inside) break;
      host->RemoveSelectedEvent();
      rebuildList(218);
      close(239);
      break;
    case 67: if (inside) host->GotoSelectedEvent(); break;
    case 68: if (inside) host->SetEventListFlag(host->GetEventListFlag() == 1 ? 0 : 1); break;
    case 79:
    case 112:
      if (inside) host->GotoActiveMessage();
      break;
    case 122: if (inside) SetPressed(19, p1, p2, p3); break;
    case 123:
      if (!inside) break;
      host->ToggleMessageProcessed(p1);
      m_level = host->IsMessageProcessed(p1) ? 3 : 0;
      break;
    case 124: if (inside) host->GotoSelectedMessage(p1); break;
    case 152: m_level = host->IsMessageProcessed(p1) ? 3 : 0; break;

    // Public-transport lines.
    case 69:
    case 95: {
      CWorldObj* line = host->SetActiveLine(p1);
      if (!line) {
        host->SetSelectedLine(nullptr, kNoLine);
        bindWindow(227, -2, -2, nullptr);
        break;
      }
      if (a.m_kind == 69) {
        host->CentreOnLine(line);
        open(227);
        bindWindow(227, -2, -2, line);
        if (root) root->CloseOnEscAndRightMouse(129);
      } else {
        CWorldObj* net = host->GetOpnvNet();
        bindWindow(129, 2, 0, line);
        bindWindow(129, 2, 1, line);
        bindWindow(129, 2, 2, net);
        bindWindow(129, 2, 3, net);
        bindWindow(129, 3, -2, net);
      }
      host->SetSelectedLine(line, p1);
      break;
    }
    case 109: if (inside) host->RemoveSelectedLine(); break;
    case 110:
      if (!inside) break;
      host->SetSelectedLine(host->GetLineByID(p1), p1);
      host->SetAchtungWindowJaNein(kAskDeleteLine, 109);
      break;
    case 117: {
      host->ResetEinVerkauf();
      // The saved action runs next; one that would insert itself again does
      // not, or the walk would never end.
      CAction* saved = host->GetConfirmationAction();
      if (saved && saved->m_kind != 117 && selected) selected->InsertTemporaryNextAction(saved);
      host->SetFollowUpFlag();
      break;
    }

    // Games: new, load, save, delete.
    case 71:
      if (!inside) break;
      if (host->CheckForSaveGame() != 1) host->SetDoLater(kLaterSave);
      else host->SetAchtungWindowJaNein(kAskOverwrite, 144);
      break;
    case 144: if (inside) host->SetDoLater(kLaterSave); break;
    case 72:
      if (!inside) break;
      if (host->CheckForLoadGame() != 1) host->SetAchtungWindow(kNoGameWarning);
      else if (now - host->GetTicksAfterLoad() >= kLoadAgainAskMs) host->SetAchtungWindowJaNein(kAskReplaceByLoad, 147);
      else host->SetDoLater(kLaterLoad);
      break;
    case 146:
      if (host->CheckForLoadGame() == 1) host->SetAchtungWindowJaNein(kAskDelete, 145);
      else host->SetAchtungWindow(kNoGameWarning);
      break;
    case 145:
      if (host->DeleteGame() != 0) QNO_ERROR(QNO_SEV_WARNING, "The selected game could not be deleted");
      host->MakeLoadSaveGamesFromDirectory(true);
      host->ClearNameInput();
      rebuildList(161);
      break;
    case 147: host->SetDoLater(kLaterLoad); break;
    case 111: if (inside) host->SetDoLater(kLaterNewGame); break;
    case 148:
      if (!inside) break;
      if (p1 == kNewGameQuestion && now - host->GetStartupTicks() < kLoadAgainAskMs) host->SetDoLater(kLaterNewGame);
      else host->SetAchtungWindowJaNein(p1, p2);
      break;
    case 75: {
      if (!inside) break;
      // Only a listed slot is selected; any other selects none.
      const bool listed = p1 >= 0 && p1 <= kMaxSaveSlot && p1 < host->GetSaveGameCount();
      const char* name = listed ? host->GetSaveSlotName(p1) : nullptr;
      host->SetNameInput(name && *name ? name : kNoFileSelected);
      host->DeaktivateEingabe();
      host->SetSelectedLoadSaveName(listed ? p1 : -1);
      m_state = 1;
      host->MakeLoadSaveGamesFromDirectory(true);
      break;
    }
    case 121:
      m_state = host->GetSelectedLoadSaveName() == p1 && host->CheckSelectedLoadSaveName() ? 1 : 0;
      break;
    case 83:
      if (!inside) break;
      SetPressed(4, p1, p2, p3);
      host->SetLoadSaveGameMode(p1);
      host->MakeLoadSaveGamesFromDirectory(true);
      host->ClearNameInput();
      rebuildList(161);
      break;
    case 106:
      if (!inside) break;
      host->AutoLoadGame();
      host->SetPause(false);
      break;
    case 81:
      if (!inside) break;
      // The exhibition's pages end a visit, not the program: the kiosk
      // goes back to its first page for the next visitor.
      if (host->GetGameMode() == 3 && !host->IsDebugInfoOn()) {
        host->ExpoRestart();
        break;
      }
      // A game that could not be saved is not left behind unasked: the
      // player is told and asked again, once the question now answered has
      // closed, whether to leave it unsaved (kind 155).
      if (host->AutoSaveGame() != 0) {
        QNO_ERROR(QNO_SEV_ERROR, "The game could not be saved on quitting");
        host->SetDoLater(kLaterAskQuitUnsaved);
        break;
      }
      host->PlayAbspannVideo();
      host->LeaveGame();
      break;
    // Yes to the load key's question: the fast save that the save key
    // wrote replaces the game, after the wait cursor has shown (kind 106
    // reads the automatic savegame instead, which the game never writes).
    case 157:
      if (inside) host->SetDoLater(kLaterFastLoad);
      break;
    case 155:
      if (!inside) break;
      host->PlayAbspannVideo();
      host->LeaveGame();
      break;
    case 76: if (inside) host->SetWindowMode(p1); break;

    // God mode, game mode, credit, pause.
    case 82:
      if (!inside) break;
      if (host->GetGameMode() == 0) host->ToggleGottWertActive(p1);
      else host->SetAchtungWindowJaNein(kAskMasterMode, 84);
      break;
    case 84:
      if (!inside) break;
      host->SetGottActive();
      close(143);
      open(144);
      break;
    case 143: if (!host->IsDebugInfoOn()) host->SetGameMode(1); break;
    case 85: if (inside) host->TakeCredit(kCreditAmount); break;
    case 86: if (inside) host->RepayCredit(kCreditAmount); break;
    case 96: if (inside) host->SetBlocked(false); break;
    case 97: if (inside) host->SetBlocked(true); break;
    case 105: host->SetPause(!host->IsPaused()); break;
    case 107: if (inside) host->SetPause(false); break;

    // Exhibition.
    case 99:
      if (!inside) break;
      host->SetExpoTask(p1);
      host->SetExpoState(1);
      break;
    case 100: if (inside) host->ExpoBusSetTakt(p1); break;
    case 101:
      if (!inside) break;
      host->SetExpoState(3);
      host->ExpoSetTimeRating();
      break;
    case 102: if (inside) host->SetExpoState(5); break;
    case 103:
      if (!inside) break;
      host->SetExpoStreetType(p1);
      host->SetExpoState(5);
      break;
    case 104: if (inside) host->SetExpoState(7); break;

    // Removal with cost.
    case 80:
    case 134: {
      if (!inside) break;
      host->ClearRemovalWord();
      host->CheckForRemoveObjectSelected();
      if (a.m_kind == 80) {
        host->RemoveBuildingSelectedBuildingList();
      } else {
        const double cost = host->GetPendingRemovalCost();
        if (host->RemoveSelectedObject() == 0) host->VarAddValue(kBuildCosts, cost);
      }
      close(243);
      close(244);
      close(223);
      break;
    }

    // Help, videos, music, language, settings.
    case 113: if (inside) host->PlayTutorialVideo(); break;
    case 138: if (inside) host->StartTutorial(); break;
    case 139:
      if (!inside) break;
      host->ToggleBottomPanelPinned();
      SetPressed(21, 0, p2, p3);
      break;
    case 115:
      if (!inside) break;
      if (host->GetEnvInt("WIN2000", 1) == 1) host->SetMusicMode(p1);
      SetPressed(17, p1, p2, p3);
      break;
    case 141:
      if (!host->IsHotlineOn()) break;
      SetPressed(22, -1, -1, -1);
      m_highlightLock = 1;
      break;
    case 142:
      host->SetHotlineOn();
      SetPressed(22, p1, p2, p3);
      m_highlightLock = 1;
      break;
    case 154:
      if (!inside) break;
      host->SetLanguage(p1);
      SetPressed(23, p1, p2, p3);
      break;
    case 52: if (inside) host->SetDataExchangeSelection(p1); break;
    default:
      return false;
  }
  return true;
}

int CItem::ActionAuswertung(CActionList* passUp, CActionSelection* selected, int x, int y, EInOutType hit,
                            EInOutType claim) {
  if (!selected) return 0;
  CGuiHost* host = CGuiHost::Get();
  const bool inside = hit == INOUT_INSIDE;
  auto conditional = [this](bool holds, EPressedType look, const CAction& a) {
    if (holds) SetPressed(look, a.m_p1, a.m_p2, a.m_p3);
  };
  // Walked with the list's cursor, so that kind 117 can put an action next.
  selected->SetupActionCount();
  while (const CAction* action = selected->GetNextAction()) {
    const CAction& a = *action;
    if (a.m_inout != INOUT_ALWAYS && a.m_inout != hit) continue;
    const int p1 = a.m_p1;
    if (VariableAction(a, hit) || GameAction(selected, a, hit)) continue;
    switch (a.m_kind) {
      case 1:
      case 92:
        break;
      case 2:
      case 54:
      case 131:
        if (!inside) break;
        SetPressed(1, p1, a.m_p2, a.m_p3);
        PassUp(passUp, a);
        break;
      case 49:
        if (!inside) break;
        SetPressed(15, p1, a.m_p2, a.m_p3);
        PassUp(passUp, a);
        break;
      case 5:
        if (!inside) break;
        SetPressed(2, p1, a.m_p2, a.m_p3);
        PassUp(passUp, a);
        break;
      case 6:
      case 16:
      case 17:
        if (inside) PassUp(passUp, a);
        break;
      case 7:
        if (!m_drag) break;
        if (CAction* c = PassUp(passUp, a); passUp) {
          c->m_p1 = x - m_dragX;
          c->m_p2 = y - m_dragY;
        }
        m_dragX = x;
        m_dragY = y;
        break;
      case 8:
        m_drag = 1;
        m_dragX = x;
        m_dragY = y;
        break;
      case 78:
        // The name opens with its cursor where the player pressed.
        if (inside) host->OpenNameInput(NameCursorAt(x));
        break;
      case 9:
        m_drag = 0;
        break;
      case 19:
        if (m_drag) PassUp(passUp, a);
        break;
      case 11:
        if (m_topDialog || m_dialog) {
          if (hit == INOUT_INSIDE && claim != INOUT_INSIDE) HighLightOn();
          else HighLightOff();
        } else if (hit == INOUT_OUTSIDE) {
          EPosition zone = 0;
          if (!m_topWindow || m_topWindow->OverWindow(m_topWindow->GetRealPosX(), m_topWindow->GetRealPosY(), x, y,
                                                      &zone, OVER_OUTSIDE) == INOUT_OUTSIDE)
            HighLightOff();
        } else if (claim == INOUT_INSIDE) {
          HighLightOff();
        } else {
          HighLightOn();
        }
        break;
      case 13:
        if (hit != INOUT_OUTSIDE) HighLightOn();
        break;
      case 14:
        HighLightOff();
        break;
      case 33:
        if (!inside || claim == INOUT_INSIDE) break;
        if (CAction* c = PassUp(passUp, a); passUp) {
          c->m_p3 = p1;
          c->m_reserved = a.m_p2;
          c->m_p1 = x;
          c->m_p2 = y;
        }
        break;
      case 34:
        if (!m_topDialog && !m_dialog) {
          SetPressed(1, p1, a.m_p2, a.m_p3);
          PassUp(passUp, a);
        } else if (m_selectMark) {
          m_selectMark = 0;
        } else {
          if (CScreenWindow* root = TreeRoot()) root->ToggleWindow(p1);
          m_selectMark = 0;
        }
        break;
      case 35:
      case 36:
      case 40:
      case 41:
      case 42:
      case 43:
      case 44:
      case 56:
      case 70:
        if (!inside) break;
        SetPressed(p1 >= 143 && p1 <= 145 ? 10 : 1, p1, a.m_p2, a.m_p3);
        PassUp(passUp, a);
        break;
      case 119:
        // The selection list scrolls itself to the pointer.
        if (inside && m_sliderDialog) m_sliderDialog->CalculateFirstItemFromMouseY(y);
        break;
      case 150:
        if (inside) CScreenWindow::m_NoZorvaListRefresh = kfx_GetTicks();
        break;
      case 21:
        if (CWindowVar* var = GetVar()) {
          var->SetValue(p1);
        } else if (CAction* c = PassUp(passUp, a); passUp) {
          c->m_p2 = m_nr;
        }
        break;
      case 22:
        m_on = 1;
        if (CAction* c = PassUp(passUp, a); passUp) c->m_p1 = 1;
        break;
      case 23:
        if (CAction* c = PassUp(passUp, a); passUp) c->m_p1 = 0;
        m_on = 0;
        break;
      case 120:
        m_state = host->GetLoadSaveGameMode();
        break;
      case 64:
        if (!inside) break;
        host->SetMessagePageIndex(std::clamp(p1 - 1, 0, 4));
        SetPressed(12, p1, a.m_p2, a.m_p3);
        PassUp(passUp, a);
        break;
      case 132: {
        if (!inside) break;
        SetPressed(16, p1, a.m_p2, a.m_p3);
        PassUp(passUp, a);
        const char* title = nullptr;
        const char* text = nullptr;
        CScreenWindow* root = TreeRoot();
        if (p1 < 0 || p1 > kMaxHelpEntry || !root || !host->GetHelpEntry(p1, &title, &text)) break;
        root->ActivateWindow(242, OVER_GROUP);
        root->DeActivateWindow(215, OVER_SINGLE);
        host->SetHelpEntry242(p1);
        const int height = CWorldHost::Get()->GetLanguage() == 1 && a.m_p4 != -1 ? a.m_p4 : a.m_p3;
        if (CScreenWindow* help = root->GetWindowByID(242)) {
          help->SetDynamicHilfe(a.m_p2, height, title, text);
          help->SetHelpOwner(OwnWindow() ? OwnWindow()->GetID() : 0);
        }
        break;
      }
      // Looks that hold only while their condition does.
      case 87: conditional(host->IsWindowOpen(p1), 1, a); break;
      case 88: conditional(host->GetScreenWidth() == p1, 5, a); break;
      case 89: conditional(host->GetLoadSaveGameMode() == p1, 4, a); break;
      case 90: conditional(host->GetStatSelectedChart() == p1, 7, a); break;
      case 91: conditional(host->GetStatChartSwitch(), 6, a); break;
      case 93: conditional(host->IsViewFilterOn(p1), 9, a); break;
      case 94: conditional(host->IsPaused(), 11, a); break;
      case 108: conditional(host->GetMessagePageIndex() + 1 == p1, 12, a); break;
      case 114: conditional(host->GetCurrentTool() == p1, 13, a); break;
      case 135:
        m_highlightLock = 1;
        [[fallthrough]];
      case 116: conditional(host->GetMusicMode() == p1, 17, a); break;
      case 136: conditional(host->GetStatKmOrTrip() == p1, 20, a); break;
      case 153: conditional(CWorldHost::Get()->GetLanguage() == p1, 23, a); break;
      case 140: SetPressed(21, 0, a.m_p2, a.m_p3); break;
      default:
        // Kinds the owner carries out, and kinds unknown here.
        PassUp(passUp, a);
        break;
    }
  }
  return 0;
}
