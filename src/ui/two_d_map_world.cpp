// The thematic map's pictures: the world picture of the chosen layer with
// the net and the public-transport lines, and the screen picture turned by
// the view's rotation with the frame of the visible part.
#include <algorithm>
#include <vector>

#include "framework/qno_sprite.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "network/street_objects.h"
#include "ui/two_d_map.h"
#include "ui/ui_host.h"

namespace {
constexpr int kLast = ISO_MAP_SIZE - 1;

bool IsCellLayer(int layer) { return layer == 1 || layer == 6 || layer == 7 || layer == 8; }
bool IsDistrictLayer(int layer) {
  switch (layer) {
    case 2: case 3: case 4: case 5: case 9: case 13: case 14: case 18: case 19: return true;
    default: return false;
  }
}
bool KeepsMaximum(int layer) { return (layer >= 2 && layer <= 5) || layer == 13; }

struct Cell {
  int x, y;
};

// The cells of a street in the order of its pieces, each piece walked from
// its start to its end one cell per step.
std::vector<Cell> StreetCells(CStrStrasse* street) {
  std::vector<Cell> cells;
  if (!street) return cells;
  street->SetupStrassenTeilCount(0);
  int x1, y1, x2, y2;
  while (street->GetNextStrassenTeil(&x1, &y1, &x2, &y2, 0)) {
    for (int x = x1, y = y1;; x += (x2 > x) - (x2 < x), y += (y2 > y) - (y2 < y)) {
      if (cells.empty() || cells.back().x != x || cells.back().y != y) cells.push_back({x, y});
      if (x == x2 && y == y2) break;
    }
  }
  return cells;
}

// The index of the stop's street cell in `cells`; -1 when the stop is
// missing or stands elsewhere.
int StopIndex(const std::vector<Cell>& cells, CSecondLayerObject* stop) {
  if (!stop) return -1;
  int sx = -1, sy = -1;
  if (!stop->GetStreet(&sx, &sy)) return -1;
  for (size_t i = 0; i < cells.size(); ++i)
    if (cells[i].x == sx && cells[i].y == sy) return static_cast<int>(i);
  return -1;
}

bool Touches(CStrJunction* junction, CStrStrasse* other) {
  return junction && other && (other->GetStartJunction() == junction || other->GetEndJunction() == junction);
}
}  // namespace

void CTwoDMap::DrawDistrictMap(const float* map, float maximum) {
  if (!map || maximum == 0.0f) return;
  CMapPicture& world = m_Window.world;
  for (int a = 0; a < 16; ++a)
    for (int b = 0; b < 16; ++b) {
      const int entry = std::clamp(static_cast<int>(map[a * 16 + b] / maximum * 255.0f), 0, 255);
      for (int row = 8 * b; row < 8 * b + 8; ++row)
        for (int column = 8 * (15 - a); column < 8 * (15 - a) + 8; ++column) world.Set(row, column, m_Palette[entry]);
    }
}

void CTwoDMap::DrawNet() {
  CIsoWelt* iso = CViewFilter::GetIsoWelt();
  if (!iso) return;
  const uint16_t street = Colour(180, 180, 180), rail = Colour(120, 120, 120);
  for (int y = 0; y < ISO_MAP_SIZE; ++y)
    for (int x = 0; x < ISO_MAP_SIZE; ++x) {
      CIsoInfo* cell = iso->GetIsoInfo(x, y);
      if (!cell) continue;
      const int type = cell->GetType(ISO_LAYER_GROUND);
      if (type == 52 || type == 53) m_Window.world.Set(y, kLast - x, street);
      else if (type == 50) m_Window.world.Set(y, kLast - x, rail);
    }
}

void CTwoDMap::DrawCells(const int* xs, const int* ys, int count, uint16_t pixel) {
  CMapPicture& world = m_Window.world;
  for (int i = 0; i < count; ++i) {
    if (!IsoInMap(xs[i], ys[i])) continue;
    const int row = ys[i], column = kLast - xs[i];
    // A 2 x 2 block: the pixel, its right neighbour inside the picture, and
    // the same two one row up unless this is the top row.
    world.Set(row, column, pixel);
    if (column + 1 <= kLast) world.Set(row, column + 1, pixel);
    if (row < kLast) {
      world.Set(row + 1, column == kLast ? kLast - 1 : column, pixel);
      if (column + 1 <= kLast) world.Set(row + 1, column + 1, pixel);
    }
  }
}

