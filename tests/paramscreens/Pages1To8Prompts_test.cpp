// Pages 1 to 8 under scripted pop-ups: the rows those pages act on themselves reach their pop-ups
// through the prompts, store on OK only, and write only their own bits of the packed words.
#include <cstring>

#include "PageCases.h"

namespace {

using namespace paramtest;

TEST(Pages1To8Prompts, CancelledPopUps_ChangeNothing) {
  struct Case {
    int page, sub, row;
    std::string kind, title;
  };
  const Case cases[] = {
      {1, 2, 3, "value", "t51"},    {4, 1, 2, "week", "t94"},     {4, 1, 4, "week", "t96"},
      {5, 1, 3, "week", "t114"},    {5, 2, 1, "week", "t117"},    {6, 1, 2, "killtime", "t64"},
      {7, 1, 4, "date", "t73"},     {7, 1, 5, "date", "t74"},     {8, 1, 1, "keypad", "t30"},
      {8, 1, 3, "week", "t41"},     {8, 1, 5, "clock", ""},       {8, 2, 1, "choice", "t39"},
      {8, 2, 2, "message", "t32"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("page " + std::to_string(c.page) + " " + std::to_string(c.sub) + "/" + std::to_string(c.row));
    PageRig rig(0);
    rig.d.m_unlockLevel = 1;
    const CSystemData before = rig.d;
    EXPECT_EQ(rig.Tap(c.page, c.sub, c.row), 1);
    ASSERT_EQ(rig.ui.calls.size(), 1u);
    EXPECT_EQ(rig.ui.calls[0].kind, c.kind);
    EXPECT_EQ(rig.ui.calls[0].title, c.title);
    EXPECT_EQ(std::memcmp(&before, &rig.d, sizeof before), 0);
  }
}

TEST(Pages1To8Prompts, WeekTimer_StoresAllSevenMasksOnOk) {
  PageRig rig(0);
  rig.d.m_reheatTimerMask[3] = 0x0F;
  rig.ui.Fields({1, 2, 3, 4, 5, 6, 0xFFFFFF});
  rig.Tap(4, 1, 4);
  ASSERT_EQ(rig.ui.calls.size(), 1u);
  EXPECT_EQ(rig.ui.calls[0].given, (std::vector<int>{0, 0, 0, 0x0F, 0, 0, 0}));
  const int32_t want[7] = {1, 2, 3, 4, 5, 6, 0xFFFFFF};
  for (int d = 0; d < 7; ++d) EXPECT_EQ(rig.d.m_reheatTimerMask[d], want[d]) << d;
}

TEST(Pages1To8Prompts, DisinfectionTime_WritesItsBitsOnly) {
  PageRig rig(0);
  // Monday and Friday at 02:15, with bit 20 belonging to someone else.
  rig.d.m_sterilizeStart = (1u << 20) | (15u << 13) | (2u << 7) | 0x22u;
  rig.ui.Fields({6, 30, 1, 0, 0, 0, 0, 0, 0});  // 06:30, Sunday only
  rig.Tap(6, 1, 2);
  ASSERT_EQ(rig.ui.calls.size(), 1u);
  EXPECT_EQ(rig.ui.calls[0].given, (std::vector<int>{2, 15, 0, 1, 0, 0, 0, 1, 0}));
  EXPECT_EQ(rig.d.m_sterilizeStart, (1u << 20) | (30u << 13) | (6u << 7) | 0x01u);
}

TEST(Pages1To8Prompts, HolidayDate_RollsAnImpossibleDayOverAndKeepsTheTime) {
  PageRig rig(0);
  // 2015-02-01 with 10:20 in the hour and minute bits.
  rig.d.m_holidayEnd = (20u << 26) | (10u << 21) | (1u << 16) | (2u << 12) | 2015u;
  rig.ui.Fields({2024, 4, 31});
  rig.Tap(7, 1, 5);
  ASSERT_EQ(rig.ui.calls.size(), 1u);
  EXPECT_EQ(rig.ui.calls[0].given, (std::vector<int>{2015, 2, 1}));
  EXPECT_EQ(rig.d.m_holidayEnd, (20u << 26) | (10u << 21) | (1u << 16) | (5u << 12) | 2024u);
}

TEST(Pages1To8Prompts, ClockRefused_IsReported) {
  PageRig rig(0);
  rig.ui.ClockEnded(ParamPrompts::kClockRefused);
  rig.Tap(8, 1, 5);
  ASSERT_EQ(rig.ui.calls.size(), 2u);
  EXPECT_EQ(rig.ui.calls[1].kind, "message");
  EXPECT_EQ(rig.ui.calls[1].title, "t43");
  EXPECT_EQ(rig.ui.calls[1].message, "t130");
}

TEST(Pages1To8Prompts, DealerPasswordOnTheKeypad_TogglesTheInstallerLevel) {
  PageRig rig(0);
  rig.d.m_dealerPassword = 2468;
  rig.ui.Typed("2468");
  rig.Tap(8, 1, 1);
  EXPECT_EQ(rig.d.m_unlockLevel, 1);
  ASSERT_EQ(rig.ui.calls.size(), 2u);
  EXPECT_EQ(rig.ui.calls[0].prompt, "t414");
  EXPECT_EQ(rig.ui.calls[1].message, "t415");
  rig.ui.Typed("2468");
  rig.Tap(8, 1, 1);
  EXPECT_EQ(rig.d.m_unlockLevel, 0);
}

}  // namespace
