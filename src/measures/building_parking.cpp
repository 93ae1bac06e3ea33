// Car parks: their record, prices and places, the hour's money, the
// display of their load and the guidance sign by the nearest crossing.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "framework/zor_stand_in.h"
#include "measures/building_object.h"
#include "measures/park_management.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "sim/sim_location.h"

const int CBuildingParkingObject::kDisplay[3][3] = {
    {39431, 39432, 39433}, {27552, 27563, 27574}, {28031, 28042, 27993}};

namespace {
bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }
double Clamp(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }
// The sign's graphics: one for the street type 4, one for the others.
constexpr int kSignTypeWide = 30, kSignGraphicWide = 21996;
constexpr int kSignType = 29, kSignGraphic = 24501;
}  // namespace

CBuildingParkingObject::CBuildingParkingObject(CParkManagement* manager, TObjectType kind) : m_pManager(manager) {
  m_Type = kind;
  m_Parking.graphicRow = 1;
}

CBuildingParkingObject::~CBuildingParkingObject() {
  if (m_pSign) m_pSign->SetParking(nullptr);
}

int CBuildingParkingObject::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height,
                                   ParkingDataType* parking) {
  const TObjectType kind = m_Type;
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Type = kind;
  if (parking) SetData(parking);
  return 0;
}

int CBuildingParkingObject::Destroy() {
  DestroyPLSObject(false);
  return CWorldObj::Destroy();
}

void CBuildingParkingObject::SetData(const ParkingDataType* parking) {
  if (parking) m_Parking = *parking;
}

void CBuildingParkingObject::SetParkingPlaces(int n) {
  m_Parking.places = n;
  m_Parking.carPlaces = n;
  m_Parking.microcarPlaces = 0;
}

void CBuildingParkingObject::ResetBilanz() {
  m_Parking.income = 0;
  m_Parking.expenses = 0;
}

void CBuildingParkingObject::PriceChangePkw(float percent) {
  const double price = m_Parking.price;
  m_Parking.price = static_cast<float>(Clamp(price + price * percent / 100.0, 0.0, 2.0));
}

void CBuildingParkingObject::PriceChangeMicrocar(float points) {
  m_Parking.microcarReduction = static_cast<float>(Clamp(m_Parking.microcarReduction + points, 0.0, 100.0));
}

double CBuildingParkingObject::Load() const {
  const double car = m_Parking.carPlaces, micro = m_Parking.microcarPlaces;
  if (car + micro <= 0.0) return 0.0;
  return (car * m_Parking.carLoad + micro * m_Parking.microcarLoad) / (car + micro);
}

// ---- the hour

int CBuildingParkingObject::OnPlayloopTurn(STime now, STime last) {
  if (m_Parking.guidanceOff == 0 && !m_pSign) SetPLS();
  const double elapsed = static_cast<double>(now.fyear) - static_cast<double>(last.fyear);
  const ParkingDataType& p = m_Parking;
  // A microcar place costs the car price less the reduction in percent.
  const double microcarPrice = p.price * (1.0 - p.microcarReduction / 100.0);
  const double paid =
      p.price * p.carPlaces * p.carLoad + microcarPrice * p.microcarLoad * p.microcarPlaces;
  m_Parking.income += static_cast<int32_t>(std::trunc(paid * elapsed)) * kPaidHoursPerYear;
  double cost = std::trunc(p.carPlaces * static_cast<double>(kCarPlaceUpkeep) * elapsed) +
                std::trunc(elapsed * p.microcarPlaces * static_cast<double>(kMicrocarPlaceUpkeep));
  if (p.guidanceOff == 0) cost = std::floor(cost * 1.15);
  if (p.reservationOff == 0) cost = std::floor(cost * 1.15);
  m_Parking.expenses += static_cast<int32_t>(cost);
  CalculateDarstellungFromUserQuote();
  return 0;
}

void CBuildingParkingObject::CalculateDarstellungFromUserQuote() {
  const double load = Load();
  const int state = load < 0.3 ? 0 : load < 0.6 ? 1 : 2;
  const int row = std::clamp(m_Parking.graphicRow, 0, 2);
  const int resId = kDisplay[row][state];
  if (resId == m_Data.resId) return;
  m_Data.resId = resId;
  CParkingHost* host = m_pManager ? m_pManager->GetHost() : nullptr;
  if (host)
    host->ChangeGraphic(this, resId);
  else
    ZOR_STAND_IN("CParkingHost");
}

// ---- guidance sign

