// The QImage surface: drawing modes, boxes, text, copies and turned titles.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include <QPainter>

#include "charts/chart_primitives.h"
#include "dataset/data_set.h"
#include "platform/qt/qimage_surface.h"
#include "platform/recording_surface.h"

namespace vantrel {
namespace {

const bool k_offscreen = [] { return setenv("QT_QPA_PLATFORM", "offscreen", 1) == 0; }();

// Colours of every pixel, row by row.
std::vector<Colour> Pixels(const Surface& s) {
    std::vector<Colour> out;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) out.push_back(s.Get_Point(x, y));
    return out;
}

TEST(QImage_Surface, InvertingLineDrawnTwiceRestoresTheImage) {
    ASSERT_TRUE(k_offscreen);
    QImage_Surface s(60, 40);
    s.Fill_Color = Rgb(10, 200, 30);
    s.Fill_Box(5, 5, 50, 30);
    s.Fore_Color = Rgb(200, 0, 0);
    s.Draw_Line(0, 0, 59, 39);
    const auto before = Pixels(s);
    s.Drawing_Mode = Draw_Mode::k_invert;
    s.Fore_Color = k_white;
    for (const Line_Style style : {Line_Style::k_solid, Line_Style::k_dotted}) {
        s.Draw_Style = style;
        s.Draw_Line(2, 35, 58, 3);
        // Once: every touched pixel is the old colour inverted.
        const auto once = Pixels(s);
        int changed = 0;
        for (std::size_t i = 0; i < once.size(); ++i) {
            if (once[i] == before[i]) continue;
            ++changed;
            EXPECT_EQ(once[i], before[i] ^ 0xFFFFFF);
        }
        EXPECT_GT(changed, style == Line_Style::k_solid ? 50 : 15);
        s.Draw_Line(2, 35, 58, 3);
        EXPECT_EQ(Pixels(s), before);
    }
}

TEST(QImage_Surface, StraightLinesHaveThePaintersPixels) {
    // Rows, columns and points are written without the painter; they must match it pixel for pixel,
    // in both directions, clipped at every edge, in order with the painter's own lines.
    QImage_Surface s(40, 30);
    QImage painted(40, 30, QImage::Format_RGB32);
    painted.fill(Qt::white);
    QPainter p(&painted);
    std::uint32_t seed = 99;
    const auto next = [&seed](int range) { return static_cast<int>((seed = seed * 1664525u + 1013904223u) >> 8) % range - 10; };
    for (int i = 0; i < 300; ++i) {
        const Colour colour = Rgb(i % 256, (7 * i) % 256, (13 * i) % 256);
        const int x1 = next(60), y1 = next(50), along = next(60), kind = i % 4;
        const int x2 = kind == 0 ? x1 : along, y2 = kind == 1 ? y1 : kind == 0 ? along : next(50);
        s.Fore_Color = colour;
        if (kind == 3) s.Set_Point(x1, y1, colour);
        else s.Draw_Line(x1, y1, x2, y2);
        QPen pen(To_QColor(colour));
        pen.setWidth(1);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        if (kind == 3 || (x1 == x2 && y1 == y2)) p.drawPoint(x1, y1);
        else p.drawLine(x1, y1, x2, y2);
    }
    p.end();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(s.Get_Point(x, y), From_QRgb(painted.pixel(x, y))) << x << "," << y;
}

TEST(QImage_Surface, BoxesIncludeBothCornersPointsHaveTheLineWidthAndAUserScaleMapsOntoPixels) {
    QImage_Surface s(30, 30);
    s.Fill_Color = Rgb(1, 2, 3);
    s.Fill_Box(20, 20, 10, 10);
    s.Draw_Width = 4;
    s.Set_Point(5, 25, Rgb(9, 9, 9));
    // Both box corners, beside the box, the wide point's corners, beside it, and outside.
    EXPECT_EQ((std::array{s.Get_Point(10, 10), s.Get_Point(20, 20), s.Get_Point(21, 20), s.Get_Point(4, 24), s.Get_Point(6, 26),
                          s.Get_Point(8, 25), s.Get_Point(-1, 3)}),
              (std::array{Rgb(1, 2, 3), Rgb(1, 2, 3), k_white, Rgb(9, 9, 9), Rgb(9, 9, 9), k_white, s.Back_Color}));
    EXPECT_DOUBLE_EQ(s.Current_X, 5);

    QImage_Surface u(100, 50);
    u.Set_Scale(0, 10, 10, 0);  // y grows upwards, ten units across
    u.Fill_Color = Rgb(5, 6, 7);
    u.Fill_Box(5, 0, 10, 5);  // the lower right quarter
    const std::array scaled{u.Get_Point(7, 2), u.Get_Point(2, 2), u.Get_Point(7, 8)};
    u.Reset_Scale();
    EXPECT_EQ(scaled, (std::array{Rgb(5, 6, 7), k_white, k_white}));
    EXPECT_EQ((std::array{u.Get_Point(70, 40), u.Get_Point(70, 10)}), (std::array{Rgb(5, 6, 7), k_white}));
}

TEST(QImage_Surface, AViewDrawsIntoItsRectangleOnlyAndOnlyARectangleInsideGetsOne) {
    QImage_Surface s(12, 10);
    EXPECT_EQ(s.Create_View(8, 2, 5, 3), nullptr);
    EXPECT_EQ(s.Create_View(-1, 0, 2, 2), nullptr);
    {
        const auto view = s.Create_View(3, 2, 4, 5);
        ASSERT_NE(view, nullptr);
        view->Back_Color = Rgb(1, 2, 3);
        view->Clear();
        view->Set_Point(3, 4, Rgb(9, 9, 9));  // its last pixel
        view->Draw_Line(0, 0, 20, 0);          // runs off its right edge
    }
    EXPECT_EQ((std::array{s.Get_Point(3, 3), s.Get_Point(6, 6), s.Get_Point(6, 2), s.Get_Point(7, 2), s.Get_Point(2, 4),
                          s.Get_Point(4, 7)}),
              (std::array{Rgb(1, 2, 3), Rgb(9, 9, 9), k_black, k_white, k_white, k_white}));
}

// Bounding box of the ink on a white surface.
struct Ink {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};
Ink Ink_Of(const Surface& s, int x_from, int x_to, int y_from, int y_to) {
    Ink ink;
    for (int y = y_from; y < y_to; ++y)
        for (int x = x_from; x < x_to; ++x)
            if (s.Get_Point(x, y) != k_white) {
                ink.x0 = std::min(ink.x0, x), ink.x1 = std::max(ink.x1, x);
                ink.y0 = std::min(ink.y0, y), ink.y1 = std::max(ink.y1, y);
            }
    return ink;
}

TEST(Vertical_Title, ReadsUpwardsOrDownwardsFromItsAnchor) {
    QImage_Surface chart(200, 200), scratch;
    chart.Set_Font("Arial", 12, false);
    // Ink only in the first letter: where it lands tells the reading direction.
    const std::string text = "I        ";
    const double w = chart.TextWidth(text), h = chart.TextHeight(text);
    for (const bool up : {true, false}) {
        const int x = up ? 50 : 120;
        PrintVerticalTitle(chart, scratch, text, x, 150, up);
        const Ink ink = Ink_Of(chart, x - 50, x + 50, 0, 200);
        ASSERT_GE(ink.x1, 0) << up;
        EXPECT_TRUE(ink.x0 >= x && ink.x1 < x + h) << up;
        // The first letter sits at the anchor reading up, at the top end reading down.
        const double letter_bottom = up ? 150 : 150 - w + w / 3;
        EXPECT_TRUE(ink.y1 <= letter_bottom && ink.y0 >= letter_bottom - w / 3) << up << ": " << ink.y0 << ".." << ink.y1;
    }
}

TEST(Traces, ManySamplesAColumnGiveThePixelsOfTheSampleBySampleLine) {
    // Random walks with jumps, gaps and a 0-360 wrap, drawn a column at a time, against the
    // same trace drawn sample by sample: an inverting surface gets no columns, so its
    // recorded lines and points, replayed as they are, are the reference.
    const Colour colour = Rgb(0, 0, 255);
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (const double dx : {0.05, 0.3, 0.9}) {
        const std::int32_t n = 2000;
        Dense_Array<std::int16_t> data;
        data.Resize(6, n);
        std::int32_t v = 1800;
        for (std::int32_t i = 0; i < n; ++i) {
            v = next() % 50 == 0 ? static_cast<std::int32_t>(next() % 3600) : std::clamp<std::int32_t>(v + static_cast<std::int32_t>(next() % 41) - 20, 0, 3599);
            data(5, static_cast<std::size_t>(i)) = next() % 300 == 0 ? k_bad_velocity : static_cast<std::int16_t>(v);
        }
        const Trace_Geometry g{.left = 20, .dx = dx, .count = n, .strip_height = 150, .base = 160, .lo = 0, .hi = 360,
                               .yscale = 148.0 / 360, .scale = 0.1, .wrap = 180, .column = 5};
        const int width = static_cast<int>(g.left + n * dx) + 40;
        QImage_Surface drawn(width, 170), joined(width, 170);
        Recording_Surface samples(width, 170);
        samples.Drawing_Mode = Draw_Mode::k_invert;
        for (Surface* s : std::initializer_list<Surface*>{&drawn, &samples}) DrawWordSeries(*s, data, {}, false, g, {true, false, &colour, 1});
        ASSERT_GT(samples.ops.size(), static_cast<std::size_t>(n / 2));
        joined.Fore_Color = colour;
        for (const Recorded_Op& op : samples.ops) {
            if (op.kind == Recorded_Op::k_point) joined.Set_Point(op.x1, op.y1, op.colour);
            if (op.kind == Recorded_Op::k_line) joined.Draw_Line(op.x1, op.y1, op.x2, op.y2);
        }
        EXPECT_EQ(Pixels(drawn), Pixels(joined)) << dx;
    }
}

}  // namespace
}  // namespace vantrel
