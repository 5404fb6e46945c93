#include "windows/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vantrel {

namespace {

QAction* Item(QMenu* menu, const char* caption, bool checkable = false, bool checked = false, bool enabled = true) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setCheckable(checkable);
    action->setChecked(checked);
    action->setEnabled(enabled);
    return action;
}

// "&Whole Set" and "&Sub Set" under a sub-menu.
std::array<QAction*, 2> Set_Pair(QMenu* menu) { return {Item(menu, "&Whole Set"), Item(menu, "&Sub Set")}; }

// "&Go" (checked while running) and "&Rewind"; the animations come with the windows they move.
std::array<QAction*, 2> Go_Rewind(QMenu* menu) {
    return {Item(menu, "&Go", true, false, false), Item(menu, "&Rewind", false, false, false)};
}

}  // namespace

QString Path_Caption(const QString& path) {
    QString caption = path;
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

Main_Menus Build_Main_Menus(QMenuBar& bar) {
    Main_Menus m;
    m.File = bar.addMenu(QStringLiteral("&File"));
    m.MultiFile = Item(m.File, "MultiFile", true, true);
    m.Open_File = Item(m.File, "&Open");
    m.Save_Selected_Data_Set = Item(m.File, "Save Selected Set");
    m.Save_View_Data_Set = Item(m.File, "Save Sub Set");
    m.Exit = Item(m.File, "E&xit");
    m.File->addSeparator();
    for (std::size_t i = 0; i < m.Old_File.size(); ++i) {
        m.Old_File[i] = Item(m.File, std::to_string(i + 1).c_str());
        m.Old_File[i]->setCheckable(true);
        m.Old_File[i]->setVisible(false);
    }

    m.Edit = bar.addMenu(QStringLiteral("&Edit"));
    m.Copy = m.Edit->addMenu(QStringLiteral("&Copy"));
    m.Copy_Form = Set_Pair(m.Copy);
    m.Paint_Menu = m.Edit->addMenu(QStringLiteral("MSPAINT"));
    m.Paint = Set_Pair(m.Paint_Menu);
    m.Flip_Over = Item(m.Edit, "&Flip", true);
    m.Report = Item(m.Edit, "&Report", false, false, false);

    m.Options = bar.addMenu(QStringLiteral("&Options"));
    m.Chart_Options_Menu = m.Options->addMenu(QStringLiteral("Chart &Options"));
    const char* const tabs[] = {"&Contour", "&Profile", "&Series", "&Ancillary", "P&rocessing"};
    for (std::size_t i = 0; i < m.Chart_Options.size(); ++i) {
        m.Chart_Options[i] = Item(m.Chart_Options_Menu, tabs[i]);
    }
    m.Max_Ensembles = Item(m.Options, "Max &Ensembles");

    m.Animate = bar.addMenu(QStringLiteral("&Animate"));
    m.Contour_Menu = m.Animate->addMenu(QStringLiteral("&Contour"));
    m.Animate_Contour = Go_Rewind(m.Contour_Menu);
    m.Profile_Menu = m.Animate->addMenu(QStringLiteral("&Profile"));
    m.Animate_Profile = Go_Rewind(m.Profile_Menu);
    m.Series_Menu = m.Animate->addMenu(QStringLiteral("&Series"));
    m.Animate_Series = Go_Rewind(m.Series_Menu);

    m.Export = bar.addAction(QStringLiteral("E&xport"));

    m.Utilities = bar.addMenu(QStringLiteral("&Utilities"));
    m.File_Details = Item(m.Utilities, "&File Details");
    m.Trend = Item(m.Utilities, "&Trend", false, false, false);  // enabled with a file loaded

    m.Window = bar.addMenu(QStringLiteral("&Window"));
    m.Align_Forms = Item(m.Window, "&Align Forms");
    m.Show_Info = Item(m.Window, "&Information", true, true);
    m.Show_Whole = Item(m.Window, "&Whole Set", true, true);
    m.Show_Sub = Item(m.Window, "&Sub Set", true, true);
    m.Show_Viewer = Item(m.Window, "&Viewer", true);
    m.Show_Track = Item(m.Window, "&Track Vector", true, false, false);

    m.Monitor = bar.addMenu(QStringLiteral("&Monitor"));
    m.AutoTrack = Item(m.Monitor, "On", true);
    m.TrackInt = Item(m.Monitor, "Interval");

    m.Help = bar.addMenu(QStringLiteral("&Help"));
    m.Show_Help = Item(m.Help, "&Help");
    m.Show_About = Item(m.Help, "&About");

    m.Monitor_Count = bar.addAction(QString());
    return m;
}

}  // namespace vantrel
