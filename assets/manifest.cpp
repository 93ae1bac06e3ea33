#include "manifest.h"

namespace zorgen {

namespace {

constexpr uint32_t CURSOR_PICTURES = 58000;
constexpr uint32_t WAIT_FRAMES = 8;

std::vector<CursorEntry> BuildCursors() {
  using D = CursorDesign;
  const std::pair<uint32_t, D> list[] = {
      {1409, D::Pointer},           {28489, D::Pointer},          {21026, D::Street},
      {28455, D::StreetWide},       {28454, D::StreetOneWay},     {28451, D::StreetFourLane},
      {28453, D::StreetBusLane},    {28450, D::StreetBridge},     {28456, D::Rail},
      {28468, D::Stop},             {28561, D::ParkingSmall},     {28562, D::ParkingMedium},
      {28563, D::ParkingLarge},     {28449, D::RemoveStreet},     {28481, D::ResidentialSmall},
      {28482, D::ResidentialLarge}, {28478, D::CommercialSmall},  {28479, D::CommercialLarge},
      {28480, D::Industrial},       {28477, D::ClearLand},        {26562, D::LineAdd},
      {26563, D::LineRemove},       {26564, D::LineStopAdd},      {26565, D::LineStopRemove},
      {26566, D::LineRoute},        {21039, D::Info},             {28461, D::RemoveStop},
      {49733, D::Wait},             {28426, D::Pan},              {28414, D::PanLeft},
      {28421, D::PanRight},         {28422, D::PanUp},            {28423, D::PanDown},
      {25951, D::Drag},
  };
  std::vector<CursorEntry> out;
  uint32_t next = CURSOR_PICTURES;
  for (const auto& [id, design] : list) {
    const uint32_t pictures = design == D::Wait ? WAIT_FRAMES : design == D::Drag ? 2 : 1;
    out.push_back({id, design, next, pictures});
    next += pictures;
  }
  return out;
}

struct TileRow {
  uint32_t id;
  IsoDesign design;
  uint8_t variant;
  uint8_t layers;
  bool turns;
};

std::vector<IsoTileArt> BuildIsoTiles() {
  using D = IsoDesign;
  using F = FilterKind;
  std::vector<TileRow> rows;
  // Ground: the first is the fixed ground; those with a second layer carry
  // a bush or trees, drawn with the objects so that they stand in front of
  // what lies behind them.
  const uint32_t ground[] = {10538, 10539, 10540, 10541, 10542, 10543, 10544, 10545, 10547, 39640, 39641, 39642};
  for (uint8_t v = 0; v < 12; ++v) rows.push_back({ground[v], D::Ground, v, uint8_t(v == 6 || v == 7 || v == 9 || v == 11 ? 2 : 1), false});
  rows.push_back({TILE_OUTSIDE, D::Outside, 0, 1, false});
  const std::pair<uint32_t, F> filters[] = {
      {44112, F::ResidentialLow}, {44111, F::Residential}, {44103, F::OfficeLow}, {44102, F::Office},
      {TILE_DISTRICT_ODD, F::Industry}, {TILE_DISTRICT_EVEN, F::Shopping}, {44123, F::School},
      {44106, F::Leisure}, {44110, F::Parking}, {44115, F::Transport}};
  for (const auto& [id, kind] : filters) rows.push_back({id, D::Filter, static_cast<uint8_t>(kind), 1, false});
  rows.push_back({TILE_MARK_EDGE, D::MarkEdge, 0, 1, true});
  rows.push_back({TILE_MARK_HIGHLIGHT, D::MarkHighlight, 0, 1, false});
  // Zoned areas: variant = kind x 4 + class (kind 0 residential, 1 commercial, 2 industrial).
  const std::pair<uint32_t, uint8_t> zones[] = {{17021, 1}, {17022, 2}, {17015, 5}, {17017, 6},
                                                {17018, 9}, {17019, 10}, {17020, 11}};
  for (const auto& [id, v] : zones) rows.push_back({id, D::Zone, v, 1, false});
  // Rivers and lakes, one shape each.
  const uint32_t rivers[] = {37800, 37801, 37802, 37803, 37804, 37805, 37806, 37807, 37813, 38398, 38399, 38400, 38401};
  for (uint8_t v = 0; v < 13; ++v) rows.push_back({rivers[v], D::River, v, 1, true});

  std::vector<IsoTileArt> out;
  uint32_t sprite = ISO_SPRITES_FIRST + ISO_GROUND_STYLES * ISO_ZOOM_COUNT + 1;
  for (const TileRow& r : rows) {
    out.push_back({r.id, r.design, r.variant, r.layers, r.turns, sprite});
    sprite += out.back().SpriteCount();
  }
  return out;
}

struct GroupRow {
  std::vector<uint32_t> ids;
  IsoDesign design;
  uint8_t width, depth;
};

std::vector<IsoGroupArt> BuildIsoGroups(uint32_t firstSprite) {
  using D = IsoDesign;
  const GroupRow rows[] = {
      // residential
      {{35759, 35837}, D::Apartments, 3, 3},
      {{35797}, D::Apartments, 3, 2},
      {{35838}, D::Apartments, 2, 3},
      {{37749, 28200, 28202, 28203, 19987, 18510, 11896, 11897, 11898}, D::House, 1, 1},
      {{37750}, D::RowHouses, 1, 2},
      {{14023, 11907}, D::RowHouses, 2, 1},
      {{11941, 11949, 36838}, D::RowHouses, 2, 2},
      {{19986, 19988, 14073, 49786, 49787, 49788}, D::Apartments, 2, 2},
      {{14045}, D::Apartments, 2, 3},
      {{14072}, D::Apartments, 3, 2},
      {{14059, 36856}, D::Tower, 3, 3},
      // offices
      {{28201, 10302, 10306, 10311, 10315, 28205, 51739, 51759}, D::Office, 1, 1},
      {{11871, 10319}, D::OfficeTower, 1, 1},
      {{10288, 10297, 10323}, D::Office, 1, 2},
      {{12479, 12480, 18423, 10328, 10333, 10343, 8937, 10289, 10290}, D::Office, 2, 2},
      {{10351, 10360, 18372, 18383, 18400, 18411}, D::OfficeTower, 2, 2},
      {{12638}, D::Office, 2, 3},
      {{18437, 18457}, D::OfficeTower, 3, 2},
      {{39546, 10378}, D::OfficeTower, 3, 3},
      // industry
      {{30011, 30008, 30009, 30010, 30262, 30263, 30264, 30265}, D::Workshop, 1, 1},
      {{12485, 27521, 28699}, D::Factory, 2, 2},
      {{11878, 27510, 29937, 29939}, D::Factory, 3, 2},
      {{26509, 26387}, D::Factory, 3, 3},
      // public buildings and leisure, classes 1 to 3
      {{28716}, D::School, 2, 2},
      {{16851}, D::School, 3, 2},
      {{16918}, D::School, 3, 3},
      {{18332}, D::Shopping, 2, 2},
      {{39828}, D::Shopping, 3, 3},
      {{42258}, D::Shopping, 4, 3},
      {{12652}, D::Sports, 2, 2},
      {{12555}, D::Sports, 3, 3},
      {{33653}, D::Sports, 4, 4},
      {{30526}, D::Park, 2, 2},
      {{30540}, D::Park, 3, 3},
      {{30882}, D::Park, 4, 4},
      {{12513}, D::Entertainment, 2, 2},
      {{32756}, D::Entertainment, 3, 2},
      {{40086}, D::Entertainment, 3, 3},
      // car parks, classes 1 to 3, and park-and-ride
      {{39431, 39432, 39433}, D::CarPark, 2, 2},
      {{27552, 27563, 27574}, D::CarParkGarage, 3, 2},
      {{28031, 28042, 27993}, D::CarParkDeck, 3, 3},
      {{33149}, D::ParkRide, 2, 2},
      {{33173}, D::ParkRide, 3, 2},
      {{33174}, D::ParkRide, 3, 3},
      // transport measures
      {{30083}, D::Mast, 1, 1},
      {{28686}, D::CarSharingCentre, 2, 2},
      {{29793}, D::CarSharingStation, 1, 1},
      {{25669}, D::Kiosk, 1, 1},
      {{32456}, D::AdviceCentre, 2, 1},
      // stops and signs, over streets and rails
      {{32290}, D::BusStop, 1, 1},
      {{32289}, D::BusStop, 1, 2},
      {{30084}, D::BusShelterStop, 1, 3},
      {{30085}, D::BusShelterStop, 1, 4},
      {{18981}, D::TramStop, 3, 2},
      {{24501, 21996}, D::GuidanceSign, 1, 1},
      {{21018, 43861}, D::TrafficSign, 1, 1},
      {{GROUP_MARKER, GROUP_MARKER_STREET}, D::Marker, 1, 1},
      {{GROUP_MARKER_FOURLANE}, D::Marker, 2, 2},
  };
  std::vector<IsoGroupArt> out;
  uint32_t tile = ISO_PART_TILES_FIRST, sprite = firstSprite;
  for (const GroupRow& r : rows) {
    uint8_t variant = 0;
    for (uint32_t id : r.ids) {
      out.push_back({id, r.design, variant++, r.width, r.depth, tile, sprite});
      tile += uint32_t{r.width} * r.depth;
      sprite += out.back().SpriteCount();
    }
  }
  return out;
}

std::vector<ManifestEntry> BuildManifest() {
  std::vector<ManifestEntry> m = {
      {FONT_STANDARD, BlobKind::Font, ARCHIVE_MAIN, "standard font"},
      {FONT_STATUS, BlobKind::Font, ARCHIVE_MAIN, "status line and list font"},
      {FONT_FIGURES, BlobKind::Font, ARCHIVE_MAIN, "figures and help body font"},
      {FONT_TITLE, BlobKind::Font, ARCHIVE_MAIN, "help title font"},
      {PIC_LOADING_DE, BlobKind::Bitmap, ARCHIVE_MAIN, "loading picture, German"},
      {PIC_LOADING_EN, BlobKind::Bitmap, ARCHIVE_MAIN, "loading picture, English"},
  };
  for (const CursorEntry& c : Cursors()) {
    m.push_back({c.animationId, BlobKind::Animation, ARCHIVE_MAIN, "mouse cursor"});
    for (uint32_t i = 0; i < c.pictureCount; ++i)
      m.push_back({c.firstPictureId + i, BlobKind::Bitmap, ARCHIVE_MAIN, "mouse cursor picture"});
  }
  for (int style = 0; style < ISO_GROUND_STYLES; ++style)
    for (int zoom = 0; zoom < ISO_ZOOM_COUNT; ++zoom)
      m.push_back({IsoGroundSprite(static_cast<IsoGround>(style), zoom), BlobKind::Sprite, ARCHIVE_MAIN,
                   "ground under a building"});
  m.push_back({IsoBlankSprite(), BlobKind::Sprite, ARCHIVE_MAIN, "empty sprite"});
  for (const IsoTileArt& t : IsoTiles()) {
    m.push_back({t.id, BlobKind::IsoTile, ARCHIVE_MAIN, "map tile"});
    for (uint32_t i = 0; i < t.SpriteCount(); ++i)
      m.push_back({t.firstSprite + i, BlobKind::Sprite, ARCHIVE_MAIN, "map tile sprite"});
  }
  for (const IsoGroupArt& g : IsoGroups()) {
    m.push_back({g.id, BlobKind::IsoGroup, ARCHIVE_MAIN, "map group"});
    for (uint32_t i = 0; i < uint32_t{g.width} * g.depth; ++i)
      m.push_back({g.firstTile + i, BlobKind::IsoTile, ARCHIVE_MAIN, "map group cell"});
    for (uint32_t i = 0; i < g.SpriteCount(); ++i)
      m.push_back({g.firstSprite + i, BlobKind::Sprite, ARCHIVE_MAIN, "map group slice"});
  }
  for (const NetPieceArt& n : NetPieces()) {
    m.push_back({n.id, n.group ? BlobKind::IsoGroup : BlobKind::IsoTile, ARCHIVE_MAIN, "street network piece"});
    if (n.group)
      for (int i = 0; i < n.Parts(); ++i)
        m.push_back({n.firstTile + static_cast<uint32_t>(i), BlobKind::IsoTile, ARCHIVE_MAIN, "street network group cell"});
    for (uint32_t i = 0; i < n.SpriteCount(); ++i)
      m.push_back({n.firstSprite + i, BlobKind::Sprite, ARCHIVE_MAIN, "street network sprite"});
    for (uint32_t i = 0; i < n.LayoutCount(); ++i)
      m.push_back({n.firstLayout + i, BlobKind::MicroLayout, ARCHIVE_MAIN, "micro-cell layout"});
  }
  return m;
}

}  // namespace

const char* KindName(BlobKind kind) {
  switch (kind) {
    case BlobKind::Bitmap: return "bitmap";
    case BlobKind::Palette: return "palette";
    case BlobKind::Font: return "font";
    case BlobKind::Animation: return "animation";
    case BlobKind::Sprite: return "sprite";
    case BlobKind::Text: return "text";
    case BlobKind::IsoTile: return "isotile";
    case BlobKind::IsoGroup: return "isogroup";
    case BlobKind::MicroLayout: return "micr";
  }
  return "?";
}

bool KindFromName(const std::string& name, BlobKind* kind) {
  for (BlobKind k : {BlobKind::Bitmap, BlobKind::Palette, BlobKind::Font, BlobKind::Animation, BlobKind::Sprite,
                     BlobKind::Text, BlobKind::IsoTile, BlobKind::IsoGroup, BlobKind::MicroLayout}) {
    if (name == KindName(k)) {
      *kind = k;
      return true;
    }
  }
  return false;
}

const std::vector<CursorEntry>& Cursors() {
  static const std::vector<CursorEntry> cursors = BuildCursors();
  return cursors;
}

const std::vector<ManifestEntry>& Manifest() {
  static const std::vector<ManifestEntry> manifest = BuildManifest();
  return manifest;
}

const std::vector<IsoTileArt>& IsoTiles() {
  static const std::vector<IsoTileArt> tiles = BuildIsoTiles();
  return tiles;
}

const std::vector<IsoGroupArt>& IsoGroups() {
  static const std::vector<IsoGroupArt> groups =
      BuildIsoGroups(IsoTiles().back().firstSprite + IsoTiles().back().SpriteCount());
  return groups;
}

const IsoTileArt* FindIsoTile(uint32_t id) {
  for (const IsoTileArt& t : IsoTiles())
    if (t.id == id) return &t;
  return nullptr;
}

const IsoGroupArt* FindIsoGroup(uint32_t id) {
  for (const IsoGroupArt& g : IsoGroups())
    if (g.id == id) return &g;
  return nullptr;
}

uint32_t IsoGroundSprite(IsoGround style, int zoom) {
  return ISO_SPRITES_FIRST + static_cast<uint32_t>(static_cast<int>(style) * ISO_ZOOM_COUNT + zoom);
}

uint32_t IsoBlankSprite() { return ISO_SPRITES_FIRST + ISO_GROUND_STYLES * ISO_ZOOM_COUNT; }

const ManifestEntry* FindInManifest(uint32_t id) {
  for (const ManifestEntry& e : Manifest())
    if (e.id == id) return &e;
  return nullptr;
}

}  // namespace zorgen
