#pragma once
// Which filter icon a world object shows over itself while the map's
// building (3) or traffic (4) filter is on.
#include "worldbase/zor_types.h"

// current is returned for kinds that no filter marks; -1 when both filters
// are off. height is the height class of the object's location.
int ZorFilterIconFor(TObjectType kind, int height, bool filter3, bool filter4, int current);
