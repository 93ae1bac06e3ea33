#include "network/crossing_objects.h"

#include <cmath>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "iso/iso_geometry.h"
#include "microsim/micro_cells.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "sim/sim_welt.h"
#include "worldbase/zor_world_host.h"

namespace {

bool Is(const char* name, const char* key) { return name && std::strcmp(name, key) == 0; }

// Exchanges the priority codes 1 and 2.
int Swapped(int code) { return code == 1 ? 2 : code == 2 ? 1 : code; }

bool OddRotation() { return (g_IsoRichtung & 1) != 0; }

constexpr const char* kBuildCosts = "F.EXPENSES.BUILDINFRASTRUCTURE";
constexpr int32_t kMaxAmpelType = 9;


}  // namespace

// -------------------------------------------------------------- life

int CKreuzObj::Create() {
  CWorldObj::Create();
  m_Type = OBJ_CROSSING;
  return 0;
}

int CKreuzObj::Destroy() {
  m_pJunction = nullptr;
  return CRoadObj::Destroy();
}

// -------------------------------------------------------------- forwarding

int CKreuzObj::OnPlayloopTurn(unsigned short x, unsigned short y) {
  if (m_pJunction) m_pJunction->OnPlayloopTurn(static_cast<short>(x), static_cast<short>(y));
  return CWorldObj::OnPlayloopTurn(x, y);
}

void CKreuzObj::PrefetchTurn(unsigned short x, unsigned short y, int stage) const {
  if (m_pJunction) m_pJunction->PrefetchTurn(static_cast<short>(x), static_cast<short>(y), stage);
}

int CKreuzObj::Render(QnoDisplay* display, unsigned short x, unsigned short y, int, int, TIsoZoomStufe zoom) {
  if (!m_pJunction) return 1;
  return m_pJunction->Render(display, static_cast<short>(x), static_cast<short>(y), zoom);
}

int CKreuzObj::UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) {
  return m_pJunction ? m_pJunction->UpdateScreenPos(sx, sy, x, y) : 1;
}

int CKreuzObj::TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId) {
  return m_pJunction ? m_pJunction->TurnMicroSim(static_cast<short>(x), static_cast<short>(y), sx, sy, resId) : 1;
}

CQnoMicroZelle* CKreuzObj::GetMicroZelle(unsigned short x, unsigned short y) {
  return m_pJunction ? m_pJunction->GetMicroZelle(static_cast<short>(x), static_cast<short>(y)) : nullptr;
}

int CKreuzObj::GetSimID() { return m_pJunction ? m_pJunction->GetSimID() : -1; }

int CKreuzObj::GetStreetType() const {
  if (!m_pJunction) {
    QNO_ERROR(QNO_SEV_ERROR, "m_pJunction==NULL in CKreuzObj");
    return 0;
  }
  return m_pJunction->GetType().GetValue();
}

int CKreuzObj::GetStreetDirectionAt(unsigned short, unsigned short, signed char& dx, signed char& dy) {
  dx = 0;
  dy = 0;
  return 0;
}

int CKreuzObj::GetPriorityStreets(CStrStrasse** a, CStrStrasse** b) {
  if (m_AmpelType == 0 || !m_pJunction) {
    *a = nullptr;
    *b = nullptr;
    return 1;
  }
  return m_pJunction->GetPriorityStreets(a, b);
}

int CKreuzObj::GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b) {
  if (m_AmpelType == 0 || !m_pJunction) {
    *a = nullptr;
    *b = nullptr;
    return 1;
  }
  return m_pJunction->GetNonPriorityStreets(a, b);
}

int CKreuzObj::ChangePriorityStreets(CStrStrasse* a, CStrStrasse* b, CStrStrasse* c, CStrStrasse* d) {
  if (m_AmpelType == 0 || !m_pJunction) return 1;
  return m_pJunction->ChangePriorityStreets(a, b, c, d);
}

// -------------------------------------------------------------- loads

