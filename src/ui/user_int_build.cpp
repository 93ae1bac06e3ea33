// The controller's side of building a street or a track with the mouse:
// the press starts the preview (after the money check), every move moves
// its end, and the release lets the network build what the preview lays
// out, books what the change of the networks costs and tells public
// transport and the locations.
#include <cmath>

#include "framework/zor_stand_in.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_net_lengths.h"
#include "network/str_strasse.h"
#include "ui/str_preview.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {
constexpr int kWarningNoMoney = 21;
// Price table rows of the street classes.
constexpr int kPreisSide = 5;
constexpr int kPreisMain = 6;
constexpr int kPreisFour = 7;
constexpr int kPreisTrack = 9;
constexpr const char* kStreetCosts = "F.EXPENSES.BUILDINFRASTRUCTURE";
constexpr const char* kTrackCosts = "OPNV.F.COST.INFRASTRUCTURE";

// Adds every street of a network once, by class.
void AddLengths(CStrJunctionList* net, CUserInt::NetLengths* out) {
  if (!net) return;
  const SStrNetLengths n = StrMeasureNetLengths(net);
  out->side += static_cast<float>(n.side / 100.0);
  out->main += static_cast<float>(n.main / 100.0);
  out->four += static_cast<float>(n.four * 2.0 / 100.0);
  out->track += static_cast<float>(n.track * 2.0 / 100.0);
}
}  // namespace

CUserInt::NetLengths CUserInt::MeasureNetLengths(CStrJunctionList* streets, CStrJunctionList* rails) {
  NetLengths n;
  AddLengths(streets, &n);
  if (rails != streets) AddLengths(rails, &n);
  return n;
}

void CUserInt::StreetChangeCosts(const NetLengths& before, const NetLengths& after, double* streets, double* tracks,
                                 int priceClass) {
  CWorldHost* host = CWorldHost::Get();
  // Each class that changed is charged; a change of several classes at
  // once (a street that takes over a junction's type) pays for each.
  double amount = 0;
  if (after.side != before.side) amount += host->GetPreis(kPreisSide, priceClass) * std::fabs(before.side - after.side);
  if (after.main != before.main) amount += host->GetPreis(kPreisMain, priceClass) * std::fabs(before.main - after.main);
  // The doubled lengths of the two-strip classes are halved again.
  if (after.four != before.four) amount += host->GetPreis(kPreisFour, priceClass) * std::fabs(before.four - after.four) * 0.5;
  *streets = static_cast<float>(amount);
  *tracks = 0;
  if (after.track != before.track)
    *tracks = static_cast<float>(host->GetPreis(kPreisTrack, priceClass) * std::fabs(before.track - after.track) * 0.5);
}

int CUserInt::StartBuildStreet(int x, int y) {
  RecordMapCall("StartBuildStreet", x, y, 1);
  if (selObj.streetDrag) return 1;
  if (CWorldHost::Get()->CheckForMoney(0) != 0) {
    SetAchtungWindow(kWarningNoMoney);
    return 1;
  }
  CStrSchJuncList* rails = GetRailNet();
  if (!m_pStrPreviewRect) m_pStrPreviewRect = new CStrPreviewRect(m_pIsoWelt, m_pStreetNet, rails);
  m_pStrPreviewRect->SetNetworks(m_pIsoWelt, m_pStreetNet, rails);
  const CStrassenType type = static_cast<TStrassenType>(selObj.subtool);
  // A refusal the preview's rules show only by its look is explained.
  if (!m_pStrPreviewRect->SetStartPoint(static_cast<short>(x), static_cast<short>(y), type)) {
    m_pStrPreviewRect->ExplainRefusal(type);
    return 1;
  }
  selObj.streetDrag = 1;
  m_BuildStreet = 1;
  return 0;
}

int CUserInt::BuildStreet(int x, int y) {
  RecordMapCall("BuildStreet", x, y, 1);
  if (selObj.streetDrag && m_pStrPreviewRect)
    m_pStrPreviewRect->SetEndPoint(static_cast<short>(x), static_cast<short>(y), static_cast<TStrassenType>(selObj.subtool));
  return 1;
}

int CUserInt::StopBuildStreet(int x, int y) {
  RecordMapCall("StopBuildStreet", x, y, 0);
  if (!selObj.streetDrag || !m_pStrPreviewRect) return 0;
  selObj.streetDrag = 0;
  m_BuildStreet = 0;
  CStrSchJuncList* rails = GetRailNet();
  const NetLengths before = MeasureNetLengths(m_pStreetNet, rails);
  const CStrassenType type = static_cast<TStrassenType>(selObj.subtool);
  if (!m_pStrPreviewRect->SetFinalEndPos(static_cast<short>(x), static_cast<short>(y), type)) {
    m_pStrPreviewRect->ExplainRefusal(type);
    return 0;
  }
  int result = STR_BUILD_BAD_REQUEST;
  if (type == STRASSE_SCHIENE)
    result = rails ? rails->CreateStreet(m_pStrPreviewRect, type) : STR_BUILD_BAD_REQUEST;
  else if (m_pStreetNet)
    result = m_pStreetNet->CreateStreet(m_pStrPreviewRect, type);
  if (result != STR_BUILD_OK) {
    m_pStrPreviewRect->ExplainRefusal(type);
    return 0;
  }
  const NetLengths after = MeasureNetLengths(m_pStreetNet, rails);
  double streets = 0, tracks = 0;
  StreetChangeCosts(before, after, &streets, &tracks);
  CWorldHost* world = CWorldHost::Get();
  if (after.track != before.track) world->VarAddValue(kTrackCosts, tracks);
  world->VarAddValue(kStreetCosts, streets);
  FollowUpNetChange();
  return 0;
}

bool CUserInt::BuildStreet(int x1, int y1, int x2, int y2, CStrassenType type) {
  CStrPreviewRect preview(m_pIsoWelt, m_pStreetNet, GetRailNet());
  preview.SetStartPoint(static_cast<short>(x1), static_cast<short>(y1), type);
  preview.SetEndPoint(static_cast<short>(x2), static_cast<short>(y2), type);
  return !m_pStreetNet || m_pStreetNet->CreateStreet(&preview, type) != STR_BUILD_OK;
}

int CUserInt::MouseLeftUpOnWindow() {
  EndSelectionOnRelease();
  return 0;
}
