// Whole savegames of older versions, written from a town the test built
// with every record in the form its version gave it: the lists without
// their hashed flag and keys (before 2.4), the statistics' float series
// (1.4 to 1.9), the value rows of the council, the finances and public
// transport as float rows, the data exchange's shorter block, the mobility
// services' blocks without their message fields (before 1.5) and the
// park-and-ride station without its own record (before 1.9). Each loads
// through the savegame container into the running game, and what it holds
// comes back as its form defines it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/qno_bytes.h"
#include "framework/qno_log.h"
#include "framework/var_table.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/measure_test_host.h"
#include "measures/miet_micro.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "measures/traffic_display.h"
#include "measures/umland.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"
#include "network/rail_junction_list.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/town_fixture.h"
#include "world/zor_savegame.h"
#include "worldbase/building_catalogue.h"

namespace {

constexpr size_t kName = ZorRecordWriter::kNameSize;
// A record's length field and name.
constexpr size_t kHead = 4 + kName;
// A street's fields before its list of pieces.
constexpr size_t kStreetFields = 138;
// What the bus and the tram net without lines hold: the tag of the end of
// the lines and two words.
constexpr size_t kEmptyNet = kName + 8;
constexpr size_t kStationRecord = ParkRideDataType::kRecordSize;

// A writer into a string, through the record codec.
struct Bytes {
  zortest::RecordFile file;
  ZorRecordWriter out{file.f()};
  std::string Take() {
    const zortest::ByteList bytes = file.Bytes();
    return std::string(bytes.begin(), bytes.end());
  }
};

// What `store` writes.
std::string Written(const std::function<int(FILE*)>& store) {
  Bytes b;
  EXPECT_EQ(store(b.file.f()), 0);
  return b.Take();
}

std::string NameOf(const std::string& record) {
  return record.size() < kHead ? std::string() : std::string(record.c_str() + 4);
}

// A reader over a record's bytes, from its payload on.
struct Payload {
  explicit Payload(const std::string& record) : bytes(record), stream(bytes.data(), bytes.size()), in(stream.f()) {
    in.Skip(kHead);
  }
  std::string bytes;
  ZorMemoryStream stream;
  ZorRecordReader in;
};

// Value rows of 96 bytes read as rows of 76 bytes with float numbers.
void FloatRows(ZorRecordReader& in, ZorRecordWriter& out, int count) {
  for (int i = 0; i < count; ++i) {
    SVVarTypeNew row{};
    ReadVarRow(in, &row);
    out.Bytes(row.name, sizeof row.name);
    for (double v : {row.value, row.min, row.max, row.step}) out.F32(static_cast<float>(v));
  }
}

// The game as a savegame of `version` (a "VERSION x.y" tag's number times
// 100) holds it. `change` may alter any record of the singletons and the
// list, given by its name, before it goes in.
class OlderSavegame {
 public:
  OlderSavegame(CZorvaWorld& world, int version) : m_world(world), m_version(version) {}
  std::function<void(const std::string& name, std::string& record)> change;

  std::string Write() {
    Bytes b;
    FILE* f = m_file = b.file.f();
    ZorRecordWriter& out = b.out;
    char tag[32];
    std::snprintf(tag, sizeof tag, "VERSION %d.%d", m_version / 100, m_version / 10 % 10);
    out.FixedString("ZORVANTA SAVEGAME", kName);
    out.FixedString(tag, kName);
    EXPECT_EQ(m_world.GetIsoWelt()->SerializeGameStore(f), 0);
    Network(out, *m_world.GetStreetNet());
    Network(out, *m_world.GetRailNet());
    for (const auto& singleton : Singletons()) Record(out, singleton());
    for (CZorvaObject* o = m_world.GetObjectList()->GetHead(); o; o = o->GetNext()) {
      auto* object = static_cast<CWorldObj*>(o);
      const int kind = static_cast<int>(object->GetType());
      if (kind >= OBJ_PARKING_SIGN1 && kind <= OBJ_TRAFFIC_SIGN4) continue;
      std::string record = Written([&](FILE* g) { return object->SerializeGameStore(g, nullptr); });
      // The station's own record follows its building record from 1.9 on.
      if (NameOf(record) == "BuildingParkRide" && m_version < 190) record.resize(record.size() - kStationRecord);
      Record(out, record);
    }
    out.FixedString("ZorvaObjectListEnde", kName);
    out.I32(-1);
    out.FixedString("TESTILI", kName);
    Opnv(out);
    Finanzen(out);
    out.FixedString("SIMWELT", kName);
    EXPECT_TRUE(m_world.GetSimWelt()->Save(f));
    if (m_version >= 220) out.FixedString("ENDEOFSAVEGAME", kName);
    EXPECT_TRUE(out.Ok());
    return b.Take();
  }

