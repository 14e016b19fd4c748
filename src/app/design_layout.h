#pragma once
// The window as designed, in pixels at 96 dots per inch: every control once, with its rectangle and
// name, and one row per push button. The window makes its controls from it; the start-up's plan,
// the sizing and the inspector start from it.
#include <cstddef>
#include <string_view>

namespace app {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

// A control of the window: its rectangle and the name it goes by.
struct Control : Rect {
  std::string_view name;
};

enum class Button { Start, BPlayer, Select, Close, Info };
inline constexpr std::size_t kButtonCount = 5;
constexpr std::size_t ButtonIndex(Button button) { return static_cast<std::size_t>(button); }

namespace design {

inline constexpr Rect kWindow{0, 0, 385, 425};
// In creation order: later ones draw over earlier ones.
inline constexpr Control kNotAviLine{{4, 393, 373, 13}, "lblNotAvi"};
inline constexpr Control kTitleShadow{{4, 393, 373, 33}, "lblTitle2"};
inline constexpr Control kTitle{{6, 396, 373, 33}, "lblTitle"};
inline constexpr Control kPosterBox{{14, 36, 240, 350}, "imgPreview"};
inline constexpr Control kTitleStrip{{0, 0, 385, 22}, "imgTitle"};
inline constexpr Control kCloseButton{{336, 0, 19, 22}, "closeButton"};  // its two looks, released and pressed
inline constexpr Control kTitlePlate{{152, 0, 66, 22}, "imgTitleLabel"};
inline constexpr Control kTextPanel{kPosterBox, "memoNFO"};  // made by the first Show Info, over the poster

// The push buttons share their left edge and size.
inline constexpr int kButtonLeft = 270, kButtonWidth = 97, kButtonHeight = 41;
struct ButtonRow {
  Button button;
  std::string_view name;
  std::string_view caption;  // "&" marks the accelerator letter
  std::string_view picture;  // in the compiled pictures
  int top;
  constexpr Control control() const { return {{kButtonLeft, top, kButtonWidth, kButtonHeight}, name}; }
};
// In creation order, after the controls above.
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
