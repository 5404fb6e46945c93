#include <QImage>
#include <QSet>

#include "gui_fixture.h"
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

TEST_F(Gui_Test, ScreenshotOfTheMainWindowShowsBothChartsAfterALoad) {
    const QString file = QString::fromStdString(Synth("a.ens", 600));
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
}

TEST_F(Gui_Test, ScreenshotsOfTheTrackAndTrendWindowsDrawTheBinsTraces) {
    synth::Synth_Options opt;
    opt.ensembles = 300;
    opt.bins = 20;
    opt.bottom_track = true;  // the track window projects on the bottom-track course
    const std::string path = folder_.Path("bt.ens");
    synth::Write_Synth_File(path, opt);
    const QString file = QString::fromStdString(path);
    for (const QString& name : {QStringLiteral("track"), QStringLiteral("trend")}) {
        const QString out = QString::fromStdString(folder_.Path(name.toStdString() + ".png"));
        ASSERT_EQ(Run_Screenshot({QStringLiteral("--window"), name, out, file}), 0);
        const QImage image = QImage(out).convertToFormat(QImage::Format_RGB32);
        int traced = 0;  // pixels in the series colours of the three bins
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                traced += p == qRgb(255, 0, 0) || p == qRgb(0, 255, 1) || p == qRgb(0, 0, 255);
            }
        EXPECT_GT(traced, 200) << name.toStdString();
    }
}

TEST_F(Gui_Test, ScreenshotRefusesAnUnknownWindowAndAFileThatDoesNotLoad) {
    const QString out = QString::fromStdString(folder_.Path("x.png"));
    const QString file = QString::fromStdString(Synth("a.ens", 50));
    EXPECT_EQ(Run_Screenshot({QStringLiteral("--window"), QStringLiteral("nowhere"), out, file}), 1);
    EXPECT_EQ(Run_Screenshot({out, QString::fromStdString(folder_.Path("missing.ens"))}), 1);
    EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
}  // namespace vantrel::test
