// The main program's look (fonts, backgrounds, brushes) for a dealer id, made as the start-up makes
// it over the board's installed font file, and taken down again. For tests that link the program's
// application library (pictures of screens, pop-ups over the main screen).
#pragma once

#include <filesystem>

#include "AppGlobals.h"
#include "CHmiApp.h"
#include "Gui.h"

namespace testing_support {

// The face the board installs as the program's font; every picture is drawn with it.
inline const char* BoardFontFile() { return "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"; }

class ScopedAppLook {
public:
  explicit ScopedAppLook(int dealerId) {
    if (std::filesystem::exists(BoardFontFile())) AddFontResourceW(CString::FromUtf8(BoardFontFile()));
    g_dealerId = dealerId;
    MakeAppFonts();
    LoadDealerLook(dealerId);
    MakeAppBrushes();
  }
  ~ScopedAppLook() {
    FreeAppLook();
    g_dealerId = 0;
  }
  ScopedAppLook(const ScopedAppLook&) = delete;
  ScopedAppLook& operator=(const ScopedAppLook&) = delete;
};

}  // namespace testing_support
