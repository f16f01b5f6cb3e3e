#include "filter.h"

#include <algorithm>

namespace substrate {

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

// Reads the criterion named key; false when it is there but not a list of strings.
bool readCriterion(const Dictionary& filter, std::string_view key, std::optional<std::vector<std::string>>& out) {
  const Value* value = filter.find(key);
  if (value == nullptr) return true;
  const Array* list = value->get<Array>();
  if (list == nullptr) return false;
  std::vector<std::string> names;
  for (const Value& element : *list) {
    const std::string* name = element.get<std::string>();
    if (name == nullptr) return false;
    names.push_back(*name);
  }
  out = std::move(names);
  return true;
}

bool names(const std::optional<std::vector<std::string>>& list, const std::string& name) {
  return list && std::find(list->begin(), list->end(), name) != list->end();
}

}  // namespace

std::optional<Filter> parseFilter(const Value& plist) {
  const Dictionary* top = plist.get<Dictionary>();
  if (top == nullptr) return std::nullopt;
  Filter filter;
  const Value* criteria = top->find("Filter");
  if (criteria == nullptr) return filter;
  const Dictionary* dictionary = criteria->get<Dictionary>();
  if (dictionary == nullptr) return std::nullopt;
  if (!readCriterion(*dictionary, "Bundles", filter.bundles) ||
      !readCriterion(*dictionary, "Executables", filter.executables) ||
      !readCriterion(*dictionary, "Classes", filter.classes))
    return std::nullopt;
  return filter;
}

bool matches(const Filter& filter, const Process& process) {
  if (!filter.bundles && !filter.executables && !filter.classes) return true;
  if (names(filter.bundles, process.bundleIdentifier)) return true;
  if (names(filter.executables, process.executableName)) return true;
  if (filter.classes && process.hasClass)
    for (const std::string& name : *filter.classes)
      if (process.hasClass(name)) return true;
  return false;
}

}  // namespace substrate
