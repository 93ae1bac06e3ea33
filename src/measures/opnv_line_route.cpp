// A line's route over its network: from stop to stop over the shortest
// ways, then back; lengths, travel times and yearly cost from the route.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "framework/qno_log.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"

namespace {

// The other direction's id of a directed street id.
short OtherID(const CStrStrasse* s, short id) { return id == s->GetSimID() ? s->GetSimIDSecond() : s->GetSimID(); }

bool SameStreet(const CStrStrasse* s, short id) { return s && (id == s->GetSimID() || id == s->GetSimIDSecond()); }

// The junction a street driven in direction id leads to.
CStrJunction* DrivenTo(const CStrStrasse* s, short id) {
  return id == s->GetSimID() ? s->GetEndJunction() : s->GetStartJunction();
}

}  // namespace

int COpnvLine::GetJuncFromHst(CSecondLayerObject* stop, CStrStrasse** street, CStrJunction** start,
                              CStrJunction** end) {
  *street = nullptr;
  *start = *end = nullptr;
  if (!stop) return 1;
  int x = -1, y = -1;
  auto* tile = dynamic_cast<CStreetObj*>(StreetUnderHst(stop, &x, &y));
  if (!tile || !tile->GetStreetList()) return 1;
  *street = tile->GetStreetList();
  *start = (*street)->GetStartJunction() ? (*street)->GetStartJunction() : m_pSpare[0];
  *end = (*street)->GetEndJunction() ? (*street)->GetEndJunction() : m_pSpare[1];
  return 0;
}

int COpnvLine::FromJunction(CSecondLayerObject* stop, CStrStrasse* street, CStrJunction* junction) {
  const short id = junction == street->GetStartJunction() ? street->GetSimID() : street->GetSimIDSecond();
  return std::max(0, HstLengthFromJunction(stop, junction, id));
}

int COpnvLine::CalculateLength(CSecondLayerObject* a, CStrJunction* leave, CSecondLayerObject* b,
                               CStrJunction* arrive, const short* way, int count, CStrStrasse* aStreet,
                               CStrStrasse* bStreet) {
  if (count > 0 && (SameStreet(aStreet, way[0]) || SameStreet(bStreet, way[count - 1]))) return -1;
  int length = FromJunction(a, aStreet, leave) + FromJunction(b, bStreet, arrive);
  for (int k = 0; k < count; ++k)
    if (CStrStrasse* s = m_pNetwork->GetStreetByID(way[k])) length += std::max(0, s->GetLaenge());
  return length;
}

int COpnvLine::AppendStreet(short id) {
  if (m_Data.streetsOneWay >= kMaxStreets / 2) {
    m_RouteFull = true;
    return 1;
  }
  m_Data.streetIds[m_Data.streetsOneWay++] = id;
  return 0;
}

namespace {

struct Way {
  int length = -1;
  bool leaveStart = false, arriveStart = false;
  std::vector<short> ids;
};

}  // namespace

// The shortest of the four ways between the ends of two stops' streets.
static Way BestWay(CStrJunctionList* net, CStrJunction* const (&a)[2], CStrJunction* const (&b)[2],
                   const std::function<int(CStrJunction*, CStrJunction*, const short*, int)>& measure) {
  Way best;
  short ids[CStrJunctionList::kWayMaxStreets];
  for (int p = 0; p < 4; ++p) {
    CStrJunction* leave = a[p / 2];
    CStrJunction* arrive = b[p % 2];
    int count = -1;
    if (net->GetWayFromJunctionToJunction(leave, arrive, ids, &count, CStrJunctionList::kWayMaxStreets) != 0 ||
        count < 0)
      continue;
    const int length = measure(leave, arrive, ids, count);
    if (length < 0 || (best.length >= 0 && length >= best.length)) continue;
    best.length = length;
    best.leaveStart = p / 2 == 0;
    best.arriveStart = p % 2 == 0;
    best.ids.assign(ids, ids + count);
  }
  return best;
}

