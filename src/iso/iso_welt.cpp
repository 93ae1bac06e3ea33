#include "iso/iso_welt.h"

#include <cstring>
#include <utility>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "iso/iso_screen_tiles.h"
#include "iso/iso_vehicle.h"
#include "iso/street_info_list.h"
#include "worldbase/zor_world_obj.h"

CIsoWelt::RotationCache CIsoWelt::s_Rotations[4];
CIsoWelt::RotationState CIsoWelt::s_RotationStates[4];
int CIsoWelt::s_CacheRotation = 0;
uint32_t CIsoWelt::s_EpochSerial = 1;
CIsoWelt::SpriteSlot (*CIsoWelt::m_SpriteList)[ISO_MAP_SIZE][kSlotsPerCell] = s_Rotations[0].slots;
uint8_t (*CIsoWelt::m_SPOK)[ISO_MAP_SIZE] = s_Rotations[0].ok;
CIsoWelt::GroundCover (*CIsoWelt::m_GroundCover)[ISO_MAP_SIZE] = s_Rotations[0].cover;
uint32_t (*CIsoWelt::m_CellBuild)[ISO_MAP_SIZE] = s_Rotations[0].build;
uint32_t CIsoWelt::m_FrameMark[ISO_MAP_SIZE][ISO_MAP_SIZE];
uint32_t CIsoWelt::m_ViewMark[ISO_MAP_SIZE][ISO_MAP_SIZE];
uint32_t CIsoWelt::s_ViewSerial = 0;
uint32_t CIsoWelt::s_CoverEpoch = 1;
bool CIsoWelt::s_CoversKnown = false;
CIsoVehicle* CIsoWelt::m_CarSecondRender[ISO_MAP_SIZE][ISO_MAP_SIZE][4];
uint16_t CIsoWelt::s_LayoutVehicles[ISO_MAP_SIZE][ISO_MAP_SIZE];

namespace {

int Clamp127(int v) { return v < 0 ? 0 : (v > ISO_MAP_SIZE - 1 ? ISO_MAP_SIZE - 1 : v); }

// The number of correction steps one map edge may take when the pixel
// offset is pulled back inside the map.
constexpr int kMaxEdgeSteps = 100;

// A sound rectangle's cells marked out of it and into it again.
void SoundOff(int, int, CIsoInfo* cell) {
  if (cell) cell->SetSoundVisible(false);
}
void SoundOn(int, int, CIsoInfo* cell) {
  if (cell) cell->SetSoundVisible(true);
}

}  // namespace

int CIsoUpdateRndLst::Update() {
  CIsoInfo::MakeAllRenderListsStale();
  return m_pMap->ResetCompleteSpriteRenderList();
}

int CIsoUpdateRndLst::UpdateRotate() {
  CIsoInfo::MakeTurnedRenderListsStale();
  m_pMap->TurnSpriteCache();
  return 0;
}

CIsoWelt::CIsoWelt(CIsoHost* host, QnoResourceManager* resources, QnoDisplay* display)
    : m_pHost(host ? host : CIsoHost::Default()), m_pResources(resources), m_pDisplay(display), m_pGrid{}, m_UpdateRndLst(this) {
  m_CenterX = m_CenterY = 0;
  // The other rotations' caches are emptied when they are first taken.
  for (RotationState& r : s_RotationStates) r.valid = false;
  ShowRotationCache(g_IsoRichtung & 3);
  RotationCache& cache = s_Rotations[s_CacheRotation];
  std::memset(cache.slots, 0, sizeof cache.slots);
  std::memset(cache.ok, 0, sizeof cache.ok);
  std::memset(cache.cover, 0, sizeof cache.cover);
  std::memset(cache.build, 0, sizeof cache.build);
  StartRotationCache();
  std::memset(m_FrameMark, 0, sizeof m_FrameMark);
  std::memset(m_CarSecondRender, 0, sizeof m_CarSecondRender);
  ++s_CacheChanges;
  CIsoObject::m_pResources = resources;
  CIsoObjGroup::m_pIsoWelt = this;
}

