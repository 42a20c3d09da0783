// The class library's root: run-time class records (the class name and the base's record) for the
// classes that declare them with DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC, and IsKindOf over them.
#pragma once

#include <cstring>

struct CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  const CRuntimeClass* m_pBaseClass;
  // TRUE when this class is base or derives from it.
  int IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
      if (c == base) return 1;
    }
    return 0;
  }
};

class CObject {
public:
  virtual ~CObject() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
  int IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
  static const CRuntimeClass classCObject;
};

inline const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr};

#define RUNTIME_CLASS(className) (&className::class##className)

#define DECLARE_DYNAMIC(className)                                        \
public:                                                                   \
  static const CRuntimeClass class##className;                            \
  const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(className, baseClassName)                                                            \
  const CRuntimeClass className::class##className = {#className, static_cast<int>(sizeof(className)),          \
                                                     RUNTIME_CLASS(baseClassName)};                           \
  const CRuntimeClass* className::GetRuntimeClass() const { return &className::class##className; }
