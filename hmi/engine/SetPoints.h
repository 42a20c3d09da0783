// The water targets of heating and cooling under water control: weather curves over the filtered
// ambient, the room correction and the quick corrections, bounded per circuit, and the choice of the
// circuit in force. The cycle loads the plain set points first, so that a disabled curve leaves them.
#pragma once

#include <cstdint>

struct CSystemData;

// The piecewise-linear curve through n points (ambients ascending) at ambient t, its end segments
// extended. A segment of zero width takes the water value of its point.
float CurveValue(const int32_t* ambient, const int32_t* water, int n, float t);

void HeatingSetPoint(CSystemData& record);
void CoolingSetPoint(CSystemData& record);
