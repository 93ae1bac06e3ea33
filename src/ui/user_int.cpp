// The controller's state, creation, turn and deferred actions.
#include "ui/user_int.h"

#include "framework/qno_display.h"
#include "framework/zor_pointer_list.h"
#include "gui/screen_window.h"
#include "iso/iso_vehicle.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "ui/str_preview.h"
#include "ui/ui_host.h"

CScreenWindow* CUserInt::topWindow = nullptr;
unsigned char CUserInt::m_ActivateDebugInfo = 0;
bool CUserInt::m_StaticCity = false;
bool CUserInt::m_MakeAgents = false;
selObjType CUserInt::selObj;
CUserIntDebug CUserInt::m_Debug;
int CUserInt::framecount = 0;

namespace {
// The interface's turn runs its slower parts every sixth frame.
constexpr int kTurnEvery = 6;
constexpr int kLoadSaveWindow = 160;
constexpr int kSaveListWindow = 162;
}  // namespace

CUserInt::CUserInt() {
  selObj = selObjType{};
  selObj.tool = 1;
  topWindow = nullptr;
  m_ActivateDebugInfo = 0;
  m_Debug = CUserIntDebug{};
}

CUserInt::~CUserInt() {
  Destroy();
  free(m_BalloonText);
}

QnoResourceManager* CUserInt::GetCache() {
  return m_pResourceManager ? m_pResourceManager : Overlay::GetCache();
}

QnoDisplay* CUserInt::GetOverlayDisplay() { return m_pDisplay ? m_pDisplay : Overlay::GetOverlayDisplay(); }

int CUserInt::OnCreate(QnoResourceManager* resources, QnoDisplay* display, CZorvaWorld* world, CIsoWelt* iso,
                       CStrJunctionList* streets) {
  if (!selObj.markedBuildings) {
    selObj.markedBuildings = new CBuildingList;
    selObj.markedBuildings->Create();
  }
  // Every visible car joins and leaves the car list: it finds them by index.
  for (CZorvaList** list : {&m_pBusList, &m_pCarList, &m_pFeetList})
    if (!*list) {
      *list = new CZorvaList(0, list == &m_pCarList);
      (*list)->Create();
    }
  m_pIsoWelt = iso;
  if (!m_pViewFilter) {
    m_pViewFilter = new CViewFilter(iso);
    m_pViewFilter->Create();
  }
  m_pResourceManager = resources;
  m_pDisplay = display;
  if (!m_pTwoDMap) {
    m_pTwoDMap = new CTwoDMap(m_pViewFilter, resources, display, CViewFilter::kLayerAlles);
    m_pTwoDMap->Create(0, 0, 256, 256, 64, 64, 2.0f);
  }
  if (!m_pSmallMap) {
    m_pSmallMap = new CSmallMap(m_pViewFilter, resources, display, CViewFilter::kLayerAlles);
    m_pSmallMap->Create(286, 468, 140, 72);
  }
  m_pStreetNet = streets;
  selObj.startX = -1;
  selObj.leftDrag = 0;
  selObj.rightPressed = 0;
  if (!m_pRenderList) {
    m_pRenderList = new CZorvaList(1);
    m_pRenderList->Create();
  }
  if (Overlay::Create(world, this) != 0) return 1;
  CUiHost* host = CUiHost::Get();
  SetSceneWindowDisplaySize(host->GetScreenWidth(), host->GetScreenHeight());
  return 0;
}

int CUserInt::Destroy() {
  if (selObj.ownedObject) {
    selObj.ownedObject->Destroy();
    delete selObj.ownedObject;
    selObj.ownedObject = nullptr;
  }
  if (m_pViewFilter) m_pViewFilter->Destroy();
  delete m_pViewFilter;
  m_pViewFilter = nullptr;
  delete m_pSmallMap;
  m_pSmallMap = nullptr;
  delete m_pTwoDMap;
  m_pTwoDMap = nullptr;
  delete m_pStrPreviewRect;
  m_pStrPreviewRect = nullptr;
  delete m_pRenderList;
  m_pRenderList = nullptr;
  if (topWindow) {
    topWindow->Destroy();
    delete topWindow;
    topWindow = nullptr;
  }
  for (CZorvaList** list : {&m_pBusList, &m_pCarList, &m_pFeetList}) {
    delete *list;
    *list = nullptr;
  }
  delete selObj.markedBuildings;
  selObj.markedBuildings = nullptr;
  return Overlay::Destroy();
}

