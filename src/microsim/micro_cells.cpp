#include "microsim/micro_cells.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <memory>
#include <type_traits>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_sprite.h"
#include "framework/zor_seams.h"
#include "iso/iso_blob.h"
#include "iso/iso_welt.h"
#include "microsim/micro_car.h"
#include "worldbase/zor_world_host.h"

namespace {

using Cell = BinaryMicroSimObject;

// Per cell in the pending id table: 4 successors, the predecessor, the
// next render cell.
constexpr int kIdsPerCell = BinaryMicroSimObject::kLinks + 2;
constexpr int kIdPredecessor = BinaryMicroSimObject::kLinks;
constexpr int kIdNextRender = BinaryMicroSimObject::kLinks + 1;
// Bytes of the header and the spare bytes after the cells.
constexpr uint32_t kHeaderBytes = 28;

bool HasNoSuccessor(const Cell& c) {
  for (const Cell* s : c.m_pNachfolger)
    if (s) return false;
  return true;
}

// Removes slot i of the cell's successors, moving the later ones down so
// that the used slots stay the first m_AnzNachfolger; a choice keeps
// naming the same successor.
void DropSlot(Cell* cell, int i) {
  for (int k = i; k + 1 < Cell::kLinks; ++k) cell->m_pNachfolger[k] = cell->m_pNachfolger[k + 1];
  cell->m_pNachfolger[Cell::kLinks - 1] = nullptr;
  if (cell->m_AnzNachfolger > 0) --cell->m_AnzNachfolger;
  if (cell->m_Choice != Cell::kNoChoice) {
    if (cell->m_Choice == i)
      cell->m_Choice = Cell::kNoChoice;
    else if (cell->m_Choice > i)
      --cell->m_Choice;
  }
}

bool CountsForOuterSearch(const Cell* c) {
  return CQnoMicroZelle::IsAussenSpur(c) || c->m_LaneKind == MICR_LANE_NONE || c->m_LaneKind == MICR_LANE_SPECIAL;
}

}  // namespace

