// A street's traffic: the flows and capacities it takes from the demand
// simulation, their hourly record, the evaluation of the cars that the
// micro simulation counted on its visible tiles, and its turn on a tile.
#include <cmath>
#include <cstdlib>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "iso/iso_geometry.h"
#include "microsim/micro_cells.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_welt.h"
#include "worldbase/zor_world_host.h"

namespace {

// Flows from which a street sounds busy, and the effects it plays then.
constexpr int kFlowHeavy = 400;
constexpr int kFlowMedium = 251;

void PlayFlowSound(CWorldHost* host, int flow) {
  if (flow > kFlowHeavy)
    host->AddSound("Vrk_Start", 3);
  else if (flow >= kFlowMedium)
    host->AddSound("Vrk_Mittel", 4);
}

// One direction's evaluation: `boost` scales the cars seen per count.
void Evaluate(int32_t& counted, int32_t& counts, int16_t flow, int16_t capacity, float boost, bool fixedRatio,
              int32_t& surplus, int32_t& rate) {
  const int32_t n = counts;
  if (n <= 0) return;
  const long double mean = static_cast<long double>(counted) / n;
  long double ratio = 0.5L;
  if (!fixedRatio) ratio = capacity != 0 ? static_cast<long double>(flow) / capacity : 0.0L;
  const float f = static_cast<float>(n * 0.5);
  const long double wish = (static_cast<long double>(boost) * mean - ratio) * f;
  // The conversion to int rounds toward zero. The part it drops becomes a
  // chance to go one car further from zero, so that a short street (one or
  // two counts, where the product stays below one car) still shows cars in
  // proportion to its flow, and every street's surplus keeps the wish as
  // its mean.
  surplus = StrTruncToInt(wish);
  const long double dropped = wish - surplus;
  if (dropped != 0 && zor_view_random().Chance() < std::fabs(dropped)) surplus += dropped > 0 ? 1 : -1;
  rate = StrRatePerMille(surplus, n);
}

}  // namespace

// The plain conversion of an extended-precision value switches the FPU's
// rounding mode twice, which stalls the pipeline; rounding to nearest needs
// no switch, and one exact comparison turns it into the truncation.
int32_t StrTruncToInt(long double v) {
  // The x87 store rounds by the current mode, as lrint does, without
  // calling into the maths library.
#if defined(__x86_64__) || defined(__i386__)
  long long rounded = 0;
  asm("fistpll %0" : "=m"(rounded) : "t"(v) : "st");
#else
  const long long rounded = llrintl(v);
#endif
  auto r = static_cast<int32_t>(rounded);
  if (v >= 0 && r > v) --r;
  if (v < 0 && r < v) ++r;
  return r;
}

int32_t StrRatePerMille(int32_t surplus, int32_t n) {
  // |surplus| x 1000 / n truncated. Below 2^24 the surplus is exact as a
  // float, and a quotient of integers below 2^64 that is not whole lies
  // at least 1 / n from the next whole number, farther than the extended
  // division's rounding reaches: the integer division gives the same.
  const int64_t magnitude = std::abs(static_cast<int64_t>(surplus));
  if (magnitude < (int64_t{1} << 24)) return static_cast<int32_t>(magnitude * 1000 / n);
  return StrTruncToInt(static_cast<long double>(static_cast<float>(magnitude)) * 1000 / n);
}

int CStrStrasse::UpdateCarFlow() {
  if (!m_pSimWelt) return 1;
  m_Auslastung = static_cast<int16_t>(m_SimID ? m_pSimWelt->CarFlow(m_SimID) : 0);
  m_Capacity = static_cast<int16_t>(m_SimID ? m_pSimWelt->StreetCapacity(m_SimID) : 0);
  if (m_SimIDSecond) {
    m_AuslastungSecond = static_cast<int16_t>(m_pSimWelt->CarFlow(m_SimIDSecond));
    m_CapacitySecond = static_cast<int16_t>(m_pSimWelt->StreetCapacity(m_SimIDSecond));
  } else {
    m_AuslastungSecond = 0;
    m_CapacitySecond = 0;
  }
  return 0;
}