void CKreuzObj::ResetKreuzungAuslastung() {
  for (Arm& arm : m_Arms) arm = Arm{};
  m_AnzArms = 0;
}

void CKreuzObj::SetAuslastung(int16_t armId, int flow, int capacity) {
  if (m_AnzArms >= kArms) return;
  Arm& arm = m_Arms[m_AnzArms++];
  arm.id = static_cast<uint16_t>(armId);
  arm.flow = flow;
  arm.capacity = capacity;
}

int CKreuzObj::GetAuslastung(int* flow, int* capacity) {
  m_AnzArms = 0;
  if (m_pJunction) m_pJunction->Update();
  int f = 1, c = 0;
  if (m_AnzArms > 0) {
    int sumFlow = 0, sumCap = 0;
    for (int i = 0; i < m_AnzArms; ++i) {
      sumFlow += m_Arms[i].flow;
      sumCap += m_Arms[i].capacity;
    }
    f = sumFlow / m_AnzArms;
    c = (1 + sumCap) / m_AnzArms;
  }
  if (flow) *flow = f;
  if (capacity) *capacity = c;
  return 0;
}

double CKreuzObj::GetAuslastung24() {
  m_AnzArms = 0;
  if (!m_pJunction || m_pJunction->GetAnzLinkedStreets() < 3) return 0.0;
  long flows = 0, caps = 0;
  for (int i = 0; i < m_pJunction->GetAnzLinkedStreets(); ++i) {
    CStrStrasse* s = m_pJunction->GetStreetByNR(i);
    if (!s) return 0.0;
    flows += s->GetAuslastung24();
    caps += s->GetCapacity();
  }
  return caps == 0 ? 0.0 : static_cast<double>(flows) / static_cast<double>(caps);
}

// -------------------------------------------------------------- priority

int CKreuzObj::GetPriorityRichtung(TIsoRichtung& dir) {
  CStrStrasse* a = nullptr;
  CStrStrasse* b = nullptr;
  if (!m_pJunction || GetPriorityStreets(&a, &b) != 0 || !a) return 1;
  static constexpr struct {
    short dx, dy;
    int dir;
  } kTries[] = {{1, 0, 0}, {0, 1, 3}, {-1, 0, 2}, {0, -1, 1}};
  // The axis the first priority street leaves by: the first street found
  // on that axis may be its partner across.
  for (const auto& t : kTries) {
    if (!m_pJunction->LeavesAlong(a, t.dx, t.dy)) continue;
    dir = static_cast<TIsoRichtung>(t.dir);
    return 0;
  }
  return 1;
}

int CKreuzObj::SetPriorityRichtung(TIsoRichtung dir) {
  TIsoRichtung now{};
  if (GetPriorityRichtung(now) != 0 || now == dir) return 1;
  return SwapPriorityPairs();
}

std::array<CStrStrasse*, 4> CKreuzObj::PairStreets() {
  std::array<CStrStrasse*, 4> s{};
  GetPriorityStreets(&s[0], &s[1]);
  GetNonPriorityStreets(&s[2], &s[3]);
  return s;
}

int CKreuzObj::SwapPriorityPairs() {
  auto [p1, p2, n1, n2] = PairStreets();
  // A T junction's priority road is its straight pair: its third arm
  // alone cannot take the priority from a pair. A single lit arm (the
  // other arm of its pair has no light, a one-way street leaving) may
  // take it or give it up as a pair does.
  const bool tPair = p2 && !n2 && m_pJunction && m_pJunction->GetAnzLinkedStreets() == 3;
  if (!n1 || tPair) return 1;
  ChangePriorityStreets(n1, n2, p1, p2);
  return 0;
}

int CKreuzObj::UpdateAmpelPos() {
  if (m_AmpelType == 0 || m_Richtung == 2) return 0;
  return SwapPriorityPairs();
}

int CKreuzObj::ApplyPriorityCode() {
  if (m_Richtung == 1) return SetPriorityRichtung(static_cast<TIsoRichtung>(0));
  if (m_Richtung == 2) return SetPriorityRichtung(static_cast<TIsoRichtung>(3));
  return 1;
}

