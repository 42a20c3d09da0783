// The rated-condition test: after the normal control and before the unit writes, so that its outputs
// override the control's.
#pragma once

struct CSystemData;
struct OutdoorBlock;

void RatedTest(CSystemData& record, OutdoorBlock* outdoor);
