#include "framework/qno_object.h"

#include <cstdlib>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_util.h"

QnoObjectType* QnoObjectType::static_pHead = nullptr;
const QnoObjectType* QnoObject::m_pClassType = nullptr;

QnoObjectType::QnoObjectType(const char* name, const QnoObjectType* base, QnoCreateFunc create,
                             QnoVersionInfo version, const char* description)
    : m_base(base), m_name(kfx_strdup(name)), m_create(create), m_version(version),
      m_description(kfx_strdup(description)) {
  if (!static_pHead) {
    static_pHead = this;
    return;
  }
  QnoObjectType* tail = static_pHead;
  while (tail->m_next) tail = tail->m_next;
  tail->m_next = this;
  m_prev = tail;
}

QnoObjectType::~QnoObjectType() {
  std::free(m_name);
  std::free(m_description);
  if (m_prev) m_prev->m_next = m_next;
  if (m_next) m_next->m_prev = m_prev;
  if (static_pHead == this) static_pHead = m_next;
}

int QnoObjectType::IsKindOf(const QnoObjectType* other) const {
  if (!other || !other->m_name) return 0;
  return IsKindOf(other->m_name);
}

int QnoObjectType::IsKindOf(const char* name) const {
  if (!name || !m_name) return 0;
  for (const QnoObjectType* t = this; t; t = t->m_base)
    if (t->m_name && std::strcmp(t->m_name, name) == 0) return 1;
  return 0;
}

int QnoObjectType::IsInstanceOf(const char*) const { return 0; }

const QnoObjectType* QnoObjectType::GetType(const char* name, int, QnoVersionInfo) {
  if (!name || !*name) return nullptr;
  for (const QnoObjectType* t = static_pHead; t; t = t->m_next)
    if (t->m_name && std::strcmp(t->m_name, name) == 0) return t;
  return nullptr;
}

QnoObject* QnoObjectType::CreateObject(int, QnoVersionInfo) const { return m_create ? m_create() : nullptr; }

int QnoObject::IsKindOf(const QnoObjectType* type) const {
  const QnoObjectType* mine = GetQnoObjectType();
  return mine ? mine->IsKindOf(type) : 0;
}

int QnoObject::IsKindOf(const char* name) const {
  const QnoObjectType* mine = GetQnoObjectType();
  return mine ? mine->IsKindOf(name) : 0;
}

int QnoObject::IsInstanceOf(const char* name) const { return IsKindOf(name); }

const char* QnoObject::GetTypeName() const { return m_pClassType ? m_pClassType->GetName() : nullptr; }

QnoObject* QnoCreateObject(const char* name) {
  const QnoObjectType* type = QnoObjectType::GetType(name);
  if (!type) {
    QNO_ERROR(QNO_SEV_ERROR, "Fehler konnte Type nicht finden");
    return nullptr;
  }
  return type->CreateObject();
}
