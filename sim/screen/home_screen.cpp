#include "home_screen.h"

#include <algorithm>

#include "home_layout.h"

namespace screen {

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

// The first application identifiers of a folder, page by page.
std::vector<std::string> folderPreview(const Dictionary& folder) {
  std::vector<std::string> identifiers;
  if (const Array* pages = folder.get<Array>("iconLists"))
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
    icon.folderIcons = folderPreview(*folder);
  }
  return icon;
}

// The icons of a list of entries, up to limit; none when there is no list.
std::vector<HomeIcon> iconsOf(const Array* list, std::size_t limit) {
  std::vector<HomeIcon> icons;
  for (std::size_t i = 0; list && i < list->size() && i < limit; ++i) icons.push_back(iconOf((*list)[i]));
  return icons;
}

// The pages of a state whose top level is a dictionary.
const Array* pagesOf(const Value* iconState) {
  const Dictionary* state = iconState ? iconState->get<Dictionary>() : nullptr;
  return state ? state->get<Array>("iconLists") : nullptr;
}

}  // namespace

std::size_t homePageCount(const Value* iconState) {
  const Array* pages = pagesOf(iconState);
  return std::max<std::size_t>(1, pages ? pages->size() : 0);
}

std::optional<HomePage> homePage(const Value* iconState, std::size_t page) {
  HomePage home;
  home.pageCount = homePageCount(iconState);
  if (page < 1 || page > home.pageCount) return std::nullopt;
  const Array* pages = pagesOf(iconState);
  if (pages && page <= pages->size()) home.icons = iconsOf((*pages)[page - 1].get<Array>(), layout::kIconsPerPage);
  const Dictionary* state = iconState ? iconState->get<Dictionary>() : nullptr;
  home.dock = iconsOf(state ? state->get<Array>("buttonBar") : nullptr, layout::kDockIcons);
  return home;
}

}  // namespace screen
