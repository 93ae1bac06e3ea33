#include "iso/iso_welt.h"

TIsoZoomStufe g_ZoomStufe = ISO_ZOOM_1;

int CIsoWelt::OnPlayloopTurn() { return 0; }
int CIsoWelt::VirtualMouseMove() { return 0; }
int CIsoWelt::SetIsoCenter(int, int) { return 0; }
int CIsoWelt::RefreshAfterModeChange() { return 0; }
