#pragma once
// The micro-cell layout of one tile: a small directed graph of points
// (cells) along which the visible vehicles drive, copied from a "Micr"
// resource for one tile graphic, zoom level and rotation; and the group of
// layouts that belongs to one street or junction, one per tile.
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <vector>

#include "framework/zor_block_pool.h"

class CCar;
class CQnoMicroZelle;
struct BinaryMicroSimObject;
class MicroLayoutBlob;
class QnoDisplay;
class QnoRenderBuffer;
class QnoResourceManager;

// 1 for v above 0, 0 for 0, -1 below 0.
int sign(int v);
// The zoom factor of the micro simulation: 1, 2, 3 at zoom levels 1, 2, 4.
int MicroZoomFactor();
// A vehicle's length in tenths of a pixel by its size type, halved at zoom
// factor 2.
int Laenge(int sizeType, int zf);
// The sprite direction 0..63 of a vehicle heading dx, dy pixels on the
// screen: one of 16 sectors of the circle, counted from 40 at +x.
int MicroDirection(int dx, int dy);
// CMicroSimulation::CalcDistance of two cells, from a table for the steps
// between neighbouring cells.
double MicroCellDistance(const BinaryMicroSimObject* a, const BinaryMicroSimObject* b);

// One cell of a layout. The resource stores it in 100 bytes with 4-byte
// links; in memory the links are pointers, and the fields that every turn
// reads (the count: vehicle, position, sim id; the move: flags, successors
// and screen point) come first, so that a turn touches few cache lines.
struct BinaryMicroSimObject {
  static constexpr int kLinks = 4;
  static constexpr int32_t kNoPosition = -32000;
  static constexpr uint8_t kNoChoice = 255;
  static constexpr uint8_t kNoVehicle = 0;
  static constexpr uint8_t kPrivateCar = 1;
  static constexpr uint8_t kLineVehicle = 2;
  static constexpr uint8_t kOtherSize = 5;
  // m_Closed: a lane open to links; an exit lane closed by CloseExit, no
  // link's end; an entry whose every way on was closed, where a way ends.
  static constexpr uint8_t kOpen = 0;
  static constexpr uint8_t kClosedLane = 1;
  static constexpr uint8_t kWayEnds = 2;

  CCar* m_pCar = nullptr;
  // Distance still to go to the chosen successor, tenths of a pixel;
  // kNoPosition while no vehicle is placed here.
  int32_t m_Position = kNoPosition;
  uint16_t m_SimID = 0;  // street direction in the demand model; 0 = none
  uint8_t m_Locked = 0;
  uint8_t m_Visible = 0;
  uint8_t m_Choice = kNoChoice;  // chosen successor slot; kNoChoice = none
  uint8_t m_AnzNachfolger = 0;   // successor slots in use, at most kLinks
  uint8_t m_LaneKind = 0;
  uint8_t m_Closed = kOpen;  // kOpen, kClosedLane or kWayEnds
  // The held vehicle's maximum speed as the vehicle has it (set with
  // m_pCar); the move writes the vehicle only when the speed changes.
  int16_t m_CarSpeed = 0;
  // What the turn reads of the vehicle held here, kept beside m_pCar so
  // that counting and moving need not reach into the vehicle object: its
  // kind (kNoVehicle, kPrivateCar, kLineVehicle) and its size type
  // (0..4; kOtherSize for any other). Set and cleared with m_pCar by
  // CQnoMicroZelle::HoldVehicle.
  uint8_t m_CarKind = 0;
  uint8_t m_CarSize = 0;
  int32_t m_ScreenX = 0;
  int32_t m_ScreenY = 0;
  BinaryMicroSimObject* m_pNachfolger[kLinks] = {};
  CQnoMicroZelle* m_pOwner = nullptr;
  int32_t m_OldPosition = kNoPosition;
  uint32_t m_TimeStamp = 0;  // world time of the last placement, ms
  float m_CarX = 0.0f;       // vehicle sprite offset from the cell, pixels
  float m_CarY = 0.0f;
  int16_t m_XOffset = 0;  // pixels from the tile's screen anchor
  int16_t m_YOffset = 0;
  uint16_t m_ID = 0;
  BinaryMicroSimObject* m_pVorgaenger = nullptr;
  // Cells locked while a vehicle stands here.
  BinaryMicroSimObject* m_pConflict[kLinks] = {};
  BinaryMicroSimObject* m_pNextRender = nullptr;
};

