// The city model's district statistic maps (one float per district, with
// the maximum its colour scale takes) and the text dumps of the population
// per district and of the day's trips by mode.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_file_layer.h"
#include "framework/zor_record.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_destination.h"
#include "sim/sim_location.h"

namespace {

// The map types with a map here, in the order of the maps. The parking map
// is the one the parking computation fills.
constexpr TSimDistrictMapType kTypes[CSimCityModell::kStatisticMaps] = {
    QNO_MAP_I_BEVOELKERUNGSDICHTE, QNO_MAP_I_ARBEITSPLATZDICHTE, QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN,
    QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE, QNO_MAP_V_OPNVNUTZER, QNO_MAP_V_PKWERREICHBARKEIT,
    QNO_MAP_NOT_USED1, QNO_MAP_NOT_USED2, QNO_MAP_NOT_USED3, QNO_MAP_NOT_USED4, QNO_MAP_NOT_USED5};

int MapIndex(TSimDistrictMapType type) {
  for (int i = 0; i < CSimCityModell::kStatisticMaps; ++i)
    if (kTypes[i] == type) return i;
  return -1;
}

int Persons(const CSimDistrict& d) { return static_cast<int>(d.NrOfPersons()); }

// The bus share of a district's agents' trips: one bus trip in 251 where
// there are car trips and no bus trips.
float BusShare(CSimDistrict& d) {
  d.UpdateTripStats();
  if (Persons(d) == 0) return 0.0f;
  double b = d.NrOfBusTrips(), c = d.NrOfCarTrips();
  if (b == 0 && c > 0) b = 1, c = 250;
  if (c == 0) c = 1;
  return static_cast<float>(b / (b + c));
}

std::string Numbered(const char* name, int n) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s.%3d", name, n);
  return buffer;
}

void Append(std::string& text, const char* format, int a, int b = 0, int c = 0, int d = 0, int e = 0, int f = 0) {
  char line[96];
  std::snprintf(line, sizeof line, format, a, b, c, d, e, f);
  text += line;
}

}  // namespace

float* CSimCityModell::GetPointerToStatisticMap(TSimDistrictMapType type) {
  if (type == QNO_MAP_V_PARKRAUM) return m_ParkingMap;
  const int i = MapIndex(type);
  return i < 0 ? nullptr : m_Maps[i];
}

void CSimCityModell::UpdateStatisticMap(TSimDistrictMapType type, float& maximum) {
  float* map = GetPointerToStatisticMap(type);
  if (!map) return;
  // The scale's start: its floor, or the fixed maximum at which larger
  // values are cut.
  float cut = 0.0f;
  switch (type) {
    case QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN:
    case QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE: maximum = 2000.0f; break;
    case QNO_MAP_V_OPNVNUTZER: cut = maximum = 0.6f; break;
    case QNO_MAP_V_PARKRAUM: maximum = 1.0f; return;  // filled with the parking search times
    case QNO_MAP_V_PKWERREICHBARKEIT: cut = maximum = 16.0f; break;
    case QNO_MAP_NOT_USED1: cut = maximum = 2.0f; break;
    case QNO_MAP_NOT_USED2: cut = maximum = 3.0f; break;
    case QNO_MAP_NOT_USED5: maximum = 0.0f; break;
    default: maximum = 1.0f; break;
  }
  const short query = DistrictID(m_QueryX, m_QueryY);
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      CSimDistrict& d = m_Districts[x][y];
      const short id = DistrictID(x, y);
      float v = 0.0f;
      switch (type) {
        case QNO_MAP_I_BEVOELKERUNGSDICHTE: v = static_cast<float>(d.NrOfResidents()); break;
        case QNO_MAP_I_ARBEITSPLATZDICHTE: v = static_cast<float>(d.NrOfJobs()); break;
        case QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN: v = static_cast<float>(d.NrOfHomes() - d.NrOfResidents()); break;
        case QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE: v = static_cast<float>(d.NrOfJobs() - d.NrOfWorkers()); break;
        case QNO_MAP_V_OPNVNUTZER: v = BusShare(d); break;
        case QNO_MAP_V_PKWERREICHBARKEIT: v = query ? Measured(id, query) : 0.0f; break;
        case QNO_MAP_NOT_USED1: v = static_cast<float>(Erschliessunggrad(query, id) - 1); break;
        case QNO_MAP_NOT_USED2: v = static_cast<float>(Entfernungsklasse(id, query)); break;
        case QNO_MAP_NOT_USED3: v = static_cast<float>(d.NrOfHomes()); break;
        case QNO_MAP_NOT_USED4: v = static_cast<float>(d.NrOfWorkers()); break;
        default: break;
      }
      if (cut > 0.0f && v > cut) v = cut;
      if (cut == 0.0f && v > maximum && type != QNO_MAP_NOT_USED5) maximum = v;
      map[kGrid * x + y] = v;
    }
  // Densities and homes count in whole thousands above their largest value.
  if (type == QNO_MAP_I_BEVOELKERUNGSDICHTE || type == QNO_MAP_I_ARBEITSPLATZDICHTE || type == QNO_MAP_NOT_USED3)
    maximum = (std::trunc(maximum / 1000.0f) + 1.0f) * 1000.0f;
}

