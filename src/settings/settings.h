#pragma once
// The program-wide settings store: every saved setting in file order with its default,
// the label, unit and colour tables of the charts, and the settings file.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "dataset/data_codes.h"
#include "platform/outcome.h"

namespace vantrel {

// Entry counts of the list records, fixed by the option dialog's control groups.
constexpr int k_contour_limit_count = 2;
constexpr int k_profile_select_count = 23;
constexpr int k_profile_scale_count = 7;
constexpr int k_series_select_saved = k_type_chart_count;  // the store has one spare entry
constexpr int k_series_select_count = k_series_select_saved + 1;
constexpr int k_series_scale_count = 6;
constexpr int k_series_scale_saved = 5;
constexpr int k_anc_select_count = 8;
constexpr int k_anc_scale_count = 11;
constexpr int k_series_bin_count = 255;
constexpr int k_eop_option_count = 5;
constexpr int k_window_count = 5;
constexpr int k_window_menu_count = 5;

// Indices of EoP_Options.
enum Eop_Option : int { k_eop_bt_depth = 0, k_eop_rssi = 1, k_eop_cos = 2, k_eop_cut1 = 3, k_eop_cut2 = 4 };

// Largest factor Vel_Scale and BT_Vel_Scale take, from the settings file or the command line.
constexpr double k_max_vel_scale = 1e6;

// Values of Vel_Reference.
enum Vel_Reference_Kind : std::int32_t {
    k_ref_none = 0,
    k_ref_bottom_track = 1,
    k_ref_navigation = 2,
    k_ref_gps_gga = 3,
    k_ref_gps_vtg = 4,
    k_ref_water_mass = 5,
};

// Normal position and size of a window in twips, and its state (0 normal, 1 minimised, 2 maximised).
struct Window_Geometry {
    std::int32_t left = 0, top = 0, width = 0, height = 0, state = 0;
};

// Windows of the geometry record, in file order.
enum Window_Index : int { k_win_main = 0, k_win_whole = 1, k_win_info = 2, k_win_track = 3, k_win_sub = 4 };

// The track-vector window's option menus, kept here until the window applies them.
// File order: Select_Auto 0-2, LeftToRight, Speed_Units 0-2, Depth_Units 0-2,
// Select_Font_Size 0-7, Select_Font_Bold, then ProjectionAngle (degrees), as the
// window's menus run from "&Projection" to "&Display".
struct Track_Vector_Options {
    std::array<bool, 3> Select_Auto{true, false, false};  // bottom track, navigation track, manual
    bool LeftToRight = false;
    std::array<bool, 3> Speed_Units{false, true, false};  // knots, m/s, cm/s
    std::array<bool, 3> Depth_Units{false, true, false};  // fathoms, m, ft
    std::array<bool, 8> Select_Font_Size{false, false, true, false, false, false, false, false};  // 20..4
    bool Select_Font_Bold = false;
    double ProjectionAngle = 0;  // degrees
};
constexpr int k_track_option_flag_count = 3 + 1 + 3 + 3 + 8 + 1;

// N flags, entries i and j set.
template <int N>
constexpr std::array<bool, N> Flags_Set(int i, int j) {
    std::array<bool, N> flags{};
    flags[static_cast<std::size_t>(i)] = true;
    flags[static_cast<std::size_t>(j)] = true;
    return flags;
}

struct Settings {
    // Saved settings, in file order (record 1, the version, is Options_Version()).
    std::int32_t Contour_Scale_Mode = 4;
    std::array<std::int32_t, k_contour_limit_count> Contour_Scale_Limits{-1000, 1000};
    bool Contour_Switch_1 = true;  // locators
    bool Contour_Switch_2 = true;  // grid
    std::int32_t Contour_Code = k_code_vel_magnitude;
    bool Contour_Switch_3 = false;  // bottom-track depth line
    std::array<bool, k_profile_select_count> Profile_Select = Flags_Set<k_profile_select_count>(14, 15);
    bool Profile_Style_1 = true, Profile_Style_2 = false, Profile_Style_3 = true;  // lines, symbols, grid
    std::array<double, k_profile_scale_count> Profile_Scale_Min{64, 64, -1000, 500, 90, -100, 0};
    std::array<double, k_profile_scale_count> Profile_Scale_Max{192, 192, 1000, 2000, 270, 100, 100};
    bool Series_Style_1 = true, Series_Style_2 = true, Series_Style_3 = false, Series_Style_4 = true;
    std::array<bool, k_series_select_count> Series_Select = Flags_Set<k_series_select_count>(k_type_vel_magnitude, k_type_vel_direction);
    std::array<double, k_series_scale_count> Series_Scale_Min{64, 64, -1000, 500, 90, 0};
    std::array<double, k_series_scale_count> Series_Scale_Max{192, 192, 1000, 2000, 270, 100};
    double Averaging_Interval = 43200;  // s
    bool Averaging_All = true;
    bool Series_Switch = true;
    std::array<bool, k_anc_select_count> Anc_Select{};
    bool Anc_Style_1 = true, Anc_Style_2 = false, Anc_Style_3 = true;
    std::array<double, k_anc_scale_count> Anc_Scale_Min{-20, -20, 90, 0, 100, 0, 0, 64, -1000, 500, 90};
    std::array<double, k_anc_scale_count> Anc_Scale_Max{20, 20, 270, 20, 300, 1, 1, 192, 1000, 2000, 270};
    std::int32_t Cursor_Ens = 0;
    std::array<bool, k_series_bin_count> Series_Bins_Setting{};  // by instrument bin number 1..255
    float Water_Density = 1000;  // kg per cubic metre, for the pressure depth
    std::int32_t Vel_Reference = k_ref_none;
    double Vel_Scale = 1;     // factor on water and reference-layer velocities
    double BT_Vel_Scale = 1;  // factor on bottom-track velocities
    std::array<bool, k_eop_option_count> EoP_Options{};
    std::int32_t Max_Sub_Ens = 256;
    double Sub_Window_Ratio_1 = 0.5;  // contour / series boundary, fraction of the Sub Set window's height
    double Sub_Window_Ratio_2 = 0.2;  // profile width, fraction of the Sub Set window's width
    std::array<Window_Geometry, k_window_count> Window_Geometries{{
        {0, 0, 15360, 11520, 2},
        {0, 0, 15000, 3000, 0},
        {9000, 3000, 6000, 4500, 0},
        {0, 3000, 9000, 7000, 0},
        {0, 3000, 15000, 7500, 0},
    }};
    // "&Track Vector", "&Information", "&Whole Set", "&Sub Set", "&Viewer".
    std::array<bool, k_window_menu_count> Window_Menu_States{false, false, true, true, false};
    Track_Vector_Options Track_Options;