int COpnvLine::MakeStreetListFromHst() {
  const int m = m_Data.stopsOneWay;
  std::fill(std::begin(m_Data.stopStreetIds), std::end(m_Data.stopStreetIds), 0);
  std::fill(std::begin(m_Data.streetIds), std::end(m_Data.streetIds), 0);
  // The one-way flags belong to the stops; the return half is rebuilt.
  std::fill(std::begin(m_Data.stopActive) + m, std::end(m_Data.stopActive), 0);
  m_Data.streetsOneWay = m_Data.streetEntries = 0;
  m_Data.stopEntries = 0;
  if (m == 0 || !m_pNetwork) {
    m_Data.stopsOneWay = static_cast<uint16_t>(m);
    RemoveVehicles();
    return 0;
  }
  if (m == 1) {
    CStrStrasse* s;
    CStrJunction *j0, *j1;
    if (GetJuncFromHst(Hst(0), &s, &j0, &j1) == 0) {
      AppendStreet(s->GetSimID());
      m_Data.stopStreetIds[0] = s->GetSimID();
    }
    MakeReturnWay();
    CalculateFuhrPark();
    return 0;
  }
  const auto fail = [this] {
    QNO_ERROR(QNO_SEV_ERROR, "MakestreetListerror");
    return 1;
  };
  int i = 0;
  while (i < m - 1) {
    CStrStrasse *sa, *sb;
    CStrJunction *a[2], *b[2];
    if (GetJuncFromHst(Hst(i), &sa, &a[0], &a[1]) != 0 || GetJuncFromHst(Hst(i + 1), &sb, &b[0], &b[1]) != 0) {
      ++i;
      continue;
    }
    const int n = m_Data.streetsOneWay;
    if (sa != sb) {
      CSecondLayerObject *ha = Hst(i), *hb = Hst(i + 1);
      const Way way = BestWay(m_pNetwork, a, b, [&](CStrJunction* l, CStrJunction* r, const short* ids, int c) {
        return CalculateLength(ha, l, hb, r, ids, c, sa, sb);
      });
      if (way.length >= 0) {
        const short leaveId = way.leaveStart ? sa->GetSimIDSecond() : sa->GetSimID();
        const short arriveId = way.arriveStart ? sb->GetSimID() : sb->GetSimIDSecond();
        if (n == 0 || m_Data.streetIds[n - 1] != leaveId) AppendStreet(leaveId);
        for (const short id : way.ids) AppendStreet(id);
        AppendStreet(arriveId);
        if (m_RouteFull) return 1;
        m_Data.stopStreetIds[i] = leaveId;
        m_Data.stopStreetIds[i + 1] = arriveId;
      }
      ++i;
      continue;
    }
    // A run of stops on one street.
    int j = i + 1;
    while (j + 1 < m) {
      CStrStrasse* s;
      CStrJunction *j0, *j1;
      if (GetJuncFromHst(Hst(j + 1), &s, &j0, &j1) != 0 || s != sa) break;
      ++j;
    }
    short dir = sa->GetSimID();
    if (n > 0) {
      if (SameStreet(sa, m_Data.streetIds[n - 1])) dir = m_Data.streetIds[n - 1];
    } else if (i != 0) {
      return fail();
    } else if (m >= 3 && j + 1 < m) {
      CStrStrasse* sc;
      CStrJunction* c[2];
      if (GetJuncFromHst(Hst(j + 1), &sc, &c[0], &c[1]) != 0) return fail();
      CSecondLayerObject *ha = Hst(j), *hc = Hst(j + 1);
      const Way way = BestWay(m_pNetwork, a, c, [&](CStrJunction* l, CStrJunction* r, const short* ids, int cnt) {
        return CalculateLength(ha, l, hc, r, ids, cnt, sa, sc);
      });
      if (way.length >= 0 && way.leaveStart) dir = sa->GetSimIDSecond();
    }
    if (j - i + 1 < 2) return fail();
    // The stops of the run stand in increasing distance from where the
    // line enters the street.
    CStrJunction* entry = dir == sa->GetSimID() ? sa->GetStartJunction() : sa->GetEndJunction();
    for (bool swapped = true; swapped;) {
      swapped = false;
      for (int k = i; k < j; ++k) {
        if (FromJunction(Hst(k), sa, entry) <= FromJunction(Hst(k + 1), sa, entry)) continue;
        std::swap(m_Data.stopObjects[k], m_Data.stopObjects[k + 1]);
        std::swap(m_Data.stopIds[k], m_Data.stopIds[k + 1]);
        std::swap(m_Data.stopActive[k], m_Data.stopActive[k + 1]);
        swapped = true;
      }
    }
    for (int k = i; k <= j; ++k) m_Data.stopStreetIds[k] = dir;
    if (n == 0 || m_Data.streetIds[n - 1] != dir) AppendStreet(dir);
    if (m_RouteFull) return 1;
    i = j;
  }
  const int broken = CheckStreetList();
  if (MakeReturnWay() != 0) return 1;
  CalculateFuhrPark();
  return broken;
}

