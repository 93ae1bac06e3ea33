#include "network/str_cell_index.h"

#include <algorithm>
#include <cstdlib>

#include "iso/iso_geometry.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"

namespace {

template <class T>
void EraseOne(std::vector<T*>& v, T* item) {
  const auto it = std::find(v.begin(), v.end(), item);
  if (it != v.end()) v.erase(it);
}

}  // namespace

CStrCellIndex::CStrCellIndex() = default;

CStrCellIndex::~CStrCellIndex() { Clear(); }

bool CStrCellIndex::Cell(int x, int y, int* cell) {
  if (!IsoInMap(x, y)) return false;
  *cell = y * ISO_MAP_SIZE + x;
  return true;
}

template <class T>
void CStrCellIndex::Put(std::vector<std::vector<T*>>& at, std::vector<uint16_t>& used, int cell, T* item,
                        bool front) {
  if (at.empty()) at.resize(ISO_MAP_SIZE * ISO_MAP_SIZE);
  std::vector<T*>& list = at[static_cast<std::size_t>(cell)];
  // A list without memory has held nothing since the index was made.
  if (list.capacity() == 0) used.push_back(static_cast<uint16_t>(cell));
  list.insert(front ? list.begin() : list.end(), item);
}

void CStrCellIndex::Clear() {
  for (uint16_t cell : m_usedJunctionCells) {
    for (CStrJunction* j : m_junctions[cell]) j->SetCellIndex(nullptr);
    m_junctions[cell].clear();
  }
  for (uint16_t cell : m_usedStreetCells) m_streets[cell].clear();
  m_entries.clear();
  m_pending.clear();
  StopLog();
}

void CStrCellIndex::StopLog() {
  m_logging = false;
  m_changed.clear();
  m_gone.clear();
  for (auto& [street, e] : m_entries) e.logged = false;
}

bool CStrCellIndex::TakeChanges(std::vector<CStrStrasse*>* changed, std::vector<CStrStrasse*>* gone) {
  Refresh();
  const bool complete = m_logging;
  for (CStrStrasse* s : m_changed)
    if (auto it = m_entries.find(s); it != m_entries.end()) it->second.logged = false;
  changed->swap(m_changed);
  gone->swap(m_gone);
  m_changed.clear();
  m_gone.clear();
  m_logging = true;
  return complete;
}

void CStrCellIndex::AddJunction(CStrJunction* j) {
  int cell = 0;
  if (!Cell(j->GetXPos(), j->GetYPos(), &cell)) return;
  Put(m_junctions, m_usedJunctionCells, cell, j, true);
  j->SetCellIndex(this);
  for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) Linked(j->GetStreetByNR(i));
}

void CStrCellIndex::RemoveJunction(CStrJunction* j) {
  if (j->GetCellIndex() != this) return;
  for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) Unlinked(j->GetStreetByNR(i));
  int cell = 0;
  if (Cell(j->GetXPos(), j->GetYPos(), &cell)) EraseOne(m_junctions[cell], j);
  j->SetCellIndex(nullptr);
}

void CStrCellIndex::MovedJunction(CStrJunction* j, int oldX, int oldY) {
  if (j->GetCellIndex() != this) return;
  int cell = 0;
  if (Cell(oldX, oldY, &cell)) EraseOne(m_junctions[cell], j);
  if (Cell(j->GetXPos(), j->GetYPos(), &cell)) Put(m_junctions, m_usedJunctionCells, cell, j, true);
  // The end of its street moved with it.
  for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) Touch(j->GetStreetByNR(i), 0);
}

void CStrCellIndex::Linked(CStrStrasse* street) { Touch(street, 1); }

void CStrCellIndex::Unlinked(CStrStrasse* street) { Touch(street, -1); }

void CStrCellIndex::Touch(CStrStrasse* street, int change) {
  if (!street) return;
  Entry& e = m_entries[street];
  e.links += change;
  if (e.pending) return;
  e.pending = true;
  m_pending.push_back(street);
}

