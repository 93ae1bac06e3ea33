#include "measures/park_ride.h"

#include <cstddef>
#include <cstring>
#include <iterator>
#include <limits>

#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "measures/measure_host.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "sim/sim_location.h"

// ---- the station

void ParkRideDataType::Write(ZorRecordWriter& out) const {
  out.F32(userQuote);
  out.I32(income);
  out.I32(expenses);
  out.I32(balance);
  out.I16(district);
  out.U16(0);
  out.I32(lines);
  out.F64(lineQuote);
}

bool ParkRideDataType::Read(ZorRecordReader& in) {
  ParkRideDataType d;
  d.userQuote = in.F32();
  d.income = in.I32();
  d.expenses = in.I32();
  d.balance = in.I32();
  d.district = in.I16();
  in.U16();
  d.lines = in.I32();
  d.lineQuote = in.F64();
  if (!in.Ok()) return false;
  *this = d;
  return true;
}

void ParkRideDataType::HoldToRange(ZorFieldRange& range) {
  constexpr float kFloatMost = std::numeric_limits<float>::max();
  constexpr double kDoubleMost = std::numeric_limits<double>::max();
  range.Hold(userQuote, -kFloatMost, kFloatMost, "user quote");
  range.Hold(district, int16_t{0}, int16_t{256}, "district");
  range.Hold(lines, 0, std::numeric_limits<int32_t>::max(), "line count");
  range.Hold(lineQuote, -kDoubleMost, kDoubleMost, "line quote");
}

void CBuildingParkRideObject::CalculateDarstellungFromUserQuote() {
  int lines = 0;
  double average = 0.0;
  if (!m_pSimLocation) {
    m_Station.userQuote = 0.0f;
  } else {
    short stop = 0;
    int distance = 0;
    COpnv* opnv = COpnv::Get();
    CBuildingObject* hst = opnv && m_pSimLocation->GetNearestHst(stop, distance) ? opnv->GetHstByID(stop) : nullptr;
    auto* second = dynamic_cast<CSecondLayerObject*>(hst);
    // A stop without a line list leaves the quote as it was.
    if (CZorvaList* list = second ? second->GetLineList() : nullptr) {
      double passengers = 0.0;
      for (CZorvaPointer* p = list->GetHeadZorvaPointer(); p; p = p->GetNextZorvaPointer()) {
        auto* line = dynamic_cast<CWorldObj*>(p->GetZorvaObject());
        if (!line) continue;
        double v = 0.0;
        if (line->GetVarData("OPNV.LINE.PASSENGER", &v) == 0) passengers += v;
        v = 0.0;
        if (line->GetVarData("OPNV.LINE.USERQUOTE", &v) == 0) average += v;
        ++lines;
      }
      m_Station.userQuote = static_cast<float>(passengers / 10000.0);
    }
  }
  if (lines != 0) average /= lines;
  m_Station.lines = lines;
  m_Station.lineQuote = average;

  const int state = m_Station.userQuote < 0.3f ? 0 : m_Station.userQuote < 0.6f ? 1 : 2;
  const int graphic = kResIDZ[state];
  if (graphic == m_Data.resId) return;
  CIsoWelt* map = CIsoObjGroup::m_pIsoWelt;
  if (map) {
    const int old = m_Data.resId;
    CIsoRichtung direction(m_Data.richtung);
    const auto x = static_cast<unsigned short>(m_Data.x), y = static_cast<unsigned short>(m_Data.y);
    map->DeleteIsoGroupAt(m_Data.x, m_Data.y, ISO_LAYER_GROUND, true);
    // A graphic the map cannot place leaves the station with the old one.
    if (map->SetIsoGroupTurnedAt(x, y, ISO_LAYER_GROUND, graphic, this, direction) != 0) {
      map->SetIsoGroupTurnedAt(x, y, ISO_LAYER_GROUND, old, this, direction);
      return;
    }
  }
  m_Data.resId = graphic;
}

int CBuildingParkRideObject::GetVarData(const char* key, double* value) {
  if (!key) return 1;
  if (!std::strcmp(key, "PRPLACE.PLACES"))
    *value = kPlaces;
  else if (!std::strcmp(key, "PRPLACE.PLACESUSERQUOTE"))
    *value = m_Station.userQuote * 100.0;
  else if (!std::strcmp(key, "PRPLACE.USERQUOTE"))
    *value = m_Station.userQuote;
  else if (!std::strcmp(key, "PRPLACE.INCOME"))
    *value = m_Station.income;
  else if (!std::strcmp(key, "PRPLACE.EXPENSES"))
    *value = m_Station.expenses;
  else if (!std::strcmp(key, "PRPLACE.BILANZ"))
    *value = m_Station.balance;
  else if (!std::strcmp(key, "PRPLACE.LINIEN"))
    *value = m_Station.lines;
  else if (!std::strcmp(key, "PRPLACE.LINIENUSED"))
    *value = m_Station.lineQuote;
  else
    return CBuildingTrafficObject::GetVarData(key, value);
  return 0;
}

int CBuildingParkRideObject::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  if (!WriteRecord(out, name && *name ? name : "BuildingParkRide", kRecordLength)) return 1;
  m_Station.Write(out);
  return out.Ok() ? 0 : 1;
}

int CBuildingParkRideObject::SerializeGameLoad(FILE* file, BuildingDataType* data, PotentialType* potential,
                                               short* district, ParkRideDataType* station, int version) {
  if (CBuildingObject::SerializeGameLoad(file, data, potential, district) != 0) return 1;
  if (version < kStationVersion) return 0;
  ZorRecordReader in(file);
  ParkRideDataType s;
  if (!s.Read(in)) return 1;
  if (station) *station = s;
  return 0;
}

