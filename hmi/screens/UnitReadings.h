// Whose readings the system record holds: until a unit has answered once since the start, the record
// holds only the zeros it started with for that unit, and the screens show those readings as "--",
// as they show a failed sensor. Read from the record word by word, user-interface thread.
#pragma once

#include "CSystemData.h"
#include "InputMapping.h"

inline bool IndoorAnswered(const CSystemData& record) { return (record.m_unitsAnswered & kIndoorAnswered) != 0; }
inline bool OutdoorAnswered(const CSystemData& record) { return (record.m_unitsAnswered & kOutdoorAnswered) != 0; }
