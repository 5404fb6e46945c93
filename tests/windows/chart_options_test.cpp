#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <fstream>

#include <gtest/gtest.h>

#include "fake_shell.h"
#include <array>
#include <tuple>
#include <utility>

#include "gui_fixture.h"
#include "support/default_settings.h"
#include "support/cli_run.h"
#include "support/expect_fields.h"
#include "support/temp_folder.h"
#include "synth_writer.h"
#include "windows/chart_options_dialog.h"

namespace vantrel::test {
namespace {

class Options_Test : public ::testing::Test {
protected:
    // A loaded file of 300 ensembles of 30 bins, facing down.
    void SetUp() override { Load(); }
    void Load(bool flow_meter = false) {
        const std::string path = folder_.Path("file.ens");
        synth::Write_Synth_File(path, {.ensembles = 300, .bins = 30, .flow_meter = flow_meter});
        ASSERT_TRUE(shell_.Open(path));
    }
    Chart_Options_Dialog& Open(int tab = 1) {
        dialog_.ForceLoad(true, tab);
        return dialog_;
    }
    template <class T = QWidget>
    T& Find(const QString& name) {
        T* w = dialog_.findChild<T*>(name);
        if (!w) throw std::runtime_error("no control " + name.toStdString());
        return *w;
    }
    // Clicks a control on its tab, as a user does.
    void Click(const QString& name) {
        QWidget& w = Find(name);
        for (QWidget* page = &w; page; page = page->parentWidget()) {
            const int index = dialog_.Tabs().indexOf(page);
            if (index >= 0) dialog_.Tabs().setCurrentIndex(index);
        }
        QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(6, w.height() / 2));
    }
    void Type(const QString& name, const QString& text) {
        auto& field = Find<QLineEdit>(name);
        field.selectAll();
        QTest::keyClicks(&field, text);
    }
    // Presses Save or Load with the file dialog answered by path.
    void Press_For(const char* caption, const std::string& path) {
        dialog_.file_chooser = [path](bool) { return path; };
        Press(dialog_, caption);
    }
    std::string Settings_Text(const char* name) {
        const std::string path = folder_.Path(name);
        Save_Options(shell_.state.settings, path);
        return Read_File_Text(path);
    }