// The slot of a cell's last successor by its count of slots in use: the
// count less one, and the last slot for any count beyond kLinks.
inline constexpr auto kLastSuccessorSlot = [] {
  std::array<uint8_t, 256> slot{};
  for (int n = 1; n < 256; ++n)
    slot[n] = static_cast<uint8_t>((n < BinaryMicroSimObject::kLinks ? n : BinaryMicroSimObject::kLinks) - 1);
  return slot;
}();

class CQnoMicroZelle {
 public:
  using Cell = BinaryMicroSimObject;
  // Link states.
  static constexpr uint16_t kCopied = 0;
  static constexpr uint16_t kConverted = 1;
  static constexpr uint16_t kLinked = 2;
  // Longest successor walk of GetAuslStreet.
  static constexpr int kMaxWalk = 1000;

  // Detaches the cells from their neighbours first (Remove).
  ~CQnoMicroZelle();
  // A layout and its cells are one block of memory from the networks' pool
  // (see Create).
  static void operator delete(CQnoMicroZelle* layout, std::destroying_delete_t);
  CQnoMicroZelle(const CQnoMicroZelle&) = delete;
  CQnoMicroZelle& operator=(const CQnoMicroZelle&) = delete;

  // A new layout copied from a validated "Micr" record, cells visible or
  // not; null for a wrong magic or version. The links stay ids until
  // Konvert.
  static CQnoMicroZelle* Create(const MicroLayoutBlob& resource, bool visible);
  // The same for the record with that id; null when it is missing.
  static CQnoMicroZelle* Create(QnoResourceManager* resources, unsigned id, bool visible);
  // Turns the ids into pointers within this layout; 1 when already done.
  int Konvert();
  // Create and Konvert at once, for the record with that id. The first
  // layout made of a record leaves a copy of its converted cells; each
  // later one is that copy with its links moved onto its own cells, which
  // is what reading and converting the record again gives.
  static CQnoMicroZelle* CreateConverted(QnoResourceManager* resources, unsigned id, bool visible);

  uint16_t GetLinkState() const { return m_LinkState; }
  int GetCount() const { return static_cast<int>(m_Cells.size()); }
  Cell* GetZelle(int index) { return &m_Cells[static_cast<size_t>(index)]; }
  Cell* GetFirstRender() const { return m_pFirstRender; }
  // The first cell with that id, else null.
  Cell* FindObject(uint32_t id);
  bool Owns(const Cell* cell) const { return cell && cell->m_pOwner == this; }
  // The layouts with cells linked to cells of this one.
  size_t GetNeighbourCount() const { return m_Neighbours.size(); }
  // The one way a cell takes or gives up its vehicle (null): sets m_pCar
  // with the vehicle's kind and size beside it and keeps the owning
  // layout's count of held vehicles.
  static void HoldVehicle(Cell* cell, CCar* car);
  // The cells of this layout that hold a vehicle, kept as they change.
  int GetVehicleCount() const { return m_Vehicles; }
  // The map cell whose objects draw this layout (its group member's): the
  // map counts there the layouts that hold a vehicle. Outside the map, or
  // after LeaveTile, the layout counts nowhere.
  void PlaceOnTile(int x, int y);
  void LeaveTile();
  // The cells' sim ids were written from outside the layout's own
  // functions: the counting finds its cells anew.
  void SimIDsChanged() { m_KeysStale = true; }

