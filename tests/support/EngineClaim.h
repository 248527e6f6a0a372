#pragma once

// The engine (ControllerCenter) is a process-wide singleton that is never
// destroyed: once a test has started it and ended its threads, it cannot be
// started again. So a process runs one engine test. ctest gives each test a
// process of its own (gtest_discover_tests); a program run by hand with more
// than one engine test selected (or with --gtest_repeat) fails every engine
// test after the first, saying how to run them, rather than reporting them
// as passed or skipped.

#include <string>

namespace zortest {

// For the SetUp of an engine fixture: empty when the running test is the
// first engine test of this process (it has the engine now); otherwise the
// failure to report.
std::string claimEngine();

} // namespace zortest
