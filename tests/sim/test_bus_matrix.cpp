#include <algorithm>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim_test_city.h"
#include "sim_test_locations.h"
#include "sim_work_dir.h"
#include "support/test_support.h"

using simtest::TestLines;

namespace {
constexpr int32_t kBus = LineDataType::kNetBus;
constexpr int32_t kNo = CBusNetMatrix::kNoConnection;

void Close(CBusNetMatrix& m) {
  m.Create();
  while (m.CalcBusNetMatrix(30, 100000)) {
  }
}

// The draws FindBusRoute will take after zor_srandom(seed).
std::pair<int, int> Draws(uint32_t seed) {
  zor_srandom(seed);
  const int r1 = zor_random() % 100;
  const int r2 = zor_random() % 100;
  zor_srandom(seed);
  return {r1, r2};
}

// All pairs by Floyd and Warshall over the links the lines give: rides in
// both directions, and at a shared stop the headway of the line boarded.
std::vector<std::vector<int>> ReferenceCosts(TestLines& lines) {
  struct S {
    int stop, headway;
  };
  std::vector<S> stops;
  std::vector<std::tuple<int, int, int>> links;
  lines.SimSetupLineDataCount();
  while (const LineDataType* d = lines.SimGetNextLineData()) {
    for (int s = 0; s < d->stopsOneWay; ++s) {
      const int n = static_cast<int>(stops.size());
      stops.push_back({d->stopIds[s], d->headway * 60});
      if (s > 0) {
        links.emplace_back(n - 1, n, d->times[s]);
        links.emplace_back(n, n - 1, d->times[s]);
      }
    }
  }
  const int m = static_cast<int>(stops.size());
  std::vector<std::vector<int>> c(m, std::vector<int>(m, kNo));
  for (int i = 0; i < m; ++i) {
    c[i][i] = 0;
    for (int j = 0; j < m; ++j)
      if (i != j && stops[i].stop == stops[j].stop) c[i][j] = stops[j].headway;
  }
  for (auto [a, b, t] : links) c[a][b] = std::min(c[a][b], t);
  for (int k = 0; k < m; ++k)
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < m; ++j)
        if (c[i][k] < kNo && c[k][j] < kNo && c[i][k] + c[k][j] < c[i][j]) c[i][j] = c[i][k] + c[k][j];
  return c;
}
}  // namespace

TEST(BusMatrix, OneLineAddsUpItsRidesAndWaitsUpToItsHeadway) {
  TestLines lines;
  lines.Add(kBus, 4, {11, 12, 13}, {0, 60, 90}, 10);
  CBusNetMatrix m(&lines);
  Close(m);
  ASSERT_EQ(m.NrOfMatrixStops(), 3);
  const auto [r1, r2] = Draws(21);
  CSimTrip trip;
  ASSERT_TRUE(m.FindBusRoute(11, 13, &trip, 100, false));
  EXPECT_TRUE(trip.TripValid());
  EXPECT_EQ(trip.Fahrzeit(), 150);
  EXPECT_EQ(trip.Zugangszeit(), 60);
  EXPECT_EQ(trip.Streckenlaenge(), 1500);
  EXPECT_EQ(trip.Umsteigezeit(), static_cast<int>(r2 / 99.0 * 600)) << r1;
  const CSimBusRoute back = m.Route(2, 0);
  EXPECT_EQ(back.cost, 150);
  EXPECT_EQ(back.rideTime, 150);
  EXPECT_EQ(back.transferTime, 0);
  EXPECT_EQ(back.links, 2);
  EXPECT_EQ(m.LineLoad(kBus, 4), 0);  // not assigned
}

