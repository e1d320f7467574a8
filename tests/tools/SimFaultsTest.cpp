// The line fault injector: each fault roughly at its rate, repeatable with a seed, never more
// faults than bytes, and no change at all when every rate is 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimLineFaults.h"

namespace vantrel::sim {
namespace {

TEST(SimLineFaults, RatesAreRoughlyHonoured) {
    struct Case {
        std::string name;
        FaultRates rates;
    } cases[] = {
        {"none", {0, 0, 0}},
        {"drop", {0.1, 0, 0}},
        {"corrupt", {0, 0.02, 0}},
        {"duplicate", {0, 0, 0.3}},
        {"all three", {0.05, 0.05, 0.05}},
        {"everything lost", {1.0, 0, 0}},
    };
    constexpr int kBytes = 100000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LineFaults faults(c.rates, 7);
        std::vector<uint8_t> out;
        int changed = 0;
        for (int i = 0; i < kBytes; ++i) {
            const std::size_t before = out.size();
            faults.Apply(static_cast<uint8_t>(i), out);
            for (std::size_t k = before; k < out.size(); ++k)
                if (out[k] != static_cast<uint8_t>(i)) ++changed;
        }
        const FaultCounts& n = faults.Counts();
        EXPECT_EQ(n.bytes, static_cast<uint64_t>(kBytes));
        EXPECT_LE(n.dropped + n.corrupted + n.duplicated, n.bytes);
        EXPECT_EQ(out.size(), kBytes - n.dropped + n.duplicated);
        EXPECT_EQ(static_cast<uint64_t>(changed), n.corrupted);
        auto near = [&](uint64_t count, double rate) {
            EXPECT_NEAR(static_cast<double>(count) / kBytes, rate, rate * 0.1 + 1e-9);
        };
        near(n.dropped, c.rates.drop);
        near(n.corrupted, c.rates.corrupt);
        near(n.duplicated, c.rates.duplicate);
    }
}

TEST(SimLineFaults, SameSeedSameLine) {
    const FaultRates rates{0.1, 0.1, 0.1};
    LineFaults a(rates, 99), b(rates, 99), other(rates, 100);
    std::vector<uint8_t> outA, outB, outOther;
    for (int i = 0; i < 1000; ++i) {
        a.Apply(static_cast<uint8_t>(i), outA);
        b.Apply(static_cast<uint8_t>(i), outB);
        other.Apply(static_cast<uint8_t>(i), outOther);
    }
    EXPECT_EQ(outA, outB);
    EXPECT_NE(outA, outOther);
}

} // namespace
} // namespace vantrel::sim
