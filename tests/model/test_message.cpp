// The message system: pacing, the queue, the event list, the advisers and
// the formatter for values in texts.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "model/data_exchange.h"
#include "model/message.h"
#include "model/message_test_host.h"
#include "model/indikatoren.h"
#include "model/message_format.h"
#include "sim/sim_city_model.h"
#include "support/test_support.h"

namespace {

// Joined with append: GCC 12 warns falsely on a literal + std::string.
std::string Cat(std::initializer_list<std::string> parts) {
  std::string s;
  for (const std::string& p : parts) s.append(p);
  return s;
}

// A message file in the working directory with texts for the pairs given.
void WriteMessages(const char* name, const std::string& body) {
  zortest::WriteFile(Cat({name, ".GLA"}), body);
}

std::string Entry(const std::string& shortText, const std::string& longText, const std::string& keywords = "") {
  return Cat({"@\n", keywords, "*", shortText, "\n#\n*", longText, "\n#\n"});
}

// Every group with one entry, and group 2 with entries 0..3 of their own.
std::string SmallFile(const char* tag) {
  std::string s = Cat({"@@startgroup\n", Entry("g0", "group 0"), "@@newgroup\n", Entry("g1", "group 1"), "@@newgroup\n"});
  s += Entry(Cat({tag, " line %i"}), Cat({tag, " line %i is empty, %.1f"}), "\xA7NOTICE_1\n");
  s += Entry(Cat({tag, " full"}), "crowded", "\xA7URGENT\n");
  s += Entry("plain", "long plain");
  s += Entry("two %i and %i", "two %.2f and %.2f", "\xA7WARNING\n");
  for (int g = 3; g < 22; ++g)
    s += Cat({"@@newgroup\n", Entry(Cat({"g", std::to_string(g)}), Cat({"group ", std::to_string(g)}))});
  return s;
}

// Twelve entries in every group; the long text names the group.
std::string EveryEntryFile(const char* longText) {
  std::string file = "@@startgroup\n";
  for (int g = 0; g < 22; ++g) {
    if (g) file += "@@newgroup\n";
    for (int e = 0; e < 12; ++e) file += Entry("%.1f", Cat({longText, std::to_string(g)}));
  }
  return file;
}

// Groups whose entry 0 is shown without a check of its cause.
constexpr int kFree[] = {4, 6, 7, 8, 9, 10, 11, 12, 16, 18, 19, 20};

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteMessages("MTG", SmallFile("de"));
    WriteMessages("MTE", SmallFile("en"));
    zortest::Clock().Set(1000);
    msg = std::make_unique<CMessage>(&host, 0);
    msg->ResetMessage(0);
    // Past the repeat block of a reset (1.5 x 120000 ms from time 0).
    zortest::Clock().Set(200000);
  }
  using Host = ScriptedMessageHost;
  Host host;
  std::unique_ptr<CMessage> msg;

  std::string Pair(int i) {
    int g = -1, e = -1;
    msg->GetMessagePair(i, g, e);
    return Cat({std::to_string(g), "/", std::to_string(e)});
  }
};

