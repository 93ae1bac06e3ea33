#include "model/indikatoren.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_net_lengths.h"
#include "network/str_strasse.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location.h"
#include "sim/sim_location_factory.h"

namespace {

constexpr const char* kRecordName = "Indikatoren";
constexpr int kTableLimit = 100;

// Row numbers of the table.
enum : int {
  kKmPerPerson = 0,
  kTimePerKm,
  kTrafficJam,
  kCostPerAgent,
  kEnergiePerKm,
  kEmmission,
  kNoise,
  kEnergiePerPerson,
  kAreaPerPerson,
  kRaumtrennung,
  kReachTimes,
  kKomfort,
  kSecurity,
  kGrowth,
  kEff,
  kQuali,
  kZorv,
  kEqm,
  kScore = 22,
};

const char* const kNames[CIndikatoren::kRows + 1] = {
    "I.EFF.KMPERPERSON",  "I.EFF.TIMEPERKM",       "I.EFF.TRAFFICJAM",          "I.EFF.COSTPERAGENT",
    "I.EFF.ENERGIEPERKM", "I.QUALI.EMMISSIONPERPERSON", "I.QUALI.NOISE",        "I.QUALI.ENERGIEPERPERSON",
    "I.QUALI.AREAPERPERSON", "I.QUALI.RAUMTRENNUNG", "I.ZORV.REACHTIMES",       "I.ZORV.KOMFORT",
    "I.ZORV.SECURITY",    "I.GROWTH",              "I.EFF",                     "I.QUALI",
    "I.ZORV",             "I.EQM",                 "I.STADT.N",                 "I.STADT.S",
    "I.STADT.O",          "I.STADT.W",             "I.SCORE",                   "LISTENDE"};

double Clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// Below these numbers of people the indicators rest at 0.5, and the
// growth factor at 0.75.
constexpr int kFewPeople = 5000;
constexpr int kSmallTown = 15000;

}  // namespace

CIndikatoren::CIndikatoren() {
  std::memset(m_Rows, 0, sizeof m_Rows);
  for (int i = 0; i <= kRows; ++i) std::strncpy(m_Rows[i].name, kNames[i], sizeof m_Rows[i].name - 1);
  for (int i = 0; i < kRows; ++i) m_Rows[i].value = 0.5f;
  static const float kAnchors[8][3] = {{11, 19, 0},    {0, 60, 0},     {0, 1, 0}, {0.46f, 0.76f, 0},
                                       {4.5f, 8.5f, 0}, {0, 1, 0},      {0, 1, 0}, {30, 90, 0}};
  for (auto& block : m_MinMax)
    for (int r = 0; r < kMinMaxRows; ++r) {
      block[r][0] = r < 8 ? kAnchors[r][0] : 0.0f;
      block[r][1] = r < 8 ? kAnchors[r][1] : 1.0f;
      block[r][2] = 0.0f;
    }
  std::memset(m_Noise, 0, sizeof m_Noise);
  std::memset(m_Emission, 0, sizeof m_Emission);
  std::memset(m_Living, 0, sizeof m_Living);
}

// ---- named values -----------------------------------------------------------------------

SVVarType* CIndikatoren::GetVar(const char* name) { return CVarTableFloat(m_Rows, kTableLimit).GetVar(name); }

int CIndikatoren::GetVarData(const char* name, double* value) {
  if (name && std::strcmp(name, "I.GROWTH_MORE") == 0) {
    // The growth gauge: the growth factor spread three times around 0.5,
    // within the gauge's range of 0 to 1, as its bar shows it.
    if (value) *value = Clamp01(0.5 + (Row(kGrowth) - 0.5) * 3.0);
    return 0;
  }
  return CVarTableFloat(m_Rows, kTableLimit).GetVarData(name, value);
}

int CIndikatoren::SetVarData(const char* name, double value) {
  return CVarTableFloat(m_Rows, kTableLimit).SetVarData(name, value);
}

