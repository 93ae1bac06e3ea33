// The savegame container: the whole game in one binary file of tagged
// sections and records, and a companion text file with the cause-effect
// network. A save is built in memory and then written beside the old
// savegame and renamed over it, so a failed or stopped save leaves the old
// one whole. A load reads and checks both files before it touches the
// running game, and keeps the running game in memory while it rebuilds the
// world, so a file that turns out to be damaged halfway puts it back.
#include <stdio_ext.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cybernet/cyber_net.h"
#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/zor_block_pool.h"
#include "framework/zor_file_layer.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "framework/zor_stand_in.h"
#include "framework/zor_util.h"
#include "iso/iso_welt.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/miet_micro.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "measures/traffic_display.h"
#include "measures/umland.h"
#include "microsim/micro_cells.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_error.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_load_keep.h"
#include "world/zor_savegame.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

int CZorvaWorld::g_LoadVersion = kSaveGameVersion;
uint32_t CZorvaWorld::m_TicksAfterLoad = 0;

namespace {

constexpr size_t kTag = ZorRecordWriter::kNameSize;

struct KnownVersion {
  const char* tag;
  int version;
};
constexpr KnownVersion kVersions[] = {
    {"VERSION 2.4", 240}, {"VERSION 2.3", 230}, {"VERSION 2.2", 220}, {"VERSION 2.1", 210}, {"VERSION 2.0", 200},
    {"VERSION 1.9", 190}, {"VERSION 1.8", 180}, {"VERSION 1.7", 170}, {"VERSION 1.6", 160}, {"VERSION 1.5", 150},
    {"VERSION 1.4", 140}, {"VERSION 1.3", 130}, {"VERSION 1.2", 120}, {"VERSION 1.1", 110}, {"VERSION 1.0", 110},
};
// Versions from this one on load without the conversion warning.
constexpr int kCurrentFormats = 190;
// Versions from this one on end with the closing tag.
constexpr int kClosingTagFrom = 220;
// The name of the object list's record with the city's state beyond the
// demand simulation's block; files written before it was listed carry it
// under this tag between the block and the closing tag.
constexpr const char* kSimStateTag = "SIMWELTSTAND";
// The course record: the city's random sequence's position, then the active
// hour's trips.
constexpr const char* kSimCourseTag = "SIMWELTLAUF";
constexpr uint32_t kRandomBytes = 8;
// The scenario's end window on the screen when the game was saved, by its
// code in the record: 0 none, 1 the goal reached, 2 the years over.
constexpr const char* kEndWindowTag = "SZENARIOENDE";
constexpr int kEndWindowByCode[] = {0, CGottModus::kGoalWindowId, CGottModus::kTimeWindowId};
// The records of the singletons open the object records.
constexpr int kSingletonRecords = 15;

// A write stream into a string that the caller keeps: the stream's buffer
// is handed over in large blocks, and a string that held a savegame before
// keeps its room for the next one, so a save neither grows nor clears memory
// field by field.
class ZorMemoryOut {
 public:
  explicit ZorMemoryOut(std::string& out) : m_out(out) {
    m_out.clear();
    m_file = fopencookie(this, "wb", cookie_io_functions_t{nullptr, &ZorMemoryOut::Append, nullptr, nullptr});
    // Only this thread writes the stream: its fields go in without a lock
    // each.
    if (m_file) {
      __fsetlocking(m_file, FSETLOCKING_BYCALLER);
      std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    }
  }
  ~ZorMemoryOut() {
    if (m_file) std::fclose(m_file);
  }
  ZorMemoryOut(const ZorMemoryOut&) = delete;
  ZorMemoryOut& operator=(const ZorMemoryOut&) = delete;
  FILE* f() const { return m_file; }
  // Closes the stream; false (and the string empty) when the stream failed.
  bool Finish() {
    if (!m_file) return false;
    const bool ok = !std::ferror(m_file) && std::fclose(m_file) == 0 && !m_failed;
    m_file = nullptr;
    if (!ok) m_out.clear();
    return ok;
  }

 private:
  static ssize_t Append(void* cookie, const char* data, size_t size) {
    auto* self = static_cast<ZorMemoryOut*>(cookie);
    try {
      self->m_out.append(data, size);
    } catch (const std::bad_alloc&) {
      self->m_failed = true;
      return 0;
    }
    return static_cast<ssize_t>(size);
  }