// From the program's start, and again with the tick count 300 s before its
// wrap (49.7 days of running), so that the blocks, the showing time and the
// repeat interval run across it.
TEST_F(MessageTest, PacingRefusesDuringBlocksAndQueuesWithinShowingTime) {
  for (const uint32_t base : {0u, 0u - 300000u}) {
    SCOPED_TRACE(base);
    const auto at = [&](uint32_t t) { zortest::Clock().Set(base + t); };
    if (base != 0) {
      at(1000);
      msg = std::make_unique<CMessage>(&host, 0);
      msg->ResetMessage(0);
    } else {
      // Right after a reset every message waits 180 s of program time.
      at(179999);
      EXPECT_EQ(msg->ActivateMessage(2, 2), 1);
    }
    at(200000);
    // The block time of ResetMessage(60) holds all but groups 19 and 20.
    msg->ResetMessage(60);
    EXPECT_EQ(msg->ActivateMessage(2, 2), 1);
    EXPECT_EQ(msg->ActivateMessage(19, 0), 0);
    EXPECT_EQ(msg->GetMaxMessage(), 1);
    at(260001);
    EXPECT_EQ(msg->ActivateMessage(2, 2), 0);
    EXPECT_EQ(msg->GetMaxMessage(), 2);
    // The newest event is younger than 55 s: queued, not shown.
    at(260002);
    EXPECT_EQ(msg->ActivateMessage(4, 0), 0);
    EXPECT_EQ(msg->GetMaxMessage(), 2);
    EXPECT_EQ(msg->GetWaitMessageMax(), 1);
    EXPECT_EQ(msg->ActivateMessage(4, 0), 1) << "queued twice";
    // Shown once 55 s have passed since the last was shown.
    at(260001 + 55000);
    msg->CheckWaitMessage();
    EXPECT_EQ(msg->GetMaxMessage(), 2);
    at(260001 + 55001);
    msg->CheckWaitMessage();
    EXPECT_EQ(msg->GetMaxMessage(), 3);
    EXPECT_EQ(Pair(0), "4/0");
    EXPECT_EQ(msg->GetWaitMessageMax(), 0);
    // Shown messages repeat only after 1.5 x their interval.
    at(260001 + 180000);
    EXPECT_EQ(msg->ActivateMessage(2, 2), 1);
    zortest::Clock().Advance(1);
    EXPECT_EQ(msg->ActivateMessage(2, 2), 0);
    // Out of the table and exhibition mode: refused.
    zortest::Clock().Advance(100000);
    EXPECT_EQ(msg->ActivateMessage(22, 0), 1);
    EXPECT_EQ(msg->ActivateMessage(4, 30), 1);
    EXPECT_EQ(msg->ActivateMessage(-1, 0), 1);
    host.mode = 3;
    EXPECT_EQ(msg->ActivateMessage(6, 0), 1);
    host.mode = 1;
  }
}

TEST_F(MessageTest, QueueKeepsOrderAndLetsMoreImportantAheadOfAnOldQueue) {
  ASSERT_EQ(msg->AddMessage(kFree[0], 0), 0);
  // Fill the queue with notices of kind 6.
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(msg->ActivateMessage(kFree[i], 0), 0) << kFree[i];
  EXPECT_EQ(msg->GetWaitMessageMax(), 8);
  // A ninth is refused while the queue is young, and its caller hears so.
  EXPECT_EQ(msg->ActivateMessage(2, 1), 1);
  // Once the first has waited more than 137.5 s, an urgent one (kind 3)
  // goes ahead of the first notice and the last drops off.
  zortest::Clock().Advance(137501);
  EXPECT_EQ(msg->AddWaitMessage(2, 1, -1, -1, -1, -1, -1, -1, 1, 1), 0);
  EXPECT_EQ(msg->GetWaitMessageMax(), 8);
  int g = -1, e = -1;
  ASSERT_TRUE(msg->GetWaitMessagePair(0, g, e));
  EXPECT_EQ(g * 100 + e, 201);
  ASSERT_TRUE(msg->GetWaitMessagePair(7, g, e));
  EXPECT_EQ(g, kFree[7]) << "the last one dropped off";
  EXPECT_STREQ(msg->GetWaitMessageShort(0), "de full");
  EXPECT_EQ(msg->GetWaitMessageShort(8), nullptr);
  // The queue empties in order, one per 55 s.
  const int expected[] = {2, kFree[1], kFree[2], kFree[3]};
  for (int want : expected) {
    zortest::Clock().Advance(55001);
    msg->CheckWaitMessage();
    ASSERT_TRUE(msg->GetMessagePair(0, g, e));
    EXPECT_EQ(g, want);
  }
  EXPECT_EQ(msg->GetWaitMessageMax(), 4);
}