int sign(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// ------------------------------------------------------------ creation

int CQnoMicroZelle::s_WholeNetworksGo = 0;

CQnoMicroZelle::~CQnoMicroZelle() {
  if (s_WholeNetworksGo == 0) {
    Remove();
  } else if (m_Vehicles != 0 || m_LinkState == kCopied) {
    // Its neighbours go too; its own cells are freed with it. Only the
    // vehicles, which live on in the car list, are given up.
    for (Cell& c : m_Cells)
      if (CCar* car = c.m_pCar) {
        HoldVehicle(&c, nullptr);
        CCar::Discard(car);
      }
  }
  LeaveTile();
}

void CQnoMicroZelle::PlaceOnTile(int x, int y) {
  LeaveTile();
  if (!IsoInMap(x, y)) return;
  m_OnTile = true;
  m_TileX = static_cast<uint8_t>(x);
  m_TileY = static_cast<uint8_t>(y);
  if (m_Vehicles != 0) CIsoWelt::CountLayoutVehicles(x, y, 1);
}

void CQnoMicroZelle::LeaveTile() {
  if (m_OnTile && m_Vehicles != 0) CIsoWelt::CountLayoutVehicles(m_TileX, m_TileY, -1);
  m_OnTile = false;
}

// The keys follow the layout, the render order the keys, the cells the
// render order.
size_t CQnoMicroZelle::CellsAt(size_t cells) {
  return (sizeof(CQnoMicroZelle) + 2 * cells + alignof(Cell) - 1) / alignof(Cell) * alignof(Cell);
}

// The offsets' copy follows the cells.
size_t CQnoMicroZelle::BlockSize(size_t cells) { return CellsAt(cells) + cells * (sizeof(Cell) + 2 * sizeof(int16_t)); }
static_assert(sizeof(BinaryMicroSimObject) % alignof(int16_t) == 0);

// What the turn reads of a layout before its cells (its last 32 bytes:
// the count, the keys' ids, the link state, the cells' place, and the
// anchor placing reads) lies in the block's second cache line, with the
// first keys behind it.
static_assert(sizeof(CQnoMicroZelle) == 96);

void* CQnoMicroZelle::operator new(size_t, CellRoom room) { return ZorBlockPool::Shared().Allocate(BlockSize(room.cells)); }

void CQnoMicroZelle::operator delete(void* block, CellRoom room) {
  ZorBlockPool::Shared().Free(block, BlockSize(room.cells));
}

void CQnoMicroZelle::operator delete(CQnoMicroZelle* layout, std::destroying_delete_t) {
  const size_t cells = layout->m_Cells.size();
  layout->~CQnoMicroZelle();
  ZorBlockPool::Shared().Free(layout, BlockSize(cells));
}

CQnoMicroZelle* CQnoMicroZelle::Create(const MicroLayoutBlob& resource, bool visible) {
  if (!resource.IsValid()) return nullptr;
  const uint32_t count = resource.CellCount();
  auto* layout = new (CellRoom{count}) CQnoMicroZelle;
  ++s_Made;
  static_assert(std::is_trivially_destructible_v<Cell>, "the cells are given back with the layout's memory");
  Cell* cells = reinterpret_cast<Cell*>(reinterpret_cast<char*>(layout) + CellsAt(count));
  std::uninitialized_default_construct_n(cells, count);
  std::memset(layout->Keys(), 0, count);
  layout->m_Cells = std::span<Cell>(cells, count);
  std::memset(layout->RenderOrder(), kNoRenderCell, count);
  layout->m_Ids.assign(static_cast<size_t>(count) * kIdsPerCell + 1, 0);
  layout->m_Size = kHeaderBytes + count * static_cast<uint32_t>(sizeof(Cell));
  for (uint32_t i = 0; i < count; ++i) {
    const MicroCell src = resource.Cell(i);
    Cell& c = layout->m_Cells[i];
    c.m_ID = src.id;
    c.m_LaneKind = src.laneKind;
    c.m_XOffset = src.x;
    c.m_YOffset = src.y;
    layout->Offsets()[2 * i] = src.x;
    layout->Offsets()[2 * i + 1] = src.y;
    c.m_Locked = src.locked;
    c.m_Visible = visible ? 1 : 0;
    // The stored count is not trusted: Konvert counts what resolves.
    uint32_t* ids = &layout->m_Ids[static_cast<size_t>(i) * kIdsPerCell];
    for (int k = 0; k < Cell::kLinks; ++k) ids[k] = src.successors[k];
    ids[kIdPredecessor] = src.predecessor;
    ids[kIdNextRender] = src.nextRender;
  }
  // Layouts number their cells 1, 2, 3, ... in order: then a cell is found
  // by its id at once, which makes converting the links linear.
  layout->m_IdsInOrder = true;
  for (uint32_t i = 0; i < count && layout->m_IdsInOrder; ++i) layout->m_IdsInOrder = layout->m_Cells[i].m_ID == i + 1;
  layout->m_Ids.back() = resource.FirstRenderId();
  if (resource.FirstRenderId() == 0)
    QNO_ERROR(QNO_SEV_ERROR, "Keine Erste Renderzelle gesetzt f\xC3\xBCr MicroZelle");
  return layout;
}

CQnoMicroZelle* CQnoMicroZelle::Create(QnoResourceManager* resources, unsigned id, bool visible) {
  if (!resources) return nullptr;
  return Create(MicroLayoutBlob::FromResource(resources, id), visible);
}

namespace {

// What lies behind a converted layout (keys, render order, cells and
// their offsets) as the first layout made of a record left it, where its
// cells stood, and which archives the record came from.
struct ConvertedCopy {
  const QnoResourceManager* manager = nullptr;
  uint32_t generation = 0;
  std::vector<unsigned char> bytes;
  uintptr_t cellsAt = 0;
  uint32_t count = 0;
  int32_t firstRender = -1;  // index of the first render cell; -1 for none
  bool idsInOrder = false;
  bool noFirstRenderId = false;
};

std::unordered_map<unsigned, ConvertedCopy>& ConvertedCopies() {
  static std::unordered_map<unsigned, ConvertedCopy> copies;
  return copies;
}

}  // namespace

CQnoMicroZelle* CQnoMicroZelle::CreateConverted(QnoResourceManager* resources, unsigned id, bool visible) {
  if (!resources) return nullptr;
  const MicroLayoutBlob record = MicroLayoutBlob::FromResource(resources, id);
  ConvertedCopy& copy = ConvertedCopies()[id];
  // The copy holds while the same archives are open in the same manager.
  if (!record.Data() || copy.manager != resources || copy.generation != resources->Generation()) {
    CQnoMicroZelle* layout = Create(record, visible);
    if (!layout) return nullptr;
    layout->Konvert();
    const size_t count = layout->m_Cells.size();
    const auto* behind = reinterpret_cast<const unsigned char*>(layout->Keys());
    copy.manager = resources;
    copy.generation = resources->Generation();
    copy.bytes.assign(behind, behind + (BlockSize(count) - sizeof(CQnoMicroZelle)));
    copy.cellsAt = reinterpret_cast<uintptr_t>(layout->m_Cells.data());
    copy.count = static_cast<uint32_t>(count);
    copy.firstRender = layout->m_pFirstRender ? static_cast<int32_t>(layout->m_pFirstRender - layout->m_Cells.data()) : -1;
    copy.idsInOrder = layout->m_IdsInOrder;
    copy.noFirstRenderId = record.FirstRenderId() == 0;
    return layout;
  }
  static_assert(std::is_trivially_copyable_v<Cell>, "the cells are copied as bytes");
  auto* layout = new (CellRoom{copy.count}) CQnoMicroZelle;
  ++s_Made;
  std::memcpy(layout->Keys(), copy.bytes.data(), copy.bytes.size());
  Cell* cells = reinterpret_cast<Cell*>(reinterpret_cast<char*>(layout) + CellsAt(copy.count));
  layout->m_Cells = std::span<Cell>(cells, copy.count);
  const uintptr_t to = reinterpret_cast<uintptr_t>(cells);
  auto moved = [&](Cell* p) { return p ? reinterpret_cast<Cell*>(reinterpret_cast<uintptr_t>(p) - copy.cellsAt + to) : p; };
  for (Cell& c : layout->m_Cells) {
    for (Cell*& next : c.m_pNachfolger) next = moved(next);
    c.m_pVorgaenger = moved(c.m_pVorgaenger);
    c.m_pNextRender = moved(c.m_pNextRender);
    c.m_pOwner = layout;
    c.m_Visible = visible ? 1 : 0;
  }
  layout->m_pFirstRender = copy.firstRender >= 0 ? &cells[copy.firstRender] : nullptr;
  layout->m_Size = kHeaderBytes + copy.count * static_cast<uint32_t>(sizeof(Cell));
  layout->m_IdsInOrder = copy.idsInOrder;
  layout->m_KeysStale = true;
  layout->m_LinkState = kConverted;
  if (copy.noFirstRenderId) QNO_ERROR(QNO_SEV_ERROR, "Keine Erste Renderzelle gesetzt f\xC3\xBCr MicroZelle");
  return layout;
}

CQnoMicroZelle::Cell* CQnoMicroZelle::FindObject(uint32_t id) {
  if (id == 0) return nullptr;
  if (m_IdsInOrder) return id <= m_Cells.size() ? &m_Cells[id - 1] : nullptr;
  for (Cell& c : m_Cells)
    if (c.m_ID == id) return &c;
  return nullptr;
}

int CQnoMicroZelle::Konvert() {
  // The pending ids are gone once converted.
  if (m_Ids.empty()) return 1;
  m_pFirstRender = FindObject(m_Ids.back());
  for (size_t i = 0; i < m_Cells.size(); ++i) {
    Cell& c = m_Cells[i];
    const uint32_t* ids = &m_Ids[i * kIdsPerCell];
    // Successors that resolve take the first slots; the count is theirs.
    int used = 0;
    for (int k = 0; k < Cell::kLinks; ++k) {
      Cell* s = FindObject(ids[k]);
      if (s) c.m_pNachfolger[used++] = s;
    }
    c.m_AnzNachfolger = static_cast<uint8_t>(used);
    c.m_pVorgaenger = FindObject(ids[kIdPredecessor]);
    c.m_pNextRender = FindObject(ids[kIdNextRender]);
    for (Cell*& k : c.m_pConflict) k = nullptr;
    c.m_pOwner = this;
    // From here on HoldVehicle keeps the key's kind.
    Keys()[i] = c.m_CarKind;
  }
  // The walk along the render links, as drawing took it: at most one step
  // a cell, so that links that run in a circle end.
  uint8_t* order = RenderOrder();
  size_t n = 0;
  for (const Cell* c = m_pFirstRender; c && n < m_Cells.size(); c = c->m_pNextRender)
    order[n++] = static_cast<uint8_t>(c - m_Cells.data());
  m_KeysStale = true;
  decltype(m_Ids)().swap(m_Ids);
  m_LinkState = kConverted;
  return 0;
}

// ------------------------------------------------------------ screen and turn

void CQnoMicroZelle::SetScreenPos(int x, int y) {
  ++s_Placed;
  const int16_t* offsets = Offsets();
  for (size_t i = 0; i < m_Cells.size(); ++i) {
    m_Cells[i].m_ScreenX = x + offsets[2 * i];
    m_Cells[i].m_ScreenY = y + offsets[2 * i + 1];
  }
  const bool fits = x > kNoAnchor && x <= INT16_MAX && y > kNoAnchor && y <= INT16_MAX;
  m_AnchorX = fits ? static_cast<int16_t>(x) : kNoAnchor;
  m_AnchorY = fits ? static_cast<int16_t>(y) : kNoAnchor;
}

void CQnoMicroZelle::PrefetchScreen() const {
  const char* offsets = reinterpret_cast<const char*>(Offsets());
  const size_t bytes = 2 * sizeof(int16_t) * m_Cells.size();
  for (size_t at = 0; at < bytes; at += 64) __builtin_prefetch(offsets + at);
  if (bytes > 0) __builtin_prefetch(offsets + bytes - 1);
  for (const Cell& c : m_Cells) __builtin_prefetch(&c.m_ScreenX, 1);
}

int CQnoMicroZelle::TurnRichtung(CQnoMicroZelle* other, int x, int y) {
  if (!other) return 1;
  int16_t* offsets = Offsets();
  for (size_t i = 0; i < m_Cells.size(); ++i) {
    Cell& c = m_Cells[i];
    const Cell* same = other->FindObject(c.m_ID);
    if (!same) continue;
    c.m_XOffset = offsets[2 * i] = same->m_XOffset;
    c.m_YOffset = offsets[2 * i + 1] = same->m_YOffset;
  }
  SetScreenPos(x, y);
  return 0;
}

void CQnoMicroZelle::Turn() {
  for (Cell& c : m_Cells) {
    Cell* s = c.m_pNachfolger[0];
    if (!s) continue;
    DropSlot(&c, 0);
    c.m_pVorgaenger = s;
    s->m_pVorgaenger = nullptr;
    // The cell becomes the successor's first one; the others move up.
    if (s->m_AnzNachfolger < Cell::kLinks) {
      for (int k = s->m_AnzNachfolger; k > 0; --k) s->m_pNachfolger[k] = s->m_pNachfolger[k - 1];
      ++s->m_AnzNachfolger;
      if (s->m_Choice != Cell::kNoChoice) ++s->m_Choice;
    }
    s->m_pNachfolger[0] = &c;
    return;
  }
}

void CQnoMicroZelle::SetNachfolger(Cell* cell, Cell* succ) {
  if (!cell || !succ) return;
  for (Cell*& slot : cell->m_pNachfolger) {
    if (slot) continue;
    slot = succ;
    succ->m_pVorgaenger = cell;
    ++cell->m_AnzNachfolger;
    m_LinkState = kLinked;
    CQnoMicroZelle* from = cell->m_pOwner;
    CQnoMicroZelle* to = succ->m_pOwner;
    if (from && to && from != to) {
      from->AddNeighbour(to);
      to->AddNeighbour(from);
    }
    return;
  }
}

void CQnoMicroZelle::HoldVehicle(Cell* cell, CCar* car) {
  HoldVehicle(cell, car, !car ? Cell::kNoVehicle : car->IsAuto() ? Cell::kPrivateCar : Cell::kLineVehicle);
}

void CQnoMicroZelle::HoldVehicle(Cell* cell, CCar* car, uint8_t kind) {
  if (!cell) return;
  CQnoMicroZelle* owner = cell->m_pOwner;
  if (owner && !cell->m_pCar != !car) {
    owner->m_Vehicles += car ? 1 : -1;
    // The first vehicle came or the last went.
    if (owner->m_OnTile && owner->m_Vehicles == (car ? 1 : 0))
      CIsoWelt::CountLayoutVehicles(owner->m_TileX, owner->m_TileY, car ? 1 : -1);
  }
  cell->m_pCar = car;
  cell->m_CarKind = kind;
  if (owner) {
    uint8_t& key = owner->Keys()[cell - owner->m_Cells.data()];
    key = static_cast<uint8_t>((key & ~kKeyKind) | cell->m_CarKind);
  }
  if (!car) {
    cell->m_CarSize = 0;
    cell->m_CarSpeed = 0;
    return;
  }
  const int size = car->GetCarSizeType();
  cell->m_CarSize = size >= 0 && size < Cell::kOtherSize ? static_cast<uint8_t>(size) : Cell::kOtherSize;
  // A speed beyond 16 bits is out of range either way, as it was.
  cell->m_CarSpeed = static_cast<int16_t>(std::clamp(car->GetMaxSpeed(), -32768, 32767));
}

void CQnoMicroZelle::AddNeighbour(CQnoMicroZelle* other) {
  if (std::find(m_Neighbours.begin(), m_Neighbours.end(), other) == m_Neighbours.end()) m_Neighbours.push_back(other);
}

// ------------------------------------------------------------ queries

CQnoMicroZelle::Cell* CQnoMicroZelle::FindExitZelle(int n) {
  for (Cell& c : m_Cells)
    if (HasNoSuccessor(c) && !c.m_Closed && n-- == 0) return &c;
  return nullptr;
}

CQnoMicroZelle::Cell* CQnoMicroZelle::FindEntryZelle(int n) {
  for (Cell& c : m_Cells)
    if (!c.m_pVorgaenger && c.m_Closed != Cell::kClosedLane && n-- == 0) return &c;
  return nullptr;
}

int CQnoMicroZelle::ExitZellen(Cell** out) {
  int n = 0;
  for (Cell& c : m_Cells)
    if (HasNoSuccessor(c) && !c.m_Closed) out[n++] = &c;
  return n;
}

int CQnoMicroZelle::EntryZellen(Cell** out) {
  int n = 0;
  for (Cell& c : m_Cells)
    if (!c.m_pVorgaenger && c.m_Closed != Cell::kClosedLane) out[n++] = &c;
  return n;
}

CQnoMicroZelle::Cell* CQnoMicroZelle::GetRandomZelle() {
  if (m_Cells.empty()) return nullptr;
  // The chance stays below 1, so the index below the count.
  return &m_Cells[static_cast<size_t>(static_cast<double>(m_Cells.size()) * zor_view_random().Chance())];
}

CQnoMicroZelle::Cell* CQnoMicroZelle::HasSucessor(CQnoMicroZelle* other, int n) {
  if (!other || n < 0) return nullptr;
  // Pairs are counted cell by cell of this layout first, so the n-th pair
  // lies in the cell whose links into `other` reach past n.
  for (Cell& c : m_Cells) {
    int count = 0;
    for (const Cell* s : c.m_pNachfolger) count += other->Owns(s) ? 1 : 0;
    if (n < count) return &c;
    n -= count;
  }
  return nullptr;
}

CQnoMicroZelle::Cell* CQnoMicroZelle::HasSimID(uint16_t simId, bool outerLane) {
  for (Cell& c : m_Cells)
    if (c.m_SimID == simId && (!outerLane || IsAussenSpur(&c))) return &c;
  return nullptr;
}

CQnoMicroZelle::Cell* CQnoMicroZelle::HasSimIDAndNoBusspur(uint16_t simId) {
  for (Cell& c : m_Cells)
    if (c.m_SimID == simId && !IsAussenSpur(&c)) return &c;
  return nullptr;
}

bool CQnoMicroZelle::IsAussenSpur(const Cell* cell) { return cell && MicroLaneIsOuter(cell->m_LaneKind); }

// ------------------------------------------------------------ sim ids

void CQnoMicroZelle::SetFirstSimID(uint16_t simId) {
  if (simId == 0) return;
  m_KeysStale = true;
  for (Cell& c : m_Cells) c.m_SimID = simId;
}

void CQnoMicroZelle::SetSecSimID(uint16_t simId) {
  if (simId == 0) return;
  m_KeysStale = true;
  for (Cell& c : m_Cells)
    if (c.m_LaneKind != MICR_LANE_NONE && c.m_LaneKind != MICR_LANE_SPECIAL && !IsAussenSpur(&c)) c.m_SimID = simId;
}

void CQnoMicroZelle::SetFirstSimID(Cell* cell, uint16_t simId) {
  if (!cell || simId == 0) return;
  m_KeysStale = true;
  // A ring of predecessors ends after every cell had its turn.
  for (size_t steps = 0; Owns(cell) && steps < m_Cells.size(); ++steps) {
    cell->m_SimID = simId;
    cell = cell->m_pVorgaenger;
  }
}

void CQnoMicroZelle::SetSecSimID(Cell* cell, uint16_t simId) {
  // A way that ends in the cell carries no direction there.
  if (!cell || simId == 0 || cell->m_Closed == Cell::kWayEnds) return;
  m_KeysStale = true;
  for (size_t steps = 0; Owns(cell) && steps < m_Cells.size(); ++steps) {
    cell->m_SimID = simId;
    cell = cell->m_pNachfolger[0];
  }
}

void CQnoMicroZelle::MarkSimIDs(uint16_t simId1, uint16_t simId2) {
  uint8_t* keys = Keys();
  for (size_t i = 0; i < m_Cells.size(); ++i) {
    const uint16_t id = m_Cells[i].m_SimID;
    const uint8_t side = id == simId1 ? kKeyFirst : id == simId2 ? kKeySecond : 0;
    keys[i] = static_cast<uint8_t>((keys[i] & kKeyKind) | side);
  }
  m_KeyId1 = simId1;
  m_KeyId2 = simId2;
  m_KeysStale = false;
}

void CQnoMicroZelle::CheckKeys() const {
  const uint8_t* keys = Keys();
  for (size_t i = 0; i < m_Cells.size(); ++i) {
    const Cell& c = m_Cells[i];
    const uint8_t side = c.m_SimID == m_KeyId1 ? kKeyFirst : c.m_SimID == m_KeyId2 ? kKeySecond : 0;
    // A sim id written past the layout's own functions without
    // SimIDsChanged, or a vehicle held past HoldVehicle.
    if ((keys[i] & kKeyKind) != c.m_CarKind || (!m_KeysStale && (keys[i] & ~kKeyKind) != side))
      QNO_ERROR(QNO_SEV_ERROR, "MicroZelle: Zellschl\xC3\xBCssel %d veraltet", static_cast<int>(i));
    assert((keys[i] & kKeyKind) == c.m_CarKind);
    assert(m_KeysStale || (keys[i] & ~kKeyKind) == side);
  }
}

void CQnoMicroZelle::UpdateSimID() {
  m_KeysStale = true;
  const size_t limit = m_Cells.size();
  for (Cell& exit : m_Cells) {
    if (!HasNoSuccessor(exit)) continue;
    Cell* c = &exit;
    for (size_t steps = 0; Owns(c) && steps < limit; ++steps) {
      Cell* pred = c->m_pVorgaenger;
      if (c->m_SimID == 0) {
        if (Owns(pred) && pred->m_SimID)
          c->m_SimID = pred->m_SimID;
        else if (Owns(c->m_pNachfolger[0]) && c->m_pNachfolger[0]->m_SimID)
          c->m_SimID = c->m_pNachfolger[0]->m_SimID;
      }
      c = pred;
    }
  }
  for (Cell& entry : m_Cells) {
    if (entry.m_pVorgaenger) continue;
    Cell* c = &entry;
    for (size_t steps = 0; Owns(c) && steps < limit; ++steps) {
      Cell* next = c->m_pNachfolger[0];
      if (c->m_SimID == 0 && Owns(next)) c->m_SimID = next->m_SimID;
      if (Owns(c->m_pVorgaenger) && c->m_pVorgaenger->m_SimID == 0) c->m_pVorgaenger->m_SimID = c->m_SimID;
      c = next;
    }
  }
}

int CQnoMicroZelle::GetAuslStreet(int i, Cell* cell, bool outerLane) {
  if (!cell || i < 0 || i >= Cell::kLinks) return 0;
  Cell* c = cell->m_pNachfolger[i];
  if (!c) return 0;
  for (int steps = 1;; ++steps) {
    if (c->m_SimID && (!outerLane || CountsForOuterSearch(c))) return c->m_SimID;
    Cell* next = c->m_pNachfolger[0];
    if (!next || steps >= kMaxWalk) return c->m_SimID;
    c = next;
  }
}

namespace {

// Depth-first search for a cell with the sim id; a cell is looked at while
// its remaining depth is above 0. Cells already searched without success at
// this depth or deeper are not searched again, so that meshes of branches
// stay cheap.
struct SimIdSearch {
  uint16_t simId;
  std::unordered_map<const Cell*, int> searched;

  static bool Counts(const Cell* c) {
    return (c->m_pOwner && c->m_pOwner->GetCount() <= 6) || CQnoMicroZelle::IsAussenSpur(c) ||
           c->m_LaneKind == MICR_LANE_SPECIAL;
  }

  Cell* Visit(Cell* cell, int depth) {
    if (depth <= 0) return nullptr;
    if (cell->m_SimID == simId && Counts(cell)) return cell;
    auto it = searched.find(cell);
    if (it != searched.end() && it->second >= depth) return nullptr;
    for (Cell* s : cell->m_pNachfolger)
      if (s)
        if (Cell* found = Visit(s, depth - 1)) return found;
    searched[cell] = depth;
    return nullptr;
  }
};

}  // namespace

CQnoMicroZelle::Cell* CQnoMicroZelle::IndexRunToZelleWithSimID(Cell* cell, int& index, uint16_t simId, int depth) {
  index = -1;
  if (!cell) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pZelle==NULL");
    return nullptr;
  }
  // The starting cell itself never counts.
  SimIdSearch search{simId, {}};
  for (int k = 0; k < Cell::kLinks; ++k) {
    Cell* s = cell->m_pNachfolger[k];
    if (!s) continue;
    if (Cell* found = search.Visit(s, depth - 1)) {
      index = k;
      return found;
    }
  }
  return nullptr;
}

