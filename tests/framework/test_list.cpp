#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_seams.h"
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

TEST_F(ListTest, RemovedObjectsLoseTheirLinksAndCanComeBack) {
  CList list;
  list.Create(false, 0);
  TestThing* a = Thing(1);
  TestThing* b = Thing(2);
  TestThing* c = Thing(3);
  for (TestThing* t : {a, b, c}) list.AddTail(t, 0);
  // Null is ignored.
  EXPECT_EQ(list.Remove(nullptr, 0), 0);
  EXPECT_EQ(list.DestroyObject(nullptr, 0), 0);
  EXPECT_EQ(list.GetNumber(), 3u);
  // Head, tail and middle each come out with cleared links...
  for (TestThing* t : {a, c, b}) {
    EXPECT_EQ(list.Remove(t, 0), 0);
    EXPECT_EQ(t->GetNext(), nullptr);
    EXPECT_EQ(t->GetPrev(), nullptr);
  }
  EXPECT_EQ(list.GetNumber(), 0u);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.GetTail(), nullptr);
  // ...so that AddHead takes them again.
  for (TestThing* t : {c, b, a}) list.AddHead(t, 0);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{3, 2, 1}));
  list.Destroy();
  EXPECT_EQ(TestThing::destroyed, 3);
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
  EXPECT_FALSE(list.IsHashed());
  EXPECT_EQ(TestThing::destroyed, 3);
}

TEST_F(ListTest, FullOverflowRefusesInsertButKeepsObjectInList) {
  CHashTable table(4);  // 4 buckets, 2 overflow entries
  TestThing objs[4];
  // Collisions draw nothing: the game's random sequence stays where it was
  // (a window opened must not shift it).
  const uint64_t random = zor_random_state();
  EXPECT_TRUE(table.InsertEntry(1, &objs[0]));
  EXPECT_TRUE(table.InsertEntry(5, &objs[1]));
  EXPECT_TRUE(table.InsertEntry(9, &objs[2]));
  EXPECT_EQ(table.GetCount(), 3);
  EXPECT_FALSE(table.InsertEntry(13, &objs[3]));
  EXPECT_EQ(zor_random_state(), random);
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

namespace {
// Records the order in which a list destroys its objects.
struct OrderedThing : TestThing {
  static std::vector<int> order;
  int Destroy() override {
    order.push_back(value);
    return TestThing::Destroy();
  }
};
std::vector<int> OrderedThing::order;
}  // namespace

TEST_F(ListTest, NullObjectsAreIgnoredAndDestroyGoesFromTheTail) {
  CList list;
  list.Create(false, 0);
  EXPECT_EQ(list.AddHead(nullptr, 0), 0);
  EXPECT_EQ(list.AddTail(nullptr, 0), 0);
  EXPECT_EQ(list.Remove(nullptr, 0), 0);
  EXPECT_EQ(list.DestroyObject(nullptr, 0), 0);
  EXPECT_EQ(list.GetNumber(), 0u);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_FALSE(list.Contains(nullptr));
  for (int v : {1, 2, 3}) {
    auto* t = new OrderedThing;
    t->value = v;
    EXPECT_EQ(list.AddTail(t, 0), 0);
  }
  OrderedThing::order.clear();
  list.Destroy();
  EXPECT_EQ(OrderedThing::order, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(list.GetTail(), nullptr);
  // Emptied, the list takes objects again.
  list.AddHead(Thing(4), 0);
  EXPECT_EQ(Values(list), (std::vector<int>{4}));
  list.Destroy();
}

TEST_F(ListTest, HashedRemovalsAtEveryPositionKeepTheRestWholeAndFound) {
  CList list;
  list.Create(true, 2000);
  TestThing* t[5];
  for (int i = 0; i < 5; ++i) {
    t[i] = Thing(i, static_cast<uint32_t>(100 + i));
    list.AddTail(t[i], static_cast<uint32_t>(100 + i));
  }
  EXPECT_EQ(list.Remove(t[2], 102), 0);  // middle
  EXPECT_EQ(list.Remove(t[0], 100), 0);  // head
  EXPECT_EQ(list.Remove(t[4], 104), 0);  // tail
  EXPECT_EQ(Values(list), (std::vector<int>{1, 3}));
  EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{3, 1}));
  EXPECT_EQ(list.GetHashTable()->GetCount(), 2);
  EXPECT_EQ(list.GetByHashID(101), t[1]);
  EXPECT_EQ(list.GetByHashID(103), t[3]);
  EXPECT_EQ(list.GetByHashID(100), nullptr);
  for (int i : {0, 2, 4}) {
    EXPECT_EQ(t[i]->GetNext(), nullptr);
    EXPECT_EQ(t[i]->GetPrev(), nullptr);
    // Unlinked, an object can go back in, at the head too.
    EXPECT_EQ(list.AddHead(t[i], static_cast<uint32_t>(100 + i)), 0);
  }
  EXPECT_EQ(Values(list), (std::vector<int>{4, 2, 0, 1, 3}));
  EXPECT_EQ(list.GetByHashID(104), t[4]);
  EXPECT_EQ(list.GetNumber(), 5u);
  list.Destroy();
  EXPECT_EQ(TestThing::destroyed, 5);
}

