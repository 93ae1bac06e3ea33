#include "world/zor_world_hosts.h"

#include <algorithm>

#include "framework/qno_bitmap.h"
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/preise.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "measures/umland.h"
#include "model/data_exchange.h"
#include "model/indikatoren.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/street_objects.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_sound.h"
#include "world/zor_world.h"

int CZorWorldHost::GetLanguage() { return CZorvaWorld::m_Language; }
int CZorWorldHost::AddSound(const char* name, int priority) { return m_world.AddSound(name, priority); }
int CZorWorldHost::FadeOutSound(const char* name) { return m_world.FadeOutSound(name); }
void CZorWorldHost::SetWorldObjectListFilter(CWorldObj* object) { m_world.SetWorldObjectListFilter(object); }
void CZorWorldHost::SetAchtungWindow(int warning) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetAchtungWindow(warning);
}
bool CZorWorldHost::GetShowMicroZellen() { return m_world.GetShowMicroZellen(); }
double CZorWorldHost::GetPreis(int entry, int cls) { return CPreise::GetPreis(entry, cls); }
int CZorWorldHost::CheckForMoney(int amount) {
  CFinanzen* finanzen = m_world.GetFinanzen();
  return finanzen ? finanzen->CheckForMoney(amount) : 1;
}

int CZorWorldHost::GetWohnqualitaetMapXY(int x, int y) {
  CIndikatoren* indikatoren = m_world.GetIndikatoren();
  return indikatoren ? indikatoren->GetWohnqualitaetMapXY(x, y) : 0;
}

void CZorWorldHost::VarAddValue(const char* name, double value) {
  if (CDataExchange* exchange = m_world.GetDataExchange()) exchange->VarAddValue(name, value);
}

void CZorWorldHost::DestroyPLSObject(CBuildingParkingObject* parking) {
  // Only a car park that parking management still lists is alive: while
  // the world is taken down its car parks go before its streets.
  CParkManagement* management = m_world.GetParkManagement();
  CZorvaList* parkings = management ? management->GetList("PRM.PLACELIST") : nullptr;
  if (parking && parkings && parkings->CheckZorvaInList(parking) == 0) parking->DestroyPLSObject(false);
}

// ---- the micro simulation's host ----

bool CZorMicroHost::GetNextCarPicture(SMicroCarPicture& out) {
  CDataExchange* dx = m_world.GetDataExchange();
  if (!dx) return false;
  SCarResID pic{};
  if (dx->GetNextCarResID(dx->GetNextCarType(GetTurn()), &pic) == 0) return false;
  out.resId = pic.resId;
  for (int i = 0; i < 4; ++i) out.offsets[i] = pic.offsets[i];
  out.sprite = pic.sprite;
  out.sizeType = pic.sizeClass;
  return true;
}
void CZorMicroHost::AddCar(CCar* car) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->AddCar(car);
}
void CZorMicroHost::RemoveCar(CCar* car) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RemoveCar(car);
}
void CZorMicroHost::AddBus(CMicroOpnv* bus) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->AddBus(bus);
}
void CZorMicroHost::RemoveBus(CMicroOpnv* bus) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RemoveBus(bus);
}
QnoResourceManager* CZorMicroHost::GetResources() { return m_world.GetResourceManager(); }
CIsoWelt* CZorMicroHost::GetIsoWelt() { return m_world.GetIsoWelt(); }
bool CZorMicroHost::IsSoundVisible(int x, int y) {
  CIsoWelt* map = m_world.GetIsoWelt();
  CIsoInfo* info = map ? map->GetIsoInfo(x, y) : nullptr;
  return info && info->IsSoundVisible();
}
CStrJunctionList* CZorMicroHost::GetStreets() { return m_world.GetStreetNet(); }

// ---- the map's host ----