// ------------------------------------------------------------ visibility, removal

void CQnoMicroZelle::SetVisible(bool visible) {
  for (Cell& c : m_Cells) c.m_Visible = visible ? 1 : 0;
}

bool CQnoMicroZelle::IsVisible() const {
  return std::all_of(m_Cells.begin(), m_Cells.end(), [](const Cell& c) { return c.m_Visible != 0; });
}

void CQnoMicroZelle::Remove() {
  // Cells elsewhere forget the cells of this layout: successor slots that
  // name one are dropped (the predecessor's count lowered), predecessors
  // that name one cleared.
  for (CQnoMicroZelle* n : m_Neighbours) {
    for (Cell& x : n->m_Cells) {
      for (int k = 0; k < Cell::kLinks;) {
        if (Owns(x.m_pNachfolger[k]))
          DropSlot(&x, k);
        else
          ++k;
      }
      if (Owns(x.m_pVorgaenger)) x.m_pVorgaenger = nullptr;
    }
    std::erase(n->m_Neighbours, this);
  }
  m_Neighbours.clear();
  for (Cell& c : m_Cells) {
    c.m_pVorgaenger = nullptr;
    for (Cell*& s : c.m_pNachfolger) s = nullptr;
    c.m_AnzNachfolger = 0;
    c.m_Choice = Cell::kNoChoice;
    if (CCar* car = c.m_pCar) {
      HoldVehicle(&c, nullptr);
      CCar::Discard(car);
      c.m_Position = Cell::kNoPosition;
    }
  }
}

