#pragma once
// The street type, passed by value through the map, the street network and
// the interface: 1 to 3 are streets one cell wide (3 runs one way only), 4
// the four-lane street drawn as 2 x 2 cell groups, 9 rail.
#include <cstdint>

enum TStrassenType : int32_t {
  STRASSE_1 = 1,
  STRASSE_2 = 2,
  STRASSE_EINBAHN = 3,
  STRASSE_VIERSPURIG = 4,
  STRASSE_SCHIENE = 9,
};

class CStrassenType {
 public:
  CStrassenType() = default;
  // Implicit on purpose: the type travels as TStrassenType and as its value.
  CStrassenType(TStrassenType type) : m_type(type) {}  // NOLINT(google-explicit-constructor)
  virtual ~CStrassenType() = default;
  CStrassenType(const CStrassenType&) = default;
  CStrassenType& operator=(const CStrassenType&) = default;

  operator TStrassenType() const { return static_cast<TStrassenType>(m_type); }  // NOLINT
  CStrassenType& operator=(TStrassenType type) {
    m_type = type;
    return *this;
  }
  int32_t GetValue() const { return m_type; }

  bool operator==(TStrassenType t) const { return m_type == t; }
  bool operator!=(TStrassenType t) const { return m_type != t; }
  bool operator>=(TStrassenType t) const { return m_type >= t; }
  bool operator>(TStrassenType t) const { return m_type > t; }
  bool operator<(TStrassenType t) const { return m_type < t; }
  bool operator<=(TStrassenType t) const { return m_type <= t; }
  bool operator==(const CStrassenType& o) const { return m_type == o.m_type; }
  bool operator>(const CStrassenType& o) const { return m_type > o.m_type; }

 private:
  int32_t m_type = STRASSE_1;
};
