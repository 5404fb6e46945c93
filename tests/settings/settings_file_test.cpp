#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/default_settings.h"
#include "support/expect_fields.h"
#include "settings/settings.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

const fs::path k_data = fs::path(VANTREL_SETTINGS_TEST_DIR) / "data";

// Lines without their CR LF; fails the test when a line lacks either.
std::vector<std::string> Crlf_Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(line.ends_with('\r') && in.good()) << "line " << lines.size() + 1 << " does not end in CR LF";
        lines.push_back(line.substr(0, line.size() - line.ends_with('\r')));
    }
    return lines;
}

std::string Join_Lines(const std::vector<std::string>& lines, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) text += lines[i] + "\r\n";
    return text;
}

class Settings_File : public ::testing::Test {
protected:
    // A store where every kind of record differs from its default, with awkward doubles.
    static Settings Unusual_Settings() {
        Settings s = Default_Settings();
        s.Contour_Scale_Mode = 0, s.Contour_Scale_Limits = {-123, 456}, s.Contour_Switch_1 = false, s.Contour_Code = 30;
        s.Profile_Select[0] = s.Profile_Select[22] = true;
        s.Profile_Scale_Min[6] = 0.1, s.Profile_Scale_Max[6] = 1.0 / 3.0;
        s.Series_Select[35] = true, s.Series_Scale_Min[4] = -1e-300, s.Averaging_Interval = 3600.25;
        s.Anc_Select[7] = true, s.Anc_Scale_Max[10] = 123456789.123456789;
        s.Cursor_Ens = 98765;
        s.Series_Bins_Setting[0] = s.Series_Bins_Setting[254] = true;
        s.Water_Density = 1025.3f, s.Vel_Reference = 5, s.Vel_Scale = 0.7, s.BT_Vel_Scale = 1.0000000000000002;
        s.EoP_Options = {false, true, false, true, true};
        s.Max_Sub_Ens = 1024, s.Sub_Window_Ratio_1 = 0.61803398874989479;
        s.Window_Geometries[k_win_track] = {1, 2, 3, 4, 1};
        s.Window_Menu_States = {true, true, false, false, true};
        s.Track_Options.Select_Auto = {false, false, true};
        s.Track_Options.Select_Font_Bold = true, s.Track_Options.ProjectionAngle = -179.98999999999998;
        return s;
    }

    std::string Saved_Text(const Settings& s, const std::string& name) {
        EXPECT_TRUE(Save_Options(s, dir_ / name));
        return Read_File_Text(dir_ / name);
    }

    Temp_Folder folder_;
    fs::path dir_ = folder_.Path();
};

TEST_F(Settings_File, DefaultFileMatchesGoldenLineByLine) {
    const auto got = Crlf_Lines(Saved_Text(Default_Settings(), "defaults.txt"));
    auto want = Crlf_Lines(Read_File_Text(k_data / "default_settings.txt"));
    ASSERT_FALSE(want.empty());
    // The golden file pins everything but the version, which follows the build.
    want[0] = "\"" + std::string(Options_Version()) + "\"";
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
}

TEST_F(Settings_File, SaveLoadSaveIsByteIdentical) {
    for (const bool unusual : {false, true}) {
        const Settings original = unusual ? Unusual_Settings() : Default_Settings();
        const std::string first = Saved_Text(original, "first.txt");

        // An editor's byte-order mark in front changes nothing.
        Write_File_Text(dir_ / "marked.txt", "\xEF\xBB\xBF" + first);
        Settings loaded = Default_Settings();
        ASSERT_EQ(Load_Options(loaded, dir_ / (unusual ? "marked.txt" : "first.txt")), Load_Result::k_loaded);
        EXPECT_EQ(Saved_Text(loaded, "second.txt"), first) << (unusual ? "unusual" : "defaults");
        // Doubles and the single survive their decimal form exactly.
        EXPECT_EQ((std::array{loaded.Profile_Scale_Max[6], loaded.Series_Scale_Min[4], double{loaded.Water_Density},
                              loaded.Track_Options.ProjectionAngle}),
                  (std::array{original.Profile_Scale_Max[6], original.Series_Scale_Min[4], double{original.Water_Density},
                              original.Track_Options.ProjectionAngle}));
    }
}

