#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sim/sim_trip.h"
#include "support/test_support.h"

namespace {
class Loc : public CSimLocation {
 public:
  Loc(short crossing, int x, bool stop, short stopId = 0, int stopDist = 0)
      : m_crossing(crossing), m_x(x), m_stop(stop), m_stopId(stopId), m_stopDist(stopDist) {}
  short NearestCrossing() const override { return m_crossing; }
  bool GetNearestHst(short& id, int& d) const override {
    id = m_stop ? m_stopId : 0;
    d = m_stop ? m_stopDist : 0;
    return m_stop;
  }
  int LocationDistance(const CSimLocation* o) const override {
    return o ? 100 * std::abs(m_x - static_cast<const Loc*>(o)->m_x) : 1000000;
  }
  CSimDistrict* pDistrict() const override { return nullptr; }

 private:
  short m_crossing;
  int m_x;
  bool m_stop;
  short m_stopId;
  int m_stopDist;
};

struct Fixture : ::testing::Test {
  Loc home{4, 0, true, 11, 300}, work{9, 7, true, 12, 200}, park{5, 2, false};
  // The list deletes its destinations when it is destroyed.
  CSimDestination& h = *new CSimDestination;
  CSimDestination& w = *new CSimDestination;
  CSimDestination& p = *new CSimDestination;
  CSimDestinationList list;
  void SetUp() override {
    h.Create(SIM_DEST_HOME, 0, &home);
    w.Create(SIM_DEST_WORK, 1, &work);
    p.Create(SIM_DEST_LEISURE, 0, &park);
    list.Create();
    list.Insert(&p);
    list.Insert(&w);
    list.Insert(&h);
  }
  void TearDown() override { list.Destroy(); }
};

std::string Bytes(const std::string& path) { return zortest::ReadFile(path); }
}  // namespace

using TripTest = Fixture;

TEST_F(TripTest, DoorToDoorTimeDependsOnTheMode) {
  CSimTrip t;
  t.Create(&h, &w, 1);
  EXPECT_EQ(t.TransportationMode(), SIM_MODE_NONE);
  t.SetFahrzeit(100);
  t.SetZugangszeit(20);
  t.SetUmsteigezeit(7);
  t.SetParksuchzeit(40);
  EXPECT_EQ(t.Reisezeit(), 0);
  t.SetTransportationMode(SIM_MODE_WALK);
  EXPECT_EQ(t.Reisezeit(), 100);
  t.SetTransportationMode(SIM_MODE_BUS);
  EXPECT_EQ(t.Reisezeit(), 127);
  t.SetTransportationMode(SIM_MODE_CAR);
  EXPECT_EQ(t.Reisezeit(), 160);
}

TEST_F(TripTest, MappingSetsFlagsAndReadingClearsThem) {
  CSimTrip t;
  t.Create(&h, &w, 3);
  EXPECT_TRUE(t.MapDestinationsToCrossings());
  EXPECT_TRUE(t.CrossingsMapped());
  EXPECT_EQ(t.FromCrossing(), 4);
  EXPECT_FALSE(t.CrossingsMapped());
  t.MapDestinationsToCrossings();
  EXPECT_EQ(t.ToCrossing(), 9);
  EXPECT_FALSE(t.CrossingsMapped());

  EXPECT_TRUE(t.MapDestinationsToBusStops());
  EXPECT_EQ(t.FromStopDistance(), 300);
  EXPECT_EQ(t.ToBusStop(), 12);
  EXPECT_FALSE(t.StopsMapped());
  EXPECT_TRUE(t.MapDestinationsToWalkDistance());
  EXPECT_EQ(t.WalkDistance(), 700);

  CSimTrip noStop;
  noStop.Create(&h, &p, 1);
  EXPECT_FALSE(noStop.MapDestinationsToBusStops());
  EXPECT_FALSE(noStop.StopsMapped());
}

