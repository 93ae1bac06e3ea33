// The world's construction, start-up and shutdown in their fixed orders.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/zor_list.h"
#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/miet_micro.h"
#include "measures/opnv.h"
#include "world/zor_debug_host.h"
#include "world/zor_measure_host.h"
#include "world/zor_opnv_host.h"
#include "world/zor_parking_host.h"
#include "world/zor_message_host.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/preise.h"
#include "measures/pta.h"
#include "measures/traffic_display.h"
#include "measures/umland.h"
#include "microsim/micro_simulation.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"
#include "world/zor_startup_tables.h"
#include "model/zor_var.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "gui/dialog_selection_list.h"
#include "windows/selection_list_rows.h"
#include "windows/window_builders.h"
#include "world/zor_growth_context.h"
#include "world/zor_sound.h"
#include "world/zor_world.h"
#include "world/zor_expo_host.h"
#include "microsim/micro_host.h"
#include "world/zor_world_hosts.h"
#include "world/zor_sim_parts.h"
#include "worldbase/zor_world_obj.h"

#include <SDL_mixer.h>

char CZorvaWorld::m_sIniFile[400] = "ZORVANTA.INI";
int CZorvaWorld::m_Language = 0;
CZorvaWorld* CZorvaWorld::m_pThis = nullptr;
QnoDisplay* CZorvaWorld::m_pDisplay = nullptr;
QnoView* CZorvaWorld::m_pView = nullptr;
int CZorvaWorld::m_LoadGame = 0;
unsigned char CZorvaWorld::m_RenderEmpty = 1;

namespace {

[[noreturn]] void ZorStartupFailure(const char* first, const char* second) {
  std::printf("%s\n%s\n", first, second);
  std::fflush(stdout);
  zor_fatal_exit(1);
}

// The three screen sizes chosen by their width; false for any other width.
bool ZorStandardScreen(int mode, int& width, int& height) {
  switch (mode) {
    case 640: width = 640; height = 480; return true;
    case 800: width = 800; height = 600; return true;
    case 1024: width = 1024; height = 768; return true;
    default: return false;
  }
}

// SDL's X11 driver opens the display once to see that it is there, closes
// it and opens it again to keep. When the game is the display's only
// client, that first close lets the X server reset itself, and the second
// open can come while it does ("Couldn't open X11 display") though a start
// a moment later works. So the start is tried a few times, a pause apart.
// With a display named and no driver chosen, only X11 will do: when the
// display cannot be reached SDL would otherwise go on to the next driver it
// knows, down to one that draws the game as text into the terminal.
constexpr int kVideoStartTries = 5;
constexpr uint32_t kVideoStartPauseMs = 400;

bool ZorStartVideo() {
  const char* display = std::getenv("DISPLAY");
  if (!std::getenv("SDL_VIDEODRIVER") && display && *display) setenv("SDL_VIDEODRIVER", "x11", 0);
  for (int attempt = 1; attempt <= kVideoStartTries; ++attempt) {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    QNO_LOG("Video start %d of %d failed: %s", attempt, kVideoStartTries, SDL_GetError());
    if (attempt < kVideoStartTries) SDL_Delay(kVideoStartPauseMs);
  }
  return false;
}

void ZorCleanExit() {
  Mix_CloseAudio();
  SDL_Quit();
}

}  // namespace

CZorvaWorld::CZorvaWorld() {
  Overlay::m_pWorld = this;
  m_env.Reset();
  LoadEnvFromIni(m_sIniFile);
  QNO_LOG("Constructor this=%p.\n", static_cast<void*>(this));
  m_pResourceManager = new QnoResourceManager;
  if (m_pResourceManager->Create() != 0) {
    QNO_LOG("Couldnt new ResourceManager/create error");
    zor_fatal_exit(1);
  }
  SetThis();
  m_Language = 0;
  m_StartupWindowTime = kfx_GetTicks();
  m_GameSpeed = GetEnvValue("GAMESPEED", 12000);
  const int language = GetEnvValue("LANGUAGE", 0);
  m_Language = language == 1 ? 1 : 0;
}

