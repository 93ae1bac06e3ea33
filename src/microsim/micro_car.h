#pragma once
// The vehicles of the micro simulation: CCar, a private car with a sprite
// from the car mix, and CMicroOpnv, a bus or tram of a line that waits at
// its stops. They live in the cells of the layouts and draw themselves as
// run-length sprites in one of 64 directions.
#include <array>
#include <cstdint>

#include "framework/qno_display.h"
#include "iso/iso_vehicle.h"
#include "microsim/vehicle_sprites.h"

struct BinaryMicroSimObject;
struct SMicroCarPicture;
class QnoRenderBuffer;

class CCar : public CIsoVehicle {
 public:
  static constexpr int kKinds = zorveh::VEHICLE_SPRITE_KINDS;
  static constexpr int kColumns = zorveh::VEHICLE_SPRITE_COLUMNS;
  static constexpr int kDirections = zorveh::VEHICLE_DIRECTIONS;
  static constexpr int kLife = 50000;  // ms a private car lives in the cells
  using SpriteTable = std::array<std::array<std::array<uint32_t, kDirections>, kColumns>, kKinds>;
  // Sprite ids by [kind][zoom column][63 - direction], the ids the data
  // generator draws.
  static const SpriteTable m_SpriteResID;

  // Registers the vehicle with the interface's car list.
  CCar();
  ~CCar() override;
  using CWorldObj::Render;

  // Takes a picture and 50000 ms of life; 1 when no valid picture came.
  int CreateCar(BinaryMicroSimObject* cell);
  int Destroy() override;
  // Tells a vehicle it has no cell, then destroys and deletes it.
  static void Discard(CCar* car);

  virtual void SetScreenXYPos(int x, int y, int x2, int y2);
  void GetScreenXYPos(int& x, int& y, int& x2, int& y2) const;
  // 0 private car, 1 line vehicle.
  virtual int GetType() const { return 0; }
  bool IsAuto() const { return GetType() == 0; }
  // Fills kind, picture, offsets and size type; 1 when there is none.
  virtual int GetCarResID();
  // The next private car's picture, drawn as GetCarResID draws it; false
  // when there is none or it has no sprite (no car is made then).
  static bool NextPicture(SMicroCarPicture& pic);
  // Draws the sprite of direction dir centred on (x, y) plus the offsets
  // of the current zoom level.
  virtual void Render(QnoDisplay* display, int dir, int x, int y);
  void RenderSecondPosition(QnoDisplay* display, int x, int y) override;
  // The second draws passed over since the program started, as changing
  // no pixel of their frame.
  static uint64_t GetPassedSecondDraws() { return s_PassedSecondDraws; }
  // The cell the vehicle stands in; null while it stands in none.
  virtual void SetMicroSimObject(BinaryMicroSimObject* cell);
  BinaryMicroSimObject* GetMicroSimObject() const { return m_pZelle; }
  // A private car goes from its cell into `cell`: what
  // SetMicroSimObject(nullptr) and then SetMicroSimObject(cell) leave, done
  // without asking the vehicle's class (only line vehicles have their own
  // SetMicroSimObject), so that the move reads none of the car but the
  // fields it writes.
  void PassToCell(BinaryMicroSimObject* cell);
  // Life -= the frame time; the life left.
  virtual int GetLifeTimeLeft();

