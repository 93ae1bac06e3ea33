#include "sim/sim_date.h"

#include <cstdint>

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
  if (!file) return false;
  uint32_t v = static_cast<uint32_t>(m_t);
  unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                        static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
  return std::fwrite(b, 4, 1, file) == 1;
}

bool CSimDate::Load(FILE* file) {
  if (!file) return false;
  unsigned char b[4];
  if (std::fread(b, 4, 1, file) != 1) return false;
  m_t = static_cast<int>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
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
