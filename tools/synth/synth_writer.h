#pragma once
// Writes a synthetic ensemble file with the damage the options ask for, and the
// manifest of every record written.

#include <cstdint>
#include <string>
#include <vector>

#include "synth_scenario.h"

namespace vantrel::synth {

enum class Record_Kind {
    Intact,        // a complete ensemble with a correct checksum
    Repeat,        // the same ensemble written a second time
    Bad_Checksum,  // a complete ensemble whose checksum is off by one
    Truncated,     // the last ensemble cut short by the end of the file
    Long_Record,   // a two-type record with a byte count of 8258
    Garbage,       // bytes free of 0x7F between records
    Dropped,       // an ensemble of the scenario that was not written (length 0)
    Foreign,       // a checksum-correct record 0x7F 0x79 of an acquisition program
};

struct Manifest_Entry {
    Record_Kind kind = Record_Kind::Intact;
    std::int64_t index = -1;     // scenario index of the ensemble, -1 for garbage and foreign records
    std::int32_t number = 0;     // ensemble number, 0 for garbage and foreign records
    std::int64_t position = 1;   // 1-based byte position in its member file
    std::int64_t length = 0;     // bytes
    std::int32_t member = 0;     // index into Synth_Manifest::members of the file it starts in
};

struct Synth_Manifest {
    std::vector<Manifest_Entry> entries;  // in file order
    std::int64_t ensemble_bytes = 0;      // bytes of the first ensemble (of every one unless they vary), checksum included
    std::int64_t file_bytes = 0;          // all members together
    std::vector<std::string> members;     // file names in set order; one for a single file
    std::vector<std::int64_t> member_bytes;
};

// Names of a set's members from the first one's path: a three-digit extension counted up,
// or for the acquisition-program naming the six digits before one of its extensions.
// Throws std::invalid_argument when path does not have the shape, or count runs past the last number.
std::vector<std::string> Synth_Member_Names(const std::string& path, bool acquisition_set, std::int64_t count);

// Writes the file at path under the output rule, replacing an earlier file whole (never a
// device, FIFO or folder); the options are resolved first.
// With split_every the stream is cut into a file set whose first member is path.
// Throws std::invalid_argument for bad options, std::runtime_error when the file
// cannot be written.
Synth_Manifest Write_Synth_File(const std::string& path, const Synth_Options& opt);

// Counts of a manifest, as the summary line reports them.
struct Synth_Counts {
    std::int64_t records = 0;  // everything written except garbage and foreign records
    std::int64_t intact = 0;   // ensembles a scanner finds (intact and repeats)
    std::int64_t shortest = 0, longest = 0;  // bytes of the ensembles written, checksum included
    std::int64_t foreign = 0, foreign_bytes = 0;
    std::int64_t garbage_bytes = 0, bad_checksum = 0, dropped = 0, truncated = 0, long_records = 0, repeats = 0;
};
Synth_Counts Count_Manifest(const Synth_Manifest& m);

// One line: "synth: wrote R records (I intact ensembles, B bytes each) to OUT; damage: ...";
// "S to L bytes" when the lengths vary, and what today's instruments add before "damage".
std::string Synth_Summary_Line(const Synth_Manifest& m, const Synth_Options& opt, const std::string& path);

}  // namespace vantrel::synth