  std::string& m_out;
  FILE* m_file = nullptr;
  bool m_failed = false;
};

void PutTag(ZorRecordWriter& out, const char* tag) { out.FixedString(tag, kTag); }

// Reads a 30-byte field into 31 bytes with a terminator that is always there.
bool ReadTag(FILE* file, char (&tag)[kTag + 1]) {
  ZorRecordReader in(file);
  in.Bytes(tag, kTag);
  tag[kTag] = '\0';
  return in.Ok();
}

bool ReadLength(FILE* file, int32_t& length) {
  ZorRecordReader in(file);
  length = in.I32();
  return in.Ok();
}

uint64_t BytesLeft(FILE* file) { return ZorRecordReader(file).Left(); }

bool Upper(char (&tag)[kTag + 1], const char* wanted) {
  kfx_strupr(tag);
  return std::strcmp(tag, wanted) == 0;
}

// Whether a tag read is `wanted` (upper case) when upper-cased, without
// changing the tag.
bool IsTag(const char (&tag)[kTag + 1], const char* wanted) { return strcasecmp(tag, wanted) == 0; }

// What the object list's reader does with a record, by the record's name.
enum class ListRecord { Plain, Statistik, DataExchange, Indikatoren, Building, SimState, SimCourse, EndWindow, PassedOver };

ListRecord ListRecordOf(const char* name) {
  struct Named {
    const char* name;
    ListRecord kind;
  };
  // In strcmp order, for a binary search: most records are passed over.
  static constexpr Named kNamed[] = {
      {"AKTIVERP", ListRecord::Plain},
      {"BUILDINGOBJECT", ListRecord::Building},
      {"BUILDINGPARKINGOBJECT", ListRecord::Building},
      {"BUILDINGPARKRIDE", ListRecord::Building},
      {"CARSHARING", ListRecord::Plain},
      {"DATAEXCHANGE", ListRecord::DataExchange},
      {"GOTTMODUS", ListRecord::Plain},
      {"INDIKATOREN", ListRecord::Indikatoren},
      {"MIETMICRO", ListRecord::Plain},
      {"PARKMANAGEMENT", ListRecord::Plain},
      {"PARKRIDE", ListRecord::Plain},
      {"PASSIVERP", ListRecord::Plain},
      {"PTA", ListRecord::Plain},
      {"SECONDLAYEROBJECT", ListRecord::Building},
      {"SIMWELTLAUF", ListRecord::SimCourse},
      {"SIMWELTSTAND", ListRecord::SimState},
      {"STADTVERWALTUNG", ListRecord::Plain},
      {"STATISTIK", ListRecord::Statistik},
      {"SZENARIOENDE", ListRecord::EndWindow},
      {"TRAFFICDISPLAY", ListRecord::Plain},
      {"UMLAND", ListRecord::Plain},
      {"ZORVIZENTRALE", ListRecord::Plain},
  };
  const auto* end = std::end(kNamed);
  const auto* at = std::lower_bound(std::begin(kNamed), end, name,
                                    [](const Named& n, const char* key) { return std::strcmp(n.name, key) < 0; });
  return at != end && std::strcmp(at->name, name) == 0 ? at->kind : ListRecord::PassedOver;
}

}  // namespace

std::string ZorCompanionName(const std::string& name) {
  std::string companion = name;
  if (companion.empty())
    QNO_LOG("DatiName scheint nicht sinnvoll!");
  else
    companion.back() = 'M';
  return companion;
}

int ZorSaveGameVersion(const char* versionTag) {
  for (const KnownVersion& v : kVersions)
    if (std::strncmp(versionTag, v.tag, 12) == 0) return v.version;
  return 0;
}

int ZorSaveGameHeaderVersion(const char* data, size_t size) {
  static_assert(kSaveGameHeaderSize == 2 * kTag);
  // The name and its terminator; what stands behind the terminator is no
  // part of it.
  if (!data || size < kSaveGameHeaderSize || std::memcmp(data, "ZORVANTA SAVEGAME", 18) != 0) return 0;
  return ZorSaveGameVersion(data + kTag);
}

// ---- writing -------------------------------------------------------------------------

void CZorvaWorld::SetFileLayer(ZorFileLayer* layer) { m_pFiles = layer; }

ZorFileLayer& CZorvaWorld::Files() { return m_pFiles ? *m_pFiles : ZorFileLayer::Real(); }

bool CZorvaWorld::WriteSingletonRecords(FILE* file) {
  auto store = [&](CWorldObj* object) { return object && object->SerializeGameStore(file, nullptr) == 0; };
  ZorRecordWriter out(file);
  // The record of each singleton, after its own tag, in the fixed order.
  const std::function<bool()> writers[] = {
      [&] { return store(m_pParkManagement); },
      [&] { return store(m_pCarsharing); },
      [&] { return m_pStatistik && m_pStatistik->SerializeGameStore(file) == 0; },
      [&] { return store(m_pParkRide); },
      [&] { return m_pDataExchange && m_pDataExchange->SerializeGameStore(file) == 0; },
      [&] { return m_pGottModus && m_pGottModus->SerializeGameStore(file) == 0; },
      [&] { return store(m_pZorviZentrale); },
      [&] { return store(m_pAktiveRP); },
      [&] { return store(m_pPassiveRP); },
      [&] { return store(m_pUmland); },
      [&] { return store(m_pStadtVerwaltung); },
      [&] { return store(m_pIndikatoren); },
      [&] { return store(m_pPta); },
      [&] { return store(m_pTrafficDisplay); },
      [&] { return store(m_pMietMicro); },
  };
  static_assert(sizeof(writers) / sizeof(writers[0]) == kSingletonRecords);
  for (const auto& write : writers) {
    PutTag(out, "ZorvaObject");
    if (!out.Ok() || !write()) return false;
  }
  return true;
}