void CStrCellIndex::CellsOf(CStrStrasse* s, std::vector<uint16_t>* cells) {
  cells->clear();
  for (int k = 1; CStrStrassenTeil* p = s->GetStrassenTeil(k); ++k) {
    const int sx = p->GetStartX(), sy = p->GetStartY(), ex = p->GetEndX(), ey = p->GetEndY();
    const int mx = (ex > sx) - (ex < sx), my = (ey > sy) - (ey < sy);
    // Pieces run along one axis inside the map; a longer walk is no piece.
    const int n = std::max(std::abs(ex - sx), std::abs(ey - sy));
    for (int i = 0; i <= n && i < 2 * ISO_MAP_SIZE; ++i) {
      int cell = 0;
      if (Cell(sx + i * mx, sy + i * my, &cell)) cells->push_back(static_cast<uint16_t>(cell));
    }
  }
  std::sort(cells->begin(), cells->end());
  cells->erase(std::unique(cells->begin(), cells->end()), cells->end());
}

void CStrCellIndex::Refresh() {
  for (CStrStrasse* s : m_pending) {
    auto it = m_entries.find(s);
    if (it == m_entries.end()) continue;
    Entry& e = it->second;
    for (uint16_t cell : e.cells) EraseOne(m_streets[cell], s);
    // A street no listed junction holds may be gone already: it is not read.
    if (e.links <= 0) {
      if (m_logging) {
        if (e.logged) EraseOne(m_changed, s);
        m_gone.push_back(s);
      }
      m_entries.erase(it);
      continue;
    }
    CellsOf(s, &e.cells);
    for (uint16_t cell : e.cells) Put(m_streets, m_usedStreetCells, cell, s, false);
    e.pending = false;
    if (m_logging && !e.logged) {
      e.logged = true;
      m_changed.push_back(s);
    }
  }
  m_pending.clear();
  // Nobody asked for a long time: the log starts again.
  if (m_gone.size() > kMaxLog || m_changed.size() > kMaxLog) StopLog();
}

const std::vector<CStrJunction*>& CStrCellIndex::JunctionsAt(int x, int y) const {
  static const std::vector<CStrJunction*> none;
  int cell = 0;
  return Cell(x, y, &cell) && !m_junctions.empty() ? m_junctions[cell] : none;
}

CStrJunction* CStrCellIndex::JunctionAt(int x, int y) const {
  const std::vector<CStrJunction*>& at = JunctionsAt(x, y);
  return at.empty() ? nullptr : at.front();
}

const std::vector<CStrStrasse*>& CStrCellIndex::StreetsAt(int x, int y) {
  static const std::vector<CStrStrasse*> none;
  Refresh();
  int cell = 0;
  return Cell(x, y, &cell) && !m_streets.empty() ? m_streets[cell] : none;
}

void CStrCellIndex::JunctionsIn(int x1, int y1, int x2, int y2, std::vector<CStrJunction*>* out) const {
  out->clear();
  if (m_junctions.empty()) return;
  for (int y = std::max(y1, 0); y <= std::min(y2, ISO_MAP_SIZE - 1); ++y)
    for (int x = std::max(x1, 0); x <= std::min(x2, ISO_MAP_SIZE - 1); ++x)
      for (CStrJunction* j : m_junctions[y * ISO_MAP_SIZE + x]) out->push_back(j);
}

void CStrCellIndex::StreetsIn(int x1, int y1, int x2, int y2, std::vector<CStrStrasse*>* out) {
  Refresh();
  out->clear();
  if (m_streets.empty()) return;
  for (int y = std::max(y1, 0); y <= std::min(y2, ISO_MAP_SIZE - 1); ++y)
    for (int x = std::max(x1, 0); x <= std::min(x2, ISO_MAP_SIZE - 1); ++x)
      for (CStrStrasse* s : m_streets[y * ISO_MAP_SIZE + x])
        if (std::find(out->begin(), out->end(), s) == out->end()) out->push_back(s);
}
