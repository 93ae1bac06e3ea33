// Feeds arbitrary bytes to the settings reader, then checks that what the
// game would write back is a well-formed settings file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "worldbase/zor_env_table.h"

static std::string Slurp(const char* path) {
  std::string s;
  if (FILE* f = std::fopen(path, "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
  }
  return s;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!in) return 0;
  CEnvTable table;
  table.LoadFromStream(in);
  std::fclose(in);
  if (table.WriteToFile("fuzz.ini") != 0) std::abort();
  const std::string written = Slurp("fuzz.ini");
  if (written.rfind("[Allgemein]\n", 0) != 0) std::abort();
  size_t pos = std::strlen("[Allgemein]\n");
  int lines = 0;
  while (pos < written.size()) {
    const size_t end = written.find('\n', pos);
    if (end == std::string::npos) std::abort();
    const std::string line = written.substr(pos, end - pos);
    // Every line must come back whole and as a pair.
    if (line.size() > CEnvTable::kMaxLine) std::abort();
    if (line.find('=') == std::string::npos || line.find('[') != std::string::npos) std::abort();
    ++lines;
    pos = end + 1;
  }
  if (lines != table.GetCount()) std::abort();
  CEnvTable reread;
  if (reread.LoadFromFile("fuzz.ini") != 0) std::abort();
  if (reread.GetCount() > table.GetCount()) std::abort();
  return 0;
}
