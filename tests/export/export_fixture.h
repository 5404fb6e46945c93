#pragma once
// A program state with a fake Sub Set loader: every ensemble number maps to values
// computed from it, so a test knows what each exported cell must hold. Single
// ensembles can be overridden (bad velocities, odd headings, built-in test bits).

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app_state.h"
#include "export/export_selection.h"

namespace vantrel::test {

// Values the fake loader puts in a slot for ensemble e, bin b, component c.
inline std::uint8_t Fake_Echo(std::int32_t e, int c, int b) { return static_cast<std::uint8_t>(40 + 10 * c + b + e % 7); }
inline std::uint8_t Fake_Corr(std::int32_t e, int c, int b) { return static_cast<std::uint8_t>(100 + 5 * c + b + e % 5); }
inline std::uint8_t Fake_PGood(std::int32_t e, int c, int b) { return static_cast<std::uint8_t>(60 + 3 * c + b + e % 3); }
inline std::int16_t Fake_Vel(std::int32_t e, int c, int b) {
    if (c == 5) return static_cast<std::int16_t>((e * 137 + b * 11) % 3600);
    return static_cast<std::int16_t>(e * 100 - 700 + 10 * c + b);
}
inline std::int16_t Fake_Ensemble_Vel(std::int32_t e, int array, int c) {
    if (c == 5) return static_cast<std::int16_t>((e * 71 + array * 900) % 3600);
    return static_cast<std::int16_t>(array * 1000 + c * 100 - e);
}

struct Export_Fixture {
    App_State app;
    Export_Selection sel;
    Progress_Hooks progress;
    std::map<std::int32_t, std::function<void(Data_Set&)>> overrides;  // applied to slot 0 after the fill
    std::vector<std::pair<std::int32_t, std::int32_t>> loads;           // every (first, last) asked for
    std::int32_t stop_after_loads = -1;  // request a stop once this many loads have run
    std::int32_t unreadable_from = -1;   // loads from this ensemble on fail as a vanished member does
    std::vector<int> percents;

    Sub_Set_Loader loader = [this](std::int32_t f, std::int32_t l) {
        if (unreadable_from >= 0 && f >= unreadable_from) return Failure(Outcome_Kind::k_invalid_file, "member gone");
        return Load(f, l) ? Outcome{} : Failure(Outcome_Kind::k_nothing_loaded);
    };
    Export_Job job{app.ds, app.dec, sel, loader, progress, "/data/survey/RUN_007.000"};

    explicit Export_Fixture(std::int32_t num_bins = 5, std::int32_t file_first = 1, std::int32_t file_last = 20) {
        Allocate_Data_Set(app.ds, true, 16, 16);
        Data_Set& ds = app.ds;
        ds.File_First_Ens = ds.Whole_First_Ens = ds.First_Ens = file_first;
        ds.File_Last_Ens = ds.Last_Ens = file_last;
        ds.First_Bin = 1, ds.Last_Bin = num_bins;
        ds.Avg_Interval = 1.5;
        ds.File_Loaded = true;
        ds.Orientation_Count = -3;  // mostly facing up: position p is bin p - 1
        Decoder_State& dec = app.dec;
        dec.Data_Structure = k_structure_bb;
        dec.Sys_Config = 0x4242;  // 307.2 kHz
        dec.Num_Bins = num_bins;
        dec.Pings_Per_Ens = 60;
        dec.Time_Per_Ping[0] = 0, dec.Time_Per_Ping[1] = 1, dec.Time_Per_Ping[2] = 50;
        dec.Bin1_Dist = 3.25, dec.Bin_Size = 0.5;
        progress.on_percent = [this](int p) { percents.push_back(p); };
    }

    bool Load(std::int32_t f, std::int32_t l) {
        loads.emplace_back(f, l);
        Data_Set& ds = app.ds;
        if (l > ds.File_Last_Ens) l = ds.File_Last_Ens;
        ds.Sub_Count = 0;
        for (std::int32_t e = f; e <= l && ds.Sub_Count < ds.Sub_Slots(); ++e) {
            Fill(e, static_cast<std::size_t>(ds.Sub_Count));
            ++ds.Sub_Count;
        }
        if (stop_after_loads >= 0 && static_cast<std::int32_t>(loads.size()) >= stop_after_loads) {
            progress.stop_requested = true;
        }
        if (ds.Sub_Count == 0) return false;
        ds.First_Ens = f;
        ds.Last_Ens = f + ds.Sub_Count - 1;
        return true;
    }

    void Fill(std::int32_t e, std::size_t s) {
        Data_Set& ds = app.ds;
        app.dec.Cur_Ens_Number = e;
        ds.Sub_Ens_Number(s) = e;
        const std::uint8_t clock[7] = {24, 5, 1, 12, static_cast<std::uint8_t>(e / 60 % 60),
                                       static_cast<std::uint8_t>(e % 60), static_cast<std::uint8_t>(e * 7 % 100)};
        for (std::size_t k = 0; k < 7; ++k) ds.Sub_Time(k, s) = clock[k];
        for (int b = 0; b < app.dec.Num_Bins; ++b) {
            for (int c = 0; c < 5; ++c)
                ds.Sub_Echo(c, b, s) = Fake_Echo(e, c, b), ds.Sub_Corr(c, b, s) = Fake_Corr(e, c, b), ds.Sub_PGood(c, b, s) = Fake_PGood(e, c, b);
            for (int c = 0; c < 8; ++c) ds.Sub_Vel(c, b, s) = Fake_Vel(e, c, b);
        }
        const std::int32_t anc[8] = {-150 + e, 230, (e * 1000) % 36000, 1234, 12345 + e, 0, 0, 150};
        for (std::size_t k = 0; k < 8; ++k) ds.Sub_Anc(k, s) = anc[k];
        for (int c = 0; c < 6; ++c) {
            ds.Sub_BT_Vel(c, s) = Fake_Ensemble_Vel(e, 0, c);
            ds.Sub_WM_Vel(c, s) = Fake_Ensemble_Vel(e, 1, c);
            ds.Sub_Ref_Vel(c, s) = Fake_Ensemble_Vel(e, 2, c);
            ds.Sub_Nav_Vel(c, s) = Fake_Ensemble_Vel(e, 3, c);
            ds.Sub_BT_Range(c, s) = 4000 + 10 * c + e;
        }
        ds.Sub_First_Lat(s) = 620000000 + e, ds.Sub_First_Lon(s) = 47721859 - e;  // about 52 and 4 degrees
        ds.Sub_Last_Lat(s) = -620000000 - e, ds.Sub_Last_Lon(s) = -2147483647;
        ds.Sub_Calimbro_Lat(s) = 310000000 + e, ds.Sub_Calimbro_Lon(s) = -1000 * e;
        ds.Sub_MicroCAT(s) = "t=12.5 c=4.2 #" + std::to_string(e);
        if (s == 0) {
            const auto it = overrides.find(e);
            if (it != overrides.end()) it->second(ds);
        }
    }

    // Selects list positions 1..n of a bin list.
    static void Select_Bins(Bin_List& list, std::initializer_list<int> positions) {
        for (int p : positions) list[static_cast<std::size_t>(p - 1)] = true;
    }
    // A contour export of one data type over the range, at the bin list's positions.
    void Choose_Contour(std::int32_t type, Range_Fields range, std::initializer_list<int> positions) {
        sel.Contour_Type = type, sel.Contour_Range = std::move(range);
        Select_Bins(sel.Contour_Bins, positions);
    }
};

}  // namespace vantrel::test
