#include "network/str_junction.h"

#include <utility>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "iso/street_info_list.h"
#include "microsim/micro_cells.h"
#include "microsim/micro_simulation.h"
#include "network/str_ampel.h"
#include "network/str_cell_index.h"
#include "network/str_junction_list.h"
#include "network/rail_junction.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"
#include "sim/sim_welt.h"

ZOR_IMPLEMENT_TYPE(CStrJunction, QnoObject)

CIsoWelt* CStrJunction::m_pIsoWelt = nullptr;
CSimWelt* CStrJunction::m_pSimWelt = nullptr;
uint8_t CStrJunction::m_InLoadFile = 0;
CStrJunctionList* CStrJunction::m_pStreetNet = nullptr;

namespace {

void ParamError(const char* condition) { QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", condition); }

// A pair of leaving directions is a bend unless the steps are opposite on
// one axis.
bool IsBend(short dx1, short dy1, short dx2, short dy2) { return dx1 != -dx2 && dy1 != -dy2; }

}  // namespace

CStrJunction::CStrJunction() = default;

CStrJunction::CStrJunction(CIsoWelt* iso, CSimWelt* sim) {
  m_pIsoWelt = iso;
  m_pSimWelt = sim;
}

CStrJunction::~CStrJunction() {
  // Owners call Destroy() first; this only frees what a failed load left.
  delete m_pAmpel;
  if (m_pMicroZellen) m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  delete m_pLocations;
}

// ---- life cycle and registration ----------------------------------------------

int CStrJunction::Create(short x, short y, CStrassenType type) {
  m_x = static_cast<unsigned short>(x);
  m_y = static_cast<unsigned short>(y);
  m_Type = type;
  m_AmpelType = Ampel_Rvl;
  return Create();
}

int CStrJunction::Create() {
  CIsoHost* host = m_pIsoWelt ? m_pIsoWelt->GetHost() : nullptr;
  if (host && !m_pKreuzObj) {
    CWorldObj* object = host->CreateObject(GetZorvaObjectType());
    m_pKreuzObj = dynamic_cast<CKreuzObj*>(object);
    if (object && !m_pKreuzObj) host->DestroyObject(object, 1);
    if (m_pKreuzObj) m_pKreuzObj->SetData(this);
  }
  delete m_pLocations;
  m_pLocations = new CLocationList(0, 1);
  return m_pLocations->Create();
}

void CStrJunction::DestroyStreetObject(CStrStrasse* street) {
  street->Destroy();
  delete street;
}

int CStrJunction::Destroy() {
  if (m_pCellIndex) m_pCellIndex->RemoveJunction(this);
  if (m_pKreuzObj) {
    m_pKreuzObj->SetData(nullptr);
    if (CIsoHost* host = m_pIsoWelt ? m_pIsoWelt->GetHost() : nullptr) host->DestroyObject(m_pKreuzObj, 1);
    m_pKreuzObj = nullptr;
  }
  if (m_pAmpel) m_pAmpel->Destroy();
  delete m_pAmpel;
  m_pAmpel = nullptr;
  if (m_pMicroZellen) m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  m_pMicroZellen = nullptr;
  if (m_pLocations) m_pLocations->Destroy();
  delete m_pLocations;
  m_pLocations = nullptr;
  while (m_AnzLinkedStreets > 0) {
    CStrStrasse* street = m_pStreets[0];
    CStrJunction* start = street->GetStartJunction();
    CStrJunction* end = street->GetEndJunction();
    for (CStrJunction* j : {start, end})
      if (j && j->m_pAmpel) j->m_pAmpel->RemoveFromStreet(street);
    const int before = m_AnzLinkedStreets;
    if (start) start->UnLinkStreet(street);
    if (end) end->UnLinkStreet(street);
    // A street that does not name this junction as an end still goes.
    if (m_AnzLinkedStreets == before) UnLinkStreet(street);
    DestroyStreetObject(street);
  }
  return 0;
}

int CStrJunction::InsertIntoSimWelt() {
  m_SimCrossingID = m_pSimWelt ? static_cast<unsigned short>(m_pSimWelt->AddCrossing(0)) : 0;
  return m_SimCrossingID == 0 ? 1 : 0;
}

int CStrJunction::RemoveFromSimWelt() {
  if (m_SimCrossingID != 0) {
    if (m_pSimWelt) m_pSimWelt->RemoveCrossing(static_cast<short>(m_SimCrossingID));
    m_SimHashID = m_SimCrossingID;
    m_SimCrossingID = 0;
  }
  return 0;
}

CStrStrasse* CStrJunction::CreateNewStreet() { return new CStrStrasse(m_pIsoWelt, m_pSimWelt); }

// ---- links ------------------------------------------------------------------------

int CStrJunction::LinkStreet(CStrStrasse* street) {
  if (!street) {
    ParamError("pStreet==NULL");
    return 1;
  }
  if (m_AnzLinkedStreets >= kMaxStreets) {
    ParamError("m_AnzLinkedStreets>=4");
    return 1;
  }
  m_pStreets[m_AnzLinkedStreets++] = street;
  if (m_pCellIndex) m_pCellIndex->Linked(street);
  UpdateJunctionType(false);
  return 0;
}

int CStrJunction::UnLinkStreet(CStrStrasse* street) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    if (m_pStreets[i] != street) continue;
    for (int k = i + 1; k < m_AnzLinkedStreets; ++k) m_pStreets[k - 1] = m_pStreets[k];
    --m_AnzLinkedStreets;
    m_pStreets[m_AnzLinkedStreets] = nullptr;
    if (m_pCellIndex) m_pCellIndex->Unlinked(street);
    if (m_pAmpel) m_pAmpel->RemoveFromStreet(street);
    return 0;
  }
  return m_AnzLinkedStreets > 0 ? 1 : 0;
}