TEST_F(ListTest, StoreAndLoadFailWithoutAWritableFile) {
  CList list;
  list.Create(false, 0);
  EXPECT_EQ(list.SerializeGameStore(nullptr), 1);
  EXPECT_EQ(list.SerializeGameLoad(nullptr), 1);
  // A stream open only for reading takes no bytes; even an empty list
  // writes its count.
  const std::string path = "readonly-list.bin";
  std::FILE* make = std::fopen(path.c_str(), "wb");
  ASSERT_NE(make, nullptr);
  std::fclose(make);
  std::FILE* readOnly = std::fopen(path.c_str(), "rb");
  ASSERT_NE(readOnly, nullptr);
  EXPECT_EQ(list.SerializeGameStore(readOnly), 1);
  list.AddTail(Thing(1), 0);
  EXPECT_EQ(list.SerializeGameStore(readOnly), 1);
  std::fclose(readOnly);
  std::remove(path.c_str());
  list.Destroy();
}

TEST_F(ListTest, OldVersionCountBeyondTheFileIsRefusedBeforeAnyObject) {
  // Version 230: two objects stored, but the count claims 1000.
  std::string bytes;
  const uint32_t count = 1000;
  bytes.append(reinterpret_cast<const char*>(&count), 4);
  for (int v : {3, 4}) {
    bytes.push_back(static_cast<char>(std::strlen("TestThing")));
    bytes.append("TestThing", std::strlen("TestThing") + 1);
    bytes.append(reinterpret_cast<const char*>(&v), 4);
  }
  SavedList saved;
  saved.Replace(bytes);
  g_ZorLoadVersion = 230;
  CList loaded;
  loaded.Create(false, 0);
  EXPECT_EQ(loaded.SerializeGameLoad(saved.f), 1);
  EXPECT_EQ(loaded.GetNumber(), 0u);
  loaded.Destroy();
  EXPECT_EQ(TestThing::destroyed, 0);
}

TEST_F(ListTest, PositionQuestionsAboutStrangersAndEmptyLists) {
  CList list;
  list.Create(false, 0);
  TestThing* a = Thing(1);
  TestThing* b = Thing(2);
  TestThing* c = Thing(3);
  TestThing stranger;
  EXPECT_FALSE(list.IsPredecessor(a, b));
  EXPECT_FALSE(list.IsSuccessor(b, a));
  list.AddTail(a, 0);
  list.AddTail(b, 0);
  list.AddTail(c, 0);
  EXPECT_TRUE(list.IsSuccessor(c, b));  // b before c, neither the head
  EXPECT_FALSE(list.IsSuccessor(b, c));
  EXPECT_TRUE(list.IsPredecessor(b, c));
  EXPECT_FALSE(list.IsPredecessor(nullptr, c));
  EXPECT_FALSE(list.IsPredecessor(a, nullptr));
  EXPECT_FALSE(list.IsSuccessor(c, nullptr));
  EXPECT_FALSE(list.IsPredecessor(a, &stranger));  // b is not in the list
  EXPECT_FALSE(list.IsSuccessor(&stranger, a));    // a is not in the list
  EXPECT_FALSE(list.Contains(&stranger));
  list.Destroy();
}