int CStrStrasse::UpdateCarFlow24(int hour) {
  if (hour < 1 || hour > 23) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "(hour<1)||(hour>23)");
    return 1;
  }
  m_Auslastung = static_cast<int16_t>(0.6 * m_Auslastung + 0.4 * m_Auslastung24[hour - 1]);
  m_AuslastungSecond = static_cast<int16_t>(0.6 * m_AuslastungSecond + 0.4 * m_Auslastung24Second[hour - 1]);
  m_Auslastung24[hour] = m_Auslastung;
  m_Auslastung24Second[hour] = m_AuslastungSecond;
  return 0;
}

short CStrStrasse::GetAuslastung24(int hour) const { return hour < 0 || hour >= kHours ? 1 : m_Auslastung24[hour]; }

short CStrStrasse::GetAuslastung24Second(int hour) const {
  return hour < 0 || hour >= kHours ? 1 : m_Auslastung24Second[hour];
}

short CStrStrasse::GetAuslastung24() const {
  int sum = 0;
  for (int16_t v : m_Auslastung24) sum += v;
  return static_cast<short>(sum / kHours);
}

short CStrStrasse::GetAuslastung24Second() const {
  int sum = 0;
  for (int16_t v : m_Auslastung24Second) sum += v;
  return static_cast<short>(sum / kHours);
}

void CStrStrasse::FuegeMesspunktHinzu(int forward, int backward) {
  if ((m_Messpunkte | m_MesspunkteSecond) == 0 && m_pWalkList) m_pWalkList->NoteCounted(m_WalkPlace);
  m_GezaehlteAutos += forward;
  m_GezaehlteAutosSecond += backward;
  ++m_Messpunkte;
  ++m_MesspunkteSecond;
}

int CStrStrasse::BerechneISOAuslastung() {
  if ((m_Messpunkte | m_MesspunkteSecond) == 0) return 0;
  return BerechneISOAuslastung(CWorldHost::Get()->GetShowMicroZellen());
}

int CStrStrasse::BerechneISOAuslastung(bool fixedRatio) {
  // Nothing was counted since the last evaluation: the common case for
  // every street outside the view, kept to one test.
  if ((m_Messpunkte | m_MesspunkteSecond) == 0) return 0;
  Evaluate(m_GezaehlteAutos, m_Messpunkte, m_Auslastung, m_Capacity, 1.2f, fixedRatio, m_Ueberschuss, m_Rate);
  Evaluate(m_GezaehlteAutosSecond, m_MesspunkteSecond, m_AuslastungSecond, m_CapacitySecond, 1.0f, fixedRatio,
           m_UeberschussSecond, m_RateSecond);
  m_GezaehlteAutos = m_GezaehlteAutosSecond = 0;
  m_Messpunkte = m_MesspunkteSecond = 0;
  return 0;
}

int CStrStrasse::OnPlayloopTurn(short x, short y) {
  if (m_pWorldObj && m_pWorldObj->IsSoundVisible()) {
    CWorldHost* host = CWorldHost::Get();
    PlayFlowSound(host, m_Auslastung);
    if (m_SimIDSecond) PlayFlowSound(host, m_AuslastungSecond);
  }
  if (g_ZoomStufe == ISO_ZOOM_4) return 0;
  if (!m_pMicroZellen) return 1;
  const auto ux = static_cast<unsigned short>(x);
  const auto uy = static_cast<unsigned short>(y);
  // The tile's layout is looked up once for counting and moving.
  CQnoMicroZelle* cell = m_pMicroZellen->FindZelle(ux, uy);
  int forward = 0, backward = 0;
  if (cell)
    cell->ZaehleAutos(static_cast<uint16_t>(m_SimID), static_cast<uint16_t>(m_SimIDSecond), forward, backward,
                      m_Ueberschuss, m_UeberschussSecond, m_Rate, m_RateSecond);
  FuegeMesspunktHinzu(forward, backward);
  return cell ? cell->MoveCars(ux, uy, m_Type == STRASSE_VIERSPURIG && m_BusSpur) : 0;
}
