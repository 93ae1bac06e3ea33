#pragma once
// Public transport: the operator of the city's buses and trams. It owns the
// bus, tram and virtual nets with their lines, the list of stops, the
// vehicle pools and the pending fleet trade, and a value table of named
// "OPNV." variables through which the windows and the game model read and
// set fares, fleet, staff, services, advertising and the accounts.
#include <cstdint>
#include <cstdio>

#include "framework/var_table.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "sim/sim_date.h"
#include "sim/sim_line_data.h"
#include "worldbase/zor_world_obj.h"

class CBuildingObject;
class CBuildingList;
class COpnvNet;
class CStrJunctionList;
class CZorvaList;

// The five kinds of vehicles, in the order of the pools and trade fields.
enum EOpnvFleetKind : int { FLEET_NORMAL = 0, FLEET_ENERGIE = 1, FLEET_H2 = 2, FLEET_LOWFLOOR = 3, FLEET_TRAM = 4, FLEET_KINDS = 5 };

class COpnv : public CWorldObj, public CSimLineDataSource {
 public:
  // Rows of the value table before "LISTENDE", and with it.
  static constexpr int kVarRows = 122;
  static constexpr int kVarTableSize = kVarRows + 1;
  // The record's length field: the name field and the whole table.
  static constexpr uint32_t kRecordLength = 11838;
  // The table's rows are 96 bytes from this savegame version on, 76 below.
  static constexpr int kWideRowVersion = 180;

  COpnv();
  ~COpnv() override;

  // The operator made last by Create() and not yet destroyed; null when none.
  static COpnv* Get();

  // Marks changed, clears the trade and pools, resets the value table to
  // its first values, counts its rows, and makes the three nets and the
  // stop list.
  int Create() override;
  using CWorldObj::Create;
  // Removes the virtual lines, deletes the stop list (not its buildings)
  // and the three nets with their lines.
  int Destroy() override;

  // Named variables: the operator's own keys first, then the table's rows.
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int SetVarData(const char* key, double value) override;
  int GetVarData(const char* key, double* value) override;
  int GetStep(const char* key, float* step) override;
  int GetVarMin(const char* key, float* min) override;
  int GetVarMax(const char* key, float* max) override;

  // The value table: the row of that name (null when absent), its value
  // (-1 when absent), and writing a value (1 when absent).
  static SVVarTypeNew* GetVar(const char* name);
  static double GetVarValue(const char* name);
  static int SetVarValue(const char* name, double value);
  // Every row back to its first value and bounds.
  static void ResetVarTable();
  // Rows counted up to "LISTENDE" at Create().
  int GetVarRowCount() const { return m_VarRows; }