int CKreuzObj::FollowPriorityCode() {
  if (m_AmpelType < 2 || (m_Richtung != 1 && m_Richtung != 2) || !m_pJunction) return 1;
  auto [p1, p2, n1, n2] = PairStreets();
  // A T junction's straight pair has the priority over its third arm, as
  // when the lights are put up: an edit that made a crossing a T gives it
  // back to the pair.
  if (m_pJunction->GetAnzLinkedStreets() == 3 && p1 && !p2 && n1 && n2) return SwapPriorityPairs();
  const auto want = static_cast<TIsoRichtung>(m_Richtung == 1 ? 0 : 3);
  TIsoRichtung now{};
  if (GetPriorityRichtung(now) != 0 || now == want) return 1;
  // A swap that leaves the priority across the code's direction as well is
  // not made: each edit would swap the pairs once more.
  if (!n1 || !m_pJunction->LeavesAlong(n1, want == 0 ? 1 : 0, want == 0 ? 0 : 1)) return 1;
  return SwapPriorityPairs();
}

int CKreuzObj::CheckAmpelRichtungAfterLoad() {
  TellSimControl();
  if (m_AmpelType != 1 && m_AmpelType != 2) return 0;
  if (m_Richtung != 1 && m_Richtung != 2) m_Richtung = 1;
  ApplyPriorityCode();
  return 0;
}

bool CKreuzObj::BuildCycleWith(CKreuzObj* other) {
  if (!other || !m_pJunction || !other->m_pJunction) return false;
  if (m_pJunction->GetAnzLinkedStreets() > 2 || other->m_pJunction->GetAnzLinkedStreets() >= 3) return false;
  return m_pJunction->LeadTo(other->m_pJunction) || other->m_pJunction->LeadTo(m_pJunction);
}

int CKreuzObj::TCode() const {
  if (!m_pJunction || m_pJunction->GetAnzLinkedStreets() != 3) return 0;
  switch (m_pJunction->GetEmgType()) {
    case 1:
    case 3:
      return 1;
    case 0:
    case 2:
      return 2;
    default:
      return 0;
  }
}

// -------------------------------------------------------------- control

int CKreuzObj::SetJunctionAmpel() {
  if (!m_pJunction) return 1;
  return m_pJunction->SetAmpelData(static_cast<EAmpelType>(m_AmpelType), m_Cycle, m_Quote);
}

void CKreuzObj::GreenParts(int& priority, int& side) const {
  const float share = m_Quote * static_cast<float>(m_Cycle);
  const float rest = static_cast<float>(m_Cycle) * (1.0f - m_Quote);
  const bool shareUp = rest - std::floor(rest) < share - std::floor(share);
  priority = static_cast<int>(shareUp ? std::ceil(share) : std::floor(share));
  side = static_cast<int>(shareUp ? std::floor(rest) : std::ceil(rest));
}

void CKreuzObj::TellSimControl() {
  CSimWelt* sim = CStrJunction::m_pSimWelt;
  if (!sim || !m_pJunction) return;
  const auto id = static_cast<short>(m_pJunction->GetSimID());
  if (m_AmpelType == 0) {
    sim->SetCrossingType(id, SIM_CROSSING_NONE);
  } else if (m_AmpelType == 1) {
    sim->SetCrossingType(id, SIM_CROSSING_PRIORITY);
  } else {
    int priority = 0, side = 0;
    GreenParts(priority, side);
    sim->SetCrossingType(id, SIM_CROSSING_SIGNAL);
    sim->SetNW_GoTime(id, priority);
    sim->SetNE_GoTime(id, side);
  }
}

void CKreuzObj::Book(int entry) {
  CWorldHost* host = CWorldHost::Get();
  host->VarAddValue(kBuildCosts, host->GetPreis(entry, 0));
}

