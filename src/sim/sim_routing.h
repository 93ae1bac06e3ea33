#pragma once
// All-pairs car routes of one slot's street network.
//
// A full pass fills the matrix with exact shortest routes: one backward
// Dijkstra search per destination crossing, sliced by destinations the way
// a pivot-sliced closure would be. Every intermediate crossing of a route
// costs kCrossingPenalty seconds.
//
// Between the loading steps of an hour the streets only get slower (flows
// only grow), so the matrix of the hour's first pass is a lower bound for
// every later cost. Loading steps after the first therefore route each trip
// with an A* search that uses that matrix row as its heuristic, which is
// exact at the start of the hour and stays admissible and consistent as
// streets fill up. The final pass of the hour rebuilds the whole matrix.
#include <cstddef>
#include <cstdint>
#include <vector>

class CSimCrossing;
class CSimStreet;
class CBinaryTree;

// One matrix entry, 16 bytes: the way from one crossing to another. The
// full route is found by following first streets, each of whose end
// crossing holds the rest of the route in the same matrix row.
struct Route {
  static constexpr int kNoRoute = 600000;
  int cost;         // seconds; kNoRoute when there is no route
  int length;       // metres; -1 where no length was set (the diagonal)
  int firstStreet;  // routing index of the first street, -1 for none
  int lastStreet;   // routing index of the last street, -1 for none
  bool Direct() const { return firstStreet >= 0 && firstStreet == lastStreet; }
};
static_assert(sizeof(Route) == 16, "a route entry is 16 bytes");

class CSimRoutingMatrix {
 public:
  static constexpr int kCrossingPenalty = 20;

  CSimRoutingMatrix() = default;
  CSimRoutingMatrix(const CSimRoutingMatrix&) = delete;
  CSimRoutingMatrix& operator=(const CSimRoutingMatrix&) = delete;

  // Numbers the created crossings with an id above 0 in id order, collects
  // the streets between them and allocates the matrix (all "no route").
  void Init(const CBinaryTree* crossings, const CBinaryTree* streets);
  void Clear();

  // Starts a pass with the streets' current travel times. A full pass
  // recomputes every row; a light pass only refreshes the travel times and
  // the crossings' delay tables, leaving routes to RouteTrips.
  void StartPass(bool full);
  // One slice: at most `destinations` rows, or until `milliseconds` have
  // passed (a started row is always finished). True while rows remain.
  bool Slice(int destinations, unsigned milliseconds);
  int Cursor() const { return m_cursor; }
  bool MatrixCurrent() const { return m_current; }

  int N() const { return m_n; }
  Route* Matrix() { return m_matrix; }
  const Route* Entry(int from, int to) const;
  CSimCrossing* Crossing(int index) const;
  CSimStreet* Street(int index) const;
  int NrOfStreets() const { return static_cast<int>(m_streets.size()); }

  // Appends the streets of the best route from `from` to `to` under the
  // current travel times. False when there is none.
  bool FindPath(int from, int to, std::vector<int>& streets);
  // Appends the streets of the matrix route from `from` to `to`.
  bool MatrixPath(int from, int to, std::vector<int>& streets) const;

  size_t MatrixBytes() const { return m_matrix ? (static_cast<size_t>(m_n) * m_n + 1) * sizeof(Route) : 0; }

 private:
  void ComputeRow(int dest);

  int m_n = 0;
  Route* m_matrix = nullptr;
  std::vector<CSimCrossing*> m_crossings;
  std::vector<CSimStreet*> m_streets;
  // Graph in compressed rows: the out-streets and in-streets of each
  // crossing, in street-id order.
  std::vector<int> m_outStart, m_out, m_inStart, m_in;
  std::vector<int> m_from, m_to, m_weight, m_length;
  // Travel times of the last full pass; the matrix is a lower bound on
  // routes while no street is faster than this.
  std::vector<int> m_baseWeight;
  bool m_boundValid = false;
  int m_cursor = 0;
  bool m_full = false;
  bool m_current = false;
  // Scratch of the searches, reused so that a search allocates nothing.
  std::vector<int64_t> m_dist;
  std::vector<int> m_parent;
  std::vector<uint32_t> m_seen;
  uint32_t m_stamp = 0;
  std::vector<std::pair<int64_t, int>> m_heap;
};
