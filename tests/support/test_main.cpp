// Test entry: headless SDL, a fresh temporary working directory per test,
// the hand-driven clock, a fixed random seed and a fatal handler that throws.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/qno_log.h"
#include "support/test_support.h"

namespace {

[[noreturn]] void ThrowingFatal(int code) { throw zortest::FatalExit(code); }

class PerTestDirectory : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override {
    m_home = std::filesystem::current_path();
    char pattern[] = "/tmp/zortest.XXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    m_dir = dir;
    std::filesystem::current_path(m_dir);
    zortest::Clock().Set(0);
    zortest::Clock().SetReadCost(0);
    zortest::Clock().ForgetWaits();
    ZorSetClock(&zortest::Clock());
    zor_srandom(12345);
    ZorFixStartupSeed(12345);
    ZorSetFatalHandler(&ThrowingFatal);
  }
  void OnTestEnd(const testing::TestInfo&) override {
    CloseErrorLog();
    ZorSetClock(nullptr);
    std::filesystem::current_path(m_home);
    std::error_code ec;
    if (!std::getenv("ZOR_KEEP_TEST_DIRS")) std::filesystem::remove_all(m_dir, ec);
  }

 private:
  std::filesystem::path m_home;
  std::filesystem::path m_dir;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new PerTestDirectory);
  return RUN_ALL_TESTS();
}
