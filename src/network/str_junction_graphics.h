#pragma once
// Which crossing graphic a junction shows, and turned how far, from the arms
// that meet it. A junction of one-tile streets codes each side in two bits
// (1 a one-way street, 3 any other): -x bits 0-1, +x bits 2-3, -y bits 4-5,
// +y bits 6-7. A junction with four-lane streets codes each side by type:
// -x 1 / 2 / 4 (one-way, other one-tile, four-lane), +x 8 / 16 or 32 / 64,
// -y 128 / 256 or 512 / 1024, +y 2048 / 4096 or 8192 / 16384.
struct KurveIDRow {
  int mask;
  int resId;
  int rotation;
};

constexpr int kKurveIDRows = 64;
extern const KurveIDRow KurveID[kKurveIDRows];
constexpr int kKurveIDStrasseDRows = 43;
extern const KurveIDRow KurveIDStrasseD[kKurveIDStrasseDRows];

// The first row of the table whose mask matches; false (id and rotation 0)
// when none does.
bool FindKurveID(const KurveIDRow* table, int rows, int mask, int* resId, int* rotation);
