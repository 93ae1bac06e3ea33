#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "gfx_test_util.h"

using gfxtest::AddArchive;
using gfxtest::WriteBytes;
using zorgen::Bytes;

namespace {

Bytes Blob(const char* text) { return Bytes(text, text + std::strlen(text) + 1); }

std::string Log() {
  CloseErrorLog();
  return zortest::ReadFile("errors.log");
}

// A hand-made archive: header, then the given directory entries (id,
// offset, length), with `fileSize` bytes in all.
Bytes RawArchive(uint32_t count, uint32_t dirOffset, const std::vector<std::array<uint32_t, 3>>& entries,
                 size_t fileSize) {
  Bytes b(std::max<size_t>(fileSize, 44), 0);
  std::memcpy(b.data(), "DATA", 4);
  qno_wr32(b.data(), 4, count);
  qno_wr32(b.data(), 8, dirOffset);
  for (size_t i = 0; i < entries.size(); ++i)
    for (int k = 0; k < 3; ++k) qno_wr32(b.data(), static_cast<uint32_t>(dirOffset + 12 * i + 4 * k), entries[i][k]);
  return b;
}

}  // namespace

TEST(ResourceArchive, LaterArchiveOverridesEarlierForTheSameId) {
  QnoResourceManager m;
  AddArchive(m, "a.gla", {{10, Blob("main")}, {11, Blob("only main")}});
  AddArchive(m, "b.gla", {{10, Blob("update")}});
  EXPECT_STREQ(static_cast<char*>(m.GetResource(10)), "update");
  EXPECT_STREQ(static_cast<char*>(m.GetResource(11)), "only main");
  EXPECT_EQ(m.GetResourceLength(10), 7u);
  // Served from memory the second time: the same pointer.
  EXPECT_EQ(m.GetResource(10), m.GetResource(10));
}

TEST(ResourceArchive, LoadedBlobKeepsItsOwnLengthWhenAnUpdateListsAnother) {
  QnoResourceManager m;
  AddArchive(m, "a.gla", {{10, Blob("ab")}});
  ASSERT_NE(m.GetResource(10), nullptr);
  AddArchive(m, "b.gla", {{10, Blob("a much longer blob")}});
  EXPECT_STREQ(static_cast<char*>(m.GetResource(10)), "ab");
  EXPECT_EQ(m.GetResourceLength(10), 3u);
}

// Pointers into blobs kept elsewhere are good while the generation stands:
// it moves when blobs may go or missing ones may come, and no two managers
// share one.
TEST(ResourceArchive, GenerationMovesWhenBlobsMayGoOrComeAndDiffersBetweenManagers) {
  QnoResourceManager m, other;
  EXPECT_NE(m.Generation(), other.Generation());
  const uint32_t empty = m.Generation();
  AddArchive(m, "a.gla", {{10, Blob("main")}});
  const uint32_t opened = m.Generation();
  EXPECT_NE(opened, empty);
  // Loading and reading blobs leaves what was handed out in place.
  ASSERT_NE(m.GetResource(10), nullptr);
  EXPECT_EQ(m.GetResource(11), nullptr);
  EXPECT_EQ(m.Generation(), opened);
  // A refused archive adds nothing either.
  EXPECT_NE(m.AddWadFile("no such archive.gla"), 0);
  EXPECT_EQ(m.Generation(), opened);
  AddArchive(m, "b.gla", {{11, Blob("update")}});
  const uint32_t updated = m.Generation();
  EXPECT_NE(updated, opened);
  m.Clear();
  EXPECT_NE(m.Generation(), updated);
  EXPECT_NE(m.Generation(), other.Generation());
}

TEST(ResourceArchive, MissingEmptyAndSurplusArchivesAreReported) {
  OpenErrorLog("errors.log");
  QnoResourceManager m;
  EXPECT_EQ(m.AddWadFile(nullptr), 1);
  EXPECT_EQ(m.AddWadFile(""), 1);
  EXPECT_EQ(m.AddWadFile("nowhere.gla"), 1);
  // An archive with no entries is valid.
  for (int i = 0; i < 5; ++i) AddArchive(m, "empty" + std::to_string(i) + ".gla", {});
  EXPECT_EQ(m.AddWadFile("empty0.gla"), 1);
  EXPECT_EQ(m.GetResource(1), nullptr);
  const std::string log = Log();
  EXPECT_NE(log.find("Wad File konnte nicht geöffnet werden!"), std::string::npos);
  EXPECT_NE(log.find("Wad File not found/couldnt open for rb !"), std::string::npos);
  EXPECT_NE(log.find("No empty entry for Wad File left!"), std::string::npos);
  EXPECT_NE(log.find("File DirEinträge: 0"), std::string::npos);
}

