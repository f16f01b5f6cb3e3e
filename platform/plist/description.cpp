// The text form of property lists: OpenStep style, as the device prints
// collections, with dictionary keys sorted so the output is deterministic.

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/plist/plist.h"

namespace platform::plist {
namespace {

constexpr double kSecondsFrom1970To2001 = 978307200.0;

bool needsQuotes(std::string_view s) {
  if (s.empty()) return true;
  return !std::all_of(s.begin(), s.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '$' || c == '.' || c == '/' || c == ':' || c == '-';
  });
}

std::string quotedText(std::string_view s) {
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

std::string stringInCollection(std::string_view s) { return needsQuotes(s) ? quotedText(s) : std::string(s); }

// A real with 15 significant digits, a float with seven: what single
// precision carries, so the float nearest to 0.1 reads "0.1".
std::string realText(double d, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, d);
  return text;
}

// In 64-bit seconds, not time_t, which ends in 2038 on the device's processor.
// A date beyond the calendar shows as its first or last second, and one that
// is no number as the reference date.
std::string dateText(const Date& date) {
  using namespace std::chrono;
  constexpr sys_days kFirstDay = year_month_day{year::min(), January, day{1}};
  constexpr sys_days kLastDay = year_month_day{year::max(), December, day{31}};
  constexpr double kFirst = static_cast<double>(sys_seconds{kFirstDay}.time_since_epoch().count());
  constexpr double kLast = static_cast<double>((sys_seconds{kLastDay} + days{1}).time_since_epoch().count()) - 1;
  double since1970 = std::isnan(date.secondsSince2001) ? kSecondsFrom1970To2001
                                                       : std::floor(date.secondsSince2001 + kSecondsFrom1970To2001);
  sys_seconds time{seconds{static_cast<std::int64_t>(std::clamp(since1970, kFirst, kLast))}};
  sys_days day = floor<days>(time);
  year_month_day calendar{day};
  hh_mm_ss clock{time - day};
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d +0000", static_cast<int>(calendar.year()),
                static_cast<unsigned>(calendar.month()), static_cast<unsigned>(calendar.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
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
        } else if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, std::uint64_t>) {
          out += std::to_string(v);
        } else if constexpr (std::is_same_v<T, Uid>) {
          out += std::to_string(v.value);
        } else if constexpr (std::is_same_v<T, double>) {
          out += realText(v, 15);
        } else if constexpr (std::is_same_v<T, float>) {
          out += realText(v, 7);
        } else if constexpr (std::is_same_v<T, std::string>) {
          out += stringInCollection(v);
        } else if constexpr (std::is_same_v<T, Data>) {
          out += dataText(v);
        } else if constexpr (std::is_same_v<T, Date>) {
          out += quotedText(dateText(v));
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
          out += "{\n";
          for (const auto* entry : v.sortedEntries()) {
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
