#include <gtest/gtest.h>

#include <memory>

#include "measures/preise.h"

TEST(Preise, EveryEntryHasItsPricesByClass) {
  std::unique_ptr<CPreise> prices(CPreise::SetPreise());
  EXPECT_EQ(CPreise::GetPreis(5, 2), 2500.0);
  EXPECT_EQ(CPreise::GetPreis(32, 0), 2750000.0);
  EXPECT_EQ(CPreise::GetPreis(16, 2), 0.0);
  EXPECT_EQ(CPreise::GetPreis(16, 1), 2000000.0);
  // Entries without a removal price keep 0.
  EXPECT_EQ(CPreise::GetPreis(11, 1), 0.0);
  EXPECT_NEAR(CPreise::GetPreis(43, 2), 337500.0, 0.05);
  // Every entry has a building price.
  for (int e = 0; e < CPreise::kEntries; ++e) EXPECT_GT(CPreise::GetPreis(e, 0), 0.0) << e;
  // Outside the table: 0.
  EXPECT_EQ(CPreise::GetPreis(44, 0), 0.0);
  EXPECT_EQ(CPreise::GetPreis(-1, 0), 0.0);
  EXPECT_EQ(CPreise::GetPreis(5, 3), 0.0);
  EXPECT_EQ(CPreise::GetPreis(5, -1), 0.0);
}