int CStrJunction::HandOverStreet(CStrStrasse* old, CStrStrasse* replacement) {
  if (m_AmpelType == Ampel_Rvl || !m_pAmpel || !replacement) return 1;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    if (m_pStreets[i] != old) continue;
    if (m_pAmpel->ReplaceStreet(old, replacement) != 0) return 1;
    m_pStreets[i] = replacement;
    if (m_pCellIndex) {
      m_pCellIndex->Unlinked(old);
      m_pCellIndex->Linked(replacement);
    }
    UpdateJunctionType(false);
    return 0;
  }
  return 1;
}

void CStrJunction::UpdateJunctionType(bool reset) {
  if (reset) m_Type = STRASSE_1;
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (m_pStreets[i]->GetStreetType() > m_Type) m_Type = m_pStreets[i]->GetStreetType();
}

int CStrJunction::UpdateChanges() {
  for (int i = 0; i < m_AnzLinkedStreets; ++i) m_pStreets[i]->UpdateChanges();
  return 0;
}

// ---- queries ------------------------------------------------------------------------

bool CStrJunction::LeadTo(const CStrJunction* other) const {
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (m_pStreets[i]->GetEndJunction() == other) return true;
  return false;
}

CStrStrasse* CStrJunction::GetStreetByID(short id) const {
  if (id == 0) return nullptr;
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (m_pStreets[i]->GetSimID() == id || m_pStreets[i]->GetSimIDSecond() == id) return m_pStreets[i];
  return nullptr;
}

bool CStrJunction::HasAmpel(CStrStrasse* street) const { return street && m_pAmpel && m_pAmpel->HasStreet(street); }

// Whether entry `index` is the second entry of a loop street.
static bool IsSecondEntry(CStrStrasse* const* streets, int index) {
  for (int i = 0; i < index; ++i)
    if (streets[i] == streets[index]) return true;
  return false;
}

bool CStrJunction::HasLoopStreet() const {
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (IsSecondEntry(m_pStreets, i)) return true;
  return false;
}

// The unit step with which the street of entry `index` leaves this
// junction; a loop street leaves through its head the first time and its
// tail the second time.
static void LeaveDir(CStrJunction* j, CStrStrasse* const* streets, int index, short* dx, short* dy) {
  CStrStrasse* s = streets[index];
  *dx = *dy = 0;
  if (s->GetStartJunction() == j && s->GetEndJunction() == j) {
    if (IsSecondEntry(streets, index))
      s->CalcMAtTail(dx, dy);
    else
      s->CalcMAtHead(dx, dy);
    return;
  }
  s->CalcMAtPos(j, dx, dy);
}

CStrStrasse* CStrJunction::GetStreetWithLr(short dx, short dy) {
  const short ax = dx < 0 ? static_cast<short>(-dx) : dx;
  const short ay = dy < 0 ? static_cast<short>(-dy) : dy;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    short mx = 0, my = 0;
    LeaveDir(this, m_pStreets, i, &mx, &my);
    if ((mx < 0 ? -mx : mx) == ax && (my < 0 ? -my : my) == ay) return m_pStreets[i];
  }
  return nullptr;
}

bool CStrJunction::LeavesAlong(CStrStrasse* street, short dx, short dy) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    if (m_pStreets[i] != street) continue;
    short mx = 0, my = 0;
    LeaveDir(this, m_pStreets, i, &mx, &my);
    return (mx != 0) == (dx != 0) && (my != 0) == (dy != 0);
  }
  return false;
}

bool CStrJunction::FindOppositePair(CStrStrasse** a, CStrStrasse** b) {
  *a = *b = nullptr;
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    for (int j = i + 1; j < m_AnzLinkedStreets; ++j) {
      short dx1 = 0, dy1 = 0, dx2 = 0, dy2 = 0;
      LeaveDir(this, m_pStreets, i, &dx1, &dy1);
      LeaveDir(this, m_pStreets, j, &dx2, &dy2);
      if (!IsBend(dx1, dy1, dx2, dy2)) {
        *a = m_pStreets[i];
        *b = m_pStreets[j];
        return true;
      }
    }
  return false;
}

void CStrJunction::GetFarSideStreets(CStrStrasse** a, CStrStrasse** b) { FindOppositePair(a, b); }

bool CStrJunction::LeaveOpposite(CStrStrasse* a, CStrStrasse* b) {
  int ia = -1, ib = -1;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    if (ia < 0 && m_pStreets[i] == a) ia = i;
    if (ib < 0 && m_pStreets[i] == b) ib = i;
  }
  if (ia < 0 || ib < 0 || ia == ib) return false;
  short dx1 = 0, dy1 = 0, dx2 = 0, dy2 = 0;
  LeaveDir(this, m_pStreets, ia, &dx1, &dy1);
  LeaveDir(this, m_pStreets, ib, &dx2, &dy2);
  return !IsBend(dx1, dy1, dx2, dy2);
}

int CStrJunction::GetEmgType() {
  if (m_AnzLinkedStreets != 3) return 0;
  bool marked[4] = {};
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    short x = 0, y = 0;
    NeighbourCell(i, &x, &y);
    if (x < m_x)
      marked[0] = true;
    else if (x == m_x && y < m_y)
      marked[1] = true;
    else if (x > m_x)
      marked[2] = true;
    else if (x == m_x && y > m_y)
      marked[3] = true;
  }
  for (int side = 0; side < 4; ++side)
    if (!marked[side]) return side;
  return 0;
}

int CStrJunction::GetEndStueckRichtung(CIsoRichtung* dir) {
  if (m_AnzLinkedStreets < 1) return 1;
  short dx = 0, dy = 0;
  LeaveDir(this, m_pStreets, 0, &dx, &dy);
  int r = 0;
  if (dx == -1 && dy == 0)
    r = 0;
  else if (dx == 0 && dy == -1)
    r = 1;
  else if (dx == 1 && dy == 0)
    r = 2;
  else if (dx == 0 && dy == 1)
    r = 3;
  dir->SetValue(r);
  return 0;
}

