#pragma once
// What a user does with a file, headless: open it (survey, Whole Set, first Sub Set), load
// another Sub Set, draw both windows on recording surfaces and run every text and MAT-file
// export into memory. Shared by the loading and the settings fuzz targets.
#include <cstdint>
#include <sstream>
#include <string>

#include "app_state.h"
#include "export/export_selection.h"
#include "export/mat_export.h"
#include "export/text_export.h"
#include "loading/file_loading.h"
#include "platform/recording_surface.h"
#include "platform/text_format.h"

namespace {

void Export_All_Into_Memory(vantrel::App_State& app, vantrel::Open_File_Host& host) {
    using namespace vantrel;
    const Sub_Set_Loader loader = [&app, &host](std::int32_t first_ens, std::int32_t last_ens) {
        return Read_File_Selection(app, host, first_ens, last_ens, false);
    };
    Progress_Hooks progress;
    for (const bool mat : {false, true}) {
        Export_Selection sel;
        const Range_Fields range{Format(app.ds.First_Ens, "0"), Format(app.ds.Last_Ens, "0"), "1"};
        sel.Contour_Range = sel.Series_Range = range;
        sel.Profile_Ens = Format(app.ds.Cursor_Ens, "0");
        sel.Contour_Bins.fill(true);
        sel.Profile_Bins.fill(true);
        sel.Series_Bins.fill(true);
        sel.Profile_Types.fill(true);
        sel.Series_Types.fill(true);
        sel.Anc_Types.fill(true);
        Export_Job job{app.ds, app.dec, sel, loader, progress, "fuzz.000"};
        std::ostringstream contour, profile, series;
        mat ? Write_Contour_Mat(job, contour) : Write_Contour_Text(job, contour);
        mat ? Write_Profile_Mat(job, profile) : Write_Profile_Text(job, profile);
        mat ? Write_Series_Mat(job, series) : Write_Series_Text(job, series);
    }
}

// Opens path (with multi_file, the file set it starts) with the settings in app and, when it
// loads, reloads the Sub Set from the ensemble `offset` past the first, draws and exports.
void Load_Draw_Export(vantrel::App_State& app, const std::string& path, std::int32_t offset, bool multi_file = false) {
    using namespace vantrel;
    app.menus.MultiFile = multi_file;
    Open_File_Host host;
    if (!Open_File(app, host, path)) return;
    const std::int32_t first = app.ds.File_First_Ens + offset;
    Read_File_Selection(app, host, first, first + app.settings.Max_Sub_Ens - 1, false);

    // Small surfaces: every chart element is still laid out and drawn, at a few pixels each.
    Recording_Surface whole(160, 100), sub(240, 180);
    whole.Resize(whole.Width(), whole.Height());
    sub.Resize(sub.Width(), sub.Height());
    Contour_View whole_view;
    Draw_Whole_Set_Chart(whole, app, whole_view);
    Sub_Set_View sub_view;
    Draw_Sub_Set_Window(sub, app, sub_view, sub.Width());
    Export_All_Into_Memory(app, host);
}

}  // namespace
