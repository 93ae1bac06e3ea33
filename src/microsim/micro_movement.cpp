// Counting, spawning, moving and placing the vehicles of a layout.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <utility>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "iso/iso_geometry.h"
#include "iso/iso_screen_tiles.h"
#include "iso/iso_welt.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "microsim/micro_host.h"
#include "microsim/micro_simulation.h"
#include "worldbase/zor_world_host.h"

namespace {

using Cell = BinaryMicroSimObject;

// 10 x the pixel length of a step whose squared length is below
// kDistanceReach, by that square, worked out once by
// CMicroSimulation::CalcDistance's rule: the moves ask for a cell's
// distance to its successor several times a vehicle and turn. The steps
// between neighbouring cells are short, so the few squares they have lie
// together at the table's start.
constexpr int64_t kDistanceReach = int64_t{1} << 14;

struct DistanceTable {
  DistanceTable() {
    for (int64_t n = 0; n < kDistanceReach; ++n) length[n] = 10.0 * std::sqrt(static_cast<double>(n));
  }
  double length[kDistanceReach];
};

// Made before the game starts, so that a look-up pays no check whether it
// was made yet.
const DistanceTable g_DistanceTable;

// The step from a to b: its pixels along each axis and 10 x its length.
struct Step {
  int64_t dx, dy;
  double d;
};

inline Step StepTo(const Cell* a, const Cell* b) {
  const int64_t dx = int64_t{b->m_ScreenX} - a->m_ScreenX, dy = int64_t{b->m_ScreenY} - a->m_ScreenY;
  const int64_t square = dx * dx + dy * dy;
  return {dx, dy, square < kDistanceReach ? g_DistanceTable.length[square] : CMicroSimulation::CalcDistance(a, b)};
}

inline double Distance(const Cell* a, const Cell* b) { return StepTo(a, b).d; }

}  // namespace

double MicroCellDistance(const BinaryMicroSimObject* a, const BinaryMicroSimObject* b) { return Distance(a, b); }

