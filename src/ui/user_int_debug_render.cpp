// The two debug layers: marks and panels over the game that show the
// networks, the city model, the demand simulation and the debug flags.
// White text in black boxes with a white edge, in the standard font.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cybernet/cyber_list.h"
#include "cybernet/cyber_net.h"
#include "cybernet/cyber_node.h"
#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "iso/iso_tile.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "sim/sim_city_model.h"
#include "sim/sim_date.h"
#include "sim/sim_district.h"
#include "sim/sim_location.h"
#include "sim/sim_location_factory.h"
#include "measures/building_object.h"
#include "sim/sim_trip.h"
#include "sim/sim_welt.h"
#include "ui/ui_debug_host.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"

namespace {

constexpr unsigned kDebugFont = 823;
constexpr int kWhite = 65535;
// The junctions whose crossing ids the first layer marks, and its mark.
constexpr unsigned short kMarkedCrossings[] = {156, 44, 219, 196};
constexpr int kCrossingMark = 44111;

const char* const kStateNames[] = {"Undefined", "Error",    "Construction", "Comp_Init",
                                   "Matrix_1",  "Matrix_2", "Umlegung",     "Query"};

QnoRenderBuffer* Buffer(QnoDisplay* display) { return display ? display->GetRenderBuffer() : nullptr; }

}  // namespace

void CUserInt::RenderDebugBox(QnoDisplay* display, int x1, int y1, int x2, int y2, const char* text) {
  QnoRenderBuffer* buffer = Buffer(display);
  if (!buffer) return;
  buffer->FillRect(x1, y1, x2, y2, buffer->GetClosestColor(255, 255, 255));
  buffer->FillRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1, 0);
  if (const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kDebugFont); font && text)
    buffer->RenderText(font, x1 + 2, y1 + 1, text, kWhite);
}

void CUserInt::RenderDebugNotice(QnoDisplay* display, int language) {
  static const char* const kNotice[2] = {"Debugmodus", "Debug mode"};
  QnoRenderBuffer* buffer = Buffer(display);
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kDebugFont);
  if (!buffer || !font) return;
  const char* text = kNotice[language == 1 ? 1 : 0];
  const int right = buffer->GetWidth() - 2;
  RenderDebugBox(display, right - buffer->GetTextLength(font, text) - 6, 2, right, 17, text);
}

void CUserInt::RenderStreetMarks(QnoDisplay* display, CStrJunctionList* net, bool rail) {
  if (!net) return;
  for (uint32_t n = 1; n <= net->GetNumber(); ++n) {
    CStrJunction* junction = net->JunctionAt(n);
    if (!junction) continue;
    for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* street = junction->GetStreetByNR(i);
      // Each street once: from its start junction.
      if (street && street->GetStartJunction() == junction) RenderStreet(display, street, rail, false);
    }
  }
}

