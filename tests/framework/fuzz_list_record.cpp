// Loads arbitrary bytes as a savegame list record; the list must always be
// left whole enough to destroy, without leaks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"

namespace {

class FuzzItem : public CZorvaObject {
  ZOR_DECLARE_TYPE(FuzzItem)
 public:
  uint32_t value = 0;
  int SerializeGameLoad(FILE* f) override {
    ZorRecordReader in(f);
    value = in.U32();
    return in.Ok() ? 0 : 1;
  }
  uint32_t GetHashKey() const override { return value; }
};

class FuzzOther : public CZorvaObject {
  ZOR_DECLARE_TYPE(FuzzOther)
};

}  // namespace

ZOR_IMPLEMENT_TYPE(FuzzItem, QnoObject)
ZOR_IMPLEMENT_TYPE(FuzzOther, QnoObject)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte picks the savegame version and whether the list is hashed.
  g_ZorLoadVersion = (data[0] & 1) ? 240 : 230;
  const bool hashed = (data[0] & 2) != 0;
  const bool typed = (data[0] & 4) != 0;
  FILE* in = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb");
  if (!in) return 0;
  CList list;
  list.Create(hashed, 16);
  if (typed) list.SetElementType(FuzzItem::m_pClassType);
  list.SerializeGameLoad(in);
  std::fclose(in);
  uint32_t forward = 0, backward = 0;
  for (CZorvaObject* o = list.GetHead(); o; o = o->GetNext()) ++forward;
  for (CZorvaObject* o = list.GetTail(); o; o = o->GetPrev()) ++backward;
  if (forward != list.GetNumber() || backward != list.GetNumber()) std::abort();
  list.Destroy();
  return 0;
}
