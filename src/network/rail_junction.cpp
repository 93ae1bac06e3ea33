#include "network/rail_junction.h"

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "microsim/micro_cells.h"
#include "microsim/micro_simulation.h"
#include "network/rail_junction_list.h"
#include "network/crossing_objects.h"
#include "network/rail_track.h"
#include "network/street_objects.h"

ZOR_IMPLEMENT_TYPE(CStrSchJunction, CStrJunction)

uint16_t CStrSchJunction::m_SchJuncID = 1;

const KurveIDType CStrSchJunction::SchienenID[kSchienenIDRows] = {
    {11, kTResID, 0}, {13, kTResID, 1}, {7, kTResID, 2}, {14, kTResID, 3}};

int CStrSchJunction::Create() {
  CIsoHost* host = m_pIsoWelt ? m_pIsoWelt->GetHost() : nullptr;
  if (host && !m_pKreuzObj) {
    CWorldObj* object = host->CreateObject(OBJ_RAIL_JUNCTION);
    m_pKreuzObj = dynamic_cast<CKreuzObj*>(object);
    if (object && !m_pKreuzObj) host->DestroyObject(object, 1);
    if (m_pKreuzObj) m_pKreuzObj->SetData(this);
  }
  m_SimCrossingID = m_SchJuncID;
  m_SchJuncID = static_cast<uint16_t>(m_SchJuncID + 1);
  return 0;
}

CStrStrasse* CStrSchJunction::CreateNewStreet() { return new CStrSchienen(m_pIsoWelt, m_pSimWelt); }

int CStrSchJunction::RailArmMask(const Arm* arms, int n) {
  int mask = 0;
  for (int i = 0; i < n; ++i) {
    if (!(arms[i].type == STRASSE_SCHIENE)) continue;
    if (arms[i].dx < 0) mask |= 1;
    if (arms[i].dx > 0) mask |= 2;
    if (arms[i].dy < 0) mask |= 4;
    if (arms[i].dy > 0) mask |= 8;
  }
  return mask;
}

int CStrSchJunction::GraphicForRailArms(const Arm* arms, int n, int* rotation) {
  int id = 0;
  FindKurveID(SchienenID, kSchienenIDRows, RailArmMask(arms, n), &id, rotation);
  return id;
}

int CStrSchJunction::GetKreuzungsIDStrasseD(int* id, CIsoRichtung* dir) {
  Arm arms[kMaxStreets];
  const int mask = RailArmMask(arms, GetArms(arms));
  int found = 0, rotation = 0;
  if (FindKurveID(SchienenID, kSchienenIDRows, mask, &found, &rotation)) {
    *id = found;
    dir->SetValue(rotation);
    return 0;
  }
  QNO_ERROR(QNO_SEV_FATAL, "No RES ID Found for DirectionIndex %d", mask);
  return 1;
}

void CStrSchJunction::GroupOrigin(int rotation, short* x, short* y) const {
  *x = static_cast<short>(m_x);
  *y = static_cast<short>(m_y);
  if (rotation == 0 || rotation == 1 || rotation == 2) --*x;
  if (rotation == 1 || rotation == 2 || rotation == 3) --*y;
}

bool CStrSchJunction::ShowsWholeGroup() {
  if (!IsDrawn()) return false;
  if (m_AnzLinkedStreets == 2 || m_AnzLinkedStreets == 0 || !m_pIsoWelt) return true;
  int id = kTResID;
  CIsoRichtung dir;
  dir.SetValue(0);
  short ox = static_cast<short>(m_x), oy = static_cast<short>(m_y);
  if (m_AnzLinkedStreets == 1) {
    // A dead end's group lies on the junction's cell and reaches on from it.
    id = kEndResID;
    GetEndStueckRichtung(&dir);
  } else {
    GetKreuzungsIDStrasseD(&id, &dir);
    GroupOrigin(dir.GetValue(), &ox, &oy);
  }
  CIsoObjGroup group;
  if (group.Create(id, static_cast<TIsoRichtung>(dir.GetValue() & 3), ox, oy) != 0) return true;
  for (int cx = ox; cx < ox + group.GetTurnedSizeX(); ++cx)
    for (int cy = oy; cy < oy + group.GetTurnedSizeY(); ++cy) {
      if (!IsoInMap(cx, cy)) continue;
      if (m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND) != m_pKreuzObj) return false;
      // The cell belongs to the junction's own group, not to a track's
      // group laid over part of it.
      const CIsoObjGroup* g =
          m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy), ISO_LAYER_GROUND);
      if (!g || g->GetStartPosX() != ox || g->GetStartPosY() != oy) return false;
    }
  return true;
}

