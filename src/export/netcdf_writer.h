#pragma once
// Streams ensembles into a netCDF-4 file: the variables of Netcdf_Catalogue along an
// unlimited time dimension, buffered one chunk of time steps at a time, so memory stays
// the same whatever the number of ensembles.

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "export/netcdf_file.h"
#include "export/netcdf_variables.h"

namespace vantrel {

using Netcdf_Attributes = std::vector<std::pair<std::string, std::variant<std::string, std::int64_t, double>>>;

// Deflate level of the converter, chosen by measurement (bench/netcdf_bench.cpp): level 1
// with shuffling writes 0.44 of level 0's bytes (level 0 writes more than the source has) for
// 1.6 times the CPU time; level 2 costs 8% more time for 2% less, level 3 (libdeflate) twice
// the time for 4% less, and no shuffling is both slower and 11% larger.
// `vantrel-cli convert --deflate 0` is the fast choice.
constexpr int k_netcdf_deflate_level = 1;

class Netcdf_Writer {
public:
    // Creates path and defines the dimensions, the variables and the range coordinate
    // (from the set-up of first). Throws Netcdf_Error, naming shown_as.
    Netcdf_Writer(const std::string& path, const std::string& shown_as, const Netcdf_Layout& layout,
                  const Decoder_State& first, int deflate_level, const Netcdf_Attributes& global);

    // Adds count time steps, in order. Each variable gathers all of them in one run, so its
    // batch is written in whole cache lines rather than a few bytes per step of every batch.
    void Append(const Ensemble_View* steps, std::size_t count);

    // Writes the buffered steps, adds the global attributes known only at the end and closes.
    void Finish(const Netcdf_Attributes& closing);

    std::size_t Steps() const { return written_ + buffered_; }
    // Time steps per chunk (and per write).
    std::size_t Chunk_Steps() const { return chunk_steps_; }

private:
    void Flush();
    void Put_Attributes(int varid, const Netcdf_Attributes& attributes);

    Netcdf_File file_;
    std::vector<Netcdf_Variable> vars_;
    std::vector<int> ids_;
    std::vector<std::size_t> step_elements_;          // values of one time step, per variable
    std::vector<std::vector<unsigned char>> batch_;   // chunk_steps_ time steps, per variable
    std::vector<std::size_t> extents_;                // length of each dimension but time
    std::size_t chunk_steps_ = 0;
    std::size_t buffered_ = 0, written_ = 0;
};

}  // namespace vantrel
