// Loads arbitrary bytes as the finances' savegame record: a record is taken
// whole or refused, and whatever is taken holds only numbers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/zor_list.h"
#include "model/finanzen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte picks the savegame version: float rows, float rows
  // without credits, or the current rows.
  static const int kVersions[] = {160, 200, 240};
  g_ZorLoadVersion = kVersions[data[0] % 3];
  FILE* in = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb");
  if (!in) return 0;
  CFinanzen fin;
  if (fin.SerializeGameLoad(in) == 0) {
    for (int i = 0; i < CFinanzen::kRows; ++i)
      if (!std::isfinite(fin.GetVar(i)->value)) std::abort();
    if (fin.GetVarValue("F.KONTO") == -1.0 && fin.GetVar("F.KONTO") == nullptr) std::abort();
  }
  std::fclose(in);
  return 0;
}
