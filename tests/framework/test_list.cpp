#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "support/test_support.h"
#include "test_objects.h"

namespace {

TestThing* Thing(int value, uint32_t key = 0xFFFFFFFFu) {
  auto* t = new TestThing;
  t->value = value;
  t->key = key;
  return t;
}

std::vector<int> Values(CList& list) {
  std::vector<int> v;
  for (CZorvaObject* o = list.GetHead(); o; o = o->GetNext()) v.push_back(static_cast<TestThing*>(o)->value);
  return v;
}

std::vector<int> ValuesBackwards(CList& list) {
  std::vector<int> v;
  for (CZorvaObject* o = list.GetTail(); o; o = o->GetPrev()) v.push_back(static_cast<TestThing*>(o)->value);
  return v;
}

struct ListTest : testing::Test {
  void SetUp() override {
    OpenErrorLog("errors.log");
    TestThing::destroyed = 0;
    g_ZorLoadVersion = 240;
  }
  void TearDown() override { g_ZorLoadVersion = 0; }
};

}  // namespace

TEST_F(ListTest, AddGetAtAndPositions) {
  CList list;
  list.Create(false, 0);
  TestThing* a = Thing(1);
  TestThing* b = Thing(2);
  TestThing* c = Thing(3);
  list.AddTail(b, 0);
  list.AddHead(a, 0);
  list.AddTail(c, 0);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(list.GetNumber(), 3u);
  EXPECT_EQ(list.GetAt(0), nullptr);
  EXPECT_EQ(list.GetAt(1), a);
  EXPECT_EQ(list.GetAt(3), c);
  EXPECT_EQ(list.GetAt(4), nullptr);

  // AddHead of a linked object does nothing.
  list.AddHead(b, 0);
  EXPECT_EQ(list.GetNumber(), 3u);

  EXPECT_TRUE(list.IsPredecessor(a, c));
  EXPECT_FALSE(list.IsPredecessor(c, a));
  EXPECT_FALSE(list.IsPredecessor(b, b));
  EXPECT_TRUE(list.IsSuccessor(c, a));
  EXPECT_TRUE(list.IsSuccessor(a, a));
  EXPECT_FALSE(list.IsSuccessor(b, b));
  EXPECT_FALSE(list.IsSuccessor(nullptr, a));

  list.TurnMembers();
  EXPECT_EQ(Values(list), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{1, 2, 3}));
  list.Destroy();
  EXPECT_EQ(TestThing::destroyed, 3);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.GetNumber(), 0u);
}

TEST_F(ListTest, TurnMembersOfOneObjectKeepsIt) {
  CList list;
  list.Create(false, 0);
  TestThing* a = Thing(7);
  list.AddTail(a, 0);
  list.TurnMembers();
  EXPECT_EQ(list.GetHead(), a);
  EXPECT_EQ(list.GetTail(), a);
  EXPECT_EQ(a->GetNext(), nullptr);
  EXPECT_EQ(a->GetPrev(), nullptr);
  list.Destroy();
}

TEST_F(ListTest, RemoveRefusesObjectsThatAreNotMembers) {
  CList list, other;
  list.Create(false, 0);
  other.Create(false, 0);
  TestThing* a = Thing(1);
  TestThing* b = Thing(2);
  TestThing* c = Thing(3);
  list.AddTail(a, 0);
  list.AddTail(b, 0);
  other.AddTail(c, 0);
  EXPECT_EQ(list.Remove(b, 0), 0);
  // b is out now: a second removal must not cut the list or miscount it.
  EXPECT_EQ(list.Remove(b, 0), 1);
  EXPECT_EQ(list.Remove(c, 0), 1);
  EXPECT_EQ(Values(list), (std::vector<int>{1}));
  EXPECT_EQ(list.GetNumber(), 1u);
  EXPECT_EQ(other.GetNumber(), 1u);
  list.Destroy();
  other.Destroy();
  b->Destroy();
  delete b;
}

