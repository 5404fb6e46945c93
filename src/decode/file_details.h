#pragma once
// The file details report: a file's full instrument set-up field by field, and a scan
// of every ensemble that counts missing, repeated, reset and wrongly sized ensembles.

#include <cstdint>
#include <functional>
#include <string>

#include "decode/decode_options.h"
#include "decode/decoder_state.h"
#include "platform/progress.h"

namespace vantrel {

enum class Ens_Statistic { First, Last, Missing, Repeats, Resets, Wrong_Size };

struct Ens_Statistics {
    std::int64_t First = 0, Last = 0, Missing = 0, Repeats = 0, Resets = 0, Wrong_Size = 0;
};

// Called each time one counter changes, with all counters as they stand.
using Statistic_Changed = std::function<void(Ens_Statistic changed, const Ens_Statistics& stats)>;

struct File_Details_Result {
    bool opened = false;   // false: the file could not be read ("Invalid File")
    bool found = false;    // false: no ensemble, so the report ends at the data structure
    std::string report;    // lines ended by CR LF
    Ens_Statistics stats;
};

// Builds the report of a file and runs the statistics scan with private decoding state, so
// the loaded data set is left alone; only the bottom-track set-up scalars of main_dec are read.
// on_report, when given, receives the report before the scan starts.
File_Details_Result Show_File_Details(const std::string& file_name, const Decoder_State& main_dec,
                                      const Decode_Options& opt,
                                      const Statistic_Changed& on_change, Progress_Hooks& progress,
                                      const std::function<void(const std::string&)>& on_report = {});

// Bits nbits down to 0 of value as "1" and "0", highest first.
std::string CovertByteToBinaryStr(std::uint32_t value, int nbits);

// The set-up lines of a broadband fixed leader (at least 53 bytes from its identifier)
// from "Firmware Version" to the empty line after the bottom-track set-up.
std::string BB_Setup_Lines(const std::uint8_t* fixed_leader, const Decoder_State& bt_setup);

// The set-up lines of a narrowband leader (at least 21 bytes) from "System Frequency" to "Time/Ping".
std::string NB_Setup_Lines(const std::uint8_t* leader);

}  // namespace vantrel