    // Not saved.
    std::int32_t Max_Whole_Ens = 256;
    std::int32_t Monitor_Interval_Ms = 1000;  // the main window's monitoring tick
    std::int32_t Monitor_Count = 5;           // the main window's monitoring counter
    std::int32_t Color_Count = 8;             // series colours used before the index wraps

    std::array<std::string_view, 5> Echo_Type_Labels{"Amplitude Beam 1", "Amplitude Beam 2", "Amplitude Beam 3",
                                                     "Amplitude Beam 4", "Amplitude Four Beam Avgerage"};
    std::array<std::string_view, 5> Corr_Type_Labels{"Correlation Beam 1", "Correlation Beam 2",
                                                     "Correlation Beam 3", "Correlation Beam 4",
                                                     "Correlation Four Beam Avgerage"};
    std::array<std::string_view, 6> Vel_Type_Labels{"East Velocity",  "North Velocity", "Vertical Velocity",
                                                    "Error Velocity", "Magnitude",      "Direction"};
    std::array<std::string_view, 4> PG_Type_Labels{"Percent Good 1", "Percent Good 2", "Percent Good 3",
                                                   "Percent Good 4"};
    std::array<std::string_view, 6> Reference_Labels{"None",       "Bottom",     "Navigation",
                                                     "Navigation", "Navigation", "Water Mass"};
    std::array<std::string_view, 8> Anc_Labels{"Pitch", "Roll", "Hdg", "Temp", "Depth", "Orien", "BIT", "Batt"};
    std::array<std::string_view, 8> Anc_Units{"deg", "deg", "deg", "deg", "m", "", "", "cnts"};
    // Colours as red + 256 green + 65536 blue.
    std::array<std::int32_t, 8> Anc_Colours{0x0000FF, 0x007F00, 0x7F7F00, 0xFF00FF,
                                            0xFFFF00, 0x0F7FFF, 0xFF7F00, 0x004FFF};
    std::array<std::int32_t, 8> Series_Colours{0x0000FF, 0x01FF00, 0xFF0000, 0xFFFF00,
                                               0xFF00FF, 0x0F7FFF, 0xFF7F00, 0xC0C0FF};
    std::array<std::string_view, 6> Series_Type_Labels{"Int", "Cor", "Vel", "Mag", "Dir", "PG"};
    std::array<std::string_view, 4> Series_Vel_Labels{"E(u)", "N(v)", "V(w)", "Err"};
    std::array<std::string_view, 4> Series_Profile_Labels{"P#1", "P#2", "", ""};
    std::array<std::string_view, 5> Series_Beam_Labels{"Bm1", "Bm2", "Bm3", "Bm4", "Avg"};
    std::array<std::string_view, 6> Series_Units{"cnt", "cnt", "mm/s", "mm/s", "deg", "%"};
    std::array<std::int32_t, 5> Profile_Colours{0x0000D0, 0x01D000, 0xD00000, 0xD000D0, 0xD0D000};
    std::array<std::string_view, 7> Profile_Type_Labels{"Intensity", "Correlation", "Velocity",    "Magnitude",
                                                        "Direction", "Statistics",  "Percent Good"};
    std::array<std::string_view, 4> Profile_Vel_Labels{"East(u)", "North(v)", "Vertical(w)", "Error"};
    std::array<std::string_view, 4> Profile_Profile_Labels{"Prof #1", "Prof #2", "", ""};
    std::array<std::string_view, 5> Profile_Beam_Labels{"Bm1", "Bm2", "Bm3", "Bm4", "Avg"};
    std::array<std::string_view, 4> Profile_PG_Labels{"PG1", "PG2", "PG3", "PG4"};
    std::array<std::string_view, 3> Profile_Stat_Labels{"Error", "Std", "% Good"};
    std::array<std::string_view, 7> Profile_Units{"counts", "counts", "mm/s", "mm/s", "degrees", "mm/s", "%"};