void CTwoDMap::DrawLine(COpnvLine* line) {
  const short* stopIds = nullptr;
  int stopCount = 0;
  line->GetHstList(&stopIds, &stopCount);
  if (stopCount < 2) return;
  CSecondLayerObject* first = line->GetFirstHst();
  CSecondLayerObject* last = line->GetLastHst();
  // A route without its end stops is not drawn.
  if (!first || !last) return;
  std::vector<CStrStrasse*> route;
  line->SetupStreetCount();
  CStrStrasse* street = nullptr;
  while (line->GetNextStreet(&street) != 0)
    if (street) route.push_back(street);
  if (route.empty()) return;
  unsigned char r, g, b;
  line->GetColor(r, g, b);
  const uint16_t pixel = Colour(r, g, b);
  std::vector<int> xs, ys;
  auto take = [&](const std::vector<Cell>& cells, int from, int to) {
    if (cells.empty()) return;
    from = std::clamp(from, 0, static_cast<int>(cells.size()) - 1);
    to = std::clamp(to, 0, static_cast<int>(cells.size()) - 1);
    if (from > to) std::swap(from, to);
    for (int i = from; i <= to; ++i) xs.push_back(cells[i].x), ys.push_back(cells[i].y);
  };
  if (route.size() == 1) {
    // One street: between the first two stops.
    COpnv* opnv = COpnv::Get();
    auto* second = opnv ? dynamic_cast<CSecondLayerObject*>(opnv->GetHstByID(stopIds[1])) : nullptr;
    const std::vector<Cell> cells = StreetCells(route[0]);
    const int i = StopIndex(cells, first), j = StopIndex(cells, second);
    if (i < 0 || j < 0) return;
    take(cells, i, j);
  } else {
    for (size_t k = 0; k < route.size(); ++k) {
      const std::vector<Cell> cells = StreetCells(route[k]);
      const int end = static_cast<int>(cells.size()) - 1;
      if (k == 0 || k + 1 == route.size()) {
        // The end streets run from their stop to the junction they share
        // with their neighbour on the route.
        CStrStrasse* neighbour = route[k == 0 ? 1 : k - 1];
        const int stop = StopIndex(cells, k == 0 ? first : last);
        if (stop < 0) {
          take(cells, 0, end);
        } else if (Touches(route[k]->GetEndJunction(), neighbour)) {
          take(cells, stop, end);
        } else {
          take(cells, 0, stop);
        }
      } else {
        take(cells, 0, end);
      }
    }
  }
  DrawCells(xs.data(), ys.data(), static_cast<int>(xs.size()), pixel);
}

void CTwoDMap::DrawLines() {
  COpnv* opnv = COpnv::Get();
  if (!opnv) return;
  opnv->SetupLineCount();
  while (COpnvLine* line = opnv->GetNextLine()) DrawLine(line);
}

void CTwoDMap::RebuildWorld() {
  CMapPicture& world = m_Window.world;
  if (!world.IsValid()) return;
  ++m_WorldBuilds;
  const int layer = GetFilter();
  if (IsCellLayer(layer)) {
    world.Clear();
    // Without an isometric map there are no cells to colour.
    if (!CViewFilter::GetIsoWelt()) {
      m_Window.worldDirty = false;
      m_Window.screenDirty = true;
      return;
    }
    for (int y = 0; y < ISO_MAP_SIZE; ++y) {
      uint16_t* row = world.Row(y);
      for (int x = 0; x < ISO_MAP_SIZE; ++x) {
        TMap_ColorHeight c;
        CViewFilter::GetIsoTileColor(m_MapIndex, x, y, &c);
        row[kLast - x] = Colour(c.red, c.green, c.blue);
      }
    }
    if (layer == 8) DrawLines();
  } else {
    world.Clear(Colour(0, 0, 0));
    CUiHost* host = CUiHost::Get();
    if (IsDistrictLayer(layer)) {
      float maximum = 0.0f;
      const float* map = host->GetStatisticMap(layer, &maximum);
      if (KeepsMaximum(layer)) m_Maximum = maximum;
      DrawDistrictMap(map, maximum);
    } else if (layer == 10) {
      DrawDistrictMap(host->GetRouteGuidanceMap(), 1.0f);
    } else if (layer == 11) {
      float maximum = 0.0f;
      const float* map = host->GetCarsharingMap(&maximum);
      DrawDistrictMap(map, maximum);
    } else if (layer >= 15 && layer <= 17) {
      static constexpr int kCellMap[3] = {2, 1, 3};
      if (const uint8_t* cells = host->GetIndicatorCellMap(kCellMap[layer - 15]))
        for (int y = 0; y < ISO_MAP_SIZE; ++y)
          for (int x = 0; x < ISO_MAP_SIZE; ++x) world.Set(y, kLast - x, m_Palette[cells[y * ISO_MAP_SIZE + x]]);
    }
    DrawNet();
    if (layer == 9) DrawLines();
  }
  m_Window.worldDirty = false;
  m_Window.screenDirty = true;
}

void CTwoDMap::CellToScreen(int x, int y, int* column, int* row) {
  const int r = y, c = kLast - x;
  const int sw = m_Window.w > 0 ? m_Window.w : 256, sh = m_Window.h > 0 ? m_Window.h : 256;
  int i = 0, j = 0;
  switch (g_IsoRichtung & 3) {
    case 0: i = c, j = kLast - r; break;
    case 1: i = r, j = c; break;
    case 2: i = kLast - c, j = r; break;
    default: i = kLast - r, j = kLast - c; break;
  }
  *row = i * sh / ISO_MAP_SIZE;
  *column = j * sw / ISO_MAP_SIZE;
}

