#include "test_objects.h"

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

int TestThing::SerializeGameLoad(FILE* f) {
  if (failLoad) return 1;
  return std::fread(&value, 4, 1, f) == 1 ? 0 : 1;
}
