// Keeps what a load tears down and the savegame does not hold, and puts it
// back after the running game was read again from its own savegame.
#include "world/zor_load_keep.h"

#include <algorithm>
#include <map>

#include "framework/zor_list.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/measure.h"
#include "measures/miet_micro.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "measures/traffic_display.h"
#include "measures/umland.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

constexpr TBaseType kLayers[] = {ISO_LAYER_GROUND, ISO_LAYER_UPPER};

// The places of the objects asked for, found while they still stand: a
// line by its number, anything else by the first cell that shows it.
std::map<const CWorldObj*, ZorObjectPlace> PlacesOf(CIsoWelt* map, std::vector<const CWorldObj*> wanted) {
  std::map<const CWorldObj*, ZorObjectPlace> places;
  wanted.erase(std::remove(wanted.begin(), wanted.end(), nullptr), wanted.end());
  for (const CWorldObj* o : wanted)
    if (auto* line = dynamic_cast<const COpnvLine*>(o)) places[o] = {ZorObjectPlace::kLine, line->GetID(), -1, 0, 0};
  size_t left = 0;
  for (const CWorldObj* o : wanted) left += places.count(o) ? 0 : 1;
  for (int x = 0; map && left > 0 && x < ISO_MAP_SIZE; ++x)
    for (int y = 0; left > 0 && y < ISO_MAP_SIZE; ++y)
      for (int layer = 0; layer < 2; ++layer) {
        CWorldObj* o = map->GetIsoTileObject(x, y, kLayers[layer]);
        if (!o || places.count(o) || std::find(wanted.begin(), wanted.end(), o) == wanted.end()) continue;
        places[o] = {ZorObjectPlace::kCell, x, y, layer, static_cast<int>(o->GetType())};
        --left;
      }
  return places;
}

}  // namespace

std::vector<CMeasure*> CZorvaWorld::Measures() {
  return {m_pMietMicro, m_pTrafficDisplay, m_pParkManagement, m_pCarsharing, m_pParkRide,
          m_pZorviZentrale, m_pAktiveRP, m_pPassiveRP, m_pUmland, m_pPta};
}

void CZorvaWorld::KeepPlay(ZorKeptPlay& kept) {
  kept.random = zor_random_state();
  kept.measures.clear();
  for (const CMeasure* m : Measures()) kept.measures.push_back(m ? m->KeepBlock() : std::vector<char>());
  kept.hasExchange = m_pDataExchange != nullptr;
  if (m_pDataExchange) kept.exchange = m_pDataExchange->KeepBlock();
  kept.lastHour = m_LastHourTime;
  kept.lastDay = m_LastDayTime;
  kept.indikatorenCounter = m_IndikatorenCounter;
  kept.startupWindowTime = m_StartupWindowTime;
  kept.ticksAfterLoad = m_TicksAfterLoad;
  if (m_pIsoWelt) {
    kept.centerX = m_pIsoWelt->GetCenterX();
    kept.centerY = m_pIsoWelt->GetCenterY();
    kept.pixelX = m_pIsoWelt->GetPixelOffsetX();
    kept.pixelY = m_pIsoWelt->GetPixelOffsetY();
  }
  kept.rotation = g_IsoRichtung;
  kept.zoom = g_ZoomStufe;
  kept.entryName = m_EntryName;
  kept.entryCursor = m_EntryCursor;
  kept.entryActive = m_EntryActive != 0;
  kept.windows.clear();
  kept.closed.clear();
  if (!m_pUserInt) return;
  const selObjType& sel = CUserInt::selObj;
  kept.sel = sel;
  std::vector<const CWorldObj*> wanted = {sel.selectedObject, sel.mouseStreet,    sel.selectedJunction,
                                          sel.selectedStreet, sel.selectedCrossing, sel.selectedLine,
                                          sel.editedLine};
  if (CZorvaList* open = m_pUserInt->GetRenderList())
    for (CZorvaPointer* n = open->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
      const int id = static_cast<CScreenWindow*>(n->GetZorvaObject())->GetID();
      CWorldObj* shows = CUserInt::topWindow ? CUserInt::topWindow->GetVarWorldObject(id) : nullptr;
      kept.windows.push_back({id, {}});
      wanted.push_back(shows);
    }
  const size_t open = kept.windows.size();
  for (int id = 1; CUserInt::topWindow && id < CScreenWindow::kWindowIdLimit; ++id) {
    CScreenWindow* window = CUserInt::topWindow->GetWindowByID(id);
    CWorldObj* shows = window && !window->IsActive() ? CUserInt::topWindow->GetVarWorldObject(id) : nullptr;
    if (!shows) continue;
    kept.closed.push_back({id, {}});
    wanted.push_back(shows);
  }
  const auto places = PlacesOf(m_pIsoWelt, wanted);
  auto place = [&](const CWorldObj* o) {
    const auto at = places.find(o);
    return at == places.end() ? ZorObjectPlace{} : at->second;
  };
  kept.selectedObject = place(sel.selectedObject);
  kept.mouseStreet = place(sel.mouseStreet);
  kept.selectedJunction = place(sel.selectedJunction);
  kept.selectedStreet = place(sel.selectedStreet);
  kept.selectedCrossing = place(sel.selectedCrossing);
  kept.selectedLine = place(sel.selectedLine);
  kept.editedLine = place(sel.editedLine);
  for (size_t i = 0; i < kept.windows.size(); ++i) kept.windows[i].shows = place(wanted[7 + i]);
  for (size_t i = 0; i < kept.closed.size(); ++i) kept.closed[i].shows = place(wanted[7 + open + i]);
}

