#include "model/statistik.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "framework/zor_list.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "model/data_exchange.h"
#include "sim/sim_city_model.h"

namespace {

constexpr const char* kRecordName = "STATISTIK";
constexpr int kGroupRanges[CStatistik::kGroups][2] = {{0, 12},  {13, 20}, {21, 27}, {28, 36},
                                                      {37, 43}, {44, 58}, {59, 70}};
constexpr const char* kIndicators[15] = {
    "I.EFF.KMPERPERSON",       "I.EFF.TIMEPERKM",      "I.EFF.TRAFFICJAM",      "I.EFF.COSTPERAGENT",
    "I.EFF.ENERGIEPERKM",      "I.QUALI.EMMISSIONPERPERSON", "I.QUALI.NOISE",   "I.QUALI.ENERGIEPERPERSON",
    "I.QUALI.RAUMTRENNUNG",    "I.QUALI.AREAPERPERSON", "I.ZORV.REACHTIMES",    "I.ZORV.KOMFORT",
    "I.ZORV.SECURITY",         "I.EQM",                "I.GROWTH"};
constexpr const char* kFinances[12] = {"F.LASTYEAR.BILANZ",   "F.KONTO",             "F.LASTYEAR.INCOME.CITY",
                                       "SV.TICKET.LASTYEAR.BILANZ", "F.LASTYEAR.KREDITE", "OPNV.F.LY.BILANZ",
                                       "PTA.LASTYEAR.BILANZ", "CS.LASTYEAR.BILANZ",  "AR.LASTYEAR.BILANZ",
                                       "PAR.LASTYEAR.BILANZ", "PRM.LASTYEAR.BILANZ", "MZ.LASTYEAR.BILANZ"};
// The modal splits by kilometres and by trips, and the four series that
// show one of them.
constexpr int kSplitKm = 71, kSplitTrips = 75, kSplitShown = 28;

// Record sizes of older savegames.
constexpr uint32_t kSeriesBytes = 400;
constexpr uint32_t kOldSeriesBytes = 264;
// The group, its ranges, the view's words, the times, the active count and
// the zoom.
constexpr uint32_t kViewBytes = 561;
constexpr uint32_t kOldPayload = 21420;
constexpr uint32_t kV130Payload = 19308;
constexpr int kV130Series = 71;

}  // namespace

CStatistik::CStatistik() {
  RestoreLabels(0);
  for (STime& t : m_Time) t = STime{0, 0, 0, 0.0f};
}

int CStatistik::GroupFirst(int g) { return g >= 0 && g < kGroups ? kGroupRanges[g][0] : 0; }
int CStatistik::GroupLast(int g) { return g >= 0 && g < kGroups ? kGroupRanges[g][1] : -1; }

void CStatistik::RestoreLabels(int language) {
  for (int i = 0; i < kSeries; ++i) {
    const Text& t = language == 1 ? kLabels[i].en : kLabels[i].de;
    std::strncpy(m_Series[i].name, t.name, kNameSize - 1);
    m_Series[i].name[kNameSize - 1] = '\0';
    std::strncpy(m_Series[i].unit, t.unit, kNameSize - 1);
    m_Series[i].unit[kNameSize - 1] = '\0';
  }
}

void CStatistik::ChangeLanguage(int language) {
  m_Language = language == 1 ? 1 : 0;
  RestoreLabels(m_Language);
}

double CStatistik::Dx(const char* name) { return m_pExchange ? m_pExchange->GetVarValue(name) : 0.0; }

// ---- recording --------------------------------------------------------------------------------

void CStatistik::Shift(STime now) {
  for (Series& s : m_Series) std::memmove(s.werte, s.werte + 1, sizeof(double) * (kSlots - 1));
  std::memmove(m_Time, m_Time + 1, sizeof(STime) * (kSlots - 1));
  m_Time[kSlots - 1] = now;
}

void CStatistik::NewYear(STime now) { Shift(now); }

