#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "substrate.h"

// The test library's functions, and the processor's cases in assembly
// (function_hook_cases_<processor>.S).
extern "C" {
int hookTargetTriple(int value);
int hookTargetDoubleThenAdd(int value, int addend);
int hookCaseRelative(int value);
int hookCaseCalling(int value);
int hookCaseBranchBack(int value);
int hookCaseTooShort(int value);
#if defined(__arm__)
// 32-bit ARM: the cases above are in ARM state, these in Thumb state.
int hookCaseRelativeThumb(int value);
int hookCaseBranchBackThumb(int value);
int hookCaseTooShortThumb(int value);
#endif
}

namespace {

using Unary = int (*)(int);

// Each replacement calls what it saved, so a test sees both.
Unary tripleWas = nullptr;
int tripleThenNegate(int value) { return -tripleWas(value); }

int (*scaledWas)(int, int) = nullptr;
int scaledPlusThousand(int value, int factor) { return 1000 + scaledWas(value, factor); }

Unary relativeWas = nullptr;
int relativeTimesTen(int value) { return 10 * relativeWas(value); }

int answerZero(int) { return 0; }

// The first bytes of a function, to see that a refused hook wrote nothing.
std::vector<unsigned char> firstBytes(Unary function) {
  auto address = reinterpret_cast<std::uintptr_t>(function);
#if defined(__arm__)
  address &= ~std::uintptr_t{1};
#endif
  const auto* bytes = reinterpret_cast<const unsigned char*>(address);
  return {bytes, bytes + 4};
}

TEST(FunctionHook, ReachesCallersThroughAPointerTakenBeforeAndKeepsTheOriginal) {
  volatile Unary before = hookTargetTriple;
  ASSERT_EQ(before(2), 7);

  MSHookFunction(reinterpret_cast<void*>(hookTargetTriple), reinterpret_cast<void*>(tripleThenNegate),
                 reinterpret_cast<void**>(&tripleWas));

  EXPECT_EQ(before(2), -7);
  EXPECT_EQ(hookTargetTriple(5), -16);
  ASSERT_NE(tripleWas, nullptr);
  EXPECT_EQ(tripleWas(5), 16);
}

TEST(FunctionHook, ReachesDirectCallsFromTheFunctionsOwnLibrary) {
  void* scaled = MSFindSymbol(nullptr, "_hookTargetScaled");
  ASSERT_NE(scaled, nullptr);
  ASSERT_EQ(hookTargetDoubleThenAdd(4, 1), 9);

  MSHookFunction(scaled, reinterpret_cast<void*>(scaledPlusThousand), reinterpret_cast<void**>(&scaledWas));

  EXPECT_EQ(hookTargetDoubleThenAdd(4, 1), 1009);
  EXPECT_EQ(scaledWas(4, 3), 12);
}

// Each answers -1 for 0 and 42 otherwise, with program-counter-relative
// instructions (loads, branches, calls) among those the jump takes the
// place of.
struct Relative {
  const char* name;
  Unary function;
};

void PrintTo(const Relative& relative, std::ostream* out) { *out << relative.name; }

class Relocated : public testing::TestWithParam<Relative> {};

TEST_P(Relocated, MovesProgramCounterRelativeInstructions) {
  Unary function = GetParam().function;
  MSHookFunction(reinterpret_cast<void*>(function), reinterpret_cast<void*>(relativeTimesTen),
                 reinterpret_cast<void**>(&relativeWas));

  EXPECT_EQ(function(0), -10);
  EXPECT_EQ(function(3), 420);
}

const Relative kRelative[] = {
    {"Relative", hookCaseRelative},
    {"Calling", hookCaseCalling},
#if defined(__arm__)
    {"RelativeThumb", hookCaseRelativeThumb},
#endif
};

INSTANTIATE_TEST_SUITE_P(FunctionHook, Relocated, testing::ValuesIn(kRelative),
                         [](const testing::TestParamInfo<Relative>& info) { return info.param.name; });

TEST(FunctionHook, ASecondHookSavesTheFirstReplacement) {
  // Hooked by the first test of this file when it ran; hooked here otherwise.
  if (tripleWas == nullptr)
    MSHookFunction(reinterpret_cast<void*>(hookTargetTriple), reinterpret_cast<void*>(tripleThenNegate),
                   reinterpret_cast<void**>(&tripleWas));
  void* previous = nullptr;
  MSHookFunction(reinterpret_cast<void*>(hookTargetTriple), reinterpret_cast<void*>(answerZero), &previous);

  EXPECT_EQ(previous, reinterpret_cast<void*>(tripleThenNegate));
  EXPECT_EQ(hookTargetTriple(1), 0);
}

struct Unrelocatable {
  const char* name;
  Unary function;
  int argument, answer;
  const char* reason;
};

void PrintTo(const Unrelocatable& unrelocatable, std::ostream* out) { *out << unrelocatable.name; }

class Refusal : public testing::TestWithParam<Unrelocatable> {};

TEST_P(Refusal, WarnsAndWritesNothing) {
  const Unrelocatable& unrelocatable = GetParam();
  std::vector<unsigned char> before = firstBytes(unrelocatable.function);
  void* saved = reinterpret_cast<void*>(answerZero);

  testing::internal::CaptureStderr();
  MSHookFunction(reinterpret_cast<void*>(unrelocatable.function), reinterpret_cast<void*>(answerZero), &saved);
  std::string warning = testing::internal::GetCapturedStderr();

  EXPECT_EQ(warning.rfind("MS:Warning: cannot hook ", 0), 0u) << warning;
  EXPECT_NE(warning.find(unrelocatable.reason), std::string::npos) << warning;
  EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
  EXPECT_EQ(saved, reinterpret_cast<void*>(answerZero));
  EXPECT_EQ(firstBytes(unrelocatable.function), before);
  EXPECT_EQ(unrelocatable.function(unrelocatable.argument), unrelocatable.answer);
}

const Unrelocatable kUnrelocatable[] = {
    {"BranchBack", hookCaseBranchBack, 3, 3, "goes back into"},
    {"TooShort", hookCaseTooShort, 5, 5, "too short"},
#if defined(__arm__)
    {"BranchBackThumb", hookCaseBranchBackThumb, 3, 3, "goes back into"},
    {"TooShortThumb", hookCaseTooShortThumb, 5, 5, "too short"},
#endif
};

INSTANTIATE_TEST_SUITE_P(FunctionHook, Refusal, testing::ValuesIn(kUnrelocatable),
                         [](const testing::TestParamInfo<Unrelocatable>& info) { return info.param.name; });

}  // namespace
