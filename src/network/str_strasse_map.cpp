// A street on the map: the tiles its pieces draw and take away again, the
// micro cells of its lanes and their links into the junctions at its ends,
// and the lights' pictures and cells beside those junctions.
#include <algorithm>
#include <utility>
#include <vector>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "microsim/micro_cells.h"
#include "microsim/micro_simulation.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"
#include "network/str_ampel.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"

namespace {

// The micro simulation's linking rules keep no state of their own.
CMicroSimulation& Linker() {
  static CMicroSimulation linker;
  return linker;
}

// Whether tile (x, y) of a street's piece lies under a level crossing of the
// rail network, which shows its own picture and cells there: the street
// neither draws nor clears the tile. A track's tiles, and a tile where one
// of the piece's own extra parts (a bridge) starts, are the piece's.
bool UnderRailCrossing(const CStrassenType& type, CStrStrassenTeil* piece, short x, short y) {
  if (type == STRASSE_SCHIENE || !CStrStrasse::RailNetCrossesAt(x, y)) return false;
  CStrExtTlList* parts = piece->GetExtraTeilList();
  return !(parts && parts->StartAtKoor(x, y));
}

}  // namespace

// ------------------------------------------------------------ map drawing

int CStrStrasse::CalcStartAndEndPos(CStrStrassenTeil* piece, short& sx, short& sy, short& ex, short& ey,
                                    signed char& mx, signed char& my, CIsoRichtung& direction) {
  if (!piece) return 1;
  piece->CalcStartAndEndPos(sx, sy, ex, ey, mx, my, direction);
  return 0;
}

int CStrStrasse::FixeGroupOffset(CStrJunction* junction, short& x, short& y, signed char mx, signed char my) {
  if (!junction || !m_pIsoWelt || junction->GetType() < STRASSE_VIERSPURIG) return 0;
  const int nx = x + mx, ny = y + my;
  if (!IsoInMap(nx, ny) || !IsoInMap(junction->GetXPos(), junction->GetYPos())) return 0;
  if (m_pIsoWelt->IsSameGroup(junction->GetXPos(), junction->GetYPos(), static_cast<unsigned short>(nx),
                              static_cast<unsigned short>(ny), ISO_LAYER_GROUND)) {
    x = static_cast<short>(nx);
    y = static_cast<short>(ny);
  }
  return 0;
}

bool CStrStrasse::DrawRange(CStrStrassenTeil* piece, short& sx, short& sy, short& ex, short& ey, signed char& mx,
                            signed char& my, CIsoRichtung& direction) {
  CalcStartAndEndPos(piece, sx, sy, ex, ey, mx, my, direction);
  if (piece == Head()) FixeGroupOffset(m_pStartJunction, sx, sy, mx, my);
  if (piece == Tail())
    FixeGroupOffset(m_pEndJunction, ex, ey, static_cast<signed char>(-mx), static_cast<signed char>(-my));
  return (ex - sx) * mx + (ey - sy) * my >= 0;
}

int CStrStrasse::CreateSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece, CIsoRichtung direction) {
  if (!m_pIsoWelt || !piece) return 1;
  if (CStrExtTlList* parts = piece->GetExtraTeilList()) {
    if (parts->StartAtKoor(x, y)) return parts->InsertIntoIsoWelt(m_pIsoWelt, x, y, m_pWorldObj, m_InLoadFile != 0);
  }
  // A tile under a level crossing of the rail network is drawn too: the
  // street's own drawing leaves those tiles to the crossing
  // (InsertIntoIsoWelt), a track taken away has them drawn again.
  if (IsoInMap(x, y)) m_pIsoWelt->InsertStreetAt(x, y, direction, m_Type, m_pWorldObj);
  return 0;
}

int CStrStrasse::InsertKurveBetween(CStrStrassenTeil* a, CStrStrassenTeil* b) {
  CIsoRichtung r;
  if (!m_pIsoWelt || GetKurvenRichtung(&r, a, b) != 0) return 1;
  if (IsoInMap(a->GetEndX(), a->GetEndY())) m_pIsoWelt->SetKurveAt(a->GetEndX(), a->GetEndY(), r, m_pWorldObj, m_Type);
  return 0;
}

