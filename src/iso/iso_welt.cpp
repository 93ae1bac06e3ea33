#include "iso/iso_welt.h"

TIsoZoomStufe g_ZoomStufe = ISO_ZOOM_1;
int32_t g_IsoRichtung = 0;

CIsoWelt::CIsoWelt(CZorvaWorld* world, QnoResourceManager* resources, QnoDisplay* display)
    : m_pWorld(world), m_pResources(resources), m_pDisplay(display), m_pGrid{}, m_UpdateRndLst(this) {}
CIsoWelt::~CIsoWelt() = default;
int CIsoWelt::VirtualMouseMove() { return 0; }
int CIsoWelt::SetIsoCenter(int, int) { return 0; }
int CIsoWelt::RefreshAfterModeChange() { return 0; }
