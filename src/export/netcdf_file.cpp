#include "export/netcdf_file.h"

#include <cerrno>
#include <cstring>

#include <hdf5.h>
#include <netcdf.h>
#include <unistd.h>

#include "export/netcdf_deflate.h"
#include "export/netcdf_shuffle.h"

namespace vantrel {

Netcdf_File::Netcdf_File(const std::string& path, const std::string& shown_as)
    : path_(path), shown_(shown_as.empty() ? path : shown_as) {
    // A file that failed to close (a full disk) stays open in the HDF5 library, and its
    // clean-up at exit would crash on it. Every file is closed or abandoned here, so the
    // clean-up has nothing to do; it must be waived before the library starts.
    static const bool no_exit_cleanup = H5dont_atexit() >= 0;
    (void)no_exit_cleanup;
    Check(nc_create(path.c_str(), NC_NETCDF4 | NC_CLOBBER, &ncid_), "create");
    // After the library's own start-up, which registers the built-in filters. Without them
    // the library's own filters run: slower, the same file format.
    Register_Fast_Deflate();
    Register_Fast_Shuffle();
}

Netcdf_File::~Netcdf_File() {
    if (ncid_ >= 0 && nc_close(ncid_) != NC_NOERR) Give_Up();
}

void Netcdf_File::Give_Up() const {
    // The library keeps the file open, and its disk space in use, until the program ends.
    (void)::truncate(path_.c_str(), 0);
}

void Netcdf_File::Check(int status, const std::string& what) const {
    if (status == NC_NOERR) {
        errno = 0;  // so that a later failure's reason is its own
        return;
    }
    // The library reports a failed write as an error of its own; the system's reason, when it
    // is the storage's, tells the user what to do.
    const int error = errno;
    if (error == ENOSPC || error == EDQUOT || error == EFBIG || error == EIO || error == EROFS)
        throw Netcdf_Error("Cannot write " + shown_ + ": " + std::strerror(error));
    throw Netcdf_Error("Cannot write " + shown_ + " (" + what + ": " + nc_strerror(status) + ")");
}

int Netcdf_File::Define_Dimension(const std::string& name, std::size_t length) {
    int id = -1;
    Check(nc_def_dim(ncid_, name.c_str(), length == 0 ? NC_UNLIMITED : length, &id), name);
    return id;
}

int Netcdf_File::Define_Variable(const std::string& name, int nc_type, const std::vector<int>& dims,
                                 const std::vector<std::size_t>& chunks, int deflate_level) {
    int id = -1;
    Check(nc_def_var(ncid_, name.c_str(), nc_type, static_cast<int>(dims.size()), dims.data(), &id), name);
    if (!chunks.empty()) {
        Check(nc_def_var_chunking(ncid_, id, NC_CHUNKED, chunks.data()), name);
        std::size_t element = 0;
        Check(nc_inq_type(ncid_, nc_type, nullptr, &element), name);
        // Shuffling single bytes would only cost time.
        if (deflate_level > 0) Check(nc_def_var_deflate(ncid_, id, element > 1 ? 1 : 0, 1, deflate_level), name);
        // Whole chunks are written at once, so a cache of one chunk keeps memory flat
        // however many variables the file has.
        std::size_t bytes = 1;
        for (std::size_t c : chunks) bytes *= c;
        Check(nc_set_var_chunk_cache(ncid_, id, bytes * element, 7, 1.0f), name);
    }
    return id;
}

void Netcdf_File::Put_Text(int varid, const std::string& name, const std::string& value) {
    Check(nc_put_att_text(ncid_, varid, name.c_str(), value.size(), value.data()), name);
}

void Netcdf_File::Put_Double(int varid, const std::string& name, double value) {
    Check(nc_put_att_double(ncid_, varid, name.c_str(), NC_DOUBLE, 1, &value), name);
}

void Netcdf_File::Put_Int(int varid, const std::string& name, std::int32_t value) {
    Check(nc_put_att_int(ncid_, varid, name.c_str(), NC_INT, 1, &value), name);
}

void Netcdf_File::Put_Int64(int varid, const std::string& name, std::int64_t value) {
    const long long v = value;
    Check(nc_put_att_longlong(ncid_, varid, name.c_str(), NC_INT64, 1, &v), name);
}

void Netcdf_File::Put_Typed(int varid, const std::string& name, int nc_type, const void* value) {
    Check(nc_put_att(ncid_, varid, name.c_str(), nc_type, 1, value), name);
}

void Netcdf_File::End_Definitions() { Check(nc_enddef(ncid_), "end of definitions"); }

void Netcdf_File::Redefine() { Check(nc_redef(ncid_), "define mode"); }

void Netcdf_File::Put(int varid, const std::vector<std::size_t>& start, const std::vector<std::size_t>& count,
                      const void* data) {
    Check(nc_put_vara(ncid_, varid, start.data(), count.data(), data), "write");
}

void Netcdf_File::Close() {
    const int id = ncid_;
    ncid_ = -1;
    const int status = nc_close(id);
    if (status != NC_NOERR) Give_Up();
    Check(status, "close");
}

}  // namespace vantrel