int CBuildingParkingObject::SetPLS() {
  if (m_pSign || m_pSignStreet || !m_pSimLocation) return 1;
  CParkingHost* host = m_pManager ? m_pManager->GetHost() : nullptr;
  if (!host) {
    ZOR_STAND_IN("CParkingHost");
    return 1;
  }
  CStrJunction* junction = host->JunctionByID(static_cast<unsigned short>(m_pSimLocation->NearestCrossing()));
  if (!junction || junction->GetAnzLinkedStreets() < 1 || junction->GetAnzLinkedStreets() > 4) return 1;
  for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i) {
    CStrStrasse* street = junction->GetStreetByNR(i);
    short x = 0, y = 0;
    int dir = 0;
    if (!street || street->FindVLSLocation(x, y, dir, true) != 0) continue;
    dir = (dir + 2) % 4;
    const bool wide = street->GetStreetType() == 4;
    CSecondLayerObject* sign = host->CreateSign(wide ? kSignTypeWide : kSignType,
                                                wide ? kSignGraphicWide : kSignGraphic, x, y, dir);
    if (!sign) continue;
    sign->SetParking(this);
    street->SetParking(this);
    m_pSign = sign;
    m_pSignStreet = street;
    return 0;
  }
  return 1;
}

int CBuildingParkingObject::CheckForPLS() {
  if (m_Parking.guidanceOff != 0 || m_pSign) return 1;
  return SetPLS();
}

int CBuildingParkingObject::RemovePLS() {
  m_Parking.guidanceOff = 1;
  DestroyPLSObject(false);
  return 0;
}

void CBuildingParkingObject::DestroyPLSObject(bool keepSign) {
  // Without a host the world is clearing its objects and streets: the
  // street is left alone.
  CParkingHost* host = m_pManager ? m_pManager->GetHost() : nullptr;
  if (m_pSignStreet && host && host->HasStreet(m_pSignStreet)) m_pSignStreet->SetParking(nullptr);
  m_pSignStreet = nullptr;
  CSecondLayerObject* sign = m_pSign;
  m_pSign = nullptr;
  if (!sign || keepSign) return;
  sign->SetParking(nullptr);
  // Without a host the world is clearing its objects, the sign among them.
  if (host) host->RemoveSign(sign);
}

void CBuildingParkingObject::ForgetPLS(CSecondLayerObject* sign) {
  if (sign == m_pSign) DestroyPLSObject(true);
}

// ---- named values

int CBuildingParkingObject::GetVarData(const char* name, double* value) {
  if (!name || !value) return 1;
  const ParkingDataType& p = m_Parking;
  if (Is(name, "PH.EXPENSES")) *value = p.expenses;
  else if (Is(name, "PH.INCOME")) *value = p.income;
  else if (Is(name, "PH.BILANZ")) *value = static_cast<double>(p.income) - p.expenses;
  else if (Is(name, "PH.PLACES")) *value = p.places;
  else if (Is(name, "PH.PLACESMICROCAR")) *value = p.microcarPlaces;
  else if (Is(name, "PH.PLACESQUOTEMICROCAR")) *value = p.microcarShare;
  else if (Is(name, "PH.PLACESPKW")) *value = p.places * (1.0 - p.microcarShare / 100.0);
  else if (Is(name, "PH.PRICE")) *value = p.price;
  else if (Is(name, "PH.PRICE.REDUCTIONMICROCAR")) *value = p.microcarReduction;
  else if (Is(name, "PH.PLS")) *value = p.guidanceOff == 0 ? 1 : 0;
  else if (Is(name, "PH.PRS")) *value = p.reservationOff == 0 ? 1 : 0;
  else if (Is(name, "PH.PLS.COST") || Is(name, "PH.PRS.COST")) *value = kSystemCost;
  else if (Is(name, "PH.AUSLASTUNG")) *value = Clamp(Load() * 100.0, 0.0, 100.0);
  else if (Is(name, "PH.AUSLASTUNG0_1")) *value = Clamp(Load(), 0.0, 1.0);
  else if (Is(name, "PH.AUSLASTUNG.PKW")) *value = Clamp(p.carLoad * 100.0, 0.0, 100.0);
  else if (Is(name, "PH.AUSLASTUNG.MICROCAR")) *value = Clamp(p.microcarLoad * 100.0, 0.0, 100.0);
  else if (Is(name, "PH.AUSLASTUNG.PKW.MAX") || Is(name, "PH.AUSLASTUNG.MICROCAR.MAX")) *value = 100.0;
  else if (Is(name, "BUILDING.TYPE")) *value = static_cast<int>(m_Type);
  else if (Is(name, "PH.NR")) *value = p.number;
  else return CBuildingObject::GetVarData(name, value);
  return 0;
}

