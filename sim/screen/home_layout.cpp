#include "home_layout.h"

namespace screen::layout {

namespace {

// Columns are 76 points apart, the grid centred on the screen.
constexpr double kFirstColumn = 17;
constexpr double kColumnPitch = 76;
constexpr double kFirstRow = kStatusBarHeight + 11;
constexpr double kRowPitch = 88;
constexpr double kDockIconTop = 397;

}  // namespace

Rect pageIcon(std::size_t index) {
  std::size_t row = index / kColumns, column = index % kColumns;
  return {kFirstColumn + kColumnPitch * double(column), kFirstRow + kRowPitch * double(row), kIconSize, kIconSize};
}

Rect dockIcon(std::size_t index) {
  return {kFirstColumn + kColumnPitch * double(index), kDockIconTop, kIconSize, kIconSize};
}

Rect label(const Rect& icon) {
  return {icon.x + icon.width / 2 - kLabelWidth / 2, icon.bottom() + 2, kLabelWidth, kLabelHeight};
}

Rect badge(const Rect& icon, double width) { return {icon.right() + 10 - width, icon.y - 10, width, kBadgeHeight}; }

Rect closeBox(const Rect& icon) { return {icon.x - 10, icon.y - 10, 28, 28}; }

}  // namespace screen::layout