TEST(BusMatrix, ChangingLinesCostsTheHeadwayOfTheLineBoarded) {
  TestLines lines;
  lines.Add(kBus, 1, {1, 2}, {0, 60}, 10);  // boarding costs 600 s
  lines.Add(kBus, 2, {2, 3}, {0, 60}, 20);  // boarding costs 1200 s
  CBusNetMatrix m(&lines);
  Close(m);
  EXPECT_EQ(m.Entry(0, 3).cost, 60 + 1200 + 60);
  EXPECT_EQ(m.Entry(3, 0).cost, 60 + 600 + 60);
  // A transfer inside the route counts in full, the wait for the first line
  // up to its headway.
  auto [r1, r2] = Draws(3);
  CSimTrip trip;
  ASSERT_TRUE(m.FindBusRoute(1, 3, &trip, 0, false));
  EXPECT_EQ(trip.Umsteigezeit(), static_cast<int>(r1 / 99.0 * 1200) + static_cast<int>(r2 / 99.0 * 600));
  // Stop 2 answers with line 1's matrix stop: the route starts by boarding
  // line 2, which is no transfer, only a wait of up to line 2's headway.
  std::tie(r1, r2) = Draws(4);
  ASSERT_TRUE(m.FindBusRoute(2, 3, &trip, 0, false));
  EXPECT_EQ(trip.Fahrzeit(), 1260);
  EXPECT_EQ(trip.Umsteigezeit(), static_cast<int>(r2 / 99.0 * 1200));
  const CSimBusRoute r = m.Route(1, 3);
  EXPECT_EQ(r.firstTransfer, 1200);
  EXPECT_EQ(r.firstHeadway, 1200);
}

TEST(BusMatrix, NoRouteForStopZeroEqualUnknownOrUnconnectedStops) {
  TestLines lines;
  lines.Add(kBus, 1, {1, 2, 0}, {0, 60, 60}, 10);
  lines.Add(kBus, 2, {3, 4, 0}, {0, 60, 60}, 10);  // entries without a stop id join nothing
  CBusNetMatrix m(&lines);
  Close(m);
  CSimTrip trip;
  trip.SetSize(9);
  for (auto [a, b] : std::vector<std::pair<short, short>>{{0, 2}, {1, 0}, {1, 1}, {1, 99}, {1, 3}, {4, 2}})
    EXPECT_FALSE(m.FindBusRoute(a, b, &trip, 10, true)) << a << "->" << b;
  EXPECT_FALSE(trip.TripValid());
  EXPECT_EQ(m.LineLoad(kBus, 1) + m.LineLoad(kBus, 2), 0);
  short list[8];
  int count = 5;
  EXPECT_EQ(m.GetHstList(0, 2, list, count, 8), -1);
  EXPECT_EQ(m.GetHstList(1, 1, list, count, 8), -1);
  EXPECT_EQ(m.GetHstList(1, 3, list, count, 8), 0);
  EXPECT_EQ(count, 0);
}

TEST(BusMatrix, LoadsCountEachBoardedLineOnceAndKeepEveryLineApart) {
  TestLines lines;
  lines.Add(kBus, 1, {1, 2, 3}, {0, 60, 60}, 10);
  lines.Add(kBus, 301, {3, 4}, {0, 60}, 10);
  lines.Add(LineDataType::kNetVirtual, 1, {4, 5}, {0, 120}, 30);
  lines.Add(kBus, 5, {7, 8}, {0, 60}, 10).active = 0;  // not in service
  CBusNetMatrix m(&lines);
  Close(m);
  EXPECT_EQ(m.NrOfLines(), 3);
  CSimTrip trip;
  trip.SetSize(5);
  ASSERT_TRUE(m.FindBusRoute(1, 3, &trip, 0, true));
  trip.SetSize(2);
  ASSERT_TRUE(m.FindBusRoute(1, 5, &trip, 0, true));
  EXPECT_EQ(m.LineLoad(kBus, 1), 7);
  EXPECT_EQ(m.LineLoad(kBus, 301), 2);
  EXPECT_EQ(m.LineLoad(LineDataType::kNetVirtual, 1), 2);
  short list[8];
  int count = 0;
  EXPECT_EQ(m.GetHstList(1, 5, list, count, 8), 5);
  EXPECT_EQ(std::vector<short>(list, list + count), (std::vector<short>{1, 2, 3, 4, 5}));
  m.WriteBackBusData(8);
  m.WriteBackBusData(24);  // no such hour
  EXPECT_EQ(lines.lines[0].passengers[8], 7);
  EXPECT_EQ(lines.lines[1].passengers[8], 2);
  EXPECT_EQ(lines.lines[2].passengers[8], 2);
  EXPECT_EQ(lines.lines[3].passengers[8], 0);
  // A matrix of changed lines takes over the loads of the lines it keeps.
  lines.lines[0].active = 0;
  lines.Add(kBus, 9, {1, 2}, {0, 60}, 10);
  CBusNetMatrix next(&lines);
  Close(next);
  next.TakeLineLoadsFrom(m);
  EXPECT_EQ(next.LineLoad(kBus, 1), 0);
  EXPECT_EQ(next.LineLoad(kBus, 301), 2);
  EXPECT_EQ(next.LineLoad(kBus, 9), 0);
  EXPECT_EQ(m.LineLoad(kBus, 301), 0);
}