bool CSimCityModell::WriteRawData(int n) {
  std::string population = "#\t Einwohner\t Arbeiter\t Sch\xfcler\t Konsumenten\t Privat\n";
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      const CSimDistrict& d = m_Districts[x][y];
      Append(population, "%3d\t %5d\t %5d\t %5d\t %5d\t %5d\n", DistrictID(x, y), d.NrOfResidents(),
             d.NrOfWorkers(), d.NrOfScholars(), d.NrOfConsumers(), d.NrOfLeisurers());
    }
  // Each dump is there whole or not at all: written beside its name and
  // renamed into place; a failure is logged.
  const std::string populationName = Numbered("Population", n);
  bool ok = ZorWriteFile(populationName.c_str(), population.data(), population.size());
  // The day's trips by mode: car, bus, walking; origin rows, destination
  // columns.
  std::vector<int> trips(3 * kDistricts * kDistricts, 0);
  auto districtOf = [](const CSimDestination* dest) -> short {
    const CSimLocation* at = dest && dest->HasLocation() ? dest->pLocation() : nullptr;
    return at ? at->GetDistrictID() : 0;
  };
  if (m_pAgents && m_pAgents->ResetIterator())
    while (CSimAgent* a = m_pAgents->pNextAgent()) {
      if (!a->IsValid()) continue;
      for (int h = 6; h <= 19; ++h) {
        const CSimTrip* t = a->pTrip(h);
        if (!t) continue;
        const ESimTransportationMode mode = t->TransportationMode();
        const int m = mode == SIM_MODE_CAR ? 0 : mode == SIM_MODE_BUS ? 1 : mode == SIM_MODE_WALK ? 2 : -1;
        const short from = districtOf(t->pFromDestination()), to = districtOf(t->pToDestination());
        if (m >= 0 && from >= 1 && from <= kDistricts && to >= 1 && to <= kDistricts)
          ++trips[(m * kDistricts + from - 1) * kDistricts + to - 1];
      }
    }
  // The three matrices belong together: all of them or none.
  const char* names[3] = {"FahrtenAuto", "FahrtenBus", "FahrtenFuss"};
  std::string texts[3];
  ZorFilePart parts[3];
  for (int m = 0; m < 3; ++m) {
    for (int r = 0; r < kDistricts; ++r)
      for (int c = 0; c < kDistricts; ++c)
        Append(texts[m], c + 1 < kDistricts ? "%3d\t " : "%3d\n", trips[(m * kDistricts + r) * kDistricts + c]);
    parts[m] = {Numbered(names[m], n), texts[m].data(), texts[m].size()};
  }
  return ZorWriteFilesSafely(ZorFileLayer::Real(), parts, 3) && ok;
}
