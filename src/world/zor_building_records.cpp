// The building records of a savegame: each placed building comes back
// through the object factory with the capacities it was saved with.
#include <cstring>

#include "framework/qno_log.h"
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
constexpr int kMaxBuildingSide = 16;
constexpr int kMaxResID = 0xFFFF;
constexpr int kMaxHeight = 255;

// Why a record holds values that no building can have; null when it is sound.
const char* Refusal(RecordKind record, const BuildingDataType& d, const PotentialType* p, short district) {
  if (d.richtung < 0 || d.richtung > 3) return "direction";
  if (d.x < 0 || d.x > 127 || d.y < 0 || d.y > 127) return "cell";
  if (!TypeFits(record, d.objectType)) return "object type";
  if (d.resId < 1 || d.resId > kMaxResID) return "resource id";
  if (d.height < 0 || d.height > kMaxHeight) return "height";
  if (district < 0 || district > 256) return "district";
  if (p) {
    if (p->size.width > kMaxBuildingSide || p->size.depth > kMaxBuildingSide) return "size";
    if (p->resId < 0 || p->resId > kMaxResID) return "capacity resource id";
  }
  return nullptr;
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
  const char* why = Refusal(record, data, hasPotential ? &potential : nullptr, district);
  if (!why && record == RecordKind::Parking) why = parking.Refusal();
  if (why) {
    QNO_LOG("The building record %s is refused: its %s is out of range", name, why);
    return 1;
  }
  CWorldObj* object = CreateObject(static_cast<TObjectType>(data.objectType), data.resId, CIsoRichtung(data.richtung),
                                   data.x, data.y, static_cast<ESimLocationHeight>(data.height),
                                   hasPotential ? &potential : nullptr, district,
                                   record == RecordKind::Parking ? &parking : nullptr, stopId, -1);
  // A building that no longer fits is missing from the game, no failure.
  if (!object) return 0;
  made = object;
  if (record == RecordKind::SecondLayer)
    if (auto* second = dynamic_cast<CSecondLayerObject*>(object)) second->SetID(stopId);
  if (record == RecordKind::ParkRide)
    if (auto* site = dynamic_cast<CBuildingParkRideObject*>(object)) site->SetData(&station);
  return 0;
}
