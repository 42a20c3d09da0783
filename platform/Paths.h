// The emulated board's file system. Every CE path lives under one directory, $PANEL_ROOT:
// "\ResidentFlash\Quellora\Quellora.db" is $PANEL_ROOT/ResidentFlash/Quellora/Quellora.db.
// Board configuration is under $PANEL_ROOT/board/, run-time state under $PANEL_ROOT/run/.
#pragma once

#include <string>

#include "CString.h"

namespace panel {

// The root in force: the test override, else $PANEL_ROOT, else "./panel-root". No trailing slash.
std::string PanelRoot();
// Tests point the layer at a root of their own; an empty string returns to the environment's.
// Also exported as PANEL_ROOT so that processes started afterwards inherit it.
void SetPanelRoot(const std::string& root);

// A CE path as a Linux path inside the root: backslashes become slashes, a leading drive-less
// path is rooted, a relative one is taken from the root too. Empty (refused) for a path with a ".."
// component or an empty path.
std::string MapPath(const char16_t* cePath);
// A Linux path back to its CE form when it lies inside the root; empty otherwise.
CString UnmapPath(const std::string& linuxPath);

std::string BoardPath(const std::string& name);  // $PANEL_ROOT/board/<name>
std::string RunPath(const std::string& name);    // $PANEL_ROOT/run/<name>, the folder created on demand

// Small helpers for the layer's own text files (board configuration).
// False for a missing file and for anything that is not a regular file (a FIFO, a device, a folder).
bool ReadTextFile(const std::string& path, std::string& contents);
bool WriteTextFile(const std::string& path, const std::string& contents);  // creates parent folders
bool MakeDirs(const std::string& path);

}  // namespace panel
