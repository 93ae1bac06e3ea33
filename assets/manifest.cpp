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
  }
  return "?";
}

bool KindFromName(const std::string& name, BlobKind* kind) {
  for (BlobKind k : {BlobKind::Bitmap, BlobKind::Palette, BlobKind::Font, BlobKind::Animation, BlobKind::Sprite,
                     BlobKind::Text}) {
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

const ManifestEntry* FindInManifest(uint32_t id) {
  for (const ManifestEntry& e : Manifest())
    if (e.id == id) return &e;
  return nullptr;
}

}  // namespace zorgen