CZorvaWorld::~CZorvaWorld() {
  QNO_LOG("Destructor this=%p.\n", static_cast<void*>(this));
  if (m_pResourceManager) {
    m_pResourceManager->Destroy();
    delete m_pResourceManager;
    m_pResourceManager = nullptr;
    ResetEnvDescription();
    if (m_pGroundObject) {
      m_pGroundObject->Destroy();
      delete m_pGroundObject;
      m_pGroundObject = nullptr;
    }
  } else {
    QNO_LOG("ResourceManager not initialized");
  }
  if (m_pThis == this) {
    m_pThis = nullptr;
    CWorldHost::Install(nullptr);
    CUiHost::Install(nullptr);
    ZorInstallDebugHost(nullptr);
    CGuiHost::Install(nullptr);
    CMicroSimHost::Install(nullptr);
    COpnvHost::Install(nullptr);
    CMeasureHost::Install(nullptr);
  }
  delete m_pHost;
  delete m_pMicroHost;
  delete m_pIsoHost;
  delete m_pLocationHost;
  delete m_pGrowthContext;
  delete m_pExpoHost;
  m_pExpoHost = nullptr;
  delete m_pMessageHost;
  delete m_pUiHost;
  delete m_pGuiHost;
  delete m_pOpnvHost;
  delete m_pMeasureHost;
  if (Overlay::m_pWorld == this) Overlay::m_pWorld = nullptr;
}

CSimLocationHost* CZorvaWorld::GetLocationHost() {
  if (!m_pLocationHost) m_pLocationHost = new CZorLocationHost(*this);
  return m_pLocationHost;
}

CIsoHost* CZorvaWorld::GetIsoHost() {
  if (!m_pIsoHost) m_pIsoHost = new CZorIsoHost(*this);
  return m_pIsoHost;
}

void CZorvaWorld::SetThis() {
  m_pThis = this;
  if (!m_pHost) m_pHost = new CZorWorldHost(*this);
  CWorldHost::Install(m_pHost);
  if (!m_pUiHost) m_pUiHost = new CZorUiHost(*this);
  CUiHost::Install(m_pUiHost);
  ZorInstallDebugHost(this);
  if (!m_pGuiHost) m_pGuiHost = new CZorGuiHost(*this);
  CGuiHost::Install(m_pGuiHost);
  if (!m_pMicroHost) m_pMicroHost = new CZorMicroHost(*this);
  CMicroSimHost::Install(m_pMicroHost);
  if (!m_pOpnvHost) m_pOpnvHost = new CZorOpnvHost(*this);
  COpnvHost::Install(m_pOpnvHost);
  if (!m_pMeasureHost) m_pMeasureHost = new CZorMeasureHost(*this);
  CMeasureHost::Install(m_pMeasureHost);
}

int CZorvaWorld::Create() {
  QNO_LOG("this=%p.\n", static_cast<void*>(this));
  SetThis();
  m_CalculatedPending = 0;
  // No key yet: the guard after a Return holds nothing back.
  m_TicksLastKey = kfx_GetTicks() - 1000u;
  m_TicksAfterLoad = 0;
  m_pObjectList = new CList;
  m_pObjectList->Create(false, 0);
  return 0;
}

