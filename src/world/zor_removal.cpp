// Taking placed objects off the map and out of their managers again.
#include "framework/zor_list.h"
#include "gui/screen_window.h"
#include "iso/iso_river.h"
#include "iso/iso_welt.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/traffic_display.h"
#include "model/message.h"
#include "model/stadt_verwaltung.h"
#include "network/street_objects.h"
#include "sim/sim_location_factory.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

bool IsManagedBuilding(int kind) {
  return (kind >= OBJ_ZONE_RESIDENTIAL && kind <= OBJ_CARPARK_GARAGE2) ||
         (kind >= OBJ_TRANSMITTER && kind <= OBJ_CARSHARING_STATION) || kind == OBJ_PARKRIDE ||
         kind == OBJ_ADVICE_CENTRE;
}

bool IsStop(int kind) { return (kind >= OBJ_BUSSTOP_SIGN && kind <= OBJ_BUSSTOP_SHELTER4) || kind == OBJ_TRAMSTOP; }

// Street-side objects stand in the map's upper layer; a train stop (the
// plain street-side object) among them, which the rail network places.
bool IsStreetSide(int kind) {
  return IsStop(kind) || (kind >= OBJ_PARKING_SIGN1 && kind <= OBJ_TRAFFIC_SIGN4) || kind == OBJ_SPEED_CONTROL ||
         kind == OBJ_STREETSIDE;
}

void ClearWindowList(int window) {
  if (CUserInt::topWindow) CUserInt::topWindow->SetZorvaList(window, -2, nullptr, 1);
}

}  // namespace

int CZorvaWorld::DestroyObject(CWorldObj* object, int kind) {
  if (!object) return 0;
  if (object == m_pGroundObject) {
    if (kind == 0) {
      while (m_pGroundObject->GetAllocCount() > 0) m_pGroundObject->Destroy();
      delete m_pGroundObject;
      m_pGroundObject = nullptr;
    } else {
      m_pGroundObject->Destroy();
    }
    return 0;
  }
  if (object->GetAllocCount() <= 1) {
    if (m_pUserInt) m_pUserInt->ForgetObject(object);
    // The messages about a building that goes no longer lead to its place.
    if (auto* building = dynamic_cast<CBuildingObject*>(object); building && m_pMessage)
      m_pMessage->ForgetPlace(building->GetXPos(), building->GetYPos(), building->GetXSizeRichtung(),
                              building->GetYSizeRichtung());
    if (m_pObjectList) m_pObjectList->Remove(object, 0);
    object->Destroy();
    delete object;
  } else {
    object->Destroy();
  }
  return 0;
}

void CZorvaWorld::LetManagerGo(CWorldObj* object, bool force, bool clearLists, int& refused) {
  refused = 0;
  switch (object->GetType()) {
    case OBJ_CARPARK_OPEN:
    case OBJ_CARPARK_GARAGE:
    case OBJ_CARPARK_GARAGE2:
      if (m_pParkManagement) m_pParkManagement->RemoveParking(static_cast<CBuildingParkingObject*>(object));
      ClearWindowList(102);
      ClearWindowList(101);
      ClearWindowList(103);
      break;
    case OBJ_TRANSMITTER:
      if (m_pAktiveRP) m_pAktiveRP->RemoveSendeMast(static_cast<CBuildingObject*>(object));
      if (clearLists) ClearWindowList(81);
      break;
    case OBJ_CARSHARING_CENTRE:
    case OBJ_CARSHARING_STATION:
      if (m_pCarsharing && m_pCarsharing->RemoveOutlet(static_cast<CBuildingTrafficObject*>(object), force)) {
        refused = 1;
        return;
      }
      ClearWindowList(84);
      break;
    case OBJ_PARKRIDE:
      if (m_pParkRide) m_pParkRide->RemoveParkRide(static_cast<CBuildingTrafficObject*>(object));
      ClearWindowList(213);
      break;
    case OBJ_ADVICE_CENTRE:
      if (m_pZorviZentrale) m_pZorviZentrale->RemoveZorviZentrale(static_cast<CBuildingTrafficObject*>(object));
      ClearWindowList(81);
      break;
    default:
      break;
  }
  if (auto* building = dynamic_cast<CBuildingObject*>(object)) {
    if (CSimLocation* location = building->GetSimLocation()) {
      if (m_pLocationFactory) m_pLocationFactory->RemoveLocation(location);
      building->SetSimLocation(nullptr);
    }
  }
}

