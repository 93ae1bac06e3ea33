// The interface's debug tools: the debug keys, the message browser, the
// river editor, the removal of everything in a rectangle, the click test of
// the cause-effect view and the checks of the street and rail networks
// against the demand model.
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "cybernet/cyber_list.h"
#include "cybernet/cyber_net.h"
#include "cybernet/cyber_node.h"
#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_location.h"
#include "sim/sim_network.h"
#include "sim/sim_welt.h"
#include "ui/river_editor.h"
#include "ui/ui_debug_host.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "ui/user_int_place.h"
#include "worldbase/building_catalogue.h"

namespace {

constexpr int kKeyF3 = 25, kKeyF4 = 26, kKeyF5 = 27;
// The last group the message key raises.
constexpr int kLastMessageGroup = 22;
// The indicators a scenario can take: 0..12.
constexpr int kLastIndicator = 12;
// The account key's amount.
constexpr double kAccountStep = 1e8;
// Entries looked at when the browser steps back into a group.
constexpr int kMaxEntries = 1000;

CUiDebugHost* Debug() { return CUiDebugHost::Get(); }

// Object types that the removal of everything takes away by the factory.
bool RemovedByFactory(int type) {
  return (type >= 4 && type <= 16) || (type >= 18 && type <= 20) || (type >= 23 && type <= 26) ||
         (type >= 28 && type <= 35) || (type >= 38 && type <= 40);
}

// The map as the river editor sees it: cells of the iso map, water laid
// and taken away by the world's factory.
class MapCells : public CRiverEditor::Cells {
 public:
  explicit MapCells(CIsoWelt* iso) : m_iso(iso) {}
  int GroundType(int x, int y) override {
    if (!m_iso || !m_iso->GetIsoInfo(x, y)) return -1;
    return m_iso->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
  }
  void PutWater(int x, int y, int resId, int direction, bool replace) override {
    CUiHost* host = CUiHost::Get();
    if (replace) host->RemoveObject(x, y, 0);
    host->CreateObject(CRiverEditor::kWater, resId, direction, x, y, 0);
  }

 private:
  CIsoWelt* m_iso;
};

}  // namespace

