#pragma once
// The travel assistant on cell phones: subscribers pay a monthly price and a
// price per query, the city may subsidise each new subscriber's phone and
// advertise the service. The subscribers follow the population, the prices,
// the advice centre's users and the quality of active route guidance.
#include <cstdint>

#include "framework/zor_pointer_list.h"
#include "measures/measure.h"
#include "sim/sim_date.h"

class CPta : public CMeasure {
 public:
  CPta();
  int Create() override;
  int Destroy() override;

  using CMeasure::GetVarData;
  using CMeasure::SetVarData;
  // The block's keys and "PTA.HANDY.COST"; the user quote in percent.
  int GetVarData(const char* key, double* value) override;
  // The prices, the subsidy, the campaigns and the message pair.
  int SetVarData(const char* key, double value) override;
  CZorvaList* GetList(const char* key) override;
  void ResetBilanz() override;
  // The quality from the advice centre and route guidance, kept, and the
  // share of people the service can win, in percent.
  double CalculateUserQuote() override;
  // The subscribers as a number of people, and the awareness the campaigns
  // raised, as the turn moves them.
  float GetUsers() const { return m_Block.users; }
  float GetAwareness() const { return m_Block.awareness; }

 protected:
  void BookTurn(double elapsed) override;
  void CalculateUser(double elapsed) override;
  void AfterLoad() override;
  const char* Refusal() const override;

 private:
  struct SBlock {
    int32_t income = 0, expenses = 0, balance = 0, lastBalance = 0;
    float priceMonth = 10.0f;
    float priceQuery = 0.5f;
    float quality = 0.0f;
    float users = 0.0f;
    float quote = 0.0f;
    int32_t subsidy = 0;
    uint8_t radio = 0, television = 0, print = 0;
    float printProgress = 0.0f, radioProgress = 0.0f, televisionProgress = 0.0f;
    float awareness = 0.0f;
    int32_t messageTime = 0;
    float messageQuote = 0.0f;
  };
  static const SMeasureLayout& Layout();
  // The bracket of the quote: prices, awareness and quality.
  double Attraction() const;

  SBlock m_Block;
  // No building of its own: the list stays empty.
  CZorvaList m_Outlets{0};
};
