#pragma once
// Traffic guidance signs.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CTrafficDisplay : public CWorldObj {
 public:
};
