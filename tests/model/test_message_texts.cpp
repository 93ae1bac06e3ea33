// The message and help text files: damaged files load what is sound; the
// generated files hold a text for every message the game raises, in both
// languages; raising a message allocates nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "framework/qno_log.h"
#include "model/message.h"
#include "model/message_format.h"
#include "support/test_support.h"

using namespace std::string_literals;

namespace {

std::atomic<long> g_allocations{0};

struct DirHost : CMessageHost {
  std::string dir = ".";
  int mode = 1;
  const char* GetTextDirectory() override { return dir.c_str(); }
  int GetGameModus() override { return mode; }
};

// Loads the four files written from the given texts; returns the log.
std::string LoadWithLog(std::unique_ptr<CMessage>& msg, DirHost& host, const std::string& mtg,
                        const std::string& itg = "") {
  zortest::WriteFile("MTG.GLA", mtg);
  zortest::WriteFile("ITG.GLA", itg);
  OpenErrorLog("errors.log");
  msg.reset();
  msg = std::make_unique<CMessage>(&host, 0);
  CloseErrorLog();
  return zortest::ReadFile("errors.log");
}

const char* Short(int g, int e) { return Global_Messages[g][e].shortText; }
const char* Long(int g, int e) { return Global_Messages[g][e].longText; }

TEST(MessageTexts, DamagedMessageFilesLoadWhatIsSound) {
  DirHost host;
  std::unique_ptr<CMessage> msg;
  // Cut inside the second message: the first stays, the second is left out.
  std::string log = LoadWithLog(msg, host, "@@startgroup\n@\n*first\n#\n*first long\n#\n@\n*second\n#\n*sec");
  EXPECT_STREQ(Short(0, 0), "first");
  EXPECT_FALSE(CMessage::CheckForGlobalMessage(0, 1));
  EXPECT_NE(log.find("ends inside message 0/1"), std::string::npos) << log;
  // No markers at all: nothing, and a log line.
  log = LoadWithLog(msg, host, "just some words\nand more\n");
  EXPECT_FALSE(CMessage::CheckForGlobalMessage(0, 0));
  EXPECT_NE(log.find("no message found"), std::string::npos) << log;
  // An over-long text line: its markers past the reader's line are text,
  // and the section keeps 999 characters at most.
  const std::string longLine = "*"s + std::string(600, 'a') + "#@@newgroup@"s + std::string(600, 'b');
  log = LoadWithLog(msg, host, "@@startgroup\n@\n"s + longLine + "\n#\n*l\n#\n@\n*next\n#\n*next long\n#\n"s);
  ASSERT_TRUE(CMessage::CheckForGlobalMessage(0, 0));
  EXPECT_EQ(std::strlen(Short(0, 0)), 999u);
  EXPECT_STREQ(Short(0, 1), "next");
  EXPECT_NE(log.find("is split"), std::string::npos) << log;
  EXPECT_NE(log.find("is cut"), std::string::npos) << log;
  // An over-long line that is not text: its rest is dropped, not read.
  LoadWithLog(msg, host, "@@startgroup\n@\n*s\n#"s + std::string(600, ' ') + "@\n*l\n#\n"s);
  EXPECT_STREQ(Long(0, 0), "l");
  EXPECT_FALSE(CMessage::CheckForGlobalMessage(0, 1));
  // A NUL byte inside a line does not end it; a line of exactly 499
  // characters is whole.
  LoadWithLog(msg, host,
              "@@startgroup\n@\n*a\0b\n#\n*"s + std::string(498, 'c') + "\n#\n@\n*n\n#\n*m\n#\n"s);
  EXPECT_STREQ(Short(0, 0), "a b");
  EXPECT_EQ(std::strlen(Long(0, 0)), 498u);
  EXPECT_STREQ(Short(0, 1), "n");
  // More groups and entries than the table: the extras are left out.
  std::string many = "@@startgroup\n";
  for (int e = 0; e < 35; ++e) many += "@\n*e"s + std::to_string(e) + "\n#\n*l\n#\n"s;
  for (int g = 1; g < 26; ++g) many += "@@newgroup\n@\n*g"s + std::to_string(g) + "\n#\n*l\n#\n"s;
  log = LoadWithLog(msg, host, many);
  EXPECT_STREQ(Short(0, 29), "e29");
  EXPECT_STREQ(Short(1, 0), "g1");
  EXPECT_STREQ(Short(21, 0), "g21");
  EXPECT_NE(log.find("more than 30 messages"), std::string::npos) << log;
  EXPECT_NE(log.find("more than 22 groups"), std::string::npos) << log;
  // Bytes above 127 are text; keywords and windows are read.
  LoadWithLog(msg, host,
              "@@newgroup\n@ \xE4\xFF\n\xA7URGENT\n\xA7OPENWINDOW:129\n*Gr\xFC\xDF\x65\xFF\n#\n\xA7ZIEL\n*L\xE4nge\n#\n");
  EXPECT_STREQ(Short(1, 0), "Gr\xFC\xDF\x65\xFF") << "a file starting with @@newgroup starts at group 1";
  EXPECT_EQ(Global_Messages[1][0].type, MESSAGE_GOAL) << "the keyword after the short text decides";
  EXPECT_EQ(Global_Messages[1][0].window, 129);
}

TEST(MessageTexts, DamagedHelpFilesLoadWhatIsSound) {
  DirHost host;
  std::unique_ptr<CMessage> msg;
  char* s = nullptr;
  char* l = nullptr;
  std::string log = LoadWithLog(msg, host, "", "#\n$\n*never\n#\n*read\n#\n");
  EXPECT_EQ(msg->GetInfoText(0, s, l), 0);
  EXPECT_EQ(s, nullptr);
  EXPECT_NE(log.find("before any begins"), std::string::npos) << log;
  std::string many;
  for (int i = 0; i < 115; ++i) many += "$\n*t"s + std::to_string(i) + "\n#\n*\n#\n"s;
  log = LoadWithLog(msg, host, "", many);
  EXPECT_EQ(msg->GetInfoText(110, s, l), 0);
  EXPECT_STREQ(s, "t110");
  EXPECT_EQ(l, nullptr) << "an empty text is no text";
  EXPECT_EQ(msg->GetInfoText(111, s, l), 1);
  EXPECT_NE(log.find("more than 111 texts"), std::string::npos) << log;
}

// Every message the game raises, with the number of values it is raised
// with (0: none, so the texts must not ask for one).
struct SRaised {
  int group, first, last, values;
};
constexpr SRaised kRaised[] = {
    {0, 0, 3, 1},   {1, 0, 0, 0},   {1, 3, 3, 0},   {1, 7, 8, 0},   {1, 11, 11, 0}, {3, 0, 0, 0},
    {4, 3, 4, 0},   {4, 8, 9, 0},   {5, 0, 3, 0},   {5, 5, 10, 0},  {5, 13, 21, 0}, {7, 0, 25, 0},
    {8, 5, 6, 0},   {9, 0, 14, 0},  {10, 2, 2, 0},  {10, 4, 4, 0},  {11, 5, 6, 1},  {12, 3, 4, 1},
    {13, 0, 1, 1},  {14, 0, 1, 1},  {15, 0, 1, 1},  {15, 4, 4, 0},  {17, 0, 1, 1},  {19, 0, 12, 0},
    {20, 0, 14, 0}, {21, 1, 4, 0},  {21, 6, 12, 0}, {21, 14, 16, 0},
};

TEST(MessageTexts, GeneratedFilesHoldEveryRaisedMessageInBothLanguages) {
  DirHost host;
  host.dir = zortest::BinaryDir() + "/gamedata"s;
  zortest::Clock().Set(500000);
  CMessage msg(&host, 0);
  int raised = 0, missing = 0;
  for (int language = 0; language < 2; ++language) {
    msg.ChangeLanguage(language);
    for (const SRaised& r : kRaised) {
      for (int e = r.first; e <= r.last; ++e) {
        ++raised;
        SCOPED_TRACE(std::to_string(language) + ": "s + std::to_string(r.group) + "/"s + std::to_string(e));
        if (!CMessage::CheckForGlobalMessage(r.group, e) || !Long(r.group, e) || !*Long(r.group, e)) {
          ++missing;
          continue;
        }
        EXPECT_EQ(ZorMessageTextHasConversion(Long(r.group, e)), r.values > 0);
        // Raised as the game raises it: shown first in the list, every
        // conversion filled, nothing cut.
        msg.AddCheckMessage(r.group, e);
        int g = -1, en = -1;
        ASSERT_TRUE(msg.GetMessagePair(0, g, en));
        EXPECT_EQ(g * 100 + en, r.group * 100 + e);
        const double values[1] = {12.5};
        char shortOut[kShortTextSize], longOut[kLongTextSize];
        ZorFormatMessageText(shortOut, sizeof shortOut, Short(r.group, e), values, r.values);
        ZorFormatMessageText(longOut, sizeof longOut, Long(r.group, e), values, r.values);
        EXPECT_FALSE(ZorMessageTextHasConversion(shortOut));
        EXPECT_FALSE(ZorMessageTextHasConversion(longOut));
        EXPECT_LT(std::strlen(Long(r.group, e)), size_t(kLongTextSize - 40));
        EXPECT_LT(std::strlen(Short(r.group, e)), size_t(60));
      }
    }
    int help = 0;
    for (int i = 0; i < kInfoTexts; ++i) {
      char* s = nullptr;
      char* l = nullptr;
      msg.GetInfoText(i, s, l);
      help += s && l && *s && *l;
    }
    EXPECT_EQ(help, kInfoTexts);
  }
  EXPECT_EQ(raised, 2 * 133);
  EXPECT_EQ(missing, 0);
  std::printf("message texts: %d raised pairs checked in two languages, %d missing\n", raised / 2, missing);
  // The German file is in the game's single-byte code page.
  msg.ChangeLanguage(0);
  EXPECT_STREQ(Short(0, 1), "Linie %i ist \xFC\x62\x65rf\xFCllt");
  msg.ChangeLanguage(1);
  EXPECT_STREQ(Short(0, 1), "Line %i is overcrowded");
}

TEST(MessageTexts, RaisingAndFormattingAllocateNothing) {
  DirHost host;
  host.dir = zortest::BinaryDir() + "/gamedata"s;
  zortest::Clock().Set(1000);
  CMessage msg(&host, 1);
  msg.ResetMessage(0);
  uint32_t now = 200000;
  zortest::Clock().Set(now);
  long before = g_allocations.load();
  for (int round = 0; round < 50; ++round) {
    for (int e = 0; e < 26; ++e) {
      now += 20000;
      zortest::Clock().Set(now);
      msg.ActivateMessage(7, e, 3.0f + e, -1, -1, e, e, -1, 1, 1);
      msg.AddMessage(9, e % 15, -1, -1, -1, -1, -1, -1, 1, 1);
      msg.CheckWaitMessage();
      msg.GetMessageE(0);
    }
  }
  EXPECT_GT(msg.GetMaxMessage(), 5);
  EXPECT_EQ(g_allocations.load() - before, 0);
  // Every frame of the running game, with the log open: queued messages
  // come up one by one, formatted with their values.
  OpenErrorLog("errors.log");
  msg.ResetMessage(0);
  now += 200000;
  zortest::Clock().Set(now);
  ASSERT_EQ(msg.AddMessage(7, 0), 0);
  for (int e = 0; e < 8; ++e) ASSERT_EQ(msg.ActivateMessage(9, e, 7.0f + e, -1, -1, e, e, -1, 1, 1), 0);
  before = g_allocations.load();
  for (int frame = 0; frame < 20000; ++frame) {
    zortest::Clock().Set(now += 50);
    msg.CheckWaitMessage();
    msg.GetTopMessageShort();
  }
  EXPECT_EQ(g_allocations.load() - before, 0);
  CloseErrorLog();
  EXPECT_EQ(msg.GetWaitMessageMax(), 0);
  EXPECT_EQ(msg.GetMaxMessage(), 9);
}

}  // namespace

// Counts the allocations of this test program. GCC does not see that
// these form one replaced pair and warns about every delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
