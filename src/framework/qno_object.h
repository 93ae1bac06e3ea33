#pragma once
// The object model: run-time type records, by which savegames re-create
// objects from their type names, and the root of every game object.
#include <cstdint>
#include <cstdio>

class QnoObject;
using QnoCreateFunc = QnoObject* (*)();

struct QnoVersionInfo {
  uint16_t major = 1;
  uint16_t minor = 6;
  uint32_t build = 1;
};

class QnoObjectType {
 public:
  QnoObjectType(const char* name, const QnoObjectType* base, QnoCreateFunc create, QnoVersionInfo version,
                const char* description);
  virtual ~QnoObjectType();
  QnoObjectType(const QnoObjectType&) = delete;
  QnoObjectType& operator=(const QnoObjectType&) = delete;

  virtual int IsKindOf(const QnoObjectType* other) const;
  virtual int IsKindOf(const char* name) const;
  virtual int IsInstanceOf(const char* name) const;

  // The first record of that exact name; null for a null or empty name.
  static const QnoObjectType* GetType(const char* name, int = 0, QnoVersionInfo = {});
  QnoObject* CreateObject(int = 0, QnoVersionInfo = {}) const;
  QnoVersionInfo GetVersion() const { return m_version; }
  const char* GetName() const { return m_name; }
  const QnoObjectType* GetBase() const { return m_base; }

  static QnoObjectType* static_pHead;

 private:
  QnoObjectType* m_prev = nullptr;
  QnoObjectType* m_next = nullptr;
  const QnoObjectType* m_base;
  char* m_name = nullptr;
  QnoCreateFunc m_create;
  QnoVersionInfo m_version;
  char* m_description = nullptr;
};

class QnoObject {
 public:
  virtual ~QnoObject() = default;
  virtual const QnoObjectType* GetQnoObjectType() const { return nullptr; }
  virtual int IsKindOf(const QnoObjectType* type) const;
  virtual int IsKindOf(const char* name) const;
  virtual int IsInstanceOf(const char* name) const;
  virtual const char* GetTypeName() const;

  // Never set: classes without a registration report a null type name.
  static const QnoObjectType* m_pClassType;
};

class CZorvaObject : public QnoObject {
 public:
  CZorvaObject() = default;
  // Owners delete through CZorvaObject*, so the destructor is virtual; the
  // clean-up of a class still belongs in its Destroy(), which owners call first.
  ~CZorvaObject() override = default;
  // A copy is in no list: links and list mark stay with the original.
  CZorvaObject(const CZorvaObject&) : QnoObject() {}
  CZorvaObject& operator=(const CZorvaObject&) { return *this; }

  CZorvaObject* GetNext() const { return next; }
  CZorvaObject* GetPrev() const { return prev; }
  void SetNext(CZorvaObject* n) { next = n; }
  void SetPrev(CZorvaObject* p) { prev = p; }
  // The links of the list the object is in (null when in none), so that a
  // list can tell its members without walking them.
  const void* GetListOwner() const { return owner; }
  void SetListOwner(const void* o) { owner = o; }

  virtual int Create() { return 0; }
  virtual int Create(CZorvaObject& /*source*/) { return 0; }
  virtual int Destroy() { return 0; }
  virtual int SerializeGameStore(FILE* /*file*/) { return 0; }
  virtual int SerializeGameLoad(FILE* /*file*/) { return 0; }
  // 0xFFFFFFFF means the object has no key.
  virtual uint32_t GetHashKey() const { return 0xFFFFFFFFu; }

 private:
  CZorvaObject* next = nullptr;
  CZorvaObject* prev = nullptr;
  const void* owner = nullptr;
};

// Creates an object by its registered type name; logs and returns null when
// no class of that name is registered.
QnoObject* QnoCreateObject(const char* name);

// Registration. In the class body:   ZOR_DECLARE_TYPE(CMyClass)
// In one source file:                ZOR_IMPLEMENT_TYPE(CMyClass, CBase)
// (CBase is QnoObject for a class whose registered base is the root.)
#define ZOR_DECLARE_TYPE(Class)                                                              \
 public:                                                                                     \
  static const QnoObjectType* m_pClassType;                                                  \
  static QnoObject* DynamicCreateFunc();                                                     \
  static QnoVersionInfo GetQnoVersion() { return m_pClassType->GetVersion(); }               \
  const QnoObjectType* GetQnoObjectType() const override { return m_pClassType; }            \
  int IsKindOf(const QnoObjectType* t) const override { return m_pClassType->IsKindOf(t); }  \
  int IsKindOf(const char* n) const override { return m_pClassType->IsKindOf(n); }           \
  int IsInstanceOf(const char* n) const override { return m_pClassType->IsKindOf(n); }       \
  const char* GetTypeName() const override { return m_pClassType->GetName(); }               \
                                                                                             \
 private:

#define ZOR_IMPLEMENT_TYPE(Class, Base)                                                      \
  QnoObjectType QnoInfo_##Class(#Class, Base::m_pClassType, &Class::DynamicCreateFunc,      \
                                QnoVersionInfo{1, 6, 1}, nullptr);                           \
  const QnoObjectType* Class::m_pClassType = &QnoInfo_##Class;                               \
  QnoObject* Class::DynamicCreateFunc() { return static_cast<CZorvaObject*>(new Class); }
