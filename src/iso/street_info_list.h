#pragma once
// The graphics of each street type: straight piece, bend, crossing, T
// junction and end piece, each with a layer tile merged onto it (0 = none),
// and the capacity the demand model gives a street of the type. The list is
// its first record; every lookup walks forwards from the record it is
// called on. Ids of a type without a record are -1, its capacity 0.
#include <cstdint>

#include "worldbase/street_type.h"

class CStreetInfoList {
 public:
  // The five pieces of a street type, in record order.
  enum TPiece { STRAIGHT = 0, CURVE = 1, CROSSING = 2, T_JUNCTION = 3, END = 4, PIECES = 5 };

  CStreetInfoList() = default;
  CStreetInfoList(CStrassenType type, const int ids[PIECES], const int layers[PIECES], uint16_t capacity);
  ~CStreetInfoList() = default;
  CStreetInfoList(const CStreetInfoList&) = delete;
  CStreetInfoList& operator=(const CStreetInfoList&) = delete;

  // Appends a record at the tail of the list this record belongs to.
  void Append(CStreetInfoList* record);
  // Deletes every record after this one.
  void DeleteFollowing();
  CStreetInfoList* GetNext() const { return m_pNext; }
  CStreetInfoList* GetPrev() const { return m_pPrev; }

  CStrassenType GetType() const { return m_Type; }
  int GetID(TPiece piece) const { return m_ID[piece]; }
  int GetLayer(TPiece piece) const { return m_Layer[piece]; }

  // The first record of that type, or null.
  CStreetInfoList* FindElement(CStrassenType type);
  int GetStrassenID(CStrassenType type);
  int GetKurvenID(CStrassenType type);
  int GetEndStueckID(CStrassenType type);
  // A plain TStrassenType would otherwise reach GetEndStueckID(int id).
  int GetEndStueckID(TStrassenType type) { return GetEndStueckID(CStrassenType(type)); }
  int GetStrassenLayerID(CStrassenType type);
  int GetKurvenLayer(CStrassenType type);
  int GetEndStueckLayer(CStrassenType type);
  int GetCapacity(CStrassenType type);

  // The first record whose straight id is that of a record holding `id` as
  // any of its five pieces; null when none.
  CStreetInfoList* FindElement(int id);
  int GetKreuzungsID(int id);
  int GetTKreuzung(int id);
  int GetEndStueckID(int id);
  // Whether a record with that straight id has `id` as one of its pieces.
  bool IsEqual(int straightId, int id);

 private:
  int IdOf(CStrassenType type, TPiece piece, bool layer);
  int IdOfFamily(int id, TPiece piece);
  bool Holds(int id) const;

  CStreetInfoList* m_pPrev = nullptr;
  CStreetInfoList* m_pNext = nullptr;
  int32_t m_ID[PIECES] = {-1, -1, -1, -1, -1};
  int32_t m_Layer[PIECES] = {};
  uint16_t m_Capacity = 0;
  CStrassenType m_Type;
};
