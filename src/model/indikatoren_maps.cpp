// The indicators' maps of the grid (noise, emissions and living quality)
// and the noise rating around homes and schools.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "model/indikatoren.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location.h"
#include "sim/sim_location_factory.h"

namespace {

constexpr int kGrid = CIndikatoren::kGrid;
constexpr double kFastStreet = 13.9;
constexpr int kNoiseRow = 6;

// The street of a street piece or the junction of a crossing on the cell.
const CStrStrasse* StreetOf(const CIsoInfo* cell) {
  auto* piece = dynamic_cast<CStreetObj*>(cell->GetWorldObject(ISO_LAYER_GROUND));
  return piece ? piece->GetStreetList() : nullptr;
}

const CStrJunction* JunctionOf(const CIsoInfo* cell) {
  auto* crossing = dynamic_cast<CKreuzObj*>(cell->GetWorldObject(ISO_LAYER_GROUND));
  return crossing ? crossing->GetWorldObject() : nullptr;
}

// A street's mean flow over the day, both directions, each mean truncated.
double MeanFlow(const CStrStrasse* street) { return street->GetAuslastung24() + street->GetAuslastung24Second(); }

double Speed(const CStrStrasse* street) { return const_cast<CStrStrasse*>(street)->GetVelocity(); }

bool FourLane(const CStrStrasse* street) { return street->GetStreetType() == STRASSE_VIERSPURIG; }

// Adds trunc(s / (|dx| + |dy| + 1)) to the cells around (x, y) within
// `reach` along both axes whose squared distance passes `inside`.
template <class Inside>
void Spread(std::vector<int32_t>& sum, int x, int y, double s, int reach, Inside inside) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const int cx = x + dx, cy = y + dy;
      if (cx < 0 || cy < 0 || cx >= kGrid || cy >= kGrid || !inside(dx * dx + dy * dy)) continue;
      sum[cy * kGrid + cx] += static_cast<int32_t>(s / (std::abs(dx) + std::abs(dy) + 1));
    }
}

// Adds the sources of the rows y0..y1 - 1 to the sums of a map: every cell
// a source by its ground object (homes, offices and industry as given, a
// street piece its street's value, a crossing the sum of its streets'
// values; streets times f) spread over the cells within `reach` whose
// squared distance is below `below`. The sums are whole numbers, so rows
// added in any slices give the sums of one pass.
template <class StreetValue>
void SpreadSources(CIsoWelt* map, std::vector<int32_t>& sum, int y0, int y1, const double (&buildings)[3],
                   StreetValue street, double f, int reach, int below) {
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < kGrid; ++x) {
      const CIsoInfo* cell = map->GetIsoInfo(x, y);
      if (!cell) continue;
      double s = 0.0;
      switch (cell->GetType(ISO_LAYER_GROUND)) {
        case OBJ_RESIDENTIAL: s = buildings[0]; break;
        case OBJ_OFFICE: s = buildings[1]; break;
        case OBJ_INDUSTRY: s = buildings[2]; break;
        case OBJ_STREET_PIECE:
          if (const CStrStrasse* st = StreetOf(cell)) s = street(st) * f;
          break;
        case OBJ_CROSSING:
          if (const CStrJunction* j = JunctionOf(cell)) {
            for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
              if (const CStrStrasse* st = j->GetStreetByNR(i)) s += street(st);
            s *= f;
          }
          break;
        default: break;
      }
      if (s != 0.0) Spread(sum, x, y, s, reach, [below](int d2) { return d2 < below; });
    }
}

double NoiseOfStreet(const CStrStrasse* s) {
  double v = MeanFlow(s);
  if (Speed(s) > kFastStreet) v *= 1.5;
  return FourLane(s) ? v * 0.5 : v;
}

double EmissionOfStreet(const CStrStrasse* s) {
  const double v = MeanFlow(s) * (Speed(s) / kFastStreet);
  return FourLane(s) ? v * 0.5 : v;
}

// The living quality's weight of a ground object around it.
int LivingWeight(TObjectType type) {
  switch (type) {
    case OBJ_GROUND: return 3;
    case OBJ_RIVER:
    case OBJ_PARK:
    case OBJ_SPORTS: return 10;
    case OBJ_INDUSTRY: return -4;
    case OBJ_ENTERTAINMENT: return 5;
    default: return 0;
  }
}

}  // namespace

int CIndikatoren::UpdateMaps() {
  UpdateMap(kNoiseJob);
  UpdateMap(kEmissionJob);
  UpdateMap(kLivingJob);
  return 0;
}

void CIndikatoren::UpdateMap(MapJob job) {
  StartMap(job);
  ContinueMap(kGrid);
}

int CIndikatoren::ContinueMap(int rows) {
  if (m_MapJob == kNoMapJob) return 0;
  const int end = std::min(kGrid, m_MapRow + std::max(1, rows));
  MapRows(m_MapRow, end);
  m_MapRow = end;
  if (m_MapRow < kGrid) return 1;
  FinishMap();
  return 0;
}

