#pragma once
// Every resource id the generator writes, with its kind and archive: the one
// place where ids are added. Text resources come from assets/text/<id>.txt
// and are listed by the generator's own manifest file in the game data.
#include <cstdint>
#include <string>
#include <vector>

namespace zorgen {

enum class BlobKind { Bitmap, Palette, Font, Animation, Sprite, Text };

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

}  // namespace zorgen
