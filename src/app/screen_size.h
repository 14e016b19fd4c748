#pragma once
// The window's geometry as plain arithmetic: where the start-up places the window and its title
// strip, and how the window is rebuilt around a loaded poster. No widgets here; the window applies
// the numbers, so every layout can be checked without a display.
#include <utility>

#include "app/design_layout.h"
#include "platform/display.h"

namespace app {

// The poster box's size and drawing switches. A maximum of 0 means no limit.
struct BoxState {
  int width = design::kPosterBox.width, height = design::kPosterBox.height;
  int maxWidth = 600, maxHeight = 500;
  bool stretched = false, proportional = true, centred = true, autoSize = false;
};

struct ScreenSizeInput {
  int pictureWidth = 0, pictureHeight = 0;  // the loaded poster's natural size
  platform::WorkArea work;                  // WR, WB
  BoxState box;                             // the box as the start-up left it
  // Control sizes read as they stand (these are the design sizes).
  int startWidth = design::kButtonWidth, startHeight = design::kButtonHeight;  // dxStart
  int closeButtonWidth = design::kCloseButton.width;                           // imgButton1
  int plateWidth = design::kTitlePlate.width;                                  // imgTitleLabel
  int infoHeight = design::kButtonHeight;                                      // dxInfo
  int titleLeft = design::kTitle.left;                                         // lblTitle
};

// The title's white copy, its shadow, lies this far from the black title.
inline constexpr int kShadowOffsetX = -2, kShadowOffsetY = -1;

struct ScreenSizeResult {
  // False when the poster was too small to rebuild the window: only `box` changed, and the
  // window, buttons and labels keep the start-up's values (the fields below are then 0).
  bool applied = false;
  BoxState box;
  int buttonsLeft = 0;  // left of all five push buttons
  int infoTop = 0;      // dxInfo
  int titleTop = 0;     // lblTitle
  int stripWidth = 0;   // imgTitle (its left stays 1)
  int closeLeft = 0;    // imgButton1 and imgButton2
  int windowWidth = 0, windowHeight = 0;
  int titleWidth = 0;   // lblTitle, lblTitle2 and lblNotAvi
  int plateLeft = 0;    // imgTitleLabel
  int title2Left = 0, title2Top = 0;  // lblTitle2, the title's shadow (kShadowOffsetX, kShadowOffsetY)
  int windowLeft = 0, windowTop = 0;
  Rect memo;            // memoNFO lies exactly over the box
};

// Where fitting the poster box to the poster puts the box and everything around it; the window's
// SetScreenSize applies it.
ScreenSizeResult ComputeScreenSize(const ScreenSizeInput& input);

struct StripLayout {
  int stripLeft = 0, stripWidth = 0, closeLeft = 0, plateLeft = 0;
};

// The title strip for a window of the given width: strip inside the edge columns, close button
// two pixels inside the strip's right end, plate centred.
StripLayout LayoutTitleStrip(int windowWidth, int closeButtonWidth = design::kCloseButton.width,
                             int plateWidth = design::kTitlePlate.width);

// Left and top of a window centred on the whole screen, 25 pixels above the middle.
std::pair<int, int> CentreOnScreen(int windowWidth, int windowHeight, int screenWidth,
                                   int screenHeight);

// Where a window placed at `left`, `top` starts: never above or left of the work area, so that its
// title strip can always be reached (a screen scaled for high resolution can be smaller than the
// window); a window placed inside keeps its place, and the right and bottom are not looked at.
std::pair<int, int> KeepOnWorkArea(int left, int top, const platform::WorkArea& work);

}  // namespace app