bool CZorvaWorld::WriteSavegame(FILE* file) {
  ZorRecordWriter out(file);
  PutTag(out, "ZORVANTA SAVEGAME");
  PutTag(out, "VERSION 2.4");
  if (!out.Ok()) return false;
  if (!m_pIsoWelt || m_pIsoWelt->SerializeGameStore(file) != 0) {
    QNO_LOG("Can't Save IsoWelt");
    return false;
  }
  if (!m_pStreetNet || m_pStreetNet->SerializeGameStore(file) != 0) return false;
  if (!m_pRailNet || m_pRailNet->SerializeGameStore(file) != 0) return false;
  if (!WriteSingletonRecords(file)) return false;
  if (m_pObjectList)
    for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
      auto* object = static_cast<CWorldObj*>(o);
      const int kind = static_cast<int>(object->GetType());
      // Guidance signs are made again by their car parks and streets.
      if (kind >= OBJ_PARKING_SIGN1 && kind <= OBJ_TRAFFIC_SIGN4) continue;
      PutTag(out, "ZorvaObject");
      if (!out.Ok() || object->SerializeGameStore(file, nullptr) != 0) return false;
    }
  // What the demand simulation's block does not carry and the game goes on
  // from (the indicators' hour counter and the city model's state): a
  // record of the list under a name of its own, which a reader that does
  // not know it passes over by its length.
  if (!m_pSimWelt) return false;
  PutTag(out, "ZorvaObject");
  out.Header(kSimStateTag, 4 + m_pSimWelt->StateSize());
  out.I32(m_IndikatorenCounter);
  if (!out.Ok() || !m_pSimWelt->SaveState(file)) return false;
  // Where the game's course goes on from: the position of the city's random
  // sequence and the trips the active hour was computed with, in a record
  // of their own.
  PutTag(out, "ZorvaObject");
  out.Header(kSimCourseTag, kRandomBytes + m_pSimWelt->HourTripsSize());
  out.U64(zor_random_state());
  if (!out.Ok() || !m_pSimWelt->SaveHourTrips(file)) return false;
  // A game saved with its scenario's end on the screen shows it again when
  // loaded.
  const int* const endWindow = std::find(std::begin(kEndWindowByCode), std::end(kEndWindowByCode), ShowingEndWindow());
  PutTag(out, "ZorvaObject");
  out.Header(kEndWindowTag, 1);
  out.U8(static_cast<uint8_t>(endWindow - std::begin(kEndWindowByCode)));
  PutTag(out, "ZorvaObjectListEnde");
  out.I32(-1);
  PutTag(out, "TESTILI");
  if (!out.Ok() || !m_pOpnv || m_pOpnv->SerializeGameStore(file, nullptr) != 0) return false;
  if (!m_pFinanzen || m_pFinanzen->SerializeGameStore(file, nullptr) != 0) return false;
  PutTag(out, "SIMWELT");
  // A demand simulation that is not in the file makes no savegame.
  if (!out.Ok() || !m_pSimWelt->Save(file)) return false;
  PutTag(out, "ENDEOFSAVEGAME");
  return out.Ok();
}

bool CZorvaWorld::SerializeToMemory(std::string& binary, std::string& companion) {
  // An hour activated in the last turn has its hourly work (a year's closing
  // included) done at the start of the next turn; a load starts that hour as
  // done, so the work is done now and goes into the savegame.
  if (m_pSimWelt && m_LastHourTime.year != -1 && m_LastDayTime.year != -1) RunHourChange();
  // The hour's indicator map, made over the turns, is made whole now: a load
  // has no map in the making, so the savegame holds the finished one.
  if (m_pIndikatoren) m_pIndikatoren->ContinueMap(CIndikatoren::kGrid);
  ZorMemoryOut text(companion);
  CCyberNet* net = m_pSimWelt ? m_pSimWelt->pCyberNet() : nullptr;
  if (!text.f() || !net || net->Write(text.f()) != 0 || !text.Finish()) return false;
  ZorMemoryOut bytes(binary);
  return bytes.f() && WriteSavegame(bytes.f()) && bytes.Finish();
}

bool CZorvaWorld::WaitForSave() {
  int error = 0;
  const bool ok = m_SaveWrite.Wait(&error);
  std::vector<std::string> room = m_SaveWrite.TakeBuffers();
  if (room.size() == 2) {
    if (room[0].capacity() > m_SaveBinary.capacity()) m_SaveBinary.swap(room[0]);
    if (room[1].capacity() > m_SaveText.capacity()) m_SaveText.swap(room[1]);
  }
  // The periodic save reported success when it handed its bytes over: the
  // player learns of its failure here, as of a save by key that failed.
  if (!ok) {
    QNO_LOG("The periodic save failed: %s", std::strerror(error));
    if (m_pUserInt) m_pUserInt->SetAchtungWindow(CUserInt::kWarningSaveFailed);
  }
  return ok;
}

int CZorvaWorld::SerializeGameStore(const char* name) {
  QNO_LOG("this=%p.\n", static_cast<void*>(this));
  // A savegame still being written lands first: the files may be the same.
  WaitForSave();
  const std::string path = name ? name : "";
  const std::string companion = ZorCompanionName(path);
  int error = 0;
  if (path.empty()) {
    error = ENOENT;
  } else if (!SerializeToMemory(m_SaveBinary, m_SaveText)) {
    QNO_LOG("Cannot save to file '%s': %s", path.c_str(), "the game could not be put into the savegame");
    return 1;
  } else {
    const std::string paths[2] = {path, companion};
    ZorFinishSafeWrite(Files(), paths, 2);
    if (m_SaveInBackground) {
      // The worker logs a failed write; the files are whole or as they were.
      std::vector<std::string> bytes(2);
      bytes[0].swap(m_SaveBinary);
      bytes[1].swap(m_SaveText);
      m_SaveWrite.Start(Files(), {path, companion}, std::move(bytes));
      QNO_LOG("SaveFile handed to the writer");
      return 0;
    }
    const ZorFilePart parts[2] = {{path, m_SaveBinary.data(), m_SaveBinary.size()},
                                  {companion, m_SaveText.data(), m_SaveText.size()}};
    if (ZorWriteFilesSafely(Files(), parts, 2, &error)) {
      QNO_LOG("SaveFile Closed");
      return 0;
    }
  }
  QNO_LOG("Cannot save to file '%s': %s", path.c_str(), std::strerror(error));
  return 1;
}

