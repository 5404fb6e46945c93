#pragma once
// The survey of a file or file set before loading: structure, set-up, first and last
// ensemble, and missing or extra data, written into the information text.

#include <cstdint>
#include <string>

#include "dataset/data_set.h"
#include "dataset/file_set.h"
#include "decode/decode_options.h"
#include "decode/decoder_state.h"
#include "platform/binary_file.h"
#include "platform/progress.h"

namespace vantrel {

// True when the file (or the set it opens, by set) has a known structure and valid first
// and last ensembles. Writes info_text (lines ended by CR LF), set.File_Size, the file's
// ensemble range in ds, slots 0 and 1 and the set-up scalars of the first ensemble.
// Reads only the start and the end of the data. Throws std::bad_alloc only, when the
// arrays cannot widen to the file's bins.
bool Show_File_Stats(Data_Set& ds, Decoder_State& dec, const Decode_Options& opt, File_Set_State& set,
                     std::string& info_text, const std::string& file_name, Progress_Hooks& progress);

constexpr std::int32_t k_two_type_record_bytes = 8258;  // an instrument memory record, not an ensemble

// Said instead of the estimate of missing or extra data when the ensembles near the end
// are not all as long as the first: the file's size then tells nothing.
constexpr const char* k_lengths_vary_text = "Ensemble Lengths Vary: Missing or Extra Data Not Estimated";

// Get_Next_Ensemble for the first ensemble of a file, passing over memory records (long
// two-type records without number or clock) and setting nvram_seen for them.
bool Get_First_Ensemble(Binary_File& file, Decoder_State& dec, bool& nvram_seen, Progress_Hooks& progress);

// Finds the last ensemble of an open file whose first ensemble is ens_bytes long (before
// the checksum) and decodes it into slot ds.Sub_Count. Sets nvram_seen when a long two-type
// record was passed over, lengths_vary when an ensemble met near the end has another length
// (two-type records aside). False when no ensemble but two-type records is found near the end.
bool Find_Last_Ensemble(Binary_File& file, Decoder_State& dec, Data_Set& ds, const Decode_Options& opt,
                        std::int32_t ens_bytes, bool& nvram_seen, bool& lengths_vary, Progress_Hooks& progress);

// "File Size " and the byte count grouped by thousands, " bytes"; an empty file reads 0.
std::string File_Size_Line(std::int64_t bytes);

// "153.6 kHz" and the like for a frequency code 0..7 of the system configuration word.
std::string System_Frequency_Label(std::int32_t code, bool narrowband);

// The clock of a slot as "yy/mm/dd hh:mm:ss.hh"; the year and its "/" are left out for year 80.
std::string Ensemble_Clock_Text(const Data_Set& ds, std::size_t slot);

// "First Ensemble 00000012 " + the clock of the slot (label "Last  Ensemble " likewise).
std::string Ensemble_Line(const std::string& label, std::int32_t number, const Data_Set& ds, std::size_t slot);

}  // namespace vantrel
