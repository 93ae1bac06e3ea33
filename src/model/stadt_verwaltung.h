#pragma once
// The city council: five taxes, purchase and teleworking subsidies, five
// research programmes of three levels, the upkeep of streets, lights and
// rails, the speed limit in town, and the car fleet's adoption of
// microcars, hydrogen and electric cars, teleworking and giving up the
// car. Its variables begin with "SV.".
#include "framework/var_table.h"
#include "measures/building_object.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CDataExchange;
class CFinanzen;
class CSecondLayerObject;

class CStadtVerwaltung : public CWorldObj {
 public:
  static constexpr int kRows = 40;
  static constexpr int kAreas = 5;
  static constexpr int kLevels = 3;
  static constexpr int kFields = 7;
  // Fields of a research level.
  enum { kDone = 0, kNeeded, kActive, kToPay, kTotal, kEffect, kPicture };

  CStadtVerwaltung();

  using CWorldObj::Create;
  virtual int Create(CFinanzen* finanzen);
  int Destroy() override;
  // The data exchange whose values, counts and bookings the council uses;
  // it stays its owner's.
  void Attach(CDataExchange* exchange) { m_pExchange = exchange; }

  virtual int AddSpeedControl(CSecondLayerObject* control);
  virtual int RemoveSpeedControl(CSecondLayerObject* control);
  CZorvaList* GetList(const char* name);

  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);

  int GetVarData(const char* name, double* value) override;
  int SetVarData(const char* name, double value) override;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int GetStep(const char* name, float* step) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;
  SVVarTypeNew* GetVar(const char* name);
  double GetVarValue(const char* name);
  int SetVarValue(const char* name, double value);

  // Puts the town's speed limit (50 or 30 km/h; any other value lifts it)
  // over every street; a raised limit gives back the speeds a lower took.
  void TownSetMaxSpeed(int newSpeed, int oldSpeed);
  // The five subsidies' expense rows; 0.
  int CalculateSubKosten();
  // The arms of the junctions with lights.
  int GetAmpel();
  // 0 with the area, level and field of a research name.
  static int GetForschung(const char* name, int* area, int* level, int* field);
  double Forschung(int area, int level, int field) const { return m_Research[area][level][field]; }

  int SerializeGameStore(FILE* file, char* name) override;
  int SerializeGameLoad(FILE* file) override;

 private:
  double Row(const char* name) { return GetVarValue(name); }
  void Add(const char* name, double amount);
  double Dx(const char* name);
  void Book(const char* name, double amount);
  void Research(double dt);
  // 1, with its warning, when the level may not start or stop.
  int SetResearchActive(int area, int level, double value);
  // One family of the fleet's adoption: the count moves toward its target,
  // bought cases paid by the subsidy row's rate.
  struct Adoption {
    int current;
    double target;
    double shrink;  // the part of the gap given up per year
    double divisor[2];  // (1 - s) x [0] + [1]
    bool perYearTest;   // buy when n x dt >= 1, else when n > 1
    double subsidyPerCase;
    const char* rate;
    double rateScale;  // s = rate / rateScale
  };
  int Adopt(const Adoption& a, double dt, const char* prefix);

  CDataExchange* m_pExchange = nullptr;
  CFinanzen* m_pFinanzen = nullptr;
  CBuildingList m_SpeedControls{1};
  int m_RowCount = kRows;
  SVVarTypeNew m_Rows[kRows + 1];
  double m_Research[kAreas][kLevels][kFields];
};
