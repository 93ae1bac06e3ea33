// Interim bodies of the map's per-turn work, input and overlay drawing,
// so that the map links before they are built. Whoever builds them
// removes the matching body here.
#include "iso/iso_welt.h"

int CIsoWelt::OnPlayloopTurn() { return 0; }
int CIsoWelt::InputFilter(QnoInteractionEvent*, QnoView*) { return 1; }
void CIsoWelt::RenderUserInt(QnoDisplay*) {}
int CIsoWelt::RenderBuildingSelections() { return 0; }
int CIsoWelt::RenderBuildingList() { return 0; }
