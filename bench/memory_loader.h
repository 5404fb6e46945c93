#pragma once
// A Sub Set loader over synthetic ensembles encoded in memory: each load decodes and
// processes the asked range into slots 0.. as the file loader does after its jump to
// the first ensemble's position, then runs the Sub Set statistics.

#include <cstdint>
#include <vector>

#include "app_state.h"
#include "export/export_selection.h"
#include "processing/velocity_processing.h"
#include "synth_encoder.h"

namespace vantrel::test {

struct Memory_Ensembles {
    synth::Synth_Options opt;
    std::vector<std::uint8_t> bytes;
    std::size_t ens_total = 0;  // bytes of one ensemble with its checksum

    explicit Memory_Ensembles(const synth::Synth_Options& options) : opt(synth::Resolve_Options(options)) {
        const synth::Synth_Layout layout = synth::Make_Synth_Layout(opt);
        ens_total = layout.Total();
        bytes.resize(ens_total * static_cast<std::size_t>(opt.ensembles));
        synth::Synth_Ensemble e;
        for (std::int64_t i = 0; i < opt.ensembles; ++i) {
            synth::Fill_Synth_Ensemble(opt, i, e);
            synth::Encode_Ensemble(opt, layout, e, bytes.data() + ens_total * static_cast<std::size_t>(i));
        }
    }

    // Prepares app as a file open would have left it: arrays, structure, ensemble range.
    void Open(App_State& app) const {
        Allocate_Data_Set(app.ds, true, app.settings.Max_Sub_Ens, app.settings.Max_Whole_Ens);
        app.dec.Data_Structure = k_structure_bb;
        app.ds.File_First_Ens = static_cast<std::int32_t>(opt.first_number);
        app.ds.File_Last_Ens = static_cast<std::int32_t>(opt.first_number + opt.ensembles - 1);
        app.ds.Whole_First_Ens = app.ds.File_First_Ens;
        app.ds.File_Loaded = true;
    }

    Sub_Set_Loader Loader(App_State& app) const {
        return [this, &app](std::int32_t f, std::int32_t l) -> Outcome {
            Data_Set& ds = app.ds;
            if (l > ds.File_Last_Ens) l = ds.File_Last_Ens;
            ds.Sub_Count = 0;
            for (std::int64_t e = f; e <= l && ds.Sub_Count <= app.settings.Max_Sub_Ens; ++e) {
                const std::int64_t index = e - opt.first_number;
                if (index < 0 || index >= opt.ensembles) continue;
                const std::uint8_t* p = bytes.data() + ens_total * static_cast<std::size_t>(index);
                app.dec.Ens_Buffer.assign(p, p + ens_total);
                app.dec.Ens_Bytes = static_cast<std::int32_t>(ens_total - 2);
                if (!Process_Ensemble(app)) continue;
                if (ds.Sub_Count == 0) ds.First_Ens = app.dec.Cur_Ens_Number;
                ++ds.Sub_Count;
            }
            if (ds.Sub_Count == 0) return Failure(Outcome_Kind::k_nothing_loaded);
            ds.Last_Ens = ds.First_Ens + ds.Sub_Count - 1;
            Error_Velocity_Statistics(app);
            return {};
        };
    }
};

}  // namespace vantrel::test
