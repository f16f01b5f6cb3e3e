// The URL escapers on any bytes: what comes out holds only bytes that may
// stand in its part of a URL and percent escapes, escapes no byte that could
// have stayed, and decodes back to exactly what went in.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/url_escape.h"

namespace {

bool isLetterOrDigit(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Letters, digits and the unreserved and reserved characters of the URL
// syntax, less those the escaper must also escape.
bool mayStay(unsigned char c, std::string_view alsoEscaped) {
  bool inUrl = isLetterOrDigit(c) ||
               std::string_view("-_.!~*'();/?:@&=+$,").find(static_cast<char>(c)) != std::string_view::npos;
  return inUrl && alsoEscaped.find(static_cast<char>(c)) == std::string_view::npos;
}

int upperHexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void checkEscaper(std::string_view input, const std::string& escaped, std::string_view alsoEscaped) {
  std::string decoded;
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(escaped[i]);
    if (c != '%') {
      FUZZ_CHECK(mayStay(c, alsoEscaped), "a byte that must be escaped stood as it is");
      decoded += static_cast<char>(c);
      continue;
    }
    int high = i + 1 < escaped.size() ? upperHexDigit(escaped[i + 1]) : -1;
    int low = i + 2 < escaped.size() ? upperHexDigit(escaped[i + 2]) : -1;
    FUZZ_CHECK(high >= 0 && low >= 0, "a percent sign not followed by two upper-case hexadecimal digits");
    unsigned char byte = static_cast<unsigned char>(high * 16 + low);
    FUZZ_CHECK(!mayStay(byte, alsoEscaped), "a byte that may stand as it is was escaped");
    decoded += static_cast<char>(byte);
    i += 2;
  }
  FUZZ_CHECK(decoded == input, "decoding the escaped text does not give the input back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  checkEscaper(input, platform::escapeForUrl(input), "");
  checkEscaper(input, platform::escapeForQueryValue(input), "&+=;");
  checkEscaper(input, platform::escapeForUserInfo(input), ":@/?#[]%");
  return 0;
}
