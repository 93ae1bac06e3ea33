#pragma once
// The public-transport route matrix: every stop of every line in service
// (a matrix stop) with the best connection to every other, rides along the
// lines and transfers between lines at a shared stop. The demand model asks
// it for routes with their ride, transfer and waiting times, assigns the
// hour's public-transport trips to the lines and hands each line's hourly
// passengers back to public transport.
//
// The matrix keeps per pair of matrix stops only the route's cost and the
// next matrix stop along it (8 bytes); everything else a route adds up to
// is read off its links when the route is walked. It is closed in slices:
// each slice searches the routes from a few matrix stops.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "sim/sim_binary_tree.h"
#include "sim/sim_ring_queue.h"

class CSimTrip;
class CSimLineDataSource;
struct LineDataType;

// One stop of one line in the matrix, keyed in the stop tree by the real
// stop id. The matrix stops of one real stop are chained.
class CSimMatrixStop : public CBinaryTreeNode {
 public:
  CSimMatrixStop() = default;
  // Sets the fields; the key becomes the real stop id unless one is set.
  void Create(int index, int realStopId, short lineId, int headway);

  CSimMatrixStop* pNextAtSameStop() const { return m_nextAtSameStop; }
  void SetNextAtSameStop(CSimMatrixStop* next) { m_nextAtSameStop = next; }
  int MatrixIndex() const { return m_index; }
  int RealStopID() const { return m_realStopId; }
  // The index of the stop's line among the matrix's lines.
  short LineID() const { return m_lineId; }
  // The headway of the stop's line in seconds: what boarding it costs.
  int Umsteigezeit() const { return m_headway; }
  void SetHeadway(int headway) { m_headway = headway; }

 private:
  CSimMatrixStop* m_nextAtSameStop = nullptr;
  int m_index = -1;
  int m_realStopId = -1;
  int m_headway = 1;
  short m_lineId = -1;
};

// One entry of the matrix: the best known connection from one matrix stop
// to another, as its cost and the next matrix stop along it.
// Rows are written whole when their stop is searched, so an entry starts
// out with no value of its own.
struct CSimMatrixTrip {
  static constexpr int32_t kNoConnection = 600000;
  int32_t cost;
  // The next matrix stop after the entry's first; -1 without a connection
  // and on the diagonal.
  int32_t next;

  int Fahrzeit() const { return cost; }
  bool Connected() const { return cost < kNoConnection; }
};

// What a route between two matrix stops adds up to.
struct CSimBusRoute {
  int cost = CSimMatrixTrip::kNoConnection;
  int rideTime = 0;
  int transferTime = 0;
  int length = 0;
  // The transfer times of the route's first and last links (0 for a ride).
  int firstTransfer = 0;
  int lastTransfer = 0;
  // The headway in seconds of the line the route boards first; 0 for a
  // route of no links.
  int firstHeadway = 0;
  int links = 0;
};

class CBusNetMatrix {
 public:
  static constexpr int kNoConnection = CSimMatrixTrip::kNoConnection;

  // The matrix reads its lines from `lines`, which outlives it.
  explicit CBusNetMatrix(CSimLineDataSource* lines);
  ~CBusNetMatrix();
  CBusNetMatrix(const CBusNetMatrix&) = delete;
  CBusNetMatrix& operator=(const CBusNetMatrix&) = delete;

  // Marks the matrix valid and sets it up from the line data.
  bool Create();
  // Frees everything; the matrix is empty and not valid.
  void Destroy();
  bool IsValid() const { return m_valid; }

  // Reads the lines anew: matrix stops, their links, and the diagonal; the
  // routes are not searched yet and the loads are cleared.
  bool SetupMatrix();
  // When the lines differ from those the matrix was set up from in their
  // headways alone: takes the new headways, clears the loads and returns
  // true. The searched routes stay where no changed line stops at a
  // transfer stop (boarding it costs nothing along any route); otherwise
  // every row is searched again. False, and nothing changed, when the
  // lines differ in anything else: then the matrix needs SetupMatrix.
  bool UpdateHeadways();
  // Searches the routes from up to `stops` further matrix stops, stopping
  // early after `milliseconds`; true while matrix stops remain.
  bool CalcBusNetMatrix(int stops, unsigned milliseconds);
  bool Closed() const { return m_cursor >= m_M; }
  // Matrix stops whose real stop more than one line serves.
  int NrOfTransferStops() const { return m_transferStops; }