// ---- reading ---------------------------------------------------------------------------

bool CZorvaWorld::RebuildForLoad(const std::string& companion) {
  if (m_pOpnv) m_pOpnv->RemoveAllLineBeforeLoadExit();
  // The map's cells go first: the map is made anew below, so the streets,
  // rivers and buildings taken down next find no cell to give back to the
  // plain ground, one by one, only for it to be freed a moment later. Cells
  // of plain ground stay, and the map lays their ground again.
  m_pIsoWelt->DestroyForLoad();
  // The networks go next, while the demand model they are registered with
  // still stands; their objects then leave the world's list with them, and
  // the list's walk below removes every other object from its head instead
  // of past thousands of street pieces.
  // Both networks go whole: their micro cells are not unlinked from each
  // other one by one.
  std::optional<CQnoMicroZelle::WholeNetworksGo> networksGo(std::in_place);
  const bool hadStreets = m_pStreetNet != nullptr;
  if (m_pStreetNet) {
    m_pStreetNet->Destroy();
    delete m_pStreetNet;
    m_pStreetNet = nullptr;
  }
  const bool hadRails = m_pRailNet != nullptr;
  if (m_pRailNet) {
    m_pRailNet->Destroy();
    delete m_pRailNet;
    m_pRailNet = nullptr;
  }
  networksGo.reset();
  if (m_pUserInt) m_pUserInt->ResetBeforeLoad(nullptr);
  m_pSimWelt->ReleaseAgents();
  DestroyObjectList(1);
  DropListLeftovers();
  DestroyDeletePureZorvaObjects();
  NewCreatePureZorvaObjects();
  m_pSimWelt->Destroy();
  // The old game has given back every pooled block: the new one's objects
  // are laid out in the order they are read, which its first walks follow.
  ZorBlockPool::Shared().StartOver();
  m_LoadGame = 1;
  const bool created = m_pSimWelt->Create(m_pLocationFactory);
  m_LoadGame = 0;
  if (!created) {
    QNO_LOG("The demand simulation could not be created, error %d", SimLastError());
    return false;
  }
  if (m_pDataExchange) m_pDataExchange->SetCyberNet(m_pSimWelt->pCyberNet());
  if (CCyberNet* net = m_pSimWelt->pCyberNet()) {
    QNO_LOG("Matrix Pointer: %p", static_cast<void*>(net));
    ZorMemoryStream text(companion.data(), companion.size());
    // The net holds the definition that the demand simulation's creation
    // read: the companion must bring back every one of its nodes.
    if (net->ReadReplacing(text.f()) != 0) return false;
  } else {
    QNO_LOG("Matrix Pointer not Set");
  }
  SetWindowObjects();
  // The ground's pictures are drawn from the view's sequence, started
  // afresh: a savegame shows the same land at every load, whatever was
  // looked at before.
  zor_restart_view_random();
  m_pIsoWelt->OnCreate();
  m_pStreetNet = NewStreetNet();
  if (hadStreets) m_pStreetNet->Create();
  m_pRailNet = NewRailNet();
  if (hadRails) m_pRailNet->Create();
  m_pStreetNet->SetRailNet(m_pRailNet);
  if (m_pOpnv) m_pOpnv->SetNetworks(m_pStreetNet, m_pRailNet);
  if (m_pUserInt) m_pUserInt->ResetBeforeLoad(m_pStreetNet);
  SetWindowObjects();
  ResetAfterLoad();
  return true;
}

bool CZorvaWorld::ReadListRecords(FILE* file, std::vector<CWorldObj*>& order) {
  for (int records = 0;;) {
    char tag[kTag + 1];
    int32_t length = 0;
    // The list ends with its closing tag and the length -1; a file that
    // ends before is cut short.
    ZorRecordReader in(file);
    in.Bytes(tag, kTag);
    tag[kTag] = '\0';
    length = in.I32();
    if (!in.Ok()) return false;
    if (length == -1) return true;
    RenderLadeAnzeige(file);
    const uint64_t left = in.Left();
    if (!IsTag(tag, "ZORVAOBJECT")) {
      if (length < 0 || static_cast<uint64_t>(length) > left) return false;
      if (std::fseek(file, length, SEEK_CUR) != 0) return false;
      continue;
    }
    if (length < static_cast<int32_t>(kTag) || static_cast<uint64_t>(length) > left) return false;
    const long start = std::ftell(file);
    char name[kTag + 1];
    if (!ReadTag(file, name)) return false;
    kfx_strupr(name);
    const size_t listed = order.size();
    if (ReadRecord(file, name, length - static_cast<int32_t>(kTag), order) != 0) return false;
    // The singletons' records (a singleton still standing in for its object
    // writes the plain record) stand for no object of the list.
    if (++records <= kSingletonRecords) order.resize(listed);
    // The length fields of the car parks', stops' and park-and-ride records
    // leave out what those add to a building's record, and the council's
    // counts its rows at 76 bytes: their readers know their sizes, and the
    // next record starts where they stop.
    if (!std::strcmp(name, "BUILDINGPARKINGOBJECT") || !std::strcmp(name, "SECONDLAYEROBJECT") ||
        !std::strcmp(name, "BUILDINGPARKRIDE") || !std::strcmp(name, "STADTVERWALTUNG"))
      continue;
    // Each record ends where its length says: a reader may not take more,
    // and what it leaves is passed over (a seek, which drops the stream's
    // buffer, only when something is left).
    const long at = std::ftell(file), end = start + length;
    if (at > end || (at < end && std::fseek(file, end, SEEK_SET) != 0)) return false;
  }
}

