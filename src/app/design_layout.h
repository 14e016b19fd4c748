#pragma once
// The window as designed, in pixels at 96 dots per inch: every control's rectangle once, and one
// row per push button. The window makes its controls from it; the start-up's plan, the sizing and
// the inspector start from it.
#include <string_view>

namespace app {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

enum class Button { Start, BPlayer, Select, Close, Info };

namespace design {

inline constexpr Rect kWindow{0, 0, 385, 425};
inline constexpr Rect kNotAviLine{4, 393, 373, 13};   // lblNotAvi
inline constexpr Rect kTitleShadow{4, 393, 373, 33};  // lblTitle2
inline constexpr Rect kTitle{6, 396, 373, 33};        // lblTitle
inline constexpr Rect kPosterBox{14, 36, 240, 350};   // imgPreview, and memoNFO over it
inline constexpr Rect kTitleStrip{0, 0, 385, 22};     // imgTitle
inline constexpr Rect kCloseButton{336, 0, 19, 22};   // imgButton1 and imgButton2
inline constexpr Rect kTitlePlate{152, 0, 66, 22};    // imgTitleLabel

// The push buttons share their left edge and size.
inline constexpr int kButtonLeft = 270, kButtonWidth = 97, kButtonHeight = 41;
struct ButtonRow {
  Button button;
  std::string_view name;
  const char* caption;  // "&" marks the accelerator letter
  const char* picture;  // in the compiled pictures
  int top;
};
// In creation order.
inline constexpr ButtonRow kButtons[] = {
    {Button::Close, "dxClose", "&Close", "close.png", 215},
    {Button::BPlayer, "dxBPlayer", "&BPlayer", "bplayer.png", 95},
    {Button::Start, "dxStart", "&VPlayer", "vplayer.png", 39},
    {Button::Select, "dxSelect", "Select &Player", "select.png", 151},
    {Button::Info, "dxInfo", "&Show Info ", "info.png", 343},
};
constexpr const ButtonRow& Row(Button button) {
  for (const ButtonRow& row : kButtons)
    if (row.button == button) return row;
  return kButtons[0];
}

}  // namespace design
}  // namespace app