int CIndikatoren::GetStep(const char* name, float* step) {
  double v = 0.0;
  const int r = CVarTableFloat(m_Rows, kTableLimit).GetStep(name, &v);
  if (r == 0 && step) *step = static_cast<float>(v);
  return r;
}

int CIndikatoren::GetVarMin(const char* name, float* min) {
  if (name && std::strcmp(name, "I.GROWTH_MORE") == 0) {
    if (min) *min = 0.0f;
    return 0;
  }
  double v = 0.0;
  const int r = CVarTableFloat(m_Rows, kTableLimit).GetVarMin(name, &v);
  if (r == 0 && min) *min = static_cast<float>(v);
  return r;
}

int CIndikatoren::GetVarMax(const char* name, float* max) {
  if (name && std::strcmp(name, "I.GROWTH_MORE") == 0) {
    if (max) *max = 1.0f;
    return 0;
  }
  double v = 0.0;
  const int r = CVarTableFloat(m_Rows, kTableLimit).GetVarMax(name, &v);
  if (r == 0 && max) *max = static_cast<float>(v);
  return r;
}

double CIndikatoren::GetVarValue(const char* name) {
  double v = 0.0;
  return GetVarData(name, &v) == 0 ? v : -1.0;
}

int CIndikatoren::SetVarValue(const char* name, double value) { return SetVarData(name, value); }

double CIndikatoren::GetIndikatorWert(int i) const { return i >= 0 && i < kPartials ? Row(i) : 0.0; }

double CIndikatoren::GetGrowth() {
  const int people = m_pExchange ? m_pExchange->GetPeople() : 0;
  return people < kFewPeople ? 0.15 : (Row(kGrowth) - 0.5) / 10.0;
}

int CIndikatoren::GetWohnqualitaetMapXY(int x, int y) const {
  if (x < 0 || y < 0 || x >= kGrid || y >= kGrid) return 0;
  return m_Living[y * kGrid + x];
}

void CIndikatoren::ChangeIndikatoren(float d) {
  if (!m_Manuell) return;
  for (int i = 0; i < kRows; ++i) m_Rows[i].value = static_cast<float>(Clamp01(m_Rows[i].value + d));
}

void CIndikatoren::Store(int row, double value) { SetVarData(kNames[row], value); }

double CIndikatoren::Dx(const char* name) { return m_pExchange ? m_pExchange->GetVarValue(name) : 0.0; }

double CIndikatoren::Rate(int row, double x) const {
  const float* a = m_MinMax[1][row];
  const double span = static_cast<double>(a[1]) - a[0];
  const double r = span != 0.0 ? Clamp01((x - a[0]) / span) : 0.0;
  return Clamp01(1.0 - r + a[2]);
}

// ---- the hourly computation ------------------------------------------------------------

void CIndikatoren::CalcReachTimes() {
  CSimCityModell* city = m_pExchange ? m_pExchange->City() : nullptr;
  CSimLocationFactory* factory = city ? city->pLocationFactory() : nullptr;
  double sum = 0.0;
  int count = 0;
  for (int i = 0; factory && i < factory->GetLocationCount(); ++i) {
    CWorldObj* building = factory->GetLocation(i)->GetBuilding();
    if (!building) continue;
    double opnv = 0.0, car = 0.0;
    building->GetVarData("BUILDING.OPNVREACH", &opnv);
    building->GetVarData("BUILDING.PKWREACH", &car);
    sum += opnv + car;
    ++count;
  }
  Store(kReachTimes, count ? Clamp01(sum / (2.0 * count) + Offset(kReachTimes)) : 0.5);
}

void CIndikatoren::CalcKomfort() {
  const double q =
      (Dx("PAR.USERQUOTE") + Dx("PTA.USERQUOTE") + Dx("AR.USERQUOTE") + Dx("CS.USERQUOTE") + Dx("MZ.USERQUOTE")) /
      500.0;
  // The share of the public-transport network on its own ways.
  const double length = m_pExchange ? m_pExchange->GetOpnvNetLength() : 0.0;
  const double s = length > 0.0 ? m_pExchange->GetOpnvNetExclusiveLength() / length : 0.0;
  double w = 0.0;
  if (m_pExchange) {
    const double lo = m_pExchange->DoVar(EX_MIN, "W.U3", 0.0), hi = m_pExchange->DoVar(EX_MAX, "W.U3", 0.0);
    if (hi != lo) w = (Dx("W.U3") - lo) / (hi - lo);
  }
  Store(kKomfort, Clamp01(3.0 * q + 0.2 * Dx("OPNV.QUALI") + 0.1 * s + 0.4 * (1.0 - w) + Offset(kKomfort)));
}

