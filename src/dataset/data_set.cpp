#include "dataset/data_set.h"

#include "dataset/data_codes.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace vantrel {

namespace {
std::uint64_t Next_Whole_Generation() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}
}  // namespace

void Allocate_Data_Set(Data_Set& ds, bool whole, std::int32_t max_sub_ens, std::int32_t max_whole_ens, int bins_held) {
    const std::size_t n = static_cast<std::size_t>(std::max({max_sub_ens, max_whole_ens, 0})) + 1;
    const auto bins = static_cast<std::size_t>(std::clamp(bins_held, 0, k_max_bins));
    ds.Sub_Ens_Number.Resize(n);
    ds.Sub_Time.Resize(7, n);
    ds.Sub_Corr.Resize(5, bins, n);
    ds.Sub_Echo.Resize(5, bins, n);
    ds.Sub_PGood.Resize(5, bins, n);
    ds.Sub_Vel.Resize(8, bins, n);
    ds.Sub_Anc.Resize(8, n);
    ds.Sub_BT_Vel.Resize(6, n);
    ds.Sub_WM_Vel.Resize(6, n);
    ds.Sub_Ref_Vel.Resize(6, n);
    ds.Sub_Nav_Vel.Resize(6, n);
    ds.Sub_BT_Range.Resize(6, n);
    for (auto* a : {&ds.Sub_First_Lat, &ds.Sub_First_Lon, &ds.Sub_Last_Lat, &ds.Sub_Last_Lon,
                    &ds.Sub_Calimbro_Lat, &ds.Sub_Calimbro_Lon, &ds.Sub_QTRM_Depth, &ds.Sub_QTRM_Vel}) {
        a->Resize(n);
    }
    ds.Sub_MicroCAT.Resize(n);
    ds.Sub_QTRM_Flow.Resize(n);
    ds.Sub_QTRM_Time.Resize(8, n);

    if (!whole) return;
    ds.Whole_Generation = Next_Whole_Generation();
    const std::size_t w = static_cast<std::size_t>(std::max(max_whole_ens, 0)) + 1;
    ds.Bin_Work.Resize(3, k_max_bins);
    ds.Whole_Time.Resize(7, w);
    ds.Whole_Corr.Resize(5, bins, w);
    ds.Whole_Echo.Resize(5, bins, w);
    ds.Whole_PGood.Resize(5, bins, w);
    ds.Whole_Vel.Resize(6, bins, w);
    ds.Whole_Anc.Resize(8, w);
    for (auto* a : {&ds.Whole_Nav_Vel, &ds.Whole_Ref_Vel, &ds.Whole_BT_Vel, &ds.Whole_WM_Vel}) a->Resize(6, w);
    ds.Whole_BT_Range.Resize(5, w);
}

bool Profile_Bins_Fit(const Data_Set& ds, int bins) {
    const bool whole_fits = ds.Whole_Vel.Last_Extent() == 0 || bins <= static_cast<int>(ds.Whole_Vel.Extent(1));
    return bins <= Profile_Bins(ds) && whole_fits;
}

void Fit_Profile_Bins(Data_Set& ds, int bins) {
    if (Profile_Bins_Fit(ds, bins)) return;
    const auto b = static_cast<std::size_t>(std::clamp(bins, 0, k_max_bins));
    // A Whole Set array not yet allocated has rank 1 and stays as it is.
    for (auto* a : {&ds.Sub_Corr, &ds.Sub_Echo, &ds.Sub_PGood, &ds.Whole_Corr, &ds.Whole_Echo, &ds.Whole_PGood}) a->Widen(b);
    // Cells above a narrower set-up were not measured: bad, not a still current.
    for (auto* a : {&ds.Sub_Vel, &ds.Whole_Vel}) a->Widen(b, k_bad_velocity);
}

int Profile_Bins(const Data_Set& ds) { return static_cast<int>(ds.Sub_Vel.Extent(1)); }

namespace {

// Copies the first `components` of each of the first `bins` bins of one slot.
template <typename T>
void Copy_Profile(const Dense_Array<T>& from, Dense_Array<T>& to, std::size_t slot, std::size_t components,
                  std::size_t bins) {
    for (std::size_t bin = 0; bin < bins; ++bin) {
        for (std::size_t c = 0; c < components; ++c) to(c, bin, slot) = from(c, bin, slot);
    }
}

template <typename T>
void Copy_Components(const Dense_Array<T>& from, Dense_Array<T>& to, std::size_t slot, std::size_t components) {
    for (std::size_t c = 0; c < components; ++c) to(c, slot) = from(c, slot);
}

}  // namespace

