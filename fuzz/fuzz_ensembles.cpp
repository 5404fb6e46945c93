// libFuzzer target: the input is an ensemble file. Runs the structure test, the scanner and
// both decoders on every ensemble found, and hands the raw bytes to both decoders directly.
// The survey and the details scan have a target of their own (fuzz_survey.cpp): they open
// files with large buffers and would slow this one down.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app_state.h"
#include "decode/bb_decoder.h"
#include "decode/nb_decoder.h"
#include "decode/scanner.h"

namespace {

using namespace vantrel;

constexpr int k_max_ensembles = 64;

void Decode_Both(App_State& app) {
    app.ds.Sub_Count = 0;
    const Decode_Options opt = Decode_Options_Of(app.settings, app.menus.Flip_Checked);
    BB_Ensemble(app.dec, app.ds, opt);
    NB_Ensemble(app.dec, app.ds, opt);
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
    std::vector<std::uint8_t> buffer = std::move(app.dec.Ens_Buffer);  // keep its capacity between runs
    app.dec = Decoder_State{};
    app.dec.Ens_Buffer = std::move(buffer);
    app.menus.Flip_Checked = (knobs & 1) != 0;
    app.ds.File_Loaded = (knobs & 2) != 0;
    app.settings.Vel_Scale = (knobs & 4) ? 1000 : 1;

    file.Open_Bytes(std::vector<std::uint8_t>(data, data + size));
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

    return 0;
}
