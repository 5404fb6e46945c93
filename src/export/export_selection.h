#pragma once
// What the export window's controls hold, and what a writer needs besides them: the
// data set and decoder state, the Sub Set loader, progress hooks and the ensemble file's name.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "dataset/data_codes.h"
#include "platform/outcome.h"
#include "platform/progress.h"

namespace vantrel {

constexpr int k_export_type_count = k_type_per_bin_count;  // contour and profile data types 0..19
constexpr int k_series_box_count = k_type_count;          // series types 0..39
constexpr int k_anc_box_count = k_anc_component_count;    // ancillary boxes 0..7, the Sub_Anc components
constexpr int k_bin_list_count = 255;     // bin list items "1".."255"

enum class Export_File_Type { k_text = 0, k_mat = 1, k_netcdf = 2 };
enum class Export_Kind { k_contour = 0, k_profile = 1, k_series = 2 };

// A bin list: entry p - 1 is list position p ("1".."255").
using Bin_List = std::array<bool, k_bin_list_count>;

// The First, Last and Step text fields of one tab; the writers put the limited values back.
struct Range_Fields {
    std::string First, Last, Step = "1";
};

struct Export_Selection {
    // Contour tab.
    std::int32_t Contour_Type = k_type_vel;  // selected data-type option 0..19; any other value: none selected
    Range_Fields Contour_Range;
    Bin_List Contour_Bins{};
    Export_File_Type Contour_File_Type = Export_File_Type::k_text;

    // Profile tab.
    std::array<bool, k_export_type_count> Profile_Types{};
    std::string Profile_Ens;
    Bin_List Profile_Bins{};
    Export_File_Type Profile_File_Type = Export_File_Type::k_text;

    // Series/Ancillary tab.
    std::array<bool, k_series_box_count> Series_Types{};
    std::array<bool, k_anc_box_count> Anc_Types{};
    Range_Fields Series_Range;
    Bin_List Series_Bins{};
    Export_File_Type Series_File_Type = Export_File_Type::k_text;
};

// Reloads the Sub Set arrays with ensembles first_ens..last_ens (slot 0 onwards), sets
// First_Ens, Last_Ens, Cur_Ens_Number and the set-up scalars. k_nothing_loaded when
// nothing was, k_invalid_file when a member of the file or set could not be read.
using Sub_Set_Loader = std::function<Outcome(std::int32_t first_ens, std::int32_t last_ens)>;

// Everything one writer works with.
struct Export_Job {
    Data_Set& ds;
    Decoder_State& dec;
    Export_Selection& sel;
    const Sub_Set_Loader& load;
    Progress_Hooks& progress;
    std::string ensemble_file;  // full path of the open ensemble file
    Outcome failure{};          // why a writer ended early: the file could not be read
};

}  // namespace vantrel
