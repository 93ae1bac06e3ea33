// The map's blob layouts: what the generator's writers produce reads back
// field for field, and damaged or foreign blobs are refused or read safely.
#include <gtest/gtest.h>

#include "framework/qno_bytes.h"
#include "framework/qno_resource.h"
#include "iso/iso_blob.h"
#include "support/test_support.h"
#include "writers/iso_writers.h"

namespace {

using zorgen::Bytes;

zorgen::IsoTileContent ThreeLayerTile() {
  zorgen::IsoTileContent t(3);
  for (int zoom = 0; zoom < 3; ++zoom)
    for (int rot = 0; rot < 4; ++rot)
      for (int layer = 0; layer < 3; ++layer) {
        zorgen::IsoTileLayer& e = t.At(zoom, rot, layer);
        e.spriteId = 1000 + zoom * 100 + rot * 10 + layer;
        e.z = static_cast<uint8_t>(layer == 2 ? 6 : layer * 5);
        e.x = static_cast<int16_t>(-3 - rot);
        e.y = static_cast<int16_t>(layer * 7 - 2);
        e.dataId = layer == 0 ? 70000u + zoom * 4 + rot : 0;
      }
  return t;
}

}  // namespace

TEST(IsoTileBlob, WrittenEntriesReadBackByZoomRotationAndLayer) {
  const Bytes b = zorgen::WriteIsoTile(ThreeLayerTile());
  ASSERT_EQ(b.size(), ISO_TILE_HEADER_SIZE + 3u * 12 * ISO_TILE_ENTRY_SIZE);
  ASSERT_TRUE(ValidateIsoTile(b.data(), static_cast<uint32_t>(b.size())));
  const IsoTileBlob tile(b.data(), static_cast<uint32_t>(b.size()));
  EXPECT_EQ(tile.HighestLayer(), 2);
  EXPECT_EQ(tile.EntriesPerZoom(), 12);
  // The index runs zoom-major, then rotation, then layer.
  EXPECT_EQ(tile.EntryIndex(2, 3, 1), 2 * 12 + 3 * 3 + 1);
  for (int zoom = 0; zoom < 3; ++zoom)
    for (int rot = 0; rot < 4; ++rot)
      for (int layer = 0; layer < 3; ++layer) {
        const IsoTileEntry e = tile.Entry(zoom, rot, layer);
        EXPECT_EQ(e.spriteId, 1000u + zoom * 100 + rot * 10 + layer);
        EXPECT_EQ(e.z, layer == 2 ? 6 : layer * 5);
        EXPECT_EQ(e.x, -3 - rot);  // signed offsets survive
        EXPECT_EQ(e.y, layer * 7 - 2);
        EXPECT_EQ(e.dataId, layer == 0 ? 70000u + zoom * 4 + rot : 0u);
      }
}

TEST(IsoTileBlob, LookupsOutsideTheTableGiveTheEmptyEntry) {
  const Bytes b = zorgen::WriteIsoTile(ThreeLayerTile());
  const IsoTileBlob tile(b.data(), static_cast<uint32_t>(b.size()));
  for (auto [zoom, rot, layer] : {std::array{3, 0, 0}, {-1, 0, 0}, {0, 4, 0}, {0, -1, 0}, {0, 0, 3}, {0, 0, -1}}) {
    EXPECT_EQ(tile.EntryIndex(zoom, rot, layer), -1) << zoom << rot << layer;
    EXPECT_EQ(tile.Entry(zoom, rot, layer).spriteId, 0u);
  }
  // A view over a cut blob never reads past its end.
  const IsoTileBlob cut(b.data(), ISO_TILE_HEADER_SIZE + ISO_TILE_ENTRY_SIZE);
  EXPECT_EQ(cut.Entry(0, 0, 0).spriteId, 1000u);
  EXPECT_EQ(cut.Entry(0, 0, 1).spriteId, 0u);
  EXPECT_EQ(IsoTileBlob().Entry(0, 0, 0).spriteId, 0u);
}

