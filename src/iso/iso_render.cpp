// The three map renderers and the per-cell sprite render cache.
#include <cstring>

#include "framework/qno_display.h"
#include "framework/qno_sprite.h"
#include "iso/iso_welt.h"
#include "iso/iso_screen_tiles.h"
#include "iso/iso_sel_obj.h"
#include "iso/iso_vehicle.h"
#include "worldbase/zor_world_host.h"

namespace {

TIsoRichtung DrawDir(TIsoRichtung layerDir) { return static_cast<TIsoRichtung>((layerDir + g_IsoRichtung) & 3); }

// Guards the diagonal walk against corner sets that never close a row.
constexpr int kMaxDiagonalSteps = 4 * 256 * 256;

// Numbers render-list builds and frames for every map alike: the per-cell
// records that hold them are shared.
uint32_t g_BuildSerial = 0;
uint32_t g_FrameSerial = 0;

// The cells that may hide a cell's ground, as steps towards the front of
// the screen along the two map axes: the cell itself, then those of its
// screen column and the two half columns beside it, nearest first.
constexpr int kCoverSteps[][2] = {{0, 0}, {1, 1}, {1, 0}, {0, 1}, {2, 2}, {2, 1}, {1, 2}, {3, 3}, {3, 2}, {2, 3}};

}  // namespace

void CIsoWelt::TilePoint(int x, int y, int& sx, int& sy) {
  const int i = IsoZoomIndex();
  CalcIsoToXY(static_cast<short>(x), static_cast<short>(y), &sx, &sy);
  sx += m_OriginX + m_PixelOffsetX - Tile_Size_XDiv2[i];
  sy += m_OriginY + m_PixelOffsetY + Tile_Size_Y[i];
}

// ---- the sprite render cache ---------------------------------------------------------

uint32_t CIsoWelt::s_CacheChanges = 0;
const char CIsoWelt::kStepMarks[3] = {};

bool CIsoWelt::MakeSpriteRenderList(int x, int y) {
  if (!IsoInMap(x, y)) return false;
  ++s_CacheChanges;
  std::memset(m_SpriteList[x][y], 0, sizeof m_SpriteList[x][y]);
  m_SPOK[x][y] = 0;
  m_CellBuild[x][y] = ++g_BuildSerial;
  // The cells behind may now be hidden where they were not.
  ForgetCoversBehind(x, y);
  CIsoInfo* cell = GetIsoInfo(x, y);
  if (!cell) return false;
  ++m_CacheBuilds;
  const int i = IsoZoomIndex();
  int bx, by;
  IsoTileToScreen(g_IsoRichtung, i, static_cast<short>(x), static_cast<short>(y), bx, by);
  bx += m_RenderOriginX - Tile_Size_XDiv2[i];
  by += m_RenderOriginY + Tile_Size_Y[i];

  // Resolves one render item into a slot; false when its tile is missing.
  // The tile layers seen before answer from the map's memory of them.
  auto fill = [&](int resId, TIsoRichtung dir, int layer, SpriteSlot& slot) {
    const unsigned char spriteLayer = static_cast<unsigned char>(layer);
    if (const CIsoLayerSprites::Layer* known = m_LayerSprites.Find(m_pResources, resId, DrawDir(dir), spriteLayer)) {
      if (!known->tile) return false;
      if (known->sprite) slot = SpriteSlot{known->spriteId, bx + known->dx, by + known->dy, const_cast<void*>(known->sprite)};
      return true;
    }
    CIsoTile* tile = CIsoTile::Get(m_pResources, resId);
    if (!tile) return false;
    int id = 0, sx = 0, sy = 0;
    if (const void* sprite = tile->GetRenderSprite(m_pResources, bx, by, spriteLayer, DrawDir(dir), id, sx, sy))
      slot = SpriteSlot{id, sx, sy, const_cast<void*>(sprite)};
    return true;
  };
  // The cell's render-list walk: its floor layers into the first three
  // slots (those beyond the third have none and are passed over), its
  // middle layer into the fourth, the rest into the others while they last.
  SpriteSlot* slots = m_SpriteList[x][y];
  int floors = 0, upper = 4;
  const bool resolved = cell->ForEachRenderItem([&](CIsoInfo::RenderPart part, int id, TIsoRichtung dir, int layer) {
    if (part == CIsoInfo::RenderPart::Floor) return floors >= 3 || fill(id, dir, layer, slots[floors++]);
    if (part == CIsoInfo::RenderPart::Middle) return fill(id, dir, layer, slots[3]);
    return upper >= kSlotsPerCell || fill(id, dir, layer, slots[upper++]);
  });
  if (!resolved) return true;
  m_SPOK[x][y] = cell->IsRenderListFromObjects() ? kEntryKept : kEntryThisTurn;
  return true;
}