int COpnvLine::CheckStreetList() {
  const int n = m_Data.streetsOneWay;
  for (int k = 0; k + 1 < n; ++k) {
    const short a = m_Data.streetIds[k], b = m_Data.streetIds[k + 1];
    if (a == b) return 1;
    const CStrStrasse* s = m_pNetwork ? m_pNetwork->GetStreetByID(a) : nullptr;
    const CStrStrasse* t = m_pNetwork ? m_pNetwork->GetStreetByID(b) : nullptr;
    if (!s || !t) return 1;
    const CStrJunction* sj[2] = {s->GetStartJunction(), s->GetEndJunction()};
    const CStrJunction* tj[2] = {t->GetStartJunction(), t->GetEndJunction()};
    bool shared = false;
    for (const CStrJunction* x : sj)
      for (const CStrJunction* y : tj) shared = shared || (x && x == y);
    if (!shared) return 1;
  }
  return 0;
}

int COpnvLine::MakeReturnWay() {
  const int n = m_Data.streetsOneWay, m = m_Data.stopsOneWay;
  double length = 0, exclusive = 0;
  for (int k = n - 1; k >= 0; --k) {
    CStrStrasse* s = m_pNetwork ? m_pNetwork->GetStreetByID(m_Data.streetIds[k]) : nullptr;
    if (!s) {
      QNO_ERROR(QNO_SEV_ERROR, "street == NULL in COpnvLine::MakeReturnWay()");
      return 1;
    }
    length += s->GetLaenge();
    if (s->HasBusSpur()) exclusive += s->GetLaenge();
    m_Data.streetIds[n + (n - 1 - k)] = OtherID(s, m_Data.streetIds[k]);
  }
  m_Data.streetEntries = static_cast<uint16_t>(2 * n);
  m_Data.yearlyCost = m_Data.headway > 0 ? static_cast<int32_t>(length / 500.0 * 120.0 / m_Data.headway * 3000.0) : 0;
  exclusive /= 500.0;
  long long distances = 0, times = 0;
  for (int k = 0; k + 1 < m; ++k) {
    int time = 0, distance = 0;
    CalculateTimeFromHstToHst(k, k + 1, &time, &distance);
    if (distance <= 99) distance = 2400;
    if (time < 4) time = 120;
    m_Data.distances[k + 1] = distance;
    m_Data.times[k + 1] = time;
    distances += distance;
    times += time;
  }
  m_Data.length = static_cast<float>(distances / 500.0);
  m_Data.exclusiveLength = static_cast<float>(std::min<double>(exclusive, m_Data.length));
  m_Data.averageSpeed = m_Data.length != 0 && times != 0 ? static_cast<float>(m_Data.length / times) : 0.0f;
  if (m == 0) {
    m_Data.stopEntries = 0;
    return 0;
  }
  m_Data.distances[0] = m_Data.distances[m] = 1;
  m_Data.times[0] = m_Data.times[m] = 30;
  for (int k = 1; k < m; ++k) {
    m_Data.distances[m + k] = m_Data.distances[m - k];
    m_Data.times[m + k] = m_Data.times[m - k];
  }
  for (int j = 0; j < m; ++j) {
    const int from = m - 1 - j;
    m_Data.stopObjects[m + j] = Hst(from);
    m_Data.stopIds[m + j] = m_Data.stopIds[from];
    m_Data.stopActive[m + j] = m_Data.stopActive[from];
    const short id = m_Data.stopStreetIds[from];
    CStrStrasse* s = m_pNetwork && id ? m_pNetwork->GetStreetByID(id) : nullptr;
    m_Data.stopStreetIds[m + j] = s ? OtherID(s, id) : id;
  }
  m_Data.stopEntries = static_cast<uint16_t>(2 * m);
  return 0;
}

int COpnvLine::CalculateTimeFromHstToHst(int i, int j, int* time, int* distance) {
  return CalculateTimeLaengeByStreetList(i, j, Hst(i), Hst(j), time, distance);
}