TEST_F(MessageTest, EventListIsNewestFirstWithoutDoublesAndKeepsTen) {
  for (int g : kFree) ASSERT_EQ(msg->AddMessage(g, 0), 0);
  const auto name = [](int i) { return Cat({std::to_string(kFree[i]), "/0"}); };
  EXPECT_EQ(msg->GetMaxMessage(), 10);
  EXPECT_EQ(Pair(0), name(11));
  EXPECT_EQ(Pair(9), name(2));
  msg->SelectEvent(4);  // kFree[7]
  EXPECT_EQ(host.markTime, 200000u);
  // Raising a listed pair moves it to the top; the selection follows its event.
  ASSERT_EQ(msg->AddMessage(kFree[4], 0), 0);
  EXPECT_EQ(msg->GetMaxMessage(), 10);
  EXPECT_EQ(Pair(0), name(4));
  EXPECT_EQ(Pair(5), name(7));
  EXPECT_EQ(msg->GetSelectedEvent(), 5);
  EXPECT_EQ(msg->GetMessageE(0), Cat({"g", std::to_string(kFree[4])}));
  EXPECT_EQ(msg->GetSelectedEventLongText(), Cat({"group ", std::to_string(kFree[7])}));
  msg->ToggleMessageProcessed(1);
  EXPECT_EQ(msg->GetMessageProcessed(1), 1);
  EXPECT_EQ(msg->RemoveMessage(10), 1);
  EXPECT_EQ(msg->RemoveMessage(0), 0);
  EXPECT_EQ(Pair(0), name(11));
  EXPECT_EQ(msg->GetMessageProcessed(0), 1);
  msg->RemoveSelectedEvent();
  EXPECT_EQ(msg->GetMaxMessage(), 8);
  EXPECT_EQ(Pair(4), name(6));
  // Removing does not reach past the list.
  EXPECT_EQ(msg->RemoveMessage(8), 1);
  EXPECT_EQ(msg->GetMaxMessage(), 8);
  msg->ResetMessage(0);
  EXPECT_EQ(msg->GetMaxMessage(), 0);
  EXPECT_STREQ(msg->GetEventShortText(), " ");
  EXPECT_EQ(msg->GetMessageE(0), nullptr);
}

TEST_F(MessageTest, ValuesPositionsAndWindowsReachTheEvent) {
  // No value: the texts stand as written.
  ASSERT_EQ(msg->AddMessage(2, 0), 0);
  EXPECT_STREQ(msg->GetMessageE(0), "de line %i");
  // One value and "%i" in the short text: both texts show it whole.
  ASSERT_EQ(msg->AddMessage(2, 0, 7.9f, -1, -1, 12, 34, 129, 2, 3), 0);
  EXPECT_STREQ(msg->GetMessageE(0), "de line 7");
  // A conversion with no value left stands as written.
  EXPECT_STREQ(msg->GetEventLongText(), "de line 7 is empty, %.1f");
  ASSERT_EQ(msg->AddMessage(2, 3, 1.5f, 2.25f), 0);
  EXPECT_STREQ(msg->GetEventLongText(), "two 1.50 and 2.25");
  EXPECT_STREQ(msg->GetMessageE(0), "two 1 and 2");
  EXPECT_EQ(msg->GetEvent(0)->type, MESSAGE_WARNING);
  EXPECT_EQ(msg->GetEvent(1)->type, MESSAGE_NOTICE_1);
  int x, y, xd, yd;
  EXPECT_EQ(msg->GetTopMessageXYXDYD(x, y, xd, yd), 1);
  EXPECT_TRUE(msg->CheckMessageForJump(1));
  EXPECT_FALSE(msg->CheckMessageForJump(0));
  msg->GotoSelectedMessage(1);
  EXPECT_EQ(host.centreX * 1000 + host.centreY, 12034);
  EXPECT_EQ(host.markX * 1000 + host.markY, 12034);
  // The mark goes 60 s after it was set.
  zortest::Clock().Advance(59999);
  msg->CheckWaitMessage();
  EXPECT_EQ(host.markX, 12);
  zortest::Clock().Advance(1);
  msg->CheckWaitMessage();
  EXPECT_EQ(host.markX, -1);
  // The newest text counts as new for 30 s.
  EXPECT_EQ(msg->GetTopMessageShort(), nullptr);
  EXPECT_EQ(host.eventWindows, 3);
  msg->ToggleAutoEvent();
  ASSERT_EQ(msg->AddMessage(6, 0), 0);
  EXPECT_EQ(host.eventWindows, 3);
  EXPECT_STREQ(msg->GetTopMessageShort(), "g6");
}