int CStrSchJunction::InsertIntoIsoWelt() {
  if (!m_pIsoWelt) return 0;
  CIsoRichtung dir;
  if (m_AnzLinkedStreets == 1) {
    GetEndStueckRichtung(&dir);
    // A straight group of the track laid on the cell before reaches onto
    // this one: the end group takes the cell over and leaves the cell
    // before drawn (clearing that group would leave a gap in the track).
    CIsoObjGroup* under = IsoInMap(m_x, m_y) ? m_pIsoWelt->GetGroupAt(m_x, m_y, ISO_LAYER_GROUND) : nullptr;
    if (under && (under->GetStartPosX() != m_x || under->GetStartPosY() != m_y) &&
        m_pIsoWelt->GetTypeAt(m_x, m_y, ISO_LAYER_GROUND) == OBJ_RAIL_PIECE)
      m_pIsoWelt->SetIsoGroupTurnedAt(m_x, m_y, ISO_LAYER_GROUND, kEndResID, m_pKreuzObj, dir);
    else
      m_pIsoWelt->InsertKreuzungsGroupAt(m_x, m_y, kEndResID, &dir, m_pKreuzObj, m_Type);
  } else if (m_AnzLinkedStreets >= 3) {
    int id = kTResID;
    dir.SetValue(0);
    GetKreuzungsIDStrasseD(&id, &dir);
    short ox = 0, oy = 0;
    GroupOrigin(dir.GetValue(), &ox, &oy);
    // The tracks' cells under the group give way to it.
    CIsoObjGroup group;
    if (group.Create(id, static_cast<TIsoRichtung>(dir.GetValue() & 3), ox, oy) == 0)
      for (int cx = ox; cx < ox + group.GetTurnedSizeX(); ++cx)
        for (int cy = oy; cy < oy + group.GetTurnedSizeY(); ++cy) {
          if (!IsoInMap(cx, cy)) continue;
          const auto ux = static_cast<unsigned short>(cx), uy = static_cast<unsigned short>(cy);
          if (m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_GROUND) != OBJ_RAIL_PIECE) continue;
          if (auto* tile = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND)))
            if (CStrStrasse* track = tile->GetStreetList())
              track->RemoveMicroSimAt(static_cast<short>(cx), static_cast<short>(cy));
          m_pIsoWelt->SetStdBase(cx, cy, ISO_LAYER_GROUND, false);
        }
    m_pIsoWelt->InsertKreuzungsGroupAt(ox, oy, id, &dir, m_pKreuzObj, m_Type);
  } else {
    return 0;
  }
  if (!m_InLoadFile) CreateMicroZelle();
  return 0;
}

int CStrSchJunction::RemoveFromIsoWelt() {
  RemoveMicroSim();
  if (m_pIsoWelt) {
    if (m_Type < STRASSE_VIERSPURIG)
      m_pIsoWelt->SetStdBase(m_x, m_y, ISO_LAYER_GROUND, false);
    else
      m_pIsoWelt->DeleteIsoGroupAt(m_x, m_y, ISO_LAYER_GROUND, false);
  }
  // The end group covered the first cells of the track: it draws them again.
  if (m_AnzLinkedStreets == 1) {
    m_pStreets[0]->RemoveFromIsoWelt(false);
    m_pStreets[0]->InsertIntoIsoWelt();
  }
  return 0;
}