int CZorvaWorld::OnStartup() {
  zor_srandom(ZorStartupSeed());
  QNO_LOG("this=$%p.\n", static_cast<void*>(this));
  if (OpenWadFiles() != 0) ZorStartupFailure("Could not Find Date Files", "Programm terminates");

  m_pSoundObj = NewSoundObj();
  m_pSoundObj->Create();

  int width = 800, height = 600;
  if (OpenDisplay(width, height) != 0) ZorStartupFailure("Could not open X11 Display", "Programm terminates");

  QNO_LOG("Error Handler");
  if (InterpretIniFile() != 0) {
    QNO_LOG("Ini Read Error");
    ZorStartupFailure("Could not open ZORVANTA.INI", "Programm terminates");
  }
  m_StartupPhase = 4;

  m_pPreise = CPreise::SetPreise();
  m_pMessage = NewMessage();

  m_pSimWelt = NewSimWelt();
  m_pLocationFactory = NewLocationFactory();
  NewCreatePureZorvaObjects();
  m_pDataExchange = NewDataExchange();
  m_pIndikatoren->Attach(m_pMessage, m_pDataExchange);
  m_pStadtVerwaltung->Attach(m_pDataExchange);
  CVar::varDataExchange = m_pDataExchange;
  if (!m_pGrowthContext) m_pGrowthContext = new CZorGrowthContext(*this);
  m_pDataExchange->SetGrowthContext(m_pGrowthContext);
  RegisterVarOwners();

  m_pLocationFactory->Create(this, m_pSimWelt);
  m_pLocationFactory->SetHost(GetLocationHost());
  m_LoadGame = 1;
  // The hours need the whole cause-effect network: a game without it would
  // run on with a broken model, so start-up ends here instead.
  if (!m_pSimWelt->Create(m_pLocationFactory)) {
    QNO_LOG("The demand simulation could not be created, error %d (see sim.err)", SimLastError());
    ZorStartupFailure("Could not read the traffic model", "Programm terminates");
  }
  m_LoadGame = 0;
  m_pDataExchange->SetCyberNet(m_pSimWelt->pCyberNet());

  m_pIsoWelt = NewIsoWelt();
  CBuildingDataList::SetResourceManager(m_pResourceManager);

  m_pStreetNet = NewStreetNet();
  m_pStreetNet->Create();
  m_pRailNet = NewRailNet();
  m_pRailNet->Create();
  m_pStreetNet->SetRailNet(m_pRailNet);
  if (m_pOpnv) m_pOpnv->SetNetworks(m_pStreetNet, m_pRailNet);

  m_pUserInt = NewUserInt();
  m_builder = CWindowBuilder(m_pUserInt);
  m_builder.SetRootListener([](CScreenWindow* root) { CUserInt::topWindow = root; });
  // Dialogs of the list kinds become scrolling lists with the game's rows.
  m_builder.SetSelectionListFactory(
      [](EDialogType) -> CDialog* { return new CDialogSelectionList(CZorvaListRows::Get()); });
  m_pUserInt->OnCreate(m_pResourceManager, m_pDisplay, this, m_pIsoWelt, m_pStreetNet);

  m_pMicroSim = NewMicroSim();
  m_pMicroSim->Create();

  m_builder.ResetCursors();
  // Window variables start unbound; a name that is an object of the data
  // exchange is no variable.
  m_builder.SetVarFactory([](EVarType type, const char* name) -> CWindowVar* {
    auto* var = new CVar;
    var->Create(type, name, static_cast<CVarOwner*>(nullptr));
    return var;
  });
  m_builder.SetObjectLookup([](const char* name) {
    return CVar::varDataExchange && name && CVar::varDataExchange->GetObjectByName(name) != nullptr;
  });
  InitializeTools();
  m_IsCC = 0;
  QNO_LOG("CC false");

  CZorvaWindows(m_builder).AddAll();
  CUserInt::topWindow = m_builder.GetTopWindow();
  m_pMessage->SetWindowTree(CUserInt::topWindow);

  m_pGottModus = NewGottModus();
  m_pGottModus->Attach(m_pDataExchange, m_pGrowthContext);
  if (!m_pExpoHost) m_pExpoHost = new CZorExpoHost(*this);
  m_pGottModus->AttachExpo(m_pExpoHost);
  m_pFinanzen->SetGottModus(m_pGottModus);
  m_pUserInt->SetAufloesung(width, height);

  QNO_LOG("BVORESTARTUPBAS SCRIPTOK!");
  m_pUserInt->LoadFromArchive(1248);
  QNO_LOG("AFTER STARTUPBAS SCRIPTOK!");

  m_pDataExchange->Create(this, m_pSimWelt, m_pUserInt, m_pObjectList);
  QNO_LOG("Dataexchange AFTER Create!");

  m_pStatistik = NewStatistik();
  m_pStatistik->Attach(m_pDataExchange, &m_pOpnv);
  m_pStatistik->ChangeLanguage(m_Language);
  QNO_LOG("AFTER STAtistik OK!");
  QNO_LOG("before SetwindowObjects!");
  SetWindowObjects();
  QNO_LOG("after Window Objects!");
  QNO_LOG("Before 3INI Error");
  QNO_LOG("Before 3INI Error");

  if (GetEnvValue("EXPO", 0) != 0) {
    m_pGottModus->m_ListingMode = GAME_EXPO;
    ExpoStart();
    m_pGottModus->Expo_Set_Ticks_Timeout_Auswertung(GetEnvValue("TIMEOUT", 0), GetEnvValue("RATING", 0) * 1000);
  }

  m_InputAccepted = 1;

  ResetMessagesKeepingWarning(60);
  m_pMessage->SetBeraterZielMessage();
  m_pIndikatoren->SetStandardMessage();
  m_pIndikatoren->UpdateMaps();
  m_pUserInt->SetSceneWindowDisplaySize(width, height);
  return 0;
}