  // Every cell's screen position = anchor + its offsets.
  void SetScreenPos(int x, int y);
  // How many layouts were made (Create) and how often a layout's cells were
  // given their screen positions (SetScreenPos) in this process: a change
  // of view makes and places each layout of the new view once.
  static uint64_t GetMadeCount() { return s_Made; }
  static uint64_t GetPlacedCount() { return s_Placed; }
  // SetScreenPos, unless the layout stands at that anchor already: the map
  // places every tile of its micro view again after each scroll, turn or
  // zoom, and in every turn of a right-button drag, moved or not.
  void UpdateScreenPos(int x, int y) {
    if (x != m_AnchorX || y != m_AnchorY || m_AnchorX == kNoAnchor) SetScreenPos(x, y);
  }
  // The anchor of the last SetScreenPos, kept in 16 bits beside the fields
  // the turn reads; kNoAnchor before the first and for an anchor beyond 16
  // bits, which is then placed every time.
  static constexpr int16_t kNoAnchor = INT16_MIN;
  int GetAnchorX() const { return m_AnchorX; }
  int GetAnchorY() const { return m_AnchorY; }
  // Asks the memory for what SetScreenPos reads and writes.
  void PrefetchScreen() const;
  // Takes the offsets of the namesake cells of `other` (the layout of the
  // new rotation), then recomputes the screen positions; 1 for null.
  int TurnRichtung(CQnoMicroZelle* other, int x, int y);
  // Reverses the first link of the layout.
  void Turn();
  // Puts succ into the first empty slot of cell; nothing when all are used.
  void SetNachfolger(Cell* cell, Cell* succ);

  Cell* FindExitZelle(int n);
  Cell* FindEntryZelle(int n);
  // Every exit (entry) in the order FindExitZelle (FindEntryZelle) counts
  // them, into `out`, which has room for every cell; returns how many.
  int ExitZellen(Cell** out);
  int EntryZellen(Cell** out);
  Cell* GetRandomZelle();
  // The chosen successor; null without a choice.
  static Cell* GetNextZelle(Cell* cell) {
    if (!cell || cell->m_Choice >= Cell::kLinks) return nullptr;
    return cell->m_pNachfolger[cell->m_Choice];
  }
  // The last successor in use; null without one.
  static Cell* GetVirtNext(Cell* cell) {
    if (!cell || cell->m_AnzNachfolger == 0) return nullptr;
    return cell->m_pNachfolger[kLastSuccessorSlot[cell->m_AnzNachfolger]];
  }
  // The cell of this layout in the n-th pair (cell, successor in other).
  Cell* HasSucessor(CQnoMicroZelle* other, int n);

  Cell* HasSimID(uint16_t simId, bool outerLane);
  Cell* HasSimIDAndNoBusspur(uint16_t simId);
  void SetFirstSimID(uint16_t simId);
  void SetSecSimID(uint16_t simId);
  void SetFirstSimID(Cell* cell, uint16_t simId);
  void SetSecSimID(Cell* cell, uint16_t simId);
  void UpdateSimID();
  // The sim id reached from successor i of the cell.
  int GetAuslStreet(int i, Cell* cell, bool outerLane);
  // The cell with the sim id below `cell`; index = the slot of `cell` it
  // was reached through, -1 when none.
  Cell* IndexRunToZelleWithSimID(Cell* cell, int& index, uint16_t simId, int depth);
  static bool IsAussenSpur(const Cell* cell);

