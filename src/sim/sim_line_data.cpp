// The line data record's byte layout in savegames, current and old.
#include "sim/sim_line_data.h"

#include <cstring>
#include <initializer_list>

#include "framework/zor_record.h"

void LineDataType::Reset(int32_t type) {
  std::memset(static_cast<void*>(this), 0, sizeof *this);
  headway = kNewLineHeadway;
  netType = type;
}

bool LineDataType::CountsValid() const {
  if (stopsOneWay > kMaxStopsOneWay || stopEntries > kMaxStopEntries) return false;
  if (stopEntries > 2 * stopsOneWay + 1) return false;
  if (streetsOneWay > kMaxStreets / 2 || streetEntries > 2 * streetsOneWay) return false;
  return streetCursor <= kMaxStreets;
}

namespace {
// The stop arrays of either form, `entries` of each; the stop objects'
// words are skipped and the pointers left null.
void ReadStops(ZorRecordReader& in, int entries, LineDataType& d) {
  for (int i = 0; i < entries; ++i) d.stopStreetIds[i] = in.I16();
  for (int i = 0; i < entries; ++i) d.stopIds[i] = in.I16();
  in.Skip(4u * static_cast<unsigned>(entries));
  for (int i = 0; i < entries; ++i) d.stopActive[i] = in.U8();
  for (int i = 0; i < entries; ++i) d.reservedFloats[i] = in.F32();
  for (int i = 0; i < entries; ++i) d.distances[i] = in.I32();
  for (int i = 0; i < entries; ++i) d.reservedShorts[i] = in.I16();
  for (int i = 0; i < entries; ++i) d.times[i] = in.I32();
}

// The line number and the counts, int16 each in both forms.
void ReadCounts(ZorRecordReader& in, LineDataType& d) {
  d.lineNumber = in.I16();
  d.stopEntries = in.U16();
  d.streetEntries = in.U16();
  d.stopsOneWay = in.U16();
  d.streetsOneWay = in.U16();
  d.streetCursor = in.U16();
}

// Headway, cost, vehicles needed and the five vehicle kinds, int32 each.
void ReadServiceAndFleet(ZorRecordReader& in, LineDataType& d) {
  for (int32_t* v : {&d.headway, &d.yearlyCost, &d.vehiclesNeeded, &d.normalBuses, &d.electricBuses,
                     &d.hydrogenBuses, &d.lowFloorBuses, &d.trams})
    *v = in.I32();
}
}  // namespace

void LineDataType::Write(ZorRecordWriter& out) const {
  for (int16_t id : streetIds) out.I16(id);
  for (int16_t id : stopStreetIds) out.I16(id);
  for (int16_t id : stopIds) out.I16(id);
  for (int i = 0; i < kMaxStopEntries; ++i) out.U32(0);
  for (uint8_t a : stopActive) out.U8(a);
  for (float f : reservedFloats) out.F32(f);
  for (int32_t v : distances) out.I32(v);
  for (int16_t v : reservedShorts) out.I16(v);
  for (int32_t v : times) out.I32(v);
  out.I16(lineNumber);
  out.U16(stopEntries);
  out.U16(streetEntries);
  out.U16(stopsOneWay);
  out.U16(streetsOneWay);
  out.U16(streetCursor);
  out.F32(length);
  out.F32(averageSpeed);
  out.F32(exclusiveLength);
  for (int32_t v : {headway, yearlyCost, vehiclesNeeded, normalBuses, electricBuses, hydrogenBuses, lowFloorBuses,
                    trams})
    out.I32(v);
  out.F32(priorityShare);
  out.F32(serviceState);
  out.U8(active);
  out.U8(0);
  out.U16(0);
  out.F32(reserved);
  out.I32(netType);
  for (int32_t p : passengers) out.I32(p);
}

bool LineDataType::Read(ZorRecordReader& in) {
  const int32_t type = netType;
  Reset(type);
  for (int16_t& id : streetIds) id = in.I16();
  ReadStops(in, kMaxStopEntries, *this);
  ReadCounts(in, *this);
  length = in.F32();
  averageSpeed = in.F32();
  exclusiveLength = in.F32();
  ReadServiceAndFleet(in, *this);
  priorityShare = in.F32();
  serviceState = in.F32();
  active = in.U8();
  in.Skip(3);
  reserved = in.F32();
  netType = in.I32();
  for (int32_t& p : passengers) p = in.I32();
  if (in.Ok() && CountsValid()) return true;
  Reset(type);
  return false;
}

bool LineDataType::ReadOld(ZorRecordReader& in, int32_t type) {
  Reset(type);
  for (int i = 0; i < kOldMaxStreets; ++i) streetIds[i] = in.I16();
  ReadStops(in, kOldMaxStopEntries, *this);
  ReadCounts(in, *this);
  ReadServiceAndFleet(in, *this);
  length = in.F32();
  averageSpeed = in.F32();
  exclusiveLength = in.F32();
  priorityShare = in.F32();
  serviceState = in.F32();
  active = static_cast<uint8_t>(in.I32() != 0);
  reserved = in.F32();
  netType = in.I32();
  for (int32_t& p : passengers) p = in.I32();
  const bool fits = stopEntries <= kOldMaxStopEntries && streetEntries <= kOldMaxStreets;
  if (in.Ok() && fits && CountsValid()) return true;
  Reset(type);
  return false;
}