int CZorvaWorld::OpenWadFiles() {
  const char* wadPath = GetEnvValue("WADPATH", "");
  GetEnvValue("CDPATH", "");
  QNO_LOG("Zorvanta Version 2.00 vom 22.8.2003");
  for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
    char path[400];
    QnoMakeValidPathname(wadPath, name, ".GLA", path, sizeof path);
    if (m_pResourceManager->AddWadFile(path) != 0) {
      QNO_LOG("Unable to open file %s", path);
      return 1;
    }
  }
  return 0;
}

int CZorvaWorld::OpenDisplay(int& width, int& height) {
  width = 800;
  height = 600;
  m_ScreenWidth = width;
  m_ScreenHeight = height;
  const bool fullScreen = GetEnvValue("FULLSCREEN", 0) == 0;
  const bool hardware = GetEnvValue("HARDWARE", 0) == 0;
  GetEnvValue("SELECTDRIVER", 1);
  GetEnvValue("DRIVERNR", 0);
  const int mode = GetEnvValue("AUFLOESUNG", 800);
  if (!ZorStandardScreen(mode, width, height)) {
    const int fx = GetEnvValue("AUFLOESUNGX", 0);
    const int fy = GetEnvValue("AUFLOESUNGY", 0);
    if (fx >= 1 && fy >= 1) {
      width = fx;
      height = fy;
    }
  }
  QnoView* view = OpenView(width, height, 16, fullScreen, hardware);
  if (!view) {
    QNO_LOG("Unable to open view!");
    return 1;
  }
  m_pView = view;
  m_pDisplay = view->GetDisplay();
  width = m_pDisplay->GetScreenWidth();
  height = m_pDisplay->GetScreenHeight();
  m_ScreenWidth = width;
  m_ScreenHeight = height;
  SetEnv("FULLSCREEN", fullScreen ? 0 : 1);
  SetEnv("HARDWARE", hardware ? 0 : 1);
  SetEnv("AUFLOESUNG", width);
  SetEnv("AUFLOESUNGX", width);
  SetEnv("AUFLOESUNGY", height);
  return 0;
}

static void ZorOpenAudio(CSoundObj* sound) {
  if (sound) sound->OpenAudio();
}

