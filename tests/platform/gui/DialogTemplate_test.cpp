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
      {"zero size", "size 0 5\n", "line 1: size 0 is out of range (1 to 32767)"},
      // Numbers that an int would have cut short, or that would overflow on their way to pixels.
      {"size past 32 bits", "size 4294967296 182\n", "line 1: size 4294967296 is out of range (1 to 32767)"},
      {"size past 64 bits", "size 321 99999999999999999999\n",
       "line 1: size 99999999999999999999 is out of range (1 to 32767)"},
      {"negative size", "size -5 5\n", "line 1: size -5 is out of range (1 to 32767)"},
      {"far position", "size 1 1\nposition -32769 0\n", "line 2: position -32769 is out of range (-32768 to 32767)"},
      {"huge font", "size 1 1\nfont 2147483648 \"SimSun\"\n",
       "line 2: font 2147483648 is out of range (0 to 72)"},
      {"control id", "size 1 1\ncontrol STATIC 65536 0 0 5 5 \"\"\n",
       "line 2: control id 65536 is out of range (-1 to 65535)"},
      {"units that overflow as pixels", "size 1 1\ncontrol STATIC 7 715827883 0 5 5 \"\"\n",
       "line 2: control 7: x 715827883 is out of range (-32768 to 32767)"},
      {"control height", "size 1 1\ncontrol STATIC 7 0 0 5 0x10000 \"\"\n",
       "line 2: control 7: height 0x10000 is out of range (0 to 32767)"},
      {"negative width", "size 1 1\ncontrol BUTTON 7 0 0 -1 5 \"\"\n",
       "line 2: control 7: width -1 is out of range (0 to 32767)"},
      {"style number", "size 1 1\nstyle WS_POPUP 0x100000000\n",
       "line 2: style 0x100000000 is out of range (0 to 4294967295)"},
      {"negative style", "size 1 1\ncontrol BUTTON 7 0 0 5 5 \"\" -1\n",
       "line 2: style -1 is out of range (0 to 4294967295)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel::DialogTemplate t;
    std::string error;
    EXPECT_FALSE(panel::ParseDialogTemplate(c.text, t, &error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(DialogTemplate, Parse_TakesEveryNumberAtItsLimits) {
  panel::DialogTemplate t;
  std::string error;
  ASSERT_TRUE(panel::ParseDialogTemplate("size 32767 1\n"
                                         "position -32768 32767\n"
                                         "font 72 \"SimSun\"\n"
                                         "control STATIC 65535 -32768 32767 32767 0 \"\" 0xFFFFFFFF\n",
                                         t, &error))
      << error;
  EXPECT_EQ(t.cx, 32767);
  EXPECT_EQ(t.x, -32768);
  EXPECT_EQ(t.y, 32767);
  EXPECT_EQ(t.fontPoints, 72);
  ASSERT_EQ(t.items.size(), 1u);
  EXPECT_EQ(t.items[0].id, 65535);
  EXPECT_EQ(t.items[0].x, -32768);
  EXPECT_EQ(t.items[0].cx, 32767);
  EXPECT_EQ(t.items[0].cy, 0);
  EXPECT_EQ(t.items[0].style, 0xFFFFFFFFu);
  EXPECT_EQ(panel::DialogUnitsToPixels(32767), 49150);
  EXPECT_EQ(panel::DialogUnitsToPixels(-32768), -49152);
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
  // A file from an update medium with a number out of range is refused, naming the file and the number.
  root.Write("res/dialogs/106.dlg", "size 321 182\ncontrol STATIC 1012 224 119 4294967383 10 \"\"\n");
  SetLastError(0);
  EXPECT_FALSE(panel::LoadDialogTemplate(106, t, &error));
  EXPECT_EQ(GetLastError(), 1812u);
  EXPECT_NE(error.find("dialogs/106.dlg refused: line 2: control 1012: width 4294967383 is out of range"),
            std::string::npos)
      << error;
  panel::SetResourceDir("");
}

}  // namespace
