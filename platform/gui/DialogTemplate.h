// Dialog templates: the layout of a dialog and its controls as a readable text file, one per dialog,
// in the program's resources as dialogs/<id>.dlg. Sizes and positions are dialog units, converted at
// 1.5 pixels per unit on both axes (321 x 182 units fill the 480 x 272 screen).
//
//   # a comment
//   size 321 182                       width and height (required)
//   position 0 0                       top-left corner (optional; 0 0)
//   style WS_POPUP | WS_VISIBLE        the dialog's styles (WS_EX_ names go to the extended style)
//   caption "Quellora"
//   font 9 "SimSun"                    points and face of the dialog's font
//   control BUTTON 1000 10 20 40 30 "Heating" BS_OWNERDRAW WS_TABSTOP WS_GROUP
//   control STATIC 1003 54 2 86 17 "2015.12.01 15:52" SS_CENTER SS_CENTERIMAGE
//   control LISTVIEW 1023 6 57 150 93 "" LVS_REPORT LVS_SINGLESEL WS_BORDER
//   control EDIT 1085 10 10 100 14 "" ES_PASSWORD NOT WS_VISIBLE
//
// A control line is: class, id, x, y, width, height, text, then styles. Classes: STATIC, BUTTON, EDIT,
// LISTVIEW (the report list view) or any class the program registered. Controls are WS_CHILD and
// WS_VISIBLE unless "NOT WS_VISIBLE" is given. Style words are names of WinUser.h/Controls.h or numbers
// (decimal or 0x...), separated by blanks or "|"; NOT removes the next one. Texts are UTF-8 in double
// quotes with \" \\ \n escapes. Controls are created in file order, which is their z-order and tab order.
//
// Every number is range-checked, as dialog files come with an update medium: places -32768 to 32767
// units, sizes 0 to 32767 (the dialog's own 1 to 32767), control ids -1 to 65535, font points 0 to 72,
// style numbers 0 to 0xFFFFFFFF. A file with a number outside these is refused whole, the message
// naming the line, the number and its range.
#pragma once

#include <string>
#include <vector>

#include "WinUser.h"

namespace panel {

struct DialogItemTemplate {
  std::u16string className;
  int id = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::u16string text;
  DWORD style = 0;
  DWORD exStyle = 0;
};

struct DialogTemplate {
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  DWORD style = 0;
  DWORD exStyle = 0;
  std::u16string caption;
  std::u16string fontFace;
  int fontPoints = 0;  // 0: the system font
  std::vector<DialogItemTemplate> items;
};

inline int DialogUnitsToPixels(int units) { return units * 3 / 2; }

// False with a message naming the line for a malformed file or a number out of range.
bool ParseDialogTemplate(const std::string& text, DialogTemplate& out, std::string* error);
// dialogs/<id>.dlg of the program's resources; false (ERROR_RESOURCE_NAME_NOT_FOUND) when missing,
// false (ERROR_RESOURCE_DATA_NOT_FOUND) with the file's path before the parser's message when refused.
bool LoadDialogTemplate(UINT id, DialogTemplate& out, std::string* error);
// The value of a style name, false for an unknown one.
bool StyleValue(const std::string& name, DWORD& value, bool& extended);

// Creates a dialog from a template: modeless (CreateDialogParam), or runs it modally.
HWND CreateDialogFromTemplate(const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxFromTemplate(const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param);

}  // namespace panel
