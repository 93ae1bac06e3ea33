#pragma once
// Owners of game values answer the named-variable operations of the world
// object base: 0 for a name they hold, 1 for any other. The measure and
// model singletons implement them over their value tables and register with
// the data exchange under their prefix.
#include "worldbase/zor_world_obj.h"

using CVarOwner = CWorldObj;
