#include "measures/active_route_guidance.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "framework/zor_seams.h"
#include "framework/zor_spiral.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "measures/measure_host.h"

const SMeasureLayout& CAktiveRoutenPlanung::Layout() {
  using F = SMeasureField;
#define AR_AT(member) offsetof(SBlock, member)
  static const F fields[] = {
      {nullptr, F::kInt32, AR_AT(mapHour)},
      {nullptr, F::kInt32, AR_AT(mapDay)},
      {nullptr, F::kInt32, AR_AT(mapYear)},
      {nullptr, F::kFloat, AR_AT(mapFYear)},
      {nullptr, F::kFloat, AR_AT(awareness)},
      {"AR.PRICE.MONTH", F::kFloat, AR_AT(price), true, 0.0f, 20.0f, 2.0f},
      {"AR.USERQUOTE", F::kFloat, AR_AT(quote)},
      {nullptr, F::kFloat, AR_AT(users)},
      {"AR.INCOME", F::kInt32, AR_AT(income)},
      {"AR.COST", F::kInt32, AR_AT(expenses)},
      {"AR.BILANZ", F::kInt32, AR_AT(balance)},
      {"AR.LASTYEAR.BILANZ", F::kInt32, AR_AT(lastBalance)},
      {"AR.QUALITY", F::kFloat, AR_AT(quality)},
      {"AR.NUMBER", F::kInt32, AR_AT(masts)},
      {"AR.ADVERTISMENT.PRINT", F::kInt32, AR_AT(print)},
      {"AR.ADVERTISMENT.TELEVISION", F::kInt32, AR_AT(television)},
      {"AR.ADVERTISMENT.RADIO", F::kInt32, AR_AT(radio)},
      {"AR.SYSTEM.SUB", F::kInt32, AR_AT(subsidy), true, 0.0f, 850.0f, 100.0f},
      {"AR.ADVERTISMENT.PRINT.PERCENTREADY", F::kFloat, AR_AT(printProgress)},
      {"AR.ADVERTISMENT.TELEVISION.PERCENTREADY", F::kFloat, AR_AT(televisionProgress)},
      {"AR.ADVERTISMENT.RADIO.PERCENTREADY", F::kFloat, AR_AT(radioProgress)},
      {nullptr, F::kFloat, AR_AT(map), false, 0.0f, 0.0f, 0.0f, kGrid * kGrid},
      {"AR.TIMELASTCHANGEMESSAGE", F::kInt32, AR_AT(messageTime)},
      {"AR.USERQUOTELASTMESSAGE", F::kFloat, AR_AT(messageQuote)},
  };
  static const SMeasureCampaign campaigns[] = {
      {AR_AT(print), AR_AT(printProgress), 150000.0, 0.06f, 0.1f},
      {AR_AT(radio), AR_AT(radioProgress), 250000.0, 0.8f, 0.2f},
      {AR_AT(television), AR_AT(televisionProgress), 500000.0, 0.14f, 0.3f},
  };
  static const SMeasureLayout layout{"AktiveRP",
                                     fields,
                                     static_cast<int>(std::size(fields)),
                                     static_cast<int>(AR_AT(income)),
                                     static_cast<int>(AR_AT(expenses)),
                                     static_cast<int>(AR_AT(balance)),
                                     static_cast<int>(AR_AT(lastBalance)),
                                     static_cast<int>(AR_AT(quote)),
                                     static_cast<int>(AR_AT(awareness)),
                                     campaigns,
                                     static_cast<int>(std::size(campaigns)),
                                     150,
                                     AR_AT(messageTime)};
#undef AR_AT
  return layout;
}

CAktiveRoutenPlanung::CAktiveRoutenPlanung() : CMeasure(Layout(), &m_Block), m_Masts(0) {
  m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks());
}

int CAktiveRoutenPlanung::Create() {
  CMeasure::Create();
  return m_Masts.Create();
}

int CAktiveRoutenPlanung::Destroy() {
  m_Masts.Destroy();
  return CMeasure::Destroy();
}

void CAktiveRoutenPlanung::UpdateHints() {
  CMeasureHost* host = CMeasureHost::Get();
  const bool none = m_Block.masts == 0;
  host->SetHinweisWindow(87, none ? 1 : 0);
  host->SetHinweisWindow(90, none && host->GetExchangeValue("MZ.ZENTRALE") == 0.0 ? 1 : 0);
}

