// Fixed states of the system record for pictures of the main screen: the values the unit simulator
// reports when it starts (ambient 7.0 ℃, compressor at 52 Hz, tank 48.0 ℃), a fixed clock and the
// fault table, so that a picture shows what the screen's own refresh makes of them and is the same
// on every run. The screenshot tool and the screenshot tests share them.
#pragma once

#include <cstdint>
#include <memory>

class DlgMain;

namespace scenes {

// The board's installed font file, which every picture is drawn with.
constexpr const char* kBoardFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

// The look of a dealer (fonts, backgrounds, brushes) made as the start-up makes it over the board's
// font file, with g_dealerId and the record's dealer id set; taken down at the end of its scope.
class DealerLook {
public:
  explicit DealerLook(int dealerId);
  ~DealerLook();
  DealerLook(const DealerLook&) = delete;
  DealerLook& operator=(const DealerLook&) = delete;
};

// The main screen over the record as it stands, shown after one refresh of its own; null when its
// template cannot be built.
std::unique_ptr<DlgMain> OpenMainScreen();

enum class Operation { kHeating, kCooling, kHotWater };

// The scenes' clock: 2026-12-08 09:05:00 local, in seconds.
constexpr int64_t kSceneNow = 1796720700;

// The record in that operation, system on, no fault; clock kSceneNow.
void SetOperation(Operation operation);
// Only what the control decides for that operation (the system on, the run and active modes, the
// demands, targets and heaters); the measured values and settings stay as they are.
void Operate(Operation operation);

const char* Name(Operation operation);

}  // namespace scenes