TEST(IsoTileBlob, ValidatorRefusesShortBlobsAndLayerCountsThatReachAnotherRotation) {
  Bytes b = zorgen::WriteIsoTile(ThreeLayerTile());
  const uint32_t n = static_cast<uint32_t>(b.size());
  EXPECT_FALSE(ValidateIsoTile(b.data(), n - 1));
  EXPECT_FALSE(ValidateIsoTile(b.data(), ISO_TILE_HEADER_SIZE - 1));
  EXPECT_FALSE(ValidateIsoTile(nullptr, n));
  Bytes e = b;
  e[ISO_TILE_AT_ENTRIES_PER_ZOOM] = 0;
  EXPECT_FALSE(ValidateIsoTile(e.data(), n));
  e[ISO_TILE_AT_ENTRIES_PER_ZOOM] = 10;  // not a multiple of 4
  EXPECT_FALSE(ValidateIsoTile(e.data(), n));
  // L = 3 with E/4 = 3 would let layer 3 address the next rotation's entry
  // and, in the last rotation of zoom 2, the bytes after the table.
  Bytes l = b;
  l[ISO_TILE_AT_HIGHEST_LAYER] = 3;
  EXPECT_FALSE(ValidateIsoTile(l.data(), n));
  // Fewer layers than room is fine: the spare entries are never drawn.
  l[ISO_TILE_AT_HIGHEST_LAYER] = 0;
  EXPECT_TRUE(ValidateIsoTile(l.data(), n));
  EXPECT_EQ(IsoTileBlob(l.data(), n).EntryIndex(0, 0, 1), -1);
  // A larger E than the blob holds.
  Bytes big = b;
  big[ISO_TILE_AT_ENTRIES_PER_ZOOM] = 16;
  EXPECT_FALSE(ValidateIsoTile(big.data(), n));
}

TEST(IsoTileWriter, RefusesLayerCountsTheHeaderCannotHold) {
  EXPECT_TRUE(zorgen::WriteIsoTile(zorgen::IsoTileContent(0)).empty());
  EXPECT_TRUE(zorgen::WriteIsoTile(zorgen::IsoTileContent(64)).empty());
  zorgen::IsoTileContent shortTable(2);
  shortTable.layers.pop_back();
  EXPECT_TRUE(zorgen::WriteIsoTile(shortTable).empty());
  const Bytes most = zorgen::WriteIsoTile(zorgen::IsoTileContent(63));
  ASSERT_FALSE(most.empty());
  EXPECT_TRUE(ValidateIsoTile(most.data(), static_cast<uint32_t>(most.size())));
}

TEST(IsoGroupBlob, WrittenSizeLayoutsAndPartsReadBack) {
  zorgen::IsoGroupContent g;
  g.width = 3;
  g.depth = 2;
  for (int z = 0; z < 2; ++z)
    for (int r = 0; r < 4; ++r) g.microLayouts[z][r] = 500u + z * 4 + r;
  for (uint32_t y = 0; y < 2; ++y)
    for (uint32_t x = 0; x < 3; ++x) g.entries.push_back({x, y, 0, 9000 + y * 3 + x});
  g.entries.push_back({1, 1, 1, 9999});
  const Bytes b = zorgen::WriteIsoGroup(g);
  ASSERT_EQ(b.size(), ISO_GROUP_HEADER_SIZE + 7u * ISO_GROUP_ENTRY_SIZE);
  ASSERT_TRUE(ValidateIsoGroup(b.data(), static_cast<uint32_t>(b.size())));
  const IsoGroupBlob group(b.data(), static_cast<uint32_t>(b.size()));
  EXPECT_EQ(group.Width(), 3u);
  EXPECT_EQ(group.Depth(), 2u);
  EXPECT_EQ(group.MicroLayoutId(0, 0), 500u);
  EXPECT_EQ(group.MicroLayoutId(1, 3), 507u);
  EXPECT_EQ(group.MicroLayoutId(2, 0), 0u);  // the farthest zoom has no layouts
  EXPECT_EQ(group.MicroLayoutId(0, 4), 0u);
  EXPECT_EQ(group.PartCount(), 7u);
  EXPECT_EQ(group.FindObject(2, 1, 0), 9005);
  EXPECT_EQ(group.FindObject(1, 1, 1), 9999);
  EXPECT_EQ(group.FindObject(3, 0, 0), -1);  // not listed
  EXPECT_EQ(group.FindObject(0, 0, 1), -1);  // listed only in layer 0
  EXPECT_EQ(group.Part(6).tileId, 9999u);
  EXPECT_EQ(group.Part(7).tileId, 0u);
}

