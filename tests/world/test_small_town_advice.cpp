// The mayor's standing advice for a small town (message group 21, entry 2)
// stays in the adviser window from the empty map up to 15,000 residents, so
// it must hold for a town that already has thousands of them: it speaks of
// further citizens, never of the first ones, and it names why zoned areas
// stay empty, the street they lack close by.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

// The long text of message `entry` ("@ <group>/<entry>") in a message file:
// the text lines after the title's closing "#", joined with spaces.
std::string LongText(const std::string& file, const std::string& entry) {
  const std::string text = zortest::ReadFile(zortest::SourceDir() + "/assets/text/messages/" + file + ".txt");
  size_t at = text.find("\n@ " + entry + "\n");
  if (at == std::string::npos) return "";
  at = text.find("\n#\n", at);
  if (at == std::string::npos) return "";
  std::string body;
  for (at += 3; at < text.size() && text[at] == '*';) {
    const size_t end = text.find('\n', at);
    if (!body.empty()) body += ' ';
    body.append(text, at + 1, end - at - 1);
    at = end + 1;
  }
  return body;
}

TEST(SmallTownAdvice, HoldsForATownThatAlreadyHasCitizens) {
  const std::string de = LongText("MTG", "21/2"), en = LongText("MTE", "21/2");
  ASSERT_FALSE(de.empty());
  ASSERT_FALSE(en.empty());
  EXPECT_EQ(de.find("ersten B\xC3\xBCrger"), std::string::npos) << de;
  EXPECT_EQ(en.find("first citizens"), std::string::npos) << en;
  // Zoned areas fill only near a street.
  EXPECT_NE(de.find("Stra\xC3\x9F" "e"), std::string::npos) << de;
  EXPECT_NE(de.find("leer"), std::string::npos) << de;
  EXPECT_NE(en.find("street"), std::string::npos) << en;
  EXPECT_NE(en.find("empty"), std::string::npos) << en;
}

}  // namespace
