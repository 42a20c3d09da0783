// Everything graphical the terminal's programs call of their platform: windows, messages, timers,
// dialogs, controls, drawing and fonts, and the class library over them.
#pragma once

#include "CButton.h"
#include "CCmdTarget.h"
#include "CDC.h"
#include "CDataExchange.h"
#include "CDialog.h"
#include "CEdit.h"
#include "CGdiObject.h"
#include "CListCtrl.h"
#include "CObject.h"
#include "CRect.h"
#include "CStatic.h"
#include "CWinApp.h"
#include "CWnd.h"
#include "Controls.h"
#include "DialogTemplate.h"
#include "Display.h"
#include "GuiTypes.h"
#include "Resources.h"
#include "WinGdi.h"
#include "WinUser.h"