TEST_F(TripTest, NullDestinationsAreRefusedWithTheirPlace) {
  CSimTrip t;
  try {
    t.Create(&h, nullptr, 1);
    FAIL() << "no error thrown";
  } catch (const char* text) {
    EXPECT_STREQ(text, "Fehler in CSimTrip::Create(): CSimErroNullPtr()\n");
  }
  CSimTrip empty;
  EXPECT_THROW(empty.MapDestinationsToCrossings(), const char*);
  EXPECT_THROW(empty.MapDestinationsToWalkDistance(), const char*);
  EXPECT_THROW(t.Create(static_cast<const CSimTrip*>(nullptr)), const char*);
}

TEST_F(TripTest, CopyTakesRouteDataButNotTheMapping) {
  CSimTrip t;
  t.Create(&h, &w, 4);
  t.SetTransportationMode(SIM_MODE_CAR);
  t.SetFahrzeit(321);
  t.SetStreckenlaenge(2500);
  t.SetTripValid(true);
  t.MapDestinationsToCrossings();
  t.MapDestinationsToBusStops();
  CSimTrip c;
  c.Create(&t);
  EXPECT_EQ(c.Fahrzeit(), 321);
  EXPECT_EQ(c.Streckenlaenge(), 2500);
  EXPECT_TRUE(c.TripValid());
  EXPECT_EQ(c.Size(), 4u);
  EXPECT_EQ(c.TransportationMode(), SIM_MODE_CAR);
  EXPECT_FALSE(c.CrossingsMapped());
  EXPECT_EQ(c.FromCrossing(), 0);
  EXPECT_EQ(c.FromBusStop(), 0);
  EXPECT_EQ(c.pToDestination(), &w);
}

TEST_F(TripTest, RecordReadsInItsThreeVersionedForms) {
  CSimTrip t;
  t.Create(&w, &p, 50);
  t.SetTransportationMode(SIM_MODE_BUS);
  t.SetFahrzeit(11);
  t.SetZugangszeit(12);
  t.SetUmsteigezeit(13);
  t.SetParksuchzeit(14);
  t.SetStreckenlaenge(15);
  FILE* f = std::fopen("trip.bin", "wb");
  ASSERT_TRUE(t.Save(f));
  std::fclose(f);
  const std::string rec = Bytes("trip.bin");
  ASSERT_EQ(rec.size(), 44u);
  const unsigned char head[20] = {1, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 50, 0, 0, 0};
  EXPECT_EQ(std::memcmp(rec.data(), head, 20), 0);
  EXPECT_EQ(rec[40], 1);

  // Version 119 and below: only the first 20 bytes exist.
  f = std::fopen("trip.bin", "rb");
  CSimTrip a;
  ASSERT_TRUE(a.Load(f, &list));
  EXPECT_EQ(std::ftell(f), 20);
  EXPECT_EQ(a.pFromDestination(), &w);
  EXPECT_EQ(a.Size(), 50u);
  EXPECT_EQ(a.TransportationMode(), SIM_MODE_NONE);
  EXPECT_EQ(a.Fahrzeit(), 0);
  // 120..129 add the statistics, 130 on the mode.
  ASSERT_TRUE(a.LoadStatistikData(f));
  EXPECT_EQ(a.Fahrzeit(), 11);
  EXPECT_EQ(a.Parksuchzeit(), 14);
  EXPECT_EQ(a.Streckenlaenge(), 15);
  ASSERT_TRUE(a.LoadTransportationMode(f));
  EXPECT_EQ(a.TransportationMode(), SIM_MODE_BUS);
  EXPECT_FALSE(a.LoadTransportationMode(f));  // a short file is not a mode
  std::fclose(f);
}

TEST_F(TripTest, RecordWithoutDestinationsCannotBeReadBack) {
  CSimTrip t;  // never created: no destinations
  FILE* f = std::fopen("trip.bin", "wb");
  ASSERT_TRUE(t.Save(f));
  std::fclose(f);
  const std::string rec = Bytes("trip.bin");
  const unsigned char head[16] = {8, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(rec.data(), head, 16), 0);
  f = std::fopen("trip.bin", "rb");
  CSimTrip back;
  back.Create(&h, &w, 2);
  EXPECT_THROW(back.Load(f, &list), const char*);
  EXPECT_FALSE(back.IsValid());
  std::fclose(f);
}

