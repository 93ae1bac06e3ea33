#include "measures/carsharing.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "framework/zor_seams.h"
#include "framework/zor_spiral.h"
#include "measures/measure_host.h"
#include "worldbase/zor_world_host.h"

namespace {

using B = SCarsharingBlock;

const SMeasureField kFields[] = {
    {"CS.PRICE.KM", SMeasureField::kFloat, offsetof(B, priceKm), true, 0.2f, 0.5f, 0.1f},
    {"CS.PRICE.MONTH", SMeasureField::kFloat, offsetof(B, priceMonth), true, 3.0f, 7.0f, 1.0f},
    {nullptr, SMeasureField::kInt32, offsetof(B, reserved)},
    {nullptr, SMeasureField::kInt32, offsetof(B, users)},
    {nullptr, SMeasureField::kFloat, offsetof(B, storedQuote)},
    {"CS.BILANZ", SMeasureField::kInt32, offsetof(B, balance)},
    {"CS.LASTYEAR.BILANZ", SMeasureField::kInt32, offsetof(B, lastBalance)},
    {"CS.QUALITY", SMeasureField::kFloat, offsetof(B, quality)},
    {"CS.PKW", SMeasureField::kInt32, offsetof(B, cars)},
    {"CS.INCOME", SMeasureField::kInt32, offsetof(B, income)},
    {"CS.EXPENSES", SMeasureField::kInt32, offsetof(B, expenses)},
    {"CS.NUMBER", SMeasureField::kInt32, offsetof(B, outlets)},
    {nullptr, SMeasureField::kInt32, offsetof(B, nextNumber)},
    {nullptr, SMeasureField::kFloat, offsetof(B, awareness)},
    {"CS.ADVERTISMENT.RADIO", SMeasureField::kInt32, offsetof(B, radio)},
    {"CS.ADVERTISMENT.RADIO.PERCENTREADY", SMeasureField::kFloat, offsetof(B, radioProgress)},
    {"CS.ADVERTISMENT.TELEVISION", SMeasureField::kInt32, offsetof(B, television)},
    {"CS.ADVERTISMENT.TELEVISION.PERCENTREADY", SMeasureField::kFloat, offsetof(B, televisionProgress)},
    {"CS.ADVERTISMENT.PRINT", SMeasureField::kInt32, offsetof(B, print)},
    {"CS.ADVERTISMENT.PRINT.PERCENTREADY", SMeasureField::kFloat, offsetof(B, printProgress)},
    {nullptr, SMeasureField::kFloat, offsetof(B, map), false, 0.0f, 0.0f, 0.0f, 16 * 16},
    {"CS.TIMELASTCHANGEMESSAGE", SMeasureField::kInt32, offsetof(B, messageTime)},
    {"CS.USERQUOTELASTMESSAGE", SMeasureField::kFloat, offsetof(B, messageQuote)},
};

const SMeasureCampaign kCampaigns[] = {
    {offsetof(B, radio), offsetof(B, radioProgress), 250000, 0.8f, 0.2f},
    {offsetof(B, television), offsetof(B, televisionProgress), 500000, 0.14f, 0.2f},
    {offsetof(B, print), offsetof(B, printProgress), 150000, 0.06f, 0.1f},
};

const char* const kSettable[] = {"CS.TIMELASTCHANGEMESSAGE", "CS.USERQUOTELASTMESSAGE", "CS.ADVERTISMENT.RADIO",
                                 "CS.ADVERTISMENT.TELEVISION", "CS.ADVERTISMENT.PRINT", "CS.PRICE.MONTH",
                                 "CS.PRICE.KM"};

// Savegames before version 150 end before the message time.
const SMeasureLayout kLayout{"Carsharing",       kFields,          static_cast<int>(std::size(kFields)),
                             offsetof(B, income), offsetof(B, expenses), offsetof(B, balance),
                             offsetof(B, lastBalance), offsetof(B, storedQuote), offsetof(B, awareness),
                             kCampaigns,         3,                150,
                             offsetof(B, messageTime), kSettable, static_cast<int>(std::size(kSettable))};

// The window whose companion page shows while car sharing has no cars.
constexpr int kCarsharingWindow = 84;

}  // namespace

CCarsharing::CCarsharing() : CMeasure(kLayout, &m_Block) {
  m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks());
}

CCarsharing::~CCarsharing() { delete m_pList; }

int CCarsharing::Create() {
  CMeasure::Create();
  delete m_pList;
  m_pList = new CBuildingList;
  return 0;
}