// Every tile a piece draws between its ends, piece by piece, with the
// piece's drawing direction.
template <typename Fn>
void CStrStrasse::ForEachDrawnTile(Fn fn) {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    short sx = 0, sy = 0, ex = 0, ey = 0;
    signed char mx = 0, my = 0;
    CIsoRichtung direction;
    if (!DrawRange(p, sx, sy, ex, ey, mx, my, direction)) continue;
    if (mx == 0 && my == 0) continue;
    for (short x = static_cast<short>(sx + mx), y = static_cast<short>(sy + my);
         (ex - x) * mx + (ey - y) * my > 0; x = static_cast<short>(x + mx), y = static_cast<short>(y + my)) {
      const short px = x, py = y;
      fn(x, y, p, direction);
      // An extra part hands back its last cell; one that is not ahead on
      // the piece's line (a part without extent) goes on from its first.
      if ((x - px) * mx + (y - py) * my < 0 || (mx != 0 ? y != py : x != px)) {
        x = px;
        y = py;
      }
    }
  }
}

int CStrStrasse::InsertIntoIsoWelt() {
  if (!m_pIsoWelt) return 1;
  // A four-lane group laid on a tile reaches the next tile towards larger x
  // or y. A four-lane piece drawn towards smaller x or y is laid from its
  // lower end up all the same, as one drawn the other way: each tile's group
  // then lies under the next one's, the street's tile below a bridge under
  // the bridge's first group, and the bridge's last group under the street's
  // tile past it. The walk notes such a piece's tiles, laid after the walk
  // last first; the tiles of different pieces do not overlap but at the
  // bends, which are laid after all pieces.
  struct Tile {
    short x, y;
    CStrStrassenTeil* piece;
    CIsoRichtung direction;
  };
  std::vector<Tile> upwards;
  ForEachDrawnTile([this, &upwards](short& x, short& y, CStrStrassenTeil* p, CIsoRichtung direction) {
    // A level crossing of the rail network draws its own tiles: a street
    // tile there would cover the crossing's picture. A four-lane group laid
    // on the tile before reaches onto the crossing's first row but leaves
    // the track's cells there to it.
    if (UnderRailCrossing(m_Type, p, x, y)) {
      QNO_ERROR(QNO_SEV_WARNING, "Find GrdCrossing at %d/%d", x, y);
      return;
    }
    if (m_Type != STRASSE_VIERSPURIG || (p->GetEndX() >= p->GetStartX() && p->GetEndY() >= p->GetStartY())) {
      CreateSingleStreetPart(x, y, p, direction);
      return;
    }
    upwards.push_back({x, y, p, direction});
    // An extra part starting here is laid whole: the walk goes on from its
    // end, as after laying it.
    if (CStrExtTlList* parts = p->GetExtraTeilList(); parts && parts->StartAtKoor(x, y)) parts->GetEndKoor(x, y);
  });
  for (auto t = upwards.rbegin(); t != upwards.rend(); ++t) {
    short x = t->x, y = t->y;
    CreateSingleStreetPart(x, y, t->piece, t->direction);
  }
  for (CStrStrassenTeil* p = Head(); p && Next(p); p = Next(p)) InsertKurveBetween(p, Next(p));
  if (m_InLoadFile) return 0;
  CreateMicroZelle();
  // A four-lane group is laid on every tile and reaches one tile further:
  // at an end towards larger x or y it covers the junction's first cells,
  // which then take their crossing or end graphic again.
  if (m_Type == STRASSE_VIERSPURIG)
    for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
      if (j && j->GetAnzLinkedStreets() != 2 && !j->IsDrawn()) j->InsertIntoIsoWelt();
  return 0;
}

void CStrStrasse::RemoveSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece) {
  if (!m_pIsoWelt || !piece) return;
  if (CStrExtTlList* parts = piece->GetExtraTeilList()) {
    if (parts->StartAtKoor(x, y)) {
      parts->RemoveFromIsoWelt(x, y);
      return;
    }
  }
  if (!IsoInMap(x, y)) return;
  // A level crossing of the rail network keeps its tiles: the street's
  // drawing never covered them (InsertIntoIsoWelt), and a crossing left
  // without its street is taken away by the rail network, which draws the
  // track whole again.
  if (UnderRailCrossing(m_Type, piece, x, y)) return;
  // A four-lane group takes only the cells that still show the street: the
  // tile before a junction or a level crossing reaches onto their cells.
  if (m_Type >= STRASSE_VIERSPURIG)
    m_pIsoWelt->DeleteIsoGroupAt(x, y, ISO_LAYER_GROUND, true);
  else
    m_pIsoWelt->SetStdBase(x, y, ISO_LAYER_GROUND, false);
}

void CStrStrasse::RemoveBendAt(CStrStrassenTeil* a, CStrStrassenTeil* b) {
  short x = a->GetEndX(), y = a->GetEndY();
  if (m_Type == STRASSE_SCHIENE) {
    CIsoRichtung r;
    if (GetKurvenRichtung(&r, a, b) == 0) {
      if (r.GetValue() == 1 || r.GetValue() == 2) --x;
      if (r.GetValue() == 2 || r.GetValue() == 3) --y;
    }
  }
  RemoveSingleStreetPart(x, y, a);
}

