#include "network/str_ampel.h"

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "microsim/micro_cells.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"

namespace {

void ParamCheck(const char* condition) { QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", condition); }

}  // namespace

// ---------------------------------------------------------------- CAmpel

int CAmpel::Create() {
  m_Gelb = kGelb;
  m_Rot = kRot;
  m_Gruen = kGruen;
  m_Start = 0;
  return 0;
}

int CAmpel::Destroy() {
  Lock(false);
  RemoveLinkedZellen();
  return 0;
}

void CAmpel::Lock(bool on) {
  m_Red = on;
  if (m_pZelle1) m_pZelle1->m_Locked = on ? 1 : 0;
  if (m_pZelle2) m_pZelle2->m_Locked = on ? 1 : 0;
}

int CAmpel::LinkZelle(BinaryMicroSimObject* a, BinaryMicroSimObject* b) {
  if (!a) return 1;
  int filled = 0;
  if (!m_pZelle1) {
    m_pZelle1 = a;
    ++filled;
  }
  if (!m_pZelle2) {
    m_pZelle2 = b;
    ++filled;
  }
  return filled > 0 ? 0 : 1;
}

int CAmpel::ReLinkZelle(BinaryMicroSimObject* a, BinaryMicroSimObject* b) {
  if (!a) return 1;
  m_pZelle1 = a;
  m_pZelle2 = b;
  return 0;
}

void CAmpel::RemoveLinkedZellen() {
  m_pZelle1 = nullptr;
  m_pZelle2 = nullptr;
}

int CAmpel::Invert(const CAmpel* other) {
  if (!m_pZelle1 || !other) return 1;
  Lock(other->m_pZelle1 ? other->m_pZelle1->m_Locked == 0 : !other->m_Red);
  return 0;
}

int CAmpel::OnPlayloopTurn() {
  const uint32_t now = kfx_GetTicks();
  if (m_Start == 0) {
    Lock(false);
    m_Start = now;
    return 0;
  }
  // Open for the green time, then closed for both amber times and red.
  const int64_t t = static_cast<int64_t>(now - m_Start);
  if (t >= 2 * static_cast<int64_t>(m_Gelb) + m_Gruen + m_Rot) {
    m_Start = now;
    Lock(false);
  } else if (t >= m_Gruen) {
    Lock(true);
  }
  return 0;
}

// ----------------------------------------------------------- CAmpelGroup

CAmpelGroup::~CAmpelGroup() { Destroy(); }

int CAmpelGroup::Create() {
  m_CycleTime = kCycle;
  m_Share = kShare;
  TimeFor(&m_Pacer, 0);
  return 0;
}

int CAmpelGroup::Create(int cycle, float quote) {
  m_CycleTime = cycle * 100;
  m_Share = static_cast<int32_t>(quote * static_cast<float>(m_CycleTime));
  TimeFor(&m_Pacer, 0);
  return 0;
}

int CAmpelGroup::Destroy() {
  for (int i = 0; i < kSlots; ++i) CheckDeleteAmpel(i);
  return 0;
}

void CAmpelGroup::TimeFor(CAmpel* light, int i) const {
  if (i < 2)
    light->SetTimes(kGelbGroup, m_CycleTime - kGelbGroup - m_Share, m_Share);
  else
    light->SetTimes(kGelbGroup, m_Share, m_CycleTime - kGelbGroup - m_Share);
}

void CAmpelGroup::Resync() {
  // Only the priority lights run a cycle; the others follow them and keep
  // the times they came with.
  for (int i = 0; i < 2; ++i)
    if (m_pAmpeln[i]) {
      TimeFor(m_pAmpeln[i], i);
      m_pAmpeln[i]->Restart();
    }
  m_Pacer.Restart();
}

int CAmpelGroup::ChangeAmpelData(int cycle, float quote) {
  Create(cycle, quote);
  for (int i = 0; i < kSlots; ++i)
    if (m_pAmpeln[i]) TimeFor(m_pAmpeln[i], i);
  return 0;
}

void CAmpelGroup::Swap(int i, int k) {
  CAmpel* l = m_pAmpeln[i];
  m_pAmpeln[i] = m_pAmpeln[k];
  m_pAmpeln[k] = l;
  CStrStrasse* s = m_pStreets[i];
  m_pStreets[i] = m_pStreets[k];
  m_pStreets[k] = s;
}

// Opposite arms share their phase and crossing arms never show green
// together: a light that joins the group, or arms that change slots, give
// the priority lights the priority times again and start them together
// (each kept its own start and the times of the slot it came in by, and a
// pair of two starts or two timings ran apart).
int CAmpelGroup::Add(CAmpel* light, CStrStrasse* street) {
  const int r = Place(light, street);
  if (r == 0 && light) Resync();
  return r;
}

int CAmpelGroup::Place(CAmpel* light, CStrStrasse* street) {
  if (!street) {
    ParamCheck("pLinkedStreet==NULL");
    delete light;
    return 1;
  }
  if (!light) return 0;
  // A slot that holds an arm without its light (a redraw took the lights
  // and kept the arms) is that arm's: it takes its light again there.
  auto used = [this](int i) { return m_pAmpeln[i] || m_pStreets[i]; };
  int index = 0;
  while (index < kSlots && used(index)) ++index;
  if (index == kSlots) {
    delete light;
    return 1;
  }
  TimeFor(light, index);
  if (index == 1 && used(0)) {
    CStrStrasse* a = nullptr;
    CStrStrasse* b = nullptr;
    if (m_pJunction) m_pJunction->GetFarSideStreets(&a, &b);
    // The first opposite pair of the junction, or any arm across from the
    // first light's (a crossing whose first pair has an arm without light).
    const bool opposite = (a == m_pStreets[0] && b == street) || (b == m_pStreets[0] && a == street) ||
                          (m_pJunction && m_pJunction->LeaveOpposite(m_pStreets[0], street));
    if (!opposite) {
      // The new light leads the priority pair; the first one yields. A
      // slot of the other pair that holds a light already is not
      // overwritten: the new light swaps through the free one instead.
      if (!used(2)) {
        m_pAmpeln[2] = light;
        m_pStreets[2] = street;
        Swap(0, 2);
        Swap(1, 3);
        return 0;
      }
      // The other pair's first light is across from the new one: that
      // pair is complete.
      if (!used(3) && m_pJunction && m_pJunction->LeaveOpposite(m_pStreets[2], street)) {
        m_pAmpeln[3] = light;
        m_pStreets[3] = street;
        return 0;
      }
      if (!used(3)) {
        m_pAmpeln[3] = light;
        m_pStreets[3] = street;
        Swap(0, 3);
        return 0;
      }
    }
  }
  m_pAmpeln[index] = light;
  m_pStreets[index] = street;
  return 0;
}

int CAmpelGroup::Relight(CAmpel* light, CStrStrasse* street) {
  for (int i = 0; i < kSlots; ++i)
    if (street && m_pStreets[i] == street && !m_pAmpeln[i]) {
      if (!light) return 1;
      // A light of the other pair runs no cycle of its own but holds the
      // times of its slot, as a light added there does.
      TimeFor(light, i);
      m_pAmpeln[i] = light;
      Resync();
      return 0;
    }
  delete light;
  return 1;
}

int CAmpelGroup::RemoveFromStreet(CStrStrasse* street) {
  if (!street) {
    ParamCheck("pLinkedStreet==NULL");
    return 1;
  }
  int i = 0;
  while (i < kSlots && m_pStreets[i] != street) ++i;
  if (i == kSlots) return 1;
  CheckDeleteAmpel(i);
  m_pStreets[i] = nullptr;
  if (i >= 2) {
    if (i == 2) Swap(2, 3);
    Resync();
    return 0;
  }
  if (i == 0) Swap(0, 1);
  // Without another pair the arm left of the priority pair keeps it: the
  // priority is never handed to empty slots.
  if (!m_pStreets[2] && !m_pStreets[3]) {
    Resync();
    return 0;
  }
  if (m_pJunction) m_pJunction->RemoveAmpelLayer();
  // The other pair takes the priority; the remaining former priority arm yields.
  CAmpel* keptLight = m_pAmpeln[0];
  CStrStrasse* keptStreet = m_pStreets[0];
  m_pAmpeln[0] = m_pAmpeln[2];
  m_pStreets[0] = m_pStreets[2];
  m_pAmpeln[1] = m_pAmpeln[3];
  m_pStreets[1] = m_pStreets[3];
  m_pAmpeln[2] = keptLight;
  m_pStreets[2] = keptStreet;
  m_pAmpeln[3] = nullptr;
  m_pStreets[3] = nullptr;
  if (m_pJunction) m_pJunction->AddAmpelLayer();
  Resync();
  return 0;
}

int CAmpelGroup::ReplaceStreet(const CStrStrasse* old, CStrStrasse* replacement) {
  if (!old || !replacement) return 1;
  for (int i = 0; i < kSlots; ++i)
    if (m_pStreets[i] == old) {
      // The light's cells go with the old street; it keeps its slot and
      // its cycle and takes the replacement's cells when the junction
      // links them (RelinkZellen).
      if (m_pAmpeln[i]) m_pAmpeln[i]->RemoveLinkedZellen();
      m_pStreets[i] = replacement;
      return 0;
    }
  return 1;
}

void CAmpelGroup::CheckDeleteAmpel(int i) {
  if (i < 0 || i >= kSlots || !m_pAmpeln[i]) return;
  m_pAmpeln[i]->Destroy();
  delete m_pAmpeln[i];
  m_pAmpeln[i] = nullptr;
}

int CAmpelGroup::GetPriorityStreets(CStrStrasse** a, CStrStrasse** b) const {
  *a = m_pStreets[0];
  *b = m_pStreets[1];
  return 0;
}

int CAmpelGroup::GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b) const {
  *a = m_pStreets[2];
  *b = m_pStreets[3];
  return 0;
}

