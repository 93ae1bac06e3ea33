// The panels of the debug layers about single objects and about public
// transport: the join marking at the cursor, the priority streets of the
// crossing under the cursor, the selected street, crossing, track,
// building or stop, the lines with their buses, and the city model's
// totals. Every line is white text in a black box with a white edge.
#include <cstdio>
#include <cstring>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/qno_log.h"
#include "framework/qno_sprite.h"
#include "iso/iso_vehicle.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "microsim/micro_car.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "network/street_objects.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_location.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "ui/ui_debug_host.h"
#include "ui/user_int.h"

namespace {

using L = CUserIntDebug;

constexpr unsigned kDebugFont = 823;
constexpr int kWhite = 65535;
constexpr int kStreetMark = 51200, kRailMark = 51201, kHighlightMark = 44111, kStopMark = 44122;
// The direction a new street leaves a tile in: 0 is y - 1, 1 x + 1, 2 y + 1, 3 x - 1.
const char* const kDirNames[4] = {"/ES", "/SW", "/WN", "/NE"};

const char* DirName(int d) { return d >= 0 && d < 4 ? kDirNames[d] : "error"; }

// A predicate of the street at a tile as 0 or 1.
int Flag(bool b) { return b ? 1 : 0; }

}  // namespace

int CUserInt::DebugLineWidth(const char* text) {
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kDebugFont);
  QnoRenderBuffer* buffer = m_pDisplay ? m_pDisplay->GetRenderBuffer() : nullptr;
  return (font && buffer && text ? buffer->GetTextLength(font, text) : 0) + L::kLinePad;
}

void CUserInt::RenderDebugLine(QnoDisplay* display, int x, int y, const char* text) {
  RenderDebugBox(display, x, y, x + DebugLineWidth(text), y + L::kLineBox, text);
}

// ---- the back layer ----

void CUserInt::RenderCityInfo(QnoDisplay* display, int& y) {
  CSimWelt* sim = CUiDebugHost::Get()->SimWelt();
  CSimCityModell* city = sim ? sim->pCityModell() : nullptr;
  if (!city) return;
  char text[192];
  std::snprintf(text, sizeof text,
                "CityModell: Ho/Re: %i/%i Jo/Wo: %i/%i Sc/Pu: %i/%i Sh/Co: %i/%i Le/Ly: %i/%i Park: %i",
                static_cast<int>(city->NrOfHomes()), static_cast<int>(city->NrOfResidents()),
                static_cast<int>(city->NrOfJobs()), static_cast<int>(city->NrOfWorkers()),
                static_cast<int>(city->NrOfSchoolSeats()), static_cast<int>(city->NrOfScholars()),
                static_cast<int>(city->NrOfShops()), static_cast<int>(city->NrOfConsumers()),
                static_cast<int>(city->NrOfLeisurePoints()), static_cast<int>(city->NrOfLeisurers()),
                static_cast<int>(city->NrOfParking()));
  RenderDebugLine(display, L::kCityX, y, text);
  y += L::kLineHeight;
  long sums[11] = {};
  for (int dx = 0; dx < 16; ++dx)
    for (int dy = 0; dy < 16; ++dy)
      if (const CSimDistrict* d = sim->GetDistrict(dx, dy)) {
        const int values[11] = {d->NrOfHomes(),         d->NrOfResidents(),  d->NrOfJobs(),  d->NrOfWorkers(),
                                d->NrOfSchoolSeats(),   d->NrOfScholars(),   d->NrOfShops(), d->NrOfConsumers(),
                                d->NrOfLeisurePoints(), d->NrOfLeisurers(), d->NrOfParking()};
        for (int k = 0; k < 11; ++k) sums[k] += values[k];
      }
  std::snprintf(text, sizeof text,
                "Districts: Ho/Re: %i/%i Jo/Wo: %i/%i Sc/Pu: %i/%i Sh/Co: %i/%i Le/Ly: %i/%i Park: %i",
                static_cast<int>(sums[0]), static_cast<int>(sums[1]), static_cast<int>(sums[2]),
                static_cast<int>(sums[3]), static_cast<int>(sums[4]), static_cast<int>(sums[5]),
                static_cast<int>(sums[6]), static_cast<int>(sums[7]), static_cast<int>(sums[8]),
                static_cast<int>(sums[9]), static_cast<int>(sums[10]));
  RenderDebugLine(display, L::kCityX, y, text);
  y += L::kLineHeight;
  int people = 0, homes = 0, jobs = 0, hindernis = 0;
  if (CUiDebugHost::Get()->GetGrowthTargets(&people, &homes, &jobs, &hindernis)) {
    std::snprintf(text, sizeof text, "Target: People/Homes/Jobs: %i/%i/%i Growthhindernis:  %i", people, homes,
                  jobs, hindernis);
    RenderDebugLine(display, L::kCityX, y, text);
    y += L::kLineHeight;
  }
}

