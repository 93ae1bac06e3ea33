#include "measures/advice_centre.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "measures/measure_host.h"
#include "worldbase/zor_world_host.h"

namespace {

using B = SZorviZentraleBlock;

const SMeasureField kFields[] = {
    {"MZ.INCOME", SMeasureField::kInt32, offsetof(B, income)},
    {"MZ.COST", SMeasureField::kInt32, offsetof(B, expenses)},
    {"MZ.BILANZ", SMeasureField::kInt32, offsetof(B, balance)},
    {"MZ.LASTYEAR.BILANZ", SMeasureField::kInt32, offsetof(B, lastBalance)},
    {"MZ.PRICE.BERATUNG", SMeasureField::kFloat, offsetof(B, price), true, 0.0f, 5.0f, 0.5f},
    {nullptr, SMeasureField::kFloat, offsetof(B, userQuote)},
    {nullptr, SMeasureField::kFloat, offsetof(B, users)},
    {"MZ.ZENTRALE", SMeasureField::kUInt8, offsetof(B, exists)},
    {nullptr, SMeasureField::kUInt8, offsetof(B, padding), false, 0.0f, 0.0f, 0.0f, 3},
    {"MZ.ADRADIO", SMeasureField::kInt32, offsetof(B, radio)},
    {"MZ.ADRADIO.PERCENTREADY", SMeasureField::kFloat, offsetof(B, radioProgress)},
    {"MZ.ADTELEVISION", SMeasureField::kInt32, offsetof(B, television)},
    {"MZ.ADTELEVISION.PERCENTREADY", SMeasureField::kFloat, offsetof(B, televisionProgress)},
    {"MZ.ADPRINT", SMeasureField::kInt32, offsetof(B, print)},
    {"MZ.ADPRINT.PERCENTREADY", SMeasureField::kFloat, offsetof(B, printProgress)},
    {nullptr, SMeasureField::kFloat, offsetof(B, awareness)},
};

const SMeasureCampaign kCampaigns[] = {
    {offsetof(B, print), offsetof(B, printProgress), 150000, 0.06f, 0.1f},
    {offsetof(B, radio), offsetof(B, radioProgress), 250000, 0.8f, 0.2f},
    {offsetof(B, television), offsetof(B, televisionProgress), 500000, 0.14f, 0.3f},
};

const char* const kSettable[] = {"MZ.ADRADIO", "MZ.ADTELEVISION", "MZ.ADPRINT", "MZ.PRICE.BERATUNG"};

const SMeasureLayout kLayout{"ZorviZentrale",     kFields,          static_cast<int>(std::size(kFields)),
                             offsetof(B, income), offsetof(B, expenses), offsetof(B, balance),
                             offsetof(B, lastBalance), offsetof(B, userQuote), offsetof(B, awareness),
                             kCampaigns,         3,
                             0,                  0,                kSettable,
                             static_cast<int>(std::size(kSettable))};

// The price table's entry of the centre.
constexpr int kPriceEntry = 32;
// The advice centre's page and the travel assistant's, whose companion
// pages show while there is no centre.
constexpr int kAdviceWindow = 81;
constexpr int kAssistantWindow = 90;

int CentrePrice() { return static_cast<int>(CWorldHost::Get()->GetPreis(kPriceEntry, 0)); }

}  // namespace

CZorviZentrale::CZorviZentrale() : CMeasure(kLayout, &m_Block) {}

CZorviZentrale::~CZorviZentrale() { delete m_pList; }

int CZorviZentrale::Create() {
  CMeasure::Create();
  delete m_pList;
  m_pList = new CBuildingList;
  return 0;
}

int CZorviZentrale::Destroy() {
  delete m_pList;
  m_pList = nullptr;
  return 0;
}