int COpnvLine::CalculateTimeLaengeByStreetList(int i, int j, CSecondLayerObject* a, CSecondLayerObject* b, int* time,
                                                 int* distance) {
  *time = *distance = 0;
  const int n = m_Data.streetsOneWay;
  if (!a || !b || !m_pNetwork || n == 0) {
    *time = 60;
    return 1;
  }
  // Where each stop's street stands in the route, the second stop at or
  // after the first.
  const auto find = [&](short id, int from) {
    for (int k = from; k < n; ++k)
      if (m_Data.streetIds[k] == id) return k;
    return -1;
  };
  const int first = find(m_Data.stopStreetIds[i], 0);
  const int last = first < 0 ? -1 : find(m_Data.stopStreetIds[j], first);
  if (first < 0 || last < 0) {
    *time = 60;
    return 1;
  }
  double t = 0, d = 0;
  for (int k = first; k <= last; ++k) {
    const short id = m_Data.streetIds[k];
    CStrStrasse* s = m_pNetwork->GetStreetByID(id);
    if (!s) continue;
    const bool track = s->GetStreetType() == STRASSE_SCHIENE;
    const double speed = track || s->HasBusSpur() ? 17.0
                         : id == s->GetSimID()    ? s->GetVelocity() * 0.8
                                                  : s->GetVelocitySecond() * 0.8;
    double length = s->GetLaenge();
    CStrJunction* from = id == s->GetSimID() ? s->GetStartJunction() : s->GetEndJunction();
    if (k == first) length -= FromJunction(a, s, from);
    if (k == last) length -= FromJunction(b, s, DrivenTo(s, id));
    d += length;
    t += speed != 0 ? length / speed : 60.0;
    if (k == last || track) continue;
    CStrJunction* end = s->GetEndJunction();
    CKreuzObj* cross = end ? end->GetKreuzObject() : nullptr;
    if (!cross) continue;
    if (end->GetAmpelType() > 1) {
      double priority = 0;
      cross->GetVarData("KR.AMPEL.OPNV", &priority);
      t += priority != 0 ? 10 : 40;
    } else {
      t += 50;
    }
  }
  if (t == 0) t = 60;
  *time = static_cast<int>(t);
  *distance = static_cast<int>(d);
  return 0;
}

void COpnvLine::CrossingOpnvPriorisierung(int& total, int& prioritised) {
  int t = 0, p = 0;
  for (int k = 0; k + 1 < m_Data.streetsOneWay && m_pNetwork; ++k) {
    const CStrStrasse* s = m_pNetwork->GetStreetByID(m_Data.streetIds[k]);
    CStrJunction* end = s ? s->GetEndJunction() : nullptr;
    if (!end || end->GetAnzLinkedStreets() <= 2 || !end->GetKreuzObject()) continue;
    ++t;
    double priority = 0;
    end->GetKreuzObject()->GetVarData("KR.AMPEL.OPNV", &priority);
    if (priority != 0) ++p;
  }
  total += t;
  prioritised += p;
  m_Data.priorityShare = t ? static_cast<float>(p) / static_cast<float>(t) : 0.0f;
}

int COpnvLine::CheckForStreetChange() {
  if (m_Data.streetsOneWay == 0 || m_Data.stopsOneWay == 0) {
    m_Data.streetsOneWay = m_Data.stopsOneWay = 0;
    return 0;
  }
  bool changed = false;
  for (int k = 0; k < m_Data.streetEntries && k < kMaxStreets; ++k)
    if (!m_pNetwork || !m_pNetwork->GetStreetByID(m_Data.streetIds[k])) changed = true;
  if ((m_CheckCounter++ & 7u) == 0 && CanFindHst()) {
    for (int k = m_Data.stopsOneWay - 1; k >= 0; --k) {
      if (FindHst(m_Data.stopIds[k])) continue;
      QNO_ERROR(QNO_SEV_WARNING, "LineCheck: Haltestelle ID: %i nicht gefunden", static_cast<int>(m_Data.stopIds[k]));
      if (m_pHstList && Hst(k)) m_pHstList->RemoveZorva(Hst(k));
      RemoveHstEntry(k);
      changed = true;
    }
  }
  if (!changed) return 0;
  Changed();
  return MakeStreetListFromHst();
}
