#pragma once
// The street network: the owning list of all street junctions, indexed by
// their crossing ids, each holding the streets that start at it; the
// building of a street from the street preview, the removal of streets and
// of junctions left without streets, the lookups of the interface and the
// demand model, and the network's savegame record. The rail network keeps
// its own list.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/zor_list.h"
#include "network/str_cell_index.h"
#include "network/str_junction.h"
#include "worldbase/street_type.h"

class CIsoWelt;
class CSimWelt;
class CStrStrasse;
class CStrStrassenTeil;
class CStrPreviewRect;
class CQnoMicroZelle;

class CStrSchJuncList;

// The street builder's results.
enum : int {
  STR_BUILD_NO_JUNCTION = 0,
  // No request, an unsupported type, a drag that is no straight line inside
  // the map, or a street that would give a junction a fifth arm.
  STR_BUILD_BAD_REQUEST = 1,
  STR_BUILD_TYPE_CONFLICT = 2,
  STR_BUILD_OFF_NETWORK = 3,
  STR_BUILD_SAME_JUNCTION = 4,
  STR_BUILD_ALREADY_JOINED = 5,
  // Refusals of drags that the Parts' sequence cannot build soundly; the
  // street preview shows them before the drag ends (CheckDrag).
  // The drag crosses or passes more than one street or junction, or crosses
  // one and ends on another street.
  STR_BUILD_CROSSES_SEVERAL = 6,
  // The drag runs along an existing street or over one of its bends.
  STR_BUILD_ALONG_STREET = 7,
  // A junction of the drag would get arms of types that no junction
  // graphic shows (a four-lane arm at a junction of one-tile streets).
  STR_BUILD_NO_GRAPHIC = 8,
  // An end or a junction of the drag would stand on water or a bridge, or
  // a four-lane drag's second column would run over water where its centre
  // line does not, or the reverse.
  STR_BUILD_ON_WATER = 9,
  // A four-lane junction's 2 x 2 group would cover another junction, or an
  // end lies on the second column of a four-lane street.
  STR_BUILD_NO_ROOM = 10,
  // The demand model has no ids left for the junctions and streets the
  // drag would make.
  STR_BUILD_NO_IDS = 11,
  STR_BUILD_OK = 100
};

// What the street builder takes from the street preview: the two end
// cells and, for four-lane and rail streets, the dead ends to shift by one
// cell first.
class CStrBuildRequest {
 public:
  virtual ~CStrBuildRequest() = default;
  virtual void GetStreetBuildRect(short* x1, short* y1, short* x2, short* y2) = 0;
  virtual bool DecStreetLength() { return false; }
  virtual CStrJunction* GetDecJunction() { return nullptr; }
  virtual void GetDecOffset(short* dx, short* dy) { *dx = *dy = 0; }
  virtual CStrJunction* GetSecDecOffset() { return nullptr; }
  virtual void StartAtJunction(CStrJunction*) {}
};

// A straight drag from one cell to another, with nothing to shift.
class CStrBuildLine : public CStrBuildRequest {
 public:
  CStrBuildLine(short x1, short y1, short x2, short y2) : m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2) {}
  void GetStreetBuildRect(short* x1, short* y1, short* x2, short* y2) override {
    *x1 = m_x1;
    *y1 = m_y1;
    *x2 = m_x2;
    *y2 = m_y2;
  }

 private:
  short m_x1, m_y1, m_x2, m_y2;
};

class CStrJunctionList : public CList {
 public:
  static constexpr int kHashSize = 2000;
  // The most crossing and street ids of the demand model that one build
  // takes (its ends, the junction where it crosses a street, and both
  // directions of the streets it makes, splits and joins), with room to
  // spare; a build is refused unless that many are free.
  static constexpr int kBuildCrossingIds = 8;
  static constexpr int kBuildStreetIds = 64;

  CStrJunctionList(CIsoWelt* iso, CSimWelt* sim);
  ~CStrJunctionList() override;
  int Destroy() override;
  int SerializeGameLoad(FILE* file) override;
  int SerializeGameStore(FILE* file) override;
  using CList::Create;
  virtual int Create();
  // A new junction at (x, y), neither registered nor listed; null on failure.
  virtual CStrJunction* CreateNewJunction(short x, short y, CStrassenType type);
  virtual CStrStrasse* CreateNewStreet();