int CQnoMicroZelle::CloseExit(Cell* exit) {
  if (!Owns(exit) || exit->m_Closed || !HasNoSuccessor(*exit)) return 0;
  std::vector<Cell*> open{exit};
  std::vector<bool> closed(m_Cells.size(), false);
  int count = 0;
  while (!open.empty()) {
    Cell* c = open.back();
    open.pop_back();
    const auto index = static_cast<size_t>(c - m_Cells.data());
    if (closed[index]) continue;
    closed[index] = true;
    c->m_SimID = 0;
    m_KeysStale = true;
    if (c != exit && !Owns(c->m_pVorgaenger)) {
      c->m_Closed = Cell::kWayEnds;
      continue;
    }
    c->m_Closed = Cell::kClosedLane;
    ++count;
    for (Cell& x : m_Cells) {
      bool dropped = false;
      for (int k = 0; k < Cell::kLinks;) {
        if (x.m_pNachfolger[k] == c) {
          DropSlot(&x, k);
          dropped = true;
        } else {
          ++k;
        }
      }
      if (dropped && HasNoSuccessor(x)) open.push_back(&x);
    }
  }
  return count;
}

// ------------------------------------------------------------ drawing

int MicroDirection(int dx, int dy) {
  const double pi = std::numbers::pi;
  const double a = std::atan2(100.0 * dy, 100.0 * dx);
  int i = static_cast<int>(std::floor(a * 64.0 / (2.0 * pi)));
  if (i < 0) i += 64;
  int q = i / 4;
  if ((a > 0.0 && a < pi / 2.0) || (a <= 0.0 && -a >= pi / 2.0)) ++q;
  const int dir = 4 * q + 40;
  return dir > 63 ? dir - 64 : dir;
}

