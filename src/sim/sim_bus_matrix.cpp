// The public-transport route matrix: its setup from the line data, the
// route searches in slices, the route queries and the line loads.
#include "sim/sim_bus_matrix.h"

#include <algorithm>
#include <climits>

#include "framework/zor_seams.h"
#include "sim/sim_line_data.h"
#include "sim/sim_trip.h"

void CSimMatrixStop::Create(int index, int realStopId, short lineId, int headway) {
  m_index = index;
  m_realStopId = realStopId;
  m_lineId = lineId;
  m_headway = headway;
  if (!IsKeyed()) SetKey(realStopId);
}

CBusNetMatrix::CBusNetMatrix(CSimLineDataSource* lines) : m_source(lines) {}

CBusNetMatrix::~CBusNetMatrix() { Destroy(); }

bool CBusNetMatrix::Create() {
  m_valid = true;
  SetupMatrix();
  return true;
}

void CBusNetMatrix::Destroy() {
  ResetListen();
  m_stopTree.reset();
  m_anchor.reset();
  m_valid = false;
}

int64_t CBusNetMatrix::LineKey(int32_t netType, int32_t number) {
  // Virtual lines count their numbers apart from the bus and tram lines.
  const int64_t space = netType == LineDataType::kNetVirtual ? 1 : 0;
  return (space << 32) | static_cast<uint32_t>(number);
}

void CBusNetMatrix::ResetListen() {
  m_stopTree.reset();
  m_anchor = std::make_unique<CSimMatrixStop>();
  m_anchor->Create(0, 0, 0, 0);
  m_stopTree = std::make_unique<CBinaryTree>(m_anchor.get());
  m_M = 0;
  m_cursor = 0;
  m_stops.reset();
  m_trips.reset();
  m_rideCost.clear();
  m_rideLength.clear();
  m_along.clear();
  m_transferBefore.clear();
  m_transferAfter.clear();
  m_order.clear();
  m_rowDone.clear();
  m_arcStart.clear();
  m_arcs.clear();
  m_nodes = 0;
  m_lines.clear();
  m_lineIndex.clear();
  m_loads.clear();
}

bool CBusNetMatrix::SetupMatrix() {
  ResetListen();
  if (!m_source) return true;
  int total = 0;
  m_source->SimSetupLineDataCount();
  while (const LineDataType* d = m_source->SimGetNextLineData())
    total += std::min<int>(d->stopsOneWay, LineDataType::kMaxStopsOneWay);
  m_M = total;
  if (m_M > 0) {
    m_stops = std::make_unique<CSimMatrixStop[]>(static_cast<size_t>(m_M));
    // Each row is written whole by the search from its stop, so the rows
    // are not cleared here; rows not yet searched answer from the links.
    m_trips = std::make_unique_for_overwrite<CSimMatrixTrip[]>(static_cast<size_t>(m_M) * m_M);
  }
  InsertAtomTrips();
  BuildArcs();
  return true;
}

namespace {
// What a record may hold is bounded here, so that no arc of a search
// leaves the ring queue's span: 39 rides of at most 28 minutes along a
// line, and headways of at most 1000 minutes.
constexpr int kMaxRideSeconds = 1680;
constexpr int kMaxHeadwayMinutes = 1000;
static_assert((LineDataType::kMaxStopsOneWay - 1) * kMaxRideSeconds < CSimRingQueue::kMaxSpan);
static_assert(kMaxHeadwayMinutes * 60 < CSimRingQueue::kMaxSpan);

int TransferCost(const CSimMatrixStop& boarded) { return std::max(boarded.Umsteigezeit(), 1); }
}  // namespace