namespace {
// A bus trip from work (kind 1, count 1) to leisure (kind 4, count 0) of size
// 0x01020304 with times 11, -12, 13, 14 and route length 0x7FFFFFFF.
const zortest::ByteList kTripRecord = {
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // from: kind, count
    0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // to: kind, count
    0x04, 0x03, 0x02, 0x01,                          // size
    0x0B, 0x00, 0x00, 0x00, 0xF4, 0xFF, 0xFF, 0xFF,  // driving, access
    0x0D, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00,  // transfer, parking search
    0xFF, 0xFF, 0xFF, 0x7F,                          // route length
    0x01, 0x00, 0x00, 0x00,                          // mode
};
}  // namespace

TEST_F(TripTest, RecordBytesFieldByField) {
  CSimTrip t;
  t.Create(&w, &p, 0x01020304);
  t.SetTransportationMode(SIM_MODE_BUS);
  t.SetFahrzeit(11);
  t.SetZugangszeit(-12);
  t.SetUmsteigezeit(13);
  t.SetParksuchzeit(14);
  t.SetStreckenlaenge(0x7FFFFFFF);
  zortest::RecordFile file;
  ASSERT_TRUE(t.Save(file.f()));
  EXPECT_EQ(file.Bytes(), kTripRecord);
  EXPECT_FALSE(t.Save(nullptr));

  std::rewind(file.f());
  CSimTrip back;
  ASSERT_TRUE(back.Load(file.f(), &list));
  ASSERT_TRUE(back.LoadStatistikData(file.f()));
  ASSERT_TRUE(back.LoadTransportationMode(file.f()));
  EXPECT_EQ(back.pFromDestination(), &w);
  EXPECT_EQ(back.pToDestination(), &p);
  EXPECT_EQ(back.Size(), 0x01020304u);
  EXPECT_EQ(back.Zugangszeit(), -12);
  EXPECT_EQ(back.Umsteigezeit(), 13);
  EXPECT_EQ(back.Streckenlaenge(), 0x7FFFFFFF);
  EXPECT_EQ(back.TransportationMode(), SIM_MODE_BUS);
  EXPECT_EQ(std::ftell(file.f()), 44);
}

TEST_F(TripTest, EachPartOfTheRecordCutAtEveryByteChangesNothing) {
  // Each part alone, from 20, 20 and 4 bytes of the record.
  const zortest::ByteList head(kTripRecord.begin(), kTripRecord.begin() + 20);
  const zortest::ByteList stats(kTripRecord.begin() + 20, kTripRecord.begin() + 40);
  const zortest::ByteList mode(kTripRecord.begin() + 40, kTripRecord.end());
  auto cut = [](const zortest::ByteList& b, size_t n) { return zortest::ByteList(b.begin(), b.begin() + static_cast<long>(n)); };
  for (size_t n = 0; n < head.size(); ++n) {
    zortest::RecordFile file(cut(head, n));
    CSimTrip t;
    t.Create(&h, &w, 9);
    EXPECT_FALSE(t.Load(file.f(), &list)) << n;
    EXPECT_TRUE(t.IsValid());  // a failed read leaves the trip as it was
    EXPECT_EQ(t.pFromDestination(), &h);
    EXPECT_EQ(t.Size(), 9u);
  }
  for (size_t n = 0; n < stats.size(); ++n) {
    zortest::RecordFile file(cut(stats, n));
    CSimTrip t;
    t.SetFahrzeit(1);
    t.SetStreckenlaenge(2);
    EXPECT_FALSE(t.LoadStatistikData(file.f())) << n;
    EXPECT_EQ(t.Fahrzeit(), 1);
    EXPECT_EQ(t.Streckenlaenge(), 2);
  }
  for (size_t n = 0; n < mode.size(); ++n) {
    zortest::RecordFile file(cut(mode, n));
    CSimTrip t;
    t.SetTransportationMode(SIM_MODE_CAR);
    EXPECT_FALSE(t.LoadTransportationMode(file.f())) << n;
    EXPECT_EQ(t.TransportationMode(), SIM_MODE_CAR);
  }
  CSimTrip t;
  EXPECT_FALSE(t.Load(nullptr, &list));
  EXPECT_FALSE(t.LoadStatistikData(nullptr));
  EXPECT_FALSE(t.LoadTransportationMode(nullptr));
}
