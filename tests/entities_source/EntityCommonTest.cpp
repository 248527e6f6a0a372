#include "EntityTestSupport.h"
#include "ModelEntityCommon.h"

#include <vector>

using namespace entitytest;
using namespace ModelEntity;

TEST(EntityCommon, PortGroupsInGroupOrder)
{
    const std::vector<int> expected[16] = {
        {0}, {1}, {2}, {3}, {0, 1}, {1, 2}, {2, 0}, {0, 1, 2},
        {4}, {5}, {6}, {7}, {4, 5}, {5, 6}, {6, 4}, {4, 5, 6},
    };
    for (int port = 0; port < 16; ++port) {
        int channels[3] = {-1, -1, -1};
        const int count = rampPortChannels(port, channels);
        EXPECT_EQ(std::vector<int>(channels, channels + count), expected[port]) << port;
    }
    int channels[3];
    EXPECT_EQ(rampPortChannels(-1, channels), 0);
    EXPECT_EQ(rampPortChannels(16, channels), 0);
}

TEST(EntityCommon, FoldingStaysInsideATurnAfterRounding)
{
    struct Case {
        double angle;
        double expected;
    } cases[] = {
        {0.0, 0.0}, {-0.0, 0.0}, {359.5, 359.5}, {360.0, 0.0}, {-90.0, 270.0},
        {-1e-20, 0.0}, {-1e-6, 0.0}, {1e18 + 90.0, std::fmod(1e18 + 90.0, 360.0)},
        {-1e308, 360.0 + std::fmod(-1e308, 360.0)},
    };
    for (const Case& c : cases) {
        const float folded = foldAngle360f(c.angle);
        EXPECT_GE(folded, 0.0f) << c.angle;
        EXPECT_LT(folded, 360.0f) << c.angle;
        EXPECT_NEAR(folded, c.expected, 1e-4) << c.angle;
    }
    EXPECT_EQ(foldAngle360f(kInf), 0.0f);
    EXPECT_EQ(foldAngle360f(nan()), 0.0f);
    EXPECT_TRUE(std::isnan(foldAngle360(nan())));
}