void CStrJunction::NeighbourCell(int index, short* x, short* y) {
  CStrStrasse* s = m_pStreets[index];
  *x = static_cast<short>(m_x);
  *y = static_cast<short>(m_y);
  const bool starts = s->GetStartJunction() == this;
  const bool ends = s->GetEndJunction() == this;
  // The street's own cells beside the junction, not a track's cells beside
  // its junctions' groups (which ask for the arms); a loop uses its own.
  // A loop's last cell at a rail junction not drawn yet steps out of the
  // group the junction's arms would give it, and those arms ask for the
  // loop's cell here again: asked again meanwhile, the loop gives the
  // street's own cell, which leaves the junction the same way, so the walk
  // goes no deeper.
  const bool own = starts && ends && !m_AskingLoopCell;
  if (own) m_AskingLoopCell = true;
  if (starts && (!ends || !IsSecondEntry(m_pStreets, index)))
    own ? s->GetFirstIsoPos(x, y) : s->CStrStrasse::GetFirstIsoPos(x, y);
  else if (ends)
    own ? s->GetLastIsoPos(x, y) : s->CStrStrasse::GetLastIsoPos(x, y);
  if (own) m_AskingLoopCell = false;
}

int CStrJunction::GetArms(Arm* arms) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    short x = 0, y = 0;
    NeighbourCell(i, &x, &y);
    arms[i].dx = static_cast<short>((x > m_x) - (x < m_x));
    arms[i].dy = static_cast<short>((y > m_y) - (y < m_y));
    arms[i].type = m_pStreets[i]->GetStreetType();
  }
  return m_AnzLinkedStreets;
}

int CStrJunction::ArmMask(const Arm* arms, int n) {
  int mask = 0;
  for (int i = 0; i < n; ++i) {
    const bool oneWay = arms[i].type == STRASSE_EINBAHN;
    if (arms[i].dx < 0)
      mask += oneWay ? 1 : 3;
    else if (arms[i].dx > 0)
      mask += oneWay ? 4 : 12;
    else if (arms[i].dy < 0)
      mask += oneWay ? 16 : 48;
    else if (arms[i].dy > 0)
      mask += oneWay ? 64 : 192;
  }
  return mask;
}

int CStrJunction::ArmMaskStrasseD(const Arm* arms, int n) {
  // Per side the codes of types 3, 1 or 2, and 4; rails add nothing.
  static const int kCodes[4][3] = {{1, 2, 4}, {8, 16, 64}, {128, 256, 1024}, {2048, 4096, 16384}};
  int mask = 0;
  for (int i = 0; i < n; ++i) {
    const CStrassenType t = arms[i].type;
    int kind = -1;
    if (t == STRASSE_EINBAHN)
      kind = 0;
    else if (t == STRASSE_1 || t == STRASSE_2)
      kind = 1;
    else if (t == STRASSE_VIERSPURIG)
      kind = 2;
    if (kind < 0) continue;
    int side = -1;
    if (arms[i].dx < 0)
      side = 0;
    else if (arms[i].dx > 0)
      side = 1;
    else if (arms[i].dy < 0)
      side = 2;
    else if (arms[i].dy > 0)
      side = 3;
    if (side >= 0) mask += kCodes[side][kind];
  }
  return mask;
}

int CStrJunction::GraphicForArms(const Arm* arms, int n, int* rotation) {
  bool rail = n > 0;
  for (int i = 0; i < n; ++i) rail = rail && arms[i].type == STRASSE_SCHIENE;
  if (rail) return CStrSchJunction::GraphicForRailArms(arms, n, rotation);
  bool four = false;
  for (int i = 0; i < n; ++i) four = four || arms[i].type >= STRASSE_VIERSPURIG;
  int id = 0;
  if (four)
    FindKurveID(KurveIDStrasseD, kKurveIDStrasseDRows, ArmMaskStrasseD(arms, n), &id, rotation);
  else
    FindKurveID(KurveID, kKurveIDRows, ArmMask(arms, n), &id, rotation);
  return id;
}

int CStrJunction::GetKreuzungsID(int* id, CIsoRichtung* dir) {
  Arm arms[kMaxStreets];
  const int mask = ArmMask(arms, GetArms(arms));
  int rotation = 0;
  const bool found = FindKurveID(KurveID, kKurveIDRows, mask, id, &rotation);
  dir->SetValue(rotation);
  if (found) return 0;
  QNO_ERROR(QNO_SEV_ERROR, "Keine Strasse mit value %d gefunden", mask);
  return 1;
}

bool CStrJunction::FindKurveID(const KurveIDType* table, int rows, int mask, int* resId, int* rotation) {
  for (int i = 0; i < rows; ++i)
    if (table[i].mask == mask) {
      *resId = table[i].resId;
      *rotation = table[i].richtung;
      return true;
    }
  *resId = 0;
  *rotation = 0;
  return false;
}

int CStrJunction::GetKreuzungsIDStrasseD(int* id, CIsoRichtung* dir) {
  Arm arms[kMaxStreets];
  const int mask = ArmMaskStrasseD(arms, GetArms(arms));
  int rotation = 0;
  const bool found = FindKurveID(KurveIDStrasseD, kKurveIDStrasseDRows, mask, id, &rotation);
  dir->SetValue(rotation);
  if (found) return 0;
  QNO_ERROR(QNO_SEV_FATAL, "No RES ID Found for DirectionIndex %d", mask);
  return 1;
}

int CStrJunction::GetResID(CIsoRichtung* dir) {
  int id = 0;
  if (m_AnzLinkedStreets >= 3) {
    if (m_Type >= STRASSE_VIERSPURIG)
      GetKreuzungsIDStrasseD(&id, dir);
    else
      GetKreuzungsID(&id, dir);
    return id;
  }
  if (m_AnzLinkedStreets == 1) {
    GetEndStueckRichtung(dir);
    CStreetInfoList* info = m_pIsoWelt ? m_pIsoWelt->GetStreetInfoList() : nullptr;
    return info ? info->GetEndStueckID(m_Type) : 0;
  }
  return 0;
}

