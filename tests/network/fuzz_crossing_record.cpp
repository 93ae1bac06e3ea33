// Reads arbitrary bytes as a crossing object's savegame record. A refused
// record changes nothing; a loaded one holds a cycle, quote, direction and
// arm count the crossing window offers, writes a record that reads back to
// the same settings, and gives a light group whose phases are never
// negative. The bytes after the record drive that group: streets come and
// go, the settings change and the clock runs, while every light's cells
// stay either both locked or both free.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "microsim/micro_cells.h"
#include "network/crossing_objects.h"
#include "network/str_ampel.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

FILE* Open(const uint8_t* data, size_t size) {
  FILE* f = std::tmpfile();
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::rewind(f);
  return f;
}

void CheckSettings(const CKreuzObj& o) {
  Check(o.GetCycleTime() >= CKreuzObj::kMinCycle && o.GetCycleTime() <= CKreuzObj::kMaxCycle);
  Check(o.GetAmpelQuote() >= CKreuzObj::kMinQuote && o.GetAmpelQuote() <= CKreuzObj::kMaxQuote);
  Check(o.GetArmCount() >= 0 && o.GetArmCount() <= CKreuzObj::kArms);
  Check(o.GetPriorityCode() >= 0 && o.GetPriorityCode() <= 2);
  Check(o.GetAmpelType() >= 0 && o.GetAmpelType() <= 9);
}

CStrStrasse* Street(int n) { return reinterpret_cast<CStrStrasse*>(static_cast<uintptr_t>(0x100 * (n + 1))); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OpenErrorLog("/dev/null");
  CKreuzObj o;
  o.Create();
  FILE* f = Open(data, size);
  const int r = o.SerializeGameLoad(f);
  std::fclose(f);
  if (r != 0) {
    // Nothing of a refused record is taken.
    Check(o.GetAmpelType() == 0 && o.GetCycleTime() == 60 && o.GetAmpelQuote() == 0.5f);
    return 0;
  }
  CheckSettings(o);
  // The record written reads back to the same settings.
  FILE* out = std::tmpfile();
  if (!out) std::abort();
  Check(o.SerializeGameStore(out) == 0);
  Check(std::ftell(out) == CKreuzObj::kRecordSize);
  std::rewind(out);
  CKreuzObj again;
  again.Create();
  Check(again.SerializeGameLoad(out) == 0);
  std::fclose(out);
  Check(again.GetAmpelType() == o.GetAmpelType() && again.GetCycleTime() == o.GetCycleTime() &&
        again.GetAmpelQuote() == o.GetAmpelQuote() && again.GetPriorityCode() == o.GetPriorityCode() &&
        again.GetArmCount() == o.GetArmCount());

  ZorManualClock clock(1);
  ZorSetClock(&clock);
  BinaryMicroSimObject cells[8][2];
  {
    CAmpelGroup group(nullptr);
    group.Create(o.GetCycleTime(), o.GetAmpelQuote());
    bool added[8] = {};
    for (size_t i = CKreuzObj::kRecordSize; i + 1 < size; i += 2) {
      const int n = data[i + 1] & 7;
      switch (data[i] & 3) {
        case 0:
          if (!added[n]) {
            auto* light = new CAmpel;
            light->Create();
            light->LinkZelle(&cells[n][0], &cells[n][1]);
            if (group.Add(light, Street(n)) == 0) added[n] = group.HasStreet(Street(n));
          }
          break;
        case 1:
          if (group.RemoveFromStreet(Street(n)) == 0) added[n] = false;
          break;
        case 2:
          group.ChangeAmpelData(o.GetCycleTime(), o.GetAmpelQuote());
          break;
        default:
          clock.Advance(static_cast<uint32_t>(data[i + 1]) * 50u);
          group.OnPlayloopTurn();
          break;
      }
      for (int s = 0; s < CAmpelGroup::kSlots; ++s) {
        const CAmpel* l = group.GetAmpel(s);
        if (!l) continue;
        Check(l->GetRot() >= 0 && l->GetGruen() >= 0 && l->GetGelb() >= 0);
        Check(l->GetZelle(0)->m_Locked == l->GetZelle(1)->m_Locked);
      }
    }
  }
  // The group released every cell it held when it went.
  for (auto& pair : cells) Check(pair[0].m_Locked == 0 && pair[1].m_Locked == 0);
  ZorSetClock(nullptr);
  return 0;
}
