#include "decode/decode_ensemble.h"

#include "decode/bb_decoder.h"
#include "decode/nb_decoder.h"

namespace vantrel {

bool Decode_Ensemble(Decoder_State& dec, Data_Set& ds, const Decode_Options& opt) {
    switch (dec.Data_Structure) {
        case k_structure_bb:
            BB_Ensemble(dec, ds, opt);
            return true;
        case k_structure_nb:
            NB_Ensemble(dec, ds, opt);
            return true;
        default:
            dec.Slot_Written = {};
            ds.File_Loaded = false;
            return false;
    }
}

}  // namespace vantrel
