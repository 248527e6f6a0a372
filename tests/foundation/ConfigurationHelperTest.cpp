#include <gtest/gtest.h>

#include "ConfigurationHelper.h"

#include <QSet>
#include <thread>
#include <vector>

TEST(ConfigurationHelper, OneInstanceAcrossRacingThreads)
{
    std::vector<ConfigurationHelper*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = ConfigurationHelper::getInstance(); });
    for (auto& t : threads)
        t.join();
    for (auto* p : seen)
        EXPECT_EQ(p, ConfigurationHelper::getInstance());
}