    // Track-vector unit tables: labels and factors from mm/s and from metres.
    std::array<std::string_view, 3> Track_Speed_Labels{"knots", "m/s", "cm/s"};
    std::array<double, 3> Track_Speed_Factors{0.001 / 0.51444444, 0.001, 0.1};
    std::array<std::string_view, 3> Track_Depth_Labels{"fath", "m", "ft"};
    std::array<double, 3> Track_Depth_Factors{1 / 1.8288, 1, 1 / 0.3048};
};

// The running program's version text, "major.minor.revision".
std::string_view Options_Version();

// Sets every setting to its default and fills the label, unit and colour tables.
void Load_Default_Options(Settings& settings);

// Writes the store as a settings file through a temporary file and a rename.
// Returns false, leaving any existing file as it was, when the file cannot be written.
bool Save_Options(const Settings& settings, const std::filesystem::path& file_name);

enum class Load_Result {
    k_loaded,         // every record read
    k_partial,        // the file stopped early or held a bad value; later settings unchanged
    k_other_version,  // first line names another version (or is missing); nothing changed
    k_unreadable,     // no such file, or it cannot be opened
};

// What a settings read did: the result and, unless every record was read, a failure with
// one line saying why (for k_partial: the line of the file where reading stopped).
struct Options_Load {
    Load_Result result = Load_Result::k_loaded;
    Outcome outcome;
    friend bool operator==(const Options_Load& l, Load_Result r) { return l.result == r; }
};

// Reads a settings file of the running version into the store, record by record. A number
// that is not finite or out of its setting's range stops reading there, as a line that does
// not parse does. Window geometry values below 0 and unknown window states are not applied;
// Max_Sub_Ens is limited to 128..8192.
Options_Load Load_Options(Settings& settings, const std::filesystem::path& file_name);

// The settings file's name, and where it lives: the program's folder when that folder is
// writable, else the per-user configuration folder ($XDG_CONFIG_HOME/vantrel, or
// ~/.config/vantrel).
constexpr std::string_view k_options_file_name = "VTRLOps.Txt";
std::filesystem::path Options_File_Path(const std::filesystem::path& program_folder);

}  // namespace vantrel
