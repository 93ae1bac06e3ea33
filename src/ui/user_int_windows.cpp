// The interface's window handling: the render list of open windows, the
// warning and question windows, the balloon help, the resolution change and
// the resets around loading a game.
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/qno_display.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "measures/building_object.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {
// Windows below this id belong to the main screen: opening them again
// leaves them where they are.
constexpr int kMainScreenIds = 20;
// Restarts of the menu-closing walk.
constexpr int kMaxMenuRestarts = 11;

CScreenWindow* WindowOf(CZorvaPointer* n) { return static_cast<CScreenWindow*>(n->GetZorvaObject()); }

// The first entry that is the window or has the id.
CZorvaPointer* FindEntry(CZorvaList* list, CScreenWindow* window, int id) {
  if (!list) return nullptr;
  for (CZorvaPointer* n = list->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
    CScreenWindow* w = WindowOf(n);
    if (w == window || (w && w->GetID() == id)) return n;
  }
  return nullptr;
}
}  // namespace

int CUserInt::InsertIntoRenderList(CScreenWindow* window, int id) {
  if (!m_pRenderList) return 1;
  if (CZorvaPointer* found = FindEntry(m_pRenderList, window, id)) {
    CScreenWindow* w = WindowOf(found);
    if (w->GetID() < kMainScreenIds) return 1;
    if (m_pRenderList->RemoveZorva(w) != 0) return 1;
    window = w;
  } else if (!window) {
    // Only an id: the tree must hold it.
    window = topWindow ? topWindow->GetWindowByID(id) : nullptr;
    if (!window) return 1;
  }
  m_pRenderList->AddHeadZorva(window);
  // A window opened while a game's end or a question shows goes behind
  // them (the question in front), so that nothing hides what the mouse's
  // presses go to; a warning or a question still comes to the front.
  const int opened = window->GetID();
  if (!IsEndWindow(opened) && opened != kWarningWindow && !IsQuestion(opened)) {
    for (int end : kEndWindows)
      if (CZorvaPointer* n = FindEntry(m_pRenderList, nullptr, end)) BringToFront(WindowOf(n));
    for (int question : kQuestions)
      if (CZorvaPointer* n = FindEntry(m_pRenderList, nullptr, question)) BringToFront(WindowOf(n));
  }
  return 0;
}

int CUserInt::RemoveFromRenderList(CScreenWindow* window, int id) {
  // A closed question window shows no question, whatever it asked.
  if (id == kYesNoWindow || (window && window->GetID() == kYesNoWindow)) selObj.yesNoWarning = -1;
  CZorvaPointer* found = FindEntry(m_pRenderList, window, id);
  if (!found) return 0;
  // The balloon may be the closed window's (Escape closes windows under a
  // pointer that does not move); the next move puts up the one it is over.
  ResetBalloonHelp();
  return m_pRenderList->RemoveZorva(WindowOf(found)) == 0 ? 0 : 1;
}

int CUserInt::BringToFront(CScreenWindow* window) {
  if (!m_pRenderList || !window || m_pRenderList->RemoveZorva(window) != 0) return 1;
  m_pRenderList->AddHeadZorva(window);
  return 0;
}