TEST_F(Settings_File, OtherVersionOrMissingFileLeavesDefaults) {
    auto lines = Crlf_Lines(Saved_Text(Unusual_Settings(), "unusual.txt"));
    lines[0] = "\"0.0.1\"";
    Write_File_Text(dir_ / "old.txt", Join_Lines(lines, lines.size()));
    Write_File_Text(dir_ / "empty.txt", "");
    const std::string default_text = Saved_Text(Default_Settings(), "defaults.txt");
    for (const auto& [name, result] : {std::pair{"old.txt", Load_Result::k_other_version},
                                       std::pair{"no_such_file.txt", Load_Result::k_unreadable},
                                       std::pair{"empty.txt", Load_Result::k_other_version}}) {
        Settings s = Default_Settings();
        EXPECT_EQ(Load_Options(s, dir_ / name), result) << name;
        EXPECT_EQ(Saved_Text(s, "after.txt"), default_text) << name;
    }
}

TEST_F(Settings_File, FileCutShortKeepsLaterSettingsAtDefaults) {
    const Settings unusual = Unusual_Settings();
    const auto lines = Crlf_Lines(Saved_Text(unusual, "unusual.txt"));
    ASSERT_EQ(lines.size(), 452u);
    EXPECT_EQ((std::vector<std::string>(lines.begin() + 394, lines.begin() + 399)),
              (std::vector<std::string>{"#FALSE#", "#TRUE#", "#FALSE#", "#TRUE#", "#TRUE#"}));  // the end-of-profile flags in order
    // Through Vel_Reference (line 392), then half of the next line.
    Write_File_Text(dir_ / "cut.txt", Join_Lines(lines, 392) + "0.");

    Settings s = Default_Settings();
    EXPECT_EQ(Load_Options(s, dir_ / "cut.txt"), Load_Result::k_partial);
    EXPECT_EQ(s.EoP_Options, (std::array<bool, 5>{}));
    EXPECT_EQ((std::pair{s.Water_Density, s.Vel_Scale}), (std::pair{unusual.Water_Density, 1.0}));
    Expect_Fields({{"contour", s.Contour_Code, unusual.Contour_Code}, {"reference", s.Vel_Reference, unusual.Vel_Reference},
                   {"max sub", s.Max_Sub_Ens, 256}, {"bold", s.Track_Options.Select_Font_Bold, false}});
}

TEST_F(Settings_File, ANumberOrFlagThatDoesNotReadWholeStopsAtItsLine) {
    const auto lines = Crlf_Lines(Saved_Text(Unusual_Settings(), "unusual.txt"));
    const auto default_lines = Crlf_Lines(Saved_Text(Default_Settings(), "defaults.txt"));
    // Contour_Scale_Mode, a flag, Profile_Scale_Min[0], Averaging_Interval, Water_Density (a
    // single), Vel_Reference, Vel_Scale, ProjectionAngle.
    const std::pair<std::size_t, const char*> cases[] = {
        {2, "four"},   {2, "4x"},     {2, "-2147483648"}, {2, "5"},       {5, "#YES#"},
        {35, "nan"},   {35, "inf"},   {35, "1e308"},      {99, "-1"},     {391, "1e39"},
        {391, "nan"},  {392, "6"},    {393, "-inf"},      {393, "1e308"}, {452, "nan"},
    };
    for (const auto& [line, text] : cases) {
        auto bad = lines;
        bad[line - 1] = text;
        Write_File_Text(dir_ / "bad.txt", Join_Lines(bad, bad.size()));
        Settings t = Default_Settings();
        const Options_Load loaded = Load_Options(t, dir_ / "bad.txt");
        EXPECT_EQ(loaded, Load_Result::k_partial) << line << " " << text;
        EXPECT_NE(loaded.outcome.message.find("stopped at line " + std::to_string(line) + ": \"" + text + "\""),
                  std::string::npos)
            << loaded.outcome.message;
        // Read up to the line before; that line and every later one keep their defaults.
        const auto got = Crlf_Lines(Saved_Text(t, "got.txt"));
        ASSERT_EQ(got.size(), lines.size());
        for (std::size_t i = 1; i < got.size(); ++i) {
            EXPECT_EQ(got[i], i + 1 < line ? lines[i] : default_lines[i]) << "line " << i + 1 << " after " << text;
        }
    }
}