  void SetVisible(bool visible);
  bool IsVisible() const;
  // Detaches every cell from its neighbours, in this layout and in every
  // layout linked to it, and drops its vehicle.
  void Remove();
  // While one of these is alive, a layout that is freed leaves its
  // neighbours' cells alone and only gives up its vehicles: every layout
  // there is belongs to the street and rail networks, and when both are
  // taken down whole (for a load) each neighbour goes as well, so the walk
  // over its cells would only tidy memory about to be freed. Nothing may
  // read a layout of those networks until the scope ends.
  class WholeNetworksGo {
   public:
    WholeNetworksGo() { ++s_WholeNetworksGo; }
    ~WholeNetworksGo() { --s_WholeNetworksGo; }
    WholeNetworksGo(const WholeNetworksGo&) = delete;
    WholeNetworksGo& operator=(const WholeNetworksGo&) = delete;
  };
  // Closes an exit of this layout that no lane leads on from (the arm of a
  // one-way street that only comes in): the links of this layout's cells
  // into it go, and so, backwards, does every cell left without a
  // successor, up to the cells where another way goes on. The closed cells
  // carry no sim id, and no later link takes them for an exit or an entry.
  // An entry left without a way on is not closed but ends the ways of the
  // lane that comes in (kWayEnds, no sim id): a later link still takes it
  // for an entry, never for an exit, so that the lane of a neighbour leads
  // into it whichever of the two was linked first.
  // Returns the number of cells closed.
  int CloseExit(Cell* exit);

  // Sprite direction 0..63 towards the chosen successor; false without one.
  bool CalcRichtung(int& dir, const Cell* cell) const;
  void CalcCarPos(int& x, int& y, const Cell* cell) const;
  int Render(QnoDisplay* display);
  void RenderMicroZellenTest(QnoRenderBuffer* buffer, const Cell* cell);

  // The moving vehicles; see micro_movement.cpp.
  // Moves every vehicle of the layout once by the frame time.
  int MoveCars(unsigned short x, unsigned short y, bool busLane);
  // Counts the private cars per direction; spawns where the surplus is
  // negative and removes where it is positive, each with chance rate/1000
  // per cell.
  void ZaehleAutos(uint16_t simId1, uint16_t simId2, int& count1, int& count2, int& surplus1, int& surplus2,
                   int rate1, int rate2);
  // Asks the memory for the cells that counting and moving read first (the
  // ones holding a vehicle), ahead of the walk over the layout.
  void PrefetchCells() const;
  // The same for the layout's own fields and cell keys that the turn reads.
  void PrefetchLayout() const {
    __builtin_prefetch(&m_Cells);
    __builtin_prefetch(Keys() + 63);
  }
  // Places a vehicle `offset` tenths of a pixel past the cell: 0 placed,
  // 1 discarded, 2 not placed. A private car that is not placed is gone.
  int SetzeFahrzeug(Cell* cell, CCar* car, int offset, bool, bool checkRoom, bool);
  // Moves the vehicle standing in `cell` forward: 0 moved or placed, 1
  // removed, 3 could not move on.
  int BewegeFahrzeug(Cell* cell, CCar* car, double distance, CCar* ahead, bool busLane, unsigned short x,
                     unsigned short y, bool, bool);
  // The vehicle ahead within lookAhead and the free distance to it.
  CCar* FindeNaechstesFahrzeug(Cell* cell, CCar* car, double lookAhead, double& gap, bool first);
  // The same for a vehicle of that length (tenths of a pixel).
  static CCar* FindAhead(Cell* cell, int ownLength, double lookAhead, double& gap, bool first);
  // Chooses the successor a vehicle takes at a branch.
  void SplittTrafic(Cell* cell, CCar* car, bool current);
  // The stops of line vehicles; true when it dealt with the vehicle.
  bool SonderfallBus(Cell* cell, CCar* car, unsigned short x, unsigned short y, int simId);
  // Moves a car sideways from `from` into `target`, drawn where it was.
  void SetzeAufZielZelle(CCar* car, Cell* from, Cell* target);
  // Destroys the cell's vehicle and frees the cell.
  void RemoveVehicle(Cell* cell);
  // The vehicle's sprite direction and screen position.
  void SetCarPos(Cell* cell);
  // SetCarPos for every car of the list that stands in a visible cell of a
  // layout, in the list's order.
  static void PlaceCars(std::span<CCar* const> cars);
  // The speed class of the cell's street: 0 found, 1 no street (speed 0).
  static int CalcMaxSpeed(const Cell* cell, int& speed);
  // The longest walk of the gap search and of one vehicle's move.
  static constexpr int kMaxSteps = 255;

