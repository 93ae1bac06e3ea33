// The check made just before a message is shown: is its cause still there?
#include <cstring>

#include "framework/zor_seams.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"

namespace {

// The owner of a measure's stored names and the names of its quote.
struct SQuoteSource {
  int group;
  const char* quote;        // the current quote
  const char* timeName;     // the owner's time of the last change message
  const char* quoteName;    // the owner's quote at the last message
  bool takesCurrentQuote;   // the message shows the quote at showing time
};

constexpr SQuoteSource kQuoteSources[] = {
    {11, "W.M2", "PR.TIMELASTCHANGEMESSAGE", "PR.USERQUOTELASTMESSAGE", true},
    {12, "PTA.USERQUOTE", "PTA.TIMELASTCHANGEMESSAGE", "PTA.USERQUOTELASTMESSAGE", true},
    {15, "CS.USERQUOTEPEOPLE", "CS.TIMELASTCHANGEMESSAGE", "CS.USERQUOTELASTMESSAGE", false},
    {17, "AR.USERQUOTE", "AR.TIMELASTCHANGEMESSAGE", "AR.USERQUOTELASTMESSAGE", false},
};

}  // namespace

CSimCityModell* CMessageHost::GetCity() {
  CDataExchange* exchange = GetDataExchange();
  CSimWelt* sim = exchange ? exchange->GetSimulation() : nullptr;
  return sim ? sim->pCityModell() : nullptr;
}

bool CMessage::CheckUserQuote(int group, float& value1) {
  CDataExchange* exchange = m_pHost->GetDataExchange();
  if (!exchange) return false;
  const uint32_t now = kfx_GetTicks();
  double q = 0.0;
  if (group == 13 || group == 14) {
    if (group == 14) exchange->UpdateQuoteMicrocar();
    q = (group == 13 ? exchange->GetQuoteTeleworking() : exchange->GetQuoteMicroCar()) * 100.0;
    if (q <= value1 - 0.1) return false;
    value1 = static_cast<float>(q);
    if (group == 13) {
      exchange->SetTeleworkingLastChangeMessage(static_cast<int>(now));
      exchange->SetQuoteTeleworkingLastMessage(static_cast<float>(q / 100.0));
    } else {
      exchange->SetMicrocarLastChangeMessage(static_cast<int>(now));
      exchange->SetQuoteMicrocarLastMessage(static_cast<float>(q / 100.0));
    }
    return q > 0.1;
  }
  for (const SQuoteSource& source : kQuoteSources) {
    if (source.group != group) continue;
    CVarOwner* owner = exchange->GetObjectByName(source.timeName);
    if (!owner) return false;
    if (group == 11) {
      q = exchange->GetVarValue(source.quote);
    } else if (owner->GetVarData(source.quote, &q) != 0) {
      return false;
    }
    if (q <= value1 - 0.1) return false;
    if (source.takesCurrentQuote) value1 = static_cast<float>(q);
    // The measure's signed 32-bit field keeps the tick's bits.
    owner->SetVarData(source.timeName, static_cast<double>(static_cast<int32_t>(now)));
    owner->SetVarData(source.quoteName, q);
    return q > 0.1;
  }
  return true;
}

bool CMessage::CheckBack(int group, int entry, float& value1, float& value2, float& value3, int x, int y,
                         int /*window*/, int xd, int yd) {
  CDataExchange* exchange = m_pHost->GetDataExchange();
  // value2 and value3 carry a school's row and column.
  const int row = static_cast<int>(value2), column = static_cast<int>(value3);
  switch (group * 100 + entry) {
    case 0:
    case 1:
    case 2:
    case 3: {
      COpnvLine* line = m_pHost->GetLineByID(static_cast<int>(value1));
      if (!line || !exchange) return false;
      if (entry == 0) return exchange->Check_M_G_OPNV_L_USERLOW(line, x, y, xd, yd);
      if (entry == 1) return exchange->Check_M_G_OPNV_L_USERTOOMUCH(line, x, y, xd, yd);
      if (entry == 2) return exchange->Check_M_G_OPNV_L_LESSKFZ(line, x, y, xd, yd);
      return exchange->Check_M_G_OPNV_L_TOOLESSKFZ(line, x, y, xd, yd);
    }
    case 100:
      return exchange && exchange->Check_M_G_OPNV_TOTAL_BADSERVICE();
    case 103:
      return exchange && exchange->Check_M_G_OPNV_TOTAL_TOOLESSLINES();
    case 107: {
      // Stop ids are 16-bit.
      CBuildingObject* stop = m_pHost->GetHstByID(static_cast<uint16_t>(static_cast<int>(value1)));
      return exchange && stop && exchange->Check_M_G_OPNV_TOTAL_HSTNOTUSED(stop, x, y, xd, yd);
    }
    case 111:
      return exchange && exchange->Check_M_G_OPNV_TOTAL_OPNVNEEDED();
    case 300:
      return exchange && exchange->Check_M_G_CROSSING_TRAFFICLIGHTNEEDED(x, y);
    case 403:
      return exchange && exchange->Check_M_G_BUILDING_SCHOOL_OPNVNEEDED(x, y);
    case 404:
      return exchange && exchange->Check_M_G_BUILDING_SCHOOL_OPNVLINENEEDED(x, y);
    case 408:
      return exchange && exchange->Check_M_G_BUILDING_SCHOOL_CROSSINGNOAMPEL(column, row);
    case 409:
      return exchange && exchange->Check_M_G_BUILDING_SCHOOL_NO30(column, row);
    case 1002:
      return exchange && exchange->Check_M_G_PARKING_USERLOW(x, y);
    case 1004:
      return exchange && exchange->Check_M_G_PARKING_PLACESNEEDED(x, y);
    case 1105:
    case 1106:
    case 1203:
    case 1204:
    case 1300:
    case 1301:
    case 1400:
    case 1401:
    case 1500:
    case 1501:
    case 1700:
    case 1701:
      return CheckUserQuote(group, value1);
    case 2106:
      return m_pHost->GetStreetCount() <= 0;
    default:
      break;
  }
  if (group != 5 || entry > 10 || entry == 4) return true;
  CSimCityModell* city = m_pHost->GetCity();
  if (!exchange || !city) return false;
  using Shortage = CDataExchange::Shortage;
  switch (entry) {
    case 0:
    case 1:
      return exchange->HasShortage(Shortage::Homes) && (city->NrOfHomes() == 0) == (entry == 0);
    case 2:
    case 3:
      return exchange->HasShortage(Shortage::Jobs) && (city->NrOfJobs() == 0) == (entry == 2);
    case 5:
    case 6:
      return exchange->HasShortage(Shortage::School) && (city->NrOfSchoolSeats() < 250) == (entry == 5);
    case 7:
    case 8:
      return exchange->HasShortage(Shortage::Shops) && (city->NrOfShops() < 250) == (entry == 7);
    default:
      return exchange->HasShortage(Shortage::Leisure) && (city->NrOfLeisurePoints() < 250) == (entry == 9);
  }
}
