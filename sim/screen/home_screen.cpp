#include "home_screen.h"

#include <algorithm>

#include "home_layout.h"

namespace screen {

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

// The list under key of a dictionary value; null for any other shape.
const Array* listUnder(const Value* dictionary, const char* key) {
  const Dictionary* entries = dictionary ? dictionary->get<Dictionary>() : nullptr;
  return entries ? entries->get<Array>(key) : nullptr;
}

// The first application identifiers of a folder, page by page.
std::vector<std::string> folderPreview(const Value& folder) {
  std::vector<std::string> identifiers;
  if (const Array* pages = listUnder(&folder, "iconLists"))
    for (const Value& page : *pages)
      if (const Array* entries = page.get<Array>())
        for (const Value& entry : *entries) {
          if (identifiers.size() == kFolderPreviewIcons) return identifiers;
          if (const std::string* identifier = entry.get<std::string>()) identifiers.push_back(*identifier);
        }
  return identifiers;
}

HomeIcon iconOf(const Value& entry) {
  HomeIcon icon;
  if (const std::string* identifier = entry.get<std::string>()) {
    icon.kind = HomeIcon::Kind::application;
    icon.identifier = *identifier;
  } else if (const Dictionary* folder = entry.get<Dictionary>()) {
    icon.kind = HomeIcon::Kind::folder;
    const std::string* text = folder->get<std::string>("displayName");
    icon.folderName = text ? *text : "Folder";
    icon.folderIcons = folderPreview(entry);
  }
  return icon;
}

// The icons of a list of entries, up to limit; none when it is not a list.
std::vector<HomeIcon> iconsOf(const Value* entries, std::size_t limit) {
  std::vector<HomeIcon> icons;
  const Array* list = entries ? entries->get<Array>() : nullptr;
  if (!list) return icons;
  for (std::size_t i = 0; i < list->size() && i < limit; ++i) icons.push_back(iconOf((*list)[i]));
  return icons;
}

}  // namespace

std::size_t homePageCount(const Value* iconState) {
  const Array* pages = listUnder(iconState, "iconLists");
  return std::max<std::size_t>(1, pages ? pages->size() : 0);
}

std::optional<HomePage> homePage(const Value* iconState, std::size_t page) {
  HomePage home;
  home.pageCount = homePageCount(iconState);
  if (page < 1 || page > home.pageCount) return std::nullopt;
  const Array* pages = listUnder(iconState, "iconLists");
  if (pages && page <= pages->size()) home.icons = iconsOf(&(*pages)[page - 1], layout::kIconsPerPage);
  const Dictionary* state = iconState ? iconState->get<Dictionary>() : nullptr;
  home.dock = iconsOf(state ? state->find("buttonBar") : nullptr, layout::kDockIcons);
  return home;
}

}  // namespace screen