CWorldObj* CZorIsoHost::CreateObject(TObjectType kind) { return m_world.CreateObject(kind); }
CWorldObj* CZorIsoHost::CreateObjectEmpty() { return m_world.CreateObjectEmpty(); }
int CZorIsoHost::DestroyObject(CWorldObj* object, int mode) { return m_world.DestroyObject(object, mode); }
CWorldObj* CZorIsoHost::CreateObjectAt(TObjectType kind, int resId, CIsoRichtung direction, int x, int y) {
  return m_world.CreateObject(kind, resId, direction, x, y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
}
int CZorIsoHost::GetBaseResID(bool first) { return m_world.GetBaseResID(first); }
int CZorIsoHost::RemoveObject(int x, int y, TBaseType layer) { return m_world.RemoveObject(x, y, layer, false); }
CList* CZorIsoHost::GetObjectList() { return m_world.GetObjectList(); }

void CZorIsoHost::TurnMicroSim() {
  CStrJunctionList::TurnNetworksMicroSim(m_world.GetStreetNet(), m_world.GetRailNet());
}

void CZorIsoHost::PlaceVehicles() {
  CUserInt* ui = m_world.GetUserInt();
  CZorvaList* cars = ui ? ui->GetCarList() : nullptr;
  if (!cars) return;
  m_Placing.clear();
  // The list holds cars alone: a car enters it as it is made (AddCar takes
  // a car) and leaves it as it is destroyed.
  for (CZorvaPointer* n = cars->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    if (CZorvaObject* car = n->GetZorvaObject()) m_Placing.push_back(static_cast<CCar*>(car));
  CQnoMicroZelle::PlaceCars(m_Placing);
}

bool CZorIsoHost::IsExpoMode() {
  CGottModus* god = m_world.GetGottModus();
  return god && god->GetGameModus() == GAME_EXPO;
}

bool CZorIsoHost::GetBuildingFootprint(CWorldObj* object, IsoFootprint& footprint) {
  auto* building = dynamic_cast<CBuildingObject*>(object);
  if (!building) return false;
  footprint.x = building->GetXPos();
  footprint.y = building->GetYPos();
  footprint.width = building->GetXSize();
  footprint.depth = building->GetYSize();
  footprint.richtung = building->GetRichtung();
  footprint.type = building->GetType();
  return true;
}

int CZorIsoHost::GetLocationHeight(CWorldObj* object) {
  auto* building = dynamic_cast<CBuildingObject*>(object);
  return building ? building->GetHeight() : 0;
}

int CZorIsoHost::GetDistrictAt(int x, int y) {
  CUserInt* ui = m_world.GetUserInt();
  CBuildingObject* building = ui ? ui->GetBuildingAt(x, y, 0) : nullptr;
  return building ? building->GetDistrictID() : -1;
}

void CZorIsoHost::GetMarkedBuildings(std::vector<IsoFootprint>& out) {
  CUserInt* ui = m_world.GetUserInt();
  CBuildingList* list = ui ? ui->selObj.markedBuildings : nullptr;
  if (!list) return;
  list->SetupBuildingCount(0);
  IsoFootprint footprint;
  while (CBuildingObject* building = list->GetNextBuilding())
    if (GetBuildingFootprint(building, footprint)) out.push_back(footprint);
}

int CZorIsoHost::GetCatalogueResID(int row) { return CBuildingDataList::GetBuildingResIDByListNr(row); }
bool CZorIsoHost::IsCatalogueGroup(int row) { return CBuildingDataList::IsTGV(row); }

selObjType* CZorIsoHost::GetSelection() {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? &ui->selObj : nullptr;
}

int CZorIsoHost::GetFilter(int n) {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? ui->GetFilter(n) : 0;
}

bool CZorIsoHost::IsDebugInfo() { return CUserInt::m_ActivateDebugInfo != 0; }

unsigned char CZorIsoHost::GetTileMask(int x, int y) {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? ui->GetTileMask(x, y) : 0;
}

unsigned char CZorIsoHost::GetTileMask2(int x, int y) {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? ui->GetTileMask2(x, y) : 0;
}

bool CZorIsoHost::GetBuildSurfaceStatus() {
  CUserInt* ui = m_world.GetUserInt();
  return ui && ui->GetBuildSurfaceStatus();
}

void CZorIsoHost::GetMousePosition(int& x, int& y) {
  x = y = 0;
  if (CUserInt* ui = m_world.GetUserInt()) ui->GetMousePosition(x, y);
}

void CZorIsoHost::SetMousePosition(int x, int y) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetMousePosition(x, y);
}

void CZorIsoHost::ResetCursor() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ResetCursor();
}

void CZorIsoHost::BackupCursor() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->BackupCursor();
}

void CZorIsoHost::SetCursorID(int id, int state) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetCursorID(id, state);
}

