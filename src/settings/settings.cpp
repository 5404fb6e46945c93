#include "settings/settings.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "dataset/max_ensembles.h"
#include "platform/binary_file.h"
#include "platform/output_file.h"

#ifndef VANTREL_VERSION
#error "VANTREL_VERSION must be defined by the build"
#endif

namespace vantrel {

std::string_view Options_Version() { return VANTREL_VERSION; }

void Load_Default_Options(Settings& settings) { settings = Settings{}; }

namespace {

// What the reader accepts: finite numbers in these ranges, so that no setting overflows
// when the charts and the processing turn it into pixels or counts.
constexpr double k_limit = 1e9;                   // scale limits and window ratios
constexpr std::int32_t k_limit_int = 1000000000;  // contour scale limits
constexpr std::int32_t k_code_limit = 9999;       // contour codes
constexpr double k_max_averaging_s = 1e8;
constexpr std::int32_t k_max_ensemble_number = 0xFFFFFF;
constexpr double k_max_density = 1e5;             // kg per cubic metre
constexpr double k_max_angle = 1e6;               // degrees

// Walks the saved records in file order. Writer and reader share it, so the order
// exists in one place only.
template <typename Settings_Ref, typename Visitor>
void Visit_Records(Settings_Ref& s, Visitor& v) {
    v.Int(s.Contour_Scale_Mode, 0, 4);
    for (auto& x : s.Contour_Scale_Limits) v.Int(x, -k_limit_int, k_limit_int);
    v.Flag(s.Contour_Switch_1);
    v.Flag(s.Contour_Switch_2);
    v.Int(s.Contour_Code, 0, k_code_limit);
    v.Flag(s.Contour_Switch_3);
    for (auto& x : s.Profile_Select) v.Flag(x);
    v.Flag(s.Profile_Style_1);
    v.Flag(s.Profile_Style_2);
    v.Flag(s.Profile_Style_3);
    for (std::size_t i = 0; i < s.Profile_Scale_Min.size(); ++i) {
        v.Double(s.Profile_Scale_Min[i], -k_limit, k_limit);
        v.Double(s.Profile_Scale_Max[i], -k_limit, k_limit);
    }
    v.Flag(s.Series_Style_1);
    v.Flag(s.Series_Style_2);
    v.Flag(s.Series_Style_3);
    v.Flag(s.Series_Style_4);
    for (std::size_t i = 0; i < k_series_select_saved; ++i) v.Flag(s.Series_Select[i]);
    for (std::size_t i = 0; i < k_series_scale_saved; ++i) {
        v.Double(s.Series_Scale_Min[i], -k_limit, k_limit);
        v.Double(s.Series_Scale_Max[i], -k_limit, k_limit);
    }
    v.Double(s.Averaging_Interval, 0, k_max_averaging_s);
    v.Flag(s.Averaging_All);
    v.Flag(s.Series_Switch);
    for (auto& x : s.Anc_Select) v.Flag(x);
    v.Flag(s.Anc_Style_1);
    v.Flag(s.Anc_Style_2);
    v.Flag(s.Anc_Style_3);
    for (std::size_t i = 0; i < s.Anc_Scale_Min.size(); ++i) {
        v.Double(s.Anc_Scale_Min[i], -k_limit, k_limit);
        v.Double(s.Anc_Scale_Max[i], -k_limit, k_limit);
    }
    v.Int(s.Cursor_Ens, 0, k_max_ensemble_number);
    for (auto& x : s.Series_Bins_Setting) v.Flag(x);
    v.Single(s.Water_Density, 0, k_max_density);
    v.Int(s.Vel_Reference, k_ref_none, k_ref_water_mass);
    v.Double(s.Vel_Scale, -k_max_vel_scale, k_max_vel_scale);
    v.Double(s.BT_Vel_Scale, -k_max_vel_scale, k_max_vel_scale);
    for (auto& x : s.EoP_Options) v.Flag(x);
    v.Int(s.Max_Sub_Ens, INT32_MIN, INT32_MAX);  // limited after reading
    v.Double(s.Sub_Window_Ratio_1, -k_limit, k_limit);
    v.Double(s.Sub_Window_Ratio_2, -k_limit, k_limit);
    for (auto& g : s.Window_Geometries) v.Geometry(g);
    for (auto& x : s.Window_Menu_States) v.Flag(x);
    auto& t = s.Track_Options;
    for (auto& x : t.Select_Auto) v.Flag(x);
    v.Flag(t.LeftToRight);
    for (auto& x : t.Speed_Units) v.Flag(x);
    for (auto& x : t.Depth_Units) v.Flag(x);
    for (auto& x : t.Select_Font_Size) v.Flag(x);
    v.Flag(t.Select_Font_Bold);
    v.Double(t.ProjectionAngle, -k_max_angle, k_max_angle);
}

constexpr std::string_view k_eol = "\r\n";
constexpr std::string_view k_true = "#TRUE#";
constexpr std::string_view k_false = "#FALSE#";

struct Record_Writer {
    std::string out;