int CCarsharing::Destroy() {
  delete m_pList;
  m_pList = nullptr;
  return 0;
}

int CCarsharing::AddOutlet(CBuildingTrafficObject* outlet) {
  const bool office = outlet->GetType() == OBJ_CARSHARING_CENTRE;
  int number = 0;
  if (!office) {
    if (m_Block.nextNumber == 0) m_Block.nextNumber = 1;
    number = m_Block.nextNumber;
  }
  // While a savegame is read the outlets come back with their costs
  // already in the loaded expenses: they are not booked again.
  const bool booked = !CMeasureHost::Get()->IsLoading();
  if (office || m_Block.nextNumber == 0) {
    if (booked) m_Block.expenses += kOfficePrice;
    m_Block.cars += kOfficeCars;
    if (m_Block.nextNumber == 0) m_Block.nextNumber = 1;
  } else {
    if (booked) m_Block.expenses += kOutletPrice;
    m_Block.cars += kOutletCars;
    ++m_Block.nextNumber;
  }
  ++m_Block.outlets;
  outlet->SetID(number);
  if (m_pList) m_pList->AddTailBuilding(outlet, number);
  CMeasureHost::Get()->SetHinweisWindow(kCarsharingWindow, m_Block.outlets == 0 ? 1 : 0);
  return 0;
}

int CCarsharing::RemoveOutlet(CBuildingTrafficObject* outlet, bool force) {
  if (!m_pList || m_pList->CheckZorvaInList(outlet) != 0) return 0;
  if (outlet->GetID() == 0) {
    // The office goes even while outlets stand: the player is warned that
    // they serve nobody, and the whole fleet goes with it.
    if (m_pList->GetCount() >= 2 && !force) CWorldHost::Get()->SetAchtungWindow(kWarningOfficeWithOutlets);
    m_Block.cars = 0;
    m_Block.nextNumber = 0;
  } else {
    m_Block.cars = std::max(0, m_Block.cars - kOutletCars);
  }
  CMeasureHost::Get()->SetHinweisWindow(kCarsharingWindow, m_Block.cars == 0 ? 1 : 0);
  --m_Block.outlets;
  m_pList->RemoveBuilding(outlet);
  return 0;
}

const float* CCarsharing::GetMap(float* scale) const {
  if (scale) *scale = 1.0f;
  return &m_Block.map[0][0];
}

CZorvaList* CCarsharing::GetList(const char* key) {
  return key && !std::strcmp(key, "CS.PLACELIST") ? m_pList : nullptr;
}

int CCarsharing::GetVarData(const char* key, double* value) {
  if (!key) return 1;
  if (!std::strcmp(key, "CS.USERQUOTEPEOPLE")) {
    const int people = CMeasureHost::Get()->GetPeople();
    *value = people == 0 ? 0.0 : m_Block.users * 100.0 / people;
    return 0;
  }
  if (!std::strcmp(key, "CS.USERQUOTE")) {
    *value = m_Block.cars == 0 ? 0.0 : m_Block.users * 100.0 / (m_Block.cars * static_cast<double>(kUsersPerCar));
    return 0;
  }
  return CMeasure::GetVarData(key, value);
}

void CCarsharing::BookTurn(double elapsed) {
  if (m_Block.cars == 0) return;
  const double cars = m_Block.cars, users = m_Block.users;
  m_Block.expenses += static_cast<int32_t>(elapsed * 80000) + static_cast<int32_t>(elapsed * cars * 300) +
                      static_cast<int32_t>(elapsed * cars * 1800);
  const double s7 = CMeasureHost::Get()->GetExchangeValue("W.S7");
  m_Block.expenses += static_cast<int32_t>(users * 2400 * (s7 + 0.05) * elapsed);
  m_Block.income += static_cast<int32_t>(users * m_Block.priceMonth * 12 * elapsed) +
                    static_cast<int32_t>(elapsed * users * m_Block.priceKm * 2400);
}

void CCarsharing::CalculateUser(double elapsed) {
  CMeasureHost* host = CMeasureHost::Get();
  const int people = host->GetPeople();
  if (people == 0 || m_Block.cars == 0) {
    m_Block.reserved = 0;
    m_Block.users = 0;
    m_Block.storedQuote = 0.0f;
    return;
  }
  const double potential =
      std::min(people * host->GetExchangeValue("W.K8.2") / 1000.0, static_cast<double>(m_Block.cars) * kUsersPerCar);
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  const double damping = m_Block.users < potential ? (1.0 - a) * 5.0 + 1.0 : a * 5.0 + 1.0;
  m_Block.users = static_cast<int32_t>(MoveUsers(m_Block.users, potential, damping, elapsed));
}

