#pragma once
// The owning, intrusive list shape shared by the toolkit's lists of windows,
// dialogs, items and actions: elements are added at the head, so the newest
// is visited first, and each element counts the lists that hold it.
#include "framework/qno_object.h"
#include "framework/zor_links.h"

template <class T>
class CToolkitList {
 public:
  CToolkitList() = default;
  ~CToolkitList() { DestroyAll(); }
  CToolkitList(const CToolkitList&) = delete;
  CToolkitList& operator=(const CToolkitList&) = delete;

  int Create() { return 0; }

  int AddHead(T* element) {
    if (!element) return 1;
    m_links.LinkHead(element);
    element->IncrementListNumber();
    return 0;
  }

  // Unlinks the element wherever it stands; 1 when it is not in the list.
  int Unlink(T* element) {
    if (!Contains(element)) return 1;
    m_links.Unlink(element);
    element->DecrementListNumber();
    return 0;
  }

  // Unlinks, destroys and deletes; 1 when the element is not in the list.
  int DestroyElement(T* element) {
    if (Unlink(element) != 0) return 1;
    element->Destroy();
    delete element;
    return 0;
  }

  void DestroyAll() {
    while (T* head = m_links.GetHead()) DestroyElement(head);
    m_links.SetCursor(nullptr);
  }

  bool Contains(const T* element) const { return m_links.Contains(element); }

  void SetupCount() { m_links.SetupWalk(0); }
  T* GetNext() { return m_links.WalkNext(); }

  // Walks from the head without touching the cursor, so that a visitor may
  // start its own walk of the same list.
  template <class F>
  void ForEach(F f) const {
    m_links.ForEach(f);
  }

  T* GetHead() const { return m_links.GetHead(); }
  T* GetTail() const { return m_links.GetTail(); }
  int GetCount() const { return m_links.GetCount(); }

 protected:
  CZorvaLinks<T> m_links;
};
