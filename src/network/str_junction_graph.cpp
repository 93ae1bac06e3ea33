// The junction's part of building the street graph: connecting two
// junctions by a street, merging a street with the one it continues,
// splitting streets for T junctions and crossings, and the legality tests
// of joins and removals.
#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"

namespace {

// Links a street into both of its ends, or into neither when one of them
// already holds four streets.
bool LinkBoth(CStrStrasse* s, CStrJunction* a, CStrJunction* b) {
  if (a->LinkStreet(s) != 0) return false;
  if (b->LinkStreet(s) != 0) {
    a->UnLinkStreet(s);
    return false;
  }
  return true;
}

// A street drawn anew is drawn bare: a lit junction that holds it as an
// arm already (a half handed an arm of the street it was split from)
// puts its light's pictures back.
void RegisterAndDraw(CStrStrasse* s) {
  s->InsertIntoSimWelt();
  s->InsertIntoIsoWelt();
  s->RelightEnds();
}

void DestroyStreet(CStrStrasse* s) {
  s->Destroy();
  delete s;
}

// Takes a street out of the map, the demand simulation and its junctions,
// and destroys it.
void DropStreet(CStrStrasse* s) {
  s->RemoveFromIsoWelt(false);
  s->RemoveFromSimWelt();
  CStrJunction* p = s->GetStartJunction();
  CStrJunction* q = s->GetEndJunction();
  if (p) p->UnLinkStreet(s);
  if (q) q->UnLinkStreet(s);
  DestroyStreet(s);
}

}  // namespace

int CStrJunction::ConnectWith(CStrJunction* other, CStrassenType type) {
  CStrJunction* a = this;
  CStrJunction* b = other;
  CStrStrasse* s = CreateNewStreet();
  bool reverse = false;
  if (type != STRASSE_EINBAHN) {
    // The new street continues the direction of a dead end's street.
    if (a->m_AnzLinkedStreets == 1 && a->m_pStreets[0]->GetStartJunction() == a) reverse = true;
    if (b->m_AnzLinkedStreets == 1 && b->m_pStreets[0]->GetEndJunction() == b) reverse = true;
  }
  if ((reverse ? s->Create(b, a, type) : s->Create(a, b, type)) != 0 || !LinkBoth(s, a, b)) {
    DestroyStreet(s);
    return 1;
  }
  RegisterAndDraw(s);
  a->InsertIntoIsoWelt();
  b->InsertIntoIsoWelt();
  bool consumed = false;
  const int r = HandleExtension(b, s, &consumed);
  if (r < 99) {
    QNO_ERROR(QNO_SEV_WARNING, "Ileagal street");
    if (!consumed) {
      s->RemoveFromSimWelt();
      s->RemoveFromIsoWelt(false);
      b->UnLinkStreet(s);
      a->UnLinkStreet(s);
      DestroyStreet(s);
    }
    if (a->m_AnzLinkedStreets == 0 && a->IsDrawn()) a->RemoveFromIsoWelt();
    if (b->m_AnzLinkedStreets == 0 && b->IsDrawn()) b->RemoveFromIsoWelt();
    return r;
  }
  return 100;
}

int CStrJunction::HandleExtension(CStrJunction* other, CStrStrasse* street) {
  bool consumed = false;
  return HandleExtension(other, street, &consumed);
}

