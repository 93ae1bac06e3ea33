// The adviser's message texts and the help texts, written from their UTF-8
// sources (text/messages/<name>.txt) as the game's single-byte files
// "<name>.GLA" beside the archives. Each source is checked first: a text
// line must not hold a character the game's reader takes for a marker, and
// every line must fit the reader's line length.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/zor_record.h"
#include "gen/generator.h"

namespace zorgen {

namespace {

constexpr size_t kReaderLine = 499;

// The marker characters a text line of the file kind must not hold.
bool CheckSource(const std::string& name, const std::string& cp1252, bool messages) {
  std::istringstream in(cp1252);
  std::string line;
  int number = 0;
  bool ok = true;
  auto fail = [&](const char* why) {
    std::fprintf(stderr, "zor_gamedata: %s.txt line %d: %s\n", name.c_str(), number, why);
    ok = false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (line.size() > kReaderLine) fail("longer than the game reads in one line");
    const size_t star = line.find('*');
    if (star != 0) continue;  // a marker line
    const std::string text = line.substr(1);
    const char* forbidden = messages ? "@#\xA7" : "$#";
    for (const char* c = forbidden; *c; ++c)
      if (text.find(*c) != std::string::npos) fail("a text holds a marker character");
    if (messages && (line.find('$') != std::string::npos)) fail("a message text holds '$'");
  }
  return ok;
}

}  // namespace

bool ProduceMessageFiles(const std::string& sourceDir, const std::string& outDir) {
  bool ok = true;
  for (const char* name : {"MTG", "MTE", "ITG", "ITE"}) {
    const std::string source = sourceDir + "/" + name + ".txt";
    std::ifstream in(source, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "zor_gamedata: cannot read %s\n", source.c_str());
      ok = false;
      continue;
    }
    std::ostringstream s;
    s << in.rdbuf();
    int unmapped = 0;
    const std::string text = Utf8ToCp1252(s.str(), &unmapped);
    if (unmapped) {
      std::fprintf(stderr, "zor_gamedata: %s: %d characters outside the code page\n", source.c_str(), unmapped);
      ok = false;
    }
    ok &= CheckSource(name, text, name[0] == 'M');
    const std::string out = outDir + "/" + name + ".GLA";
    if (!ZorWriteFile(out.c_str(), text.data(), text.size())) {
      std::fprintf(stderr, "zor_gamedata: cannot write %s\n", out.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace zorgen
