#include "uncaught_exceptions.h"

#import <Foundation/Foundation.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <typeinfo>

namespace springboard {

namespace {

[[noreturn]] void endWith(const char* name, const char* reason) {
  std::fflush(nullptr);
  std::fprintf(stderr, "springboard: uncaught exception %s: %s\n", name, reason);
  std::_Exit(kUncaughtExceptionStatus);
}

std::string demangled(const std::type_info* type) {
  if (type == nullptr) return "unknown";
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type->name(), nullptr, nullptr, &status),
                                                   &std::free);
  return status == 0 && name ? name.get() : type->name();
}

void endWithObjectiveCException(NSException* exception) {
  const char* name = [[exception name] UTF8String];
  const char* reason = [[exception reason] UTF8String];
  endWith(name ? name : "", reason ? reason : "");
}

// A C++ exception ends in std::terminate; its type names it, what() gives
// the reason when it is a std::exception.
[[noreturn]] void endWithCxxException() {
  std::string name = demangled(abi::__cxa_current_exception_type());
  std::string reason;
  if (std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& exception) {
      reason = exception.what();
    } catch (...) {}
  }
  endWith(name.c_str(), reason.c_str());
}

}  // namespace

void reportUncaughtExceptions() {
  NSSetUncaughtExceptionHandler(&endWithObjectiveCException);
  std::set_terminate(&endWithCxxException);
}

}  // namespace springboard