int CStrJunction::HandleExtension(CStrJunction* other, CStrStrasse* s, bool* consumed) {
  *consumed = false;
  CStrJunction* j = nullptr;
  if (m_AnzLinkedStreets == 2)
    j = this;
  else if (other && other->m_AnzLinkedStreets == 2)
    j = other;
  else
    return 99;
  CStrStrasse* t = j->m_pStreets[0] == s ? j->m_pStreets[1] : j->m_pStreets[0];
  // A loop street at a junction of its own has nothing to merge with.
  if (t == s) return 99;
  if (s->GetStreetType() == STRASSE_EINBAHN) {
    CStrStrasse* u = s->GetEndJunction() == j ? s : t;
    CStrStrasse* w = u == s ? t : s;
    if (u->GetEndJunction() != j || w->GetStartJunction() != j) return 2;
    short ux = 0, uy = 0, wx = 0, wy = 0;
    u->CalcMAtPos(j, &ux, &uy);
    w->CalcMAtPos(j, &wx, &wy);
    if (ux != -wx && uy != -wy) {
      const int r = j->HandleKurve(u, w, j);
      *consumed = s == w && r == 100;
      return r;
    }
    CStrJunction* p = u->GetStartJunction();
    CStrJunction* q = w->GetEndJunction();
    j->RemoveFromIsoWelt();
    u->RemoveFromSimWelt();
    w->RemoveFromSimWelt();
    j->RemoveFromSimWelt();
    j->UnLinkStreet(u);
    j->UnLinkStreet(w);
    // w's pieces go to u, w goes; j is left without streets for the
    // network to remove.
    const int r = u->ConnetWith(w, j);
    *consumed = s == w;
    if (p) {
      p->RemoveMicroSim();
      p->InsertIntoIsoWelt();
    }
    if (q && q != p) {
      q->RemoveMicroSim();
      q->InsertIntoIsoWelt();
    }
    return r == 0 ? 100 : 2;
  }
  // Chain the two streets, then make t the one that ends at j.
  if (s->GetStartJunction() == t->GetStartJunction() || s->GetEndJunction() == t->GetEndJunction()) s->Turn();
  if (s->GetEndJunction() == j) std::swap(s, t);
  short tx = 0, ty = 0, sx = 0, sy = 0;
  t->CalcMAtPos(j, &tx, &ty);
  s->CalcMAtPos(j, &sx, &sy);
  if (tx != -sx && ty != -sy) {
    if (s->GetStartJunction() == t->GetStartJunction() && s->GetEndJunction() != t->GetEndJunction()) {
      s->Turn();
      return j->HandleKurve(s, t, j);
    }
    // t keeps its pieces and takes s's; s goes.
    const int r = j->HandleKurve(t, s, j);
    *consumed = r == 100;
    return r;
  }
  j->RemoveFromIsoWelt();
  t->RemoveFromIsoWelt(false);
  t->RemoveFromSimWelt();
  s->RemoveFromSimWelt();
  j->RemoveFromSimWelt();
  j->UnLinkStreet(s);
  j->UnLinkStreet(t);
  const int r = t->ConnetWith(s, j);
  *consumed = true;
  return r == 0 ? 100 : 2;
}

int CStrJunction::HandleKurve(CStrStrasse* u, CStrStrasse* w, CStrJunction* bend) {
  CIsoRichtung dir;
  if (GetKurvenRichtung(&dir, u, w) != 0) return 1;
  if (u->LinkStreet(w, bend) != 0) return 99;
  CStrJunction* end = u->GetEndJunction();
  if (end && m_pIsoWelt && m_pIsoWelt->GetTypeAt(end->m_x, end->m_y, ISO_LAYER_GROUND) != OBJ_CROSSING)
    end->InsertIntoIsoWelt();
  else if (end)
    end->RebuildMicroZellen();
  // The joined street has new cells: its start links its own with them.
  if (CStrJunction* start = u->GetStartJunction(); start && start != end) start->RebuildMicroZellen();
  return 100;
}

int CStrJunction::GetKurvenRichtung(CIsoRichtung* dir, CStrStrasse* u, CStrStrasse* w) {
  if (!u || !w || u->GetEndJunction() != this || w->GetStartJunction() != this) return 1;
  short ux = 0, uy = 0, wx = 0, wy = 0;
  u->CalcMAtPos(this, &ux, &uy);
  w->CalcMAtPos(this, &wx, &wy);
  ux = static_cast<short>(-ux);
  uy = static_cast<short>(-uy);
  wx = static_cast<short>(-wx);
  wy = static_cast<short>(-wy);
  // One vertical and one horizontal step, in either order.
  short vy = 0, hx = 0;
  if (ux == 0 && (uy == 1 || uy == -1) && wy == 0 && (wx == 1 || wx == -1)) {
    vy = uy;
    hx = wx;
  } else if (wx == 0 && (wy == 1 || wy == -1) && uy == 0 && (ux == 1 || ux == -1)) {
    vy = wy;
    hx = ux;
  } else {
    return 1;
  }
  if (vy == 1)
    dir->SetValue(hx == -1 ? 3 : 2);
  else
    dir->SetValue(hx == -1 ? 0 : 1);
  return 0;
}