void CIndikatoren::CalcSecurity() {
  CStrJunctionList* net = m_pExchange ? m_pExchange->Context().StreetNet() : nullptr;
  double streetSum = 0.0;
  int slots = 0, secured = 0;
  // The jam length counts the streets here before the jam pass adds their
  // lengths.
  m_JamLength = 0;
  for (CZorvaObject* o = net ? net->GetHead() : nullptr; o; o = o->GetNext()) {
    const auto* junction = static_cast<CStrJunction*>(o);
    const int n = junction->GetAnzLinkedStreets();
    if (n <= 2) continue;
    slots += n;
    if (junction->GetAmpelType() > 1) secured += n;
  }
  StrForEachStreet(net, [&](CStrStrasse* street) {
    ++m_JamLength;
    const double v = street->GetVelocity();
    streetSum += v < 13.8 ? 1.0 : (v <= 14.0 ? 0.5 : 0.0);
  });
  if (m_JamLength == 0) {
    Store(kSecurity, 0.5);
    return;
  }
  double value = (0.5 + streetSum) / m_JamLength;
  if (slots) value += (2.0 * secured / slots - 0.5) / 3.0;
  Store(kSecurity, Clamp01(value + Offset(kSecurity)));
}

void CIndikatoren::CalcKmPerPerson(int people) {
  if (people <= 0 || !m_pExchange) {
    Store(kKmPerPerson, 0.5);
    return;
  }
  const double p = people;
  double lo = 12.0, hi = 17.0;
  if (p > 30000 && p < 100000) {
    lo = 12.0 + (p - 30000) * 4.0 / 70000.0;
    hi = 17.0 + (p - 30000) * 7.0 / 70000.0;
  } else if (p > 100000 && p <= 250000) {
    lo = 16.0 + (p - 100000) * 4.0 / 150000.0;
    hi = 24.0 + (p - 100000) * 6.0 / 150000.0;
  } else if (p > 250000) {
    lo = 20.0, hi = 30.0;
  }
  const double x = m_pExchange->DXCalc_KmPerPerson();
  Store(kKmPerPerson, 1.0 - Clamp01((x - lo) / (hi - lo)));
}

void CIndikatoren::CalcTimePerKm() {
  CSimCityModell* city = m_pExchange ? m_pExchange->City() : nullptr;
  const double c = city ? city->NrOfMIVTrips() : 0.0, b = city ? city->NrOfBusTrips() : 0.0;
  if (c + b == 0.0) {
    Store(kTimePerKm, 0.5);
    return;
  }
  const double maximum = m_MinMax[1][kTimePerKm][1];
  const double u1 = Dx("W.U1"), u6 = Dx("W.U6");
  const double tc = u1 != 0.0 ? Dx("W.U10.1") / (u1 / 60.0) : 30.0;
  const double tb = u6 != 0.0 ? Dx("W.U11.1") / (u6 / 60.0) : 30.0;
  const double t = (tc * c + tb * b) / (c + b);
  Store(kTimePerKm, Clamp01(t / maximum + Offset(kTimePerKm)));
}

void CIndikatoren::CalcTrafficJam() {
  CStrJunctionList* net = m_pExchange ? m_pExchange->Context().StreetNet() : nullptr;
  double jam = m_JamSum;
  int length = 0;
  StrForEachStreet(net, [&](const CStrStrasse* street) {
    if (street->GetCapacity() != 0) {
      const double load = static_cast<double>(street->GetAuslastung24()) / street->GetCapacity();
      if (load > 0.13) jam += (load - 0.13) * street->GetLaenge();
    }
    length += street->GetLaenge();
  });
  m_JamSum = static_cast<int32_t>(jam);
  m_JamLength += length;
  if (m_JamLength == 0) {
    Store(kTrafficJam, Clamp01(Row(kTrafficJam) + Offset(kTrafficJam)));
    return;
  }
  Store(kTrafficJam, Clamp01(1.0 - 5.0 * m_JamSum / m_JamLength + Offset(kTrafficJam)));
}

