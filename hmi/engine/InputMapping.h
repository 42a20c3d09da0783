// The engine's inputs: once a second the converted values of the two unit controllers' data blocks
// are mapped into the record, with a failed water temperature taken from its partner, the control
// temperature smoothed over 60 seconds, the saturation temperatures looked up from the pressures,
// the raw fault words rebuilt and the 120-second link statistics kept. The blocks are filled by the
// bus poll thread without a lock; each value is read as one word. Engine thread only.
#pragma once

#include <cstdint>

struct CSystemData;
struct IndoorBlock;
struct OutdoorBlock;
struct RealRecord;

constexpr int kLinkWindow = 120;
// Bits of CSystemData::m_unitsAnswered: the unit has answered since start, so the record holds its values.
constexpr uint32_t kIndoorAnswered = 1u << 0;
constexpr uint32_t kOutdoorAnswered = 1u << 1;
// Below this percentage of answers in the window the unit's link fault is raised.
constexpr int32_t kLinkFaultPercent = 30;

// Each unit's mapping notes which of its driver's replies it took (FreshReplies), so that the outputs
// computed from it may be written after a gap.
// Maps the indoor unit (demo: its link counts as answered), then moves its link statistics. The control
// temperature's 60-second window is filled from the first sample, and refilled from each until the
// outdoor unit's first reply has filled the averages.
void MapIndoorUnit(CSystemData& record, IndoorBlock& block, bool demo);
// Maps the outdoor unit likewise; its first answer also fills the averaging windows.
void MapOutdoorUnit(CSystemData& record, OutdoorBlock& block, bool demo);
// One second of a unit's link statistics: the window moves on by one answer and the percentage
// of answered seconds is taken, truncated.
void UpdateLinkStatistics(int32_t (&history)[kLinkWindow], int32_t& quality, bool answered);
// The link fault bits (17 indoor, 18 outdoor) of the second fault word from the percentages.
void UpdateLinkFaults(CSystemData& record);
// True once each unit has answered since start or stands in its link fault (status bit 17 or 18). Until
// then the record holds zeros where the silent unit's values belong, which nothing may be decided on.
bool UnitsHeard(const CSystemData& record);
// The gear PID's hold count while the outdoor unit reports bit 3 of the first fault word.
void UpdateGearPidBlock(CSystemData& record);

// Fills columns 1 to 27 of a log row from the record; the time column stays.
void MakeSnapshot(const CSystemData& record, RealRecord& row);
