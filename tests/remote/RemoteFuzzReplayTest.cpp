// The fuzz entry point over its seeds (one valid frame per command) and a
// few damaged copies, so it builds and runs with every test run.

#include "RemoteClient.h"

#include <gtest/gtest.h>

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(RemoteFuzzReplay, SeedsAndTheirDamagedCopiesRun)
{
    std::vector<QByteArray> inputs = pc::everyRequest();
    for (const QByteArray& seed : pc::everyRequest()) {
        inputs.push_back(seed.left(seed.size() - 1));
        QByteArray longer = seed;
        longer[8] = char(0xF4);
        longer[9] = longer[10] = longer[11] = char(0xFF);
        inputs.push_back(longer);
    }
    for (const QByteArray& input : inputs)
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size())), 0);
}
