// The building records of a savegame: each placed building comes back
// through the object factory with the capacities it was saved with.
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/park_ride.h"
#include "world/zor_world.h"

namespace {

enum class RecordKind { Building, Parking, SecondLayer, ParkRide };

// The object types that a record of each name can hold.
bool TypeFits(RecordKind record, int type) {
  switch (record) {
    case RecordKind::Building:
      return (type >= OBJ_ZONE_RESIDENTIAL && type <= OBJ_ENTERTAINMENT) ||
             (type >= OBJ_TRANSMITTER && type <= OBJ_CARSHARING_STATION) || type == OBJ_ADVICE_CENTRE;
    case RecordKind::Parking:
      return type >= OBJ_CARPARK_OPEN && type <= OBJ_CARPARK_GARAGE2;
    case RecordKind::SecondLayer:
      return (type >= OBJ_BUSSTOP_SIGN && type <= OBJ_TRAFFIC_SIGN4) || type == OBJ_SPEED_CONTROL ||
             type == OBJ_STREETSIDE;
    case RecordKind::ParkRide:
      return type == OBJ_PARKRIDE;
  }
  return false;
}

// The largest footprint a building of the catalogue can have, in cells.
constexpr uint16_t kMaxBuildingSide = 16;
constexpr int32_t kMaxResID = 0xFFFF;
constexpr int32_t kMaxHeight = 255;

// Holds a building record's placement, district and capacities to what a
// building can have.
void HoldToRange(BuildingDataType& d, PotentialType* p, short& district, ZorFieldRange& range) {
  range.Hold(d.richtung, 0, 3, "direction");
  range.Hold(d.x, 0, 127, "x");
  range.Hold(d.y, 0, 127, "y");
  range.Hold(d.resId, 1, kMaxResID, "resource id");
  range.Hold(d.height, 0, kMaxHeight, "height");
  range.Hold(district, short{0}, short{256}, "district");
  if (p) {
    range.Hold(p->size.width, uint16_t{0}, kMaxBuildingSide, "width");
    range.Hold(p->size.depth, uint16_t{0}, kMaxBuildingSide, "depth");
    range.Hold(p->resId, 0, kMaxResID, "capacity resource id");
  }
}

}  // namespace

int CZorvaWorld::LoadBuildingObject(FILE* file, const char* name, CWorldObj*& made) {
  made = nullptr;
  RecordKind record = RecordKind::Building;
  if (!std::strcmp(name, "BUILDINGPARKINGOBJECT"))
    record = RecordKind::Parking;
  else if (!std::strcmp(name, "SECONDLAYEROBJECT"))
    record = RecordKind::SecondLayer;
  else if (!std::strcmp(name, "BUILDINGPARKRIDE"))
    record = RecordKind::ParkRide;

  BuildingDataType data;
  PotentialType potential;
  short district = 0;
  ParkingDataType parking;
  ParkRideDataType station;
  unsigned int stopId = 0;
  int read = 1;
  switch (record) {
    case RecordKind::Building:
      read = CBuildingObject::SerializeGameLoad(file, &data, &potential, &district);
      break;
    case RecordKind::Parking:
      read = CBuildingParkingObject::SerializeGameLoad(file, &data, &potential, &district, &parking);
      break;
    case RecordKind::SecondLayer:
      read = CSecondLayerObject::SerializeGameLoad(file, &data, &stopId);
      break;
    case RecordKind::ParkRide:
      read = CBuildingParkRideObject::SerializeGameLoad(file, &data, &potential, &district, &station,
                                                        g_LoadVersion);
      break;
  }
  if (read != 0) {
    QNO_LOG("The building record %s is cut short", name);
    return 1;
  }
  const bool hasPotential = record != RecordKind::SecondLayer;
  // A kind that the record cannot hold leaves the building out; it is no
  // value that could be held to a range.
  if (!TypeFits(record, data.objectType)) {
    QNO_LOG("The building record %s of kind %d at %d/%d is left out: no such building has that kind", name,
            data.objectType, data.x, data.y);
    return 0;
  }
  // A value out of its range costs that value, not the city.
  ZorFieldRange range;
  HoldToRange(data, hasPotential ? &potential : nullptr, district, range);
  if (record == RecordKind::Parking) parking.HoldToRange(range);
  if (record == RecordKind::ParkRide) station.HoldToRange(range);
  for (const ZorFieldRange::Change& c : range.Changes())
    QNO_LOG("The building record %s of kind %d at %d/%d: its %s %g is out of range and taken as %g", name,
            data.objectType, data.x, data.y, c.field, c.was, c.now);
  CWorldObj* object = CreateObject(static_cast<TObjectType>(data.objectType), data.resId, CIsoRichtung(data.richtung),
                                   data.x, data.y, static_cast<ESimLocationHeight>(data.height),
                                   hasPotential ? &potential : nullptr, district,
                                   record == RecordKind::Parking ? &parking : nullptr, stopId, -1);
  // A building that no longer fits is missing from the game, no failure.
  if (!object) return 0;
  made = object;
  if (record == RecordKind::SecondLayer)
    if (auto* second = dynamic_cast<CSecondLayerObject*>(object)) second->SetID(stopId);
  // A train stop stands on its track as the rail network put it there; the
  // factory makes it without a place on the map.
  if (data.objectType == OBJ_STREETSIDE && m_pIsoWelt &&
      m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(data.x), static_cast<unsigned short>(data.y),
                            ISO_LAYER_UPPER) == OBJ_NONE &&
      m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(data.x), static_cast<unsigned short>(data.y),
                                      ISO_LAYER_UPPER, data.resId, object, CIsoRichtung(data.richtung)) != 0)
    QNO_LOG("The train stop at %d/%d finds no room on its track", data.x, data.y);
  if (record == RecordKind::ParkRide)
    if (auto* site = dynamic_cast<CBuildingParkRideObject*>(object)) site->SetData(&station);
  return 0;
}