void CZorIsoHost::RestoreCursor() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RestoreCursor();
}

void CZorIsoHost::RenderOpnvNet(QnoDisplay* display) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderOpnvNet(display);
}

bool CZorIsoHost::GetLineColor(COpnvLine* line, unsigned char& r, unsigned char& g, unsigned char& b) {
  if (!line) return false;
  line->GetColor(r, g, b);
  return true;
}

void CZorIsoHost::RenderOpnvLineStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderOpnvLineStreet(display, line, colour);
}

void CZorIsoHost::RenderOpnvLineHst(QnoDisplay* display, COpnvLine* line) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderOpnvLineHst(display, line);
}

void CZorIsoHost::UpdateViewFilter(int x, int y) { CViewFilter::Update(x, y); }
void CZorIsoHost::UpdateViewRect(const IsoViewRectType& rect) { CViewFilter::UpdateViewRect(rect); }

// ---- the interface controller's host ----

QnoResourceManager* CZorUiHost::GetResourceManager() { return m_world.GetResourceManager(); }
QnoDisplay* CZorUiHost::GetDisplay() { return m_world.GetDisplay(); }

int CZorUiHost::GetScreenWidth() {
  int w = 0, h = 0;
  m_world.GetWindowSizeXY(w, h);
  return w;
}

int CZorUiHost::GetScreenHeight() {
  int w = 0, h = 0;
  m_world.GetWindowSizeXY(w, h);
  return h;
}

bool CZorUiHost::IsReady() { return m_world.IsInputAccepted(); }
void CZorUiHost::ToggleLanguage() { m_world.ChangeLanguage(CZorvaWorld::m_Language == 1 ? 0 : 1); }

bool CZorUiHost::HasAdviceCentre() {
  CZorviZentrale* centre = m_world.GetZorviZentrale();
  return centre && centre->HasZentrale();
}

bool CZorUiHost::HasCarsharingCentre() {
  CCarsharing* carsharing = m_world.GetCarsharing();
  return carsharing && carsharing->HasZentrale();
}

const float* CZorUiHost::GetCarsharingMap(float* maximum) {
  CCarsharing* carsharing = m_world.GetCarsharing();
  *maximum = 0.0f;
  return carsharing ? carsharing->GetMap(maximum) : nullptr;
}

int CZorUiHost::CheckStreetForRemove(CWorldObj* street, int& x, int& y, int& width, int& depth) {
  return m_world.CheckStreetForRemove(dynamic_cast<CStreetObj*>(street), x, y, width, depth);
}

void CZorUiHost::CheckAllLocationsForNearestCrossing() { m_world.CheckAllLocationsForNearestCrossing(); }

void CZorUiHost::StreetNetChanged() {
  if (CDataExchange* exchange = m_world.GetDataExchange()) {
    exchange->DXCalc_StreetNetLength();
    exchange->DXCalc_RailNetLength();
  }
}

bool CZorUiHost::DebugKeysAllowed() { return m_world.DebugKeysAllowed(); }
bool CZorUiHost::IsGameStarted() { return m_world.GetStartupPhase() == 0 && !m_world.IsStartupWindow(); }

// The world's hold: set while a rating, a scenario's end or its task window
// holds the game.
int CZorUiHost::GetExpoHold() { return m_world.GetBlocked(); }

int CZorUiHost::GetGameModus() {
  CGottModus* god = m_world.GetGottModus();
  return god ? god->GetGameModus() : GAME_NORMAL;
}

// God mode decides: only a scenario whose task is still to be shown opens it.
void CZorUiHost::ShowAufgabeWindow() {
  if (CGottModus* god = m_world.GetGottModus()) god->ShowAufgabeWindow();
}

int CZorUiHost::AutoSaveGame() { return m_world.AutoSaveGame(true); }
int CZorUiHost::AutoLoadGame() { return m_world.AutoLoadGame(true); }
int CZorUiHost::CheckForLoadGame() { return m_world.CheckForLoadGame(); }
int CZorUiHost::LoadGame() { return m_world.LoadGame(); }
int CZorUiHost::SaveGame() { return m_world.SaveGame(); }
int CZorUiHost::ResetGame() { return m_world.ResetGame(); }
int CZorUiHost::MakeLoadSaveGamesFromDirectory(bool save) { return m_world.MakeLoadSaveGamesFromDirectory(nullptr, save); }
void CZorUiHost::SetObjectListFilter() { m_world.SetObjectListFilter(); }

