// Charts rendered through the QImage surface: cells, bottom line and whole layouts.

#include <gtest/gtest.h>

#include <cstdlib>

#include "charts/sub_set_layout.h"
#include "platform/qt/qimage_surface.h"
#include "support/chart_fixture.h"

namespace vantrel {
namespace {

const bool k_offscreen = [] { return setenv("QT_QPA_PLATFORM", "offscreen", 1) == 0; }();

TEST(Chart_Images, Whole_And_Sub_Set_Layouts_Render_To_Png) {
    ASSERT_TRUE(k_offscreen);
    App_State state;
    test::Fill_Chart_Data_Set(state);
    state.settings.Contour_Switch_3 = true;
    state.settings.Anc_Select[0] = state.settings.Anc_Select[2] = true;
    state.settings.Series_Select[10] = true;
    state.ds.Series_Bins[11] = state.ds.Series_Bins[30] = true;
    state.settings.Profile_Select[10] = state.settings.Profile_Select[16] = true;

    QImage_Surface whole(1200, 300);
    Contour_View whole_view;
    Draw_Whole_Set_Chart(whole, state, whole_view);
    EXPECT_TRUE(whole.Save_Png("whole_set.png"));

    QImage_Surface sub(1600, 900);
    Sub_Set_View sub_view;
    Draw_Sub_Set_Window(sub, state, sub_view, 1920);
    EXPECT_TRUE(sub.Save_Png("sub_set.png"));
}

}  // namespace
}  // namespace vantrel