void CIndikatoren::StartMap(MapJob job) {
  // A map still being made is made whole first.
  ContinueMap(kGrid);
  CIsoWelt* map = m_pExchange ? m_pExchange->Context().Map() : nullptr;
  if (!map) return;
  m_MapJob = job;
  m_MapRow = 0;
  const double q1 = m_pExchange->GetQuoteMicroCar(), q2 = m_pExchange->GetQuoteH2Car(),
               q3 = m_pExchange->GetQuoteECar();
  if (job == kNoiseJob) {
    m_MapFactor = ((1.0 - q3 / 3.0) + (1.0 - q2 / 3.0) + Dx("W.M4") / 100.0 + 1.0 + (1.0 - q1 * 0.5)) * 0.25;
    m_MapSum.assign(kGrid * kGrid, 0);
  } else if (job == kEmissionJob) {
    m_MapFactor = ((1.0 - q3) + (1.0 - q2) + Dx("W.M4") / 50.0 + 1.0 + (1.0 - q1 * 0.5)) * 0.25 *
                  (1.0 - Dx("SV.RES.REDUCTION.WIRKUNG"));
    m_MapSum.assign(kGrid * kGrid, 0);
  } else {
    // Every built cell's quality from its noise and emission, before the
    // rows spread their weights.
    m_MapSum.assign(kGrid * kGrid, 255);
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x) {
        const CIsoInfo* cell = map->GetIsoInfo(x, y);
        if (!cell) continue;
        const TObjectType type = cell->GetType(ISO_LAYER_GROUND);
        if (type == OBJ_GROUND || type == OBJ_RIVER) continue;
        const int i = y * kGrid + x;
        m_MapSum[i] = std::max(0, 160 - m_Noise[i] / 2 - m_Emission[i] / 2);
      }
  }
}

void CIndikatoren::MapRows(int y0, int y1) {
  CIsoWelt* map = m_pExchange ? m_pExchange->Context().Map() : nullptr;
  if (!map) return;
  if (m_MapJob == kNoiseJob) {
    const double sources[] = {0, 4, 20};
    SpreadSources(map, m_MapSum, y0, y1, sources, NoiseOfStreet, m_MapFactor, 5, 16);
    return;
  }
  if (m_MapJob == kEmissionJob) {
    const double sources[] = {3, 10, 100};
    SpreadSources(map, m_MapSum, y0, y1, sources, EmissionOfStreet, m_MapFactor, 10, 76);
    return;
  }
  // The weights go out in row order: a cell already at the top is passed
  // over, so the order is part of the result.
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < kGrid; ++x) {
      const CIsoInfo* cell = map->GetIsoInfo(x, y);
      const int weight = cell ? LivingWeight(cell->GetType(ISO_LAYER_GROUND)) : 0;
      if (!weight) continue;
      for (int dy = -5; dy <= 5; ++dy)
        for (int dx = -5; dx <= 5; ++dx) {
          const int cx = x + dx, cy = y + dy;
          if (cx < 0 || cy < 0 || cx >= kGrid || cy >= kGrid || dx * dx + dy * dy > 8) continue;
          int32_t& v = m_MapSum[cy * kGrid + cx];
          if (v >= 255) continue;
          v += weight / (std::abs(dx) + std::abs(dy) + 1);
          v = v > 255 ? 254 : (v < 0 ? 0 : v);
        }
    }
}

void CIndikatoren::FinishMap() {
  const MapJob job = m_MapJob;
  m_MapJob = kNoMapJob;
  for (int i = 0; i < kGrid * kGrid; ++i) {
    const int32_t sum = m_MapSum[i];
    if (job == kNoiseJob) {
      const int v = std::min(255, sum / 3);
      m_Noise[i] = static_cast<uint8_t>(v < 10 ? 0 : v);
    } else if (job == kEmissionJob) {
      const int v = static_cast<int>((sum * 0.25 + m_Emission[i]) * 0.5);
      m_Emission[i] = static_cast<uint8_t>(v >= 255 ? 254 : (v < 3 ? 0 : v));
    } else {
      m_Living[i] = static_cast<uint8_t>(sum);
    }
  }
}

void CIndikatoren::CalcNoise() {
  CIsoWelt* map = m_pExchange ? m_pExchange->Context().Map() : nullptr;
  CSimCityModell* city = m_pExchange ? m_pExchange->City() : nullptr;
  CSimLocationFactory* factory = city ? city->pLocationFactory() : nullptr;
  double total = 0.0;
  int n = 0;
  for (int k = 0; map && factory && k < factory->GetLocationCount(); ++k) {
    const CSimLocation* location = factory->GetLocation(k);
    const CWorldObj* building = location->GetBuilding();
    if (!building || (building->GetType() != OBJ_RESIDENTIAL && building->GetType() != OBJ_SCHOOL)) continue;
    ++n;
    const int ox = location->Position().PosX(), oy = location->Position().PosY();
    double s = 0.0;
    for (int dy = -4; dy <= 4; ++dy) {
      for (int dx = -4; dx <= 4; ++dx) {
        const int x = ox + dx, y = oy + dy;
        if (x < 0 || y < 0 || x >= kGrid || y >= kGrid) continue;
        const CIsoInfo* cell = map->GetIsoInfo(x, y);
        if (!cell || cell->GetType(ISO_LAYER_GROUND) != OBJ_STREET_PIECE) continue;
        if (const CStrStrasse* st = StreetOf(cell))
          s += static_cast<int>(MeanFlow(st)) / (dx * dx + dy * dy + 1);
      }
      // Each row's running sum grows with the square root of the flows.
      if (s > 0.0) s = std::sqrt(s) + 1.0;
    }
    total += s;
  }
  if (!n) {
    Store(kNoiseRow, 0.5);
    return;
  }
  double r = (total - n) / n / 4.5 + Offset(kNoiseRow);
  r = r < 0.0 ? 0.0 : (r > 1.0 ? 1.0 : r);
  Store(kNoiseRow, 1.0 - r);
}
