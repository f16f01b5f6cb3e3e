// The text form of property lists: OpenStep style, as the device prints
// collections, with dictionary keys sorted so the output is deterministic.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/plist.h"

namespace platform::plist {
namespace {

constexpr double kSecondsFrom1970To2001 = 978307200.0;

bool needsQuotes(std::string_view s) {
  if (s.empty()) return true;
  return !std::all_of(s.begin(), s.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '$' || c == '.' || c == '/' || c == ':' || c == '-';
  });
}

std::string quoted(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (c < 0x20) {
          char octal[6];
          std::snprintf(octal, sizeof octal, "\\%03o", c);
          out += octal;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string stringInCollection(std::string_view s) { return needsQuotes(s) ? quoted(s) : std::string(s); }

std::string realText(double d) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", d);
  return text;
}

// Seven significant digits: what single precision carries, so the float
// nearest to 0.1 reads "0.1".
std::string floatText(float f) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", static_cast<double>(f));
  return text;
}

std::string dateText(const Date& date) {
  std::time_t t = static_cast<std::time_t>(std::floor(date.secondsSince2001 + kSecondsFrom1970To2001));
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &utc);
  return text;
}

std::string dataText(const Data& data) {
  std::string out = "<";
  char hex[3];
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i && i % 4 == 0) out += ' ';
    std::snprintf(hex, sizeof hex, "%02x", data[i]);
    out += hex;
  }
  return out + ">";
}

void describe(const Value& value, int depth, std::string& out) {
  std::string indent(4 * (depth + 1), ' ');
  std::string closing(4 * depth, ' ');
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          out += v ? "1" : "0";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          out += std::to_string(v);
        } else if constexpr (std::is_same_v<T, double>) {
          out += realText(v);
        } else if constexpr (std::is_same_v<T, float>) {
          out += floatText(v);
        } else if constexpr (std::is_same_v<T, std::string>) {
          out += stringInCollection(v);
        } else if constexpr (std::is_same_v<T, Data>) {
          out += dataText(v);
        } else if constexpr (std::is_same_v<T, Date>) {
          out += quoted(dateText(v));
        } else if constexpr (std::is_same_v<T, Array>) {
          out += "(\n";
          for (std::size_t i = 0; i < v.size(); ++i) {
            out += indent;
            describe(v[i], depth + 1, out);
            out += i + 1 < v.size() ? ",\n" : "\n";
          }
          out += closing + ")";
        } else {
          static_assert(std::is_same_v<T, Dictionary>);
          std::vector<const DictionaryEntry*> sorted;
          for (const auto& entry : v.entries()) sorted.push_back(&entry);
          std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->key < b->key; });
          out += "{\n";
          for (const auto* entry : sorted) {
            out += indent + stringInCollection(entry->key) + " = ";
            describe(entry->value, depth + 1, out);
            out += ";\n";
          }
          out += closing + "}";
        }
      },
      value.storage());
}

}  // namespace

std::string description(const Value& value) {
  // A string describes itself as its own text, a date as its plain form.
  if (auto s = value.get<std::string>()) return *s;
  if (auto d = value.get<Date>()) return dateText(*d);
  std::string out;
  describe(value, 0, out);
  return out;
}

}  // namespace platform::plist
