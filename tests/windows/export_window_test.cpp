#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <fstream>

#include <netcdf.h>

#include "commands.h"
#include <array>
#include <tuple>
#include <utility>

#include "gui_fixture.h"
#include "support/cli_run.h"
#include "support/expect_fields.h"
#include "windows/export_window.h"
#include "windows/track_vector_window.h"

namespace vantrel::test {
namespace {

class Export_Test : public Gui_Test {
protected:
    Export_Window& Open_Export() {
        W().Menus().Export->trigger();
        Export_Window* e = W().Exporter();
        if (!e) throw std::runtime_error("no export window");
        return *e;
    }
    Export_Window& E() { return *W().Exporter(); }
    void Press(int tab, const char* caption) { test::Press(*E().Tabs().widget(tab), caption); }
    QListWidget& Bins(int tab) { return *E().Tabs().widget(tab)->findChild<QListWidget*>(); }
    void Choose_Type(int tab, const char* caption) {
        for (QAbstractButton* b : E().Tabs().widget(tab)->findChildren<QAbstractButton*>()) {
            if (b->text() == caption) QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        }
    }
    void Write_To(const std::string& path) {
        E().file_chooser = [path](Export_File_Type) { return path; };
        QTest::mouseClick(&E().Write_Button(), Qt::LeftButton);
    }
};

TEST_F(Export_Test, EachTabWritesTheFileTheCommandLineWrites) {
    const std::string file = Synth("data.ens", 60, 20);
    W().Start({file});
    ASSERT_TRUE(W().State().ds.File_Loaded);
    Open_Export();
    const char* const kinds[] = {"contour", "profile", "series"};
    for (int tab = 0; tab < 3; ++tab) {
        E().Tabs().setCurrentIndex(tab);
        Press(tab, "All");
        for (const char* format : {"txt", "mat"}) {
            if (std::string(format) == "mat") Choose_Type(tab, "MAT");
            const std::string gui = folder_.Path(std::string("gui-") + kinds[tab] + "." + format);
            const std::string cli = folder_.Path(std::string("cli-") + kinds[tab] + "." + format);
            Write_To(gui);
            cli::Args args{file, "-o", cli, "--kind", kinds[tab], "--format", format, "--bins", "1-20"};
            if (tab == 0) args.insert(args.end(), {"--type", "14"});
            if (tab != 0) args.insert(args.end(), {"--types", "14,15"});
            ASSERT_EQ(cli::Run_Export(args), 0);
            const std::string written = Read_File_Text(gui);
            EXPECT_GT(written.size(), 100u) << gui;
            EXPECT_EQ(written, Read_File_Text(cli)) << kinds[tab] << " " << format;
        }
    }
    Expect_Fields({{"no message", W().Last_Message().isEmpty(), true}, {"write", E().Write_Button().isEnabled(), true},
                   {"file menu", W().Menus().File->menuAction()->isEnabled(), true}});

    // A target that is not empty is refused and left as it was.
    const std::string taken = folder_.Path("gui-series.mat"), kept = Read_File_Text(taken);
    Write_To(taken);
    EXPECT_EQ((std::tuple{Read_File_Text(taken), W().Last_Message(), W().Is_Busy()}),
              (std::tuple{kept, QStringLiteral("Over-Write of File Not Allowed"), false}));
}

TEST_F(Export_Test, TheNetcdfTypeConvertsEveryEnsembleOfTheTabsLimitedRange) {
    W().Start({Synth("data.ens", 60, 20)});
    Open_Export();
    E().Tabs().setCurrentIndex(0);
    auto fields = E().Tabs().widget(0)->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 3);
    fields[0]->setText("11"), fields[1]->setText("900");
    Choose_Type(0, "netCDF");
    const std::string out = folder_.Path("range.nc");
    Export_File_Type asked = Export_File_Type::k_text;
    E().file_chooser = [&](Export_File_Type type) { asked = type; return out; };
    QTest::mouseClick(&E().Write_Button(), Qt::LeftButton);
    EXPECT_EQ(asked, Export_File_Type::k_netcdf);
    EXPECT_TRUE(W().Last_Message().isEmpty()) << W().Last_Message().toStdString();
    EXPECT_EQ(fields[1]->text(), QStringLiteral("60")) << "limited to the file's last ensemble";

