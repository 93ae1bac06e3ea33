// The check made just before a message is shown: is its cause still there?
#include <cstring>

#include "framework/zor_seams.h"
#include "framework/zor_stand_in.h"
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

CSimCityModell* CityOf(CDataExchange* exchange) {
  CSimWelt* sim = exchange ? exchange->GetSimulation() : nullptr;
  return sim ? sim->pCityModell() : nullptr;
}

}  // namespace

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
    owner->SetVarData(source.timeName, static_cast<double>(now));
    owner->SetVarData(source.quoteName, q);
    return q > 0.1;
  }
  return true;
}

bool CMessage::CheckBack(int group, int entry, float& value1, float& /*value2*/, float& /*value3*/, int /*x*/,
                         int /*y*/, int /*window*/, int /*xd*/, int /*yd*/) {
  switch (group) {
    case 5: {
      if (entry == 4 || entry > 10) return true;
      CSimCityModell* city = CityOf(m_pHost->GetDataExchange());
      if (!city) return false;
      // The conditions of the shortages are the global events'; until
      // they answer, the count of the city decides the entry alone.
      ZOR_STAND_IN("CDataExchange shortage checks");
      switch (entry) {
        case 0: return city->NrOfHomes() == 0;
        case 1: return city->NrOfHomes() != 0;
        case 2: return city->NrOfJobs() == 0;
        case 3: return city->NrOfJobs() != 0;
        case 5: return city->NrOfSchoolSeats() < 250;
        case 6: return city->NrOfSchoolSeats() >= 250;
        case 7: return city->NrOfShops() < 250;
        case 8: return city->NrOfShops() >= 250;
        case 9: return city->NrOfLeisurePoints() < 250;
        case 10: return city->NrOfLeisurePoints() >= 250;
        default: return true;
      }
    }
    case 11:
      return entry == 5 || entry == 6 ? CheckUserQuote(group, value1) : true;
    case 12:
      return entry == 3 || entry == 4 ? CheckUserQuote(group, value1) : true;
    case 13:
    case 14:
    case 15:
    case 17:
      return entry == 0 || entry == 1 ? CheckUserQuote(group, value1) : true;
    case 21:
      return entry == 6 ? m_pHost->GetStreetCount() <= 0 : true;
    default:
      return true;
  }
}
