#pragma once
// Opening a file from the command line as the open command does: the shared options, the
// progress bar on stderr and the optional --first/--last reload of the Sub Set.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "arg_list.h"
#include "app_state.h"
#include "loading/file_loading.h"

namespace vantrel::cli {

// The progress window on stderr: a bar drawn only on a terminal and only once a load
// has run for half a second.
class Cli_Host : public Open_File_Host {
public:
    Cli_Host();
    Cli_Host(const Cli_Host&) = delete;
    Cli_Host& operator=(const Cli_Host&) = delete;
    void Show_Progress(const std::string& caption) override;
    void Hide_Progress() override;

private:
    void Draw_Bar(int percent);

    static constexpr int k_width = 40;
    const bool tty_;
    std::string caption_;
    std::chrono::steady_clock::time_point shown_at_{};
    bool active_ = false, drawn_ = false;
    int last_percent_ = -1;
};

struct Range_Options {
    std::optional<std::int32_t> first, last;
};

// Takes --multifile, --monitoring, the settings options, --max-sub, --max-whole and the
// --first/--last range.
Range_Options Take_Open_Options(Arg_List& args, App_State& app);

// Opens path; a file that cannot be read throws "Invalid File", a survey failure prints
// the information text to stdout and throws.
Outcome Open_For_Cli(App_State& app, Open_File_Host& host, const std::string& path);

// Reloads the Sub Set with the range when one was given (a missing end from the other end
// and Max_Sub_Ens); does nothing without a loaded file. A member that cannot be read throws
// its message.
void Select_Range(App_State& app, Open_File_Host& host, const Range_Options& range);

}  // namespace vantrel::cli
