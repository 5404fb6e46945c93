#pragma once
// Pieces the text and MAT-file writers share: field normalisation, bin columns,
// per-bin values of the loaded ensemble, header texts and fast number appending.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_selection.h"

namespace vantrel {

// Numeric value of the first 8 characters of a field: its leading number (sign, digits,
// decimal point, exponent; blanks ignored), 0 when there is none.
double Field_Value(std::string_view field);

// A visited ensemble range after limiting.
struct Ensemble_Range {
    std::int32_t first = 0, last = 0, step = 1;
    // Ensembles visited: first, first + step, ... not past last; 0 when first > last.
    std::int32_t Rows() const { return first > last ? 0 : (last - first) / step + 1; }
};

// Reads First, Last, Step, limits them to the file's ensemble numbers (Step to
// 1..file length in ensembles) and writes the limited values back with "0".
Ensemble_Range Normalise_Range(Range_Fields& fields, const Data_Set& ds);

// Reads the profile ensemble field, limits it to the Whole Set's first ensemble and the
// file's last one, and writes it back with "0". Returns the ensemble number.
std::int32_t Normalise_Profile_Ens(std::string& field, const Data_Set& ds);

// Loads first..last as the Sub Set for a writer; false, with job.failure set, when the file
// could not be read, which ends the export. Nothing loaded is no failure: the writers go on.
bool Load_For_Export(Export_Job& job, std::int32_t first_ens, std::int32_t last_ens);

// Progress percent of ensemble e in the range: (e - first) x 100 / (last - first + 1),
// rounded, at most 100.
int Range_Percent(const Ensemble_Range& range, std::int32_t e);

// A selected list position and the data-set bin it exports.
struct Bin_Column {
    std::int32_t position = 0;  // 1-based list position, the column heading
    std::int32_t bin = 0;       // 0-based data-set bin index
};

// Selected positions 1..num_bins in ascending order. With orientation_count >= 1 (mostly
// facing down) position p exports bin num_bins - p, otherwise bin p - 1.
std::vector<Bin_Column> Selected_Bins(const Bin_List& list, std::int32_t num_bins, std::int32_t orientation_count);

// True for the velocity types 10..15, whose -32768 means bad.
inline bool Is_Velocity_Type(int type) { return type >= k_type_vel && type <= k_type_vel_direction; }

// Stored value of per-bin type 0..19 at a bin of slot 0: counts, mm/s, tenths of a
// degree or percent; -32768 for a bad velocity.
std::int32_t Bin_Value(const Data_Set& ds, int type, std::int32_t bin);

// Velocity of series type 20..35 in slot 0 (bottom track, water mass, navigation); the
// navigation types read the reference copy when calimbro is set. -32768 for bad.
std::int16_t Series_Velocity(const Data_Set& ds, int type, bool calimbro);

// Title suffix of contour data type d: " Velocity East (u) mm/s" and the like for text
// files; for MAT-files without the leading blank (except " PG1".." PG4") and with the
// direction in " tenth degrees". Empty for an unknown type.
std::string Contour_Type_Title(int d, bool mat);

// "Broadband 307.2 kHz" and the like, from the data structure and the frequency bits.
std::string System_Text(const Decoder_State& dec);

// Slot 0's date "yy/mm/dd" ("mm/dd" for year byte 80) and time "hh:mm:ss.hh".
std::string Ensemble_Date_Text(const Data_Set& ds);
std::string Ensemble_Time_Text(const Data_Set& ds);

// Appends v with pattern "0".
void Append_Int(std::string& out, std::int64_t v);
// Appends v / 10^decimals with exactly that many decimals (the "0.00" family, exact).
void Append_Scaled(std::string& out, std::int64_t v, int decimals);
// Appends 0..99 with pattern "00" (larger values in full).
void Append_Two(std::string& out, std::int32_t v);

}  // namespace vantrel
