#pragma once
// Every resource id the generator writes, with its kind and archive: the one
// place where ids are added. Text resources come from assets/text/<id>.txt
// and are listed by the generator's own manifest file in the game data.
#include <cstdint>
#include <string>
#include <vector>

namespace zorgen {

enum class BlobKind { Bitmap, Palette, Font, Animation, Sprite, Text, IsoTile, IsoGroup, MicroLayout };

const char* KindName(BlobKind kind);
bool KindFromName(const std::string& name, BlobKind* kind);

constexpr const char* ARCHIVE_MAIN = "ZORVANTA.GLA";
constexpr const char* ARCHIVE_SOUNDS = "BSOUNDS.GLA";
constexpr const char* ARCHIVE_UPDATE = "UPDATE.GLA";
// Written next to the archives: one line "<archive> <id> <kind>" per blob.
constexpr const char* MANIFEST_FILE = "GAMEDATA.LST";

struct ManifestEntry {
  uint32_t id;
  BlobKind kind;
  const char* archive;
  const char* what;
};

const std::vector<ManifestEntry>& Manifest();
const ManifestEntry* FindInManifest(uint32_t id);

// Font ids.
constexpr uint32_t FONT_STANDARD = 823;
constexpr uint32_t FONT_STATUS = 19671;
constexpr uint32_t FONT_FIGURES = 28387;
constexpr uint32_t FONT_TITLE = 49713;

// Loading pictures.
constexpr uint32_t PIC_LOADING_DE = 49803;
constexpr uint32_t PIC_LOADING_EN = 50121;

// Cursor animations and the pictures behind them. Pictures that only
// animations use live from 58000 on, clear of every id the game names.
enum class CursorDesign {
  Pointer, Street, StreetWide, StreetOneWay, StreetFourLane, StreetBusLane, StreetBridge, Rail, Stop,
  ParkingSmall, ParkingMedium, ParkingLarge, RemoveStreet, ResidentialSmall, ResidentialLarge,
  CommercialSmall, CommercialLarge, Industrial, ClearLand, LineAdd, LineRemove, LineStopAdd, LineStopRemove,
  LineRoute, Info, RemoveStop, Wait, Pan, PanLeft, PanRight, PanUp, PanDown, Drag
};

struct CursorEntry {
  uint32_t animationId;
  CursorDesign design;
  uint32_t firstPictureId;
  uint32_t pictureCount;
};
const std::vector<CursorEntry>& Cursors();

// ------------------------------------------------------------ interface art
// The pictures of the main screen, its menus and the shared widgets. A
// bitmap is drawn as it is; an animation has one looping state per look
// (buttons: 0 normal, 1 pointer over it or on, 2 pressed), each a single
// picture from the block that starts at UI_PICTURES_FIRST.
constexpr uint32_t UI_PICTURES_FIRST = 37820;  // up to 38389, between the river tiles
// The looks of the start-up, game-menu, crossing and street windows' buttons.
constexpr uint32_t UI_PICTURES_MENU_FIRST = 38700;  // up to 38999
// The looks of the administration's and the information windows' buttons,
// bars and state pictures.
constexpr uint32_t UI_PICTURES_ADMINISTRATION_FIRST = 51800;  // up to 51999
// The looks of the indicator group's buttons and bars.
constexpr uint32_t UI_PICTURES_INDICATORS_FIRST = 10600;  // up to 11199
// The looks of the parking windows' buttons and the car parks' utilisation bar.
constexpr uint32_t UI_PICTURES_PARKING_FIRST = 16100;  // up to 16199
// The looks of the measures group's page buttons, after the cursors'
// pictures and before the street network's sprites.
constexpr uint32_t UI_PICTURES_MEASURES_FIRST = 58080;  // up to 58099
// The looks of the exhibition pages' buttons.
constexpr uint32_t UI_PICTURES_EXPO_FIRST = 58042;  // up to 58079, after the cursors
// The exhibition's arrow over a free stop place.
constexpr uint32_t PIC_EXPO_ARROW = 49552;
struct UiArt {
  uint32_t id;
  int width, height;
  uint32_t states;        // 0 for a bitmap
  uint32_t firstPicture;  // of the states' pictures
  bool Animated() const { return states > 0; }
};
const std::vector<UiArt>& UiArts();
const UiArt* FindUiArt(uint32_t id);

// ------------------------------------------------------------ map art
// Every map picture is a tile resource (one cell's sprite layers per zoom and
// rotation) or a group resource (a multi-cell object whose cells each show a
// tile of their own). The ids the game names are fixed; the tiles of the
// group cells and all sprites get ids from the blocks below, handed out in
// list order so that the generator, the manifest and the tests agree.
constexpr uint32_t ISO_PART_TILES_FIRST = 52000;  // up to 52999
constexpr uint32_t ISO_SPRITES_FIRST = 53000;     // up to 57749
constexpr uint32_t ISO_SPRITES_END = 57750;
constexpr int ISO_ZOOM_COUNT = 3;
constexpr int ISO_TURN_COUNT = 4;

// Fixed tile ids.
constexpr uint32_t TILE_OUTSIDE = 44316;  // outside the map; default district tile
constexpr uint32_t TILE_DISTRICT_ODD = 44108;
constexpr uint32_t TILE_DISTRICT_EVEN = 44122;
constexpr uint32_t TILE_MARK_EDGE = 49647;       // street tool: an open side
constexpr uint32_t TILE_MARK_HIGHLIGHT = 49652;  // street tool mark, blinking highlight
constexpr uint32_t TILE_MARK_BUILDABLE = 1455;   // a cell that may be built on (street preview, areas)
constexpr uint32_t TILE_MARK_REFUSED = 1260;     // a street preview that may not be built
// The debug layers' block: 51200 up to 51219 (the id space ends at 60000).
constexpr uint32_t DEBUG_TILES_FIRST = 51200;
constexpr uint32_t TILE_DEBUG_STREET = 51200;  // a street piece of the network check
constexpr uint32_t TILE_DEBUG_RAIL = 51201;    // a track piece of the network check
constexpr uint32_t TILE_MARK_EXPO = 17024;       // a cell the exhibition's visitor should click
constexpr uint32_t GROUP_MARKER = 33880;         // mark on every cell of a building
constexpr uint32_t GROUP_MARKER_STREET = 33879;    // a street under the mouse
constexpr uint32_t GROUP_MARKER_FOURLANE = 33883;  // a four-lane street under the mouse

enum class IsoDesign : uint8_t {
  // single tiles
  Ground, Outside, Filter, MarkEdge, MarkHighlight, MarkBuildable, MarkRefused, MarkExpo, Zone, River,
  // groups drawn on the ground layer
  House, RowHouses, Apartments, Tower, Office, OfficeTower, Workshop, Factory, School, Shopping, Sports,
  Park, Entertainment, CarPark, CarParkGarage, CarParkDeck, ParkRide, Mast, CarSharingCentre, CarSharingStation,
  Kiosk, AdviceCentre,
  // groups drawn on the upper layer, over streets and rails
  BusStop, BusShelterStop, TramStop, GuidanceSign, TrafficSign,
  // the building mark of the overlays
  Marker
};

// Filter icon categories (the variant of IsoDesign::Filter).
enum class FilterKind : uint8_t {
  ResidentialLow, Residential, OfficeLow, Office, Industry, Shopping, School, Leisure, Parking, Transport
};
// Ground of the cells under a building.
enum class IsoGround : uint8_t { Lawn, Paving, Asphalt, Yard };
constexpr int ISO_GROUND_STYLES = 4;

struct IsoTileArt {
  uint32_t id;
  IsoDesign design;
  uint8_t variant;
  uint8_t layers;  // sprite layers per rotation
  bool turns;      // a picture per rotation; else one serves all four
  uint32_t firstSprite;
  uint32_t SpriteCount() const { return uint32_t{layers} * ISO_ZOOM_COUNT * (turns ? ISO_TURN_COUNT : 1); }
  uint32_t Sprite(int zoom, int rotation, int layer) const {
    const int r = turns ? rotation : 0;
    return firstSprite + static_cast<uint32_t>((zoom * (turns ? ISO_TURN_COUNT : 1) + r) * layers + layer);
  }
};

struct IsoGroupArt {
  uint32_t id;
  IsoDesign design;
  uint8_t variant;
  uint8_t width, depth;  // cells, unturned
  uint32_t firstTile;    // part (a, b) has tile firstTile + b x width + a
  uint32_t firstSprite;  // the building's slices, W + D - 1 per zoom and rotation
  bool UpperLayer() const { return design >= IsoDesign::BusStop; }
  uint32_t Tile(int a, int b) const { return firstTile + static_cast<uint32_t>(b * width + a); }
  uint32_t SlicesPerView() const { return uint32_t{width} + depth - 1; }
  uint32_t SpriteCount() const { return SlicesPerView() * ISO_ZOOM_COUNT * ISO_TURN_COUNT; }
  uint32_t Slice(int zoom, int rotation, int index) const {
    return firstSprite + static_cast<uint32_t>((zoom * ISO_TURN_COUNT + rotation) * SlicesPerView() + index);
  }
};

// ------------------------------------------------------ street network art
// The pieces of the street network: single tiles for the one-tile street
// types, 2 x 2 groups (and longer ones) for the four-lane street, bridges and
// level crossings, and the layers merged onto street tiles (lights, stop
// lines, signs, bus lanes). Their cell sprites, group cells and micro-cell
// layouts get ids from blocks of their own.
constexpr uint32_t NET_PART_TILES_FIRST = 52600;  // up to 52999
constexpr uint32_t NET_SPRITES_FIRST = 58100;     // up to 59999
constexpr uint32_t NET_SPRITES_END = 60000;
// Sprites of the street network's pieces that no longer fit into the block
// above continue here.
constexpr uint32_t NET_SPRITES_MORE_FIRST = 57750;  // up to 57999
constexpr uint32_t NET_SPRITES_MORE_END = 58000;
// And the rail network's pieces after those.
constexpr uint32_t NET_SPRITES_RAIL_FIRST = 45100;  // up to 46399
constexpr uint32_t NET_SPRITES_RAIL_END = 46400;
constexpr uint32_t NET_LAYOUTS_FIRST = 42500;     // up to 43699
constexpr uint32_t NET_LAYOUTS_END = 43700;
constexpr int NET_LAYOUT_ZOOMS = 2;  // the farthest zoom has no micro simulation

enum class NetShape : uint8_t {
  Road,           // straight piece, bend, end piece or junction, by its arms
  Bridge,         // variant: 0 the head rising towards +x, 1 the deck, 2 the head falling towards +x
  LevelCrossing,  // a track along x, the street over it along y: a cell of track each side
  Rail,           // variant: 0 straight track along x, 1 curve from +x to +y, 2 T junction opening to +y, 3 end
  Light,          // traffic light for the lane arriving at +x
  StopLine,       // variant: 1 one lane, 2 both lanes of a four-lane cell
  PrioritySign,
  GiveWaySign,
  BusLane,        // variant: 0 along the cell, 1 first cell, 2 last cell; with a side
  BusBend         // the bus lanes of a four-lane bend
};

// What meets one side of a piece. Sides of the unturned piece: 0 +x, 1 +y,
// 2 -x, 3 -y; a piece placed in direction d shows side s at side s + d.
// A track (ARM_RAIL) meets the rail pieces and the level crossings along
// their length; it is never one of a piece's `arms`.
enum NetArm : uint8_t { ARM_NONE, ARM_STREET, ARM_MAIN, ARM_ONEWAY, ARM_FOURLANE, ARM_RAIL };

struct NetPieceArt {
  uint32_t id;
  NetShape shape;
  uint8_t variant;
  uint8_t width, depth;  // cells, unturned
  bool group;            // a group resource (else a tile resource)
  uint8_t arms[4];
  uint8_t layers;        // sprite layers of each cell
  uint32_t firstTile;    // groups: part (a, b) has tile firstTile + b x width + a
  uint32_t firstSprite;
  uint32_t firstLayout;  // 0 = carries no vehicles
  int Parts() const { return width * depth; }
  uint32_t Tile(int a, int b) const { return group ? firstTile + static_cast<uint32_t>(b * width + a) : id; }
  uint32_t SpriteCount() const { return static_cast<uint32_t>(Parts() * ISO_ZOOM_COUNT * ISO_TURN_COUNT * layers); }
  uint32_t Sprite(int part, int zoom, int rotation, int layer) const {
    return firstSprite + static_cast<uint32_t>(((part * ISO_ZOOM_COUNT + zoom) * ISO_TURN_COUNT + rotation) * layers + layer);
  }
  uint32_t LayoutCount() const { return firstLayout ? NET_LAYOUT_ZOOMS * ISO_TURN_COUNT : 0; }
  // The layout of drawing rotation `rotation` at zoom index 0 or 1.
  uint32_t Layout(int zoom, int rotation) const {
    return firstLayout ? firstLayout + static_cast<uint32_t>(zoom * ISO_TURN_COUNT + rotation) : 0;
  }
};

const std::vector<NetPieceArt>& NetPieces();
const NetPieceArt* FindNetPiece(uint32_t id);

const std::vector<IsoTileArt>& IsoTiles();
const std::vector<IsoGroupArt>& IsoGroups();
const IsoTileArt* FindIsoTile(uint32_t id);
const IsoGroupArt* FindIsoGroup(uint32_t id);
// The flat sprite of one ground style at one zoom (the same in every rotation).
uint32_t IsoGroundSprite(IsoGround style, int zoom);
// A sprite without visible pixels, for layers that show nothing in a view.
uint32_t IsoBlankSprite();

}  // namespace zorgen