TEST_F(ListTest, HashedListFindsByKeyAndForgetsRemovedKeys) {
  CList list;
  list.Create(true, 2000);
  TestThing* a = Thing(1, 5);
  TestThing* b = Thing(2, 2005);  // same bucket as 5
  TestThing* c = Thing(3, 0x80000001u);  // above 2^31: must not index negatively
  list.AddTail(a, 5);
  list.AddTail(b, 2005);
  list.AddTail(c, 0x80000001u);
  EXPECT_EQ(list.GetByHashID(5), a);
  EXPECT_EQ(list.GetByHashID(2005), b);
  EXPECT_EQ(list.GetByHashID(0x80000001u), c);
  EXPECT_EQ(list.GetByHashID(6), nullptr);
  // Removing the head of a chain moves its successor into the bucket.
  list.DestroyObject(a, 5);
  EXPECT_EQ(list.GetByHashID(5), nullptr);
  EXPECT_EQ(list.GetByHashID(2005), b);
  EXPECT_EQ(list.GetHashTable()->GetCount(), 2);
  list.Destroy();
  EXPECT_EQ(list.GetHashTable(), nullptr);
  EXPECT_EQ(TestThing::destroyed, 3);
}

TEST_F(ListTest, FullOverflowRefusesInsertButKeepsObjectInList) {
  CHashTable table(4);  // 4 buckets, 2 overflow entries
  TestThing objs[4];
  EXPECT_TRUE(table.InsertEntry(1, &objs[0]));
  EXPECT_TRUE(table.InsertEntry(5, &objs[1]));
  EXPECT_TRUE(table.InsertEntry(9, &objs[2]));
  EXPECT_EQ(table.GetCount(), 3);
  EXPECT_FALSE(table.InsertEntry(13, &objs[3]));
  EXPECT_EQ(table.GetCount(), 3);
  EXPECT_FALSE(table.InsertEntry(2, nullptr));
  EXPECT_EQ(table.GetEntry(9), &objs[2]);
  // Removing from the middle of a chain keeps the rest reachable.
  EXPECT_EQ(table.RemoveEntry(5), &objs[1]);
  EXPECT_EQ(table.GetEntry(9), &objs[2]);
  EXPECT_EQ(table.GetEntry(1), &objs[0]);
  EXPECT_EQ(table.RemoveEntry(5), nullptr);

  CList list;
  list.Create(true, 4);
  for (uint32_t k : {1u, 5u, 9u, 13u}) list.AddTail(Thing(static_cast<int>(k), k), k);
  EXPECT_EQ(list.GetNumber(), 4u);
  EXPECT_EQ(list.GetByHashID(13), nullptr);
  list.Destroy();
}

TEST_F(ListTest, CopyClonesByTypeName) {
  CList list;
  list.Create(false, 0);
  list.AddTail(Thing(4, 40), 0);
  auto* sub = new TestSubThing;
  sub->value = 5;
  list.AddTail(sub, 0);
  CList copy(list);
  EXPECT_EQ(Values(copy), (std::vector<int>{4, 5}));
  EXPECT_STREQ(copy.GetTail()->GetTypeName(), "TestSubThing");
  EXPECT_NE(copy.GetHead(), list.GetHead());
  copy.Destroy();
  list.Destroy();
}

namespace {

struct SavedList {
  FILE* f = std::tmpfile();
  ~SavedList() { std::fclose(f); }
  std::string Bytes() {
    std::fflush(f);
    const long end = std::ftell(f);
    std::string s(static_cast<size_t>(end), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(s.data(), 1, s.size(), f), s.size());
    return s;
  }
  void Replace(const std::string& bytes) {
    std::fclose(f);
    f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
  }
};

}  // namespace