namespace {

// The sprite directions of every pixel step between two cells up to
// kDirectionReach either way, worked out once by MicroDirection, so that
// placing a car's sprite every turn costs one look-up instead of an atan2.
constexpr int kDirectionReach = 96;
constexpr int kDirectionSide = 2 * kDirectionReach + 1;

struct DirectionTable {
  DirectionTable() {
    for (int dy = -kDirectionReach; dy <= kDirectionReach; ++dy)
      for (int dx = -kDirectionReach; dx <= kDirectionReach; ++dx)
        dir[dy + kDirectionReach][dx + kDirectionReach] = static_cast<uint8_t>(MicroDirection(dx, dy));
  }
  uint8_t dir[kDirectionSide][kDirectionSide];
};

// Made before the game starts, so that a look-up needs no guard.
const DirectionTable g_DirectionTable;

// Steps beyond the table, out of line: the look-up then needs no registers
// saved for the angle's arithmetic.
[[gnu::noinline]] int FarDirection(int dx, int dy) { return MicroDirection(dx, dy); }

int TableDirection(int dx, int dy) {
  if (static_cast<unsigned>(dx) + kDirectionReach >= unsigned{kDirectionSide} ||
      static_cast<unsigned>(dy) + kDirectionReach >= unsigned{kDirectionSide})
    return FarDirection(dx, dy);
  return g_DirectionTable.dir[dy + kDirectionReach][dx + kDirectionReach];
}

}  // namespace

