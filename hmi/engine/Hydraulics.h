// The hydraulic side of the output composition, after the compressor rules: service flushing, the
// three-way valve, the pump standby, the circulation pumps and the demand indicators with their
// run-time counts.
#pragma once

struct CSystemData;

void HydraulicOutputs(CSystemData& record);