QnoView* CZorvaWorld::OpenView(int width, int height, int bits, bool fullScreen, bool hardware) {
  if (!ZorStartVideo()) {
    QNO_LOG("Couldn\xB4t start KFX_Video.lib.");
    ZorStartupFailure("Unable to start X11 or svga with the KFX_Video.lib",
                      "Please start ZORVANTA from within your X-Server");
  }
  m_sdlStarted = true;
  // Key presses report the character they type on the player's keyboard.
  SDL_EnableUNICODE(1);
  // The audio device is opened separately so that a missing one only
  // silences the game.
  SDL_InitSubSystem(SDL_INIT_AUDIO);
  ZorOpenAudio(m_pSoundObj);
  static bool registered = false;
  if (!registered) {
    std::atexit(ZorCleanExit);
    registered = true;
  }
  m_LastTurnTicks = kfx_GetTicks();
  auto* view = new QnoView;
  m_pScreen = view->OpenScreen(this, width, height, fullScreen, hardware);
  if (!m_pScreen) {
    QNO_LOG("Videomode initialization %ix%i %i bit colours failed", width, height, bits);
    delete view;
    return nullptr;
  }
  QNO_LOG("PixelPointer: %p", m_pScreen->pixels);
  if (GetEnvValue("SDLMOUSE", 0) == 0) SDL_ShowCursor(0);
  return view;
}

bool CZorvaWorld::ReOpenView(int width, int height, int, bool fullScreen, bool hardware) {
  if (m_pSoundObj && m_pSoundObj->GetSoundInstall()) m_pSoundObj->CloseAudio();
  // SDL_Quit frees the screen surface: nothing may draw into it any more,
  // whatever happens next.
  if (m_pDisplay && m_pDisplay->GetRenderBuffer()) m_pDisplay->GetRenderBuffer()->SetSurface(nullptr);
  m_pScreen = nullptr;
  SDL_Quit();
  if (!ZorStartVideo()) {
    QNO_LOG("Couldn\xB4t start KFX_Video.lib.");
    return false;
  }
  SDL_EnableUNICODE(1);
  SDL_InitSubSystem(SDL_INIT_AUDIO);
  if (m_pView) {
    m_pScreen = OpenScreenSurface(width, height, fullScreen, hardware);
    if (!m_pScreen) QNO_LOG("Videomode initialization %ix%i %i bit colours failed", width, height, 16);
    m_pDisplay = m_pView->GetDisplay();
  }
  if (GetEnvValue("SDLMOUSE", 0) == 0) SDL_ShowCursor(0);
  ZorOpenAudio(m_pSoundObj);
  return m_pScreen != nullptr;
}

SDL_Surface* CZorvaWorld::OpenScreenSurface(int width, int height, bool fullScreen, bool hardware) {
  return m_pView ? m_pView->OpenScreen(this, width, height, fullScreen, hardware) : nullptr;
}

void CZorvaWorld::ApplyScreenSize(int width, int height) {
  m_ScreenWidth = width;
  m_ScreenHeight = height;
  if (m_pDisplay) m_pDisplay->ResizeWindow(width, height);
  if (m_pUserInt) m_pUserInt->SetAufloesung(width, height);
}

int CZorvaWorld::SetWindowMode(int mode, int width, int height) {
  if (mode >= 0 && !ZorStandardScreen(mode, width, height)) {
    width = 800;
    height = 600;
  }
  const int oldWidth = m_ScreenWidth, oldHeight = m_ScreenHeight;
  const bool fullScreen = GetEnvValue("FULLSCREEN", 0) == 0;
  const bool hardware = GetEnvValue("HARDWARE", 0) == 0;
  ApplyScreenSize(width, height);
  if (mode < 0 && m_pIsoWelt) m_pIsoWelt->RefreshAfterModeChange();
  int result = 0;
  if (!ReOpenView(width, height, 16, fullScreen, hardware)) {
    // The mode that worked comes back, and the settings keep it; without
    // any screen the game cannot go on.
    QNO_LOG("Screen mode %ix%i failed, back to %ix%i", width, height, oldWidth, oldHeight);
    width = oldWidth;
    height = oldHeight;
    ApplyScreenSize(width, height);
    if (!ReOpenView(width, height, 16, fullScreen, hardware))
      ZorStartupFailure("Could not open X11 Display", "Programm terminates");
    result = 1;
  }
  if ((mode >= 0 || result != 0) && m_pIsoWelt) m_pIsoWelt->RefreshAfterModeChange();
  SetEnv("AUFLOESUNG", width);
  SetEnv("AUFLOESUNGX", width);
  SetEnv("AUFLOESUNGY", height);
  if (m_pUserInt) m_pUserInt->SetSceneWindowDisplaySize(width, height);
  return result;
}

