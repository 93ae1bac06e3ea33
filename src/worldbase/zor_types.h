#pragma once
// Small value types shared by the world, the map and every placed object.
#include <cstdint>

// Kinds of world objects, shared by the factory, the buildings and the tools.
enum TObjectType : int32_t {
  OBJ_NONE = 0,
  OBJ_GROUND = 1,
  OBJ_RIVER = 2,
  OBJ_HILL = 3,
  OBJ_ZONE_RESIDENTIAL = 4,
  OBJ_ZONE_COMMERCIAL = 5,
  OBJ_ZONE_INDUSTRIAL = 6,
  OBJ_BUILDING = 7,
  OBJ_RESIDENTIAL = 8,
  OBJ_OFFICE = 9,
  OBJ_INDUSTRY = 10,
  OBJ_FIXED_BUILDING = 11,
  OBJ_SHOPPING = 12,
  OBJ_SCHOOL = 13,
  OBJ_PARK = 14,
  OBJ_SPORTS = 15,
  OBJ_ENTERTAINMENT = 16,
  OBJ_TRAFFIC_BUILDING = 17,
  OBJ_CARPARK_OPEN = 18,
  OBJ_CARPARK_GARAGE = 19,
  OBJ_CARPARK_GARAGE2 = 20,
  OBJ_BUSSTOP_SIGN = 23,
  OBJ_BUSSTOP_SIGN4 = 24,
  OBJ_BUSSTOP_SHELTER = 25,
  OBJ_BUSSTOP_SHELTER4 = 26,
  OBJ_BUS_STATION = 27,
  OBJ_TRAMSTOP = 28,
  OBJ_PARKING_SIGN1 = 29,
  OBJ_PARKING_SIGN2 = 30,
  OBJ_TRAFFIC_SIGN = 31,
  OBJ_TRAFFIC_SIGN4 = 32,
  OBJ_TRANSMITTER = 33,
  OBJ_CARSHARING_CENTRE = 34,
  OBJ_CARSHARING_STATION = 35,
  OBJ_PARKRIDE = 38,
  OBJ_ADVICE_CENTRE = 39,
  OBJ_SPEED_CONTROL = 40,
  OBJ_STREETSIDE = 46,
  OBJ_STREET_GROUP = 48,
  OBJ_CROSSING_GROUP = 49,
  OBJ_RAIL_PIECE = 50,
  OBJ_RAIL_JUNCTION = 51,
  OBJ_STREET_PIECE = 52,
  OBJ_CROSSING = 53,
};

// The kinds the factory places as buildings, on free land only
// (`CIsoWelt::CanPlaceBuilding`).
inline bool IsBuildingKind(int kind) {
  return (kind >= OBJ_BUILDING && kind <= OBJ_ENTERTAINMENT) ||
         (kind >= OBJ_CARPARK_OPEN && kind <= OBJ_CARPARK_GARAGE2) ||
         (kind >= OBJ_TRANSMITTER && kind <= OBJ_CARSHARING_STATION) || kind == OBJ_PARKRIDE ||
         kind == OBJ_ADVICE_CENTRE;
}

enum TIsoRichtung : int32_t { ISO_RICHTUNG_0 = 0, ISO_RICHTUNG_1 = 1, ISO_RICHTUNG_2 = 2, ISO_RICHTUNG_3 = 3 };

// One direction 0..3, passed by value.
class CIsoRichtung {
 public:
  CIsoRichtung() = default;
  explicit CIsoRichtung(int32_t value) : m_value(value) {}
  int32_t GetValue() const { return m_value; }
  void SetValue(int32_t value) { m_value = value; }
  bool operator==(const CIsoRichtung& o) const { return m_value == o.m_value; }

 private:
  int32_t m_value = 0;
};

// Zoom levels 1, 2 and 4; tables are indexed by the value / 2.
enum TIsoZoomStufe : int32_t { ISO_ZOOM_1 = 1, ISO_ZOOM_2 = 2, ISO_ZOOM_4 = 4 };