CAmpel* CAmpelGroup::GetAmpelForStreet(const CStrStrasse* street) const {
  if (!street) return nullptr;
  for (int i = 0; i < kSlots; ++i)
    if (m_pStreets[i] == street) return m_pAmpeln[i];
  return nullptr;
}

bool CAmpelGroup::HasStreet(const CStrStrasse* street) const {
  if (!street) return false;
  for (CStrStrasse* s : m_pStreets)
    if (s == street) return true;
  return false;
}

CStrStrasse* CAmpelGroup::GetLinkedStreetsNr(int n) const {
  if (n >= kSlots || n < 0) {
    ParamCheck("Index>3");
    return nullptr;
  }
  return m_pStreets[n];
}

int CAmpelGroup::ChangePriorityStreets(CStrStrasse* a, CStrStrasse* b, CStrStrasse* c, CStrStrasse* d) {
  CStrStrasse* order[kSlots] = {a, b, c, d};
  CAmpel* lights[kSlots] = {};
  for (int i = 0; i < kSlots; ++i) lights[i] = GetAmpelForStreet(order[i]);
  // A light whose street is not named again leaves the group with it.
  for (int i = 0; i < kSlots; ++i) {
    bool kept = false;
    for (CAmpel* l : lights) kept = kept || l == m_pAmpeln[i];
    if (!kept) CheckDeleteAmpel(i);
  }
  for (int i = 0; i < kSlots; ++i) {
    m_pStreets[i] = order[i];
    m_pAmpeln[i] = lights[i];
  }
  Resync();
  return 0;
}