  // The route between the first matrix stops of two real stops. With a
  // trip: marks it valid and sets its access time (0.6 x accessTime), its
  // travel time, length and transfer time (the transfers inside the route
  // and a random wait for the first line). With `assign` the trip's size is
  // added to the loads of the lines it boards. False for stop 0, equal
  // stops, unknown stops or no connection.
  bool FindBusRoute(short fromStop, short toStop, CSimTrip* trip, int accessTime, bool assign);
  // Walks the route from matrix stop i to j: with a list, appends the real
  // stops along it (the first one too when the list is empty); without,
  // adds `size` to the load of each line boarded. `lastLine` carries the
  // line of the previous link. Returns the number of links walked.
  int MacheBusUmlegung(int from, int to, int size, int& lastLine, short* stopList, int* count, int capacity = 0);
  // Fills `stopList` (room for `capacity`) with the real stops of the best
  // route; the count, or -1 for stop 0, equal or unknown stops.
  int GetHstList(short fromStop, short toStop, short* stopList, int& count, int capacity);
  CSimMatrixStop* GetMatrixStopFromRealID(short id) const;
  // The route between two matrix stops, added up along its links.
  CSimBusRoute Route(int from, int to) const;
  // The entry between two matrix stops. A row whose stop is not searched
  // yet knows only the links from it: to itself 0, along a link its cost.
  CSimMatrixTrip Entry(int from, int to) const;

  int NrOfMatrixStops() const { return m_M; }
  int NrOfLines() const { return static_cast<int>(m_lines.size()); }
  // Passengers of this hour so far on the line of the given net type and
  // number; 0 for a line the matrix does not hold.
  int LineLoad(int32_t netType, int lineNumber) const;
  void ClearLineLoads();
  // Adds the loads of `older` (a matrix set up before this one, possibly
  // from other lines) to the same lines here, and clears them there.
  void TakeLineLoadsFrom(CBusNetMatrix& older);
  // Stores each line's load as its passengers of the hour of the day.
  void WriteBackBusData(int hour);
  // Bytes the matrix holds: its entries, stops, links and lines.
  size_t MatrixBytes() const;

 private:
  // A link from one matrix stop to another: a ride to the neighbouring
  // stop of the same line, or a transfer at the same real stop, which costs
  // the headway of the line boarded.
  struct Link {
    int32_t cost;
    int32_t length;
    bool transfer;
  };
  // The searches run over the transfer stops (matrix stops whose real stop
  // more than one line serves) and, for each such real stop, a hub:
  // alighting leads to the hub at no cost, boarding from it costs the
  // boarded line's headway. Along a line a search steps from transfer stop
  // to transfer stop; the stops between take the better of the two ends.
  // `firstHop` is the matrix stop an arc leaves to first (-1 into a hub).
  struct Arc {
    int32_t to;
    int32_t cost;
    int32_t firstHop;
  };
  struct Line {
    int32_t netType;
    int32_t number;
    int32_t headway;  // seconds
    int32_t firstStop;
  };
  static int64_t LineKey(int32_t netType, int32_t number);

  void ResetListen();
  void InsertAtomTrips();
  void BuildArcs();
  bool LinkBetween(int from, int to, Link& link) const;
  // Whether the lines hold the matrix's stops and rides in the same order.
  bool SameStopsAndRides();
  // The row of a transfer stop, by a search.
  void SearchFrom(int source);
  // The row of a stop between transfer stops, from their rows.
  void RowFromNeighbours(int source);
  // The ride along one line between two of its matrix stops.
  int32_t Ride(int a, int b) const { return m_along[a] > m_along[b] ? m_along[a] - m_along[b] : m_along[b] - m_along[a]; }

  CSimLineDataSource* m_source;
  bool m_valid = false;
  // The tree of the first matrix stop of each real stop, built on an
  // anchor of id 0.
  std::unique_ptr<CSimMatrixStop> m_anchor;
  std::unique_ptr<CBinaryTree> m_stopTree;
  std::unique_ptr<CSimMatrixStop[]> m_stops;
  std::unique_ptr<CSimMatrixTrip[]> m_trips;  // from i to j at i x M + j
  // The ride to matrix stop i from i - 1 on the same line; cost -1 where i
  // is a line's first stop.
  std::vector<int32_t> m_rideCost;
  std::vector<int32_t> m_rideLength;
  // The ride time from the line's first stop to each matrix stop.
  std::vector<int32_t> m_along;
  // The nearest transfer stops of the same line before and after each
  // matrix stop (itself for a transfer stop); -1 for none.
  std::vector<int32_t> m_transferBefore;
  std::vector<int32_t> m_transferAfter;
  // The rows in the order they are made: transfer stops first.
  std::vector<int32_t> m_order;
  std::vector<uint8_t> m_rowDone;
  // The arcs of search node v: m_arcs[m_arcStart[v] .. m_arcStart[v + 1]).
  std::vector<int32_t> m_arcStart;
  std::vector<Arc> m_arcs;
  int m_nodes = 0;
  int m_transferStops = 0;
  int m_span = 1;
  std::vector<Line> m_lines;
  std::unordered_map<int64_t, int> m_lineIndex;
  std::vector<int> m_loads;
  int m_M = 0;
  int m_cursor = 0;
  // The search's scratch space.
  std::vector<int32_t> m_dist;
  std::vector<int32_t> m_first;
  CSimRingQueue m_queue;
};
