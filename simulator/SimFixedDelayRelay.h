#pragma once

// A fixed-delay relay: its contact closes a fixed time after a page of the
// ring becomes active, on the pages chosen, and opens when the next page
// becomes active or the output stops. It watches no quantity: it stands in
// for "a relay that trips after t" in tests of the test flow.
//
// A page becomes active when the FPGA enters it (a software switch, the
// run start, or the ring stepping on). Qualifying is decided at that
// instant: the page's ring index must be in pageMask; with armedPagesOnly
// the page's edge word must arm the contact's binary input (rising or
// falling); with a condition, the condition must hold for the outputs as
// they start. A page that ends before the delay holds its outputs, and the
// contact still closes at the delay.

#include "SimDutSupport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

struct FixedDelayRelaySettings
{
    double delaySeconds = 0.1;     // from the page start to the contact closing
    int binaryInput = 0;           // 0..3
    uint8_t pageMask = 0xFF;       // bit p: ring page p qualifies
    bool armedPagesOnly = false;   // only pages whose edge word arms binaryInput
    // Optional extra test on the outputs at the page start (e.g. "IA at least 2 A").
    std::function<bool(const PlayedOutputs&)> condition;
};

class FixedDelayRelay : public DutBase
{
public:
    explicit FixedDelayRelay(FixedDelayRelaySettings settings);

    std::string name() const override { return "fixed-delay relay"; }

    const FixedDelayRelaySettings& settings() const { return config; }
    bool closed() const;
    // Simulator times (ns) at which the contact closed / opened.
    std::vector<int64_t> closeTimes() const;
    std::vector<int64_t> openTimes() const;

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    FixedDelayRelaySettings config;
    Contact contact;
    bool havePage = false;
    int pageIndex = -1;
    int64_t pageStartNs = 0;
    int64_t closeAtNs = -1;   // pending close; -1 none
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry fixedDelayRelayModel();

}   // namespace zorsim
