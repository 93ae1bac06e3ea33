#pragma once
// Non-owning pointer lists with one built-in cursor: CZorvaList of game
// objects (optionally ordered by a sort key) and the location list template
// that keeps each location's count of list memberships.
#include "framework/qno_object.h"

// 0 walks from the head towards the tail, any other value the other way.
using ListRichtungsType = int;
// 1: the list empties itself when destroyed; 0: it only forgets its nodes.
using InitializingType = int;
// 1: locations removed by Destroy() are told to find their next crossing.
using MessageToLocationType = int;

class CZorvaPointer {
 public:
  CZorvaPointer* GetNextZorvaPointer() const { return m_next; }
  CZorvaPointer* GetPrevZorvaPointer() const { return m_prev; }
  CZorvaObject* GetZorvaObject() const { return m_object; }
  int GetKey() const { return m_key; }

 private:
  friend class CZorvaList;
  int m_key = -1;
  CZorvaPointer* m_prev = nullptr;
  CZorvaPointer* m_next = nullptr;
  CZorvaObject* m_object = nullptr;
};

class CZorvaList {
 public:
  explicit CZorvaList(InitializingType ownership = 1) : m_ownership(ownership) {}
  virtual ~CZorvaList();
  CZorvaList(const CZorvaList&) = delete;
  CZorvaList& operator=(const CZorvaList&) = delete;

  int Create();
  // A key of 0 or more inserts before the first node with a key >= key.
  int AddHeadZorva(CZorvaObject* object, int key = -1);
  int AddTailZorva(CZorvaObject* object, int key = -1);
  // 1 when no node holds the object.
  int RemoveZorva(CZorvaObject* object);
  CZorvaObject* RemoveHeadZorva(bool giveObject);
  CZorvaObject* RemoveTailZorva(bool giveObject);
  int Destroy();
  // 0 when found, 1 otherwise.
  int CheckZorvaInList(const CZorvaObject* object) const;
  int CheckPointerInList(const CZorvaPointer* node) const;
  void SetupZorvaCount(ListRichtungsType direction = 0);
  CZorvaObject* GetNextZorva();
  // Adds this list's objects in front of target's, in reverse order.
  bool Copy(CZorvaList* target);

  CZorvaPointer* GetHeadZorvaPointer() const { return m_head; }
  CZorvaPointer* GetTailZorvaPointer() const { return m_tail; }
  int GetCount() const { return m_count; }

 private:
  CZorvaPointer* NewNode(CZorvaObject* object, int key);
  void InsertBefore(CZorvaPointer* node, CZorvaPointer* before);
  void Unlink(CZorvaPointer* node);

  CZorvaPointer* m_head = nullptr;
  CZorvaPointer* m_tail = nullptr;
  CZorvaPointer* m_cursor = nullptr;
  CZorvaPointer* m_savedCursor = nullptr;
  ListRichtungsType m_direction = 0;
  int m_count = 0;
  InitializingType m_ownership;
};

// Location needs IncrementListNumber(), DecrementListNumber() and
// SearchNextBestCrossing().
template <class Location>
class CLocationListT {
 public:
  CLocationListT(const InitializingType& ownership, const MessageToLocationType& message)
      : m_ownership(ownership), m_message(message) {}
  ~CLocationListT() {
    if (m_ownership == 1) Destroy();
    // An ownership-0 list only forgets its nodes (their memory still goes).
    while (m_head) {
      Node* next = m_head->next;
      delete m_head;
      m_head = next;
    }
    m_tail = m_cursor = nullptr;
    m_count = 0;
  }
  CLocationListT(const CLocationListT&) = delete;
  CLocationListT& operator=(const CLocationListT&) = delete;

  int Create() {
    m_head = m_tail = nullptr;
    return 0;
  }

  int AddHeadLocation(Location* location) {
    Node* n = new Node{nullptr, m_head, location};
    if (m_head)
      m_head->prev = n;
    else
      m_tail = n;
    m_head = n;
    ++m_count;
    if (m_ownership == 0 && location) location->IncrementListNumber();
    return 0;
  }

  int RemoveLocation(Location* location) {
    for (Node* n = m_head; n; n = n->next) {
      if (n->location == location) {
        Free(n);
        return 0;
      }
    }
    return 1;
  }

  Location* RemoveHeadLocation() {
    if (!m_head) return nullptr;
    Location* l = m_head->location;
    Free(m_head);
    return l;
  }

  int Destroy() {
    while (m_head) {
      Location* l = RemoveHeadLocation();
      if (m_message == 1 && l) l->SearchNextBestCrossing();
    }
    return 0;
  }

  void SetupLocationCount(const ListRichtungsType& direction) {
    m_direction = direction;
    m_cursor = direction == 0 ? m_head : m_tail;
  }

  Location* GetNextLocation() {
    if (!m_cursor) return nullptr;
    Location* l = m_cursor->location;
    m_cursor = m_direction == 0 ? m_cursor->next : m_cursor->prev;
    return l;
  }

  bool Copy(CLocationListT* target) {
    for (Node* n = m_head; n; n = n->next) target->AddHeadLocation(n->location);
    return true;
  }

  int GetCount() const { return m_count; }

 private:
  struct Node {
    Node* prev;
    Node* next;
    Location* location;
  };

  void Free(Node* n) {
    if (n->prev)
      n->prev->next = n->next;
    else
      m_head = n->next;
    if (n->next)
      n->next->prev = n->prev;
    else
      m_tail = n->prev;
    if (m_cursor == n) m_cursor = m_direction == 0 ? n->next : n->prev;
    if (m_ownership == 0 && n->location) n->location->DecrementListNumber();
    --m_count;
    delete n;
  }

  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  Node* m_cursor = nullptr;
  ListRichtungsType m_direction = 0;
  int m_count = 0;
  InitializingType m_ownership;
  MessageToLocationType m_message;
};
