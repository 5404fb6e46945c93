#include "export/run_netcdf_export.h"

#include "export/export_common.h"
#include "export/netcdf_export.h"

namespace vantrel {

Outcome Run_Netcdf_Export(Export_Job& job, Export_Kind kind, const Settings& settings, const File_Set_State& set,
                          const std::string& out_path) {
    Netcdf_Request request;
    request.source = job.ensemble_file;
    request.target = out_path;
    request.opened_set = set;
    request.settings = settings;
    if (kind == Export_Kind::k_profile) {
        request.first = request.last = Normalise_Profile_Ens(job.sel.Profile_Ens, job.ds);
    } else {
        const Ensemble_Range range =
            Normalise_Range(kind == Export_Kind::k_contour ? job.sel.Contour_Range : job.sel.Series_Range, job.ds);
        request.first = range.first;
        request.last = range.last;
    }
    const Netcdf_Outcome outcome = Convert_To_Netcdf(request, job.progress);
    job.progress.Percent(0);
    switch (outcome.status) {
        case Netcdf_Status::k_written:
        case Netcdf_Status::k_stopped: return {};
        case Netcdf_Status::k_refused: return Failure(Outcome_Kind::k_overwrite_refused, outcome.message);
        default: return Failure(Outcome_Kind::k_cannot_write, outcome.message);
    }
}

}  // namespace vantrel
