// The reads and appends on top of the file layer: short reads, read errors,
// full disks and failed flushes each end in the result and the errno the
// callers rely on, and every file opened is closed.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "framework/zor_file_layer.h"
#include "support/test_support.h"

namespace {

// Hands out at most `step` bytes a read, fails the read after `failAfter`
// bytes (when not negative), and counts opens and closes.
struct TrickleDisk : ZorFileLayer {
  FILE* Open(const char* path, const char* mode) override {
    FILE* f = ZorFileLayer::Open(path, mode);
    if (f) ++opened;
    return f;
  }
  int Close(FILE* file) override {
    ++closed;
    return ZorFileLayer::Close(file);
  }
  long Read(void* data, size_t size, FILE* file) override {
    ++reads;
    if (failAfter >= 0 && given >= failAfter) return errno = EIO, -1;
    const long n = ZorFileLayer::Read(data, size < step ? size : step, file);
    if (n > 0) given += n;
    return n;
  }
  size_t Write(const void* data, size_t size, FILE* file) override {
    if (writeError) return errno = writeError, size / 2;
    return ZorFileLayer::Write(data, size, file);
  }
  int FlushBuffer(FILE* file) override {
    ++flushes;
    if (flushError) return errno = flushError, -1;
    return ZorFileLayer::FlushBuffer(file);
  }
  size_t step = 3;
  long failAfter = -1;
  long given = 0;
  int writeError = 0, flushError = 0;
  int opened = 0, closed = 0, reads = 0, flushes = 0;
};

}  // namespace

TEST(FileLayerRead, ShortReadsMakeTheWholeFileAndALimitCutsIt) {
  const std::string text = "a file of a few words, read three bytes at a time";
  zortest::WriteFile("whole.txt", text);
  TrickleDisk disk;
  std::string out = "old";
  int error = -1;
  ASSERT_TRUE(ZorReadFile(disk, "whole.txt", out, &error));
  EXPECT_EQ(out, text);
  EXPECT_EQ(error, -1) << "a read without fault leaves the error alone";
  EXPECT_GT(disk.reads, static_cast<int>(text.size() / 3));
  // The limit, on and off a read's boundary, and beyond the end.
  for (size_t limit : {size_t{0}, size_t{1}, size_t{4}, size_t{6}, text.size(), text.size() + 10}) {
    ASSERT_TRUE(ZorReadFile(disk, "whole.txt", out, nullptr, limit)) << limit;
    EXPECT_EQ(out, text.substr(0, limit)) << limit;
  }
  // An empty file is read as nothing.
  zortest::WriteFile("empty.txt", "");
  ASSERT_TRUE(ZorReadFile(disk, "empty.txt", out));
  EXPECT_EQ(out, "");
  EXPECT_EQ(disk.opened, disk.closed);
}

