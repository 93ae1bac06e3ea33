// The object factory: every placed world object comes into being here.
#include <cstdlib>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
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
#include "model/stadt_verwaltung.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_model_iface.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

bool CZorvaWorld::g_isLoad = false;

namespace {

bool IsCarParkKind(int kind) { return kind >= OBJ_CARPARK_OPEN && kind <= OBJ_CARPARK_GARAGE2; }

// The kinds whose locations look for their nearest crossing and stops.
bool HasServedLocation(int kind) {
  return (kind >= OBJ_BUILDING && kind <= OBJ_SCHOOL) || kind == OBJ_SPORTS || kind == OBJ_ENTERTAINMENT ||
         IsCarParkKind(kind) || kind == OBJ_CARSHARING_CENTRE || kind == OBJ_CARSHARING_STATION ||
         kind == OBJ_PARKRIDE || kind == OBJ_ADVICE_CENTRE;
}

// The refusals that name what is wrong with a stop's street cell (a bend,
// a junction or crossing, an end piece).
bool IsStreetCellWarning(int warning) {
  for (int classification : {1, 3, 7})
    if (warning == CUserInt::StopClassificationWarning(classification)) return true;
  return false;
}

}  // namespace

CWorldObj* CZorvaWorld::CreateObject(TObjectType kind) {
  return CreateObject(kind, -1, CIsoRichtung(0), -1, -1, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
}

CWorldObj* CZorvaWorld::CreateObject(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                                     ESimLocationHeight height, PotentialType* potential, short,
                                     ParkingDataType* parking,
                                     unsigned int stopId, int locationId) {
  if (!m_pObjectList) return nullptr;
  if (kind == OBJ_GROUND) {
    CWorldObj* ground = nullptr;
    if (m_pGroundObject) {
      m_pGroundObject->Create();
      ground = m_pGroundObject;
    } else {
      ground = new CBaseObject;
      ground->Create();
      m_pObjectList->AddHead(ground, 0);
    }
    if (m_pIsoWelt) m_pIsoWelt->SetIsoTileAt(x, y, ISO_LAYER_GROUND, direction, resId, ground);
    return ground;
  }
  if (kind == OBJ_RIVER) {
    auto* river = new CRiverObject;
    river->Create(static_cast<uint16_t>(x), static_cast<uint16_t>(y), direction, resId);
    m_pObjectList->AddHead(river, 0);
    if (x >= 0 && y >= 0 && m_pIsoWelt)
      m_pIsoWelt->SetIsoTileAt(x, y, ISO_LAYER_GROUND, direction, resId, river);
    return river;
  }
  if (kind >= OBJ_ZONE_RESIDENTIAL && kind <= OBJ_ZONE_INDUSTRIAL)
    return CreateZone(kind, resId, direction, x, y, height, potential, locationId);
  if (IsBuildingKind(kind))
    return CreateBuilding(kind, resId, direction, x, y, height, potential, parking, locationId);
  if ((kind >= OBJ_BUSSTOP_SIGN && kind <= OBJ_BUSSTOP_SHELTER4) || kind == OBJ_TRAMSTOP ||
      (kind >= OBJ_PARKING_SIGN1 && kind <= OBJ_TRAFFIC_SIGN4) || kind == OBJ_SPEED_CONTROL)
    return CreateStreetSide(kind, resId, direction, x, y, height, stopId);
  if (kind == OBJ_STREETSIDE) {
    auto* object = new CSecondLayerObject;
    object->Create(resId, x, y, &direction, height);
    object->SetType(kind);
    m_pObjectList->AddHead(object, 0);
    return object;
  }
  CWorldObj* net = nullptr;
  switch (kind) {
    case OBJ_STREET_GROUP:
      net = new CStreetObjGroup;
      break;
    case OBJ_CROSSING_GROUP:
      net = new CKreuzObjGroup;
      break;
    case OBJ_RAIL_PIECE:
      net = new CRailObj;
      break;
    case OBJ_RAIL_JUNCTION:
      net = new CRailKreuz;
      break;
    case OBJ_STREET_PIECE:
      net = new CStreetObj;
      break;
    case OBJ_CROSSING:
      net = new CKreuzObj;
      break;
    default:
      return nullptr;
  }
  net->Create();
  m_pObjectList->AddHead(net, 0);
  if (kind == OBJ_CROSSING_GROUP) CheckAllLocationsForNearestCrossing();
  return net;
}

CWorldObj* CZorvaWorld::CreateZone(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                                   ESimLocationHeight height, PotentialType* potential, int locationId) {
  if (!m_pIsoWelt) return nullptr;
  if (m_pIsoWelt->CheckForType(x, y, ISO_LAYER_GROUND, OBJ_GROUND, ISO_RICHTUNG_0, -1, SIM_HEIGHT_ANY) != 0)
    return nullptr;
  if (m_pIsoWelt->GetTypeAt(x, y, ISO_LAYER_UPPER) != OBJ_NONE) return nullptr;
  auto* zone = new CBuildingSpace;
  zone->Create(resId, x, y, &direction, height);
  zone->SetType(kind);
  m_pObjectList->AddHead(zone, 0);
  CSimLocation* location = nullptr;
  if (m_pLocationFactory) {
    SimLocationSizeType one;
    one.width = 1;
    one.depth = 1;
    location = m_pLocationFactory->CreateNewLocation(resId, locationId, kind, direction, x, y, one, height, zone, 0,
                                                     potential);
  }
  // A zone without a location could never be removed cleanly.
  if (!location ||
      m_pIsoWelt->SetAusgewieseneFlaecheAt(x, y, ISO_LAYER_GROUND, direction, resId, zone) == 1) {
    DiscardObject(zone, true, false);
    return nullptr;
  }
  return zone;
}

CWorldObj* CZorvaWorld::CreateBuilding(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                                       ESimLocationHeight height, PotentialType* potential,
                                       ParkingDataType* parking, int locationId) {
  if (!m_pIsoWelt) return nullptr;
  // A new building placed without a height class (the city's growth, the
  // exhibition) takes the one of its kind from the catalogue; one from a
  // savegame keeps the height it was saved with.
  if (height == SIM_HEIGHT_ANY && !potential)
    if (const PotentialType* row = CBuildingDataList::GetPotential(resId))
      height = static_cast<ESimLocationHeight>(row->height);
  const auto dir = static_cast<TIsoRichtung>(direction.GetValue());
  if (!m_pIsoWelt->CanPlaceBuilding(x, y, dir, resId)) return nullptr;
  m_pIsoWelt->RemoveResComInd(x, y, dir, resId);

  CBuildingObject* building = nullptr;
  int refused = 0;
  if (IsCarParkKind(kind)) {
    auto* park = new CBuildingParkingObject(m_pParkManagement, kind);
    park->Create(resId, x, y, &direction, height, parking);
    building = park;
    if (m_pParkManagement) refused = m_pParkManagement->AddParking(park, height, parking);
  } else if (kind == OBJ_PARKRIDE) {
    auto* site = new CBuildingParkRideObject(m_pParkRide);
    building = site;
    refused = site->Create(kind, resId, x, y, &direction, height);
    if (!refused && m_pParkRide) refused = m_pParkRide->AddParkRide(site);
  } else if (kind == OBJ_TRANSMITTER || kind == OBJ_CARSHARING_CENTRE || kind == OBJ_CARSHARING_STATION ||
             kind == OBJ_ADVICE_CENTRE) {
    auto* traffic = new CBuildingTrafficObject;
    building = traffic;
    refused = traffic->Create(kind, resId, x, y, &direction, height);
    if (!refused) {
      if (kind == OBJ_TRANSMITTER && m_pAktiveRP) refused = m_pAktiveRP->AddSendeMast(traffic);
      if ((kind == OBJ_CARSHARING_CENTRE || kind == OBJ_CARSHARING_STATION) && m_pCarsharing)
        refused = m_pCarsharing->AddOutlet(traffic);
      if (kind == OBJ_ADVICE_CENTRE && m_pZorviZentrale) refused = m_pZorviZentrale->AddZorviZentrale(traffic);
    }
  } else {
    building = new CBuildingRCIObject;
    building->Create(resId, x, y, &direction, height);
    building->SetType(kind);
    if (kind == OBJ_INDUSTRY) building->SetSoundName("IND", 10);
    if (kind == OBJ_SHOPPING) building->SetSoundName("EINKAUF", 14);
    if (kind == OBJ_SCHOOL && height <= 2) building->SetSoundName("KINDER", 9);
    if (kind == OBJ_SPORTS && height > 2) building->SetSoundName("Schwimm", 5);
  }
  if (refused) {
    DiscardObject(building, false, false);
    return nullptr;
  }

  m_pObjectList->AddHead(building, 0);
  SimLocationSizeType size;
  m_pIsoWelt->GetGroupSize(size, resId);
  CSimLocation* location = nullptr;
  if (m_pLocationFactory)
    location = m_pLocationFactory->CreateNewLocation(resId, locationId, kind, direction, x, y, size, SIM_HEIGHT_ANY,
                                                     building, 0, potential);
  if (!location) {
    DiscardObject(building, true, true);
    return nullptr;
  }
  if (IsCarParkKind(kind)) static_cast<CBuildingParkingObject*>(building)->SetDistrictID(location->GetDistrictID());
  if (m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                      ISO_LAYER_GROUND, resId, building, direction) == 1) {
    DiscardObject(building, true, true);
    return nullptr;
  }
  m_pIsoWelt->SetFilterGroup(x, y, ISO_LAYER_GROUND);
  return building;
}