int CUserInt::IsWindowOpen(int id) const {
  if (!m_pRenderList) return 1;
  for (CZorvaPointer* n = m_pRenderList->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    if (WindowOf(n)->GetID() == id) return 0;
  return 1;
}

int CUserInt::ActivateWindow(int id, int over) {
  return topWindow ? topWindow->ActivateWindow(id, static_cast<EOverType>(over)) : 1;
}

int CUserInt::DeActivateWindow(int id, int over) {
  return topWindow ? topWindow->DeActivateWindow(id, static_cast<EOverType>(over)) : 1;
}

int CUserInt::ActivateWithGroup(int id) {
  CScreenWindow* page = topWindow ? topWindow->GetWindowByID(id) : nullptr;
  CScreenWindow* group = page ? page->GetTopWindow() : nullptr;
  if (group && group != topWindow && !group->IsActive()) {
    ActivateWindow(group->GetID());
    if (CWindowList* pages = group->GetChildren())
      pages->ForEach([&](CScreenWindow* other) {
        if (other != page && other->IsActive()) other->DeActivateWindow(other->GetID(), OVER_SINGLE);
      });
  }
  return ActivateWindow(id);
}

int CUserInt::DisableSubMenues() {
  for (bool closed = true; closed;) {
    closed = false;
    for (CZorvaPointer* n = m_pRenderList ? m_pRenderList->GetHeadZorvaPointer() : nullptr; n;
         n = n->GetNextZorvaPointer()) {
      CScreenWindow* w = WindowOf(n);
      if (w->GetType() == WINDOW_SUBMENU) {
        DeActivateWindow(w->GetID(), OVER_SINGLE);
        closed = true;
        break;
      }
    }
  }
  return 0;
}

int CUserInt::DisableStandardMenues() {
  for (int restarts = 0; restarts <= kMaxMenuRestarts; ++restarts) {
    bool closed = false;
    for (CZorvaPointer* n = m_pRenderList ? m_pRenderList->GetHeadZorvaPointer() : nullptr; n;
         n = n->GetNextZorvaPointer()) {
      CScreenWindow* w = WindowOf(n);
      // A menu the player moved away from its standard place stays open.
      const bool menu = w->GetType() == WINDOW_SUBMENU ||
                        (w->GetType() == WINDOW_MENU && w->GetPosX() == w->GetStandardPosX() &&
                         w->GetPosY() == w->GetStandardPosY());
      if (menu) {
        DeActivateWindow(w->GetID(), OVER_SINGLE);
        closed = true;
        break;
      }
    }
    if (!closed) break;
  }
  return 0;
}

void CUserInt::SetAchtungWindow(int id) {
  ++m_AchtungCount;
  const int language = CWorldHost::Get()->GetLanguage() == 1 ? 1 : 0;
  const char* text = GetAchtungText(id, language);
  CUiHost::Get()->SetAchtungMessage(text ? text : "");
  ActivateWindow(kWarningWindow, OVER_GROUP);
  // The window may stay closed (the exhibition opens only its own
  // windows); then no warning counts as shown.
  if (IsWindowOpen(kWarningWindow) != 0) return;
  selObj.warningShown = 1;
  m_AchtungTime = kfx_GetTicks();
}

void CUserInt::SetAchtungWindowJaNein(int id, int kind) {
  const char* text = GetAchtungText(id, CWorldHost::Get()->GetLanguage() == 1 ? 1 : 0);
  AskYesNo(id, text ? text : "", kind);
}

void CUserInt::AskQuitWithoutSave() {
  // The failed save and the question again, in one window: the player
  // reads why the game is still there and may leave it unsaved.
  const int language = CWorldHost::Get()->GetLanguage() == 1 ? 1 : 0;
  const std::string text =
      std::string(GetAchtungText(kWarningSaveFailed, language)) + " " + GetAchtungText(kQuestionQuit, language);
  AskYesNo(kQuestionQuit, text.c_str(), kActionQuitUnsaved);
}

void CUserInt::AskYesNo(int id, const char* text, int kind) {
  // A question ends a drag without building: its answer must not be the
  // release that lays the area or the street.
  EndSelectionOnRelease();
  // A question that replaces an open one closes it first, so that what the
  // old one held (the quit question holds the game) is let go with it.
  if (IsWindowOpen(kYesNoWindow) == 0) DeActivateWindow(kYesNoWindow, OVER_SINGLE);
  CUiHost::Get()->SetAchtungJaNeinText(text);
  CScreenWindow* window = topWindow ? topWindow->GetWindowByID(kYesNoWindow) : nullptr;
  if (kind >= 0 && window && window->GetItems())
    window->GetItems()->ForEach([kind](CItem* item) {
      if (item->GetNr() != 0 || !item->GetActions()) return;
      item->GetActions()->ForEach([kind](CAction* a) {
        if (a->m_kind != 6 && a->m_kind != 11) a->m_kind = kind;
      });
    });
  // The question is known before its window opens, so that opening the
  // quit question holds the game.
  selObj.yesNoWarning = id;
  ActivateWindow(kYesNoWindow, OVER_GROUP);
  if (IsWindowOpen(kYesNoWindow) != 0) {
    selObj.yesNoWarning = -1;
    return;
  }
  selObj.warningShown = 1;
  m_AchtungTime = kfx_GetTicks();
}

bool CUserInt::IsAchtungWindowJaNein(int id) const {
  return IsWindowOpen(kYesNoWindow) == 0 && selObj.yesNoWarning == id;
}

CAction* CUserInt::GetAchtungWindowJaNeinItemAction(CAction*& action, CItem*& item, bool yes) {
  action = nullptr;
  item = nullptr;
  CScreenWindow* window = topWindow ? topWindow->GetWindowByID(kYesNoWindow) : nullptr;
  if (!window || !window->GetItems()) return nullptr;
  window->GetItems()->ForEach([&](CItem* candidate) {
    if (action || candidate->GetNr() != 0) return;
    item = candidate;
    if (!candidate->GetActions()) return;
    candidate->GetActions()->ForEach([&](CAction* a) {
      if (action || a->m_kind == 11) return;
      if ((a->m_kind == 6) != yes) action = a;
    });
  });
  return action;
}

void CUserInt::SetBalloonHelp(const char* text, int x, int y, int cost) {
  free(m_BalloonText);
  m_BalloonText = nullptr;
  if (!text || !*text) return;
  m_BalloonText = strdup(text);
  m_BalloonX = x;
  m_BalloonY = y - 5;
  m_BalloonSetTime = m_BalloonSeenTime = kfx_GetTicks();
  m_BalloonCost = cost;
}

void CUserInt::ResetBalloonHelp() {
  free(m_BalloonText);
  m_BalloonText = nullptr;
  m_BalloonX = m_BalloonY = -1;
  m_BalloonSetTime = m_BalloonSeenTime = 0;
}

int CUserInt::SetAufloesung(int width, int height) {
  if (topWindow) {
    const int dx = width - 800, dy = height - 600;
    if (CWindowList* children = topWindow->GetChildren())
      children->ForEach([&](CScreenWindow* w) {
        // The new place becomes the window's own: a window goes back to
        // it when it closes, and opens there again.
        w->SetStandardPosX(w->GetPosX8x6() + dx);
        w->SetStandardPosY(w->GetPosY8x6() + dy);
        w->SetPosX(w->GetStandardPosX());
        w->SetPosY(w->GetStandardPosY());
        w->Reposition(width, height);
      });
    if (CItemList* items = topWindow->GetItems())
      items->ForEach([&](CItem* i) {
        i->SetXPos(i->GetXPos8x6() + dx);
        i->SetYPos(i->GetYPos8x6() + dy);
      });
    topWindow->CheckForXYInScreen(width, height);
  }
  if (m_pSmallMap) m_pSmallMap->SetWindowPos(width - 514, height - 132);
  return 0;
}

int CUserInt::BoundingBox(int id, int maxDx, int maxDy, int x, int y) {
  if (IsWindowOpen(id) != 0 || !topWindow) return 1;
  CScreenWindow* w = topWindow->GetWindowByID(id);
  if (!w) return 1;
  const int width = w->GetSizeX(), height = w->GetSizeY();
  int cx = w->GetPosX() + width / 2, cy = w->GetPosY() + height / 2;
  if (cx > x + maxDx) cx = x + maxDx;
  if (cx < x - maxDx) cx = x - maxDx;
  if (cy > y + maxDy) cy = y + maxDy;
  if (cy < y - maxDy) cy = y - maxDy;
  int left = cx - width / 2, top = cy - height / 2;
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  QnoDisplay* display = GetOverlayDisplay();
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  const int screenW = buffer ? buffer->GetWidth() : GetSceneWidth();
  const int screenH = buffer ? buffer->GetHeight() : GetSceneHeight();
  if (left + width >= screenW) left = screenW - width - 1;
  if (top + height >= screenH) top = screenH - height - 1;
  w->SetPosX(left);
  w->SetPosY(top);
  return 0;
}

void CUserInt::ResetStreet24hData() {
  for (auto& direction : selObj.streetLoad)
    for (int& v : direction) v = -1;
}

void CUserInt::GetStreet24hData() {
  auto* street = dynamic_cast<CStreetObj*>(selObj.selectedStreet);
  const CStrStrasse* list = street ? street->GetStreetList() : nullptr;
  if (!list) return;
  // Both directions against the street's stored capacity.
  const int capacity = list->GetCapacity() != 0 ? list->GetCapacity() : 600;
  for (int hour = 0; hour < 24; ++hour) {
    selObj.streetLoad[0][hour] = list->GetAuslastung24(hour) * 100 / capacity;
    selObj.streetLoad[1][hour] = list->GetAuslastung24Second(hour) * 100 / capacity;
  }
}

int CUserInt::UpdateStreet24h(int hour) {
  if (hour < 0 || hour > 23 || !selObj.selectedStreet) return 0;
  auto* street = dynamic_cast<CRoadObj*>(selObj.selectedStreet);
  if (!street) return 0;
  int flow = 0, capacity = 0;
  if (street->GetAuslastung(&flow, &capacity) == 0) selObj.streetLoad[0][hour] = capacity ? flow * 100 / capacity : 0;
  flow = capacity = 0;
  if (street->GetAuslastungSecond(&flow, &capacity) == 0)
    selObj.streetLoad[1][hour] = capacity ? flow * 100 / capacity : 0;
  return 0;
}

int CUserInt::ResetBeforeLoad(CStrJunctionList* streets) {
  m_pStreetNet = streets;
  // The load frees every object of the world: no window, open or closed,
  // may show one of them afterwards (the next load keeps what the windows
  // show and would reach a freed one). The model's windows are bound
  // again to the new game's objects after the load.
  if (topWindow) topWindow->ForEachInTree([](CScreenWindow* w) { w->ForgetWorldObject(); });
  ForgetWorldObjects();
  ResetStreet24hData();
  if (topWindow) {
    // Every window that Escape closes is closed, with what its closing
    // clears; each group holds only such windows, so every group is closed.
    // That takes in every window of the old game's objects (streets, car
    // parks, lines, stops, measures); windows 2 to 4, which Escape leaves
    // open, close as well.
    topWindow->ForEachInTree([](CScreenWindow* w) {
      if (CScreenWindow::ClosesOnEscape(w->GetID())) w->DeActivateWindow(-1, OVER_SINGLE);
    });
    for (int id : {2, 3, 4}) DeActivateWindow(id, OVER_SINGLE);
  }
  selObj.tool = 1;
  CViewFilter::Deactivate();
  return 0;
}

void CUserInt::ForgetWorldObjects() {
  // The load frees every object of the world: nothing of the old one may
  // be reached from the selection afterwards. The cause-effect view keeps
  // its node by number and finds it in the new net.
  selObjType& s = selObj;
  s.selectedObject = nullptr;
  s.mouseStreet = nullptr;
  s.mouseStreetX = s.mouseStreetY = -1;
  s.selectedJunction = nullptr;
  s.junctionX = s.junctionY = -1;
  s.selectedLine = nullptr;
  s.selectedStreet = nullptr;
  s.selectedStreetId = -1;
  s.selectedCrossing = nullptr;
  s.selectedCrossingId = -1;
  ForgetEditedLine();
  if (s.markedBuildings) s.markedBuildings->Destroy();
}

int CUserInt::ActivateAfterLoad() {
  CViewFilter::Activate();
  if (m_pSmallMap) m_pSmallMap->Update();
  if (m_pTwoDMap) m_pTwoDMap->Update();
  return 0;
}

void CUserInt::ActivateTwoDMap(bool on) {
  if (m_pTwoDMap) m_pTwoDMap->DisplayHideMap(on ? DISPLAY_SHOW : DISPLAY_HIDE);
}

void CUserInt::RenderTwoDMap(QnoDisplay* display, int x, int y) {
  if (m_pTwoDMap) m_pTwoDMap->Render(display, x, y);
}

void CUserInt::RenderTwoDMapColorKey(QnoDisplay* display, int x, int y) {
  if (m_pTwoDMap) m_pTwoDMap->RenderColorKey(display, x, y);
}
