#include "decode/decode_ensemble.h"

#include "decode/bb_decoder.h"
#include "decode/nb_decoder.h"

namespace vantrel {

bool Decode_Ensemble(Decoder_State& dec, Data_Set& ds, const Settings& settings, const Menu_State& menus) {
    switch (dec.Data_Structure) {
        case k_structure_bb:
            BB_Ensemble(dec, ds, settings, menus);
            return true;
        case k_structure_nb:
            NB_Ensemble(dec, ds, settings, menus);
            return true;
        default:
            ds.File_Loaded = false;
            return false;
    }
}

}  // namespace vantrel