void CUserInt::RenderDebugOpnvLineStreet(QnoDisplay* display, COpnvLine* line, int& y) {
  if (!line) return;
  char text[128];
  const short* streets = nullptr;
  int count = 0;
  line->GetStreetList(&streets, &count);
  for (int i = 0; i < count && y < L::kPanelBottom; ++i, y += L::kLineHeight) {
    std::snprintf(text, sizeof text, "Nr/StrID: %i/%i", i, streets[i]);
    RenderDebugLine(display, L::kCityX, y, text);
  }
  const short* stops = nullptr;
  const short* stopStreets = nullptr;
  int stopCount = 0, stopStreetCount = 0;
  line->GetHstList(&stops, &stopCount);
  line->GetHstStreetList(&stopStreets, &stopStreetCount);
  // Per stop entry: the street length units and seconds from the entry
  // before, and the passengers the line carries.
  const LineDataType* data = line->GetData();
  const int passengers = line->GetPassengers();
  for (int i = 0; i < stopCount && y < L::kPanelBottom; ++i, y += L::kLineHeight) {
    const bool stored = i < LineDataType::kMaxStopEntries;
    std::snprintf(text, sizeof text, "Nr/HstID/Street/Distance/Time/Flow: %i/%i/%i/%i/%i/%i", i, stops[i],
                  i < stopStreetCount ? stopStreets[i] : -1, stored ? static_cast<int>(data->distances[i]) : 0,
                  stored ? static_cast<int>(data->times[i]) : 0, passengers);
    RenderDebugLine(display, L::kCityX, y, text);
  }
}

void CUserInt::RenderStreet(QnoDisplay*, CStrStrasse* street, bool rail, bool highlight) {
  if (!street || !m_pIsoWelt) return;
  const int mark = highlight ? kHighlightMark : rail ? kRailMark : kStreetMark;
  for (CZorvaObject* o = street->GetHead(); o; o = o->GetNext()) {
    const auto* piece = static_cast<const CStrStrassenTeil*>(o);
    const int sx = piece->GetStartX(), sy = piece->GetStartY(), ex = piece->GetEndX(), ey = piece->GetEndY();
    const int dx = ex > sx ? 1 : ex < sx ? -1 : 0, dy = ey > sy ? 1 : ey < sy ? -1 : 0;
    // A piece runs along one axis; the walk stops at the map's size.
    for (int x = sx, y = sy, k = 0; k < 128; x += dx, y += dy, ++k) {
      m_pIsoWelt->RenderTileAsMouseAt(x, y, mark, ISO_RICHTUNG_0);
      if ((x == ex && y == ey) || (dx == 0 && dy == 0)) break;
    }
  }
}

// ---- the front layer ----

