// Scenarios the factory cannot write are refused.
#include <gtest/gtest.h>

#include "synth_walk.h"

namespace vantrel::synth::test {
namespace {

TEST(Synth_Options, BadScenariosAreRefused) {
    const auto refused = [](auto change) {
        Synth_Options o;
        change(o);
        EXPECT_THROW(Resolve_Options(o), std::invalid_argument);
    };
    refused([](Synth_Options& o) { o.bins = 0; });
    refused([](Synth_Options& o) { o.bins = 256; });
    refused([](Synth_Options& o) { o.ensembles = 0; });
    refused([](Synth_Options& o) { o.beam_angle = 25; });
    refused([](Synth_Options& o) { o.start[1] = 13; });
    refused([](Synth_Options& o) { o.start[0] = 2023, o.start[1] = 2, o.start[2] = 29; });
    refused([](Synth_Options& o) { o.transducer_depth = 50; });
    refused([](Synth_Options& o) { o.first_number = 1 << 24; });
}

}  // namespace
}  // namespace vantrel::synth::test
