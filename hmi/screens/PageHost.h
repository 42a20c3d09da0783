// How a page reaches its siblings: the main screen owns the menu, the status pages, the parameter
// screen and the mode strip as members and the pages find it as their parent window. The shared
// page handlers of DlgBase ask the host for the page to show; null means the host has no such page.
// The menu opens a parameter page through the host too, so the screens need not know the parameter
// screen's class.
#pragma once

#include <cstdint>

class DlgBase;

class PageHost {
public:
  enum Page { kMenu, kDesign1, kDesign3, kDesign2, kDesign4, kParam, kMode };
  virtual ~PageHost() = default;
  virtual DlgBase* HostedPage(Page page) = 0;
  // The mode button's blink counter: 6 after a mode change (three blinks), 7 while the mode strip
  // is open, 0 steady.
  virtual void SetBlinkCount(int32_t count) { (void)count; }
  // Opens parameter page 1..16 on the parameter screen; nothing when the host has none.
  virtual void OpenParamPage(int page) { (void)page; }
};