int CZorvaWorld::RemoveObject(int x, int y, TBaseType layer, bool) {
  if (!m_pIsoWelt || !CUserInt::InWorld(x, y)) return 1;
  CWorldObj* object = m_pIsoWelt->GetIsoTileObject(x, y, layer);
  if (!object) return 1;
  const int kind = object->GetType();
  if (kind == OBJ_STREET_GROUP || kind == OBJ_CROSSING_GROUP || kind == OBJ_STREET_PIECE || kind == OBJ_CROSSING)
    return 1;
  // Empty ground is nothing to remove: destroying it would drop a reference
  // of the shared ground object that the cell goes on holding.
  if (kind == OBJ_GROUND || object == m_pGroundObject) return 1;
  if (kind == OBJ_RIVER) {
    m_pIsoWelt->DeleteIsoGroupAt(x, y, ISO_LAYER_GROUND, false);
  } else if (IsManagedBuilding(kind)) {
    int refused = 0;
    LetManagerGo(object, false, true, refused);
    if (refused) return 1;
    CWorldObj* upper = m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_UPPER);
    if (upper) m_pIsoWelt->DeleteIsoGroupAt(x, y, ISO_LAYER_UPPER, false);
    m_pIsoWelt->DeleteIsoGroupAt(x, y, ISO_LAYER_GROUND, false);
    if (upper) DestroyObject(upper, 1);
  } else if (IsStreetSide(kind)) {
    auto* side = static_cast<CSecondLayerObject*>(object);
    UnlistStreetSide(kind, side);
    m_pIsoWelt->DeleteIsoGroupAt(x, y, ISO_LAYER_UPPER, false);
  }
  if (DestroyObject(object, 1) != 0) return 1;
  if (IsStop(kind)) {
    if (m_pOpnv) m_pOpnv->CheckLinesForNoHst();
    CheckAllLocationsForNearestHst();
  }
  return 0;
}

int CZorvaWorld::RemoveObject(CWorldObj* object, int mode, bool keepStops) {
  if (!object) return 0;
  const int kind = object->GetType();
  if (kind == OBJ_GROUND || kind == OBJ_RIVER) {
    // A river cell must not keep naming the object once it is gone.
    if (auto* river = dynamic_cast<CRiverObject*>(object); river && m_pIsoWelt && object->GetAllocCount() <= 1 &&
                                                            CUserInt::InWorld(river->GetX(), river->GetY()) &&
                                                            m_pIsoWelt->GetIsoTileObject(river->GetX(), river->GetY(),
                                                                                         ISO_LAYER_GROUND) == object)
      m_pIsoWelt->SetStdBase(river->GetX(), river->GetY(), ISO_LAYER_GROUND, false);
    DestroyObject(object, mode);
    return 0;
  }
  // The kind alone does not prove the class: only real buildings and
  // street-side objects go through their managers and cells.
  if (IsManagedBuilding(kind)) {
    auto* building = dynamic_cast<CBuildingObject*>(object);
    if (!building) {
      DestroyObject(object, 1);
      return 0;
    }
    int refused = 0;
    LetManagerGo(object, true, false, refused);
    if (m_pIsoWelt) m_pIsoWelt->DeleteIsoGroupAt(building->GetXPos(), building->GetYPos(), ISO_LAYER_GROUND, false);
    DestroyObject(object, 1);
    return 0;
  }
  if (IsStreetSide(kind)) {
    auto* side = dynamic_cast<CSecondLayerObject*>(object);
    if (!side) {
      DestroyObject(object, 1);
      return 0;
    }
    // A loaded train stop is not on the map: its cell may show another's picture.
    if (m_pIsoWelt && (kind != OBJ_STREETSIDE || m_pIsoWelt->GetIsoTileObject(side->GetXPos(), side->GetYPos(),
                                                                              ISO_LAYER_UPPER) == side))
      m_pIsoWelt->DeleteIsoGroupAt(side->GetXPos(), side->GetYPos(), ISO_LAYER_UPPER, false);
    UnlistStreetSide(kind, side);
    DestroyObject(object, 1);
    if (IsStop(kind) && !keepStops) CheckAllLocationsForNearestHst();
  }
  return 0;
}

void CZorvaWorld::UnlistStreetSide(int kind, CSecondLayerObject* side) {
  if (IsStop(kind) && m_pOpnv) m_pOpnv->RemoveHst(side);
  // The lists of signs count on their members: a sign that goes stays in
  // them no longer.
  if ((kind == OBJ_PARKING_SIGN1 || kind == OBJ_PARKING_SIGN2) && m_pParkManagement)
    m_pParkManagement->RemoveParkDisplay(side);
  if ((kind == OBJ_TRAFFIC_SIGN || kind == OBJ_TRAFFIC_SIGN4) && m_pTrafficDisplay)
    m_pTrafficDisplay->RemoveDisplay(side);
  if (kind == OBJ_SPEED_CONTROL && m_pStadtVerwaltung) m_pStadtVerwaltung->RemoveSpeedControl(side);
}
