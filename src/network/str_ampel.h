#pragma once
// The traffic lights and right-of-way signs of a junction. A light locks
// the two cells of its arm in front of the junction while it shows red, so
// that vehicles stop there. A group holds up to four lights, one per arm:
// slots 0 and 1 are the priority pair and run the cycle, slots 2 and 3
// follow them inverted. The sign group holds the same street slots without
// lights and draws the priority and give-way signs.
#include <cstdint>

#include "framework/qno_object.h"

class CStrJunction;
class CStrStrasse;
struct BinaryMicroSimObject;

class CAmpel : public CZorvaObject {
 public:
  static constexpr int32_t kGelb = 1000;
  static constexpr int32_t kRot = 4000;
  static constexpr int32_t kGruen = 4000;

  int Create() override;
  using CZorvaObject::Create;
  // Unlocks both cells and forgets them.
  int Destroy() override;
  // Runs the cycle on the world's millisecond clock. A light without cells
  // keeps its time too, locking nothing: the lights that follow it, and
  // its arm once it leads in again, keep the phase.
  virtual int OnPlayloopTurn();

  // Fills the empty cell slots, a into the first, b into the second; 1
  // when a is null or both were set.
  int LinkZelle(BinaryMicroSimObject* a, BinaryMicroSimObject* b);
  // Sets both cell slots; 1 when a is null.
  int ReLinkZelle(BinaryMicroSimObject* a, BinaryMicroSimObject* b);
  // Forgets both cells and leaves their lock as it was.
  void RemoveLinkedZellen();
  // Each own cell's lock becomes the inverse of other's first cell's, or
  // of the red other shows when it has no cell; 1 when the own first cell
  // or other is null.
  int Invert(const CAmpel* other);

  void SetTimes(int32_t gelb, int32_t rot, int32_t gruen) {
    m_Gelb = gelb;
    m_Rot = rot;
    m_Gruen = gruen;
  }
  // The cycle starts again at the next turn.
  void Restart() { m_Start = 0; }
  int32_t GetGelb() const { return m_Gelb; }
  int32_t GetRot() const { return m_Rot; }
  int32_t GetGruen() const { return m_Gruen; }
  BinaryMicroSimObject* GetZelle(int n) const { return n == 0 ? m_pZelle1 : n == 1 ? m_pZelle2 : nullptr; }

 private:
  void Lock(bool on);

  int32_t m_Gelb = kGelb;
  int32_t m_Rot = kRot;
  int32_t m_Gruen = kGruen;
  uint32_t m_Start = 0;
  // Shows red: the lock it gives its cells, kept without cells as well.
  bool m_Red = false;
  BinaryMicroSimObject* m_pZelle1 = nullptr;
  BinaryMicroSimObject* m_pZelle2 = nullptr;
};

class CAmpelGroup : public CZorvaObject {
 public:
  static constexpr int kSlots = 4;
  static constexpr int32_t kCycle = 7000;
  static constexpr int32_t kShare = 3500;
  // The amber time of lights timed by the group's cycle.
  static constexpr int32_t kGelbGroup = 500;

  explicit CAmpelGroup(CStrJunction* junction) : m_pJunction(junction) {}
  ~CAmpelGroup() override;
  CAmpelGroup(const CAmpelGroup&) = delete;
  CAmpelGroup& operator=(const CAmpelGroup&) = delete;

  int Create() override;
  using CZorvaObject::Create;
  // cycle in tenths of a second; the green share is quote x cycle time.
  int Create(int cycle, float quote);
  // Destroys and deletes every light.
  int Destroy() override;
  // Returns -1.
  virtual int OnPlayloopTurn();
  virtual int ChangePriorityStreets(CStrStrasse* a, CStrStrasse* b, CStrStrasse* c, CStrStrasse* d);

  int ChangeAmpelData(int cycle, float quote);
  // Takes ownership of the light; 1 when the group is full or the street
  // null. A null light is ignored.
  int Add(CAmpel* light, CStrStrasse* street);
  int RemoveFromStreet(CStrStrasse* street);
  // The arm held for `old` is held for `replacement` from now on, in the
  // same slot, with its light; the light forgets the old street's cells
  // until RelinkZellen gives it the replacement's. 1 when the group does
  // not hold `old`.
  int ReplaceStreet(const CStrStrasse* old, CStrStrasse* replacement);
  // Gives a held arm without a light this one, in the arm's slot.
  int Relight(CAmpel* light, CStrStrasse* street);
  void CheckDeleteAmpel(int i);
  int GetPriorityStreets(CStrStrasse** a, CStrStrasse** b) const;
  int GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b) const;
  CAmpel* GetAmpelForStreet(const CStrStrasse* street) const;
  bool HasStreet(const CStrStrasse* street) const;
  CStrStrasse* GetLinkedStreetsNr(int n) const;
  CAmpel* GetAmpel(int n) const { return n >= 0 && n < kSlots ? m_pAmpeln[n] : nullptr; }
  int RemoveLinkedZellen();
  int RelinkZellen();

  // The number of street slots in use.
  int GetCount() const {
    int n = 0;
    for (CStrStrasse* s : m_pStreets) n += s ? 1 : 0;
    return n;
  }
  int32_t GetCycleTime() const { return m_CycleTime; }
  int32_t GetShare() const { return m_Share; }

 protected:
  // Add without the timing.
  int Place(CAmpel* light, CStrStrasse* street);
  // Gives a light the times of slot i.
  void TimeFor(CAmpel* light, int i) const;
  // After the arms changed slots: the priority lights take the priority
  // times and start their cycle together at the next turn.
  void Resync();
  void Swap(int i, int k);

  int32_t m_CycleTime = 0;
  int32_t m_Share = 0;
  // A light without cells that keeps the priority time: the followers
  // follow it while no priority light locks a cell.
  CAmpel m_Pacer;
  CAmpel* m_pAmpeln[kSlots] = {};
  CStrJunction* m_pJunction;
  CStrStrasse* m_pStreets[kSlots] = {};
};

class CVorfahrtGroup : public CAmpelGroup {
 public:
  using CAmpelGroup::CAmpelGroup;
  using CAmpelGroup::Add;
  // Puts the street into the first empty slot; 1 when all four are used.
  int Add(CStrStrasse* street);
  int ChangePriorityStreets(CStrStrasse* a, CStrStrasse* b, CStrStrasse* c, CStrStrasse* d) override;
};
