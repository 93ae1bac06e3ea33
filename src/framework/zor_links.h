#pragma once
// The links of an intrusive, doubly linked list: head, tail, count and one
// cursor over nodes that carry their own previous and next links. The
// template only links and unlinks; it never allocates, frees or destroys a
// node, so every list built on it decides for itself who owns what.
//
// A Links policy reads and writes a node's links:
//   static Node* Next(const Node*), Prev(const Node*);
//   static void SetNext(Node*, Node*), SetPrev(Node*, Node*);
// A policy may also keep a mark of the list a node is in:
//   static const void* Owner(const Node*); static void SetOwner(Node*, const void*);
// With it, membership is one comparison; without it, a walk from the head.

// Nodes that reach their links through GetNext/GetPrev/SetNext/SetPrev, as
// CZorvaObject and the classes derived from it do.
template <class Node>
struct ZorLinkCalls {
  static Node* Next(const Node* n) { return static_cast<Node*>(n->GetNext()); }
  static Node* Prev(const Node* n) { return static_cast<Node*>(n->GetPrev()); }
  static void SetNext(Node* n, Node* to) { n->SetNext(to); }
  static void SetPrev(Node* n, Node* to) { n->SetPrev(to); }
  static const void* Owner(const Node* n)
    requires requires { n->GetListOwner(); }
  {
    return n->GetListOwner();
  }
  static void SetOwner(Node* n, const void* owner)
    requires requires { n->SetListOwner(owner); }
  {
    n->SetListOwner(owner);
  }
};

// Nodes that hold their links in fields m_prev and m_next (a node class with
// private links names this template its friend).
template <class Node>
struct ZorLinkFields {
  static Node* Next(const Node* n) { return n->m_next; }
  static Node* Prev(const Node* n) { return n->m_prev; }
  static void SetNext(Node* n, Node* to) { n->m_next = to; }
  static void SetPrev(Node* n, Node* to) { n->m_prev = to; }
};

template <class Node, class Links = ZorLinkCalls<Node>>
class CZorvaLinks {
  static constexpr bool kMarked = requires(Node* n, const void* o) {
    Links::Owner(n);
    Links::SetOwner(n, o);
  };

 public:
  CZorvaLinks() = default;
  CZorvaLinks(const CZorvaLinks&) = delete;
  CZorvaLinks& operator=(const CZorvaLinks&) = delete;

  Node* GetHead() const { return m_head; }
  Node* GetTail() const { return m_tail; }
  int GetCount() const { return m_count; }
  bool IsEmpty() const { return m_head == nullptr; }
  static Node* Next(const Node* node) { return Links::Next(node); }
  static Node* Prev(const Node* node) { return Links::Prev(node); }

  // The node must not be in a list; its links are overwritten.
  void LinkHead(Node* node) { LinkBefore(node, m_head); }
  void LinkTail(Node* node) { LinkBefore(node, nullptr); }

  // Links node in front of before, a member of this list; a null before
  // links it at the tail.
  void LinkBefore(Node* node, Node* before) {
    Node* prev = before ? Links::Prev(before) : m_tail;
    Links::SetPrev(node, prev);
    Links::SetNext(node, before);
    if (prev)
      Links::SetNext(prev, node);
    else
      m_head = node;
    if (before)
      Links::SetPrev(before, node);
    else
      m_tail = node;
    if constexpr (kMarked) Links::SetOwner(node, this);
    ++m_count;
  }

  // The node must be a member. Its links are cleared, and a cursor standing
  // on it moves on to the node the walk would have reached next.
  void Unlink(Node* node) {
    Node* prev = Links::Prev(node);
    Node* next = Links::Next(node);
    if (prev)
      Links::SetNext(prev, next);
    else
      m_head = next;
    if (next)
      Links::SetPrev(next, prev);
    else
      m_tail = prev;
    if (m_cursor == node) m_cursor = m_direction == 0 ? next : prev;
    Links::SetNext(node, nullptr);
    Links::SetPrev(node, nullptr);
    if constexpr (kMarked) Links::SetOwner(node, nullptr);
    --m_count;
  }

  // Turns the order around. A walk in progress goes on over the nodes it
  // has not reached yet, so its direction turns too.
  void Reverse() {
    for (Node* n = m_head; n;) {
      Node* next = Links::Next(n);
      Links::SetNext(n, Links::Prev(n));
      Links::SetPrev(n, next);
      n = next;
    }
    Node* head = m_head;
    m_head = m_tail;
    m_tail = head;
    m_direction = m_direction == 0 ? 1 : 0;
  }

  // Empty again without unlinking the nodes: whoever holds them keeps them.
  // Marked nodes lose their mark, so that this list no longer takes them
  // for members.
  void Forget() {
    if constexpr (kMarked)
      for (Node* n = m_head; n; n = Links::Next(n)) Links::SetOwner(n, nullptr);
    m_head = m_tail = m_cursor = nullptr;
    m_count = 0;
  }

  bool Contains(const Node* node) const {
    if constexpr (kMarked) return node && Links::Owner(node) == this;
    return node && Find([node](const Node* n) { return n == node; });
  }

  // The first node from the head for which pred holds, null when none.
  template <class Pred>
  Node* Find(Pred pred) const {
    for (Node* n = m_head; n; n = Links::Next(n))
      if (pred(n)) return n;
    return nullptr;
  }

  // Visits every node from the head. The next node is taken before f runs,
  // so f may unlink (or free) the node it is given, but no other.
  template <class F>
  void ForEach(F f) const {
    for (Node* n = m_head; n;) {
      Node* next = Links::Next(n);
      f(n);
      n = next;
    }
  }

  // The cursor: direction 0 walks from the head towards the tail, any other
  // value from the tail towards the head.
  void SetupWalk(int direction) {
    m_direction = direction;
    m_cursor = direction == 0 ? m_head : m_tail;
  }
  // The cursor's node, the cursor moving one on; null at the end.
  Node* WalkNext() {
    Node* n = m_cursor;
    if (n) m_cursor = m_direction == 0 ? Links::Next(n) : Links::Prev(n);
    return n;
  }
  Node* GetCursor() const { return m_cursor; }
  // The walk goes on at node; from there it follows node's own links.
  void SetCursor(Node* node) { m_cursor = node; }

 private:
  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  Node* m_cursor = nullptr;
  int m_direction = 0;
  int m_count = 0;
};