namespace {

void LockConflicts(Cell* cell, uint8_t locked) {
  // Most cells have no conflict cells: one test finds that.
  Cell* const* conflict = cell->m_pConflict;
  static_assert(Cell::kLinks == 4);
  if (!(reinterpret_cast<uintptr_t>(conflict[0]) | reinterpret_cast<uintptr_t>(conflict[1]) |
        reinterpret_cast<uintptr_t>(conflict[2]) | reinterpret_cast<uintptr_t>(conflict[3])))
    return;
  for (Cell* c : cell->m_pConflict)
    if (c) c->m_Locked = locked;
}

// Takes the vehicle out of its cell: position none, no vehicle, the
// vehicle told it has no cell, the conflict cells unlocked.
void EmptyCell(Cell* cell, CCar* car) {
  cell->m_Position = Cell::kNoPosition;
  CQnoMicroZelle::HoldVehicle(cell, nullptr);
  car->SetMicroSimObject(nullptr);
  LockConflicts(cell, 0);
}

// A sprite offset beyond 700 pixels either way means a broken link.
constexpr double kFarDistance = 7000.0;  // tenths of a pixel
void WarnFarOffset(const Cell* cell) {
  if (std::fabs(cell->m_CarX) > 700 || std::fabs(cell->m_CarY) > 700)
    QNO_ERROR(QNO_SEV_WARNING, "CarOffset zu gro\xC3\x9F !!!! %d/%d", static_cast<int>(cell->m_CarX),
              static_cast<int>(cell->m_CarY));
}

// Where a vehicle drawn at `from` sits, seen from `target`: the sprite
// offset and the position that keep it in place.
void KeepDrawnAt(Cell* target, const Cell* from) {
  const float dx = static_cast<float>(from->m_ScreenX - target->m_ScreenX);
  const float dy = static_cast<float>(from->m_ScreenY - target->m_ScreenY);
  target->m_CarX = dx;
  target->m_CarY = dy;
  target->m_Position = static_cast<int32_t>(10.0 * std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
  target->m_TimeStamp = CMicroSimHost::Get()->GetWorldTime();
  WarnFarOffset(target);
}

// The vehicle stays in its cell `distance` tenths on from the cell's point
// towards `next` (d tenths away), having stood at position p: its offset,
// position and time stamp written without taking it out and in again.
// `step` leads from the cell to `next`; `now` is the world time to stamp.
inline void StayInCell(Cell* cell, const Step& step, int32_t p, double distance, uint32_t now) {
  const double d = step.d;
  // The distance cut to whole tenths within 0 and the step: clamped
  // before it is cut, which gives the same whole number as cutting first
  // (d is never below 0) for every distance an int holds.
  const int offset = static_cast<int>(std::min(std::max(distance, 0.0), d));
  cell->m_TimeStamp = now;
  cell->m_OldPosition = p;
  // d less a whole number of tenths between 0 and d is exact (d is far
  // below 2^52), so its whole part is d's whole part less the offset: the
  // position needs no conversion back and forth after the offset's.
  cell->m_Position = static_cast<int32_t>(d) - offset;
  if (d > 0) {
    // Both axes in one division of a pair: each lane is the division of
    // its own axis, as two divisions would give it, at half the divider's
    // time.
    using Pair = double __attribute__((vector_size(16)));
    const Pair axes = {static_cast<double>(step.dx), static_cast<double>(step.dy)};
    const Pair offsets = axes * static_cast<double>(offset) / d;
    cell->m_CarX = static_cast<float>(offsets[0]);
    cell->m_CarY = static_cast<float>(offsets[1]);
  } else {
    cell->m_CarX = cell->m_CarY = 0.0f;
  }
  // d is 10 x the pixel length of the step to `next`, which no axis of it
  // exceeds, and the offset is at most d: below kFarDistance neither
  // component can pass 700 pixels.
  if (d > kFarDistance) WarnFarOffset(cell);
}

// Whether a vehicle `distance` tenths past its cell's point goes on into
// `next`, d tenths away: the next cell is free and unlocked and it is
// reached.
inline bool MovesOn(const Cell* next, double d, double distance) {
  return !next->m_Locked && next->m_Position == Cell::kNoPosition && d < distance;
}

// Where a private car that leaves `cell` for `next` with `rest` tenths to
// go on past next's point stops, as MoveOn would find it, when that is in
// `next`: the cell next leads on to, with the step from next to it in `out`,
// else null (MoveOn walks the other cases). Read before anything is written, so nothing that leaving `cell`
// changes may decide it: the cell on must not be `cell` itself nor one of
// its conflict cells, which leaving unlocks.
Cell* StaysIn(const Cell* cell, Cell* next, double rest, bool busLane, Step& out) {
  Cell* after = next->m_Choice < Cell::kLinks ? next->m_pNachfolger[next->m_Choice]
                : next->m_Choice == Cell::kNoChoice && next->m_AnzNachfolger <= 1 ? next->m_pNachfolger[0]
                                                                                   : nullptr;
  if (!after || after == cell || !next->m_Visible || next->m_pCar) return nullptr;
  out = StepTo(next, after);
  if (MovesOn(after, out.d, rest) || (busLane && CQnoMicroZelle::IsAussenSpur(next)))
    return nullptr;
  for (const Cell* c : cell->m_pConflict)
    if (c == after) return nullptr;
  return after;
}

// Whether the vehicle is a private car: read beside it in its cell while
// the cell holds it, else asked of the vehicle.
bool IsPrivateCar(const Cell* cell, const CCar* car) {
  return cell && cell->m_pCar == car ? cell->m_CarKind == Cell::kPrivateCar : car->IsAuto();
}

}  // namespace

int MicroZoomFactor() { return static_cast<int>(g_ZoomStufe) / 2 + 1; }

namespace {

// A vehicle's length by the size type a cell keeps beside it (0..4, then
// kOtherSize for any other), at full size and halved at zoom factor 2.
constexpr int kLength[2][Cell::kOtherSize + 1] = {{160, 140, 320, 320, 320, 500}, {80, 70, 160, 160, 160, 250}};

// kLength by every value a cell's size byte can hold (kOtherSize and above
// give the other size's length), so that a look-up needs no clamp. Kept
// as doubles, which the gap search adds them to: whole numbers this small
// sum the same either way.
struct CellLengths {
  constexpr CellLengths() {
    for (int zoom = 0; zoom < 2; ++zoom)
      for (int size = 0; size < 256; ++size) length[zoom][size] = kLength[zoom][std::min<int>(size, Cell::kOtherSize)];
  }
  double length[2][256] = {};
};
constexpr CellLengths kCellLengths;

inline int CellCarLength(uint8_t size, int zf) { return static_cast<int>(kCellLengths.length[zf == 2][size]); }

// The row of kCellLengths for zoom factor zf.
inline const double* CarLengths(int zf) { return kCellLengths.length[zf == 2]; }

}  // namespace

int Laenge(int sizeType, int zf) {
  return kLength[zf == 2][sizeType >= 0 && sizeType < Cell::kOtherSize ? sizeType : Cell::kOtherSize];
}

namespace {

// CalcMaxSpeed for the street of that sim id, inline in the move.
inline int SpeedClass(uint16_t simId, int& speed) {
  double v = 0.0;
  if (!CMicroSimHost::Get()->GetStreetVelocity(simId, v)) {
    speed = 0;
    return 1;
  }
  speed = v < 3.0 ? 22 : v < 9.0 ? 34 : v < 14.9 ? 57 : 80;
  return 0;
}

}  // namespace

int CQnoMicroZelle::CalcMaxSpeed(const Cell* cell, int& speed) {
  if (!cell) {
    speed = 0;
    return 1;
  }
  return SpeedClass(cell->m_SimID, speed);
}

void CQnoMicroZelle::PassVehicle(Cell* from, Cell* to) {
  CQnoMicroZelle* const left = from->m_pOwner;
  CQnoMicroZelle* const entered = to->m_pOwner;
  // Within one layout the count would fall by one and rise again, the
  // map's count of the tile with it: both stay.
  if (left != entered) {
    if (left) {
      if (--left->m_Vehicles == 0 && left->m_OnTile) CIsoWelt::CountLayoutVehicles(left->m_TileX, left->m_TileY, -1);
    }
    if (entered) {
      if (++entered->m_Vehicles == 1 && entered->m_OnTile)
        CIsoWelt::CountLayoutVehicles(entered->m_TileX, entered->m_TileY, 1);
    }
  }
  to->m_pCar = from->m_pCar;
  to->m_CarKind = from->m_CarKind;
  to->m_CarSize = from->m_CarSize;
  to->m_CarSpeed = from->m_CarSpeed;
  from->m_pCar = nullptr;
  from->m_CarKind = Cell::kNoVehicle;
  from->m_CarSize = 0;
  from->m_CarSpeed = 0;
  if (left) {
    uint8_t& key = left->Keys()[from - left->m_Cells.data()];
    key = static_cast<uint8_t>(key & ~kKeyKind);
  }
  if (entered) {
    uint8_t& key = entered->Keys()[to - entered->m_Cells.data()];
    key = static_cast<uint8_t>((key & ~kKeyKind) | to->m_CarKind);
  }
}

void CQnoMicroZelle::RemoveVehicle(Cell* cell) {
  if (!cell) return;
  if (CCar* car = cell->m_pCar) {
    HoldVehicle(cell, nullptr);
    CCar::Discard(car);
  }
  LockConflicts(cell, 0);
  cell->m_Position = Cell::kNoPosition;
}

// ------------------------------------------------------------ counting

void CQnoMicroZelle::PrefetchCells() const {
  // The cells that hold a vehicle, asked for at once: the count and the
  // moves then wait for memory about once instead of once per vehicle.
  // The keys are read eight at a time, one bit a cell that holds a vehicle
  // (as MoveCars reads them); bytes past the last key are masked off.
  const uint8_t* keys = Keys();
  const size_t count = m_Cells.size();
  static_assert(kKeyKind == 3);
  for (size_t at = 0; at < count; at += 8) {
    uint64_t word = 0;
    std::memcpy(&word, keys + at, sizeof word);
    word = (word | word >> 1) & 0x0101010101010101ULL;
    if (count - at < 8) word &= (uint64_t{1} << (8 * (count - at))) - 1;
    for (; word; word &= word - 1)
      __builtin_prefetch(&m_Cells[at + static_cast<size_t>(std::countr_zero(word) >> 3)], 1);
  }
}

void CQnoMicroZelle::ZaehleAutos(uint16_t simId1, uint16_t simId2, int& count1, int& count2, int& surplus1,
                                 int& surplus2, int rate1, int rate2) {
  count1 = count2 = 0;
  if (m_Cells.empty()) return;
  const int n = static_cast<int>(m_Cells.size());
  rate1 /= n;
  rate2 /= n;
  // What one cell of a direction does with its draw r: `side` names the
  // direction, `kind` the vehicle held there.
  auto countCell = [&](Cell& c, uint8_t side, uint8_t kind, int r) {
    int* count = side == kKeyFirst ? &count1 : &count2;
    int* surplus = side == kKeyFirst ? &surplus1 : &surplus2;
    const int rate = side == kKeyFirst ? rate1 : rate2;
    if (kind == Cell::kNoVehicle) {
      if (r < rate && *surplus < 0 && c.m_Position == Cell::kNoPosition) {
        // Placing gives a new car up at once on a cell out of view: only
        // its picture is drawn, as making it would draw it, and it counts.
        if (!c.m_Visible) {
          SMicroCarPicture pic;
          if (!CCar::NextPicture(pic)) return;
          ++*surplus;
          ++*count;
          return;
        }
        auto* car = new CCar;
        if (car->CreateCar(nullptr) != 0) {
          CCar::Discard(car);
          return;
        }
        ++*surplus;
        ++*count;
        SetzeFahrzeug(&c, car, 0, false, true, false);
      }
    } else if (kind == Cell::kPrivateCar) {
      // The larger the surplus, the larger its rate and the likelier the
      // removal: both directions remove with chance rate / 1000.
      if (r < rate && *surplus > 0) {
        RemoveVehicle(&c);
        --*surplus;
      } else {
        ++*count;
      }
    }
  };
  // Before its links are converted the cells have no owner and the keys
  // know none of their vehicles: such a layout reads its cells.
  if (m_LinkState == kCopied) {
    for (Cell& c : m_Cells) {
      const uint8_t side = c.m_SimID == simId1 ? kKeyFirst : c.m_SimID == simId2 ? kKeySecond : 0;
      if (side) countCell(c, side, c.m_CarKind, zor_view_random().Next() % 1000);
    }
    return;
  }
  if (m_KeysStale || simId1 != m_KeyId1 || simId2 != m_KeyId2) MarkSimIDs(simId1, simId2);
#ifndef NDEBUG
  CheckKeys();
#endif
  // Every cell of a direction draws a value of the view's sequence, but only a free cell while its
  // direction lacks cars, or a private car's cell while it has too many,
  // can act on it; every other draw decides nothing. Those are counted and
  // jumped over just before the next cell that can act, and the draws run
  // on a copy of the sequence's position that is put back before a cell
  // acts (a new car draws values of its own) and at the end: the sequence
  // runs as if each cell had drawn. The keys are read eight at a time; a
  // word without a cell that can act is counted whole.
  constexpr uint64_t kLow = 0x0101010101010101ULL;
  static_assert(kKeyKind == 3 && kKeyFirst == 4 && kKeySecond == 8);
  static_assert(Cell::kNoVehicle == 0 && Cell::kPrivateCar == 1 && Cell::kLineVehicle == 2);
  auto acting = [](int surplus, int rate, uint64_t side, uint64_t free, uint64_t car) -> uint64_t {
    if (rate <= 0 || surplus == 0) return 0;
    return side & (surplus < 0 ? free : car);
  };
  // How many bytes are 1 in a word whose bytes are 0 or 1: the multiply
  // sums them into the top byte (at most 8, so no byte carries over).
  auto bytesSet = [](uint64_t flags) { return static_cast<int>(flags * kLow >> 56); };
  ZorRandom& view = zor_view_random();
  uint64_t state = view.State(), owed = 0;
  const uint8_t* keys = Keys();
  const auto count = static_cast<size_t>(n);
  for (size_t at = 0; at < count; at += 8) {
    uint64_t word = 0;
    // The keys' room is whole words (see MoveCars); bytes past the last
    // key are masked off.
    std::memcpy(&word, keys + at, sizeof word);
    if (count - at < 8) word &= (uint64_t{1} << (8 * (count - at))) - 1;
    const uint64_t first = word >> 2 & kLow, second = word >> 3 & kLow;
    const uint64_t kind0 = word & kLow, kind1 = word >> 1 & kLow;
    const uint64_t car = kind0 & ~kind1, free = ~(kind0 | kind1) & kLow;
    if (!(acting(surplus1, rate1, first, free, car) | acting(surplus2, rate2, second, free, car))) {
      owed += static_cast<uint64_t>(bytesSet(first | second));
      count1 += bytesSet(first & car);
      count2 += bytesSet(second & car);
      continue;
    }
    // A key is read as the cell stands now: a vehicle placed or removed in
    // this walk changes it.
    for (size_t i = at; i < std::min(at + 8, count); ++i) {
      const uint8_t key = keys[i];
      const uint8_t side = key & (kKeyFirst | kKeySecond);
      if (!side) continue;
      const uint8_t kind = key & kKeyKind;
      const bool isFirst = side == kKeyFirst;
      const int rate = isFirst ? rate1 : rate2;
      if (acting(isFirst ? surplus1 : surplus2, rate, 1, kind == Cell::kNoVehicle, kind == Cell::kPrivateCar)) {
        if (owed) state = zor_random_jump(state, owed);
        owed = 0;
        const int r = zor_random_next(state) % 1000;
        // Only a draw below the rate acts.
        if (r < rate) {
          view.SetState(state);
          countCell(m_Cells[i], side, kind, r);
          state = view.State();
          continue;
        }
      } else {
        ++owed;
      }
      if (kind == Cell::kPrivateCar) ++(isFirst ? count1 : count2);
    }
  }
  view.SetState(zor_random_jump(state, owed));
}

// ------------------------------------------------------------ moving

namespace {

// FindAhead at zoom factor zf, inline in the move of every vehicle.
// `steps` counts the cells the search has passed already.
inline CCar* FindGap(Cell* cell, int ownLength, double lookAhead, double& gap, bool first, int zf, int steps = 0) {
  for (; cell && steps < CQnoMicroZelle::kMaxSteps; ++steps) {
    Cell* next = CQnoMicroZelle::GetVirtNext(cell);
    if (!next) {
      gap = 1000;
      return nullptr;
    }
    CCar* ahead = nullptr;
    if (first) {
      if (cell->m_Position == Cell::kNoPosition) {
        gap = -1;
        return nullptr;
      }
      gap = cell->m_Position;
    } else {
      gap += Distance(cell, next);
      if (cell->m_Position != Cell::kNoPosition) {
        gap -= cell->m_Position;
        ahead = cell->m_pCar;
        if (ahead) gap -= ownLength + CellCarLength(cell->m_CarSize, zf);
      }
    }
    if (lookAhead < gap) {
      gap = lookAhead;
      return nullptr;
    }
    if (ahead) return ahead;
    cell = next;
    first = false;
  }
  // A walk that found nothing within its steps (cells without distance in
  // a cycle) sees no vehicle but grants no more than it measured.
  gap = std::min(gap, lookAhead);
  return nullptr;
}

// FindGap from the third cell on (two passed), out of line: few searches
// get that far, and the move's registers stay its own.
__attribute__((noinline)) double GapPastTwo(Cell* cell, int ownLength, double lookAhead, double gap, int zf) {
  FindGap(cell, ownLength, lookAhead, gap, false, zf, 2);
  return gap;
}

// FindGap from the cell after a vehicle's own (one passed, `gap` measured
// so far), its round in that cell taken here: most searches end in it.
// Lengths come from `lengths`, the row of kCellLengths for zf. Most cells
// lead on one way, found without the table of last slots.
inline double GapFromNext(Cell* cell, double ownLength, double lookAhead, double gap, const double* lengths, int zf) {
  Cell* next = cell->m_AnzNachfolger == 1 ? cell->m_pNachfolger[0] : CQnoMicroZelle::GetVirtNext(cell);
  if (!next) return 1000;
  gap += Distance(cell, next);
  bool ahead = false;
  if (cell->m_Position != Cell::kNoPosition) {
    gap -= cell->m_Position;
    if (cell->m_pCar) {
      gap -= ownLength + lengths[cell->m_CarSize];
      ahead = true;
    }
  }
  if (lookAhead < gap) return lookAhead;
  return ahead ? gap : GapPastTwo(next, static_cast<int>(ownLength), lookAhead, gap, zf);
}

// FindGap from a vehicle's own cell (first set), its first step taken
// here: most searches end in it or in the next cell.
// `next` is the cell's last successor (GetVirtNext).
inline void GapFromOwnCell(Cell* cell, Cell* next, int ownLength, double lookAhead, double& gap, int zf) {
  if (!next) {
    gap = 1000;
  } else if (cell->m_Position == Cell::kNoPosition) {
    gap = -1;
  } else if (lookAhead < cell->m_Position) {
    gap = lookAhead;
  } else {
    gap = cell->m_Position;
    FindGap(next, ownLength, lookAhead, gap, false, zf, 1);
  }
}

}  // namespace

int CQnoMicroZelle::MoveCars(unsigned short x, unsigned short y, bool busLane) {
  if (m_Vehicles == 0) return 0;
  const int zf = MicroZoomFactor();
  const double* lengths = CarLengths(zf);
  const double frame = CMicroSimHost::Get()->GetFrameTime();
  // Only the world's turn sets the time, never a move: read once.
  const uint32_t now = CMicroSimHost::Get()->GetWorldTime();
  // A vehicle's step at that speed in one frame, tenths of a pixel.
  const double longest = 150 / zf;
  const auto stepOf = [frame, longest](int speed) { return std::min(frame * speed / 100.0, longest); };
  // A speed divided by zf: at zoom factor 2, the game's usual one, a shift
  // instead of a division.
  const auto byZoom = [zf](int speed) { return zf == 2 ? speed / 2 : speed / zf; };
  // The vehicles as they stand now: one that moves into a later cell of
  // the layout is not moved twice.
  // The keys are read eight at a time. The cells ahead, which the gap
  // search reads first, often lie in the next tile's layout: asked of
  // memory for every vehicle before the first moves.
  // At most kMost vehicles a turn (a layout has at most 255 cells); a word
  // of keys may add 7 more before the count is cut back to it.
  constexpr int kMost = 256;
  struct Standing {
    Cell* cell;
    CCar* car;
  };
  Standing standing[kMost + 7];
  Standing* last = standing;
  const uint8_t* keys = Keys();
  const size_t count = m_Cells.size();
  for (size_t at = 0; at < count && last < standing + kMost; at += 8) {
    uint64_t word = 0;
    // The keys' room is whole words (the cells behind them start at a
    // multiple of their alignment): bytes past the last key are masked off.
    static_assert(alignof(Cell) % sizeof word == 0);
    std::memcpy(&word, keys + at, sizeof word);
    // One bit a cell that holds a vehicle, the lowest of its byte.
    static_assert(kKeyKind == 3);
    word = (word | word >> 1) & 0x0101010101010101ULL;
    if (count - at < 8) word &= (uint64_t{1} << (8 * (count - at))) - 1;
    // A held cell's bit lies at 8 x its index in the word, so its place
    // is that bit's index times an eighth of a cell's size.
    static_assert(sizeof(Cell) % 8 == 0);
    auto* const first = reinterpret_cast<std::byte*>(&m_Cells[at]);
    while (word) {
      auto* cell = reinterpret_cast<Cell*>(first + static_cast<unsigned>(std::countr_zero(word)) * (sizeof(Cell) / 8));
      word &= word - 1;
      *last++ = {cell, cell->m_pCar};
      // GetVirtNext's cell without its tests: a cell without successors
      // asks for its first slot, null, which costs nothing.
      __builtin_prefetch(cell->m_pNachfolger[kLastSuccessorSlot[cell->m_AnzNachfolger]]);
    }
  }
  last = std::min(last, standing + kMost);
  // The cells of a layout carry one or two sim ids: the street's class is
  // asked once per id and turn.
  // The class divided by zf, and its step; for a street not found
  // kNoStreet, which no cell's speed equals, so that one test a vehicle
  // finds both a speed to write and a street to do without.
  constexpr int kNoStreet = INT32_MIN;
  int knownId = -1;
  int knownSpeed = kNoStreet;
  double knownStep = 0.0;
  const auto ask = [&](uint16_t simId) {
    knownId = simId;
    // Asked into a value of its own, so that the known speed can live in
    // a register.
    int asked = 0;
    const bool found = SpeedClass(simId, asked) == 0;
    knownSpeed = found ? byZoom(asked) : kNoStreet;
    knownStep = stepOf(byZoom(asked));
  };
  // The first vehicle asks for its street before the loop, as it would as
  // the loop's first (nothing has moved yet): inside, the test for a new
  // sim id then fails only where the ids change.
  if (last != standing) ask(standing[0].cell->m_SimID);
  for (const Standing* at = standing; at != last; ++at) {
    Cell* cell = at->cell;
    CCar* car = at->car;
    if (cell->m_pCar != car) continue;
    if (cell->m_SimID != knownId) ask(cell->m_SimID);
    // The cell keeps the vehicle's speed beside it: the vehicle itself is
    // written only when its speed changes.
    double step = knownStep;
    if (cell->m_CarSpeed != knownSpeed) {
      int speed = knownSpeed;
      if (speed == kNoStreet) {
        // Without a street the vehicle keeps its own speed, within the
        // fastest class.
        speed = cell->m_CarSpeed;
        if (speed > 80 / zf || speed < 1) speed = 80 / zf;
        step = stepOf(speed);
      }
      if (speed != cell->m_CarSpeed) {
        car->SetMaxSpeed(speed);
        cell->m_CarSpeed = static_cast<int16_t>(speed);
      }
    }
    const bool isCar = cell->m_CarKind == Cell::kPrivateCar;
    if (isCar) {
      if (!cell->m_Visible) {
        RemoveVehicle(cell);
        return 0;
      }
    } else {
      if (auto* bus = dynamic_cast<CMicroOpnv*>(car); !bus) {
        QNO_ERROR(QNO_SEV_WARNING, " Car ist kein Auto, aber auch kein CMicroOpnv");
      } else if (!bus->GetOpnvLine()) {
        RemoveVehicle(cell);
      }
      // A line vehicle without its line is gone.
      if (cell->m_pCar != car) continue;
    }
    // Most cells lead on one way, chosen: that one cell is both the next
    // cell and the gap search's first, looked up once. The choice and the
    // count of slots are neighbouring bytes, tested together as one word
    // (choice 0 in the low byte, one slot in the high one).
    static_assert(offsetof(Cell, m_AnzNachfolger) == offsetof(Cell, m_Choice) + 1);
    static_assert(std::endian::native == std::endian::little);
    uint16_t choiceAndCount;
    std::memcpy(&choiceAndCount, &cell->m_Choice, sizeof choiceAndCount);
    const double length = lengths[cell->m_CarSize];
    const double lookAhead = length + step;
    // From here on: a private car with its next cell `next`, standing at
    // position p, the step to next in toNext, moving `move` tenths.
    Cell* next;
    Step toNext;
    int32_t p;
    double move;
    if (Cell* only = cell->m_pNachfolger[0]; isCar && choiceAndCount == (1u << 8) && only) {
      // A private car on a cell's one chosen way, the usual case: as the
      // general case below would take it, with what that case tests
      // known already (a next cell, and a vehicle placed once it moves).
      next = only;
      p = cell->m_Position;
      // No position: the gap search's gap of -1, no move.
      if (p == Cell::kNoPosition) continue;
      // Read before the gap search, which does not depend on it: the
      // placing's long chain of arithmetic then starts earlier.
      toNext = StepTo(cell, next);
      const double gap = lookAhead < p ? lookAhead : GapFromNext(next, length, lookAhead, p, lengths, zf);
      move = std::min(step, gap);
      if (!(move > 0)) continue;
    } else {
      next = GetNextZelle(cell);
      toNext = {};
      if (next) toNext = StepTo(cell, next);
      double gap = 0.0;
      GapFromOwnCell(cell, GetVirtNext(cell), static_cast<int>(length), lookAhead, gap, zf);
      move = std::min(step, gap);
      if (!(move > 0)) continue;
      if (!isCar || !next || cell->m_Position == Cell::kNoPosition) {
        MoveOn(cell, car, move, busLane, x, y, isCar);
        continue;
      }
      p = cell->m_Position;
    }
    // Most moves of a private car end in its own cell, and most others in
    // the next one: both are placed here, as MoveOn would, without its walk.
    const double d = toNext.d;
    const double distance = move + d - p;
    if (!MovesOn(next, d, distance)) {
      if (!(busLane && IsAussenSpur(cell))) {
        StayInCell(cell, toNext, p, distance, now);
        continue;
      }
    } else if (Step toAfter{}; StaysIn(cell, next, distance - d, busLane, toAfter)) {
      // MoveOn's steps for one cell on: out of this cell, the next one's
      // branch (a single way on taken as SplittTrafic takes it), and the
      // placing there.
      // The vehicle passes from cell to cell with what the cell keeps of
      // it; the car, a private one, is told its new cell at once, which
      // leaves it as being told it has no cell and then the new one would
      // (nothing below reads the car).
      cell->m_Position = Cell::kNoPosition;
      PassVehicle(cell, next);
      car->PassToCell(next);
      LockConflicts(cell, 0);
      cell->m_OldPosition = p;
      cell->m_Choice = Cell::kNoChoice;
      if (next->m_Choice == Cell::kNoChoice) next->m_Choice = 0;
      StayInCell(next, toAfter, Cell::kNoPosition, distance - d, now);
      LockConflicts(next, 1);
      continue;
    }
    MoveOn(cell, car, move, busLane, x, y, true);
  }
  return 0;
}

CCar* CQnoMicroZelle::FindeNaechstesFahrzeug(Cell* cell, CCar* car, double lookAhead, double& gap, bool first) {
  return FindAhead(cell, Laenge(car->GetCarSizeType(), MicroZoomFactor()), lookAhead, gap, first);
}

CCar* CQnoMicroZelle::FindAhead(Cell* cell, int ownLength, double lookAhead, double& gap, bool first) {
  return FindGap(cell, ownLength, lookAhead, gap, first, MicroZoomFactor());
}

int CQnoMicroZelle::BewegeFahrzeug(Cell* cell, CCar* car, double distance, CCar* /*ahead*/, bool busLane,
                                   unsigned short x, unsigned short y, bool, bool) {
  return MoveOn(cell, car, distance, busLane, x, y, IsPrivateCar(cell, car));
}

int CQnoMicroZelle::MoveOn(Cell* cell, CCar* car, double distance, bool busLane, unsigned short x, unsigned short y,
                           bool isCar) {
  if (!isCar && SonderfallBus(cell, car, x, y, cell->m_SimID)) return 0;
  Cell* prev = nullptr;
  // Whether the vehicle was told it has no cell: told once is enough.
  bool detached = false;
  int32_t prevPosition = Cell::kNoPosition;
  uint8_t prevChoice = Cell::kNoChoice;
  for (int steps = 0;; ++steps) {
    CQnoMicroZelle* owner = cell->m_pOwner ? cell->m_pOwner : this;
    Cell* next = GetNextZelle(cell);
    if (!next) {
      SplittTrafic(cell, car, false);
      next = GetNextZelle(cell);
    }
    if (!next) {
      if (cell->m_pCar == car) {
        RemoveVehicle(cell);
      } else {
        CCar::Discard(car);
        if (!cell->m_pCar) cell->m_Position = Cell::kNoPosition;
      }
      return 1;
    }
    if (!isCar && !cell->m_Visible) {
      if (prev) {
        // A cell the vehicle only passed through had no position of its
        // own: it stands at the cell's point, still to go the whole step to
        // the cell out of view. A cell without position moves and draws
        // no vehicle, so it would stay there, unseen, even in view again.
        if (prevPosition == Cell::kNoPosition) {
          prevPosition = static_cast<int32_t>(Distance(prev, cell));
          prev->m_CarX = prev->m_CarY = 0.0f;
          prev->m_TimeStamp = CMicroSimHost::Get()->GetWorldTime();
        }
        prev->m_Position = prevPosition;
        HoldVehicle(prev, car);
        prev->m_Choice = prevChoice;
        car->SetMicroSimObject(prev);
      }
      return 3;
    }
    const Step toNext = StepTo(cell, next);
    const double d = toNext.d;
    int32_t p = Cell::kNoPosition;
    if (cell->m_pCar == car && cell->m_Position != Cell::kNoPosition) {
      p = cell->m_Position;
      distance = distance + d - p;
      if (!MovesOn(next, d, distance) && !(busLane && isCar && IsAussenSpur(cell))) {
        // It stays in its own cell: the placing below, without taking the
        // vehicle out and in again.
        StayInCell(cell, toNext, p, distance, CMicroSimHost::Get()->GetWorldTime());
        return 0;
      }
      EmptyCell(cell, car);
      detached = true;
      cell->m_OldPosition = p;
    }
    // After kMaxSteps cells (cells without distance in a cycle) the
    // vehicle stays where the walk got to.
    if (steps < kMaxSteps && MovesOn(next, d, distance)) {
      prev = cell;
      prevPosition = p;
      prevChoice = cell->m_Choice;
      cell->m_Choice = Cell::kNoChoice;
      distance -= d;
      cell = next;
      continue;
    }
    // The vehicle stays in this cell: beside a bus lane a car takes the
    // inner lane when it is free, else it stands further on in its cell.
    if (isCar && busLane && IsAussenSpur(cell)) {
      Cell* target = owner->HasSimIDAndNoBusspur(cell->m_SimID);
      if (target && target->m_Position == Cell::kNoPosition && !target->m_pCar) {
        target->m_Choice = 0;
        if (!detached) car->SetMicroSimObject(nullptr);
        owner->SetzeAufZielZelle(car, cell, target);
        return 0;
      }
    }
    if (!detached) car->SetMicroSimObject(nullptr);
    owner->Place(cell, car, static_cast<int>(distance), false, isCar);
    return 0;
  }
}

// ------------------------------------------------------------ placing

int CQnoMicroZelle::SetzeFahrzeug(Cell* cell, CCar* car, int offset, bool, bool checkRoom, bool) {
  if (!cell || !car) return 2;
  return Place(cell, car, offset, checkRoom, car->IsAuto());
}

int CQnoMicroZelle::Place(Cell* cell, CCar* car, int offset, bool checkRoom, bool isAuto) {
  auto* bus = isAuto ? nullptr : dynamic_cast<CMicroOpnv*>(car);
  if (bus && !bus->GetOpnvLine()) {
    CCar::Discard(car);
    return 1;
  }
  const uint32_t now = CMicroSimHost::Get()->GetWorldTime();
  if (!cell->m_Visible) {
    if (!isAuto) {
      car->SetMicroSimObject(cell);
      cell->m_TimeStamp = now;
      return checkRoom ? 2 : 0;
    }
    CCar::Discard(car);
    if (!cell->m_pCar) cell->m_Position = Cell::kNoPosition;
    return 1;
  }
  if (cell->m_pCar || cell->m_Position != Cell::kNoPosition) {
    if (isAuto) {
      // A cell holds one vehicle: the newcomer is not placed.
      QNO_ERROR(QNO_SEV_WARNING, "Darf kein zweites Auto auf Zelle packen!");
      CCar::Discard(car);
      return 2;
    }
    if (cell->m_CarKind == Cell::kLineVehicle) return 2;
    RemoveVehicle(cell);
  }
  if (checkRoom) {
    const int len = Laenge(car->GetCarSizeType(), MicroZoomFactor());
    double gap = 0.0;
    FindeNaechstesFahrzeug(cell, car, 2.0 * len, gap, false);
    offset = len;
    if (gap < 2.0 * len && isAuto) {
      CCar::Discard(car);
      return 2;
    }
    SplittTrafic(cell, car, false);
  }
  Cell* next = GetNextZelle(cell);
  if (!next) {
    CCar::Discard(car);
    return 2;
  }
  // A new vehicle before a locked cell stands at the cell's own point; a
  // moving one keeps where it got to rather than jump back.
  if (next->m_Locked && checkRoom) offset = 0;
  cell->m_TimeStamp = now;
  cell->m_OldPosition = cell->m_Position;
  const double D = Distance(cell, next);
  offset = std::clamp(offset, 0, static_cast<int>(D));
  cell->m_Position = static_cast<int32_t>(D - offset);
  const double dx = next->m_ScreenX - cell->m_ScreenX, dy = next->m_ScreenY - cell->m_ScreenY;
  cell->m_CarX = D > 0 ? static_cast<float>(dx * offset / D) : 0.0f;
  cell->m_CarY = D > 0 ? static_cast<float>(dy * offset / D) : 0.0f;
  WarnFarOffset(cell);
  car->SetMicroSimObject(cell);
  HoldVehicle(cell, car, isAuto ? Cell::kPrivateCar : Cell::kLineVehicle);
  LockConflicts(cell, 1);
  return 0;
}

void CQnoMicroZelle::SetzeAufZielZelle(CCar* car, Cell* from, Cell* target) {
  if (!target || !from || !car) return;
  KeepDrawnAt(target, from);
  car->SetMicroSimObject(target);
  HoldVehicle(target, car);
  LockConflicts(target, 1);
}

// ------------------------------------------------------------ branches and stops

void CQnoMicroZelle::SplittTrafic(Cell* cell, CCar* car, bool current) {
  if (!car || !cell) {
    QNO_ERROR(QNO_SEV_ERROR, "SplittTrafic() ohne Daten aufgerufen!");
    return;
  }
  const int count = std::min<int>(cell->m_AnzNachfolger, Cell::kLinks);
  if (count <= 1) {
    cell->m_Choice = 0;
    return;
  }
  CQnoMicroZelle* owner = cell->m_pOwner ? cell->m_pOwner : this;
  if (IsPrivateCar(cell, car)) {
    double weight[Cell::kLinks] = {};
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
      const int s = owner->GetAuslStreet(i, cell, false);
      int flow = 0;
      if (s != 0 && CMicroSimHost::Get()->GetStreetFlow(static_cast<uint16_t>(s), flow) && flow > 0) {
        weight[i] = flow;
        sum += flow;
      }
    }
    if (sum > 0) {
      // Roulette: each branch with the chance of its share of the flow.
      const double r = zor_view_random().Chance() * sum;
      double cumulative = 0.0;
      int chosen = -1;
      for (int i = 0; i < count; ++i) {
        if (weight[i] <= 0) continue;
        chosen = i;
        cumulative += weight[i];
        if (r < cumulative) break;
      }
      cell->m_Choice = static_cast<uint8_t>(chosen);
    } else if (CWorldHost::Get()->GetShowMicroZellen()) {
      cell->m_Choice = static_cast<uint8_t>(std::min(count - 1, static_cast<int>(count * zor_view_random().Chance())));
    } else {
      cell->m_Choice = Cell::kNoChoice;
    }
    return;
  }
  auto* bus = dynamic_cast<CMicroOpnv*>(car);
  bool flag = false;
  const int s = bus ? CMicroSimHost::Get()->GetAbzwStreetID(bus, flag, current) : -1;
  if (s < 1) {
    cell->m_Choice = Cell::kNoChoice;
    return;
  }
  int index = -1;
  if (owner->IndexRunToZelleWithSimID(cell, index, static_cast<uint16_t>(s), 20) && index >= 0)
    cell->m_Choice = static_cast<uint8_t>(index);
}

