#include "platform/plist_node.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/plist_budget.h"
#include "platform/text.h"

namespace platform::plist {

Node parseTree(std::string_view bytes, std::string* why, bool* cutAtNul) {
  auto refuse = [&](std::string reason) {
    if (why) *why = std::move(reason);
    return Node(nullptr, plist_free);
  };
  if (bytes.empty() || bytes.size() > UINT32_MAX) return refuse("not a property list");
  if (auto problem = budgetProblem(bytes, cutAtNul)) return refuse(std::move(*problem));
  plist_t root = nullptr;  // libplist leaves it alone unless it starts as NULL
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  if (!root) return refuse("not a property list");
  return Node(root, plist_free);
}

namespace {

// plist_get_date_val gives the seconds in 32 bits, stuck at their limits for a
// date more than 68 years from 2001; the binary form of the date on its own
// carries the whole value: "bplist00", then the date object, 0x33 and the
// seconds as a big-endian double.
double wholeDate(plist_t node) {
  Node date(plist_copy(node), plist_free);
  char* bytes = nullptr;  // libplist leaves it alone unless it starts as NULL
  uint32_t length = 0;
  plist_to_bin(date.get(), &bytes, &length);
  std::uint64_t bits = 0;
  if (bytes && length >= 17 && static_cast<unsigned char>(bytes[8]) == 0x33)
    for (int i = 9; i < 17; ++i) bits = bits << 8 | static_cast<unsigned char>(bytes[i]);
  plist_to_bin_free(bytes);
  double seconds = 0;
  std::memcpy(&seconds, &bits, sizeof seconds);
  return seconds;
}

}  // namespace

std::optional<Value> fromNode(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return Value(static_cast<std::int64_t>(u));  // stored unsigned, meant signed
    }
    case PLIST_UID: {
      uint64_t u = 0;
      plist_get_uid_val(node, &u);
      return Value(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return Value(d);
    }
    case PLIST_STRING: {
      // The pointer and length, not plist_get_string_val: that one aborts on
      // a string holding a NUL, which binary lists may well carry.
      uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      return Value(s ? std::string(s, length) : std::string());
    }
    case PLIST_DATA: {
      uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return Value(bytes ? Data(bytes, bytes + length) : Data());
    }
    case PLIST_DATE: {
      int32_t sec = 0, usec = 0;
      plist_get_date_val(node, &sec, &usec);
      if (sec == INT32_MIN || sec == INT32_MAX) return Value(Date{wholeDate(node)});
      return Value(Date{sec + usec / 1e6});
    }
    case PLIST_ARRAY: {
      Array array;
      uint32_t count = plist_array_get_size(node);
      array.reserve(count);
      for (uint32_t i = 0; i < count; ++i) {
        auto element = fromNode(plist_array_get_item(node, i));
        if (!element) return std::nullopt;
        array.push_back(std::move(*element));
      }
      return Value(std::move(array));
    }
    case PLIST_DICT: {
      Dictionary dictionary;
      plist_dict_iter it = nullptr;
      plist_dict_new_iter(node, &it);
      std::optional<Value> result;
      for (;;) {
        // The budget check refused keys with a NUL, the one kind this call
        // would abort on.
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, it, &key, &item);
        std::unique_ptr<char, decltype(&free)> name(key, free);
        if (!item) {
          result = Value(std::move(dictionary));
          break;
        }
        auto element = fromNode(item);
        if (!element) break;
        dictionary.set(key ? key : "", std::move(*element));
      }
      free(it);
      return result;
    }
    default:
      return std::nullopt;
  }
}

plist_t toNode(const Value& value) {
  return std::visit(
      [](const auto& v) -> plist_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return plist_new_bool(v);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return plist_new_uint(static_cast<uint64_t>(v));
        } else if constexpr (std::is_same_v<T, double> || std::is_same_v<T, float>) {
          return plist_new_real(static_cast<double>(v));
        } else if constexpr (std::is_same_v<T, std::string>) {
          return plist_new_string(v.c_str());
        } else if constexpr (std::is_same_v<T, Data>) {
          return plist_new_data(reinterpret_cast<const char*>(v.data()), v.size());
        } else if constexpr (std::is_same_v<T, Date>) {
          double whole = std::floor(v.secondsSince2001);
          return plist_new_date(static_cast<int32_t>(whole),
                                static_cast<int32_t>(std::lround((v.secondsSince2001 - whole) * 1e6)));
        } else if constexpr (std::is_same_v<T, Array>) {
          plist_t array = plist_new_array();
          for (const auto& element : v) plist_array_append_item(array, toNode(element));
          return array;
        } else {
          static_assert(std::is_same_v<T, Dictionary>);
          plist_t dict = plist_new_dict();
          for (const auto& entry : v.entries()) plist_dict_set_item(dict, entry.key.c_str(), toNode(entry.value));
          return dict;
        }
      },
      value.storage());
}

std::optional<std::string> whyUnwritable(const Value& value) {
  struct Pending {
    const Value* value;
    std::size_t depth;  // of the arrays and dictionaries around it, itself included
  };
  const std::string control = "holds a control character that XML cannot carry";
  std::vector<Pending> pending{{&value, 1}};
  while (!pending.empty()) {
    auto [v, depth] = pending.back();
    pending.pop_back();
    if (auto string = v->get<std::string>(); string && holdsControlXmlCannotCarry(*string)) return control;
    // libplist takes a new date's seconds in 32 bits.
    if (auto date = v->get<Date>(); date && !(date->secondsSince2001 >= INT32_MIN && date->secondsSince2001 < INT32_MAX))
      return std::string("holds a date more than 68 years from 2001");
    if ((v->is<Array>() || v->is<Dictionary>()) && depth > kMaxDepth)
      return "nested deeper than " + std::to_string(kMaxDepth) + " levels";
    if (auto array = v->get<Array>())
      for (const Value& element : *array) pending.push_back({&element, depth + 1});
    if (auto dictionary = v->get<Dictionary>())
      for (const auto& entry : dictionary->entries()) {
        if (holdsControlXmlCannotCarry(entry.key)) return control;
        pending.push_back({&entry.value, depth + 1});
      }
  }
  return std::nullopt;
}

}  // namespace platform::plist
