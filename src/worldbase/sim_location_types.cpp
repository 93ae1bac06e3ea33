#include "worldbase/sim_location_types.h"

#include "framework/zor_record.h"

uint16_t PotentialType::Word(int offset) const {
  if (offset < kWordsFirst || offset >= kWordsEnd || offset % 2) return 0;
  return words[(offset - kWordsFirst) / 2];
}

void PotentialType::SetWord(int offset, uint16_t value) {
  if (offset < kWordsFirst || offset >= kWordsEnd || offset % 2) return;
  words[(offset - kWordsFirst) / 2] = value;
}

void PotentialType::Write(ZorRecordWriter& out) const {
  out.U16(first);
  out.U16(height);
  out.I32(resId);
  out.I32(objectType);
  out.I32(graphic);
  out.I32(locationType);
  out.U16(size.width);
  out.U16(size.depth);
  for (uint16_t w : words) out.U16(w);
  out.I32(carried);
  // The place of the record's table pointer: no data.
  out.U32(0);
}

int PotentialType::SerializeGameStore(FILE* file) const {
  ZorRecordWriter out(file);
  Write(out);
  return out.Ok() ? 0 : 1;
}

bool PotentialType::Read(ZorRecordReader& in) {
  PotentialType p;
  p.first = in.U16();
  p.height = in.U16();
  p.resId = in.I32();
  p.objectType = in.I32();
  p.graphic = in.I32();
  p.locationType = in.I32();
  p.size.width = in.U16();
  p.size.depth = in.U16();
  for (uint16_t& w : p.words) w = in.U16();
  p.carried = in.I32();
  in.U32();
  if (!in.Ok()) return false;
  *this = p;
  return true;
}
