// The thirteen builders that create every window of the game in code. Each
// is filled in by the window issue that builds its windows.
#include "world/zor_world.h"

int CZorvaWorld::WindowAdd() { return 0; }
int CZorvaWorld::WindowAddExpo() { return 0; }
int CZorvaWorld::WindowAddAk() { return 0; }
int CZorvaWorld::WindowAddOpnv() { return 0; }
int CZorvaWorld::WindowAddFloaterGebaeude() { return 0; }
int CZorvaWorld::WindowAddParken() { return 0; }
int CZorvaWorld::WindowAddParkhaus() { return 0; }
int CZorvaWorld::WindowAddKreuzung() { return 0; }
int CZorvaWorld::WindowAddStreet() { return 0; }
int CZorvaWorld::WindowAddIndikatoren() { return 0; }
int CZorvaWorld::WindowAddStatistik() { return 0; }
int CZorvaWorld::WindowAddEventBerater() { return 0; }
int CZorvaWorld::WindowAddLadenSpeichern() { return 0; }
