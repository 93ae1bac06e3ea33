#include "framework/zor_list.h"

#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_record.h"

int g_ZorLoadVersion = 0;

// ---- CHashTable -----------------------------------------------------------

CHashTable::CHashTable(int size) : m_size(size < 2 ? 2 : size) {
  m_buckets = new Entry[static_cast<size_t>(m_size)];
  m_overflow = new Entry[static_cast<size_t>(m_size / 2)];
}

CHashTable::~CHashTable() {
  delete[] m_buckets;
  delete[] m_overflow;
}

bool CHashTable::InsertEntry(uint32_t key, CZorvaObject* object) {
  if (!object) return false;
  Entry* bucket = Bucket(key);
  if (!bucket->object) {
    bucket->key = key;
    bucket->object = object;
    bucket->next = nullptr;
    ++m_count;
    return true;
  }
  Entry* last = bucket;
  while (last->next) last = last->next;
  const int pool = m_size / 2;
  // The search for a free overflow entry starts at a place the key gives:
  // keys of one bucket differ in their quotient, so they spread. It draws
  // nothing, so a window opened or a list built never shifts the game's
  // random sequence.
  int r = static_cast<int>(key / static_cast<uint32_t>(m_size) % static_cast<uint32_t>(pool));
  int steps = 0;
  while (m_overflow[r].object && steps < pool) {
    r = (r + 1) % pool;
    ++steps;
  }
  if (steps >= pool) return false;
  Entry* slot = &m_overflow[r];
  last->next = slot;
  slot->key = key;
  slot->object = object;
  slot->next = nullptr;
  ++m_count;
  return true;
}

CZorvaObject* CHashTable::GetEntry(uint32_t key, bool) const {
  for (const Entry* e = Bucket(key); e; e = e->next)
    if (e->object && e->key == key) return e->object;
  return nullptr;
}

CZorvaObject* CHashTable::RemoveEntry(uint32_t key) {
  Entry* bucket = Bucket(key);
  Entry* prev = nullptr;
  Entry* e = bucket;
  while (e && !(e->object && e->key == key)) {
    prev = e;
    e = e->next;
  }
  if (!e) return nullptr;
  CZorvaObject* removed = e->object;
  if (e == bucket) {
    if (Entry* succ = bucket->next) {
      *bucket = *succ;
      *succ = Entry{};
    } else {
      *bucket = Entry{};
    }
  } else {
    prev->next = e->next;
    *e = Entry{};
  }
  --m_count;
  return removed;
}

// ---- CList ----------------------------------------------------------------

CList::CList(CList& source) {
  for (CZorvaObject* o = source.m_links.GetHead(); o; o = o->GetNext()) {
    QnoObject* created = QnoCreateObject(o->GetTypeName());
    CZorvaObject* copy = dynamic_cast<CZorvaObject*>(created);
    if (!copy) {
      delete created;
      continue;
    }
    copy->Create(*o);
    AddTail(copy, 0);
  }
}

int CList::Create(bool hashed, int size) {
  m_links.Forget();
  delete m_hashTable;
  m_hashTable = nullptr;
  m_hashed = hashed ? 1 : 0;
  if (hashed) m_hashTable = new CHashTable(size);
  return 0;
}

int CList::Destroy() {
  delete m_hashTable;
  m_hashTable = nullptr;
  m_hashed = 0;
  while (CZorvaObject* tail = m_links.GetTail()) DestroyObject(tail, 0);
  return 0;
}

void CList::IndexObject(CZorvaObject* object, uint32_t key) {
  if (m_hashed && m_hashTable && !m_hashTable->InsertEntry(key, object))
    QNO_ERROR(QNO_SEV_ERROR, "CList: hash table full, key %u not indexed", static_cast<int>(key));
}

int CList::AddHead(CZorvaObject* object, unsigned key) {
  // An object in a list (this one or another) keeps its place there.
  if (!object || object->GetListOwner() || object->GetNext() || object->GetPrev()) return 0;
  m_links.LinkHead(object);
  IndexObject(object, key);
  return 0;
}

int CList::AddTail(CZorvaObject* object, unsigned key) {
  if (!object || object->GetListOwner() || object->GetNext() || object->GetPrev()) return 0;
  m_links.LinkTail(object);
  IndexObject(object, key);
  return 0;
}

