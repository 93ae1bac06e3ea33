#pragma once
// The vehicles as models of boxes: u along the vehicle (forwards), v across
// it (to the right), h upwards, all in cell units around the middle of its
// footprint on the ground.
#include <cstdint>
#include <vector>

#include "gen/iso_paint.h"

namespace zorgen {

enum class VehicleFace : uint8_t { Front, Right, Back, Left, Top };
constexpr uint8_t FaceBit(VehicleFace f) { return static_cast<uint8_t>(1u << static_cast<unsigned>(f)); }
constexpr uint8_t SIDES = FaceBit(VehicleFace::Left) | FaceBit(VehicleFace::Right);

// A coloured patch on some faces of a box: windows, lights, stripes. On the
// walls t runs along the wall (sides from the back to the front, front and
// back from the left to the right) and k up the wall; on the roof t runs
// along u and k along v. All from 0 to 1.
struct VehicleBand {
  uint8_t faces;
  double t0, t1, k0, k1;
  Rgb colour;
};

struct VehicleBox {
  double u0, u1, v0, v1, h0, h1;
  Rgb body, roof;
  int level = 0;  // drawn after every box of a lower level
  std::vector<VehicleBand> bands;
};

struct VehicleModel {
  double length = 0, width = 0;
  std::vector<VehicleBox> boxes;
};

// The model of a sprite kind (any kind 0..27; kinds without a model of
// their own show the model their pictures come from).
VehicleModel VehicleModelOfKind(int kind);

// The map angle (radians, from the map's +x towards +y) of sprite direction dir.
double VehicleHeadingAngle(int dir);
// The sprite of a model at a zoom column and direction, cut so that its
// middle lies at the footprint's middle plus the offset.
Image16 DrawVehicleSprite(const VehicleModel& model, int column, int dir, int offsetX, int offsetY);
// The interface picture of a model, on a plain background.
Image16 DrawVehiclePicture(const VehicleModel& model, int width, int height);

}  // namespace zorgen