int CStrStrasse::RemoveFromIsoWelt(bool) {
  if (m_BusSpurLayer) m_BusSpurLayer = 0;
  if (!m_pIsoWelt) return 1;
  ForEachDrawnTile([this](short& x, short& y, CStrStrassenTeil* p, CIsoRichtung) { RemoveSingleStreetPart(x, y, p); });
  for (CStrStrassenTeil* p = Head(); p && Next(p); p = Next(p)) RemoveBendAt(p, Next(p));
  // No cell names the street any more, even one the walk missed: a street
  // joined into another is destroyed after handing over its pieces, so its
  // own clearing finds none, and the joined street's drawing reads what the
  // cells it lays over show. A track's cells at its level crossings stay
  // the crossings' (the rail network takes a crossing away itself).
  if (m_Type != STRASSE_SCHIENE) ClearCellsOf(m_pWorldObj);
  // Last, the rivers under the bridges, whatever the groups removed after
  // a bridge took with them.
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    for (CZorvaObject* o = p->GetExtraTeilList() ? p->GetExtraTeilList()->GetHead() : nullptr; o; o = o->GetNext())
      if (auto* bridge = dynamic_cast<CStrBride*>(o)) bridge->RestoreRiver();
  return 0;
}

// ------------------------------------------------------------- micro cells

CQnoMicroZelle* CStrStrasse::GetMicroZellen(unsigned short x, unsigned short y) {
  return m_pMicroZellen ? m_pMicroZellen->FindZelle(x, y) : nullptr;
}

BinaryMicroSimObject* CStrStrasse::GetNextHstZelle(short x, short y, int simId) {
  if (!GetStrassenTeilAt(x, y)) {
    QNO_ERROR(QNO_SEV_INFO, "No Strassen Teil found at %d/%d", x, y);
    return nullptr;
  }
  QNO_ERROR(QNO_SEV_INFO, "StrassenTeil found for IsoKoor %d/%d", x, y);
  if (!m_pMicroZellen || simId <= 0 || simId > 0xFFFF) return nullptr;
  const bool outerLane = m_Type == STRASSE_VIERSPURIG || m_BusSpur != 0;
  return m_pMicroZellen->FindMember(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                    static_cast<uint16_t>(simId), outerLane);
}

CQnoMicroZelle* CStrStrasse::GetFirstMicroZelle() {
  short x = 0, y = 0;
  if (GetFirstIsoPos(&x, &y) != 0) return nullptr;
  if (CQnoMicroZelle* cell = GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
    return cell;
  return BendCellAtEnd(Head(), Next(Head()), true);
}

CQnoMicroZelle* CStrStrasse::GetLastMicroZelle() {
  short x = 0, y = 0;
  if (GetLastIsoPos(&x, &y) != 0) return nullptr;
  if (CQnoMicroZelle* cell = GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
    return cell;
  return BendCellAtEnd(Tail(), Prev(Tail()), false);
}

// A four-lane bend covers the tile after it towards larger x or y, and a
// track's curve the tiles of its group: a piece from a junction to such a
// bend close by has no tile of its own, and the bend's layout is the
// street's first (or last) one. A curve's layout lies at its group's anchor.
CQnoMicroZelle* CStrStrasse::BendCellAtEnd(CStrStrassenTeil* end, CStrStrassenTeil* next, bool first) {
  if (!end || !next || m_Type < STRASSE_VIERSPURIG || !m_pMicroZellen) return nullptr;
  short bx = first ? end->GetEndX() : end->GetStartX();
  short by = first ? end->GetEndY() : end->GetStartY();
  if (m_Type == STRASSE_SCHIENE && m_pIsoWelt && IsoInMap(bx, by))
    if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(bx), static_cast<unsigned short>(by),
                                                ISO_LAYER_GROUND)) {
      bx = static_cast<short>(g->GetStartPosX());
      by = static_cast<short>(g->GetStartPosY());
    }
  const CMicroZellenGroup::TGroupMember* m = m_pMicroZellen->GetFirst();
  if (!first)
    while (m && m->pNext) m = m->pNext;
  // A member's offset from the group's origin wraps below it.
  if (!m || static_cast<short>(m_pMicroZellen->GetX() + m->dx) != bx ||
      static_cast<short>(m_pMicroZellen->GetY() + m->dy) != by)
    return nullptr;
  return m->pZelle;
}

