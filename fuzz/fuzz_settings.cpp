// libFuzzer target: the input is a settings file. Reads it into defaults, saves what was read
// and reads that again: the two saved texts must be the same. Then opens, draws and exports a
// small synthetic file with those settings, where every number read reaches a chart or a
// conversion. The input's first line is replaced by the running version, so the reader
// never stops at the version check.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "load_draw_export.h"
#include "memory_file.h"
#include "settings/settings.h"
#include "synth_writer.h"

namespace {

// A folder for the saved settings and the synthetic file, made once per process.
const std::filesystem::path& Work_Folder() {
    static const std::filesystem::path folder = [] {
        // Memory-backed when the system has such a folder: two saves run per input.
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path base = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        std::string pattern = (base / "vantrel-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        vantrel::synth::Synth_Options opt;
        opt.ensembles = 12;
        opt.bins = 4;
        opt.bottom_track = true;
        opt.navigation = true;
        opt.pitch_amplitude = 3;
        vantrel::synth::Write_Synth_File(pattern + "/synth.ens", opt);
        return std::filesystem::path(pattern);
    }();
    // Removed when the fuzzer exits normally.
    static const struct Remover {
        ~Remover() {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        }
    } remover;
    return folder;
}

std::string Saved(const vantrel::Settings& settings, const std::filesystem::path& path) {
    if (!vantrel::Save_Options(settings, path)) std::abort();
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t first_end = input.find('\n');
    const std::string text = "\"" + std::string(Options_Version()) + "\"\r\n" +
                             (first_end == std::string::npos ? std::string() : input.substr(first_end + 1));
    Write_Input(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());

    App_State app;
    Load_Default_Options(app.settings);
    Load_Options(app.settings, Memory_File_Path());
    const std::string first = Saved(app.settings, Work_Folder() / "first.txt");
    Settings again;
    Load_Default_Options(again);
    if (Load_Options(again, Work_Folder() / "first.txt") != Load_Result::k_loaded) std::abort();
    if (Saved(again, Work_Folder() / "second.txt") != first) std::abort();

    // The Sub Set's size only sizes the arrays; a small one keeps each run fast.
    app.settings.Max_Sub_Ens = std::min(app.settings.Max_Sub_Ens, 64);
    app.settings.Max_Whole_Ens = 32;
    Load_Draw_Export(app, (Work_Folder() / "synth.ens").string(), app.settings.Cursor_Ens % 16);
    return 0;
}