 private:
  CQnoMicroZelle() = default;
  void AddNeighbour(CQnoMicroZelle* other);

  // The layout is made with room for its cells right behind it: a turn
  // that reaches the layout finds its first cells in the same cache lines
  // instead of following one more pointer.
  struct CellRoom {
    size_t cells;
  };
  static void* operator new(size_t size, CellRoom room);
  static void operator delete(void* block, CellRoom room);
  static size_t BlockSize(size_t cells);
  // Where the cells start behind a layout of that many cells.
  static size_t CellsAt(size_t cells);

  // One byte a cell, right behind the layout, that the turn reads instead
  // of the cell: the kind of the vehicle held there (the cell's m_CarKind,
  // kept by HoldVehicle) and whether the cell carries the first or the
  // second of the sim ids the layout was last counted for. Counting and
  // moving then reach into a cell only where a vehicle stands or comes.
  static constexpr uint8_t kKeyKind = 3;
  static constexpr uint8_t kKeyFirst = 4;
  static constexpr uint8_t kKeySecond = 8;
  uint8_t* Keys() { return reinterpret_cast<uint8_t*>(this + 1); }
  const uint8_t* Keys() const { return reinterpret_cast<const uint8_t*>(this + 1); }
  // HoldVehicle for a vehicle whose kind the caller knows already (what the
  // cell it came from held beside it): kNoVehicle with null, else
  // kPrivateCar or kLineVehicle as the vehicle's IsAuto says.
  static void HoldVehicle(Cell* cell, CCar* car, uint8_t kind);
  // The vehicle held in `from` goes into `to`, which holds none, as
  // HoldVehicle(from, nullptr) and HoldVehicle(to, car) would leave both,
  // its kind, size and speed carried over from `from` instead of asked of
  // the vehicle again. Two cells of one layout leave its count as it is.
  static void PassVehicle(Cell* from, Cell* to);
  // SetzeFahrzeug for a vehicle whose kind the caller knows (isAuto: a
  // private car).
  int Place(Cell* cell, CCar* car, int offset, bool checkRoom, bool isAuto);
  // BewegeFahrzeug for a vehicle whose kind the caller knows.
  int MoveOn(Cell* cell, CCar* car, double distance, bool busLane, unsigned short x, unsigned short y, bool isCar);

  // The cells' offsets (x, y per cell) once more behind the cells, packed:
  // placing the layout reads them from one or two cache lines instead of
  // from a line of every cell, and only writes to the cells. Kept by Create
  // and TurnRichtung, the only writers of the cells' offsets.
  int16_t* Offsets() { return reinterpret_cast<int16_t*>(m_Cells.data() + m_Cells.size()); }
  const int16_t* Offsets() const { return reinterpret_cast<const int16_t*>(m_Cells.data() + m_Cells.size()); }
  // The cells' indices in the order the render links give (Konvert),
  // right behind the keys, kNoRenderCell past the last: drawing reads the
  // keys in this order, from the lines that hold the vehicle count, and
  // reaches into only the cells that hold a vehicle. A layout has at most
  // 255 cells.
  static constexpr uint8_t kNoRenderCell = 0xFF;
  uint8_t* RenderOrder() { return Keys() + m_Cells.size(); }
  const uint8_t* RenderOrder() const { return Keys() + m_Cells.size(); }
  // The keys' sim id bits for that pair of sim ids, from the cells.
  void MarkSimIDs(uint16_t simId1, uint16_t simId2);
  // Checks the keys against the cells; the count calls it in builds with
  // assertions.
  void CheckKeys() const;