bool CStatistik::HasParkRide() {
  CIsoWelt* map = m_pExchange ? m_pExchange->Context().Map() : nullptr;
  for (int x = 0; map && x < 128; ++x)
    for (int y = 0; y < 128; ++y)
      if (const CIsoInfo* cell = map->GetIsoInfo(x, y); cell && cell->GetType(ISO_LAYER_GROUND) == OBJ_PARKRIDE)
        return true;
  return false;
}

void CStatistik::ModalSplit(bool km, double shares[4]) {
  CSimCityModell* city = m_pExchange ? m_pExchange->City() : nullptr;
  const double p = HasParkRide() ? Dx("W.M2") / 100.0 : 0.0;
  double car = 0, bus = 0, walk = 0;
  if (city) {
    car = city->NrOfMIVTrips(), bus = city->NrOfBusTrips(), walk = city->NrOfFeetTrips();
    if (km) {
      const double m12 = Dx("W.M12");
      car = car * city->StreckenlaengeMIV() / (m12 != 0.0 ? m12 : 1.3);
      bus *= city->StreckenlaengeBus();
      walk *= city->StreckenlaengeFeet();
    }
  }
  const double total = (car + bus + walk) * (1.0 + p);
  if (total == 0.0) return;
  shares[0] = 100.0 * car / total;
  shares[1] = 100.0 * p;
  shares[2] = 100.0 * bus / total;
  shares[3] = 100.0 * walk / total;
}

void CStatistik::UpdateWerte_Verkehr() {
  double km[4] = {0, 0, 0, 0};
  ModalSplit(true, km);
  // Without trips the split by trips repeats the one by kilometres.
  double trips[4] = {km[0], km[1], km[2], km[3]};
  ModalSplit(false, trips);
  for (int k = 0; k < 4; ++k) {
    Record(kSplitKm + k, km[k]);
    Record(kSplitTrips + k, trips[k]);
  }
  const int from = m_KmOrWege ? kSplitKm : kSplitTrips;
  for (int k = 0; k < 4; ++k) Record(kSplitShown + k, m_Series[from + k].werte[kSlots - 1]);
  Record(32, Dx("W.M12"));
  if (m_pExchange) {
    m_pExchange->UpdateQuoteMicrocar();
    const double micro = m_pExchange->Block().quoteMicrocar, h2 = m_pExchange->GetQuoteH2Car(),
                 electric = m_pExchange->GetQuoteECar();
    Record(33, 100.0 * (1.0 - (micro + h2 + electric)));
    Record(34, 100.0 * micro);
    Record(35, 100.0 * h2);
    Record(36, 100.0 * electric);
  }
}