void CUserInt::RenderDebugSelection(QnoDisplay* display, int x, int y) {
  const int tx = selObj.mouseTileX, ty = selObj.mouseTileY;
  if (!InWorld(tx, ty)) return;
  char text[160];
  const auto line = [&](const char* t) {
    RenderDebugLine(display, x, y, t);
    y += L::kLineHeight;
  };
  const auto sx = static_cast<short>(tx), sy = static_cast<short>(ty);
  bool deadEnd = false;
  if (GetJunctionAt(tx, ty)) {
    line("Kreuzung");
  } else if (GetSchJunctionAt(tx, ty)) {
    line("SchienenKreuz");
  } else if (CStrStrasse* street = GetStrasseAt(tx, ty)) {
    line("Strasse");
    std::snprintf(text, sizeof text, "Strasse: %i  ", street->GetSimID());
    line(text);
    const bool beforeJunction = street->PointBeforJunction(sx, sy, deadEnd);
    std::snprintf(text, sizeof text, " B/BB/BC/BE/RC/BRC: %i/%i/%i/%i/%i/%i", Flag(street->PointIsBend(sx, sy)),
                  Flag(street->PointIsBeforBend(sx, sy)), Flag(beforeJunction),
                  Flag(street->PointBeforEndStueckDAndStreetLong(sx, sy, true)),
                  Flag(street->PointIsRailCrossing(sx, sy)), Flag(street->PointIsBeforeRailCrossing(sx, sy)));
    line(text);
  } else if (CStrStrasse* rail = GetSchienenAt(tx, ty)) {
    line("Schienen:");
    const bool beforeJunction = rail->PointBeforJunction(sx, sy, deadEnd);
    std::snprintf(text, sizeof text, " B/BB/BC/BE/RC/OB/SC/BRC/TBC/TBRC: %i/%i/%i/%i/%i/%i/%i/%i/%i/%i",
                  Flag(rail->PointIsBend(sx, sy)), Flag(rail->PointIsBeforBend(sx, sy)), Flag(beforeJunction),
                  Flag(rail->PointBeforEndStueckSchienenAndRailLong(sx, sy, true)),
                  Flag(rail->PointIsRailCrossing(sx, sy)), Flag(rail->PointIsOnBendBeforBend(sx, sy)),
                  Flag(rail->PointIsSpaceForRailCrossing(sx, sy)), Flag(rail->PointIsBeforeRailCrossing(sx, sy)),
                  Flag(rail->PointTwoBeforJunction(sx, sy)), Flag(rail->PointIsTwoBeforeRailCrossing(sx, sy)));
    line(text);
  }
  // The join marking of the tile, direction by direction.
  for (int d = 0; d < 4; ++d) {
    const SelRichtung& r = GetSelRichtung(tx, ty, d);
    char from[24], to[24];
    SelStreetFT(from, static_cast<ESelStreetFromTo>(r.from));
    SelStreetFT(to, static_cast<ESelStreetFromTo>(r.to));
    std::snprintf(text, sizeof text, "From/To %s/%s%s", from, to, DirName(d));
    line(text);
    int mx = -1, my = -1;
    GetSelMeeting(tx, ty, d, mx, my);
    std::snprintf(text, sizeof text, "TO: X/Y: %i/%i", mx, my);
    line(text);
  }
}

void CUserInt::RenderPriorityStreets(QnoDisplay* display) {
  const int tx = selObj.mouseTileX, ty = selObj.mouseTileY;
  if (!m_pIsoWelt || !InWorld(tx, ty) || m_pIsoWelt->GetTypeAt(tx, ty, ISO_LAYER_GROUND) != OBJ_CROSSING) return;
  auto* crossing = dynamic_cast<CKreuzObj*>(m_pIsoWelt->GetIsoTileObject(tx, ty, ISO_LAYER_GROUND));
  if (!crossing) return;
  CStrStrasse* p[2] = {};
  CStrStrasse* n[2] = {};
  crossing->GetPriorityStreets(&p[0], &p[1]);
  crossing->GetNonPriorityStreets(&n[0], &n[1]);
  const auto id = [](CStrStrasse* s) { return s ? static_cast<int>(s->GetSimID()) : -1; };
  RenderDebugBox(display, L::kPriorityX1, L::kPriorityY1, L::kPriorityX2, L::kPriorityY2, nullptr);
  char text[64];
  std::snprintf(text, sizeof text, "Priority Street 1,2: %i/%i ", id(p[0]), id(p[1]));
  RenderDebugLine(display, L::kPriorityX1 + 2, L::kPriorityY1 + 2, text);
  std::snprintf(text, sizeof text, "Priority Street 1,2: %i/%i ", id(n[0]), id(n[1]));
  RenderDebugLine(display, L::kPriorityX1 + 2, L::kPriorityY1 + 2 + L::kLineHeight, text);
}

void CUserInt::RenderObjectInfo(QnoDisplay* display) {
  if (selObj.tool != 1) return;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(GetCache(), kDebugFont);
  CWorldObj* object = selObj.selectedObject    ? selObj.selectedObject
                      : selObj.selectedStreet  ? selObj.selectedStreet
                                               : selObj.selectedCrossing;
  if (!object) return;
  const int type = object->GetType();
  if (type == OBJ_STREET_PIECE) {
    RenderStreetInfo(display, font, L::kInfoX, L::kInfoY, object);
  } else if (type == OBJ_CROSSING) {
    RenderCrossingInfo(display, font, L::kInfoX, L::kInfoY, object);
  } else if (type == OBJ_RAIL_PIECE) {
    RenderSchienenInfo(display, font, L::kInfoX, L::kInfoY, object);
  } else if ((type >= 4 && type <= 13) || (type >= 16 && type <= 20)) {
    RenderBuildingInfo(display, font, L::kInfoX, L::kInfoY, object);
  } else if ((type >= OBJ_BUSSTOP_SIGN && type <= 26) || type == OBJ_TRAMSTOP) {
    auto* stop = dynamic_cast<CSecondLayerObject*>(object);
    char text[32];
    std::snprintf(text, sizeof text, "ID: %i ", stop ? static_cast<int>(stop->GetID()) : -1);
    RenderDebugBox(display, L::kPriorityX1, L::kPriorityY1, L::kPriorityX2, L::kStopBoxY2, nullptr);
    RenderDebugLine(display, L::kPriorityX1 + 2, L::kPriorityY1 + 2, text);
  }
}