int CZorvaWorld::GetWindowMode() const {
  if (m_ScreenWidth == 800) return 0;
  if (m_ScreenWidth == 1024) return 2;
  return 1;
}

int CZorvaWorld::InterpretIniFile() {
  QNO_LOG("Before 1INI Error");
  if (!m_pSoundObj) return 1;
  m_pSoundObj->ApplySettings();
  m_MicroTest = GetEnvValue("MICROTEST", 0);
  return 0;
}

// The fixed tables of the game: the ground, the map's cells, the street
// types, the building catalogue and the tools' cursors and names.
int CZorvaWorld::InitializeTools() {
  for (int id : {10538, 10539, 10540, 10541, 10542, 10543, 10544, 10545, 10547, 39640, 39641, 39642, 39643})
    AddBase(id);
  for (const ToolRow& t : kTools) CUserInt::DefineTool(t.tool, t.subtool, t.cursorResId, t.name);
  if (m_pIsoWelt) m_pIsoWelt->OnCreate();
  for (const StreetTypeRow& t : kStreetTypes)
    DefineStreet(t.type, t.straight, 0, t.bend, 0, t.crossing, 0, t.tJunction, 0, t.end, 0, t.capacity);
  // A world started again in the same run builds its catalogue afresh.
  CBuildingDataList::ClearRows();
  for (const CatalogueRow& r : kCatalogue) {
    const int* c = r.capacity;
    DefineTileGroup(r.resId, r.objectType, r.kind, r.graphic, c[0], c[1], c[2], c[4], c[3], c[5], c[6], c[7], 0,
                    r.sizeClass, 0);
  }
  return 0;
}

int CZorvaWorld::DefineTileGroup(int resId, int objectType, int kind, int graphic, int f1, int f2, int f3, int f5,
                                 int f4, int f6, int f7, int f8, int f9, int sizeClass, int) {
  PotentialType p;
  p.height = static_cast<uint16_t>(sizeClass);
  p.resId = resId;
  p.objectType = objectType;
  p.graphic = graphic;
  p.locationType = kind;
  // A single tile covers one cell; only a group resource states a size.
  if (m_pIsoWelt) {
    if (graphic == 2)
      m_pIsoWelt->GetTileSize(p.size, resId);
    else
      m_pIsoWelt->GetGroupSize(p.size, resId);
  }
  const int fields[PotentialType::kFields] = {f1, f2, f3, f4, f5, f6, f7, f8, f9};
  for (int i = 0; i < PotentialType::kFields; ++i) p.SetField(i, static_cast<uint16_t>(fields[i]));
  p.SetField(3, static_cast<uint16_t>(CBuildingDataList::MakeWorkFromData(&p)));
  p.SetField(5, static_cast<uint16_t>(CBuildingDataList::MakeLeisureFromData(&p)));
  return CBuildingDataList::AddBuildingPotential(&p);
}

void CZorvaWorld::NewCreatePureZorvaObjects() {
  m_pAktiveRP = NewAktiveRP();
  m_pCarsharing = NewCarsharing();
  m_pFinanzen = NewFinanzen();
  m_pIndikatoren = NewIndikatoren();
  m_pIndikatoren->Attach(m_pMessage, m_pDataExchange);
  m_pMietMicro = new CMietMicro;
  m_pZorviZentrale = NewZorviZentrale();
  m_pOpnv = NewOpnv();
  m_pParkRide = NewParkRide();
  m_pPassiveRP = NewPassiveRP();
  m_pPta = NewPta();
  m_pParkManagement = NewParkManagement();
  if (!m_pParkingHost) m_pParkingHost = new CZorParkingHost(this);
  m_pParkManagement->SetHost(m_pParkingHost);
  m_pStadtVerwaltung = NewStadtVerwaltung();
  m_pTrafficDisplay = new CTrafficDisplay;
  m_pUmland = NewUmland();
  m_pAktiveRP->Create();
  m_pCarsharing->Create();
  m_pFinanzen->Create();
  m_pIndikatoren->Create();
  m_pMietMicro->Create();
  m_pZorviZentrale->Create();
  m_pOpnv->Create();
  m_pParkRide->Create();
  m_pPassiveRP->Create();
  m_pPta->Create();
  m_pParkManagement->Create();
  m_pStadtVerwaltung->Create(m_pFinanzen);
  m_pStadtVerwaltung->Attach(m_pDataExchange);
  m_pTrafficDisplay->Create();
  m_pUmland->Create();
  RegisterVarOwners();
}