int CZorvaWorld::ReadRecord(FILE* file, const char* name, int payload, std::vector<CWorldObj*>& order) {
  switch (ListRecordOf(name)) {
    case ListRecord::PassedOver:
      // Any other record (the plain "NoSaveData" among them) is passed over;
      // it stands for an object that its own section has made again.
      order.push_back(nullptr);
      return 0;
    case ListRecord::Statistik:
      return m_pStatistik ? m_pStatistik->SerializeGameLoad(file, payload) : 1;
    case ListRecord::DataExchange:
      return m_pDataExchange ? m_pDataExchange->SerializeGameLoad(file, payload, g_LoadVersion) : 1;
    case ListRecord::Indikatoren:
      return m_pIndikatoren ? m_pIndikatoren->SerializeGameLoad(file, payload) : 1;
    case ListRecord::SimState: {
      // Taken once the demand simulation's block, read later, stands.
      m_SimStateRecord.resize(static_cast<size_t>(payload));
      m_SimStateFound = ZorRecordReader(file).Bytes(m_SimStateRecord.data(), m_SimStateRecord.size());
      return m_SimStateFound ? 0 : 1;
    }
    case ListRecord::SimCourse: {
      // Taken as the demand simulation's block is read.
      m_SimCourseRecord.resize(static_cast<size_t>(payload));
      m_SimCourseFound = ZorRecordReader(file).Bytes(m_SimCourseRecord.data(), m_SimCourseRecord.size());
      return m_SimCourseFound ? 0 : 1;
    }
    case ListRecord::EndWindow: {
      // The code is the record's one byte: a record without it is cut. The
      // caller has checked that the record lies within the file, so the
      // byte is there to read.
      if (payload < 1) return 1;
      if (!m_pGottModus) return 1;
      const uint8_t code = ZorRecordReader(file).U8();
      m_pGottModus->SetEndWindowShowing(code < std::size(kEndWindowByCode) ? kEndWindowByCode[code] : 0);
      return 0;
    }
    case ListRecord::Building: {
      CWorldObj* made = nullptr;
      if (LoadBuildingObject(file, name, made) != 0) return 1;
      // A building that no longer fits has no place in the list.
      if (made) order.push_back(made);
      return 0;
    }
    case ListRecord::Plain:
      break;
  }
  struct Plain {
    const char* name;
    CWorldObj* object;
  };
  const Plain plain[] = {{"PARKMANAGEMENT", m_pParkManagement}, {"CARSHARING", m_pCarsharing},
                         {"PARKRIDE", m_pParkRide},             {"GOTTMODUS", m_pGottModus},
                         {"ZORVIZENTRALE", m_pZorviZentrale},   {"AKTIVERP", m_pAktiveRP},
                         {"PASSIVERP", m_pPassiveRP},           {"UMLAND", m_pUmland},
                         {"STADTVERWALTUNG", m_pStadtVerwaltung}, {"PTA", m_pPta},
                         {"TRAFFICDISPLAY", m_pTrafficDisplay}, {"MIETMICRO", m_pMietMicro}};
  // Parking management reads its record its own way; one of another length
  // is refused here (the measures with a described block check their own).
  const int parkingSize = static_cast<int>(CParkManagement::kRecordLength) - CWorldObj::kRecordNameSize;
  if (std::strcmp(name, "PARKMANAGEMENT") == 0 && payload != parkingSize) {
    QNO_LOG("The %s record is refused: its length %d is not %d", name, payload, parkingSize);
    return 1;
  }
  for (const Plain& p : plain) {
    if (std::strcmp(name, p.name) != 0) continue;
    if (!p.object) return 1;
    // A measure checks its record's length against its version's block.
    if (auto* measure = dynamic_cast<CMeasure*>(p.object))
      return measure->SerializeGameLoad(file, static_cast<uint32_t>(payload), g_LoadVersion);
    return p.object->SerializeGameLoad(file);
  }
  return 1;
}