CQnoMicroZelle* CStrStrasse::CreateMicroZelleAt(short x, short y) {
  if (!m_pIsoWelt || !IsoInMap(x, y)) return nullptr;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  if (!info) return nullptr;
  const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  // A four-lane tile takes the layout of its group, by zoom and by the
  // view's rotation turned by the group's own direction.
  CIsoZoomStufe zoom(static_cast<TIsoZoomStufe>(g_ZoomStufe));
  CIsoRichtung rotation(g_IsoRichtung);
  const uint32_t id = info->GetDataResID(&zoom, &rotation, ISO_LAYER_GROUND);
  if (id == 0) {
    if (m_Type > STRASSE_EINBAHN && info->GetGroupObj(ISO_LAYER_GROUND))
      QNO_ERROR(QNO_SEV_WARNING, " Can't load MicroZellen for IsoGroup %d", info->GetResID(ISO_LAYER_GROUND));
    else
      QNO_ERROR(QNO_SEV_WARNING, " Can't load MicroZellen for IsoTile %d", info->GetResID(ISO_LAYER_GROUND));
    return nullptr;
  }
  CQnoMicroZelle* cell = CQnoMicroZelle::CreateConverted(m_pIsoWelt->GetResourceManager(), id, info->IsVisible(ux, uy));
  if (!cell) QNO_ERROR(QNO_SEV_ERROR, " Can't load MicroZellen with ResID %d", static_cast<int>(id));
  return cell;
}

void CStrStrasse::MicroAnchor(unsigned short x, unsigned short y, int& sx, int& sy) {
  // A street's layout stands at its tile, or at the front corner of the
  // tile's group in the view, as the map places it.
  const CIsoObjGroup* g = m_Type == STRASSE_SCHIENE ? m_pIsoWelt->GetGroupAt(x, y, ISO_LAYER_GROUND) : nullptr;
  if (!g) {
    m_pIsoWelt->FixeIsoKoorCalc(x, y, sx, sy);
    m_pIsoWelt->FixeGroupRichtung(x, y, sx, sy);
    return;
  }
  // A track's straight group turned towards -x or -y lies on the cell
  // before the one it was laid for, and the layout of a cell lies one cell
  // before it too; any other group of a track has its layout at its origin.
  // The front corner is that of the footprint the layout belongs to: the
  // cell before may hold a bend or a junction of another size.
  int ox = g->GetStartPosX(), oy = g->GetStartPosY();
  if (g->GetResID() == CStrSchienen::kStraightResID) {
    ox = x - (g->GetRichtung() == 2 ? 1 : 0);
    oy = y - (g->GetRichtung() == 3 ? 1 : 0);
  }
  const int tw = g->GetTurnedSizeX(), td = g->GetTurnedSizeY();
  if (g_IsoRichtung == 2 || g_IsoRichtung == 3) ox += tw - 1;
  if (g_IsoRichtung == 1 || g_IsoRichtung == 2) oy += td - 1;
  m_pIsoWelt->FixeIsoKoorCalc(static_cast<unsigned short>(ox), static_cast<unsigned short>(oy), sx, sy);
}

void CStrStrasse::PlaceMicroZelle(CQnoMicroZelle* cell, short x, short y) {
  const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  int sx = 0, sy = 0;
  MicroAnchor(ux, uy, sx, sy);
  cell->SetScreenPos(sx, sy);
  m_pMicroZellen->AddZelle(cell, ux, uy);
}

void CStrStrasse::LinkZelleWith(CQnoMicroZelle* cell, CQnoMicroZelle* prev) {
  const auto fwd = static_cast<uint16_t>(m_SimID), back = static_cast<uint16_t>(m_SimIDSecond);
  if (prev) {
    if (m_Type >= STRASSE_VIERSPURIG && m_Type != STRASSE_SCHIENE)
      Linker().LinkStrasseD(prev, cell, m_Type, fwd, back);
    else
      Linker().Link(prev, cell, m_Type, fwd, back);
  } else if (m_Type != STRASSE_EINBAHN) {
    cell->SetFirstSimID(fwd);
    cell->SetSecSimID(back);
  }
  // The first cells of a one-way street take its id from the link with its
  // start: a tile of two lanes (a bridge) uses only the one linked.
  cell->UpdateSimID();
}

void CStrStrasse::CreateSingleMicroZelle(short x, short y, CQnoMicroZelle*& prev) {
  // A tile already holding a layout of this street (a group seen twice)
  // keeps it and stays the previous cell.
  if (CQnoMicroZelle* held = GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y))) {
    prev = held;
    return;
  }
  CQnoMicroZelle* cell = CreateMicroZelleAt(x, y);
  if (!cell) return;
  PlaceMicroZelle(cell, x, y);
  LinkZelleWith(cell, prev);
  prev = cell;
}