void CZorvaWorld::RegisterVarOwners() {
  if (!m_pDataExchange) return;
  // In the data exchange's routing order.
  CWorldObj* owners[] = {m_pIndikatoren,   m_pOpnv,      m_pPta,            m_pFinanzen,    m_pParkRide,
                         m_pParkManagement, m_pUmland,    m_pStadtVerwaltung, m_pMietMicro,   m_pZorviZentrale,
                         m_pCarsharing,    m_pTrafficDisplay, m_pAktiveRP,   m_pPassiveRP};
  static_assert(sizeof owners / sizeof owners[0] == 14);
  for (int i = 0; i < CDataExchange::GetRouteCount(); ++i)
    m_pDataExchange->RegisterOwner(CDataExchange::GetRoutePrefix(i), owners[i]);
}

template <class T>
static void ZorDestroyDelete(T*& object) {
  if (!object) return;
  object->Destroy();
  delete object;
  object = nullptr;
}

void CZorvaWorld::DestroyDeletePureZorvaObjects() {
  CWorldObj* order[] = {m_pAktiveRP, m_pCarsharing, m_pFinanzen,      m_pIndikatoren,    m_pMietMicro,
                        m_pZorviZentrale, m_pOpnv, m_pParkRide,       m_pPassiveRP,      m_pParkManagement,
                        m_pPta,       m_pStadtVerwaltung, m_pTrafficDisplay, m_pUmland};
  for (CWorldObj* o : order)
    if (o) o->Destroy();
  for (CWorldObj* o : order) delete o;
  m_pAktiveRP = nullptr;
  m_pCarsharing = nullptr;
  m_pFinanzen = nullptr;
  m_pIndikatoren = nullptr;
  m_pMietMicro = nullptr;
  m_pZorviZentrale = nullptr;
  m_pOpnv = nullptr;
  m_pParkRide = nullptr;
  m_pPassiveRP = nullptr;
  m_pParkManagement = nullptr;
  delete m_pParkingHost;
  m_pParkingHost = nullptr;
  m_pPta = nullptr;
  m_pStadtVerwaltung = nullptr;
  m_pTrafficDisplay = nullptr;
  m_pUmland = nullptr;
  RegisterVarOwners();
}

int CZorvaWorld::OnShutdown() {
  QNO_LOG("Destructor this=%p.\n", static_cast<void*>(this));
  ZorDestroyDelete(m_pSoundObj);
  return 0;
}

