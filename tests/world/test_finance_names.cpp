// The finance page of the city administration and its help pages name each
// row alike, in both languages: a help page opened beside a row is titled
// with the row's name. The row that holds the balance of all transport
// services is named for them, not for public transport alone, whose balance
// the public-transport window shows and which is only a part of it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "gen/finance_rows.h"
#include "support/test_support.h"

namespace {

// The title of help page `page` in a help-text file ("ITG" or "ITE"): the
// first text line after the page's "$ <page>" line; empty when the file has
// no such page.
std::string HelpTitle(const std::string& file, int page) {
  const std::string text = zortest::ReadFile(zortest::SourceDir() + "/assets/text/messages/" + file + ".txt");
  const std::string marker = "$ " + std::to_string(page) + "\n";
  size_t at = text.rfind(marker, 0) == 0 ? 0 : text.find("\n" + marker);
  if (at == std::string::npos) return "";
  at = text.find('\n', at + (at == 0 ? 0 : 1)) + 1;
  const size_t end = text.find('\n', at);
  const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
  return line.rfind('*', 0) == 0 ? line.substr(1) : "";
}

TEST(FinanceNames, EveryHelpPageOfTheFinancePageIsTitledWithItsRowsName) {
  int helped = 0;
  for (const auto& row : zorgen::kFinanceRows) {
    if (row.help < 0) continue;
    ++helped;
    EXPECT_EQ(HelpTitle("ITG", row.help), row.name.de) << "help page " << row.help;
    EXPECT_EQ(HelpTitle("ITE", row.help), row.name.en) << "help page " << row.help;
  }
  // The window's eight help buttons stand beside the income, upkeep,
  // building, research, subsidy, balance and account rows.
  EXPECT_EQ(helped, 8);
}

TEST(FinanceNames, NoRowClaimsPublicTransportAloneAndTheRowsAreNamedApart) {
  for (const bool english : {false, true}) {
    std::set<std::string> names;
    std::set<int> helps;
    for (const auto& row : zorgen::kFinanceRows) {
      const std::string name = row.name.In(english);
      EXPECT_EQ(name.find("\xC3\x96PNV"), std::string::npos) << name;
      EXPECT_EQ(name.find("Transit"), std::string::npos) << name;
      names.insert(name);
      if (row.help >= 0) {
        EXPECT_TRUE(helps.insert(row.help).second) << "help page " << row.help << " twice";
      }
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(zorgen::kFinanceRowCount)) << english;
  }
}

// A row whose figure falls below zero when the city loses money on it is a
// balance, and its name says so: the transport services, which run at a
// loss as often as not, and the year's balance. Rows of income, spending
// or debt never fall below zero and are named for what they count.
TEST(FinanceNames, ARowThatGoesBelowZeroIsNamedABalance) {
  const auto balance = [](const std::string& name, bool english) {
    return english ? name.find("balance") != std::string::npos || name.find("Balance") != std::string::npos
                   : name.find("Saldo") != std::string::npos || name.find("Bilanz") != std::string::npos;
  };
  // The rows by their place on the page; the account may go below zero
  // too, and is named as an account.
  const std::set<int> signedRows = {47, 279};
  for (const bool english : {false, true})
    for (const auto& row : zorgen::kFinanceRows) {
      const std::string name = row.name.In(english);
      if (row.y == 300) continue;
      EXPECT_EQ(balance(name, english), signedRows.count(row.y) == 1) << name;
    }
}

}  // namespace
