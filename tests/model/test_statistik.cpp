// The statistics: recording every fourth hour into the newest of 30
// slots, the modal split shown by kilometres or trips, paging, labels in
// both languages, and the savegame record in its current and older forms.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/zor_list.h"
#include "model/data_exchange.h"
#include "model/statistik.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"

namespace {

struct CityContext : CGrowthContext {
  CSimCityModell* city = nullptr;
  CSimCityModell* City() override { return city; }
};

struct Stats : testing::Test {
  CDataExchange dx;
  CStatistik st;
  void SetUp() override { st.Attach(&dx, nullptr); }
  STime At(int year, int hour) { return STime{hour, 1, year, static_cast<float>(year)}; }
  std::string Saved() {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    EXPECT_EQ(st.SerializeGameStore(out), 0);
    std::fclose(out);
    std::string bytes(buffer, size);
    std::free(buffer);
    return bytes;
  }
  // Loads a payload as the container hands it over, as a savegame of the
  // version; the result.
  static int Load(CStatistik& into, const std::string& payload, int version) {
    const int kept = g_ZorLoadVersion;
    g_ZorLoadVersion = version;
    FILE* in = fmemopen(const_cast<char*>(payload.data()), payload.size(), "rb");
    const int r = into.SerializeGameLoad(in, static_cast<int>(payload.size()));
    std::fclose(in);
    g_ZorLoadVersion = kept;
    return r;
  }
};

TEST_F(Stats, ARecordingShiftsTheSlotsAndKeepsTheNewestToAThousandth) {
  dx.SetPeople(12345);
  st.OnPlayloopTurn(At(1, 4), At(1, 3));
  EXPECT_EQ(st.GetSeries(0).werte[29], 12345.0);
  for (int k = 0; k < 29; ++k) {
    EXPECT_EQ(st.GetSeries(0).werte[k], 0.0) << k;
    EXPECT_EQ(st.GetTime(k).year, 0) << k;
  }
  EXPECT_EQ(st.GetTime(29).hour, 4);
  // Without a city, no kilometres per person.
  EXPECT_EQ(st.GetSeries(15).werte[29], 0.0);
  EXPECT_EQ(st.GetSeries(25).werte[29], 0.0);
  dx.SetPeople(7);
  st.OnPlayloopTurn(At(1, 8), At(1, 4));
  EXPECT_EQ(st.GetSeries(0).werte[28], 12345.0);
  EXPECT_EQ(st.GetSeries(0).werte[29], 7.0);
  EXPECT_EQ(st.GetTime(28).hour, 4);
  // The finances write into the newest slot without shifting.
  st.UpdateWerte_Finanzen(At(1, 8));
  EXPECT_EQ(st.GetSeries(0).werte[29], 7.0);
}

TEST_F(Stats, TheModalSplitIsShownByKilometresOrByTripsWithItsLabels) {
  CSimLocationFactory factory;
  CSimWelt world{nullptr};
  CSimCityModell city;
  ASSERT_TRUE(city.Create(&factory, &world));
  CityContext context;
  context.city = &city;
  dx.SetGrowthContext(&context);
  st.OnPlayloopTurn(At(1, 4), At(1, 3));
  EXPECT_TRUE(st.IsKm());
  EXPECT_STREQ(st.GetSeries(28).unit, "%");
  st.Toggle(79);
  EXPECT_FALSE(st.IsKm());
  EXPECT_STREQ(st.GetSeries(28).unit, "% der Wege");
  EXPECT_STREQ(st.GetSeries(31).name, st.GetSeries(78).name);
  st.Toggle(79);
  EXPECT_STREQ(st.GetSeries(28).unit, "% der Km");
  // A language switch gives every series its own label again.
  st.ChangeLanguage(1);
  EXPECT_STREQ(st.GetSeries(28).name, "Passenger car drivers");
  EXPECT_STREQ(st.GetSeries(75).unit, "% of trips");
  EXPECT_STREQ(st.GetSeries(0).name, "Inhabitants");
  // The value beside the newest point: "23,609" would read as thousands in English.
  char text[32];
  const struct { double v; int language; const char* shown; } kValues[] = {
      {23.609, 0, "23,609"}, {23.609, 1, "23.609"}, {-0.5, 1, "-0.500"}, {1234.0, 0, "1.234"}, {1234.0, 1, "1,234"}};
  for (const auto& c : kValues) {
    CStatistik::FormatValue(c.v, text, sizeof text, c.language);
    EXPECT_STREQ(text, c.shown) << c.v << " in language " << c.language;
  }
  city.Destroy();
}

TEST_F(Stats, PagingStopsAtTheNewestAndAtTheOldestRecording) {
  EXPECT_EQ(st.GetShownSlots(), 10);
  st.YearPlus();
  EXPECT_EQ(st.GetOffset(), 0);
  for (int i = 0; i < 40; ++i) st.YearMinus();
  EXPECT_EQ(st.GetOffset(), 20);
  st.YearMax(30);
  EXPECT_EQ(st.GetOffset(), 0);
  st.YearMax(5);
  for (int i = 0; i < 40; ++i) st.YearMinus();
  EXPECT_EQ(st.GetOffset(), 25);
  st.YearPlus();
  EXPECT_EQ(st.GetOffset(), 24);
  // Shown series are counted up to three.
  st.ChangeGruppe(5);
  st.GruppeAlleAn();
  EXPECT_EQ(st.GetActive(), 3);
  st.GruppeAlleAus();
  st.Toggle(44);
  EXPECT_EQ(st.GetActive(), 1);
  st.ZoomIn();
  st.ChangeGruppe(6);
  EXPECT_FALSE(st.IsZoom()) << "the money group is never zoomed";
}

TEST_F(Stats, TheRecordComesBackAlsoWithoutItsTrailingWordAndFromAnOlderForm) {
  dx.SetPeople(4321);
  st.OnPlayloopTurn(At(2, 4), At(2, 3));
  st.ChangeGruppe(3);
  st.Toggle(30);
  st.YearMax(5);
  st.YearMinus();
  const std::string bytes = Saved();
  uint32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, 32198u);
  ASSERT_EQ(bytes.size(), 4u + length);
  const std::string payload = bytes.substr(34);
  CStatistik back;
  ASSERT_EQ(Load(back, payload, 240), 0);
  EXPECT_EQ(back.GetSeries(0).werte[29], 4321.0);
  EXPECT_EQ(back.GetGruppe(), 3);
  EXPECT_EQ(back.GetOffset(), 1);
  EXPECT_EQ(back.GetShownSlots(), 5);
  EXPECT_EQ(back.GetSeries(30).shown, 1);
  EXPECT_EQ(back.GetTime(29).year, 2);
  CStatistik cut;
  ASSERT_EQ(Load(cut, payload.substr(0, CStatistik::kFieldBytes), 240), 0);
  EXPECT_EQ(cut.GetSeries(0).werte[29], 4321.0);

