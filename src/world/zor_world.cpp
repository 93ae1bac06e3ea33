// The world's settings, sounds, filter icons and the services the turn and
// the frame loop use.
#include "world/zor_world.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/zor_list.h"
#include "framework/zor_seams.h"
#include "framework/zor_stand_in.h"
#include "framework/zor_util.h"
#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "model/stadt_verwaltung.h"
#include "model/zor_var.h"
#include "ui/user_int.h"
#include "worldbase/zor_filter_icons.h"
#include "world/zor_sound.h"
#include "worldbase/zor_world_obj.h"

// ---- input and rendering -----------------------------------------------------

void CZorvaWorld::FlipBuffer() {
  if (m_pDisplay)
    m_pDisplay->FlipBuffer();
  else if (m_pScreen)
    SDL_Flip(m_pScreen);
}

int CZorvaWorld::DestroyObjectList(int kind) {
  // Car parks that go with the list leave their signs to it: no sign is
  // taken out of the list while it is walked.
  CParkingHost* parking = m_pParkManagement ? m_pParkManagement->GetHost() : nullptr;
  if (m_pParkManagement) m_pParkManagement->SetHost(nullptr);
  if (m_pObjectList) {
    // Each removal may take the object out of the list: step on first.
    for (CZorvaObject* o = m_pObjectList->GetHead(); o;) {
      CZorvaObject* next = o->GetNext();
      RemoveObject(static_cast<CWorldObj*>(o), kind, true);
      o = next;
    }
  }
  if (m_pGroundObject) RemoveObject(m_pGroundObject, kind, false);
  if (m_pParkManagement) m_pParkManagement->SetHost(parking);
  return 0;
}

void CZorvaWorld::DropListLeftovers() {
  // The teardown frees an object once its last reference goes. One still
  // listed counted a reference that nobody gave back: the game read next
  // must not find it among its own, on its map or in its savegame.
  for (CZorvaObject* o = m_pObjectList ? m_pObjectList->GetHead() : nullptr; o;) {
    CZorvaObject* next = o->GetNext();
    auto* object = static_cast<CWorldObj*>(o);
    if (object != m_pGroundObject) {
      QNO_LOG("An object of kind %d outlived the game torn down, with %d references", static_cast<int>(object->GetType()),
              object->GetAllocCount());
      if (m_pUserInt) m_pUserInt->ForgetObject(object);
      m_pObjectList->Remove(object, 0);
      object->Destroy();
      delete object;
    }
    o = next;
  }
}

bool CZorvaWorld::IsPause() const { return m_pUserInt && m_pUserInt->selObj.pause == 1; }

void CZorvaWorld::SetPause(bool on) {
  if (m_pUserInt) m_pUserInt->selObj.pause = on ? 1 : 0;
}

// ---- windows ---------------------------------------------------------------------

int CZorvaWorld::ActivateWindow(int id, int overType) {
  if (!CUserInt::topWindow) return 1;
  return CUserInt::topWindow->ActivateWindow(id, static_cast<EOverType>(overType));
}

namespace {

// Binds every dialog and item of each window to the object; a window that
// does not exist leaves the others bound.
void ZorBind(CScreenWindow* top, std::initializer_list<int> windows, CWorldObj* object) {
  for (int w : windows) top->SetVarWorldObject(w, -2, -2, object, nullptr);
}

// The same as a chain: it stops at the first window that does not exist.
bool ZorBindChain(CScreenWindow* top, std::initializer_list<int> windows, CWorldObj* object) {
  for (int w : windows)
    if (top->SetVarWorldObject(w, -2, -2, object, nullptr) != 0) return false;
  return true;
}

void ZorBindList(CScreenWindow* top, int window, int dialog, CZorvaList* list) {
  if (list) top->SetZorvaList(window, dialog, list, 0);
}

void ZorHint(CScreenWindow* top, int window, bool on) {
  if (CScreenWindow* w = top->GetWindowByID(window, false)) w->SetHinweisWindow(on);
}

}  // namespace

