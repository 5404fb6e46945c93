#pragma once
// A program state ready to decode crafted broadband ensembles into slot 0.

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "support/bb_builder.h"

namespace vantrel::test {

struct Decode_Fixture {
    App_State app;

    Decode_Fixture() {
        Allocate_Data_Set(app.ds, false, 4, 4);
        app.dec.Data_Structure = k_structure_bb;
    }

    // Decodes the bytes as the scanner would have left them; byte count from offsets 2-3.
    void Decode(const Bytes& e, std::int32_t slot = 0) {
        app.dec.Ens_Buffer = e;
        app.dec.Ens_Bytes = e.size() >= 4 ? (e[2] | (e[3] << 8)) : 0;
        app.ds.Sub_Count = slot;
        Decode_Ensemble(app);
    }
};

}  // namespace vantrel::test
