// The interface's view of the exhibition: god mode's task step and its
// operations on clicked cells, and the markings it draws over the map and
// the small map.
#include "model/gott_modus.h"
#include "ui/small_map.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "world/zor_world_hosts.h"

namespace {

struct SmallMapFrame {
  const CSmallMap* map;
  int left, top;
};

// The small map's screen pixel of a cell: its rows are counted up from the bottom.
bool SmallMapPixel(void* context, int x, int y, int* px, int* py) {
  const auto* f = static_cast<const SmallMapFrame*>(context);
  int sx = 0, sy = 0;
  f->map->IsoKoorToScreenKoor(x, y, &sx, &sy);
  *px = sx + f->left;
  *py = f->map->GetHeight() - sy - 1 + f->top;
  return true;
}

}  // namespace

int CZorUiHost::GetExpoModus() { return CGottModus::GetExpoModus(); }

void CZorUiHost::RenderExpoMarkers(QnoDisplay* display, int kind, bool blinkOn) {
  CGottModus* god = m_world.GetGottModus();
  CIsoWelt* map = m_world.GetIsoWelt();
  if (!god || !map) return;
  if (kind == EXPO_BUS) {
    god->Expo_Bus_RenderMarkierung(map);
    if (blinkOn) god->Expo_Bus_RenderPfeil(map, display, GetResourceManager());
  } else if (kind == EXPO_STREET && blinkOn) {
    god->Expo_Street_RenderMarkierung(map);
  }
}

void CZorUiHost::RenderExpoMarkersSmallMap(QnoDisplay* display, int kind, int x, int y) {
  CGottModus* god = m_world.GetGottModus();
  CUserInt* ui = m_world.GetUserInt();
  CSmallMap* small = ui ? ui->GetSmallMap() : nullptr;
  if (!god || !small) return;
  SmallMapFrame frame{small, x, y};
  if (kind == EXPO_BUS) god->Expo_Bus_RenderMarkierungSmallMap(display, SmallMapPixel, &frame);
  if (kind == EXPO_STREET) god->Expo_Street_RenderMarkierungSmallMap(display, SmallMapPixel, &frame);
}

int CZorUiHost::GetExpoState() { return CGottModus::GetExpoState(); }

void CZorUiHost::SetExpoState(int state) {
  if (CGottModus* god = m_world.GetGottModus()) god->SetExpoState(state);
}

void CZorUiHost::ExpoBusSetHst(int x, int y) {
  if (CGottModus* god = m_world.GetGottModus()) god->Expo_Bus_SetHst(x, y);
}

void CZorUiHost::ExpoStreetSetStreet(int x, int y) {
  if (CGottModus* god = m_world.GetGottModus()) god->Expo_Street_SetStreet(x, y);
}

void CZorUiHost::ExpoCheckWarningWindow(bool buttonOrKey) {
  CGottModus* god = m_world.GetGottModus();
  if (!god) return;
  god->Expo_CheckWarningWindow();
  if (buttonOrKey) god->Expo_CheckWarningWindowMouseKey();
}

void CZorUiHost::ExpoRefreshLastMove() {
  if (CGottModus* god = m_world.GetGottModus()) god->Expo_RefreshLastMove();
}
