#include "dataset/file_set.h"

#include "platform/binary_file.h"
#include "platform/text_format.h"

#include <stdexcept>

namespace vantrel {

namespace {

constexpr std::int32_t k_last_numbered_member = 999;
constexpr std::int32_t k_last_korva_member = 999999;
constexpr std::size_t k_korva_tail = 10;  // six digits and the four-character extension

// Value of a run of decimal digits, 0 when any character is not a digit.
std::int32_t Digits_Value(std::string_view text) {
    std::int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool Is_Numbered_Name(const std::string& name) { return name.size() >= 4 && name[name.size() - 4] == '.'; }

bool Is_KORVA_Name(const std::string& name) {
    if (name.size() < k_korva_tail) return false;
    const std::string_view ext = std::string_view(name).substr(name.size() - 4);
    return ext == ".ENS" || ext == ".ENR" || ext == ".ENX" || ext == ".STA" || ext == ".LTA";
}

std::int32_t Numbered_Index(const std::string& name) { return Digits_Value(std::string_view(name).substr(name.size() - 3)); }

std::int32_t KORVA_Index(const std::string& name) {
    return Digits_Value(std::string_view(name).substr(name.size() - k_korva_tail, 6));
}

// Highest k after `from` for which every member from+1..k opens; 0 when none does.
template <typename Name_Of>
std::int32_t Last_Present_Member(std::int32_t from, std::int32_t last, Name_Of name_of) {
    std::int32_t result = 0;
    for (std::int32_t k = from + 1; k <= last; ++k) {
        if (File_Length(name_of(k)) < 0) break;
        result = k;
    }
    return result;
}

}  // namespace

std::string Multi_File_Member_Name(const std::string& file_name, std::int32_t number) {
    return file_name.substr(0, file_name.size() - 3) + Fix_String(std::to_string(number), '0', 3);
}

std::string KORVA_Member_Name(const std::string& file_name, std::int32_t number) {
    return file_name.substr(0, file_name.size() - k_korva_tail) + Fix_String(std::to_string(number), '0', 6) +
           file_name.substr(file_name.size() - 4);
}

std::int32_t Test_For_Multi_File(const std::string& file_name, bool multi_file) {
    if (!multi_file || !Is_Numbered_Name(file_name)) return 0;
    const std::int32_t n = Numbered_Index(file_name);
    if (n >= k_last_numbered_member) return 0;
    return Last_Present_Member(n, k_last_numbered_member,
                               [&](std::int32_t k) { return Multi_File_Member_Name(file_name, k); });
}

std::int32_t Test_For_KORVAMultiFile(const std::string& file_name, bool multi_file) {
    if (!multi_file || !Is_KORVA_Name(file_name)) return 0;
    return Last_Present_Member(KORVA_Index(file_name), k_last_korva_member,
                               [&](std::int32_t k) { return KORVA_Member_Name(file_name, k); });
}

File_Set_State Test_For_File_Set(const std::string& file_name, bool multi_file) {
    File_Set_State set;
    set.Multi_File_Count = Test_For_Multi_File(file_name, multi_file);
    set.KORVA_File_Count = Test_For_KORVAMultiFile(file_name, multi_file);
    if (set.Multi_File_Count > 0) {
        set.Set_First_Index = Numbered_Index(file_name);
        set.Set_Last_Index = set.Multi_File_Count;
    }
    return set;
}

std::vector<File_Set_Member> File_Set_Members(const std::string& file_name, const File_Set_State& set) {
    std::vector<File_Set_Member> members;
    members.push_back({file_name, File_Length(file_name)});
    if (set.KORVA_File_Count != 0 && Is_KORVA_Name(file_name)) {
        for (std::int32_t k = KORVA_Index(file_name) + 1; k <= set.KORVA_File_Count; ++k) {
            const std::string name = KORVA_Member_Name(file_name, k);
            members.push_back({name, File_Length(name)});
        }
    } else if (set.Multi_File_Count >= 1 && Is_Numbered_Name(file_name)) {
        for (std::int32_t k = Numbered_Index(file_name) + 1; k <= set.Multi_File_Count; ++k) {
            const std::string name = Multi_File_Member_Name(file_name, k);
            members.push_back({name, File_Length(name)});
        }
    }
    return members;
}

std::int64_t File_Set_Size(const std::vector<File_Set_Member>& members) {
    std::int64_t total = 0;
    for (const File_Set_Member& m : members) {
        if (m.length < 0) return -1;
        total += m.length;
    }
    return total;
}

bool Open_Members(Binary_File& file, const std::vector<File_Set_Member>& members) {
    std::vector<Stream_File> files;
    files.reserve(members.size());
    for (const File_Set_Member& m : members) files.push_back({m.name, m.length});
    return file.Open_Set(files);
}

}  // namespace vantrel
