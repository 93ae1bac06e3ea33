// Opening and closing windows, with the fixed effects that window ids carry,
// the groups of pages, and the window-level action interpreter.
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "gui/balloon_help.h"
#include "gui/gui_host.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"

namespace {
constexpr int kExpoMode = 3;
constexpr int kQuitQuestion = 79;
constexpr int kFleetQuestion = 81;
constexpr int kRunSavedActionKind = 117;
constexpr int kNoTrafficLightWarning = 58;
constexpr int kNoLine = 65535;

bool In(int v, std::initializer_list<int> set) {
  for (int s : set)
    if (v == s) return true;
  return false;
}

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Street and crossing windows keep the place the player dragged them to.
bool KeepsItsPlace(int id) { return In(id, {190, 191, 194, 195, 229, 230}); }

bool AnyOpen(std::initializer_list<int> ids) {
  CGuiHost* host = CGuiHost::Get();
  for (int id : ids)
    if (host->IsWindowOpen(id)) return true;
  return false;
}

// The first page a group opens and the pages it closes, in that order
// unless the group closes first.
struct GroupPages {
  int group;
  int opens;
  std::initializer_list<int> closes;
  bool closesFirst;
};

const GroupPages kGroups[] = {
    {80, 90, {86, 81, 87, 89, 84, 92}, false},
    {110, 116, {115, 114, 112, 113}, false},
    {120, 122, {123, 124, 125, 126, 127, 128, 129}, false},
    {140, 141, {146, 142, 143, 144, 145}, false},
    {160, 163, {162, 161}, true},
    {170, 171, {173, 172}, false},
    {201, 202, {203, 204}, true},
    {214, 103, {102, 101}, true},
};

// The thematic map page that a tab shows: its picture, English picture and
// the map layer.
struct MapPage {
  int id;
  int picture;
  int englishPicture;
  int layer;
};
const MapPage kMapPages[] = {{202, 36448, 50020, 1}, {203, 36442, 50014, 15}, {204, 36447, 50019, 6}};

// The adviser window, whose portrait shows the adviser whose text it shows.
constexpr int kAdviserWindow = 219;
const int kAdviserPictures[5] = {44205, 44207, 44206, 44204, 44208};
const int kAdviserPicturesEnglish[5] = {50038, 50044, 50043, 50041, 50045};
}  // namespace

CScreenWindow* CScreenWindow::Root() {
  CScreenWindow* w = this;
  while (w->m_top) w = w->m_top;
  return w;
}

int CScreenWindow::CheckExpoActivateWindow(int id) {
  const bool kept = InRange(id, 10, 14) || In(id, {20, 21, 23, 25, 26, 28}) || InRange(id, 30, 59) ||
                    InRange(id, 80, 92) || InRange(id, 101, 103) || id == 110 || InRange(id, 112, 116) ||
                    InRange(id, 120, 133) || InRange(id, 140, 153) || InRange(id, 160, 163) ||
                    InRange(id, 170, 173) || InRange(id, 190, 195) || InRange(id, 200, 204) ||
                    InRange(id, 210, 221) || In(id, {223, 224}) || InRange(id, 227, 230) || InRange(id, 242, 244);
  return kept ? 1 : 0;
}