void CStrStrasse::CreateSingleMicroZelleForSingleStreet(short x, short y, CQnoMicroZelle*& prev) {
  CQnoMicroZelle* cell = CreateMicroZelleAt(x, y);
  if (!cell) return;
  PlaceMicroZelle(cell, x, y);
  // The layout's lanes are laid for a street running towards larger x or
  // smaller y from its start; the other way the two directions swap.
  const bool swapped = m_pStartJunction && m_pEndJunction &&
                       (m_pEndJunction->GetXPos() > m_pStartJunction->GetXPos() ||
                        m_pEndJunction->GetYPos() < m_pStartJunction->GetYPos());
  // A one-way street's tile takes its id from the link with its start, as
  // in LinkZelleWith: of a bridge tile's two lanes only the one it uses.
  if (m_Type != STRASSE_EINBAHN) {
    cell->SetFirstSimID(static_cast<uint16_t>(swapped ? m_SimIDSecond : m_SimID));
    cell->SetSecSimID(static_cast<uint16_t>(swapped ? m_SimID : m_SimIDSecond));
  }
  cell->UpdateSimID();
  prev = cell;
}

void CStrStrasse::CreateExtaTeilMicroZelle(CStrExtTlList* parts, short& x, short& y, CQnoMicroZelle*& prev) {
  if (parts->IsGradeCrossing()) {
    CreateMicroSimGrade(parts, x, y, prev);
    return;
  }
  // A bridge: its tiles in its own walk, each linked from the one before;
  // a tile without a layout leaves the next one unlinked.
  short tx = x, ty = y;
  parts->StartMicroZellenCount(tx, ty);
  bool more = true;
  while (more) {
    CQnoMicroZelle* cell = GetMicroZellen(static_cast<unsigned short>(tx), static_cast<unsigned short>(ty))
                               ? nullptr
                               : CreateMicroZelleAt(tx, ty);
    if (cell) {
      PlaceMicroZelle(cell, tx, ty);
      LinkZelleWith(cell, prev);
    }
    prev = cell;
    more = parts->GetMicroZellenPos(tx, ty);
  }
  parts->GetEndKoor(x, y);
}

// A level crossing has one layout at its anchor, carrying the track and the
// street across it: the track's cell before it leads in, and the street's
// cells on either side of the track are joined to it.
void CStrStrasse::CreateMicroSimGrade(CStrExtTlList* parts, short& x, short& y, CQnoMicroZelle*& prev) {
  short ax = 0, ay = 0, ex = 0, ey = 0, ux = 0, uy = 0, lx = 0, ly = 0;
  parts->GetMicroZellenPos(ax, ay);
  parts->GetMicroStartKoor(ex, ey);
  parts->GetUpperStreetPos(ux, uy);
  parts->GetlowerStreetPos(lx, ly);
  const CStrassenType crossingType(static_cast<TStrassenType>(parts->GetType()));
  parts->DeleteUnderneathMicroSim();
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  CStrJunctionList* rails = streets ? streets->GetRailNet() : nullptr;
  for (CStrJunctionList* net : {streets, rails})
    if (net) net->DestroyMicorSimAt(ax, ay);
  parts->GetEndKoor(x, y);
  CQnoMicroZelle* cell = IsoInMap(ax, ay) ? CreateMicroZelleAt(ax, ay) : nullptr;
  if (!cell) {
    prev = nullptr;
    return;
  }
  PlaceMicroZelle(cell, ax, ay);
  CQnoMicroZelle* entry = GetMicroZellen(static_cast<unsigned short>(ex), static_cast<unsigned short>(ey));
  if (!entry) entry = prev;
  const auto fwd = static_cast<uint16_t>(m_SimID), back = static_cast<uint16_t>(m_SimIDSecond);
  if (entry) Linker().Link(entry, cell, m_Type, fwd, back);
  cell->UpdateSimID();
  CQnoMicroZelle* upper = streets ? streets->GetMicroZelleAt(ux, uy) : nullptr;
  CQnoMicroZelle* lower = streets ? streets->GetMicroZelleAt(lx, ly) : nullptr;
  LinkStreetAcrossGrade(cell, upper, lower, crossingType, StreetRunsFromUpper(ux, uy));
  prev = cell;
}

bool CStrStrasse::StreetRunsFromUpper(short ux, short uy) {
  CStrStrasse* street = nullptr;
  CStrStrassenTeil* piece = nullptr;
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  if (!streets || !streets->PointHitStreet(ux, uy, &street, &piece) || !piece) return false;
  // The lower cell lies three cells on towards larger x or y.
  signed char mx = 0, my = 0;
  piece->CalcM(mx, my);
  return mx + my > 0;
}