    Temp_Folder folder_;
    Fake_Shell shell_;
    Chart_Options_Dialog dialog_{shell_, {}};
};

TEST_F(Options_Test, ContourChoicesRangesAndTheIntervalAreStoredAsTheRulesSay) {
    Data_Set& ds = shell_.state.ds;
    ASSERT_GE(ds.Orientation_Count, 1) << "the synthetic file faces down";
    Open();
    Click("optContour_Type_15");
    for (const auto& [field, text] : {std::pair{"txtEns_First", "50"}, {"txtEns_Last", "50"}, {"txtSel_First", "300"}, {"txtSel_Last", "300"},
                                      {"txtBin_First", "10"}, {"txtBin_Last", "3"}})
        Type(field, text);
    Click("optAveraging_1");
    Type("txtAveraging_Interval", "1:90:5.5");
    EXPECT_EQ((std::pair{Button(dialog_, "OK").isEnabled(), Button(dialog_, "Save").isEnabled()}), (std::pair{true, false}));
    Press(dialog_, "Apply");
    const Settings& s = shell_.state.settings;
    EXPECT_EQ((std::pair{s.Contour_Code, shell_.shown_code}), (std::pair{600, 600}));
    // Bins 3..10 counted from the instrument are data-set bins 21..28 of 30 when facing down.
    EXPECT_EQ(Range_Of(ds), (Sub_Range{50, 51, 21, 28}));
    EXPECT_DOUBLE_EQ(s.Averaging_Interval, 9005.05);
    Expect_Fields({{"sel first", ds.Sel_First_Ens, 299}, {"sel last", ds.Sel_Last_Ens, 300}, {"all", s.Averaging_All, false},
                   {"apply", Button(dialog_, "Apply").isEnabled(), false}});
    EXPECT_EQ((std::array{Find<QLineEdit>("txtBin_First").text(), Find<QLineEdit>("txtBin_Last").text(),
                          Find<QLineEdit>("txtAveraging_Interval").text()}),
              (std::array<QString, 3>{"3", "10", "0002:30:05.05"}));

    ds.Orientation_Count = 0;
    Click("optContour_Type_17");
    Type("txtBin_First", "10");
    Type("txtBin_Last", "3");
    Press(dialog_, "OK");
    EXPECT_EQ((std::tuple{s.Contour_Code, Range_Of(ds), dialog_.isVisible()}), (std::tuple{2000, Sub_Range{50, 51, 3, 10}, false}));
}

TEST_F(Options_Test, EveryControlGoesBackToTheSettingItCameFrom) {
    Settings& s = shell_.state.settings;
    s.Contour_Code = 30, s.Contour_Scale_Mode = 0, s.Contour_Scale_Limits = {-250, 750}, s.Contour_Switch_3 = true;
    s.Profile_Select[22] = true, s.Profile_Scale_Max[6] = 90;
    s.Series_Select[19] = s.Series_Select[35] = s.Series_Style_3 = true, s.Anc_Select[7] = true, s.Anc_Scale_Min[10] = 45.5;
    s.Water_Density = 1025.5F, s.Vel_Reference = 4, s.Vel_Scale = 1.25, s.EoP_Options[3] = true;
    s.Cursor_Ens = shell_.state.ds.Cursor_Ens = 12;
    shell_.state.ds.Series_Bins[0] = true;  // the bin farthest below the surface: list item 30
    s.Series_Bins_Setting[29] = true;       // ... and instrument bin 30, where the list stores it
    const std::string before = Settings_Text("before.txt");
    Open();
    auto& bins = Find<QListWidget>("lstSeries_Bins");
    EXPECT_EQ((std::tuple{bins.item(29)->checkState(), bins.item(0)->checkState(), bins.isRowHidden(30)}),
              (std::tuple{Qt::Checked, Qt::Unchecked, true}));
    dialog_.Dialog_To_Options();
    EXPECT_EQ(Settings_Text("after.txt"), before);
    Expect_Fields({{"bin 1", shell_.state.ds.Series_Bins[0], true}, {"bin 30", shell_.state.ds.Series_Bins[29], false},
                   {"no message", shell_.messages.empty(), true}});
    bins.item(29)->setCheckState(Qt::Unchecked);
    dialog_.Dialog_To_Options();
    EXPECT_FALSE(s.Series_Bins_Setting[29]) << "the list's choice is kept for the next run";
}

TEST_F(Options_Test, AScaleChangeRedrawsAndAReferenceChangeReopens) {
    Open(2);
    Type("txtProfile_Ens", "7");
    Type("txtProfile_Max_2", "1500");
    Press(dialog_, "Apply");
    EXPECT_EQ(shell_.state.settings.Profile_Scale_Max[2], 1500);
    Expect_Fields({{"redraws", shell_.redraws, 1}, {"reopens", shell_.reopens, 0}, {"cursor setting", shell_.state.settings.Cursor_Ens, 7},
                   {"cursor", shell_.state.ds.Cursor_Ens, 7}});

    Click("optVel_Reference_1");
    Press(dialog_, "Apply");
    Expect_Fields({{"reference", shell_.state.settings.Vel_Reference, 1}, {"reopens", shell_.reopens, 1}, {"redraws", shell_.redraws, 1}});

    shell_.busy = true;  // a load or an export runs: nothing is taken
    Type("txtProfile_Max_2", "900");
    Press(dialog_, "OK");
    Press(dialog_, "Default");
    EXPECT_EQ(shell_.state.settings.Profile_Scale_Max[2], 1500);
    Expect_Fields({{"reference", shell_.state.settings.Vel_Reference, 1}, {"redraws", shell_.redraws, 1}, {"reopens", shell_.reopens, 1},
                   {"visible", dialog_.isVisible(), true}});
}

TEST_F(Options_Test, NumbersOutsideTheirLimitsAreRefusedNamedAndKept) {
    Open(4);
    Type("txtWater_Density", "0");
    Type("txtVel_Scale", "0");
    Type("txtBT_Vel_Scale", "-2");
    Press(dialog_, "Apply");
    const Settings& s = shell_.state.settings;
    EXPECT_EQ((std::array<double, 3>{s.Water_Density, s.Vel_Scale, s.BT_Vel_Scale}), (std::array<double, 3>{1000, 1, 1}));
    EXPECT_EQ(shell_.reopens, 0) << "a refused scale is no change";
    EXPECT_EQ((std::pair{Find<QLineEdit>("txtWater_Density").text(), Find<QLineEdit>("txtVel_Scale").text()}),
              (std::pair<QString, QString>{"1000", "1"}));
    // One message names all three; the wording is the rules' own.
    ASSERT_EQ(shell_.messages.size(), 1u);
    EXPECT_NE(shell_.messages[0].find("Water Density: 0 is not between 500 and 2000; 1000 kept"), std::string::npos);
    EXPECT_NE(shell_.messages[0].find("Bottom: -2"), std::string::npos);

    Type("txtWater_Density", "1025");
    Press(dialog_, "Apply");
    EXPECT_EQ((std::pair{s.Water_Density, shell_.messages.size()}), (std::pair{1025.0F, std::size_t{1}}));
}

TEST_F(Options_Test, DefaultShowsTheDefaultsSoThatOkKeepsThem) {
    Settings& s = shell_.state.settings;
    s.Contour_Code = 100, s.Water_Density = 1020, s.Profile_Select[0] = s.EoP_Options[0] = true, s.Max_Sub_Ens = 512;
    Open(5);
    Press(dialog_, "Default");
    EXPECT_EQ(Find<QLineEdit>("txtWater_Density").text(), "1000");
    Expect_Fields({{"contour 14", Find<QAbstractButton>("optContour_Type_14").isChecked(), true},
                   {"profile 0", Find<QAbstractButton>("chkProfile_Type_0").isChecked(), false}, {"OK", Button(dialog_, "OK").isEnabled(), true}});
    Press(dialog_, "OK");
    Settings defaults = Default_Settings();
    EXPECT_EQ((std::pair{s.Water_Density, s.Profile_Select}), (std::pair{defaults.Water_Density, defaults.Profile_Select}));
    Expect_Fields({{"contour", s.Contour_Code, defaults.Contour_Code}, {"the Sub Set arrays were made for it", s.Max_Sub_Ens, 512},
                   {"the end-of-profile cut changed", shell_.reopens, 1}});
}

TEST_F(Options_Test, SaveRefusesANonEmptyFileAndLoadFillsTheControls) {
    Open(5);
    const std::string taken = folder_.Path("taken.txt"), fresh = folder_.Path("fresh.txt");
    Write_File_Text(taken, "mine");
    Press_For("Save", taken);
    EXPECT_EQ(Read_File_Text(taken), "mine");
    EXPECT_EQ(shell_.messages, std::vector<std::string>{"Over-Write of File Not Allowed"});

    Write_File_Text(fresh, "");  // an empty file is written
    shell_.state.settings.Water_Density = 1030;
    Press_For("Save", fresh);
    shell_.state.settings.Water_Density = 1000;
    Press_For("Load", fresh);
    EXPECT_EQ((std::tuple{shell_.state.settings.Water_Density, Find<QLineEdit>("txtWater_Density").text(), Button(dialog_, "Apply").isEnabled()}),
              (std::tuple{1030.0F, QString("1030"), true}));

    // A file holding a NaN stops there and names the line.
    std::string text = Read_File_Text(fresh);
    Write_File_Text(folder_.Path("damaged.txt"), text.replace(text.find("1030\r\n"), 4, "nan"));
    Press_For("Load", folder_.Path("damaged.txt"));
    ASSERT_EQ(shell_.messages.size(), 2u);
    EXPECT_NE(shell_.messages[1].find("stopped at line 391: \"nan\""), std::string::npos) << shell_.messages[1];
    EXPECT_EQ(shell_.state.settings.Water_Density, 1030) << "kept";
}

TEST_F(Options_Test, CtrlTabWrapsAndAFlowMeterShowsItsTwoProfiles) {
    Load(true);
    Open(5);
    QTest::keyClick(&Find<QLineEdit>("txtVel_Scale"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(dialog_.Tabs().currentIndex(), 0);
    QTest::keyClick(&Find<QLineEdit>("txtEns_First"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(dialog_.Tabs().currentIndex(), 1);
    for (const auto& [name, caption] : {std::pair{"optContour_Type_10", "Prof #1"}, {"chkProfile_Type_10", "Prof #1"},
                                        {"chkSeries_Type_10", "Prof #1"}, {"chkSeries_Type_11", "Prof #2"}})
        EXPECT_EQ(Find<QAbstractButton>(name).text(), caption) << name;
    // Magnitude is cleared and gives way to the first profile.
    Expect_Fields({{"18 enabled", Find<QAbstractButton>("chkProfile_Type_18").isEnabled(), false},
                   {"magnitude", Find<QAbstractButton>("chkProfile_Type_14").isChecked(), false},
                   {"contour 10", Find<QAbstractButton>("optContour_Type_10").isChecked(), true},
                   {"19 enabled", Find<QAbstractButton>("chkProfile_Type_19").isEnabled(), true}});
}

}  // namespace
}  // namespace vantrel::test
