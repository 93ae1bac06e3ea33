#pragma once
// Registered classes used by the object-model and list tests.
#include <cstdio>
#include <cstdint>

#include "framework/qno_object.h"

class TestThing : public CZorvaObject {
  ZOR_DECLARE_TYPE(TestThing)
 public:
  int value = 0;
  uint32_t key = 0xFFFFFFFFu;
  bool failLoad = false;
  static int destroyed;

  int Create(CZorvaObject& source) override;
  int Destroy() override {
    ++destroyed;
    return 0;
  }
  int SerializeGameStore(FILE* f) override;
  int SerializeGameLoad(FILE* f) override;
  uint32_t GetHashKey() const override { return key; }
};

class TestSubThing : public TestThing {
  ZOR_DECLARE_TYPE(TestSubThing)
};

// Derived but not registered: reports its registered ancestor.
class TestUnregisteredSub : public TestSubThing {};

class TestOther : public CZorvaObject {
  ZOR_DECLARE_TYPE(TestOther)
};

// Not registered at all.
class TestPlain : public CZorvaObject {};
