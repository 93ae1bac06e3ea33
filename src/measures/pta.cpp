#include "measures/pta.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "framework/zor_seams.h"
#include "measures/measure_host.h"

const SMeasureLayout& CPta::Layout() {
  using F = SMeasureField;
#define PTA_AT(member) offsetof(SBlock, member)
  static const F fields[] = {
      {"PTA.INCOME", F::kInt32, PTA_AT(income)},
      {"PTA.COST", F::kInt32, PTA_AT(expenses)},
      {"PTA.BILANZ", F::kInt32, PTA_AT(balance)},
      {"PTA.LASTYEAR.BILANZ", F::kInt32, PTA_AT(lastBalance)},
      {"PTA.PRICE.MONTH", F::kFloat, PTA_AT(priceMonth), true, 0.0f, 20.0f, 1.0f},
      {"PTA.PRICE.ABFRAGE", F::kFloat, PTA_AT(priceQuery), true, 0.0f, 1.0f, 0.25f},
      {"PTA.QUALITY", F::kFloat, PTA_AT(quality)},
      {nullptr, F::kFloat, PTA_AT(users)},
      {"PTA.USERQUOTE", F::kFloat, PTA_AT(quote)},
      {"PTA.HANDY.SUB", F::kInt32, PTA_AT(subsidy), true, 0.0f, 750.0f, 50.0f},
      {"PTA.ADVERTISMENT.RADIO", F::kUInt8, PTA_AT(radio)},
      {"PTA.ADVERTISMENT.TELEVISION", F::kUInt8, PTA_AT(television)},
      {"PTA.ADVERTISMENT.PRINT", F::kUInt8, PTA_AT(print)},
      {nullptr, F::kPad, 0},
      {"PTA.ADVERTISMENT.PRINT.PERCENTREADY", F::kFloat, PTA_AT(printProgress)},
      {"PTA.ADVERTISMENT.RADIO.PERCENTREADY", F::kFloat, PTA_AT(radioProgress)},
      {"PTA.ADVERTISMENT.TELEVISION.PERCENTREADY", F::kFloat, PTA_AT(televisionProgress)},
      {nullptr, F::kFloat, PTA_AT(awareness)},
      {"PTA.TIMELASTCHANGEMESSAGE", F::kInt32, PTA_AT(messageTime)},
      {"PTA.USERQUOTELASTMESSAGE", F::kFloat, PTA_AT(messageQuote)},
  };
  // The travel assistant's campaigns change the quote, not the awareness.
  static const SMeasureCampaign campaigns[] = {
      {PTA_AT(print), PTA_AT(printProgress), 150000.0, 0.06f, 0.0f},
      {PTA_AT(radio), PTA_AT(radioProgress), 250000.0, 0.8f, 0.0f},
      {PTA_AT(television), PTA_AT(televisionProgress), 500000.0, 0.14f, 0.0f},
  };
  static const SMeasureLayout layout{"Pta",
                                     fields,
                                     static_cast<int>(std::size(fields)),
                                     static_cast<int>(PTA_AT(income)),
                                     static_cast<int>(PTA_AT(expenses)),
                                     static_cast<int>(PTA_AT(balance)),
                                     static_cast<int>(PTA_AT(lastBalance)),
                                     static_cast<int>(PTA_AT(quote)),
                                     static_cast<int>(PTA_AT(awareness)),
                                     campaigns,
                                     static_cast<int>(std::size(campaigns)),
                                     150,
                                     60,
                                     nullptr,
                                     0,
                                     true};
#undef PTA_AT
  return layout;
}

CPta::CPta() : CMeasure(Layout(), &m_Block) { m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks()); }

int CPta::Create() {
  CMeasure::Create();
  return m_Outlets.Create();
}

int CPta::Destroy() {
  m_Outlets.Destroy();
  return CMeasure::Destroy();
}

CZorvaList* CPta::GetList(const char* key) {
  return key && std::strcmp(key, "PTA.OUTLETLIST") == 0 ? &m_Outlets : nullptr;
}