CIsoWelt::~CIsoWelt() {
  for (CIsoInfo*& cell : m_pGrid) {
    delete cell;
    cell = nullptr;
  }
  if (CIsoObjGroup::m_pIsoWelt == this) CIsoObjGroup::m_pIsoWelt = nullptr;
  if (m_pStreetInfo) {
    m_pStreetInfo->DeleteFollowing();
    delete m_pStreetInfo;
  }
}

int CIsoWelt::OnCreate() {
  QNO_ERROR(QNO_SEV_WARNING, "Starte CIsoWelt::OnCreate...");
  CIsoObject::m_pResources = m_pResources;
  CIsoObjGroup::m_pIsoWelt = this;
  m_CenterX = m_CenterY = 64;
  m_PixelOffsetX = m_PixelOffsetY = 0;
  m_MouseTileX = m_MouseTileY = 0;
  g_IsoRichtung = 0;
  g_ZoomStufe = ISO_ZOOM_2;
  // A screen opened at another size than 800 x 600 pans only at its own
  // edges, not from where an 800 x 600 screen's band would begin.
  SetPanningBand();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) {
      const int at = x * ISO_MAP_SIZE + y;
      CIsoInfo*& cell = m_pGrid[at];
      const bool kept = std::exchange(m_GroundKept[at], false);
      if (cell && !kept) continue;
      // A kept cell that something gave more than ground in the meantime
      // is made anew.
      if (cell && !cell->IsPlainGround()) {
        delete cell;
        cell = nullptr;
      }
      if (!cell) cell = new CIsoInfo(this, x, y);
      const int ground = m_pHost->GetBaseResID(false);
      CWorldObj* empty = m_pHost->CreateObjectEmpty();
      cell->LayGround(ground, empty);
    }
  CalcViewRect();
  QNO_ERROR(QNO_SEV_WARNING, "Ok");
  return 0;
}

int CIsoWelt::Destroy() {
  std::memset(m_CarSecondRender, 0, sizeof m_CarSecondRender);
  for (CIsoInfo*& cell : m_pGrid) {
    if (!cell) continue;
    cell->DestroyAll();
    delete cell;
    cell = nullptr;
  }
  return 0;
}

int CIsoWelt::DestroyForLoad() {
  std::memset(m_CarSecondRender, 0, sizeof m_CarSecondRender);
  for (int at = 0; at < ISO_MAP_SIZE * ISO_MAP_SIZE; ++at) {
    CIsoInfo*& cell = m_pGrid[at];
    if (!cell) continue;
    if (m_GroundKept[at] || cell->IsPlainGround()) {
      cell->ForgetGroundObject();
      m_GroundKept[at] = true;
      continue;
    }
    cell->DestroyAll();
    delete cell;
    cell = nullptr;
  }
  return 0;
}

// ---- coordinates -------------------------------------------------------------------

void CIsoWelt::CalcIsoToXY(short u, short v, int* x, int* y) {
  int rx, ry;
  IsoTileToScreen(g_IsoRichtung, IsoZoomIndex(), u, v, rx, ry);
  if (x) *x = rx;
  if (y) *y = ry;
}

void CIsoWelt::CalcXYToIso(short sx, short sy, int* tileX, int* tileY) {
  int tx, ty;
  IsoScreenToTile(g_IsoRichtung, IsoZoomIndex(), sx, sy, tx, ty);
  if (tileX) *tileX = tx;
  if (tileY) *tileY = ty;
}

// ---- the view rectangle --------------------------------------------------------------

