#pragma once
// A public-transport line: a bus line over the street network, a tram line
// over the rail network, or a virtual walking link between two stops. The
// line routes itself from stop to stop and back, derives its length, travel
// times, yearly cost and the vehicles its headway needs, holds the vehicles
// assigned to it, puts up to five visible vehicles on the map and keeps the
// hourly passenger counts that the demand model writes into its record.
#include <cstdint>
#include <cstdio>

#include "measures/opnv_net.h"
#include "sim/sim_line_data.h"
#include "worldbase/zor_world_obj.h"

class CZorvaList;
class CStrJunction;
class CStreetObj;
class CStrJunctionList;
class CStrStrasse;
class CSecondLayerObject;
class CMicroOpnv;
class CMicroZellenGroup;
struct BinaryMicroSimObject;
class CBuildingObject;
class ZorRecordReader;

class COpnvLine : public CWorldObj {
 public:
  static constexpr int kMaxStreets = LineDataType::kMaxStreets;  // street entries both ways
  static constexpr int kMaxHst = LineDataType::kMaxStopEntries;        // stop entries both ways
  static constexpr int kVehicleSlots = 5;
  // Savegames up to this version hold the older, smaller line record.
  static constexpr int kOldRecordVersion = 220;
  static constexpr int kNewHeadway = 30;
  // The change time that makes the next service check run at once.
  static constexpr uint32_t kChangeNow = 0xFFFFFFFFu;
  static constexpr uint32_t kCheckDelay = 60000;  // ms between service checks
  static constexpr uint32_t kVehicleGap = 15000;  // ms between two vehicles put up
  static constexpr uint32_t kVehicleRetry = 8000;
  // ms a visible vehicle may stand out of the map's view before it is
  // taken off, so that its slot puts one up where the view shows the line.
  static constexpr uint32_t kOutOfViewTime = 10000;
  // Line n is drawn in colour n mod 15 (r, g, b).
  static constexpr unsigned char sl_LineColor[15][3] = {
      {128, 255, 128}, {39, 108, 247}, {255, 180, 180}, {107, 131, 180}, {0, 255, 200},
      {255, 60, 60},   {0, 255, 255},  {255, 255, 0},   {127, 165, 243}, {0, 255, 0},
      {120, 255, 0},   {255, 0, 0},    {255, 120, 120}, {0, 255, 170},   {255, 120, 0}};

  explicit COpnvLine(NetActiveType type);
  ~COpnvLine() override;
  COpnvLine(const COpnvLine&) = delete;
  COpnvLine& operator=(const COpnvLine&) = delete;

  using CWorldObj::Create;
  // Number, network and type; length 0; a stop list unless virtual.
  virtual int Create(int number, CStrJunctionList* network, NetActiveType type);
  // A virtual link between stops a and b.
  virtual int CreateVirtuell(CSecondLayerObject* a, CSecondLayerObject* b);
  int Destroy() override;

