#include "DialogTemplate.h"

#include <gtest/gtest.h>

#include "GuiFixture.h"

namespace {

TEST(DialogTemplate, Parse_ReadsTheDialogAndItsControls) {
  panel::DialogTemplate t;
  std::string error;
  ASSERT_TRUE(panel::ParseDialogTemplate(
      "# the main screen\n"
      "size 321 182\n"
      "position 2 3\n"
      "style WS_POPUP | WS_VISIBLE WS_EX_TOPMOST\n"
      "caption \"Quellora\"\n"
      "font 9 \"SimSun\"\n"
      "control BUTTON 1000 10 20 40 30 \"He said \\\"hi\\\"\" BS_OWNERDRAW WS_TABSTOP\n"
      "control STATIC -1 0 0 5 5 \"温度 ℃\" SS_CENTER NOT WS_VISIBLE 0x100\n"
      "control LISTVIEW 1023 6 57 150 93 \"\" LVS_REPORT\n",
      t, &error))
      << error;
  EXPECT_EQ(t.cx, 321);
  EXPECT_EQ(t.cy, 182);
  EXPECT_EQ(t.x, 2);
  EXPECT_EQ(t.style, WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(t.exStyle, WS_EX_TOPMOST);
  EXPECT_EQ(CString(t.caption), u"Quellora");
  EXPECT_EQ(t.fontPoints, 9);
  ASSERT_EQ(t.items.size(), 3u);
  EXPECT_EQ(CString(t.items[0].text), u"He said \"hi\"");
  EXPECT_EQ(t.items[0].style, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | WS_TABSTOP);
  EXPECT_EQ(t.items[1].id, -1);
  EXPECT_EQ(CString(t.items[1].text), u"温度 ℃");
  EXPECT_EQ(t.items[1].style, WS_CHILD | SS_CENTER | SS_NOTIFY);
  EXPECT_EQ(CString(t.items[2].className), u"SysListView32");
  EXPECT_EQ(panel::DialogUnitsToPixels(321), 481);
}

TEST(DialogTemplate, Parse_RefusesMalformedFilesNamingTheLine) {
  struct Case {
    const char* name;
    const char* text;
    const char* message;
  };
  Case cases[] = {
      {"no size", "caption \"x\"\n", "no size line"},
      {"unknown keyword", "size 1 1\nbutton 1\n", "line 2: unknown keyword button"},
      {"unknown style", "size 1 1\nstyle WS_POPUPP\n", "line 2: unknown style WS_POPUPP"},
      {"open quote", "size 1 1\ncaption \"x\n", "line 2: unterminated text"},
      {"short control", "size 1 1\ncontrol BUTTON 1 2 3\n", "line 2: control needs"},
      {"bad number", "size 1 x\n", "line 1: size needs two numbers"},
      {"zero size", "size 0 5\n", "line 1: size must be positive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel::DialogTemplate t;
    std::string error;
    EXPECT_FALSE(panel::ParseDialogTemplate(c.text, t, &error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(DialogTemplate, Load_ReadsFromTheResourceFolder) {
  testing_support::TempRoot root;
  panel::SetResourceDir(root / "res");
  root.Write("res/dialogs/104.dlg", "size 10 10\n");
  panel::DialogTemplate t;
  std::string error;
  EXPECT_TRUE(panel::LoadDialogTemplate(104, t, &error)) << error;
  EXPECT_FALSE(panel::LoadDialogTemplate(105, t, &error));
  EXPECT_NE(error.find("dialogs/105.dlg"), std::string::npos);
  panel::SetResourceDir("");
}

}  // namespace