void CIsoWelt::CalcViewRect() {
  const IsoViewRectType oldView = m_ViewRect;
  const IsoViewRectType oldSound = m_SoundRect;
  const int width = m_pDisplay ? m_pDisplay->GetScreenWidth() : 800;
  const int height = m_pDisplay ? m_pDisplay->GetScreenHeight() : 600;
  const int hw = width / 2, hh = height / 2;
  const short left = static_cast<short>(-hw - 50), right = static_cast<short>(hw + 50);
  const short top = static_cast<short>(-hh - 50), bottom = static_cast<short>(hh + 50);
  struct Pt {
    short x, y;
  };
  Pt first{left, top}, second{left, bottom}, third{right, top}, fourth{right, bottom};
  if (g_IsoRichtung != 0) first = {right, top}, second = {right, bottom}, third = {left, top}, fourth = {left, bottom};
  auto corner = [&](Pt p, int32_t& cx, int32_t& cy) {
    int tx, ty;
    CalcXYToIso(p.x, p.y, &tx, &ty);
    cx = tx + m_CenterX;
    cy = ty + m_CenterY;
  };
  corner(first, m_ViewRect.k0x, m_ViewRect.k0y);
  corner(second, m_ViewRect.k1x, m_ViewRect.k1y);
  corner(third, m_ViewRect.k2x, m_ViewRect.k2y);
  corner(fourth, m_ViewRect.k3x, m_ViewRect.k3y);
  int cx, cy;
  CalcIsoToXY(static_cast<short>(m_CenterX), static_cast<short>(m_CenterY), &cx, &cy);
  m_OriginX = hw - cx;
  m_OriginY = hh - cy;
  m_ViewRect.richtung = g_IsoRichtung;
  m_pHost->UpdateViewRect(m_ViewRect);
  CalcMicroViewRect();

  GatherWalk(oldSound);
  VisitWalkCells(SoundOff);
  CalcSoundRect();
  // The cells of the new view are marked first: those of the old view that
  // stay in it are shown again below, so hiding them (their streets' micro
  // cells too) would be undone at once. A turn or a small scroll keeps most.
  const uint32_t viewMark = ++s_ViewSerial;
  int x, y;
  IsoViewRectType walk = m_ViewRect;
  walk.SetupTraversal(g_IsoRichtung);
  while (walk.GetNextTile(x, y))
    if (IsoInMap(x, y)) m_ViewMark[x][y] = viewMark;
  GatherWalk(oldView);
  VisitWalkCells([&](int cx, int cy, CIsoInfo* cell) {
    if (!cell) return;
    if (m_ViewMark[cx][cy] == viewMark)
      cell->DropSoundVisible();
    else
      cell->SetVisible(false, static_cast<unsigned short>(cx), static_cast<unsigned short>(cy));
  });
  GatherWalk(m_ViewRect);
  VisitWalkCells([&](int cx, int cy, CIsoInfo* cell) {
    if (cell) cell->SetVisible(true, static_cast<unsigned short>(cx), static_cast<unsigned short>(cy));
    m_pHost->UpdateViewFilter(cx, cy);
  });
  GatherWalk(m_SoundRect);
  VisitWalkCells(SoundOn);
}

void CIsoWelt::GatherWalk(IsoViewRectType walk) {
  m_WalkCells.clear();
  walk.SetupTraversal(g_IsoRichtung);
  int x, y;
  while (walk.GetNextTile(x, y))
    if (IsoInMap(x, y)) m_WalkCells.push_back(static_cast<uint16_t>(x * ISO_MAP_SIZE + y));
}

void CIsoWelt::MarkSoundRectAgain() {
  GatherWalk(m_SoundRect);
  VisitWalkCells(SoundOff);
  GatherWalk(m_ViewRect);
  VisitWalkCells([](int, int, CIsoInfo* cell) {
    if (cell) cell->DropSoundVisible();
  });
  GatherWalk(m_SoundRect);
  VisitWalkCells(SoundOn);
}

void CIsoWelt::ResetTiles() {
  m_ViewRect.SetupTraversal(g_IsoRichtung);
  int x, y;
  while (m_ViewRect.GetNextTile(x, y)) {
  }
}

// ---- scrolling ---------------------------------------------------------------------