void CIsoWelt::ShowRotationCache(int rotation) {
  s_CacheRotation = rotation;
  RotationCache& cache = s_Rotations[rotation];
  m_SpriteList = cache.slots;
  m_SPOK = cache.ok;
  m_GroundCover = cache.cover;
  m_CellBuild = cache.build;
}

void CIsoWelt::StartRotationCache() {
  ++s_CacheChanges;
  m_RenderOriginX = m_OriginX + m_PixelOffsetX;
  m_RenderOriginY = m_OriginY + m_PixelOffsetY;
  // Slots are read only from cells made again since: each make clears its
  // own. Every cover was worked out from lists that are now stale.
  std::memset(m_SPOK, 0, sizeof s_Rotations[0].ok);
  s_CoverEpoch = ++s_EpochSerial;
  s_CoversKnown = false;
  s_RotationStates[s_CacheRotation] = RotationState{true,          m_RenderOriginX, m_RenderOriginY, s_CoverEpoch,
                                                    s_CoversKnown, m_pResources,    m_pResources ? m_pResources->Generation() : 0};
}

int CIsoWelt::ResetCompleteSpriteRenderList() {
  for (RotationState& r : s_RotationStates) r.valid = false;
  ShowRotationCache(g_IsoRichtung & 3);
  StartRotationCache();
  return 0;
}

void CIsoWelt::TurnSpriteCache() {
  const int to = g_IsoRichtung & 3;
  if (to == s_CacheRotation) return;
  // What the rotation left was made against, kept for the turn back; its
  // entries of lists that a turn replaces go, which changes its cache.
  RotationState& from = s_RotationStates[s_CacheRotation];
  from.renderX = m_RenderOriginX;
  from.renderY = m_RenderOriginY;
  from.coverEpoch = s_CoverEpoch;
  from.coversKnown = s_CoversKnown;
  uint8_t dropped = 0;
  for (auto& column : s_Rotations[s_CacheRotation].ok)
    for (uint8_t& entry : column) {
      dropped |= entry & kEntryThisTurn;
      entry &= kEntryKept;
    }
  if (dropped) ++s_CacheChanges;
  ShowRotationCache(to);
  const RotationState& kept = s_RotationStates[to];
  if (!kept.valid || kept.resources != m_pResources ||
      kept.generation != (m_pResources ? m_pResources->Generation() : 0)) {
    StartRotationCache();
    return;
  }
  m_RenderOriginX = kept.renderX;
  m_RenderOriginY = kept.renderY;
  s_CoverEpoch = kept.coverEpoch;
  s_CoversKnown = kept.coversKnown;
}

struct CIsoWelt::FramePass {
  QnoDisplay* display;
  QnoRenderBuffer* buffer;
  QnoSpriteTarget target;
  // From where the cache's slots were placed to where the view is now.
  int shiftX, shiftY;
  bool cull;        // ground that objects hide is left out
  bool toolMarks;   // the street tool marks the cells it may build on
  bool secondCars;  // cars drawn a second time at their second position
  bool vehicles;    // the cells' world objects draw their vehicles
  bool district;    // the district view's floor instead of a cell's objects
  // Where the frame's steps are recorded; null when it is not kept.
  std::vector<FrameStep>* steps;

  void Draw(const SpriteSlot& slot) const {
    if (slot.sprite) Draw(slot.sprite, slot.x + shiftX, slot.y + shiftY);
  }
  void Draw(const void* sprite, int x, int y) const {
    target.Draw(sprite, x, y);
    if (steps) steps->push_back({sprite, x, y});
  }
  void Note(const char& mark, int x, int y) const {
    if (steps) steps->push_back({&mark, x, y});
  }
};

// ---- ground hidden under objects --------------------------------------------------------

void CIsoWelt::FrontSteps(int& ex, int& ey) {
  // They change only with the rotation: worked out once for each.
  // Cell (0, 0) lies at the screen point (0, 0) of CalcIsoToXY.
  if (m_FrontRotation != g_IsoRichtung) {
    int sx1, sy1, sx2, sy2;
    CalcIsoToXY(1, 0, &sx1, &sy1);
    CalcIsoToXY(0, 1, &sx2, &sy2);
    m_FrontX = sy1 > 0 ? 1 : -1;
    m_FrontY = sy2 > 0 ? 1 : -1;
    m_FrontRotation = g_IsoRichtung;
  }
  ex = m_FrontX;
  ey = m_FrontY;
}

void CIsoWelt::ForgetCoversBehind(int x, int y) {
  if (!s_CoversKnown) return;
  int ex, ey;
  FrontSteps(ex, ey);
  for (const auto& step : kCoverSteps) {
    const int bx = x - ex * step[0], by = y - ey * step[1];
    if (IsoInMap(bx, by)) m_GroundCover[bx][by].known = 0;
  }
}