CWorldObj* CZorvaWorld::CreateStreetSide(TObjectType kind, int resId, CIsoRichtung direction, int x, int y,
                                         ESimLocationHeight height, unsigned int stopId) {
  if (!m_pIsoWelt) return nullptr;
  const bool busStop = kind >= OBJ_BUSSTOP_SIGN && kind <= OBJ_BUSSTOP_SHELTER4;
  const bool stop = busStop || kind == OBJ_TRAMSTOP;
  // The interface's placing rule decides, the one its tools preview and
  // click by; a bus stop refused by its street cell says why.
  if (!m_pUserInt) return nullptr;
  int dir = direction.GetValue();
  if (const int refusal = m_pUserInt->PlaceRefusal(kind, resId, x, y, dir)) {
    if (busStop && IsStreetCellWarning(refusal)) m_pUserInt->SetAchtungWindow(refusal);
    return nullptr;
  }
  direction = CIsoRichtung(dir);
  m_pIsoWelt->RemoveResComInd(x, y, static_cast<TIsoRichtung>(direction.GetValue()), resId);
  auto* object = new CSecondLayerObject;
  object->Create(resId, x, y, &direction, height);
  object->SetType(kind);
  if (stopId) object->SetID(stopId);
  m_pObjectList->AddHead(object, 0);
  if (m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                      ISO_LAYER_UPPER, resId, object, direction) == 1) {
    DiscardObject(object, true, false);
    return nullptr;
  }
  if (kind == OBJ_SPEED_CONTROL && m_pStadtVerwaltung) m_pStadtVerwaltung->AddSpeedControl(object);
  if ((kind == OBJ_TRAFFIC_SIGN || kind == OBJ_TRAFFIC_SIGN4) && m_pTrafficDisplay)
    m_pTrafficDisplay->AddDisplay(object);
  if (busStop && m_pOpnv) m_pOpnv->AddHst(object, NET_BUS, stopId != 0);
  if (kind == OBJ_TRAMSTOP && m_pOpnv) m_pOpnv->AddHst(object, NET_TRAM, stopId != 0);
  if (stop && !g_isLoad) CheckAllLocationsForNearestHst();
  m_pIsoWelt->SetFilterGroup(x, y, ISO_LAYER_GROUND);
  return object;
}

