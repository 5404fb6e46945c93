// vantrel-cli render draws each view into a PNG of the asked size; its refusals are with the others.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

TEST(Cli_Render, EveryViewWritesAPictureOfTheAskedSize) {
    Temp_Folder dir;
    const std::string file = dir.Path("run.ens");
    synth::Write_Synth_File(file, {.ensembles = 300, .bins = 16, .bottom_track = true, .noise = 20});
    for (const std::string view : {"whole", "sub", "series", "profile", "subwindow"}) {
        const std::string png = dir.Path(view + ".png");
        const auto r = Run_Cli("render --view " + view + " --size 640x400 --series-bins 2,9 --anc 0,3 -o " +
                                   Quoted(png) + " " + Quoted(file),
                               dir.Path(""));
        ASSERT_EQ(r.exit_code, 0) << view << ": " << r.err;
        const QImage image(QString::fromStdString(png), "PNG");
        ASSERT_EQ(image.size(), QSize(640, 400)) << view;
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
        // Text, frames and data: far more than a background and a frame colour.
        EXPECT_GT(colours.size(), 3u) << view;
    }

    // The default size, and a picture of the contour only that depends on the colour code.
    const auto contour = [&](const std::string& code, const std::string& png) {
        return Run_Cli("render --view sub --code " + code + " -o " + Quoted(dir.Path(png)) + " " + Quoted(file), dir.Path("")).exit_code;
    };
    ASSERT_EQ(contour("100", "east.png"), 0);
    const QImage east(QString::fromStdString(dir.Path("east.png")));
    EXPECT_EQ(east.size(), QSize(1280, 720));
    ASSERT_EQ(contour("10", "corr.png"), 0);
    EXPECT_NE(east, QImage(QString::fromStdString(dir.Path("corr.png"))));
}

}  // namespace
}  // namespace vantrel::test
