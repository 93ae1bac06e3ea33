// Runs the real executable headless, the way a player's machine would.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "writers/blob_writers.h"

namespace {

std::string Executable() { return zortest::BinaryDir() + "/bin/zorvanta"; }

// Starts the game in the working directory with the given video driver
// (none: SDL chooses); returns its pid. Its output goes to "stdout.txt".
// With diskBytes above 0, no file of the game may grow past that many
// bytes: its writes fail as on a full disk. A display, when given, is the
// X display the game is told to use.
pid_t StartGame(const char* videoDriver, long diskBytes = 0, const char* display = nullptr) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (diskBytes > 0) {
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{static_cast<rlim_t>(diskBytes), static_cast<rlim_t>(diskBytes)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (videoDriver)
      setenv("SDL_VIDEODRIVER", videoDriver, 1);
    else
      unsetenv("SDL_VIDEODRIVER");
    if (display) setenv("DISPLAY", display, 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    freopen("stdout.txt", "w", stdout);
    execl(Executable().c_str(), "zorvanta", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

int WaitFor(pid_t pid, int seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    usleep(50000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -2;
}

}  // namespace

TEST(Program, RunsHeadlessAndEndsWithZeroOnQuit) {
  ASSERT_TRUE(std::filesystem::exists(Executable()));
  zortest::WriteGameSettings();
  const pid_t pid = StartGame("dummy");
  ASSERT_GT(pid, 0);
  // Let it run frames for a while; it must still be alive.
  sleep(2);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the game ended on its own";
  // SDL turns a termination signal into a quit event.
  kill(pid, SIGTERM);
  EXPECT_EQ(WaitFor(pid, 10), 0);
  EXPECT_TRUE(std::filesystem::exists("errors.log"));
  EXPECT_NE(zortest::ReadFile("errors.log").find("GetEnvChar GAMESPEED"), std::string::npos);
  EXPECT_NE(zortest::ReadFile("ZORVANTA.INI").find("[Allgemein]\n"), std::string::npos);
}

TEST(Program, NoVideoIsFatalWithItsMessage) {
  zortest::WriteGameSettings();
  const pid_t pid = StartGame("no-such-driver");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitFor(pid, 10), 1);
  const std::string out = zortest::ReadFile("stdout.txt");
  EXPECT_NE(out.find("Unable to start X11 or svga with the KFX_Video.lib\n"), std::string::npos);
  EXPECT_NE(out.find("Please start ZORVANTA from within your X-Server\n"), std::string::npos);
  EXPECT_NE(zortest::ReadFile("errors.log").find("Couldn\xB4t start KFX_Video.lib."), std::string::npos);
}

// A display that cannot be reached, with no driver chosen: the start is
// tried a few times with SDL's reason in the log, then it ends as without
// any video, rather than going on with another driver that draws the game
// as text into the terminal.
TEST(Program, AnUnreachableDisplayIsTriedAgainThenFatal) {
  zortest::WriteGameSettings();
  ASSERT_FALSE(std::filesystem::exists("/tmp/.X11-unix/X997")) << "a server runs on display 997";
  const pid_t pid = StartGame(nullptr, 0, ":997");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitFor(pid, 20), 1);
  EXPECT_NE(zortest::ReadFile("stdout.txt").find("Unable to start X11 or svga with the KFX_Video.lib\n"),
            std::string::npos);
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_NE(log.find("Video start 1 of 5 failed: "), std::string::npos) << log;
  EXPECT_NE(log.find("Video start 5 of 5 failed: "), std::string::npos) << log;
  EXPECT_EQ(log.find("Video start 6 "), std::string::npos) << log;
  EXPECT_NE(log.find("Couldn\xB4t start KFX_Video.lib."), std::string::npos);
}

TEST(Program, LogThatCannotBeCreatedEndsWithOneAndSaysWhy) {
  // A directory in the log's place cannot be opened for writing, even by root.
  std::filesystem::create_directory("errors.log");
  const pid_t pid = StartGame("dummy");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitFor(pid, 10), 1);
  EXPECT_FALSE(std::filesystem::exists("ZORVANTA.INI"));
  EXPECT_EQ(zortest::ReadFile("stdout.txt"), "Could not create the log errors.log: Is a directory\nProgramm terminates\n");
}

TEST(Program, MissingArchivesAreFatalWithTheirMessage) {
  // Only two of the three archives: the game must not start.
  std::filesystem::create_directory("data");
  for (const char* name : {"ZORVANTA.GLA", "BSOUNDS.GLA"})
    std::filesystem::copy_file(zortest::BinaryDir() + "/gamedata/" + name, std::string("data/") + name);
  zortest::WriteFile("ZORVANTA.INI", "WADPATH=data\n");
  const pid_t pid = StartGame("dummy");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitFor(pid, 10), 1);
  EXPECT_EQ(zortest::ReadFile("stdout.txt"), "Could not Find Date Files\nProgramm terminates\n");
  EXPECT_NE(zortest::ReadFile("errors.log").find("Unable to open file data/UPDATE.GLA"), std::string::npos);
}

TEST(Program, ADamagedTrafficModelEndsTheStartWithItsMessage) {
  // The real archives, and an update whose cause-effect definition is cut
  // inside a block, or replaced by a blob of another kind.
  const std::string full = zortest::ReadFile(zortest::SourceDir() + "/assets/text/19396.txt");
  ASSERT_GT(full.size(), 1000u);
  const std::string cut = full.substr(0, full.size() / 2);
  const std::vector<zorgen::Bytes> damaged = {zorgen::Bytes(cut.begin(), cut.end()) /* no NUL: no text */,
                                              [&] {
                                                zorgen::Bytes b(cut.begin(), cut.end());
                                                b.push_back(0);
                                                return b;
                                              }()};
  for (const zorgen::Bytes& blob : damaged) {
    std::filesystem::remove_all("data");
    std::filesystem::create_directory("data");
    for (const char* name : {"ZORVANTA.GLA", "BSOUNDS.GLA"})
      std::filesystem::copy_file(zortest::BinaryDir() + "/gamedata/" + name, std::string("data/") + name);
    zorgen::GlaWriter update;
    update.Add(19396, blob);
    ASSERT_TRUE(update.WriteFile("data/UPDATE.GLA"));
    zortest::WriteFile("ZORVANTA.INI", "WADPATH=data\n");
    std::filesystem::remove("sim.err");
    const pid_t pid = StartGame("dummy");
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitFor(pid, 20), 1);
    EXPECT_EQ(zortest::ReadFile("stdout.txt"), "Could not read the traffic model\nProgramm terminates\n");
    EXPECT_NE(zortest::ReadFile("errors.log").find("The demand simulation could not be created, error 2"),
              std::string::npos);
    EXPECT_NE(zortest::ReadFile("sim.err").find("Fehler 2: Fehler in CSimWelt::Create()"), std::string::npos);
  }
}

TEST(Program, AFullDiskEndsTheStartWithAMessageAndKeepsTheSettings) {
  zortest::WriteGameSettings();
  // Room for the log and the settings, not for the traffic model's file.
  const pid_t pid = StartGame("dummy", 8192);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitFor(pid, 20), 1);
  EXPECT_EQ(zortest::ReadFile("stdout.txt"), "Could not read the traffic model\nProgramm terminates\n");
  EXPECT_NE(zortest::ReadFile("errors.log").find("Unable to write WTEMP.DEF"), std::string::npos);
  // The settings file is whole: the old one, or the new one complete.
  const std::string after = zortest::ReadFile("ZORVANTA.INI");
  EXPECT_EQ(after.rfind("[Allgemein]\n", 0), 0u);
  EXPECT_NE(after.find("AUFLOESUNGY=600\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("WTEMP.DEF.new"));
  EXPECT_FALSE(std::filesystem::exists("ZORVANTA.INI.new"));
}