 private:
  void Record(ZorRecordWriter& out, std::string record) {
    if (change) change(NameOf(record), record);
    out.FixedString("ZorvaObject", kName);
    out.Bytes(record.data(), record.size());
  }

  // The leading `payload` bytes of a record under a length that counts them.
  static std::string Cut(const std::string& record, size_t payload) {
    Bytes b;
    b.out.Header(NameOf(record).c_str(), static_cast<uint32_t>(payload));
    b.out.Bytes(record.data() + kHead, payload);
    return b.Take();
  }

  // The records of the singletons in the container's order.
  std::vector<std::function<std::string()>> Singletons() {
    auto plain = [](CWorldObj* o) { return Written([o](FILE* f) { return o->SerializeGameStore(f, nullptr); }); };
    // Before 1.5 the services' blocks end before their message time and
    // quote.
    auto service = [this, plain](CWorldObj* o) {
      const std::string record = plain(o);
      return m_version < 150 ? Cut(record, record.size() - kHead - 8) : record;
    };
    return {
        [this, plain] { return plain(m_world.GetParkManagement()); },
        [this, service] { return service(m_world.GetCarsharing()); },
        [this] {
          return m_version < 200 ? Statistik()
                                 : Written([this](FILE* f) { return m_world.GetStatistik()->SerializeGameStore(f); });
        },
        [this, service] { return service(m_world.GetParkRide()); },
        [this] {
          const std::string record =
              Written([this](FILE* f) { return m_world.GetDataExchange()->SerializeGameStore(f); });
          // Before 1.6 the block ends before the times and shares of the
          // last microcar and teleworking messages.
          return m_version < 160 ? Cut(record, 188) : record;
        },
        [this] { return Written([this](FILE* f) { return m_world.GetGottModus()->SerializeGameStore(f); }); },
        [this, plain] { return plain(m_world.GetZorviZentrale()); },
        [this, service] { return service(m_world.GetAktiveRP()); },
        [this, plain] { return plain(m_world.GetPassiveRP()); },
        [this, plain] { return plain(m_world.GetUmland()); },
        [this, plain] { return m_version < 180 ? Council() : plain(m_world.GetStadtVerwaltung()); },
        [this, plain] { return plain(m_world.GetIndikatoren()); },
        [this, service] { return service(m_world.GetPta()); },
        [this, plain] { return plain(m_world.GetTrafficDisplay()); },
        [this, plain] { return plain(m_world.GetMietMicro()); },
    };
  }

  // A list record without the hashed flag and the keys: the count, then
  // each object's type name and its own record.
  static void OlderList(ZorRecordWriter& out, CList& list, const std::function<int(CZorvaObject*)>& record) {
    out.U32(list.GetNumber());
    for (CZorvaObject* o = list.GetHead(); o; o = o->GetNext()) {
      const std::string name = o->GetTypeName();
      out.U8(static_cast<uint8_t>(name.size()));
      out.Bytes(name.c_str(), name.size() + 1);
      EXPECT_EQ(record(o), 0) << name;
    }
  }

  void Network(ZorRecordWriter& out, CStrJunctionList& net) {
    ASSERT_LE(m_version, 230) << "the lists of this version hold their keys";
    OlderList(out, net, [this](CZorvaObject* j) { return j->SerializeGameStore(m_file); });
    for (CZorvaObject* o = net.GetHead(); o; o = o->GetNext()) {
      auto* junction = static_cast<CStrJunction*>(o);
      std::vector<CStrStrasse*> own;
      for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i) {
        CStrStrasse* s = junction->GetStreetByNR(i);
        if (s->GetStartJunction() == junction && std::find(own.begin(), own.end(), s) == own.end()) own.push_back(s);
      }
      out.U8(static_cast<uint8_t>(own.size()));
      for (CStrStrasse* s : own) {
        const std::string street = Written([&](FILE* g) { return s->SerializeGameStore(g); });
        out.Bytes(street.data(), kStreetFields);
        OlderList(out, *s, [&](CZorvaObject* piece) { return piece->SerializeGameStore(m_file); });
      }
    }
  }

