#pragma once
// What the placing and removal tools ask of the building catalogue and how
// they price a building, in one place: the tools call nothing else of the
// catalogue.
#include "worldbase/sim_location_types.h"

class CBuildingObject;

namespace place {

// ---- the building catalogue ----
// The picture of catalogue number nr; 0 when there is none.
int ResIdByListNr(int nr);
// The catalogue entry of a picture; null when the picture is not listed.
const PotentialType* Potential(int resId);
// The height class (variant) of an entry: 1 small, 2 medium, 3 large.
int Height(const PotentialType* potential);
// The height class of a placed building: its location's, or else its
// kind's in the catalogue.
int Height(const CBuildingObject* building);
// The object type the catalogue gives a picture; 0 when it is not listed.
int ObjectType(int resId);
// The first entry of the kind with that variant (any variant below 1):
// its picture (0 when none) and number.
int ResIdByType(int type, int variant, int* nr);
// The footprint of entry nr in a rotation 0..3, in cells; false without one.
bool Size(int nr, int rotation, int& width, int& depth);

// ---- prices ----
// The price-table entry of a building of the kind and height class when it
// is placed; -1 when the kind has no price. Stops book on public
// transport's account, everything else on the city's building costs.
int PlaceEntry(int type, int height);
// The entry of its removal; -1 when the table has none for the kind.
int RemoveEntry(int type, int height);
// The entry of a zone of the kind (4, 5, 6) and height class; -1 when the
// height gives no entry of the zone table.
int ZoneEntry(int zoneType, int height);
// Whether a price of the kind books on public transport's account.
bool BooksOnPublicTransport(int type);

constexpr const char* kBuildCosts = "F.EXPENSES.BUILDINFRASTRUCTURE";
constexpr const char* kStopCosts = "OPNV.F.COST.INFRASTRUCTURE";

}  // namespace place
