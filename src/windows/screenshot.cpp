#include "windows/screenshot.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>

#include "app_state.h"
#include "loading/save_range.h"
#include "platform/qt/qimage_surface.h"
#include "windows/chart_options_dialog.h"
#include "windows/data_viewer_window.h"
#include "windows/export_window.h"
#include "windows/file_details_window.h"
#include "windows/main_window.h"

namespace vantrel {

namespace {

int Fail(const QString& line) {
    std::fprintf(stderr, "%s\n", qPrintable(line));
    return 1;
}

// The picture under the output rule: never over a file being read, a special file or a file holding data.
int Save_Picture(const QPixmap& picture, const QString& out, const Open_State& state) {
    const Outcome saved = Save_Png_File(picture.toImage(), out.toStdString(), Input_Files(state));
    return saved ? 0 : Fail(QString::fromStdString(saved.message));
}

}  // namespace

void Quiet_Qt_Notes() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
}

QStringList Screenshot_Window_Names() {
    return {QStringLiteral("main"),        QStringLiteral("whole"),   QStringLiteral("sub"),
            QStringLiteral("information"), QStringLiteral("details"), QStringLiteral("viewer"),
            QStringLiteral("options"),     QStringLiteral("export"),
            QStringLiteral("track"),       QStringLiteral("trend")};
}

namespace {

// The frame of the named window, opened and filled as a user would see it after the load.
QMdiSubWindow& Open_Named_Window(Main_Window& window, const QString& name, const QString& file) {
    if (name == QStringLiteral("sub")) return window.Sub_Frame();
    if (name == QStringLiteral("information")) return window.Info_Frame();
    if (name == QStringLiteral("details")) {
        window.Details_Frame().show();
        window.Details().Show_File_Details(file.toStdString());
        return window.Details_Frame();
    }
    if (name == QStringLiteral("track")) {
        window.Menus().Show_Track->setChecked(true);
        return window.Track_Frame();
    }
    if (name == QStringLiteral("trend")) {
        window.Show_Trend();
        return window.Trend_Frame();
    }
    if (name == QStringLiteral("viewer")) {
        window.Menus().Show_Viewer->setChecked(true);
        return window.Viewer_Frame();
    }
    return window.Whole_Frame();
}

// The chart options dialog or the export window on tab (1..), when name is one of them.
QWidget* Open_Dialog(Main_Window& window, const QString& name, int tab) {
    QTabWidget* tabs = nullptr;
    QWidget* dialog = nullptr;
    if (name == QStringLiteral("options")) {
        window.Open_Chart_Options(tab);
        dialog = window.Options();
        tabs = &window.Options()->Tabs();
    } else if (name == QStringLiteral("export")) {
        window.Show_Export();
        dialog = window.Exporter();
        tabs = &window.Exporter()->Tabs();
    }
    if (tabs) tabs->setCurrentIndex(std::clamp(tab, 1, tabs->count()) - 1);
    return dialog;
}

}  // namespace

int Run_Screenshot(const QStringList& arguments) {
    QString out, file, name = QStringLiteral("main");
    QSize size(1024, 768);
    int tab = 1;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QStringLiteral("--window")) {
            if (++i >= arguments.size()) return Fail(QStringLiteral("--window: a window name is needed"));
            name = arguments[i];
        } else if (a == QStringLiteral("--size")) {
            const QStringList wh = ++i < arguments.size() ? arguments[i].split(QLatin1Char('x')) : QStringList();
            const int w = wh.size() == 2 ? wh[0].toInt() : 0, h = wh.size() == 2 ? wh[1].toInt() : 0;
            if (w < 320 || h < 240 || w > 8192 || h > 8192) return Fail(QStringLiteral("--size: WIDTHxHEIGHT is needed"));
            size = QSize(w, h);
        } else if (a == QStringLiteral("--tab")) {
            if (++i >= arguments.size()) return Fail(QStringLiteral("--tab: a tab number is needed"));
            tab = arguments[i].toInt();
        } else if (out.isEmpty()) {
            out = a;
        } else if (file.isEmpty()) {
            file = a;
        } else {
            return Fail(QStringLiteral("usage: vantrel --screenshot OUT.png [--window NAME] [--tab N] [--size WxH] FILE"));
        }
    }
    if (out.isEmpty() || file.isEmpty()) return Fail(QStringLiteral("usage: vantrel --screenshot OUT.png [--window NAME] [--tab N] [--size WxH] FILE"));
    if (!Screenshot_Window_Names().contains(name)) {
        return Fail(QStringLiteral("--window: unknown window '%1' (%2)").arg(name, Screenshot_Window_Names().join(QStringLiteral(", "))));
    }

    Shell_Paths paths;
    paths.persist = false;
    Main_Window window(paths);
    window.quiet = true;
    window.resize(size);
    window.show();
    QApplication::processEvents();  // the frame's layout gives the inner size the windows fit
    window.Place_Windows();
    // No user settings here: the child windows fill the frame of the size asked for.
    window.Align_Forms();
    QApplication::processEvents();
    if (name == QStringLiteral("track") || name == QStringLiteral("trend")) {
        // Three bins of the series chart, as a user picks them for these views.
        for (std::size_t bin : {2, 8, 14}) window.State().settings.Series_Bins_Setting[bin - 1] = true;
    }
    window.Open_File_Now(file.toStdString());
    if (!window.State().ds.File_Loaded) {
        return window.Last_Message().isEmpty() ? Fail(QStringLiteral("Not enough VALID ensembles")) : 1;
    }
    if (QWidget* dialog = Open_Dialog(window, name, tab)) {
        QApplication::processEvents();
        return Save_Picture(dialog->grab(), out, window.State());
    }
    QMdiSubWindow& frame = Open_Named_Window(window, name, file);
    if (name != QStringLiteral("main") && !frame.isVisible()) frame.show();
    frame.raise();
    QApplication::processEvents();
    const QPixmap picture = name == QStringLiteral("main") ? window.grab() : frame.grab();
    return Save_Picture(picture, out, window.State());
}

}  // namespace vantrel
