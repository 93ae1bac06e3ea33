#pragma once
// The travel advice centre: the city may build one. It sells consultations
// at a price, runs three advertising campaigns, and its users follow a share
// of the population that the price and the awareness set (or god mode pins).
#include <cstdint>

#include "measures/building_object.h"
#include "measures/measure.h"
#include "sim/sim_date.h"

// The measure's saved block, 60 bytes.
struct SZorviZentraleBlock {
  int32_t income = 0;
  int32_t expenses = 0;
  int32_t balance = 0;
  int32_t lastBalance = 0;
  float price = 2.5f;
  // Users / population.
  float userQuote = 0.0f;
  float users = 0.0f;
  uint8_t exists = 0;
  uint8_t padding[3] = {};
  int32_t radio = 0;
  float radioProgress = 0.0f;
  int32_t television = 0;
  float televisionProgress = 0.0f;
  int32_t print = 0;
  float printProgress = 0.0f;
  float awareness = 0.0f;
};

class CZorviZentrale : public CMeasure {
 public:
  // The god value that pins the target share.
  static constexpr int kGottWert = 10;

  CZorviZentrale();
  ~CZorviZentrale() override;
  // Makes the building list; Destroy lets it go (not its building).
  int Create() override;
  using CMeasure::Create;
  int Destroy() override;

  // 1 (refused, nothing booked) when the city has its centre; else takes
  // it on, books its price and gives 0.
  virtual int AddZorviZentrale(CBuildingTrafficObject* centre);
  // 1 when the list did not hold the building.
  virtual int RemoveZorviZentrale(CBuildingTrafficObject* centre);
  bool HasZentrale() const { return m_Block.exists != 0; }
  CBuildingTrafficObject* GetZentrale() const;
  CZorvaList* GetList(const char* key) override;

  // The target share of the population in percent; 0 (and the user quote
  // 0) without a centre.
  double CalculateUserQuote() override;
  // God mode pins the target share (percent) and the users follow.
  void SetUserQuote(float quote);
  float GetUserQuote() const { return m_Block.userQuote; }

  // "MZ.USERQUOTE" is the user quote in percent; the rest are the block's.
  using CMeasure::GetVarData;
  int GetVarData(const char* key, double* value) override;

  // Last year's balance takes this year's; the year starts from 0.
  void ResetBilanz() override;

  const SZorviZentraleBlock& Block() const { return m_Block; }

 protected:
  void BookTurn(double elapsed) override;
  void CalculateUser(double elapsed) override;
  // The re-created centre books its price again.
  void AfterLoad() override;
  const char* Refusal() const override;
  // Windows 81 and 90 show their companion pages while there is no centre.
  void UpdateHints();

  SZorviZentraleBlock m_Block;
  CBuildingList* m_pList = nullptr;
  float m_GottQuote = 0.0f;
};