  // The statistics of 1.4 to 1.9: each series' values, scale and bounds as
  // floats, then the view as the current form holds it.
  std::string Statistik() {
    Payload p(Written([&](FILE* f) { return m_world.GetStatistik()->SerializeGameStore(f); }));
    Bytes b;
    b.out.Header("STATISTIK", 21420);
    for (int i = 0; i < CStatistik::kSeries; ++i) {
      for (int k = 0; k < CStatistik::kSlots; ++k) b.out.F32(static_cast<float>(p.in.F64()));
      b.out.F32(static_cast<float>(p.in.F64()));
      b.out.U16(p.in.U16());
      p.in.U8();
      char text[CStatistik::kNameSize];
      for (int t = 0; t < 2; ++t) {
        p.in.Bytes(text, sizeof text);
        b.out.Bytes(text, sizeof text);
      }
      p.in.U8();
      b.out.U16(0);
      b.out.I32(p.in.I32());
      b.out.F32(static_cast<float>(p.in.F64()));
      b.out.F32(static_cast<float>(p.in.F64()));
      p.in.U64();
      b.out.U32(0);
    }
    char view[561];
    p.in.Bytes(view, sizeof view);
    b.out.Bytes(view, sizeof view);
    // The older record's three bytes after the view.
    b.out.Bytes("\0\0\0", 3);
    EXPECT_TRUE(p.in.Ok());
    return b.Take();
  }

  // The council before 1.8: float rows and float research values.
  std::string Council() {
    Payload p(Written([&](FILE* f) { return m_world.GetStadtVerwaltung()->SerializeGameStore(f, nullptr); }));
    Bytes b;
    b.out.Bytes(p.bytes.data(), kHead);
    const int32_t count = p.in.I32();
    b.out.I32(count);
    FloatRows(p.in, b.out, count);
    const size_t research = (p.bytes.size() - kHead - 4 - static_cast<size_t>(count) * 96 - kName) / 8;
    for (size_t i = 0; i < research; ++i) b.out.F32(static_cast<float>(p.in.F64()));
    char end[kName];
    p.in.Bytes(end, kName);
    b.out.Bytes(end, kName);
    EXPECT_TRUE(p.in.Ok());
    return b.Take();
  }

  // Public transport before 1.8: its value rows as float rows.
  void Opnv(ZorRecordWriter& out) {
    COpnv* opnv = m_world.GetOpnv();
    Payload p(Written([&](FILE* f) { return opnv->SerializeGameStore(f, nullptr); }));
    if (m_version >= 180) {
      out.Bytes(p.bytes.data(), p.bytes.size());
      return;
    }
    // Lines of such a savegame hold their older record: the town has none.
    const size_t rows = kHead + 2 * (kName + kEmptyNet);
    ASSERT_EQ(p.bytes.compare(kHead + kName + kEmptyNet, 11, "OPNVTRAMNET"), 0) << "the town has no lines";
    out.Bytes(p.bytes.data(), rows);
    p.in.Skip(rows - kHead);
    FloatRows(p.in, out, opnv->GetVarRowCount());
    const size_t rest = rows + static_cast<size_t>(opnv->GetVarRowCount()) * 96;
    out.Bytes(p.bytes.data() + rest, p.bytes.size() - rest);
  }

  // The finances before 2.1: float rows.
  void Finanzen(ZorRecordWriter& out) {
    Payload p(Written([&](FILE* f) { return m_world.GetFinanzen()->SerializeGameStore(f, nullptr); }));
    if (m_version > CFinanzen::kCreditsKeptVersion) {
      out.Bytes(p.bytes.data(), p.bytes.size());
      return;
    }
    out.Bytes(p.bytes.data(), kHead);
    out.U32(p.in.U32());
    const int32_t count = p.in.I32();
    out.I32(count);
    FloatRows(p.in, out, 2 * count);
    EXPECT_TRUE(p.in.Ok());
  }

  CZorvaWorld& m_world;
  int m_version;
  // The file written: records that write themselves go there between the
  // writer's own fields.
  FILE* m_file = nullptr;
};