TEST(BusMatrix, SlicedSearchesGiveTheAllPairsCostsAndRoutesThatAddUp) {
  std::mt19937 rng(5);
  TestLines lines;
  for (int l = 0; l < 7; ++l) {
    std::vector<int16_t> stops;
    std::vector<int32_t> times;
    while (stops.size() < 4 + rng() % 8) {
      const auto s = static_cast<int16_t>(1 + rng() % 30);
      if (std::find(stops.begin(), stops.end(), s) != stops.end()) continue;
      stops.push_back(s);
      times.push_back(static_cast<int32_t>(30 + rng() % 300));
    }
    lines.Add(kBus, static_cast<int16_t>(l + 1), stops, times, static_cast<int32_t>(2 + rng() % 20));
  }
  const auto ref = ReferenceCosts(lines);
  CBusNetMatrix m(&lines);
  m.Create();
  const int n = m.NrOfMatrixStops();
  ASSERT_EQ(static_cast<size_t>(n), ref.size());
  EXPECT_FALSE(m.Entry(0, 2).Connected());  // before the searches: links only
  EXPECT_TRUE(m.Entry(0, 1).Connected());
  int slices = 1;
  while (m.CalcBusNetMatrix(4, 100000)) ++slices;
  EXPECT_EQ(slices, (n + 3) / 4);
  int connected = 0;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      ASSERT_EQ(m.Entry(i, j).cost, ref[i][j]) << i << "->" << j;
      if (i == j || ref[i][j] >= kNo) continue;
      ++connected;
      const CSimBusRoute r = m.Route(i, j);
      ASSERT_EQ(r.rideTime + r.transferTime, r.cost);
    }
  EXPECT_GT(connected, n * n / 4);
}

// A headway change keeps the matrix's stops and links: the routes equal
// those of a matrix set up anew, searched again only when the changed line
// stops where lines meet; any other change needs the setup.
TEST(BusMatrix, ANewHeadwayGivesTheRoutesOfANewSetupAndOtherChangesAskForIt) {
  TestLines lines;
  lines.Add(kBus, 1, {1, 2, 3, 4}, {0, 60, 90, 120}, 10);
  lines.Add(kBus, 2, {5, 3, 6}, {0, 100, 80}, 5);
  lines.Add(kBus, 3, {7, 8}, {0, 70}, 20);  // meets no other line
  lines.Add(LineDataType::kNetVirtual, 1, {6, 9}, {0, 120}, 30);
  lines.Add(kBus, 4, {9, 10}, {0, 50}, 8);
  CBusNetMatrix updated(&lines);
  Close(updated);
  const int n = updated.NrOfMatrixStops();
  auto sameAsNewSetup = [&](int loadLine) {
    CBusNetMatrix fresh(&lines);
    Close(fresh);
    const auto ref = ReferenceCosts(lines);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        ASSERT_EQ(updated.Entry(i, j).cost, fresh.Entry(i, j).cost) << i << "->" << j;
        ASSERT_EQ(updated.Entry(i, j).cost, ref[i][j]) << i << "->" << j;
        const CSimBusRoute a = updated.Route(i, j), b = fresh.Route(i, j);
        ASSERT_EQ(a.firstHeadway, b.firstHeadway) << i << "->" << j;
        ASSERT_EQ(a.transferTime, b.transferTime) << i << "->" << j;
      }
    EXPECT_EQ(updated.LineLoad(kBus, loadLine), 0) << "the loads start again";
  };
  CSimTrip trip;
  trip.SetSize(50);
  ASSERT_TRUE(updated.FindBusRoute(7, 8, &trip, 0, true));
  EXPECT_EQ(updated.LineLoad(kBus, 3), 50);
  // The line that meets none: its waits change, no route is searched again.
  lines.lines[2].headway = 3;
  ASSERT_TRUE(updated.UpdateHeadways());
  EXPECT_TRUE(updated.Closed());
  EXPECT_EQ(updated.Route(updated.GetMatrixStopFromRealID(7)->MatrixIndex(), updated.GetMatrixStopFromRealID(8)->MatrixIndex())
                .firstHeadway,
            180);
  sameAsNewSetup(3);
  // Lines that meet others: every row is searched again, cheaper boarding
  // and dearer alike.
  for (int headway : {2, 45}) {
    lines.lines[1].headway = headway;
    lines.lines[4].headway = headway + 1;
    ASSERT_TRUE(updated.UpdateHeadways());
    EXPECT_FALSE(updated.Closed());
    while (updated.CalcBusNetMatrix(3, 100000)) {
    }
    sameAsNewSetup(2);
  }
  // The same headways again change nothing.
  ASSERT_TRUE(updated.UpdateHeadways());
  EXPECT_TRUE(updated.Closed());
  // A new stop, a new ride time, a line more or a line out: set up anew.
  const int16_t oldStop = lines.lines[0].stopIds[2];
  lines.lines[0].stopIds[2] = 11;
  EXPECT_FALSE(updated.UpdateHeadways());
  lines.lines[0].stopIds[2] = oldStop;
  lines.lines[1].times[2] = 81;
  EXPECT_FALSE(updated.UpdateHeadways());
  lines.lines[1].times[2] = 80;
  lines.lines[2].active = 0;
  EXPECT_FALSE(updated.UpdateHeadways());
  lines.lines[2].active = 1;
  lines.Add(kBus, 5, {1, 12}, {0, 40}, 10);
  EXPECT_FALSE(updated.UpdateHeadways());
  lines.lines.pop_back();
  EXPECT_TRUE(updated.UpdateHeadways());
}

