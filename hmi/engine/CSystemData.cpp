#include "CSystemData.h"

#include <cstring>
#include <type_traits>

#include "CControlEngine.h"

static_assert(std::is_standard_layout<CSystemData>::value, "the record is plain memory");
// The atomic words keep the place and size of the plain words they stand for, and zero bytes are their 0.
static_assert(sizeof(std::atomic<int32_t>) == sizeof(int32_t) && alignof(std::atomic<int32_t>) == alignof(int32_t),
              "a shared word keeps its layout");
static_assert(std::atomic<int32_t>::is_always_lock_free, "a shared word stays a plain word");

CSystemData::CSystemData() {
  // One clear of the whole record; every starting value comes from the engine's start-up.
  std::memset(static_cast<void*>(this), 0, sizeof(*this));
}

CSystemData::CSystemData(const CSystemData& other) { *this = other; }

CSystemData& CSystemData::operator=(const CSystemData& other) {
  if (this != &other) std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(*this));
  return *this;
}

CSystemData* GetSystemData() { return &g_engine.m_systemData; }

CControlEngine* GetEngine() { return &g_engine; }

int UpdateIfChanged(float* slot, int value, int* count) {
  const float f = static_cast<float>(value);
  if (*slot == f) return 0;
  *slot = f;
  ++*count;
  return 1;
}