  // The "Opnv" record: the bus net, the tram net, the table, the pools and
  // the counters; 0, or 1 at the first write or read that fails.
  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file, char* name) override;
  int SerializeGameLoad(FILE* file) override;

  // The demand model's route matrix is out of date after every change of
  // nets, lines and stops; the consumer that rebuilds it clears the flag.
  bool GetNewMatrix() const { return m_NewMatrix; }
  void SetNewMatrix(bool changed) { m_NewMatrix = changed; }

  // Once per change of the simulated hour: fleet, lines, staff, money,
  // balance, quality and the adviser's messages.
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  // At a change of year: this year's accounts become last year's.
  virtual int ResetYearData(STime now, STime last);
  // Every frame: the bus and tram lines put up their visible vehicles.
  virtual int OnPlayloopTurn();
  // Before a load and at shutdown: the selected stop is cleared and every
  // line removed.
  virtual int RemoveAllLineBeforeLoadExit();
  // Whether the hourly turn has not run yet or the vehicles are moving.
  bool GetTurnFlag() const { return m_TurnFlag; }

  // The street and rail networks the lines route over, handed to the nets
  // too; the world sets them whenever it makes new networks.
  void SetNetworks(CStrJunctionList* streets, CStrJunctionList* rails);
  CStrJunctionList* GetStreetNet() const { return m_pStreetNet; }
  CStrJunctionList* GetRailNet() const { return m_pRailNet; }

  // Stops: registering and removing stop buildings, their ids, the nearest
  // stop to a place, and the lines left without stops.
  virtual int AddHst(CBuildingObject* stop, NetActiveType net, bool loading);
  virtual int RemoveHst(CBuildingObject* stop);
  // The stop nearest to the rectangle of w x h cells at (x, y), strictly
  // nearer than `radius` (100 per cell), tram stops skipped when asked:
  // ids[0] its id, distances[0] its distance, found 1 (at most max). The
  // arrays of max entries are cleared first. 0 when a stop was found, else 1.
  virtual int SearchNextHst(short x, short y, short w, short h, int radius, short* ids, int* distances,
                            unsigned char* found, unsigned char max, bool skipTrams);
  virtual int CheckLinesForNoHst();
  int GetHstCount() const { return m_HstCount; }
  int GetNextLineNr() const { return m_NextLineNr; }
  int GetNextHstID() const { return m_NextHstID; }
  CBuildingObject* GetHstByID(int id);
  CBuildingObject* GetFirstHst();
  // 0 when a stop stands on that street object, 1 otherwise.
  int CheckHstForStreet(CWorldObj* street);
  bool IsLineOnSelectedHst(int number);
  // The straight distance of two stops, 50 per cell; 1000000 when either
  // is missing.
  int HstToHstAirDistance(int idA, int idB);
  // Rebuilds the virtual net's walking links between nearby stops.
  void CheckMakeVirtuellNet();
  CBuildingList* GetHstList() const { return m_pHstList; }

  // Lines: a new bus (1) or tram (2) line with the next number, null for
  // other types; removal; the walk over bus then tram lines.
  COpnvLine* CreateNewLine(int type);
  int RemoveLine(COpnvLine* line, int number);
  int RemoveLine(int number);
  void SetupLineCount();
  COpnvLine* GetNextLine();
  COpnvLine* GetLineByID(int number);
  void SetActiveLine(int number);
  COpnvLine* GetActiveLine() const { return m_pActiveLine; }
  CZorvaList* GetList(const char* name);
  COpnvNet* GetBusNet() const { return m_pBusNet; }
  COpnvNet* GetTramNet() const { return m_pTramNet; }
  COpnvNet* GetVirNet() const { return m_pVirNet; }
  CZorvaList* GetVirLineList();

  // The demand model's walk over the lines in service: the active bus
  // lines, then the active tram lines, then every virtual line.
  void SimSetupLineDataCount() override;
  LineDataType* SimGetNextLineData() override;

  // Accounts.
  // The fare of a 6 km trip with the monthly tickets' reduction, and per km.
  float CalculateAveragePriceFahrt();
  float CalculateAveragePriceKm();
  // The nets' headway weighted by length; 30 without any length.
  double CalculateFrequency();
  double GetTramNetLength();
  float GetServiceQuality() const { return m_ServiceQuality; }
  int GetSelectMark() const { return m_SelectMark; }

  // Fleet trade: 1 when nothing is pending; clears what is pending.
  int IsEinVerkauf();
  void ResetEinVerkauf();
  // Owned counts, lines and pools made consistent (first step of a turn).
  void CheckFP();
  void CalculateBuySellCostNew();
  void BuySellBus();
  void BuySellTram();
  // Pools that went negative take their deficit back from the lines.
  void CalculateFreeFp();
  void CalculateBuySellCost();
  // Buys or sells vehicles of a kind through its fleet row up to newCount.
  void KaufeVerkaufeBusTram(const char* fleetRow, EOpnvFleetKind kind, int newCount);
  // The vehicles of a kind in its free pool.
  int GetFreeFp(EOpnvFleetKind kind) const;

  // The steps of the hourly turn, callable on their own.
  void CalculateBussePersonal();
  void CalculateBusNumber();
  void CalculatePersonalNumber();
  void CalculateErhaltungskosten(double elapsed);
  void CalculatePersonalkosten(double elapsed);
  void CalculateWerbung(double elapsed);
  void CalculateIncome(double elapsed);
  void CalculateServiceKosten(double elapsed);
  void CalculateBilanz();
  void CalculateServiceQuality();

  // The table shared by the whole program, and the rows of older savegames.
  static SVVarTypeNew OPNVVars[kVarTableSize];
  static SVVarType OPNVVarsOld[kVarTableSize];

 private:
  int32_t* PendingOf(EOpnvFleetKind kind);
  int32_t* PoolOf(EOpnvFleetKind kind);
  double EstimatedIncome();
  // A row's value; a scratch value for a name the table does not hold.
  static double& Val(const char* name);
  // What the operator asks of its nets and lines.
  // A net's named value: its answer, 1 without the net (value 0).
  static int NetVar(COpnvNet* net, const char* key, double* value);
  // Makes the three nets and the stop list; destroys and deletes them with
  // their lines; hands the networks to the nets.
  void MakeNets();
  void DestroyNets();
  void PassNetworks();
  // The bus lines check their streets, the tram lines their rails.
  void CheckLineRoutes();
  // Adds the vehicles each bus and tram line holds, by kind.
  void LineFleet(int32_t held[FLEET_KINDS]);
  // The lines, bus net first, give up vehicles until the deficits are met.
  void LinesGiveUp(int32_t deficit[FLEET_KINDS]);
  // One vehicle between the pools and the active line (to it when
  // `toLine`); false without an active line.
  bool MoveVehicle(bool toLine);
  bool ActiveLineIsTram() const;
  // The bus net's prioritised crossings over its crossings with lights.
  double CrossingShare();
  // The bus (1) or tram (2) net bound to its window.
  void BindNetWindow(int which);
  // Sets the show marks: bus and tram nets, and the virtual net with `all`.
  void ShowNets(bool all);
  // Shows the bus or tram line of that number in the line window.
  void ShowLine(bool bus, int number);
  int StoreNet(COpnvNet* net, FILE* file);
  int LoadNet(COpnvNet* net, FILE* file);

  bool m_NewMatrix = true;
  int32_t m_LineWalkState = 1;
  CBuildingList* m_pHstList = nullptr;
  COpnvNet* m_pBusNet = nullptr;
  COpnvNet* m_pTramNet = nullptr;
  COpnvNet* m_pVirNet = nullptr;
  // Pending trade.
  int32_t m_BuySellNormal = 0;
  int32_t m_BuySellH2 = 0;
  int32_t m_BuySellEnergie = 0;
  int32_t m_BuySellLowFloor = 0;
  int32_t m_BusBuyCost = 0;
  int32_t m_BusSellIncome = 0;
  int32_t m_BusTotal = 0;
  int32_t m_TramTotal = 0;
  int32_t m_BuySellTram = 0;
  int16_t m_NextLineNr = 1;
  int16_t m_NextHstID = 1;
  int32_t m_HstCount = 0;
  // Vehicles owned but serving no line.
  int32_t m_FreeNormal = 0;
  int32_t m_FreeEnergie = 0;
  int32_t m_FreeH2 = 0;
  int32_t m_FreeLowFloor = 0;
  int32_t m_FreeTram = 0;
  COpnvLine* m_pActiveLine = nullptr;
  bool m_TurnFlag = true;
  // Set while every line is being removed: the line windows and the staff
  // are brought up to date once at the end instead of after each line.
  bool m_RemovingAll = false;
  bool m_ShowAll = false;
  int32_t m_VarRows = 0;
  float m_ServiceQuality = 0.0f;
  int16_t m_VirLineCount = 0;
  int32_t m_SelectMark = 1;
  CStrJunctionList* m_pStreetNet = nullptr;
  CStrJunctionList* m_pRailNet = nullptr;
};