    template <typename T>
    void Number(T value) {
        char buffer[64];
        // to_chars is locale-independent and, without a precision, the shortest form that reads back exactly.
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, result.ptr);
        out += k_eol;
    }
    void Text(std::string_view text) {
        out += '"';
        out += text;
        out += '"';
        out += k_eol;
    }
    void Int(std::int32_t value, std::int32_t, std::int32_t) { Number(value); }
    void Double(double value, double, double) { Number(value); }
    void Single(float value, double, double) { Number(value); }
    void Flag(bool value) {
        out += value ? k_true : k_false;
        out += k_eol;
    }
    void Geometry(const Window_Geometry& g) {
        for (std::int32_t value : {g.left, g.top, g.width, g.height, g.state}) Number(value);
    }
};

// Takes one record per line; after the first line that is missing, does not parse or holds
// a value out of range, every later call leaves its target alone. That line is kept.
struct Record_Reader {
    std::string_view text;
    bool ok = true;
    std::int32_t line_number = 0;  // of the last line taken, from 1
    std::string stopped;           // why reading stopped, empty while ok

    bool Stop(std::string why) {
        if (ok) stopped = std::move(why);
        return ok = false;
    }
    bool Next_Line(std::string_view& line) {
        if (!ok) return false;
        // Every record ends its line; text after the last line end was cut off mid-record.
        const std::size_t end = text.find('\n');
        ++line_number;
        if (end == std::string_view::npos) return Stop(text.empty() ? "the file ends" : "the line is cut off");
        line = text.substr(0, end);
        text = text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        return true;
    }
    template <typename T>
    bool Parse_Number(T& value, double lo, double hi) {
        std::string_view line;
        if (!Next_Line(line)) return false;
        T parsed{};
        const auto result = std::from_chars(line.data(), line.data() + line.size(), parsed);
        const bool whole = result.ec == std::errc{} && result.ptr == line.data() + line.size();
        // NaN fails both comparisons, infinity the one of its sign.
        if (!whole || !(static_cast<double>(parsed) >= lo && static_cast<double>(parsed) <= hi)) {
            return Stop(Quoted(line).append(" is not a number from ").append(Format_Limit(lo)).append(" to ").append(Format_Limit(hi)));
        }
        value = parsed;
        return true;
    }
    static std::string Quoted(std::string_view line) {
        std::string text(1, '"');
        text.append(line);
        text += '"';
        return text;
    }
    static std::string Format_Limit(double limit) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, limit);
        return std::string(buffer, result.ptr);
    }
    bool Parse_Text(std::string& value) {
        std::string_view line;
        if (!Next_Line(line)) return false;
        if (line.size() < 2 || line.front() != '"' || line.back() != '"') return Stop("a quoted text is expected");
        value.assign(line.substr(1, line.size() - 2));
        return true;
    }
    void Int(std::int32_t& value, std::int32_t lo, std::int32_t hi) { Parse_Number(value, lo, hi); }
    void Double(double& value, double lo, double hi) { Parse_Number(value, lo, hi); }
    void Single(float& value, double lo, double hi) { Parse_Number(value, lo, hi); }
    void Flag(bool& value) {
        std::string_view line;
        if (!Next_Line(line)) return;
        if (line == k_true) value = true;
        else if (line == k_false) value = false;
        else Stop(Quoted(line).append(" is neither #TRUE# nor #FALSE#"));
    }
    void Geometry(Window_Geometry& g) {
        // A window partly off the screen (negative values) or an unknown state keeps what it had.
        for (std::int32_t* target : {&g.left, &g.top, &g.width, &g.height}) {
            std::int32_t value = -1;
            if (Parse_Number(value, INT32_MIN, INT32_MAX) && value >= 0) *target = value;
        }
        std::int32_t state = -1;
        if (Parse_Number(state, INT32_MIN, INT32_MAX) && state >= 0 && state <= 2) g.state = state;
    }
};