TEST(ResourceArchive, BrokenHeadersFailTheArchiveInsteadOfReportingSuccess) {
  QnoResourceManager m;
  WriteBytes("short.gla", Bytes(20, 'D'));
  EXPECT_EQ(m.AddWadFile("short.gla"), 1);
  Bytes wrong = RawArchive(0, 44, {}, 44);
  std::memcpy(wrong.data(), "DATB", 4);
  WriteBytes("magic.gla", wrong);
  EXPECT_EQ(m.AddWadFile("magic.gla"), 1);
  // A directory that runs past the end of the file.
  WriteBytes("dir.gla", RawArchive(1000, 44, {}, 100));
  EXPECT_EQ(m.AddWadFile("dir.gla"), 1);
  WriteBytes("far.gla", RawArchive(1, 0xFFFFFFF0u, {}, 44));
  EXPECT_EQ(m.AddWadFile("far.gla"), 1);
  // An id beyond the table.
  WriteBytes("id.gla", RawArchive(1, 44, {{{60000, 44, 4}}}, 60));
  EXPECT_EQ(m.AddWadFile("id.gla"), 1);
  // The failed archives took no slot: five good ones still fit.
  for (int i = 0; i < 5; ++i) AddArchive(m, "ok" + std::to_string(i) + ".gla", {});
}