int CKreuzObj::ChangeAmpelType(int k) {
  if (k == m_AmpelType) return 0;
  if (k < 0 || k > kMaxAmpelType) {
    QNO_ERROR(QNO_SEV_WARNING, "CKreuzObj: no control kind %d", k);
    return 1;
  }
  if (!m_pJunction) return 1;
  const int was = m_AmpelType;
  const int wasCode = m_Richtung;
  if (was != 0) {
    if (m_Richtung != 1 && m_Richtung != 2) m_Richtung = 1;
  } else {
    m_Richtung = k != 0 ? TCode() : 0;
  }
  m_pJunction->RemoveAmpel();
  int r = 0;
  if (k != 0) r = m_pJunction->SetAmpelData(static_cast<EAmpelType>(k), m_Cycle, m_Quote);
  if (r != 0) {
    // The junction refused: it keeps the control it had and nothing is booked.
    m_Richtung = wasCode;
    m_pJunction->RemoveAmpel();
    if (was != 0) m_pJunction->SetAmpelData(static_cast<EAmpelType>(was), m_Cycle, m_Quote);
    ApplyPriorityCode();
    return r;
  }
  if (k >= 2 && was < 2) Book(kPreisAmpel);
  if (k >= 2 && was < 2)
    SetSoundName("Ampel", 1);
  else if (k < 2 && (was >= 2 || k == 0))
    SetSoundName("Wind", 2);
  else if (was == 0)
    SetSoundName("Ampel", 1);
  m_AmpelType = k;
  if (k < 2) m_NoOpnvPriority = 1;
  if (k == 0)
    m_Richtung = 0;
  else if (m_Richtung == 0)
    m_Richtung = 1;
  ApplyPriorityCode();
  TellSimControl();
  // Right before left needs nothing of the junction.
  return k == 0 ? 0 : SetJunctionAmpel();
}

// -------------------------------------------------------------- variables

int CKreuzObj::GetVarData(const char* name, double* value) {
  if (!name || !value) return 1;
  const bool t = m_pJunction && m_pJunction->GetAnzLinkedStreets() == 3;
  const int e = m_pJunction ? m_pJunction->GetEmgType() : 0;
  const int rot = g_IsoRichtung & 3;
  if (Is(name, "KR.AMPEL")) {
    *value = m_AmpelType;
  } else if (Is(name, "KR.AMPEL.RVLSTATE")) {
    *value = m_AmpelType != 0 ? 1 : 0;
  } else if (Is(name, "KR.AMPEL.TIME")) {
    *value = m_Cycle;
  } else if (Is(name, "KR.AMPEL.QUOTE")) {
    *value = m_Quote;
  } else if (Is(name, "KR.AMPEL.COST")) {
    *value = CWorldHost::Get()->GetPreis(kPreisAmpel, 0);
  } else if (Is(name, "KR.AMPEL.SVOR") || Is(name, "KR.AMPEL.SNEBEN")) {
    int priority = 0, side = 0;
    GreenParts(priority, side);
    *value = Is(name, "KR.AMPEL.SVOR") ? priority : side;
  } else if (Is(name, "KR.AMPEL.OPNV")) {
    *value = m_NoOpnvPriority == 0 ? 1 : 0;
  } else if (Is(name, "KR.AMPEL.RICHTUNG")) {
    int v = Swapped(m_Richtung);
    if (OddRotation()) v = Swapped(v);
    if (t) v += 3 * ((e + rot) % 4) + 3;
    *value = v;
  } else if (Is(name, "KR.RICHTUNG.1") || Is(name, "KR.RICHTUNG.2")) {
    const bool first = Is(name, "KR.RICHTUNG.1");
    const int et = OddRotation() ? (e + 1) % 4 : e;
    int v = 0;
    if (t && (first ? (et == 1 || et == 3) : (et == 0 || et == 2))) {
      v = 0;
    } else {
      v = first ? (m_Richtung == 2 ? 2 : 1) : (m_Richtung == 1 ? 2 : m_Richtung == 2 ? 1 : 0);
      if (OddRotation()) v = Swapped(v);
    }
    *value = v;
  } else if (Is(name, "KR.AMPEL.AUSLASTUNG") || Is(name, "KR.AMPEL.AUSLASTUNG.RELATIV")) {
    long flows = 0, caps = 0;
    for (const Arm& arm : m_Arms) {
      if (arm.marker <= 1) continue;
      flows += arm.flow;
      caps += arm.capacity;
    }
    if (Is(name, "KR.AMPEL.AUSLASTUNG")) {
      *value = static_cast<double>(flows);
    } else {
      if (caps < 1) return 1;
      *value = static_cast<double>(flows) / static_cast<double>(caps);
    }
  } else {
    return CWorldObj::GetVarData(name, value);
  }
  return 0;
}

