#include "tools/homeprefs/command_line.h"

#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/text.h"

namespace homeprefs {

std::optional<std::string> textProblem(const char* what, const char* text) {
  if (!platform::isAscii(text)) return std::string(what) + " is not 7-bit ASCII text: " + text;
  if (platform::holdsControlXmlCannotCarry(text))
    return std::string(what) + " holds a control character XML cannot carry: " +
           platform::escapeControlBytes(text, platform::ControlEscapes::hex);
  return std::nullopt;
}

namespace {

using platform::plist::Array;
using platform::plist::Value;

void setValue(Request& request, Value value) {
  request.action = Action::set;
  request.value = std::move(value);
  request.valueProblem.reset();
}

// A value that cannot be stored still decides the action, so that a later -r
// or value option can override it and an earlier one cannot slip through.
void setProblem(Request& request, std::string problem) {
  request.action = Action::set;
  request.value.reset();
  request.valueProblem = std::move(problem);
}

void setInteger(Request& request, const char* text) {
  if (auto number = platform::int32LikeAtoi(text)) setValue(request, Value(std::int64_t{*number}));
  else setProblem(request, "integer value out of range (-2147483648 to 2147483647): " + std::string(text));
}

void setFloat(Request& request, const char* text) {
  double wide = std::atof(text);
  // Narrowing a double beyond the float range is undefined, and an infinity
  // or NaN in the preferences would only confuse SpringBoard.
  if (!std::isfinite(wide) || std::fabs(wide) > FLT_MAX)
    setProblem(request, "float value out of range (not a finite single-precision number): " + std::string(text));
  else setValue(request, Value(static_cast<float>(wide)));
}

// The -s and -a texts become strings only when textProblem finds nothing.
void setText(Request& request, const char* text, bool asArray) {
  if (auto problem = textProblem("value", text)) {
    setProblem(request, std::move(*problem));
    return;
  }
  Value string{std::string(text)};
  setValue(request, asArray ? Value(Array{std::move(string)}) : std::move(string));
}

}  // namespace

CommandLine parseCommandLine(int argc, char* argv[]) {
  Request request;
  opterr = 0;
  for (int option; (option = getopt(argc, argv, "+a:i:f:s:10rl")) != -1;) {
    switch (option) {
      case 'i': setInteger(request, optarg); break;
      case 'f': setFloat(request, optarg); break;
      case 's': setText(request, optarg, false); break;
      case 'a': setText(request, optarg, true); break;
      case '1': setValue(request, Value(true)); break;
      case '0': setValue(request, Value(false)); break;
      case 'r': request.action = Action::remove; break;
      case 'l': return ListRequest{};
      default: return BadOption{optopt};
    }
  }
  if (optind >= argc) return MissingKey{};
  request.key = argv[optind];
  return request;
}

void reportBadOption(int letter) {
  if (letter >= 32 && letter <= 126) std::fprintf(stderr, "Unknown option `-%c'.\n", letter);
  else
    // getopt hands a byte of a signed char back sign-extended; the code shown
    // is the byte's own.
    std::fprintf(stderr, "Unknown option character `\\x%x'.\n",
                 static_cast<unsigned>(static_cast<unsigned char>(letter)));
}

}  // namespace homeprefs
