#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Whole-string comparison that ignores the case of ASCII letters, as keywords
// and application names are compared.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The extension of a path's last component ("app" for "X/MyApp.APP" gives
// "APP"), empty when it has none; a leading dot does not start an extension.
std::string_view pathExtension(std::string_view path);
// The last component without its extension ("Foo.bar" for "X/Foo.bar.app").
std::string_view displayNameOf(std::string_view path);

// Reads a number the way atoi does (leading blanks, an optional sign, then
// digits up to the first other character; no digits is 0), but gives nothing
// when the digits leave the signed 32-bit range instead of a wrapped value.
std::optional<std::int32_t> int32LikeAtoi(const char* text);

// The length of UTF-8 text in UTF-16 units, as the device's strings count
// characters: one per character, two for one beyond the basic plane.
std::size_t utf16Length(std::string_view utf8);

// True when every byte is 7-bit ASCII.
bool isAscii(std::string_view text);
// True when the text holds a control character that XML cannot carry in any
// form (U+0000-U+0008, U+000B, U+000C, U+000E-U+001F), so a property-list file
// holding it would not be XML.
bool holdsControlXmlCannotCarry(std::string_view text);

// The text as UTF-16 units, two for a character beyond the basic plane. Each
// byte that does not belong to a well-formed character becomes U+FFFD when
// replaceInvalid is set; otherwise such a byte makes the answer nothing.
std::optional<std::u16string> utf16Units(std::string_view utf8, bool replaceInvalid);

// True for well-formed UTF-8: no overlong forms, surrogates or code points
// beyond U+10FFFF.
bool isValidUtf8(std::string_view text);
// The bytes as UTF-8, each ill-formed part (the longest start of a sequence
// that could have been valid, or one byte) replaced by U+FFFD.
std::string replacingInvalidUtf8(std::string_view text);
// The text as ls shows names on a terminal: each control character (U+0000-
// U+001F, U+007F-U+009F) and ill-formed part becomes "?", so that no name can
// drive the terminal or forge a line.
std::string printableOnTerminal(std::string_view text);

// A size for a message: "64 KiB", "8 MiB", or a number of bytes.
std::string sizeText(std::size_t bytes);

// How escapeControlBytes writes the bytes it escapes; every other byte stays.
enum class ControlEscapes {
  hex,    // each byte below 0x20 and DEL as \xHH: a message cannot drive the terminal
  field,  // \\, \t, \n, and other bytes below 0x20 as \xHH: a tab-separated field
};
std::string escapeControlBytes(std::string_view text, ControlEscapes escapes);

}  // namespace platform