int CBuildingParkingObject::SetVarData(const char* name, double value) {
  if (!name) return 1;
  // A value that is no number changes nothing of a known key.
  const bool number = std::isfinite(value);
  ParkingDataType& p = m_Parking;
  if (Is(name, "PH.PLACESQUOTEMICROCAR")) {
    if (!number) return 0;
    const double q = Clamp(value, 0.0, 100.0);
    p.microcarShare = static_cast<float>(q);
    p.carPlaces = static_cast<int32_t>(p.places * (100.0 - q) / 100.0);
    p.microcarPlaces = static_cast<int32_t>(q / 100.0 * p.places * 1.5);
  } else if (Is(name, "PH.PRICE.REDUCTIONMICROCAR")) {
    if (number) p.microcarReduction = static_cast<float>(Clamp(value, 0.0, 100.0));
  } else if (Is(name, "PH.PRICE")) {
    if (number) p.price = static_cast<float>(Clamp(value, 0.0, 2.0));
  } else if (Is(name, "PH.PARKINGSIZE")) {
    if (number) p.sizeClass = static_cast<int32_t>(Clamp(value, 1.0, 3.0));
  } else if (Is(name, "PH.INCOME")) {
    if (number) p.income = static_cast<int32_t>(Clamp(value, -2147483648.0, 2147483647.0));
  } else if (Is(name, "PH.PLS")) {
    if (!number) return 0;
    if (value == 0.0) {
      if (p.guidanceOff == 0) RemovePLS();
    } else {
      p.guidanceOff = 0;
      if (!m_pSign) SetPLS();
      p.expenses += kSystemCost;
    }
  } else if (Is(name, "PH.PRS")) {
    if (!number) return 0;
    if (value == 0.0) {
      p.reservationOff = 1;
    } else {
      p.reservationOff = 0;
      p.expenses += kSystemCost;
    }
  } else {
    return 1;
  }
  return 0;
}

int CBuildingParkingObject::GetStep(const char* name, float* step) {
  if (!name || !step) return 1;
  if (Is(name, "PH.PLACESQUOTEMICROCAR") || Is(name, "PH.PRICE.REDUCTIONMICROCAR")) *step = 5.0f;
  else if (Is(name, "PH.PRICE")) *step = 0.1f;
  else return 1;
  return 0;
}

int CBuildingParkingObject::GetVarMin(const char* name, float* min) {
  if (!name || !min) return 1;
  if (Is(name, "PH.PLACESQUOTEMICROCAR") || Is(name, "PH.PRICE.REDUCTIONMICROCAR") || Is(name, "PH.PRICE") ||
      Is(name, "PH.AUSLASTUNG.PKW") || Is(name, "PH.AUSLASTUNG.MICROCAR")) {
    *min = 0.0f;
    return 0;
  }
  return 1;
}

int CBuildingParkingObject::GetVarMax(const char* name, float* max) {
  if (!name || !max) return 1;
  if (Is(name, "PH.PLACESQUOTEMICROCAR") || Is(name, "PH.PRICE.REDUCTIONMICROCAR") ||
      Is(name, "PH.AUSLASTUNG.PKW") || Is(name, "PH.AUSLASTUNG.MICROCAR")) {
    *max = 100.0f;
    return 0;
  }
  if (Is(name, "PH.PRICE")) {
    CParkingHost* host = m_pManager ? m_pManager->GetHost() : nullptr;
    *max = host ? host->PriceMax() : 2.0f;
    return 0;
  }
  return 1;
}

// ---- record

int CBuildingParkingObject::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  if (!WriteRecord(out, name && *name ? name : "BuildingParkingObject", kRecordLength)) return 1;
  m_Parking.Write(out);
  return out.Ok() ? 0 : 1;
}

int CBuildingParkingObject::SerializeGameLoad(FILE* file, BuildingDataType* data, PotentialType* potential,
                                              short* district, ParkingDataType* parking) {
  if (CBuildingObject::SerializeGameLoad(file, data, potential, district) != 0) return 1;
  ZorRecordReader in(file);
  ParkingDataType p;
  if (!p.Read(in)) return 1;
  if (parking) *parking = p;
  return 0;
}