TEST(FileLayerRead, AReadErrorOrAMissingFileFailsWithItsErrno) {
  zortest::WriteFile("whole.txt", "0123456789abcdef");
  TrickleDisk disk;
  disk.failAfter = 6;
  std::string out;
  int error = 0;
  EXPECT_FALSE(ZorReadFile(disk, "whole.txt", out, &error));
  EXPECT_EQ(error, EIO);
  EXPECT_EQ(out, "012345") << "what came before the error";
  EXPECT_EQ(disk.opened, 1);
  EXPECT_EQ(disk.closed, 1);
  // A fault at the very first read.
  disk.given = 0;
  disk.failAfter = 0;
  EXPECT_FALSE(ZorReadFile(disk, "whole.txt", out));
  EXPECT_EQ(out, "");
  error = 0;
  EXPECT_FALSE(ZorReadFile(ZorFileLayer::Real(), "no such file", out, &error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(disk.opened, disk.closed);
}

TEST(FileLayerRead, AFaultWithoutAnErrnoIsAnInputErrorAndTheRealLayerReportsItsOwn) {
  zortest::WriteFile("whole.txt", "0123456789");
  // A layer that fails without saying why, after an errno left from before.
  struct Mute : ZorFileLayer {
    long Read(void*, size_t, FILE*) override { return -1; }
    int FlushBuffer(FILE*) override { return -1; }
  } mute;
  std::string out;
  int error = 0;
  errno = ENOENT;
  EXPECT_FALSE(ZorReadFile(mute, "whole.txt", out, &error));
  EXPECT_EQ(error, EIO);
  FILE* log = mute.Open("append.log", "a");
  ASSERT_NE(log, nullptr);
  errno = ENOENT;
  EXPECT_FALSE(ZorAppend(mute, log, "x", 1, &error));
  EXPECT_EQ(error, EIO);
  mute.Close(log);
  // The real layer's read of a folder fails with the system's errno.
  std::filesystem::create_directory("folder");
  EXPECT_FALSE(ZorReadFile(ZorFileLayer::Real(), "folder", out, &error));
  EXPECT_EQ(error, EISDIR);
}

TEST(FileLayerAppend, ALineIsHandedOverAtOnceOrItsFaultIsReported) {
  TrickleDisk disk;
  FILE* log = disk.Open("append.log", "a");
  ASSERT_NE(log, nullptr);
  int error = 0;
  ASSERT_TRUE(ZorAppend(disk, log, "one\n", 4, &error));
  // Readable before the file is closed: the line did not wait in a buffer.
  EXPECT_EQ(zortest::ReadFile("append.log"), "one\n");
  EXPECT_EQ(error, 0);

  disk.writeError = ENOSPC;
  EXPECT_FALSE(ZorAppend(disk, log, "two\n", 4, &error));
  EXPECT_EQ(error, ENOSPC);
  EXPECT_EQ(disk.flushes, 2) << "a failed write is flushed too";
  disk.writeError = 0;
  disk.flushError = EIO;
  error = 0;
  EXPECT_FALSE(ZorAppend(disk, log, "three\n", 6, &error));
  EXPECT_EQ(error, EIO);
  // No file at all.
  error = 0;
  EXPECT_FALSE(ZorAppend(disk, nullptr, "x", 1, &error));
  EXPECT_EQ(error, EBADF);
  disk.Close(log);
}

TEST(FileLayerAppend, AFullDiskFailsTheAppendOfTheRealLayer) {
  zortest::WriteFile("full.log", std::string(512, 'x'));
  FILE* log = ZorFileLayer::Real().Open("full.log", "a");
  ASSERT_NE(log, nullptr);
  int error = 0;
  {
    zortest::DiskLimit full(512);
    EXPECT_FALSE(ZorAppend(ZorFileLayer::Real(), log, "more\n", 5, &error));
  }
  EXPECT_EQ(error, EFBIG);
  ZorFileLayer::Real().Close(log);
}

TEST(FileLayerBackground, FinishedTellsWhenWaitReturnsAtOnce) {
  ZorBackgroundWrite writer;
  EXPECT_FALSE(writer.Started());
  writer.Start(ZorFileLayer::Real(), {"done.bin"}, {"bytes"});
  EXPECT_TRUE(writer.Started());
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!writer.Finished() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(writer.Finished());
  EXPECT_EQ(zortest::ReadFile("done.bin"), "bytes") << "finished means on the disk";
  EXPECT_TRUE(writer.Wait());
  EXPECT_FALSE(writer.Started());
  // A new set is not finished before its worker is done with it.
  struct Held : ZorFileLayer {
    size_t Write(const void* data, size_t size, FILE* file) override {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      return ZorFileLayer::Write(data, size, file);
    }
  } slow;
  writer.Start(slow, {"done.bin"}, {"again"});
  EXPECT_FALSE(writer.Finished());
  EXPECT_TRUE(writer.Wait());
  EXPECT_TRUE(writer.Finished());
}