  // The fields the turn reads come last, next to the cell keys: in a block
  // that starts a cache line (as every block of the pool does) the count,
  // the cells' place and the first keys share one line.
  // The record's link ids until Konvert: per cell the successors, the
  // predecessor and the next render cell; then the first render cell.
  std::vector<uint32_t, ZorPooledAllocator<uint32_t>> m_Ids;
  // The layouts whose cells are linked to cells of this one, either way;
  // a layout that goes away clears their links to it.
  std::vector<CQnoMicroZelle*, ZorPooledAllocator<CQnoMicroZelle*>> m_Neighbours;
  static int s_WholeNetworksGo;
  static inline uint64_t s_Made = 0;
  static inline uint64_t s_Placed = 0;
  Cell* m_pFirstRender = nullptr;
  uint32_t m_Size = 0;        // bytes the layout takes in memory
  bool m_IdsInOrder = false;  // cell i has the id i + 1
  // The map cell the layout is drawn at (PlaceOnTile), where it counts in
  // the map's layouts with vehicles while it holds any.
  bool m_OnTile = false;
  uint8_t m_TileX = 0;
  uint8_t m_TileY = 0;
  // The screen anchor the cells' positions were last worked out from; it
  // starts the second cache line, which the turn's prefetch asks for.
  alignas(8) int16_t m_AnchorX = kNoAnchor;
  int16_t m_AnchorY = kNoAnchor;
  int32_t m_Vehicles = 0;  // cells holding a vehicle (HoldVehicle)
  // The sim ids the keys' bits were marked for; stale after any change of
  // a cell's sim id.
  uint16_t m_KeyId1 = 0;
  uint16_t m_KeyId2 = 0;
  uint16_t m_LinkState = kCopied;
  bool m_KeysStale = true;
  std::span<Cell> m_Cells;  // the cells behind the layout
};

class CMicroZellenGroup {
 public:
  struct TGroupMember {
    uint16_t dx = 0;  // tile offset from the group's origin, 16-bit
    uint16_t dy = 0;
    CQnoMicroZelle* pZelle = nullptr;
    TGroupMember* pNext = nullptr;
    ZOR_POOLED
  };

  CMicroZellenGroup() = default;
  ~CMicroZellenGroup();
  CMicroZellenGroup(const CMicroZellenGroup&) = delete;
  CMicroZellenGroup& operator=(const CMicroZellenGroup&) = delete;

  int Create(unsigned short x, unsigned short y);
  // Appends a member for tile (x, y); the group owns the layout.
  int AddZelle(CQnoMicroZelle* zelle, unsigned short x, unsigned short y);
  // Removes and frees every layout and member.
  int Destroy();
  // Unlinks and deletes the member of that tile; its layout is the
  // caller's (already removed and freed).
  int DestroyAt(unsigned short x, unsigned short y);
  TGroupMember* FindPrev(TGroupMember* member);
  TGroupMember* GetFirst() const { return m_pFirst; }
  unsigned short GetX() const { return m_X; }
  unsigned short GetY() const { return m_Y; }

  bool IsVisible() const;
  void SetVisible(bool visible);

