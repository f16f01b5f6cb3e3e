#pragma once

// Where things sit on the home screen, in points of the device's 320x480
// screen. The picture is drawn at kScale pixels per point.

#include <cstddef>

namespace screen::layout {

struct Rect {
  double x, y, width, height;
  double right() const { return x + width; }
  double bottom() const { return y + height; }
};

inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 480;
inline constexpr int kScale = 2;
inline constexpr int kPixelWidth = kScreenWidth * kScale;
inline constexpr int kPixelHeight = kScreenHeight * kScale;

inline constexpr double kStatusBarHeight = 20;
inline constexpr double kIconSize = 57;
inline constexpr std::size_t kColumns = 4;
inline constexpr std::size_t kRows = 4;
inline constexpr std::size_t kIconsPerPage = kColumns * kRows;
inline constexpr std::size_t kDockIcons = 4;
// The widest a name under an icon may be before it is cut short.
inline constexpr double kLabelWidth = 76;
inline constexpr double kLabelHeight = 14;

inline constexpr Rect kStatusBar{0, 0, kScreenWidth, kStatusBarHeight};
inline constexpr Rect kDock{0, 390, kScreenWidth, 90};
inline constexpr double kPageDotsCenterY = 379;

// The icon at index (row by row) of a page.
Rect pageIcon(std::size_t index);
// The icon at index of the dock.
Rect dockIcon(std::size_t index);
// The name under an icon.
Rect label(const Rect& icon);
// A badge of the given width, at the icon's top-right corner; it grows to the left.
Rect badge(const Rect& icon, double width);
inline constexpr double kBadgeHeight = 29;
inline constexpr double kBadgeMaxWidth = 76;
// The close box of edit mode, at the icon's top-left corner.
Rect closeBox(const Rect& icon);
// Edit mode turns icons alternately by this many degrees either way.
inline constexpr double kEditTiltDegrees = 2.5;

// Status-bar images are at most this high and this wide; they sit in the bar
// from the left (airplane mode) and, for the items, from the battery leftwards.
inline constexpr double kStatusImageMaxHeight = 20;
inline constexpr double kStatusImageMaxWidth = 40;
// Where the bar's left end begins: airplane mode's image, or the signal bars
// when it is off.
inline constexpr Rect kAirplaneImage{4, 0, kStatusImageMaxWidth, kStatusBarHeight};
// The items end where the battery begins.
inline constexpr double kStatusItemsRight = 286;
// The clock's place in the middle of the bar, the padlock's while locked.
inline constexpr Rect kStatusClock{100, 0, 120, kStatusBarHeight};

// The lock screen: a dark band under the status bar with the time and the
// date, and one at the foot with the slider, the knob at its left end.
inline constexpr Rect kLockClockBand{0, kStatusBarHeight, kScreenWidth, 96};
inline constexpr Rect kLockTime{0, kStatusBarHeight + 4, kScreenWidth, 64};
inline constexpr Rect kLockDate{0, kStatusBarHeight + 68, kScreenWidth, 22};
inline constexpr Rect kLockSliderBand{0, 384, kScreenWidth, 96};
inline constexpr Rect kLockSlider{21, 406, 278, 52};
inline constexpr Rect kLockKnob{25, 410, 62, 44};
inline constexpr Rect kLockSliderText{kLockKnob.x + kLockKnob.width, kLockSlider.y,
                                      kLockSlider.x + kLockSlider.width - kLockKnob.x - kLockKnob.width,
                                      kLockSlider.height};

// An application opening: its launch image fills the screen under the bar.
inline constexpr Rect kApplication{0, kStatusBarHeight, kScreenWidth, kScreenHeight - kStatusBarHeight};

}  // namespace screen::layout
