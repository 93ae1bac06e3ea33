#include "ui/user_int.h"

CScreenWindow* CUserInt::topWindow = nullptr;

int CTwoDMap::UpdateAll() { return 0; }

int CSmallMap::SetBitmapEmtpy() { return 0; }
int CViewFilter::Deactivate() { return 0; }
void CViewFilter::UpdateViewRect(const IsoViewRectType&) {}
void CViewFilter::Update(int, int) {}

unsigned char CUserInt::m_ActivateDebugInfo = 0;

unsigned char CUserInt::GetTileMask(int x, int y) const {
  return x >= 0 && x < 128 && y >= 0 && y < 128 ? m_TileMask[x][y] : 0;
}
unsigned char CUserInt::GetTileMask2(int x, int y) const {
  return x >= 0 && x < 128 && y >= 0 && y < 128 ? m_TileMask2[x][y] : 0;
}
void CUserInt::SetTileMask(int x, int y, unsigned char kind, unsigned char bits) {
  if (x < 0 || x >= 128 || y < 0 || y >= 128) return;
  m_TileMask[x][y] = kind;
  m_TileMask2[x][y] = bits;
}
CBuildingObject* CUserInt::GetBuildingAt(int, int, int) { return nullptr; }


int CUserInt::OnCreate(QnoResourceManager*, QnoDisplay*, CZorvaWorld* world, CIsoWelt*, CStrJunctionList*) {
  m_pWorld = world;
  return 0;
}

int CUserInt::Destroy() { return 0; }
int CUserInt::InputFilter(QnoInteractionEvent* event, QnoView*) {
  // The map reads which buttons are held; the event stays unconsumed.
  if (event && (event->type == QNO_EVENT_BUTTONDOWN || event->type == QNO_EVENT_BUTTONUP)) {
    const unsigned char held = event->type == QNO_EVENT_BUTTONDOWN ? 1 : 0;
    if (event->button == 0)
      selObj.leftButton = held;
    else
      selObj.rightButton = held;
  }
  return 1;
}
int CUserInt::Render(QnoDisplay*) { return 0; }
int CUserInt::OnPlayloopTurn() { return 0; }
int CUserInt::SetAufloesung(int, int) { return 0; }
int CUserInt::UpdateStreet24h(int) { return 0; }
int CUserInt::ResetBeforeLoad(CStrJunctionList*) { return 0; }

int CUserInt::GetFilter(int n) const {
  if (n < 0 || n > 4) return 0;
  if (n == 0) return !(m_Filter[1] || m_Filter[2] || m_Filter[3] || m_Filter[4]);
  return m_Filter[n] ? 1 : 0;
}

void CUserInt::SetFilter(int n, bool on) {
  if (n >= 1 && n <= 4) m_Filter[n] = on;
}

int CUserInt::CheckStreetForHstBuild(CStreetObj*, int, int) { return 0; }
int CUserInt::CheckRailForHstBuild(CStreetObj*, int, int) { return 0; }
void CUserInt::SetAchtungWindow(int) {}
void CUserInt::RenderOpnvNet(QnoDisplay*) {}
void CUserInt::RenderOpnvLineStreet(QnoDisplay*, COpnvLine*, unsigned short) {}
void CUserInt::RenderOpnvLineHst(QnoDisplay*, COpnvLine*) {}