  void SetIsoXYPos(int x, int y) {
    m_IsoX = x;
    m_IsoY = y;
  }
  bool GetIsoXYPos(int& x, int& y) const override {
    x = m_IsoX;
    y = m_IsoY;
    return m_IsoX >= 0;
  }
  void SetIsoXYSecond(int x, int y, int slot) override;
  // Final: PassToCell calls it without asking the vehicle's class.
  void ResetIsoXYSecond() final;
  // Only directions 0..63 are taken.
  void SetRichtungsIndex(int dir) {
    if (dir >= 0 && dir < kDirections) m_Richtung = dir;
  }
  int GetRichtungsIndex() const { return m_Richtung; }
  int GetMaxSpeed() const { return m_MaxSpeed; }
  void SetMaxSpeed(int speed) { m_MaxSpeed = speed; }
  int GetCarSizeType() const { return m_CarSizeType; }
  int GetResID() const { return m_ResID; }
  int GetSpriteKind() const { return m_SpriteKind; }
  int GetLife() const { return m_Life; }
  int GetOffX(int zoom) const { return zoom == 1 ? m_OffX1 : m_OffX; }
  int GetOffY(int zoom) const { return zoom == 1 ? m_OffY1 : m_OffY; }
  // The sprite id for the current zoom level and direction dir; 0 without
  // a valid kind.
  uint32_t SpriteID(int dir) const;

 protected:
  // First, next to the second drawing's place that leaving a cell resets:
  // a car that changes cell has both written in one cache line as a rule.
  BinaryMicroSimObject* m_pZelle = nullptr;
  int32_t m_SpriteKind = -1;
  int32_t m_ResID = 0;
  int32_t m_Richtung = 0;
  int16_t m_OffX1 = 0, m_OffY1 = 0;  // zoom level 1
  int16_t m_OffX = 0, m_OffY = 0;    // zoom levels 2 and 4
  int32_t m_MaxSpeed = 57;
  int32_t m_Life = 0;
  int32_t m_CarSizeType = 0;
  int32_t m_IsoX = -1, m_IsoY = -1;
  int32_t m_ScreenX = -1, m_ScreenY = -1;
  int32_t m_ScreenX2 = -1, m_ScreenY2 = -1;
  // The last first draw: its sprite, its top-left corner and where the
  // drawing stood after it, so that a second draw that would change no
  // pixel of the frame is passed over.
  struct Drawn {
    const void* sprite = nullptr;
    int32_t x = 0, y = 0;
    QnoDrawMark mark;
  } m_Drawn;
  static inline uint64_t s_PassedSecondDraws = 0;
};

// Bus or tram kinds of a line; any other value is drawn as a tram.
enum EBusTramType { BUS_NORMAL = 0, BUS_LOWFLOOR = 1, BUS_H2 = 2, BUS_ELECTRIC = 3, TRAM = 4 };

class CMicroOpnv : public CCar {
 public:
  static constexpr uint32_t kDwell = 5120;  // ms at a stop
  // The running numbers handed out so far.
  static inline int busNr = 0;

  // Registers with the interface's bus list as well.
  CMicroOpnv();
  ~CMicroOpnv() override;
  // Sets line and index, then CreateCar(null).
  using CCar::Create;
  int Create(COpnvLine* line, int index);
  int Destroy() override;
  int GetType() const override { return 1; }
  int GetCarResID() override;
  void SetMicroSimObject(BinaryMicroSimObject* cell) override { m_pZelle = cell; }
  int GetLifeTimeLeft() override { return 1; }

  void SetOpnvLine(COpnvLine* line, int index) {
    m_pLine = line;
    m_LineIndex = index;
  }
  COpnvLine* GetOpnvLine() const override { return m_pLine; }
  int GetBusNr() const { return m_BusNr; }
  int GetBusNrInLine() const { return m_LineIndex; }
  void SetBusTramType(EBusTramType type) { m_BusTramType = type; }
  EBusTramType GetBusTramType() const { return m_BusTramType; }

  // Starts the dwell, once; the braking sound plays where it is heard.
  void SetStopped();
  // True while the dwell lasts; its end plays the departure sound once.
  bool GetStopped();

 private:
  // The line forgets the vehicle; the vehicle forgets the line.
  void LeaveLine();

  uint8_t m_Stopped = 0;
  uint32_t m_StopStart = 0;
  COpnvLine* m_pLine = nullptr;
  int32_t m_LineIndex = 0;
  int32_t m_BusNr = 0;
  EBusTramType m_BusTramType = BUS_NORMAL;
};
