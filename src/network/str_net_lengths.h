#pragma once
// The lengths of a street or rail network by street class, every street
// counted once although both of its junctions list it.
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"

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

// Whether arm i of junction j is where its street is counted once: at the
// street's start junction, at the first of that junction's arms it holds
// (a loop is listed twice at its one junction).
inline bool StrCountsStreetAt(const CStrJunction* j, int i) {
  const CStrStrasse* s = j->GetStreetByNR(i);
  if (!s || s->GetStartJunction() != j) return false;
  for (int k = 0; k < i; ++k)
    if (j->GetStreetByNR(k) == s) return false;
  return true;
}

// Calls f with every street of the network once.
template <class F>
void StrForEachStreet(CStrJunctionList* net, F&& f) {
  for (CZorvaObject* o = net ? net->GetHead() : nullptr; o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (StrCountsStreetAt(j, i)) f(j->GetStreetByNR(i));
  }
}
