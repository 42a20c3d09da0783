#include "CSystemData.h"

#include <gtest/gtest.h>

#include <cstring>

#include "CControlEngine.h"

TEST(CSystemData, Construction_AllBytesZero) {
  // Fill the storage first so that a field the constructor missed would show.
  alignas(CSystemData) unsigned char storage[sizeof(CSystemData)];
  std::memset(storage, 0xA5, sizeof(storage));
  CSystemData* record = new (storage) CSystemData();
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(record);
  for (size_t i = 0; i < sizeof(CSystemData); ++i) ASSERT_EQ(0, bytes[i]) << "byte " << i;
  record->~CSystemData();
}

TEST(CSystemData, GetSystemData_IsTheEngineRecord) {
  ASSERT_NE(nullptr, GetSystemData());
  EXPECT_EQ(&GetEngine()->m_systemData, GetSystemData());
}

TEST(CSystemData, UpdateIfChanged_StoresAndCountsOnlyChanges) {
  struct Case {
    const char* name;
    float slot;
    int value;
    int expectedResult;
    float expectedSlot;
  };
  const Case cases[] = {
      {"equal", 21.0f, 21, 0, 21.0f},
      {"different", 21.0f, 22, 1, 22.0f},
      {"fraction differs from the integer", 21.5f, 21, 1, 21.0f},
      {"negative", 0.0f, -5, 1, -5.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    float slot = c.slot;
    int count = 7;
    EXPECT_EQ(c.expectedResult, UpdateIfChanged(&slot, c.value, &count));
    EXPECT_EQ(c.expectedSlot, slot);
    EXPECT_EQ(7 + c.expectedResult, count);
  }
}
