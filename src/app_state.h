#pragma once
// The program-wide state that the application shell owns and passes to procedures.

#include <string>

#include "charts/chart_primitives.h"
#include "charts/contour_palette.h"
#include "dataset/data_set.h"
#include "dataset/file_set.h"
#include "decode/decoder_state.h"
#include "settings/settings.h"

namespace vantrel {

// Check marks of menu items that the core reads.
struct Menu_State {
    bool Flip_Checked = false;  // first item of the Flip menu: invert the beams' facing
    bool MultiFile = true;      // treat numbered files as one stream
};

struct App_State {
    Data_Set ds;
    Decoder_State dec;
    Settings settings;
    Menu_State menus;
    std::string Info_Text;
    Contour_Palette palette = Build_Contour_Palette();
    Candle_Tables candles;  // filled by the series chart, read by the trend view
    File_Set_State file_set;
};

}  // namespace vantrel
