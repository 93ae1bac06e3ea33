// Composes a small town from the generated map art, the way the map places
// and draws it (cell positions per rotation, group parts per direction, the
// floor pass before the object pass, rows from the back), and writes it as
// a PNG for a person to look at. "catalogue" lays out every group and tile,
// "tiles" the single tiles only.
//   zor_mappreview <gamedata dir> <output.png> [zoom 0-2] [rotation 0-3] [catalogue|tiles]
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "iso/iso_blob.h"
#include "manifest.h"

namespace {

const int YD[3] = {23, 11, 6};
int N = 16;  // cells along each side

struct Placed {
  uint32_t tile;
  int direction;
};

// A piece of the street network whose lane cells the preview can show.
struct Lanes {
  uint32_t id;
  int x, y, dir;
  bool group;
};

struct Town {
  std::vector<std::vector<std::vector<Placed>>> cells;
  std::vector<Lanes> lanes;
  Town() : cells(static_cast<size_t>(N), std::vector<std::vector<Placed>>(static_cast<size_t>(N))) {}
  void Ground(int x, int y, uint32_t tile) { cells[x][y] = {{tile, 0}}; }
  void Grass() {
    const uint32_t ground[] = {10538, 10539, 10540, 10541, 10542, 10543, 10544, 10545, 10547, 39640, 39641, 39642};
    uint32_t s = 7;
    for (int x = 0; x < N; ++x)
      for (int y = 0; y < N; ++y) {
        s = s * 1103515245 + 12345;
        Ground(x, y, ground[(s >> 16) % 12]);
      }
  }
  // A group as the map places it: part (a, b) turned to its cell.
  // A street piece: a tile, or a group as the map places it.
  void Street(uint32_t id, int x, int y, int dir) {
    const zorgen::NetPieceArt* n = zorgen::FindNetPiece(id);
    if (!n) return;
    if (n->firstLayout) lanes.push_back({id, x, y, dir, n->group});
    if (!n->group) {
      cells[x][y] = {{id, dir}};
      return;
    }
    Parts(n->width, n->depth, x, y, dir, false, [&](int a, int b) { return n->Tile(a, b); });
  }
  // A layer merged onto a street cell.
  void Layer(uint32_t id, int x, int y, int dir) { cells[x][y].push_back({id, dir}); }
  void Group(uint32_t id, int x, int y, int dir, bool upper = false) {
    const zorgen::IsoGroupArt* g = zorgen::FindIsoGroup(id);
    if (!g) return;
    Parts(g->width, g->depth, x, y, dir, upper, [&](int a, int b) { return g->Tile(a, b); });
  }
  template <typename TileOf>
  void Parts(int W, int D, int x, int y, int dir, bool upper, TileOf tileOf) {
    for (int b = 0; b < D; ++b)
      for (int a = 0; a < W; ++a) {
        int cx, cy;
        switch (dir) {
          case 0: cx = a, cy = b; break;
          case 1: cx = D - 1 - b, cy = a; break;
          case 2: cx = W - 1 - a, cy = D - 1 - b; break;
          default: cx = b, cy = W - 1 - a; break;
        }
        if (x + cx >= N || y + cy >= N) continue;
        auto& c = cells[x + cx][y + cy];
        if (!upper) c.clear();
        c.push_back({tileOf(a, b), dir});
      }
  }
};

// Every single tile in a row, then every group, packed in shelves; or the
// single tiles alone on a smaller map.
Town MakeCatalogue(bool tilesOnly) {
  N = tilesOnly ? 10 : 40;
  Town t;
  t.Grass();
  int x = 0;
  for (const zorgen::IsoTileArt& a : zorgen::IsoTiles()) {
    if (a.design == zorgen::IsoDesign::Ground) continue;
    if (a.design == zorgen::IsoDesign::Zone || a.design == zorgen::IsoDesign::MarkEdge ||
        a.design == zorgen::IsoDesign::MarkHighlight)
      t.cells[x % N][x / N * 2].push_back({a.id, 0});
    else
      t.Ground(x % N, x / N * 2, a.id);
    ++x;
  }
  if (tilesOnly) return t;
  int gx = 0, gy = x / N * 2 + 2, shelf = 0;
  for (const zorgen::IsoGroupArt& g : zorgen::IsoGroups()) {
    if (gx + g.width > N) gx = 0, gy += shelf + 1, shelf = 0;
    if (gy + g.depth > N) break;
    t.Group(g.id, gx, gy, 0, g.UpperLayer());
    gx += g.width + 1;
    shelf = std::max(shelf, static_cast<int>(g.depth));
  }
  return t;
}

Town MakeTown() {
  Town t;
  t.Grass();
  // a river along y = 13 with a branch that ends towards the map's edge
  for (int x = 0; x < N; ++x) t.cells[x][13] = {{37800, 0}};
  t.cells[9][13] = {{37802, 0}};
  t.cells[9][14] = {{37800, 1}};
  t.cells[9][15] = {{37804, 3}};
  t.cells[3][14] = {{38401, 0}};
  // houses, flats, offices, industry, public buildings
  t.Group(37749, 1, 1, 0), t.Group(18510, 2, 1, 1), t.Group(11896, 3, 1, 2), t.Group(11897, 4, 1, 3);
  t.Group(11949, 1, 3, 0), t.Group(14023, 3, 3, 0), t.Group(35759, 6, 1, 0), t.Group(14073, 9, 1, 1);
  t.Group(11871, 12, 1, 0), t.Group(10302, 13, 1, 0), t.Group(18383, 14, 1, 0);
  t.Group(39546, 12, 4, 0), t.Group(10328, 9, 4, 0), t.Group(16918, 5, 5, 0);
  t.Group(26509, 1, 9, 0), t.Group(30008, 4, 9, 0), t.Group(11878, 4, 10, 1);
  t.Group(18332, 8, 8, 0), t.Group(30540, 10, 8, 0), t.Group(12555, 1, 5, 0);
  t.Group(39431, 10, 11, 0), t.Group(28031, 13, 8, 1), t.Group(12513, 6, 10, 0);
  t.Group(30083, 6, 8, 0), t.Group(29793, 8, 11, 0), t.Group(25669, 12, 11, 0), t.Group(32456, 4, 14, 1);
  // zoned areas keep the ground and lay the zone over it
  t.cells[14][11].push_back({17021, 0});
  t.cells[15][11].push_back({17015, 0});
  t.cells[14][12].push_back({17018, 0});
  t.cells[15][12].push_back({17020, 0});
  t.Group(32290, 12, 12, 0, true);
  return t;
}

// A street network: a four-lane road with a bus lane and lights at its
// crossing, a main street with a bend, side streets with a crossing and a
// T junction, a one-way street, a level crossing and a bridge over a river.
Town MakeStreets() {
  Town t;
  t.Grass();
  // a lake in the corner, its shore along y = 9
  for (int y = 9; y < N; ++y)
    for (int x : {14, 15}) t.cells[x][y] = {{y == 9 ? 37806u : 38398u, 0}};
  // the four-lane road along x, with a crossing of a side street
  for (int x = 0; x < 13; ++x) t.Street(2455, x, 7, 0);
  t.Street(7285, 7, 7, 0);
  t.Street(5520, 13, 7, 2);
  for (int x = 1; x < 6; ++x) t.Layer(31243, x, 7, 0), t.Layer(31243, x, 8, 0);
  t.Layer(12802, 6, 8, 0), t.Layer(26515, 6, 8, 0), t.Layer(12802, 9, 7, 2), t.Layer(26515, 9, 7, 2);
  // the main street along y = 3 turning south into the four-lane road
  t.Street(1780, 0, 3, 2);
  for (int x = 1; x < 12; ++x) t.Street(1139, x, 3, 0);
  t.Street(1297, 12, 3, 1);
  for (int y = 4; y < 7; ++y) t.Street(1139, 12, y, 1);
  t.Street(3488, 11, 7, 2);
  // the side street along x = 7 crossing the main street and the road
  t.Street(14551, 7, 0, 3);
  for (int y : {1, 2, 4, 5, 6, 9, 10, 11, 12}) t.Street(14549, 7, y, 1);
  t.Street(1503, 7, 3, 0);
  t.Layer(19482, 6, 3, 0), t.Layer(19482, 8, 3, 2), t.Layer(19484, 7, 2, 1), t.Layer(19484, 7, 4, 3);
  t.Layer(12802, 7, 6, 1), t.Layer(21308, 7, 6, 1), t.Layer(12802, 7, 9, 3), t.Layer(21308, 7, 9, 3);
  // a one-way street along y = 13 meeting the side street
  t.Street(1821, 2, 13, 2);
  for (int x : {3, 4, 5, 6, 8, 9, 10, 11, 12}) t.Street(1156, x, 13, 0);
  t.Street(1644, 7, 13, 2);
  t.Street(1821, 13, 13, 0);
  // a street to the river with a level crossing and a bridge
  t.Street(14549, 8, 10, 0);
  t.Street(1482, 7, 10, 3);
  t.Street(21493, 9, 10, 0);
  t.Street(14549, 13, 10, 0);
  t.Street(42427, 14, 10, 0), t.Street(42425, 15, 10, 0);
  return t;
}

void Blit(std::vector<uint16_t>& px, int w, int h, const void* sprite, int left, int top) {
  const int sw = static_cast<int>(CIsoSprite::GetWidth(sprite)), sh = static_cast<int>(CIsoSprite::GetHeight(sprite));
  if (left < 0 || top < 0 || left + sw > w || top + sh > h) return;
  CIsoSprite::PutXYClipped16BitSprite(&px[static_cast<size_t>(top) * w + left], sprite, 0, 0, sw, sh, w * 2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <gamedata dir> <output.png> [zoom] [rotation]\n", argv[0]);
    return 2;
  }
  QnoResourceManager resources;
  for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
    char path[512];
    QnoMakeValidPathname(argv[1], name, ".GLA", path, sizeof path);
    if (resources.AddWadFile(path) != 0) {
      std::fprintf(stderr, "cannot open %s\n", path);
      return 1;
    }
  }
  const int zoom = argc > 3 ? std::clamp(std::atoi(argv[3]), 0, 2) : 0;
  const int rot = argc > 4 ? std::atoi(argv[4]) & 3 : 0;
  const int yd = YD[zoom], xd = 2 * yd, th = 2 * yd;
  const std::string mode = argc > 5 ? argv[5] : "";
  const Town town = mode == "catalogue" || mode == "tiles" ? MakeCatalogue(mode == "tiles")
                    : mode.rfind("streets", 0) == 0 ? MakeStreets()
                                                    : MakeTown();
  // The map's diamond with room above for the tallest buildings.
  const int top = 8 * yd, w = 2 * N * xd + 2 * xd, h = 2 * N * yd + top + 2 * yd;
  std::vector<uint16_t> px(static_cast<size_t>(w) * h, 0x2104);

