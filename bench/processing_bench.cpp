// Per-ensemble processing of a 50-bin beam-coordinate ensemble with tilt: bin mapping,
// bottom-track reference and both end-of-profile cuts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "app_state.h"
#include "dataset/data_codes.h"
#include "decode/decode_ensemble.h"
#include "platform/text_format.h"
#include "processing/beam_geometry.h"
#include "processing/velocity_processing.h"
#include "synth_encoder.h"

namespace {

using namespace vantrel;

void Prepare(App_State& app) {
    Allocate_Data_Set(app.ds, false, 1, 1);
    Load_Default_Options(app.settings);
    app.settings.Vel_Reference = k_ref_bottom_track;
    app.settings.EoP_Options = {true, true, true, false, false};
    auto& dec = app.dec;
    dec.Num_Bins = 50;
    dec.Bin_Size = 1;
    dec.Bin1_Dist = 1.5;
    dec.Xmit_Length = 1.2;
    dec.Sys_Config = (1 << 8);  // 20 degrees, down-facing, concave
    dec.Coord_Transform = 0;
    dec.Have_BT = dec.Have_Echo = true;
    auto& ds = app.ds;
    ds.Sub_Count = 0;
    ds.Sub_Anc(k_anc_pitch, 0) = 312;
    ds.Sub_Anc(k_anc_roll, 0) = -245;
    ds.Sub_Anc(k_anc_heading, 0) = 17350;
    const Beam_Geometry g = Make_Beam_Geometry(dec.Sys_Config);
    const Rotation r = Instrument_To_Earth(Make_Attitude(312, -245, 17350));
    for (std::size_t i = 0; i < 50; ++i) {
        const double x = static_cast<double>(i);
        const auto b = Earth_To_Beams(g, r, 300 + 5.0 * x, -200 + 3.0 * x, 10);
        for (std::size_t k = 0; k < 4; ++k) {
            ds.Sub_Vel(k, i, 0) = static_cast<std::int16_t>(rnd(b[k]));
            ds.Sub_Echo(k, i, 0) = static_cast<std::uint8_t>(i < 8 ? 180 : 60);
        }
    }
    const auto bt = Earth_To_Beams(g, r, -900, 150, 0);
    for (std::size_t k = 0; k < 4; ++k) {
        ds.Sub_BT_Vel(k, 0) = static_cast<std::int16_t>(rnd(bt[k]));
        ds.Sub_BT_Range(k, 0) = 4200 + static_cast<std::int32_t>(k) * 30;
    }
}

void BM_Process_Slot(benchmark::State& state) {
    App_State app;
    Prepare(app);
    const std::int16_t* slot = app.ds.Sub_Vel.Slice(0);
    const std::vector<std::int16_t> vel(slot, slot + app.ds.Sub_Vel.Slice_Size());
    const std::vector<std::int16_t> bt(app.ds.Sub_BT_Vel.Slice(0), app.ds.Sub_BT_Vel.Slice(0) + 6);
    for (auto _ : state) {
        // Processing works in place, so every round starts from the decoded values.
        std::copy(vel.begin(), vel.begin() + 8 * 50, app.ds.Sub_Vel.Slice(0));
        std::copy(bt.begin(), bt.end(), app.ds.Sub_BT_Vel.Slice(0));
        Cut_End_Of_Profile(app);
        Transform_And_Reference(app);
        benchmark::DoNotOptimize(app.ds.Sub_Vel.Slice(0));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Process_Slot);

}  // namespace

namespace {

// Decode and process of synthetic ensembles already scanned into memory: 50 bins in beam
// coordinates, a rolling and pitching instrument (bin mapping moves cells), a sheared
// current, a bottom inside the profile, bottom-track reference and both cuts on.
void BM_Decode_Process_Ensembles(benchmark::State& state) {
    synth::Synth_Options scenario;
    scenario.ensembles = 1000;
    scenario.bins = 50;
    scenario.bottom_track = true;
    scenario.bottom_depth = 45;
    scenario.pitch_amplitude = 8;
    scenario.roll_amplitude = 6;
    scenario.heading_rate = 2.3;
    scenario.noise = 4;
    const synth::Synth_Options opt = synth::Resolve_Options(scenario);
    const synth::Synth_Layout layout = synth::Make_Synth_Layout(opt);
    std::vector<std::vector<std::uint8_t>> buffers;
    synth::Synth_Ensemble e;
    for (std::int64_t i = 0; i < opt.ensembles; ++i) {
        synth::Fill_Synth_Ensemble(opt, i, e);
        buffers.emplace_back(layout.Total());
        synth::Encode_Ensemble(opt, layout, e, buffers.back().data());
    }

    App_State app;
    Allocate_Data_Set(app.ds, false, 1, 1);
    Load_Default_Options(app.settings);
    app.settings.Vel_Reference = k_ref_bottom_track;
    app.settings.EoP_Options = {true, true, true, false, false};
    app.dec.Data_Structure = k_structure_bb;
    app.dec.Ens_Bytes = static_cast<std::int32_t>(layout.ens_bytes);
    std::size_t next = 0;
    for (auto _ : state) {
        // Swapped in and out, so the buffer list stays as scanned.
        app.dec.Ens_Buffer.swap(buffers[next]);
        app.ds.Sub_Count = 0;
        Process_Ensemble(app);
        app.dec.Ens_Buffer.swap(buffers[next]);
        next = next + 1 == buffers.size() ? 0 : next + 1;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Decode_Process_Ensembles);

}  // namespace