int CScreenWindow::ActivateWindow(int id, EOverType over) {
  if (id != -1 && id != m_id) {
    // The search hands on the group opening, whatever the caller asked.
    if (m_children)
      for (CScreenWindow* c = m_children->GetHead(); c; c = static_cast<CScreenWindow*>(c->GetNext()))
        if (c->ActivateWindow(id, OVER_GROUP) == 0) return 0;
    return 1;
  }
  CGuiHost* host = CGuiHost::Get();
  if (host->GetGameMode() == kExpoMode && CheckExpoActivateWindow(m_id) && !host->IsDebugInfoOn()) return 0;
  CScreenWindow* root = Root();
  if (m_id == 215) root->DeActivateWindow(242, OVER_SINGLE);
  if (m_id == 242) root->DeActivateWindow(215, OVER_SINGLE);

  // Bringing an open window to the front does not re-run what opening it
  // does to the savegame list: the player's selection there stays.
  const bool onlyToFront = m_active && over == OVER_FRONT;
  // A centred window opens in the middle of the screen as it is now: its
  // closing put it back to its standard place, which knows no screen size.
  if (!m_active && m_positionType == POSITION_CENTERED) Reposition(host->GetScreenWidth(), host->GetScreenHeight());
  m_active = 1;
  ResetItems();
  host->AddToRenderList(this);
  SetZorvaList(m_id, -2, nullptr, 1);
  if (m_id == 160 || host->GetYesNoWarningNumber() == kQuitQuestion) host->SetBlocked(true);

  switch (m_id) {
    case 218:
      if (host->GetWindow239Opened()) {
        CScreenWindow* w239 = GetWindowByID(239);
        if (w239 && w239->IsActive())
          host->BringToFront(w239);
        else
          ActivateWindow(239, OVER_GROUP);
      }
      break;
    case 239:
      if (CScreenWindow* w218 = GetWindowByID(218); w218 && w218->IsActive()) host->BringToFront(w218);
      host->SetWindow239Opened(true);
      break;
    case 161:
      if (!onlyToFront) host->MakeLoadSaveGamesFromDirectory(true);
      break;
    case 162:
      if (!onlyToFront) host->MakeLoadSaveGamesFromDirectory(false);
      break;
    default:
      // A map page brought to the front by a press inside it keeps the
      // layer the player chose on it; opening it shows its first layer.
      for (const MapPage& page : kMapPages)
        if (page.id == m_id && !onlyToFront) {
          SetReplaceBitmap(page.picture, page.englishPicture);
          host->ChangeThematicMapFilter(page.layer);
        }
      break;
  }
  RefreshVars();

  if (over != OVER_GROUP) return 0;
  for (const GroupPages& g : kGroups) {
    if (g.group != m_id) continue;
    if (!g.closesFirst) root->ActivateWindow(g.opens, OVER_GROUP);
    for (int page : g.closes) root->DeActivateWindow(page, OVER_SINGLE);
    if (g.closesFirst) root->ActivateWindow(g.opens, OVER_GROUP);
    if (m_id == 160) host->MakeLoadSaveGamesFromDirectory(true);
    if (m_id == 201) SetReplaceBitmap(36448, 50020);
  }
  return 0;
}

int CScreenWindow::DeActivateWindow(int id, EOverType over) {
  if (id != -1 && id != m_id) {
    CScreenWindow* w = m_children ? m_children->GetWindowByID(id) : nullptr;
    return w ? w->DeActivateWindow(id, over) : 1;
  }
  CGuiHost* host = CGuiHost::Get();
  if (m_id == 223 || (m_id == 243 && !host->IsWindowOpen(244)) || (m_id == 244 && !host->IsWindowOpen(243)))
    host->ResetSelectedBuildingList();
  if (m_id == 220) host->ClearWarningHighlight();
  if (m_id == 239 && m_active) host->SetWindow239Opened(false);
  // Closing the line window ends line editing; a tool chosen instead, which
  // closes the window on its way, stays chosen.
  if (m_id == 227 && host->GetCurrentTool() >= 16 && host->GetCurrentTool() <= 21) host->SetToolStandard();
  if (m_id == 160 && host->GetYesNoWarningNumber() != kQuitQuestion) host->SetBlocked(false);
  if (m_id == 247 && host->GetYesNoWarningNumber() == kQuitQuestion) host->SetBlocked(false);

  if (!KeepsItsPlace(m_id)) ResetPos(0, 0, false);
  m_active = 0;
  host->RemoveFromRenderList(this);
  ResetItems();
  // A closed window gets no release: a press that closed it while grabbing
  // its title would otherwise drag it along with the mouse once it opens.
  if (m_items) m_items->ForEach([](CItem* i) { i->EndDrag(); });
  if (m_id == 160) host->ClearNameEntry();
  if ((over == OVER_GROUP || over == OVER_OUTSIDE) && m_children) {
    // The message list takes its text panel with it, and the panel is to
    // come back when the list opens again: only the panel's own closing
    // forgets that it was open.
    const bool panelOpened = host->GetWindow239Opened();
    m_children->ForEach([over](CScreenWindow* c) { c->DeActivateWindow(c->GetID(), over); });
    if (m_id == 218 && panelOpened && !host->GetWindow239Opened()) host->SetWindow239Opened(true);
  }

  if (In(m_id, {190, 191, 194, 195}) && !AnyOpen({190, 191, 194, 195})) host->ClearSelectedStreet();
  if (In(m_id, {229, 230}) && !AnyOpen({229, 230})) host->ClearSelectedCrossing();
  if (In(m_id, {221, 170, 224})) host->ClearBuildingMarker();
  if (In(m_id, {217, 218}) && !AnyOpen({217, 218})) host->ClearAdviserSelection();
  if (In(m_id, {kHelpPanels[0], kHelpPanels[1]}))
    m_helpOwner = 0;
  else
    CloseHelpOfClosedWindows();
  return 0;
}