bool CQnoMicroZelle::CalcRichtung(int& dir, const Cell* cell) const {
  dir = 0;
  if (!cell || cell->m_Choice >= Cell::kLinks || !cell->m_pNachfolger[cell->m_Choice]) return false;
  const Cell* next = cell->m_pNachfolger[cell->m_Choice];
  dir = TableDirection(next->m_ScreenX - cell->m_ScreenX, next->m_ScreenY - cell->m_ScreenY);
  return true;
}

void CQnoMicroZelle::CalcCarPos(int& x, int& y, const Cell* cell) const {
  x = cell->m_ScreenX + static_cast<int>(cell->m_CarX);
  y = cell->m_ScreenY + static_cast<int>(cell->m_CarY);
}

int CQnoMicroZelle::Render(QnoDisplay* display) {
  if (!display) return 1;
  // The cell view is asked for once a layout, not once a cell.
  if (CWorldHost::Get()->GetShowMicroZellen())
    for (const Cell& c : m_Cells) RenderMicroZellenTest(display->GetRenderBuffer(), &c);
  // A converted layout counts the cells that hold a vehicle, and the keys
  // say which: the walk in the render order reads only those cells (one
  // not converted has no render order yet and draws nothing).
  if (m_Vehicles == 0) return 0;
  // The cells are asked for all at once, so that their waits for memory
  // overlap.
  const uint8_t* keys = Keys();
  const uint8_t* order = RenderOrder();
  uint8_t held[256];
  size_t count = 0;
  for (size_t n = 0; n < m_Cells.size() && order[n] != kNoRenderCell; ++n) {
    if (!(keys[order[n]] & kKeyKind)) continue;
    held[count++] = order[n];
    __builtin_prefetch(&m_Cells[order[n]]);
    __builtin_prefetch(&m_Cells[order[n]].m_CarY);
  }
  for (size_t k = 0; k < count; ++k) {
    const Cell* c = &m_Cells[held[k]];
    if (c->m_Position == Cell::kNoPosition || c->m_Choice == Cell::kNoChoice) continue;
    int dir = 0, x = 0, y = 0;
    CalcRichtung(dir, c);
    CalcCarPos(x, y, c);
    c->m_pCar->Render(display, dir, x, y);
  }
  return 0;
}