// The street's cells on either side of the track lead into the crossing's
// layout and out of it (both lanes each way of a four-lane street, as Link
// joins them); a one-way street's only from the side its cars come from to
// the other. The crossing's street lanes keep no street's id: a car on them
// counts for neither side.
void CStrStrasse::LinkStreetAcrossGrade(CQnoMicroZelle* cell, CQnoMicroZelle* upper, CQnoMicroZelle* lower,
                                        CStrassenType crossingType, bool fromUpper) {
  if (crossingType == STRASSE_EINBAHN) {
    Linker().Link(fromUpper ? upper : lower, cell, crossingType, 0, 0);
    Linker().Link(cell, fromUpper ? lower : upper, crossingType, 0, 0);
  } else {
    Linker().Link(cell, upper, crossingType, 0, 0);
    Linker().Link(lower, cell, crossingType, 0, 0);
  }
}

// The level crossing of the rail network over tile (x, y), with the track
// that carries its layout; null when there is none.
bool CStrStrasse::RailNetCrossesAt(short x, short y) {
  CStrSchJuncList* rails = CStrJunction::m_pStreetNet ? CStrJunction::m_pStreetNet->GetRailNet() : nullptr;
  return rails && rails->HasGrdCrossingAt(x, y);
}

CGrdCrossing* CStrStrasse::RailCrossingAt(short x, short y, CStrStrasse** track) {
  if (!RailNetCrossesAt(x, y)) return nullptr;
  CStrSchJuncList* rails = CStrJunction::m_pStreetNet->GetRailNet();
  for (CZorvaObject* o = rails->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* t = j->GetStreetByNR(i);
      for (CStrStrassenTeil* p = t->Head(); p; p = Next(p))
        for (CZorvaObject* e = p->GetExtraTeilList() ? p->GetExtraTeilList()->GetHead() : nullptr; e; e = e->GetNext())
          if (auto* c = dynamic_cast<CGrdCrossing*>(e); c && c->PointHitExtraTeil(x, y)) {
            *track = t;
            return c;
          }
    }
  }
  return nullptr;
}

int CStrStrasse::CreateMicroZelle() {
  RemoveMicroSim();
  short fx = 0, fy = 0, lx = 0, ly = 0;
  if (!m_pIsoWelt || GetFirstIsoPos(&fx, &fy) != 0 || GetLastIsoPos(&lx, &ly) != 0) return 1;
  m_pMicroZellen = new CMicroZellenGroup;
  m_pMicroZellen->Create(static_cast<unsigned short>(fx), static_cast<unsigned short>(fy));
  // At the farthest level no tile has a layout: the group stays empty, and
  // no tile is tried (each try would log its missing layout).
  if (!IsoMicroSimRuns()) return 0;
  CQnoMicroZelle* prev = nullptr;
  std::vector<std::pair<CGrdCrossing*, CStrStrasse*>> grades;
  const bool wide = m_Type > STRASSE_EINBAHN;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    short sx = 0, sy = 0, ex = 0, ey = 0;
    signed char mx = 0, my = 0;
    CIsoRichtung direction;
    CalcStartAndEndPos(p, sx, sy, ex, ey, mx, my, direction);
    if (mx == 0 && my == 0) continue;
    if (p == Head()) {
      sx = static_cast<short>(fx - mx);
      sy = static_cast<short>(fy - my);
    }
    // The walk ends before the end junction's cells, however many cells its
    // graphic takes.
    if (p == Tail()) {
      ex = static_cast<short>(lx + mx);
      ey = static_cast<short>(ly + my);
    }
    // A bend of a two-tile-wide street covers the tile after it towards
    // larger x or y: the piece's own tiles begin or end beside it.
    if (wide) {
      signed char ox = 0, oy = 0;
      if (Next(p)) {
        p->FixeKurvenOff(ox, oy, false);
        ex = static_cast<short>(ex + ox);
        ey = static_cast<short>(ey + oy);
      }
      if (Prev(p)) {
        p->FixeKurvenOff(ox, oy, true);
        sx = static_cast<short>(sx + ox);
        sy = static_cast<short>(sy + oy);
      }
    }
    const int between = (ex - sx) * mx + (ey - sy) * my - 1;
    if (between == 1 && !Prev(p) && !Next(p)) {
      CreateSingleMicroZelleForSingleStreet(static_cast<short>(sx + mx), static_cast<short>(sy + my), prev);
    } else {
      CStrExtTlList* parts = p->GetExtraTeilList();
      for (short x = static_cast<short>(sx + mx), y = static_cast<short>(sy + my);
           (ex - x) * mx + (ey - y) * my > 0; x = static_cast<short>(x + mx), y = static_cast<short>(y + my)) {
        if (parts && parts->StartAtKoor(x, y)) {
          CreateExtaTeilMicroZelle(parts, x, y, prev);
          continue;
        }
        // The tiles a level crossing of the rail network shows carry the
        // crossing's layout, not the street's: the street's cells on either
        // side are joined to it once both are laid. A tile the street has
        // drawn over the crossing (the track going) is the street's.
        CStrStrasse* track = nullptr;
        if (m_Type != STRASSE_SCHIENE && !IsWorldTileOfStreet(x, y))
          if (CGrdCrossing* c = RailCrossingAt(x, y, &track)) {
            if (std::find(grades.begin(), grades.end(), std::make_pair(c, track)) == grades.end())
              grades.emplace_back(c, track);
            prev = nullptr;
            continue;
          }
        CreateSingleMicroZelle(x, y, prev);
      }
    }
    // The bend tile joins this piece to the next; a track's curve group
    // has its layout at the group's anchor.
    if (Next(p)) {
      short kx = p->GetEndX(), ky = p->GetEndY();
      if (m_Type == STRASSE_SCHIENE && IsoInMap(kx, ky))
        if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(kx), static_cast<unsigned short>(ky),
                                                    ISO_LAYER_GROUND)) {
          kx = g->GetStartPosX();
          ky = g->GetStartPosY();
        }
      CreateSingleMicroZelle(kx, ky, prev);
    }
  }
  for (const auto& [c, track] : grades) {
    short ax = 0, ay = 0, ux = 0, uy = 0, lx = 0, ly = 0;
    c->GetMicroZellenPos(ax, ay);
    c->GetUpperStreetPos(ux, uy);
    c->GetLowerStreetPos(lx, ly);
    CQnoMicroZelle* cell = track->GetMicroZellen(static_cast<unsigned short>(ax), static_cast<unsigned short>(ay));
    if (cell)
      LinkStreetAcrossGrade(cell, GetMicroZellen(static_cast<unsigned short>(ux), static_cast<unsigned short>(uy)),
                            GetMicroZellen(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly)),
                            c->GetType(), StreetRunsFromUpper(ux, uy));
  }
  LinkStartAndEndMicroSim();
  return 0;
}

