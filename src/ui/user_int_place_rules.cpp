// The one rule for where an object the player places may stand: the
// placing tools' previews, their clicks and the object factory all ask it,
// so that what shows as placeable is placed, and what is refused is drawn
// refused and says why.
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/user_int.h"
#include "ui/user_int_place.h"
#include "worldbase/zor_world_host.h"

namespace {

constexpr int kWarningStopInWay = 18;
constexpr int kWarningStopOnBend = 19;
constexpr int kWarningStopAtJunction = 20;
constexpr int kWarningNoGuidanceRoom = 29;
constexpr int kWarningAdviceCentreExists = 30;
constexpr int kWarningCarsharingCentreExists = 31;
constexpr int kWarningStopBeforeEnd = 66;

bool IsBusStop(int kind) { return kind >= OBJ_BUSSTOP_SIGN && kind <= OBJ_BUSSTOP_SHELTER4; }
bool IsStreetSign(int kind) {
  return (kind >= OBJ_PARKING_SIGN1 && kind <= OBJ_TRAFFIC_SIGN4) || kind == OBJ_SPEED_CONTROL;
}
bool IsStop(TObjectType t) { return IsBusStop(t) || t == OBJ_TRAMSTOP; }

// How many cells a bus stop covers across its street.
int StopLength(int kind) { return IsBusStop(kind) ? kind - OBJ_BUSSTOP_SIGN + 1 : 0; }

}  // namespace

bool CUserInt::IsStopStreetCell(int type, int i) {
  switch (type) {
    case OBJ_BUSSTOP_SIGN:
      return i == 0;
    case OBJ_BUSSTOP_SIGN4:
      return i <= 1;
    case OBJ_BUSSTOP_SHELTER:
      return i == 1;
    default:
      return i == 1 || i == 2;
  }
}

int CUserInt::StopClassificationWarning(int classification) {
  switch (classification) {
    case 1:
    case 2:
      return kWarningStopOnBend;
    case 3:
    case 4:
    case 6:
      return kWarningStopAtJunction;
    case 7:
      return kWarningStopBeforeEnd;
    default:
      return 0;
  }
}

int CUserInt::PlaceRefusal(int kind, int resId, int& x, int& y, int& dir) {
  if (!m_pIsoWelt) return kWarningPlaceTaken;
  if (IsBuildingKind(kind)) {
    if (!m_pIsoWelt->CanPlaceBuilding(x, y, static_cast<TIsoRichtung>(dir & 3), resId)) return kWarningNoFreeLand;
    // A building that cars use goes up only within reach of a street: the
    // access that a street's removal must leave it.
    CWorldObj* none = nullptr;
    if (NeedsStreetAccess(kind) && CheckForDistance(resId, x, y, StreetAccessDistance(kind), 0, dir & 3, true, none))
      return kWarningStreetTooFar;
    return 0;
  }
  if (IsBusStop(kind)) return BusStopRefusal(kind, x, y, dir);
  if (kind == OBJ_TRAMSTOP) return TramStopRefusal(resId, x, y, dir);
  if (IsStreetSign(kind)) {
    const auto d = static_cast<TIsoRichtung>(dir & 3);
    if (m_pIsoWelt->CheckForType(x, y, ISO_LAYER_GROUND, OBJ_STREET_PIECE, d, resId, SIM_HEIGHT_ANY) != 0)
      return kind == OBJ_TRAFFIC_SIGN || kind == OBJ_TRAFFIC_SIGN4 ? kWarningNoGuidanceRoom : kWarningNeedsStreet;
    if (m_pIsoWelt->CheckForType(x, y, ISO_LAYER_UPPER, OBJ_NONE, d, resId, SIM_HEIGHT_ANY) != 0)
      return kWarningPlaceTaken;
  }
  return 0;
}

