#pragma once
// The one way the program writes a file. The target is checked first (never a file being
// read, never a device, FIFO or directory, never a file that already holds data unless the
// program owns it), then written beside itself under a unique temporary name and moved into
// place only when complete: a stop, a failure or a killed process never leaves part of a
// file under the target's name.

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/outcome.h"

namespace vantrel {

enum class Existing_Output {
    k_refuse,   // a target holding data is refused ("Over-Write of File Not Allowed")
    k_replace,  // the program's own files (settings, recent files) are replaced whole
};

class Output_File {
public:
    Output_File();
    ~Output_File();  // removes the temporary file unless committed
    Output_File(const Output_File&) = delete;
    Output_File& operator=(const Output_File&) = delete;

    // Checks target against the inputs (same device and inode: a path, symbolic or hard
    // link) and its kind and size, then creates the temporary file: a nameless one where the
    // file system allows (a killed process then leaves nothing at all), or a unique
    // "<target>.partXXXXXX" when named_temporary is asked (or nameless ones are not
    // supported). k_target_is_input, k_overwrite_refused, or k_cannot_write with the reason.
    Outcome Open(const std::string& target, const std::vector<std::string>& inputs = {},
                 Existing_Output existing = Existing_Output::k_refuse, bool named_temporary = false);
    bool Is_Open() const { return fd_ >= 0; }

    // Buffered writes; a failed write is remembered and makes Commit fail.
    bool Write(const void* data, std::size_t n);
    std::ostream& Stream() { return stream_; }
    // The temporary file's name, for writers that open files by name (netCDF); empty when
    // not open or nameless.
    const std::string& Temporary_Path() const { return temp_; }

    // Moves the finished file to the target: an existing empty file takes its content in one
    // last step (its blocks shared where the file system can, else copied; emptied again if
    // that fails), keeping its permissions and links; otherwise the temporary file is renamed (never over a file
    // that meanwhile got data when refusing). The temporary file is gone afterwards either way.
    Outcome Commit();
    // Drops what was written; the target stays as it was.
    void Discard();

private:
    class Buffer;
    Outcome Cannot_Write(const std::string& reason) const;
    Outcome Copy_Into_Target();
    Outcome Name_Nameless(const std::string& name, bool replace);

    std::unique_ptr<Buffer> buffer_;
    std::ostream stream_;
    std::string target_;  // as given, for messages
    std::string final_;   // the target with symbolic links resolved: where the file goes
    std::string temp_;
    int fd_ = -1;
    Existing_Output existing_ = Existing_Output::k_refuse;
    bool in_place_ = false;  // the target exists and is empty
    unsigned long long target_dev_ = 0, target_ino_ = 0;
};

// Writes bytes to target under the same rules in one go.
Outcome Write_Output_File(const std::string& target, std::string_view bytes, const std::vector<std::string>& inputs = {},
                          Existing_Output existing = Existing_Output::k_refuse);

}  // namespace vantrel