  // ---- editing
  int CreateStreet(CStrBuildRequest* preview, CStrassenType type);
  // Whether a straight drag of the type from (x1, y1) to (x2, y2) can be
  // built soundly: 0, or the refusal (STR_BUILD_BAD_REQUEST for a fifth
  // arm, STR_BUILD_CROSSES_SEVERAL to STR_BUILD_NO_ROOM). Changes nothing;
  // the preview asks it while the drag goes on, CreateStreet before it
  // builds.
  int CheckDrag(short x1, short y1, short x2, short y2, CStrassenType type);
  // Whether the junction at the far end of a dead end's street has a
  // graphic for its arms once that street takes the type.
  static bool FarJunctionKeepsGraphic(CStrJunction* end, CStrassenType type);
  // The same for the street `s` from the junction `end`.
  static bool FarJunctionKeepsGraphic(CStrStrasse* s, CStrJunction* end, CStrassenType type);
  int DeleteStreet(CStrStrasse* street);
  int RemoveIsolatedJunctions();
  int UpdateChanges();
  // Adds a registered junction at the head, under its crossing id.
  int AddJunction(CStrJunction* junction);
  // Takes a junction that has lost its streets out of the demand simulation
  // and the list, and destroys it.
  int RemoveJunction(CStrJunction* junction);

  // ---- lookups
  CStrJunction* FindJunctionAt(short x, short y);
  CStrJunction* GetJunctionByID(unsigned short id);
  CStrStrasse* GetStreetByID(short id);
  int RegisterLocationAtCrossing(CSimLocation* location, unsigned short id);
  int RemoveLocationFromCrossing(unsigned short id, CSimLocation* location);
  unsigned short GetNearestCrossing(short x, short y, int* dist, unsigned short excluded, CStrJunction** junction);
  bool GetNearestStreet(short x, short y, int* dist, CStrStrasse** street, short* hitX, short* hitY);
  bool PointHitStreet(short x, short y, CStrStrasse** street, CStrStrassenTeil** piece);
  CQnoMicroZelle* GetMicroZelleAt(short x, short y);
  int DestroyMicorSimAt(short x, short y);
  bool NewStreetHitStreet(short x1, short y1, short x2, short y2);
  int CheckForJunctions(CStrJunction* a, CStrJunction* b, CStrassenType type);
  bool StreetHitStreet(CStrJunction* a, CStrJunction* b, CStrassenType type);
  bool StreetHitJunction(CStrStrasse* street, CStrJunction* a, CStrJunction* b);
  // The same, with the split's result (100, or 1 when the junction on the
  // way has no room for two more arms).
  bool StreetHitJunction(CStrStrasse* street, CStrJunction* a, CStrJunction* b, int* result);

  // ---- lights, micro cells and flows
  int UpdateAmpel();
  virtual int UpdateAmpeln();
  int RemoveIsolatedGrdCrossings();
  // The layouts of a new view: RemoveViewMicroSim takes them away and
  // LayViewMicroSim lays them again, the lights taking their new cells;
  // TurnMicroSim does both for this network alone. A view with streets and
  // tracks takes both networks' layouts away before either lays them: a
  // street joins the level crossings' layouts it finds, and one left from
  // the old view stands elsewhere on the screen.
  int TurnMicroSim();
  void RemoveViewMicroSim();
  void LayViewMicroSim();
  // The same for the street network and the rail network (null when there
  // is none) together: every layout there is goes, so none is unlinked
  // from its neighbours one by one before it is freed.
  static void TurnNetworksMicroSim(CStrJunctionList* streets, CStrJunctionList* rails);
  // ---- ways between junctions (str_junction_way.cpp)
  // The shortest way from `from` to `to` along the streets' directions, as
  // the sim street ids walked, the cost being the streets' lengths. 1 when
  // a junction is missing or the search was given up (a way of more than
  // kWayMaxStreets streets, more than `capacity` ids, or more than
  // kWayMaxSteps streets tried); otherwise 0, and when a way exists its ids
  // are in `ids` and their number in `count` (both untouched when none).
  int GetWayFromJunctionToJunction(CStrJunction* from, CStrJunction* to, short* ids, int* count, int capacity);
  // 0 when a way leads from `from` to `to` without `without`; 1 when none
  // does, an argument is null or the search was given up.
  int CheckForWayFromJunctionToJunction(CStrJunction* from, CStrJunction* to, CStrStrasse* without);
  // Every junction loses its length from the start, every street its mark.
  int UnmarkAllStreet();
  static constexpr int kWayMaxStreets = 300;
  static constexpr int kWayMaxSteps = 1000000;
  // Turns the micro simulation's vehicle counts into drawing loads. Only
  // the streets counted since the last pass are visited, in the order of
  // the walk over the junctions' street arrays.
  virtual int BerechneISOAuslastung();
  // A street at `walkPlace` in that walk was counted for the first time
  // since its last evaluation.
  void NoteCounted(uint32_t walkPlace) { m_Counted.push_back(walkPlace); }
  // Records the hour's loads for the 24-hour view.
  virtual int UpdateCarFlow24(int hour);
  // Pulls the car flows and capacities of a newly activated hour.
  virtual int UpdateCarFlow();

