// The builders in their fixed order. Stand-in: the builders after WindowAdd, but for the exhibition, the building
// palette, public transport, the crossing and street windows, the indicators and statistics, WindowAddEventBerater
// and the load and save windows, add no window.
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

int CZorvaWindows::WindowAddAk() { return 0; }
int CZorvaWindows::WindowAddParken() { return 0; }
int CZorvaWindows::WindowAddParkhaus() { return 0; }