void CUserInt::RenderStreetInfo(QnoDisplay* display, const QnoBitmapFont*, int x, int y, CWorldObj* object) {
  auto* piece = dynamic_cast<CStreetObj*>(object);
  CStrStrasse* street = piece ? piece->GetStreetList() : nullptr;
  if (!street) return;
  char text[160];
  const auto line = [&](const char* t) {
    RenderDebugLine(display, x, y, t);
    y += L::kLineHeight;
  };
  std::snprintf(text, sizeof text, "ID/FL/FL24/C /L: %i/%i/%i/%i/%i     ", street->GetSimID(),
                street->GetAuslastung(), street->GetAuslastung24(), street->GetCapacity(), street->GetLaenge());
  line(text);
  std::snprintf(text, sizeof text, "ID/FL/FL24/C /L:%i/%i/%i/%i/%i     ", street->GetSimIDSecond(),
                street->GetAuslastungSecond(), street->GetAuslastung24Second(), street->GetCapacitySecond(),
                street->GetLaenge());
  line(text);
  int flow = 0, capacity = 0;
  piece->GetAuslastung(&flow, &capacity);
  std::snprintf(text, sizeof text, "FL/C/L/T/G: %i/%i/%i/%i/%.2f       ", flow, capacity, street->GetLaenge(),
                street->GetStreetType().GetValue(), capacity > 0 ? static_cast<double>(flow) / capacity : 0.0);
  line(text);
  std::snprintf(text, sizeof text, "ID:%i ", piece->GetSimID());
  line(text);
  // The junctions the street runs from and to, and its second direction.
  const auto junction = [](CStrJunction* j) { return j ? static_cast<int>(j->GetSimID()) : -1; };
  const int ends[3] = {junction(street->GetStartJunction()), street->GetSimIDSecond(),
                       junction(street->GetEndJunction())};
  const char* labels[3] = {"IN  : ", "     COMP: ", "     OUT : "};
  for (int i = 0; i < 3; ++i) {
    std::snprintf(text, sizeof text, "%i", ends[i]);
    RenderDebugLine(display, x, y, labels[i]);
    RenderDebugLine(display, x + DebugLineWidth(labels[i]), y, text);
    y += L::kLineHeight;
  }
  const int tx = selObj.mouseTileX, ty = selObj.mouseTileY;
  unsigned char found = 0;
  int first = -1;
  bool bend = false;
  const int richtung = InWorld(tx, ty) ? street->GetRichtung(tx, ty, found, first, bend) : -1;
  const auto sx = static_cast<short>(tx), sy = static_cast<short>(ty);
  bool deadEnd = false;
  const bool onStreet = InWorld(tx, ty) && GetStrasseAt(tx, ty) == street;
  std::snprintf(text, sizeof text, "Richtung: %s B/BB/BC/RC: %i/%i/%i/%i", DirName(richtung),
                Flag(onStreet && street->PointIsBend(sx, sy)), Flag(onStreet && street->PointIsBeforBend(sx, sy)),
                Flag(onStreet && street->PointBeforJunction(sx, sy, deadEnd)),
                Flag(onStreet && street->PointIsRailCrossing(sx, sy)));
  line(text);
}

void CUserInt::RenderCrossingInfo(QnoDisplay* display, const QnoBitmapFont*, int x, int y, CWorldObj* object) {
  auto* crossing = dynamic_cast<CKreuzObj*>(object);
  CStrJunction* junction = crossing ? crossing->GetWorldObject() : nullptr;
  if (!junction) return;
  char text[96];
  std::snprintf(text, sizeof text, "CrossID: %i X/Y: %i/%i", junction->GetSimID(), junction->GetXPos(),
                junction->GetYPos());
  RenderDebugLine(display, x, y, text);
  y += L::kLineHeight;
  CLocationList* locations = junction->GetLocationList();
  if (!locations) return;
  locations->SetupLocationCount(0);
  int nr = 0;
  while (CSimLocation* location = locations->GetNextLocation()) {
    if (y >= L::kPanelBottom) break;
    std::snprintf(text, sizeof text, "Location Nr:%i X/Y: %i/%i", nr++, location->Position().PosX(), location->Position().PosY());
    RenderDebugLine(display, x, y, text);
    y += L::kLineHeight;
  }
}