void CQnoMicroZelle::RenderMicroZellenTest(QnoRenderBuffer* buffer, const Cell* cell) {
  if (!buffer || !cell || !CWorldHost::Get()->GetShowMicroZellen()) return;
  const uint32_t red = buffer->GetClosestColor(255, 0, 20);
  const uint32_t green = buffer->GetClosestColor(0, 255, 20);
  const int x = cell->m_ScreenX, y = cell->m_ScreenY;
  // FillRect leaves out the right and bottom edges.
  auto square = [&](uint32_t colour) { buffer->FillRect(x - 2, y - 2, x + 3, y + 3, colour); };
  square(cell->m_Position == 1 ? red : green);
  for (const Cell* s : cell->m_pNachfolger) {
    if (!s) break;
    const bool above = s->m_ScreenY <= y;
    const uint32_t colour = above ? red : green;
    const int shift = above ? 0 : 2;
    square(colour);
    CIsoSprite::Line(buffer, s->m_ScreenX, s->m_ScreenY + shift, x, y + shift, static_cast<uint16_t>(colour));
  }
}

// ------------------------------------------------------------ group

CMicroZellenGroup::~CMicroZellenGroup() {
  Destroy();
  delete m_pBlock;
}

int CMicroZellenGroup::Create(unsigned short x, unsigned short y) {
  m_X = x;
  m_Y = y;
  m_pFirst = nullptr;
  m_InlineUsed = 0;
  m_BlockUsed = 0;
  m_Visible = 1;
  return 0;
}

CMicroZellenGroup::TGroupMember* CMicroZellenGroup::NewMember() {
  for (int i = 0; i < kInlineMembers; ++i)
    if (!(m_InlineUsed & (1u << i))) {
      m_InlineUsed = static_cast<uint8_t>(m_InlineUsed | (1u << i));
      m_Inline[i] = TGroupMember{};
      return &m_Inline[i];
    }
  if (!m_pBlock) m_pBlock = new MemberBlock;
  for (int i = 0; i < kBlockMembers; ++i)
    if (!(m_BlockUsed & (1u << i))) {
      m_BlockUsed = static_cast<uint8_t>(m_BlockUsed | (1u << i));
      m_pBlock->members[i] = TGroupMember{};
      return &m_pBlock->members[i];
    }
  return new TGroupMember;
}

void CMicroZellenGroup::FreeMember(TGroupMember* member) {
  for (int i = 0; i < kInlineMembers; ++i)
    if (member == &m_Inline[i]) {
      m_InlineUsed = static_cast<uint8_t>(m_InlineUsed & ~(1u << i));
      return;
    }
  if (m_pBlock)
    for (int i = 0; i < kBlockMembers; ++i)
      if (member == &m_pBlock->members[i]) {
        m_BlockUsed = static_cast<uint8_t>(m_BlockUsed & ~(1u << i));
        return;
      }
  delete member;
}

int CMicroZellenGroup::AddZelle(CQnoMicroZelle* zelle, unsigned short x, unsigned short y) {
  TGroupMember* member = NewMember();
  member->dx = static_cast<uint16_t>(x - m_X);
  member->dy = static_cast<uint16_t>(y - m_Y);
  member->pZelle = zelle;
  if (zelle) zelle->PlaceOnTile(x, y);
  TGroupMember** tail = &m_pFirst;
  while (*tail) tail = &(*tail)->pNext;
  *tail = member;
  return 0;
}