TEST(LineData, TheRecordKeepsItsByteLayoutAndRefusesCountsBeyondItsArrays) {
  LineDataType d;
  d.Reset(LineDataType::kNetTram);
  EXPECT_EQ(d.headway, 30);
  d.lineNumber = 301;
  d.stopsOneWay = 2;
  d.stopEntries = 4;
  d.streetsOneWay = 3;
  d.streetEntries = 6;
  d.stopIds[79] = 77;
  d.stopObjects[0] = &d;
  d.times[1] = 130;
  d.headway = 12;
  d.active = 1;
  d.passengers[23] = 99;
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  ZorRecordWriter out(f);
  d.Write(out);
  ASSERT_TRUE(out.Ok());
  EXPECT_EQ(std::ftell(f), static_cast<long>(LineDataType::kRecordSize));
  std::vector<uint8_t> bytes(LineDataType::kRecordSize);
  std::rewind(f);
  ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
  auto word = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24; };
  EXPECT_EQ(bytes[4160 + 2 * 79], 77);
  EXPECT_EQ(word(4320), 0);  // the stop object's word
  EXPECT_EQ(word(5520 + 4), 130);
  EXPECT_EQ(bytes[5840] | bytes[5841] << 8, 301);
  EXPECT_EQ(word(5864), 12);
  EXPECT_EQ(bytes[5904], 1);
  EXPECT_EQ(word(5912), 2);
  EXPECT_EQ(word(5916 + 4 * 23), 99);

  std::rewind(f);
  LineDataType back;
  back.Reset(LineDataType::kNetTram);
  ZorRecordReader in(f);
  ASSERT_TRUE(back.Read(in));
  EXPECT_EQ(back.lineNumber, 301);
  EXPECT_EQ(back.stopObjects[0], nullptr);
  EXPECT_EQ(back.passengers[23], 99);
  // 41 stops one way, or more street entries than twice the one-way
  // streets, do not fit.
  for (size_t at : {size_t{5846}, size_t{5844}}) {
    std::vector<uint8_t> bad = bytes;
    bad[at] = at == 5846 ? 41 : 7;
    bad[at + 1] = 0;
    std::fseek(f, 0, SEEK_SET);
    std::fwrite(bad.data(), 1, bad.size(), f);
    std::rewind(f);
    ZorRecordReader again(f);
    EXPECT_FALSE(back.Read(again)) << at;
    EXPECT_EQ(back.lineNumber, 0);
    EXPECT_EQ(back.netType, LineDataType::kNetTram);
  }
  std::fclose(f);
}