void CZorUiHost::SetAchtungMessage(const char* text) {
  if (CMessage* message = m_world.GetMessage()) message->SetAchtungMessage(text);
}

void CZorUiHost::SetAchtungJaNeinText(const char* text) {
  if (CMessage* message = m_world.GetMessage()) message->SetAchtungJaNeinText(text);
}

bool CZorUiHost::GetMoney(double* value) {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange && exchange->GetVarData("F.KONTO", value) == 0;
}

void CZorUiHost::RenderIndikatoren(QnoDisplay* display) {
  if (CIndikatoren* indikatoren = m_world.GetIndikatoren()) indikatoren->Render(display);
}

const uint8_t* CZorUiHost::GetIndicatorCellMap(int n) {
  const CIndikatoren* indikatoren = m_world.GetIndikatoren();
  if (!indikatoren) return nullptr;
  switch (n) {
    case 1: return indikatoren->GetLaermMap();
    case 2: return indikatoren->GetEmmissionsMap();
    case 3: return indikatoren->GetWohnqualitaetMap();
    default: return nullptr;
  }
}

int CZorUiHost::GetPeople() {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange ? exchange->GetPeople() : 0;
}

void CZorUiHost::GetDate(int* month, int* year) {
  *month = *year = 0;
  if (CSimWelt* sim = m_world.GetSimWelt()) {
    const CSimDate date = sim->Date();
    *month = date.Month();
    *year = date.Year();
  }
}

// ---- the window toolkit's host ----

bool CZorGuiHost::IsWindowOpen(int id) {
  CUserInt* ui = m_world.GetUserInt();
  return ui && ui->IsWindowOpen(id) == 0;
}

void CZorGuiHost::AddToRenderList(CScreenWindow* window) {
  if (CUserInt* ui = m_world.GetUserInt(); ui && window) ui->InsertIntoRenderList(window, window->GetID());
}

void CZorGuiHost::RemoveFromRenderList(CScreenWindow* window) {
  if (CUserInt* ui = m_world.GetUserInt(); ui && window) ui->RemoveFromRenderList(window, window->GetID());
}

void CZorGuiHost::BringToFront(CScreenWindow* window) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->BringToFront(window);
}

int CZorGuiHost::GetYesNoWarningNumber() { return CUserInt::selObj.yesNoWarning; }
void CZorGuiHost::SetType13PressFlag() { CUserInt::selObj.itemTookClick = 1; }
bool CZorGuiHost::IsLeftButtonHeld() { return CUserInt::selObj.leftButton != 0; }

bool CZorGuiHost::IsTool(int tool, int subtool, int variant) {
  const selObjType& sel = CUserInt::selObj;
  return sel.tool == tool && sel.subtool == subtool && sel.variant == variant;
}

int CZorGuiHost::GetCurrentTool() { return CUserInt::selObj.tool; }
bool CZorGuiHost::IsPaused() { return CUserInt::selObj.pause != 0; }
bool CZorGuiHost::IsBottomPanelPinned() { return CUserInt::selObj.panelPinned != 0; }

bool CZorGuiHost::IsViewFilterOn(int filter) {
  CUserInt* ui = m_world.GetUserInt();
  return ui && ui->GetFilter(filter) != 0;
}

const char* CZorGuiHost::GetZorvaObjectName(int n) { return CUserInt::GetZorvaObjectName(n); }
const char* CZorGuiHost::GetGltText(int n) { return CUserInt::GetGltTexte(n); }

bool CZorGuiHost::GetIndicator(const char* name, double* value) {
  CDataExchange* exchange = m_world.GetDataExchange();
  double v = 0;
  if (!exchange || !name || exchange->GetVarData(name, &v) != 0) return false;
  *value = v;
  return true;
}

int CZorGuiHost::GetScreenWidth() {
  int w = 0, h = 0;
  m_world.GetWindowSizeXY(w, h);
  return w;
}

int CZorGuiHost::GetScreenHeight() {
  int w = 0, h = 0;
  m_world.GetWindowSizeXY(w, h);
  return h;
}