int CUserInt::InputFilterDebugKeys(QnoInteractionEvent* e, QnoView*) {
  RecordMapCall("InputFilterDebugKeys", e ? e->x : 0, 0, 1);
  if (!e || e->type != QNO_EVENT_KEYDOWN) return 1;
  CUiDebugHost* debug = Debug();
  int kind = 0, indicator = 0, endYear = 0;
  float target = 0.0f;
  const bool scenario = debug->GetSzenario(&kind, &indicator, &target, &endYear);
  switch (e->x) {
    case kKeyF3:
      // Holds the cause-effect network: the periods at 7, 12 and 17 leave
      // it as it stands until F3 comes again.
      selObj.cyberFreeze = selObj.cyberFreeze ? 0 : 1;
      return 1;
    case kKeyF4:
      // The same pause as the player's.
      selObj.pause = selObj.pause ? 0 : 1;
      return 1;
    case kKeyF5:
      m_Debug.pedestrians = m_Debug.pedestrians ? 0 : 1;
      return 1;
    case '0':
      debug->SetGameModus(1);
      return 0;
    case '3':
      debug->SwitchIndicatorOverride();
      return 0;
    case '4':
      debug->ChangeIndikatoren(-0.1f);
      return 0;
    case '5':
      debug->ChangeIndikatoren(0.1f);
      return 0;
    case '7':
      debug->AddToAccount(kAccountStep);
      return 0;
    case 'Z':
      debug->AddToAccount(-kAccountStep);
      return 0;
    case '8':
      if (scenario) RestartScenario(kind, indicator, target, 4);
      return 1;
    case '9':
      if (scenario) RestartScenario(kind, indicator >= kLastIndicator ? 0 : indicator + 1, target, -1);
      return 0;
    case 'F':
      if (scenario) RestartScenario(kind, indicator, target + 0.05f > 1.0f ? 0.5f : target + 0.05f, 4);
      return 0;
    case 'B':
      if (CSimWelt* sim = debug->SimWelt(); sim && sim->pCityModell()) sim->pCityModell()->ChangeAgentTripLengthGroup();
      return 0;
    case 'C':
      debug->CheckLocations();
      return 1;
    case 'E':
    case 'R':
      SelectTestObjectTool();
      selObj.buildingRichtung = (selObj.buildingRichtung + (e->x == 'E' ? 1 : 3)) % 4;
      TestObjectChanged(false);
      return 0;
    case 'Q':
    case 'W': {
      SelectTestObjectTool();
      const int count = CBuildingDataList::GetRowCount();
      int& nr = selObj.buildingNumber;
      if (e->x == 'Q')
        nr = nr <= 0 ? count - 2 : nr - 1;
      else
        nr = nr >= count - 1 ? 0 : nr + 1;
      // A catalogue of fewer than two entries has only entry 0.
      if (nr < 0 || nr >= count) nr = 0;
      TestObjectChanged(true);
      return 0;
    }
    case 'G':
    case 'H':
      if (CCyberNode* node = SelectedCyberNode()) {
        const double step = (node->MaxSize() - node->MinSize()) / 10.0;
        node->SetSize(node->Size() + (e->x == 'G' ? -step : step));
        m_Debug.cyberNodeSize = static_cast<float>(node->Size());
      }
      return 0;
    case 'J':
      m_RenderType = m_RenderType >= 2 || m_RenderType < 0 ? 0 : m_RenderType + 1;
      return 0;
    case 'K':
      selObj.removeAllTest = selObj.removeAllTest ? 0 : 1;
      m_Debug.removeAll = selObj.removeAllTest;
      return 1;
    case 'N':
      m_Debug.lastStreetNet = CheckStreetNet();
      m_Debug.lastStreetSim = CheckStreetSim();
      m_MatrixDebug = !m_MatrixDebug;
      return 0;
    case 'O':
      BrowseMessage(true);
      return 1;
    case 'P':
      BrowseMessage(false);
      return 1;
    case 'Y':
      m_Debug.oldMatrix = m_Debug.oldMatrix ? 0 : 1;
      BrowseMessage(true);
      return 1;
    case 'T':
      debug->CheckModel();
      m_Debug.lastStreetNet = CheckStreetNet();
      m_Debug.lastRailNet = CheckRailNet();
      m_Debug.lastStreetSim = CheckStreetSim();
      m_Debug.netCheck = m_Debug.netCheck ? 0 : 1;
      return 0;
    case 'U':
      if (m_Debug.raiseGroup < kLastMessageGroup) ++m_Debug.raiseGroup;
      debug->ActivateMessage(m_Debug.raiseGroup, m_Debug.raiseNumber);
      return 1;
    case 'V':
      m_Debug.tripDistribution = m_Debug.tripDistribution ? 0 : 1;
      return 1;
    case 'X':
      if (!selObj.ownedObject) {
        m_Debug.testCarX = 400, m_Debug.testCarY = 300, m_Debug.testCarDirection = 0;
        selObj.ownedObject = debug->CreateTestCar(m_Debug.testCarX, m_Debug.testCarY);
      }
      if (selObj.ownedObject) {
        m_Debug.testCarDirection = (m_Debug.testCarDirection + 1) % 64;
        debug->SetTestCarDirection(selObj.ownedObject, m_Debug.testCarDirection);
      }
      return 1;
    default:
      return 1;
  }
}

void CUserInt::RestartScenario(int kind, int indicator, float value, int years) {
  CUiDebugHost* debug = Debug();
  debug->SetGameModus(2);
  debug->SetSzenario(kind, indicator, value, years);
  m_Debug.indicator = indicator;
  m_Debug.indicatorValue = value;
}

void CUserInt::SelectTestObjectTool() {
  if (IsToolSet(14, -1, -1) != 0) SetToolNr(14, -1, -1);
}

void CUserInt::TestObjectChanged(bool newBuilding) {
  const int nr = selObj.buildingNumber;
  if (newBuilding) selObj.objectType = place::ObjectType(place::ResIdByListNr(nr));
  const auto direction = static_cast<TIsoRichtung>(selObj.buildingRichtung & 3);
  selObj.width = CBuildingDataList::GetXSizeByNr(nr, direction);
  selObj.depth = CBuildingDataList::GetYSizeByNr(nr, direction);
}

// ---- the message browser ----