int CAmpelGroup::RemoveLinkedZellen() {
  for (CAmpel* l : m_pAmpeln)
    if (l) l->RemoveLinkedZellen();
  return 0;
}

int CAmpelGroup::RelinkZellen() {
  for (int i = 0; i < kSlots; ++i)
    if (m_pAmpeln[i] && m_pStreets[i]) m_pStreets[i]->RelinkAmpelZellen(m_pAmpeln[i], m_pJunction);
  return 0;
}

int CAmpelGroup::OnPlayloopTurn() {
  // Both priority lights take their turn before the others follow: one
  // that follows the other priority light sees its state of this turn.
  for (int i = 0; i < 2; ++i)
    if (m_pAmpeln[i]) m_pAmpeln[i]->OnPlayloopTurn();
  m_Pacer.OnPlayloopTurn();
  for (int i = 0; i < 2; ++i) {
    if (!m_pAmpeln[i + 2]) continue;
    // A light without a cell (its arm leads nothing in) locks nothing: the
    // other priority light leads as for an empty slot. Where neither
    // priority arm has a light that locks a cell, the follower follows the
    // pacer, which keeps the priority time: it never stands at red or green
    // for good.
    const CAmpel* lead = m_pAmpeln[i];
    if (!lead || !lead->GetZelle(0)) lead = m_pAmpeln[1 - i];
    if (!lead || !lead->GetZelle(0)) lead = &m_Pacer;
    m_pAmpeln[i + 2]->Invert(lead);
  }
  return -1;
}

// -------------------------------------------------------- CVorfahrtGroup

int CVorfahrtGroup::Add(CStrStrasse* street) {
  for (int i = 0; i < kSlots; ++i) {
    if (m_pStreets[i]) continue;
    m_pStreets[i] = street;
    return 0;
  }
  return 1;
}

int CVorfahrtGroup::ChangePriorityStreets(CStrStrasse* a, CStrStrasse* b, CStrStrasse* c, CStrStrasse* d) {
  if (m_pJunction) {
    if (c) c->RemoveLayerAtJunction(m_pJunction, CStrJunction::kVorfahrtResID);
    if (d) d->RemoveLayerAtJunction(m_pJunction, CStrJunction::kVorfahrtResID);
    for (int i = 0; i < m_pJunction->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = m_pJunction->GetStreetByNR(i);
      if (s != c && s != d) s->RemoveLayerAtJunction(m_pJunction, CStrJunction::kWartepflichtResID);
    }
    if (a) a->AddLayerAtJunction(m_pJunction, CStrJunction::kVorfahrtResID);
    if (b) b->AddLayerAtJunction(m_pJunction, CStrJunction::kVorfahrtResID);
    if (c) c->AddLayerAtJunction(m_pJunction, CStrJunction::kWartepflichtResID);
    if (d) d->AddLayerAtJunction(m_pJunction, CStrJunction::kWartepflichtResID);
  }
  return CAmpelGroup::ChangePriorityStreets(a, b, c, d);
}