int CZorGuiHost::GetGameSpeed() { return m_world.GetGameSpeed(); }
void CZorGuiHost::SetGameSpeed(int v) { m_world.SetGameSpeed(v); }
void CZorGuiHost::PlayTutorialVideo() { m_world.PlayTutorialVideo(); }
void CZorGuiHost::StartTutorial() { m_world.StartTutorialFirstTime(); }

int CZorGuiHost::GetLoadSaveGameMode() {
  CGottModus* god = m_world.GetGottModus();
  return god ? god->m_ListingMode : GAME_NORMAL;
}

double CZorGuiHost::GetSimHour() {
  CSimWelt* sim = m_world.GetSimWelt();
  return sim ? sim->Date().Hour() : 5;
}

double CZorGuiHost::GetSimYear() {
  CSimWelt* sim = m_world.GetSimWelt();
  return sim ? sim->Date().FYear() : 0;
}

int CZorGuiHost::GetGameMode() {
  CGottModus* god = m_world.GetGottModus();
  return god ? god->GetGameModus() : GAME_NORMAL;
}

bool CZorGuiHost::IsDebugInfoOn() { return CUserInt::m_ActivateDebugInfo != 0; }
void CZorGuiHost::SetBlocked(bool on) { m_world.SetBlocked(on ? 1 : 0); }
int CZorGuiHost::AutoLoadGame() { return m_world.AutoLoadGame(false); }
int CZorGuiHost::AutoSaveGame() { return m_world.AutoSaveGame(false); }
void CZorGuiHost::SetPause(bool on) { m_world.SetPause(on); }

void CZorGuiHost::LeaveGame() {
  // A short pause before the frame loop stops lets the click that quit be heard.
  constexpr uint32_t kLeaveDelayMs = 300;
  kfx_Wait(kLeaveDelayMs);
  if (!Leave_Game) QNO_LOG("The game ends: the player left it");
  Leave_Game = 1;
}

void CZorGuiHost::SetDoLater(int action) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetDoLater(static_cast<DoLaterType>(action));
}

void CZorGuiHost::SetToolNr(int tool, int subtool, int variant) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetToolNr(tool, subtool, variant);
}

void CZorGuiHost::SetToolStandard() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetToolStandard();
}

void CZorGuiHost::DisableStandardMenues() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->DisableStandardMenues();
}

void CZorGuiHost::SetViewFilter(int filter, bool on) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetFilter(filter, on);
}

void CZorGuiHost::TurnBuilding(bool left) {
  CUserInt* ui = m_world.GetUserInt();
  if (!ui) return;
  if (left)
    ui->TurnBuildingLeft();
  else
    ui->TurnBuildingRight();
}

int CZorGuiHost::GetThematicMapLayer() {
  CUserInt* ui = m_world.GetUserInt();
  return ui && ui->GetTwoDMap() ? ui->GetTwoDMap()->GetFilter() : 0;
}

void CZorGuiHost::ThematicMapInput(QnoInteractionEvent* event, QnoView* view) {
  CUserInt* ui = m_world.GetUserInt();
  if (ui && ui->GetTwoDMap()) ui->GetTwoDMap()->InputFilter(event, view);
}

void CZorGuiHost::ChangeThematicMapFilter(int layer) {
  CUserInt* ui = m_world.GetUserInt();
  if (ui && ui->GetTwoDMap()) ui->GetTwoDMap()->ChangeFilter(layer);
}

void CZorGuiHost::ActivateTwoDMap(bool on) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ActivateTwoDMap(on);
}

void CZorGuiHost::RenderTwoDMap(QnoDisplay* display, int x, int y) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderTwoDMap(display, x, y);
}

void CZorGuiHost::RenderTwoDMapColorKey(QnoDisplay* display, int x, int y) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderTwoDMapColorKey(display, x, y);
}

void CZorGuiHost::RenderUmland(QnoDisplay* display, int x, int y) {
  if (CUmland* region = m_world.GetUmland()) region->Render(display, m_world.GetResourceManager(), x, y);
}

const float* CZorUiHost::GetRouteGuidanceMap() {
  CAktiveRoutenPlanung* guidance = m_world.GetAktiveRP();
  return guidance ? guidance->GetMap(nullptr) : nullptr;
}

