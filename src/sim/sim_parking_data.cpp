#include "sim/sim_parking_data.h"

#include <algorithm>
#include <limits>

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

void ParkingDataType::HoldToRange(ZorFieldRange& range) {
  constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
  constexpr float kFloatMost = std::numeric_limits<float>::max();
  range.Hold(sizeClass, 1, 3, "size class");
  range.Hold(districtId, int16_t{1}, int16_t{256}, "district id");
  range.Hold(places, 0, kMost, "places");
  range.Hold(carPlaces, 0, places, "car places");
  // Microcar places count one and a half per place they take; the places
  // round, so one more place is allowed for.
  const double microcarRoom = (static_cast<double>(places) + 1.0 - carPlaces) * 1.5;
  range.Hold(microcarPlaces, 0, static_cast<int32_t>(std::min(microcarRoom, static_cast<double>(kMost))),
             "microcar places");
  range.Hold(carPlacesUsed, 0, kMost, "car places in use");
  range.Hold(microcarPlacesUsed, 0, kMost, "microcar places in use");
  range.Hold(price, 0.0f, 2.0f, "price");
  range.Hold(microcarPrice, 0.0f, kFloatMost, "microcar price");
  range.Hold(microcarReduction, 0.0f, 100.0f, "microcar reduction");
  range.Hold(microcarShare, 0.0f, 100.0f, "microcar share");
  range.Hold(carLoad, 0.0f, kFloatMost, "car load");
  range.Hold(microcarLoad, 0.0f, 1.0f, "microcar load");
  range.Hold(reservationOff, 0, 1, "reservation flag");
  range.Hold(guidanceOff, 0, 1, "guidance flag");
  range.Hold(graphicRow, 0, 2, "graphic row");
}