TEST(IsoGroupBlob, ValidatorBoundsTheCountAndTheSizeAndReadsStayInsideCutBlobs) {
  zorgen::IsoGroupContent g;
  g.width = 128;
  g.depth = 1;
  g.entries = {{0, 0, 0, 7}, {1, 0, 0, 8}};
  Bytes b = zorgen::WriteIsoGroup(g);
  const uint32_t n = static_cast<uint32_t>(b.size());
  EXPECT_TRUE(ValidateIsoGroup(b.data(), n));
  EXPECT_FALSE(ValidateIsoGroup(b.data(), n - 1));
  Bytes wide = b;
  qno_wr32(wide.data(), ISO_GROUP_AT_WIDTH, 129);
  EXPECT_FALSE(ValidateIsoGroup(wide.data(), n));
  Bytes deep = b;
  qno_wr32(deep.data(), ISO_GROUP_AT_DEPTH, 0xFFFFFFFF);
  EXPECT_FALSE(ValidateIsoGroup(deep.data(), n));
  Bytes many = b;
  qno_wr32(many.data(), ISO_GROUP_AT_COUNT, 256);
  many.resize(ISO_GROUP_HEADER_SIZE + 256 * ISO_GROUP_ENTRY_SIZE);
  EXPECT_FALSE(ValidateIsoGroup(many.data(), static_cast<uint32_t>(many.size())));
  // An unvalidated view of a blob that claims more entries than it holds.
  Bytes liar = b;
  qno_wr32(liar.data(), ISO_GROUP_AT_COUNT, 200);
  const IsoGroupBlob view(liar.data(), n);
  EXPECT_EQ(view.PartCount(), 2u);
  EXPECT_EQ(view.FindObject(1, 0, 0), 8);
  EXPECT_EQ(IsoGroupBlob(b.data(), 10).Width(), 128u);
  EXPECT_EQ(IsoGroupBlob(b.data(), 10).Depth(), 0u);  // its bytes 8..11 are cut

  zorgen::IsoGroupContent tooMany;
  tooMany.entries.resize(256);
  EXPECT_TRUE(zorgen::WriteIsoGroup(tooMany).empty());
  tooMany.entries.resize(255);
  const Bytes most = zorgen::WriteIsoGroup(tooMany);
  EXPECT_TRUE(ValidateIsoGroup(most.data(), static_cast<uint32_t>(most.size())));
}

TEST(MicroLayoutBlob, WrittenCellsReadBackWithTheirLinks) {
  zorgen::MicroLayoutContent m;
  m.firstRender = 2;
  zorgen::MicroCellContent a;
  a.id = 1;
  a.laneKind = 4;
  a.x = -12;
  a.y = 5;
  a.successors[0] = 2;
  a.successors[2] = 3;  // a gap in the slots still counts both
  a.conflicts[1] = 9;
  a.nextRender = 3;
  a.locked = 1;
  zorgen::MicroCellContent b;
  b.id = 2;
  b.laneKind = 99;
  b.predecessor = 1;
  b.nextRender = 1;
  m.cells = {a, b};
  const Bytes blob = zorgen::WriteMicroLayout(m);
  ASSERT_EQ(blob.size(), MICR_HEADER_SIZE + 2 * MICR_CELL_SIZE);
  ASSERT_TRUE(ValidateMicroLayout(blob.data(), static_cast<uint32_t>(blob.size())));
  const MicroLayoutBlob layout(blob.data(), static_cast<uint32_t>(blob.size()));
  EXPECT_EQ(layout.Version(), MICR_VERSION);
  EXPECT_EQ(layout.CellCount(), 2u);
  EXPECT_EQ(layout.FirstRenderId(), 2u);
  const MicroCell c0 = layout.Cell(0);
  EXPECT_EQ(c0.id, 1);
  EXPECT_EQ(c0.laneKind, 4);
  EXPECT_TRUE(MicroLaneIsOuter(c0.laneKind));
  EXPECT_EQ(c0.x, -12);
  EXPECT_EQ(c0.y, 5);
  EXPECT_EQ(c0.successors[0], 2u);
  EXPECT_EQ(c0.successors[1], 0u);
  EXPECT_EQ(c0.successors[2], 3u);
  EXPECT_EQ(c0.conflicts[1], 9u);
  EXPECT_EQ(c0.nextRender, 3u);
  EXPECT_EQ(c0.locked, 1);
  EXPECT_EQ(c0.successorCount, 2);
  const MicroCell c1 = layout.Cell(1);
  EXPECT_EQ(c1.predecessor, 1u);
  EXPECT_EQ(c1.successorCount, 0);
  EXPECT_FALSE(MicroLaneIsOuter(c1.laneKind));
  EXPECT_EQ(layout.Cell(2).id, 0);
}