void CZorvaWorld::RestoreListOrder(const std::vector<CWorldObj*>& order) {
  if (!m_pObjectList) return;
  std::vector<CWorldObj*> listed;
  listed.reserve(m_pObjectList->GetNumber());
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) listed.push_back(static_cast<CWorldObj*>(o));
  // The objects that records made (the buildings), and of them those still
  // listed: only these are looked up, not every object of the list.
  std::vector<const CWorldObj*> fromRecords;
  for (const CWorldObj* o : order)
    if (o) fromRecords.push_back(o);
  std::sort(fromRecords.begin(), fromRecords.end());
  auto in = [](const std::vector<const CWorldObj*>& set, const CWorldObj* o) {
    return std::binary_search(set.begin(), set.end(), o);
  };
  std::vector<const CWorldObj*> members;
  auto neverSaved = [](const CWorldObj* o) {
    const int kind = static_cast<int>(o->GetType());
    return kind >= OBJ_PARKING_SIGN1 && kind <= OBJ_TRAFFIC_SIGN4;
  };
  // The passed-over records carry nothing that tells their objects apart:
  // those objects take the passed-over places in the order their sections
  // listed them, which keeps the rivers (whose own record holds them in
  // their saved order) in that order among themselves.
  std::vector<CWorldObj*> others, unsaved;
  for (CWorldObj* o : listed) {
    if (!fromRecords.empty() && in(fromRecords, o))
      members.push_back(o);
    else
      (neverSaved(o) ? unsaved : others).push_back(o);
  }
  std::sort(members.begin(), members.end());
  std::vector<CWorldObj*> sequence;
  sequence.reserve(listed.size());
  size_t next = 0;
  for (CWorldObj* o : order) {
    if (!o) {
      // More passed-over records than such objects: the place stays empty.
      if (next < others.size()) sequence.push_back(others[next++]);
    } else if (in(members, o)) {
      sequence.push_back(o);
    }
  }
  // What no record stands for (the guidance signs, which are never saved,
  // and any object made beyond the records) goes ahead, in its order.
  std::vector<CWorldObj*> ahead = std::move(unsaved);
  ahead.insert(ahead.end(), others.begin() + static_cast<std::ptrdiff_t>(next), others.end());
  for (CWorldObj* o : listed) m_pObjectList->Remove(o, 0);
  for (CWorldObj* o : ahead) m_pObjectList->AddTail(o, 0);
  for (CWorldObj* o : sequence) m_pObjectList->AddTail(o, 0);
}

void CZorvaWorld::CheckForVLSAfterLoad() {
  if (!m_pStreetNet) return;
  auto eachStreet = [&](auto&& f) {
    for (CZorvaObject* o = m_pStreetNet->GetHead(); o; o = o->GetNext()) {
      auto* junction = static_cast<CStrJunction*>(o);
      for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i)
        if (CStrStrasse* s = junction->GetStreetByNR(i)) f(junction, s);
    }
  };
  eachStreet([](CStrJunction*, CStrStrasse* s) { s->UnMark(); });
  for (CZorvaObject* o = m_pStreetNet->GetHead(); o; o = o->GetNext())
    if (CKreuzObj* crossing = static_cast<CStrJunction*>(o)->GetKreuzObject()) crossing->CheckAmpelRichtungAfterLoad();
  // A street reached from both its junctions is handled once.
  eachStreet([](CStrJunction*, CStrStrasse* s) {
    if (!s->IsMarked() && s->HasVLS()) s->SetVLS(true, true);
    s->Mark();
  });
  eachStreet([](CStrJunction*, CStrStrasse* s) { s->UnMark(); });
}

bool CZorvaWorld::ReadSavegame(FILE* file, std::vector<CWorldObj*>& order) {
  m_SimStateFound = false;
  m_SimCourseFound = false;
  m_SimRandomLoaded = false;
  char tag[kTag + 1];
  if (!ReadTag(file, tag)) {
    QNO_LOG("Readerror Zorvheader SaveFile");
    return false;
  }
  if (!ReadTag(file, tag)) {
    QNO_LOG("Readerror Version");
    return false;
  }
  RenderLadeAnzeige(file);
  if (m_pIsoWelt->SerializeGameLoad(file) != 0) {
    QNO_LOG("Can't load IsoWelt");
    return false;
  }
  RenderLadeAnzeige(file);
  if (m_pStreetNet->SerializeGameLoad(file) != 0) {
    QNO_LOG("Cant't Load StreetNet");
    return false;
  }
  RenderLadeAnzeige(file);
  QNO_LOG("Streetnet loaded");
  if (m_pRailNet->SerializeGameLoad(file) != 0) {
    QNO_LOG("Cant't Load RailNet");
    return false;
  }
  RenderLadeAnzeige(file);
  QNO_LOG("Rail net loaded");
  if (!ReadListRecords(file, order)) return false;

  // Public transport, behind a tag whose text is not looked at.
  RenderLadeAnzeige(file);
  auto record = [&](const char* wanted, CWorldObj* object) {
    int32_t length = 0;
    char name[kTag + 1];
    if (!ReadLength(file, length) || length < static_cast<int32_t>(kTag) ||
        static_cast<uint64_t>(length) > BytesLeft(file))
      return false;
    const long start = std::ftell(file);
    if (!ReadTag(file, name)) return false;
    // The owner's reader knows its record's size and the next section starts
    // where it stopped: stored lengths need not match the payload (the
    // finances' length counts its rows at 76 bytes, its payload holds 96).
    if (Upper(name, wanted)) return object && object->SerializeGameLoad(file) == 0;
    return std::fseek(file, start + length, SEEK_SET) == 0;
  };
  if (!ReadTag(file, tag) || !record("OPNV", m_pOpnv)) return false;
  // The walking links between stops are not saved: they follow the stops
  // and lines read.
  if (m_pOpnv) m_pOpnv->CheckMakeVirtuellNet();
  RenderLadeAnzeige(file);
  CheckForVLSAfterLoad();
  // The car parks' guidance signs are not saved: they are laid again.
  if (m_pParkManagement) m_pParkManagement->CheckForPLS();
  // The indicators' maps came with their record: made again here, the
  // emission map, a running mean, would take one more step at every load.
  RenderLadeAnzeige(file);
  if (!record("FINANZEN", m_pFinanzen)) return false;
  if (!ReadTag(file, tag)) return false;
  RenderLadeAnzeige(file);
  if (!Upper(tag, "SIMWELT")) return false;
  // The state record of the list goes in first: the loaded hour's trips
  // are sized by its factors as the demand simulation's block is read.
  m_SimStateLoaded = false;
  if (m_SimStateFound) {
    ZorMemoryStream state(m_SimStateRecord.data(), m_SimStateRecord.size());
    TakeSimState(state.f(), static_cast<uint32_t>(m_SimStateRecord.size()));
  }
  if (m_SimCourseFound) TakeSimCourse();
  // A half-read demand simulation is no game to go on with.
  if (!m_pSimWelt->Load(file)) return false;
  if (g_LoadVersion < kClosingTagFrom) return true;
  if (!ReadTag(file, tag)) return false;
  // Files written before the state was a record of the list carry it here,
  // behind a length, before the closing tag.
  if (IsTag(tag, kSimStateTag)) {
    int32_t length = 0;
    if (!ReadLength(file, length) || length < 0 || static_cast<uint64_t>(length) > BytesLeft(file)) return false;
    const long start = std::ftell(file);
    TakeSimState(file, static_cast<uint32_t>(length));
    if (std::fseek(file, start + length, SEEK_SET) != 0 || !ReadTag(file, tag)) return false;
  }
  return Upper(tag, "ENDEOFSAVEGAME");
}