void CTwoDMap::RebuildScreen() {
  CMapPicture& screen = m_Window.screen;
  const CMapPicture& world = m_Window.world;
  if (!screen.IsValid() || !world.IsValid()) return;
  const int sw = screen.Width(), sh = screen.Height();
  const std::vector<int>& block = m_Window.columnBlock;
  // Screen row R shows block row i; along the row the world picture is
  // read by the rotation: a row forwards or backwards, or a column.
  for (int R = 0; R < sh; ++R) {
    const int i = std::min(R * ISO_MAP_SIZE / sh, kLast);
    uint16_t* out = screen.Row(R);
    switch (g_IsoRichtung & 3) {
      case 0:
        for (int C = 0; C < sw; ++C) out[C] = world.Get(kLast - block[C], i);
        break;
      case 1: {
        const uint16_t* in = world.Row(i);
        for (int C = 0; C < sw; ++C) out[C] = in[block[C]];
        break;
      }
      case 2:
        for (int C = 0; C < sw; ++C) out[C] = world.Get(block[C], kLast - i);
        break;
      default: {
        const uint16_t* in = world.Row(kLast - i);
        for (int C = 0; C < sw; ++C) out[C] = in[kLast - block[C]];
        break;
      }
    }
  }
  DrawFrame();
  m_Window.screenDirty = false;
}

void CTwoDMap::DrawFrame() {
  CMapPicture& screen = m_Window.screen;
  if (screen.RowBytes() != 2 * screen.Width()) return;
  const int sw = screen.Width(), sh = screen.Height();
  // The centre of a cell's block on the screen picture.
  auto at = [&](int x, int y, int* column, int* row) {
    CellToScreen(x, y, column, row);
    *column += sw / (2 * ISO_MAP_SIZE);
    *row += sh / (2 * ISO_MAP_SIZE);
  };
  int cx[4], cy[4];
  for (int k = 0; k < 4; ++k) at(m_ViewRect.x[k], m_ViewRect.y[k], &cx[k], &cy[k]);
  static constexpr int kEdges[4][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}};
  for (const auto& e : kEdges)
    for (int d = -1; d <= 1; ++d)
      CIsoSprite::LineMemory(screen.Pixels(), sw, sh, cx[e[0]] + d, cy[e[0]], cx[e[1]] + d, cy[e[1]], m_FrameColor);
  // The centre mark: a small cross at the middle of the frame.
  const int mx = (cx[0] + cx[1] + cx[2] + cx[3]) / 4, my = (cy[0] + cy[1] + cy[2] + cy[3]) / 4;
  CIsoSprite::LineMemory(screen.Pixels(), sw, sh, mx - 2, my, mx + 2, my, m_FrameColor);
  CIsoSprite::LineMemory(screen.Pixels(), sw, sh, mx, my - 2, mx, my + 2, m_FrameColor);
}

enumOK CTwoDMap::UpdateTile(int x, int y, TMap_ColorHeight* c) {
  if (!c || !IsoInMap(x, y) || !m_Window.world.IsValid()) return ENUM_OK;
  m_Window.world.Set(y, kLast - x, CMapPicture::Closest(m_RenderBuffer, c->red, c->green, c->blue));
  m_Window.screenDirty = true;
  return ENUM_OK;
}

enumOK CTwoDMap::UpdateTileTest(int x, int y, TMap_ColorHeight* c, enumTestType) { return UpdateTile(x, y, c); }

enumOK CTwoDMap::UpdateViewRect(IsoViewRectType r) {
  const int px[4] = {r.k0x, r.k1x, r.k2x, r.k3x}, py[4] = {r.k0y, r.k1y, r.k2y, r.k3y};
  // The corners are pulled toward the centre: the view's rectangle in
  // cells reaches beyond what the screen shows.
  const int ax = px[0] - px[1], ay = py[0] - py[1], bx = px[0] - px[2], by = py[0] - py[2];
  const int mx = px[0] - ax / 2 - bx / 2, my = py[0] - ay / 2 - by / 2;
  const float sa[4] = {0.35f, -0.35f, 0.35f, -0.35f}, sb[4] = {0.75f, 0.75f, -0.75f, -0.75f};
  for (int k = 0; k < 4; ++k) {
    m_ViewRect.x[k] = static_cast<int>(static_cast<float>(mx) + sa[k] * static_cast<float>(ax) + sb[k] * static_cast<float>(bx));
    m_ViewRect.y[k] = static_cast<int>(static_cast<float>(my) + sa[k] * static_cast<float>(ay) + sb[k] * static_cast<float>(by));
  }
  // The world picture does not depend on the view: only the frame moves.
  m_Window.screenDirty = true;
  return ENUM_OK;
}
