#pragma once
// Rental micro cars.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CMietMicro : public CWorldObj {
 public:
};
