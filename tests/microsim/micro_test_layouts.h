#pragma once
// Cell layouts for the micro-cell tests, written as "Micr" records by the
// generator's writer, and a vehicle that counts its drawings and lifetime.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "iso/iso_blob.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "writers/iso_writers.h"

namespace microtest {

using zorgen::Bytes;
using Cell = BinaryMicroSimObject;
using LayoutPtr = std::unique_ptr<CQnoMicroZelle>;

// One cell: id, lane kind, offset, successor ids, predecessor id.
inline zorgen::MicroCellContent C(uint16_t id, uint8_t lane, int16_t x, int16_t y,
                                  std::vector<uint32_t> successors = {}, uint32_t predecessor = 0,
                                  uint32_t nextRender = 0) {
  zorgen::MicroCellContent c;
  c.id = id;
  c.laneKind = lane;
  c.x = x;
  c.y = y;
  for (size_t i = 0; i < successors.size() && i < 4; ++i) c.successors[i] = successors[i];
  c.predecessor = predecessor;
  c.nextRender = nextRender;
  return c;
}

inline Bytes Record(const std::vector<zorgen::MicroCellContent>& cells, uint32_t firstRender = 1) {
  zorgen::MicroLayoutContent content;
  content.firstRender = firstRender;
  content.cells = cells;
  return zorgen::WriteMicroLayout(content);
}

inline MicroLayoutBlob View(const Bytes& b) { return MicroLayoutBlob(b.data(), static_cast<uint32_t>(b.size())); }

// Created and converted, cells visible.
inline LayoutPtr Make(const std::vector<zorgen::MicroCellContent>& cells, uint32_t firstRender = 1) {
  const Bytes b = Record(cells, firstRender);
  LayoutPtr layout(CQnoMicroZelle::Create(View(b), true));
  EXPECT_NE(layout, nullptr);
  if (layout) {
    EXPECT_EQ(layout->Konvert(), 0);
  }
  return layout;
}

// A lane 1 -> 2 -> 3 along x, cells 10 pixels apart, starting at x0.
inline LayoutPtr Lane(int16_t x0 = 0, uint8_t lane = 2, int16_t y = 0) {
  return Make({C(1, lane, x0, y, {2}, 0, 2), C(2, lane, static_cast<int16_t>(x0 + 10), y, {3}, 1, 3),
               C(3, lane, static_cast<int16_t>(x0 + 20), y, {}, 2)});
}

inline std::vector<uint16_t> SimIds(CQnoMicroZelle& layout) {
  std::vector<uint16_t> ids;
  for (int i = 0; i < layout.GetCount(); ++i) ids.push_back(layout.GetZelle(i)->m_SimID);
  return ids;
}

// Counts live vehicles and their drawings.
class TestCar : public CCar {
 public:
  TestCar() { ++s_alive; }
  ~TestCar() override {
    --s_alive;
    // A vehicle is destroyed after it was told it has no cell.
    s_cellAtEnd += GetMicroSimObject() ? 1 : 0;
  }
  int Destroy() override {
    ++s_destroyed;
    return CCar::Destroy();
  }
  using CCar::Render;
  void Render(QnoDisplay*, int dir, int x, int y) override {
    ++s_drawn;
    s_lastDir = dir;
    s_lastX = x;
    s_lastY = y;
    s_drawnCars.push_back(this);
  }
  void SetSizeType(int size) { m_CarSizeType = size; }
  static inline int s_alive = 0;
  static inline int s_destroyed = 0;
  static inline int s_cellAtEnd = 0;
  static inline int s_drawn = 0;
  static inline int s_lastDir = -1, s_lastX = 0, s_lastY = 0;
  // Every drawing's vehicle, in the order drawn.
  static inline std::vector<const TestCar*> s_drawnCars;
};

// Puts a vehicle into a cell the way the movement does.
inline TestCar* Park(Cell* cell, int position = 50, uint8_t choice = 0) {
  auto* car = new TestCar;
  CQnoMicroZelle::HoldVehicle(cell, car);
  cell->m_Position = position;
  cell->m_Choice = choice;
  car->SetMicroSimObject(cell);
  return car;
}

}  // namespace microtest