void CUserInt::RenderSchienenInfo(QnoDisplay* display, const QnoBitmapFont*, int x, int y, CWorldObj* object) {
  auto* piece = dynamic_cast<CStreetObj*>(object);
  CStrStrasse* rail = piece ? piece->GetStreetList() : nullptr;
  if (!rail) return;
  char text[64];
  std::snprintf(text, sizeof text, "ID/L:%i/%i     ", rail->GetSimID(), rail->GetLaenge());
  RenderDebugLine(display, x, y, text);
}

void CUserInt::RenderBuildingInfo(QnoDisplay* display, const QnoBitmapFont*, int x, int y, CWorldObj* object) {
  CSimLocation* location = object ? object->GetSimLocation() : nullptr;
  if (!location) return;
  char text[128];
  const auto line = [&](const char* t) {
    RenderDebugLine(display, x, y, t);
    y += L::kLineHeight;
  };
  const short crossId = location->NearestCrossing();
  CStrJunction* junction = m_pStreetNet ? m_pStreetNet->GetJunctionByID(static_cast<unsigned short>(crossId)) : nullptr;
  if (!junction) QNO_ERROR(QNO_SEV_ERROR, "lJunction!=NULL in CuserInt::RenderBuildingInfo");
  std::snprintf(text, sizeof text, "LocXY: %i/%i CrossID:%i X/Y: %i/%i", location->Position().PosX(), location->Position().PosY(), crossId,
                junction ? junction->GetXPos() : -1, junction ? junction->GetYPos() : -1);
  line(text);
  short stop = -1;
  int distance = 0;
  if (!location->GetNearestHst(stop, distance)) stop = -1;
  std::snprintf(text, sizeof text, "Haltestelle: %i", stop);
  line(text);
  std::snprintf(text, sizeof text, "DistrictID: %i", location->GetDistrictID());
  line(text);
  // The people a location holds: its capacity times the share of its
  // district's capacity that is used.
  const auto used = [](int capacity, double quote) { return static_cast<int>(capacity * quote); };
  const int homes = location->NrOfHomes(), jobs = location->NrOfJobs();
  const int leisure = location->NrOfLeisurePoints(), shops = location->NrOfShops();
  const struct {
    const char* format;
    int value;
  } rows[] = {{"Homes: %i", homes},
              {"Residents: %i", used(homes, location->QuoteHomesUsed())},
              {"Arbeitspl\xe4tze: %i", jobs},
              {"Worker: %i", used(jobs, location->QuoteWorkUsed())},
              {"Freizeit: %i", leisure},
              {"Urlauber!!!: %i", used(leisure, location->QuoteLeisureUsed())},
              {"Einkaufsm\xf6glichkeiten: %i", shops},
              {"Kaufende!!!: %i", used(shops, location->NrOfShoppingUsed())},
              {"Freie Parkpl\xe4tz: %i", location->NrOfParking()},
              {"Parking Needed: %i", location->GetPotential()->Word(42)}};
  for (const auto& r : rows) {
    std::snprintf(text, sizeof text, r.format, r.value);
    line(text);
  }
}

