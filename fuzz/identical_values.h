#pragma once

// Identity of property-list values for the harnesses, stricter than the kit's
// own equality, which takes 1 for 1.0 and -0 for 0 as collections do, and a
// text that shows every difference it sees.

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <variant>

#include "platform/plist/plist.h"

namespace fuzz {

enum class KeyOrder { kSame, kAny };

// Bit for bit, so that -0 is not 0; a NaN is identical to any NaN, since
// what it carries besides is no value.
template <class Real>
bool identicalReals(Real a, Real b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// The same values of the same kinds: reals and dates as above, arrays in
// order, and dictionaries with the same keys, in the same order unless any
// order is allowed.
inline bool identical(const platform::plist::Value& a, const platform::plist::Value& b,
                      KeyOrder order = KeyOrder::kSame) {
  using namespace platform::plist;
  if (a.storage().index() != b.storage().index()) return false;
  return std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        const T& y = *b.get<T>();
        if constexpr (std::is_floating_point_v<T>) {
          return identicalReals(x, y);
        } else if constexpr (std::is_same_v<T, Date>) {
          return identicalReals(x.secondsSince2001, y.secondsSince2001);
        } else if constexpr (std::is_same_v<T, Array>) {
          if (x.size() != y.size()) return false;
          for (std::size_t i = 0; i < x.size(); ++i)
            if (!identical(x[i], y[i], order)) return false;
          return true;
        } else if constexpr (std::is_same_v<T, Dictionary>) {
          const auto& xs = x.entries();
          const auto& ys = y.entries();
          if (xs.size() != ys.size()) return false;
          for (std::size_t i = 0; i < xs.size(); ++i) {
            const Value* other =
                order == KeyOrder::kSame ? (xs[i].key == ys[i].key ? &ys[i].value : nullptr) : y.find(xs[i].key);
            if (!other || !identical(xs[i].value, *other, order)) return false;
          }
          return true;
        } else {
          return x == y;
        }
      },
      a.storage());
}

// The value as identical compares it: each number's kind (true, 1, 1u, a real
// in hexadecimal, a float with f, a date, a keyed archive's uid), text and
// data byte for byte with every byte outside printable ASCII as \xHH.
inline std::string exactText(const platform::plist::Value& value) {
  using namespace platform::plist;
  auto bytes = [](const auto& text) {
    std::string out;
    char hex[5];
    for (unsigned char c : text) {
      bool plain = c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += plain ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return out;
  };
  auto real = [](double d) {
    char text[32];
    std::snprintf(text, sizeof text, "%a", d);
    return std::string(text);
  };
  return std::visit(
      [&](const auto& x) -> std::string {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) {
          return x ? "true" : "false";
        } else if constexpr (std::is_integral_v<T>) {
          return std::to_string(x) + (std::is_unsigned_v<T> ? "u" : "");
        } else if constexpr (std::is_same_v<T, float>) {
          return real(x) + "f";
        } else if constexpr (std::is_floating_point_v<T>) {
          return real(x);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return "\"" + bytes(x) + "\"";
        } else if constexpr (std::is_same_v<T, Data>) {
          return "<" + bytes(x) + ">";
        } else if constexpr (std::is_same_v<T, Date>) {
          return "date " + real(x.secondsSince2001);
        } else if constexpr (std::is_same_v<T, Uid>) {
          return "uid " + std::to_string(x.value);
        } else if constexpr (std::is_same_v<T, Array>) {
          std::string out = "(";
          for (const Value& element : x) out += (out.size() > 1 ? ", " : "") + exactText(element);
          return out + ")";
        } else {
          static_assert(std::is_same_v<T, Dictionary>);
          std::string out = "{";
          for (const auto& entry : x.entries())
            out += (out.size() > 1 ? "; \"" : "\"") + bytes(entry.key) + "\" = " + exactText(entry.value);
          return out + "}";
        }
      },
      value.storage());
}

}  // namespace fuzz