    int nc = -1, dim = -1, var = -1, first = 0;
    std::size_t steps = 0, at_first = 0;
    ASSERT_EQ(nc_open(out.c_str(), NC_NOWRITE, &nc), NC_NOERR);
    EXPECT_EQ((std::array{nc_inq_dimid(nc, "time", &dim), nc_inq_dimlen(nc, dim, &steps), nc_inq_varid(nc, "ensemble_number", &var),
                          nc_get_var1_int(nc, var, &at_first, &first)}),
              (std::array{NC_NOERR, NC_NOERR, NC_NOERR, NC_NOERR}));
    nc_close(nc);
    EXPECT_EQ((std::tuple{steps, first, W().Is_Busy()}), (std::tuple{std::size_t{50}, 11, false}));
}

TEST_F(Export_Test, AllAndNoneTouchOnlyTheFilesBinsAndTheSpareSeriesBoxesKeepTheirState) {
    Open_Export();
    bool asked = false;
    E().file_chooser = [&](Export_File_Type) { asked = true; return folder_.Path("never.txt"); };
    QTest::mouseClick(&E().Write_Button(), Qt::LeftButton);
    EXPECT_FALSE(asked) << "nothing is loaded";

    W().Start({Synth("data.ens", 40, 20)});
    Open_Export();
    QListWidget& bins = Bins(1);
    bins.item(24)->setSelected(true);
    Press(1, "All");
    EXPECT_EQ((std::array{bins.item(0)->isSelected(), bins.item(19)->isSelected(), bins.item(20)->isSelected()}), (std::array{true, true, false}));
    Press(1, "None");
    Expect_Fields({{"bin 19", bins.item(19)->isSelected(), false}, {"beyond the file's bins", bins.item(24)->isSelected(), true},
                   {"each tab has its own list", Bins(0).item(0)->isSelected(), false}});

    auto* calimbro = E().findChild<QAbstractButton*>("chkSeries_Type_38");
    auto* magnitude = E().findChild<QAbstractButton*>("chkSeries_Type_14");
    calimbro->setChecked(true), magnitude->setChecked(false);
    W().State().settings.Contour_Code = 2000;  // no such option here: the choice stays
    Open_Export();
    Expect_Fields({{"calimbro", calimbro->isChecked(), true}, {"magnitude", magnitude->isChecked(), true},
                   {"contour", E().findChild<QAbstractButton*>("optContour_Type_14")->isChecked(), true},
                   {"series 38", E().Selection().Series_Types[38], true}});
}

TEST_F(Export_Test, QuitDuringALongExportStopsItRestoresTheSubSetAndCloses) {
    W().Start({Synth("long.ens", 30000, 4)});
    ASSERT_TRUE(W().Load_Sub_Set(100, 200));
    const Data_Set& ds = W().State().ds;
    W().State().ds.Cursor_Ens = 150;
    const std::int32_t first_bin = ds.First_Bin, last_bin = ds.Last_Bin;
    Open_Export();
    E().Tabs().setCurrentIndex(2);
    Press(2, "All");
    auto fields = E().Tabs().widget(2)->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 3);
    fields[0]->setText("1"), fields[1]->setText("30000");
    bool menus_enabled = true, whole_enabled = true, quit_enabled = false;
    const auto track_menus = [&] {
        return W().Track().Animate_Menu->menuAction()->isEnabled() || W().Track().Select_Reference->isEnabled();
    };
    When([&] { return E().Busy() && E().Progress().value() > 0; }, [&] {
        menus_enabled = W().Menus().File->menuAction()->isEnabled() || W().Menus().Export->isEnabled() || track_menus();
        whole_enabled = W().Whole_Frame().isEnabled();
        quit_enabled = E().Quit_Button().isEnabled();
        QTest::mouseClick(&E().Quit_Button(), Qt::LeftButton);
    });
    const std::string out = folder_.Path("series.txt");
    Write_To(out);
    EXPECT_EQ(Range_Of(ds), (Sub_Range{100, 200, first_bin, last_bin}));
    Expect_Fields({{"menus during", menus_enabled, false}, {"whole during", whole_enabled, false}, {"quit during", quit_enabled, true},
                   {"visible", E().isVisible(), false}, {"cursor", ds.Cursor_Ens, 150}, {"busy", W().Is_Busy(), false},
                   {"whole after", W().Whole_Frame().isEnabled(), true},
                   {"file menu", W().Menus().File->menuAction()->isEnabled(), true}, {"track menus", track_menus(), true}});
    const std::string written = Read_File_Text(out);
    EXPECT_TRUE(written.size() > 0 && std::count(written.begin(), written.end(), '\n') < 29000) << "nothing written, or the export ran to its end";
}

}  // namespace
}  // namespace vantrel::test