int CUserInt::OnPlayloopTurn() {
  CheckForDoLater();
  FollowPanningDrag();
  if (framecount % kTurnEvery == 0) {
    CheckBusList();
    if (m_pRenderList) {
      // A window's turn may open or close windows; the walk follows a copy
      // and stops where the copy and the list part ways.
      CZorvaList copy(0);
      for (CZorvaPointer* n = m_pRenderList->GetTailZorvaPointer(); n; n = n->GetPrevZorvaPointer())
        copy.AddHeadZorva(n->GetZorvaObject());
      for (CZorvaPointer* n = copy.GetTailZorvaPointer(); n; n = n->GetPrevZorvaPointer()) {
        auto* window = static_cast<CScreenWindow*>(n->GetZorvaObject());
        if (m_pRenderList->CheckZorvaInList(window) != 0) break;
        window->OnPlayloopTurn();
      }
    }
    if (m_pTwoDMap) m_pTwoDMap->OnPlayloopTurn();
    if (m_pSmallMap) m_pSmallMap->OnPlayloopTurn();
  }
  ++framecount;
  return 0;
}

void CUserInt::FollowPanningDrag() {
  if (!m_pIsoWelt || !m_pIsoWelt->IsPanning()) return;
  const bool street = selObj.tool == 2 && selObj.streetDrag;
  const bool area = GetBuildSurfaceStatus() && selObj.leftDrag && selObj.startX != -1;
  if (!street && !area) return;
  // A pointer beyond the map's edge takes no cell, nor does its release.
  int tx = -1, ty = -1;
  if (m_pIsoWelt->MouseKoorToIsoKoor(selObj.rawMouseX, selObj.rawMouseY, &tx, &ty) != 0) return;
  if (street)
    BuildStreet(tx, ty);
  else
    SelectFlaecheFinishPoint(tx, ty);
}

void CUserInt::SetDoLater(DoLaterType type) {
  BackupCursor();
  SetCursorID(kCursorWait, 0);
  selObj.doLater = type;
  selObj.countdown = 1;
  if (type == DOLATER_AUTOSAVE || type == DOLATER_AUTOLOAD) {
    QnoDisplay* display = GetOverlayDisplay();
    if (!display) {
      selObj.countdown = 5;
    } else {
      const int half = display->GetRealFrameRate() / 2;
      selObj.countdown = half < 1 ? 2 : half;
    }
  }
}

int CUserInt::CheckForDoLater() {
  if (selObj.countdown != 0) return 0;
  CUiHost* host = CUiHost::Get();
  switch (selObj.doLater) {
    case DOLATER_LOAD:
      if (host->CheckForLoadGame() == 1) {
        const int warnings = m_AchtungCount;
        if (host->LoadGame() == 0) {
          DeActivateWindow(kLoadSaveWindow);
          DeActivateWindow(kYesNoWindow);
          if (host->GetGameModus() == 2) host->ShowAufgabeWindow();
        } else {
          // A load that fails leaves the game as it was; the player is told
          // unless the load gave its own warning.
          if (m_AchtungCount == warnings) SetAchtungWindow(kWarningNoGame);
        }
        // A refused load leaves the page as it was, listing the kind of
        // games it listed under the header that names them.
        host->MakeLoadSaveGamesFromDirectory(IsWindowOpen(kLoadSaveWindow) == 0);
      } else {
        SetAchtungWindow(kWarningNoGame);
      }
      break;
    case DOLATER_SAVE: {
      const int warnings = m_AchtungCount;
      if (host->SaveGame() != 0 && m_AchtungCount == warnings) SetAchtungWindow(kWarningSaveFailed);
      host->MakeLoadSaveGamesFromDirectory(true);
      if (topWindow) topWindow->SetZorvaList(kSaveListWindow, -2, nullptr, 1);
      break;
    }
    case DOLATER_NEW:
      host->ResetGame();
      break;
    case DOLATER_TURN_RIGHT:
    case DOLATER_TURN_LEFT:
      if (m_pIsoWelt) {
        if (selObj.doLater == DOLATER_TURN_RIGHT)
          m_pIsoWelt->UserIntTurnRight();
        else
          m_pIsoWelt->UserIntTurnLeft();
      }
      if (GetFilter(3) || GetFilter(4)) host->SetObjectListFilter();
      break;
    case DOLATER_ZOOM_IN:
      if (m_pIsoWelt) m_pIsoWelt->UserIntZoomIn();
      break;
    case DOLATER_ZOOM_OUT:
      if (m_pIsoWelt) m_pIsoWelt->UserIntZoomOut();
      break;
    case DOLATER_AUTOSAVE:
      if (host->AutoSaveGame() != 0) SetAchtungWindow(kWarningSaveFailed);
      break;
    case DOLATER_AUTOLOAD: {
      // As a load from the page: a refused game keeps its own warning.
      const int warnings = m_AchtungCount;
      if (host->AutoLoadGame() != 0 && m_AchtungCount == warnings) SetAchtungWindow(kWarningNoGame);
      break;
    }
    case DOLATER_ASK_QUIT_UNSAVED:
      AskQuitWithoutSave();
      break;
    default:
      break;
  }
  RestoreCursor();
  selObj.doLater = DOLATER_NONE;
  selObj.countdown = -1;
  return 0;
}