CStrStrasse* CStrJunction::StreetHitRoad(CStrJunction* other, CStrStrassenTeil** piece, short* x, short* y) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (m_pStreets[i]->JunctionHitStreet(other, piece, *x, *y)) return m_pStreets[i];
  return nullptr;
}

bool CStrJunction::StrHitStr(CStrStrasse* other, CStrStrasse** hit, CStrStrassenTeil** piece, short* x, short* y,
                             int skip) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (m_pStreets[i]->StrHitStr(other, hit, piece, *x, *y, skip)) return true;
  return false;
}

bool CStrJunction::PointHitStreet(short x, short y) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (m_pStreets[i]->PointHit(x, y)) return true;
  return false;
}

bool CStrJunction::PointHitStreet(short x, short y, CStrStrasse** street, CStrStrassenTeil** piece) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (m_pStreets[i]->PointHit(x, y, street, piece)) return true;
  return false;
}

int CStrJunction::RegisterLocation(CSimLocation* location) {
  if (!m_pLocations) return 1;
  return m_pLocations->AddHeadLocation(location);
}

int CStrJunction::RemoveLocation(CSimLocation* location) {
  if (!m_pLocations) return 1;
  return m_pLocations->RemoveLocation(location);
}

// ---- traffic control --------------------------------------------------------------

int CStrJunction::SetAmpelData(EAmpelType type, int cycle, float quote) {
  // Only a T junction or a crossing can take signs or lights.
  if (m_AmpelType == Ampel_Rvl && type != Ampel_Rvl && m_AnzLinkedStreets < 3) {
    ParamError("m_AnzLinkedStreets<3");
    return 1;
  }
  // Signs and lights stand on a street's arm, and the group holds each
  // street once: a street that leaves the junction at both its ends would
  // be two arms with one sign or light between them.
  if (m_AmpelType < Ampel_Ampel && type != m_AmpelType && type != Ampel_Rvl && HasLoopStreet()) return 1;
  if (m_AmpelType < Ampel_Ampel) {
    if (type > Ampel_Vorfahrt) {
      m_AmpelType = type;
      if (CreateNewAmpel() != 0) {
        m_AmpelType = Ampel_Rvl;
        return 1;
      }
    }
    if (m_AmpelType < Ampel_Ampel) {
      if (type != Ampel_Vorfahrt || CreateVorfahr(Ampel_Vorfahrt) != 0) return 1;
      m_AmpelType = Ampel_Vorfahrt;
      return 0;
    }
  }
  if (!m_pAmpel) return 1;
  return m_pAmpel->ChangeAmpelData(cycle, quote);
}

int CStrJunction::CreateNewAmpel() {
  if (m_AmpelType < Ampel_Ampel) return 1;
  if (!m_pAmpel) {
    m_pAmpel = new CAmpelGroup(this);
    // The crossing object holds the settings; a junction without one runs
    // the lights' own cycle.
    if (m_pKreuzObj)
      m_pAmpel->Create(m_pKreuzObj->GetCycleTime(), m_pKreuzObj->GetAmpelQuote());
    else
      m_pAmpel->Create();
  }
  LightArms(true);
  return 0;
}

// The opposite pair first, then the other arms: the order the group's
// slots are filled in. An arm the group does not hold yet gets its light,
// and with `layers` the light's pictures too; an arm held without a light
// (a redraw took the group's lights and kept its arms) gets it again. A
// light is made only where the arm's cells in front of the junction lie.
void CStrJunction::LightArms(bool layers) {
  CStrStrasse* a = nullptr;
  CStrStrasse* b = nullptr;
  if (!FindOppositePair(&a, &b)) return;
  CStrStrasse* order[2 + kMaxStreets] = {a, b};
  int n = 2;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) order[n++] = m_pStreets[i];
  for (int i = 0; i < n; ++i) {
    CStrStrasse* s = order[i];
    if (m_pAmpel->HasStreet(s)) {
      if (!m_pAmpel->GetAmpelForStreet(s)) m_pAmpel->Relight(s->LinkAmpelAtJunction(this), s);
      continue;
    }
    // An arm that gets no light (no cell of it leads in) stays out of the
    // group and is met again here; its pictures stand once all the same.
    if (layers) s->AddAmpelLayer(this);
    m_pAmpel->Add(s->LinkAmpelAtJunction(this), s);
  }
}

int CStrJunction::CreateVorfahr(EAmpelType type) {
  if (type != Ampel_Vorfahrt) return 1;
  if (!m_pAmpel) {
    auto* group = new CVorfahrtGroup(this);
    m_pAmpel = group;
    CStrStrasse* a = nullptr;
    CStrStrasse* b = nullptr;
    if (!FindOppositePair(&a, &b)) return 0;
    for (CStrStrasse* s : {a, b}) {
      s->AddLayerAtJunction(this, kVorfahrtResID);
      group->Add(s);
    }
    for (int i = 0; i < m_AnzLinkedStreets; ++i) {
      CStrStrasse* s = m_pStreets[i];
      if (group->HasStreet(s)) continue;
      s->AddLayerAtJunction(this, kWartepflichtResID);
      group->Add(s);
    }
    return 0;
  }
  // The signs go back on the streets the crossing object names; streets
  // joined since then yield.
  RemoveVorfahr();
  CStrStrasse* p1 = nullptr;
  CStrStrasse* p2 = nullptr;
  CStrStrasse* n1 = nullptr;
  CStrStrasse* n2 = nullptr;
  if (m_pKreuzObj) {
    m_pKreuzObj->GetPriorityStreets(&p1, &p2);
    m_pKreuzObj->GetNonPriorityStreets(&n1, &n2);
  } else {
    m_pAmpel->GetPriorityStreets(&p1, &p2);
    m_pAmpel->GetNonPriorityStreets(&n1, &n2);
  }
  for (CStrStrasse* s : {p1, p2})
    if (s) s->AddLayerAtJunction(this, kVorfahrtResID);
  for (CStrStrasse* s : {n1, n2})
    if (s) s->AddLayerAtJunction(this, kWartepflichtResID);
  if (!n2) {
    auto* group = static_cast<CVorfahrtGroup*>(m_pAmpel);
    for (int i = 0; i < m_AnzLinkedStreets; ++i) {
      CStrStrasse* s = m_pStreets[i];
      if (s == p1 || s == p2 || s == n1) continue;
      s->AddLayerAtJunction(this, kWartepflichtResID);
      if (!group->HasStreet(s)) group->Add(s);
    }
  }
  return 0;
}

