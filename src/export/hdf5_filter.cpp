#include "export/hdf5_filter.h"

#include <cstring>
#include <new>
#include <vector>

#include <dlfcn.h>

namespace vantrel {

bool Replace_Hdf5_Filter(const H5Z_class2_t& filter) {
    // H5Zregister refuses the predefined filter ids, so the library's own registration,
    // which replaces an entry of the same id, is looked up; it has this signature in the
    // 1.10 to 1.14 series.
    using Register = herr_t (*)(const H5Z_class2_t*);
    unsigned major = 0, minor = 0, release = 0;
    if (H5get_libversion(&major, &minor, &release) < 0 || major != 1 || minor < 10 || minor > 14) return false;
    void* symbol = dlsym(RTLD_DEFAULT, "H5Z_register");
    if (symbol == nullptr) return false;
    Register h5z_register = nullptr;
    static_assert(sizeof symbol == sizeof h5z_register);
    std::memcpy(&h5z_register, &symbol, sizeof symbol);
    return h5z_register(&filter) >= 0;
}

std::uint8_t* Filter_Scratch(std::size_t bytes) noexcept {
    thread_local std::vector<std::uint8_t> scratch;
    try {
        if (scratch.size() < bytes) scratch.resize(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;  // the filter fails; nothing may throw through the library's C frames
    }
    return scratch.data();
}

}  // namespace vantrel