// ---- the measure

namespace {

const SMeasureField kFields[] = {
    {"PR.PRICE.HOUR", SMeasureField::kFloat, offsetof(SParkRideBlock, priceHour), true, 0.0f, 2.0f, 0.1f},
    {"PR.USER", SMeasureField::kInt32, offsetof(SParkRideBlock, users)},
    {"PR.USERQUOTE", SMeasureField::kInt32, offsetof(SParkRideBlock, userQuote)},
    {"PR.PLACES", SMeasureField::kInt32, offsetof(SParkRideBlock, places)},
    {"PR.INCOME", SMeasureField::kInt32, offsetof(SParkRideBlock, income)},
    {"PR.EXPENSES", SMeasureField::kInt32, offsetof(SParkRideBlock, expenses)},
    {"PR.QUOTE", SMeasureField::kInt32, offsetof(SParkRideBlock, quote)},
    {"PR.NUMBER", SMeasureField::kInt32, offsetof(SParkRideBlock, stations)},
    {"PR.ADRADIO", SMeasureField::kUInt8, offsetof(SParkRideBlock, adRadio)},
    {"PR.ADMAGAZIN", SMeasureField::kUInt8, offsetof(SParkRideBlock, adMagazin)},
    {"PR.ADTELEVISION", SMeasureField::kUInt8, offsetof(SParkRideBlock, adTelevision)},
    {nullptr, SMeasureField::kUInt8, offsetof(SParkRideBlock, padding)},
    {"PR.TIMELASTCHANGEMESSAGE", SMeasureField::kInt32, offsetof(SParkRideBlock, messageTime)},
    {"PR.USERQUOTELASTMESSAGE", SMeasureField::kFloat, offsetof(SParkRideBlock, messageQuote)},
};

const char* const kSettable[] = {"PR.TIMELASTCHANGEMESSAGE", "PR.USERQUOTELASTMESSAGE", "PR.ADMAGAZIN", "PR.ADRADIO",
                                 "PR.ADTELEVISION", "PR.PRICE.HOUR"};

// No money of the year and no campaigns; savegames before version 150 end
// before the message time.
const SMeasureLayout kLayout{"ParkRide", kFields,   static_cast<int>(std::size(kFields)),
                             kNoField,   kNoField,  kNoField,
                             kNoField,   kNoField,  kNoField,
                             nullptr,    0,         150,
                             offsetof(SParkRideBlock, messageTime), kSettable, static_cast<int>(std::size(kSettable))};

}  // namespace

CParkRide::CParkRide() : CMeasure(kLayout, &m_Block) { m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks()); }

CParkRide::~CParkRide() { delete m_pList; }

int CParkRide::Create() {
  CMeasure::Create();
  delete m_pList;
  m_pList = new CBuildingList;
  return 0;
}

int CParkRide::Destroy() {
  delete m_pList;
  m_pList = nullptr;
  return 0;
}

int CParkRide::AddParkRide(CBuildingTrafficObject* site) {
  if (m_pList) m_pList->AddHeadBuilding(site);
  m_Block.places += kPlacesPerStation;
  ++m_Block.stations;
  return 0;
}

int CParkRide::RemoveParkRide(CBuildingTrafficObject* site) {
  if (!m_pList || m_pList->RemoveBuilding(site) != 0) return 1;
  m_Block.places -= kPlacesPerStation;
  --m_Block.stations;
  return 0;
}

int CParkRide::Stations() const { return m_pList ? m_pList->GetCount() : 0; }

CZorvaList* CParkRide::GetList(const char* key) {
  const std::string name = MeasureKey(key);
  return name == "PR.PLACELIST" ? m_pList : nullptr;
}

std::string CParkRide::MeasureKey(const char* key) {
  static constexpr char kWindowPrefix[] = "PRPLACE.";
  if (!key) return {};
  // The window's cars are the stations' car places.
  if (std::strcmp(key, "PRPLACE.PKW") == 0) return "PR.PLACES";
  if (std::strncmp(key, kWindowPrefix, sizeof kWindowPrefix - 1) == 0)
    return std::string("PR.") + (key + sizeof kWindowPrefix - 1);
  return key;
}

int CParkRide::GetVarData(const char* key, double* value) { return CMeasure::GetVarData(MeasureKey(key).c_str(), value); }

int CParkRide::SetVarData(const char* key, double value) { return CMeasure::SetVarData(MeasureKey(key).c_str(), value); }

int CParkRide::GetStep(const char* key, float* step) { return CMeasure::GetStep(MeasureKey(key).c_str(), step); }

int CParkRide::GetVarMin(const char* key, float* min) { return CMeasure::GetVarMin(MeasureKey(key).c_str(), min); }

int CParkRide::GetVarMax(const char* key, float* max) { return CMeasure::GetVarMax(MeasureKey(key).c_str(), max); }

void CParkRide::CalculateUser(double) {
  if (m_pList)
    for (CZorvaPointer* p = m_pList->GetHeadZorvaPointer(); p; p = p->GetNextZorvaPointer())
      if (auto* station = dynamic_cast<CBuildingParkRideObject*>(p->GetZorvaObject()))
        station->CalculateDarstellungFromUserQuote();
  m_Block.userQuote =
      Stations() == 0 ? 0 : static_cast<int32_t>(CMeasureHost::Get()->GetExchangeValue("W.M2"));
}

void CParkRide::AfterLoad() {
  m_Block.places = 0;
  m_Block.stations = 0;
  m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks());
  m_Block.messageQuote = static_cast<float>(m_Block.userQuote);
}
