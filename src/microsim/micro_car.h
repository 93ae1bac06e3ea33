#pragma once
// A vehicle of the micro simulation. The map draws it a second time at a
// cell edge through its second-drawing place.
#include "iso/iso_vehicle.h"

class CCar : public CIsoVehicle {};