int CAktiveRoutenPlanung::AddSendeMast(CBuildingObject* mast) {
  if (!mast || m_Masts.CheckZorvaInList(mast) == 0) return 1;
  m_Masts.AddHeadBuilding(mast);
  ++m_Block.masts;
  UpdateHints();
  // While a savegame is read the map stays as saved: the masts made again
  // only count, so that a loaded game goes on as the saved one.
  if (!CMeasureHost::Get()->IsLoading()) CalculateMap();
  return 0;
}

int CAktiveRoutenPlanung::RemoveSendeMast(CBuildingObject* mast) {
  if (!mast || m_Masts.RemoveBuilding(mast) != 0) return 1;
  m_Block.masts = std::max(0, m_Block.masts - 1);
  UpdateHints();
  CalculateMap();
  return 0;
}

CZorvaList* CAktiveRoutenPlanung::GetList(const char* key) {
  return key && std::strcmp(key, "AR.OUTLETLIST") == 0 ? &m_Masts : nullptr;
}

int CAktiveRoutenPlanung::GetVarData(const char* key, double* value) {
  if (!key) return 1;
  static const struct {
    const char* alias;
    const char* key;
  } kAliases[] = {{"AR.ADPRINT", "AR.ADVERTISMENT.PRINT"},
                  {"AR.ADTELEVISION", "AR.ADVERTISMENT.TELEVISION"},
                  {"AR.ADRADIO", "AR.ADVERTISMENT.RADIO"}};
  for (const auto& a : kAliases)
    if (std::strcmp(key, a.alias) == 0) return CMeasure::GetVarData(a.key, value);
  if (std::strcmp(key, "AR.SYSTEM.COST") == 0) {
    *value = 3400.0;
    return 0;
  }
  if (std::strcmp(key, "AR.USERQUOTE") == 0) {
    *value = static_cast<double>(m_Block.quote) * 100.0;
    return 0;
  }
  return CMeasure::GetVarData(key, value);
}

int CAktiveRoutenPlanung::SetVarData(const char* key, double value) {
  static const char* const kWritable[] = {"AR.TIMELASTCHANGEMESSAGE",   "AR.USERQUOTELASTMESSAGE",
                                          "AR.ADVERTISMENT.PRINT",      "AR.ADVERTISMENT.TELEVISION",
                                          "AR.ADVERTISMENT.RADIO",      "AR.PRICE.MONTH",
                                          "AR.SYSTEM.SUB"};
  for (const char* k : kWritable)
    if (key && std::strcmp(key, k) == 0) return CMeasure::SetVarData(key, value);
  return 1;
}

void CAktiveRoutenPlanung::ResetBilanz() {
  // The year's whole balance, with what was booked since the last turn.
  m_Block.lastBalance = m_Block.income - m_Block.expenses;
  m_Block.income = m_Block.expenses = m_Block.balance = 0;
  m_Block.awareness *= 0.8f;
}

const float* CAktiveRoutenPlanung::GetMap(float* scale) const {
  if (scale) *scale = 1.0f;
  return m_Block.map;
}

double CAktiveRoutenPlanung::CalculateUserQuote() {
  if (m_Block.masts == 0) return 0.0;
  const double most = CMeasureHost::Get()->GetExchangeMax("W.K2.2");
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  return most * ((1.0 - m_Block.price / 20.0) * 0.4 + a * 0.1 + m_Block.quality * 0.5 / 100.0);
}

void CAktiveRoutenPlanung::Serve(float& demand, float& capacity) {
  if (demand > capacity) {
    demand -= capacity;
    capacity = 0.0f;
  } else {
    capacity -= static_cast<float>(static_cast<int>(demand));
    demand = 0.0f;
  }
}