bool CScreenWindow::IsShown() const {
  for (const CScreenWindow* w = this; w->m_top; w = w->m_top)
    if (!w->m_active) return false;
  return true;
}

void CScreenWindow::CloseHelpOfClosedWindows() {
  CScreenWindow* root = Root();
  for (int id : kHelpPanels) {
    CScreenWindow* help = root->GetWindowByID(id);
    if (!help || !help->m_active || help->m_helpOwner == 0) continue;
    const CScreenWindow* owner = root->GetWindowByID(help->m_helpOwner);
    if (!owner || !owner->IsShown()) help->DeActivateWindow(id, OVER_SINGLE);
  }
}

int CScreenWindow::ToggleWindow(int id) {
  if (id != -1 && id != m_id) {
    if (m_children)
      for (CScreenWindow* c = m_children->GetHead(); c; c = static_cast<CScreenWindow*>(c->GetNext()))
        if (c->ToggleWindow(id) == 0) return 0;
    return 1;
  }
  if (!m_active) {
    CGuiHost::Get()->DisableStandardMenues();
    return ActivateWindow(m_id, OVER_GROUP);
  }
  DeActivateWindow(m_id, OVER_GROUP);
  ResetPos(0, 0, false);
  ResetItems();
  return 0;
}

CScreenWindow::EscapeGroup CScreenWindow::EscapeGroupOf(int id) {
  EscapeGroup g;
  auto add = [&g](std::initializer_list<int> ids) {
    for (int w : ids) g.ids[g.count++] = w;
  };
  auto addRange = [&g](int lo, int hi) {
    for (int w = lo; w <= hi; ++w) g.ids[g.count++] = w;
  };
  if (id == 10 || In(id, {20, 21, 23, 25, 26, 28}) || InRange(id, 30, 59) || InRange(id, 130, 133) ||
      InRange(id, 190, 195) || id == 200 || InRange(id, 210, 213) ||
      In(id, {215, 217, 219, 220, 221, 223, 224, 235, 236, 239, 242, 243, 244}) || InRange(id, 227, 230)) {
    add({id});
  } else if (InRange(id, 80, 92)) {
    addRange(80, 92);
  } else if (InRange(id, 101, 103) || id == 214) {
    add({214, 101, 102, 103});
  } else if (id == 110 || InRange(id, 112, 116)) {
    add({110, 112});
    addRange(113, 116);
  } else if (InRange(id, 120, 129)) {
    addRange(120, 129);
  } else if (InRange(id, 140, 153) || id == 216) {
    add({216, 140, 141, 142, 147, 148, 149});
    addRange(150, 153);
    add({146, 143, 144, 145});
  } else if (InRange(id, 160, 163)) {
    addRange(160, 163);
  } else if (InRange(id, 170, 173)) {
    addRange(170, 173);
  } else if (InRange(id, 201, 204)) {
    addRange(201, 204);
  } else if (id == 218) {
    add({218, 239});
  }
  return g;
}

int CScreenWindow::CloseOnEscAndRightMouse(int id) {
  const EscapeGroup g = EscapeGroupOf(id);
  if (g.count == 0) return 1;
  CScreenWindow* root = Root();
  for (int i = 0; i < g.count; ++i) root->DeActivateWindow(g.ids[i], OVER_SINGLE);
  return 0;
}

bool CScreenWindow::CloseIfSubMenue() {
  if (m_type != WINDOW_SUBMENU) return false;
  DeActivateWindow(m_id, OVER_SINGLE);
  return true;
}

bool CScreenWindow::CloseIfStandardPosMenue() {
  if (m_type != WINDOW_MENU || m_posX != m_stdX || m_posY != m_stdY) return false;
  DeActivateWindow(m_id, OVER_SINGLE);
  return true;
}