  // ---- the record: stored unchanged; loading re-finds its stops
  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file, char* name) override;
  int SerializeGameLoad(FILE* file) override;
  // The record read (6012 bytes, or the older 3092-byte form): stops are
  // looked up by id, missing ones dropped and the route rebuilt; 1 when cut
  // short or its counts do not fit the record.
  int LoadRecord(ZorRecordReader& in, int version);

  // ---- named variables ("OPNV.LINE.*")
  int SetVarData(const char* name, double value) override;
  int GetVarData(const char* name, double* value) override;
  int GetStep(const char* name, float* step) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;

  // ---- accessors
  int GetID() const { return m_Data.lineNumber; }
  NetActiveType GetNetType() const { return static_cast<NetActiveType>(m_Data.netType); }
  bool IsActive() const { return m_Data.active != 0; }
  LineDataType* GetData() { return &m_Data; }
  const LineDataType* GetData() const { return &m_Data; }
  CStrJunctionList* GetNetwork() const { return m_pNetwork; }
  // The stop ids and the stop street ids one way.
  void GetHstList(const short** ids, int* count) const;
  void GetHstStreetList(const short** ids, int* count) const;
  // The street ids one way.
  void GetStreetList(const short** ids, int* count) const;
  // The stop list (any name).
  CZorvaList* GetList(const char* name);
  void GetColor(unsigned char& r, unsigned char& g, unsigned char& b) const {
    const int n = ((GetID() % 15) + 15) % 15;
    r = sl_LineColor[n][0];
    g = sl_LineColor[n][1];
    b = sl_LineColor[n][2];
  }
  CSecondLayerObject* GetFirstHst() const;
  CSecondLayerObject* GetLastHst() const;
  // Tile position and size of the first stop; all -1 without stops.
  void GetXYPos(int& x, int& y, int& xs, int& ys) const;
  // Non-zero when the line has stops.
  int NoHst() const { return m_Data.stopsOneWay != 0 ? 1 : 0; }
  // The two stop ids of a line of exactly two stops one way: 0; else 1.
  int GetVirtuellHstID(short& a, short& b) const;
  // Walks the one-way street list: each call answers the next street id
  // and its street; 0 at the end.
  void SetupStreetCount();
  short GetNextStreet(CStrStrasse** street);
  // Active flags by entry (1 when out of range) and by stop id (every
  // entry of that stop).
  void SetHstActiveByNr(int i, bool on);
  int GetHstActiveByNr(int i) const;
  void SetHstActiveByID(int id, bool on);
  int GetHstActiveByID(int id) const;
  uint32_t GetBuildTime() const { return m_BuildTime; }
  uint32_t GetChangeTime() const { return m_ChangeTime; }
  // The last service check found the line short of vehicles: the line
  // lists show it until a check finds the fleet whole again.
  bool HasShortageNotice() const { return m_ShortageTime != kChangeNow; }
  // When the last adviser message about this line was accepted; all bits
  // set while it has had none. The line events leave a line alone for a
  // minute after its message.
  uint32_t GetMessageTime() const { return m_MessageTime; }
  void SetMessageTime(uint32_t now) { m_MessageTime = now; }
  // The junctions used in place of a stop street's missing end junctions.
  void SetSpareJunctions(CStrJunction* a, CStrJunction* b) {
    m_pSpare[0] = a;
    m_pSpare[1] = b;
  }

  // ---- fleet
  void GetFp(int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram) const;
  void AddFp(int normal, int electric, int hydrogen, int lowfloor, int tram);
  // Moves up to count vehicles from the pools into the line; count falls
  // by the vehicles moved.
  void AddFp(int& count, int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram);
  // Moves up to count vehicles from the line back into the pools; 1 when
  // count is left, else 0.
  int SubFp(int& count, int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram);
  // Gives up, per kind, up to the deficit and lowers the deficit by it.
  void SubFp(int& normal, int& electric, int& hydrogen, int& lowfloor, int& tram);
  // Vehicles assigned: the bus kinds summed for a bus line, else the trams.
  int GetFpAssigned() const;

  // ---- the player's tools: 0 when done, 1 when refused
  int ToolAddHstTail(CSecondLayerObject* stop, short streetId);
  int ToolAddHstHead(CSecondLayerObject* stop, short streetId);
  int ToolRemoveHst(CSecondLayerObject* stop, short streetId);

  // ---- route, times and fleet
  int MakeStreetListFromHst();
  int MakeReturnWay();
  // 0 when consecutive streets share a junction and none repeats; 1 when
  // the list is broken.
  int CheckStreetList();
  // Travel time in seconds and distance between stop entries i and j.
  int CalculateTimeFromHstToHst(int i, int j, int* time, int* distance);
  int CalculateFuhrPark();
  float GetTaktKilometer() const;
  float GetUserQuote() const;
  int GetPassengers() const;
  // The service check of the hourly turn.
  int CheckForKfz(uint32_t now);
  // After a change of the networks and every hourly turn.
  int CheckForStreetChange();
  void CrossingOpnvPriorisierung(int& total, int& prioritised);

  // ---- visible vehicles
  // Puts up vehicles for the frame; 0.
  int OnPlayloopTurn();
  using CWorldObj::OnPlayloopTurn;
  // The wanted number of visible vehicles for the vehicles needed.
  static int WantedVehicles(int needed);
  int GetVehicleCount() const { return m_VehicleCount; }
  CMicroOpnv* GetVehicle(int i) const { return i >= 0 && i < kVehicleSlots ? m_Slot[i].vehicle : nullptr; }
  int CreateNewVehicle(int type, int slot);
  void RemoveVehicles();
  // Takes off the vehicles that stood out of the map's view for
  // kOutOfViewTime ms up to `now`.
  void TakeOffVehiclesOutOfView(uint32_t now);
  CStrStrasse* GetNextMicroStreet(int i, bool& against, bool& turn, bool atStop);
  CStrStrasse* GetAktualMicroStreet(int i, bool& against);
  // The street after the one the vehicle of slot i stands on (simId, the
  // sim id of its cell; 0 when not known), along the route and back. The
  // slot's street index follows the vehicle, so a branch asked twice gets
  // the same answer.
  CStrStrasse* GetNextMicroStreetFrom(int i, int simId, bool& against);
  bool IsIsoPosHst(int i, int x, int y);
  int GetNextMicroHstID(int i, int& n);
  int GetOverNextMicroHstID(int i, int& n);
  void IncrementNextMicroHst(int i);
  void VehicleDestroyed(int i);
  void SetupMicroStreetCount(int i, int direction);
  // The slot of a vehicle of this line; -1 when it holds none.
  int SlotOf(const CMicroOpnv* vehicle) const;

 private:
  struct VehicleSlot {
    CMicroOpnv* vehicle = nullptr;
    int street = 0;   // index into the doubled street list
    int nextHst = 1;  // index into the doubled stop entries
    int reverse = 0;
    // Whether the vehicle stands out of the map's view, and since when.
    bool outOfView = false;
    uint32_t outOfViewSince = 0;
  };
  // A cell in view where the route runs: its street's group, the tile,
  // the street entry and the tile's place along the street in driving order.
  struct RouteCell {
    CMicroZellenGroup* group = nullptr;
    BinaryMicroSimObject* cell = nullptr;
    unsigned short x = 0, y = 0;
    int street = 0;
    int along = 0;
  };

  // Tells the operator that the demand model's route matrix is out of date.
  static void Changed();
  // The stop with that id among the operator's stops; null when none.
  static CSecondLayerObject* FindHst(int id);
  // Whether there is an operator whose stops FindHst looks in.
  static bool CanFindHst();
  // The adviser's message `number` (2 short of vehicles, 3 stopped) about
  // the line, pointing at its first stop.
  // Raises service message 0/number; 0 when the message system accepted it.
  static int MessageLineService(int number, int line, int x, int y, int xs, int ys);
  // The stop's side: the line registers at a stop and leaves it; the street
  // under a stop and a stop's distance from a junction along it.
  void AttachToHst(CSecondLayerObject* stop);
  void DetachFromHst(CSecondLayerObject* stop);
  void DetachFromEveryHst();
  static CStreetObj* StreetUnderHst(CSecondLayerObject* stop, int* x, int* y);
  static int HstLengthFromJunction(CSecondLayerObject* stop, CStrJunction* junction, short simId);
  // The distance of a stop from an end junction of its street; 0 unknown.
  static int FromJunction(CSecondLayerObject* stop, CStrStrasse* street, CStrJunction* junction);
  int AddHst(CSecondLayerObject* stop, short streetId, bool head);
  // The stop's street and its end junctions; 1 when the stop has none.
  int GetJuncFromHst(CSecondLayerObject* stop, CStrStrasse** street, CStrJunction** start, CStrJunction** end);
  // The length of a way between stops a and b, -1 when refused.
  int CalculateLength(CSecondLayerObject* a, CStrJunction* leave, CSecondLayerObject* b, CStrJunction* arrive,
                      const short* way, int count, CStrStrasse* aStreet, CStrStrasse* bStreet);
  int AppendStreet(short id);
  int CalculateTimeLaengeByStreetList(int first, int last, CSecondLayerObject* a, CSecondLayerObject* b,
                                      int* time, int* distance);
  void ClearSlot(int i);
  bool GetIsoPosFirstHst(int& x, int& y) const;
  // The first cell in view along the route, walked from the start of the
  // way out (even slots) or of the way back (odd slots); false when the
  // view shows none of it.
  bool RouteCellInView(int slot, RouteCell& out) const;
  // The stop entry a vehicle that stands at `along` on street entry
  // `street` reaches next.
  int NextHstAfter(int street, int along) const;
  void RemoveHstEntry(int index);
  // The stop of stop entry i.
  CSecondLayerObject* Hst(int i) const { return static_cast<CSecondLayerObject*>(m_Data.stopObjects[i]); }

  LineDataType m_Data{};
  // Set by a rebuild whose route would not fit the record.
  bool m_RouteFull = false;
  CZorvaList* m_pHstList = nullptr;
  CStrJunctionList* m_pNetwork = nullptr;
  uint32_t m_BuildTime = 0;
  uint32_t m_ChangeTime = 0;
  uint32_t m_ShortageTime = kChangeNow;
  uint32_t m_MessageTime = kChangeNow;
  CStrJunction* m_pSpare[2] = {};
  VehicleSlot m_Slot[kVehicleSlots];
  int m_VehicleCount = 0;
  // The last vehicle put up (or tried) and the wait after it (ms).
  uint32_t m_VehicleTime = 0, m_VehicleWait = 0;
  uint32_t m_CheckCounter = 0;
  int m_StreetCursor = 0;
};
