#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTabWidget>

#include "gui_fixture.h"
#include "windows/chart_options_dialog.h"
#include "windows/export_window.h"
#include "windows/screenshot.h"

namespace vantrel::test {
namespace {

// Distinct colours in a band of rows: a drawn contour has dozens, an empty window a few.
int Colours_In_Rows(const QImage& image, int top, int bottom) {
    QSet<QRgb> colours;
    for (int y = top; y < bottom && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    }
    return static_cast<int>(colours.size());
}

TEST_F(Gui_Test, ScreenshotsShowTheChartsAndTheTracesAndRefuseAnUnknownWindowOrFile) {
    // The track window projects on the bottom-track course.
    const QString file = QString::fromStdString(Synth("bt.ens", {.ensembles = 600, .bins = 20, .bottom_track = true}));
    const QString out = QString::fromStdString(folder_.Path("main.png"));
    ASSERT_EQ(Run_Screenshot({out, file}), 0);
    const QImage image(out);
    ASSERT_EQ(image.size(), QSize(1024, 768));
    // Whole Set in the upper part, Sub Set below it.
    EXPECT_GT(Colours_In_Rows(image, 60, 200), 40);
    EXPECT_GT(Colours_In_Rows(image, 300, 500), 40);

    const QString sub = QString::fromStdString(folder_.Path("sub.png"));
    ASSERT_EQ(Run_Screenshot({QStringLiteral("--window"), QStringLiteral("sub"), sub, file}), 0);
    EXPECT_LT(QImage(sub).height(), 768);

    for (const QString& name : {QStringLiteral("track"), QStringLiteral("trend")}) {
        const QString shot = QString::fromStdString(folder_.Path(name.toStdString() + ".png"));
        ASSERT_EQ(Run_Screenshot({QStringLiteral("--window"), name, shot, file}), 0);
        const QImage traces = QImage(shot).convertToFormat(QImage::Format_RGB32);
        int traced = 0;  // pixels in the series colours of the three bins
        for (int y = 0; y < traces.height(); ++y)
            for (int x = 0; x < traces.width(); ++x) {
                const QRgb p = traces.pixel(x, y);
                traced += p == qRgb(255, 0, 0) || p == qRgb(0, 255, 1) || p == qRgb(0, 0, 255);
            }
        EXPECT_GT(traced, 200) << name.toStdString();
    }

    // An unknown window and a file that does not load are refused, and nothing is written.
    const QString refused = QString::fromStdString(folder_.Path("x.png"));
    EXPECT_EQ(Run_Screenshot({QStringLiteral("--window"), QStringLiteral("nowhere"), refused, file}), 1);
    EXPECT_EQ(Run_Screenshot({refused, QString::fromStdString(folder_.Path("missing.ens"))}), 1);
    EXPECT_FALSE(QFile::exists(refused));
}

// Every tab of both dialogs fits the smallest main window, cuts no caption, and Tab
// reaches the page's controls before the dialog's own buttons.
TEST_F(Gui_Test, DialogsFitTheSmallestWindowWithEveryCaptionWhole) {
    W().Start({Synth("a.ens", 100)});
    W().Open_Chart_Options(1);
    W().Menus().Export->trigger();
    for (QDialog* dialog : {static_cast<QDialog*>(W().Options()), static_cast<QDialog*>(W().Exporter())}) {
        auto* tabs = dialog->findChild<QTabWidget*>(QStringLiteral("tbsOptions"));
        ASSERT_NE(tabs, nullptr);
        for (int t = 0; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            QApplication::processEvents();
            EXPECT_LE(dialog->width(), 1024);
            EXPECT_LE(dialog->height(), 700);
            for (QWidget* w : tabs->widget(t)->findChildren<QWidget*>()) {
                if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))) continue;
                EXPECT_GE(w->width(), w->minimumSizeHint().width()) << dialog->windowTitle().toStdString() << " tab " << t;
            }
        }
        std::vector<QWidget*> chain;
        for (QWidget* w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain()) chain.push_back(w);
        const auto at = [&chain](const QString& name) {
            for (std::size_t i = 0; i < chain.size(); ++i) {
                if (chain[i]->objectName() == name) return i;
            }
            return chain.size();
        };
        const auto first_page_control = at(QStringLiteral("optContour_Type_0"));
        ASSERT_LT(first_page_control, chain.size());
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
            if (b->parentWidget() == dialog) {
                const auto it = std::find(chain.begin(), chain.end(), b);
                EXPECT_GT(it - chain.begin(), static_cast<std::ptrdiff_t>(first_page_control)) << b->text().toStdString();
            }
        }
    }
    const QString out = QString::fromStdString(folder_.Path("options.png"));
    ASSERT_EQ(Run_Screenshot({QStringLiteral("--window"), QStringLiteral("export"), QStringLiteral("--tab"), QStringLiteral("3"), out,
                              QString::fromStdString(folder_.Path("a.ens"))}), 0);
    EXPECT_LE(QImage(out).width(), 1024);
}

}  // namespace
}  // namespace vantrel::test
