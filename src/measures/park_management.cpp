#include "measures/park_management.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "framework/qno_log.h"
#include "framework/zor_record.h"

namespace {
bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }
// Keys with a step and a range in the windows but no stored value.
const char* const kPriceZoneKeys[] = {"PRM.CENTER.PRICE.SHORTTIME", "PRM.CENTER.PRICE.LONGTIME",
                                      "PRM.OUTSKIRTS.PRICE.SHORTTIME", "PRM.OUTSKIRTS.PRICE.LONGTIME"};
bool IsPriceZoneKey(const char* key) {
  for (const char* k : kPriceZoneKeys)
    if (Is(key, k)) return true;
  return false;
}
bool IsChangeKey(const char* key) { return Is(key, "PRM.PRICE.CHANGEPKW") || Is(key, "PRM.PRICE.CHANGEMICROCAR"); }
}  // namespace

CParkManagement::CParkManagement() : CMeasure(kMeasureWithoutBlock, nullptr) {}

CParkManagement::~CParkManagement() { Destroy(); }

int CParkManagement::Create() {
  CWorldObj::Create();
  Destroy();
  MakeLists();
  return 0;
}

void CParkManagement::MakeLists() {
  // Built with 1: the car parks' list numbers count other lists only.
  if (!m_pParkings) m_pParkings = new CBuildingList(1);
  if (!m_pDisplays) m_pDisplays = new CBuildingList(1);
}

int CParkManagement::Destroy() {
  for (CBuildingList** list : {&m_pParkings, &m_pDisplays}) {
    if (!*list) continue;
    (*list)->Destroy();
    delete *list;
    *list = nullptr;
  }
  return 0;
}

int CParkManagement::AddParking(CBuildingParkingObject* building, ToolBuildingParkingSize size,
                                ParkingDataType* parking) {
  if (!building) return 1;
  if (!m_pParkings) MakeLists();
  if (!parking) {
    // Without a size from the tool the object type tells it (18, 19, 20).
    const int byType = std::clamp(static_cast<int>(building->GetType()) - OBJ_CARPARK_OPEN + 1, 1, 3);
    const int cls = size >= 1 && size <= 3 ? size : byType;
    ParkingDataType d;
    d.sizeClass = cls;
    d.price = 1.0f;
    d.microcarPrice = 0.5f;
    d.microcarReduction = 50.0f;
    d.graphicRow = cls - 1;
    d.places = kPlaces[cls - 1];
    d.carPlaces = static_cast<int32_t>(d.places * 0.999);
    d.microcarPlaces = static_cast<int32_t>(d.places * 0.001 * 1.5);
    d.microcarShare = 0.1f;
    d.districtId = static_cast<int16_t>(building->GetDistrictID());
    d.number = m_Block.nextNumber++;
    building->SetData(&d);
    m_Block.places += d.places;
  }
  return m_pParkings->AddHeadBuilding(building);
}

int CParkManagement::RemoveParking(CBuildingParkingObject* building) {
  if (!building || !m_pParkings || m_pParkings->CheckZorvaInList(building) != 0) return 0;
  m_Block.places -= building->GetParkingData()->places;
  m_pParkings->RemoveBuilding(building);
  return 0;
}

int CParkManagement::AddParkDisplay(CSecondLayerObject* sign) {
  if (!sign) return 1;
  if (!m_pDisplays) MakeLists();
  return m_pDisplays->AddHeadBuilding(sign);
}

int CParkManagement::RemoveParkDisplay(CSecondLayerObject* sign) {
  if (!sign || !m_pDisplays || m_pDisplays->CheckZorvaInList(sign) != 0) return 0;
  return m_pDisplays->RemoveBuilding(sign);
}

void CParkManagement::CheckForPLS() {
  if (!m_pParkings) return;
  m_pParkings->SetupBuildingCount(0);
  while (CBuildingObject* b = m_pParkings->GetNextBuilding()) static_cast<CBuildingParkingObject*>(b)->CheckForPLS();
}

void CParkManagement::SimSetupParkingDataCount() {
  if (m_pParkings) m_pParkings->SetupBuildingCount(0);
}

ParkingDataType* CParkManagement::SimGetNextParkingData() {
  CBuildingObject* b = m_pParkings ? m_pParkings->GetNextBuilding() : nullptr;
  return b ? static_cast<CBuildingParkingObject*>(b)->GetParkingData() : nullptr;
}

CZorvaList* CParkManagement::GetList(const char* key) {
  if (!key) return nullptr;
  if (Is(key, "PRM.PLACELIST")) return m_pParkings;
  if (Is(key, "PRM.DISPLAYLIST")) return m_pDisplays;
  return nullptr;
}

int CParkManagement::GetParkingCount() const { return m_pParkings ? m_pParkings->GetCount() : 0; }

// ---- the hour and the year

