#pragma once
// The city's statistics: 79 time series (population, traffic, cars,
// public transport, modal split, users of the measures, indicators,
// finances) with the last 30 recordings, recorded every fourth hour and
// drawn as line charts one group at a time, with paging and zoom.
#include <cstddef>
#include <cstdint>

#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CDataExchange;
class COpnv;
class QnoDisplay;
class QnoResourceManager;

class CStatistik : public CWorldObj {
 public:
  static constexpr int kSeries = 79;
  static constexpr int kSlots = 30;
  static constexpr int kGroups = 7;
  static constexpr int kNameSize = 60;
  // The record's payload: the fields up to the two flags, then the first
  // four bytes of the fields once more.
  static constexpr uint32_t kFieldBytes = 32164;
  static constexpr uint32_t kPayload = kFieldBytes + 4;

  struct Series {
    double werte[kSlots] = {};
    double scale = 0;
    uint16_t pixel = 0;
    uint8_t spare = 0;
    char name[kNameSize] = {};
    char unit[kNameSize] = {};
    uint8_t shown = 0;
    int32_t kept = 0;
    double min = 0, max = 0;
  };
  struct Text {
    const char* name;
    const char* unit;
  };
  // German and English labels and the colour, 0xBBGGRR.
  struct Label {
    Text de, en;
    uint32_t colour;
  };

  CStatistik();

  // The data exchange that every value is read through, and the owner's
  // pointer to public transport (for its average fare per kilometre),
  // which follows public transport when it is made again; either may be
  // null.
  void Attach(CDataExchange* exchange, COpnv* const* opnv) {
    m_pExchange = exchange;
    m_ppOpnv = opnv;
  }

  // Shifts every series and records the newest values; every fourth hour.
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  // Records the finances into the newest slot; every fourth hour, after
  // any yearly accounts.
  virtual int UpdateWerte_Finanzen(STime now);
  // Shifts the series and the times once without recording values.
  void NewYear(STime now);

  // The chart of the current group in the rectangle; the font comes from
  // the resources.
  void RenderStatistik(QnoDisplay* display, QnoResourceManager* resources, int x, int y, int w, int h);

  // Series i shown or not; 79 switches the modal split between kilometres
  // and trips.
  void Toggle(int i);
  void ChangeGruppe(int g);
  void GruppeAlleAn();
  void GruppeAlleAus();
  void CalculateActiveWerte();
  void YearPlus();
  void YearMinus();
  void YearMax(int n);
  void ZoomIn() { m_Zoom = 1; }
  void ZoomOut() { m_Zoom = 0; }
  void SetKmOrWege(bool km);
  // Every series' values and the times become those of the newest visible
  // recording; the view starts again.
  void SetAllDataOnNewest();
  // The names and units of the language (0 German, 1 English).
  void ChangeLanguage(int language);
  // A value as the chart prints it beside its newest point: whole numbers
  // with thousands separators from 100 on (and from -100 down), else three
  // decimals with the language's decimal separator (a comma in German, a
  // point in English, where the comma separates thousands).
  static void FormatValue(double v, char* text, size_t size, int language);

  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file) override;
  using CWorldObj::SerializeGameLoad;
  virtual int SerializeGameLoad(FILE* file, int payloadLength);

  const Series& GetSeries(int i) const { return m_Series[i]; }
  const STime& GetTime(int slot) const { return m_Time[slot]; }
  int GetGruppe() const { return m_Gruppe; }
  int GetOffset() const { return m_Offset; }
  int GetShownSlots() const { return m_ShownSlots; }
  int GetActive() const { return m_Active; }
  bool IsZoom() const { return m_Zoom != 0; }
  bool IsKm() const { return m_KmOrWege != 0; }
  // The first and last series of a group.
  static int GroupFirst(int g);
  static int GroupLast(int g);

  static const Label kLabels[kSeries];

  // The four shares (car, park-and-ride, public transport, walking) in
  // percent, by kilometres or by trips; left as they are without trips.
  void ModalSplit(bool km, double shares[4]);

 private:
  double Dx(const char* name);
  void Record(int series, double value) { m_Series[series].werte[kSlots - 1] = value; }
  void Shift(STime now);
  void UpdateWerte_Verkehr();
  bool HasParkRide();
  void RestoreLabels(int language);
  // The visible recordings, first and last.
  int FirstVisible() const;
  int LastVisible() const { return kSlots - 1 - m_Offset; }

  CDataExchange* m_pExchange = nullptr;
  COpnv* const* m_ppOpnv = nullptr;
  Series m_Series[kSeries];
  int32_t m_Gruppe = 0;
  int32_t m_Reserved = 0;
  int32_t m_ShownSlots = 10;
  int32_t m_Offset = 0;
  int32_t m_FirstYear = 1999;
  STime m_Time[kSlots] = {};
  int32_t m_Active = 0;
  uint8_t m_Zoom = 0;
  uint8_t m_KmOrWege = 1;
  // The language of the labels: 0 German, 1 English.
  int m_Language = 0;
};