void CUserInt::AddBus(CZorvaObject* bus) {
  if (m_pBusList) m_pBusList->AddHeadZorva(bus);
}
void CUserInt::RemoveBus(CZorvaObject* bus) {
  if (m_pBusList) m_pBusList->RemoveZorva(bus);
}
void CUserInt::AddCar(CZorvaObject* car) {
  if (m_pCarList) m_pCarList->AddHeadZorva(car);
}
void CUserInt::RemoveCar(CZorvaObject* car) {
  if (m_pCarList) m_pCarList->RemoveZorva(car);
}
void CUserInt::AddFeet(CZorvaObject* feet) {
  if (m_pFeetList) m_pFeetList->AddHeadZorva(feet);
}
void CUserInt::RemoveFeet(CZorvaObject* feet) {
  if (m_pFeetList) m_pFeetList->RemoveZorva(feet);
}

int CUserInt::CheckBusList() {
  if (!m_pBusList) return 0;
  for (CZorvaPointer* n = m_pBusList->GetHeadZorvaPointer(); n;) {
    CZorvaPointer* next = n->GetNextZorvaPointer();
    auto* bus = dynamic_cast<CIsoVehicle*>(n->GetZorvaObject());
    if (bus && !bus->IsVehicleActive()) {
      // A vehicle takes itself out of the list when it is destroyed; the
      // node goes here in case it does not.
      m_pBusList->RemoveZorva(bus);
      bus->Destroy();
      delete bus;
    }
    n = next;
  }
  return 0;
}

void CUserInt::InitSpirale(int cx, int cy, int radius, bool) { m_Spiral.Init(cx, cy, radius); }

bool CUserInt::GetNextSpiralWert(int& x, int& y) { return m_Spiral.Next(x, y); }

int CUserInt::GetFilter(int n) const {
  if (n < 0 || n > 4) return 0;
  if (n == 0) return !(selObj.filter[1] || selObj.filter[2] || selObj.filter[3] || selObj.filter[4]);
  return selObj.filter[n] ? 1 : 0;
}

void CUserInt::SetFilter(int n, bool on) {
  CUiHost* host = CUiHost::Get();
  const unsigned char value = on ? 1 : 0;
  switch (n) {
    case 0: {
      const bool refresh = (GetFilter(0) != 0) != on;
      for (int i = 1; i <= 4; ++i) selObj.filter[i] = 0;
      selObj.selectedLine = nullptr;
      if (refresh) host->SetObjectListFilter();
      break;
    }
    case 1:
      selObj.filter[1] = value;
      if (!on) selObj.selectedLine = nullptr;
      break;
    case 2:
      selObj.filter[2] = value;
      break;
    case 3:
    case 4: {
      const int other = n == 3 ? 4 : 3;
      const bool changed = selObj.filter[other] != 0 || selObj.filter[n] != value;
      selObj.filter[other] = 0;
      selObj.filter[n] = value;
      if (changed) host->SetObjectListFilter();
      break;
    }
    default:
      break;
  }
}

unsigned char CUserInt::GetTileMask(int x, int y) const {
  return x >= 0 && x < 128 && y >= 0 && y < 128 ? m_TileMask[x][y] : 0;
}
unsigned char CUserInt::GetTileMask2(int x, int y) const {
  return x >= 0 && x < 128 && y >= 0 && y < 128 ? m_TileMask2[x][y] : 0;
}
void CUserInt::SetTileMask(int x, int y, unsigned char kind, unsigned char bits) {
  if (x < 0 || x >= 128 || y < 0 || y >= 128) return;
  m_TileMask[x][y] = kind;
  m_TileMask2[x][y] = bits;
}