TEST_F(ListTest, MembersOfAnotherListAreNeitherTakenNorDestroyed) {
  CList list, other;
  list.Create(false, 0);
  other.Create(false, 0);
  TestThing* head = Thing(1);
  TestThing* tail = Thing(2);
  other.AddTail(head, 0);
  other.AddTail(tail, 0);
  // The other list's head has only a next link, its tail only a previous one.
  EXPECT_EQ(list.AddHead(head, 0), 0);
  EXPECT_EQ(list.AddHead(tail, 0), 0);
  EXPECT_EQ(list.GetNumber(), 0u);
  EXPECT_EQ(list.DestroyObject(tail, 0), 1);
  EXPECT_EQ(TestThing::destroyed, 0);
  EXPECT_EQ(Values(other), (std::vector<int>{1, 2}));
  EXPECT_EQ(ValuesBackwards(other), (std::vector<int>{2, 1}));
  EXPECT_EQ(other.DestroyObject(tail, 0), 0);
  EXPECT_EQ(TestThing::destroyed, 1);
  // Created again, a list forgets what it held without touching it.
  EXPECT_EQ(other.Create(true, 16), 0);
  EXPECT_EQ(other.GetNumber(), 0u);
  EXPECT_EQ(other.GetHead(), nullptr);
  EXPECT_EQ(TestThing::destroyed, 1);
  EXPECT_TRUE(other.IsHashed());
  EXPECT_EQ(other.Destroy(), 0);
  EXPECT_FALSE(other.IsHashed());
  head->Destroy();
  delete head;
  list.Destroy();
}

TEST_F(ListTest, RecordEdges) {
  SavedList saved;
  {
    CList empty;
    empty.Create(true, 16);
    ASSERT_EQ(empty.SerializeGameStore(saved.f), 0);
    empty.Destroy();
  }
  EXPECT_EQ(saved.Bytes().size(), 5u);
  std::rewind(saved.f);
  CList list;
  list.Create(false, 0);
  // The stored flag replaces the list's own; an empty record loads fine.
  EXPECT_EQ(list.SerializeGameLoad(saved.f), 0);
  EXPECT_EQ(list.GetNumber(), 0u);
  EXPECT_TRUE(list.IsHashed());

  // Version 231 already has the flag and the keys.
  CList source;
  source.Create(true, 16);
  source.AddTail(Thing(1, 7), 7);
  source.AddTail(Thing(2, 8), 8);
  saved.Replace("");
  ASSERT_EQ(source.SerializeGameStore(saved.f), 0);
  source.Destroy();
  std::rewind(saved.f);
  g_ZorLoadVersion = 231;
  ASSERT_EQ(list.SerializeGameLoad(saved.f), 0);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));
  // Flagged but without a table: removals have no index to update.
  EXPECT_EQ(list.GetByHashID(7), nullptr);
  TestThing* first = static_cast<TestThing*>(list.GetHead());
  EXPECT_EQ(list.DestroyObject(first, 7), 0);
  EXPECT_EQ(Values(list), (std::vector<int>{2}));

  // A list that holds objects loads nothing more.
  std::rewind(saved.f);
  EXPECT_EQ(list.SerializeGameLoad(saved.f), 1);
  EXPECT_EQ(list.GetNumber(), 1u);
  list.Destroy();

  // An unflagged record leaves a table it is read into empty.
  CList plain, indexed;
  plain.Create(false, 0);
  plain.AddTail(Thing(3, 9), 9);
  saved.Replace("");
  ASSERT_EQ(plain.SerializeGameStore(saved.f), 0);
  plain.Destroy();
  std::rewind(saved.f);
  indexed.Create(true, 16);
  ASSERT_EQ(indexed.SerializeGameLoad(saved.f), 0);
  EXPECT_FALSE(indexed.IsHashed());
  EXPECT_EQ(indexed.GetByHashID(9), nullptr);
  EXPECT_EQ(indexed.GetHashTable()->GetCount(), 0);
  indexed.Destroy();
}

