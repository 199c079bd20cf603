#pragma once

// Tests that run an outside program: a missing one fails the test with the
// Debian package that brings it, instead of failing in many confusing ways.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zanli::testing {

inline ::testing::AssertionResult HasTool(const std::string& program, const std::string& package) {
  const std::string probe = "command -v '" + program + "' >/dev/null 2>&1";
  if (std::system(probe.c_str()) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << program << " is missing: install the Debian package " << package << " (scripts/setup does)";
}

}  // namespace zanli::testing
