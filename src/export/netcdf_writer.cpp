#include "export/netcdf_writer.h"

#include <algorithm>
#include <array>

#include <netcdf.h>

namespace vantrel {

namespace {

// Of the largest variable, velocity_raw. Each chunk costs the library a fixed amount of
// bookkeeping and the encoder a set of codes: 2 MB chunks convert 8 to 10% faster than
// 512 KB ones, and a little smaller, for 17 MB more memory.
constexpr std::size_t k_chunk_bytes = 2048 * 1024;
// Time steps a chunk holds at most, which caps the chunks of the smallest variables when
// there are few bins.
constexpr std::size_t k_max_chunk_steps = 65536;
constexpr std::size_t k_max_fills = 8;  // variables one gather may fill

}  // namespace

Netcdf_Writer::Netcdf_Writer(const std::string& path, const std::string& shown_as, const Netcdf_Layout& layout,
                             const Decoder_State& first, int deflate_level, const Netcdf_Attributes& global)
    : file_(path, shown_as), vars_(Netcdf_Catalogue(layout)) {
    const std::size_t bins = std::max<std::size_t>(layout.bins, 1);
    chunk_steps_ = std::clamp<std::size_t>(k_chunk_bytes / (bins * 4 * sizeof(std::int16_t)), 64, k_max_chunk_steps);
    extents_ = {0, bins, 4, 4};
    std::vector<int> dim_ids = {file_.Define_Dimension("time", 0), file_.Define_Dimension("range", bins),
                                file_.Define_Dimension("beam", 4), file_.Define_Dimension("component", 4)};

    const int range = file_.Define_Variable("range", NC_DOUBLE, {dim_ids[k_dim_range]});
    file_.Put_Text(range, "long_name", "distance of the cell centre from the transducer, positive up");
    file_.Put_Text(range, "units", "m");
    file_.Put_Text(range, "positive", "up");
    file_.Put_Text(range, "axis", "Z");
    file_.Put_Text(range, "comment", "bin order: index 0 is the cell farthest below the surface");
    const int beam = file_.Define_Variable("beam", NC_INT, {dim_ids[k_dim_beam]});
    file_.Put_Text(beam, "long_name", "beam number");

    for (std::size_t i = 0; i < vars_.size(); ++i) {
        if (vars_[i].gather && (vars_[i].fills == 0 || vars_[i].fills > k_max_fills || i + vars_[i].fills > vars_.size()))
            throw Netcdf_Error("variable " + vars_[i].name + " fills more variables than there are");
    }
    for (const Netcdf_Variable& v : vars_) {
        std::vector<int> dims;
        std::vector<std::size_t> chunks;
        std::size_t elements = 1;
        for (Netcdf_Dimension d : v.dims) {
            dims.push_back(dim_ids[d]);
            chunks.push_back(d == k_dim_time ? chunk_steps_ : extents_[d]);
            if (d != k_dim_time) elements *= extents_[d];
        }
        const int id = file_.Define_Variable(v.name, v.nc_type, dims, chunks, deflate_level);
        if (v.has_fill) file_.Put_Typed(id, "_FillValue", v.nc_type, v.fill.data());
        for (const auto& [name, value] : v.text) file_.Put_Text(id, name, value);
        if (v.scale_factor != 0) file_.Put_Double(id, "scale_factor", v.scale_factor);
        ids_.push_back(id);
        step_elements_.push_back(elements);
        batch_.emplace_back(elements * v.element_bytes * chunk_steps_);
    }
    Put_Attributes(NC_GLOBAL, global);
    file_.End_Definitions();

    std::vector<double> ranges(bins);
    for (std::size_t k = 0; k < bins; ++k) ranges[k] = Bin_Range(first, k);
    file_.Put(range, {0}, {bins}, ranges.data());
    const std::int32_t beams[4] = {1, 2, 3, 4};
    file_.Put(beam, {0}, {4}, beams);
}

void Netcdf_Writer::Put_Attributes(int varid, const Netcdf_Attributes& attributes) {
    for (const auto& [name, value] : attributes) {
        if (const auto* text = std::get_if<std::string>(&value)) file_.Put_Text(varid, name, *text);
        else if (const auto* count = std::get_if<std::int64_t>(&value)) file_.Put_Int64(varid, name, *count);
        else file_.Put_Double(varid, name, std::get<double>(value));
    }
}

void Netcdf_Writer::Append(const Ensemble_View* steps, std::size_t count) {
    while (count > 0) {
        const std::size_t take = std::min(count, chunk_steps_ - buffered_);
        for (std::size_t i = 0; i < vars_.size(); ++i) {
            if (!vars_[i].gather) continue;
            std::array<void*, k_max_fills> dst{};
            for (std::size_t j = 0; j < vars_[i].fills; ++j) {
                dst[j] = batch_[i + j].data() + buffered_ * step_elements_[i + j] * vars_[i + j].element_bytes;
            }
            vars_[i].gather({steps, take}, dst.data());
        }
        steps += take;
        count -= take;
        buffered_ += take;
        if (buffered_ == chunk_steps_) Flush();
    }
}

void Netcdf_Writer::Flush() {
    if (buffered_ == 0) return;
    for (std::size_t i = 0; i < vars_.size(); ++i) {
        std::vector<std::size_t> start, count;
        for (Netcdf_Dimension d : vars_[i].dims) {
            start.push_back(d == k_dim_time ? written_ : 0);
            count.push_back(d == k_dim_time ? buffered_ : extents_[d]);
        }
        file_.Put(ids_[i], start, count, batch_[i].data());
    }
    written_ += buffered_;
    buffered_ = 0;
}

void Netcdf_Writer::Finish(const Netcdf_Attributes& closing) {
    Flush();
    file_.Redefine();
    Put_Attributes(NC_GLOBAL, closing);
    file_.End_Definitions();
    file_.Close();
}

}  // namespace vantrel