int CIsoWelt::CheckXYPixelIsoMove() {
  const int i = IsoZoomIndex();
  const int64_t limit = 256LL * Tile_Size_XDiv2[i];  // 2 XD x 128
  int cx, cy;
  CalcIsoToXY(static_cast<short>(m_CenterX), static_cast<short>(m_CenterY), &cx, &cy);
  int dx = cx - m_PixelOffsetX, dy = cy - m_PixelOffsetY;

  // For each rotation: 2 XD times the continuous tile x and y of a pixel
  // point as (x factor, 2y factor), and the screen direction in which each
  // grows. The edges are taken in the order slope -1/2 through (0, 0),
  // slope +1/2 through (0, 0), then the same two through (128, 128).
  struct Axis {
    int fx, fy;  // 2 XD w = fx * x + fy * 2y
    int sx, sy;  // signs of the screen movement as w grows
  };
  static const Axis kAxes[4][2] = {
      {{1, 1, 1, 1}, {-1, 1, -1, 1}},     // u, v in rotation 0
      {{-1, 1, -1, 1}, {-1, -1, -1, -1}},  // rotation 1
      {{-1, -1, -1, -1}, {1, -1, 1, -1}},  // rotation 2
      {{1, -1, 1, -1}, {1, 1, 1, 1}},     // rotation 3
  };
  static const int kFirstAxis[4] = {0, 1, 0, 1};
  const int r = g_IsoRichtung & 3;
  for (int edge = 0; edge < 4; ++edge) {
    const int axisIndex = (edge % 2 == 0) ? kFirstAxis[r] : 1 - kFirstAxis[r];
    const Axis& a = kAxes[r][axisIndex];
    const bool lower = edge < 2;
    const int s = lower ? 1 : -1;  // toward the inside
    for (int step = 0; step < kMaxEdgeSteps; ++step) {
      const int64_t w = static_cast<int64_t>(a.fx) * dx + static_cast<int64_t>(a.fy) * 2 * dy;
      if (lower ? w >= 0 : w <= limit) break;
      dx += 2 * s * a.sx;
      dy += s * a.sy;
      m_PixelOffsetX -= s * a.sx;
      m_PixelOffsetY -= s * a.sy;
    }
  }
  int u, v;
  CalcXYToIso(static_cast<short>(m_PixelOffsetX), static_cast<short>(m_PixelOffsetY), &u, &v);
  if (u == 0 && v == 0) return 0;
  m_CenterX -= u;
  m_CenterY -= v;
  int px, py;
  CalcIsoToXY(static_cast<short>(u), static_cast<short>(v), &px, &py);
  m_PixelOffsetX -= px;
  m_PixelOffsetY -= py;
  CalcViewRect();
  return 1;
}

namespace {
// Tile steps of the four screen directions by rotation.
constexpr int kMoveLeft[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
constexpr int kMoveRight[4][2] = {{1, -1}, {-1, -1}, {-1, 1}, {1, 1}};
constexpr int kMoveUp[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
constexpr int kMoveDown[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
}  // namespace

#define ISO_MOVE(Name, Table)                  \
  int CIsoWelt::Name() {                       \
    const int r = g_IsoRichtung & 3;           \
    m_CenterX = Clamp127(m_CenterX + Table[r][0]); \
    m_CenterY = Clamp127(m_CenterY + Table[r][1]); \
    CalcViewRect();                            \
    return 0;                                  \
  }
ISO_MOVE(OnMoveLeft, kMoveLeft)
ISO_MOVE(OnMoveRight, kMoveRight)
ISO_MOVE(OnMoveUp, kMoveUp)
ISO_MOVE(OnMoveDown, kMoveDown)
#undef ISO_MOVE

// ---- cells -------------------------------------------------------------------------

int CIsoWelt::SetIsoTileAt(int x, int y, TBaseType layer, CIsoRichtung dir, int resId, CWorldObj* obj) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  if (!cell) return 1;
  // The layer's old sprites go, the new ones come, and the cell's render
  // list is made once from both layers.
  cell->ClearLayer(layer);
  cell->CreateTile(resId, static_cast<TIsoRichtung>(dir.GetValue() & 3), obj, layer);
  cell->InsertTilesInNewRenderList();
  m_pHost->UpdateViewFilter(x, y);
  return 0;
}

void CIsoWelt::ClearGroundOf(const CWorldObj* obj, int x1, int y1, int x2, int y2) {
  if (!obj) return;
  for (int x = x1; x <= x2; ++x)
    for (int y = y1; y <= y2; ++y)
      if (IsoInMap(x, y) && GetIsoTileObject(x, y, ISO_LAYER_GROUND) == obj) SetStdBase(x, y, ISO_LAYER_GROUND, false);
}

int CIsoWelt::SetStdBase(int x, int y, TBaseType layer, bool fixed) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  if (!cell) return 1;
  cell->Destroy(layer);
  if (layer != ISO_LAYER_GROUND) return 0;
  const int ground = m_pHost->GetBaseResID(fixed);
  CWorldObj* empty = m_pHost->CreateObjectEmpty();
  cell->CreateTile(ground, ISO_RICHTUNG_0, empty, ISO_LAYER_GROUND);
  m_pHost->UpdateViewFilter(x, y);
  if (cell->GetIsoObjects(ISO_LAYER_UPPER) && cell->GetWorldObject(ISO_LAYER_UPPER)) cell->InsertTilesInNewRenderList();
  return 0;
}

CWorldObj* CIsoWelt::GetIsoTileObject(int x, int y, TBaseType layer) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  return cell ? cell->GetWorldObject(layer) : nullptr;
}

