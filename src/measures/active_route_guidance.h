#pragma once
// Active route guidance: a subscription service fed by the transmitter
// masts the player builds. Each mast serves 1500 people's demand in its own
// district and the districts of the spiral around it; the coverage map of
// the 16 x 16 districts and the coverage quality follow from what is left
// unserved. Subscribers move toward a potential from the population, the
// network's share of guided drivers, the price, awareness and a subsidy per
// new subscriber; the masts cost their upkeep.
#include <cstdint>

#include "measures/building_object.h"
#include "measures/measure.h"
#include "sim/sim_date.h"

class CAktiveRoutenPlanung : public CMeasure {
 public:
  static constexpr int kGrid = 16;
  static constexpr float kMastCapacity = 1500.0f;
  static constexpr double kMastUpkeep = 100000.0;

  CAktiveRoutenPlanung();
  int Create() override;
  int Destroy() override;

  // A mast more at the head of the list; the map is recomputed at once; 0.
  virtual int AddSendeMast(CBuildingObject* mast);
  // 1 when the mast was not in the list (the map stays as it was).
  virtual int RemoveSendeMast(CBuildingObject* mast);

  using CMeasure::GetVarData;
  using CMeasure::SetVarData;
  // The block's keys, the campaigns' short names, "AR.SYSTEM.COST"; the
  // user quote in percent.
  int GetVarData(const char* key, double* value) override;
  // The prices, the subsidy, the campaigns and the message pair.
  int SetVarData(const char* key, double value) override;
  CZorvaList* GetList(const char* key) override;
  using CMeasure::OnPlayloopTurn;
  // The map when a quarter year has passed since the last one, then the
  // common turn.
  int OnPlayloopTurn(STime now, STime last) override;
  void ResetBilanz() override;

  // The coverage map, index x / 8 x 16 + y / 8; scale 1.
  const float* GetMap(float* scale) const;
  // The share of drivers the service can win, in percent of the base.
  double CalculateUserQuote() override;
  // Serves the districts' demand from the masts in list order.
  void CalculateMap();
  int GetMastCount() const { return m_Block.masts; }
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
    int32_t mapHour = 0, mapDay = 0, mapYear = 0;
    float mapFYear = 0.0f;
    float awareness = 0.0f;
    float price = 10.0f;
    float quote = 0.0f;
    float users = 0.0f;
    int32_t income = 0, expenses = 0, balance = 0, lastBalance = 0;
    float quality = 0.0f;
    int32_t masts = 0;
    int32_t print = 0, television = 0, radio = 0;
    int32_t subsidy = 0;
    float printProgress = 0.0f, televisionProgress = 0.0f, radioProgress = 0.0f;
    float map[kGrid * kGrid] = {};
    int32_t messageTime = 0;
    float messageQuote = 0.0f;
  };
  static const SMeasureLayout& Layout();
  void UpdateHints();
  // Takes what a district's remaining demand asks of a mast's capacity.
  static void Serve(float& demand, float& capacity);

  SBlock m_Block;
  CBuildingList m_Masts;
};
