#pragma once
// The program-wide state that the application shell owns (the CLI now, the main window
// later), and the shell's shorthands that hand its parts to the core's procedures.

#include <string>

#include "charts/chart_primitives.h"
#include "charts/contour_palette.h"
#include "charts/sub_set_layout.h"
#include "decode/decode_ensemble.h"
#include "decode/file_survey.h"
#include "loading/open_state.h"
#include "processing/velocity_processing.h"

namespace vantrel {

struct App_State : Open_State {
    Contour_Palette palette = Build_Contour_Palette();
    Candle_Tables candles;  // filled by the series chart, read by the trend view
};

inline Chart_Sources Chart_Sources_Of(const App_State& app) { return {app.ds, app.dec, app.settings, app.palette}; }

inline bool Decode_Ensemble(App_State& app) { return Decode_Ensemble(app.dec, app.ds, Decode_Options_Of(app)); }
inline bool Process_Ensemble(App_State& app) {
    return Process_Ensemble(app.dec, app.ds, app.settings, Decode_Options_Of(app));
}
inline void Cut_End_Of_Profile(App_State& app) { Cut_End_Of_Profile(app.dec, app.ds, app.settings); }
inline void Transform_And_Reference(App_State& app) { Transform_And_Reference(app.dec, app.ds, app.settings); }
inline void Error_Velocity_Statistics(App_State& app) { Error_Velocity_Statistics(app.dec, app.ds); }

inline bool Show_File_Stats(App_State& app, const std::string& file_name, Progress_Hooks& progress) {
    return Show_File_Stats(app.ds, app.dec, Decode_Options_Of(app), app.file_set, app.Info_Text, file_name, progress);
}

inline void Draw_Sub_Set_Window(Surface& target, App_State& app, Sub_Set_View& view, int screen_width) {
    Draw_Sub_Set_Window(target, Chart_Sources_Of(app), app.candles, view, screen_width);
}
inline void Draw_Whole_Set_Chart(Surface& target, const App_State& app, Contour_View& view) {
    Draw_Whole_Set_Chart(target, Chart_Sources_Of(app), view);
}
inline void Chart3d_DisplayTitles(Contour_View& view, const App_State& app, Chart3d_Surfaces surfaces,
                                  Chart_Window window, std::int32_t code, int screen_width, int scroll_bar_width = 0,
                                  int scroll_bar_height = 0) {
    Chart3d_DisplayTitles(view, Chart_Sources_Of(app), surfaces, window, code, screen_width, scroll_bar_width,
                          scroll_bar_height);
}

}  // namespace vantrel
