#include "EngineClaim.h"

#include <gtest/gtest.h>

namespace zortest {

std::string claimEngine()
{
    static std::string first;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + '.' + test->name();
    if (first.empty()) {
        first = name;
        return {};
    }
    return "not run: " + first + " has used this process's engine, which cannot be started twice. "
           "Run engine tests through ctest (ctest -R '^" + name + "$'), or one per process (--gtest_filter=" + name
        + ").";
}

} // namespace zortest
