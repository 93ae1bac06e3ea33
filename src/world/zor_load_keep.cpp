// Keeps what a load tears down and the savegame does not hold, and puts it
// back after the running game was read again from its own savegame.
#include "world/zor_load_keep.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

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
std::map<const CWorldObj*, ZorObjectPlace> PlacesOf(CIsoWelt* map, const std::vector<const CWorldObj*>& wanted) {
  std::map<const CWorldObj*, ZorObjectPlace> places;
  std::set<const CWorldObj*> onMap;
  for (const CWorldObj* o : wanted)
    if (auto* line = dynamic_cast<const COpnvLine*>(o))
      places[o] = {ZorObjectPlace::kLine, line->GetID()};
    else if (o)
      onMap.insert(o);
  for (int x = 0; map && !onMap.empty() && x < ISO_MAP_SIZE; ++x)
    for (int y = 0; !onMap.empty() && y < ISO_MAP_SIZE; ++y)
      for (int layer = 0; layer < 2; ++layer) {
        CWorldObj* o = map->GetIsoTileObject(x, y, kLayers[layer]);
        if (onMap.erase(o)) places[o] = {ZorObjectPlace::kCell, x, y, layer, static_cast<int>(o->GetType())};
      }
  return places;
}

}  // namespace

std::vector<CMeasure*> CZorvaWorld::Measures() {
  return {m_pMietMicro, m_pTrafficDisplay, m_pParkManagement, m_pCarsharing, m_pParkRide,
          m_pZorviZentrale, m_pAktiveRP, m_pPassiveRP, m_pUmland, m_pPta};
}

ZorKeptPlay CZorvaWorld::KeepPlay() {
  ZorKeptPlay kept;
  kept.random = zor_random_state();
  for (const CMeasure* m : Measures()) kept.measures.push_back(m ? m->KeepBlock() : std::vector<char>());
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
  if (!m_pUserInt) return kept;
  const selObjType& sel = CUserInt::selObj;
  kept.sel = sel;
  std::vector<const CWorldObj*> wanted = {sel.selectedObject, sel.mouseStreet,    sel.selectedJunction,
                                          sel.selectedStreet, sel.selectedCrossing, sel.selectedLine,
                                          sel.editedLine};
  // Each window with what it shows: the open ones from the front down, then
  // the closed ones that show an object.
  std::vector<std::pair<int, const CWorldObj*>> open, closed;
  if (CZorvaList* list = m_pUserInt->GetRenderList())
    for (CZorvaPointer* n = list->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
      const int id = static_cast<CScreenWindow*>(n->GetZorvaObject())->GetID();
      open.emplace_back(id, CUserInt::topWindow ? CUserInt::topWindow->GetVarWorldObject(id) : nullptr);
    }
  for (int id = 1; CUserInt::topWindow && id < CScreenWindow::kWindowIdLimit; ++id) {
    CScreenWindow* window = CUserInt::topWindow->GetWindowByID(id);
    if (CWorldObj* shows = window && !window->IsActive() ? CUserInt::topWindow->GetVarWorldObject(id) : nullptr)
      closed.emplace_back(id, shows);
  }
  for (const auto& w : open) wanted.push_back(w.second);
  for (const auto& w : closed) wanted.push_back(w.second);
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
  for (const auto& [id, shows] : open) kept.windows.push_back({id, place(shows)});
  for (const auto& [id, shows] : closed) kept.closed.push_back({id, place(shows)});
  return kept;
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
  // One block was kept for each measure, in the same order.
  auto block = kept.measures.begin();
  for (CMeasure* m : Measures()) {
    if (m) m->PutBackBlock(*block);
    ++block;
  }
  if (m_pDataExchange) m_pDataExchange->PutBackBlock(kept.exchange);
  m_LastHourTime = kept.lastHour;
  m_LastDayTime = kept.lastDay;
  m_IndikatorenCounter = kept.indikatorenCounter;
  m_StartupWindowTime = kept.startupWindowTime;
  m_TicksAfterLoad = kept.ticksAfterLoad;
  g_IsoRichtung = kept.rotation;
  g_ZoomStufe = static_cast<TIsoZoomStufe>(kept.zoom);
  // The centre goes last: setting it works out the view from both.
  if (m_pIsoWelt) {
    m_pIsoWelt->SetPixelOffset(kept.pixelX, kept.pixelY);
    m_pIsoWelt->SetIsoCenter(kept.centerX, kept.centerY);
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
    m_EntryActive = kept.entryActive;
    selObjType& sel = CUserInt::selObj;
    sel = kept.sel;
    sel.selectedObject = FindAgain(kept.selectedObject);
    sel.mouseStreet = FindAgain(kept.mouseStreet);
    sel.selectedJunction = FindAgain(kept.selectedJunction);
    sel.selectedStreet = FindAgain(kept.selectedStreet);
    sel.selectedCrossing = FindAgain(kept.selectedCrossing);
    sel.selectedLine = dynamic_cast<COpnvLine*>(FindAgain(kept.selectedLine));
    sel.editedLine = dynamic_cast<COpnvLine*>(FindAgain(kept.editedLine));
  }
  zor_set_random_state(kept.random);
}
