// libFuzzer target: the input is an ensemble file. Opens it as the open command does (survey,
// Whole Set, first Sub Set), loads a later Sub Set, draws both windows on recording surfaces
// and runs every export into memory. The last byte picks Flip, the velocity reference and
// four end-of-profile options and the Whole Set's size, so processing and thinning run the
// ways a user may set them.
#include <cstddef>
#include <cstdint>

#include "load_draw_export.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    Write_Input(data, size);
    const std::uint8_t knobs = size > 0 ? data[size - 1] : 0;
    App_State app;
    app.menus.Flip_Checked = (knobs & 1) != 0;
    app.settings.Vel_Reference = (knobs >> 1) % 6;
    for (std::size_t i = 0; i < 4; ++i) app.settings.EoP_Options[i] = (knobs >> (i + 3) & 1) != 0;
    // Small Sets keep each run fast, and a Whole Set of 2 or 9 makes short inputs skip.
    app.settings.Max_Sub_Ens = 32;
    app.settings.Max_Whole_Ens = (knobs & 0x80) ? 2 : 9;
    Load_Draw_Export(app, Memory_File_Path(), knobs % 7);
    return 0;
}
