#include "network/str_net_lengths.h"

#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"

SStrNetLengths StrMeasureNetLengths(CStrJunctionList* net) {
  SStrNetLengths n;
  if (!net) return n;
  StrForEachStreet(net, [&](const CStrStrasse* s) {
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
  });
  return n;
}