TObjectType CIsoWelt::GetTypeAt(unsigned short x, unsigned short y, TBaseType layer) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  return cell ? cell->GetType(layer) : OBJ_NONE;
}

CIsoObjGroup* CIsoWelt::GetGroupAt(unsigned short x, unsigned short y, TBaseType layer) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  return cell ? cell->GetGroupObj(layer) : nullptr;
}

bool CIsoWelt::IsSameGroup(unsigned short x1, unsigned short y1, unsigned short x2, unsigned short y2,
                           TBaseType layer) {
  const CIsoObjGroup* a = GetGroupAt(x1, y1, layer);
  const CIsoObjGroup* b = GetGroupAt(x2, y2, layer);
  return a && b && a->GetStartPosX() == b->GetStartPosX() && a->GetStartPosY() == b->GetStartPosY();
}

int CIsoWelt::GetGroupSize(int x, int y, TBaseType layer, int& w, int& d) {
  w = d = 0;
  const CIsoObjGroup* g = GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), layer);
  if (!g) return 1;
  w = g->GetTurnedSizeX();
  d = g->GetTurnedSizeY();
  return 0;
}

int CIsoWelt::GetIsoGroupSize(int resId, TIsoRichtung dir, int& w, int& d) {
  w = d = 0;
  const CIsoGroup* g = CIsoGroup::Get(m_pResources, resId);
  if (!g || g->GetSizeX() < 1 || g->GetSizeY() < 1) return 1;
  w = (dir & 1) ? g->GetSizeY() : g->GetSizeX();
  d = (dir & 1) ? g->GetSizeX() : g->GetSizeY();
  return 0;
}

int CIsoWelt::GetGroupSize(SimLocationSizeType& size, int resId) {
  size = SimLocationSizeType{};
  const CIsoGroup* g = CIsoGroup::Get(m_pResources, resId);
  if (!g) return 1;
  size.width = static_cast<uint16_t>(g->GetSizeX());
  size.depth = static_cast<uint16_t>(g->GetSizeY());
  return 0;
}

int CIsoWelt::GetTileSize(SimLocationSizeType& size, int resId) {
  size = SimLocationSizeType{};
  if (!CIsoTile::Get(m_pResources, resId)) return 1;
  size.width = 1;
  size.depth = 1;
  return 0;
}

int CIsoWelt::SetFilter() {
  for (CIsoInfo* cell : m_pGrid)
    if (cell) cell->SetFilter();
  return 0;
}

void CIsoWelt::InvalidateSpriteRenderList(int x, int y) {
  ++s_CacheChanges;
  if (IsoInMap(x, y))
    for (RotationCache& r : s_Rotations) r.ok[x][y] = 0;
}