void CStrStrasse::LinkStartAndEndMicroSim() {
  const auto fwd = static_cast<uint16_t>(m_SimID), back = static_cast<uint16_t>(m_SimIDSecond);
  // A junction of three or four streets makes its cells again: its turns
  // open and close with the directions its arms have now.
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j && j->GetAnzLinkedStreets() >= 3 && j->GetMicroZellen()) j->RebuildMicroZellen();
  if (m_pStartJunction && m_pStartJunction->GetAnzLinkedStreets() < 3) {
    CQnoMicroZelle* j = m_pStartJunction->GetMicroZelle(static_cast<short>(m_pStartJunction->GetXPos()),
                                                        static_cast<short>(m_pStartJunction->GetYPos()));
    if (j && GetFirstMicroZelle()) Linker().Link(j, GetFirstMicroZelle(), m_Type, fwd, back);
  }
  if (m_pEndJunction && m_pEndJunction->GetAnzLinkedStreets() < 3) {
    CQnoMicroZelle* j = m_pEndJunction->GetMicroZelle(static_cast<short>(m_pEndJunction->GetXPos()),
                                                      static_cast<short>(m_pEndJunction->GetYPos()));
    if (j && GetLastMicroZelle()) Linker().Link(GetLastMicroZelle(), j, m_Type, fwd, back);
    m_pEndJunction->CloseOneWayArm(this);
  }
}

int CStrStrasse::RemoveMicroSim() {
  if (!m_pMicroZellen) return 0;
  m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  m_pMicroZellen = nullptr;
  return 0;
}

int CStrStrasse::RemoveMicroSimAt(short x, short y) {
  if (!m_pMicroZellen) return 1;
  CQnoMicroZelle* cell = m_pMicroZellen->FindZelle(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  if (!cell) return 1;
  cell->Remove();
  m_pMicroZellen->DestroyAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  delete cell;
  return 0;
}

int CStrStrasse::UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) {
  if (!m_pMicroZellen) return 1;
  // The map anchors a tile at its own group's corner; a track's layouts
  // stand where they were laid (MicroAnchor).
  if (m_Type == STRASSE_SCHIENE && m_pIsoWelt) MicroAnchor(x, y, sx, sy);
  return m_pMicroZellen->UpdateScreenPos(sx, sy, x, y);
}

int CStrStrasse::TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId) {
  if (!m_pMicroZellen || resId == 0 || !m_pIsoWelt) return 1;
  CQnoMicroZelle* cell = m_pMicroZellen->FindZelle(x, y);
  if (!cell) return 1;
  CQnoMicroZelle* turned =
      CQnoMicroZelle::Create(m_pIsoWelt->GetResourceManager(), static_cast<unsigned>(resId), cell->IsVisible());
  if (!turned) return 1;
  const int r = cell->TurnRichtung(turned, sx, sy);
  delete turned;
  return r;
}