// The town with a track, a car park and every mobility service's building,
// the services' prices and message fields set, and a turn of their money
// and users.
struct Older : towntest::Town {
  CBuildingParkRideObject* station = nullptr;
  ParkRideDataType stationData;

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Town::SetUp());
    CStrBuildLine track(70, 50, 70, 56);
    ASSERT_EQ(world.GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), STR_BUILD_OK);
    station = dynamic_cast<CBuildingParkRideObject*>(Place(OBJ_PARKRIDE, CBuildingParkRideObject::kResIDZ[0], 62, 61));
    ASSERT_NE(station, nullptr);
    ASSERT_NE(Place(OBJ_CARSHARING_CENTRE, 28686, 62, 65), nullptr);
    ASSERT_NE(Place(OBJ_CARSHARING_STATION, 29793, 58, 61), nullptr);
    ASSERT_NE(Place(OBJ_TRANSMITTER, CBuildingDataList::GetBuildingResIDByType(OBJ_TRANSMITTER, 0, nullptr), 58, 65),
              nullptr);
    ASSERT_NE(Place(OBJ_ADVICE_CENTRE, 32456, 64, 61), nullptr);
    ASSERT_NE(Place(OBJ_CARPARK_OPEN, 39431, 65, 64), nullptr);
    stationData.userQuote = 0.45f;
    stationData.income = 300;
    stationData.expenses = 120;
    stationData.balance = 180;
    stationData.lines = 2;
    stationData.lineQuote = 0.25;
    station->SetData(&stationData);
    const struct {
      CWorldObj* measure;
      const char* key;
      double value;
    } set[] = {
        {world.GetCarsharing(), "CS.PRICE.MONTH", 6},
        {world.GetCarsharing(), "CS.TIMELASTCHANGEMESSAGE", 4321},
        {world.GetCarsharing(), "CS.USERQUOTELASTMESSAGE", 0.77},
        {world.GetParkRide(), "PR.PRICE.HOUR", 1.5},
        {world.GetParkRide(), "PR.ADRADIO", 1},
        {world.GetParkRide(), "PR.TIMELASTCHANGEMESSAGE", 4321},
        {world.GetPta(), "PTA.PRICE.MONTH", 4},
        {world.GetPta(), "PTA.USERQUOTELASTMESSAGE", 0.77},
        {world.GetAktiveRP(), "AR.PRICE.MONTH", 7},
        {world.GetAktiveRP(), "AR.TIMELASTCHANGEMESSAGE", 4321},
        {world.GetZorviZentrale(), "MZ.PRICE.BERATUNG", 0.5},
    };
    for (const auto& s : set) ASSERT_EQ(s.measure->SetVarData(s.key, s.value), 0) << s.key;
    world.GetSimWelt()->pCityModell()->AddResidents(20000);
    for (CMeasure* m : Services()) m->OnPlayloopTurn(MeasureTime(0.5f), MeasureTime(0.0f));
    // The station's use shows in its busier look, on the site it was built
    // on beside the advice centre.
    ASSERT_EQ(station->GetResID(), CBuildingParkRideObject::kResIDZ[1]);
    // The game as its own savegame brings it back is the yardstick.
    ASSERT_EQ(world.SerializeGameStore("SaveGame/NOW.GMD"), 0);
    companion = zortest::ReadFile(ZorCompanionName("SaveGame/NOW.GMD"));
    ASSERT_EQ(world.SerializeGameLoad("SaveGame/NOW.GMD"), 0);
    station = Station();
    ASSERT_NE(station, nullptr) << "the busy station did not come back";
    ASSERT_EQ(station->GetResID(), CBuildingParkRideObject::kResIDZ[1]);
  }

  CBuildingParkRideObject* Station() {
    for (CZorvaObject* o = world.GetObjectList()->GetHead(); o; o = o->GetNext())
      if (auto* s = dynamic_cast<CBuildingParkRideObject*>(o)) return s;
    return nullptr;
  }

  std::vector<CMeasure*> Services() {
    return {world.GetParkRide(), world.GetCarsharing(), world.GetZorviZentrale(), world.GetPta(),
            world.GetAktiveRP(), world.GetPassiveRP(),  world.GetUmland()};
  }
  std::vector<std::string> ServiceRecords() {
    std::vector<std::string> records;
    for (CMeasure* m : Services())
      records.push_back(Written([m](FILE* f) { return m->SerializeGameStore(f, nullptr); }));
    return records;
  }
  std::string Networks() {
    return Written([&](FILE* f) { return world.GetStreetNet()->SerializeGameStore(f); }) +
           Written([&](FILE* f) { return world.GetRailNet()->SerializeGameStore(f); });
  }
  // The savegame without the object list's record of the city's state:
  // its tag, its length and the record that the length covers.
  static std::string WithoutSimState(const std::string& game) {
    std::string tag(30, '\0');
    std::memcpy(tag.data(), "SIMWELTSTAND", 12);
    const size_t at = game.find(tag);
    if (at == std::string::npos || at < 34) return game;
    const uint32_t length = qno_rd32(game.data(), static_cast<uint32_t>(at - 4));
    return game.substr(0, at - 34) + game.substr(at + length);
  }
  std::string Snapshot() {
    std::string binary, unused;
    EXPECT_TRUE(world.SerializeToMemory(binary, unused));
    return binary;
  }
  // Loads the bytes as SaveGame/OLD.GMD beside the town's companion.
  int Load(const std::string& game) {
    zortest::WriteFile("SaveGame/OLD.GMD", game);
    zortest::WriteFile(ZorCompanionName("SaveGame/OLD.GMD"), companion);
    return world.SerializeGameLoad("SaveGame/OLD.GMD");
  }
  double Value(const char* key) { return world.GetDataExchange()->GetVarValue(key); }

  std::string companion;
};