bool CZorUiHost::GetQueryDistrict(int* x, int* y) {
  CSimWelt* sim = m_world.GetSimWelt();
  if (!sim || !sim->pCityModell()) return false;
  sim->pCityModell()->GetQueryDistrict(*x, *y);
  return true;
}

void CZorUiHost::SetQueryDistrict(int x, int y) {
  CSimWelt* sim = m_world.GetSimWelt();
  if (sim && sim->pCityModell()) sim->pCityModell()->SetQueryDistrict(x, y);
}

const float* CZorUiHost::GetStatisticMap(int layer, float* maximum) {
  CSimWelt* sim = m_world.GetSimWelt();
  CSimCityModell* city = sim ? sim->pCityModell() : nullptr;
  if (!city) return nullptr;
  city->UpdateStatisticMap(layer, *maximum);
  return city->GetPointerToStatisticMap(layer);
}

void CZorGuiHost::SetIsoCenter(int x, int y) {
  if (CIsoWelt* map = m_world.GetIsoWelt()) map->SetIsoCenter(x, y);
}

void CZorGuiHost::MarkBuildingAt(int x, int y) {
  CUserInt* ui = m_world.GetUserInt();
  CBuildingObject* building = ui ? ui->GetBuildingAt(x, y, 0) : nullptr;
  if (!building) return;
  selObjType& sel = ui->selObj;
  sel.listX = x;
  sel.listY = y;
  sel.listW = building->GetXSizeRichtung();
  sel.listH = building->GetYSizeRichtung();
  sel.listBlink = sel.listStart = kfx_GetTicks();
}

void CZorGuiHost::SetBalloonHelp(const char* text, int x, int y, int cost) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetBalloonHelp(text, x, y, cost);
}

void CZorGuiHost::SetAchtungWindow(int text) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetAchtungWindow(text);
}

void CZorGuiHost::TakeCredit(long amount) {
  if (CFinanzen* finanzen = m_world.GetFinanzen()) finanzen->TakeCredit(amount);
}

void CZorGuiHost::RepayCredit(long amount) {
  if (CFinanzen* finanzen = m_world.GetFinanzen()) finanzen->RepayCredit(amount);
}

void CZorGuiHost::PlayAbspannVideo() { m_world.PlayAbspannVideo(); }

void CZorGuiHost::ClearBuildingMarker() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ClearBuildingMarker();
}

void CZorGuiHost::SetAchtungWindowJaNein(int text, int followUpKind) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetAchtungWindowJaNein(text, followUpKind);
}

void CZorGuiHost::ToggleBottomPanelPinned() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ToggleLeisteFix();
}

void CZorGuiHost::SetLanguage(int language) { m_world.ChangeLanguage(language); }

int CZorGuiHost::GetGameSpeedMin() { return CZorvaWorld::GetGameSpeedMin(); }
int CZorGuiHost::GetGameSpeedMax() { return CZorvaWorld::GetGameSpeedMax(); }

void CZorGuiHost::SetGameMode(int mode) {
  if (CGottModus* god = m_world.GetGottModus()) god->SetGameModus(static_cast<EGameModus>(mode));
}

void CZorGuiHost::SetLoadSaveGameMode(int mode) {
  if (CGottModus* god = m_world.GetGottModus()) god->m_ListingMode = mode;
}

void CZorGuiHost::SetExpoModus(int mode) {
  if (CGottModus* god = m_world.GetGottModus()) god->SetExpoModus(mode);
}

void CZorGuiHost::SetExpoState(int state) {
  if (CGottModus* god = m_world.GetGottModus()) god->SetExpoState(state);
}

void CZorGuiHost::SetExpoTask(int task) {
  if (CGottModus* god = m_world.GetGottModus()) god->Expo_Bus_SetHstType(task);
}

void CZorGuiHost::SetExpoStreetType(int type) {
  if (CGottModus* god = m_world.GetGottModus()) god->Expo_Street_SetStreetType(type);
}

void CZorGuiHost::ExpoSetTimeRating() {
  if (CGottModus* god = m_world.GetGottModus()) god->Expo_SetTimeRating();
}

void CZorGuiHost::ExpoBusSetTakt(int headway) {
  if (CGottModus* god = m_world.GetGottModus()) god->Expo_Bus_SetTakt(headway);
}

void CZorGuiHost::ExpoRestart() { m_world.RequestExpoRestart(); }