void CBusNetMatrix::InsertAtomTrips() {
  m_rideCost.assign(static_cast<size_t>(m_M), -1);
  m_rideLength.assign(static_cast<size_t>(m_M), 0);
  int n = 0;
  if (m_source && m_M > 0) {
    m_source->SimSetupLineDataCount();
    while (const LineDataType* d = m_source->SimGetNextLineData()) {
      const int stops = std::min<int>(d->stopsOneWay, LineDataType::kMaxStopsOneWay);
      if (n + stops > m_M) break;  // the lines changed while they were read
      const int headway = std::clamp(d->headway, 0, kMaxHeadwayMinutes) * 60;
      const short line = static_cast<short>(m_lines.size());
      m_lineIndex.emplace(LineKey(d->netType, d->lineNumber), line);
      m_lines.push_back({d->netType, d->lineNumber, headway, n});
      for (int s = 0; s < stops; ++s, ++n) {
        CSimMatrixStop& stop = m_stops[n];
        stop.Create(n, d->stopIds[s], line, headway);
        // An entry without a stop id keeps its rides but meets no line.
        const bool known = d->stopIds[s] > 0;
        if (auto* e = known ? static_cast<CSimMatrixStop*>(m_stopTree->FindNodeWithKey(d->stopIds[s])) : nullptr) {
          while (e->pNextAtSameStop()) e = e->pNextAtSameStop();
          e->SetNextAtSameStop(&stop);
        } else if (known) {
          m_stopTree->InsertNode(&stop);
        }
        if (s > 0) {
          // A ride never costs nothing, so that every step along a route
          // comes nearer its end.
          m_rideCost[n] = std::clamp(d->times[s], 1, kMaxRideSeconds);
          m_rideLength[n] = d->distances[s];
        }
      }
    }
  }
  m_M = n;
  m_loads.assign(m_lines.size(), 0);
}

bool CBusNetMatrix::SameStopsAndRides() {
  size_t line = 0;
  int n = 0;
  m_source->SimSetupLineDataCount();
  while (const LineDataType* d = m_source->SimGetNextLineData()) {
    if (line >= m_lines.size() || m_lines[line].netType != d->netType || m_lines[line].number != d->lineNumber ||
        m_lines[line].firstStop != n)
      return false;
    const int stops = std::min<int>(d->stopsOneWay, LineDataType::kMaxStopsOneWay);
    if (n + stops > m_M) return false;
    for (int s = 0; s < stops; ++s, ++n) {
      if (m_stops[n].RealStopID() != d->stopIds[s]) return false;
      const int32_t ride = s > 0 ? std::clamp(d->times[s], 1, kMaxRideSeconds) : -1;
      if (m_rideCost[n] != ride || (s > 0 && m_rideLength[n] != d->distances[s])) return false;
    }
    ++line;
  }
  return line == m_lines.size() && n == m_M;
}

bool CBusNetMatrix::UpdateHeadways() {
  if (!m_source || m_M == 0 || !SameStopsAndRides()) return false;
  bool searchAgain = false;
  size_t line = 0;
  m_source->SimSetupLineDataCount();
  while (const LineDataType* d = m_source->SimGetNextLineData()) {
    Line& l = m_lines[line++];
    const int headway = std::clamp(d->headway, 0, kMaxHeadwayMinutes) * 60;
    if (headway == l.headway) continue;
    l.headway = headway;
    const int end = l.firstStop + std::min<int>(d->stopsOneWay, LineDataType::kMaxStopsOneWay);
    for (int n = l.firstStop; n < end; ++n) {
      m_stops[n].SetHeadway(headway);
      searchAgain = searchAgain || m_transferBefore[n] == n;
    }
  }
  if (searchAgain) {
    // Boarding from a hub costs the headway of the line boarded.
    m_span = 1;
    for (int hub = m_M; hub < m_nodes; ++hub)
      for (int k = m_arcStart[hub]; k < m_arcStart[hub + 1]; ++k)
        m_arcs[k].cost = TransferCost(m_stops[m_arcs[k].to]);
    for (const Arc& a : m_arcs) m_span = std::max(m_span, a.cost);
    m_cursor = 0;
    std::fill(m_rowDone.begin(), m_rowDone.end(), 0);
  }
  ClearLineLoads();
  return true;
}


