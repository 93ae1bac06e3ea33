#pragma once
// The indicators: thirteen partial ratings of the city in three groups
// (efficiency, quality of life, travel), their means, the environment
// quality, a smoothed score and the growth factor that drives the city's
// growth; three maps of the grid (noise, emissions, living quality); the
// three indicator bars on screen; and the advisers' standing and indicator
// messages.
#include <cstdint>
#include <vector>

#include "framework/var_table.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CDataExchange;
class CMessage;
class QnoDisplay;

class CIndikatoren : public CWorldObj {
 public:
  static constexpr int kGrid = 128;
  // Rows of the table before "LISTENDE".
  static constexpr int kRows = 23;
  // The thirteen partial indicators are rows 0..12.
  static constexpr int kPartials = 13;
  static constexpr int kMinMaxRows = 22;
  static constexpr uint32_t kPayloadBase = 49692;
  static constexpr uint32_t kPayloadOld = kPayloadBase + 22 * 76;

  CIndikatoren();

  // The message system whose adviser slots the messages fill, and the data
  // exchange through which the indicators read the game's values, the map,
  // the networks and the city; either may be null, and both stay their
  // owner's.
  void Attach(CMessage* message, CDataExchange* exchange) {
    m_pMessage = message;
    m_pExchange = exchange;
  }

  // The hourly computation of every indicator and, by the hour, the start
  // of one map; nothing while the manual flag is set.
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  // The standing messages, then one indicator message per adviser slot
  // for ratings below 0.4; every third hour.
  virtual int CheckForMessages();
  // Sets adviser slots 0-3 to the standing messages of group 21 by the
  // efficiency, quality, travel and growth indicators and the people.
  virtual int SetStandardMessage();
  // Recomputes the three maps at once.
  virtual int UpdateMaps();
  // Goes on with the map the hourly computation started, `rows` rows of
  // the grid a call; the map shows the new values once it is whole, and
  // they are those a whole pass gives. 1 while rows are left.
  static constexpr int kMapRowsPerTurn = 16;
  int ContinueMap(int rows = kMapRowsPerTurn);
  bool MapPending() const { return m_MapJob != kNoMapJob; }
  // The three indicator bars beside the small map.
  using CWorldObj::Render;
  virtual int Render(QnoDisplay* display);

  // Named values: 0 found, 1 not. "I.GROWTH_MORE" reads the growth factor
  // stretched three times around 0.5 and is not stored.
  int GetVarData(const char* name, double* value) override;
  int SetVarData(const char* name, double value) override;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int GetStep(const char* name, float* step) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;
  SVVarType* GetVar(const char* name);
  // The value, or -1 for an unknown name.
  virtual double GetVarValue(const char* name);
  // 0, or 1 for an unknown name.
  int SetVarValue(const char* name, double value);

  // The partial indicator i (0..12); 0 for any other i.
  double GetIndikatorWert(int i) const;
  // The yearly growth rate the indicators give the city.
  double GetGrowth();
  // The living quality (0-255, 255 no value) of a cell; 0 off the map.
  int GetWohnqualitaetMapXY(int x, int y) const;
  const uint8_t* GetLaermMap() const { return m_Noise; }
  const uint8_t* GetEmmissionsMap() const { return m_Emission; }
  const uint8_t* GetWohnqualitaetMap() const { return m_Living; }
  // While the indicators are set by hand: adds d to every row, each kept
  // within 0..1.
  void ChangeIndikatoren(float d);
  void SwitchManuell() { m_Manuell = m_Manuell ? 0 : 1; }
  bool IsManuell() const { return m_Manuell != 0; }
  void NewYear() { m_JamSum = 0; }
  // The anchors (minimum, maximum, offset) of an indicator's rating.
  float* MinMax(int row) { return m_MinMax[1][row]; }

  int SerializeGameStore(FILE* file, char* name) override;
  // Reads a record of the given payload size; 1, with a log line and the
  // indicators as they were, for a short read or a record of another size,
  // row count or rows.
  using CWorldObj::SerializeGameLoad;
  virtual int SerializeGameLoad(FILE* file, int payloadLength);

 private:
  // The steps of the hourly computation.
  void CalcReachTimes();
  void CalcKomfort();
  void CalcSecurity();
  void CalcKmPerPerson(int people);
  void CalcTimePerKm();
  void CalcTrafficJam();
  void CalcNoise();
  double Growth(double eqm, int people);
  // One rating: 1 - the position of x between the row's anchors, plus the
  // row's offset, within 0..1.
  double Rate(int row, double x) const;
  double Offset(int row) const { return m_MinMax[1][row][2]; }
  double Row(int row) const { return m_Rows[row].value; }
  void Store(int row, double value);
  double Dx(const char* name);

  enum MapJob { kNoMapJob, kNoiseJob, kEmissionJob, kLivingJob };
  // A map is made in three steps: the start takes what the whole map
  // needs, the rows spread each cell's sources, the end shows the map.
  void StartMap(MapJob job);
  void MapRows(int y0, int y1);
  void FinishMap();
  void UpdateMap(MapJob job);

  CMessage* m_pMessage = nullptr;
  CDataExchange* m_pExchange = nullptr;
  SVVarType m_Rows[kRows + 1];
  float m_MinMax[2][kMinMaxRows][3];
  uint8_t m_Manuell = 0;
  int32_t m_RowCount = kRows;
  int32_t m_JamSum = 0;
  int32_t m_JamLength = 0;
  uint8_t m_Noise[kGrid * kGrid];
  uint8_t m_Emission[kGrid * kGrid];
  uint8_t m_Living[kGrid * kGrid];
  // The map being made: its kind, the next row, the factor of its streets
  // and its sums.
  MapJob m_MapJob = kNoMapJob;
  int m_MapRow = 0;
  double m_MapFactor = 0.0;
  std::vector<int32_t> m_MapSum;
};
