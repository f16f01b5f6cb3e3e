#include "filter.h"

#include <algorithm>
#include <charconv>

namespace substrate {

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

using NameList = std::optional<std::vector<std::string>>;

// Reads the list named key; false when it is there but not a list of strings.
bool readNames(const Dictionary& filter, const char* key, NameList& out, std::string* why) {
  const Value* value = filter.find(key);
  if (value == nullptr) return true;
  const Array* list = value->get<Array>();
  std::vector<std::string> names;
  for (std::size_t i = 0; list && i < list->size(); ++i) {
    const std::string* name = (*list)[i].get<std::string>();
    if (name == nullptr) list = nullptr;
    else names.push_back(*name);
  }
  if (list == nullptr) {
    if (why) *why = std::string(key) + " is not a list of strings";
    return false;
  }
  out = std::move(names);
  return true;
}

// A version as the filter gives it: a number, or a string that is one.
std::optional<double> versionOf(const Value& value) {
  if (const auto* integer = value.get<std::int64_t>()) return static_cast<double>(*integer);
  if (const auto* integer = value.get<std::uint64_t>()) return static_cast<double>(*integer);
  if (const auto* real = value.get<double>()) return *real;
  if (const auto* real = value.get<float>()) return *real;
  const std::string* text = value.get<std::string>();
  if (text == nullptr) return std::nullopt;
  double version = 0;
  auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), version);
  if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
  return version;
}

bool readVersions(const Dictionary& filter, std::optional<VersionRange>& out, std::string* why) {
  const Value* value = filter.find("CoreFoundationVersion");
  if (value == nullptr) return true;
  const Array* bounds = value->get<Array>();
  std::optional<double> min, max;
  if (bounds && (bounds->size() == 1 || bounds->size() == 2)) {
    min = versionOf((*bounds)[0]);
    if (bounds->size() == 2) max = versionOf((*bounds)[1]);
  }
  if (!min || (bounds->size() == 2 && !max)) {
    if (why) *why = "CoreFoundationVersion is not [min] or [min, max] of versions";
    return false;
  }
  out = VersionRange{*min, max};
  return true;
}

bool names(const std::vector<std::string>& list, const std::string& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

bool namesAny(const std::vector<std::string>& list, const std::vector<std::string>& candidates) {
  return std::any_of(candidates.begin(), candidates.end(), [&](const std::string& c) { return names(list, c); });
}

}  // namespace

std::optional<Filter> parseFilter(const Value& plist, std::string* why) {
  const Dictionary* top = plist.get<Dictionary>();
  if (top == nullptr) {
    if (why) *why = "not a dictionary";
    return std::nullopt;
  }
  Filter filter;
  const Value* criteria = top->find("Filter");
  if (criteria == nullptr) return filter;
  const Dictionary* dictionary = criteria->get<Dictionary>();
  if (dictionary == nullptr) {
    if (why) *why = "Filter is not a dictionary";
    return std::nullopt;
  }
  if (!readVersions(*dictionary, filter.coreFoundationVersion, why) ||
      !readNames(*dictionary, "Executables", filter.executables, why) ||
      !readNames(*dictionary, "Bundles", filter.bundles, why) ||
      !readNames(*dictionary, "Classes", filter.classes, why))
    return std::nullopt;
  const std::string* mode = dictionary->get<std::string>("Mode");
  filter.anyMode = mode && *mode == "Any";
  return filter;
}

std::optional<std::string> mismatch(const Filter& filter, const Process& process) {
  if (const auto& range = filter.coreFoundationVersion;
      range &&
      (process.coreFoundationVersion < range->min || (range->max && process.coreFoundationVersion >= *range->max)))
    return "CoreFoundationVersion";

  struct Criterion {
    const char* key;
    const NameList& list;
    std::function<bool(const std::vector<std::string>&)> takes;
  };
  const Criterion criteria[] = {
      {"Executables", filter.executables, [&](const auto& list) { return names(list, process.executable); }},
      {"Bundles", filter.bundles, [&](const auto& list) { return namesAny(list, process.bundles); }},
      {"Classes", filter.classes,
       [&](const auto& list) { return process.hasClass && std::any_of(list.begin(), list.end(), process.hasClass); }},
  };
  bool anyPresent = false;
  for (const Criterion& criterion : criteria) {
    if (!criterion.list) continue;
    anyPresent = true;
    bool taken = criterion.takes(*criterion.list);
    if (filter.anyMode && taken) return std::nullopt;
    if (!filter.anyMode && !taken) return criterion.key;
  }
  if (filter.anyMode && anyPresent) return "Mode Any";
  return std::nullopt;
}

}  // namespace substrate