void CScreenWindow::ReplacePictures(int picture, int englishPicture, bool windowTakesSize) {
  if (!m_items) return;
  CGuiHost* host = CGuiHost::Get();
  int w = 0, h = 0;
  const bool exists = host->GetPictureSize(picture, &w, &h);
  m_items->ForEach([&](CItem* item) {
    if (item->GetItemType() != 20) return;
    item->SetPictures(picture, englishPicture);
    if (!exists) return;
    item->SetSize(w, h);
    if (windowTakesSize) {
      m_sizeX = w;
      m_sizeY = h;
    }
  });
}

void CScreenWindow::SetReplaceBitmap(int picture, int englishPicture) {
  ReplacePictures(picture, englishPicture, !InRange(m_id, 202, 204));
  int w = 0, h = 0;
  if (m_id != 215 || !m_items || !CGuiHost::Get()->GetPictureSize(picture, &w, &h)) return;
  CItem* second = m_items->GetHead() ? static_cast<CItem*>(m_items->GetHead()->GetNext()) : nullptr;
  if (second) second->SetSize(w - 40, second->GetYSize());
  CItem* third = second ? static_cast<CItem*>(second->GetNext()) : nullptr;
  if (third) third->SetXPos(w - 40);
}

void CScreenWindow::SetDynamicHilfe(int width, int height, const char* title, const char* text) {
  CItem* parts[6] = {};
  CItem* item = m_items ? m_items->GetHead() : nullptr;
  for (CItem*& part : parts) {
    if (!item) return;
    part = item;
    item = static_cast<CItem*>(item->GetNext());
  }
  CItem* frame = parts[0];
  CItem* caption = parts[1];
  CItem* titleItem = parts[2];
  CItem* body = parts[3];
  CItem* bottom = parts[4];
  CItem* close = parts[5];
  const int W = ((width - 71) / 80 + 1) * 80;
  int windowHeight = 140;
  close->SetXPos(W + 35);
  close->SetSize(35, 19);
  bottom->SetXPos(0);
  bottom->SetSize(W + 35, bottom->GetYSize());
  caption->SetXPos(2);
  caption->SetYPos(23);
  caption->SetSize(20, 17);
  titleItem->SetXPos(13);
  titleItem->SetYPos(24);
  titleItem->SetSize(W + 42, 16);
  body->SetXPos(13);
  body->SetYPos(47);
  body->SetSize(W + 42, 79);
  if (titleItem->GetClassCode() == ITEM_CLASS_TEXT && body->GetClassCode() == ITEM_CLASS_TEXT &&
      titleItem->GetItemType() == 26 && body->GetItemType() == 26) {
    auto* titleText = static_cast<CItemText*>(titleItem);
    auto* bodyText = static_cast<CItemText*>(body);
    bodyText->SetText(text);
    titleText->SetText(title);
    caption->SetSize(titleText->GetWidth(title) + 54, caption->GetYSize());
    const int bodyHeight = height == -1 ? bodyText->GetHeight(text) : height;
    body->SetSize(body->GetXSize(), bodyHeight);
    windowHeight = bodyHeight + 61;
  }
  m_sizeX = W + 70;
  m_sizeY = windowHeight;
  frame->SetSize(W + 70, windowHeight);
}

void CScreenWindow::KeepOnScreen(int screenW, int screenH) {
  // A window the player drags stays whole on the screen, so that its title
  // and its close box can always be reached; one larger than the screen
  // keeps its top left corner on it.
  const int rx = GetRealPosX(), ry = GetRealPosY();
  const int x = std::max(0, std::min(rx, screenW - m_sizeX));
  const int y = std::max(0, std::min(ry, screenH - m_sizeY));
  m_posX += x - rx;
  m_posY += y - ry;
}

void CScreenWindow::MoveTooSecondCrossingStreetWindow() {
  static constexpr int kPairs[][2] = {{190, 191}, {194, 195}, {229, 230}};
  for (const auto& pair : kPairs) {
    const int other = pair[0] == m_id ? pair[1] : (pair[1] == m_id ? pair[0] : 0);
    if (!other) continue;
    if (CScreenWindow* w = GetWindowByID(other)) {
      w->m_posX = m_posX;
      w->m_posY = m_posY;
    }
  }
}

