#pragma once
// The price table of everything the council can build or buy: per entry a
// building price, a removal price and a yearly upkeep rate.

class CPreise {
 public:
  static constexpr int kEntries = 44;
  virtual ~CPreise() = default;
  // Fills the static price table; the caller keeps and deletes the object.
  static CPreise* SetPreise();
  // Class 0 the building price, 1 the removal price, 2 the yearly upkeep
  // (rate times building price); 0 for an entry or class outside the table.
  static double GetPreis(int entry, int cls);

 private:
  static float s_table[kEntries][3];
};