TEST_F(Older, ABusyStationComesBackOnTheSiteItWasBuiltOn) {
  // The set-up saved and loaded the station in its busier look beside the
  // advice centre: every look of a station covers the site of the first.
  EXPECT_EQ(station->GetXPos(), 62);
  EXPECT_EQ(station->GetYPos(), 61);
  SimLocationSizeType site, look;
  world.GetIsoWelt()->GetGroupSize(site, CBuildingParkRideObject::kResIDZ[0]);
  ASSERT_GT(site.width, 0);
  for (int id : CBuildingParkRideObject::kResIDZ) {
    world.GetIsoWelt()->GetGroupSize(look, id);
    EXPECT_EQ(look.width, site.width) << id;
    EXPECT_EQ(look.depth, site.depth) << id;
  }
  EXPECT_EQ(Value("PR.NUMBER"), 1);
}

TEST_F(Older, ASavegameOfVersion14LoadsWholeWithEveryServiceInItsOlderForm) {
  const std::vector<std::string> now = ServiceRecords();
  const std::string networks = Networks();
  ASSERT_GT(world.GetRailNet()->GetNumber(), 0u);
  // The station's own record, which the current form keeps.
  ASSERT_EQ(station->GetData().userQuote, 0.45f);
  ASSERT_EQ(station->GetData().income, 300);
  const std::string older = OlderSavegame(world, 140).Write();
  ASSERT_FALSE(HasFatalFailure());
  OpenErrorLog("errors.log");
  ASSERT_EQ(Load(older), 0);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("Version OK"), std::string::npos);
  EXPECT_EQ(CZorvaWorld::g_LoadVersion, 240) << "the version read is the current one again after the load";

  // The streets, their pieces and the track come back as they were.
  EXPECT_EQ(Networks(), networks);
  // The leading fields of each service are what was saved; the message
  // time and quote, which the older blocks lack, start as any load starts
  // them: at the time of the load and at the loaded quote.
  const std::vector<std::string> loaded = ServiceRecords();
  ASSERT_EQ(loaded.size(), now.size());
  for (size_t i = 0; i < now.size(); ++i) EXPECT_TRUE(loaded[i] == now[i]) << NameOf(now[i]);
  EXPECT_EQ(Value("CS.PRICE.MONTH"), 6);
  EXPECT_EQ(Value("CS.NUMBER"), 2);
  EXPECT_NE(Value("CS.TIMELASTCHANGEMESSAGE"), 4321);
  EXPECT_EQ(Value("PR.PRICE.HOUR"), 1.5);
  EXPECT_EQ(Value("PR.ADRADIO"), 1);
  EXPECT_EQ(Value("PR.PLACES"), 40);
  EXPECT_EQ(Value("PTA.PRICE.MONTH"), 4);
  EXPECT_EQ(Value("AR.PRICE.MONTH"), 7);
  EXPECT_EQ(Value("MZ.PRICE.BERATUNG"), 0.5);
  EXPECT_EQ(Value("MZ.ZENTRALE"), 1);
  for (const char* time : {"CS.TIMELASTCHANGEMESSAGE", "PR.TIMELASTCHANGEMESSAGE", "PTA.TIMELASTCHANGEMESSAGE",
                           "AR.TIMELASTCHANGEMESSAGE"})
    EXPECT_EQ(Value(time), static_cast<double>(static_cast<int32_t>(CZorvaWorld::m_TicksAfterLoad))) << time;
  // The station of such a savegame has no record of its own: it starts
  // without users, money or lines until its next turn counts them.
  station = Station();
  ASSERT_NE(station, nullptr);
  EXPECT_EQ(station->GetData().userQuote, 0.0f);
  EXPECT_EQ(station->GetData().income, 0);
  EXPECT_EQ(station->GetData().balance, 0);
  EXPECT_EQ(station->GetData().lineQuote, 0.0);
  EXPECT_EQ(station->GetResID(), CBuildingParkRideObject::kResIDZ[1]) << "the look saved in its building record";
  // The game goes on in the current form.
  ASSERT_EQ(world.SerializeGameStore("SaveGame/AGAIN.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/AGAIN.GMD"), 0);
  EXPECT_EQ(Networks(), networks);
}