int CStrJunction::RemoveVorfahr() {
  if (m_AmpelType != Ampel_Vorfahrt || !m_pAmpel) return 1;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    m_pStreets[i]->RemoveLayerAtJunction(this, kVorfahrtResID);
    m_pStreets[i]->RemoveLayerAtJunction(this, kWartepflichtResID);
  }
  return 0;
}

int CStrJunction::RemoveAmpel() {
  if (m_AmpelType == Ampel_Vorfahrt) {
    RemoveVorfahr();
  } else if (m_pAmpel) {
    RemoveAmpelLayer();
    if (!m_pAmpel) return 0;
    CStrStrasse* a = nullptr;
    CStrStrasse* b = nullptr;
    // Without an opposite pair only the first street can carry a light.
    if (!FindOppositePair(&a, &b) && m_AnzLinkedStreets > 0) m_pStreets[0]->RemoveAmpelLayer(this);
  } else {
    return 0;
  }
  if (m_pAmpel) m_pAmpel->Destroy();
  delete m_pAmpel;
  m_pAmpel = nullptr;
  m_AmpelType = Ampel_Rvl;
  return 0;
}

int CStrJunction::AddAmpelLayer() {
  if (m_AmpelType < Ampel_Ampel || !m_pAmpel) return 0;
  for (int i = 0; i < CAmpelGroup::kSlots; ++i)
    if (CStrStrasse* s = m_pAmpel->GetLinkedStreetsNr(i)) s->AddAmpelLayer(this);
  return 0;
}

int CStrJunction::RemoveAmpelLayer() {
  if (m_AmpelType < Ampel_Ampel) return 0;
  CStrStrasse* a = nullptr;
  CStrStrasse* b = nullptr;
  if (!FindOppositePair(&a, &b)) return 0;
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (!IsSecondEntry(m_pStreets, i)) m_pStreets[i]->RemoveAmpelLayer(this);
  return 0;
}

int CStrJunction::UpdateAmpeln() {
  if (m_AmpelType == Ampel_Rvl || m_AmpelType == Ampel_Vorfahrt) {
    ParamError("!((m_AmpelType != Ampel_Rvl)&&(m_AmpelType != Ampel_Vorfahrt))");
    return 1;
  }
  if (!m_pAmpel) return 0;
  m_pAmpel->RelinkZellen();
  // Lights switched on while no cells were laid (at the farthest zoom
  // level) found none for their arms, which kept only the pictures: with
  // the cells laid again they get their lights.
  LightArms(false);
  return 0;
}

void CStrJunction::TakeDownControl() {
  if (m_pKreuzObj)
    m_pKreuzObj->SetVarData("KR.AMPEL", Ampel_Rvl);
  else
    RemoveAmpel();
}

// An arm that an edit left leading nothing in (turned one-way out of the
// junction, or its cells under a four-lane junction's group) gives up its
// slot and its light: the lights are held as a load rebuilds them, for the
// arms that lead in, and the arms across take the priority where it had it.
// At the farthest zoom level no cells are laid and every arm keeps its slot.
bool CStrJunction::ReleaseDarkArms() {
  if (m_AmpelType < Ampel_Ampel || !m_pAmpel || !m_pMicroZellen) return false;
  bool released = false;
  for (int i = 0; i < CAmpelGroup::kSlots; ++i) {
    CStrStrasse* s = m_pAmpel->GetLinkedStreetsNr(i);
    const CAmpel* light = m_pAmpel->GetAmpel(i);
    if (!s || !s->GetMicroZellenGroup() || (light && light->GetZelle(0))) continue;
    m_pAmpel->RemoveFromStreet(s);
    released = true;
    i = -1;  // the slots moved: from the first again
  }
  return released;
}

// The priority queries need a control with its group; the texts of the two
// failures are those of the log.
bool CStrJunction::HasControlGroup(const char* missingGroup) const {
  if (m_AmpelType == Ampel_Rvl) {
    ParamError("(m_AmpelType == Ampel_Rvl)");
    return false;
  }
  if (!m_pAmpel) {
    ParamError(missingGroup);
    return false;
  }
  return true;
}

int CStrJunction::GetPriorityStreets(CStrStrasse** a, CStrStrasse** b) {
  if (!HasControlGroup("m_pAmpel==NULL")) return 1;
  return m_pAmpel->GetPriorityStreets(a, b);
}

int CStrJunction::GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b) {
  if (!HasControlGroup("m_pAmpel == NULL")) return 1;
  return m_pAmpel->GetNonPriorityStreets(a, b);
}

int CStrJunction::ChangePriorityStreets(CStrStrasse* p1, CStrStrasse* p2, CStrStrasse* o1, CStrStrasse* o2) {
  if (!HasControlGroup("m_pAmpel == NULL")) return 1;
  return m_pAmpel->ChangePriorityStreets(p1, p2, o1, o2);
}

int CStrJunction::UpdateAmpelPos() { return m_pKreuzObj ? m_pKreuzObj->UpdateAmpelPos() : 0; }

