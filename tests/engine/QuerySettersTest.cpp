// The polling worker's setters, called from other threads while its loop runs.

#include "ControllerQuery.h"

#include <gtest/gtest.h>

TEST(QuerySetters, AFailedReportClearsTheInitialisedFlagOnlyWhenTheDriverIsNotInitialised)
{
    ControllerQuery query;
    bool driverInitialised = false;
    query.setDriverInitialisedSource([&] { return driverInitialised; });

    query.updateInitState(false);   // a first initialisation that failed
    EXPECT_FALSE(query.initFinishEnable.load());
    driverInitialised = true;
    query.updateInitState(true);
    EXPECT_TRUE(query.initFinishEnable.load());
    query.updateInitState(false);   // a later send that failed: the driver is still there
    EXPECT_TRUE(query.initFinishEnable.load());
    driverInitialised = false;      // released
    query.updateInitState(false);
    EXPECT_FALSE(query.initFinishEnable.load());
}

TEST(QuerySetters, ARunFollowsTheModuleItsStartCaptured)
{
    ControllerQuery query;
    ControllerTestor::TESTType captured = ControllerTestor::TEST_ENERGY;
    query.setRunTypeSource([&] { return captured; });
    const CommSOEEntity start;

    query.updateTestActive(ControllerTestor::TEST_RAMPING);
    EXPECT_EQ(query.runTestType(), ControllerTestor::TEST_RAMPING);
    query.updateRunState(start, true);
    captured = ControllerTestor::TEST_NONE;   // asked once, when the run starts
    query.updateTestActive(ControllerTestor::TEST_DISTANCE);
    query.updateTestActive(99);               // not a module: refused
    EXPECT_EQ(query.testType.load(), ControllerTestor::TEST_DISTANCE);
    EXPECT_EQ(query.runTestType(), ControllerTestor::TEST_ENERGY);
    query.updateRunState(start, false);
    EXPECT_EQ(query.runTestType(), ControllerTestor::TEST_DISTANCE);
}