CWorldObj* CZorvaWorld::FindAgain(const ZorObjectPlace& place) {
  switch (place.kind) {
    case ZorObjectPlace::kLine:
      return m_pOpnv ? m_pOpnv->GetLineByID(place.x) : nullptr;
    case ZorObjectPlace::kCell: {
      CWorldObj* o = m_pIsoWelt ? m_pIsoWelt->GetIsoTileObject(place.x, place.y, kLayers[place.layer]) : nullptr;
      return o && static_cast<int>(o->GetType()) == place.type ? o : nullptr;
    }
    case ZorObjectPlace::kNone:
      break;
  }
  return nullptr;
}

void CZorvaWorld::PutBackPlay(const ZorKeptPlay& kept) {
  const std::vector<CMeasure*> measures = Measures();
  for (size_t i = 0; i < measures.size() && i < kept.measures.size(); ++i)
    if (measures[i]) measures[i]->PutBackBlock(kept.measures[i]);
  if (m_pDataExchange && kept.hasExchange) m_pDataExchange->PutBackBlock(kept.exchange);
  m_LastHourTime = kept.lastHour;
  m_LastDayTime = kept.lastDay;
  m_IndikatorenCounter = kept.indikatorenCounter;
  m_StartupWindowTime = kept.startupWindowTime;
  m_TicksAfterLoad = kept.ticksAfterLoad;
  g_IsoRichtung = kept.rotation;
  g_ZoomStufe = static_cast<TIsoZoomStufe>(kept.zoom);
  if (m_pIsoWelt) {
    m_pIsoWelt->SetPixelOffset(kept.pixelX, kept.pixelY);
    m_pIsoWelt->SetIsoCenter(kept.centerX, kept.centerY);
    m_pIsoWelt->CalcViewRect();
  }
  if (m_pUserInt) {
    // The windows: those the load closed open again, showing their objects
    // again; none the load opened stays. Each opens alone, bottom first, and
    // every window kept comes to the front in its turn, so that the order is
    // the one kept: a group opened as a group would put its first page over
    // the page the player had in front.
    std::vector<int> before;
    for (const ZorKeptPlay::Window& w : kept.windows) before.push_back(w.id);
    std::vector<int> now;
    if (CZorvaList* open = m_pUserInt->GetRenderList())
      for (CZorvaPointer* n = open->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
        now.push_back(static_cast<CScreenWindow*>(n->GetZorvaObject())->GetID());
    for (int id : now)
      if (std::find(before.begin(), before.end(), id) == before.end()) m_pUserInt->DeActivateWindow(id);
    for (auto w = kept.windows.rbegin(); w != kept.windows.rend(); ++w) {
      CScreenWindow* window = CUserInt::topWindow ? CUserInt::topWindow->GetWindowByID(w->id) : nullptr;
      if (!window) continue;
      if (!window->IsActive()) window->ActivateWindow(w->id, OVER_SINGLE);
      m_pUserInt->BringToFront(window);
      if (CWorldObj* shows = FindAgain(w->shows)) CUserInt::topWindow->SetVarWorldObject(w->id, -2, -2, shows, nullptr);
    }
    for (const ZorKeptPlay::Window& w : kept.closed)
      if (CWorldObj* shows = FindAgain(w.shows)) CUserInt::topWindow->SetVarWorldObject(w.id, -2, -2, shows, nullptr);
    SetLoadSaveName(kept.entryName.c_str());
    m_EntryCursor = kept.entryCursor;
    m_EntryActive = kept.entryActive ? 1 : 0;
    selObjType& sel = CUserInt::selObj;
    sel = kept.sel;
    sel.selectedObject = FindAgain(kept.selectedObject);
    sel.mouseStreet = FindAgain(kept.mouseStreet);
    sel.selectedJunction = FindAgain(kept.selectedJunction);
    sel.selectedStreet = FindAgain(kept.selectedStreet);
    sel.selectedCrossing = FindAgain(kept.selectedCrossing);
    sel.selectedLine = dynamic_cast<COpnvLine*>(FindAgain(kept.selectedLine));
    sel.editedLine = dynamic_cast<COpnvLine*>(FindAgain(kept.editedLine));
    m_pUserInt->ActivateAfterLoad();
  }
  zor_set_random_state(kept.random);
}