int CStatistik::OnPlayloopTurn(STime now, STime) {
  Shift(now);
  UpdateWerte_Verkehr();
  CSimCityModell* city = m_pExchange ? m_pExchange->City() : nullptr;
  const int people = m_pExchange ? m_pExchange->GetPeople() : 0;
  // Cars.
  Record(13, m_pExchange ? m_pExchange->GetStreetNetLength() : 0.0);
  const double m12 = Dx("W.M12");
  const double carKm = city ? city->NrOfMIVTrips() * city->StreckenlaengeMIV() / (m12 != 0.0 ? m12 : 1.3) : 0.0;
  Record(14, carKm);
  Record(15, people ? carKm / people : 0.0);
  Record(16, Dx("W.U10.2"));
  Record(17, (Dx("W.U3") + Dx("W.U4")) * 0.5);
  Record(18, Dx("W.S6") + Dx("W.S4") + Dx("W.S5") + Dx("W.S7"));
  Record(19, Dx("PRM.PLACES"));
  Record(20, Dx("PRM.USERQUOTE"));
  // Public transport.
  Record(21, m_pExchange ? m_pExchange->GetOpnvNetLength() : 0.0);
  Record(22, Dx("OPNV.NET.TAKTKILOMETER"));
  const double busKm = city ? city->NrOfBusTrips() * city->StreckenlaengeBus() : 0.0;
  Record(23, busKm);
  Record(24, Dx("W.U11.2"));
  Record(25, people ? busKm / people : 0.0);
  COpnv* opnv = m_ppOpnv ? *m_ppOpnv : nullptr;
  Record(26, opnv ? opnv->CalculateAveragePriceKm() : 0.0);
  Record(27, Dx("W.U8"));
  // The town.
  Record(0, people);
  if (m_pExchange) {
    Record(1, m_pExchange->GetWorkerI());
    Record(2, m_pExchange->GetWorkerD());
    Record(3, m_pExchange->GetFze());
    Record(5, m_pExchange->DXCalc_WegLaenge());
    Record(6, m_pExchange->DXCalc_KmPrice() * 0.5);
    Record(7, m_pExchange->DXCalc_KmPerPerson());
    Record(8, m_pExchange->DXCalc_TotalEnergieverbrauch());
    Record(9, m_pExchange->DXCalc_TotalEmmission());
  }
  Record(4, Dx("W.M6"));
  Record(10, 0.0);
  Record(11, 0.0);
  Record(12, Dx("W.M7"));
  // The users of the measures.
  Record(37, Dx("CS.USERQUOTEPEOPLE"));
  Record(38, HasParkRide() ? Dx("W.M2") : 0.0);
  Record(39, Dx("PTA.USERQUOTE"));
  Record(40, Dx("AR.USERQUOTE"));
  Record(41, Dx("PAR.USERQUOTE"));
  Record(42, Dx("MZ.USERQUOTE"));
  Record(43, m_pExchange ? m_pExchange->GetQuoteTeleworking() * 100.0 : 0.0);
  for (int k = 0; k < 15; ++k) Record(44 + k, Dx(kIndicators[k]));
  for (Series& s : m_Series) s.werte[kSlots - 1] = std::floor(s.werte[kSlots - 1] * 1000.0) / 1000.0;
  return 0;
}

int CStatistik::UpdateWerte_Finanzen(STime) {
  for (int k = 0; k < 12; ++k) Record(59 + k, Dx(kFinances[k]));
  return 0;
}

// ---- the view ----------------------------------------------------------------------------------

void CStatistik::Toggle(int i) {
  if (i == kSeries) {
    SetKmOrWege(!m_KmOrWege);
    return;
  }
  if (i < 0 || i > kSeries) return;
  m_Series[i].shown = m_Series[i].shown ? 0 : 1;
  CalculateActiveWerte();
}

void CStatistik::ChangeGruppe(int g) {
  if (g < 0 || g >= kGroups) return;
  m_Gruppe = g;
  if (g == 6) m_Zoom = 0;
  CalculateActiveWerte();
}

void CStatistik::GruppeAlleAn() {
  for (int i = GroupFirst(m_Gruppe); i <= GroupLast(m_Gruppe); ++i) m_Series[i].shown = 1;
  CalculateActiveWerte();
}

void CStatistik::GruppeAlleAus() {
  for (int i = GroupFirst(m_Gruppe); i <= GroupLast(m_Gruppe); ++i) m_Series[i].shown = 0;
  CalculateActiveWerte();
}

void CStatistik::CalculateActiveWerte() {
  int n = 0;
  for (int i = GroupFirst(m_Gruppe); i <= GroupLast(m_Gruppe); ++i) n += m_Series[i].shown ? 1 : 0;
  m_Active = n > 3 ? 3 : n;
}

void CStatistik::YearPlus() {
  if (m_Offset > 0) --m_Offset;
}

void CStatistik::YearMinus() {
  if (kSlots - (m_Offset + m_ShownSlots) > 0) ++m_Offset;
}

void CStatistik::YearMax(int n) {
  m_ShownSlots = n;
  if (kSlots - (n + m_Offset) < 0) m_Offset = kSlots - n;
}

