#pragma once
// What the open command and the Sub Set loads read and write: the data set, the decoder's
// state, the settings, the menu check marks they obey, the information text and the file set.

#include <string>

#include "dataset/data_set.h"
#include "dataset/file_set.h"
#include "decode/decode_options.h"
#include "decode/decoder_state.h"
#include "settings/settings.h"

namespace vantrel {

// Check marks of menu items that the loaders read.
struct Menu_State {
    bool Flip_Checked = false;  // first item of the Flip menu: invert the beams' facing
    bool MultiFile = true;      // treat numbered files as one stream
    bool AutoTrack = false;     // monitoring: reopen a growing file, show its newest ensembles
    bool Animate_Contour = false, Animate_Profile = false, Animate_Series = false;  // animation items
};

// What the open command and the loaders keep between calls.
struct Load_State {
    std::string File_Name;    // the file (or first member of the set) last opened
    bool Busy = false;        // an open command is running
    bool NVRAM_Flag = false;  // a long two-type record was met by a load
    bool Flip = false;        // Flip_Checked as it stood when the file was opened
    std::string Settings_File;  // the settings file the options were read from, if any
};

struct Open_State {
    Data_Set ds;
    Decoder_State dec;
    Settings settings;
    Menu_State menus;
    std::string Info_Text;
    File_Set_State file_set;
    Load_State load;
};

// The decoders' options for the opened file: the settings in force and the latched Flip.
inline Decode_Options Decode_Options_Of(const Open_State& state) { return Decode_Options_Of(state.settings, state.load.Flip); }

}  // namespace vantrel