int CList::Remove(CZorvaObject* object, unsigned key) {
  if (!object) return 0;
  // An object removed twice, or one from another list, would otherwise cut
  // this list apart and miscount it.
  if (!Contains(object)) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "Remove of an object not in the list");
    return 1;
  }
  m_links.Unlink(object);
  if (m_hashed && m_hashTable) m_hashTable->RemoveEntry(key);
  return 0;
}

int CList::DestroyObject(CZorvaObject* object, unsigned key) {
  if (!object) return 0;
  if (Remove(object, key) != 0) return 1;
  object->Destroy();
  delete object;
  return 0;
}

CZorvaObject* CList::GetAt(uint32_t n) {
  if (n == 0) return nullptr;
  CZorvaObject* o = m_links.GetHead();
  for (uint32_t i = 1; o && i < n; ++i) o = o->GetNext();
  return o;
}

CZorvaObject* CList::GetByHashID(uint32_t key) { return m_hashTable ? m_hashTable->GetEntry(key) : nullptr; }

bool CList::IsPredecessor(CZorvaObject* a, CZorvaObject* b) {
  if (!a || !b) return false;
  bool seenA = false;
  for (CZorvaObject* o = m_links.GetHead(); o; o = o->GetNext()) {
    if (o == b) return seenA;
    if (o == a) seenA = true;
  }
  return false;
}

bool CList::IsSuccessor(CZorvaObject* a, CZorvaObject* b) {
  if (!a || !b) return false;
  // The head counts as seen before the walk starts, so (head, head) is true
  // while (x, x) for any other member is false.
  bool seenB = m_links.GetHead() == b;
  for (CZorvaObject* o = m_links.GetHead(); o; o = o->GetNext()) {
    if (o == a) return seenB;
    if (o == b) seenB = true;
  }
  return false;
}

int CList::TurnMembers() {
  m_links.Reverse();
  return 0;
}

// ---- savegame record --------------------------------------------------------

int CList::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  out.U32(static_cast<uint32_t>(m_links.GetCount()));
  out.U8(m_hashed);
  for (CZorvaObject* o = m_links.GetHead(); o && out.Ok(); o = o->GetNext()) {
    const char* name = o->GetTypeName();
    const size_t n = name ? std::strlen(name) : 0;
    // Without a name the object could not be re-created on loading.
    if (!name || n == 0 || n > 255) return 1;
    out.U8(static_cast<uint8_t>(n));
    out.Bytes(name, n + 1);
    out.U32(o->GetHashKey());
    if (out.Ok() && o->SerializeGameStore(file) != 0) return 1;
  }
  return out.Ok() ? 0 : 1;
}

int CList::SerializeGameLoad(FILE* file) {
  if (!file) return 1;
  if (!m_links.IsEmpty()) {
    QNO_ERROR(QNO_SEV_ERROR, "CList: loading into a list that is not empty");
    return 1;
  }
  ZorRecordReader in(file);
  const uint32_t count = in.U32();
  if (!in.Ok()) return 1;
  const bool withKeys = g_ZorLoadVersion > 230;
  if (withKeys) {
    m_hashed = in.U8();
    if (!in.Ok()) return 1;
  }
  if (count < 1) return 0;
  // Every object takes at least its name length and a NUL (and a key), so a
  // count beyond that is a corrupt record, not a reason to loop for long.
  if (!in.Fits(count, withKeys ? 6 : 2)) {
    QNO_ERROR(QNO_SEV_ERROR, "CList: record holds %u objects, more than the file can", static_cast<int>(count));
    return 1;
  }
  for (uint32_t i = 0; i < count; ++i) {
    char name[257];
    const uint8_t n = in.U8();
    in.Bytes(name, static_cast<size_t>(n) + 1);
    name[n] = '\0';
    const uint32_t key = withKeys ? in.U32() : 0xFFFFFFFFu;
    if (!in.Ok()) return 1;
    QnoObject* created = QnoCreateObject(name);
    CZorvaObject* object = dynamic_cast<CZorvaObject*>(created);
    if (!object || (m_elementType && !object->IsKindOf(m_elementType))) {
      QNO_ERROR(QNO_SEV_ERROR, "CList: stored type %s does not belong in this list", name);
      delete created;
      return 1;
    }
    // Linked before it loads, so a failed load still leaves it to Destroy().
    m_links.LinkTail(object);
    if (object->SerializeGameLoad(file) != 0) return 1;
    if (m_hashed && m_hashTable) IndexObject(object, key != 0xFFFFFFFFu ? key : object->GetHashKey());
  }
  return 0;
}
