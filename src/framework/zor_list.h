#pragma once
// The owning, intrusive list of game objects with its optional hash index
// and its savegame record.
#include <cstdint>
#include <cstdio>

#include "framework/qno_object.h"
#include "framework/zor_links.h"

// The version of the savegame being read; the list record carries its hash
// flag and keys only in versions above 230.
extern int g_ZorLoadVersion;

class CHashTable {
 public:
  // size must be at least 2; there are size / 2 overflow entries.
  explicit CHashTable(int size);
  ~CHashTable();
  CHashTable(const CHashTable&) = delete;
  CHashTable& operator=(const CHashTable&) = delete;

  // False for a null object or when no overflow entry is free.
  bool InsertEntry(uint32_t key, CZorvaObject* object);
  CZorvaObject* GetEntry(uint32_t key, bool = false) const;
  // The removed entry's object, or null when no entry has the key.
  CZorvaObject* RemoveEntry(uint32_t key);
  int GetSize() const { return m_size; }
  int GetCount() const { return m_count; }

 private:
  struct Entry {
    uint32_t key = 0;
    CZorvaObject* object = nullptr;
    Entry* next = nullptr;
  };
  Entry* Bucket(uint32_t key) const { return &m_buckets[key % static_cast<uint32_t>(m_size)]; }

  int m_size;
  Entry* m_buckets;
  Entry* m_overflow;
  int m_count = 0;
};

class CList {
 public:
  CList() = default;
  // Clones every object of source by its registered type name.
  CList(CList& source);
  // Frees nothing: owners call Destroy() first.
  virtual ~CList() = default;
  CList& operator=(const CList&) = delete;

  virtual int Create(bool hashed, int size);
  // Destroys every object (tail to head) and the index.
  virtual int Destroy();
  virtual int AddHead(CZorvaObject* object, unsigned key);
  virtual int AddTail(CZorvaObject* object, unsigned key);
  // Remove, then the object's Destroy(), then delete.
  virtual int DestroyObject(CZorvaObject* object, unsigned key);
  // Unlinks a member; an object that is not in this list is refused (1).
  virtual int Remove(CZorvaObject* object, unsigned key);
  virtual int SerializeGameLoad(FILE* file);
  virtual int SerializeGameStore(FILE* file);
  virtual CZorvaObject* GetHead() { return m_links.GetHead(); }
  virtual CZorvaObject* GetTail() { return m_links.GetTail(); }
  virtual uint32_t GetNumber() { return static_cast<uint32_t>(m_links.GetCount()); }

  CHashTable* GetHashTable() { return m_hashTable; }
  bool IsHashed() const { return m_hashed != 0; }
  // The n-th object counting from 1; null for 0 or past the end.
  CZorvaObject* GetAt(uint32_t n);
  CZorvaObject* GetByHashID(uint32_t key);
  bool Contains(const CZorvaObject* object) const { return m_links.Contains(object); }
  bool IsPredecessor(CZorvaObject* a, CZorvaObject* b);
  bool IsSuccessor(CZorvaObject* a, CZorvaObject* b);
  int TurnMembers();
  // Loading refuses objects that are not of this kind (null accepts any
  // registered class).
  void SetElementType(const QnoObjectType* type) { m_elementType = type; }

 protected:
  void IndexObject(CZorvaObject* object, uint32_t key);

  // The objects' own next and previous links chain them.
  CZorvaLinks<CZorvaObject> m_links;
  CHashTable* m_hashTable = nullptr;
  uint8_t m_hashed = 0;
  const QnoObjectType* m_elementType = nullptr;
};
