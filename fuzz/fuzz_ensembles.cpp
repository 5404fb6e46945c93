// libFuzzer target: the input is an ensemble file. Runs the structure test, the scanner and
// both decoders on every ensemble found, hands the raw bytes to both decoders directly, and
// now and then runs the survey and the details scan.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/bb_decoder.h"
#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "decode/nb_decoder.h"
#include "decode/scanner.h"

namespace {

using namespace vantrel;

constexpr int k_max_ensembles = 64;

// The input lives in an in-memory file, reached by path like any other file.
const std::string& Memory_File_Path() {
    static const std::string path = [] {
        const int fd = memfd_create("vantrel-fuzz", 0);
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

void Write_Input(const std::uint8_t* data, std::size_t size) {
    const int fd = std::stoi(Memory_File_Path().substr(14));
    if (ftruncate(fd, 0) != 0) __builtin_trap();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) __builtin_trap();
        done += static_cast<std::size_t>(n);
    }
}

void Decode_Both(App_State& app) {
    app.ds.Sub_Count = 0;
    BB_Ensemble(app.dec, app.ds, app.settings, app.menus);
    NB_Ensemble(app.dec, app.ds, app.settings, app.menus);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static App_State app = [] {
        App_State a;
        Allocate_Data_Set(a.ds, false, 1, 1);
        return a;
    }();
    static Binary_File file;
    const std::uint8_t knobs = size > 0 ? data[size - 1] : 0;
    app.dec = Decoder_State{};
    app.menus.Flip_Checked = (knobs & 1) != 0;
    app.ds.File_Loaded = (knobs & 2) != 0;
    app.settings.Vel_Scale = (knobs & 4) ? 1000 : 1;

    Write_Input(data, size);
    if (!file.Open(Memory_File_Path())) return 0;
    app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
    bool loaded = true;
    for (int i = 0; i < k_max_ensembles && Get_Next_Ensemble(file, app.dec, loaded, No_Progress()); ++i) Decode_Both(app);
    file.Close();

    // Raw bytes as an ensemble, with the byte count they declare in either byte order and with their own size.
    app.dec.Ens_Buffer.assign(data, data + size);
    const std::int32_t declared[3] = {size >= 4 ? data[2] | (data[3] << 8) : 0, size >= 2 ? (data[0] << 8) | data[1] : 0,
                                      static_cast<std::int32_t>(size) - 2};
    for (std::int32_t bytes : declared) {
        app.dec.Ens_Bytes = bytes;
        Decode_Both(app);
    }

    // The survey and the details scan open files of their own and allocate a data set:
    // run them on one input in 256 to keep the rate up.
    if (knobs == 0x5A) {
        App_State survey_app;
        survey_app.menus.MultiFile = false;
        Show_File_Stats(survey_app, Memory_File_Path(), No_Progress());
        Show_File_Details(Memory_File_Path(), app.dec, app.settings, app.menus, nullptr, No_Progress());
    }
    return 0;
}
