#include "RatedTest.h"

// Its place in the cycle; the test sequence is not built yet.
void RatedTest(CSystemData&, OutdoorBlock*) {}
