#pragma once
// Non-owning pointer lists with one built-in cursor: CZorvaList of game
// objects (optionally ordered by a sort key) and the location list template
// that keeps each location's count of list memberships.
#include <unordered_map>
#include <vector>

#include "framework/qno_object.h"
#include "framework/zor_links.h"

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
  friend struct ZorLinkFields<CZorvaPointer>;
  int m_key = -1;
  CZorvaPointer* m_prev = nullptr;
  CZorvaPointer* m_next = nullptr;
  CZorvaObject* m_object = nullptr;
};

class CZorvaList {
 public:
  // An indexed list finds the node of an object without a walk; it holds
  // each object once and refuses (1) to add an object it holds.
  explicit CZorvaList(InitializingType ownership = 1, bool indexed = false)
      : m_ownership(ownership), m_indexed(indexed) {}
  virtual ~CZorvaList();
  CZorvaList(const CZorvaList&) = delete;
  CZorvaList& operator=(const CZorvaList&) = delete;

  // A new list is already empty: 0.
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

  CZorvaPointer* GetHeadZorvaPointer() const { return m_links.GetHead(); }
  CZorvaPointer* GetTailZorvaPointer() const { return m_links.GetTail(); }
  int GetCount() const { return m_links.GetCount(); }

 private:
  // Unlinks and frees the node; the object stays.
  void Free(CZorvaPointer* node);
  CZorvaPointer* FindObject(const CZorvaObject* object) const {
    if (m_indexed) {
      const auto it = m_index.find(object);
      return it == m_index.end() ? nullptr : it->second;
    }
    return m_links.Find([object](const CZorvaPointer* n) { return n->m_object == object; });
  }
  // A new node for the object; null when an indexed list holds it already.
  CZorvaPointer* NewNode(CZorvaObject* object, int key);

  CZorvaLinks<CZorvaPointer, ZorLinkFields<CZorvaPointer>> m_links;
  InitializingType m_ownership;
  bool m_indexed;
  using Index = std::unordered_map<const CZorvaObject*, CZorvaPointer*>;
  Index m_index;
  // The nodes (and the index's nodes) of objects that left, kept for the
  // objects that come next, up to kSpares of each: a list whose objects
  // come and go by the hundred a turn, as the cars do, then asks the heap
  // for nothing.
  static constexpr size_t kSpares = 256;
  std::vector<CZorvaPointer*> m_spareNodes;
  std::vector<Index::node_type> m_spareIndex;
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
    // An ownership-0 list only forgets its nodes: the locations keep their
    // membership counts, but the nodes' memory still goes.
    m_links.ForEach([](Node* n) { delete n; });
    m_links.Forget();
  }
  CLocationListT(const CLocationListT&) = delete;
  CLocationListT& operator=(const CLocationListT&) = delete;

  // A new list is already empty: 0.
  int Create() { return 0; }

  int AddHeadLocation(Location* location) {
    m_links.LinkHead(new Node{location});
    if (m_ownership == 0 && location) location->IncrementListNumber();
    return 0;
  }

  int RemoveLocation(Location* location) {
    Node* n = m_links.Find([location](const Node* node) { return node->location == location; });
    if (!n) return 1;
    Free(n);
    return 0;
  }

  Location* RemoveHeadLocation() {
    Node* head = m_links.GetHead();
    if (!head) return nullptr;
    Location* l = head->location;
    Free(head);
    return l;
  }

  int Destroy() {
    while (!m_links.IsEmpty()) {
      Location* l = RemoveHeadLocation();
      if (m_message == 1 && l) l->SearchNextBestCrossing();
    }
    return 0;
  }

  void SetupLocationCount(const ListRichtungsType& direction) { m_links.SetupWalk(direction); }

  Location* GetNextLocation() {
    Node* n = m_links.WalkNext();
    return n ? n->location : nullptr;
  }

  bool Copy(CLocationListT* target) {
    m_links.ForEach([target](Node* n) { target->AddHeadLocation(n->location); });
    return true;
  }

  int GetCount() const { return m_links.GetCount(); }

 private:
  struct Node {
    Location* location;
    Node* m_prev = nullptr;
    Node* m_next = nullptr;
  };

  void Free(Node* n) {
    m_links.Unlink(n);
    if (m_ownership == 0 && n->location) n->location->DecrementListNumber();
    delete n;
  }

  CZorvaLinks<Node, ZorLinkFields<Node>> m_links;
  InitializingType m_ownership;
  MessageToLocationType m_message;
};
