// Stands in for the removal of lines left without stops until the
// operator removes lines.
#include "framework/zor_stand_in.h"
#include "measures/opnv.h"

int COpnv::CheckLinesForNoHst() {
  ZOR_STAND_IN("COpnv");
  return 0;
}
