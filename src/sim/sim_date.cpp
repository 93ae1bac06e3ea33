#include "sim/sim_date.h"

#include <cstdint>

#include "framework/zor_record.h"

// Ticks never go negative in play; a negative count still gives hours in
// 0..23 so that Month() stays in range.
int CSimDate::Hour() const {
  int h = m_t % 24;
  return h < 0 ? h + 24 : h;
}

int CSimDate::Year() const { return m_t / 24; }

int CSimDate::Month() const {
  int m = (Hour() - 5) * 12 / 15;
  if ((Hour() - 5) * 12 < 0 && (Hour() - 5) * 12 % 15 != 0) --m;  // floor
  if (m < 0) return 0;
  if (m > 11) return 11;
  return m;
}

double CSimDate::FYear() const { return Year() + Month() / 12.0; }

bool CSimDate::Save(FILE* file) const {
  ZorRecordWriter out(file);
  out.I32(m_t);
  return out.Ok();
}

bool CSimDate::Load(FILE* file) {
  ZorRecordReader in(file);
  const int32_t t = in.I32();
  if (!in.Ok()) return false;
  m_t = t;
  return true;
}

STime STime::FromDate(const CSimDate& date) {
  STime t;
  t.hour = date.Hour();
  t.day = date.Day();
  t.year = date.Year();
  t.fyear = static_cast<float>(date.FYear());
  return t;
}
