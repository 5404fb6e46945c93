// The details scan reads only the leader's ensemble number: it must agree with what the
// full decoders set, for every ensemble of damaged files and for ensembles with bytes
// overwritten at random (offset tables, block sizes and leaders included).
#include <gtest/gtest.h>

#include "app_state.h"
#include "decode/bb_decoder.h"
#include "decode/nb_decoder.h"
#include "synth_walk.h"

namespace vantrel::synth::test {
namespace {

constexpr std::int32_t k_unset = -7;

// Cur_Ens_Number after the full decoder, starting from k_unset.
std::int32_t Decoded_Number(App_State& app) {
    app.dec.Cur_Ens_Number = k_unset;
    app.ds.Sub_Count = 0;
    Decode_Ensemble(app);
    return app.dec.Cur_Ens_Number;
}

std::int32_t Leader_Number(const Decoder_State& dec) {
    return dec.Data_Structure == k_structure_nb ? NB_Leader_Number(dec, k_unset) : BB_Leader_Number(dec, k_unset);
}

void Check_File(const Synth_Options& in, std::int32_t structure) {
    const Synth_Options opt = Resolved(in);
    App_State app;
    Synth_Rng rng(opt.seed);
    int unset = 0;
    const std::int64_t found = Walk_Synth_File(opt, app, [&](std::int64_t n) {
        const std::vector<std::uint8_t> original = app.dec.Ens_Buffer;
        EXPECT_EQ(Leader_Number(app.dec), Decoded_Number(app)) << "ensemble " << n;
        for (int trial = 0; trial < 40; ++trial) {
            app.dec.Ens_Buffer = original;
            // Mostly the first 100 bytes, where the tables and leaders sit.
            for (int k = 0; k < 3; ++k) {
                const std::size_t span = rng.Next() % 4 == 0 ? original.size() : std::min<std::size_t>(100, original.size());
                app.dec.Ens_Buffer[rng.Next() % span] = static_cast<std::uint8_t>(rng.Next());
            }
            const std::int32_t leader = Leader_Number(app.dec);
            unset += leader == k_unset;
            EXPECT_EQ(leader, Decoded_Number(app)) << "ensemble " << n << " trial " << trial;
        }
        app.dec.Ens_Buffer = original;
    });
    EXPECT_EQ(app.dec.Data_Structure, structure);
    EXPECT_GT(found, 10);
    EXPECT_GT(unset, 0) << "some damage leaves no leader to read";
}

TEST(Leader_Number, BroadbandAndNarrowbandAgreeWithTheDecoder) {
    Check_File({.ensembles = 40, .bins = 6, .bottom_track = true, .navigation = true, .long_records_every = 9,
                .repeat_every = 5},
               k_structure_bb);
    Check_File({.ensembles = 40, .bins = 6, .structure = Synth_Structure::Narrowband, .long_records_every = 9,
                .repeat_every = 5},
               k_structure_nb);
}

}  // namespace
}  // namespace vantrel::synth::test