void CUserInt::RenderDebugOpnv(QnoDisplay* display) {
  COpnv* opnv = COpnv::Get();
  if (!opnv) return;
  char text[160];
  int y = L::kOpnvY;
  const auto line = [&](const char* t) {
    if (y >= L::kPanelBottom) return;
    RenderDebugLine(display, L::kOpnvX, y, t);
    y += L::kLineHeight;
  };
  opnv->SetupLineCount();
  while (COpnvLine* l = opnv->GetNextLine()) {
    const short* ids = nullptr;
    int streets = 0, stops = 0, stopStreets = 0;
    l->GetStreetList(&ids, &streets);
    l->GetHstList(&ids, &stops);
    l->GetHstStreetList(&ids, &stopStreets);
    std::snprintf(text, sizeof text, "Nr/S: %2i // %2i", l->GetID(), streets);
    line(text);
    std::snprintf(text, sizeof text, "Nr/H/S: %2i // %2i // %2i", l->GetID(), stops, stopStreets);
    line(text);
    // The line's first vehicle: the stop street it is on and its stop.
    int street = -1, stopIndex = -1;
    for (CZorvaPointer* n = m_pBusList ? m_pBusList->GetHeadZorvaPointer() : nullptr; n; n = n->GetNextZorvaPointer())
      if (auto* bus = dynamic_cast<CMicroOpnv*>(n->GetZorvaObject()); bus && bus->GetOpnvLine() == l &&
                                                                       bus->GetBusNrInLine() == 0) {
        int bx = -1, by = -1;
        bus->GetIsoXYPos(bx, by);
        CStrStrasse* s = InWorld(bx, by) ? GetStrasseAt(bx, by) : nullptr;
        street = s ? s->GetSimID() : -1;
        if (s) {
          l->GetHstStreetList(&ids, &stopStreets);
          for (int i = 0; i < stopStreets; ++i)
            if (ids[i] == street) {
              stopIndex = i;
              break;
            }
        }
        break;
      }
    std::snprintf(text, sizeof text, "Bus 0: S/H: %2i // %2i ", street, stopIndex);
    line(text);
    // Stops marked on the map.
    l->GetHstList(&ids, &stops);
    for (int i = 0; i < stops && m_pIsoWelt; ++i)
      if (auto* stop = dynamic_cast<CBuildingObject*>(opnv->GetHstByID(ids[i])))
        m_pIsoWelt->RenderTileAsMouseAt(stop->GetXPos(), stop->GetYPos(), kStopMark, ISO_RICHTUNG_0);
  }
  // The buses in view, each with the street it drives on.
  for (CZorvaPointer* n = m_pBusList ? m_pBusList->GetHeadZorvaPointer() : nullptr; n; n = n->GetNextZorvaPointer()) {
    auto* bus = dynamic_cast<CMicroOpnv*>(n->GetZorvaObject());
    if (!bus) continue;
    if (!bus->GetOpnvLine()) {
      line("Bus Lost");
      continue;
    }
    int ix = -1, iy = -1, sx = 0, sy = 0, sx2 = 0, sy2 = 0;
    bus->GetIsoXYPos(ix, iy);
    bus->GetScreenXYPos(sx, sy, sx2, sy2);
    std::snprintf(text, sizeof text, "Ix/y: %i/%i Sx/y: %i/%i ID/PM/MPB/O: %i/%i/%i/%i    %i", ix, iy, sx, sy,
                  bus->GetBusNr(), bus->GetOpnvLine()->GetID(), bus->GetBusNrInLine(),
                  static_cast<int>(bus->GetBusTramType()), bus->IsVehicleActive() ? 1 : 0);
    line(text);
    if (InWorld(ix, iy)) RenderStreet(display, GetStrasseAt(ix, iy), false, true);
  }
  // The virtual lines: walks between two stops, drawn as a line between them.
  COpnvNet* virtualNet = opnv->GetVirNet();
  CZorvaList* lines = virtualNet ? virtualNet->GetList() : nullptr;
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  for (CZorvaPointer* n = lines ? lines->GetHeadZorvaPointer() : nullptr; n && buffer && m_pIsoWelt;
       n = n->GetNextZorvaPointer()) {
    auto* l = static_cast<COpnvLine*>(n->GetZorvaObject());
    short a = 0, b = 0;
    if (!l || l->GetVirtuellHstID(a, b) != 0) continue;
    auto* sa = dynamic_cast<CBuildingObject*>(opnv->GetHstByID(a));
    auto* sb = dynamic_cast<CBuildingObject*>(opnv->GetHstByID(b));
    if (!sa || !sb) continue;
    int ax = 0, ay = 0, bx = 0, by = 0;
    m_pIsoWelt->CalcIsoToXY(static_cast<short>(sa->GetXPos()), static_cast<short>(sa->GetYPos()), &ax, &ay);
    m_pIsoWelt->CalcIsoToXY(static_cast<short>(sb->GetXPos()), static_cast<short>(sb->GetYPos()), &bx, &by);
    CIsoSprite::Line(buffer, ax, ay, bx, by, static_cast<uint16_t>(buffer->GetClosestColor(255, 255, 0)));
    std::snprintf(text, sizeof text, "Virtuell Line: %i/%i", a, b);
    line(text);
  }
}