int CStatistik::FirstVisible() const {
  const int first = kSlots - (m_Offset + m_ShownSlots);
  return first > 0 ? first : 0;
}

void CStatistik::SetKmOrWege(bool km) {
  m_KmOrWege = km ? 1 : 0;
  const int from = km ? kSplitKm : kSplitTrips;
  for (int k = 0; k < 4; ++k) m_Series[kSplitShown + k] = m_Series[from + k];
}

void CStatistik::SetAllDataOnNewest() {
  const int newest = (59 - m_Offset) % kSlots;
  for (Series& s : m_Series) {
    const double v = s.werte[newest];
    for (double& w : s.werte) w = v;
  }
  // Quarter years back from the newest recording.
  const STime last = m_Time[newest];
  for (int i = 0; i < kSlots; ++i) {
    STime t = last;
    t.fyear = last.fyear - 0.25f * static_cast<float>(kSlots - 1 - i);
    t.year = static_cast<int>(std::floor(t.fyear));
    m_Time[i] = t;
  }
  RestoreLabels(m_Language);
  m_FirstYear = 1999;
  m_Zoom = 0;
  m_Offset = 0;
  m_ShownSlots = 10;
  m_Gruppe = 0;
}

// ---- the savegame record ------------------------------------------------------------------------

namespace {

void WriteSeries(ZorRecordWriter& out, const CStatistik::Series& s) {
  for (double v : s.werte) out.F64(v);
  out.F64(s.scale);
  out.U16(s.pixel);
  out.U8(s.spare);
  out.FixedString(s.name, CStatistik::kNameSize);
  out.FixedString(s.unit, CStatistik::kNameSize);
  out.U8(s.shown);
  out.I32(s.kept);
  out.F64(s.min);
  out.F64(s.max);
  out.U64(0);
}

void ReadSeries(ZorRecordReader& in, CStatistik::Series& s) {
  for (double& v : s.werte) v = in.F64();
  s.scale = in.F64();
  s.pixel = in.U16();
  s.spare = in.U8();
  in.FixedString(s.name, CStatistik::kNameSize);
  in.FixedString(s.unit, CStatistik::kNameSize);
  s.shown = in.U8();
  s.kept = in.I32();
  s.min = in.F64();
  s.max = in.F64();
  in.Skip(8);
}

void ReadOldSeries(ZorRecordReader& in, CStatistik::Series& s) {
  for (double& v : s.werte) v = in.F32();
  s.scale = in.F32();
  s.pixel = in.U16();
  in.FixedString(s.name, CStatistik::kNameSize);
  in.FixedString(s.unit, CStatistik::kNameSize);
  in.Skip(2);
  s.kept = in.I32();
  s.min = in.F32();
  s.max = in.F32();
  in.Skip(4);
}

void WriteTime(ZorRecordWriter& out, const STime& t) {
  out.I32(t.hour);
  out.I32(t.day);
  out.I32(t.year);
  out.F32(t.fyear);
}

STime ReadTime(ZorRecordReader& in) {
  STime t;
  t.hour = in.I32();
  t.day = in.I32();
  t.year = in.I32();
  t.fyear = in.F32();
  return t;
}

// The fields after the series, as every layout holds them.
struct ViewFields {
  int32_t group = 0, reserved = 0, shownSlots = 10, offset = 0, firstYear = 1999, active = 0;
  STime time[CStatistik::kSlots];
  uint8_t zoom = 0;
};

ViewFields ReadView(ZorRecordReader& in) {
  ViewFields v;
  v.group = in.I32();
  in.Skip(CStatistik::kGroups * 8);
  v.reserved = in.I32();
  v.shownSlots = in.I32();
  v.offset = in.I32();
  v.firstYear = in.I32();
  for (STime& t : v.time) t = ReadTime(in);
  v.active = in.I32();
  v.zoom = in.U8();
  return v;
}

}  // namespace