int CZorvaWorld::Destroy() {
  QNO_LOG("Destructor this=%p.\n", static_cast<void*>(this));
  WaitForSave();
  if (m_pOpnv) m_pOpnv->RemoveAllLineBeforeLoadExit();
  delete m_pGottModus;
  m_pGottModus = nullptr;
  if (m_pUserInt) m_pUserInt->ResetBeforeLoad(m_pStreetNet);
  CViewFilter::Deactivate();
  if (m_pSimWelt) m_pSimWelt->ReleaseAgents();
  DestroyObjectList(1);
  delete m_pStatistik;
  m_pStatistik = nullptr;
  ZorDestroyDelete(m_pLocationFactory);
  DestroyDeletePureZorvaObjects();
  ZorDestroyDelete(m_pStreetNet);
  ZorDestroyDelete(m_pRailNet);
  ZorDestroyDelete(m_pMicroSim);
  DestroyObjectList(0);
  delete m_pIsoWelt;
  m_pIsoWelt = nullptr;
  ZorDestroyDelete(m_pObjectList);
  ZorDestroyDelete(m_pSimWelt);
  delete m_pSimParts;
  m_pSimParts = nullptr;
  // The interface destroys the window tree it was handed.
  if (m_pUserInt && CUserInt::topWindow == m_builder.GetTopWindow()) m_builder.SetTopWindow(nullptr);
  if (m_pMessage) m_pMessage->SetWindowTree(nullptr);
  ZorDestroyDelete(m_pUserInt);
  CUserInt::topWindow = nullptr;
  m_builder.DestroyWindows();
  ZorDestroyDelete(m_pDataExchange);
  if (CVar::varDataExchange && !m_pDataExchange) CVar::varDataExchange = nullptr;
  CBuildingDataList::Destroy();
  delete m_pMessage;
  m_pMessage = nullptr;
  delete m_pPreise;
  m_pPreise = nullptr;
  // The screen goes with SDL; the view and display were ours.
  if (m_pView) {
    delete m_pView;
    m_pView = nullptr;
    m_pDisplay = nullptr;
  }
  if (m_sdlStarted) {
    Mix_CloseAudio();
    SDL_Quit();
    m_sdlStarted = false;
    m_pScreen = nullptr;
  }
  return 0;
}

// Construction hooks.
CSoundObj* CZorvaWorld::NewSoundObj() { return new CSoundObj; }
CSimWelt* CZorvaWorld::NewSimWelt() {
  if (!m_pSimParts) m_pSimParts = new CZorWorldSimParts(m_pResourceManager, this);
  return new CSimWelt(m_pSimParts);
}
CSimLocationFactory* CZorvaWorld::NewLocationFactory() { return new CSimLocationFactory; }
CDataExchange* CZorvaWorld::NewDataExchange() { return new CDataExchange; }
CIsoWelt* CZorvaWorld::NewIsoWelt() { return new CIsoWelt(GetIsoHost(), m_pResourceManager, m_pDisplay); }
CStrJunctionList* CZorvaWorld::NewStreetNet() { return new CStrJunctionList(m_pIsoWelt, m_pSimWelt); }
CStrSchJuncList* CZorvaWorld::NewRailNet() { return new CStrSchJuncList(m_pIsoWelt, m_pSimWelt); }
CUserInt* CZorvaWorld::NewUserInt() { return new CUserInt; }
CMicroSimulation* CZorvaWorld::NewMicroSim() { return new CMicroSimulation; }
CMessage* CZorvaWorld::NewMessage() {
  if (!m_pMessageHost) m_pMessageHost = new CZorMessageHost(*this);
  return new CMessage(m_pMessageHost, m_Language);
}
CGottModus* CZorvaWorld::NewGottModus() { return new CGottModus; }
CStatistik* CZorvaWorld::NewStatistik() { return new CStatistik; }
CIndikatoren* CZorvaWorld::NewIndikatoren() { return new CIndikatoren; }
CParkManagement* CZorvaWorld::NewParkManagement() { return new CParkManagement; }
COpnv* CZorvaWorld::NewOpnv() { return new COpnv; }
CCarsharing* CZorvaWorld::NewCarsharing() { return new CCarsharing; }
CParkRide* CZorvaWorld::NewParkRide() { return new CParkRide; }
CZorviZentrale* CZorvaWorld::NewZorviZentrale() { return new CZorviZentrale; }
CAktiveRoutenPlanung* CZorvaWorld::NewAktiveRP() { return new CAktiveRoutenPlanung; }
CPassiveRoutenPlanung* CZorvaWorld::NewPassiveRP() { return new CPassiveRoutenPlanung; }
CUmland* CZorvaWorld::NewUmland() { return new CUmland; }
CPta* CZorvaWorld::NewPta() { return new CPta; }
CFinanzen* CZorvaWorld::NewFinanzen() { return new CFinanzen; }
CStadtVerwaltung* CZorvaWorld::NewStadtVerwaltung() { return new CStadtVerwaltung; }