bool CZorGuiHost::IsHotlineOn() { return m_world.GetEnvValue("WINDOWHOTLINE", 0) == 1; }
void CZorGuiHost::SetHotlineOn() { m_world.SetEnv("WINDOWHOTLINE", 1); }
int CZorGuiHost::GetEnvInt(const char* key, int defaultValue) { return m_world.GetEnvValue(key, defaultValue); }

int CZorGuiHost::GetMusicMode() {
  CSoundObj* sound = m_world.GetSoundObj();
  return sound ? sound->GetMusikMode() : 0;
}

void CZorGuiHost::SetMusicMode(int mode) {
  if (CSoundObj* sound = m_world.GetSoundObj()) sound->SetMusikMode(mode);
}
void CZorGuiHost::SetWindowMode(int mode) { m_world.SetWindowMode(mode, -1, -1); }
uint32_t CZorGuiHost::GetStartupTicks() { return m_world.GetStartupWindowTime(); }

void CZorGuiHost::MakeLoadSaveGamesFromDirectory(bool keepMode) { m_world.MakeLoadSaveGamesFromDirectory(nullptr, keepMode); }
void CZorGuiHost::ClearNameEntry() {
  m_world.ResetLoadSaveName();
  m_world.DeaktivateEingabe();
}
void CZorGuiHost::ClearNameInput() { m_world.ResetLoadSaveName(); }
void CZorGuiHost::SetNameInput(const char* text) { m_world.SetLoadSaveName(text); }
void CZorGuiHost::OpenNameInput(int cursor) { m_world.AktivateEingabeAt(cursor); }
const char* CZorGuiHost::GetNameInput(int* cursor, bool* open) {
  *cursor = m_world.GetEingabeBuchstaben();
  *open = m_world.IsEingabeAktiv();
  return m_world.GetLoadSaveName();
}
void CZorGuiHost::DeaktivateEingabe() { m_world.DeaktivateEingabe(); }
int CZorGuiHost::GetSaveGameCount() { return m_world.GetLoadSaveMaxName(); }
const char* CZorGuiHost::GetSaveSlotName(int slot) { return m_world.GetLoadSaveName(slot, false); }
void CZorGuiHost::SetSelectedLoadSaveName(int slot) { m_world.SetSelectedLoadSaveName(slot); }
int CZorGuiHost::GetSelectedLoadSaveName() { return m_world.GetSelectedLoadSaveName(); }
bool CZorGuiHost::CheckSelectedLoadSaveName() { return m_world.CheckSelectedLoadSaveName(); }
int CZorGuiHost::CheckForSaveGame() { return m_world.CheckForSaveGame(); }
int CZorGuiHost::CheckForLoadGame() { return m_world.CheckForLoadGame(); }
// The window asks for 0 when the game was deleted.
int CZorGuiHost::DeleteGame() { return m_world.DeleteGame() == 1 ? 0 : 1; }
uint32_t CZorGuiHost::GetTicksAfterLoad() { return CZorvaWorld::m_TicksAfterLoad; }
void CZorGuiHost::PlaySound(const char* name) { m_world.AddSound(name, 0); }

bool CZorGuiHost::GetPictureSize(int id, int* w, int* h) {
  QnoBitmap* picture = id > 0 ? QnoBitmap::FromResource(m_world.GetResourceManager(), static_cast<unsigned>(id))
                              : nullptr;
  if (!picture) return false;
  *w = picture->GetSizeX();
  *h = picture->GetSizeY();
  return true;
}

void CZorGuiHost::VarAddValue(const char* name, double value) {
  if (CDataExchange* exchange = m_world.GetDataExchange(); exchange && name) exchange->VarAddValue(name, value);
}

void CZorGuiHost::SetAdviser(int adviser) {
  if (CDataExchange* exchange = m_world.GetDataExchange()) exchange->SetBerater(adviser);
}

void CZorGuiHost::SetDataExchangeSelection(int value) {
  if (CDataExchange* exchange = m_world.GetDataExchange()) exchange->SetStatistik(value);
}

void CZorGuiHost::UpdateMeasurePageHints() { m_world.UpdateMeasurePageHints(); }

int CZorGuiHost::GetStreet24hLoad(int direction, int hour) {
  if (direction < 0 || direction > 1 || hour < 0 || hour > 23) return -1;
  return CUserInt::selObj.streetLoad[direction][hour];
}

