#pragma once
// Distances to eight destinations at once over an elimination order of the
// street network.
//
// The crossings are eliminated one by one, the one with the fewest
// remaining neighbours first (streets taken both ways); eliminating a
// crossing joins all its remaining neighbours to each other. A crossing's
// rank is its place in that order, and its upper edges join it to the
// neighbours that remained when it went. This structure depends only on
// which crossings the streets join, so it is kept for as long as they stay
// the same; only the weights of the edges (both ways) are worked out again
// for each set of travel times: in rank order, each crossing's upper edges
// take the ways through it into account.
//
// Every shortest way then climbs through rising ranks and comes down
// through falling ones. The distances to a destination follow in two
// passes over the ranks: upwards from the destination over the edges'
// downward weights, then downwards over their upward weights. Both passes
// are the same for every destination, so eight of them run side by side in
// the lanes of one vector (of 32 bytes: two halves where the processor
// has no AVX2).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

// Functions whose vector code gains from newer instructions (the least of
// two vectors in one, three operands) are compiled for them as well, and
// the processor's best is chosen when the program starts. The attribute
// stands on a function's declaration and its definition alike, and only
// on functions called from their own file alone: a call from another file
// would make that file a chooser of its own, bound to versions the defining
// file keeps to itself. The entry points other files call are plain
// functions that call the versioned one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ZOR_SIM_VECTOR_CLONES __attribute__((target_clones("avx2", "sse4.1", "default")))
#else
#define ZOR_SIM_VECTOR_CLONES
#endif

class CSimRowSweep {
 public:
  static constexpr int kLanes = 8;
  using Lanes = int32_t __attribute__((vector_size(4 * kLanes)));
  // The lanes of one rank, read from and written to rows of kLanes
  // distances that need no more alignment than an int (their vectors are
  // wider than a build for older processors aligns them).
  static void Load(Lanes& lanes, const int32_t* at) { std::memcpy(&lanes, at, sizeof lanes); }
  static void Store(int32_t* at, const Lanes& lanes) { std::memcpy(at, &lanes, sizeof lanes); }
  // Whether any lane of a comparison's result is set.
  static bool Any(const Lanes& mask) {
    int64_t words[kLanes / 2];
    std::memcpy(words, &mask, sizeof words);
    int64_t any = 0;
    for (int64_t w : words) any |= w;
    return any != 0;
  }

  // Starts the structure of a graph of `n` nodes with arcs from[i] ->
  // to[i] (loops are left out); keeps the last one, or takes the one built
  // last by any sweep, when it joins the same nodes.
  void SetGraph(int n, const int* from, const int* to, int arcs);
  // Works on the structure until it is done or `milliseconds` of the clock
  // have passed; true when it is done.
  bool Build(unsigned milliseconds);
  bool Ready() const { return m_ready; }
  // Edge weights for the arc weights weight[i] (of the arcs given to
  // SetGraph, in the same order); weights at or above `cap` mean no arc.
  void SetWeights(const int* weight, int cap);
  // Distances from every node to targets[k] in lane k, by rank, into
  // `dist` (N() rows of kLanes: dist[rank * kLanes + k]), each at most the
  // cap. A target of -1 leaves its lane at the cap.
  void DistancesTo(const int (&targets)[kLanes], int32_t* dist) const;

  int N() const { return m_n; }
  int Cap() const { return m_cap; }
  int RankOf(int node) const { return m_order->rank[static_cast<size_t>(node)]; }
  // The node of every rank, indexed by rank.
  const int* Nodes() const { return m_order->nodeOf.data(); }
  int NodeOf(int rank) const { return m_order->nodeOf[static_cast<size_t>(rank)]; }
  // Edges of the structure (for the benchmarks and tests).
  int Edges() const { return static_cast<int>(m_order->upper.size()); }
  // Whether both sweeps read the same copy of the structure.
  bool SharesOrderWith(const CSimRowSweep& other) const { return m_order && m_order == other.m_order; }

 private:
  // DistancesTo's work, in a version for each instruction set.
  ZOR_SIM_VECTOR_CLONES void SweepDistances(const int (&targets)[kLanes], int32_t* dist) const;

  // The finished structure. It never changes once built, so every sweep of
  // the same network reads one copy.
  struct Order {
    int n = 0;
    std::vector<int> from, to;  // the arcs it was made of
    std::vector<int> rank, nodeOf;
    // Upper edges by rank in compressed rows: the far end's rank.
    std::vector<int> upperStart, upper;
    // For each rank, for each pair i < j of its upper edges, the edge that
    // joins their far ends (an upper edge of the lower of the two).
    std::vector<int> triangleStart, triangle;
    // Per arc: its edge, and whether it runs upwards.
    std::vector<int> arcEdge;
    std::vector<char> arcUp;
    bool Joins(int n, const int* from, const int* to, int arcs) const;
  };
  void Finish();
  // Frees what only building needs.
  void DropBuild();
  // The structure built last, for the next sweep of the same network.
  static std::shared_ptr<const Order> g_lastBuilt;

  int m_n = -1;
  bool m_ready = false;
  std::shared_ptr<const Order> m_order;
  // While the structure is built: the part made so far, the remaining
  // neighbours of each node, the queue of (degree, node), the neighbours
  // each node had when it went and a mark per node.
  std::shared_ptr<Order> m_building;
  std::vector<std::vector<int>> m_adj, m_upperNodes;
  std::vector<std::pair<int, int>> m_heap;
  std::vector<int> m_mark;
  int m_eliminated = 0;
  int m_cap = 0;
  // Edge weights: from the lower end up to the upper one, and down.
  std::vector<int> m_up, m_down;
};
