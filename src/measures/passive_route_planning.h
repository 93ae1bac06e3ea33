#pragma once
// Passive route planning: route-planning CDs sold to drivers, which the city
// may subsidise and advertise. The users move toward a potential from the
// population and the network's share of planning drivers; sales and the
// cost of each user are booked by the year.
#include <cstdint>

#include "measures/measure.h"
#include "sim/sim_date.h"

class CPassiveRoutenPlanung : public CMeasure {
 public:
  CPassiveRoutenPlanung();

  using CMeasure::GetVarData;
  using CMeasure::SetVarData;
  // The block's keys, the campaigns' short names and "PAR.SYSTEM.COST".
  int GetVarData(const char* key, double* value) override;
  // The campaigns (paid), their short names (a flag without payment), the
  // CD price and the subsidy.
  int SetVarData(const char* key, double value) override;
  void ResetBilanz() override;
  // The share of drivers the service can win.
  double CalculateUserQuote() override;
  // The users as a number of people, and the awareness the campaigns
  // raised, as the turn moves them.
  float GetUsers() const { return m_Block.users; }
  float GetAwareness() const { return m_Block.awareness; }

 protected:
  void BookTurn(double elapsed) override;
  void CalculateUser(double elapsed) override;

 private:
  struct SBlock {
    float price = 22.5f;
    float quote = 0.0f;
    float users = 0.0f;
    int32_t income = 0, expenses = 0, balance = 0, lastBalance = 0;
    float subsidy = 0.0f;
    float awareness = 0.0f;
    int32_t print = 0, radio = 0, television = 0;
    float printProgress = 0.0f, radioProgress = 0.0f, televisionProgress = 0.0f;
  };
  static const SMeasureLayout& Layout();
  SBlock m_Block;
};