void CIsoWelt::FindGroundCover(int x, int y) {
  ++s_CacheChanges;
  // Worked out aside: making the lists of the cells in front on the way
  // forgets what is known about the cells behind them, this one included.
  GroundCover g{};
  int ex, ey;
  FrontSteps(ex, ey);

  QnoPlacedSprite covers[3 * kMaxCovers];
  int coverCount = 0;
  // Adds the drawn object sprites of cell (cx, cy) that reach into the box.
  // Only cells of this frame's walk are drawn, so only they can cover; the
  // lists of those not made yet are made now, as the frame would anyway,
  // so that no cell in front is made later and forgets this one's covers.
  auto inFrame = [&](int cx, int cy) { return IsoInMap(cx, cy) && m_FrameMark[cx][cy] == m_Frame; };
  for (const auto& step : kCoverSteps) {
    const int cx = x + ex * step[0], cy = y + ey * step[1];
    if (inFrame(cx, cy) && !m_SPOK[cx][cy]) MakeSpriteRenderList(cx, cy);
  }
  auto addCell = [&](int cx, int cy, int left, int top, int right, int bottom) {
    if (!inFrame(cx, cy) || !m_SPOK[cx][cy]) return false;
    const SpriteSlot* slots = m_SpriteList[cx][cy];
    const int last = slots[4].id != 0 ? 5 : 3;  // the object pass draws 4 and 5 only together
    bool reaches = false;
    for (int k = 3; k <= last; ++k) {
      const SpriteSlot& s = slots[k];
      if (!s.sprite) continue;
      const int w = static_cast<int>(CIsoSprite::GetWidth(s.sprite)), h = static_cast<int>(CIsoSprite::GetHeight(s.sprite));
      if (s.x >= right || s.x + w <= left || s.y >= bottom || s.y + h <= top) continue;
      covers[coverCount++] = QnoPlacedSprite{s.sprite, s.x, s.y};
      reaches = true;
    }
    return reaches;
  };
  const SpriteSlot* own = m_SpriteList[x][y];
  for (int k = 0; k < 3; ++k) {
    const SpriteSlot& s = own[k];
    if (!s.sprite) continue;
    const int left = s.x, top = s.y;
    const int right = left + static_cast<int>(CIsoSprite::GetWidth(s.sprite));
    const int bottom = top + static_cast<int>(CIsoSprite::GetHeight(s.sprite));
    const int cellsBefore = g.count, coversBefore = coverCount;
    int firstCellCovers = 0;
    // The nearest cells whose objects reach into the sprite's box, then one
    // look at whether they hide it.
    for (const auto& step : kCoverSteps) {
      if (g.count == kMaxCovers) break;
      const int cx = x + ex * step[0], cy = y + ey * step[1];
      bool listed = false;
      for (int i = 0; i < g.count; ++i) listed = listed || (g.cellX[i] == cx && g.cellY[i] == cy);
      const int coversOfCells = coverCount;
      if (listed || !addCell(cx, cy, left, top, right, bottom)) continue;
      if (g.count == cellsBefore) firstCellCovers = coverCount - coversOfCells;
      g.cellX[g.count] = static_cast<uint8_t>(cx);
      g.cellY[g.count] = static_cast<uint8_t>(cy);
      g.build[g.count] = m_CellBuild[cx][cy];
      ++g.count;
    }
    // The first new cell alone is enough most of the time (a building over
    // its own ground); the fewer cells, the fewer that must be drawn too.
    bool hidden = false;
    if (g.count > cellsBefore + 1 &&
        CIsoSprite::IsCovered(s.sprite, s.x, s.y, covers, coversBefore + firstCellCovers)) {
      g.count = static_cast<uint8_t>(cellsBefore + 1);
      coverCount = coversBefore + firstCellCovers;
      hidden = true;
    }
    hidden = hidden || CIsoSprite::IsCovered(s.sprite, s.x, s.y, covers, coverCount);
    if (hidden) {
      g.hidden = static_cast<uint8_t>(g.hidden | (1 << k));
    } else {
      g.count = static_cast<uint8_t>(cellsBefore);
      coverCount = coversBefore;
    }
  }
  g.known = s_CoverEpoch;
  s_CoversKnown = true;
  m_GroundCover[x][y] = g;
}