void CUserInt::BrowseMessage(bool next) {
  CUiDebugHost* debug = Debug();
  int& group = m_Debug.browseGroup;
  int& entry = m_Debug.browseEntry;
  if (next) {
    ++entry;
    if (!debug->MessageExists(group, entry)) {
      entry = 0;
      ++group;
      if (!debug->MessageExists(group, 0)) group = 0;
    }
  } else {
    --entry;
    if (entry < 0 || !debug->MessageExists(group, entry)) {
      // Back past a group's first entry: the last entry of the group before.
      if (entry >= 1) {
        --entry;
      } else {
        --group;
        entry = 0;
        if (group < 0 || !debug->MessageExists(group, 0)) group = 0;
        while (entry + 1 < kMaxEntries && debug->MessageExists(group, entry + 1)) ++entry;
        if (group == 0 && !debug->MessageExists(group, entry)) entry = 0;
      }
    }
  }
  // Only a message that exists is shown.
  if (debug->MessageExists(group, entry)) debug->ShowCheckMessage(group, entry);
}

// ---- the river editor, the removal and the cause-effect view ----

void CUserInt::SetRiverCenter(int x, int y) {
  MapCells cells(m_pIsoWelt);
  CRiverEditor editor;
  editor.SetRiverCenter(cells, x, y);
}

int CUserInt::TestRemoveAll(selObjType& s) {
  RecordMapCall("TestRemoveAll", s.startX, s.startY, 0);
  const int corners[4] = {s.startX, s.startY, s.endX, s.endY};
  for (int c : corners)
    if (c < 0 || c >= CRiverEditor::kSize) return 0;
  if (!m_pIsoWelt) return 0;
  const int x1 = std::min(s.startX, s.endX), x2 = std::max(s.startX, s.endX);
  const int y1 = std::min(s.startY, s.endY), y2 = std::max(s.startY, s.endY);
  CUiHost* host = CUiHost::Get();
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) {
      if (!m_pIsoWelt->GetIsoInfo(x, y)) return 0;
      for (TBaseType layer : {ISO_LAYER_GROUND, ISO_LAYER_UPPER}) {
        const int type =
            m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), layer);
        if (RemovedByFactory(type))
          host->RemoveObject(x, y, layer == ISO_LAYER_GROUND ? 0 : 1);
        else if (type == 52 || type == 50)
          DeleteStreet(x, y);
      }
    }
  return 0;
}

CCyberNode* CUserInt::SelectedCyberNode() {
  if (m_Debug.cyberNodeNr < 0) return nullptr;
  CSimWelt* sim = CUiDebugHost::Get()->SimWelt();
  CCyberNet* net = sim ? sim->pCyberNet() : nullptr;
  int nr = 0;
  for (const CCyberNodeList* row = net ? net->pNodeList() : nullptr; row; row = row->pTail(), ++nr)
    if (nr == m_Debug.cyberNodeNr) return row->pHead();
  return nullptr;
}

int CUserInt::CheckForMatrix(int mx, int my) {
  RecordMapCall("CheckForMatrix", mx, my, 1);
  CSimWelt* sim = Debug()->SimWelt();
  CCyberNet* net = sim ? sim->pCyberNet() : nullptr;
  if (!net) return 1;
  int x = 20, y = 20, nr = 0;
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail(), ++nr) {
    CCyberNode* node = row->pHead();
    if (!node) continue;
    const char* name = node->Name() ? node->Name() : "";
    const int width = std::strstr(name, "to") ? 8 : 8 * static_cast<int>(std::strlen(name));
    if (mx > x && mx < x + width && my > y && my < y + 66) {
      m_Debug.cyberNodeNr = nr;
      m_Debug.cyberNodeSize = static_cast<float>(node->Size());
      if (my > y + 54) {
        if (node->GetActive()) {
          node->SetActive(false);
        } else if (!node->GetActiveIntern()) {
          node->SetActiveIntern(true);
          node->SetActive(true);
        } else {
          node->SetActiveIntern(false);
        }
      }
      return 0;
    }
    x += width + 6;
    if (x > 750) x = 20, y += 72;
  }
  return 1;
}

// ---- the network checks ----