int CPta::GetVarData(const char* key, double* value) {
  if (!key) return 1;
  if (std::strcmp(key, "PTA.HANDY.COST") == 0) {
    *value = 3000.0;
    return 0;
  }
  if (std::strcmp(key, "PTA.USERQUOTE") == 0) {
    *value = static_cast<double>(m_Block.quote) * 100.0;
    return 0;
  }
  return CMeasure::GetVarData(key, value);
}

int CPta::SetVarData(const char* key, double value) {
  static const char* const kWritable[] = {
      "PTA.TIMELASTCHANGEMESSAGE", "PTA.USERQUOTELASTMESSAGE",    "PTA.PRICE.MONTH",       "PTA.PRICE.ABFRAGE",
      "PTA.HANDY.SUB",             "PTA.ADVERTISMENT.TELEVISION", "PTA.ADVERTISMENT.RADIO", "PTA.ADVERTISMENT.PRINT"};
  for (const char* k : kWritable)
    if (key && std::strcmp(key, k) == 0) return CMeasure::SetVarData(key, value);
  return 1;
}

void CPta::ResetBilanz() {
  // The year's whole balance, with what was booked since the last turn.
  m_Block.lastBalance = m_Block.income - m_Block.expenses;
  m_Block.income = m_Block.expenses = m_Block.balance = 0;
  m_Block.awareness *= 0.8f;
}

double CPta::Attraction() const {
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  return (1.0 - (m_Block.priceMonth / 20.0 + m_Block.priceQuery) * 0.5) * 0.4 + a * 0.1 +
         m_Block.quality * 0.5 / 100.0;
}

double CPta::CalculateUserQuote() {
  CMeasureHost* host = CMeasureHost::Get();
  m_Block.quality = static_cast<float>(
      (host->GetExchangeValue("MZ.USERQUOTE") + 2.0 * host->GetExchangeValue("AR.QUALITY")) / 3.0);
  return Attraction() * host->GetExchangeMax("W.K9.2");
}

void CPta::BookTurn(double elapsed) {
  const double x = m_Block.users * elapsed;
  m_Block.expenses += static_cast<int32_t>(x * 200.0);
  m_Block.income += static_cast<int32_t>(x * m_Block.priceQuery * 36.0 + x * m_Block.priceMonth * 12.0);
}

void CPta::CalculateUser(double elapsed) {
  CMeasureHost* host = CMeasureHost::Get();
  const double people = host->GetPeople();
  // The quality is taken afresh each turn, so the subscribers follow the
  // advice centre and route guidance as they change.
  const double quote = CalculateUserQuote();
  if (people <= 0.0 || m_Block.quality == 0.0f) {
    m_Block.users = 0.0f;
    m_Block.quote = 0.0f;
    return;
  }
  const double potential = people * quote / 100.0;
  double users = std::clamp(static_cast<double>(m_Block.users), 0.0, std::max(potential, 0.0));
  const double a = std::min(static_cast<double>(m_Block.awareness), 1.0);
  const double s = std::clamp(m_Block.subsidy / 750.0, 0.0, 1.0);
  if (users < potential) {
    const double moved = MoveUsers(users, potential, (3.0 - (2.0 * s + a)) * 4.0 / 3.0 + 1.0, elapsed);
    if (moved > users) m_Block.expenses += static_cast<int32_t>((moved - users) * m_Block.subsidy);
    users = moved;
  }
  m_Block.users = static_cast<float>(users);
  m_Block.quote = static_cast<float>(users / people);
}

void CPta::AfterLoad() {
  m_Block.messageTime = static_cast<int32_t>(kfx_GetTicks());
  // The message pair holds the quote in percent, as the messages read it.
  m_Block.messageQuote = m_Block.quote * 100.0f;
}

const char* CPta::Refusal() const { return HasPercent(m_Block.quote) ? nullptr : "user quote"; }
