// libFuzzer target: the input is an ensemble file; runs the file survey and the details report and scan.
#include <cstddef>
#include <cstdint>

#include "app_state.h"
#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    Write_Input(data, size);
    App_State app;
    app.menus.MultiFile = false;
    app.menus.Flip_Checked = size > 0 && (data[size - 1] & 1) != 0;
    Show_File_Stats(app, Memory_File_Path(), No_Progress());
    Show_File_Details(Memory_File_Path(), app.dec, Decode_Options_Of(app.settings, app.menus.Flip_Checked), nullptr,
                      No_Progress());
    return 0;
}