void CUserInt::RenderDebugInfo(QnoDisplay* display) {
  QnoRenderBuffer* buffer = Buffer(display);
  if (!buffer) return;
  CUiDebugHost* debug = CUiDebugHost::Get();
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kDebugFont);
  char text[160];
  if (m_pStreetNet && m_pIsoWelt)
    for (unsigned short id : kMarkedCrossings)
      if (CStrJunction* j = m_pStreetNet->GetJunctionByID(id))
        m_pIsoWelt->RenderTileAsMouseAt(j->GetXPos(), j->GetYPos(), kCrossingMark, ISO_RICHTUNG_0);
  RenderDebugBox(display, 120, 16, 221, 40, m_Debug.oldMatrix ? "Matrix Old" : "Matrix New");
  if (!m_Debug.netCheck) return;

  CSimWelt* sim = debug->SimWelt();
  // The most streets any public-transport line runs over.
  int most = 0;
  if (COpnv* opnv = COpnv::Get()) {
    opnv->SetupLineCount();
    while (COpnvLine* line = opnv->GetNextLine()) {
      const short* ids = nullptr;
      int count = 0;
      line->GetStreetList(&ids, &count);
      most = std::max(most, count);
    }
  }
  std::snprintf(text, sizeof text, "MaxStreet %i", most);
  RenderDebugBox(display, CUserIntDebug::kMaxStreetX, CUserIntDebug::kMaxStreetY, CUserIntDebug::kMaxStreetX + 101,
                 CUserIntDebug::kMaxStreetY + 24, text);
  // The networks' marks go under the panels, which stay readable over them.
  RenderStreetMarks(display, m_pStreetNet, false);
  RenderStreetMarks(display, GetRailNet(), true);
  int y = CUserIntDebug::kCityY;
  RenderCityInfo(display, y);
  RenderDebugOpnvLineStreet(display, selObj.selectedLine, y);
  m_Debug.lastRailNet = CheckRailNet();
  m_Debug.lastStreetNet = CheckStreetNet();
  m_Debug.lastStreetSim = CheckStreetSim();
  m_Debug.lastLocations = CheckLocations();
  RenderDebugBox(display, 120, 2, 221, 16, "CheckStreets");
  std::snprintf(text, sizeof text, "Net/Sim/Rail/Loc: %i/%i/%i/%i", m_Debug.lastStreetNet, m_Debug.lastStreetSim,
                m_Debug.lastRailNet, m_Debug.lastLocations);
  RenderDebugLine(display, CUserIntDebug::kCityX, y, text);
  if (font && sim) {
    const int colour = static_cast<int>(buffer->GetClosestColor(173, 179, 195));
    std::snprintf(text, sizeof text, "%i", sim->Date().Hour());
    buffer->RenderText(font, 580, 573, text, colour);
    std::snprintf(text, sizeof text, "%i", debug->GameSpeed());
    buffer->RenderText(font, 620, 573, text, colour);
  }
}

void CUserInt::RenderCyberView(QnoDisplay* display) {
  QnoRenderBuffer* buffer = Buffer(display);
  CSimWelt* sim = CUiDebugHost::Get()->SimWelt();
  CCyberNet* net = sim ? sim->pCyberNet() : nullptr;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kDebugFont);
  if (!buffer || !net || !font) return;
  // The boxes of the click test: in list order, in rows from (20, 20).
  int x = 20, y = 20;
  char text[96];
  const CCyberNode* selected = SelectedCyberNode();
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail()) {
    const CCyberNode* node = row->pHead();
    if (!node) continue;
    const char* name = node->Name() ? node->Name() : "";
    const int width = std::strstr(name, "to") ? 8 : 8 * static_cast<int>(std::strlen(name));
    const uint32_t edge = node == selected ? buffer->GetClosestColor(255, 255, 0)
                          : node->GetActive()        ? buffer->GetClosestColor(255, 255, 255)
                                                     : buffer->GetClosestColor(128, 128, 128);
    buffer->FillRect(x, y, x + width, y + 66, edge);
    buffer->FillRect(x + 1, y + 1, x + width - 1, y + 65, 0);
    buffer->RenderText(font, x + 2, y + 2, name, kWhite);
    std::snprintf(text, sizeof text, "%.2f", node->Value());
    buffer->RenderText(font, x + 2, y + 22, text, kWhite);
    buffer->RenderText(font, x + 2, y + 54, node->GetActive() ? "on" : node->GetActiveIntern() ? "in" : "off",
                       kWhite);
    x += width + 6;
    if (x > 750) x = 20, y += 72;
  }
  if (const CCyberNode* node = selected) {
    std::snprintf(text, sizeof text, "Wert: %.6f Min:%.6f Max: %.6f", node->Value(), node->MinSize(), node->MaxSize());
    RenderDebugBox(display, 20, 560, 420, 574, text);
  }
}

