#include <gtest/gtest.h>

#include "framework/qno_log.h"
#include "support/test_support.h"

using zortest::ReadFile;

TEST(DiagnosticLog, MessagesBeforeOpeningAreDropped) {
  QNO_LOG("nobody hears this %d", 5);
  OpenErrorLog("errors.log");
  QNO_LOG("first");
  CloseErrorLog();
  QNO_LOG("after closing");
  EXPECT_EQ(ReadFile("errors.log"), "first\n");
}

TEST(DiagnosticLog, ConversionsFollowTheSingleLetterRules) {
  OpenErrorLog("errors.log");
  QNO_ERROR(QNO_SEV_ERROR, "Fehler konnte Type nicht finden");
  QNO_LOG("a %d b %s", 7, "str");
  QNO_LOG("%x|%o|%u|%i", 255, 8, -1, 12);
  QNO_LOG("%c%c", 'o', 0x100 + 'k');
  QNO_LOG("%f %e %g", 1.5, 1.5, 0.25);
  QNO_LOG("%5d");              // '5' is the conversion, "d" stays text
  QNO_LOG("100%% sure %q!");   // "%%" and unknown letters write nothing
  QNO_ERRORX2(QNO_SRC_GAME, QNO_SEV_WARNING, "%S", "upper");
  CloseErrorLog();
  EXPECT_EQ(ReadFile("errors.log"),
            "Fehler konnte Type nicht finden\n"
            "a 7 b str\n"
            "255|8|-1|12\n"
            "ok\n"
            "1.500000 1.500000e+00 0.25\n"
            "d\n"
            "100 sure !\n"
            "upper\n");
}

TEST(DiagnosticLog, NullStringOrTrailingPercentEndsWithoutLineFeed) {
  OpenErrorLog("errors.log");
  QNO_LOG("x %s y", static_cast<const char*>(nullptr));
  QNO_LOG("ends in %");
  QNO_LOG("next");
  CloseErrorLog();
  EXPECT_EQ(ReadFile("errors.log"), "x ends in next\n");
}

TEST(DiagnosticLog, LongTextAndHugeNumbersAreWrittenWhole) {
  OpenErrorLog("errors.log");
  const std::string text(5000, 'a');
  QNO_LOG((text + "%s" + text).c_str(), text.c_str());
  QNO_LOG("%f", 1e300);
  CloseErrorLog();
  const std::string log = ReadFile("errors.log");
  const size_t firstLine = log.find('\n');
  EXPECT_EQ(firstLine, 15000u);
  EXPECT_EQ(log.substr(firstLine + 1, 2), "10");
  EXPECT_GT(log.size() - firstLine, 300u);
}

TEST(DiagnosticLog, SecondOpenKeepsTheFirstFile) {
  OpenErrorLog("errors.log");
  OpenErrorLog("other.log");
  QNO_LOG("here");
  CloseErrorLog();
  EXPECT_EQ(ReadFile("errors.log"), "here\n");
  EXPECT_EQ(ReadFile("other.log"), "");
}

TEST(DiagnosticLog, UnopenableLogIsFatal) {
  try {
    OpenErrorLog("no/such/dir/errors.log");
    FAIL() << "expected a fatal exit";
  } catch (const zortest::FatalExit& e) {
    EXPECT_EQ(e.code, 1);
  }
}
