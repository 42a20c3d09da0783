// Everything non-graphical that the terminal's programs call of their platform.
#pragma once

#include "CString.h"
#include "Clock.h"
#include "Debug.h"
#include "Devices.h"
#include "Files.h"
#include "Handles.h"
#include "Paths.h"
#include "Serial.h"
#include "Sync.h"
#include "Thread.h"
#include "WinTypes.h"