int CKreuzObj::SetVarData(const char* name, double value) {
  if (!name) return 1;
  if (Is(name, "KR.AMPEL")) {
    if (!(value >= 0.0 && value <= kMaxAmpelType)) {
      QNO_ERROR(QNO_SEV_WARNING, "CKreuzObj: no control kind %f", value);
      return 1;
    }
    return ChangeAmpelType(static_cast<int>(value));
  }
  if (Is(name, "KR.AMPEL.TIME")) {
    if (!(value >= kMinCycle && value <= kMaxCycle)) {
      QNO_ERROR(QNO_SEV_WARNING, "CKreuzObj: cycle %f out of range", value);
      value = value > kMaxCycle ? kMaxCycle : kMinCycle;
    }
    m_Cycle = static_cast<int32_t>(value);
    SetJunctionAmpel();
    if (m_AmpelType >= 2) TellSimControl();
    return 0;
  }
  if (Is(name, "KR.AMPEL.QUOTE")) {
    float q = static_cast<float>(value);
    if (!(q >= kMinQuote)) q = kMinQuote;
    if (q > kMaxQuote) q = kMaxQuote;
    m_Quote = q;
    SetJunctionAmpel();
    if (m_AmpelType >= 2) TellSimControl();
    return 0;
  }
  if (Is(name, "KR.AMPEL.OPNV")) {
    if (m_AmpelType > 1) {
      if (value != 0.0 && m_NoOpnvPriority != 0) Book(kPreisOpnv);
      m_NoOpnvPriority = value == 0.0 ? 1 : 0;
    } else {
      m_NoOpnvPriority = 1;
    }
    return 0;
  }
  if (Is(name, "KR.AMPEL.RICHTUNG")) {
    if (m_pJunction && m_pJunction->GetAnzLinkedStreets() == 3) {
      if (m_AmpelType == 0) ChangeAmpelType(1);
      m_Richtung = TCode();
    } else {
      if (m_AmpelType == 0) ChangeAmpelType(1);
      m_Richtung = value == 1.0 ? 2 : 1;
      if (OddRotation()) m_Richtung = Swapped(m_Richtung);
    }
    ApplyPriorityCode();
    SetJunctionAmpel();
    return 0;
  }
  return CWorldObj::SetVarData(name, value);
}

int CKreuzObj::GetStep(const char* name, float* step) {
  if (Is(name, "KR.AMPEL.TIME") && step) {
    *step = 10.0f;
    return 0;
  }
  return CWorldObj::GetStep(name, step);
}

int CKreuzObj::GetVarMin(const char* name, float* min) {
  if (!min) return 1;
  if (Is(name, "KR.AMPEL.TIME")) {
    *min = kMinCycle;
    return 0;
  }
  if (Is(name, "KR.AMPEL.QUOTE")) {
    *min = 0.0f;
    return 0;
  }
  return CWorldObj::GetVarMin(name, min);
}

int CKreuzObj::GetVarMax(const char* name, float* max) {
  if (!max) return 1;
  if (Is(name, "KR.AMPEL.TIME")) {
    *max = kMaxCycle;
    return 0;
  }
  if (Is(name, "KR.AMPEL.QUOTE")) {
    *max = 1.0f;
    return 0;
  }
  return CWorldObj::GetVarMax(name, max);
}