  CStrJunction* JunctionAt(uint32_t n) { return static_cast<CStrJunction*>(GetAt(n)); }
  // The listed junctions at a cell and the streets whose centre line runs
  // over it, from the network's cell index.
  const std::vector<CStrJunction*>& JunctionsIndexedAt(short x, short y) const { return m_Cells.JunctionsAt(x, y); }
  const std::vector<CStrStrasse*>& StreetsIndexedAt(short x, short y) { return m_Cells.StreetsAt(x, y); }
  // The streets whose cells changed since the last call (CStrCellIndex::TakeChanges).
  bool TakeIndexChanges(std::vector<CStrStrasse*>* changed, std::vector<CStrStrasse*>* gone) {
    return m_Cells.TakeChanges(changed, gone);
  }
  // The rail network, whose level crossings follow every edit.
  void SetRailNet(CStrSchJuncList* rails) { m_pRailNet = rails; }
  CStrSchJuncList* GetRailNet() const { return m_pRailNet; }

  static CIsoWelt* m_pIsoWelt;
  static CSimWelt* m_pSimWelt;

 protected:
  // Every edit runs in one: lookups by street id walk the junctions while
  // the streets change, and the id index is rebuilt after.
  class EditScope {
   public:
    explicit EditScope(CStrJunctionList* list) : m_list(list) { ++m_list->m_EditDepth; }
    ~EditScope() {
      --m_list->m_EditDepth;
      m_list->m_StreetIndexValid = false;
    }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

   private:
    CStrJunctionList* m_list;
  };

  // The key a junction is listed under: its crossing id, or the id it had
  // before it left the demand simulation.
  static uint32_t ListKey(const CStrJunction* junction);
  // Indexes a junction, growing the table when it is full; false (logged)
  // when even a larger table takes no entry.
  bool IndexJunction(CStrJunction* junction, uint32_t key);
  // A new table of `size` buckets with every listed junction; false when
  // two junctions share a key or the table cannot take them.
  bool RebuildIndex(int size);
  // Whether a street can pass the junction's cell.
  bool CellMayHoldStreet(const CStrJunction* junction);
  // The street that a junction lies on, inside a piece or on a bend.
  bool StreetUnder(CStrJunction* end, CStrStrasse** street, CStrStrassenTeil** piece, short* x, short* y);
  // The junction listed at the cell, whether it is drawn or not.
  CStrJunction* JunctionAtCell(short x, short y);
  // Moves a listed junction and the end of its street by (dx, dy).
  void MoveJunction(CStrJunction* junction, short dx, short dy);
  class EditGuard;
  // Every street and junction read so far goes again.
  void DiscardLoaded();
  // The loaded streets' pieces join their ends in straight runs inside the
  // map, and every junction holds the streets its record named.
  bool CheckLoadedNetwork();
  void RebuildStreetIndex();

  // The street of each sim id, indexed by the id's 16 bits: the micro
  // simulation asks for streets by id many times a turn.
  std::vector<CStrStrasse*> m_StreetsByID;
  // Every linked street once, where the walk over the junctions' street
  // arrays first meets it; rebuilt with the index.
  std::vector<CStrStrasse*> m_StreetWalk;
  // The walk places of the streets counted since the last evaluation (a
  // place may be listed twice); while m_CountedComplete is false, a street
  // may have been counted at a place of an earlier walk, and the next
  // evaluation walks every street.
  std::vector<uint32_t> m_Counted;
  bool m_CountedComplete = false;
  CStrCellIndex m_Cells;
  bool m_StreetIndexValid = false;
  int m_EditDepth = 0;
  CStrSchJuncList* m_pRailNet = nullptr;
  // The way search's working state, kept between searches so that a
  // search allocates nothing once the network has been searched before.
  struct WayOpen {
    int32_t cost;
    uint32_t order;
    CStrJunction* junction;
    int32_t from;  // index of the settled step it was reached from, -1 at the start
    short id;      // sim id of the street walked to it
  };
  struct WaySettled {
    int32_t from;
    short id;
  };
  std::vector<WayOpen> m_WayOpen;
  std::vector<WaySettled> m_WaySettled;
  std::vector<CStrJunction*> m_WayStack;
};
