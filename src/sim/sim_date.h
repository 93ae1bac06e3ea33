#pragma once
// The simulation clock: a count of simulated hours since the start. Only the
// hours 5 to 20 of a day are simulated, and one day is one game year.
#include <cstdio>

class CSimDate {
 public:
  CSimDate() = default;
  explicit CSimDate(const int& ticks) : m_t(ticks) {}

  int Hour() const;
  int Day() const { return 1; }
  int Year() const;
  int Month() const;
  double FYear() const;
  int SecondsFromStart() const { return m_t * 3600; }
  int TicksFromStart() const { return m_t; }
  operator int() const { return m_t; }
  void SetTicksFromStart(int ticks) { m_t = ticks; }

  // Four raw little-endian bytes; true when the item was transferred.
  bool Save(FILE* file) const;
  bool Load(FILE* file);

 private:
  int m_t = 0;
};

// The simulation time handed to every per-hour operation of the game.
struct STime {
  int hour = 0;
  int day = 1;
  int year = 0;
  float fyear = 0.0f;

  static STime FromDate(const CSimDate& date);
};
