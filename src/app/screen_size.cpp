#include "app/screen_size.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/numbers.h"

namespace app {
namespace {

// The posters of these sizes or smaller are only scaled into the design box.
constexpr int kSmallPosterHeight = 350;
constexpr int kNarrowPosterWidth = 250;

constexpr int kButtonGap = 15;    // between the box and the button column
constexpr int kStripRightGap = 8; // between the buttons' right edge and the strip's right end
constexpr int kTitleGap = 5;      // between the box and the title
constexpr int kTitleDepth = 30;   // from the title's top to the window's lower edge
constexpr int kLabelInset = 20;   // the title labels are this much narrower than the window

using platform::RoundHalfEven;

int ToInt(double x) {
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  return static_cast<int>(std::clamp(x, kMin, kMax));
}

// The poster box with its size rule: every size is limited to the maxima, and while auto-size is
// on any size given is replaced by the picture's natural size.
class PosterBox {
 public:
  PosterBox(const BoxState& state, int pictureWidth, int pictureHeight)
      : state_(state), pictureWidth_(pictureWidth), pictureHeight_(pictureHeight) {}

  const BoxState& State() const { return state_; }

  void SetWidth(int width) {
    state_.width = Limit(state_.autoSize ? pictureWidth_ : width, state_.maxWidth);
  }
  void SetHeight(int height) {
    state_.height = Limit(state_.autoSize ? pictureHeight_ : height, state_.maxHeight);
  }
  void SetAutoSize(bool on) {
    state_.autoSize = on;
    if (on) Refit();  // turning it off leaves the size as it is
  }
  void SetMaxWidth(int maximum) {
    state_.maxWidth = maximum;
    Refit();
  }
  void SetMaxHeight(int maximum) {
    state_.maxHeight = maximum;
    Refit();
  }
  void ScaleToFit() {
    state_.proportional = true;
    state_.stretched = true;
  }
  void SetStretched() { state_.stretched = true; }

 private:
  static int Limit(int size, int maximum) {
    size = std::max(size, 0);
    return maximum > 0 ? std::min(size, maximum) : size;
  }
  // Re-applies the rule to the current size.
  void Refit() {
    SetWidth(state_.width);
    SetHeight(state_.height);
  }

  BoxState state_;
  int pictureWidth_;
  int pictureHeight_;
};

struct TargetSize {
  double width, height;
};

// The size the box is asked for: the poster's proportions, as wide as allowed for a landscape
// poster, then brought under the maximum height.
TargetSize ComputeTarget(int pw, int ph, int maxWidth, int maxHeight) {
  const double r = pw >= ph ? static_cast<double>(ph) / pw : static_cast<double>(pw) / ph;
  double w = RoundHalfEven(pw * r);
  double h = RoundHalfEven(ph * r);
  if (pw >= ph) {
    h = (maxWidth * h) / w;
    w = maxWidth;
  }
  if (maxHeight < h) {
    w = (maxHeight * w) / h;
    h = maxHeight;
  }
  return {w, h};
}

}  // namespace

StripLayout LayoutTitleStrip(int windowWidth, int closeButtonWidth, int plateWidth) {
  StripLayout layout;
  layout.stripLeft = 1;
  layout.stripWidth = windowWidth - 2;
  layout.closeLeft = layout.stripWidth - (closeButtonWidth + 1);
  layout.plateLeft = (windowWidth - plateWidth) / 2;
  return layout;
}

std::pair<int, int> CentreOnScreen(int windowWidth, int windowHeight, int screenWidth,
                                   int screenHeight) {
  return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2 - 25};
}

std::pair<int, int> KeepOnWorkArea(int left, int top, const platform::WorkArea& work) {
  return {std::max(left, work.left), std::max(top, work.top)};
}

ScreenSizeResult ComputeScreenSize(const ScreenSizeInput& in) {
  const int pw = in.pictureWidth;
  const int ph = in.pictureHeight;
  PosterBox box(in.box, pw, ph);
  ScreenSizeResult out;

  if (ph <= kSmallPosterHeight) {
    box.ScaleToFit();
    out.box = box.State();
    return out;
  }
  box.SetHeight(ph);
  if (pw <= kNarrowPosterWidth) {
    box.ScaleToFit();
    out.box = box.State();
    return out;
  }
  box.SetWidth(pw);

  const int wr = in.work.right;
  const int wb = in.work.bottom;
  box.SetAutoSize(true);
  // The maxima keep the window inside the work area. A maximum of 0 would lift the limit, so a
  // work area too small for the buttons still gets a box of at least one pixel.
  box.SetMaxHeight(std::max(1, wb - 3 * in.startHeight));
  box.SetMaxWidth(std::max(1, wr - (in.startWidth + 40)));
  // Widened so that a hostile picture size cannot overflow.
  if (static_cast<long long>(pw) + 30 > wr) box.SetAutoSize(false);
  if (static_cast<long long>(ph) + 30 > wb) box.SetAutoSize(false);

  const TargetSize target = ComputeTarget(pw, ph, box.State().maxWidth, box.State().maxHeight);
  box.SetStretched();
  box.SetWidth(ToInt(RoundHalfEven(target.width)));
  box.SetHeight(ToInt(RoundHalfEven(target.height)));

  const BoxState& b = box.State();
  out.applied = true;
  out.box = b;
  const int boxLeft = design::kPosterBox.left, boxTop = design::kPosterBox.top;  // the box never moves
  out.memo = {boxLeft, boxTop, b.width, b.height};
  out.buttonsLeft = boxLeft + b.width + kButtonGap;
  out.infoTop = boxTop + b.height - in.infoHeight;
  out.titleTop = boxTop + b.height + kTitleGap;
  out.stripWidth = out.buttonsLeft + in.startWidth + kStripRightGap;
  out.windowWidth = out.stripWidth + 2;
  out.windowHeight = out.titleTop + kTitleDepth;
  const StripLayout strip = LayoutTitleStrip(out.windowWidth, in.closeButtonWidth, in.plateWidth);
  out.closeLeft = strip.closeLeft;
  out.plateLeft = strip.plateLeft;
  out.titleWidth = out.windowWidth - kLabelInset;
  out.title2Left = in.titleLeft + kShadowOffsetX;
  out.title2Top = out.titleTop + kShadowOffsetY;
  out.windowLeft = (wr - out.windowWidth) / 2;
  out.windowTop = wb / 2 - out.windowHeight / 2;
  return out;
}

}  // namespace app
