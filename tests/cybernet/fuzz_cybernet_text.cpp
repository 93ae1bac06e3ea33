// Feeds arbitrary bytes to the network's text reader, then steps, writes
// and re-reads what was read: nothing may crash, overrun or hang, and a
// written network must read back to the same text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cybernet/cyber_net.h"

namespace {
std::string WriteOut(const CCyberNet& net) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buffer, &size);
  net.Write(f);
  std::fclose(f);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

void ReadText(CCyberNet& net, const void* data, size_t size) {
  if (size == 0) return;
  FILE* f = fmemopen(const_cast<void*>(data), size, "r");
  if (!f) return;
  net.Read(f);
  std::fclose(f);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CCyberNet net;
  net.InsertStandardTemplates();
  ReadText(net, data, size);
  for (int period = 0; period < 3; ++period) {
    for (int round = 0; round < 100; ++round) {
      const double s = net.UpdateInput();
      net.CalculateValues();
      if (s < 0.0001) break;
    }
    net.NextTimeStep();
  }
  net.CheckLimits();
  const std::string first = WriteOut(net);
  CCyberNet again;
  again.InsertStandardTemplates();
  ReadText(again, first.data(), first.size());
  if (WriteOut(again) != first) std::abort();
  return 0;
}