int CParkManagement::OnPlayloopTurn(STime now, STime last) {
  double places = 0, reserved = 0, guided = 0;
  if (m_pParkings) {
    m_pParkings->SetupBuildingCount(0);
    while (CBuildingObject* b = m_pParkings->GetNextBuilding()) {
      auto* park = static_cast<CBuildingParkingObject*>(b);
      park->OnPlayloopTurn(now, last);
      const ParkingDataType* p = park->GetParkingData();
      places += p->places;
      if (p->reservationOff == 0) reserved += p->places;
      if (p->guidanceOff == 0) guided += p->places;
    }
  }
  if (places != 0) {
    m_Block.quoteReservation = static_cast<float>(reserved / places);
    m_Block.quoteGuidance = static_cast<float>(guided / places);
  }
  CalculateDataFromParkBuildings();
  return 0;
}

void CParkManagement::CalculateDataFromParkBuildings() {
  double car = 0, micro = 0, carPrice = 0, microPrice = 0, carUsed = 0, microUsed = 0;
  double income = 0, expenses = 0;
  if (m_pParkings) {
    m_pParkings->SetupBuildingCount(0);
    while (CBuildingObject* b = m_pParkings->GetNextBuilding()) {
      const ParkingDataType* p = static_cast<CBuildingParkingObject*>(b)->GetParkingData();
      car += p->carPlaces;
      micro += p->microcarPlaces;
      carPrice += p->carPlaces * static_cast<double>(p->price);
      microPrice += p->microcarPlaces * p->price * (1.0 - p->microcarReduction / 100.0);
      income += p->income;
      expenses += p->expenses;
      carUsed += std::trunc(p->carPlaces * static_cast<double>(p->carLoad));
      microUsed += std::trunc(p->microcarPlaces * static_cast<double>(p->microcarLoad));
    }
  }
  m_Block.placesCar = static_cast<int32_t>(car);
  m_Block.placesMicrocar = static_cast<int32_t>(micro);
  m_Block.places = static_cast<int32_t>(car + micro);
  // Without places of a kind its average price is 0, never 0 / 0.
  m_Block.priceCar = car > 0 ? static_cast<float>(carPrice / car) : 0.0f;
  m_Block.priceMicrocar = micro > 0 ? static_cast<float>(microPrice / micro) : 0.0f;
  m_Block.income = static_cast<int32_t>(income);
  m_Block.expenses = static_cast<int32_t>(expenses);
  m_Block.userQuoteCar = car > 0 ? static_cast<float>(carUsed / car) : 0.0f;
  m_Block.userQuoteMicrocar = micro > 0 ? static_cast<float>(microUsed / micro) : 0.0f;
  if (car + micro > 0) m_Block.userQuote = static_cast<float>((carUsed + microUsed) / (car + micro));
}

int CParkManagement::ResetYearData(STime now, STime last) {
  if (now.year == last.year) return 0;
  ResetBilanz();
  if (m_pParkings) {
    m_pParkings->SetupBuildingCount(0);
    while (CBuildingObject* b = m_pParkings->GetNextBuilding()) static_cast<CBuildingParkingObject*>(b)->ResetBilanz();
  }
  return 0;
}

void CParkManagement::ResetBilanz() {
  m_Block.lastBalance = m_Block.income - m_Block.expenses;
  m_Block.income = 0;
  m_Block.expenses = 0;
}

// ---- named values

int CParkManagement::GetVarData(const char* key, double* value) {
  if (!key || !value) return 1;
  const Block& b = m_Block;
  if (Is(key, "PRM.PRICE.PKW")) *value = b.priceCar;
  else if (Is(key, "PRM.PRICE.MICROCAR")) *value = b.priceMicrocar;
  else if (Is(key, "PRM.INCOME")) *value = b.income;
  else if (Is(key, "PRM.EXPENSES")) *value = b.expenses;
  else if (Is(key, "PRM.BILANZ")) *value = static_cast<double>(b.income) - b.expenses;
  else if (Is(key, "PRM.LASTYEAR.BILANZ")) *value = b.lastBalance;
  else if (Is(key, "PRM.QUOTERESERVATION")) *value = b.quoteReservation;
  else if (Is(key, "PRM.QUOTEPLS")) *value = b.quoteGuidance;
  else if (Is(key, "PRM.PLACES")) *value = b.places;
  else if (Is(key, "PRM.PLACES.PR")) *value = b.placesPR;
  else if (Is(key, "PRM.PLACES.MICROCAR")) *value = b.placesMicrocar;
  else if (Is(key, "PRM.RESERVATION.EXPENSES")) *value = b.reservationExpenses;
  else if (Is(key, "PRM.PARKDISPLAY.EXPENSES")) *value = b.displayExpenses;
  else if (Is(key, "PRM.PLACESUSED")) *value = 1;
  else if (Is(key, "PRM.PRICE.CHANGEPKW")) *value = m_Block.changePkw;
  else if (Is(key, "PRM.PRICE.CHANGEMICROCAR")) *value = m_Block.changeMicrocar;
  else if (Is(key, "PRM.USERQUOTE.PKW")) *value = b.userQuoteCar * 100.0;
  else if (Is(key, "PRM.USERQUOTE.MICROCAR")) *value = b.userQuoteMicrocar * 100.0;
  else if (Is(key, "PRM.USERQUOTE")) *value = b.userQuote * 100.0;
  else if (Is(key, "PRM.PLACELIST") || Is(key, "PRM.PRICE.CHANGEPKW.OK") || Is(key, "PRM.PRICE.CHANGEMICROCAR.OK"))
    *value = 0;
  else return 1;
  return 0;
}

