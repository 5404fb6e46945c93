#pragma once
// What the netCDF converter writes for each ensemble: the variables, their CF attributes
// and how each takes its values out of the data set's slot 0.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "dataset/data_set.h"
#include "decode/decoder_state.h"

namespace vantrel {

// What the gathers read of an ensemble's decoder state, kept per slot.
struct Ensemble_Setup {
    std::int32_t Num_Bins = 0;
    bool Have_VL = false, Have_BT = false, Have_Nav = false;
    bool other_cells = false;  // cells other than the range coordinate's: no per-bin values
};

Ensemble_Setup Ensemble_Setup_Of(const Decoder_State& dec);

// One ensemble as the converter sees it.
struct Ensemble_View {
    const Data_Set& ds;
    std::size_t slot;             // decoded, and processed unless the conversion is raw
    Ensemble_Setup setup;
    const std::int16_t* raw_vel;  // Sub_Vel of the slot as decoded, 8 components per bin
};

// Fixed by the first ensemble converted.
struct Netcdf_Layout {
    std::size_t bins = 0;     // length of the range dimension
    bool processed = true;    // the processed velocities are written
    bool earth = true;        // velocity components 0-3 are east, north, up, error after processing
    std::string coordinate_system;  // of the recorded velocities
    std::string reference;          // velocity reference of the processed velocities
};

// Writes the time steps, in order, to dst[0], each the product of the other dimensions'
// lengths; a gather that fills several variables writes the next ones to dst[1], ...
using Netcdf_Gather = std::function<void(std::span<const Ensemble_View> steps, void* const* dst)>;

enum Netcdf_Dimension : int { k_dim_time = 0, k_dim_range, k_dim_beam, k_dim_component, k_dim_count };

struct Netcdf_Variable {
    std::string name;
    int nc_type = 0;
    std::size_t element_bytes = 0;
    std::vector<Netcdf_Dimension> dims;  // time first
    std::vector<std::pair<std::string, std::string>> text;  // units, long_name, ...
    double scale_factor = 0;  // 0: none
    bool has_fill = false;
    std::array<unsigned char, 8> fill{};  // the fill value in the variable's own type
    Netcdf_Gather gather;     // empty when an earlier variable's gather fills this one
    std::size_t fills = 1;    // variables the gather fills: this one and the next fills - 1
};

// The variables for a layout, time first.
std::vector<Netcdf_Variable> Netcdf_Catalogue(const Netcdf_Layout& layout);

// Milliseconds since 1970-01-01 of a clock (two-digit year, month, day, hour, minute,
// second, hundredths); years below 80 are 20xx, the others 19xx. False for an impossible date.
bool Clock_Milliseconds(const std::uint8_t* clock, std::int64_t& ms);

// Distance of data-set bin k from the transducer in metres, positive up: negative for
// a down-facing instrument, whose bin 0 is the farthest cell.
double Bin_Range(const Decoder_State& dec, std::size_t k);

// "beam", "instrument", "ship" or "earth" from bits 3-4 of the coordinate transformation byte.
const char* Coordinate_System_Name(std::int32_t coord_transform);

}  // namespace vantrel