void CBusNetMatrix::BuildArcs() {
  const size_t m = static_cast<size_t>(m_M);
  // Hubs for the real stops of more than one matrix stop, numbered after
  // the matrix stops in the order of their first matrix stop.
  std::vector<int32_t> hubOf(m, -1);
  std::vector<int32_t> hubFirst;
  for (int i = 0; i < m_M; ++i) {
    if (hubOf[i] >= 0 || !m_stops[i].pNextAtSameStop()) continue;
    const int hub = m_M + static_cast<int>(hubFirst.size());
    hubFirst.push_back(i);
    for (CSimMatrixStop* e = &m_stops[i]; e; e = e->pNextAtSameStop()) hubOf[e->MatrixIndex()] = hub;
  }
  m_along.assign(m, 0);
  m_transferBefore.assign(m, -1);
  m_transferAfter.assign(m, -1);
  for (int i = 0; i < m_M; ++i) {
    const bool continues = m_rideCost[i] >= 0;
    m_along[i] = continues ? m_along[i - 1] + m_rideCost[i] : 0;
    m_transferBefore[i] = hubOf[i] >= 0 ? i : continues ? m_transferBefore[i - 1] : -1;
  }
  for (int i = m_M - 1; i >= 0; --i) {
    const bool continues = i + 1 < m_M && m_rideCost[i + 1] >= 0;
    m_transferAfter[i] = hubOf[i] >= 0 ? i : continues ? m_transferAfter[i + 1] : -1;
  }
  m_nodes = m_M + static_cast<int>(hubFirst.size());
  m_arcStart.assign(static_cast<size_t>(m_nodes) + 1, 0);
  m_arcs.clear();
  m_span = 1;
  auto arc = [&](int to, int cost, int firstHop) {
    m_arcs.push_back({to, cost, firstHop});
    m_span = std::max(m_span, cost);
  };
  m_order.clear();
  for (int i = 0; i < m_M; ++i) {
    if (hubOf[i] >= 0) {
      m_order.push_back(i);
      if (i > 0 && m_rideCost[i] >= 0 && m_transferBefore[i - 1] >= 0)
        arc(m_transferBefore[i - 1], Ride(i, m_transferBefore[i - 1]), i - 1);
      if (i + 1 < m_M && m_rideCost[i + 1] >= 0 && m_transferAfter[i + 1] >= 0)
        arc(m_transferAfter[i + 1], Ride(i, m_transferAfter[i + 1]), i + 1);
      arc(hubOf[i], 0, -1);
    }
    m_arcStart[i + 1] = static_cast<int32_t>(m_arcs.size());
  }
  m_transferStops = static_cast<int>(m_order.size());
  for (int i = 0; i < m_M; ++i)
    if (hubOf[i] < 0) m_order.push_back(i);
  for (size_t h = 0; h < hubFirst.size(); ++h) {
    for (CSimMatrixStop* e = &m_stops[hubFirst[h]]; e; e = e->pNextAtSameStop())
      arc(e->MatrixIndex(), TransferCost(*e), e->MatrixIndex());
    m_arcStart[m_M + h + 1] = static_cast<int32_t>(m_arcs.size());
  }
  m_dist.assign(static_cast<size_t>(m_nodes), INT32_MAX);
  m_first.assign(static_cast<size_t>(m_nodes), -1);
  m_rowDone.assign(m, 0);
}

bool CBusNetMatrix::LinkBetween(int from, int to, Link& link) const {
  if (from < 0 || to < 0 || from >= m_M || to >= m_M || from == to) return false;
  if (to == from + 1 && m_rideCost[to] >= 0) {
    link = {m_rideCost[to], m_rideLength[to], false};
    return true;
  }
  if (to == from - 1 && m_rideCost[from] >= 0) {
    link = {m_rideCost[from], m_rideLength[from], false};
    return true;
  }
  if (m_stops[from].RealStopID() > 0 && m_stops[from].RealStopID() == m_stops[to].RealStopID()) {
    link = {TransferCost(m_stops[to]), 0, true};
    return true;
  }
  return false;
}

