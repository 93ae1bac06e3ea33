#pragma once
// The lengths of a street or rail network by street class, every street
// counted once although both of its junctions list it.
class CStrJunctionList;

struct SStrNetLengths {
  double total = 0;  // every street
  double side = 0;   // class 1
  double main = 0;   // class 2
  double four = 0;   // class 4, the four-lane street (its length once)
  double track = 0;  // rails
  int streets = 0;
  int vls = 0;  // streets whose route guidance (VLS) is on
};

SStrNetLengths StrMeasureNetLengths(CStrJunctionList* net);