// The player is told that the game loaded was converted: the warning shows
// over the game loaded, which the load's clearing of the windows does not
// take away.
TEST_F(Older, ASavegameOfAnOlderVersionLoadsWithTheWarningThatItIsConverted) {
  const std::string older = OlderSavegame(world, 140).Write();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(Load(older), 0);
  EXPECT_EQ(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
  const char* text = world.GetMessage()->GetAchtungMessage();
  EXPECT_STREQ(text ? text : "", CUserInt::GetAchtungText(36, CZorvaWorld::m_Language));
  // The current form loads without it.
  game.Ui().DeActivateWindow(CUserInt::kWarningWindow, 0);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/AGAIN.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/AGAIN.GMD"), 0);
  EXPECT_NE(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
}

TEST_F(Older, ASavegameOfVersion23DiffersOnlyInItsListsAndLoadsAsTheCurrentOne) {
  const std::string now = Snapshot();
  const std::string older = OlderSavegame(world, 230).Write();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_NE(older, now);
  ASSERT_EQ(Load(older), 0);
  // The older file has no record of the city model's state in its list:
  // the loaded game makes that state afresh, and the record is all that
  // differs.
  EXPECT_TRUE(WithoutSimState(Snapshot()) == WithoutSimState(now))
      << "the game read from the older lists is not the game written";
  // The junctions are found again by their crossing ids, which the older
  // lists do not store as keys.
  CStrJunctionList* net = world.GetStreetNet();
  ASSERT_TRUE(net->IsHashed());
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) EXPECT_EQ(net->GetByHashID(o->GetHashKey()), o);
}

TEST_F(Older, SpoiltRecordsOfAnOlderSavegameAreRefusedAndTheGameStaysAsItWas) {
  const std::string before = Snapshot();
  const float nan = std::nanf("");
  struct Case {
    int version;
    const char* record;
    std::function<void(std::string&)> spoil;
    const char* logged;
  };
  const Case cases[] = {
      // A service's block in its current length in a savegame of 1.4.
      {140, "Carsharing",
       [&](std::string& r) {
         r = Written([&](FILE* f) { return world.GetCarsharing()->SerializeGameStore(f, nullptr); });
       },
       "Carsharing: a record of 1112 bytes is refused, 1104 expected"},
      {140, "ParkRide", [&](std::string& r) { std::memcpy(&r[kHead], &nan, 4); },
       "ParkRide: a savegame whose field 0 is no number"},
      {140, "Pta", [](std::string& r) { r.resize(r.size() - 4), r[0] -= 4; },
       "Pta: a record of 56 bytes is refused, 60 expected"},
      {140, "AktiveRP", [](std::string& r) { r += std::string(8, '\0'), r[0] += 8; },
       "AktiveRP: a record of 1116 bytes is refused, 1108 expected"},
      {180, "Umland", [](std::string& r) { r.resize(r.size() - 1), r[0] -= 1; },
       "Umland: a record of 7 bytes is refused, 8 expected"},
  };
  for (const Case& c : cases) {
    OlderSavegame game(world, c.version);
    int spoilt = 0;
    game.change = [&](const std::string& name, std::string& record) {
      if (name == c.record) c.spoil(record), ++spoilt;
    };
    const std::string bytes = game.Write();
    ASSERT_EQ(spoilt, 1) << c.record;
    OpenErrorLog("errors.log");
    EXPECT_NE(Load(bytes), 0) << c.logged;
    CloseErrorLog();
    EXPECT_NE(zortest::ReadFile("errors.log").find(c.logged), std::string::npos) << c.logged;
    EXPECT_TRUE(Snapshot() == before) << c.logged << ": the game changed";
  }
  // Lists that hold the keys of the current form under the tag of 2.3 are
  // no savegame of 2.3: the street network refuses them.
  std::string game = before;
  std::strncpy(game.data() + kName, "VERSION 2.3", kName);
  EXPECT_NE(Load(game), 0);
  EXPECT_TRUE(Snapshot() == before) << "the game changed";
}

}  // namespace
