#pragma once
// The traffic lights and right-of-way signs of a junction.
// Stand-in: the groups hold their streets and lights but switch and draw nothing.
#include <cstdint>

class CStrJunction;
class CStrStrasse;

// One traffic light at a street's end.
class CAmpel {
 public:
  virtual ~CAmpel() = default;
};

// The lights of one junction. The first two streets added are the priority
// pair, the others the non-priority streets.
class CAmpelGroup {
 public:
  static constexpr int kMaxStreets = 4;

  explicit CAmpelGroup(CStrJunction* junction) : m_pJunction(junction) {}
  virtual ~CAmpelGroup();
  CAmpelGroup(const CAmpelGroup&) = delete;
  CAmpelGroup& operator=(const CAmpelGroup&) = delete;

  virtual int Create(int cycle, float quote);
  // Forgets every street and light; the group can be created again.
  virtual int Destroy();
  // Takes ownership of the light; 1 when the group is full or holds the street.
  int Add(CAmpel* light, CStrStrasse* street);
  int RemoveFromStreet(CStrStrasse* street);
  bool HasStreet(const CStrStrasse* street) const;
  int ChangeAmpelData(int cycle, float quote);
  int RelinkZellen() { return 0; }
  int RemoveLinkedZellen() { return 0; }
  int OnPlayloopTurn() { return 0; }
  int GetPriorityStreets(CStrStrasse** a, CStrStrasse** b) const;
  int GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b) const;
  int ChangePriorityStreets(CStrStrasse* p1, CStrStrasse* p2, CStrStrasse* o1, CStrStrasse* o2);
  int GetCount() const { return m_Count; }
  CStrStrasse* GetStreet(int n) const { return n >= 0 && n < m_Count ? m_pStreets[n] : nullptr; }
  int GetCycle() const { return m_Cycle; }
  float GetQuote() const { return m_Quote; }

 protected:
  CStrJunction* m_pJunction;
  CStrStrasse* m_pStreets[kMaxStreets] = {};
  CAmpel* m_pAmpeln[kMaxStreets] = {};
  int m_Count = 0;
  int m_Cycle = 0;
  float m_Quote = 0.0f;
};

// The right-of-way signs of one junction: the same streets without lights.
class CVorfahrtGroup : public CAmpelGroup {
 public:
  using CAmpelGroup::CAmpelGroup;
  int Add(CStrStrasse* street) { return CAmpelGroup::Add(nullptr, street); }
};
