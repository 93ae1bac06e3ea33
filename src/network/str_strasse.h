#pragma once
// A street: one edge of the street graph, an owning list of straight pieces
// from its start junction to its end junction with right-angle bends
// between them. It keeps what makes it visible and simulated: its world
// object on the map, its two demand-simulation ids (forward start to end,
// backward end to start), flows, capacities and speeds per direction, and
// the micro cells of its tiles.
#include <cstdint>
#include <cstdio>

#include "framework/zor_block_pool.h"
#include "framework/zor_list.h"
#include "microsim/micro_cells.h"
#include "network/str_strassen_teil.h"
#include "worldbase/street_type.h"
#include "worldbase/zor_types.h"

class CIsoWelt;
class CSimWelt;
class CStrJunction;
class CStrJunctionList;
class CStreetObj;
class CWorldObj;
class CMicroZellenGroup;
class CQnoMicroZelle;
struct BinaryMicroSimObject;
class CStrExtTlList;
class CGrdCrossing;
class CBuildingParkingObject;
class CAmpel;
struct BinaryMicroSimObject;
class QnoDisplay;

// trunc(v) as an int, for |v| well inside int's range; the evaluation of
// counted cars converts its extended-precision results with it.
int32_t StrTruncToInt(long double v);
// A direction's rate in per mille: trunc(|surplus| x 1000 / n) as the
// extended-precision division over the surplus as a float gives it; n > 0.
int32_t StrRatePerMille(int32_t surplus, int32_t n);

class CStrStrasse : public CList {
 public:
  ZOR_POOLED
  static constexpr int kRecordSize = 138;
  static constexpr int kHours = 24;
  // The stop line drawn with a light at the street's end beside a junction
  // (a wider one for four-lane streets).
  static constexpr int kAmpelStopResID = 21308;
  static constexpr int kAmpelStopWideResID = 26515;

  CStrStrasse(CIsoWelt* iso, CSimWelt* sim);
  CStrStrasse(const CStrStrasse&) = delete;
  CStrStrasse& operator=(const CStrStrasse&) = delete;
  ~CStrStrasse() override;

  using CList::Create;
  int Destroy() override;
  int SerializeGameLoad(FILE* file) override;
  int SerializeGameStore(FILE* file) override;