uint8_t CIsoWelt::HiddenGround(int x, int y) {
  // A list made in this frame has no cover worked out in this epoch (making
  // it forgot its own): nothing of the cell's cover record needs reading.
  if (m_CellBuild[x][y] >= m_FrameFirstBuild) {
    m_FrameUnsettled = true;
    return 0;
  }
  GroundCover& g = m_GroundCover[x][y];
  bool current = g.known == s_CoverEpoch;
  for (int i = 0; i < g.count && current; ++i)
    current = m_SPOK[g.cellX[i]][g.cellY[i]] && m_CellBuild[g.cellX[i]][g.cellY[i]] == g.build[i];
  if (!current) {
    // Working out covers costs more than drawing the ground: the frame that
    // makes a cell's list leaves it to the frames after, which each do a
    // share, so that the first frame after a zoom or a turn costs what it
    // did without covers.
    if (m_CellBuild[x][y] >= m_FrameFirstBuild || m_CoverBudget == 0) {
      m_FrameUnsettled = true;
      return 0;
    }
    --m_CoverBudget;
    FindGroundCover(x, y);
  }
  // Hidden only when every cover is drawn in this frame.
  for (int i = 0; i < g.count; ++i)
    if (m_FrameMark[g.cellX[i]][g.cellY[i]] != m_Frame) return 0;
  return g.hidden;
}

// ---- the two passes of the sprite-list renderers -------------------------------------

int CIsoWelt::RenderPassGround(const FramePass& pass, int x, int y, bool inside) {
  QnoRenderBuffer* buffer = pass.buffer;
  int px, py;
  if (!inside) {
    CIsoTile* ground = CIsoTile::Get(m_pResources, kOutsideGroundTile);
    if (!ground) return 1;
    TilePoint(x, y, px, py);
    // Its sprites are kept as the cells' are: a recorded frame draws them
    // among the others' visible runs.
    ground->ForEachFloorSprite(m_pResources, px, py, ISO_RICHTUNG_0,
                               [&](const void* sprite, int left, int top) { pass.Draw(sprite, left, top); });
    return 0;
  }
  if (!m_SPOK[x][y] && !MakeSpriteRenderList(x, y)) return 1;
  const uint8_t hidden = pass.cull ? HiddenGround(x, y) : 0;
  const SpriteSlot* slots = m_SpriteList[x][y];
  for (int k = 0; k < 3; ++k) {
    if (hidden & (1 << k))
      ++m_HiddenSprites;
    else
      pass.Draw(slots[k]);
  }
  if (!pass.toolMarks) return 0;
  const int kind = m_pHost->GetTileMask(x, y);
  if (kind == 1) {
    if (CIsoTile* mark = CIsoTile::Get(m_pResources, kStreetMarkTile)) {
      TilePoint(x, y, px, py);
      const int bits = m_pHost->GetTileMask2(x, y);
      for (int k = 0; k < 4; ++k)
        if (bits & (1 << k))
          mark->Render(buffer, m_pResources, px, py, 0, static_cast<TIsoRichtung>(((k == 0 ? 3 : k - 1) + g_IsoRichtung) & 3));
    }
  } else if ((kind >= 6 && kind <= 14) || (kind >= 16 && kind <= 18)) {
    if (CIsoTile* mark = CIsoTile::Get(m_pResources, kHighlightTile)) {
      TilePoint(x, y, px, py);
      mark->Render(buffer, m_pResources, px, py, 0, ISO_RICHTUNG_0);
    }
  }
  return 0;
}

void CIsoWelt::DrawCellObjects(QnoDisplay* display, bool secondCars, int x, int y) {
  if (secondCars) {
    // The tile's corner is worked out for the first car listed there: most
    // drawn cells list none.
    int px = 0, py = 0;
    bool placed = false;
    for (CIsoVehicle* car : m_CarSecondRender[x][y]) {
      if (!car) continue;
      if (!placed) {
        TilePoint(x, y, px, py);
        py -= Tile_Size_Y[IsoZoomIndex()];
        placed = true;
      }
      car->RenderSecondPosition(display, px, py);
    }
  }
  if (CIsoInfo* cell = GetIsoInfo(x, y))
    cell->Render(display, static_cast<unsigned short>(x), static_cast<unsigned short>(y), g_ZoomStufe,
                 static_cast<TIsoRichtung>(g_IsoRichtung), ISO_LAYER_GROUND);
}

