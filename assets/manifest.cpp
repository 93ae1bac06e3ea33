#include "manifest.h"

#include "microsim/vehicle_sprites.h"

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
  rows.push_back({TILE_MARK_BUILDABLE, D::MarkBuildable, 0, 1, false});
  rows.push_back({TILE_MARK_REFUSED, D::MarkRefused, 0, 1, false});
  rows.push_back({TILE_MARK_EXPO, D::MarkExpo, 0, 1, false});
  // Zoned areas: variant = kind x 4 + class (kind 0 residential, 1 commercial, 2 industrial).
  const std::pair<uint32_t, uint8_t> zones[] = {{17021, 1}, {17022, 2}, {17015, 5}, {17017, 6},
                                                {17018, 9}, {17019, 10}, {17020, 11}};
  for (const auto& [id, v] : zones) rows.push_back({id, D::Zone, v, 1, false});
  // Rivers and lakes, one shape each.
  const uint32_t rivers[] = {37800, 37801, 37802, 37803, 37804, 37805, 37806, 37807, 37813, 38398, 38399, 38400, 38401};
  for (uint8_t v = 0; v < 13; ++v) rows.push_back({rivers[v], D::River, v, 1, true});
  // The debug layers' marks of the networks: highlights in their own colours.
  rows.push_back({TILE_DEBUG_STREET, D::MarkHighlight, 1, 1, false});
  rows.push_back({TILE_DEBUG_RAIL, D::MarkHighlight, 2, 1, false});

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
      // car parks, classes 1 to 3
      {{39431, 39432, 39433}, D::CarPark, 2, 2},
      {{27552, 27563, 27574}, D::CarParkGarage, 3, 2},
      {{28031, 28042, 27993}, D::CarParkDeck, 3, 3},
      // the station's three looks by its use, on the one site it stands on
      {{33149}, D::ParkRide, 2, 2},
      {{33173}, D::ParkRide, 2, 2},
      {{33174}, D::ParkRide, 2, 2},
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