int CStrSchJunction::CreateMicroZelle() {
  if (m_pMicroZellen) m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  m_pMicroZellen = nullptr;
  short ox = static_cast<short>(m_x), oy = static_cast<short>(m_y);
  if (m_AnzLinkedStreets >= 3 && m_pIsoWelt && IsoInMap(m_x, m_y)) {
    // The tracks' cells under the group give way to the junction's.
    if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(m_x, m_y, ISO_LAYER_GROUND)) {
      ox = g->GetStartPosX();
      oy = g->GetStartPosY();
      if (CStrSchienen::m_pRailNet)
        for (int cx = ox; cx < ox + g->GetTurnedSizeX(); ++cx)
          for (int cy = oy; cy < oy + g->GetTurnedSizeY(); ++cy)
            CStrSchienen::m_pRailNet->DestroyMicorSimAt(static_cast<short>(cx), static_cast<short>(cy));
    }
  }
  m_pMicroZellen = new CMicroZellenGroup;
  m_pMicroZellen->Create(static_cast<unsigned short>(ox), static_cast<unsigned short>(oy));
  // No layout at the farthest level, as for a cell without one; not tried.
  if (!IsoMicroSimRuns()) return 1;
  CQnoMicroZelle* own = IsoInMap(ox, oy) ? CreateMicroZelleAt(ox, oy, nullptr) : nullptr;
  if (!own) return 1;
  m_pMicroZellen->AddZelle(own, static_cast<unsigned short>(ox), static_cast<unsigned short>(oy));
  // Trains run one track each way, whatever the junction's type.
  CMicroSimulation sim;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    CStrStrasse* s = m_pStreets[i];
    const auto fwd = static_cast<uint16_t>(s->GetSimID());
    const auto back = static_cast<uint16_t>(s->GetSimIDSecond());
    // A loop enters twice: through its head first, then through its tail.
    bool second = false;
    for (int k = 0; k < i; ++k) second = second || m_pStreets[k] == s;
    const bool starts = s->GetStartJunction() == this && !second;
    // A track without cells of its own (between groups that cover its
    // tiles) joins the junctions' cells directly, once both have them.
    const bool bare = !s->GetMicroZellenGroup() || !s->GetMicroZellenGroup()->GetFirst();
    CStrJunction* other = starts ? s->GetEndJunction() : s->GetStartJunction();
    CQnoMicroZelle* across =
        bare && other && other != this
            ? other->GetMicroZelle(static_cast<short>(other->GetXPos()), static_cast<short>(other->GetYPos()))
            : nullptr;
    if (starts) {
      if (CQnoMicroZelle* first = s->GetFirstMicroZelle())
        sim.Link(own, first, STRASSE_1, fwd, back);
      else if (across)
        sim.Link(own, across, STRASSE_1, fwd, back);
      continue;
    }
    if (CQnoMicroZelle* last = s->GetLastMicroZelle())
      sim.Link(last, own, STRASSE_1, fwd, back);
    else if (across)
      sim.Link(across, own, STRASSE_1, fwd, back);
  }
  return 0;
}

CQnoMicroZelle* CStrSchJunction::GetMicroZelle(short, short) {
  const CMicroZellenGroup::TGroupMember* first = m_pMicroZellen ? m_pMicroZellen->GetFirst() : nullptr;
  return first ? first->pZelle : nullptr;
}

bool CStrSchJunction::HasGrdCrossingAt(short x, short y) {
  for (int i = 0; i < m_AnzLinkedStreets; ++i)
    if (static_cast<CStrSchienen*>(m_pStreets[i])->HasExtraTeilAt(x, y)) return true;
  return false;
}

int CStrSchJunction::RemoveIsolatedGrdCrossings() {
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    auto* track = static_cast<CStrSchienen*>(m_pStreets[i]);
    if (!track->RemoveIsolatedGrdCrossings()) continue;
    track->RemoveFromIsoWelt(false);
    track->InsertIntoIsoWelt();
  }
  return 0;
}

// ------------------------------------------------------------------ records

int CStrSchJunction::SerializeGameLoad(FILE* file) {
  if (CStrJunction::SerializeGameLoad(file) != 0) return 1;
  if (!(m_Type == STRASSE_SCHIENE) || m_SimCrossingID == 0) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrSchJunction: impossible record at %d/%d (type %d, id %d)", m_x, m_y,
              m_Type.GetValue(), m_SimCrossingID);
    return 1;
  }
  // The counter continues above every id read.
  if (m_SimCrossingID >= m_SchJuncID) m_SchJuncID = static_cast<uint16_t>(m_SimCrossingID + 1);
  return 0;
}
