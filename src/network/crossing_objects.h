#pragma once
// The crossing objects of the street network: the world object that stands
// for a junction on its map tile. It holds the junction's control settings
// (right before left, right-of-way signs or lights with their cycle and
// green quote, the priority direction, public-transport priority), answers
// the "KR." variables, forwards drawing, tile turns and screen moves to the
// junction, keeps the table of the junction's arm loads and writes its own
// savegame record inside the junction's.
#include <array>
#include <cstdint>
#include <cstdio>

#include "network/street_objects.h"
#include "worldbase/zor_types.h"

class CStrJunction;
class CStrStrasse;
class CMicroZellenGroup;
class CQnoMicroZelle;

class CKreuzObj : public CRoadObj {
 public:
  static constexpr int kArms = 4;
  static constexpr int kRecordSize = 96;
  static constexpr int32_t kMinCycle = 60;
  static constexpr int32_t kMaxCycle = 120;
  static constexpr float kMinQuote = 0.2f;
  static constexpr float kMaxQuote = 0.85f;
  // The price table's rows for a set of lights and for public-transport
  // priority at them.
  static constexpr int kPreisAmpel = 11;
  static constexpr int kPreisOpnv = 12;

  // One arm's load as the junction last reported it.
  struct Arm {
    int32_t marker = 1;
    uint16_t id = 0;
    int32_t flow = 0;
    int32_t capacity = 1;
  };

  using CWorldObj::Create;
  int Create() override;
  int Destroy() override;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;
  using CWorldObj::SerializeGameStore;
  // Takes the settings and loads of another object (a record read before
  // the junction made its own object).
  void TakeSettings(const CKreuzObj& other);

  // p is the junction the crossing stands for.
  void SetData(void* p) override { m_pJunction = static_cast<CStrJunction*>(p); }
  CStrJunction* GetWorldObject() const { return m_pJunction; }

  virtual CQnoMicroZelle* GetNextMicroZelle() { return nullptr; }
  virtual int SetCarOnNextZellle(CMicroZellenGroup*) { return 0; }
  virtual double GetAuslastung24();

  int OnPlayloopTurn(unsigned short x, unsigned short y) override;
  void PrefetchTurn(unsigned short x, unsigned short y, int stage) const override;
  int Render(QnoDisplay* display, unsigned short x, unsigned short y, int sx, int sy, TIsoZoomStufe zoom) override;
  // The street's or junction's layout at the cell.
  bool RendersOnlyLayoutVehicles() const override { return true; }
  int UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) override;
  int TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId) override;
  int GetAuslastung(int* flow, int* capacity) override;
  int GetSimID() override;
  CQnoMicroZelle* GetMicroZelle(unsigned short x, unsigned short y) override;
  int GetStreetDirectionAt(unsigned short x, unsigned short y, signed char& dx, signed char& dy) override;
  int GetStreetType() const override;

  int GetVarData(const char* name, double* value) override;
  int SetVarData(const char* name, double value) override;
  int GetStep(const char* name, float* step) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;

  int GetPriorityStreets(CStrStrasse** a, CStrStrasse** b);
  int GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b);
  int ChangePriorityStreets(CStrStrasse* a, CStrStrasse* b, CStrStrasse* c, CStrStrasse* d);
  // 0 and the direction the first priority street leaves in; 1 when none.
  int GetPriorityRichtung(TIsoRichtung& dir);
  // Swaps the pairs unless the priority already runs that way or the other
  // pair is a T junction's single arm; 0 swapped.
  int SetPriorityRichtung(TIsoRichtung dir);
  int UpdateAmpelPos();
  // The non-priority streets take the priority and the priority streets
  // yield; 1 when that would leave the priority to fewer arms than a pair.
  int SwapPriorityPairs();
  // The priority pair's two streets, then the other pair's; null for an
  // empty slot.
  std::array<CStrStrasse*, 4> PairStreets();
  // After an edit changed a lit junction's arms: the lights give the
  // priority the direction the code names where a swap of the pairs gets
  // it, as a load does; 0 swapped.
  int FollowPriorityCode();
  // Sets the priority direction again and tells the demand model the
  // crossing's control, which its network of a loaded game does not hold.
  int CheckAmpelRichtungAfterLoad();
  bool BuildCycleWith(CKreuzObj* other);
  bool WrongPriority() const { return false; }

  void ResetKreuzungAuslastung();
  void SetAuslastung(int16_t armId, int flow, int capacity);
  int GetArmCount() const { return m_AnzArms; }
  const Arm& GetArm(int n) const { return m_Arms[n]; }

  int GetAmpelType() const { return m_AmpelType; }
  int GetCycleTime() const { return m_Cycle; }
  float GetAmpelQuote() const { return m_Quote; }
  int GetPriorityCode() const { return m_Richtung; }
  bool HasOpnvPriority() const { return m_NoOpnvPriority == 0; }

 protected:
  // The control kind change behind "KR.AMPEL"; the junction's answer.
  int ChangeAmpelType(int kind);
  // The priority code a T junction's orientation gives; 0 for none.
  int TCode() const;
  int ApplyPriorityCode();
  int SetJunctionAmpel();
  // The green of the priority streets and of the side streets in whole
  // seconds of the cycle; the two add up to the cycle.
  void GreenParts(int& priority, int& side) const;
  // Tells the demand model the control: right before left stays
  // uncontrolled, signs make a priority road, lights a signal whose go times
  // are the two greens.
  void TellSimControl();
  void Book(int entry);

  int32_t m_AmpelType = 0;
  int32_t m_NoOpnvPriority = 1;
  float m_Quote = 0.5f;
  int32_t m_Cycle = kMinCycle;
  int32_t m_Richtung = 0;
  Arm m_Arms[kArms];
  int32_t m_AnzArms = 0;
  CStrJunction* m_pJunction = nullptr;
};

// The crossing object of a four-lane junction over a 2 x 2 block: the group
// draws the tile, so the object draws nothing and moves no cells.
class CKreuzObjGroup : public CKreuzObj {
 public:
  int Render(QnoDisplay*, unsigned short, unsigned short, int, int, TIsoZoomStufe) override { return 1; }
  int UpdateScreenPos(int, int, unsigned short, unsigned short) override { return 1; }
  int TurnMicroSim(unsigned short, unsigned short, int, int, int) override { return 1; }
};

// The crossing object of a rail junction (type 51).
class CRailKreuz : public CKreuzObj {
 public:
  using CKreuzObj::Create;
  int Create() override;
  int OnPlayloopTurn(unsigned short x, unsigned short y) override;
  int GetAuslastung(int* flow, int* capacity) override;
  int GetSimID() override { return -1; }
  int SetCarOnNextZellle(CMicroZellenGroup*) override { return 0; }
  // Marks the object active.
  int OnStartOfCycle(unsigned short x, unsigned short y);
  bool IsActive() const { return m_Active != 0; }

 private:
  uint8_t m_Active = 0;
};