TEST(ResourceArchive, EntriesOutsideTheFileOrOfLengthZeroAreMissing) {
  OpenErrorLog("errors.log");
  QnoResourceManager m;
  // entry 5 fine, entry 6 points past the end, entry 7 has length 0
  Bytes b = RawArchive(3, 48, {{{5, 44, 4}, {6, 44, 1000}, {7, 44, 0}}}, 48 + 36);
  std::memcpy(b.data() + 44, "abc", 4);
  WriteBytes("mixed.gla", b);
  ASSERT_EQ(m.AddWadFile("mixed.gla"), 0);
  EXPECT_STREQ(static_cast<char*>(m.GetResource(5)), "abc");
  EXPECT_EQ(m.GetResource(6), nullptr);
  EXPECT_EQ(m.GetResourceLength(6), 0u);
  EXPECT_EQ(m.GetResource(7), nullptr);
  EXPECT_EQ(m.GetResource(0), nullptr);
  EXPECT_EQ(m.GetResource(59999), nullptr);
  EXPECT_EQ(m.GetResource(60000), nullptr);
  const std::string log = Log();
  // Each line names the id it is about.
  for (const char* line : {"Resourceslot hat falsche ID/Länge/! (Resource 6)\n",
                           "Resourceslot hat falsche ID/Länge/! (Resource 7)\n",
                           "Resourceslot hat falsche ID/Länge/! (Resource 0)\n",
                           "Resourceslot hat falsche ID/Länge/! (Resource 59999)\n",
                           "Resource nicht in den WadFiles vorhanden! (Resource 60000)\n"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  EXPECT_EQ(log.find("(Resource 5)"), std::string::npos) << "a resource that loads is not reported";
}

TEST(ResourceArchive, ValidatedFetchTreatsADamagedBlobAsMissing) {
  OpenErrorLog("errors.log");
  QnoResourceManager m;
  Bytes picture = zorgen::WriteQbmp16(gfxtest::Solid(4, 4, 0x1234), zorgen::KEY_565, false);
  Bytes cut(picture.begin(), picture.begin() + 40);
  AddArchive(m, "p.gla", {{1, picture}, {2, cut}, {3, Blob("not a picture")}});
  EXPECT_NE(QnoBitmap::FromResource(&m, 1), nullptr);
  EXPECT_EQ(QnoBitmap::FromResource(&m, 2), nullptr);
  EXPECT_EQ(QnoBitmap::FromResource(&m, 3), nullptr);
  EXPECT_EQ(QnoBitmap::FromResource(&m, 4), nullptr);
  // The raw blob is still there for a reader of another kind.
  EXPECT_NE(m.GetResource(3), nullptr);
  EXPECT_NE(Log().find("Resource 2 is damaged"), std::string::npos);
}

TEST(ResourceArchive, AMissingResourceIsLoggedOnceHoweverOftenItIsAskedFor) {
  OpenErrorLog("errors.log");
  QnoResourceManager m;
  // An archive with an empty directory: every id is missing.
  WriteBytes("empty.gla", RawArchive(0, 44, {}, 44));
  ASSERT_EQ(m.AddWadFile("empty.gla"), 0);
  for (int i = 0; i < 16385; ++i) ASSERT_EQ(m.GetResource(44316), nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(m.GetResource(44317), nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(m.GetResource(70000), nullptr);
  const std::string log = Log();
  auto count = [&](const std::string& line) {
    size_t n = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("Resourceslot hat falsche ID/Länge/!"), 2u) << "once for each of the two ids";
  EXPECT_EQ(count("Resourceslot hat falsche ID/Länge/! (Resource 44316)"), 1u);
  EXPECT_EQ(count("Resourceslot hat falsche ID/Länge/! (Resource 44317)"), 1u);
  EXPECT_EQ(count("Resource nicht in den WadFiles vorhanden!"), 1u);
}

TEST(ResourcePaths, OneSlashBetweenDirectoryAndName) {
  char out[64];
  EXPECT_STREQ(QnoMakeValidPathname("data", "ZORVANTA", ".GLA", out, sizeof out), "data/ZORVANTA.GLA");
  EXPECT_STREQ(QnoMakeValidPathname("data/", "ZORVANTA", ".GLA", out, sizeof out), "data/ZORVANTA.GLA");
  EXPECT_STREQ(QnoMakeValidPathname("data\\", "X", nullptr, out, sizeof out), "data\\X");
  EXPECT_STREQ(QnoMakeValidPathname("", "X", ".BIN", out, sizeof out), "X.BIN");
  EXPECT_STREQ(QnoMakeValidPathname(nullptr, "X", ".BIN", out, sizeof out), "X.BIN");
  char tiny[8];
  EXPECT_STREQ(QnoMakeValidPathname("directory", "X", ".BIN", tiny, sizeof tiny), "directo");
}

// Emptied, a manager is as new: every archive slot free, no id served, no
// verdict or report remembered; an archive can also come from memory.
TEST(ResourceArchive, ClearForgetsArchivesBlobsAndVerdicts) {
  QnoResourceManager m;
  for (int i = 0; i < 5; ++i) AddArchive(m, std::to_string(i) + ".gla", {{10, Blob("one")}, {20, Bytes{1, 2}}});
  ASSERT_NE(m.GetResource(10), nullptr);
  EXPECT_EQ(m.GetResource(20, &QnoValidateText), nullptr);
  EXPECT_EQ(m.GetResource(30), nullptr);
  m.Clear();
  EXPECT_EQ(m.GetResource(10), nullptr);
  EXPECT_EQ(m.GetResourceLength(10), 0u);
  static Bytes bytes = [] {
    zorgen::GlaWriter w;
    w.Add(20, Blob("now text"));
    w.Add(30, Blob("found"));
    EXPECT_TRUE(w.WriteFile("mem.gla"));
    const std::string s = zortest::ReadFile("mem.gla");
    return Bytes(s.begin(), s.end());
  }();
  FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(m.AddWadStream(stream), 0);  // a free archive slot again
  EXPECT_EQ(m.GetResource(10), nullptr);
  EXPECT_STREQ(static_cast<const char*>(m.GetResource(20, &QnoValidateText)), "now text");
  EXPECT_STREQ(static_cast<const char*>(m.GetResource(30)), "found");
  m.Clear();
  EXPECT_EQ(m.GetResource(30), nullptr);
}

TEST(ResourceArchive, TrackingNotesAskedAndMissingIdsOnlyWhileOn) {
  QnoResourceManager m;
  AddArchive(m, "a.gla", {{10, Blob("ten")}, {11, Blob("no terminator")}});
  m.GetResource(12);  // before tracking: not noted
  m.TrackRequests(true);
  EXPECT_NE(m.GetResource(10), nullptr);
  EXPECT_NE(m.GetResource(10), nullptr);  // asked twice, noted once
  EXPECT_EQ(m.GetResource(12), nullptr);
  EXPECT_EQ(m.GetResource(QNO_MAX_RESOURCES), nullptr);
  // A blob that fails its check counts as missing, though it was read.
  EXPECT_EQ(m.GetResource(11, [](const uint8_t*, uint32_t) { return false; }), nullptr);
  m.TrackRequests(false);
  m.GetResource(13);
  EXPECT_EQ(m.RequestedIds(), (std::set<uint32_t>{10, 11, 12, QNO_MAX_RESOURCES}));
  EXPECT_EQ(m.MissingIds(), (std::set<uint32_t>{11, 12, QNO_MAX_RESOURCES}));
  m.Clear();
  EXPECT_TRUE(m.RequestedIds().empty());
  EXPECT_TRUE(m.MissingIds().empty());
  m.GetResource(10);
  EXPECT_TRUE(m.RequestedIds().empty());  // tracking ends with Clear
}
