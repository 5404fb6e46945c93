#pragma once
// Whole-file conversion to netCDF-4 with the CF conventions, streamed in constant memory:
// every ensemble the scanner finds (or those of a range of ensemble numbers), decoded and,
// unless raw, processed with the settings given.

#include <cstdint>
#include <optional>
#include <string>

#include "dataset/file_set.h"
#include "export/netcdf_writer.h"
#include "platform/progress.h"
#include "settings/settings.h"

namespace vantrel {

struct Netcdf_Request {
    std::string source;  // the file, or the first member of a set
    std::string target;
    bool raw = false;         // decoded values only, no processing
    bool multifile = false;   // the source's numbered or acquisition-program set
    // The set as the program opened it, when it has: its members are taken as they were
    // then, so that one gone since is an error rather than a shorter set.
    std::optional<File_Set_State> opened_set;
    std::optional<std::int32_t> first, last;  // ensemble numbers to keep, inclusive
    Settings settings;
    std::string settings_file;  // where settings came from, if anywhere: never written over
    int deflate_level = k_netcdf_deflate_level;
};

enum class Netcdf_Status {
    k_written,         // the target holds the conversion
    k_refused,         // the target already holds data: k_overwrite_refused
    k_same_file,       // the target is the source (or a member of its set)
    k_invalid_source,  // the source cannot be read
    k_no_ensembles,    // nothing to convert
    k_stopped,         // the progress hooks asked to stop
    k_failed,          // the target could not be written
};

struct Netcdf_Outcome {
    Netcdf_Status status = Netcdf_Status::k_failed;
    std::string message;                 // empty when written
    std::int64_t ensembles = 0;          // time steps written
    std::int64_t skipped_records = 0;    // stretches of bytes the scanner passed over
    std::int64_t skipped_bytes = 0;
    std::int64_t memory_records = 0;     // records of the instrument's memory, not ensembles
    std::int64_t source_bytes = 0;       // of the file or all members
};

// Converts request.source into request.target through a temporary file beside the
// target, renamed only when complete; on any failure or stop the target is untouched and
// the temporary file removed. Never throws.
Netcdf_Outcome Convert_To_Netcdf(const Netcdf_Request& request, Progress_Hooks& progress);

}  // namespace vantrel