int CIsoWelt::RenderPassObjects(const FramePass& pass, int x, int y) {
  if (!m_SPOK[x][y] && !MakeSpriteRenderList(x, y)) return 1;
  const SpriteSlot* slots = m_SpriteList[x][y];
  pass.Draw(slots[3]);
  // The world objects draw what changes from frame to frame (vehicles):
  // a recorded frame does it again each time.
  if (pass.vehicles || pass.district) {
    const CIsoInfo* cell = GetIsoInfo(x, y);
    pass.Note(kStepMarks[!cell || cell->RendersOnlyLayoutVehicles(ISO_LAYER_GROUND) ? 2 : 1], x, y);
    DrawCellObjects(pass.display, pass.secondCars, x, y);
  }
  if (slots[4].id == 0) return 0;
  if (pass.district) {
    int tileId = kOutsideGroundTile;
    const int d = m_pHost->GetDistrictAt(x, y);
    if (d >= 0) tileId = (d % 2) ? kDistrictTileOdd : kDistrictTileEven;
    CIsoTile* tile = CIsoTile::Get(m_pResources, tileId);
    if (!tile) return 1;
    int px, py;
    TilePoint(x, y, px, py);
    tile->RenderFloor(pass.buffer, m_pResources, px, py, ISO_RICHTUNG_0);
    return 0;
  }
  pass.Draw(slots[4]);
  pass.Draw(slots[5]);
  return 0;
}

// ---- the renderers -------------------------------------------------------------------

namespace {

// The diagonal walk: map rows along one tile axis, so that every tile
// comes after the two neighbours behind it.
class DiagonalWalk {
 public:
  DiagonalWalk(const IsoViewRectType& r, int rot) : m_r(r), m_rot(rot & 3) {
    if (m_rot == 0)
      m_sx = r.k2x, m_sy = r.k2y;
    else
      m_sx = r.k0x, m_sy = r.k0y;
    m_cx = m_sx;
    m_cy = m_sy;
  }

  bool Next(int& x, int& y) {
    if (++m_steps > kMaxDiagonalSteps) return false;
    if (m_started && RowOver()) {
      NextRowStart();
      m_cx = m_sx;
      m_cy = m_sy;
      if (Finished()) return false;
    }
    m_started = true;
    x = m_cx;
    y = m_cy;
    Advance();
    return true;
  }

 private:
  bool RowOver() const {
    const IsoViewRectType& r = m_r;
    const int cx = m_cx, cy = m_cy;
    switch (m_rot) {
      case 0:
        return (cy - r.k2y) - (cx - r.k2x) < 0 || (r.k3y - cy) + (r.k3x - cx) < 1;
      case 1:
        return (cx - r.k1x) + (cy - r.k1y) < 0 || (r.k1x - cx) + (cy - r.k1y) < 0;
      case 2:
        return (cy - r.k1y) + (r.k1x - cx) > 0 || (r.k1x - cx) + (r.k1y - cy) > -1;
      default:
        return (r.k1x - cx) + (r.k1y - cy) < 0 || (cx - r.k1x) + (r.k1y - cy) < 1;
    }
  }
  void NextRowStart() {
    const IsoViewRectType& r = m_r;
    switch (m_rot) {
      case 0:
        if ((m_sx - r.k0x) + (r.k0y - m_sy) < 1) m_sx += 1, m_sy += 1;
        else m_sx -= 1, m_sy += 1;
        break;
      case 1:
        if ((r.k2x - m_sx) + (r.k2y - m_sy) < 1) m_sx += 1, m_sy -= 1;
        else m_sx += 1, m_sy += 1;
        break;
      case 2:
        if ((r.k2x - m_sx) + (m_sy - r.k2y) < 1) m_sx -= 1, m_sy -= 1;
        else m_sx += 1, m_sy -= 1;
        break;
      default:
        if ((m_sx - r.k2x) + (m_sy - r.k2y) < 1) m_sx -= 1, m_sy += 1;
        else m_sx -= 1, m_sy -= 1;
        break;
    }
  }
  bool Finished() const {
    switch (m_rot) {
      case 0:
        return m_sy > m_r.k1y;
      case 1:
        return m_sx > m_r.k3x;
      case 2:
        return m_sy < m_r.k3y;
      default:
        return m_sx < m_r.k3x;
    }
  }
  void Advance() {
    static const int kStep[4][2] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}};
    m_cx += kStep[m_rot][0];
    m_cy += kStep[m_rot][1];
  }

  const IsoViewRectType& m_r;
  int m_rot;
  int m_sx, m_sy, m_cx, m_cy;
  bool m_started = false;
  int m_steps = 0;
};

// Either walk over the view rectangle: screen rows, or map rows.
class TileWalk {
 public:
  TileWalk(const IsoViewRectType& r, bool diagonal) : m_rows(r), m_diagonal(r, g_IsoRichtung), m_isDiagonal(diagonal) {
    m_rows.SetupTraversal(g_IsoRichtung);
  }
  bool Next(int& x, int& y) { return m_isDiagonal ? m_diagonal.Next(x, y) : m_rows.GetNextTile(x, y); }

 private:
  IsoViewRectType m_rows;
  DiagonalWalk m_diagonal;
  bool m_isDiagonal;
};

}  // namespace

