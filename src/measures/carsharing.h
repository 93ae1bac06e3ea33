#pragma once
// Car sharing: an office and its outlets with their fleet, the prices per
// month and per kilometre, three advertising campaigns, the members who
// follow the city's demand up to what the fleet can serve, and a map of how
// well the outlets cover the districts' demand.
#include <cstdint>

#include "measures/building_object.h"
#include "measures/measure.h"
#include "sim/sim_date.h"

// The measure's saved block, 1112 bytes.
struct SCarsharingBlock {
  float priceKm = 0.3f;
  float priceMonth = 5.0f;
  int32_t reserved = 0;
  int32_t users = 0;
  // Multiplied by a campaign's factor when the campaign ends.
  float storedQuote = 0.0f;
  int32_t balance = 0;
  int32_t lastBalance = 0;
  // The covered share of the demand.
  float quality = 0.0f;
  int32_t cars = 0;
  int32_t income = 0;
  int32_t expenses = 0;
  // Outlets, the office included.
  int32_t outlets = 0;
  // 0 while neither office nor outlet exists.
  int32_t nextNumber = 0;
  float awareness = 0.0f;
  int32_t radio = 0;
  float radioProgress = 0.0f;
  int32_t television = 0;
  float televisionProgress = 0.0f;
  int32_t print = 0;
  float printProgress = 0.0f;
  // By district: first index x / 8, second y / 8.
  float map[16][16] = {};
  int32_t messageTime = 0;
  float messageQuote = 0.0f;
};

class CCarsharing : public CMeasure {
 public:
  // What the office and each further outlet cost and bring.
  static constexpr int kOfficePrice = 1500000;
  static constexpr int kOfficeCars = 15;
  static constexpr int kOutletPrice = 50000;
  static constexpr int kOutletCars = 10;
  // The members one car serves, and the members one outlet covers.
  static constexpr int kUsersPerCar = 60;
  static constexpr int kOutletCapacity = 600;
  // The warning when the office should go before its outlets.
  static constexpr int kWarningOfficeWithOutlets = 32;

  CCarsharing();
  ~CCarsharing() override;
  // Makes the outlet list; Destroy lets it go (not its buildings).
  int Create() override;
  using CMeasure::Create;
  int Destroy() override;

  // Takes the office (object type 34, number 0) or an outlet on, books its
  // price and cars; 0.
  virtual int AddOutlet(CBuildingTrafficObject* outlet);
  // Lets an outlet go. The office while other outlets remain is refused
  // with warning 32 (1) unless forced, when the whole fleet goes with it.
  virtual int RemoveOutlet(CBuildingTrafficObject* outlet, bool force);
  bool HasZentrale() const { return m_Block.outlets > 0; }
  // The coverage map by district (x / 8) x 16 + y / 8, at scale 1.
  const float* GetMap(float* scale) const;
  CZorvaList* GetList(const char* key) override;

  // The computed quotes first, then the block's keys.
  using CMeasure::GetVarData;
  int GetVarData(const char* key, double* value) override;

  using CMeasure::OnPlayloopTurn;
  // The common turn, then the coverage map.
  int OnPlayloopTurn(STime now, STime last) override;
  // The districts' demand against the outlets' capacity; only while the
  // city model exists.
  void CalculateMap();
  // The year's money closes and awareness fades to four fifths.
  void ResetBilanz() override;

  const SCarsharingBlock& Block() const { return m_Block; }

 protected:
  // The fleet's running costs and the members' fees.
  void BookTurn(double elapsed) override;
  void CalculateUser(double elapsed) override;
  // What the re-created outlets book again is taken back.
  void AfterLoad() override;
  const char* Refusal() const override;

  SCarsharingBlock m_Block;
  CBuildingList* m_pList = nullptr;
};
