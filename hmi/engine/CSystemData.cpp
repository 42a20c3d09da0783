#include "CSystemData.h"

#include <cstring>
#include <type_traits>

#include "CControlEngine.h"

static_assert(std::is_standard_layout<CSystemData>::value, "the record is plain memory");
static_assert(std::is_trivially_copyable<CSystemData>::value, "the record is plain memory");

CSystemData::CSystemData() {
  // One clear of the whole record; every starting value comes from the engine's start-up.
  std::memset(static_cast<void*>(this), 0, sizeof(*this));
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