  // A street from start to end with one piece between their tiles; the
  // junctions are not told.
  virtual int Create(CStrJunction* start, CStrJunction* end, CStrassenType type);
  // An empty street with the other's type, flows, bus lane and speeds.
  virtual int Create(CStrStrasse* other);
  // Makes the world object and binds it; type 1.
  virtual int Create();
  virtual int InsertIntoIsoWelt();
  virtual int RemoveFromIsoWelt(bool unused);
  virtual int InsertIntoSimWelt();
  virtual int RemoveFromSimWelt();
  virtual int CreateMicroZelle();
  virtual CQnoMicroZelle* GetLastMicroZelle();
  virtual int GetLastIsoPos(short* x, short* y);
  virtual int GetFirstIsoPos(short* x, short* y);
  virtual int GetStreetDirectionAt(unsigned short x, unsigned short y, signed char& dx, signed char& dy);
  virtual int SplitAt(CStrStrassenTeil* piece, short x, short y, CStrStrasse** first, CStrStrasse** second);
  virtual bool PointIsTwoBeforeRailCrossing(short x, short y);
  virtual bool PointIsSpaceForRailCrossing(short x, short y);
  virtual bool PointBeforEndStueckDAndStreetLong(short x, short y, bool checkLong);
  virtual bool PointBeforEndStueckSchienenAndRailLong(short x, short y, bool checkLong);
  virtual bool PointIsBendOuterPoint(short x, short y);
  virtual bool PointIsTwoBeforBend(short x, short y);
  virtual bool PointIsOnBendBeforBend(short x, short y);
  virtual bool PointIsBeforBend(short x, short y);
  virtual bool PointBeforJunction(short x, short y, bool& deadEnd);
  virtual bool PointTwoBeforJunction(short x, short y);
  virtual bool PointIsBend(short x, short y);
  virtual bool PointIsBeforeRailCrossing(short x, short y);
  virtual bool PointIsRailCrossing(short x, short y);
  virtual bool PointIsBendOverSize(short x, short y);
  virtual double GetVelocity();
  virtual CStrStrassenTeil* CreateNewStrassenTeil(CStrStrassenTeil* old);
  virtual CStrStrassenTeil* CreateNewStrassenTeil();
  virtual int CreateSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece, CIsoRichtung direction);
  virtual int CalcStartAndEndPos(CStrStrassenTeil* piece, short& sx, short& sy, short& ex, short& ey,
                                 signed char& mx, signed char& my, CIsoRichtung& direction);
  virtual int FixeGroupOffset(CStrJunction* junction, short& x, short& y, signed char mx, signed char my);
  virtual int InsertKurveBetween(CStrStrassenTeil* a, CStrStrassenTeil* b);

  // ---- geometry
  short GetStartPosX();
  short GetStartPosY();
  short GetEndPosX();
  short GetEndPosY();
  CStrStrassenTeil* GetStrassenTeil(int n);
  CStrStrassenTeil* FindStrassenTeilAt(short x, short y);
  bool PointHit(short x, short y);
  bool PointHit(short x, short y, CStrStrasse** street, CStrStrassenTeil** piece);
  CStrStrassenTeil* GetStrassenTeilAt(short x, short y);
  // Direction of the piece passing (x, y) as 0 = +x, 1 = -y, 2 = -x, 3 = +y.
  int GetRichtung(int x, int y, unsigned char& found, int& firstDir, bool& bend);
  int GetKurvenRichtung(CIsoRichtung* r, CStrStrassenTeil* a, CStrStrassenTeil* b);
  bool JunctionHitStreet(CStrJunction* junction, CStrStrassenTeil** piece, short& x, short& y);
  bool StrHitStr(CStrStrasse* other, CStrStrasse** street, CStrStrassenTeil** piece, short& x, short& y,
                 int skip);
  int SetupStrassenTeilCount(short simId);
  CStrStrassenTeil* GetNextStrassenTeil(int* x1, int* y1, int* x2, int* y2, short simId);
  int CalculateLengthFromJunctionToXYIso(CStrJunction* junction, short simId, int x, int y, int* length);
  int CalcSimDirection(bool atStart);
  int CalcMAtPos(CStrJunction* junction, short* dx, short* dy);
  void CalcMAtHead(short* dx, short* dy);
  void CalcMAtTail(short* dx, short* dy);
  int CalcLaenge();
  bool IsSameGroup(short x1, short y1, short x2, short y2);
  bool PointIsHst(short x, short y);
  bool PointIsBeforeHst(short x, short y);

  // ---- junctions and the graph
  CStrJunction* GetStartJunction() const { return m_pStartJunction; }
  CStrJunction* GetEndJunction() const { return m_pEndJunction; }
  int Relink(CStrJunction* start, CStrJunction* end);
  int SetJunctions(CStrJunction* start, CStrJunction* end);
  int SetEndJunction(CStrJunction* end);
  int Turn();
  int LinkStreet(CStrStrasse* other, CStrJunction* bend);
  int ConnetWith(CStrStrasse* other, CStrJunction* junction);
  int Optimize();
  int DeleteStreet(CStrJunctionList* list);
  // Whether the joins this street's deletion makes at its ends, one after
  // the other, join streets that may be one, and leave every junction of
  // three or four streets a graphic for its arms with the types they take.
  bool DeletionJoinsSoundly() const;
  // Whether deleting the street would leave a street from a junction back
  // to it with nothing else at that junction, once the ends left with two
  // streets have joined them: a ring whose junction has no graphic and no
  // cells to carry its lanes round.
  bool DeletionLeavesLoneRing() const;

  // ---- attributes
  CStrassenType GetStreetType() const { return m_Type; }
  int SetType(CStrassenType type);
  int SetCapacity(short capacity);
  // The capacity of the street's type.
  short DefaultCapacity() const;
  // Reads the speed of both directions from the demand model, so that the
  // street takes it back, with its own capacity (SetCapacity), when it
  // registers again (after a split, a join, a turn).
  void KeepSimAttributes();
  short GetCapacity(short capacity);
  short GetCapacity() const { return m_Capacity; }
  short GetCapacitySecond() const { return m_CapacitySecond; }
  // Sets the street's own speed; while the town's speed limit is lower the
  // street runs at the limit and keeps its own speed for when it is raised.
  int SetVelocity(double velocity);
  // The speed the street has without the town's limit.
  double GetOwnVelocity();
  // Runs the street at the town's limit as it stands now, or at its own
  // speed where that is not above the limit; true when the speed changed.
  bool ApplyTownLimit();
  double GetVelocitySecond();
  double GetStoredVelocity() const { return m_Velocity; }
  double GetStoredVelocitySecond() const { return m_VelocitySecond; }
  bool SetVLS(bool on, bool destroySign);
  int SetVLSSimWelt(bool on);
  int CreateVLSObject();
  int DestroyVLSObject();
  int FindVLSLocation(short& x, short& y, int& direction, bool second);
  bool HasVLS() const { return m_VLS != 0; }
  int CreateBusSpur();
  int AddBusSpurLayer();
  int RemoveBusSpurLayer();
  int DeleteBusSpur();
  bool HasBusSpur() const { return m_BusSpur != 0; }
  bool IsBusSpurDrawn() const { return m_BusSpurLayer != 0; }
  int UpdateChanges();
  int SetParking(CBuildingParkingObject* parking);
  bool HasPls() const { return m_pParking != nullptr; }
  bool IsHst(TObjectType type) const { return type >= OBJ_BUSSTOP_SIGN && type <= OBJ_TRAMSTOP; }
  void Mark() { m_Mark |= 1u; }
  void UnMark() { m_Mark = 0; }
  bool IsMarked() const { return (m_Mark & 1u) != 0; }
  uint32_t GetMarkBits() const { return m_Mark; }
  void SetMarkBits(uint32_t bits) { m_Mark = bits; }
  bool RemoveIsolatedGrdCrossings();
  // Whether the rail network has a level crossing over tile (x, y).
  static bool RailNetCrossesAt(short x, short y);

  short GetSimID() const { return m_SimID; }
  short GetSimIDSecond() const { return m_SimIDSecond; }
  int GetLaenge() const { return m_Laenge; }
  CStreetObj* GetWorldObj() const { return m_pWorldObj; }
  CMicroZellenGroup* GetMicroZellenGroup() const { return m_pMicroZellen; }

  // ---- flows
  int UpdateCarFlow();
  int UpdateCarFlow24(int hour);
  short GetAuslastung() const { return m_Auslastung; }
  short GetAuslastungSecond() const { return m_AuslastungSecond; }
  short GetAuslastung24(int hour) const;
  short GetAuslastung24Second(int hour) const;
  short GetAuslastung24() const;
  short GetAuslastung24Second() const;
  // Adds the cars the micro simulation counted on one tile in this turn;
  // the first count since the last evaluation lists the street with the
  // network that walks it.
  void FuegeMesspunktHinzu(int forward, int backward);
  // The network whose evaluation walks the street, and its place there.
  void SetWalkPlace(CStrJunctionList* list, uint32_t place) {
    m_pWalkList = list;
    m_WalkPlace = place;
  }
  // Turns the counts of the last turn into each direction's surplus of
  // cars, the cars to remove (positive) or to add (negative), and the rate
  // in per mille. The fraction of a car that the surplus's rounding toward
  // zero drops is the chance of one car more.
  int BerechneISOAuslastung();
  // The same with the micro-cell debug switch already asked: while it is
  // on, every flow counts as half the capacity.
  int BerechneISOAuslastung(bool fixedRatio);
  int GetUeberschuss() const { return m_Ueberschuss; }
  int GetUeberschussSecond() const { return m_UeberschussSecond; }
  int GetRate() const { return m_Rate; }
  int GetRateSecond() const { return m_RateSecond; }
  int GetMesspunkte() const { return m_Messpunkte; }
  int GetMesspunkteSecond() const { return m_MesspunkteSecond; }
  // Asks the memory for the counts that the evaluation reads first, ahead
  // of a walk over many streets.
  void PrefetchCounts() const { __builtin_prefetch(&m_Messpunkte); }

  // ---- the tile turn and micro cells
  int OnPlayloopTurn(short x, short y);
  // Asks memory ahead for what OnPlayloopTurn on that tile reads: the
  // street (stage 4), its group of layouts (3), the tile's layout (2) and
  // its cells (1). Inline: a street tile's stage is one call from the
  // map's walk.
  void PrefetchTurn(short x, short y, int stage) const {
    if (stage == 4) {
      __builtin_prefetch(&m_pMicroZellen);
      __builtin_prefetch(&m_Ueberschuss);
      return;
    }
    CMicroZellenGroup::PrefetchTurn(m_pMicroZellen, static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                    stage);
  }
  CQnoMicroZelle* GetFirstMicroZelle();
  // The bend's layout when the street's first (last) piece has no tile of
  // its own between its junction and a four-lane bend; null otherwise.
  CQnoMicroZelle* BendCellAtEnd(CStrStrassenTeil* end, CStrStrassenTeil* next, bool first);
  CQnoMicroZelle* GetMicroZellen(unsigned short x, unsigned short y);
  // The cell a line vehicle stops in at tile (x, y) in the direction of
  // simId: the first of the tile's cells of that id, on the outer lane of a
  // four-lane street or one with a bus lane; null when the tile is not the
  // street's or has no such cell.
  BinaryMicroSimObject* GetNextHstZelle(short x, short y, int simId);
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y);
  int TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId);
  int RemoveMicroSim();
  int RemoveMicroSimAt(short x, short y);
  int Render(QnoDisplay* display, unsigned short x, unsigned short y, TIsoZoomStufe zoom);
  // Puts up the light's pole and stop line at that end, once.
  int AddAmpelLayer(CStrJunction* junction);
  int RemoveAmpelLayer(CStrJunction* junction);
  // A light linked to the cells of this street that lead into the junction;
  // null when there are none.
  CAmpel* LinkAmpelAtJunction(CStrJunction* junction);
  int RelinkAmpelZellen(CAmpel* light, CStrJunction* junction);
  // A picture layer on the street's tile beside the junction.
  int AddLayerAtJunction(CStrJunction* junction, int resId);
  int RemoveLayerAtJunction(CStrJunction* junction, int resId);

  static CIsoWelt* m_pIsoWelt;
  static CSimWelt* m_pSimWelt;
  // 1 while a street record is read: drawing builds no micro cells.
  static uint8_t m_InLoadFile;
  // The speed limit in town over every street, in metres per second; 0
  // while there is none. The council sets it.
  static double m_TownLimit;

  // The cells of the lanes that lead into the junction; 1 when none.
  int FindAmpelZellen(CStrJunction* junction, BinaryMicroSimObject** a, BinaryMicroSimObject** b);
  int LayerTileAtJunction(CStrJunction* junction, short* x, short* y, CIsoRichtung* dir);

  // Draws the lights of the lit junctions at its ends that hold it again,
  // after the street itself was drawn again.
  void RelightEnds();

 protected:
  // Loading: the record's end junctions looked up by id (1 when either is
  // missing), the type the piece list holds, and the registration of the
  // read street under its stored ids.
  virtual int LoadJunctions(uint16_t startId, uint16_t endId, CStrJunction** start, CStrJunction** end);
  virtual const QnoObjectType* PieceType() const;
  // A new, not yet created street of this street's kind (the halves of a split).
  virtual CStrStrasse* NewSibling();
  virtual int RegisterLoaded(int16_t simId, int16_t simIdSecond);
  void StepPastJunctionGroup(CStrJunction* j, short mx, short my, short* x, short* y);
  // Resets every cell around the street's pieces that still names the
  // object: no cell may name the street's object once it goes.
  void ClearCellsOf(CWorldObj* obj);
  template <typename Fn>
  void ForEachDrawnTile(Fn fn);
  CStrStrassenTeil* Head() { return static_cast<CStrStrassenTeil*>(GetHead()); }
  CStrStrassenTeil* Tail() { return static_cast<CStrStrassenTeil*>(GetTail()); }
  static CStrStrassenTeil* Next(CStrStrassenTeil* p) { return static_cast<CStrStrassenTeil*>(p->GetNext()); }
  static CStrStrassenTeil* Prev(CStrStrassenTeil* p) { return static_cast<CStrStrassenTeil*>(p->GetPrev()); }
  // The tiles that drawing walks for a piece, with the group offsets at
  // the street's ends applied; false when the piece is skipped.
  bool DrawRange(CStrStrassenTeil* piece, short& sx, short& sy, short& ex, short& ey, signed char& mx,
                 signed char& my, CIsoRichtung& direction);
  // Takes one tile of the piece off the map (an extra part starting there
  // whole, moving x and y to its end).
  void RemoveSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece);
  // The cell layout of one tile, converted but not yet placed; null when
  // the tile has none.
  CQnoMicroZelle* CreateMicroZelleAt(short x, short y);
  // The screen point the layout of tile (x, y) is placed at.
  void MicroAnchor(unsigned short x, unsigned short y, int& sx, int& sy);
  void PlaceMicroZelle(CQnoMicroZelle* cell, short x, short y);
  void LinkZelleWith(CQnoMicroZelle* cell, CQnoMicroZelle* prev);
  void CreateSingleMicroZelle(short x, short y, CQnoMicroZelle*& prev);
  void CreateSingleMicroZelleForSingleStreet(short x, short y, CQnoMicroZelle*& prev);
  void CreateExtaTeilMicroZelle(CStrExtTlList* parts, short& x, short& y, CQnoMicroZelle*& prev);
  void CreateMicroSimGrade(CStrExtTlList* parts, short& x, short& y, CQnoMicroZelle*& prev);
  static void LinkStreetAcrossGrade(CQnoMicroZelle* cell, CQnoMicroZelle* upper, CQnoMicroZelle* lower,
                                    CStrassenType crossingType, bool fromUpper);
  // Whether the street on a level crossing's upper street cell (ux, uy)
  // runs from it across the track to the lower one.
  static bool StreetRunsFromUpper(short ux, short uy);
  static CGrdCrossing* RailCrossingAt(short x, short y, CStrStrasse** track);
  void LinkStartAndEndMicroSim();
  int BusSpurLayers(bool add);
  void RemoveBendAt(CStrStrassenTeil* a, CStrStrassenTeil* b);
  // Appends copies of the other street's pieces and destroys them there.
  void TakePiecesOf(CStrStrasse* other);
  // Adds one direction to the demand simulation with its saved id.
  short AddToSim(CStrJunction* from, int fromDir, CStrJunction* to, int toDir, short id);
  bool IsWorldTileOfStreet(short x, short y);

  CStrassenType m_Type;
  CStrJunction* m_pStartJunction = nullptr;
  CStrJunction* m_pEndJunction = nullptr;
  int32_t m_Laenge = 0;
  int16_t m_SimID = 0;
  int16_t m_SimIDSecond = 0;
  CStreetObj* m_pWorldObj = nullptr;
  CMicroZellenGroup* m_pMicroZellen = nullptr;
  int32_t m_StrassenTeilCount = 0;
  uint32_t m_Mark = 0;
  int16_t m_Auslastung = 0;
  int16_t m_AuslastungSecond = 0;
  uint8_t m_BusSpur = 0;
  uint8_t m_BusSpurLayer = 0;
  uint8_t m_VLS = 0;
  int32_t m_GezaehlteAutos = 0;
  int32_t m_GezaehlteAutosSecond = 0;
  int32_t m_Messpunkte = 0;
  int32_t m_MesspunkteSecond = 0;
  uint32_t m_WalkPlace = 0;
  CStrJunctionList* m_pWalkList = nullptr;
  int32_t m_Rate = 0;
  int32_t m_RateSecond = 0;
  int32_t m_Ueberschuss = 0;
  int32_t m_UeberschussSecond = 0;
  int16_t m_Auslastung24[kHours] = {};
  int16_t m_Auslastung24Second[kHours] = {};
  int16_t m_Capacity = 0;
  int16_t m_CapacitySecond = 0;
  double m_Velocity = 0.0;
  double m_VelocitySecond = 0.0;
  // The own speed while the town's limit holds the street below it; 0
  // while the street runs at its own speed.
  double m_VelocityBeforeLimit = 0.0;
  CWorldObj* m_pVLSObject = nullptr;
  // Where the traffic guidance sign stands.
  int16_t m_VLSPosX = 0;
  int16_t m_VLSPosY = 0;
  CBuildingParkingObject* m_pParking = nullptr;
};
