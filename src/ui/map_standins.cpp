#include "ui/map_standins.h"

int CTwoDMap::UpdateAll() { return 0; }
int CSmallMap::SetBitmapEmtpy() { return 0; }
int CViewFilter::Deactivate() { return 0; }
void CViewFilter::UpdateViewRect(const IsoViewRectType&) {}
void CViewFilter::Update(int, int) {}

int CSmallMap::IsoKoorToScreenKoor(int x, int y, int* px, int* py) const {
  int rx = 0, ry = 0;
  switch (g_IsoRichtung & 3) {
    case 0: rx = 127 - y; ry = 127 - x; break;
    case 1: rx = 127 - x; ry = y; break;
    case 2: rx = y; ry = x; break;
    default: rx = x; ry = 127 - y; break;
  }
  const float a = static_cast<float>(GetWidth()) / 256.0f, b = static_cast<float>(GetHeight()) / 256.0f;
  *px = static_cast<int>(a * static_cast<float>(rx) - a * static_cast<float>(ry) + static_cast<float>(GetWidth()) / 2.0f);
  *py = static_cast<int>(b * static_cast<float>(rx) + b * static_cast<float>(ry));
  return 0;
}
