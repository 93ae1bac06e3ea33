#pragma once
// The owning, intrusive list shape shared by the toolkit's lists of windows,
// dialogs, items and actions: elements are added at the head, so the newest
// is visited first, and each element counts the lists that hold it.
#include "framework/qno_object.h"

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
    element->SetPrev(nullptr);
    element->SetNext(m_head);
    if (m_head)
      m_head->SetPrev(element);
    else
      m_tail = element;
    m_head = element;
    ++m_count;
    element->IncrementListNumber();
    return 0;
  }

  // Unlinks the element wherever it stands; 1 when it is not in the list.
  int Unlink(T* element) {
    if (!Contains(element)) return 1;
    T* prev = static_cast<T*>(element->GetPrev());
    T* next = static_cast<T*>(element->GetNext());
    if (prev)
      prev->SetNext(next);
    else
      m_head = next;
    if (next)
      next->SetPrev(prev);
    else
      m_tail = prev;
    if (m_cursor == element) m_cursor = next;
    element->SetNext(nullptr);
    element->SetPrev(nullptr);
    --m_count;
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
    while (m_head) DestroyElement(m_head);
    m_cursor = nullptr;
  }

  bool Contains(const T* element) const {
    for (const CZorvaObject* e = m_head; e; e = e->GetNext())
      if (e == element) return true;
    return false;
  }

  void SetupCount() { m_cursor = m_head; }
  T* GetNext() {
    T* e = m_cursor;
    if (e) m_cursor = static_cast<T*>(e->GetNext());
    return e;
  }

  // Walks from the head without touching the cursor, so that a visitor may
  // start its own walk of the same list.
  template <class F>
  void ForEach(F f) const {
    for (T* e = m_head; e;) {
      T* next = static_cast<T*>(e->GetNext());
      f(e);
      e = next;
    }
  }

  T* GetHead() const { return m_head; }
  T* GetTail() const { return m_tail; }
  int GetCount() const { return m_count; }

 protected:
  T* m_head = nullptr;
  T* m_tail = nullptr;
  T* m_cursor = nullptr;
  int m_count = 0;
};