int CStrJunction::Update() {
  if (!m_pSimWelt || !m_pKreuzObj) return 0;
  m_pKreuzObj->ResetKreuzungAuslastung();
  const auto id = static_cast<short>(m_SimCrossingID);
  for (int i = 0; i < m_AnzLinkedStreets && i < kMaxStreets; ++i) {
    const auto street = static_cast<short>(m_pStreets[i]->GetSimID());
    m_pKreuzObj->SetAuslastung(street, m_pSimWelt->CrossingFlow(id, street), m_pSimWelt->CrossingCapacity(id, street));
  }
  return 0;
}

// ---- map and micro cells --------------------------------------------------------

int CStrJunction::InsertIntoIsoWelt() {
  if (!m_pIsoWelt) return 0;
  CIsoRichtung dir;
  int id = 0;
  if (m_AnzLinkedStreets >= 3) {
    if (m_Type < STRASSE_VIERSPURIG) {
      GetKreuzungsID(&id, &dir);
      m_pIsoWelt->InsertKreuzungAt(m_x, m_y, id, &dir, m_pKreuzObj, m_Type, 3);
    } else {
      GetKreuzungsIDStrasseD(&id, &dir);
      int w = 0, d = 0;
      if (id > 0 && m_pIsoWelt->GetIsoGroupSize(id, static_cast<TIsoRichtung>(dir.GetValue() & 3), w, d) == 0) {
        // The group covers cells that streets drew before: their cells go.
        for (int cx = m_x; cx < m_x + w; ++cx)
          for (int cy = m_y; cy < m_y + d; ++cy) {
            if (!IsoInMap(cx, cy) || (cx == m_x && cy == m_y)) continue;
            CIsoInfo* info = m_pIsoWelt->GetIsoInfo(cx, cy);
            if (!info) continue;
            // The junction's own streets may hold cells there that another
            // street's graphic has covered since.
            for (int i = 0; i < m_AnzLinkedStreets; ++i)
              m_pStreets[i]->RemoveMicroSimAt(static_cast<short>(cx), static_cast<short>(cy));
            const TObjectType kind = info->GetType(ISO_LAYER_GROUND);
            if (kind == OBJ_STREET_PIECE) {
              auto* piece = dynamic_cast<CStreetObj*>(info->GetWorldObject(ISO_LAYER_GROUND));
              if (!piece) {
                QNO_ERROR(QNO_SEV_FATAL, "Ungültiges pInfo Object, pWorldObj == NULL");
                continue;
              }
              if (CStrStrasse* s = piece->GetStreetList()) {
                s->RemoveMicroSimAt(static_cast<short>(cx), static_cast<short>(cy));
                m_pIsoWelt->SetStdBase(cx, cy, ISO_LAYER_GROUND, false);
              }
            } else if (kind == OBJ_CROSSING) {
              QNO_ERROR(QNO_SEV_WARNING, "Cast 2");
              auto* cross = dynamic_cast<CKreuzObj*>(info->GetWorldObject(ISO_LAYER_GROUND));
              CStrJunction* other = cross ? cross->GetWorldObject() : nullptr;
              if (other && other != this) {
                other->RemoveMicroSim();
                other->RemoveFromIsoWelt();
              }
            }
          }
      }
      GetKreuzungsIDStrasseD(&id, &dir);
      m_pIsoWelt->InsertKreuzungsGroupAt(m_x, m_y, GroupForRotation(id, dir.GetValue()), &dir, m_pKreuzObj, m_Type);
    }
    if (!m_InLoadFile) {
      CreateMicroZelle();
      CreateNewAmpel();
      CreateVorfahr(m_AmpelType);
    }
  } else if (m_AnzLinkedStreets == 1) {
    GetEndStueckRichtung(&dir);
    m_pIsoWelt->InsertKreuzungAt(m_x, m_y, 0, &dir, m_pKreuzObj, m_Type, 1);
    if (!m_InLoadFile) {
      // A four-lane end piece covers the street's tile beside the junction:
      // the street's cells begin after it.
      if (m_Type >= STRASSE_VIERSPURIG && m_Type != STRASSE_SCHIENE) m_pStreets[0]->CreateMicroZelle();
      CreateMicroZelle();
    }
  }
  return 0;
}

int CStrJunction::RemoveFromIsoWelt() {
  if (m_pAmpel) m_pAmpel->Destroy();
  if (m_pMicroZellen) m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  m_pMicroZellen = nullptr;
  if (!m_pIsoWelt) return 0;
  if (m_Type < STRASSE_VIERSPURIG) return m_pIsoWelt->SetStdBase(m_x, m_y, ISO_LAYER_GROUND, false);
  return m_pIsoWelt->DeleteIsoGroupAt(m_x, m_y, ISO_LAYER_GROUND, false);
}

void CStrJunction::ClearCellsOfCrossing() {
  if (m_pIsoWelt) m_pIsoWelt->ClearGroundOf(m_pKreuzObj, m_x - 2, m_y - 2, m_x + 2, m_y + 2);
}

void CStrJunction::RebuildMicroZellen() {
  if (!m_pMicroZellen || m_AnzLinkedStreets == 0) return;
  RemoveMicroSim();
  // A T junction or crossing that is not drawn has no layout at its cell:
  // the halves of the street a new T junction splits are drawn, and ask
  // for its cells, before its graphic, while its cell is bare since the
  // split street left the map. The old cells go; inserting the graphic
  // builds the new ones.
  if (m_AnzLinkedStreets >= 3 && !IsDrawn()) return;
  CreateMicroZelle();
  if (HasAmpel()) UpdateAmpeln();
}

CStrJunction::Graphic CStrJunction::ArmsGraphic() {
  Graphic g;
  if (m_AnzLinkedStreets < 3) return g;
  Arm arms[kMaxStreets];
  const int n = GetArms(arms);
  g.id = GraphicForArms(arms, n, &g.rotation);
  for (int i = 0; i < n; ++i) g.wide = g.wide || arms[i].type >= STRASSE_VIERSPURIG;
  return g;
}