void CBusNetMatrix::SearchFrom(int source) {
  // Dijkstra's search over the transfer stops and hubs. first[v] is the
  // first matrix stop after the source on the way to v; -1 while the way
  // has met none (the source's hub).
  std::fill(m_dist.begin(), m_dist.end(), INT32_MAX);
  m_queue.Reset(m_span);
  m_dist[source] = 0;
  m_first[source] = -1;
  m_queue.Push(0, source);
  while (!m_queue.Empty()) {
    uint64_t key;
    int u;
    m_queue.Pop(key, u);
    const int32_t d = static_cast<int32_t>(key);
    if (d != m_dist[u]) continue;
    const int32_t firstOfU = u == source ? -1 : m_first[u];
    for (int k = m_arcStart[u]; k < m_arcStart[u + 1]; ++k) {
      const Arc& a = m_arcs[k];
      const int32_t nd = d + a.cost;
      if (nd >= kNoConnection || nd >= m_dist[a.to]) continue;
      m_dist[a.to] = nd;
      m_first[a.to] = firstOfU >= 0 ? firstOfU : a.firstHop;
      m_queue.Push(static_cast<uint64_t>(nd), a.to);
    }
  }
  // The stops between transfer stops: the better of the two ends, the
  // earlier one on a tie.
  CSimMatrixTrip* row = &m_trips[static_cast<size_t>(source) * m_M];
  auto from = [&](int t, int v, CSimMatrixTrip& best) {
    if (t < 0 || m_dist[t] >= kNoConnection) return;
    const int32_t c = m_dist[t] + Ride(t, v);
    if (c >= best.cost) return;
    best.cost = c;
    best.next = t != source ? m_first[t] : (v > source ? source + 1 : source - 1);
  };
  for (int v = 0; v < m_M; ++v) {
    CSimMatrixTrip best{kNoConnection, -1};
    if (v == source) {
      best.cost = 0;
    } else if (m_transferBefore[v] == v) {
      if (m_dist[v] < kNoConnection) best = {m_dist[v], m_first[v]};
    } else {
      from(m_transferBefore[v], v, best);
      from(m_transferAfter[v], v, best);
    }
    row[v] = best;
  }
  m_rowDone[source] = 1;
}

void CBusNetMatrix::RowFromNeighbours(int source) {
  // A stop that is no transfer stop leaves along its line: to a stop of the
  // same line directly, elsewhere through the nearest transfer stop before
  // or after it, whose rows are made first.
  const int before = m_transferBefore[source], after = m_transferAfter[source];
  const CSimMatrixTrip* rowBefore = before >= 0 ? &m_trips[static_cast<size_t>(before) * m_M] : nullptr;
  const CSimMatrixTrip* rowAfter = after >= 0 ? &m_trips[static_cast<size_t>(after) * m_M] : nullptr;
  const int32_t rideBefore = before >= 0 ? Ride(before, source) : 0;
  const int32_t rideAfter = after >= 0 ? Ride(after, source) : 0;
  const int line = m_stops[source].LineID();
  CSimMatrixTrip* row = &m_trips[static_cast<size_t>(source) * m_M];
  for (int v = 0; v < m_M; ++v) {
    CSimMatrixTrip best{kNoConnection, -1};
    if (v == source) {
      best.cost = 0;
    } else {
      if (m_stops[v].LineID() == line) best = {Ride(source, v), v > source ? source + 1 : source - 1};
      if (rowBefore && rowBefore[v].cost < kNoConnection && rideBefore + rowBefore[v].cost < best.cost)
        best = {rideBefore + rowBefore[v].cost, source - 1};
      if (rowAfter && rowAfter[v].cost < kNoConnection && rideAfter + rowAfter[v].cost < best.cost)
        best = {rideAfter + rowAfter[v].cost, source + 1};
      if (best.cost >= kNoConnection) best = {kNoConnection, -1};
    }
    row[v] = best;
  }
  m_rowDone[source] = 1;
}