bool CQnoMicroZelle::SonderfallBus(Cell* cell, CCar* car, unsigned short x, unsigned short y, int simId) {
  auto* bus = IsPrivateCar(cell, car) ? nullptr : dynamic_cast<CMicroOpnv*>(car);
  if (!bus) return false;
  bus->SetIsoXYPos(x, y);
  if (!bus->GetOpnvLine()) {
    if (cell && cell->m_pCar == bus) {
      RemoveVehicle(cell);
    } else {
      CCar::Discard(bus);
    }
    return true;
  }
  CMicroSimHost* host = CMicroSimHost::Get();
  const uint32_t now = CMicroSimHost::Get()->GetWorldTime();
  if (!host->IsIsoPosHst(bus, x, y)) {
    if (bus->GetStopped() && cell) cell->m_TimeStamp = now;
    return false;
  }
  bus->SetStopped();
  if (!cell) return true;
  if (!bus->GetStopped() && cell->m_Visible) {
    Cell* target = host->GetNextHstZelle(bus, x, y, simId);
    if (!target) {
      QNO_ERROR(QNO_SEV_WARNING, "GetNextHstZelle returned NULL at %d/%d", static_cast<int>(x), static_cast<int>(y));
      QNO_ERROR(QNO_SEV_WARNING, "Cast 9 Bus");
      target = host->GetStreetHstZelle(x, y, cell->m_SimID);
      if (!target) return false;
    }
    // A line vehicle at the next stop holds this one where it stands.
    if (target == cell || target->m_CarKind == Cell::kLineVehicle) {
      cell->m_TimeStamp = now;
      return true;
    }
    EmptyCell(cell, bus);
    if (target->m_pCar) RemoveVehicle(target);
    CQnoMicroZelle* owner = target->m_pOwner ? target->m_pOwner : this;
    if (owner->SetzeFahrzeug(target, bus, 0, true, true, false) == 0 && target->m_SimID == cell->m_SimID)
      KeepDrawnAt(target, cell);
    return true;
  }
  cell->m_TimeStamp = now;
  return true;
}

