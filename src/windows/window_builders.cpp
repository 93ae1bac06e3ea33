// The window builders, called in their fixed order: the order of creation
// is the order of the window tree's children.
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

