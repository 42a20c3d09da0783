// The delivered dialog templates: each parses, fits the screen and holds the controls its dialog binds.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Gui.h"

namespace {

struct Case {
  UINT id;
  int width, height;  // dialog units
  std::vector<int> controls;
};

std::vector<int> Range(int first, int last) {
  std::vector<int> ids;
  for (int i = first; i <= last; ++i) ids.push_back(i);
  return ids;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<int> kPopupFrame = {1051, 1038, 1034, 1037};

std::vector<Case> Cases() {
  return {
      {102, 321, 182, Join(Join({1000, 1001, 1002, 1003, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1037}, Range(1040, 1056)),
                           Range(1012, 1025))},
      {103, 321, 182, Join({1003, 1087, 1088, 1011}, Range(1012, 1019))},
      {104, 321, 182, {1020, 1045, 1029, 1031, 1033, 1035, 1088, 1089, 1090}},
      {105, 321, 182, Join({1077, 1089, 1087, 1088}, Range(1006, 1014))},
      {106, 321, 182, Join({1094, 1091, 1092, 1093}, Range(1078, 1090))},
      {107, 321, 182, {1024, 1025, 1023, 1026, 1027, 1046, 1084, 1085, 1087, 1088, 1089}},
      {108, 321, 182, {1086, 1087, 1088, 1089}},
      {109, 206, 39, {1004, 1039, 1038, 1021, 1040}},
      {110, 250, 150, Join(kPopupFrame, {1047, 1048, 1049, 1050, 1087, 1088})},
      {111, 250, 150, Join(kPopupFrame, {1054, 1047, 1048, 1087, 1088})},
      {112, 250, 150, Join(kPopupFrame, {1052})},
      {113, 250, 150, Join(Join(Join(kPopupFrame, Range(1060, 1065)), Range(1070, 1075)), Range(1080, 1085))},
      {115, 250, 150, Join(Join(Join(kPopupFrame, Range(1060, 1062)), Range(1070, 1072)), Range(1080, 1082))},
      {116, 250, 150, Join(Join(kPopupFrame, {1060, 1061, 1070, 1071, 1080, 1081}), Range(1040, 1046))},
      {117, 250, 150, Join(kPopupFrame, {1079, 1080, 1081, 1082, 1061, 1062, 1083, 1084, 1086, 1087, 1088, 1097, 1098,
                                         1099, 1100, 1101, 1102, 1103, 1104})},
      {118, 250, 150, Join(kPopupFrame, {1052, 1085, 1084, 1086, 1087, 1088, 1097, 1098, 1099, 1100, 1101, 1102, 1103,
                                         1104})},
      {119, 250, 150, Join(kPopupFrame, {1023})},
  };
}

TEST(DialogTemplates, EachTemplate_ParsesFitsAndHoldsItsControls) {
  panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
  for (const Case& c : Cases()) {
    SCOPED_TRACE("template " + std::to_string(c.id));
    panel::DialogTemplate t;
    std::string error;
    ASSERT_TRUE(panel::LoadDialogTemplate(c.id, t, &error)) << error;
    EXPECT_EQ(t.cx, c.width);
    EXPECT_EQ(t.cy, c.height);
    const int right = panel::DialogUnitsToPixels(t.x + t.cx);
    const int bottom = panel::DialogUnitsToPixels(t.y + t.cy);
    EXPECT_LE(right, panel::kScreenWidth + 1);
    EXPECT_LE(bottom, panel::kScreenHeight + 1);
    std::set<int> ids;
    for (const panel::DialogItemTemplate& item : t.items) {
      SCOPED_TRACE("control " + std::to_string(item.id));
      EXPECT_TRUE(ids.insert(item.id).second) << "id used twice";
      EXPECT_GE(item.x, 0);
      EXPECT_GE(item.y, 0);
      EXPECT_LE(item.x + item.cx, t.cx);
      EXPECT_LE(item.y + item.cy, t.cy);
    }
    for (int id : c.controls) EXPECT_EQ(ids.count(id), 1u) << "missing control " << id;
  }
  panel::SetResourceDir("");
}

}  // namespace