bool CStrJunction::ShowsArmsGraphic() {
  if (m_AnzLinkedStreets < 3 || !IsDrawn()) return true;
  const Graphic now = ArmsGraphic();
  const auto x = static_cast<unsigned short>(m_x), y = static_cast<unsigned short>(m_y);
  if (!now.wide) {
    CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
    return !m_pIsoWelt->GetGroupAt(x, y, ISO_LAYER_GROUND) && info->GetResID(ISO_LAYER_GROUND) == now.id &&
           info->GetRichtungsValue(ISO_LAYER_GROUND) == now.rotation;
  }
  const CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(x, y, ISO_LAYER_GROUND);
  return g && g->GetResID() == GroupForRotation(now.id, now.rotation);
}

void CStrJunction::RedrawIfStale() {
  if (ShowsArmsGraphic()) return;
  const Graphic now = ArmsGraphic();
  if (now.id == 0) return;
  CIsoRichtung dir;
  dir.SetValue(now.rotation);
  const auto x = static_cast<unsigned short>(m_x), y = static_cast<unsigned short>(m_y);
  const CIsoObjGroup* shown = m_pIsoWelt->GetGroupAt(x, y, ISO_LAYER_GROUND);
  const int group = GroupForRotation(now.id, now.rotation);
  // A four-lane junction's new group on the cells of the old one.
  int w0 = 0, d0 = 0, w1 = 0, d1 = 0;
  const bool sameRoom =
      now.wide && shown &&
      m_pIsoWelt->GetIsoGroupSize(shown->GetResID(), shown->GetRichtung(), w0, d0) == 0 &&
      m_pIsoWelt->GetIsoGroupSize(group, static_cast<TIsoRichtung>(now.rotation & 3), w1, d1) == 0 && w0 == w1 &&
      d0 == d1;
  if (!now.wide && !shown) {
    m_pIsoWelt->InsertKreuzungAt(m_x, m_y, now.id, &dir, m_pKreuzObj, m_Type, 3);
  } else if (sameRoom) {
    // No street's cells lie under the group: only the junction's graphic
    // and its own cells change.
    m_pIsoWelt->DeleteIsoGroupAt(m_x, m_y, ISO_LAYER_GROUND, false);
    m_pIsoWelt->InsertKreuzungsGroupAt(m_x, m_y, group, &dir, m_pKreuzObj, m_Type);
  } else {
    RemoveFromIsoWelt();
    InsertIntoIsoWelt();
    return;
  }
  if (m_pMicroZellen) RebuildMicroZellen();
}

bool CStrJunction::IsDrawn() const {
  return m_pKreuzObj && m_pIsoWelt && m_pIsoWelt->GetIsoTileObject(m_x, m_y, ISO_LAYER_GROUND) == m_pKreuzObj;
}

CQnoMicroZelle* CStrJunction::CreateMicroZelleAt(short x, short y, void*) {
  CIsoInfo* info = m_pIsoWelt ? m_pIsoWelt->GetIsoInfo(x, y) : nullptr;
  CIsoZoomStufe zoom(g_ZoomStufe);
  CIsoRichtung rot(g_IsoRichtung);
  const uint32_t id = info ? info->GetDataResID(&zoom, &rot, ISO_LAYER_GROUND) : 0;
  if (id == 0) {
    QNO_ERROR(QNO_SEV_WARNING, "Can't create MicroZelle at %d/%d, RESID == 0", x, y);
    return nullptr;
  }
  CQnoMicroZelle* cell = CQnoMicroZelle::CreateConverted(m_pIsoWelt->GetResourceManager(), id, info->GetVisibleFlag());
  if (!cell) return nullptr;
  int sx = 0, sy = 0;
  // At the front corner of the junction's group in the view, where the map
  // places it again.
  m_pIsoWelt->FixeIsoKoorCalc(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
  m_pIsoWelt->FixeGroupRichtung(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
  cell->SetScreenPos(sx, sy);
  return cell;
}

int CStrJunction::CreateMicroZelle() {
  if (m_pMicroZellen) m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  m_pMicroZellen = new CMicroZellenGroup;
  m_pMicroZellen->Create(m_x, m_y);
  // No layout at the farthest level, as for a cell without one; not tried.
  if (!IsoMicroSimRuns()) return 1;
  CQnoMicroZelle* own = CreateMicroZelleAt(static_cast<short>(m_x), static_cast<short>(m_y), nullptr);
  if (!own) return 1;
  m_pMicroZellen->AddZelle(own, m_x, m_y);
  // Linking joins cells of two layouts; it needs nothing else of the
  // running simulation.
  CMicroSimulation sim;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    CStrStrasse* s = m_pStreets[i];
    const CStrassenType t = s->GetStreetType();
    const auto fwd = static_cast<uint16_t>(s->GetSimID());
    const auto back = static_cast<uint16_t>(s->GetSimIDSecond());
    const bool starts = s->GetStartJunction() == this && !IsSecondEntry(m_pStreets, i);
    if (!starts) {
      CQnoMicroZelle* last = s->GetLastMicroZelle();
      if (!last) {
        // A street with no cells of its own (between neighbouring cells)
        // joins the two junctions' cells directly; the other streets are
        // linked all the same.
        CStrJunction* from = s->GetStartJunction();
        CQnoMicroZelle* other = from ? from->GetMicroZelle(static_cast<short>(from->m_x), static_cast<short>(from->m_y))
                                     : nullptr;
        if (s->GetLaenge() == 0 || (m_AnzLinkedStreets == 1 && t == STRASSE_EINBAHN))
          sim.LinkAndTurnSec(other, own, t, fwd, back);
        else if (other)
          sim.Link(other, own, t, fwd, back);
        continue;
      }
      if (m_AnzLinkedStreets == 1 && t == STRASSE_EINBAHN)
        sim.LinkAndTurnSec(last, own, t, fwd, back);
      else
        sim.Link(last, own, t, fwd, back);
    } else {
      CQnoMicroZelle* first = s->GetFirstMicroZelle();
      if (!first) {
        CStrJunction* to = s->GetEndJunction();
        CQnoMicroZelle* other =
            to && to != this ? to->GetMicroZelle(static_cast<short>(to->m_x), static_cast<short>(to->m_y)) : nullptr;
        if (s->GetLaenge() != 0 && other) {
          sim.Link(own, other, t, fwd, back);
          to->CloseOneWayArm(s);
        }
        continue;
      }
      sim.Link(own, first, t, fwd, back);
    }
  }
  for (int i = 0; i < m_AnzLinkedStreets; ++i) CloseOneWayArm(m_pStreets[i]);
  return 0;
}

void CStrJunction::CloseOneWayArm(CStrStrasse* s) {
  // A one-way street from the junction back to it comes in by its end arm
  // too: that arm is closed like any other.
  if (!s || s->GetStreetType() != STRASSE_EINBAHN || s->GetEndJunction() != this) return;
  CQnoMicroZelle* own = GetMicroZelle(static_cast<short>(m_x), static_cast<short>(m_y));
  // The cells the street's lane comes in from: its last tile's, or those of
  // its start junction when it has no cells of its own.
  CQnoMicroZelle* arm = s->GetLastMicroZelle();
  if (!arm)
    if (CStrJunction* from = s->GetStartJunction())
      arm = from->GetMicroZelle(static_cast<short>(from->m_x), static_cast<short>(from->m_y));
  if (!own) return;
  // A dead end, or a junction that only one-way streets come into: no
  // direction leaves it, and a vehicle's way ends on its cells.
  if (!AnyDirectionLeaves()) {
    for (int i = 0; i < own->GetCount(); ++i) own->GetZelle(i)->m_SimID = 0;
    own->SimIDsChanged();
    return;
  }
  if (!arm) return;
  BinaryMicroSimObject* lane = nullptr;
  for (int i = 0; i < arm->GetCount() && !lane; ++i)
    for (BinaryMicroSimObject* n : arm->GetZelle(i)->m_pNachfolger)
      if (own->Owns(n)) lane = arm->GetZelle(i);
  if (!lane) return;
  // The arm's exit lies beside the lane's way in; every other exit of the
  // cells lies at another arm. One closed before is that exit again.
  BinaryMicroSimObject* exit = nullptr;
  double best = 0.0;
  for (int i = 0; i < own->GetCount(); ++i) {
    BinaryMicroSimObject* e = own->GetZelle(i);
    // An entry where a way ends lies at another arm.
    if (e->m_AnzNachfolger != 0 || e->m_Closed == BinaryMicroSimObject::kWayEnds) continue;
    const double d = CMicroSimulation::CalcDistance(lane, e);
    if (!exit || d < best) {
      exit = e;
      best = d;
    }
  }
  own->CloseExit(exit);
}

bool CStrJunction::AnyDirectionLeaves() const {
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    const CStrStrasse* s = m_pStreets[i];
    if (s && (s->GetStreetType() != STRASSE_EINBAHN || s->GetStartJunction() == this)) return true;
  }
  return false;
}

