// Fixed states of the system record for pictures of the main screen: the values the unit simulator
// reports when it starts (ambient 7.0 ℃, compressor at 52 Hz, tank 48.0 ℃), a fixed clock and the
// fault table, so that a picture shows what the screen's own refresh makes of them and is the same
// on every run. The screenshot tool and the screenshot tests share them.
#pragma once

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

// The record in that operation, system on, no fault; clock 8.12.2026 09:05.
void SetOperation(Operation operation);
// The room sensor reports the failed-sensor marker.
void FailRoomSensor();
// One active fault (F01) in the engine's fault table, which shows in the ticker.
void RaiseFault();
// Clears the fault table again.
void ClearFaults();

const char* Name(Operation operation);

}  // namespace scenes