int CStrJunction::InsertTJunction(CStrJunction* other, CStrStrasse* s, CStrStrassenTeil* piece, short x, short y,
                                  CStrassenType type) {
  CStrJunction* a = this;
  CStrJunction* b = other;
  CStrJunction* j = (a->m_x == x && a->m_y == y) ? a : b;
  // The T junction takes the two halves.
  if (j->m_AnzLinkedStreets + 2 > kMaxStreets) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "m_AnzLinkedStreets>=4");
    return 1;
  }
  CStrStrasse* s1 = nullptr;
  CStrStrasse* s2 = nullptr;
  s->SplitAt(piece, x, y, &s1, &s2);
  if (!s1 || !s2) {
    if (s1) DestroyStreet(s1);
    if (s2) DestroyStreet(s2);
    return 1;
  }
  CStrJunction* p = s->GetStartJunction();
  CStrJunction* q = s->GetEndJunction();
  // The halves stay the legs the street was at its ends.
  const bool pKept = p->HandOverStreet(s, s1) == 0;
  const bool qKept = q->HandOverStreet(s, s2) == 0;
  DropStreet(s);
  if (!pKept) p->LinkStreet(s1);
  j->LinkStreet(s1);
  s1->Relink(p, j);
  j->LinkStreet(s2);
  if (!qKept) q->LinkStreet(s2);
  s2->Relink(j, q);
  // A new street joins a and b unless both are complete T junctions now.
  CStrStrasse* n = nullptr;
  if (!(a->m_AnzLinkedStreets == 3 && b->m_AnzLinkedStreets == 3)) {
    n = CreateNewStreet();
    if (n->Create(a, b, type) != 0 || !LinkBoth(n, a, b)) {
      DestroyStreet(n);
      n = nullptr;
    }
  }
  a->UpdateJunctionType(false);
  b->UpdateJunctionType(false);
  RegisterAndDraw(s1);
  RegisterAndDraw(s2);
  if (n) RegisterAndDraw(n);
  a->InsertIntoIsoWelt();
  b->InsertIntoIsoWelt();
  // The split street's far ends link their cells with the halves.
  for (CStrJunction* e : {p, q})
    if (e != a && e != b) e->RebuildMicroZellen();
  return 100;
}

int CStrJunction::InsertTJunction(CStrStrasse* s, CStrStrassenTeil* piece, short x, short y, CStrJunction* start,
                                  CStrJunction* end) {
  if (m_AnzLinkedStreets + 2 > kMaxStreets) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "m_AnzLinkedStreets>=4");
    return 1;
  }
  CStrStrasse* s1 = nullptr;
  CStrStrasse* s2 = nullptr;
  s->SplitAt(piece, x, y, &s1, &s2);
  if (!s1 || !s2) {
    if (s1) DestroyStreet(s1);
    if (s2) DestroyStreet(s2);
    return 1;
  }
  RemoveFromIsoWelt();
  s1->SetJunctions(start, this);
  start->LinkStreet(s1);
  LinkStreet(s1);
  s2->SetJunctions(this, end);
  LinkStreet(s2);
  end->LinkStreet(s2);
  RegisterAndDraw(s1);
  RegisterAndDraw(s2);
  InsertIntoIsoWelt();
  start->InsertIntoIsoWelt();
  end->InsertIntoIsoWelt();
  return 100;
}

bool CStrJunction::CreateKreuzung(CStrJunction* other, CStrassenType type) {
  CStrStrasse* n = CreateNewStreet();
  if (n->Create(this, other, type) != 0 || !LinkBoth(n, this, other)) {
    DestroyStreet(n);
    return false;
  }
  RegisterAndDraw(n);
  other->InsertIntoIsoWelt();
  RemoveFromIsoWelt();
  InsertIntoIsoWelt();
  return true;
}

