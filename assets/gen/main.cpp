// The game-data generator: draws every picture, rasterises the fonts, packs
// the texts and writes the archives the game reads.
//   zor_gamedata <output dir> <text dir>
//   zor_gamedata --lettering    (fails when an interface picture cuts its words)
#include <cairo.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/qno_resource.h"
#include "gen/generator.h"

namespace zorgen {

bool GameDataBuilder::Put(uint32_t id, Bytes blob) {
  const ManifestEntry* e = FindInManifest(id);
  if (!e) {
    std::fprintf(stderr, "zor_gamedata: id %u is not in the manifest\n", id);
    return false;
  }
  // The game's resource table holds ids below QNO_MAX_RESOURCES and refuses
  // an archive with any other.
  if (id >= QNO_MAX_RESOURCES) {
    std::fprintf(stderr, "zor_gamedata: id %u is beyond the resource table (%u)\n", id, QNO_MAX_RESOURCES);
    return false;
  }
  if (m_items.count(id)) {
    std::fprintf(stderr, "zor_gamedata: id %u produced twice\n", id);
    return false;
  }
  m_items[id] = {e->kind, e->archive, std::move(blob)};
  return true;
}

void GameDataBuilder::PutText(uint32_t id, Bytes blob) { m_items[id] = {BlobKind::Text, ARCHIVE_MAIN, std::move(blob)}; }

bool GameDataBuilder::Write(const std::string& dir) const {
  bool ok = true;
  for (const ManifestEntry& e : Manifest()) {
    if (!m_items.count(e.id)) {
      std::fprintf(stderr, "zor_gamedata: manifest id %u (%s) was not produced\n", e.id, e.what);
      ok = false;
    }
  }
  std::map<std::string, GlaWriter> archives = {{ARCHIVE_MAIN, {}}, {ARCHIVE_SOUNDS, {}}, {ARCHIVE_UPDATE, {}}};
  std::ostringstream list;
  for (const auto& [id, item] : m_items) {
    archives[item.archive].Add(id, item.blob);
    list << item.archive << ' ' << id << ' ' << KindName(item.kind) << '\n';
  }
  std::filesystem::create_directories(dir);
  for (const auto& [name, archive] : archives) {
    if (!archive.WriteFile(dir + "/" + name)) {
      std::fprintf(stderr, "zor_gamedata: cannot write %s/%s\n", dir.c_str(), name.c_str());
      ok = false;
    }
  }
  std::ofstream f(dir + "/" + MANIFEST_FILE, std::ios::trunc);
  f << list.str();
  return ok && static_cast<bool>(f);
}

std::string FontPath(const char* file) {
  const char* dir = std::getenv("ZOR_FONT_DIR");
  return std::string(dir ? dir : "/usr/share/fonts/truetype/dejavu") + "/" + file;
}

bool ProduceFonts(GameDataBuilder& out) {
  const FontSpec fonts[] = {
      {FONT_STANDARD, FontPath("DejaVuSans.ttf"), 11, 0},
      {FONT_STATUS, FontPath("DejaVuSansCondensed.ttf"), 10, 0},
      {FONT_FIGURES, FontPath("DejaVuSansCondensed-Bold.ttf"), 10, 0},
      {FONT_TITLE, FontPath("DejaVuSans-Bold.ttf"), 13, 0},
  };
  bool ok = true;
  for (const FontSpec& font : fonts) {
    Bytes blob;
    if (!RenderFont(font, &blob)) {
      std::fprintf(stderr, "zor_gamedata: cannot load font %s\n", font.path.c_str());
      ok = false;
      continue;
    }
    ok &= out.Put(font.id, std::move(blob));
  }
  return ok;
}

// Every <id>.txt of the folder, converted from UTF-8 to the game's code page.
bool ProduceTexts(GameDataBuilder& out, const std::string& textDir) {
  std::error_code ec;
  if (textDir.empty() || !std::filesystem::is_directory(textDir, ec)) return true;
  bool ok = true;
  for (const auto& entry : std::filesystem::directory_iterator(textDir)) {
    const auto& path = entry.path();
    if (path.extension() != ".txt") continue;
    char* end = nullptr;
    const std::string stem = path.stem().string();
    const unsigned long id = std::strtoul(stem.c_str(), &end, 10);
    if (stem.empty() || *end || id == 0 || id >= 60000 || FindInManifest(static_cast<uint32_t>(id))) {
      std::fprintf(stderr, "zor_gamedata: %s does not name a free resource id\n", path.c_str());
      ok = false;
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    int unmapped = 0;
    Bytes blob = WriteText(s.str(), &unmapped);
    if (unmapped) std::fprintf(stderr, "zor_gamedata: %s: %d characters outside the code page\n", path.c_str(), unmapped);
    out.PutText(static_cast<uint32_t>(id), std::move(blob));
  }
  return ok;
}

}  // namespace zorgen

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output dir> [text dir] | --lettering\n", argv[0]);
    return 2;
  }
  if (std::string(argv[1]) == "--lettering") {
    const int cut = zorgen::CountCutWords();
    zorgen::ReleaseFontFaces();
    return cut == 0 ? 0 : 1;
  }
  zorgen::GameDataBuilder builder;
  bool ok = zorgen::ProduceFonts(builder);
  ok &= zorgen::ProduceCursors(builder);
  ok &= zorgen::ProduceLoadingPictures(builder);
  ok &= zorgen::ProduceMapArt(builder);
  ok &= zorgen::ProduceInterfaceArt(builder);
  ok &= zorgen::ProduceTexts(builder, argc > 2 ? argv[2] : "");
  ok &= builder.Write(argv[1]);
  if (argc > 2) ok &= zorgen::ProduceMessageFiles(std::string(argv[2]) + "/messages", argv[1]);
  const std::string soundDir = std::string(argv[1]) + "/" + zorgen::SOUND_DIR;
  ok &= zorgen::ProduceSoundEffects(soundDir);
  ok &= zorgen::ProduceMusic(soundDir);
  zorgen::ReleaseFontFaces();
  return ok ? 0 : 1;
}