TEST_F(Settings_File, GeometryAppliesOnlyPlausibleValuesAndMaxSubEnsIsLimited) {
    Settings saved = Default_Settings();
    saved.Window_Geometries[k_win_main] = {-120, 0, 5000, -1, 7};
    saved.Window_Geometries[k_win_sub] = {10, 20, 30, 40, 2};
    saved.Window_Geometries[k_win_track] = {10, 20, 30, 40, 3};
    ASSERT_TRUE(Save_Options(saved, dir_ / "geometry.txt"));

    Settings s = Default_Settings();
    s.Window_Geometries[k_win_main] = {300, 400, 500, 600, 1};
    EXPECT_EQ(Load_Options(s, dir_ / "geometry.txt"), Load_Result::k_loaded);
    const Window_Geometry& main = s.Window_Geometries[k_win_main];
    const Window_Geometry& sub = s.Window_Geometries[k_win_sub];
    // -120 is partly off the screen and -1 no size: not applied; 0 is; 7 and 3 are no window state.
    Expect_Fields({{"left", main.left, 300}, {"top", main.top, 0}, {"width", main.width, 5000}, {"height", main.height, 600},
                   {"state", main.state, 1}, {"sub left", sub.left, 10}, {"sub height", sub.height, 40}, {"sub state", sub.state, 2},
                   {"track state", s.Window_Geometries[k_win_track].state, 0}});

    // Max_Sub_Ens is held to its limits.
    for (const auto& [stored, expected] : {std::pair{100000, 8192}, std::pair{5, 128}, std::pair{4096, 4096}}) {
        saved.Max_Sub_Ens = stored;
        ASSERT_TRUE(Save_Options(saved, dir_ / "max.txt"));
        Settings t = Default_Settings();
        EXPECT_EQ(Load_Options(t, dir_ / "max.txt"), Load_Result::k_loaded);
        EXPECT_EQ(t.Max_Sub_Ens, expected) << stored;
    }
}

TEST_F(Settings_File, AFileTheUserNamesIsKeptButTheProgramsOwnIsReplaced) {
    const fs::path target = dir_ / k_options_file_name;
    Write_File_Text(target, "previous contents\r\n");
    const Settings s = Default_Settings();
    EXPECT_EQ(Save_Options(s, target, Existing_Output::k_refuse), Outcome_Kind::k_overwrite_refused);
    EXPECT_EQ(Read_File_Text(target), "previous contents\r\n");
    EXPECT_TRUE(Save_Options(s, target));
    EXPECT_EQ(Crlf_Lines(Read_File_Text(target)).size(), 452u);
}

TEST_F(Settings_File, OptionsFileFallsBackToUserConfigFolder) {
    EXPECT_EQ(Options_File_Path(dir_), dir_ / "VTRLOps.Txt");

    const char* old_xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved_xdg = old_xdg ? old_xdg : "";
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    const fs::path missing_folder = dir_ / "no" / "such" / "folder";
    const fs::path path = Options_File_Path(missing_folder);
    EXPECT_EQ(path, dir_ / "config" / "vantrel" / "VTRLOps.Txt");

    EXPECT_TRUE(Save_Options(Default_Settings(), path));  // creating the folder
    EXPECT_TRUE(fs::exists(path));
    if (old_xdg) setenv("XDG_CONFIG_HOME", saved_xdg.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace vantrel::test