void CUserInt::RenderTripDistribution(QnoDisplay* display) {
  QnoRenderBuffer* buffer = Buffer(display);
  CSimWelt* sim = CUiDebugHost::Get()->SimWelt();
  CSimCityModell* city = sim ? sim->pCityModell() : nullptr;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kDebugFont);
  if (!buffer || !city || !font) return;
  city->CalcTripLengthDistibution();
  constexpr int kLeft = 40, kBottom = 440, kWidth = 500, kHeight = 160;
  RenderDebugBox(display, kLeft - 20, kBottom - kHeight - 20, kLeft + kWidth + 80, kBottom + 100, nullptr);
  buffer->RenderText(font, kLeft, kBottom + 4, "0 km", kWhite);
  buffer->RenderText(font, kLeft + kWidth - 20, kBottom + 4, "40 km", kWhite);
  struct Curve {
    ESimTransportationMode mode;
    const char* format;
    uint8_t r, g, b;
  };
  const Curve curves[3] = {{SIM_MODE_CAR, "Miv: Trips/Length: %i/%.2f", 255, 80, 80},
                           {SIM_MODE_BUS, "\xd6PNV: Trips/Length: %i/%.2f", 80, 160, 255},
                           {SIM_MODE_WALK, "Feet: Trips/Length: %i/%.2f", 120, 230, 120}};
  double top = 1.0;
  for (const Curve& c : curves)
    if (const double* bins = city->pTripLengthDistribution(c.mode))
      for (int i = 0; i < CSimCityModell::kTripLengthBins; ++i) top = std::max(top, bins[i]);
  char text[128];
  int y = kBottom + 20;
  for (const Curve& c : curves) {
    const double* bins = city->pTripLengthDistribution(c.mode);
    if (!bins) continue;
    const uint32_t colour = buffer->GetClosestColor(c.r, c.g, c.b);
    double trips = 0, metres = 0;
    for (int i = 0; i < CSimCityModell::kTripLengthBins; ++i) {
      trips += bins[i];
      metres += bins[i] * i * CSimCityModell::kTripLengthBinMetres;
      const int x = kLeft + i * kWidth / CSimCityModell::kTripLengthBins;
      const int h = static_cast<int>(bins[i] / top * kHeight);
      buffer->FillRect(x, kBottom - h, x + 3, kBottom - h + 1, colour);
    }
    std::snprintf(text, sizeof text, c.format, static_cast<int>(trips), trips > 0 ? metres / trips / 1000.0 : 0.0);
    buffer->RenderText(font, kLeft, y, text, static_cast<int>(colour));
    y += 16;
  }
  int g[5] = {};
  city->GetGroupType(g[0], g[1], g[2], g[3], g[4]);
  std::snprintf(text, sizeof text, "W->Pkw: %i  W->oPkw: %i  N->Pkw: %i  N->oPkw: %i  S: %i ", g[0], g[1], g[2], g[3],
                g[4]);
  buffer->RenderText(font, kLeft, y, text, kWhite);
  static const char* const kGroups[] = {"Worker mit Auto", "Worker ohne Auto", "Nicht arbeitende mit Auto",
                                        "Nicht arbeitende ohne Auto", "Studenten/Sch\xfcler", "Alle Agenten"};
  const int group = city->TripLengthGroup();
  std::snprintf(text, sizeof text, "%s           --Taste B-- Wechsel der Agentengruppen",
                group >= 0 && group <= 5 ? kGroups[group] : "");
  buffer->RenderText(font, kLeft, kBottom - kHeight - 16, text, kWhite);
}

