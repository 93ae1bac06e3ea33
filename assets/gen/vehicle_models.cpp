#include "gen/vehicle_models.h"

#include "microsim/vehicle_sprites.h"

namespace zorgen {

namespace {

const Rgb GLASS = Hex(0x4e6478);
const Rgb TYRES = Hex(0x25272a);
const Rgb HEADLIGHT = Hex(0xf6f0d2);
const Rgb TAILLIGHT = Hex(0xb3241e);
constexpr uint8_t FRONT = FaceBit(VehicleFace::Front), BACK = FaceBit(VehicleFace::Back),
                  RIGHT = FaceBit(VehicleFace::Right), TOP = FaceBit(VehicleFace::Top);

// The dark strip of tyres and chassis under the body.
VehicleBox Underside(double l, double w, double h) {
  return {-l * 0.44, l * 0.44, -w * 0.46, w * 0.46, 0.0, h, TYRES, TYRES, 0, {}};
}

std::vector<VehicleBand> Lights() {
  return {{FRONT, 0.04, 0.26, 0.45, 0.85, HEADLIGHT}, {FRONT, 0.74, 0.96, 0.45, 0.85, HEADLIGHT},
          {BACK, 0.04, 0.22, 0.5, 0.85, TAILLIGHT},   {BACK, 0.78, 0.96, 0.5, 0.85, TAILLIGHT}};
}

// A car: lower body over the whole length, glass cabin from `back` to
// `front` (fractions of the length from the rear) up to `roofH`.
struct CarShape {
  double length, width, bodyH, roofH, back, front;
};
constexpr CarShape HATCH{0.25, 0.13, 0.052, 0.088, 0.04, 0.62};
constexpr CarShape SALOON{0.30, 0.14, 0.050, 0.086, 0.22, 0.66};
constexpr CarShape SHORT_SALOON{0.265, 0.135, 0.050, 0.086, 0.2, 0.68};
constexpr CarShape ESTATE{0.31, 0.14, 0.052, 0.088, 0.05, 0.66};
constexpr CarShape COUPE{0.29, 0.14, 0.046, 0.076, 0.30, 0.64};
constexpr CarShape SUV{0.30, 0.15, 0.062, 0.102, 0.05, 0.68};
constexpr CarShape MICRO{0.19, 0.11, 0.050, 0.090, 0.06, 0.74};

VehicleModel Car(const CarShape& s, Rgb colour, std::vector<VehicleBand> bodyBands = {},
                 std::vector<VehicleBand> cabinBands = {}) {
  VehicleModel m;
  m.length = s.length, m.width = s.width;
  const double l = s.length / 2, w = s.width / 2;
  m.boxes.push_back(Underside(s.length, s.width, 0.022));
  VehicleBox body{-l, l, -w, w, 0.016, s.bodyH, colour, colour, 1, Lights()};
  body.bands.insert(body.bands.end(), bodyBands.begin(), bodyBands.end());
  m.boxes.push_back(body);
  const double inset = s.width * 0.09;
  VehicleBox cabin{-l + s.length * s.back, -l + s.length * s.front, -w + inset, w - inset, s.bodyH, s.roofH,
                   colour.Scaled(0.96), colour, 2,
                   {{SIDES, 0.05, 0.95, 0.08, 0.92, GLASS}, {FRONT | BACK, 0.07, 0.93, 0.08, 0.92, GLASS}}};
  cabin.bands.insert(cabin.bands.end(), cabinBands.begin(), cabinBands.end());
  m.boxes.push_back(cabin);
  return m;
}

// A van: a tall box over most of the length, a short bonnet in front.
VehicleModel Van(Rgb colour, Rgb stripe) {
  VehicleModel m;
  m.length = 0.36, m.width = 0.15;
  const double l = m.length / 2, w = m.width / 2;
  m.boxes.push_back(Underside(m.length, m.width, 0.024));
  m.boxes.push_back({l * 0.62, l, -w, w, 0.018, 0.062, colour, colour, 1, Lights()});
  m.boxes.push_back({-l, l * 0.62, -w, w, 0.018, 0.13, colour, colour.Scaled(1.03), 1,
                     {{FRONT, 0.06, 0.94, 0.55, 0.9, GLASS},
                      {SIDES, 0.80, 0.97, 0.55, 0.9, GLASS},
                      {SIDES, 0.0, 0.78, 0.30, 0.42, stripe},
                      {BACK, 0.04, 0.18, 0.25, 0.45, TAILLIGHT},
                      {BACK, 0.82, 0.96, 0.25, 0.45, TAILLIGHT}}});
  return m;
}

// A lorry: a cab in front of a load on a dark chassis.
VehicleModel Lorry(double length, Rgb cab, Rgb load, Rgb stripe, bool tank) {
  VehicleModel m;
  m.length = length, m.width = 0.16;
  const double l = length / 2, w = m.width / 2;
  m.boxes.push_back(Underside(length, m.width, 0.034));
  const double split = l - 0.11;
  m.boxes.push_back({split, l, -w, w, 0.020, 0.135, cab, cab.Scaled(1.05), 1,
                     {{FRONT, 0.06, 0.94, 0.55, 0.9, GLASS},
                      {SIDES, 0.45, 0.95, 0.55, 0.9, GLASS},
                      {FRONT, 0.04, 0.2, 0.12, 0.25, HEADLIGHT},
                      {FRONT, 0.8, 0.96, 0.12, 0.25, HEADLIGHT}}});
  if (tank) {
    const double tw = w * 0.8;
    m.boxes.push_back({-l, split - 0.012, -tw, tw, 0.034, 0.13, load, load.Scaled(1.06), 1,
                       {{SIDES, 0.0, 1.0, 0.42, 0.56, stripe}, {TOP, 0.1, 0.9, 0.4, 0.6, load.Scaled(0.85)}}});
  } else {
    m.boxes.push_back({-l, split - 0.008, -w, w, 0.034, 0.165, load, load.Scaled(1.02), 1,
                       {{SIDES, 0.04, 0.96, 0.35, 0.6, stripe},
                        {BACK, 0.05, 0.95, 0.08, 0.92, load.Scaled(0.9)},
                        {BACK, 0.02, 0.12, 0.04, 0.14, TAILLIGHT},
                        {BACK, 0.88, 0.98, 0.04, 0.14, TAILLIGHT}}});
  }
  return m;
}

enum class RoofKit { None, AirCon, Tanks, Battery, Pantograph };

// A bus or one section of a tram: windows along both sides, doors on the
// right, a skirt in a second colour.
VehicleBox Saloon(double u0, double u1, double w, Rgb body, Rgb skirt, Rgb roof, bool front, bool back, int doors) {
  VehicleBox b{u0, u1, -w, w, 0.018, 0.15, body, roof, 1, {}};
  b.bands.push_back({SIDES, 0.0, 1.0, 0.0, 0.2, skirt});
  b.bands.push_back({SIDES, back ? 0.05 : 0.0, front ? 0.95 : 1.0, 0.48, 0.86, GLASS});
  for (int d = 0; d < doors; ++d) {
    const double t = front ? 0.80 - d * 0.42 : 0.62 - d * 0.42;
    if (t > 0.05) b.bands.push_back({RIGHT, t, t + 0.1, 0.12, 0.86, GLASS.Scaled(0.8)});
  }
  if (front) {
    b.bands.push_back({FRONT, 0.05, 0.95, 0.38, 0.9, GLASS});
    b.bands.push_back({FRONT, 0.05, 0.22, 0.1, 0.2, HEADLIGHT});
    b.bands.push_back({FRONT, 0.78, 0.95, 0.1, 0.2, HEADLIGHT});
  }
  if (back) {
    b.bands.push_back({BACK, 0.1, 0.9, 0.55, 0.86, GLASS});
    b.bands.push_back({BACK, 0.05, 0.18, 0.1, 0.22, TAILLIGHT});
    b.bands.push_back({BACK, 0.82, 0.95, 0.1, 0.22, TAILLIGHT});
  }
  return b;
}

VehicleModel Bus(Rgb body, Rgb skirt, Rgb roof, RoofKit kit) {
  VehicleModel m;
  m.length = 0.60, m.width = 0.17;
  const double l = m.length / 2, w = m.width / 2;
  m.boxes.push_back(Underside(m.length, m.width, 0.03));
  m.boxes.push_back(Saloon(-l, l, w, body, skirt, roof, true, true, 2));
  const Rgb grey = Hex(0xb4babf);
  switch (kit) {
    case RoofKit::AirCon: m.boxes.push_back({-0.05, 0.09, -w * 0.55, w * 0.55, 0.15, 0.168, grey, grey, 2, {}}); break;
    case RoofKit::Tanks:
      m.boxes.push_back({-0.16, 0.10, -w * 0.7, w * 0.7, 0.15, 0.178, Hex(0xdfe6ec), Hex(0xdfe6ec), 2,
                         {{TOP, 0.0, 1.0, 0.45, 0.55, Hex(0x9fb0c0)}}});
      break;
    case RoofKit::Battery:
      m.boxes.push_back({-0.22, 0.16, -w * 0.62, w * 0.62, 0.15, 0.166, Hex(0x3f4a52), Hex(0x56646e), 2, {}});
      break;
    default: break;
  }
  return m;
}

VehicleModel Tram(Rgb body, Rgb skirt, Rgb roof) {
  VehicleModel m;
  m.length = 0.62, m.width = 0.16;
  const double l = m.length / 2, w = m.width / 2, gap = 0.014;
  m.boxes.push_back(Underside(m.length, m.width, 0.03));
  m.boxes.push_back(Saloon(-l, -gap, w, body, skirt, roof, false, true, 1));
  m.boxes.push_back({-gap, gap, -w * 0.85, w * 0.85, 0.03, 0.14, Hex(0x3a3d40), Hex(0x3a3d40), 1, {}});
  m.boxes.push_back(Saloon(gap, l, w, body, skirt, roof, true, false, 1));
  const Rgb frame = Hex(0x2f3236);
  m.boxes.push_back({0.08, 0.2, -w * 0.5, w * 0.5, 0.15, 0.158, frame, frame, 2, {}});
  m.boxes.push_back({0.13, 0.15, -w * 0.42, w * 0.42, 0.158, 0.19, frame, frame, 3, {}});
  return m;
}

VehicleBand Stripe(double k0, double k1, Rgb c) { return {SIDES | FRONT | BACK, 0.0, 1.0, k0, k1, c}; }

}  // namespace

VehicleModel VehicleModelOfKind(int kind) {
  switch (zorveh::VehicleSpriteSource(kind)) {
    case 0: return Car(SALOON, Hex(0x3b6ea8));
    case 2: return Car(HATCH, Hex(0xc23b32));
    case 3: return Car(ESTATE, Hex(0xb9c0c7));
    case 4: return Car(COUPE, Hex(0xe2b637));
    case 6: return Car(SUV, Hex(0x2f6b4f));
    case 7: return Car(SALOON, Hex(0xe6e6e0));
    case 8: return Car(HATCH, Hex(0xd97a2b));
    case 9: return Car(ESTATE, Hex(0x7a3440));
    case 10: return Car(MICRO, Hex(0x6fc3a7));
    case 11: return Car(MICRO, Hex(0xd9646b));
    case 12: return Car(MICRO, Hex(0x7fb2df));
    case 13: return Car(MICRO, Hex(0xe8dcb0));
    // The shared car: white with the orange band of the car-sharing service.
    case 14: return Car(HATCH, Hex(0xf0f0ea), {Stripe(0.25, 0.55, Hex(0xe2652a))}, {{TOP, 0.1, 0.9, 0.3, 0.7, Hex(0xe2652a)}});
    // Hydrogen: pale blue with a dark blue roof.
    case 15: return Car(SHORT_SALOON, Hex(0xa9cde8), {Stripe(0.2, 0.42, Hex(0x23508a))}, {{TOP, 0.0, 1.0, 0.0, 1.0, Hex(0x23508a)}});
    // Electric: green with a white band.
    case 16: return Car(HATCH, Hex(0x4fae5a), {Stripe(0.25, 0.5, Hex(0xf2f5ef))});
    case 17: return Van(Hex(0xeeeeea), Hex(0x3b7dc4));
    case 18: return Lorry(0.52, Hex(0xb83a2e), Hex(0xf1efe8), Hex(0xb83a2e), false);
    case 19: return Lorry(0.48, Hex(0x2e5d9a), Hex(0xd7dadc), Hex(0xe0b030), false);
    case 20: return Lorry(0.50, Hex(0x3d7a46), Hex(0xc9ced3), Hex(0x3d7a46), true);
    case zorveh::VEHICLE_KIND_BUS: return Bus(Hex(0xefe6cf), Hex(0xb33a2a), Hex(0xf6f1e4), RoofKit::AirCon);
    case zorveh::VEHICLE_KIND_BUS_H2: return Bus(Hex(0xf2f4f6), Hex(0x2d6fb7), Hex(0xf7f8fa), RoofKit::Tanks);
    case zorveh::VEHICLE_KIND_BUS_LOWFLOOR: return Bus(Hex(0xe7c02e), Hex(0x5a5f66), Hex(0xf0d565), RoofKit::AirCon);
    case zorveh::VEHICLE_KIND_BUS_ELECTRIC: return Bus(Hex(0x4aa35a), Hex(0xf1f4ee), Hex(0xd8e8d4), RoofKit::Battery);
    default: return Tram(Hex(0xc8392d), Hex(0xefe6cf), Hex(0xe3e5e7));
  }
}

}  // namespace zorgen
