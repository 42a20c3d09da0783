// Flow-switch supervision (first in the output composition) and the defrost rules (at the end of the
// over-temperature stop). Engine thread only.
#pragma once

struct CSystemData;

void FlowSupervision(CSystemData& record);
void DefrostRules(CSystemData& record);
