#include "DemoMode.h"

std::atomic<int> DemoMode{0};