void CAktiveRoutenPlanung::CalculateMap() {
  CMeasureHost* host = CMeasureHost::Get();
  CSimCityModell* city = host->GetCityModel();
  if (!city) return;
  if (m_Block.masts == 0 || m_Masts.GetCount() == 0) {
    m_Block.quality = 0.0f;
    std::fill(std::begin(m_Block.map), std::end(m_Block.map), 0.0f);
    return;
  }
  const double share = host->GetExchangeMax("W.K2.2") / 100.0;
  float demand[kGrid * kGrid];
  int total = 0;
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      const CSimDistrict* d = city->pDistrictAt(x, y);
      const double people = static_cast<double>(d->NrOfResidents()) + d->NrOfWorkers() + d->NrOfScholars() +
                            d->NrOfStudents() + d->NrOfConsumers() + d->NrOfLeisurers();
      demand[x * kGrid + y] = static_cast<float>(people * share);
      total = static_cast<int>(total + static_cast<double>(demand[x * kGrid + y]));
    }
  float* left = m_Block.map;
  std::copy(std::begin(demand), std::end(demand), left);
  ZorSquareSpiral spiral;
  m_Masts.SetupBuildingCount(0);
  while (CBuildingObject* mast = m_Masts.GetNextBuilding()) {
    const int mx = std::clamp(mast->GetXPos() / 8, 0, kGrid - 1), my = std::clamp(mast->GetYPos() / 8, 0, kGrid - 1);
    float capacity = kMastCapacity;
    float& own = left[mx * kGrid + my];
    if (own <= 0.0f)
      own = -1.0f;
    else
      Serve(own, capacity);
    spiral.Init(mx, my, 2);
    int x = 0, y = 0;
    while (capacity > 0.0f && spiral.Next(x, y)) {
      if (x < 0 || x >= kGrid || y < 0 || y >= kGrid) continue;
      float& there = left[x * kGrid + y];
      if (there > 0.0f) Serve(there, capacity);
    }
  }
  int remaining = 0;
  for (float v : m_Block.map)
    if (v > 0.0f) remaining += static_cast<int>(v);
  for (int i = 0; i < kGrid * kGrid; ++i) {
    const float d = demand[i];
    if (left[i] == -1.0f)
      left[i] = 1.0f;
    else if (static_cast<int>(d) != 0)
      left[i] = (d - left[i]) / d * 0.9f + 0.05f;
    else
      // A district without demand shows nothing.
      left[i] = 0.0f;
  }
  const double people = host->GetPeople();
  const double perMille = host->GetExchangeValue("W.M7") / 1000.0;
  if (people * perMille <= 0.0 || total <= 0) {
    m_Block.quality = 0.0f;
    return;
  }
  m_Block.quality = static_cast<float>(std::clamp(100.0 - perMille * remaining / total * 100.0, 0.0, 100.0));
}

int CAktiveRoutenPlanung::OnPlayloopTurn(STime now, STime last) {
  // The map follows the city every quarter of a year.
  if (now.fyear - m_Block.mapFYear > 0.25f) {
    CalculateMap();
    m_Block.mapHour = now.hour;
    m_Block.mapDay = now.day;
    m_Block.mapYear = now.year;
    m_Block.mapFYear = now.fyear;
  }
  return CMeasure::OnPlayloopTurn(now, last);
}

void CAktiveRoutenPlanung::BookTurn(double elapsed) {
  BookYearly(static_cast<int>(offsetof(SBlock, income)), m_Block.users * m_Block.price * 12.0, elapsed);
  BookYearly(static_cast<int>(offsetof(SBlock, expenses)), m_Block.masts * kMastUpkeep, elapsed);
}

void CAktiveRoutenPlanung::CalculateUser(double elapsed) {
  CMeasureHost* host = CMeasureHost::Get();
  const double base = host->GetPeople() * host->GetExchangeValue("W.M7") / 1000.0;
  if (base <= 0.0 || m_Block.masts == 0) {
    m_Block.users = 0.0f;
    m_Block.quote = 0.0f;
    return;
  }
  const double potential = base * host->GetExchangeValue("W.K2.2") / 100.0;
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  const double s = std::clamp(m_Block.subsidy / 850.0, 0.0, 1.0);
  const double pull = 2.0 * s + a;
  const double users = m_Block.users;
  if (potential <= users) {
    m_Block.users = static_cast<float>(MoveUsers(users, potential, pull / 3.0 * 5.0 + 3.0, elapsed));
  } else {
    m_Block.users = static_cast<float>(MoveUsers(users, potential, (3.0 - pull) * 4.0 / 3.0 + 1.0, elapsed));
    const double step = m_Block.users - users;
    if (step > 0.0) m_Block.expenses += static_cast<int32_t>(step * m_Block.subsidy);
  }
  m_Block.quote = static_cast<float>(m_Block.users / base);
}

void CAktiveRoutenPlanung::AfterLoad() {
  m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks());
  // The message pair holds the quote in percent, as the messages read it.
  m_Block.messageQuote = m_Block.quote * 100.0f;
  // The masts made again from their records count themselves anew; the map
  // and its time stay as saved.
  m_Block.masts = 0;
}

const char* CAktiveRoutenPlanung::Refusal() const { return HasPercent(m_Block.quote) ? nullptr : "user quote"; }