double CIndikatoren::Growth(double eqm, int people) {
  if (people < kSmallTown) return 0.75;
  auto half = [&](const char* name) {
    double v = 0.5;
    if (!m_pExchange || m_pExchange->GetVarData(name, &v) != 0) v = 0.5;
    return v;
  };
  const double w = (half("W.G1") + half("W.G1.1") + half("W.G2")) / 3.0;
  auto position = [&](const char* name) {
    if (!m_pExchange) return 0.0;
    const double lo = m_pExchange->DoVar(EX_MIN, name, 0.0), hi = m_pExchange->DoVar(EX_MAX, name, 0.0);
    return hi != lo ? (Dx(name) - lo) / (hi - lo) : 0.0;
  };
  const double t = std::min(1.0, (position("W.E8") + position("SV.TAX.MWST") + position("SV.TAX.ENERGIE")) * 0.5);
  return Clamp01((w + 3.0 * eqm) / 4.0 * (1.2 - 0.4 * t));
}

int CIndikatoren::OnPlayloopTurn(STime now, STime) {
  if (m_Manuell) return 0;
  const int people = m_pExchange ? m_pExchange->GetPeople() : 0;
  CalcReachTimes();
  CalcKomfort();
  CalcSecurity();
  Store(kZorv, (Row(kReachTimes) + Row(kKomfort) + Row(kSecurity)) / 3.0);

  CalcKmPerPerson(people);
  CalcTimePerKm();
  const double price = m_pExchange ? m_pExchange->DXCalc_KmPrice() : 0.0;
  Store(kCostPerAgent, price == 0.0 ? 0.5 : Rate(kCostPerAgent, price));
  CalcTrafficJam();
  const double energy = m_pExchange ? m_pExchange->DXCalc_EnergiePerKm() : 0.0;
  Store(kEnergiePerKm, energy == 0.0 ? 0.5 : Rate(kEnergiePerKm, energy));
  Store(kEff, (Row(kEnergiePerKm) + Row(kKmPerPerson) + Row(kTimePerKm) + Row(kCostPerAgent) + Row(kTrafficJam)) /
                  5.0);

  const double u = Dx("W.U13.2");
  const double h = m_pExchange ? m_pExchange->DoVar(EX_MAX, "W.U13.2", 0.0) / 2.0 : 0.0;
  Store(kAreaPerPerson, h == 0.0 ? 0.5 : Clamp01(1.0 - (u - h) / h + Offset(kAreaPerPerson)));
  Store(kRaumtrennung, people <= 0 ? 0.5 : Clamp01(m_pExchange->GetRaumtrennung() + Offset(kRaumtrennung)));
  {
    const double m = Dx("W.M4");
    const double q2 = m_pExchange ? m_pExchange->GetQuoteH2Car() : 0.0;
    const double q3 = m_pExchange ? m_pExchange->GetQuoteECar() : 0.0;
    const double f = ((1.0 - m / 50.0) + (1.0 + q2) + (1.0 + q3)) / 3.0 * (1.0 - Dx("SV.RES.EMISSION.WIRKUNG"));
    Store(kEmmission, Clamp01((Row(kEnergiePerKm) + Row(kKmPerPerson) + Row(kEnergiePerPerson)) / 3.0 * f +
                              Offset(kEmmission)));
  }
  CalcNoise();
  {
    const double km = m_pExchange ? m_pExchange->DXCalc_KmPerPerson() : 0.0;
    const double e = km * energy;
    const double p = 1.0 - Clamp01((e - 30.0) / 60.0);
    Store(kEnergiePerPerson, Clamp01((Row(kKmPerPerson) + Row(kEnergiePerKm) + p) / 3.0 + Offset(kEnergiePerPerson)));
  }
  Store(kQuali, (Row(kAreaPerPerson) + Row(kRaumtrennung) + Row(kEmmission) + Row(kNoise) + Row(kEnergiePerPerson)) /
                    5.0);
  Store(kEqm, (5.0 * Row(kQuali) + 5.0 * Row(kZorv) + 3.0 * Row(kEff)) / 13.0);

  double product = 1.0;
  for (int i = 0; i < kPartials; ++i) product *= Row(i);
  // An overdrawn account counts as an empty one.
  const double account = std::max(0.0, Dx("F.KONTO"));
  const double raw = 1000.0 * product * (2.0 * std::sqrt(account) + people);
  Store(kScore, (4.0 * Row(kScore) + raw) / 5.0);
  Store(kGrowth, Growth(Row(kEqm), people));

  if (people < kFewPeople)
    for (int i = 0; i < kRows; ++i) m_Rows[i].value = 0.5f;

  // The hour's map is made over the turns that follow (ContinueMap).
  switch (now.hour) {
    case 8:
    case 14: StartMap(kNoiseJob); break;
    case 10:
    case 16: StartMap(kEmissionJob); break;
    case 12:
    case 18: StartMap(kLivingJob); break;
    default: break;
  }
  return 0;
}