int CStrJunction::CreateKreuzung(CStrStrasse* n, CStrStrasse* h, CStrStrassenTeil* piece) {
  const auto x = static_cast<short>(m_x);
  const auto y = static_cast<short>(m_y);
  CStrStrasse* h1 = nullptr;
  CStrStrasse* h2 = nullptr;
  CStrStrasse* n1 = nullptr;
  CStrStrasse* n2 = nullptr;
  h->SplitAt(piece, x, y, &h1, &h2);
  n->SplitAt(n->GetStrassenTeil(1), x, y, &n1, &n2);
  if (!h1 || !h2 || !n1 || !n2) {
    for (CStrStrasse* s : {h1, h2, n1, n2})
      if (s) DestroyStreet(s);
    return 1;
  }
  // The streets register with the crossing ids of their ends, so the new
  // crossing registers first.
  InsertIntoSimWelt();
  CStrJunction* p = h->GetStartJunction();
  CStrJunction* q = h->GetEndJunction();
  const bool pKept = p->HandOverStreet(h, h1) == 0;
  const bool qKept = q->HandOverStreet(h, h2) == 0;
  DropStreet(h);
  h1->SetJunctions(p, this);
  if (!pKept) p->LinkStreet(h1);
  LinkStreet(h1);
  h2->SetJunctions(this, q);
  LinkStreet(h2);
  if (!qKept) q->LinkStreet(h2);
  RegisterAndDraw(h1);
  RegisterAndDraw(h2);
  p->RebuildMicroZellen();
  q->RebuildMicroZellen();
  CStrJunction* ns = n->GetStartJunction();
  CStrJunction* ne = n->GetEndJunction();
  n1->SetJunctions(ns, this);
  ns->LinkStreet(n1);
  LinkStreet(n1);
  n2->SetJunctions(this, ne);
  LinkStreet(n2);
  ne->LinkStreet(n2);
  RegisterAndDraw(n1);
  RegisterAndDraw(n2);
  ns->InsertIntoIsoWelt();
  ne->InsertIntoIsoWelt();
  InsertIntoIsoWelt();
  return 0;
}

bool CStrJunction::ConnectionIsLegal() {
  if (m_AnzLinkedStreets != 2) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "m_AnzLinkedStreets!=2");
    return false;
  }
  CStrStrasse* a = m_pStreets[0];
  CStrStrasse* b = m_pStreets[1];
  const CStrassenType ta = a->GetStreetType();
  const CStrassenType tb = b->GetStreetType();
  if (ta < STRASSE_VIERSPURIG && tb < STRASSE_VIERSPURIG) {
    if (a == b) return false;
    const CStrassenType larger = ta > tb ? ta : tb;
    a->SetType(larger);
    b->SetType(larger);
    return true;
  }
  return a != b && ta == tb;
}

bool CStrJunction::RemoveingStreetIsLegal() {
  switch (m_AnzLinkedStreets) {
    case 0:
    case 1:
      return true;
    case 2:
      return ConnectionIsLegal();
    case 3: {
      UpdateJunctionType(true);
      CIsoRichtung dir;
      return GetResID(&dir) != 0;
    }
    default:
      return false;
  }
}

bool CStrJunction::RemovingStreetIsLegal(const CStrStrasse* leaving) {
  Arm all[kMaxStreets];
  GetArms(all);
  Arm arms[kMaxStreets];
  CStrStrasse* rest[kMaxStreets] = {};
  int n = 0;
  for (int i = 0; i < m_AnzLinkedStreets; ++i) {
    if (m_pStreets[i] == leaving) continue;
    rest[n] = m_pStreets[i];
    arms[n++] = all[i];
  }
  switch (n) {
    case 0:
    case 1:
      return true;
    case 2: {
      if (rest[0] == rest[1]) return false;
      const CStrassenType ta = rest[0]->GetStreetType();
      const CStrassenType tb = rest[1]->GetStreetType();
      // Two one-way streets join only when one runs in and the other out.
      if (ta == STRASSE_EINBAHN && tb == STRASSE_EINBAHN &&
          (rest[0]->GetEndJunction() == this) == (rest[1]->GetEndJunction() == this))
        return false;
      return (ta < STRASSE_VIERSPURIG && tb < STRASSE_VIERSPURIG) || ta == tb;
    }
    case 3: {
      int rotation = 0;
      return GraphicForArms(arms, n, &rotation) != 0;
    }
    default:
      return false;
  }
}