CIsoWelt::FrameKey CIsoWelt::MakeFrameKey(QnoDisplay* display, bool diagonal) {
  const IsoViewRectType& v = m_ViewRect;
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  const bool filter2 = m_pHost->GetFilter(2) != 0;
  return FrameKey{s_CacheChanges,
                  CIsoInfo::GetObjectChanges(),
                  {v.k0x, v.k0y, v.k1x, v.k1y, v.k2x, v.k2y, v.k3x, v.k3y},
                  m_OriginX,
                  m_OriginY,
                  m_PixelOffsetX,
                  m_PixelOffsetY,
                  m_RenderOriginX,
                  m_RenderOriginY,
                  static_cast<int32_t>(g_ZoomStufe),
                  g_IsoRichtung,
                  diagonal,
                  filter2,
                  m_pHost->IsDebugInfo(),
                  !filter2 && g_ZoomStufe != ISO_ZOOM_4,
                  display,
                  buffer->GetBuffer(),
                  buffer->GetPitch(),
                  {buffer->ClipLeft(), buffer->ClipTop(), buffer->ClipRight(), buffer->ClipBottom()}};
}

void CIsoWelt::ReplayMark(QnoDisplay* display, bool diagonal, const FrameStep& step) {
  const uintptr_t mark = reinterpret_cast<uintptr_t>(step.sprite) - reinterpret_cast<uintptr_t>(kStepMarks);
  if (mark == 0) {
    RenderUserInt(display);
  } else {
    DrawCellObjects(display, !diagonal, step.x, step.y);
  }
}

bool CIsoWelt::CellStepDrawsNothing(const FrameStep& step, bool secondCars, bool cellView) const {
  if (step.sprite != &kStepMarks[2] || cellView || !IsoInMap(step.x, step.y) || s_LayoutVehicles[step.x][step.y])
    return false;
  if (secondCars)
    for (const CIsoVehicle* car : m_CarSecondRender[step.x][step.y])
      if (car) return false;
  return true;
}

void CIsoWelt::ReplayFrame(QnoDisplay* display, bool diagonal, RecordedFrame& frame) {
  ++m_ReplayedFrames;
  m_HiddenSprites = frame.hidden;
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  const QnoSpriteTarget target(buffer);
  const uintptr_t marks = reinterpret_cast<uintptr_t>(kStepMarks);
  auto isMark = [&](const FrameStep& step) { return reinterpret_cast<uintptr_t>(step.sprite) - marks <= 2; };
  // Most cells' objects have nothing to draw in a frame: they are passed
  // over without a call down to their layouts.
  const bool cellView = CWorldHost::Get()->GetShowMicroZellen();
  auto drawsNothing = [&](size_t i) { return CellStepDrawsNothing(frame.steps[i], !diagonal, cellView); };
  // Worked out on the second replay: a frame drawn again once may well
  // change before the next.
  if (frame.made == RecordedFrame::Runs::NotYet && ++frame.replays >= 2) {
    frame.made = RecordedFrame::Runs::Made;
    frame.runs.Begin(target);
    for (size_t i = frame.steps.size(); i-- > 0;) {
      const FrameStep& step = frame.steps[i];
      // A cell's world objects draw their vehicles: little, drawn over
      // the finished picture. So does the interface between the passes
      // while it draws nothing; once it draws, the runs are cut at it.
      if (isMark(step) && (step.sprite != &kStepMarks[0] || frame.quietInterface)) {
        frame.runs.OverlayBackwards(i);
      } else if (isMark(step)) {
        frame.runs.BreakBackwards(i);
      } else if (!frame.runs.AddBackwards(step.sprite, step.x, step.y)) {
        frame.made = RecordedFrame::Runs::Impossible;
        frame.runs = QnoVisibleRuns();
        break;
      }
    }
    if (frame.made == RecordedFrame::Runs::Made) frame.runs.Pack();
  }
  if (frame.made == RecordedFrame::Runs::Made) {
    // On a screen that keeps its pixels, the runs are drawn again only
    // where the last frame's cars and the drawing since changed it.
    const bool changesOnly = frame.runs.Draw(drawsNothing, [&](size_t i) {
      ReplayMark(display, diagonal, frame.steps[i]);
      if (frame.steps[i].sprite == &kStepMarks[0] && frame.quietInterface && frame.runs.OverlayDrew()) {
        frame.quietInterface = false;
        frame.made = RecordedFrame::Runs::NotYet;
        frame.replays = 0;
      }
    });
    if (changesOnly) ++m_ChangesOnlyFrames;
  } else {
    for (size_t i = 0; i < frame.steps.size(); ++i) {
      const FrameStep& step = frame.steps[i];
      if (!isMark(step))
        target.Draw(step.sprite, step.x, step.y);
      else if (!drawsNothing(i))
        ReplayMark(display, diagonal, step);
    }
  }
  RenderBuildingSelections();
  RenderBuildingList();
}

