// The mode strip: the small strip of mode buttons (Heating, Cooling, Hotwater, Auto, QuickHeat) that
// the main screen opens over its lower part from its mode button. Only the modes the installation
// has enabled show, packed from the left 65 pixels apart. Choosing a mode writes the run mode,
// clears the hot-water boost and closes the strip; QuickHeat switches the boost on. Each change makes
// the main screen's mode button blink for three seconds. A member of the main screen, created
// hidden. User-interface thread only; it writes the system record's settings directly.
#pragma once

#include <cstdint>

#include "CBmpButton.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgMode : public DlgBase {
public:
  static constexpr UINT kTemplate = 109;
  enum : int { kHeating = 1004, kCooling = 1039, kHotWater = 1038, kAuto = 1021, kQuickHeat = 1040 };
  static constexpr int kButtons = 5;
  // Placement in the main screen: left, top and height; the width follows the enabled modes.
  static constexpr int kLeft = 61;
  static constexpr int kTop = 159;
  static constexpr int kHeight = 56;
  static constexpr int kPitch = 65;

  explicit DlgMode(CWnd* parent = nullptr);
  ~DlgMode() override;

  // show non-zero: lays the strip out for the enabled modes, shows it over the main screen and marks
  // it open (blink counter 7); 0: closes it (blink counter 0).
  void Popup(int show);
  // Mode 1 heating, 2 cooling, 3 hot water, 4 auto: the boost off, the mode set (the button blinks
  // when it changed), the strip closed.
  void OnMode(int mode);
  // The boost on (blinking when it was off); a second tap leaves it on. The strip closes.
  void OnQuickHeat();

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnMode1() { OnMode(1); }
  void OnMode2() { OnMode(2); }
  void OnMode3() { OnMode(3); }
  void OnMode4() { OnMode(4); }
  DECLARE_MESSAGE_MAP()

private:
  void SetBlink(int32_t count);
  // Moves a button to (x, 0) and shows it, or hides it.
  void Place(CSkinButton& button, bool shown, int x);

  CSkinButton m_buttons[kButtons];  // in the order of the enum: heating, cooling, hot water, auto, quick heat
};