bool Read_Whole_File(const std::filesystem::path& file_name, std::string& text) {
    if (!Input_Problem(file_name.string()).empty()) return false;  // a FIFO or device would block or never end
    std::ifstream in(file_name, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

namespace {

Outcome Write_Options_File(const Settings& settings, const std::filesystem::path& file_name, Existing_Output existing) {
    Record_Writer writer;
    writer.Text(Options_Version());
    Visit_Records(settings, writer);
    return Write_Output_File(file_name.string(), writer.out, {}, existing);
}

Options_Load Read_Options_File(Settings& settings, const std::filesystem::path& file_name) {
    std::string text;
    if (!Read_Whole_File(file_name, text)) return {Load_Result::k_unreadable, Failure(Outcome_Kind::k_invalid_file, "cannot read settings file " + file_name.string())};
    // Editors on some systems put a byte-order mark before the text of a file they save.
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    Record_Reader reader{text, true, 0, {}};
    std::string version;
    if (!reader.Parse_Text(version) || version != Options_Version()) {
        return {Load_Result::k_other_version, Failure(Outcome_Kind::k_invalid_file, file_name.string() + ": not a settings file of version " + std::string(Options_Version()))};
    }
    Visit_Records(settings, reader);
    settings.Max_Sub_Ens = Limit_Max_Sub_Ens(settings.Max_Sub_Ens);
    if (reader.ok) return {};
    return {Load_Result::k_partial,
            Failure(Outcome_Kind::k_invalid_file, "settings file " + file_name.string() + " stopped at line " +
                                                      std::to_string(reader.line_number) + ": " + reader.stopped +
                                                      "; the settings from there on keep their values")};
}

}  // namespace

Outcome Save_Options(const Settings& settings, const std::filesystem::path& file_name, Existing_Output existing) {
    try {
        std::error_code ec;
        if (existing == Existing_Output::k_replace && file_name.has_parent_path())
            std::filesystem::create_directories(file_name.parent_path(), ec);
        return Write_Options_File(settings, file_name, existing);
    } catch (...) {
        // out of memory or a path the library refuses: the old file stays
        return Failure(Outcome_Kind::k_cannot_write, "Cannot write " + file_name.string());
    }
}

Options_Load Load_Options(Settings& settings, const std::filesystem::path& file_name) {
    try {
        return Read_Options_File(settings, file_name);
    } catch (...) {
        // What was read so far stays.
        return {Load_Result::k_partial, Failure(Outcome_Kind::k_invalid_file, "settings file " + file_name.string() + ": out of memory")};
    }
}

namespace {

// Asked of the system rather than by writing a probe file, which could take the name of
// one the user keeps there.
bool Folder_Is_Writable(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec) && ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

std::filesystem::path Options_File_Path(const std::filesystem::path& program_folder) {
    if (Folder_Is_Writable(program_folder)) return program_folder / k_options_file_name;
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        config = std::filesystem::path(home) / ".config";
    } else {
        return program_folder / k_options_file_name;
    }
    return config / "vantrel" / k_options_file_name;
}

}  // namespace vantrel
