#pragma once
// Decodes the ensemble in Ens_Buffer into slot Sub_Count by the file's data structure.

#include "app_state.h"

namespace vantrel {

// Returns false, and clears File_Loaded for an unknown structure, when no decoder ran.
bool Decode_Ensemble(Decoder_State& dec, Data_Set& ds, const Settings& settings, const Menu_State& menus);

inline bool Decode_Ensemble(App_State& app) { return Decode_Ensemble(app.dec, app.ds, app.settings, app.menus); }

}  // namespace vantrel