TEST_F(MessageTest, AdvisersStandingMessageLanguageAndAttentionTexts) {
  msg->SetBeraterMessage(2, 7, 0);
  msg->SetBerater(3);
  EXPECT_EQ(msg->GetBerater(), 3);
  EXPECT_STREQ(msg->GetBeraterMessage(), "group 7");
  msg->SetBerater(9);
  EXPECT_EQ(msg->GetBerater(), 5);
  // In a scenario the goal slot holds the scenario's task.
  host.mode = 2;
  msg->SetBeraterZielMessage();
  EXPECT_STREQ(msg->GetBeraterMessage(), "group 19");
  EXPECT_EQ(msg->GetStandardMessage(), nullptr);
  msg->SetStandardMessage(2, 1);
  EXPECT_STREQ(msg->GetStandardMessage(), "crowded");
  EXPECT_TRUE(CMessage::CheckForGlobalMessage(2, 3));
  EXPECT_FALSE(CMessage::CheckForGlobalMessage(2, 4));
  EXPECT_FALSE(CMessage::CheckForGlobalMessage(-1, 0));
  ASSERT_EQ(msg->AddMessage(2, 1), 0);
  msg->ChangeLanguage(1);
  EXPECT_EQ(msg->GetMaxMessage(), 0);
  ASSERT_EQ(msg->AddMessage(2, 1), 0);
  EXPECT_STREQ(msg->GetMessageE(0), "en full");
  msg->SetAchtungMessage("careful");
  EXPECT_STREQ(msg->GetAchtungMessage(), "careful");
  msg->DeactivateAchtungMessage();
  EXPECT_EQ(msg->GetAchtungMessage(), nullptr);
}

// The indicators fill advisers 1-4 with the standing messages of group 21:
// the growth slot by the people first, then by the growth indicator with
// its edges at 0.47 and 0.53; the others by their indicator against 0.5.
TEST_F(MessageTest, IndicatorsFillTheAdvisersWithTheirStandingMessages) {
  std::string file = "@@startgroup\n";
  for (int g = 0; g < 22; ++g) {
    if (g) file += "@@newgroup\n";
    for (int e = 0; e < 17; ++e) file += Entry("s", Cat({std::to_string(g), "/", std::to_string(e)}));
  }
  WriteMessages("MTG", file);
  msg = std::make_unique<CMessage>(&host, 0);
  struct Rows : CIndikatoren {
    double eff = 0.5, quali = 0.5, zorv = 0.5, growth = 0.5;
    double GetVarValue(const char* n) override {
      const std::string name = n;
      return name == "I.EFF" ? eff : name == "I.QUALI" ? quali : name == "I.ZORV" ? zorv : growth;
    }
  } rows;
  CDataExchange exchange;
  auto advisers = [&] {
    std::string all;
    for (int a = 1; a <= 4; ++a) {
      msg->SetBerater(a);
      all += Cat({msg->GetBeraterMessage() ? msg->GetBeraterMessage() : "-", " "});
    }
    return all;
  };
  EXPECT_EQ(msg->GetBerater(), 1) << "the first adviser speaks first, as the window shows";
  EXPECT_EQ(advisers(), "0/0 0/0 0/0 0/0 ") << "nothing before the indicators speak";
  rows.SetStandardMessage();
  EXPECT_EQ(advisers(), "0/0 0/0 0/0 0/0 ") << "without a message system nothing is set";
  rows.Attach(msg.get(), &exchange);
  rows.SetStandardMessage();
  EXPECT_EQ(advisers(), "21/8 21/10 21/12 21/2 ");
  rows.eff = 0.49, rows.quali = 0.2, rows.zorv = 0.4999;
  rows.growth = 0.1;
  exchange.SetPeople(14999);
  rows.SetStandardMessage();
  EXPECT_EQ(advisers(), "21/7 21/9 21/11 21/2 ") << "below 15000 people the growth slot stays";
  exchange.SetPeople(15000);
  const std::pair<double, const char*> edges[] = {{0.4699, "21/14"}, {0.47, "21/15"}, {0.53, "21/15"}, {0.5301, "21/16"}};
  for (const auto& [g, text] : edges) {
    rows.growth = g;
    rows.SetStandardMessage();
    msg->SetBerater(4);
    EXPECT_STREQ(msg->GetBeraterMessage(), text) << g;
  }
}