void CUserInt::RenderDebugInfoFront(QnoDisplay* display) {
  QnoRenderBuffer* buffer = Buffer(display);
  if (!buffer) return;
  CUiDebugHost* debug = CUiDebugHost::Get();
  CUiHost* host = CUiHost::Get();
  char text[128];
  // The cursor column.
  int y = CUserIntDebug::kColumnY;
  auto column = [&](const char* line) {
    RenderDebugBox(display, CUserIntDebug::kColumnX1, y, CUserIntDebug::kColumnX2, y + CUserIntDebug::kLineBox, line);
    y += CUserIntDebug::kLineHeight;
  };
  std::snprintf(text, sizeof text, "Iso X/Y: %i/%i", selObj.mouseTileX, selObj.mouseTileY);
  column(text);
  // The district of the cell under the mouse and that of the building
  // standing there; -1 for none.
  const int tx = selObj.mouseTileX, ty = selObj.mouseTileY;
  int cellDistrict = -1, buildingDistrict = -1;
  if (InWorld(tx, ty)) {
    cellDistrict = CSimLocationFactory::DistrictOf(tx, ty);
    if (CBuildingObject* building = GetBuildingAt(tx, ty, 0))
      if (const CSimLocation* location = building->GetSimLocation()) buildingDistrict = location->GetDistrictID();
  }
  std::snprintf(text, sizeof text, "D:C/B:  %i/%i", cellDistrict, buildingDistrict);
  column(text);
  // The city model's agents re-planned each hour, and its agents.
  CSimCityModell* city = debug->SimWelt() ? debug->SimWelt()->pCityModell() : nullptr;
  std::snprintf(text, sizeof text, "AgRedist:  %i", city ? city->ReplanCount() : 0);
  column(text);
  std::snprintf(text, sizeof text, "DLA:  %i", city ? city->NrOfAgents() : 0);
  column(text);
  std::snprintf(text, sizeof text, "Ticks:  %i", debug->GameSpeed());
  column(text);
  std::snprintf(text, sizeof text, "Grp/Nr: %i/%i ", m_Debug.browseGroup, m_Debug.browseEntry);
  column(text);

  RenderDebugSelection(display, CUserIntDebug::kSelectionX, CUserIntDebug::kSelectionY);
  RenderPriorityStreets(display);
  RenderObjectInfo(display);
  if (GetFilter(1)) RenderDebugOpnv(display);

  if (m_Debug.tripDistribution || m_MatrixDebug) RenderTripDistribution(display);
  if (m_MatrixDebug) RenderCyberView(display);

  // Frame rate and the map's drawing.
  static const char* const kRenderNames[] = {"Sp L->R", "Sp Diagonal", "Tile L->R"};
  const char* render = m_RenderType >= 0 && m_RenderType <= 2 ? kRenderNames[m_RenderType] : "Wrong RenderType";
  std::snprintf(text, sizeof text, "FR: %d  %s", display->GetRealFrameRate(), render);
  RenderDebugBox(display, 1, 2, 116, 16, text);

  // The demand simulation's state.
  if (CSimWelt* sim = debug->SimWelt()) {
    const int state = sim->ComputateState();
    int pass = 0;
    const int slot = sim->ComputateSlotState(pass);
    std::snprintf(text, sizeof text, "%s %i", state >= 0 && state < 8 ? kStateNames[state] : "Undefined", slot);
    RenderDebugBox(display, 2, CUserIntDebug::kStateY, 200, CUserIntDebug::kStateY + CUserIntDebug::kLineBox, text);
    std::snprintf(text, sizeof text, "Computating ...%i", pass);
    RenderDebugBox(display, 2, CUserIntDebug::kComputeY, 200, CUserIntDebug::kComputeY + CUserIntDebug::kLineBox,
                   text);
  }

  // The game mode.
  int kind = 0, indicator = 0, endYear = 0;
  float target = 0.0f;
  switch (host->GetGameModus()) {
    case 3: std::snprintf(text, sizeof text, "GM: Expo"); break;
    case 0: std::snprintf(text, sizeof text, "GM: Gott"); break;
    case 2:
      debug->GetSzenario(&kind, &indicator, &target, &endYear);
      std::snprintf(text, sizeof text, "GM Sz M/I/W/EY %i/%i/%.2f/%i", kind, indicator, target, endYear);
      break;
    default: std::snprintf(text, sizeof text, "GM: Game"); break;
  }
  RenderDebugBox(display, 226, 2, 426, 16, text);

  if (selObj.pause) RenderDebugBox(display, 431, 2, 526, 16, "Game stopped");
  if (selObj.cyberFreeze) RenderDebugBox(display, 531, 2, 626, 16, "Maxtrix stopped");
  if (m_Debug.pedestrians) RenderDebugBox(display, 631, 2, 726, 16, "NewTrispForAll");
  if (selObj.removeAllTest) RenderDebugBox(display, 120, 44, 221, 58, "TestRemoveAll");
  if (m_MakeAgents)
    RenderDebugBox(display, CUserIntDebug::kMakeAgentsX, CUserIntDebug::kMakeAgentsY, CUserIntDebug::kMakeAgentsX + 101,
                   CUserIntDebug::kMakeAgentsY + CUserIntDebug::kLineBox, "MakeAgents");
  if (m_StaticCity) RenderDebugBox(display, 120, 60, 300, 74, "Statische Stadt Diskwrite: Matrix/.. ");

  const char* waiting = debug->WaitMessageShort();
  std::snprintf(text, sizeof text, "WMS: %s", waiting ? waiting : "->Error");
  RenderDebugBox(display, 401, 580, 700, 594, text);
}