  CQnoMicroZelle* FindZelle(unsigned short x, unsigned short y);
  // Asks memory ahead for what a tile's turn reads of the group: the group
  // itself (stage 3), the tile's layout (2) and its cells that hold a
  // vehicle (1), each stage reading only what the one before asked for.
  // Stage 0 asks, after stage 2, for what placing the layout on the screen
  // (UpdateScreenPos) reads and writes.
  // Inline, so that a street's or junction's stage is one call from the
  // map's walk.
  static void PrefetchTurn(CMicroZellenGroup* group, unsigned short x, unsigned short y, int stage);
  TGroupMember* FindMember(unsigned short x, unsigned short y);
  BinaryMicroSimObject* FindMember(unsigned short x, unsigned short y, uint16_t simId, bool outerLane);
  BinaryMicroSimObject* FindMemberNoBusspur(unsigned short x, unsigned short y, uint16_t simId);
  BinaryMicroSimObject* FindEntryZelle(int n, unsigned short x, unsigned short y);
  BinaryMicroSimObject* FindExitZelle(int n, unsigned short x, unsigned short y);
  BinaryMicroSimObject* GetRandomZelle(unsigned short x, unsigned short y);
  int Turn(CQnoMicroZelle* other, unsigned short x, unsigned short y, int sx, int sy);
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y);
  int MoveCars(unsigned short x, unsigned short y, bool busLane);
  void ZaehleAutos(unsigned short x, unsigned short y, uint16_t simId1, uint16_t simId2, int& count1, int& count2,
                   int& surplus1, int& surplus2, int rate1, int rate2);
  int SetCar(BinaryMicroSimObject* cell, unsigned short x, unsigned short y, CCar* car, bool checkRoom);
  int Render(QnoDisplay* display, unsigned short x, unsigned short y, int zoom);
  // The first cell of this group that leads into a layout of `junction`'s
  // group through its n-th such link; null when none.
  BinaryMicroSimObject* FindZelleWithTargetJunction(CMicroZellenGroup* junction, unsigned short x, unsigned short y,
                                                   int n);

 private:
  TGroupMember* NewMember();
  void FreeMember(TGroupMember* member);

  TGroupMember* m_pFirst = nullptr;
  uint16_t m_X = 0;
  uint16_t m_Y = 0;
  uint8_t m_Visible = 1;
  // The first members live in the group itself: finding the layout of a
  // tile of a short street, every turn for every visible tile, then reads
  // no memory beyond the group.
  static constexpr int kInlineMembers = 3;
  uint8_t m_InlineUsed = 0;  // bit i set: m_Inline[i] is a member
  // The next members of a longer street live side by side in one block
  // that the group takes when the inline ones are used up, so that the walk
  // over them reads a few neighbouring cache lines instead of one scattered
  // member after another; members beyond these are made one by one.
  static constexpr int kBlockMembers = 8;
  uint8_t m_BlockUsed = 0;  // bit i set: m_pBlock[i] is a member
  TGroupMember m_Inline[kInlineMembers];
  struct MemberBlock {
    TGroupMember members[kBlockMembers];
    ZOR_POOLED
  };
  MemberBlock* m_pBlock = nullptr;
};

inline CMicroZellenGroup::TGroupMember* CMicroZellenGroup::FindMember(unsigned short x, unsigned short y) {
  const auto dx = static_cast<uint16_t>(x - m_X), dy = static_cast<uint16_t>(y - m_Y);
  for (TGroupMember* m = m_pFirst; m; m = m->pNext)
    if (m->dx == dx && m->dy == dy) return m;
  return nullptr;
}

inline CQnoMicroZelle* CMicroZellenGroup::FindZelle(unsigned short x, unsigned short y) {
  TGroupMember* m = FindMember(x, y);
  return m ? m->pZelle : nullptr;
}

inline void CMicroZellenGroup::PrefetchTurn(CMicroZellenGroup* group, unsigned short x, unsigned short y,
                                            int stage) {
  if (!group) return;
  if (stage == 3) {
    // The inline members reach into the group's second cache line.
    __builtin_prefetch(group);
    __builtin_prefetch(reinterpret_cast<const char*>(group) + sizeof(CMicroZellenGroup) - 1);
    return;
  }
  // The walk to the tile's member reads the block of members beyond the
  // inline ones: its lines are asked for at once, not one after another.
  if (stage == 2 && group->m_pBlock)
    for (size_t at = 0; at < sizeof(MemberBlock); at += 64)
      __builtin_prefetch(reinterpret_cast<const char*>(group->m_pBlock) + at);
  const CQnoMicroZelle* layout = group->FindZelle(x, y);
  if (!layout) return;
  if (stage == 2)
    layout->PrefetchLayout();
  else if (stage == 1)
    layout->PrefetchCells();
  else if (stage == 0)
    layout->PrefetchScreen();
}
