// The removal tool for streets and tracks: one press on a street, a track
// or an end junction takes the whole street out of its network, unless the
// removal would empty the network, cut a stop off or leave an important
// building without access; the removal is priced by the change of the
// network's class lengths and followed by the same checks as a build.
#include <algorithm>
#include <cmath>

#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "measures/opnv_net.h"
#include "gui/screen_window.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {

// Warnings of the removal.
constexpr int kWarningCannotRemove = 7;
constexpr int kWarningStopOnStreet = 13;
constexpr int kWarningStopOnTrack = 14;
constexpr int kWarningImportantBuilding = 26;
constexpr int kWarningNetDivided = 27;
constexpr int kWarningLastStreets = 35;
constexpr int kWarningLastTracks = 48;
constexpr int kWarningRailDivided = 55;
constexpr int kWarningBadJunction = 56;
constexpr int kWarningTracks = 57;
// A network keeps at least this many junctions.
constexpr uint32_t kMinJunctions = 3;
constexpr const char* kBuildCostVar = "F.EXPENSES.BUILDINFRASTRUCTURE";
// The street windows and the crossing windows.
constexpr int kStreetWindows[] = {190, 191, 192, 193, 194, 195};
constexpr int kStreetObjectWindows[] = {190, 191, 192, 194, 195};
constexpr int kCrossingWindows[] = {229, 230};

}  // namespace

bool CUserInt::StreetHasHst(CStrStrasse* street) const {
  if (!street || !m_pIsoWelt) return false;
  CWorldObj* own = street->GetWorldObj();
  // The tiles of the street are those whose ground names its object: the
  // centre line and, for wide streets and tracks, the second column.
  for (int n = 1; CStrStrassenTeil* p = street->GetStrassenTeil(n); ++n) {
    const int x0 = std::min(p->GetStartX(), p->GetEndX()) - 1, x1 = std::max(p->GetStartX(), p->GetEndX()) + 1;
    const int y0 = std::min(p->GetStartY(), p->GetEndY()) - 1, y1 = std::max(p->GetStartY(), p->GetEndY()) + 1;
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) {
        if (!InWorld(x, y)) continue;
        const bool ofStreet = own ? m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND) == own
                                  : (x == p->GetStartX() || y == p->GetStartY());
        if (!ofStreet) continue;
        const TObjectType upper =
            m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_UPPER);
        if (street->IsHst(upper)) return true;
      }
  }
  return false;
}

int CUserInt::CheckStreetCrossingWindow() {
  auto closeAll = [this](const int* ids, int n, const int* objectIds, int m) {
    for (int i = 0; i < m; ++i)
      if (topWindow) topWindow->SetVarWorldObject(objectIds[i], -2, -2, nullptr, nullptr);
    for (int i = 0; i < n; ++i) DeActivateWindow(ids[i], 0);
  };
  bool streetGone = true;
  if (selObj.selectedStreet && m_pStreetNet) {
    CStrStrasse* s = m_pStreetNet->GetStreetByID(selObj.selectedStreetId);
    streetGone = !s || s->GetWorldObj() != selObj.selectedStreet;
  }
  if (streetGone) {
    selObj.selectedStreetId = -1;
    selObj.selectedStreet = nullptr;
    closeAll(kStreetWindows, 6, kStreetObjectWindows, 5);
    ResetStreet24hData();
  }
  if (selObj.selectedCrossing && m_pStreetNet) {
    CStrJunction* j = m_pStreetNet->GetJunctionByID(static_cast<unsigned short>(selObj.selectedCrossingId));
    if (j && j->GetAnzLinkedStreets() > 1) return 0;
  }
  selObj.selectedCrossing = nullptr;
  selObj.selectedCrossingId = -1;
  closeAll(kCrossingWindows, 2, kCrossingWindows, 2);
  return 0;
}

void CUserInt::FollowUpNetChange() {
  CheckStreetCrossingWindow();
  // The lines follow the changed networks: bus lines over the streets, tram
  // lines over the tracks.
  if (COpnv* opnv = COpnv::Get()) {
    if (COpnvNet* bus = opnv->GetBusNet()) bus->CheckAllLinesForStreetChange();
    if (COpnvNet* tram = opnv->GetTramNet()) tram->CheckAllLinesForRailChange();
  }
  CUiHost::Get()->CheckAllLocationsForNearestCrossing();
  CUiHost::Get()->StreetNetChanged();
}

int CUserInt::DeleteStreet(int x, int y) {
  RecordMapCall("DeleteStreet", x, y, 1);
  const int type = SelTileType(x, y);
  if (type < OBJ_RAIL_PIECE || type > OBJ_CROSSING) return 1;
  const bool track = type == OBJ_RAIL_PIECE || type == OBJ_RAIL_JUNCTION;
  CStrStrasse* street = nullptr;
  if (type == OBJ_STREET_PIECE) street = GetStrasseAt(x, y);
  if (type == OBJ_RAIL_PIECE) street = GetSchienenAt(x, y);
  if (type == OBJ_CROSSING || type == OBJ_RAIL_JUNCTION) {
    CStrJunction* j = track ? GetSchJunctionAt(x, y) : GetJunctionAt(x, y);
    // Only an end junction stands for its street.
    if (!j || j->GetAnzLinkedStreets() != 1) return 1;
    street = j->GetStreetByNR(0);
  }
  CStrJunctionList* net = track ? static_cast<CStrJunctionList*>(GetRailNet()) : m_pStreetNet;
  if (!street || !net) return 1;
  if (net->GetNumber() < kMinJunctions) {
    SetAchtungWindow(track ? kWarningLastTracks : kWarningLastStreets);
    return 1;
  }
  if (StreetHasHst(street)) {
    SetAchtungWindow(track ? kWarningStopOnTrack : kWarningStopOnStreet);
    return 1;
  }
  if (!track) {
    int bx = -1, by = -1, bw = -1, bd = -1;
    if (CUiHost::Get()->CheckStreetForRemove(street->GetWorldObj(), bx, by, bw, bd) != 0) {
      const uint32_t now = kfx_GetTicks();
      selObj.importantX = bx;
      selObj.importantY = by;
      selObj.importantW = bw;
      selObj.importantH = bd;
      selObj.importantUntil = now + kRemovalHighlightMs;
      selObj.importantStart = now;
      SetAchtungWindow(kWarningImportantBuilding);
      return 1;
    }
  }
  const NetLengths before = MeasureNetLengths(m_pStreetNet, GetRailNet());
  const int result = net->DeleteStreet(street);
  if (result != 0) {
    int warning = kWarningCannotRemove;
    switch (result) {
      case 1: warning = kWarningNetDivided; break;
      case 2: warning = kWarningRailDivided; break;
      case 3: warning = kWarningBadJunction; break;
      case 5: warning = kWarningTracks; break;
      default: break;
    }
    SetAchtungWindow(warning);
    return 1;
  }
  const NetLengths after = MeasureNetLengths(m_pStreetNet, GetRailNet());
  double streets = 0, tracks = 0;
  StreetChangeCosts(before, after, &streets, &tracks, 1);
  CWorldHost::Get()->VarAddValue(kBuildCostVar, streets);
  FollowUpNetChange();
  return 1;
}
