// The builders in their fixed order. Stand-in: the builders after WindowAdd, but for the exhibition, the measures, the
// building palette, public transport, the parking windows, the crossing and street windows, the indicators and
// statistics, WindowAddEventBerater and the load and save windows, add no window.
#include "windows/window_builders.h"

int CZorvaWindows::AddAll() {
  WindowAdd();
  WindowAddExpo();
  WindowAddAk();
  WindowAddOpnv();
  WindowAddFloaterGebaeude();
  WindowAddParken();
  WindowAddParkhaus();
  WindowAddKreuzung();
  WindowAddStreet();
  WindowAddIndikatoren();
  WindowAddStatistik();
  WindowAddEventBerater();
  WindowAddLadenSpeichern();
  return 0;
}