// ------------------------------------------------------------ drawing

namespace {

// The car's sprite direction and screen position; at rotation 0 (the only
// one whose drawing asks) also the tile its sprite reaches into besides the
// one under its position: the x neighbour for directions 7 to 24 and 40 to
// 56, else the y neighbour, on the side of the tile's diagonal the car
// stands on. Only a neighbour further down the screen is registered. `map`
// is null at other rotations and without a map.
void PlaceCar(const CQnoMicroZelle& layout, BinaryMicroSimObject* cell, CIsoWelt* map,
              const IsoScreenTiles& view) {
  if (!cell || !cell->m_pCar || cell->m_Position == BinaryMicroSimObject::kNoPosition ||
      cell->m_Choice == BinaryMicroSimObject::kNoChoice)
    return;
  int dir = 0;
  if (!layout.CalcRichtung(dir, cell)) return;
  int x = 0, y = 0;
  layout.CalcCarPos(x, y, cell);
  CCar* car = cell->m_pCar;
  car->SetScreenXYPos(x, y, -1, -1);
  car->SetRichtungsIndex(dir);
  if (!map) return;
  int ix = 0, iy = 0;
  view.TileAt(x, y, ix, iy);
  if (!IsoInMap(ix, iy)) return;
  int ax = 0, ay = 0;
  view.AnchorOf(static_cast<unsigned short>(ix), static_cast<unsigned short>(iy), ax, ay);
  ay += Tile_Size_YDiv2[view.zoom];
  int nx = ix, ny = iy;
  if ((dir >= 7 && dir <= 24) || (dir >= 40 && dir <= 56))
    nx = (ax - x) - 2 * (y - ay) >= 0 ? ix - 1 : ix + 1;
  else
    ny = (x - ax) - 2 * (y - ay) < 0 ? iy + 1 : iy - 1;
  if (nx > ix || ny > iy) map->SetSecondCarPos(car, nx, ny);
}

// The map for the second tiles of PlaceCar, and its view.
CIsoWelt* SecondTileMap(IsoScreenTiles& view) {
  CIsoWelt* map = CMicroSimHost::Get()->GetIsoWelt();
  if (!map) return nullptr;
  view = IsoScreenTilesOf(*map);
  return view.rotation == 0 ? map : nullptr;
}

}  // namespace

