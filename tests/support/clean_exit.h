#pragma once

// Whether a program ended by itself with the expected status: a crash (a
// signal) is told apart from a controlled failure, and the message says which.

#include <gtest/gtest.h>

#include "tests/support/device.h"

namespace e2e {

inline testing::AssertionResult exitedWith(const Result& r, int status) {
  if (!r.exited) return testing::AssertionFailure() << "ended by signal " << r.signal;
  if (r.status != status) return testing::AssertionFailure() << "exited with " << r.status << ", not " << status;
  return testing::AssertionSuccess();
}

}  // namespace e2e