void CIsoWelt::PrefetchSlots(std::pair<int, int> cell, int firstSlot) {
  const auto [x, y] = cell;
  if (!IsoInMap(x, y)) return;
  const char* first = reinterpret_cast<const char*>(&m_SpriteList[x][y][firstSlot]);
  const char* last = reinterpret_cast<const char*>(&m_SpriteList[x][y][kSlotsPerCell]) - 1;
  for (const char* p = first; p <= last; p += 64) __builtin_prefetch(p, 1);
  __builtin_prefetch(last, 1);
  if (firstSlot == 0) __builtin_prefetch(&m_GroundCover[x][y]);
}

int CIsoWelt::RenderSpriteLists(QnoDisplay* display, bool diagonal) {
  if (!display || !display->GetRenderBuffer()) return 1;
  const selObjType* sel = m_pHost->GetSelection();
  const bool toolMarks = sel && sel->tool == 2;
  const FrameKey key = MakeFrameKey(display, diagonal);
  const bool district = key.debug && key.filter2;
  // Tool marks and district floors are asked of the host for every cell:
  // such frames are never kept.
  const bool keep = !toolMarks && !district;
  RecordedFrame& recorded = m_Recorded[key.rotation & 3];
  if (keep && recorded.valid && key == recorded.key) {
    ReplayFrame(display, diagonal, recorded);
    return 0;
  }
  recorded.valid = false;
  recorded.steps.clear();
  recorded.replays = 0;
  recorded.made = RecordedFrame::Runs::NotYet;
  recorded.quietInterface = true;
  m_FrameUnsettled = false;
  // Both passes take the cells in the same order; the walk is made once
  // and every cell it takes is marked with the frame's number.
  m_Frame = ++g_FrameSerial;
  m_HiddenSprites = 0;
  m_FrameFirstBuild = g_BuildSerial + 1;
  // Larger tiles cost more per cell: fewer cells then.
  m_CoverBudget = kCoverCellsPerFrame * Tile_Size_Y[2] / Tile_Size_Y[IsoZoomIndex()];
  m_FrameCells.clear();
  int x, y;
  bool makesEntries = false;
  TileWalk walk(m_ViewRect, diagonal);
  while (walk.Next(x, y)) {
    m_FrameCells.emplace_back(x, y);
    if (IsoInMap(x, y)) {
      m_FrameMark[x][y] = m_Frame;
      makesEntries = makesEntries || !m_SPOK[x][y];
    }
  }
  // A frame that makes cache entries changes what it is drawn from and is
  // never kept: its steps are not recorded.
  const bool record = keep && !makesEntries;
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  // The frame draws over the whole view: a watch begun after a recorded
  // frame's last draw would only learn, box by box, that all of it changed.
  // Setting no list ends it (nothing else lists a whole frame's drawing).
  buffer->SetTouchedList(nullptr);
  const FramePass pass{display,
                       buffer,
                       QnoSpriteTarget(buffer),
                       m_OriginX + m_PixelOffsetX - m_RenderOriginX,
                       m_OriginY + m_PixelOffsetY - m_RenderOriginY,
                       // The district view draws a floor instead of a cell's
                       // objects: nothing of the ground is hidden then.
                       !district,
                       toolMarks,
                       !diagonal,
                       key.vehicles,
                       district,
                       record ? &recorded.steps : nullptr};
  // Cells whose lists are to be made are read from scattered memory: the
  // cell, its objects, its render list and the list's items are fetched a
  // few cells ahead, each a step after the one it is reached through.
  // Whether a cell is to be made is asked once, as it comes 16 cells ahead,
  // and the later steps read the answer (a cell made in between by a
  // ground cover's work is only fetched for nothing).
  const size_t cellCount = m_FrameCells.size();
  auto ask = [&](size_t i) -> CIsoInfo* {
    if (i >= cellCount) return nullptr;
    const auto [cx, cy] = m_FrameCells[i];
    return IsoInMap(cx, cy) && !m_SPOK[cx][cy] ? GetIsoInfo(cx, cy) : nullptr;
  };
  constexpr size_t kAhead = 16, kRing = 32;
  CIsoInfo* making[kRing];
  for (size_t i = 0; i < kAhead; ++i) making[i] = ask(i);
  auto toMake = [&](size_t i) { return making[i % kRing]; };
  for (size_t i = 0; i < cellCount; ++i) {
    CIsoInfo* ahead = making[(i + kAhead) % kRing] = ask(i + kAhead);
    if (ahead) __builtin_prefetch(ahead);
    // After a turn or zoom the cell's list is made from its objects first.
    if (CIsoInfo* cell = toMake(i + 13))
      for (TBaseType layer : {ISO_LAYER_GROUND, ISO_LAYER_UPPER})
        if (CIsoObjLst* objects = cell->GetIsoObjects(layer)) __builtin_prefetch(objects);
    if (CIsoInfo* cell = toMake(i + 10))
      for (TBaseType layer : {ISO_LAYER_GROUND, ISO_LAYER_UPPER})
        if (CIsoObjLst* objects = cell->GetIsoObjects(layer)) __builtin_prefetch(objects->GetHead());
    if (CIsoInfo* cell = toMake(i + 8))
      if (SortedList* list = cell->GetRenderList()) __builtin_prefetch(list);
    if (CIsoInfo* cell = toMake(i + 4))
      if (SortedList* list = cell->GetRenderList(); list && list->GetCount() > 0) __builtin_prefetch(&list->GetAt(0));
    // The cell's slots, which the pass clears and fills or reads, and its
    // ground cover, lie a whole cache line or more from the last cell's.
    if (i + 8 < cellCount) PrefetchSlots(m_FrameCells[i + 8], 0);
    const auto [cx, cy] = m_FrameCells[i];
    if (RenderPassGround(pass, cx, cy, IsoInMap(cx, cy))) return 1;
  }
  pass.Note(kStepMarks[0], 0, 0);
  RenderUserInt(display);
  for (size_t i = 0; i < cellCount; ++i) {
    if (i + 8 < cellCount) PrefetchSlots(m_FrameCells[i + 8], 3);
    const auto [cx, cy] = m_FrameCells[i];
    if (IsoInMap(cx, cy) && RenderPassObjects(pass, cx, cy)) return 1;
  }
  RenderBuildingSelections();
  RenderBuildingList();
  // Kept only when the frame changed none of the caches it was drawn from
  // and left no cover to work out: the next frame would draw the same.
  if (record && !m_FrameUnsettled && key == MakeFrameKey(display, diagonal)) {
    recorded.key = key;
    recorded.hidden = m_HiddenSprites;
    recorded.valid = true;
  }
  return 0;
}

