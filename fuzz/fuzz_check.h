#pragma once

// What the harnesses share: a check that fails the run, and a reader that
// takes an input apart byte by byte.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// A property that did not hold: the run ends with a signal, so libFuzzer keeps
// the input and the replay in the test suite fails.
[[noreturn]] inline void fail(const char* condition, const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: %s (%s does not hold)\n", file, line, what, condition);
  std::abort();
}

#define FUZZ_CHECK(condition, what) ((condition) ? void() : ::fuzz::fail(#condition, what, __FILE__, __LINE__))

// The input as a stream of choices; past its end every byte reads as zero, so
// a short input still decides everything.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  // A number below limit (limit > 0).
  std::size_t below(std::size_t limit) { return byte() % limit; }
  std::string bytes(std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count && !empty(); ++i) out += static_cast<char>(byte());
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The arguments an input stands for: its bytes split at each NUL, as no
// argument can hold one.
inline std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    std::size_t end = rest.find('\0');
    arguments.emplace_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return arguments;
}

}  // namespace fuzz
