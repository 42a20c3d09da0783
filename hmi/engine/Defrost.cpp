#include "Defrost.h"

#include "CSystemData.h"

// Places in the output composition; the supervision and the defrost rules are not built yet.
void FlowSupervision(CSystemData&) {}

void DefrostRules(CSystemData&) {}