void CZorvaWorld::SetWindowObjects() {
  CVar::m_Refresh = false;
  CScreenWindow* top = CUserInt::topWindow;
  if (top) {
    if (m_pParkManagement)
      for (int w : {102, 103, 101}) ZorBindList(top, w, -2, m_pParkManagement->GetList("PRM.PLACELIST"));
    ZorBind(top, {163}, m_pSoundObj);
    ZorBind(top, {141}, m_pIndikatoren);
    ZorBind(top, {143, 144, 145}, m_pGottModus);
    ZorBind(top, {101, 102, 103, 214}, m_pParkManagement);
    ZorBind(top, {90}, m_pPta);
    ZorBind(top, {213}, m_pParkRide);
    if (m_pParkRide) ZorBindList(top, 213, 1, m_pParkRide->GetList("PR.PLACELIST"));
    ZorBind(top, {87}, m_pAktiveRP);
    if (m_pAktiveRP) ZorBindList(top, 87, 1, m_pAktiveRP->GetList("AR.OUTLETLIST"));
    CWorldObj* chain92[] = {m_pZorviZentrale, m_pPta, m_pCarsharing, m_pAktiveRP, m_pPassiveRP};
    for (int d = 1; d <= 5; ++d)
      if (top->SetVarWorldObject(92, d, -2, chain92[d - 1], nullptr) != 0) break;
    ZorBind(top, {84}, m_pCarsharing);
    if (m_pCarsharing) ZorBindList(top, 84, -2, m_pCarsharing->GetList("CS.PLACELIST"));
    ZorBind(top, {89}, m_pPassiveRP);
    ZorBind(top, {81}, m_pZorviZentrale);
    if (m_pZorviZentrale) ZorBindList(top, 81, -1, m_pZorviZentrale->GetList("MZ.PLACELIST"));
    ZorBind(top, {116}, m_pFinanzen);
    ZorBind(top, {112, 114, 113, 115}, m_pStadtVerwaltung);
    if (ZorBindChain(top, {125, 127, 126, 122, 128, 124, 129}, m_pOpnv))
      top->SetVarWorldObject(129, 2, -2, m_pOpnv, nullptr);
  }
  UpdateMeasurePageHints();
  CVar::m_Refresh = true;
}

void CZorvaWorld::UpdateMeasurePageHints() {
  CScreenWindow* top = CUserInt::topWindow;
  if (!top || !m_pDataExchange) return;
  const int mz = static_cast<int>(m_pDataExchange->GetVarValue("MZ.ZENTRALE"));
  const int ar = static_cast<int>(m_pDataExchange->GetVarValue("AR.NUMBER"));
  const int cs = static_cast<int>(m_pDataExchange->GetVarValue("CS.NUMBER"));
  ZorHint(top, 90, ar + mz == 0);
  ZorHint(top, 87, ar == 0);
  ZorHint(top, 81, mz == 0);
  ZorHint(top, 84, cs == 0);
}

// ---- settings ----------------------------------------------------------------------

int CZorvaWorld::LoadEnvFromIni(const char* path) { return m_env.LoadFromFile(path); }

int CZorvaWorld::SetEnvString(const char* key, const char* value) {
  m_env.SetString(key, value);
  return 0;
}

int CZorvaWorld::SetEnv(const char* key, const char* value) {
  SetEnvString(key, value);
  m_env.WriteToFile(m_sIniFile);
  return 0;
}

int CZorvaWorld::SetEnv(const char* key, int value) {
  char text[40];
  kfx_itoa(value, text, 10);
  return SetEnv(key, text);
}

const char* CZorvaWorld::GetEnvValue(const char* key, const char* defaultValue) {
  QNO_LOG("GetEnvChar %s", key);
  const char* v = m_env.Find(key);
  return v ? v : defaultValue;
}

int CZorvaWorld::GetEnvValue(const char* key, int defaultValue) {
  char text[40];
  kfx_itoa(defaultValue, text, 10);
  const char* v = GetEnvValue(key, text);
  if (!v) return 0;
  long n = std::strtol(v, nullptr, 10);
  if (n > INT_MAX) n = INT_MAX;
  if (n < INT_MIN) n = INT_MIN;
  return static_cast<int>(n);
}

bool CZorvaWorld::GetEnvOnOff(const char* key) { return GetEnvValue(key, 1) != 1; }

// Asked at every key: read without the settings log line.
bool CZorvaWorld::DebugKeysAllowed() const {
  const char* v = m_env.Find("DEBUGKEYS");
  return v && std::strtol(v, nullptr, 10) == 1;
}

void CZorvaWorld::ResetEnvDescription() { m_env.Reset(); }

void CZorvaWorld::ChangeLanguage(int language) {
  m_Language = language == 1 ? 1 : 0;
  if (m_pMessage) m_pMessage->ChangeLanguage(m_Language);
  SetEnv("LANGUAGE", m_Language);
}

// ---- sounds and filter icons ---------------------------------------------------------

int CZorvaWorld::AddSound(const char* name, int priority) {
  return m_pSoundObj ? m_pSoundObj->AddSound(name, priority) : 0;
}

int CZorvaWorld::FadeOutSound(const char* name) { return m_pSoundObj ? m_pSoundObj->FadeOutSound(name) : 0; }

void CZorvaWorld::SetWorldObjectListFilter(CWorldObj* object) {
  if (!object) return;
  const bool filter3 = m_pUserInt && m_pUserInt->GetFilter(3);
  const bool filter4 = m_pUserInt && m_pUserInt->GetFilter(4);
  const TObjectType kind = object->GetType();
  // Only homes and offices have an icon by height (every object made asks).
  int height = 0;
  if (kind == OBJ_RESIDENTIAL || kind == OBJ_OFFICE)
    if (auto* building = dynamic_cast<CBuildingObject*>(object)) height = building->GetHeight();
  object->SetFilterResID(ZorFilterIconFor(kind, height, filter3, filter4, object->GetFilterResID()));
}
