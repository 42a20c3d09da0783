// A parameter screen of the test's class on a bare full-screen host (the main screen's template
// without its class), placed over the host's controls as the main screen places its pages.
#pragma once

#include <gtest/gtest.h>

#include "DlgBase.h"
#include "DlgParam.h"
#include "PageFixture.h"

template <class Param>
class ParamHostFixture : public PageFixture {
protected:
  static constexpr UINT kHostTemplate = 102;

  void SetUp() override {
    PageFixture::SetUp();
    ASSERT_TRUE(host.Create(kHostTemplate));
    ASSERT_TRUE(param.Create(DlgParam::kTemplate, &host));
    param.SetWindowPos(nullptr, 0, 0, 480, 272, SWP_HIDEWINDOW);
    panel::PumpMessages();
  }

  DlgBase host{nullptr, kHostTemplate, nullptr};
  Param param{&host};
};
