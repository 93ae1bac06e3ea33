// The public-transport route matrix: its setup from the line data, the
// route searches in slices, the route queries and the line loads.
#include "sim/sim_bus_matrix.h"

#include <algorithm>
#include <climits>
#include <functional>

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
  m_linkStart.clear();
  m_links.clear();
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
  m_dist.assign(static_cast<size_t>(m_M), INT32_MAX);
  m_first.assign(static_cast<size_t>(m_M), -1);
  return true;
}

void CBusNetMatrix::InsertAtomTrips() {
  struct Edge {
    int32_t from;
    Link link;
  };
  std::vector<Edge> edges;
  auto add = [&](int from, int to, int cost, int length, bool transfer) {
    // A link never costs nothing, so that every step along a route comes
    // nearer its end.
    edges.push_back({from, {to, std::max(cost, 1), length, transfer}});
  };
  int n = 0;
  if (m_source && m_M > 0) {
    m_source->SimSetupLineDataCount();
    while (const LineDataType* d = m_source->SimGetNextLineData()) {
      const int stops = std::min<int>(d->stopsOneWay, LineDataType::kMaxStopsOneWay);
      if (n + stops > m_M) break;  // the lines changed while they were read
      const int headway = d->headway * 60;
      const short line = static_cast<short>(m_lines.size());
      m_lineIndex.emplace(LineKey(d->netType, d->lineNumber), line);
      m_lines.push_back({d->netType, d->lineNumber, headway, n});
      for (int s = 0; s < stops; ++s, ++n) {
        CSimMatrixStop& stop = m_stops[n];
        stop.Create(n, d->stopIds[s], line, headway);
        if (auto* e = static_cast<CSimMatrixStop*>(m_stopTree->FindNodeWithKey(d->stopIds[s]))) {
          // Changing lines costs the headway of the line boarded.
          CSimMatrixStop* last = e;
          for (; e; e = e->pNextAtSameStop()) {
            add(e->MatrixIndex(), n, headway, 0, true);
            add(n, e->MatrixIndex(), e->Umsteigezeit(), 0, true);
            last = e;
          }
          last->SetNextAtSameStop(&stop);
        } else {
          m_stopTree->InsertNode(&stop);
        }
        if (s > 0) {
          add(n - 1, n, d->times[s], d->distances[s], false);
          add(n, n - 1, d->times[s], d->distances[s], false);
        }
      }
    }
  }
  m_M = n;
  std::stable_sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.from < b.from; });
  m_linkStart.assign(static_cast<size_t>(m_M) + 1, 0);
  m_links.clear();
  m_links.reserve(edges.size());
  for (const Edge& e : edges) {
    ++m_linkStart[static_cast<size_t>(e.from) + 1];
    m_links.push_back(e.link);
  }
  for (int i = 0; i < m_M; ++i) m_linkStart[i + 1] += m_linkStart[i];
  m_loads.assign(m_lines.size(), 0);
}

const CBusNetMatrix::Link* CBusNetMatrix::FindLink(int from, int to) const {
  const Link* best = nullptr;
  for (int k = m_linkStart[from]; k < m_linkStart[from + 1]; ++k)
    if (m_links[k].to == to && (!best || m_links[k].cost < best->cost)) best = &m_links[k];
  return best;
}

void CBusNetMatrix::SearchFrom(int source) {
  // Dijkstra's search over the links; the heap holds cost and stop in one
  // word, so ties pop in stop order and the result repeats exactly.
  std::fill(m_dist.begin(), m_dist.end(), INT32_MAX);
  m_heap.clear();
  m_dist[source] = 0;
  m_first[source] = -1;
  m_heap.push_back(static_cast<uint64_t>(source));
  const auto later = std::greater<uint64_t>();
  while (!m_heap.empty()) {
    std::pop_heap(m_heap.begin(), m_heap.end(), later);
    const uint64_t top = m_heap.back();
    m_heap.pop_back();
    const int u = static_cast<int>(top & 0xFFFFFFFFu);
    const int32_t d = static_cast<int32_t>(top >> 32);
    if (d != m_dist[u]) continue;
    const int32_t firstOfU = u == source ? -1 : m_first[u];
    for (int k = m_linkStart[u]; k < m_linkStart[u + 1]; ++k) {
      const Link& l = m_links[k];
      const int32_t nd = d + l.cost;
      if (nd >= kNoConnection || nd >= m_dist[l.to]) continue;
      m_dist[l.to] = nd;
      m_first[l.to] = firstOfU < 0 ? l.to : firstOfU;
      m_heap.push_back((static_cast<uint64_t>(nd) << 32) | static_cast<uint32_t>(l.to));
      std::push_heap(m_heap.begin(), m_heap.end(), later);
    }
  }
  CSimMatrixTrip* row = &m_trips[static_cast<size_t>(source) * m_M];
  for (int v = 0; v < m_M; ++v) {
    const bool reached = m_dist[v] < kNoConnection;
    row[v].cost = reached ? m_dist[v] : kNoConnection;
    row[v].next = reached && v != source ? m_first[v] : -1;
  }
}

bool CBusNetMatrix::CalcBusNetMatrix(int stops, unsigned milliseconds) {
  const int end = std::min(m_M, m_cursor + std::max(stops, 0));
  const uint32_t start = kfx_GetTicks();
  while (m_cursor < end && kfx_GetTicks() - start < milliseconds) SearchFrom(m_cursor++);
  return m_cursor < m_M;
}

CSimMatrixTrip CBusNetMatrix::Entry(int from, int to) const {
  CSimMatrixTrip t{kNoConnection, -1};
  if (from < 0 || to < 0 || from >= m_M || to >= m_M) return t;
  if (from < m_cursor) return m_trips[static_cast<size_t>(from) * m_M + to];
  // Not searched yet: only the links themselves.
  if (from == to) {
    t.cost = 0;
  } else if (const Link* l = FindLink(from, to)) {
    t.cost = l->cost;
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
    const Link* l = v >= 0 ? FindLink(u, v) : nullptr;
    if (!l) return CSimBusRoute{};  // a walk that finds no link has no route
    if (r.links == 0) r.firstHeadway = m_lines[m_stops[v].LineID()].headway;
    if (l->transfer) {
      r.transferTime += l->cost;
      if (r.links == 0) r.firstTransfer = l->cost;
      r.lastTransfer = l->cost;
    } else {
      r.rideTime += l->cost;
      r.length += l->length;
      r.lastTransfer = 0;
    }
    ++r.links;
    u = v;
  }
  return r;
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
  for (int u = from; u != to; ++links) {
    const int v = Entry(u, to).next;
    const Link* l = v >= 0 ? FindLink(u, v) : nullptr;
    if (!l) break;
    const short id = static_cast<short>(m_stops[v].RealStopID());
    if (stopList && count) {
      if ((*count == 0 || stopList[*count - 1] != id) && *count < capacity) stopList[(*count)++] = id;
    } else if (!l->transfer) {
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