  struct Cell {
    int x, y, rx, ry;
  };
  std::vector<Cell> order;
  for (int x = 0; x < N; ++x)
    for (int y = 0; y < N; ++y) {
      int rx, ry;
      switch (rot) {
        case 0: rx = (x - y) * xd, ry = (x + y) * yd; break;
        case 1: rx = -(x + y) * xd, ry = (x - y) * yd; break;
        case 2: rx = -(x - y) * xd, ry = -(x + y) * yd; break;
        default: rx = (x + y) * xd, ry = (y - x) * yd; break;
      }
      // rotation 0 has cell (0, 0) at the top; the others start elsewhere
      const int shiftY = rot == 0 ? 0 : rot == 2 ? 2 * (N - 1) * yd : (N - 1) * yd;
      order.push_back({x, y, rx + w / 2 + (rot == 1 ? N * xd : rot == 3 ? -N * xd : 0), ry + top + shiftY});
    }
  // screen rows from the top; within a row left to right in rotation 0,
  // right to left in the others
  std::sort(order.begin(), order.end(), [&](const Cell& a, const Cell& b) {
    if (a.ry != b.ry) return a.ry < b.ry;
    return rot == 0 ? a.rx < b.rx : a.rx > b.rx;
  });
  int missing = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (const Cell& c : order) {
      struct Item {
        int z;
        IsoTileEntry e;
      };
      std::vector<Item> items;
      for (const Placed& p : town.cells[c.x][c.y]) {
        const IsoTileBlob tile = IsoTileBlob::FromResource(&resources, p.tile);
        if (tile.Empty()) {
          ++missing;
          continue;
        }
        for (int l = 0; l <= tile.HighestLayer(); ++l) {
          const IsoTileEntry e = tile.Entry(zoom, (rot + p.direction) & 3, l);
          items.push_back({e.z, e});
        }
      }
      std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.z < b.z; });
      for (const Item& it : items) {
        if ((it.z <= ISO_Z_FLOOR_MAX) != (pass == 0) || !it.e.spriteId) continue;
        const void* sprite = CIsoSprite::FromResource(&resources, it.e.spriteId);
        if (!sprite) {
          ++missing;
          continue;
        }
        const int ax = c.rx - xd, ay = c.ry + th;
        Blit(px, w, h, sprite, ax + it.e.x, ay - (it.e.y + static_cast<int>(CIsoSprite::GetHeight(sprite))));
      }
    }
  // "streets-cells" marks the lane cells: yellow entries, red exits, white
  // lines to each successor.
  if (mode == "streets-cells" && zoom < 2) {
    auto screen = [&](int x, int y, int* sx, int* sy) {
      for (const Cell& c : order)
        if (c.x == x && c.y == y) *sx = c.rx - xd, *sy = c.ry;
    };
    auto plot = [&](int x, int y, uint16_t colour) {
      if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<size_t>(y) * w + x] = colour;
    };
    for (const Lanes& l : town.lanes) {
      int ax = 0, ay = 0, layoutId = 0;
      if (l.group) {
        const IsoGroupBlob g = IsoGroupBlob::FromResource(&resources, l.id);
        const int tw = l.dir % 2 ? static_cast<int>(g.Depth()) : static_cast<int>(g.Width());
        const int td = l.dir % 2 ? static_cast<int>(g.Width()) : static_cast<int>(g.Depth());
        const int cx = rot == 2 || rot == 3 ? l.x + tw - 1 : l.x, cy = rot == 1 || rot == 2 ? l.y + td - 1 : l.y;
        screen(cx, cy, &ax, &ay);
        layoutId = static_cast<int>(g.MicroLayoutId(zoom, (rot + l.dir) & 3));
      } else {
        screen(l.x, l.y, &ax, &ay);
        layoutId = static_cast<int>(IsoTileBlob::FromResource(&resources, l.id).Entry(zoom, (rot + l.dir) & 3, 0).dataId);
      }
      const MicroLayoutBlob m = MicroLayoutBlob::FromResource(&resources, static_cast<unsigned>(layoutId));
      for (uint32_t i = 0; i < m.CellCount(); ++i) {
        const MicroCell c = m.Cell(i);
        for (uint32_t sId : c.successors) {
          if (!sId) continue;
          for (uint32_t j = 0; j < m.CellCount(); ++j) {
            const MicroCell d = m.Cell(j);
            if (d.id != sId) continue;
            for (int k = 0; k <= 16; ++k)
              plot(ax + c.x + (d.x - c.x) * k / 16, ay + c.y + (d.y - c.y) * k / 16, 0xFFFF);
          }
        }
        int outs = 0;
        for (uint32_t sId : c.successors) outs += sId != 0;
        const uint16_t colour = !c.predecessor ? 0xFFE0 : !outs ? 0xF800 : 0x07FF;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) plot(ax + c.x + dx, ay + c.y + dy, colour);
      }
    }
  }
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  unsigned char* data = cairo_image_surface_get_data(out);
  const int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint16_t p = px[static_cast<size_t>(y) * w + x];
      const uint32_t r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
      reinterpret_cast<uint32_t*>(data + y * stride)[x] = r << 16 | g << 8 | b;
    }
  cairo_surface_mark_dirty(out);
  const bool ok = cairo_surface_write_to_png(out, argv[2]) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(out);
  if (missing) std::fprintf(stderr, "%d tiles or sprites missing\n", missing);
  return ok && !missing ? 0 : 1;
}
