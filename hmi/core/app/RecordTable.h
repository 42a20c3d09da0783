// The record table of the WiFi settings job: 50 records that the engine's WiFi exchange works on
// (the engine thread only). All bytes zero at start-up.
#pragma once

#include <cstdint>

struct RecordTableEntry {
  char tag[4];
  int32_t value1;
  int32_t value2;
  char text[256];
};

constexpr int kRecordTableSize = 50;
extern RecordTableEntry g_recordTable[kRecordTableSize];

// The per-record hook of the engine's record job: nothing to do yet. Always 1.
int RemoteEventStub(void* engine, RecordTableEntry* record);