TEST(MessageFormat, FillsOnlyItsOwnConversionsAndStaysInBounds) {
  const double v[3] = {3.75, -2.5, 1e30};
  struct Case {
    const char* text;
    int count;
    const char* want;
  } cases[] = {
      {"%i people, %d jobs", 2, "3 people, -2 jobs"},
      {"%f|%.0f|%.2f", 3, "3.750000|-2|1000000000000000019884624838656.00"},
      {"%s and %n and %5d and %x", 3, "%s and %n and %5d and %x"},
      {"100%% of %i", 1, "100% of 3"},
      {"%i %i %i %i", 3, "3 -2 2147483647 %i"},
      {"trailing %", 1, "trailing %"},
      {"%.f %.12f", 1, "%.f %.12f"},
  };
  for (const Case& c : cases) {
    char out[128];
    ZorFormatMessageText(out, sizeof out, c.text, v, c.count);
    EXPECT_STREQ(out, c.want) << c.text;
  }
  char small[8];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(ZorFormatMessageText(small, sizeof small, "%f%f", v, 2), 7u);
  EXPECT_STREQ(small, "3.75000");
  EXPECT_EQ(ZorFormatMessageText(small, 0, "abc", v, 1), 0u);
  EXPECT_EQ(small[0], '3');
  const double odd[2] = {std::nan(""), -1e300};
  char out[64];
  ZorFormatMessageText(out, sizeof out, "%i %i", odd, 2);
  EXPECT_STREQ(out, "0 -2147483648");
  EXPECT_TRUE(ZorMessageTextHasConversion("a %.2f"));
  EXPECT_FALSE(ZorMessageTextHasConversion("100%% %s"));
}

}  // namespace

namespace {

// A measure's quote and the stored quote and time of its last message.
class QuoteOwner : public CVarOwner {
 public:
  explicit QuoteOwner(std::string prefix) : m_prefix(std::move(prefix)) {}
  int GetVarData(const char* name, double* value) override {
    const std::string n = name;
    if (n == m_prefix + "USERQUOTE" || n == m_prefix + "USERQUOTEPEOPLE") *value = quote;
    else if (n == m_prefix + "USERQUOTELASTMESSAGE") *value = lastQuote;
    else if (n == m_prefix + "TIMELASTCHANGEMESSAGE") *value = lastTime;
    else return 1;
    return 0;
  }
  int SetVarData(const char* name, double value) override {
    const std::string n = name;
    if (n == m_prefix + "USERQUOTELASTMESSAGE") lastQuote = value;
    else if (n == m_prefix + "TIMELASTCHANGEMESSAGE") lastTime = value;
    else return 1;
    return 0;
  }
  using CVarOwner::GetVarData;
  using CVarOwner::SetVarData;
  double quote = 0, lastQuote = -1, lastTime = -1;

 private:
  std::string m_prefix;
};

}  // namespace

