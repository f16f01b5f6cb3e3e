#pragma once

// What one page of the home screen holds, read from an icon state of any
// shape: "iconLists" a list of pages of entries, "buttonBar" the dock's
// entries. A string entry is an application's identifier, a dictionary a
// folder (its "displayName" and the first entries of its own "iconLists");
// anything else in a list is an icon of unknown kind. Whatever does not have
// the expected shape counts as empty, so every state gives a picture.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/plist/plist.h"

namespace screen {

struct HomeIcon {
  enum class Kind { application, folder, unknown };
  Kind kind = Kind::unknown;
  std::string identifier;                // an application's
  std::string folderName;                // a folder's
  std::vector<std::string> folderIcons;  // a folder's first application identifiers
};

struct HomePage {
  std::vector<HomeIcon> icons;  // at most one page's worth
  std::vector<HomeIcon> dock;   // at most the dock's worth
  std::size_t pageCount = 1;    // never less than one: an empty home screen still has a page
};

// A folder shows this many of its icons.
inline constexpr std::size_t kFolderPreviewIcons = 9;

// The number of pages of the state (at least one).
std::size_t homePageCount(const platform::plist::Value* iconState);

// Page number page (from 1) of the state; nothing when there is no such page.
std::optional<HomePage> homePage(const platform::plist::Value* iconState, std::size_t page);

}  // namespace screen
