#include "export/run_export.h"

#include "export/mat_export.h"
#include "export/text_export.h"
#include "platform/output_file.h"

namespace vantrel {

Export_File_Type File_Type_Of(const Export_Selection& sel, Export_Kind kind) {
    switch (kind) {
        case Export_Kind::k_contour: return sel.Contour_File_Type;
        case Export_Kind::k_profile: return sel.Profile_File_Type;
        case Export_Kind::k_series: return sel.Series_File_Type;
    }
    return Export_File_Type::k_text;
}

namespace {

void Run_Writer(Export_Job& job, Export_Kind kind, std::ostream& out) {
    const bool mat = File_Type_Of(job.sel, kind) == Export_File_Type::k_mat;
    switch (kind) {
        case Export_Kind::k_contour: mat ? Write_Contour_Mat(job, out) : Write_Contour_Text(job, out); break;
        case Export_Kind::k_profile: mat ? Write_Profile_Mat(job, out) : Write_Profile_Text(job, out); break;
        case Export_Kind::k_series: mat ? Write_Series_Mat(job, out) : Write_Series_Text(job, out); break;
    }
}

}  // namespace

Outcome Run_Export(Export_Job& job, Export_Kind kind, const std::string& out_path,
                   const std::vector<std::string>& inputs) {
    Data_Set& ds = job.ds;
    if (!ds.File_Loaded) {
        job.progress.Percent(0);
        return Failure(Outcome_Kind::k_nothing_loaded);
    }
    const std::int32_t first_ens = ds.First_Ens, last_ens = ds.Last_Ens;
    const std::int32_t first_bin = ds.First_Bin, last_bin = ds.Last_Bin;

    Output_File out;
    std::vector<std::string> read = inputs;
    read.push_back(job.ensemble_file);
    Outcome outcome = out.Open(out_path, read);
    if (outcome) {
        // A stop ends the writer cleanly after a row: the rows written so far are a whole file and kept.
        Run_Writer(job, kind, out.Stream());
        // A file cut short because the source could not be read is not kept.
        outcome = job.failure ? out.Commit() : job.failure;
    }

    ds.First_Bin = first_bin;
    ds.Last_Bin = last_bin;
    job.load(first_ens, last_ens);
    job.progress.Percent(0);
    return outcome;
}

}  // namespace vantrel
