// libFuzzer target: the input is an ensemble file. Opens it as the open command does (survey,
// Whole Set, first Sub Set), loads a later Sub Set, draws both windows on recording surfaces
// and runs every export into memory. The last byte picks Flip, the velocity reference and
// four end-of-profile options and the Whole Set's size, so processing and thinning run the
// ways a user may set them; the byte before it may cut the input into a file set.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "load_draw_export.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::uint8_t knobs = size > 0 ? data[size - 1] : 0;
    // The byte before picks, half the time, a file set of three members cut where it says:
    // skips, positions and records then run on across the cuts.
    const std::uint8_t cut = size > 1 ? data[size - 2] : 0;
    const bool as_set = (cut & 1) != 0;
    const std::size_t cut1 = size * ((cut >> 1) & 7) / 8, cut2 = (size + cut1) / 2 + (cut >> 4);
    std::string path = Memory_File_Path();
    if (as_set) path = Write_Input_As_Set(data, size, cut1, std::min(cut2, size));
    else Write_Input(data, size);
    App_State app;
    app.menus.Flip_Checked = (knobs & 1) != 0;
    app.settings.Vel_Reference = (knobs >> 1) % 6;
    for (std::size_t i = 0; i < 4; ++i) app.settings.EoP_Options[i] = (knobs >> (i + 3) & 1) != 0;
    // Small Sets keep each run fast, and a Whole Set of 2 or 9 makes short inputs skip.
    app.settings.Max_Sub_Ens = 32;
    app.settings.Max_Whole_Ens = (knobs & 0x80) ? 2 : 9;
    Load_Draw_Export(app, path, knobs % 7, as_set);
    return 0;
}