// ---- messages -------------------------------------------------------------------------------

int CIndikatoren::SetStandardMessage() {
  if (!m_pMessage) return 0;
  constexpr int kGroup = 21;
  const int people = m_pExchange ? m_pExchange->GetPeople() : 0;
  int growth = 2;
  if (people >= kSmallTown) {
    const double g = GetVarValue("I.GROWTH");
    growth = g < 0.47 ? 14 : (g <= 0.53 ? 15 : 16);
  }
  // A small town that a shortage holds below its target hears of that
  // shortage from its growth adviser, in the words of its event.
  constexpr int kShortageGroup = 5;
  const int shortage = m_pExchange ? m_pExchange->GetGrowthShortage() : -1;
  if (people < kSmallTown && shortage >= 0)
    m_pMessage->SetBeraterMessage(3, kShortageGroup, shortage);
  else
    m_pMessage->SetBeraterMessage(3, kGroup, growth);
  m_pMessage->SetBeraterMessage(0, kGroup, GetVarValue("I.EFF") < 0.5 ? 7 : 8);
  m_pMessage->SetBeraterMessage(1, kGroup, GetVarValue("I.QUALI") < 0.5 ? 9 : 10);
  m_pMessage->SetBeraterMessage(2, kGroup, GetVarValue("I.ZORV") < 0.5 ? 11 : 12);
  return 0;
}

int CIndikatoren::CheckForMessages() {
  SetStandardMessage();
  if (!m_pMessage) return 0;
  constexpr int kGroup = 7;
  const int start = static_cast<int>(zor_random() % kPartials);
  for (int k = 0; k < kPartials; ++k) {
    const int i = (start + k) % kPartials;
    const double v = GetVarValue(kNames[i]);
    const int level = v < 0.3 ? 1 : (v < 0.4 ? 0 : -1);
    if (level < 0 || zor_random() % 3 != 0) continue;
    const int slot = i < 5 ? 0 : (i < 10 ? 1 : 2);
    m_pMessage->SetBeraterMessage(slot, kGroup, 2 * i + level);
  }
  return 0;
}

// ---- the bars ---------------------------------------------------------------------------------

int CIndikatoren::Render(QnoDisplay* display) {
  double zorv = 0, eff = 0, quali = 0;
  if (GetVarData("I.ZORV", &zorv) || GetVarData("I.EFF", &eff) || GetVarData("I.QUALI", &quali)) return 1;
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return 0;
  const int w = display->GetScreenWidth(), base = display->GetScreenHeight() - 81;
  const std::pair<int, double> bars[] = {{w - 197, eff}, {w - 188, quali}, {w - 179, zorv}};
  for (const auto& [x, value] : bars) {
    const double v = Clamp01(value);
    if (v >= 0.5)
      buffer->FillRect(x, base - static_cast<int>((v - 0.5) * 27), x + 3, base, 1984);
    else
      buffer->FillRect(x, base, x + 3, base + static_cast<int>((0.5 - v) * 27), 61440);
  }
  return 0;
}

