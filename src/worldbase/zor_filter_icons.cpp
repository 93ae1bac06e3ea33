#include "worldbase/zor_filter_icons.h"

int ZorFilterIconFor(TObjectType kind, int height, bool filter3, bool filter4, int current) {
  if (!filter3 && !filter4) return -1;
  switch (kind) {
    case OBJ_RESIDENTIAL: return height == 1 ? 44112 : 44111;
    case OBJ_OFFICE: return height == 1 ? 44103 : 44102;
    case OBJ_INDUSTRY: return 44108;
    case OBJ_SHOPPING: return 44122;
    case OBJ_SCHOOL: return 44123;
    case OBJ_PARK:
    case OBJ_SPORTS:
    case OBJ_ENTERTAINMENT: return 44106;
    case OBJ_CARPARK_OPEN:
    case OBJ_CARPARK_GARAGE:
    case OBJ_CARPARK_GARAGE2: return filter3 ? 44110 : -1;
    case OBJ_BUSSTOP_SIGN:
    case OBJ_BUSSTOP_SIGN4:
    case OBJ_BUSSTOP_SHELTER:
    case OBJ_BUSSTOP_SHELTER4:
    case OBJ_TRAMSTOP:
    case OBJ_PARKING_SIGN1:
    case OBJ_PARKING_SIGN2:
    case OBJ_TRAFFIC_SIGN:
    case OBJ_TRAFFIC_SIGN4:
    case OBJ_TRANSMITTER:
    case OBJ_CARSHARING_CENTRE:
    case OBJ_CARSHARING_STATION:
    case OBJ_PARKRIDE:
    case OBJ_ADVICE_CENTRE:
    case OBJ_SPEED_CONTROL: return filter3 ? 44115 : -1;
    default: return current;
  }
}