void CZorvaWorld::TakeSimCourse() {
  ZorMemoryStream course(m_SimCourseRecord.data(), m_SimCourseRecord.size());
  ZorRecordReader in(course.f());
  const uint64_t random = in.U64();
  const auto length = static_cast<uint32_t>(m_SimCourseRecord.size());
  // A record that does not fit is passed over whole: the loaded hour is
  // then computed from the loaded people's trips, and the sequence goes on
  // where the load found it.
  if (!course.f() || length < kRandomBytes || !in.Ok() ||
      !m_pSimWelt->TakeHourTrips(course.f(), length - kRandomBytes)) {
    QNO_LOG("The game's course record does not fit and is passed over");
    return;
  }
  m_SimRandom = random;
  m_SimRandomLoaded = true;
}

void CZorvaWorld::TakeSimState(FILE* file, uint32_t length) {
  ZorRecordReader in(file);
  int32_t counter = in.I32();
  // A state that does not fit leaves the game as the block alone makes it.
  m_SimStateLoaded = file && length >= 4 && in.Ok() && m_pSimWelt->LoadState(file, length - 4);
  if (!m_SimStateLoaded) {
    QNO_LOG("The demand simulation's state record does not fit and is passed over");
    return;
  }
  // The counter runs from -1 (the indicators' turn is due) to 10.
  ZorFieldRange range;
  range.Hold(counter, -1, 10, "indicators' hour counter");
  for (const ZorFieldRange::Change& c : range.Changes())
    QNO_LOG("The demand simulation's state: %s %g held to %g", c.field, c.was, c.now);
  m_IndikatorenCounter = counter;
}

int CZorvaWorld::CheckSavegameHeader(const std::string& binary, int& version) {
  char tag[kTag + 1] = {};
  char versionTag[kTag + 1] = {};
  ZorMemoryStream in(binary.data(), binary.size());
  if (!in.f() || !ReadTag(in.f(), tag)) {
    QNO_LOG("Readerror Zorvheader SaveFile");
    return 38;
  }
  // The name and its terminator; what stands behind the terminator is no
  // part of it.
  if (std::memcmp(tag, "ZORVANTA SAVEGAME", 18) != 0) return 38;
  if (!ReadTag(in.f(), versionTag)) {
    QNO_LOG("Readerror Version");
    return 38;
  }
  version = ZorSaveGameVersion(versionTag);
  if (version == 0) {
    QNO_LOG("Savename: %s \n", tag);
    QNO_LOG("Version: %s \n", versionTag);
    return 37;
  }
  QNO_LOG("Version OK");
  return 0;
}

// The scenario's end window on the screen, or 0.
int CZorvaWorld::ShowingEndWindow() const {
  for (int id : kEndWindowByCode)
    if (id != 0 && m_pUserInt && m_pUserInt->IsWindowOpen(id) == 0) return id;
  return 0;
}

// The end windows of the game that went, whose texts the messages of the
// loaded game replace: they close, and the hold and the pause they put on
// the game go with them. A game saved with its end window on the screen
// opens it again once its messages stand (CGottModus::ShowSavedEnd).
void CZorvaWorld::CloseEndWindows() {
  bool closed = false;
  for (int id : CUserInt::kEndWindows)
    if (m_pUserInt && m_pUserInt->IsWindowOpen(id) == 0) {
      m_pUserInt->DeActivateWindow(id);
      closed = true;
    }
  if (!closed) return;
  SetBlocked(0);
  SetPause(false);
}

