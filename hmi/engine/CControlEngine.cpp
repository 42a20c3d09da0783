#include "CControlEngine.h"

namespace {

const DWORD kIdleSleepMs = 20;

}  // namespace

CControlEngine g_engine;

CControlEngine::CControlEngine() : CWorkThread(kIdleSleepMs) {}

CControlEngine::~CControlEngine() = default;