bool CBusNetMatrix::CalcBusNetMatrix(int stops, unsigned milliseconds) {
  const int end = std::min(m_M, m_cursor + std::max(stops, 0));
  const uint32_t start = kfx_GetTicks();
  while (m_cursor < end && kfx_GetTicks() - start < milliseconds) {
    const int source = m_order[m_cursor++];
    if (m_transferBefore[source] == source)
      SearchFrom(source);
    else
      RowFromNeighbours(source);
  }
  return m_cursor < m_M;
}

CSimMatrixTrip CBusNetMatrix::Entry(int from, int to) const {
  CSimMatrixTrip t{kNoConnection, -1};
  if (from < 0 || to < 0 || from >= m_M || to >= m_M) return t;
  if (m_rowDone[from]) return m_trips[static_cast<size_t>(from) * m_M + to];
  // Not searched yet: only the links themselves.
  if (from == to) {
    t.cost = 0;
  } else if (Link l{}; LinkBetween(from, to, l)) {
    t.cost = l.cost;
    t.next = to;
  }
  return t;
}

CSimBusRoute CBusNetMatrix::Route(int from, int to) const {
  CSimBusRoute r;
  const CSimMatrixTrip whole = Entry(from, to);
  if (!whole.Connected()) return r;
  r.cost = whole.cost;
  for (int u = from; u != to;) {
    const int v = Entry(u, to).next;
    Link l{};
    // Every link costs at least 1, so a walk is never longer than M links.
    if (!LinkBetween(u, v, l) || r.links >= m_M) return CSimBusRoute{};
    if (r.links == 0) r.firstHeadway = m_lines[m_stops[v].LineID()].headway;
    if (l.transfer) {
      r.transferTime += l.cost;
      if (r.links == 0) r.firstTransfer = l.cost;
      r.lastTransfer = l.cost;
    } else {
      r.rideTime += l.cost;
      r.length += l.length;
      r.lastTransfer = 0;
    }
    ++r.links;
    u = v;
  }
  return r;
}

size_t CBusNetMatrix::MatrixBytes() const {
  const size_t m = static_cast<size_t>(m_M);
  return m * m * sizeof(CSimMatrixTrip) + m * sizeof(CSimMatrixStop) + m_arcs.size() * sizeof(Arc) +
         (m_arcStart.size() + m_rideCost.size() + m_rideLength.size() + m_dist.size() + m_first.size() +
          m_along.size() + m_transferBefore.size() + m_transferAfter.size() + m_order.size()) * 4 +
         m_rowDone.size() +
         m_lines.size() * sizeof(Line);
}

CSimMatrixStop* CBusNetMatrix::GetMatrixStopFromRealID(short id) const {
  if (!m_stopTree || id == 0) return nullptr;
  return static_cast<CSimMatrixStop*>(m_stopTree->FindNodeWithKey(id));
}