int CStatistik::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  out.Header(kRecordName, kPayload);
  for (const Series& s : m_Series) WriteSeries(out, s);
  out.I32(m_Gruppe);
  for (const auto& range : kGroupRanges) {
    out.I32(range[0]);
    out.I32(range[1]);
  }
  out.I32(m_Reserved);
  out.I32(m_ShownSlots);
  out.I32(m_Offset);
  out.I32(m_FirstYear);
  for (const STime& t : m_Time) WriteTime(out, t);
  out.I32(m_Active);
  out.U8(m_Zoom);
  out.U8(m_KmOrWege);
  out.U16(0);
  // The first four bytes of the fields once more: the low half of the
  // first series' oldest value.
  uint64_t first = 0;
  std::memcpy(&first, &m_Series[0].werte[0], sizeof first);
  out.U32(static_cast<uint32_t>(first));
  return out.Ok() ? 0 : 1;
}

int CStatistik::SerializeGameLoad(FILE* file, int payloadLength) {
  ZorRecordReader in(file);
  const uint32_t size = payloadLength < 0 ? 0 : static_cast<uint32_t>(payloadLength);
  const int version = g_ZorLoadVersion;
  std::vector<Series> series(kSeries);
  ViewFields view;
  uint8_t km = m_KmOrWege;
  if (version >= 200) {
    if (size != kFieldBytes && size != kPayload) {
      QNO_ERROR1(QNO_SEV_ERROR, "CStatistik: a record of %u bytes is refused", size);
      return 1;
    }
    for (Series& s : series) ReadSeries(in, s);
    view = ReadView(in);
    km = in.U8();
    in.Skip(2);
    if (size != kFieldBytes) in.Skip(size - kFieldBytes);
  } else if (version >= 140 && version <= 199) {
    if (size < kOldPayload) {
      QNO_ERROR1(QNO_SEV_ERROR, "CStatistik: a record of %u bytes is refused", size);
      return 1;
    }
    for (Series& s : series) ReadOldSeries(in, s);
    view = ReadView(in);
    in.Skip(size - kSeries * kOldSeriesBytes - kViewBytes);
  } else if (version == 130 && size != kV130Payload) {
    if (size < kV130Series * kSeriesBytes + kViewBytes) {
      QNO_ERROR1(QNO_SEV_ERROR, "CStatistik: a record of %u bytes is refused", size);
      return 1;
    }
    for (int i = 0; i < kV130Series; ++i) ReadSeries(in, series[i]);
    view = ReadView(in);
    in.Skip(size - (kV130Series * kSeriesBytes + kViewBytes));
    for (int k = 0; k < 4; ++k) series[kSplitKm + k] = series[kSplitTrips + k] = series[kSplitShown + k];
  } else {
    return in.Skip(size) ? 0 : 1;
  }
  if (!in.Ok()) return 1;
  // Values that are no numbers, or a view outside its ranges, are a
  // damaged record: the statistics stay as they were.
  for (const Series& s : series)
    for (double v : s.werte)
      if (!std::isfinite(v)) {
        QNO_ERROR(QNO_SEV_ERROR, "CStatistik: values that are no numbers; refused");
        return 1;
      }
  if (view.group < 0 || view.group >= kGroups || (view.shownSlots != 5 && view.shownSlots != 10 &&
                                                  view.shownSlots != 30) ||
      view.offset < 0 || view.offset > kSlots - view.shownSlots) {
    QNO_ERROR(QNO_SEV_ERROR, "CStatistik: a view outside its ranges; refused");
    return 1;
  }
  for (int i = 0; i < kSeries; ++i) m_Series[i] = series[i];
  m_Gruppe = view.group;
  m_Reserved = view.reserved;
  m_ShownSlots = view.shownSlots;
  m_Offset = view.offset;
  m_FirstYear = view.firstYear;
  std::memcpy(m_Time, view.time, sizeof m_Time);
  m_Active = view.active;
  m_Zoom = view.zoom;
  m_KmOrWege = km ? 1 : 0;
  RestoreLabels(m_Language);
  return 0;
}
