// The street network's savegame record: the list of junctions, then per
// junction the streets that start at it. A record that does not describe
// a whole network is refused and leaves the network empty.
#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"

int CStrJunctionList::SerializeGameStore(FILE* file) {
  if (CList::SerializeGameStore(file) != 0) return 1;
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (static_cast<CStrJunction*>(o)->SaveStreets(file) != 0) return 1;
  return 0;
}

bool CStrJunctionList::CheckLoadedNetwork() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    if (j->GetAnzLinkedStreets() != j->GetStoredStreetCount()) {
      QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: junction %d holds %d streets, its record %d", j->GetSimID(),
                j->GetAnzLinkedStreets(), j->GetStoredStreetCount());
      return false;
    }
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      CStrJunction* start = s->GetStartJunction();
      CStrJunction* end = s->GetEndJunction();
      if (!start || !end || (start != j && end != j) || !start->HasStreet(s) || !end->HasStreet(s)) {
        QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: street %d is not linked to both its ends", s->GetSimID());
        return false;
      }
      const int n = static_cast<int>(s->GetNumber());
      bool ok = n > 0;
      short px = static_cast<short>(start->GetXPos()), py = static_cast<short>(start->GetYPos());
      for (int k = 1; ok && k <= n; ++k) {
        CStrStrassenTeil* piece = s->GetStrassenTeil(k);
        ok = piece && piece->GetStartX() == px && piece->GetStartY() == py &&
             (piece->GetStartX() == piece->GetEndX() || piece->GetStartY() == piece->GetEndY()) &&
             IsoInMap(piece->GetStartX(), piece->GetStartY()) && IsoInMap(piece->GetEndX(), piece->GetEndY());
        if (ok) {
          px = piece->GetEndX();
          py = piece->GetEndY();
        }
      }
      if (!ok || px != static_cast<short>(end->GetXPos()) || py != static_cast<short>(end->GetYPos())) {
        QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: street %d does not run from %d/%d to %d/%d", s->GetSimID(),
                  start->GetXPos(), start->GetYPos(), end->GetXPos(), end->GetYPos());
        return false;
      }
    }
  }
  return true;
}

void CStrJunctionList::DiscardLoaded() {
  m_Cells.Clear();
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    while (j->GetAnzLinkedStreets() > 0) {
      CStrStrasse* s = j->GetStreetByNR(0);
      const int before = j->GetAnzLinkedStreets();
      if (CStrJunction* start = s->GetStartJunction()) start->UnLinkStreet(s);
      if (CStrJunction* end = s->GetEndJunction()) end->UnLinkStreet(s);
      if (j->GetAnzLinkedStreets() == before) j->UnLinkStreet(s);
      s->RemoveFromIsoWelt(false);
      s->RemoveFromSimWelt();
      s->Destroy();
      delete s;
    }
  }
  while (CZorvaObject* o = GetTail()) {
    auto* j = static_cast<CStrJunction*>(o);
    if (j->IsDrawn()) j->RemoveFromIsoWelt();
    const uint32_t key = ListKey(j);
    j->RemoveFromSimWelt();
    // Junctions that were not indexed yet are unlinked all the same.
    m_links.Unlink(j);
    if (m_hashTable) m_hashTable->RemoveEntry(key);
    j->Destroy();
    delete j;
  }
  if (m_hashTable) RebuildIndex(kHashSize);
  m_StreetsByID.clear();
}

int CStrJunctionList::SerializeGameLoad(FILE* file) {
  if (GetHead()) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: loading into a network that is not empty");
    return 1;
  }
  EditScope edit(this);
  if (!m_hashTable) CList::Create(true, kHashSize);
  bool ok = CList::SerializeGameLoad(file) == 0;
  // The index is made again from the junctions' own ids, large enough for
  // all of them; two junctions with one id are no network.
  if (ok) {
    int size = kHashSize;
    while (size < static_cast<int>(GetNumber()) * 2) size *= 2;
    ok = RebuildIndex(size);
    if (!ok) QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: crossing ids are not distinct");
  }
  for (CZorvaObject* o = GetHead(); ok && o; o = o->GetNext()) ok = static_cast<CStrJunction*>(o)->LoadStreets(file) == 0;
  if (ok) ok = CheckLoadedNetwork();
  if (!ok) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: street network record refused");
    DiscardLoaded();
    return 1;
  }
  // The cell index takes the loaded network, the latest listed first.
  for (CZorvaObject* o = GetTail(); o; o = o->GetPrev()) m_Cells.AddJunction(static_cast<CStrJunction*>(o));
  CStrJunction::m_InLoadFile = 1;
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) static_cast<CStrJunction*>(o)->InsertIntoIsoWelt();
  CStrJunction::m_InLoadFile = 0;
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (s->GetStartJunction() == j && !s->GetMicroZellenGroup()) s->CreateMicroZelle();
    }
  }
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    j->CreateMicroZelle();
    j->CreateNewAmpel();
    j->CreateVorfahr(j->GetAmpelType());
    j->UpdateAmpelPos();
  }
  UpdateChanges();
  return 0;
}