  // A view outside its ranges leaves the statistics as they were.
  std::string bad = payload;
  const int32_t group = 9;
  std::memcpy(bad.data() + 79 * 400, &group, 4);
  CStatistik untouched;
  EXPECT_EQ(Load(untouched, bad, 240), 1);
  EXPECT_EQ(untouched.GetSeries(0).werte[29], 0.0);
  EXPECT_EQ(Load(untouched, payload.substr(0, 1000), 240), 1) << "a record of another size";

  // The form of versions 140 to 199: 264-byte series with float values.
  std::string old(21420, '\0');
  const float people = 999.0f;
  std::memcpy(old.data() + 29 * 4, &people, 4);  // series 0, newest value
  const int32_t shown = 30, groupOld = 2;
  const size_t view = 79 * 264;
  std::memcpy(old.data() + view, &groupOld, 4);
  std::memcpy(old.data() + view + 4 + 56 + 4, &shown, 4);
  CStatistik older;
  ASSERT_EQ(Load(older, old, 150), 0);
  EXPECT_EQ(older.GetSeries(0).werte[29], 999.0);
  EXPECT_EQ(older.GetGruppe(), 2);
  EXPECT_EQ(older.GetShownSlots(), 30);
  EXPECT_STREQ(older.GetSeries(0).name, "Einwohner") << "labels come from the table";
  // A version-130 record of the short size is read over.
  CStatistik skipped;
  ASSERT_EQ(Load(skipped, std::string(19308, '\x11'), 130), 0);
  EXPECT_EQ(skipped.GetSeries(0).werte[0], 0.0);
}

}  // namespace
