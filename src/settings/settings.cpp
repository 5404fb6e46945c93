#include "settings/settings.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

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

// Walks the saved records in file order. Writer and reader share it, so the order
// exists in one place only.
template <typename Settings_Ref, typename Visitor>
void Visit_Records(Settings_Ref& s, Visitor& v) {
    v.Int(s.Contour_Scale_Mode);
    for (auto& x : s.Contour_Scale_Limits) v.Int(x);
    v.Flag(s.Contour_Switch_1);
    v.Flag(s.Contour_Switch_2);
    v.Int(s.Contour_Code);
    v.Flag(s.Contour_Switch_3);
    for (auto& x : s.Profile_Select) v.Flag(x);
    v.Flag(s.Profile_Style_1);
    v.Flag(s.Profile_Style_2);
    v.Flag(s.Profile_Style_3);
    for (std::size_t i = 0; i < s.Profile_Scale_Min.size(); ++i) {
        v.Double(s.Profile_Scale_Min[i]);
        v.Double(s.Profile_Scale_Max[i]);
    }
    v.Flag(s.Series_Style_1);
    v.Flag(s.Series_Style_2);
    v.Flag(s.Series_Style_3);
    v.Flag(s.Series_Style_4);
    for (std::size_t i = 0; i < k_series_select_saved; ++i) v.Flag(s.Series_Select[i]);
    for (std::size_t i = 0; i < k_series_scale_saved; ++i) {
        v.Double(s.Series_Scale_Min[i]);
        v.Double(s.Series_Scale_Max[i]);
    }
    v.Double(s.Averaging_Interval);
    v.Flag(s.Averaging_All);
    v.Flag(s.Series_Switch);
    for (auto& x : s.Anc_Select) v.Flag(x);
    v.Flag(s.Anc_Style_1);
    v.Flag(s.Anc_Style_2);
    v.Flag(s.Anc_Style_3);
    for (std::size_t i = 0; i < s.Anc_Scale_Min.size(); ++i) {
        v.Double(s.Anc_Scale_Min[i]);
        v.Double(s.Anc_Scale_Max[i]);
    }
    v.Int(s.Cursor_Ens);
    for (auto& x : s.Series_Bins_Setting) v.Flag(x);
    v.Single(s.Water_Density);
    v.Int(s.Vel_Reference);
    v.Double(s.Vel_Scale);
    v.Double(s.BT_Vel_Scale);
    for (auto& x : s.EoP_Options) v.Flag(x);
    v.Int(s.Max_Sub_Ens);
    v.Double(s.Sub_Window_Ratio_1);
    v.Double(s.Sub_Window_Ratio_2);
    for (auto& g : s.Window_Geometries) v.Geometry(g);
    for (auto& x : s.Window_Menu_States) v.Flag(x);
    auto& t = s.Track_Options;
    for (auto& x : t.Select_Auto) v.Flag(x);
    v.Flag(t.LeftToRight);
    for (auto& x : t.Speed_Units) v.Flag(x);
    for (auto& x : t.Depth_Units) v.Flag(x);
    for (auto& x : t.Select_Font_Size) v.Flag(x);
    v.Flag(t.Select_Font_Bold);
    v.Double(t.ProjectionAngle);
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
    void Int(std::int32_t value) { Number(value); }
    void Double(double value) { Number(value); }
    void Single(float value) { Number(value); }
    void Flag(bool value) {
        out += value ? k_true : k_false;
        out += k_eol;
    }
    void Geometry(const Window_Geometry& g) {
        for (std::int32_t value : {g.left, g.top, g.width, g.height, g.state}) Int(value);
    }
};

// Takes one record per line; after the first line that is missing or does not parse,
// every later call leaves its target alone.
struct Record_Reader {
    std::string_view text;
    bool ok = true;

    bool Next_Line(std::string_view& line) {
        // Every record ends its line; text after the last line end was cut off mid-record.
        const std::size_t end = ok ? text.find('\n') : std::string_view::npos;
        if (end == std::string_view::npos) return ok = false;
        line = text.substr(0, end);
        text = text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        return true;
    }
    template <typename T>
    bool Parse_Number(T& value) {
        std::string_view line;
        if (!Next_Line(line)) return false;
        T parsed{};
        const auto result = std::from_chars(line.data(), line.data() + line.size(), parsed);
        if (result.ec != std::errc{} || result.ptr != line.data() + line.size()) return ok = false;
        value = parsed;
        return true;
    }
    bool Parse_Text(std::string& value) {
        std::string_view line;
        if (!Next_Line(line)) return false;
        if (line.size() < 2 || line.front() != '"' || line.back() != '"') return ok = false;
        value.assign(line.substr(1, line.size() - 2));
        return true;
    }
    void Int(std::int32_t& value) { Parse_Number(value); }
    void Double(double& value) { Parse_Number(value); }
    void Single(float& value) { Parse_Number(value); }
    void Flag(bool& value) {
        std::string_view line;
        if (!Next_Line(line)) return;
        if (line == k_true) value = true;
        else if (line == k_false) value = false;
        else ok = false;
    }
    void Geometry(Window_Geometry& g) {
        // A window partly off the screen (negative values) or an unknown state keeps what it had.
        for (std::int32_t* target : {&g.left, &g.top, &g.width, &g.height}) {
            std::int32_t value = -1;
            if (Parse_Number(value) && value >= 0) *target = value;
        }
        std::int32_t state = -1;
        if (Parse_Number(state) && state >= 0 && state <= 2) g.state = state;
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

Load_Result Read_Options_File(Settings& settings, const std::filesystem::path& file_name) {
    std::string text;
    if (!Read_Whole_File(file_name, text)) return Load_Result::k_unreadable;
    Record_Reader reader{text};
    std::string version;
    if (!reader.Parse_Text(version) || version != Options_Version()) return Load_Result::k_other_version;
    Visit_Records(settings, reader);
    settings.Max_Sub_Ens = Limit_Max_Sub_Ens(settings.Max_Sub_Ens);
    return reader.ok ? Load_Result::k_loaded : Load_Result::k_partial;
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

Load_Result Load_Options(Settings& settings, const std::filesystem::path& file_name) {
    try {
        return Read_Options_File(settings, file_name);
    } catch (...) {
        return Load_Result::k_partial;  // what was read so far stays
    }
}

namespace {

bool Folder_Is_Writable(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return false;
    const std::filesystem::path probe = folder / ".vantrel-write-probe";
    bool writable = false;
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        writable = static_cast<bool>(out);
    }
    if (writable) std::filesystem::remove(probe, ec);
    return writable;
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