TEST(LineData, AnOldRecordFillsTheFirstEntriesAndTheSingleFields) {
  std::vector<uint8_t> old(LineDataType::kOldRecordSize);
  auto put = [&](size_t at, uint32_t v, int size) {
    for (int k = 0; k < size; ++k) old[at + k] = static_cast<uint8_t>(v >> (8 * k));
  };
  put(2 * 999, 555, 2);         // the last street
  put(2080 + 2 * 39, 44, 2);    // the last stop id
  put(2920, 12, 2);             // line number
  put(2922, 4, 2);              // 2m
  put(2926, 2, 2);              // m
  put(2932, 15, 4);             // headway
  put(2944, 3, 4);              // normal buses
  put(2984, 1, 4);              // active, a word in this form
  put(2992, 1, 4);              // net type
  put(2996 + 4 * 7, 33, 4);     // passengers at 7
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  std::fwrite(old.data(), 1, old.size(), f);
  std::rewind(f);
  ZorRecordReader in(f);
  LineDataType d;
  ASSERT_TRUE(d.ReadOld(in, LineDataType::kNetBus));
  EXPECT_EQ(std::ftell(f), static_cast<long>(LineDataType::kOldRecordSize));
  EXPECT_EQ(d.streetIds[999], 555);
  EXPECT_EQ(d.stopIds[39], 44);
  EXPECT_EQ(d.lineNumber, 12);
  EXPECT_EQ(d.stopsOneWay, 2);
  EXPECT_EQ(d.headway, 15);
  EXPECT_EQ(d.normalBuses, 3);
  EXPECT_EQ(d.active, 1);
  EXPECT_EQ(d.netType, 1);
  EXPECT_EQ(d.passengers[7], 33);
  std::fclose(f);
}

TEST(BusMatrixInTheCity, TheCityGradesItsPlacesByTheRoutesOfTheActiveHour) {
  TestLines lines;
  lines.Add(kBus, 1, {1, 2}, {0, 120}, 10);
  lines.Add(kBus, 2, {2, 3}, {0, 120}, 20);
  lines.Add(kBus, 3, {8, 9}, {0, 120}, 10);
  simtest::TestParts parts;
  parts.busLines = &lines;
  parts.busChanged = true;
  CSimWelt world(&parts);
  ASSERT_TRUE(simtest::InSimWorkDir([&] { return world.Create(nullptr); }));
  CSimLocationFactory factory;
  CSimCityModell city;
  ASSERT_TRUE(city.Create(&factory, &world));
  std::vector<std::unique_ptr<CSimLocation>> places;
  auto place = [&](int x, int y, short stop) {
    places.push_back(simtest::MakeLocation(x, y, {.homes = 60}));
    const int distance = 100;
    places.back()->SetNearestHst(&stop, &distance, stop ? 1 : 0);
    EXPECT_TRUE(city.RegisterLocation(places.back().get(), 0));
    return places.back().get();
  };
  CSimLocation* a = place(1, 1, 1);
  CSimLocation* b = place(12, 1, 2);
  CSimLocation* c = place(30, 1, 3);
  CSimLocation* d = place(50, 1, 9);
  CSimLocation* none = place(70, 1, 0);
  // One line with a wait of at most 600 s: good; no route or no stop: none.
  EXPECT_EQ(city.Erschliessunggrad(a, b), 1);
  EXPECT_EQ(city.Erschliessunggrad(a, d), 3);
  EXPECT_EQ(city.Erschliessunggrad(none, a), 3);
  // With a change to line 2 (1200 s) the wait decides: the districts'
  // limit is 600 s, reached or not by the draws.
  std::set<int> grades;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    const auto [r1, r2] = Draws(seed);
    const int transfer = static_cast<int>(r1 / 99.0 * 1200) + static_cast<int>(r2 / 99.0 * 600);
    const int grade = city.Erschliessunggrad(a->GetDistrictID(), c->GetDistrictID());
    EXPECT_EQ(grade, transfer >= 600 ? 2 : 1) << seed;
    grades.insert(grade);
  }
  EXPECT_EQ(grades.size(), 2u);
  city.Destroy();
  world.Destroy();
  SimCloseErrorLog();
}