void CZorGuiHost::ClearSelectedStreet() {
  CUserInt::selObj.selectedStreet = nullptr;
  CUserInt::selObj.selectedStreetId = 0;
}

void CZorGuiHost::ClearSelectedCrossing() {
  CUserInt::selObj.selectedCrossing = nullptr;
  CUserInt::selObj.selectedCrossingId = -1;
}

bool CZorGuiHost::GetSelectedCrossingLights(int* lights) {
  CWorldObj* crossing = CUserInt::selObj.selectedCrossing;
  double value = 0;
  if (!crossing || !lights || crossing->GetVarData("KR.AMPEL", &value) != 0) return false;
  *lights = static_cast<int>(value);
  return true;
}

// Closing the warning window takes away the highlight of the building that a
// refused street removal would have cut off.
void CZorGuiHost::ClearWarningHighlight() {
  selObjType& sel = CUserInt::selObj;
  sel.importantX = sel.importantY = sel.importantW = sel.importantH = -1;
  sel.importantUntil = 0;
}

void CZorGuiHost::SetLineReopenWindow(int id) { CUserInt::selObj.reopenWindow = id; }

short CZorLocationHost::GetNearestCrossing(int x, int y, short excluded) {
  return m_world.GetNearestCrossing(x, y, nullptr, excluded);
}

int CZorLocationHost::RegisterLocationAtCrossing(CSimLocation* location, short crossing) {
  return m_world.RegisterLocationAtCrossing(location, crossing);
}

int CZorLocationHost::RemoveLocationFromCrossing(short crossing, CSimLocation* location) {
  return m_world.RemoveLocationFromCrossing(crossing, location);
}

// Public transport's search around the building's cells; it reports the
// single nearest stop, so the count is 0 or 1.
int CZorLocationHost::FindNearestHst(int x, int y, int xSize, int ySize, int radius, int most, short* ids,
                                     int* distances) {
  if (most <= 0) return 0;
  unsigned char found = 0;
  const int result =
      m_world.FindNearestHst(static_cast<short>(x), static_cast<short>(y), static_cast<short>(xSize),
                             static_cast<short>(ySize), radius, static_cast<unsigned char>(std::min(most, 255)), ids,
                             distances, &found);
  return result == 0 ? std::min<int>(found, most) : 0;
}

bool CZorLocationHost::HasMap() { return m_world.GetIsoWelt() != nullptr; }

TObjectType CZorLocationHost::GetTypeAt(int x, int y) {
  CIsoWelt* map = m_world.GetIsoWelt();
  if (!map || x < 0 || y < 0 || x > 127 || y > 127) return OBJ_NONE;
  return map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
}

CSimLocation* CZorLocationHost::GetLocationAt(int x, int y) {
  CIsoWelt* map = m_world.GetIsoWelt();
  if (!map || x < 0 || y < 0 || x > 127 || y > 127) return nullptr;
  CWorldObj* object = map->GetIsoTileObject(x, y, ISO_LAYER_GROUND);
  return object ? object->GetSimLocation() : nullptr;
}

int CZorLocationHost::SearchEmptySpaceFor(TObjectType kind, CSimLocation* lot, int resId, ESimLocationHeight height,
                                          CLocationListT<CSimLocation>* replaced, TIsoRichtung* direction, int* x,
                                          int* y) {
  return m_world.SearchEmptySpaceFor(kind, lot, resId, height, replaced, direction, x, y);
}

int CZorLocationHost::RemoveObjectAt(int x, int y) { return m_world.RemoveObject(x, y, ISO_LAYER_GROUND, false); }

CWorldObj* CZorLocationHost::CreateBuilding(TObjectType kind, int resId, TIsoRichtung direction, int x, int y) {
  return m_world.CreateObject(kind, resId, CIsoRichtung(direction), x, y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
}

int CZorLocationHost::CheckLocationForStreetDistance(CSimLocation* location, int distance,
                                                     SimLocationSizeType* size) {
  return m_world.CheckLocationForStreetDistance(location, distance, size);
}

bool CZorLocationHost::CheckResComIndForOnlyOne(TObjectType kind, CSimLocation* location,
                                                ESimLocationHeight height) {
  return m_world.CheckResComIndForOnlyOne(kind, location, height);
}
