// The opening of the outdoor unit's expansion valve (m_outdoorCmd2002, 80..450 steps): a PID on the
// superheat every tenth cycle against a target taken from the discharge difference, a start-up sequence
// after long defrosts, a boost after a poor three-minute average and three protective classifiers.
// The outdoor unit's parameter cells give the thresholds; without the outdoor block they read 0.
#pragma once

struct CSystemData;
struct OutdoorBlock;

void ExpansionValveStep(CSystemData& record, const OutdoorBlock* outdoor);
// The discharge, coil and pressure classifiers; a protective level replaces the PID step.
void ProtectiveStep(CSystemData& record, const OutdoorBlock* outdoor, float& step);