int CStrStrasse::Render(QnoDisplay* display, unsigned short x, unsigned short y, TIsoZoomStufe zoom) {
  return m_pMicroZellen ? m_pMicroZellen->Render(display, x, y, zoom) : 1;
}

// The light pictures at the street's end beside a junction: the pole and
// its stop line.
int CStrStrasse::AddAmpelLayer(CStrJunction* junction) {
  // The pictures stand once: any already there go first.
  RemoveAmpelLayer(junction);
  AddLayerAtJunction(junction, CStrJunction::kAmpelResID);
  return AddLayerAtJunction(junction, m_Type >= STRASSE_VIERSPURIG ? kAmpelStopWideResID : kAmpelStopResID);
}

int CStrStrasse::RemoveAmpelLayer(CStrJunction* junction) {
  RemoveLayerAtJunction(junction, CStrJunction::kAmpelResID);
  return RemoveLayerAtJunction(junction, m_Type >= STRASSE_VIERSPURIG ? kAmpelStopWideResID : kAmpelStopResID);
}

int CStrStrasse::LayerTileAtJunction(CStrJunction* junction, short* x, short* y, CIsoRichtung* dir) {
  if (!junction || !m_pIsoWelt) return 1;
  const bool atStart = junction == m_pStartJunction;
  if (!atStart && junction != m_pEndJunction) return 1;
  if ((atStart ? GetFirstIsoPos(x, y) : GetLastIsoPos(x, y)) != 0 || !IsoInMap(*x, *y)) return 1;
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  const int r = GetRichtung(*x, *y, found, first, bend);
  // A layer at the start looks back towards the junction.
  *dir = CIsoRichtung(atStart ? (r + 2) & 3 : r & 3);
  return 0;
}

int CStrStrasse::AddLayerAtJunction(CStrJunction* junction, int resId) {
  short x = 0, y = 0;
  CIsoRichtung dir;
  if (LayerTileAtJunction(junction, &x, &y, &dir) != 0) return 1;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  return info ? info->MergeLayerFromIsoTile(resId, dir, ISO_LAYER_GROUND) : 1;
}

int CStrStrasse::RemoveLayerAtJunction(CStrJunction* junction, int resId) {
  short x = 0, y = 0;
  CIsoRichtung dir;
  if (LayerTileAtJunction(junction, &x, &y, &dir) != 0) return 1;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  // The layer turned to this junction: a tile between two junctions may
  // carry the same sign for the other one.
  return info ? info->DeleteLayerFromIsoTile(resId, dir, ISO_LAYER_GROUND) : 1;
}

int CStrStrasse::FindAmpelZellen(CStrJunction* junction, BinaryMicroSimObject** a, BinaryMicroSimObject** b) {
  *a = nullptr;
  *b = nullptr;
  if (!m_pMicroZellen || !junction || !junction->GetMicroZellen()) return 1;
  short x = 0, y = 0;
  if ((junction == m_pStartJunction ? GetFirstIsoPos(&x, &y) : GetLastIsoPos(&x, &y)) != 0) return 1;
  const auto ux = static_cast<unsigned short>(x);
  const auto uy = static_cast<unsigned short>(y);
  *a = m_pMicroZellen->FindZelleWithTargetJunction(junction->GetMicroZellen(), ux, uy, 0);
  if (m_Type > STRASSE_EINBAHN) *b = m_pMicroZellen->FindZelleWithTargetJunction(junction->GetMicroZellen(), ux, uy, 1);
  return *a ? 0 : 1;
}

CAmpel* CStrStrasse::LinkAmpelAtJunction(CStrJunction* junction) {
  BinaryMicroSimObject* a = nullptr;
  BinaryMicroSimObject* b = nullptr;
  if (FindAmpelZellen(junction, &a, &b) != 0) return nullptr;
  auto* light = new CAmpel;
  light->Create();
  light->LinkZelle(a, b);
  return light;
}

int CStrStrasse::RelinkAmpelZellen(CAmpel* light, CStrJunction* junction) {
  if (!junction) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pAtJunction==NULL");
    return 1;
  }
  if (!light) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pAtAmpel==NULL");
    return 1;
  }
  BinaryMicroSimObject* a = nullptr;
  BinaryMicroSimObject* b = nullptr;
  // An arm that leads nothing in any more leaves its light without cells:
  // those it locked were this street's before the edit laid them anew, and
  // are gone.
  if (FindAmpelZellen(junction, &a, &b) != 0) light->RemoveLinkedZellen();
  return light->ReLinkZelle(a, b);
}