void Copy_To_Whole_Set(Data_Set& ds, int num_bins) {
    const std::size_t capacity = ds.Whole_Time.Last_Extent();
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(ds.Sub_Count, 0)), capacity);
    const std::size_t bins = std::min({static_cast<std::size_t>(std::clamp(num_bins, 0, k_max_bins)),
                                       ds.Sub_Vel.Extent(1), ds.Whole_Vel.Extent(1)});
    ds.Whole_Count = ds.Sub_Count;
    ds.Whole_First_Ens = ds.First_Ens;
    ds.Whole_Step = ds.Ens_Step;
    ds.Whole_Generation = Next_Whole_Generation();
    for (std::size_t s = 0; s < count; ++s) {
        Copy_Profile(ds.Sub_Vel, ds.Whole_Vel, s, 6, bins);
        Copy_Components(ds.Sub_Nav_Vel, ds.Whole_Nav_Vel, s, 6);
        Copy_Components(ds.Sub_Ref_Vel, ds.Whole_Ref_Vel, s, 6);
        Copy_Components(ds.Sub_BT_Vel, ds.Whole_BT_Vel, s, 6);
        Copy_Components(ds.Sub_WM_Vel, ds.Whole_WM_Vel, s, 6);
        Copy_Profile(ds.Sub_Corr, ds.Whole_Corr, s, 5, bins);
        Copy_Profile(ds.Sub_Echo, ds.Whole_Echo, s, 5, bins);
        Copy_Components(ds.Sub_BT_Range, ds.Whole_BT_Range, s, 5);
        Copy_Profile(ds.Sub_PGood, ds.Whole_PGood, s, 4, bins);
        Copy_Components(ds.Sub_Time, ds.Whole_Time, s, 7);
        Copy_Components(ds.Sub_Anc, ds.Whole_Anc, s, 8);
    }
}

namespace {
template <typename T>
void Zero_Slot(Dense_Array<T>& a, std::size_t slot) {
    T* p = a.Slice(slot);
    std::fill(p, p + a.Slice_Size(), T{});
}

// Sets bins from..to-1 of a (component, bin, slot) array's slot to `value`, within its extent.
template <typename T>
void Fill_Profile(Dense_Array<T>& a, std::size_t slot, std::size_t from, std::size_t to, T value = T{}) {
    to = std::min(to, a.Extent(1));
    if (from >= to) return;
    T* p = a.Slice(slot);
    std::fill(p + a.Extent(0) * from, p + a.Extent(0) * to, value);
}
}  // namespace

void Clear_Slot(Data_Set& ds, std::int32_t slot, int bins) { Clear_Unwritten(ds, slot, bins, {}); }

void Clear_Unwritten(Data_Set& ds, std::int32_t slot, int bins, const Slot_Writes& wrote) {
    if (slot < 0 || slot >= ds.Sub_Slots()) return;
    const auto s = static_cast<std::size_t>(slot);
    const auto b = static_cast<std::size_t>(std::clamp(bins, 0, k_max_bins));
    // A cell the ensemble did not hold (a narrower set-up, no velocity block) was not measured.
    Fill_Profile(ds.Sub_Vel, s, wrote.vel_bins, b, k_bad_velocity);
    Fill_Profile(ds.Sub_Corr, s, wrote.corr_bins, b);
    Fill_Profile(ds.Sub_Echo, s, wrote.echo_bins, b);
    Fill_Profile(ds.Sub_PGood, s, wrote.pgood_bins, b);
    if (!wrote.Has(Slot_Writes::k_leader)) {
        const std::int32_t up = ds.Sub_Anc(k_anc_orientation, s);
        Zero_Slot(ds.Sub_Ens_Number, s);
        Zero_Slot(ds.Sub_Time, s);
        Zero_Slot(ds.Sub_Anc, s);
        ds.Sub_Anc(k_anc_orientation, s) = up;
    }
    if (!wrote.Has(Slot_Writes::k_orientation)) ds.Sub_Anc(k_anc_orientation, s) = 0;
    if (!wrote.Has(Slot_Writes::k_bottom_track)) {
        Zero_Slot(ds.Sub_BT_Range, s);
        Zero_Slot(ds.Sub_BT_Vel, s);
        Zero_Slot(ds.Sub_WM_Vel, s);
    }
    if (!wrote.Has(Slot_Writes::k_reference)) {
        Zero_Slot(ds.Sub_Ref_Vel, s);
        Zero_Slot(ds.Sub_Calimbro_Lat, s);
        Zero_Slot(ds.Sub_Calimbro_Lon, s);
    }
    if (!wrote.Has(Slot_Writes::k_navigation)) {
        for (auto* a : {&ds.Sub_First_Lat, &ds.Sub_First_Lon, &ds.Sub_Last_Lat, &ds.Sub_Last_Lon}) Zero_Slot(*a, s);
        Zero_Slot(ds.Sub_Nav_Vel, s);
    }
    if (!wrote.Has(Slot_Writes::k_qtrm)) {
        Zero_Slot(ds.Sub_QTRM_Time, s);
        Zero_Slot(ds.Sub_QTRM_Depth, s);
        Zero_Slot(ds.Sub_QTRM_Vel, s);
        Zero_Slot(ds.Sub_QTRM_Flow, s);
    }
    if (!wrote.Has(Slot_Writes::k_microcat)) ds.Sub_MicroCAT(s).clear();
}

}  // namespace vantrel
