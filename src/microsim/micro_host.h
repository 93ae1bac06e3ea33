#pragma once
// What the micro simulation asks of the game above it: the streets by the
// sim id their cells carry, the car mix, the public-transport lines, the
// interface's vehicle lists and the frame time. The street network answers
// the street questions from its index by sim id; the world root installs a
// host that answers the rest. Without one, no street is known, no car
// picture is handed out and no line has a stop, and each default says once
// in the log that no part of the game answered.
#include <cstdint>

#include "framework/zor_stand_in.h"

class CCar;
class CMicroOpnv;
class CIsoWelt;
class QnoResourceManager;
struct BinaryMicroSimObject;

// The picture of a private car drawn from the car mix.
struct SMicroCarPicture {
  int resId = 0;
  int16_t offsets[4] = {};  // x, y at zoom level 1; x, y at the other levels
  int sprite = -1;          // sprite kind
  int sizeType = 0;         // 0 car, 1 small vehicle, 2 delivery vehicle
};

class CMicroSimHost {
 public:
  virtual ~CMicroSimHost() = default;
  // The installed host, never null: without one a default host answers.
  // Inline: the movement asks for it several times a vehicle and turn.
  static CMicroSimHost* Get() { return s_Host; }
  // The caller keeps ownership; null restores the default.
  static void Install(CMicroSimHost* host);

  // ---- streets, found by the sim id of either direction ----
  // The forward speed of the street that carries simId; false for none.
  virtual bool GetStreetVelocity(uint16_t /*simId*/, double& /*velocity*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return false;
  }
  // The flow in the direction simId names; false when no street has it.
  virtual bool GetStreetFlow(uint16_t /*simId*/, int& /*flow*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return false;
  }
  // The stop cell of the street piece at tile (x, y) in the direction of
  // simId; null when none.
  virtual BinaryMicroSimObject* GetStreetHstZelle(int /*x*/, int /*y*/, uint16_t /*simId*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return nullptr;
  }

  // ---- vehicles ----
  // A picture from the car mix; false when there is none.
  virtual bool GetNextCarPicture(SMicroCarPicture& /*out*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return false;
  }
  // The interface's car and bus lists.
  virtual void AddCar(CCar* /*car*/) { ZOR_STAND_IN("CMicroSimHost"); }
  virtual void RemoveCar(CCar* /*car*/) { ZOR_STAND_IN("CMicroSimHost"); }
  virtual void AddBus(CMicroOpnv* /*bus*/) { ZOR_STAND_IN("CMicroSimHost"); }
  virtual void RemoveBus(CMicroOpnv* /*bus*/) { ZOR_STAND_IN("CMicroSimHost"); }
  // Where the vehicles' sprites come from; null draws nothing.
  virtual QnoResourceManager* GetResources() {
    ZOR_STAND_IN("CMicroSimHost");
    return nullptr;
  }
  // The map the vehicles' screen positions are measured on; null for none.
  virtual CIsoWelt* GetIsoWelt() {
    ZOR_STAND_IN("CMicroSimHost");
    return nullptr;
  }
  // True when sounds of the tile are heard.
  virtual bool IsSoundVisible(int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return false;
  }

  // ---- public-transport lines ----
  // True when the vehicle's line stops at tile (x, y).
  virtual bool IsIsoPosHst(CMicroOpnv* /*bus*/, int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return false;
  }
  // The sim id of the line's current (or next) street for the vehicle;
  // flag = the street is a four-lane street or has a bus lane. -1 without
  // line or street.
  virtual int GetAbzwStreetID(CMicroOpnv* /*bus*/, bool& flag, bool /*current*/) {
    ZOR_STAND_IN("CMicroSimHost");
    flag = false;
    return -1;
  }
  // The sim id of the line's current street for the vehicle; 0 for none.
  virtual int GetNextStreetID(CMicroOpnv* /*bus*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return 0;
  }
  // The stop cell of the line's next street for the vehicle; null for none.
  virtual BinaryMicroSimObject* GetNextHstZelle(CMicroOpnv* /*bus*/, int /*x*/, int /*y*/, int /*simId*/) {
    ZOR_STAND_IN("CMicroSimHost");
    return nullptr;
  }
  // The line learns that its vehicle is gone.
  virtual void VehicleDestroyed(CMicroOpnv* /*bus*/) { ZOR_STAND_IN("CMicroSimHost"); }

  // ---- time ----
  // Milliseconds since the previous turn; the world sets it every turn.
  uint32_t GetFrameTime() const { return m_FrameTime; }
  void SetFrameTime(uint32_t ms) { m_FrameTime = ms; }
  // The world's time of this turn in milliseconds, the cells' time stamp.
  // The world sets it once at the start of every turn that moves vehicles.
  uint32_t GetWorldTime() const { return m_WorldTime; }
  void SetWorldTime(uint32_t ms) {
    m_WorldTime = ms;
    if (++m_Turn == 0) m_Turn = 1;
  }
  // The turns begun by SetWorldTime; 0 before the first. A host may keep
  // what it read of the game for the rest of a turn: the vehicles move in
  // the map's turn, in which nothing changes the streets.
  uint32_t GetTurn() const { return m_Turn; }

 private:
  uint32_t m_FrameTime = 0;
  uint32_t m_WorldTime = 0;
  uint32_t m_Turn = 0;
  static CMicroSimHost* s_Host;
};
