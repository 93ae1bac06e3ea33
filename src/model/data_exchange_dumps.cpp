// The debug dumps of the period cycle while the city is held static.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cybernet/cyber_net.h"
#include "framework/zor_record.h"
#include "model/data_exchange.h"
#include "sim/sim_city_model.h"

bool CDataExchange::WriteDumps() {
  char name[32];
  std::snprintf(name, sizeof name, "Matrix.%3d", m_DumpCounter);
  bool ok = true;
  if (m_pCyberNet) {
    char* bytes = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&bytes, &size);
    if (memory) {
      m_pCyberNet->ShortWrite(memory);
      ok = std::fclose(memory) == 0 && ZorWriteFile(name, bytes, size);
    } else {
      ok = false;
    }
    std::free(bytes);
  }
  if (CSimCityModell* city = City()) ok = city->WriteRawData(m_DumpCounter) && ok;
  ++m_DumpCounter;
  return ok;
}