// A sign stop stands on the street cell under it (on a four-lane street at
// the start of the cell's group) and faces away from the street's own
// direction there; a stop with shelters keeps the place and direction it
// is given. Its cells run across the street: along x for directions 1
// and 3, along y otherwise.
int CUserInt::BusStopRefusal(int kind, int& x, int& y, int& dir) {
  const auto cellType = [this](int cx, int cy, TBaseType layer) {
    return m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy), layer);
  };
  if (kind == OBJ_BUSSTOP_SIGN || kind == OBJ_BUSSTOP_SIGN4) {
    if (!InWorld(x, y) || cellType(x, y, ISO_LAYER_GROUND) != OBJ_STREET_PIECE) return kWarningNeedsStreet;
    auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
    CStrStrasse* street = piece ? piece->GetStreetList() : nullptr;
    // A street cell that no street owns gives no direction to stand by.
    if (!street) return kWarningNeedsStreet;
    if (street->GetStreetType() == STRASSE_VIERSPURIG)
      if (CIsoObjGroup* group =
              m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND)) {
        x = group->GetStartPosX();
        y = group->GetStartPosY();
      }
    unsigned char found = 0;
    int first = 0;
    bool bend = false;
    dir = (street->GetRichtung(x, y, found, first, bend) + 2) % 4;
  }
  const bool alongX = dir == 1 || dir == 3;
  int firstX = -1, firstY = -1;
  for (int i = 0; i < StopLength(kind); ++i) {
    const int cx = alongX ? x + i : x;
    const int cy = alongX ? y : y + i;
    const bool streetCell = IsStopStreetCell(kind, i);
    if (!InWorld(cx, cy)) return streetCell ? kWarningNeedsStreet : kWarningStopNeedsLand;
    const TObjectType ground = cellType(cx, cy, ISO_LAYER_GROUND);
    const TObjectType upper = cellType(cx, cy, ISO_LAYER_UPPER);
    if (!streetCell) {
      // The shelters stand on land beside the street, under at most ground.
      const bool land = ground == OBJ_GROUND || (ground >= OBJ_ZONE_RESIDENTIAL && ground <= OBJ_ZONE_INDUSTRIAL);
      if (!land || (upper != OBJ_NONE && upper != OBJ_GROUND)) return kWarningStopNeedsLand;
      continue;
    }
    if (ground != OBJ_STREET_PIECE) return kWarningNeedsStreet;
    if (upper != OBJ_NONE) return IsStop(upper) ? kWarningStopInWay : kWarningPlaceTaken;
    auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND));
    if (const int warning = StopClassificationWarning(CheckStreetForHstBuild(piece, cx, cy))) return warning;
    if (kind != OBJ_BUSSTOP_SIGN4) continue;
    // The four-lane sign's two cells are one group of a four-lane street.
    if (!piece || piece->GetStreetType() != STRASSE_VIERSPURIG) return kWarningNeedsStreet;
    if (firstX < 0) {
      firstX = cx;
      firstY = cy;
    } else if (!m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy),
                                       ISO_LAYER_GROUND) ||
               !m_pIsoWelt->IsSameGroup(static_cast<unsigned short>(firstX), static_cast<unsigned short>(firstY),
                                        static_cast<unsigned short>(cx), static_cast<unsigned short>(cy),
                                        ISO_LAYER_GROUND)) {
      return kWarningNeedsStreet;
    }
  }
  return 0;
}

// A tram stop covers its picture's group, turned to its direction, and
// every cell of it lies on a straight track away from junctions, ends and
// level crossings, under nothing but ground.
int CUserInt::TramStopRefusal(int resId, int x, int y, int dir) {
  int w = 0, d = 0;
  if (m_pIsoWelt->GetIsoGroupSize(resId, static_cast<TIsoRichtung>(dir & 3), w, d) != 0 || w < 1 || d < 1)
    return kWarningNeedsTrack;
  for (int i = 0; i < w; ++i)
    for (int j = 0; j < d; ++j) {
      const int cx = x + i, cy = y + j;
      if (!InWorld(cx, cy)) return kWarningNeedsTrack;
      const auto ux = static_cast<unsigned short>(cx), uy = static_cast<unsigned short>(cy);
      if (m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_GROUND) != OBJ_RAIL_PIECE) return kWarningNeedsTrack;
      const TObjectType upper = m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_UPPER);
      if (upper != OBJ_NONE && upper != OBJ_GROUND) return IsStop(upper) ? kWarningStopInWay : kWarningPlaceTaken;
      auto* rail = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND));
      if (rail && rail->GetStreetType() == STRASSE_SCHIENE)
        if (const int warning = StopClassificationWarning(CheckRailForHstBuild(rail, cx, cy))) return warning;
    }
  return 0;
}

int CUserInt::ToolPlaceRefusal(int& x, int& y, int& dir) {
  if (selObj.tool == 5) {
    x += selObj.busStopOffsetX;
    y += selObj.busStopOffsetY;
  }
  dir = selObj.buildingRichtung;
  const int resId = place::ResIdByListNr(selObj.buildingNumber);
  const int kind = PlacedKind(resId);
  if (!NetHasStreets() && kind != OBJ_TRAMSTOP) return kWarningNoStreet;
  // One advice centre and one car-sharing office: the kind the picture
  // places decides, whatever tool was chosen.
  if (kind == OBJ_ADVICE_CENTRE && HasAdviceCentre()) return kWarningAdviceCentreExists;
  if (kind == OBJ_CARSHARING_CENTRE && HasCarsharingCentre()) return kWarningCarsharingCentreExists;
  if (const int refusal = PlaceRefusal(kind, resId, x, y, dir)) return refusal;
  // A kind without a price is not for sale, and the city must pay for it.
  double price = 0;
  if (resId > 0 && place::Potential(resId) &&
      (!PlacePrice(resId, price) || CWorldHost::Get()->CheckForMoney(static_cast<int>(price)) != 0))
    return kWarningNoMoneyBuild;
  return 0;
}

int CUserInt::PlacedKind(int resId) const {
  // The catalogue's kind of the picture; the tool's own kind for a picture
  // the catalogue does not list.
  const int kind = place::ObjectType(resId);
  return kind != 0 ? kind : selObj.objectType;
}
