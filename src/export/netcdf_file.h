#pragma once
// A netCDF-4 file being written: the few calls of the netCDF C library the converter
// needs, each checked. A failing call throws Netcdf_Error inside the export layer; the
// converter turns it into its outcome, so nothing throws across the core's API.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantrel {

struct Netcdf_Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Netcdf_File {
public:
    // Creates (or truncates) a netCDF-4 file at path, in define mode. Messages name shown_as
    // (the target a temporary file becomes) when given, else path.
    explicit Netcdf_File(const std::string& path, const std::string& shown_as = "");
    ~Netcdf_File();  // closes without checking; Close() reports failures
    Netcdf_File(const Netcdf_File&) = delete;
    Netcdf_File& operator=(const Netcdf_File&) = delete;

    // A dimension; length 0 makes it unlimited.
    int Define_Dimension(const std::string& name, std::size_t length);

    // A variable of netCDF type nc_type over dims (outermost first). With chunks (one
    // extent per dimension), it is chunked and, when deflate_level > 0, shuffled and deflated.
    int Define_Variable(const std::string& name, int nc_type, const std::vector<int>& dims,
                        const std::vector<std::size_t>& chunks = {}, int deflate_level = 0);

    // Attributes of a variable, or global ones with varid -1 (NC_GLOBAL).
    void Put_Text(int varid, const std::string& name, const std::string& value);
    void Put_Double(int varid, const std::string& name, double value);
    void Put_Int(int varid, const std::string& name, std::int32_t value);
    void Put_Int64(int varid, const std::string& name, std::int64_t value);
    // An attribute of the variable's own type holding one value, for _FillValue and the like.
    void Put_Typed(int varid, const std::string& name, int nc_type, const void* value);

    // Leaves define mode.
    void End_Definitions();
    // Re-enters define mode, to add attributes once the data are written.
    void Redefine();

    // Writes the hyperslab start/count of a variable from memory of its own type.
    void Put(int varid, const std::vector<std::size_t>& start, const std::vector<std::size_t>& count, const void* data);

    // Flushes and closes; throws when the file could not be completed.
    void Close();

private:
    void Check(int status, const std::string& what) const;
    // Empties a file that could not be closed.
    void Give_Up() const;

    int ncid_ = -1;
    std::string path_;
    std::string shown_;
};

}  // namespace vantrel
