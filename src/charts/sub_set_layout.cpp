#include "charts/sub_set_layout.h"

#include <algorithm>
#include <cmath>

#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "settings/settings.h"

namespace vantrel {

namespace {

// A pane of the target: drawn straight into it where the target can share its pixels, else
// apart and copied in when closed.
class Pane {
public:
    Pane(Surface& target, int x, int y, int width, int height)
        : target_(target), x_(x), y_(y), width_(width), height_(height), surface_(target.Create_View(x, y, width, height)) {
        shared_ = surface_ != nullptr;
        if (!shared_) surface_ = target.Create_Surface(width, height);
    }
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;
    ~Pane() {
        if (!shared_) target_.Copy_Image(*surface_, 0, 0, width_, height_, x_, y_, width_, height_);
    }
    Surface& operator*() const { return *surface_; }
    Surface* operator->() const { return surface_.get(); }

private:
    Surface& target_;
    int x_, y_, width_, height_;
    std::unique_ptr<Surface> surface_;
    bool shared_ = false;
};

}  // namespace

Sub_Set_Layout Layout_Sub_Set_Window(int width, int height, const Settings& settings, Surface& probe) {
    Sub_Set_Layout l;
    l.width = std::max(width, 1);
    l.height = std::max(height, 1);
    const double r1 = std::clamp(settings.Sub_Window_Ratio_1, 0.0, 1.0);
    const double r2 = std::clamp(settings.Sub_Window_Ratio_2, 0.0, 1.0);
    l.profile_width = std::clamp(static_cast<int>(std::lround(l.width * r2)), std::min(k_min_pane_px, l.width / 2),
                                 std::max(l.width - k_min_pane_px, l.width / 2));
    l.contour_left = l.profile_width;
    l.contour_width = std::max(l.width - l.profile_width, 1);
    l.contour_height = std::max(static_cast<int>(std::lround(l.height * r1)), 1);
    l.series_top = l.contour_height;
    l.series_height = std::max(l.height - l.contour_height, 0);

    l.font_size = Fit_Chart_Font(probe, l.contour_width, l.contour_height, 10, 40, "W");
    return l;
}

double Fit_Chart_Font(Surface& probe, int width, int height, int lines, int columns, std::string_view glyph) {
    probe.Set_Font("Arial", 10, false);
    double size = 10;
    while (size > 1 && lines * probe.TextHeight("W") > height) probe.Set_Font_Size(--size);
    while (size > 1 && columns * probe.TextWidth(glyph) > width) probe.Set_Font_Size(--size);
    return size;
}

void Draw_Sub_Set_Window(Surface& target, const Chart_Sources& state, Candle_Tables& candles, Sub_Set_View& view,
                         int screen_width) {
    // Not cleared first: the three panes tile the whole target.
    view.layout = Layout_Sub_Set_Window(target.Width(), target.Height(), state.settings, target);
    const Sub_Set_Layout& l = view.layout;

    auto image = target.Create_Surface(1, 1);
    auto scratch = target.Create_Surface(1, 1);
    {
        const Pane chart(target, l.contour_left, 0, l.contour_width, l.contour_height);
        if (!state.ds.File_Loaded) chart->Clear();  // the chart clears itself only over a file
        chart->Set_Font("Arial", l.font_size, false);
        Chart3d_DisplayTitles(view.contour, state, {*chart, *image, *scratch}, Chart_Window::k_sub,
                              state.settings.Contour_Code, screen_width);
    }

    Draw_Sub_Set_Series(target, state, candles, view);
    Draw_Sub_Set_Profile(target, state, view);
}

void Draw_Sub_Set_Series(Surface& target, const Chart_Sources& state, Candle_Tables& candles, Sub_Set_View& view) {
    const Sub_Set_Layout& l = view.layout;
    if (l.series_height <= 0) return;
    const Chart3d_Geometry& g = view.contour.geometry;
    auto scratch = target.Create_Surface(1, 1);
    const Pane series(target, l.contour_left, l.series_top, l.contour_width, l.series_height);
    series->Set_Font("Arial", l.font_size, false);
    DrawSeriesChart(*series, *scratch, state.ds, state.dec, state.settings, candles, view.series,
                    static_cast<float>(g.left), static_cast<float>(g.Plot_Width()), view.contour.axes.time_ticks,
                    series->TextWidth("0") / 2);
}

void Draw_Sub_Set_Profile(Surface& target, const Chart_Sources& state, Sub_Set_View& view) {
    const Sub_Set_Layout& l = view.layout;
    if (l.profile_width <= 0) return;
    const Chart3d_Geometry& g = view.contour.geometry;
    std::vector<double> depth_ticks;
    for (const auto& label : view.contour.axes.range) depth_ticks.push_back(label.pos);
    auto scratch = target.Create_Surface(1, 1);
    const Pane profile(target, 0, 0, l.profile_width, l.height);
    profile->Set_Font("Arial", l.font_size, false);
    DrawProfileChart(*profile, *scratch, state.ds, state.dec, state.settings, view.profile,
                     static_cast<std::int32_t>(std::lround(g.Plot_Bottom())),
                     static_cast<std::int32_t>(std::lround(g.Plot_Height())), depth_ticks);
}

void Draw_Whole_Set_Chart(Surface& target, const Chart_Sources& state, Contour_View& view) {
    // A window made small keeps its texts apart with a smaller font, as the Sub Set does.
    Fit_Chart_Font(target, target.Width(), target.Height(), 9, 60, "0");
    auto image = target.Create_Surface(1, 1);
    auto scratch = target.Create_Surface(1, 1);
    Chart3d_DisplayTitles(view, state, {target, *image, *scratch}, Chart_Window::k_whole, state.settings.Contour_Code,
                          0);
}

}  // namespace vantrel
