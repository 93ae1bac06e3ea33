#pragma once
// The street network's cells: which listed junctions stand on a cell and
// which streets' centre lines run over it, so that the checks of a drag
// look only at the cells around it instead of walking the whole network.
//
// Junctions are entered and taken out by the list as they are listed,
// removed and moved. A street belongs to the network while a listed
// junction holds it: the junctions report every link and unlink, and a
// street whose links changed is looked at again (its cells read afresh)
// before the next question about streets. Links also change whenever a
// street's pieces do (a join, a split, a new end), so the cells follow.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class CStrJunction;
class CStrStrasse;

class CStrCellIndex {
 public:
  CStrCellIndex();
  ~CStrCellIndex();
  CStrCellIndex(const CStrCellIndex&) = delete;
  CStrCellIndex& operator=(const CStrCellIndex&) = delete;

  // Everything out; the junctions report nothing more.
  void Clear();
  // A junction listed: its cell and the streets it holds.
  void AddJunction(CStrJunction* junction);
  // A junction leaving the list, with the links it still holds.
  void RemoveJunction(CStrJunction* junction);
  // A listed junction moved from (oldX, oldY) with the end of its street.
  void MovedJunction(CStrJunction* junction, int oldX, int oldY);
  // A listed junction took or gave up a link to the street.
  void Linked(CStrStrasse* street);
  void Unlinked(CStrStrasse* street);

  // The listed junctions at the cell, the latest listed first.
  const std::vector<CStrJunction*>& JunctionsAt(int x, int y) const;
  CStrJunction* JunctionAt(int x, int y) const;
  // The streets of the network whose centre line runs over the cell.
  const std::vector<CStrStrasse*>& StreetsAt(int x, int y);
  // The listed junctions and the streets over the cells of a box (both
  // corners included, cut to the map), each once, in row order.
  void JunctionsIn(int x1, int y1, int x2, int y2, std::vector<CStrJunction*>* out) const;
  void StreetsIn(int x1, int y1, int x2, int y2, std::vector<CStrStrasse*>* out);

  // The streets whose cells were read afresh since the last call, each
  // once, and those that left the network (named only: they may be gone).
  // False when the log does not reach back to the last call (the first
  // call, after Clear, or after more changes than the log keeps): then any
  // street may have changed. A street both left and came back is named in
  // both lists.
  bool TakeChanges(std::vector<CStrStrasse*>* changed, std::vector<CStrStrasse*>* gone);

 private:
  struct Entry {
    int links = 0;
    bool pending = false;
    bool logged = false;
    std::vector<uint16_t> cells;
  };
  void StopLog();
  static constexpr std::size_t kMaxLog = 4096;
  static bool Cell(int x, int y, int* cell);
  void Touch(CStrStrasse* street, int change);
  // Reads again the cells of every street whose links changed.
  void Refresh();
  static void CellsOf(CStrStrasse* street, std::vector<uint16_t>* cells);

  // A cell's list, the index's cells made at the first entry: a network
  // that lists nothing (every load makes two before it reads any) takes
  // neither the memory nor the time of 128 x 128 empty lists.
  template <class T>
  static void Put(std::vector<std::vector<T*>>& at, std::vector<uint16_t>& used, int cell, T* item, bool front);

  std::vector<std::vector<CStrJunction*>> m_junctions;
  std::vector<std::vector<CStrStrasse*>> m_streets;
  // The cells whose lists hold memory, each once: Clear empties these
  // alone, and their memory is kept for the next entries.
  std::vector<uint16_t> m_usedJunctionCells;
  std::vector<uint16_t> m_usedStreetCells;
  std::unordered_map<CStrStrasse*, Entry> m_entries;
  std::vector<CStrStrasse*> m_pending;
  // The change log, kept from the first TakeChanges on.
  bool m_logging = false;
  std::vector<CStrStrasse*> m_changed;
  std::vector<CStrStrasse*> m_gone;
};