TEST_F(ListTest, RecordRoundTripKeepsOrderFlagAndKeys) {
  CList list;
  list.Create(true, 2000);
  list.AddTail(Thing(10, 7), 7);
  list.AddTail(Thing(20, 2007), 2007);
  list.AddTail(Thing(30), 0);
  SavedList saved;
  ASSERT_EQ(list.SerializeGameStore(saved.f), 0);
  const std::string bytes = saved.Bytes();
  // count, flag, then per object: length, name and NUL, key, data.
  const size_t perObject = 1 + std::strlen("TestThing") + 1 + 4 + 4;
  EXPECT_EQ(bytes.size(), 5 + 3 * perObject);
  EXPECT_EQ(bytes[4], 1);
  std::rewind(saved.f);

  CList loaded;
  loaded.Create(true, 2000);
  ASSERT_EQ(loaded.SerializeGameLoad(saved.f), 0);
  EXPECT_EQ(Values(loaded), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(ValuesBackwards(loaded), (std::vector<int>{30, 20, 10}));
  EXPECT_EQ(loaded.GetNumber(), 3u);
  EXPECT_TRUE(loaded.IsHashed());
  EXPECT_EQ(static_cast<TestThing*>(loaded.GetByHashID(2007))->value, 20);
  EXPECT_EQ(static_cast<TestThing*>(loaded.GetByHashID(7))->value, 10);
  loaded.Destroy();
  list.Destroy();
}

// The record byte for byte: count, flag, then per object the name length,
// the name with its NUL, the key and the object's own data.
const zortest::ByteList kTwoThings = {
    0x02, 0x00, 0x00, 0x00,                                                   // count
    0x01,                                                                     // hashed
    0x09, 'T',  'e',  's',  't',  'T',  'h',  'i',  'n',  'g',  0x00,         // name
    0x0D, 0x0C, 0x0B, 0x0A,                                                   // key
    0x04, 0x03, 0x02, 0x01,                                                   // value
    0x0C, 'T',  'e',  's',  't',  'S',  'u',  'b',  'T',  'h',  'i',  'n',  'g', 0x00,
    0xFF, 0xFF, 0xFF, 0xFF,                                                   // no key
    0xFE, 0xFF, 0xFF, 0xFF,                                                   // value -2
};

TEST_F(ListTest, RecordBytesAreLaidOutFieldByField) {
  CList list;
  list.Create(true, 64);
  list.AddTail(Thing(0x01020304, 0x0A0B0C0D), 0x0A0B0C0D);
  auto* sub = new TestSubThing;
  sub->value = -2;
  list.AddTail(sub, 0);
  zortest::RecordFile file;
  ASSERT_EQ(list.SerializeGameStore(file.f()), 0);
  EXPECT_EQ(file.Bytes(), kTwoThings);
  list.Destroy();

  file.Fill(kTwoThings);
  CList loaded;
  loaded.Create(false, 64);
  ASSERT_EQ(loaded.SerializeGameLoad(file.f()), 0);
  EXPECT_TRUE(loaded.IsHashed());  // the flag comes from the record
  EXPECT_EQ(Values(loaded), (std::vector<int>{0x01020304, -2}));
  EXPECT_STREQ(loaded.GetTail()->GetTypeName(), "TestSubThing");
  EXPECT_EQ(std::ftell(file.f()), static_cast<long>(kTwoThings.size()));
  loaded.Destroy();

  // Every cut fails, and what was made is owned by the list.
  for (size_t cut = 0; cut < kTwoThings.size(); ++cut) {
    file.Fill(zortest::ByteList(kTwoThings.begin(), kTwoThings.begin() + static_cast<long>(cut)));
    TestThing::destroyed = 0;
    CList l;
    l.Create(true, 64);
    EXPECT_EQ(l.SerializeGameLoad(file.f()), 1) << "cut at " << cut;
    EXPECT_LE(std::ftell(file.f()), static_cast<long>(cut));
    const uint32_t made = l.GetNumber();
    // An object is made once its name and key are read.
    EXPECT_EQ(made, cut < 20 ? 0u : cut < 42 ? 1u : 2u) << "cut at " << cut;
    l.Destroy();
    EXPECT_EQ(TestThing::destroyed, static_cast<int>(made));
  }
}

TEST_F(ListTest, StoreFailsWhenTheFileRefusesBytes) {
  CList list;
  list.Create(false, 0);
  list.AddTail(Thing(1), 0);
  zortest::WriteFile("ro.bin", "");
  FILE* f = std::fopen("ro.bin", "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(list.SerializeGameStore(f), 1);
  EXPECT_EQ(list.SerializeGameStore(nullptr), 1);
  std::fclose(f);
  list.Destroy();
}

TEST_F(ListTest, OldVersionRecordsHaveNeitherFlagNorKeys) {
  // Version 230: count, then length, name, data for each object.
  const zortest::ByteList bytes = {
      0x02, 0x00, 0x00, 0x00,                                            // count
      0x09, 'T', 'e', 's', 't', 'T', 'h', 'i', 'n', 'g', 0x00, 0x03, 0x00, 0x00, 0x00,  // value 3
      0x09, 'T', 'e', 's', 't', 'T', 'h', 'i', 'n', 'g', 0x00, 0x04, 0x00, 0x00, 0x00,  // value 4
  };
  zortest::RecordFile saved(bytes);
  g_ZorLoadVersion = 230;
  CList loaded;
  loaded.Create(false, 0);
  ASSERT_EQ(loaded.SerializeGameLoad(saved.f()), 0);
  EXPECT_EQ(std::ftell(saved.f()), static_cast<long>(bytes.size()));
  EXPECT_EQ(Values(loaded), (std::vector<int>{3, 4}));
  EXPECT_FALSE(loaded.IsHashed());
  loaded.Destroy();
}

TEST_F(ListTest, BadRecordsFailCleanly) {
  CList list;
  list.Create(false, 0);
  list.AddTail(Thing(1), 0);
  list.AddTail(Thing(2), 0);
  list.AddTail(Thing(3), 0);
  SavedList saved;
  ASSERT_EQ(list.SerializeGameStore(saved.f), 0);
  const std::string good = saved.Bytes();
  list.Destroy();

  auto load = [&](const std::string& bytes, uint32_t* number) {
    saved.Replace(bytes);
    CList l;
    l.Create(false, 0);
    const int r = l.SerializeGameLoad(saved.f);
    *number = l.GetNumber();
    // The list must be whole enough to destroy: walk both ways agree.
    EXPECT_EQ(Values(l).size(), l.GetNumber());
    EXPECT_EQ(ValuesBackwards(l).size(), l.GetNumber());
    l.Destroy();
    return r;
  };
  uint32_t n = 0;
  EXPECT_EQ(load(good, &n), 0);
  EXPECT_EQ(n, 3u);

  // Truncated at every byte: always a failure, never a crash or leak.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    TestThing::destroyed = 0;
    EXPECT_EQ(load(good.substr(0, cut), &n), 1) << "cut at " << cut;
    EXPECT_EQ(TestThing::destroyed, static_cast<int>(n));
  }

  // A count far beyond what the file holds.
  std::string huge = good;
  const uint32_t big = 0x7FFFFFFF;
  std::memcpy(huge.data(), &big, 4);
  EXPECT_EQ(load(huge, &n), 1);
  EXPECT_EQ(n, 0u);

  // An unknown type name.
  std::string unknown = good;
  unknown[6] = 'X';
  EXPECT_EQ(load(unknown, &n), 1);
  EXPECT_EQ(n, 0u);

  CloseErrorLog();
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_NE(log.find("Fehler konnte Type nicht finden"), std::string::npos);
  EXPECT_NE(log.find("more than the file can"), std::string::npos);
}

TEST_F(ListTest, LoadRefusesTypesThatDoNotBelong) {
  CList list;
  list.Create(false, 0);
  list.AddTail(new TestOther, 0);
  SavedList saved;
  ASSERT_EQ(list.SerializeGameStore(saved.f), 0);
  list.Destroy();
  std::rewind(saved.f);
  CList things;
  things.Create(false, 0);
  things.SetElementType(TestThing::m_pClassType);
  EXPECT_EQ(things.SerializeGameLoad(saved.f), 1);
  EXPECT_EQ(things.GetNumber(), 0u);
  things.Destroy();
}

TEST_F(ListTest, ObjectThatFailsToLoadStaysOwnedByTheList) {
  CList list;
  list.Create(false, 0);
  list.AddTail(Thing(1), 0);
  list.AddTail(Thing(2), 0);
  SavedList saved;
  ASSERT_EQ(list.SerializeGameStore(saved.f), 0);
  list.Destroy();
  // Cut inside the second object's data.
  const std::string bytes = saved.Bytes();
  saved.Replace(bytes.substr(0, bytes.size() - 2));
  TestThing::destroyed = 0;
  CList loaded;
  loaded.Create(false, 0);
  EXPECT_EQ(loaded.SerializeGameLoad(saved.f), 1);
  EXPECT_EQ(loaded.GetNumber(), 2u);
  EXPECT_EQ(loaded.GetTail(), loaded.GetAt(2));
  loaded.Destroy();
  EXPECT_EQ(TestThing::destroyed, 2);
}

TEST_F(ListTest, StoreFailsForUnregisteredObjects) {
  CList list;
  list.Create(false, 0);
  list.AddTail(new TestPlain, 0);
  SavedList saved;
  EXPECT_EQ(list.SerializeGameStore(saved.f), 1);
  list.Destroy();
}