int CParkManagement::SetVarData(const char* key, double value) {
  if (!key) return 1;
  const bool number = std::isfinite(value);
  if (Is(key, "PRM.PRICE.CHANGEPKW")) {
    if (number) m_Block.changePkw = static_cast<int32_t>(std::fmin(std::fmax(value, -100.0), 100.0));
  } else if (Is(key, "PRM.PRICE.CHANGEMICROCAR")) {
    if (number) m_Block.changeMicrocar = static_cast<int32_t>(std::fmin(std::fmax(value, -100.0), 100.0));
  } else if (Is(key, "PRM.PRICE.CHANGEPKW.OK") || Is(key, "PRM.PRICE.CHANGEMICROCAR.OK")) {
    const bool car = Is(key, "PRM.PRICE.CHANGEPKW.OK");
    if (m_pParkings) {
      m_pParkings->SetupBuildingCount(0);
      while (CBuildingObject* b = m_pParkings->GetNextBuilding()) {
        auto* park = static_cast<CBuildingParkingObject*>(b);
        if (car)
          park->PriceChangePkw(static_cast<float>(m_Block.changePkw));
        else
          park->PriceChangeMicrocar(static_cast<float>(m_Block.changeMicrocar));
      }
    }
    (car ? m_Block.changePkw : m_Block.changeMicrocar) = 0;
    CalculateDataFromParkBuildings();
  } else {
    return 1;
  }
  return 0;
}

int CParkManagement::GetStep(const char* key, float* step) {
  if (!key || !step) return 1;
  if (IsPriceZoneKey(key)) *step = 0.1f;
  else if (IsChangeKey(key)) *step = 10.0f;
  else return 1;
  return 0;
}

int CParkManagement::GetVarMin(const char* key, float* min) {
  if (!key || !min || !IsChangeKey(key)) return 1;
  *min = -100.0f;
  return 0;
}

int CParkManagement::GetVarMax(const char* key, float* max) {
  if (!key || !max) return 1;
  if (IsChangeKey(key) || Is(key, "PRM.QUOTEMICROCAR")) *max = 100.0f;
  else if (Is(key, "PRM.CENTER.PRICE.SHORTTIME")) *max = 7.0f;
  else return 1;
  return 0;
}

// ---- record

template <class F>
void CParkManagement::EachField(Block& b, F&& f) {
  f(b.income), f(b.expenses), f(b.places), f(b.placesPR), f(b.placesMicrocar), f(b.placesCar), f(b.lastBalance);
  f(b.priceCar), f(b.priceMicrocar), f(b.userQuoteCar), f(b.userQuoteMicrocar), f(b.userQuote);
  f(b.reservationExpenses), f(b.displayExpenses), f(b.nextNumber), f(b.quoteReservation), f(b.quoteGuidance);
  f(b.changePkw), f(b.changeMicrocar);
}

int CParkManagement::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  out.U32(kRecordLength);
  out.FixedString(name && *name ? name : "ParkManagement", kRecordNameSize);
  EachField(m_Block, [&](auto& v) {
    if constexpr (std::is_same_v<std::decay_t<decltype(v)>, float>)
      out.F32(v);
    else
      out.I32(v);
  });
  out.FixedString(kEndMark, kRecordNameSize);
  return out.Ok() ? 0 : 1;
}

int CParkManagement::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  Block b;
  bool numbers = true;
  EachField(b, [&](auto& v) {
    if constexpr (std::is_same_v<std::decay_t<decltype(v)>, float>) {
      v = in.F32();
      numbers = numbers && std::isfinite(v);
    } else {
      v = in.I32();
    }
  });
  char mark[kRecordNameSize + 1] = {};
  in.Bytes(mark, kRecordNameSize);
  if (!in.Ok()) {
    QNO_ERROR(QNO_SEV_ERROR, "ParkManagement: the savegame's record is cut short and is refused");
    return 1;
  }
  if (std::strcmp(mark, kEndMark) != 0) {
    QNO_ERROR(QNO_SEV_ERROR, "ParkManagement: the savegame's record lacks its end mark and is refused");
    return 1;
  }
  if (!numbers || b.nextNumber < 1 || b.places < 0 || b.placesCar < 0 || b.placesMicrocar < 0 || b.placesPR < 0 ||
      std::abs(b.changePkw) > 100 || std::abs(b.changeMicrocar) > 100) {
    QNO_ERROR(QNO_SEV_ERROR, "ParkManagement: the savegame's record holds a value out of range and is refused");
    return 1;
  }
  m_Block = b;
  return 0;
}
