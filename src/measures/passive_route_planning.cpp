#include "measures/passive_route_planning.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "measures/measure_host.h"

const SMeasureLayout& CPassiveRoutenPlanung::Layout() {
  using F = SMeasureField;
#define PAR_AT(member) offsetof(SBlock, member)
  static const F fields[] = {
      {"PAR.PRICE.NEWCD", F::kFloat, PAR_AT(price), true, 15.0f, 30.0f, 5.0f},
      {"PAR.USERQUOTE", F::kFloat, PAR_AT(quote)},
      {nullptr, F::kFloat, PAR_AT(users)},
      {"PAR.INCOME", F::kInt32, PAR_AT(income)},
      {"PAR.COST", F::kInt32, PAR_AT(expenses)},
      {"PAR.BILANZ", F::kInt32, PAR_AT(balance)},
      {"PAR.LASTYEAR.BILANZ", F::kInt32, PAR_AT(lastBalance)},
      {"PAR.SYSTEM.SUB", F::kFloat, PAR_AT(subsidy), true, 0.0f, 750.0f, 100.0f},
      {nullptr, F::kFloat, PAR_AT(awareness)},
      {"PAR.ADVERTISMENT.PRINT", F::kInt32, PAR_AT(print)},
      {"PAR.ADVERTISMENT.RADIO", F::kInt32, PAR_AT(radio)},
      {"PAR.ADVERTISMENT.TELEVISION", F::kInt32, PAR_AT(television)},
      {"PAR.ADVERTISMENT.PRINT.PERCENTREADY", F::kFloat, PAR_AT(printProgress)},
      {"PAR.ADVERTISMENT.RADIO.PERCENTREADY", F::kFloat, PAR_AT(radioProgress)},
      {"PAR.ADVERTISMENT.TELEVISION.PERCENTREADY", F::kFloat, PAR_AT(televisionProgress)},
  };
  static const SMeasureCampaign campaigns[] = {
      {PAR_AT(print), PAR_AT(printProgress), 150000.0, 0.06f, 0.1f},
      {PAR_AT(radio), PAR_AT(radioProgress), 250000.0, 0.8f, 0.2f},
      {PAR_AT(television), PAR_AT(televisionProgress), 500000.0, 0.14f, 0.3f},
  };
  static const SMeasureLayout layout{"PassiveRP",
                                     fields,
                                     static_cast<int>(std::size(fields)),
                                     static_cast<int>(PAR_AT(income)),
                                     static_cast<int>(PAR_AT(expenses)),
                                     static_cast<int>(PAR_AT(balance)),
                                     static_cast<int>(PAR_AT(lastBalance)),
                                     static_cast<int>(PAR_AT(quote)),
                                     static_cast<int>(PAR_AT(awareness)),
                                     campaigns,
                                     static_cast<int>(std::size(campaigns))};
#undef PAR_AT
  return layout;
}

CPassiveRoutenPlanung::CPassiveRoutenPlanung() : CMeasure(Layout(), &m_Block) {}

namespace {
// The campaigns' short names, which read the flag and set it without payment.
struct SShortName {
  const char* name;
  const char* key;
};
constexpr SShortName kShortNames[] = {
    {"PAR.ADRADIO", "PAR.ADVERTISMENT.RADIO"},         {"PAR.ADRADIO.TIME", "PAR.ADVERTISMENT.RADIO"},
    {"PAR.ADTELEVISION", "PAR.ADVERTISMENT.TELEVISION"}, {"PAR.ADTELEVISION.TIME", "PAR.ADVERTISMENT.TELEVISION"},
    {"PAR.ADPRINT", "PAR.ADVERTISMENT.PRINT"},         {"PAR.ADPRINT.TIME", "PAR.ADVERTISMENT.PRINT"}};
}  // namespace

int CPassiveRoutenPlanung::GetVarData(const char* key, double* value) {
  if (!key) return 1;
  for (const SShortName& s : kShortNames)
    if (std::strcmp(key, s.name) == 0) return CMeasure::GetVarData(s.key, value);
  if (std::strcmp(key, "PAR.SYSTEM.COST") == 0) {
    *value = 3000.0;
    return 0;
  }
  return CMeasure::GetVarData(key, value);
}

int CPassiveRoutenPlanung::SetVarData(const char* key, double value) {
  if (!key) return 1;
  static const char* const kDirect[] = {"PAR.ADRADIO", "PAR.ADTELEVISION", "PAR.ADPRINT"};
  int32_t* flags[] = {&m_Block.radio, &m_Block.television, &m_Block.print};
  for (int i = 0; i < 3; ++i)
    if (std::strcmp(key, kDirect[i]) == 0) {
      if (std::isfinite(value)) *flags[i] = static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
      return 0;
    }
  static const char* const kWritable[] = {"PAR.ADVERTISMENT.RADIO", "PAR.ADVERTISMENT.TELEVISION",
                                          "PAR.ADVERTISMENT.PRINT", "PAR.PRICE.NEWCD", "PAR.SYSTEM.SUB"};
  for (const char* k : kWritable)
    if (std::strcmp(key, k) == 0) return CMeasure::SetVarData(key, value);
  return 1;
}

void CPassiveRoutenPlanung::ResetBilanz() {
  // The year's whole balance, with what was booked since the last turn.
  m_Block.lastBalance = m_Block.income - m_Block.expenses;
  m_Block.income = m_Block.expenses = m_Block.balance = 0;
  m_Block.awareness *= 0.8f;
}

double CPassiveRoutenPlanung::CalculateUserQuote() {
  const double most = CMeasureHost::Get()->GetExchangeMax("W.K1.2");
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  return most * (m_Block.subsidy * 0.4 / 750.0 + a * 0.2 + (1.0 - (m_Block.price - 15.0) / 15.0) * 0.2 + 0.2);
}

void CPassiveRoutenPlanung::BookTurn(double elapsed) {
  BookYearly(static_cast<int>(offsetof(SBlock, income)), 2.0 * m_Block.users * m_Block.price, elapsed);
  BookYearly(static_cast<int>(offsetof(SBlock, expenses)), m_Block.users * 30.0, elapsed);
}

void CPassiveRoutenPlanung::CalculateUser(double elapsed) {
  CMeasureHost* host = CMeasureHost::Get();
  const double base = host->GetPeople() * host->GetExchangeValue("W.M7") / 1000.0;
  if (base <= 0.0) {
    m_Block.users = 0.0f;
    m_Block.quote = 0.0f;
    return;
  }
  const double potential = base * host->GetExchangeValue("W.K1.2") / 100.0;
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  const double s = std::clamp(m_Block.subsidy / 850.0, 0.0, 1.0);
  const double pull = 2.0 * s + a;
  const double users = m_Block.users;
  if (potential <= users) {
    m_Block.users = static_cast<float>(MoveUsers(users, potential, pull / 3.0 * 3.0 + 1.0, elapsed));
  } else {
    m_Block.users = static_cast<float>(MoveUsers(users, potential, (3.0 - pull) * 4.0 / 3.0 + 1.0, elapsed));
    const double step = m_Block.users - users;
    if (step > 0.0) m_Block.expenses += static_cast<int32_t>(step * m_Block.subsidy);
  }
  m_Block.quote = static_cast<float>(m_Block.users / base);
}