void CQnoMicroZelle::PlaceCars(std::span<CCar* const> cars) {
  IsoScreenTiles view;
  CIsoWelt* map = SecondTileMap(view);
  // The cars, their cells and the cells they head for lie scattered in
  // memory: each is asked for a few cars ahead of its use, so that the
  // waits for memory overlap instead of following one another.
  constexpr size_t kCarAhead = 16, kCellAhead = 8;
  const size_t n = cars.size();
  for (size_t i = 0; i < std::min(n, kCarAhead); ++i) __builtin_prefetch(cars[i]);
  for (size_t i = 0; i < n; ++i) {
    if (i + kCarAhead < n) __builtin_prefetch(cars[i + kCarAhead]);
    if (i + kCellAhead < n) {
      if (const Cell* ahead = cars[i + kCellAhead]->GetMicroSimObject()) {
        __builtin_prefetch(ahead);
        __builtin_prefetch(&ahead->m_pOwner);
      }
    }
    Cell* cell = cars[i]->GetMicroSimObject();
    if (cell && cell->m_Visible == 1 && cell->m_pOwner) PlaceCar(*cell->m_pOwner, cell, map, view);
  }
}

void CQnoMicroZelle::SetCarPos(Cell* cell) {
  IsoScreenTiles view;
  CIsoWelt* map = SecondTileMap(view);
  PlaceCar(*this, cell, map, view);
}
