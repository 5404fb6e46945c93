#pragma once
// Numbered file sets (data.000, data.001, ...) and acquisition-program file sets
// (RUN001_000003.ENR, RUN001_000004.ENR, ...) that are read as one ensemble stream.

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

class Binary_File;

// What the set tests found for the opened file.
struct File_Set_State {
    std::int32_t Multi_File_Count = 0;  // last extension number of a numbered set, 0 = none
    std::int32_t KORVA_File_Count = 0;  // last sequence number of an acquisition-program set, 0 = none
    std::int32_t Set_First_Index = 0;   // extension range of a numbered set
    std::int32_t Set_Last_Index = 0;
    std::int64_t File_Size = 0;         // bytes of the file or of all members, set by the survey
};

// Last extension number of the numbered set that the file opens, 0 when it is not one
// or MultiFile is unchecked.
std::int32_t Test_For_Multi_File(const std::string& file_name, bool multi_file);

// Last sequence number of the acquisition-program set that the file opens, 0 when none
// or MultiFile is unchecked.
std::int32_t Test_For_KORVAMultiFile(const std::string& file_name, bool multi_file);

// Runs both tests and fills the set state for the opened file.
File_Set_State Test_For_File_Set(const std::string& file_name, bool multi_file);

// Name of member `number` of a numbered set: base + the number padded to three digits.
std::string Multi_File_Member_Name(const std::string& file_name, std::int32_t number);

// Name of member `number` of an acquisition-program set: prefix + six digits + extension.
std::string KORVA_Member_Name(const std::string& file_name, std::int32_t number);

struct File_Set_Member {
    std::string name;
    std::int64_t length = -1;  // bytes; -1 when the member cannot be opened
};

// The members of the opened file's set in reading order, with their lengths: the opened
// file itself first, then its successors up to the set's last number. A file outside any
// set is a set of one.
std::vector<File_Set_Member> File_Set_Members(const std::string& file_name, const File_Set_State& set);

// Total length of the members in bytes, -1 when one cannot be opened.
std::int64_t File_Set_Size(const std::vector<File_Set_Member>& members);

// Opens the members as one stream, so that skips, positions and records run on across
// their boundaries; false, with the member named in Open_Error, when one cannot be opened.
bool Open_Members(Binary_File& file, const std::vector<File_Set_Member>& members);

}  // namespace vantrel
