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
    bool AutoTrack = false;     // monitoring: reopen a growing file, show its newest ensembles
    bool Animate_Contour = false, Animate_Profile = false, Animate_Series = false;  // animation items
};

// What the open command and the loaders keep between calls.
struct Load_State {
    std::string File_Name;  // the file (or first member of the set) last opened
    bool Busy = false;      // an open command is running
    bool Stop = false;      // set by the user or by too many scanner failures; each load clears it
    bool NVRAM_Flag = false;  // a long two-type record was met by a Sub Set load
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
    Load_State load;
};

}  // namespace vantrel