int CCarsharing::OnPlayloopTurn(STime now, STime last) {
  CMeasure::OnPlayloopTurn(now, last);
  CalculateMap();
  return 0;
}

void CCarsharing::CalculateMap() {
  constexpr int kGrid = 16;
  int residents[kGrid][kGrid];
  if (!CMeasureHost::Get()->GetDistrictResidents(residents)) return;
  float demand[kGrid][kGrid];
  bool marked[kGrid][kGrid] = {};
  int total = 0;
  for (int i = 0; i < kGrid; ++i)
    for (int j = 0; j < kGrid; ++j) {
      demand[i][j] = static_cast<float>(residents[i][j]) * 0.15f;
      total = static_cast<int>(static_cast<float>(total) + demand[i][j]);
    }
  // One district takes from the capacity what it still needs.
  auto take = [&](int i, int j, int& capacity) {
    if (demand[i][j] > static_cast<float>(capacity)) {
      demand[i][j] -= static_cast<float>(capacity);
      capacity = 0;
    } else {
      capacity -= static_cast<int>(demand[i][j]);
      demand[i][j] = 0.0f;
    }
  };
  if (m_pList)
    for (CZorvaPointer* p = m_pList->GetHeadZorvaPointer(); p; p = p->GetNextZorvaPointer()) {
      auto* outlet = dynamic_cast<CBuildingObject*>(p->GetZorvaObject());
      if (!outlet) continue;
      int capacity = kOutletCapacity;
      const int ox = std::clamp(outlet->GetXPos() / 8, 0, kGrid - 1), oy = std::clamp(outlet->GetYPos() / 8, 0, kGrid - 1);
      if (marked[ox][oy] || demand[ox][oy] <= 0.0f)
        marked[ox][oy] = true;
      else
        take(ox, oy, capacity);
      ZorSquareSpiral spiral;
      spiral.Init(ox, oy, 2);
      int x = 0, y = 0;
      while (capacity > 0 && spiral.Next(x, y))
        if (x >= 0 && x < kGrid && y >= 0 && y < kGrid && !marked[x][y] && demand[x][y] > 0.0f) take(x, y, capacity);
      if (capacity > 0) {
        marked[ox][oy] = true;
        if (capacity > 180)
          CMeasureHost::Get()->ActivateMessage(15, 4, outlet->GetXPos(), outlet->GetYPos(), outlet->GetXSizeRichtung(),
                                               outlet->GetYSizeRichtung());
      }
    }
  int remaining = 0;
  for (int i = 0; i < kGrid; ++i)
    for (int j = 0; j < kGrid; ++j)
      if (!marked[i][j]) remaining += static_cast<int>(demand[i][j]);
  for (int i = 0; i < kGrid; ++i)
    for (int j = 0; j < kGrid; ++j) {
      const int need = static_cast<int>(static_cast<float>(residents[i][j]) * 0.15f);
      // A district without demand and without an outlet shows nothing,
      // also when it was covered before its residents left.
      if (marked[i][j])
        m_Block.map[i][j] = 1.0f;
      else if (need != 0)
        m_Block.map[i][j] = (static_cast<float>(need) - demand[i][j]) / static_cast<float>(need) * 0.9f + 0.05f;
      else
        m_Block.map[i][j] = 0.0f;
    }
  m_Block.quality = total <= 0 ? 0.0f : 1.0f - static_cast<float>(remaining) / static_cast<float>(total);
}

void CCarsharing::ResetBilanz() {
  CMeasure::ResetBilanz();
  m_Block.balance = 0;
  m_Block.awareness *= 0.8f;
}

void CCarsharing::AfterLoad() {
  m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks());
  m_Block.messageQuote = m_Block.storedQuote;
  // The outlets' buildings count the fleet and the outlets again as they
  // are placed; the expenses stay as saved, whatever mix of office and
  // outlets stands (an office may be gone while its outlets stay).
  m_Block.cars = 0;
  m_Block.outlets = 0;
  m_Block.nextNumber = 0;
}

const char* CCarsharing::Refusal() const {
  if (m_Block.users < 0) return "member count";
  if (m_Block.outlets < 0 || m_Block.outlets > 128 * 128) return "outlet count";
  return nullptr;
}