int CUserInt::CheckStreetNet() {
  CSimWelt* sim = Debug()->SimWelt();
  if (!m_pStreetNet || !sim) return 0;
  // Each street is looked at once, however many of its junctions list it.
  std::unordered_set<const CStrStrasse*> passed;
  for (uint32_t n = 1; n <= m_pStreetNet->GetNumber(); ++n) {
    CStrJunction* junction = m_pStreetNet->JunctionAt(n);
    if (!junction) continue;
    for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* street = junction->GetStreetByNR(i);
      if (!street || passed.count(street)) continue;
      const short ids[2] = {street->GetSimID(), street->GetSimIDSecond()};
      const bool oneWay = street->GetStreetType() == STRASSE_EINBAHN;
      CSimStreet* simStreets[2] = {};
      for (int k = 0; k < 2; ++k) {
        if (k == 1 && oneWay && ids[k] == 0) continue;
        simStreets[k] = ids[k] ? sim->GetStreet(ids[k], 0) : nullptr;
        if (!simStreets[k]) {
          QNO_ERROR(QNO_SEV_WARNING, "Street with ID %d not in SimWelt", ids[k]);
          return 1;
        }
      }
      // The first direction runs from the street's start to its end, the
      // second back.
      const CStrJunction* ends[2] = {street->GetStartJunction(), street->GetEndJunction()};
      for (int k = 0; k < 2; ++k) {
        const CSimStreet* s = simStreets[k];
        if (!s) continue;
        const CStrJunction* from = ends[k], *to = ends[1 - k];
        if (!from || !to || !s->pStartCrossing() || !s->pEndCrossing() ||
            s->pStartCrossing()->ID() != from->GetSimID() || s->pEndCrossing()->ID() != to->GetSimID())
          return 2;
      }
      passed.insert(street);
    }
  }
  return 0;
}

int CUserInt::CheckStreetSim() {
  CSimWelt* sim = Debug()->SimWelt();
  if (!m_pStreetNet || !sim) return 0;
  int mismatches = 0;
  for (const CBinaryTreeNode* n = sim->GetFirstCrossing(0); n; n = n->pNext()) {
    const auto* crossing = static_cast<const CSimCrossing*>(n);
    if (crossing->ID() == 0) continue;
    CStrJunction* junction = m_pStreetNet->GetJunctionByID(static_cast<unsigned short>(crossing->ID()));
    if (!junction) {
      ++mismatches;
      continue;
    }
    // Every street leaving the crossing belongs to a street of the junction.
    for (int side = 0; side < 4; ++side) {
      const CSimStreet* out = crossing->pOutStreet(side);
      if (!out) continue;
      bool found = false;
      for (int i = 0; i < junction->GetAnzLinkedStreets() && !found; ++i) {
        const CStrStrasse* street = junction->GetStreetByNR(i);
        found = street && (street->GetSimID() == out->ID() || street->GetSimIDSecond() == out->ID());
      }
      if (!found) ++mismatches;
    }
  }
  return mismatches;
}

int CUserInt::CheckRailNet() {
  CStrSchJuncList* rails = GetRailNet();
  if (!rails) return 0;
  // Every track listed at a junction ends there.
  int mismatches = 0;
  for (uint32_t n = 1; n <= rails->GetNumber(); ++n) {
    CStrJunction* junction = rails->JunctionAt(n);
    if (!junction) continue;
    for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i) {
      const CStrStrasse* track = junction->GetStreetByNR(i);
      if (track && track->GetStartJunction() != junction && track->GetEndJunction() != junction) ++mismatches;
    }
  }
  return mismatches;
}

int CUserInt::CheckLocations() {
  if (!m_pStreetNet) return 0;
  // A location registered at a junction has that junction as its nearest
  // crossing.
  int mismatches = 0;
  for (uint32_t n = 1; n <= m_pStreetNet->GetNumber(); ++n) {
    CStrJunction* junction = m_pStreetNet->JunctionAt(n);
    CLocationList* locations = junction ? junction->GetLocationList() : nullptr;
    if (!locations) continue;
    locations->SetupLocationCount(0);
    while (CSimLocation* location = locations->GetNextLocation())
      if (static_cast<unsigned short>(location->NearestCrossing()) != junction->GetSimID()) ++mismatches;
  }
  return mismatches;
}