// ---- the savegame record -------------------------------------------------------------------

int CIndikatoren::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  out.Header(name && *name ? name : kRecordName, kPayloadBase + static_cast<uint32_t>(m_RowCount) * 76);
  out.I32(m_RowCount);
  out.I32(m_JamSum);
  out.I32(m_JamLength);
  out.Bytes(m_Noise, sizeof m_Noise);
  out.Bytes(m_Emission, sizeof m_Emission);
  out.Bytes(m_Living, sizeof m_Living);
  for (int i = 0; i < m_RowCount; ++i) {
    const SVVarType& row = m_Rows[i];
    out.FixedString(row.name, sizeof row.name);
    out.F32(row.value);
    out.F32(row.min);
    out.F32(row.max);
    out.F32(row.step);
  }
  for (const auto& block : m_MinMax)
    for (const auto& row : block)
      for (float v : row) out.F32(v);
  return out.Ok() ? 0 : 1;
}

int CIndikatoren::SerializeGameLoad(FILE* file, int payloadLength) {
  ZorRecordReader in(file);
  const uint32_t size = static_cast<uint32_t>(payloadLength);
  // A record of another size is refused: what it holds cannot be told.
  if (payloadLength < 0 || (size != kPayloadBase + static_cast<uint32_t>(m_RowCount) * 76 && size != kPayloadOld)) {
    QNO_ERROR1(QNO_SEV_ERROR, "CIndikatoren: a record of %d bytes is refused", payloadLength);
    return 1;
  }
  const int32_t count = in.I32();
  const int32_t jamSum = in.I32(), jamLength = in.I32();
  if (!in.Ok()) return 1;
  // The count must be the one the record's size was made for.
  if (count < 0 || count > kRows || kPayloadBase + static_cast<uint32_t>(count) * 76 != size) {
    QNO_ERROR1(QNO_SEV_ERROR, "CIndikatoren: a record of %d rows is refused", count);
    return 1;
  }
  std::vector<uint8_t> maps(3 * kGrid * kGrid);
  in.Bytes(maps.data(), maps.size());
  SVVarType rows[kRows];
  for (int i = 0; i < count; ++i) {
    in.FixedString(rows[i].name, sizeof rows[i].name);
    rows[i].value = in.F32();
    rows[i].min = in.F32();
    rows[i].max = in.F32();
    rows[i].step = in.F32();
  }
  float minMax[2][kMinMaxRows][3];
  for (auto& block : minMax)
    for (auto& row : block)
      for (float& v : row) v = in.F32();
  if (!in.Ok()) return 1;
  for (int i = 0; i < count; ++i)
    if (std::strncmp(rows[i].name, m_Rows[i].name, sizeof rows[i].name) != 0 || !std::isfinite(rows[i].value)) {
      QNO_ERROR1(QNO_SEV_ERROR, "CIndikatoren: row %d of the record does not fit; refused", i);
      return 1;
    }
  for (const auto& block : minMax)
    for (const auto& row : block)
      for (float v : row)
        if (!std::isfinite(v)) {
          QNO_ERROR(QNO_SEV_ERROR, "CIndikatoren: anchors that are no numbers; refused");
          return 1;
        }
  m_JamSum = jamSum;
  m_JamLength = jamLength;
  std::memcpy(m_Noise, maps.data(), sizeof m_Noise);
  std::memcpy(m_Emission, maps.data() + sizeof m_Noise, sizeof m_Emission);
  std::memcpy(m_Living, maps.data() + 2 * sizeof m_Noise, sizeof m_Living);
  for (int i = 0; i < count; ++i) m_Rows[i] = rows[i];
  std::memcpy(m_MinMax, minMax, sizeof m_MinMax);
  return 0;
}