std::vector<UiArt> BuildUiArts() {
  struct Row {
    uint32_t id;
    int w, h;
    uint32_t states;
  };
  constexpr uint32_t B = 0, BUTTON = 3;
  const Row rows[] = {
      // the game bar and its displays
      {50868, 800, 140, B}, {28432, 80, 15, B}, {24557, 54, 15, 7}, {49828, 21, 17, BUTTON},
      {22089, 28, 16, BUTTON}, {22088, 23, 18, BUTTON}, {22087, 23, 18, BUTTON}, {22090, 23, 16, BUTTON},
      {22091, 16, 11, BUTTON}, {22092, 16, 11, BUTTON}, {22093, 16, 11, BUTTON}, {22094, 16, 11, BUTTON},
      {39446, 15, 13, BUTTON}, {22095, 15, 15, BUTTON}, {37555, 41, 13, BUTTON}, {50624, 41, 13, BUTTON},
      {22098, 40, 23, BUTTON}, {22005, 52, 51, BUTTON}, {50595, 52, 51, BUTTON},
      // bar buttons of the tool menus
      {18760, 36, 37, BUTTON}, {18761, 36, 36, BUTTON}, {18762, 36, 36, BUTTON}, {18763, 36, 36, BUTTON},
      {18764, 36, 37, BUTTON}, {18765, 36, 37, BUTTON},
      // menus: caption, close button, backgrounds and tool buttons
      {19022, 46, 15, BUTTON}, {19021, 9, 9, BUTTON}, {18527, 46, 96, B}, {18529, 46, 168, B},
      {18533, 46, 132, B}, {18534, 46, 243, B}, {18675, 46, 169, B}, {28380, 81, 46, B},
      {18635, 36, 36, BUTTON}, {18638, 36, 36, BUTTON}, {18639, 36, 36, BUTTON}, {18641, 36, 36, BUTTON},
      {18643, 36, 36, BUTTON}, {18644, 36, 36, BUTTON}, {18686, 36, 36, BUTTON}, {18688, 36, 36, BUTTON},
      {18690, 36, 36, BUTTON}, {18692, 36, 36, BUTTON}, {18693, 36, 36, BUTTON}, {18705, 36, 36, BUTTON},
      {18706, 36, 36, BUTTON}, {18707, 36, 36, BUTTON}, {18708, 36, 36, BUTTON}, {18772, 36, 36, BUTTON},
      {19388, 36, 36, BUTTON}, {26588, 36, 36, BUTTON}, {26591, 36, 36, BUTTON}, {26592, 36, 36, BUTTON},
      {50860, 36, 36, BUTTON},
      // the thematic map: frame, page pictures, layer buttons, legends
      {36438, 460, 299, B}, {36450, 173, 117, B}, {50024, 173, 117, B}, {36452, 173, 186, B},
      {50026, 173, 186, B}, {36451, 173, 84, B}, {50025, 173, 84, B},
      {36453, 161, 16, BUTTON}, {36456, 161, 16, BUTTON}, {36474, 161, 16, BUTTON}, {36454, 161, 16, BUTTON},
      {36455, 161, 16, BUTTON}, {36457, 161, 16, BUTTON}, {36458, 161, 16, BUTTON}, {36460, 161, 16, BUTTON},
      {36459, 161, 16, BUTTON}, {36461, 161, 16, BUTTON}, {36462, 161, 16, BUTTON}, {36464, 161, 16, BUTTON},
      {36465, 161, 16, BUTTON}, {36471, 161, 16, BUTTON}, {36472, 161, 16, BUTTON}, {36473, 161, 16, BUTTON},
      {50557, 161, 16, BUTTON}, {50552, 161, 16, BUTTON}, {50551, 161, 16, BUTTON}, {50556, 161, 16, BUTTON},
      {50554, 161, 16, BUTTON}, {50572, 161, 16, BUTTON}, {50571, 161, 16, BUTTON}, {50566, 161, 16, BUTTON},
      {50567, 161, 16, BUTTON}, {50561, 161, 16, BUTTON}, {50562, 161, 16, BUTTON}, {50569, 161, 16, BUTTON},
      {50570, 161, 16, BUTTON}, {50558, 161, 16, BUTTON}, {50559, 161, 16, BUTTON}, {50748, 161, 16, BUTTON},
      {36448, 173, 140, B}, {50020, 173, 140, B}, {36441, 173, 140, B}, {50013, 173, 140, B},
      {49792, 173, 140, B}, {50023, 173, 140, B}, {36440, 173, 140, B}, {50012, 173, 140, B},
      {36447, 173, 71, B}, {50019, 173, 71, B}, {36446, 173, 71, B}, {50018, 173, 71, B},
      {36439, 173, 71, B}, {50011, 173, 71, B}, {36445, 173, 71, B}, {50017, 173, 71, B},
      {36444, 173, 71, B}, {50016, 173, 71, B}, {36442, 173, 73, B}, {50014, 173, 73, B},
      {36443, 173, 73, B}, {50015, 173, 73, B}, {36449, 173, 73, B}, {50022, 173, 73, B},
      // widgets shared by many windows
      {25864, 8, 16, BUTTON}, {25865, 8, 16, BUTTON}, {42304, 8, 16, BUTTON}, {42303, 8, 16, BUTTON},
      {25866, 12, 12, BUTTON}, {25849, 12, 11, B}, {25850, 12, 11, B}, {33720, 12, 12, B}, {33721, 12, 12, B},
      {25863, 16, 15, BUTTON}, {40664, 14, 12, BUTTON}, {25935, 15, 16, BUTTON}, {25936, 15, 16, BUTTON},
      {28545, 11, 18, BUTTON}, {44382, 15, 16, BUTTON},
      // the dynamic help's title bar: left end, middle tile, centre piece, right end with the close mark
      {49703, 35, 19, B}, {49701, 80, 19, B}, {49702, 36, 19, B}, {49704, 35, 19, B},
      // public transport: caption, button column, page buttons, pages, buttons, campaign and training bars
      {25861, 388, 21, B}, {50171, 388, 21, B}, {25857, 51, 349, B}, {18716, 36, 36, BUTTON},
      {18717, 36, 36, BUTTON}, {18718, 36, 36, BUTTON}, {18719, 36, 36, BUTTON}, {18720, 36, 36, BUTTON},
      {18721, 36, 36, BUTTON}, {18722, 36, 36, BUTTON}, {25851, 337, 349, B}, {50179, 337, 349, B},
      {25852, 337, 349, B}, {50178, 337, 349, B}, {25854, 337, 349, B}, {50175, 337, 349, B},
      {25855, 337, 349, B}, {50173, 337, 349, B}, {25856, 337, 349, B}, {50172, 337, 349, B},
      {44385, 337, 349, B}, {50176, 337, 349, B}, {49513, 337, 349, B}, {50195, 337, 349, B},
      {44383, 75, 16, BUTTON}, {50631, 75, 16, BUTTON}, {49522, 54, 16, BUTTON}, {50632, 54, 16, BUTTON},
      {49523, 54, 16, BUTTON}, {50633, 54, 16, BUTTON}, {25869, 80, 15, 9}, {25870, 80, 15, 9},
      {25871, 80, 15, 9}, {25872, 99, 19, 7},
      // notices and marks over the map
      {49785, 230, 40, B}, {50123, 230, 40, B}, {49784, 230, 40, B}, {50122, 230, 40, B},
      {49888, 110, 26, B}, {50120, 110, 26, B}, {28320, 13, 13, B}, {28321, 9, 9, B},
      // the warning and the yes/no question
      {37549, 315, 80, B}, {50088, 315, 80, B}, {49889, 287, 108, B},
      {41484, 56, 16, BUTTON}, {50609, 56, 16, BUTTON}, {41485, 56, 16, BUTTON}, {50612, 56, 16, BUTTON},
      // the building palette: menus, group buttons, size choices; the removal questions
      {30076, 46, 132, B}, {30077, 46, 206, B}, {30078, 46, 247, B}, {28381, 118, 46, B},
      {30068, 36, 36, BUTTON}, {30069, 36, 36, BUTTON}, {50831, 36, 36, BUTTON}, {18699, 36, 36, BUTTON},
      {18695, 36, 36, BUTTON}, {18696, 36, 36, BUTTON}, {18697, 36, 36, BUTTON}, {18698, 36, 36, BUTTON},
      {30079, 36, 36, BUTTON}, {28131, 36, 36, BUTTON}, {28132, 36, 36, BUTTON}, {28730, 36, 36, BUTTON},
      {49626, 36, 36, BUTTON}, {37574, 36, 36, BUTTON}, {26597, 36, 36, BUTTON}, {26598, 36, 36, BUTTON},
      {26599, 36, 36, BUTTON}, {26594, 36, 36, BUTTON}, {26595, 36, 36, BUTTON}, {26596, 36, 36, BUTTON},
      {41475, 315, 100, B}, {50090, 315, 100, B},
      // the event windows, the message list with its panels, the adviser and its five portraits
      {39844, 410, 198, B}, {50089, 410, 198, B}, {43844, 410, 164, B}, {50092, 410, 164, B}, {49918, 410, 164, B},
      {43833, 500, 350, B}, {50091, 500, 350, B}, {43834, 410, 220, B}, {50093, 410, 220, B}, {44234, 410, 220, B},
      {49484, 448, 136, B}, {50075, 448, 136, B}, {49485, 448, 172, B}, {37539, 378, 21, B}, {50062, 378, 21, B},
      {37538, 51, 255, B}, {44205, 327, 255, B}, {44207, 327, 255, B}, {44206, 327, 255, B}, {44204, 327, 255, B},
      {44208, 327, 255, B}, {50038, 327, 255, B}, {50044, 327, 255, B}, {50043, 327, 255, B}, {50041, 327, 255, B},
      {50045, 327, 255, B}, {37553, 38, 15, BUTTON}, {37552, 11, 11, BUTTON}, {43853, 96, 16, BUTTON},
      {50588, 96, 16, BUTTON}, {43855, 96, 16, BUTTON}, {50589, 96, 16, BUTTON}, {43852, 96, 16, BUTTON},
      {50749, 96, 16, BUTTON}, {43851, 26, 17, BUTTON}, {49487, 10, 9, BUTTON}, {44230, 36, 36, BUTTON},
      {50581, 36, 36, BUTTON}, {44232, 36, 36, BUTTON}, {50583, 36, 36, BUTTON}, {44231, 36, 36, BUTTON},
      {50582, 36, 36, BUTTON}, {44236, 36, 36, BUTTON}, {50579, 36, 36, BUTTON}, {44233, 36, 36, BUTTON},
      {50585, 36, 36, BUTTON},
      // selection-list rows: row buttons, steppers, marks (six looks: processed from 3), backgrounds
      {25923, 55, 16, BUTTON}, {42492, 42, 16, BUTTON}, {44405, 7, 16, BUTTON}, {44406, 7, 16, BUTTON},
      {49520, 63, 16, BUTTON}, {49521, 63, 16, BUTTON}, {49671, 63, 16, BUTTON}, {49527, 9, 16, BUTTON},
      {49528, 9, 16, BUTTON}, {26659, 16, 15, BUTTON}, {37568, 367, 16, BUTTON}, {49445, 147, 17, BUTTON},
      {49489, 16, 16, 6}, {49488, 16, 16, 6}, {49490, 406, 16, BUTTON}, {36485, 23, 15, BUTTON},
      {50644, 23, 15, BUTTON}, {36484, 23, 15, BUTTON}, {50642, 23, 15, BUTTON},
      {49502, 40, 16, B}, {49503, 43, 16, B}, {26639, 281, 17, B}, {28182, 281, 17, B}, {28539, 52, 15, B},
  };
  // The start-up windows, the game menu and its pages, the crossing and
  // street windows; their looks come from a block of their own.
  const Row menuRows[] = {
      {49772, 352, 350, B}, {50112, 352, 350, B}, {50918, 500, 420, B}, {50920, 500, 420, B},
      {51677, 800, 600, B}, {51676, 640, 480, B}, {50916, 337, 415, B}, {50917, 337, 415, B},
      {38499, 352, 21, B}, {50116, 352, 21, B}, {38495, 51, 284, B}, {38494, 301, 284, B}, {50124, 301, 284, B},
      {38493, 301, 284, B}, {50125, 301, 284, B}, {50904, 301, 284, B}, {50905, 301, 284, B},
      {49777, 93, 21, BUTTON}, {50600, 93, 21, BUTTON}, {39450, 36, 36, BUTTON}, {39471, 36, 36, BUTTON},
      {39445, 36, 36, BUTTON}, {41521, 36, 36, BUTTON}, {39444, 93, 21, BUTTON}, {50614, 93, 21, BUTTON},
      {39443, 93, 21, BUTTON}, {50611, 93, 21, BUTTON}, {39440, 93, 21, BUTTON}, {50608, 93, 21, BUTTON},
      {39441, 93, 21, BUTTON}, {50610, 93, 21, BUTTON}, {39442, 93, 21, BUTTON}, {50617, 93, 21, BUTTON},
      {44170, 93, 21, BUTTON}, {50613, 93, 21, BUTTON}, {49896, 93, 21, BUTTON}, {50616, 93, 21, BUTTON},
      {49425, 149, 19, 4}, {50618, 149, 19, 4}, {44169, 130, 21, BUTTON}, {50615, 130, 21, BUTTON},
      {50901, 45, 21, BUTTON}, {50902, 45, 21, BUTTON}, {50903, 51, 21, BUTTON}, {50821, 57, 21, BUTTON},
      {50822, 57, 21, BUTTON}, {49391, 31, 14, BUTTON},
      // the crossing windows: backgrounds (the windows take their sizes), plan, controls
      {29683, 211, 106, B}, {50760, 211, 106, B}, {29684, 211, 191, B}, {50761, 211, 191, B},
      {33828, 211, 106, B}, {50767, 211, 106, B}, {33829, 211, 191, B}, {50768, 211, 191, B},
      {29686, 74, 47, 15}, {29689, 103, 18, 3}, {50603, 103, 18, 3}, {29690, 103, 18, 3}, {50604, 103, 18, 3},
      {33830, 12, 11, 3}, {29688, 24, 14, BUTTON},
      // the street windows: backgrounds, direction, load bars, speeds, the swap button
      {33782, 211, 154, B}, {50535, 211, 154, B}, {33783, 211, 264, B}, {50534, 211, 264, B},
      {33784, 211, 154, B}, {50533, 211, 154, B}, {33785, 211, 264, B}, {50532, 211, 264, B},
      {33780, 211, 171, B}, {50537, 211, 171, B}, {33781, 211, 264, B}, {50536, 211, 264, B},
      {33817, 99, 61, 4}, {33816, 99, 61, 4}, {33808, 84, 15, 17}, {33809, 84, 15, 17},
      {41494, 25, 14, BUTTON}, {33811, 25, 14, BUTTON}, {33812, 25, 14, BUTTON}, {33810, 25, 14, BUTTON},
      {33815, 53, 14, BUTTON}, {50656, 53, 14, BUTTON},
  };
  // The administration and the windows around it; their looks come from a
  // block of their own.
  const Row administrationRows[] = {
      // the administration: caption, tab column, tabs, pages, credit buttons, research bars and states
      {28103, 388, 21, B}, {50228, 388, 21, B}, {28054, 51, 388, B}, {18700, 36, 36, BUTTON},
      {18701, 36, 36, BUTTON}, {18702, 36, 36, BUTTON}, {18703, 36, 36, BUTTON}, {18704, 36, 36, BUTTON},
      {28053, 337, 388, B}, {50257, 337, 388, B}, {28052, 337, 388, B}, {50258, 337, 388, B},
      {28051, 337, 388, B}, {50259, 337, 388, B}, {28050, 337, 388, B}, {50261, 337, 388, B},
      {28079, 337, 388, B}, {50263, 337, 388, B}, {42325, 67, 15, BUTTON}, {50648, 67, 15, BUTTON},
      {42324, 67, 15, BUTTON}, {50647, 67, 15, BUTTON}, {28104, 80, 15, 12}, {28105, 80, 15, 12},
      {28106, 80, 15, 12}, {50771, 80, 15, 12}, {50770, 80, 15, 12}, {50769, 80, 15, 12},
      {28107, 34, 34, 4}, {28108, 34, 34, 4}, {28109, 34, 34, 4}, {28110, 34, 34, 4}, {28111, 34, 34, 4},
      // park-and-ride and building information, line editing, turning a building
      {49914, 239, 117, B}, {50072, 239, 117, B}, {39876, 239, 207, B}, {50070, 239, 207, B},
      {19677, 18, 14, BUTTON}, {19678, 18, 14, BUTTON}, {25915, 139, 69, B}, {25940, 10, 10, BUTTON},
      {25922, 36, 36, BUTTON}, {25920, 36, 36, BUTTON}, {25919, 36, 36, BUTTON}, {26547, 99, 21, B},
      {26543, 99, 69, B}, {26545, 36, 36, BUTTON}, {26546, 36, 36, BUTTON},
  };
  // The indicator group, its pages and series panels; their looks come from
  // a third block.
  const Row indicatorRows[] = {
      {35897, 490, 21, B}, {50107, 490, 21, B}, {35900, 51, 302, B}, {35924, 36, 36, BUTTON},
      {35925, 36, 36, BUTTON}, {42279, 36, 36, BUTTON}, {35898, 439, 302, B}, {50106, 439, 302, B},
      {39556, 439, 302, B}, {50105, 439, 302, B}, {44037, 439, 302, B}, {50096, 439, 302, B},
      {42290, 439, 302, B}, {50095, 439, 302, B}, {50841, 439, 302, B}, {50094, 439, 302, B},
      {35899, 439, 303, B}, {50104, 439, 303, B}, {35935, 74, 12, 13}, {35934, 74, 8, 13}, {35950, 144, 12, 14},
      {42306, 7, 7, B}, {42293, 7, 7, B}, {37318, 316, 103, B}, {37319, 316, 103, B}, {37320, 316, 103, B},
      {37321, 316, 103, B}, {37322, 316, 103, B}, {37323, 316, 103, B}, {37324, 316, 103, B},
      {50783, 316, 103, B}, {50784, 316, 103, B}, {50785, 316, 103, B}, {50786, 316, 103, B},
      {50787, 316, 103, B}, {50788, 316, 103, B}, {50789, 316, 103, B}, {37443, 49, 13, BUTTON},
      {50743, 49, 13, BUTTON}, {37445, 49, 13, BUTTON}, {50742, 49, 13, BUTTON}, {37446, 49, 13, BUTTON},
      {50745, 49, 13, BUTTON}, {37455, 49, 13, BUTTON}, {37456, 31, 14, BUTTON}, {50747, 31, 14, BUTTON},
      {37449, 16, 16, BUTTON}, {37448, 16, 16, BUTTON}, {37447, 54, 13, BUTTON}, {50746, 54, 13, BUTTON},
      {37444, 54, 13, BUTTON}, {50744, 54, 13, BUTTON}, {49819, 37, 13, BUTTON}, {50732, 37, 13, BUTTON},
      {49820, 37, 13, BUTTON}, {50741, 37, 13, BUTTON}, {37357, 94, 13, BUTTON}, {50667, 94, 13, BUTTON},
      {37359, 94, 13, BUTTON}, {50671, 94, 13, BUTTON}, {37360, 94, 13, BUTTON}, {50665, 94, 13, BUTTON},
      {37361, 94, 13, BUTTON}, {50670, 94, 13, BUTTON}, {37362, 94, 13, BUTTON}, {50674, 94, 13, BUTTON},
      {37363, 94, 13, BUTTON}, {50676, 94, 13, BUTTON}, {37364, 94, 13, BUTTON}, {50673, 94, 13, BUTTON},
      {37365, 94, 13, BUTTON}, {50678, 94, 13, BUTTON}, {37366, 94, 13, BUTTON}, {50668, 94, 13, BUTTON},
      {37367, 94, 13, BUTTON}, {50666, 94, 13, BUTTON}, {44162, 94, 13, BUTTON}, {50677, 94, 13, BUTTON},
      {37407, 114, 13, BUTTON}, {50728, 114, 13, BUTTON}, {37406, 114, 13, BUTTON}, {50722, 114, 13, BUTTON},
      {49712, 114, 13, BUTTON}, {50723, 114, 13, BUTTON}, {37409, 114, 13, BUTTON}, {50724, 114, 13, BUTTON},
      {37408, 114, 13, BUTTON}, {50727, 114, 13, BUTTON}, {37410, 114, 13, BUTTON}, {50725, 114, 13, BUTTON},
      {37411, 114, 13, BUTTON}, {50726, 114, 13, BUTTON}, {37412, 114, 13, BUTTON}, {50721, 114, 13, BUTTON},
      {37397, 114, 13, BUTTON}, {50717, 114, 13, BUTTON}, {37401, 114, 13, BUTTON}, {50719, 114, 13, BUTTON},
      {39494, 114, 13, BUTTON}, {50718, 114, 13, BUTTON}, {37405, 114, 13, BUTTON}, {50716, 114, 13, BUTTON},
      {37404, 114, 13, BUTTON}, {50715, 114, 13, BUTTON}, {37402, 114, 13, BUTTON}, {50775, 114, 13, BUTTON},
      {37403, 114, 13, BUTTON}, {50720, 114, 13, BUTTON}, {37389, 114, 13, BUTTON}, {50738, 114, 13, BUTTON},
      {37390, 114, 13, BUTTON}, {50737, 114, 13, BUTTON}, {37391, 114, 13, BUTTON}, {50735, 114, 13, BUTTON},
      {37392, 114, 13, BUTTON}, {50731, 114, 13, BUTTON}, {37393, 114, 13, BUTTON}, {50729, 114, 13, BUTTON},
      {39486, 114, 13, BUTTON}, {50734, 114, 13, BUTTON}, {37394, 114, 13, BUTTON}, {50733, 114, 13, BUTTON},
      {37395, 114, 13, BUTTON}, {50740, 114, 13, BUTTON}, {37396, 114, 13, BUTTON}, {50739, 114, 13, BUTTON},
      {37370, 114, 13, BUTTON}, {50708, 114, 13, BUTTON}, {37372, 114, 13, BUTTON}, {50712, 114, 13, BUTTON},
      {37373, 114, 13, BUTTON}, {50707, 114, 13, BUTTON}, {37374, 114, 13, BUTTON}, {50711, 114, 13, BUTTON},
      {37375, 114, 13, BUTTON}, {50709, 114, 13, BUTTON}, {39487, 114, 13, BUTTON}, {50713, 114, 13, BUTTON},
      {37413, 94, 13, BUTTON}, {50698, 94, 13, BUTTON}, {37414, 94, 13, BUTTON}, {50702, 94, 13, BUTTON},
      {37415, 94, 13, BUTTON}, {50705, 94, 13, BUTTON}, {37426, 94, 13, BUTTON}, {50694, 94, 13, BUTTON},
      {37418, 94, 13, BUTTON}, {50695, 94, 13, BUTTON}, {37416, 94, 13, BUTTON}, {50693, 94, 13, BUTTON},
      {37417, 94, 13, BUTTON}, {50699, 94, 13, BUTTON}, {50851, 94, 13, BUTTON}, {50852, 94, 13, BUTTON},
      {37419, 94, 13, BUTTON}, {50700, 94, 13, BUTTON}, {37420, 94, 13, BUTTON}, {50697, 94, 13, BUTTON},
      {37421, 94, 13, BUTTON}, {50696, 94, 13, BUTTON}, {37422, 94, 13, BUTTON}, {50701, 94, 13, BUTTON},
      {37423, 94, 13, BUTTON}, {50706, 94, 13, BUTTON}, {39569, 94, 13, BUTTON}, {50703, 94, 13, BUTTON},
      {39570, 94, 13, BUTTON}, {50704, 94, 13, BUTTON}, {37376, 94, 13, BUTTON}, {50683, 94, 13, BUTTON},
      {37377, 94, 13, BUTTON}, {50684, 94, 13, BUTTON}, {37379, 94, 13, BUTTON}, {50690, 94, 13, BUTTON},
      {37380, 94, 13, BUTTON}, {50681, 94, 13, BUTTON}, {37381, 81, 13, BUTTON}, {50680, 81, 13, BUTTON},
      {37382, 81, 13, BUTTON}, {50687, 81, 13, BUTTON}, {37384, 81, 13, BUTTON}, {50689, 81, 13, BUTTON},
      {37383, 81, 13, BUTTON}, {50682, 81, 13, BUTTON}, {37432, 107, 13, BUTTON}, {50692, 107, 13, BUTTON},
      {37386, 107, 13, BUTTON}, {50679, 107, 13, BUTTON}, {37387, 107, 13, BUTTON}, {50688, 107, 13, BUTTON},
      {37388, 107, 13, BUTTON}, {50686, 107, 13, BUTTON},
  };
  // The parking management group and the car-park window; their looks come
  // from a block of their own.
  const Row parkingRows[] = {
      {28173, 388, 21, B}, {50208, 388, 21, B}, {28172, 51, 299, B}, {28177, 36, 36, BUTTON},
      {28176, 36, 36, BUTTON}, {28179, 36, 36, BUTTON}, {50844, 337, 299, B}, {50218, 337, 299, B},
      {50842, 337, 299, B}, {50217, 337, 299, B}, {50843, 337, 299, B}, {50215, 337, 299, B},
      {28174, 22, 14, BUTTON}, {28502, 279, 19, B}, {50782, 279, 19, B}, {28501, 36, 166, B},
      {28403, 26, 26, BUTTON}, {28404, 26, 26, BUTTON}, {28405, 26, 26, BUTTON}, {28499, 243, 166, B},
      {50780, 243, 166, B}, {28498, 243, 166, B}, {50779, 243, 166, B}, {28500, 243, 166, B},
      {50781, 243, 166, B}, {28521, 52, 15, 18},
  };
  // The measures group, its pages and companion pages; the looks of its
  // page buttons come from a block of their own.
  const Row measuresRows[] = {
      {26652, 388, 21, B}, {50037, 388, 21, B}, {26651, 51, 349, B}, {18709, 36, 36, BUTTON},
      {28261, 36, 36, BUTTON}, {18712, 36, 36, BUTTON}, {18711, 36, 36, BUTTON}, {18713, 36, 36, BUTTON},
      {26589, 36, 36, BUTTON}, {26650, 337, 349, B}, {50036, 337, 349, B}, {26645, 337, 349, B},
      {50027, 337, 349, B}, {26646, 337, 349, B}, {50029, 337, 349, B}, {26648, 337, 349, B},
      {50033, 337, 349, B}, {26649, 337, 349, B}, {50034, 337, 349, B}, {26647, 337, 349, B},
      {50031, 337, 349, B}, {33694, 337, 349, B}, {50028, 337, 349, B}, {33695, 337, 349, B},
      {50030, 337, 349, B}, {33697, 337, 349, B}, {50035, 337, 349, B}, {33696, 337, 349, B},
      {50032, 337, 349, B},
  };
  // The exhibition's pages, their choice and next buttons and the menus
  // beside them; their looks come from a block of their own.
  const Row expoRows[] = {
      {43770, 383, 170, B}, {43796, 375, 166, B}, {43772, 480, 230, B}, {43769, 415, 225, B},
      {43771, 412, 227, B}, {43768, 399, 247, B}, {43784, 341, 194, B}, {43773, 321, 194, B},
      {43785, 283, 70, B},  {43774, 283, 70, B},  {43786, 315, 100, B}, {43775, 315, 100, B},
      {43787, 287, 107, B}, {43776, 250, 102, B}, {43788, 287, 127, B}, {43777, 323, 145, B},
      {43934, 237, 84, B},  {44012, 237, 84, B},  {43789, 344, 191, B}, {43778, 358, 208, B},
      {43790, 298, 50, B},  {43779, 298, 50, B},  {43804, 289, 180, B}, {43795, 294, 190, B},
      {43806, 283, 70, B},  {43797, 283, 70, B},  {43805, 317, 110, B}, {43767, 305, 123, B},
      {43807, 229, 69, B},  {43798, 229, 69, B},  {43808, 229, 69, B},  {43799, 229, 69, B},
      {43810, 275, 69, B},  {43801, 275, 69, B},  {43941, 211, 247, B}, {44010, 211, 247, B},
      {43940, 211, 264, B}, {44011, 211, 264, B}, {43928, 46, 95, B},
      {44004, 327, 267, B}, {44003, 327, 267, B}, {44002, 327, 267, B}, {44001, 327, 267, B},
      {44000, 327, 267, B}, {43999, 327, 267, B}, {43998, 327, 267, B}, {43997, 327, 267, B},
      {43947, 327, 267, B}, {43948, 327, 267, B}, {43949, 327, 267, B}, {43950, 327, 267, B},
      {43951, 327, 267, B}, {43952, 327, 267, B}, {43953, 327, 267, B}, {43954, 327, 267, B},
      {PIC_EXPO_ARROW, 24, 30, B},
      {43889, 26, 17, BUTTON}, {43924, 55, 15, BUTTON}, {43925, 150, 15, BUTTON}, {43926, 84, 15, BUTTON},
      {43927, 110, 15, BUTTON}, {43904, 18, 17, BUTTON}, {43905, 18, 17, BUTTON}, {43906, 18, 17, BUTTON},
  };
  std::vector<UiArt> out;
  auto add = [&out](const Row* first, const Row* last, uint32_t next) {
    for (const Row* r = first; r != last; ++r) {
      out.push_back({r->id, r->w, r->h, r->states, r->states ? next : 0});
      next += r->states;
    }
  };
  add(std::begin(rows), std::end(rows), UI_PICTURES_FIRST);
  add(std::begin(menuRows), std::end(menuRows), UI_PICTURES_MENU_FIRST);
  add(std::begin(administrationRows), std::end(administrationRows), UI_PICTURES_ADMINISTRATION_FIRST);
  add(std::begin(indicatorRows), std::end(indicatorRows), UI_PICTURES_INDICATORS_FIRST);
  add(std::begin(parkingRows), std::end(parkingRows), UI_PICTURES_PARKING_FIRST);
  add(std::begin(measuresRows), std::end(measuresRows), UI_PICTURES_MEASURES_FIRST);
  add(std::begin(expoRows), std::end(expoRows), UI_PICTURES_EXPO_FIRST);
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
  for (const UiArt& a : UiArts()) {
    m.push_back({a.id, a.Animated() ? BlobKind::Animation : BlobKind::Bitmap, ARCHIVE_MAIN, "interface picture"});
    for (uint32_t i = 0; i < a.states; ++i)
      m.push_back({a.firstPicture + i, BlobKind::Bitmap, ARCHIVE_MAIN, "interface animation picture"});
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
  for (int kind : zorveh::VEHICLE_DRAWN_KINDS)
    for (int column = 0; column < zorveh::VEHICLE_DRAWN_COLUMNS; ++column)
      for (int entry = 0; entry < zorveh::VEHICLE_DIRECTIONS; ++entry)
        m.push_back({zorveh::VehicleSpriteId(kind, column, entry), BlobKind::Sprite, ARCHIVE_MAIN, "vehicle sprite"});
  for (uint32_t id : {zorveh::VEHICLE_PICTURE_BUS, zorveh::VEHICLE_PICTURE_BUS_LOWFLOOR, zorveh::VEHICLE_PICTURE_BUS_H2,
                      zorveh::VEHICLE_PICTURE_BUS_ELECTRIC, zorveh::VEHICLE_PICTURE_TRAM})
    m.push_back({id, BlobKind::Bitmap, ARCHIVE_MAIN, "line vehicle picture"});
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

const std::vector<UiArt>& UiArts() {
  static const std::vector<UiArt> arts = BuildUiArts();
  return arts;
}

const UiArt* FindUiArt(uint32_t id) {
  for (const UiArt& a : UiArts())
    if (a.id == id) return &a;
  return nullptr;
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