TEST_F(MessageTest, QuoteMessagesShowTheirQuoteWhileItHolds) {
  WriteMessages("MTG", EveryEntryFile("quote %.2f of "));
  CDataExchange exchange;
  QuoteOwner pta("PTA."), cs("CS.");
  exchange.RegisterOwner("PTA.", &pta);
  exchange.RegisterOwner("CS.", &cs);
  struct : Host {
    CDataExchange* exchange = nullptr;
    int streets = 0;
    CDataExchange* GetDataExchange() override { return exchange; }
    int GetStreetCount() override { return streets; }
  } quoteHost;
  quoteHost.exchange = &exchange;
  CMessage quotes(&quoteHost, 0);
  // Fallen by 0.1 or more since it was raised: dropped, nothing stored.
  pta.quote = 4.9;
  EXPECT_EQ(quotes.AddMessage(12, 3, 5.0f), 1);
  EXPECT_EQ(pta.lastTime, -1);
  // Fallen by less: shown with the quote of now (group 12), which is stored.
  pta.quote = 4.95;
  ASSERT_EQ(quotes.AddMessage(12, 3, 5.0f), 0);
  EXPECT_STREQ(quotes.GetEventLongText(), "quote 4.95 of 12");
  EXPECT_DOUBLE_EQ(pta.lastQuote, 4.95);
  EXPECT_EQ(pta.lastTime, 200000);
  // Car sharing keeps the quote it was raised with.
  cs.quote = 7.0;
  ASSERT_EQ(quotes.AddMessage(15, 0, 6.0f), 0);
  EXPECT_STREQ(quotes.GetEventLongText(), "quote 6.00 of 15");
  EXPECT_DOUBLE_EQ(cs.lastQuote, 7.0);
  // A quote of 0.1 or less is not worth a message; a missing owner drops it.
  cs.quote = 0.1;
  EXPECT_EQ(quotes.AddMessage(15, 1, 0.0f), 1);
  EXPECT_EQ(quotes.AddMessage(17, 0, 1.0f), 1);
  // The empty street network's message holds while there is no street.
  ASSERT_EQ(quotes.AddMessage(21, 6), 0);
  quoteHost.streets = 3;
  EXPECT_EQ(quotes.AddMessage(21, 6), 1);
}

TEST_F(MessageTest, ShortagesAndMissingServicesAreShownWhileTheirCauseHolds) {
  WriteMessages("MTG", EveryEntryFile("group "));
  CDataExchange exchange;
  CSimCityModell city;
  // The data exchange's checks read the same city.
  struct : CGrowthContext {
    CSimCityModell* city = nullptr;
    CSimCityModell* City() override { return city; }
  } context;
  context.city = &city;
  exchange.SetGrowthContext(&context);
  struct : Host {
    CDataExchange* exchange = nullptr;
    CSimCityModell* city = nullptr;
    CDataExchange* GetDataExchange() override { return exchange; }
    CSimCityModell* GetCity() override { return city; }
  } cityHost;
  cityHost.exchange = &exchange;
  CMessage checked(&cityHost, 0);
  // Without a city model no shortage can be shown.
  EXPECT_EQ(checked.AddMessage(5, 1), 1);
  cityHost.city = &city;
  // Fewer than 10000 homes are short; "no homes" only while there are none.
  city.AddResidents(12000);
  city.AddHomes(9000);
  EXPECT_EQ(checked.AddMessage(5, 0), 1);
  EXPECT_EQ(checked.AddMessage(5, 1), 0);
  // Jobs are short below 0.63 x residents (7560 here).
  city.AddJobs(5000);
  EXPECT_EQ(checked.AddMessage(5, 2), 1);
  EXPECT_EQ(checked.AddMessage(5, 3), 0);
  // Schools, shops and leisure are short while there are none.
  for (int entry : {5, 7, 9}) EXPECT_EQ(checked.AddMessage(5, entry), 0) << entry;
  // Looking whether a shortage holds counts nothing toward the growth
  // obstacle, which holds the shortages the period's events found.
  EXPECT_EQ(exchange.GetGrowthHindernis(), 0);
  city.AddJobs(3000);
  EXPECT_EQ(checked.AddMessage(5, 3), 1);
  city.AddHomes(20000);
  EXPECT_EQ(checked.AddMessage(5, 1), 1);
  // Entries that are no shortage are not checked.
  EXPECT_EQ(checked.AddMessage(5, 4), 0);
  EXPECT_EQ(checked.AddMessage(5, 11), 0);
  // A line message needs its line; public transport is needed over 10000
  // residents while there are no lines.
  EXPECT_EQ(checked.AddMessage(0, 0, 3.0f), 1);
  EXPECT_EQ(checked.AddMessage(1, 11), 0);
}