void CZorvaWorld::UnregisterObject(CWorldObj* object) {
  switch (object->GetType()) {
    case OBJ_CARPARK_OPEN:
    case OBJ_CARPARK_GARAGE:
    case OBJ_CARPARK_GARAGE2:
      if (m_pParkManagement) m_pParkManagement->RemoveParking(static_cast<CBuildingParkingObject*>(object));
      break;
    case OBJ_CARSHARING_CENTRE:
    case OBJ_CARSHARING_STATION:
      if (m_pCarsharing) m_pCarsharing->RemoveOutlet(static_cast<CBuildingTrafficObject*>(object), false);
      break;
    case OBJ_ADVICE_CENTRE:
      if (m_pZorviZentrale) m_pZorviZentrale->RemoveZorviZentrale(static_cast<CBuildingTrafficObject*>(object));
      break;
    case OBJ_PARKRIDE:
      if (m_pParkRide) m_pParkRide->RemoveParkRide(static_cast<CBuildingTrafficObject*>(object));
      break;
    case OBJ_TRANSMITTER:
      if (m_pAktiveRP) m_pAktiveRP->RemoveSendeMast(static_cast<CBuildingObject*>(object));
      break;
    default:
      break;
  }
}

void CZorvaWorld::DiscardObject(CWorldObj* object, bool listed, bool registered) {
  if (!object) return;
  if (listed && m_pObjectList) m_pObjectList->Remove(object, 0);
  if (registered) UnregisterObject(object);
  if (auto* building = dynamic_cast<CBuildingObject*>(object)) {
    if (CSimLocation* location = building->GetSimLocation()) {
      if (m_pLocationFactory) m_pLocationFactory->RemoveLocation(location);
      building->SetSimLocation(nullptr);
    }
  }
  object->Destroy();
  delete object;
}

int CZorvaWorld::CheckAllLocationsForNearestCrossing() {
  if (!m_pObjectList) return 0;
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    auto* building = dynamic_cast<CBuildingObject*>(o);
    if (building && HasServedLocation(building->GetType()) && building->GetSimLocation())
      building->GetSimLocation()->SearchNextCrossing();
  }
  return 0;
}

int CZorvaWorld::CheckAllLocationsForNearestHst() {
  if (!m_pObjectList) return 0;
  // The list holds world objects only; their kind is asked first, as most
  // (rivers, street pieces) are no building.
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    if (!HasServedLocation(static_cast<CWorldObj*>(o)->GetType())) continue;
    auto* building = dynamic_cast<CBuildingObject*>(o);
    if (building && building->GetSimLocation()) building->GetSimLocation()->FindNearestHst();
  }
  return 0;
}