TEST_F(ListTest, StoreFailsWhereverTheFileFillsUp) {
  CList list;
  list.Create(true, 16);
  list.AddTail(Thing(1, 3), 3);
  list.AddTail(Thing(2, 4), 4);
  SavedList saved;
  ASSERT_EQ(list.SerializeGameStore(saved.f), 0);
  const size_t size = saved.Bytes().size();
  std::vector<char> room(size);
  for (size_t cut = 0; cut < size; ++cut) {
    std::FILE* f = fmemopen(room.data(), cut, "wb");
    ASSERT_NE(f, nullptr);
    std::setvbuf(f, nullptr, _IONBF, 0);  // every write meets the limit at once
    EXPECT_EQ(list.SerializeGameStore(f), 1) << "room for " << cut << " bytes";
    std::fclose(f);
  }
  list.Destroy();
}

TEST_F(ListTest, MembershipFollowsTheObjectFromListToList) {
  CList list, other;
  list.Create(false, 0);
  other.Create(true, 16);
  TestThing* alone = Thing(1, 7);
  TestThing* second = Thing(2);
  // A lone member has no links, yet it belongs to its list only.
  list.AddTail(alone, 7);
  EXPECT_EQ(other.AddTail(alone, 7), 0);
  EXPECT_EQ(other.AddHead(alone, 7), 0);
  EXPECT_EQ(other.GetNumber(), 0u);
  EXPECT_EQ(other.GetByHashID(7), nullptr);
  EXPECT_FALSE(other.Contains(alone));
  EXPECT_EQ(other.Remove(alone, 7), 1);
  EXPECT_EQ(list.GetNumber(), 1u);
  // Added twice to the same list it stays once.
  list.AddTail(alone, 7);
  EXPECT_EQ(Values(list), (std::vector<int>{1}));
  // Moved over, it is the other list's member and no longer this one's.
  EXPECT_EQ(list.Remove(alone, 7), 0);
  other.AddTail(alone, 7);
  other.AddHead(second, 0);
  EXPECT_FALSE(list.Contains(alone));
  EXPECT_TRUE(other.Contains(alone));
  EXPECT_EQ(other.GetByHashID(7), alone);
  EXPECT_EQ(list.Remove(alone, 7), 1);
  // Turned around, the members stay members.
  other.TurnMembers();
  EXPECT_EQ(Values(other), (std::vector<int>{1, 2}));
  EXPECT_TRUE(other.Contains(second));
  // A copy of a member is in no list.
  TestThing copy(*alone);
  EXPECT_FALSE(other.Contains(&copy));
  EXPECT_EQ(copy.GetNext(), nullptr);
  EXPECT_EQ(copy.GetPrev(), nullptr);
  // Created again, the list lets go of its objects: none counts as its
  // member, and each may join a list again.
  other.Create(false, 0);
  EXPECT_FALSE(other.Contains(alone));
  EXPECT_EQ(other.Remove(alone, 7), 1);
  EXPECT_EQ(other.GetNumber(), 0u);
  alone->SetNext(nullptr);
  second->SetPrev(nullptr);
  list.AddTail(second, 0);
  list.AddTail(alone, 0);
  EXPECT_EQ(Values(list), (std::vector<int>{2, 1}));
  EXPECT_EQ(TestThing::destroyed, 0);
  list.Destroy();
  EXPECT_EQ(TestThing::destroyed, 2);
  EXPECT_EQ(list.GetNumber(), 0u);
}
