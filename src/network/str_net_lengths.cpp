#include "network/str_net_lengths.h"

#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"

SStrNetLengths StrMeasureNetLengths(CStrJunctionList* net) {
  SStrNetLengths n;
  if (!net) return n;
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    const auto* j = static_cast<const CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      const CStrStrasse* s = j->GetStreetByNR(i);
      // A street is met at both of its ends (and twice at a loop's one).
      if (!s || s->GetStartJunction() != j) continue;
      bool first = true;
      for (int k = 0; k < i; ++k) first = first && j->GetStreetByNR(k) != s;
      if (!first) continue;
      const double length = s->GetLaenge();
      ++n.streets;
      if (s->HasVLS()) ++n.vls;
      n.total += length;
      switch (s->GetStreetType()) {
        case STRASSE_1: n.side += length; break;
        case STRASSE_2: n.main += length; break;
        case STRASSE_VIERSPURIG: n.four += length; break;
        case STRASSE_SCHIENE: n.track += length; break;
        default: break;
      }
    }
  }
  return n;
}