int CIsoWelt::RenderSpriteList_Left_Right(QnoDisplay* display) { return RenderSpriteLists(display, false); }
int CIsoWelt::RenderSpriteList_Diagonal(QnoDisplay* display) { return RenderSpriteLists(display, true); }

int CIsoWelt::Render(QnoDisplay* display) {
  if (!display || !display->GetRenderBuffer()) return 1;
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  int x, y, px, py;
  TIsoRichtung dir = ISO_RICHTUNG_0;
  int layer = 0;
  IsoViewRectType walk = m_ViewRect;
  walk.SetupTraversal(g_IsoRichtung);
  while (walk.GetNextTile(x, y)) {
    TilePoint(x, y, px, py);
    CIsoInfo* cell = IsoInMap(x, y) ? GetIsoInfo(x, y) : nullptr;
    if (!cell) {
      CIsoTile* ground = CIsoTile::Get(m_pResources, kOutsideGroundTile);
      if (!ground) return 1;
      ground->RenderFloor(buffer, m_pResources, px, py, ISO_RICHTUNG_0);
      continue;
    }
    for (int id = cell->GetFirstRenderID(dir, layer); id; id = cell->GetNextFloorRenderID(dir, layer)) {
      CIsoTile* tile = CIsoTile::Get(m_pResources, id);
      if (!tile) return 1;
      tile->RenderFloor(buffer, m_pResources, px, py, DrawDir(dir));
    }
  }
  RenderUserInt(display);
  const bool filter2 = m_pHost->GetFilter(2);
  walk = m_ViewRect;
  walk.SetupTraversal(g_IsoRichtung);
  while (walk.GetNextTile(x, y)) {
    CIsoInfo* cell = IsoInMap(x, y) ? GetIsoInfo(x, y) : nullptr;
    if (!cell) continue;
    TilePoint(x, y, px, py);
    auto draw = [&](int id) {
      if (CIsoTile* tile = CIsoTile::Get(m_pResources, id))
        tile->Render(buffer, m_pResources, px, py, static_cast<unsigned char>(layer), DrawDir(dir));
    };
    if (int id = cell->GetMiddleRenderID(dir, layer)) draw(id);
    if (g_ZoomStufe < ISO_ZOOM_4 && !filter2)
      cell->Render(display, static_cast<unsigned short>(x), static_cast<unsigned short>(y), g_ZoomStufe,
                   static_cast<TIsoRichtung>(g_IsoRichtung), ISO_LAYER_GROUND);
    for (int id = cell->GetNextRenderID(dir, layer); id; id = cell->GetNextRenderID(dir, layer)) draw(id);
  }
  RenderBuildingSelections();
  return 0;
}
