#include "Paths.h"

#include <gtest/gtest.h>

#include "TempRoot.h"

namespace {

TEST(Paths, MapPath_KeepsEveryPathInsideTheRoot) {
  testing_support::TempRoot root;
  struct Case {
    const char* name;
    const char16_t* ce;
    std::string want;
  };
  const Case cases[] = {
      {"flash file", u"\\ResidentFlash\\Quellora\\Quellora.db", root / "ResidentFlash/Quellora/Quellora.db"},
      {"media with space", u"\\Storage Card\\ABackup", root / "Storage Card/ABackup"},
      {"doubled separators", u"\\\\Hard Disk\\\\x", root / "Hard Disk/x"},
      {"parent refused", u"\\ResidentFlash\\..\\..\\etc\\passwd", ""},
      {"empty refused", u"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(panel::MapPath(c.ce), c.want);
  }
  EXPECT_EQ(panel::UnmapPath(root / "ResidentFlash/Quellora/Quellora.exe"), u"\\ResidentFlash\\Quellora\\Quellora.exe");
  EXPECT_TRUE(panel::UnmapPath("/elsewhere").IsEmpty());
}

}  // namespace
