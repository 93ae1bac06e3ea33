#include "test_objects.h"

#include "framework/zor_record.h"

ZOR_IMPLEMENT_TYPE(TestThing, QnoObject)
ZOR_IMPLEMENT_TYPE(TestSubThing, TestThing)
ZOR_IMPLEMENT_TYPE(TestOther, QnoObject)

int TestThing::destroyed = 0;

int TestThing::Create(CZorvaObject& source) {
  if (auto* t = dynamic_cast<TestThing*>(&source)) {
    value = t->value;
    key = t->key;
  }
  return 0;
}

int TestThing::SerializeGameStore(FILE* f) {
  ZorRecordWriter out(f);
  out.I32(value);
  return out.Ok() ? 0 : 1;
}

int TestThing::SerializeGameLoad(FILE* f) {
  if (failLoad) return 1;
  ZorRecordReader in(f);
  value = in.I32();
  return in.Ok() ? 0 : 1;
}
