#include "sim/sim_parking_data.h"

#include <cmath>

#include "framework/zor_record.h"

void ParkingDataType::Write(ZorRecordWriter& out) const {
  out.I32(sizeClass);
  out.F32(price);
  out.F32(microcarPrice);
  out.F32(microcarReduction);
  out.I32(graphicRow);
  out.I32(places);
  out.I32(carPlaces);
  out.I32(microcarPlaces);
  out.I32(carPlacesUsed);
  out.I32(microcarPlacesUsed);
  out.F32(microcarShare);
  out.F32(carLoad);
  out.F32(microcarLoad);
  out.I32(income);
  out.I32(expenses);
  out.I32(reservationOff);
  out.I32(guidanceOff);
  out.I16(districtId);
  out.U16(0);
  out.I32(number);
}

bool ParkingDataType::Read(ZorRecordReader& in) {
  ParkingDataType d;
  d.sizeClass = in.I32();
  d.price = in.F32();
  d.microcarPrice = in.F32();
  d.microcarReduction = in.F32();
  d.graphicRow = in.I32();
  d.places = in.I32();
  d.carPlaces = in.I32();
  d.microcarPlaces = in.I32();
  d.carPlacesUsed = in.I32();
  d.microcarPlacesUsed = in.I32();
  d.microcarShare = in.F32();
  d.carLoad = in.F32();
  d.microcarLoad = in.F32();
  d.income = in.I32();
  d.expenses = in.I32();
  d.reservationOff = in.I32();
  d.guidanceOff = in.I32();
  d.districtId = in.I16();
  in.U16();
  d.number = in.I32();
  if (!in.Ok()) return false;
  *this = d;
  return true;
}

namespace {
bool Within(float v, float lo, float hi) { return std::isfinite(v) && v >= lo && v <= hi; }
}  // namespace

const char* ParkingDataType::Refusal() const {
  if (sizeClass < 1 || sizeClass > 3) return "size class";
  if (districtId < 1 || districtId > 256) return "district id";
  if (places < 0 || carPlaces < 0 || microcarPlaces < 0 || carPlacesUsed < 0 || microcarPlacesUsed < 0)
    return "place count";
  // Microcar places count one and a half per place they take.
  if (static_cast<double>(carPlaces) + microcarPlaces / 1.5 > places + 1.0) return "place count";
  if (!Within(price, 0.0f, 2.0f) || !std::isfinite(microcarPrice)) return "price";
  if (!Within(microcarReduction, 0.0f, 100.0f) || !Within(microcarShare, 0.0f, 100.0f)) return "microcar share";
  if (!Within(carLoad, 0.0f, 1.0f) || !Within(microcarLoad, 0.0f, 1.0f)) return "load";
  if (graphicRow < 0 || graphicRow > 2) return "graphic row";
  return nullptr;
}