bool CBusNetMatrix::FindBusRoute(short fromStop, short toStop, CSimTrip* trip, int accessTime, bool assign) {
  if (fromStop == 0 || toStop == 0 || fromStop == toStop || m_M == 0) return false;
  const CSimMatrixStop* a = GetMatrixStopFromRealID(fromStop);
  const CSimMatrixStop* b = GetMatrixStopFromRealID(toStop);
  if (!a || !b) return false;
  const CSimBusRoute r = Route(a->MatrixIndex(), b->MatrixIndex());
  if (r.cost >= kNoConnection || r.links == 0) return false;
  if (trip) {
    trip->SetTripValid(true);
    trip->SetZugangszeit(static_cast<int>(accessTime * 0.6));
    trip->SetFahrzeit(r.cost);
    trip->SetStreckenlaenge(r.length);
    // Transfers at either end of the route are no transfers for the
    // passenger; waiting for the first line is drawn up to its headway.
    const int inner = r.transferTime - r.firstTransfer - r.lastTransfer;
    const int r1 = zor_random() % 100;
    const int r2 = zor_random() % 100;
    trip->SetUmsteigezeit(static_cast<int>(r1 / 99.0 * inner) + static_cast<int>(r2 / 99.0 * r.firstHeadway));
  }
  if (assign && trip) {
    int lastLine = -1;
    MacheBusUmlegung(a->MatrixIndex(), b->MatrixIndex(), static_cast<int>(std::min<unsigned>(trip->Size(), INT_MAX)),
                     lastLine, nullptr, nullptr);
  }
  return true;
}

int CBusNetMatrix::MacheBusUmlegung(int from, int to, int size, int& lastLine, short* stopList, int* count,
                                    int capacity) {
  if (from < 0 || to < 0 || from >= m_M || to >= m_M) return 0;
  if (!Entry(from, to).Connected()) return 0;
  if (stopList && count && *count == 0 && capacity > 0) {
    stopList[0] = static_cast<short>(m_stops[from].RealStopID());
    *count = 1;
  }
  int links = 0;
  for (int u = from; u != to && links < m_M; ++links) {
    const int v = Entry(u, to).next;
    Link l{};
    if (!LinkBetween(u, v, l)) break;
    const short id = static_cast<short>(m_stops[v].RealStopID());
    if (stopList && count) {
      if ((*count == 0 || stopList[*count - 1] != id) && *count < capacity) stopList[(*count)++] = id;
    } else if (!l.transfer) {
      // A trip counts once for each line it boards.
      const int line = m_stops[v].LineID();
      if (line != lastLine) {
        lastLine = line;
        m_loads[line] += size;
      }
    }
    u = v;
  }
  return links;
}

int CBusNetMatrix::GetHstList(short fromStop, short toStop, short* stopList, int& count, int capacity) {
  count = 0;
  if (fromStop == 0 || toStop == 0 || fromStop == toStop) return -1;
  const CSimMatrixStop* a = GetMatrixStopFromRealID(fromStop);
  const CSimMatrixStop* b = GetMatrixStopFromRealID(toStop);
  if (!a || !b) return -1;
  if (m_M == 0 || !stopList) return 0;
  int lastLine = -1;
  MacheBusUmlegung(a->MatrixIndex(), b->MatrixIndex(), 0, lastLine, stopList, &count, capacity);
  return count;
}

int CBusNetMatrix::LineLoad(int32_t netType, int lineNumber) const {
  const auto it = m_lineIndex.find(LineKey(netType, lineNumber));
  return it == m_lineIndex.end() ? 0 : m_loads[it->second];
}

void CBusNetMatrix::ClearLineLoads() { std::fill(m_loads.begin(), m_loads.end(), 0); }

void CBusNetMatrix::TakeLineLoadsFrom(CBusNetMatrix& older) {
  if (&older == this) return;
  for (size_t k = 0; k < older.m_lines.size(); ++k) {
    const Line& l = older.m_lines[k];
    const auto it = m_lineIndex.find(LineKey(l.netType, l.number));
    if (it != m_lineIndex.end()) m_loads[it->second] += older.m_loads[k];
    older.m_loads[k] = 0;
  }
}

void CBusNetMatrix::WriteBackBusData(int hour) {
  if (!m_source || hour < 0 || hour >= LineDataType::kHours) return;
  m_source->SimSetupLineDataCount();
  while (LineDataType* d = m_source->SimGetNextLineData()) d->passengers[hour] = LineLoad(d->netType, d->lineNumber);
}
