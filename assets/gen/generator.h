#pragma once
// The generator's producers: each draws one family of resources and hands
// the blobs to the builder, which checks them against the manifest.
#include <map>
#include <string>

#include "gen/canvas.h"
#include "manifest.h"
#include "writers/blob_writers.h"

namespace zorgen {

class GameDataBuilder {
 public:
  // Adds a blob the manifest lists; false (and a message) otherwise.
  bool Put(uint32_t id, Bytes blob);
  // Adds a text resource from the text folder.
  void PutText(uint32_t id, Bytes blob);
  // Writes the archives and the list file into dir; false when a manifest
  // id was not produced or a file cannot be written.
  bool Write(const std::string& dir) const;

 private:
  struct Item {
    BlobKind kind;
    std::string archive;
    Bytes blob;
  };
  std::map<uint32_t, Item> m_items;
};

struct FontSpec {
  uint32_t id;
  std::string path;
  double pixelSize;
  int extraSpacing;
};
bool RenderFont(const FontSpec& font, Bytes* out);

std::string FontPath(const char* file);
bool ProduceFonts(GameDataBuilder& out);
bool ProduceCursors(GameDataBuilder& out);
bool ProduceLoadingPictures(GameDataBuilder& out);
bool ProduceTexts(GameDataBuilder& out, const std::string& textDir);
// The message and help text files "MTG", "MTE", "ITG", "ITE" (".GLA").
bool ProduceMessageFiles(const std::string& sourceDir, const std::string& outDir);
bool ProduceMapArt(GameDataBuilder& out);
// Draws every picture of the interface; a picture that cuts the words it
// letters is reported, and still produced.
bool ProduceInterfaceArt(GameDataBuilder& out);
// Draws the interface's pictures alone and counts the words they cut,
// each reported.
int CountCutWords();
// The sound directory's files: the effects as <NAME>.BIN (WAV) and the
// music as ATMO1.MID ... ATMO9.MID.
constexpr const char* SOUND_DIR = "SOUND";
bool ProduceSoundEffects(const std::string& soundDir);
bool ProduceMusic(const std::string& soundDir);

}  // namespace zorgen