int CMicroZellenGroup::Destroy() {
  while (TGroupMember* m = m_pFirst) {
    m_pFirst = m->pNext;
    // The layout's destructor detaches it (see WholeNetworksGo).
    delete m->pZelle;
    FreeMember(m);
  }
  return 0;
}

int CMicroZellenGroup::DestroyAt(unsigned short x, unsigned short y) {
  TGroupMember* m = FindMember(x, y);
  if (!m) return 1;
  if (TGroupMember* prev = FindPrev(m))
    prev->pNext = m->pNext;
  else
    m_pFirst = m->pNext;
  FreeMember(m);
  return 0;
}

CMicroZellenGroup::TGroupMember* CMicroZellenGroup::FindPrev(TGroupMember* member) {
  for (TGroupMember* m = m_pFirst; m; m = m->pNext)
    if (m->pNext == member) return m;
  return nullptr;
}

bool CMicroZellenGroup::IsVisible() const {
  if (!m_Visible) return false;
  for (const TGroupMember* m = m_pFirst; m; m = m->pNext)
    if (m->pZelle && !m->pZelle->IsVisible()) return false;
  return true;
}

void CMicroZellenGroup::SetVisible(bool visible) {
  for (TGroupMember* m = m_pFirst; m; m = m->pNext)
    if (m->pZelle) m->pZelle->SetVisible(visible);
  m_Visible = visible ? 1 : 0;
}

BinaryMicroSimObject* CMicroZellenGroup::FindMember(unsigned short x, unsigned short y, uint16_t simId,
                                                    bool outerLane) {
  CQnoMicroZelle* z = FindZelle(x, y);
  return z && simId ? z->HasSimID(simId, outerLane) : nullptr;
}

BinaryMicroSimObject* CMicroZellenGroup::FindMemberNoBusspur(unsigned short x, unsigned short y, uint16_t simId) {
  CQnoMicroZelle* z = FindZelle(x, y);
  return z && simId ? z->HasSimIDAndNoBusspur(simId) : nullptr;
}

BinaryMicroSimObject* CMicroZellenGroup::FindEntryZelle(int n, unsigned short x, unsigned short y) {
  CQnoMicroZelle* z = FindZelle(x, y);
  return z ? z->FindEntryZelle(n) : nullptr;
}

BinaryMicroSimObject* CMicroZellenGroup::FindExitZelle(int n, unsigned short x, unsigned short y) {
  CQnoMicroZelle* z = FindZelle(x, y);
  return z ? z->FindExitZelle(n) : nullptr;
}

BinaryMicroSimObject* CMicroZellenGroup::GetRandomZelle(unsigned short x, unsigned short y) {
  CQnoMicroZelle* z = FindZelle(x, y);
  return z ? z->GetRandomZelle() : nullptr;
}

int CMicroZellenGroup::Turn(CQnoMicroZelle* other, unsigned short x, unsigned short y, int sx, int sy) {
  CQnoMicroZelle* z = FindZelle(x, y);
  return z ? z->TurnRichtung(other, sx, sy) : 1;
}

int CMicroZellenGroup::UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) {
  CQnoMicroZelle* z = FindZelle(x, y);
  if (!z) return 1;
  z->UpdateScreenPos(sx, sy);
  return 0;
}

int CMicroZellenGroup::MoveCars(unsigned short x, unsigned short y, bool busLane) {
  CQnoMicroZelle* z = FindZelle(x, y);
  return z ? z->MoveCars(x, y, busLane) : 0;
}

void CMicroZellenGroup::ZaehleAutos(unsigned short x, unsigned short y, uint16_t simId1, uint16_t simId2,
                                    int& count1, int& count2, int& surplus1, int& surplus2, int rate1, int rate2) {
  if (CQnoMicroZelle* z = FindZelle(x, y)) z->ZaehleAutos(simId1, simId2, count1, count2, surplus1, surplus2, rate1, rate2);
}

int CMicroZellenGroup::SetCar(BinaryMicroSimObject* cell, unsigned short x, unsigned short y, CCar* car,
                              bool checkRoom) {
  if (!cell || !car) return 2;
  CQnoMicroZelle* z = FindZelle(x, y);
  return z ? z->SetzeFahrzeug(cell, car, 0, false, checkRoom, false) : 2;
}

int CMicroZellenGroup::Render(QnoDisplay* display, unsigned short x, unsigned short y, int /*zoom*/) {
  CQnoMicroZelle* z = FindZelle(x, y);
  if (!z) return 1;
  return m_Visible ? z->Render(display) : 0;
}

BinaryMicroSimObject* CMicroZellenGroup::FindZelleWithTargetJunction(CMicroZellenGroup* junction,
                                                                    unsigned short /*x*/, unsigned short /*y*/,
                                                                    int n) {
  if (!junction) return nullptr;
  for (TGroupMember* m = m_pFirst; m; m = m->pNext) {
    if (!m->pZelle) continue;
    for (TGroupMember* j = junction->m_pFirst; j; j = j->pNext)
      if (BinaryMicroSimObject* c = m->pZelle->HasSucessor(j->pZelle, n)) return c;
  }
  return nullptr;
}