int CStrJunction::RemoveMicroSim() {
  if (m_pAmpel) m_pAmpel->RemoveLinkedZellen();
  if (m_pMicroZellen) m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  m_pMicroZellen = nullptr;
  return 0;
}

CQnoMicroZelle* CStrJunction::GetMicroZelle(short x, short y) {
  return m_pMicroZellen ? m_pMicroZellen->FindZelle(static_cast<unsigned short>(x), static_cast<unsigned short>(y))
                        : nullptr;
}

int CStrJunction::TurnMicroSim(short x, short y, int view1, int view2, int resId) {
  if (!m_pMicroZellen || !m_pIsoWelt) return 1;
  CQnoMicroZelle* turned = CQnoMicroZelle::Create(m_pIsoWelt->GetResourceManager(), static_cast<unsigned>(resId), true);
  if (!turned) return 1;
  const int r = m_pMicroZellen->Turn(turned, static_cast<unsigned short>(x), static_cast<unsigned short>(y), view1,
                                     view2);
  delete turned;
  return r;
}

int CStrJunction::Render(QnoDisplay* display, short x, short y, int zoom) {
  if (!m_pMicroZellen) return 1;
  return m_pMicroZellen->Render(display, static_cast<unsigned short>(x), static_cast<unsigned short>(y), zoom);
}

int CStrJunction::UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) {
  return m_pMicroZellen ? m_pMicroZellen->UpdateScreenPos(sx, sy, x, y) : 0;
}

int CStrJunction::OnPlayloopTurn(short x, short y) {
  if (g_ZoomStufe == ISO_ZOOM_4) return 0;
  if (!m_pMicroZellen) return 1;
  if (m_pAmpel) m_pAmpel->OnPlayloopTurn();
  if (CQnoMicroZelle* cell = GetMicroZelle(x, y))
    cell->MoveCars(static_cast<unsigned short>(x), static_cast<unsigned short>(y), false);
  return 0;
}

int CStrJunction::MoveTo(short dx, short dy) {
  RemoveFromIsoWelt();
  CStrStrasse* s = m_AnzLinkedStreets > 0 ? m_pStreets[0] : nullptr;
  if (s) {
    s->RemoveFromIsoWelt(false);
    s->RemoveFromSimWelt();
    if (s->GetStartJunction() != this) {
      if (CStrStrassenTeil* tail = s->GetStrassenTeil(static_cast<int>(s->GetNumber()))) tail->MoveEndPoint(dx, dy);
    } else if (CStrStrassenTeil* head = s->GetStrassenTeil(1)) {
      head->MoveStartPoint(dx, dy);
    }
  }
  m_x = static_cast<unsigned short>(m_x + dx);
  m_y = static_cast<unsigned short>(m_y + dy);
  if (s) {
    s->InsertIntoSimWelt();
    s->InsertIntoIsoWelt();
  }
  return InsertIntoIsoWelt();
}