TEST(MicroLayoutBlob, OnlyTheLowByteOfTheCountCountsAndForeignBlobsAreRefused) {
  zorgen::MicroLayoutContent m;
  m.cells.resize(3);
  for (size_t i = 0; i < m.cells.size(); ++i) m.cells[i].id = static_cast<uint16_t>(i + 1);
  Bytes b = zorgen::WriteMicroLayout(m);
  const uint32_t n = static_cast<uint32_t>(b.size());
  // 0x103 cells by the whole word, 3 by the low byte.
  qno_wr32(b.data(), MICR_AT_COUNT, 0x103);
  EXPECT_TRUE(ValidateMicroLayout(b.data(), n));
  EXPECT_EQ(MicroLayoutBlob(b.data(), n).CellCount(), 3u);
  EXPECT_FALSE(ValidateMicroLayout(b.data(), n - 1));
  Bytes magic = b;
  magic[0] = 'm';
  EXPECT_FALSE(ValidateMicroLayout(magic.data(), n));
  Bytes version = b;
  qno_wr16(version.data(), MICR_AT_VERSION, 12);
  EXPECT_FALSE(ValidateMicroLayout(version.data(), n));
  // Stored successor counts are passed on as they are, even impossible ones.
  Bytes count = b;
  count[MICR_HEADER_SIZE + MICR_CELL_AT_SUCCESSOR_COUNT] = 7;
  EXPECT_EQ(MicroLayoutBlob(count.data(), n).Cell(0).successorCount, 7);
  // A cut blob shows only the whole cells it holds; the cut one reads empty,
  // nothing past the blob's end read.
  const Bytes cut(b.begin(), b.begin() + MICR_HEADER_SIZE + MICR_CELL_SIZE + 50);
  const MicroLayoutBlob cutLayout(cut.data(), static_cast<uint32_t>(cut.size()));
  EXPECT_EQ(cutLayout.CellCount(), 1u);
  EXPECT_EQ(cutLayout.Cell(0).id, 1);
  EXPECT_EQ(cutLayout.Cell(1).id, 0);
  EXPECT_EQ(cutLayout.Cell(2).id, 0);

  zorgen::MicroLayoutContent tooMany;
  tooMany.cells.resize(256);
  EXPECT_TRUE(zorgen::WriteMicroLayout(tooMany).empty());
}

TEST(IsoBlobs, ResourceViewsReadThroughTheManagerAndTreatDamagedBlobsAsMissing) {
  zorgen::GlaWriter archive;
  archive.Add(10, zorgen::WriteIsoTile(ThreeLayerTile()));
  zorgen::IsoGroupContent g;
  g.entries = {{0, 0, 0, 10}};
  archive.Add(11, zorgen::WriteIsoGroup(g));
  zorgen::MicroLayoutContent m;
  m.cells.resize(1);
  archive.Add(12, zorgen::WriteMicroLayout(m));
  Bytes cut = zorgen::WriteIsoTile(ThreeLayerTile());
  cut.resize(cut.size() - 4);
  archive.Add(13, cut);
  ASSERT_TRUE(archive.WriteFile("iso.gla"));
  QnoResourceManager manager;
  ASSERT_EQ(manager.AddWadFile("iso.gla"), 0);
  EXPECT_EQ(IsoTileBlob::FromResource(&manager, 10).Entry(1, 2, 0).spriteId, 1120u);
  EXPECT_EQ(IsoGroupBlob::FromResource(&manager, 11).FindObject(0, 0, 0), 10);
  EXPECT_EQ(MicroLayoutBlob::FromResource(&manager, 12).CellCount(), 1u);
  EXPECT_TRUE(IsoTileBlob::FromResource(&manager, 13).Empty());
  EXPECT_TRUE(IsoTileBlob::FromResource(&manager, 99).Empty());
  EXPECT_TRUE(IsoGroupBlob::FromResource(nullptr, 11).Empty());
}
