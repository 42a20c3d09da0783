// How a page reaches its siblings: the main screen owns the menu and the status pages as members
// and the pages find it as their parent window. The shared page handlers of DlgBase ask the host
// for the page to show; null means the host has no such page (yet).
#pragma once

class DlgBase;

class PageHost {
public:
  enum Page { kMenu, kDesign1, kDesign3 };
  virtual ~PageHost() = default;
  virtual DlgBase* HostedPage(Page page) = 0;
};