bool CZorvaWorld::LoadFromMemory(const std::string& binary, const std::string& companion, int version) {
  QNO_LOG("this=%p.\n", static_cast<void*>(this));
  // Rebuilding and reading the game may draw from the city's random
  // sequence; the game's own sequence goes on afterwards as if no load had
  // been.
  const uint64_t random = zor_random_state();
  g_isLoad = true;
  g_LoadVersion = version;
  // The lists read by the framework consult its copy of the version.
  const int listVersion = g_ZorLoadVersion;
  g_ZorLoadVersion = version;
  bool ok = RebuildForLoad(companion);
  zor_set_random_state(random);
  ZorMemoryStream in(binary.data(), binary.size());
  m_LoadFileSize = static_cast<int32_t>(binary.size());
  std::vector<CWorldObj*> order;
  ok = ok && in.f() && ReadSavegame(in.f(), order);
  g_isLoad = false;
  g_LoadVersion = kSaveGameVersion;
  g_ZorLoadVersion = listVersion;
  if (!ok) {
    zor_set_random_state(random);
    return false;
  }
  // Every section has made its objects again, each at the list's head: the
  // list takes the order it was saved in, so that the game saves to the same
  // bytes and the objects are visited as before the save.
  RestoreListOrder(order);
  CheckAllLocationsForNearestHst();
  // Without the state record the districts' parking search times come
  // again from the loaded city and car parks, before the loaded hour's trips.
  if (CSimCityModell* city = m_pSimWelt ? m_pSimWelt->pCityModell() : nullptr)
    if (!m_SimStateLoaded) city->CalculateParkingData();
  m_pIsoWelt->Update();
  // The adviser announces the population milestones the loaded town passes
  // from now on, not those of the game that ran before.
  if (m_pMessage && m_pDataExchange) m_pMessage->SetLastPeopleSizeMessage(m_pDataExchange->GetPeople());
  if (m_pUserInt) m_pUserInt->ActivateAfterLoad();
  m_StartupWindowTime = kfx_GetTicks();
  const STime now = STime::FromDate(m_pSimWelt->Date());
  m_LastHourTime = now;
  m_LastDayTime = now;
  m_pIsoWelt->CalcViewRect();
  m_TicksAfterLoad = kfx_GetTicks();
  // Reading draws from the city's sequence (the agents' places, the
  // buildings): the game goes on from the position saved with it, or, in
  // a file without one, from where the load found the sequence.
  zor_set_random_state(m_SimRandomLoaded ? m_SimRandom : random);
  // What the loaded game shows starts its own sequence afresh.
  zor_restart_view_random();
  return true;
}

int CZorvaWorld::SerializeGameLoad(const char* name) {
  m_LoadFileSize = 0;
  RenderLadeAnzeige(nullptr);
  const std::string path = name ? name : "";
  const std::string companionPath = ZorCompanionName(path);
  std::string binary, companion;
  int error = ENOENT;
  // A savegame still being written lands before anything is read.
  WaitForSave();
  if (!path.empty()) {
    const std::string paths[2] = {path, companionPath};
    ZorFinishSafeWrite(Files(), paths, 2);
  }
  // Nothing of the running game is touched before both files are read and
  // the header is known.
  if (path.empty() || !ZorReadFile(Files(), companionPath, companion, &error) ||
      !ZorReadFile(Files(), path, binary, &error)) {
    QNO_LOG("Cannot load from file '%s': %s", path.c_str(), std::strerror(error));
    if (m_pUserInt) {
      m_pUserInt->SetAchtungWindow(CUserInt::kWarningLoadFailed);
      m_pUserInt->ActivateAfterLoad();
    }
    return 1;
  }
  QNO_LOG("Open File %s", path.c_str());
  int version = 0;
  if (const int warning = CheckSavegameHeader(binary, version); warning != 0) {
    if (m_pUserInt) m_pUserInt->SetAchtungWindow(warning);
    QNO_LOG("Cannot load from file '%s': %s", path.c_str(), "no savegame of a known version");
    if (m_pUserInt) m_pUserInt->ActivateAfterLoad();
    return 1;
  }
  // The running game, to go back to when the file turns out to be damaged.
  // It is kept in the save's buffers (no save is under way, see above),
  // whose room is there from the last save or load, and what the savegame
  // does not hold beside it. A game that cannot be kept is not torn down.
  if (!SerializeToMemory(m_SaveBinary, m_SaveText)) {
    QNO_LOG("Cannot load from file '%s': %s", path.c_str(), "the running game could not be kept");
    if (m_pUserInt) {
      m_pUserInt->SetAchtungWindow(CUserInt::kWarningLoadFailed);
      m_pUserInt->ActivateAfterLoad();
    }
    return 1;
  }
  const ZorKeptPlay play = KeepPlay();
  if (LoadFromMemory(binary, companion, version)) {
    CloseEndWindows();
    // Told once the game stands: the load closes the windows it finds open.
    if (version < kCurrentFormats && m_pUserInt) m_pUserInt->SetAchtungWindow(36);
    return 0;
  }
  QNO_LOG("Cannot load from file '%s': %s", path.c_str(), "the savegame is damaged");
  if (LoadFromMemory(m_SaveBinary, m_SaveText, kSaveGameVersion))
    PutBackPlay(play);
  else
    QNO_ERROR(QNO_SEV_ERROR, "The game from before the load could not be put back");
  if (m_pUserInt) {
    m_pUserInt->SetAchtungWindow(38);
    m_pUserInt->ActivateAfterLoad();
  }
  return 1;
}