void CScreenWindow::WindowStatistikGruppe(int id) {
  static constexpr int kGroupOfPage[] = {0, 6, 5, 4, 2, 1, 3};
  if (id >= 147 && id <= 153) CGuiHost::Get()->ChangeStatistikGruppe(kGroupOfPage[id - 147]);
}

bool CScreenWindow::FleetGuardHolds(const CAction& action) {
  CGuiHost* host = CGuiHost::Get();
  if (!host->IsWindowOpen(126) || !host->IsFleetTradeEntered() || host->IsConfirmationPending()) return false;
  host->SaveConfirmationAction(action);
  host->SetConfirmationPending();
  host->SetAchtungWindowJaNein(kFleetQuestion, kRunSavedActionKind);
  return true;
}

int CScreenWindow::ActionAuswertung(CActionList* list, EInOutType hit, int mouseX, int mouseY, EPosition* zone) {
  if (!list) return 0;
  CGuiHost* host = CGuiHost::Get();
  CScreenWindow* root = Root();
  const bool inside = hit == INOUT_INSIDE;
  // Windows an earlier action of this event opened: a later plain opening of
  // the same window only brings it to the front, so it does not put back
  // the group's first page over the page that earlier action chose (the
  // services menu opens the measures group on its car-sharing page).
  std::vector<int> openedNow;
  auto open = [root, &openedNow](int id) {
    root->ActivateWindow(id, OVER_GROUP);
    openedNow.push_back(id);
  };
  auto close = [root](std::initializer_list<int> ids) {
    for (int id : ids) root->DeActivateWindow(id, OVER_SINGLE);
  };
  list->ForEach([&](CAction* a) {
    if (a->m_inout != INOUT_ALWAYS && a->m_inout != hit) return;
    const int p1 = a->m_p1;
    const int p2 = a->m_p2;
    switch (a->m_kind) {
      case 2:
      case 49:
        if (!inside) break;
        CloseIfSubMenue();
        if (CScreenWindow* w = root->GetWindowByID(p1);
            w && std::find(openedNow.begin(), openedNow.end(), p1) != openedNow.end())
          w->ActivateWindow(p1, OVER_FRONT);
        else
          (p2 == -1 ? this : root)->ActivateWindow(p1, OVER_GROUP);
        if (a->m_kind == 49)
          if (CScreenWindow* w = root->GetWindowByID(p1)) {
            w->SetReplaceBitmap(p2, -1);
            w->SetHelpOwner(m_id);
          }
        break;
      case 4: {
        if (!inside) break;
        host->SetLineReopenWindow(129);
        DeActivateWindow(m_id, OVER_SINGLE);
        open(227);
        CWorldObj* line = host->GetLineByID(p1);
        host->SetSelectedLine(line, line ? p1 : kNoLine);
        root->SetVarWorldObject(227, -2, -2, line, "OpnvLine");
        break;
      }
      case 5:
        if (!inside) break;
        host->SetToolNr(p1, p2, a->m_p3);
        host->DisableStandardMenues();
        break;
      case 6:
        if (inside) close({p1});
        break;
      case 7:
        m_posX += p1;
        m_posY += p2;
        KeepOnScreen(host->GetScreenWidth(), host->GetScreenHeight());
        host->BringToFront(this);
        if (m_id == 218 && host->IsWindowOpen(239))
          if (CScreenWindow* w = GetWindowByID(239)) host->BringToFront(w);
        MoveTooSecondCrossingStreetWindow();
        if (IsGroupRoot(m_id)) GroupToFront();
        break;
      case 10:
        DeActivateWindow(p1, OVER_SINGLE);
        break;
      case 15:
        if (!inside) break;
        if (CScreenWindow* w = m_children ? m_children->GetWindowByID(p1) : nullptr)
          if (w->OverWindow(w->GetRealPosX(), w->GetRealPosY(), mouseX, mouseY, zone, OVER_SINGLE) == INOUT_OUTSIDE)
            w->DeActivateWindow(p1, OVER_SINGLE);
        break;
      case 26:
        if (CItem* item = m_items ? m_items->GetItemByID(0) : nullptr) item->SetState(p1);
        break;
      case 33:
        if (inside) host->SetBalloonHelp(CBalloonHelp::GetText(a->m_p3), p1 - 10, p2, a->m_reserved);
        break;
      case 34:
        root->ToggleWindow(p1);
        break;
      case 35:
        if (!inside || FleetGuardHolds(*a)) break;
        open(120);
        close({122, 123, 124, 125, 126, 127, 128, 129});
        open(p1);
        host->ClearPendingConfirmation();
        break;
      case 36:
        if (!inside) break;
        open(201);
        close({202, 204, 203});
        open(p1);
        for (const MapPage& page : kMapPages)
          if (page.id == p1) host->ChangeThematicMapFilter(page.layer);
        break;
      case 37:
        if (!inside) break;
        host->SetLineReopenWindow(129);
        host->SetToolNr(20, -1, -1);
        host->SetSelectedLine(nullptr, 0);
        DeActivateWindow(m_id, OVER_SINGLE);
        close({120, 122, 126});
        break;
      case 40:
        if (!inside) break;
        open(80);
        close({90, 86, 81, 87, 89, 84, 92});
        // The page or its companion, by what stands now.
        host->UpdateMeasurePageHints();
        open(p1);
        break;
      case 41:
        if (!inside) break;
        root->ActivateWindow(110, OVER_FRONT);
        close({116, 115, 114, 112, 113});
        open(p1);
        break;
      case 42:
        if (!inside) break;
        open(214);
        close({102, 101, 103});
        open(p1);
        break;
      case 43:
        if (!inside) break;
        open(170);
        close({173, 171, 172});
        open(p1);
        break;
      case 44:
        if (!inside) break;
        open(140);
        switch (p1) {
          case 141:
            root->DeActivateWindow(142, OVER_GROUP);
            close({146, 143, 144, 145});
            open(141);
            break;
          case 142:
            close({141, 146, 143, 144, 145});
            open(142);
            open(147);
            WindowStatistikGruppe(147);
            break;
          case 143:
          case 145:
            root->DeActivateWindow(142, OVER_GROUP);
            close({141, 146, 143, 145, 144});
            open(host->GetGameMode() == 0 ? (p1 == 143 ? 144 : 145) : 143);
            break;
          case 146:
            root->DeActivateWindow(142, OVER_GROUP);
            close({141, 143, 145, 144});
            open(146);
            break;
          default:
            break;
        }
        break;
      case 46:
        if (!inside || (p1 == 120 && FleetGuardHolds(*a))) break;
        root->DeActivateWindow(p1, OVER_GROUP);
        host->ClearPendingConfirmation();
        break;
      case 47:
        if (inside) root->DeActivateWindow(p1, OVER_FRONT);
        break;
      case 54:
        if (inside) ReplacePictures(p1, p2, false);
        break;
      case 56:
        if (!inside) break;
        open(142);
        close({147, 148, 152, 151, 150, 149, 153});
        open(p1);
        WindowStatistikGruppe(p1);
        break;
      case 64: {
        if (!inside) break;
        // Only five advisers have pictures.
        const int adviser = p1 < 1 ? 1 : (p1 > 5 ? 5 : p1);
        host->SetAdviser(adviser);
        ReplacePictures(kAdviserPictures[adviser - 1], kAdviserPicturesEnglish[adviser - 1], false);
        // A button outside the adviser window (the bar's) picks the page the
        // adviser window shows: its portrait follows, or the window would
        // show one adviser above another's text.
        if (CScreenWindow* advisers = root && m_id != kAdviserWindow ? root->GetWindowByID(kAdviserWindow) : nullptr)
          advisers->ReplacePictures(kAdviserPictures[adviser - 1], kAdviserPicturesEnglish[adviser - 1], false);
        break;
      }
      case 70:
        if (!inside) break;
        open(160);
        close({162, 161, 163});
        host->MakeLoadSaveGamesFromDirectory(true);
        open(p1);
        break;
      case 118:
        if (inside) host->ClearPendingConfirmation();
        break;
      case 131: {
        if (!inside) break;
        CloseIfSubMenue();
        int lights = 0;
        if (!host->GetSelectedCrossingLights(&lights)) break;
        if (lights <= 1) {
          host->SetAchtungWindow(kNoTrafficLightWarning);
        } else {
          close({229});
          open(230);
        }
        break;
      }
      default:
        break;
    }
  });
  return 0;
}