int CZorviZentrale::AddZorviZentrale(CBuildingTrafficObject* centre) {
  if (m_Block.exists) return 1;
  if (m_pList) m_pList->AddHeadBuilding(centre);
  centre->SetID(1);
  m_Block.expenses += CentrePrice();
  m_Block.exists = 1;
  UpdateHints();
  m_Block.balance = m_Block.income - m_Block.expenses;
  return 0;
}

int CZorviZentrale::RemoveZorviZentrale(CBuildingTrafficObject* centre) {
  if (!m_pList || m_pList->RemoveBuilding(centre) != 0) return 1;
  m_Block.exists = 0;
  UpdateHints();
  return 0;
}

CBuildingTrafficObject* CZorviZentrale::GetZentrale() const {
  CZorvaPointer* head = m_pList ? m_pList->GetHeadZorvaPointer() : nullptr;
  return head ? dynamic_cast<CBuildingTrafficObject*>(head->GetZorvaObject()) : nullptr;
}

CZorvaList* CZorviZentrale::GetList(const char* key) {
  return key && !std::strcmp(key, "MZ.PLACELIST") ? m_pList : nullptr;
}

void CZorviZentrale::UpdateHints() {
  CMeasureHost* host = CMeasureHost::Get();
  host->SetHinweisWindow(kAdviceWindow, m_Block.exists ? 0 : 1);
  const bool masts = host->GetExchangeValue("AR.NUMBER") != 0.0;
  host->SetHinweisWindow(kAssistantWindow, m_Block.exists || masts ? 0 : 1);
}

double CZorviZentrale::CalculateUserQuote() {
  if (!m_Block.exists) {
    m_Block.userQuote = 0.0f;
    return 0.0;
  }
  if (CMeasureHost::Get()->IsGottWertActive(kGottWert)) return m_GottQuote;
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  return ((1.0 - m_Block.price / 5.0) * 0.5 + a * 0.5) * 15.0;
}

void CZorviZentrale::SetUserQuote(float quote) {
  m_GottQuote = quote;
  m_Block.userQuote = quote;
  CalculateUser(0.0);
}

int CZorviZentrale::GetVarData(const char* key, double* value) {
  if (key && !std::strcmp(key, "MZ.USERQUOTE")) {
    *value = m_Block.userQuote * 100.0;
    return 0;
  }
  return CMeasure::GetVarData(key, value);
}

void CZorviZentrale::BookTurn(double elapsed) {
  if (!m_Block.exists) return;
  m_Block.income += static_cast<int32_t>(m_Block.users * 30 * elapsed * m_Block.price);
  m_Block.expenses += static_cast<int32_t>(m_Block.users * 100 * elapsed);
}

void CZorviZentrale::CalculateUser(double elapsed) {
  const int people = CMeasureHost::Get()->GetPeople();
  if (people <= 0 || !m_Block.exists) {
    m_Block.users = 0.0f;
    m_Block.userQuote = 0.0f;
    return;
  }
  const double potential = people * CalculateUserQuote() / 100.0;
  double users = m_Block.users;
  if (users > potential) users = potential;
  if (users < 0.0) users = 0.0;
  // One step a turn: a turn in which no time passed moves nobody.
  if (users < potential && elapsed > 0.0) {
    const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
    const double diff = potential - users;
    users += std::min(diff / ((1.0 - a) * 4.0 + 1.0) * 3.0 * elapsed, diff);
  }
  m_Block.users = static_cast<float>(users);
  m_Block.userQuote = static_cast<float>(users / people);
}

void CZorviZentrale::ResetBilanz() {
  CMeasure::ResetBilanz();
  m_Block.balance = 0;
}

void CZorviZentrale::AfterLoad() {
  // Only a saved centre comes back and books its price again.
  if (m_Block.exists)
    m_Block.expenses =
        static_cast<int32_t>(std::max<int64_t>(int64_t{m_Block.expenses} - CentrePrice(), INT32_MIN));
  m_Block.exists = 0;
}

const char* CZorviZentrale::Refusal() const {
  if (m_Block.users < 0.0f) return "user count";
  return nullptr;
}