// -------------------------------------------------------------- record

int CKreuzObj::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  out.I32(m_AmpelType);
  out.I32(m_NoOpnvPriority);
  out.F32(m_Quote);
  out.I32(m_Cycle);
  out.I32(m_Cycle);
  for (const Arm& arm : m_Arms) {
    out.I32(arm.marker);
    out.U16(arm.id);
    out.U16(0);
    out.I32(arm.flow);
    out.I32(arm.capacity);
  }
  out.I32(m_AnzArms);
  out.I32(m_Richtung);
  out.I32(m_pJunction ? m_pJunction->GetSimID() : 0);
  return out.Ok() ? 0 : 1;
}

int CKreuzObj::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  const int32_t kind = in.I32();
  const int32_t noOpnv = in.I32();
  const float quote = in.F32();
  in.I32();
  const int32_t cycle = in.I32();
  Arm arms[kArms];
  for (Arm& arm : arms) {
    arm.marker = in.I32();
    arm.id = in.U16();
    in.U16();
    arm.flow = in.I32();
    arm.capacity = in.I32();
  }
  const int32_t count = in.I32();
  const int32_t richtung = in.I32();
  in.I32();
  if (!in.Ok()) {
    QNO_ERROR(QNO_SEV_ERROR, "CKreuzObj: record cut short");
    return 1;
  }
  if (kind < 0 || kind > kMaxAmpelType) {
    QNO_ERROR(QNO_SEV_ERROR, "CKreuzObj: impossible control kind %d", kind);
    return 1;
  }
  m_AmpelType = kind;
  m_NoOpnvPriority = noOpnv == 0 && kind >= 2 ? 0 : 1;
  // A cycle or quote outside what the settings offer would give lights
  // negative phases: both are clamped.
  m_Cycle = cycle < kMinCycle ? kMinCycle : cycle > kMaxCycle ? kMaxCycle : cycle;
  m_Quote = !(quote >= kMinQuote) ? kMinQuote : quote > kMaxQuote ? kMaxQuote : quote;
  if (m_Cycle != cycle || m_Quote != quote)
    QNO_ERROR(QNO_SEV_WARNING, "CKreuzObj: cycle %d and quote %f clamped to %d and %f", cycle, quote, m_Cycle,
              m_Quote);
  m_Richtung = richtung >= 0 && richtung <= 2 ? richtung : 0;
  m_AnzArms = count < 0 ? 0 : count > kArms ? kArms : count;
  for (int i = 0; i < kArms; ++i) m_Arms[i] = arms[i];
  if (kind == 2) SetSoundName("Ampel", 1);
  return 0;
}

void CKreuzObj::TakeSettings(const CKreuzObj& other) {
  m_AmpelType = other.m_AmpelType;
  m_NoOpnvPriority = other.m_NoOpnvPriority;
  m_Quote = other.m_Quote;
  m_Cycle = other.m_Cycle;
  m_Richtung = other.m_Richtung;
  for (int i = 0; i < kArms; ++i) m_Arms[i] = other.m_Arms[i];
  m_AnzArms = other.m_AnzArms;
  SetSoundName(other.GetSoundName(), other.GetSoundPriority());
}

// -------------------------------------------------------------- rail

int CRailKreuz::Create() {
  CWorldObj::Create();
  m_Type = OBJ_RAIL_JUNCTION;
  return 0;
}

int CRailKreuz::OnPlayloopTurn(unsigned short x, unsigned short y) {
  if (m_pJunction) m_pJunction->OnPlayloopTurn(static_cast<short>(x), static_cast<short>(y));
  return CWorldObj::OnPlayloopTurn(x, y);
}

int CRailKreuz::GetAuslastung(int* flow, int* capacity) {
  if (flow) *flow = -1;
  if (capacity) *capacity = -1;
  return 0;
}

int CRailKreuz::OnStartOfCycle(unsigned short, unsigned short) {
  m_Active = 1;
  return 0;
}
