// The running program's resources: a folder of data files beside the executable.
//   bitmaps/<id>.png   bitmaps (LoadBitmap, CBitmap::LoadBitmap)
//   dialogs/<id>.dlg   dialog templates (DialogTemplate.h)
//   strings            string resources, one per line: <id> "text" (UTF-8; \" \\ \n escapes; # comments)
// The folder is the test override, else $PANEL_RESOURCES, else <folder of the executable>/<executable
// name without its extension>.res ("Quellora.exe" -> "Quellora.res").
#pragma once

#include <string>

#include "CString.h"
#include "WinTypes.h"

namespace panel {

std::string ResourceDir();
// Tests point the layer at a folder of their own; an empty string returns to the normal choice.
void SetResourceDir(const std::string& dir);
std::string ResourcePath(const std::string& relative);
// The text of a string resource; empty (and false) when there is none.
bool LoadResourceString(UINT id, CString& text);

}  // namespace panel
