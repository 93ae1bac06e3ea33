// The adviser messages and the help texts name a rating gauge exactly as the
// indicator window labels its row, in the text's language: a quoted name
// after the word for gauge and a help page's title "Gauge: <gauge>" hold one
// of the window's row names, an adviser's title "<name>: poor" a row's or a
// group's name.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gen/gauge_names.h"
#include "support/test_support.h"

namespace {

struct Language {
  bool english;
  const char* gauge;   // the word before a quoted gauge name
  const char* open;    // the quotes the language uses
  const char* close;
  const char* help;    // a help page's title before the gauge name
  std::vector<std::string> verdicts;  // what an adviser's title says after the gauge name
};

const Language kEnglish{true, "gauge ", "\xE2\x80\x9C", "\xE2\x80\x9D", "Gauge: ", {": could be better", ": poor", ": good"}};
const Language kGerman{false, "Anzeige ", "\xE2\x80\x9E", "\xE2\x80\x9C", "Anzeige: ",
                       {": k\xC3\xB6nnte besser sein", ": schlecht", ": mangelhaft", ": gut"}};

// A text file's lines with the text marker taken off; the texts of a
// message run on over several lines, so these lines are joined.
std::string Texts(const std::string& name) {
  const std::string file = zortest::ReadFile(zortest::SourceDir() + "/assets/text/messages/" + name + ".txt");
  std::string joined;
  size_t at = 0;
  while (at < file.size()) {
    size_t end = file.find('\n', at);
    if (end == std::string::npos) end = file.size();
    const std::string line = file.substr(at, end - at);
    joined += line.rfind('*', 0) == 0 ? line.substr(1) : "\n" + line + "\n";
    at = end + 1;
  }
  return joined;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// Every gauge name the texts hold in the three places, checked against the
// window's names; returns the gauge names found.
std::multiset<std::string> CheckGaugeNames(const std::string& file, const Language& language) {
  std::set<std::string> gauges, groups;
  for (const auto& name : zorgen::kGaugeNames) gauges.insert(name.In(language.english));
  for (const auto& group : zorgen::kGaugeGroups) groups.insert(group.heading.In(language.english));
  std::multiset<std::string> found;
  auto check = [&](const std::string& name, const std::string& where, bool groupToo) {
    if (groupToo && groups.count(name)) return;
    EXPECT_TRUE(gauges.count(name)) << file << ": \"" << name << "\" is no row of the indicator window, in: " << where;
    found.insert(name);
  };
  const std::string text = Texts(file);
  const std::string quoted = std::string(language.gauge) + language.open;
  for (size_t at = text.find(quoted); at != std::string::npos; at = text.find(quoted, at + 1)) {
    const size_t from = at + quoted.size(), to = text.find(language.close, from);
    EXPECT_NE(to, std::string::npos) << file << ": an unclosed quote after " << text.substr(at, 40);
    if (to == std::string::npos) break;
    check(text.substr(from, to - from), text.substr(at, to - at + 4), false);
  }
  for (const std::string& line : Lines(text)) {
    if (line.rfind(language.help, 0) == 0) check(line.substr(std::string(language.help).size()), line, false);
    for (const std::string& verdict : language.verdicts)
      if (line.size() > verdict.size() && line.compare(line.size() - verdict.size(), verdict.size(), verdict) == 0)
        check(line.substr(0, line.size() - verdict.size()), line, true);
  }
  return found;
}

TEST(GaugeNames, TheMessagesNameEachGaugeAsTheIndicatorWindowDoes) {
  for (const auto& [file, language] : {std::pair{"MTE", &kEnglish}, std::pair{"MTG", &kGerman}}) {
    const std::multiset<std::string> found = CheckGaugeNames(file, *language);
    // Each gauge has its two adviser warnings and its task and success texts.
    for (const auto& name : zorgen::kGaugeNames)
      EXPECT_GE(found.count(name.In(language->english)), 6u) << file << ": " << name.In(language->english);
  }
}

TEST(GaugeNames, TheHelpPagesNameEachGaugeAsTheIndicatorWindowDoes) {
  for (const auto& [file, language] : {std::pair{"ITE", &kEnglish}, std::pair{"ITG", &kGerman}}) {
    const std::multiset<std::string> found = CheckGaugeNames(file, *language);
    for (const auto& name : zorgen::kGaugeNames)
      EXPECT_EQ(found.count(name.In(language->english)), 1u) << file << ": " << name.In(language->english);
  }
}

TEST(GaugeNames, EachLanguageNamesTheThirteenGaugesApartInThreeGroupsThatCoverThem) {
  for (const bool english : {false, true}) {
    std::set<std::string> names;
    for (const auto& name : zorgen::kGaugeNames) {
      ASSERT_NE(name.In(english), nullptr);
      EXPECT_FALSE(std::string(name.In(english)).empty());
      names.insert(name.In(english));
    }
    for (const auto& group : zorgen::kGaugeGroups) names.insert(group.heading.In(english));
    EXPECT_EQ(names.size(), static_cast<size_t>(zorgen::kGaugeCount) + 3) << english;
  }
  // The window draws the groups one after the other, each gauge once.
  int next = 0;
  for (const auto& group : zorgen::kGaugeGroups) {
    EXPECT_EQ(group.first, next);
    EXPECT_GT(group.count, 0);
    next = group.first + group.count;
  }
  EXPECT_EQ(next, zorgen::kGaugeCount);
}

}  // namespace
