#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/qno_log.h"
#include "support/test_support.h"
#include "test_objects.h"

TEST(ObjectModel, KindOfFollowsTheRegisteredBaseChain) {
  TestSubThing sub;
  EXPECT_EQ(sub.IsKindOf("TestSubThing"), 1);
  EXPECT_EQ(sub.IsKindOf("TestThing"), 1);
  EXPECT_EQ(sub.IsKindOf("TestOther"), 0);
  EXPECT_EQ(sub.IsKindOf(static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(sub.IsInstanceOf("TestThing"), 1);
  EXPECT_EQ(sub.IsKindOf(TestThing::m_pClassType), 1);
  EXPECT_EQ(sub.IsKindOf(static_cast<const QnoObjectType*>(nullptr)), 0);
  TestThing base;
  EXPECT_EQ(base.IsKindOf("TestSubThing"), 0);
  EXPECT_STREQ(sub.GetTypeName(), "TestSubThing");
  EXPECT_EQ(TestSubThing::GetQnoVersion().major, 1);
  EXPECT_EQ(TestSubThing::GetQnoVersion().minor, 6);
}

TEST(ObjectModel, UnregisteredClassesReportNullOrTheirAncestor) {
  TestPlain plain;
  EXPECT_EQ(plain.GetTypeName(), nullptr);
  EXPECT_EQ(plain.IsKindOf("TestPlain"), 0);
  EXPECT_EQ(plain.GetHashKey(), 0xFFFFFFFFu);
  TestUnregisteredSub sub;
  EXPECT_STREQ(sub.GetTypeName(), "TestSubThing");
}

TEST(ObjectModel, CreateByNameFindsExactNamesOnly) {
  OpenErrorLog("errors.log");
  std::unique_ptr<QnoObject> made(QnoCreateObject("TestSubThing"));
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->GetTypeName(), "TestSubThing");
  EXPECT_EQ(QnoCreateObject("testsubthing"), nullptr);
  EXPECT_EQ(QnoCreateObject(""), nullptr);
  EXPECT_EQ(QnoCreateObject(nullptr), nullptr);
  EXPECT_EQ(QnoObjectType::GetType("TestOther"), TestOther::m_pClassType);
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("errors.log"),
            "Fehler konnte Type nicht finden\nFehler konnte Type nicht finden\nFehler konnte Type nicht finden\n");
}

TEST(ObjectModel, RecordsUnlinkWhenDestroyed) {
  {
    QnoObjectType temp("TempType", TestThing::m_pClassType, nullptr, {}, "desc");
    EXPECT_EQ(QnoObjectType::GetType("TempType"), &temp);
    EXPECT_EQ(temp.IsKindOf("TestThing"), 1);
    EXPECT_EQ(temp.IsInstanceOf("TempType"), 0);
    EXPECT_EQ(temp.CreateObject(), nullptr);
  }
  EXPECT_EQ(QnoObjectType::GetType("TempType"), nullptr);
  EXPECT_NE(QnoObjectType::GetType("TestThing"), nullptr);
}
