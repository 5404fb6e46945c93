#include "export/mat_export.h"

#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "export/export_common.h"
#include "platform/numeric.h"

namespace vantrel {

namespace {

void Put_LE(std::string& out, std::uint64_t bits, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::uint64_t Bits_Of(std::uint8_t v) { return v; }
std::uint64_t Bits_Of(std::int16_t v) { return static_cast<std::uint16_t>(v); }
std::uint64_t Bits_Of(std::int32_t v) { return static_cast<std::uint32_t>(v); }
std::uint64_t Bits_Of(float v) { return std::bit_cast<std::uint32_t>(v); }
std::uint64_t Bits_Of(double v) { return std::bit_cast<std::uint64_t>(v); }

template <typename T>
void Write_Record(std::ostream& out, std::int32_t type, std::string_view name, const T* data, std::int32_t rows,
                  std::int32_t cols, std::int32_t stride) {
    if (rows < 0) rows = 0;
    if (cols < 0) cols = 0;
    if (stride <= 0) stride = rows;
    std::string rec;
    rec.reserve(20 + name.size() + 1 + sizeof(T) * static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    Put_LE(rec, static_cast<std::uint32_t>(type), 4);
    Put_LE(rec, static_cast<std::uint32_t>(rows), 4);
    Put_LE(rec, static_cast<std::uint32_t>(cols), 4);
    Put_LE(rec, 0, 4);  // real data
    Put_LE(rec, static_cast<std::uint32_t>(name.size() + 1), 4);
    rec += name;
    rec += '\0';
    for (std::int32_t c = 0; c < cols; ++c) {
        const T* column = data + static_cast<std::size_t>(c) * static_cast<std::size_t>(stride);
        for (std::int32_t r = 0; r < rows; ++r) Put_LE(rec, Bits_Of(column[r]), sizeof(T));
    }
    out.write(rec.data(), static_cast<std::streamsize>(rec.size()));
}

template <typename T>
void Write_Scalar(std::ostream& out, std::int32_t type, std::string_view name, T value) {
    Write_Record(out, type, name, &value, 1, 1, 1);
}

// Column-major storage of R planned rows; the writers emit the first n of each column.
template <typename T>
struct Column_Store {
    std::int32_t rows = 0, cols = 0;
    std::vector<T> data;
    void Allocate(std::int32_t r, std::int32_t c) {
        rows = r;
        cols = c;
        data.assign(static_cast<std::size_t>(r) * static_cast<std::size_t>(c), T{});
    }
    T& At(std::int32_t r, std::int32_t c) {
        return data[static_cast<std::size_t>(c) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(r)];
    }
    const T* Data() const { return data.empty() ? nullptr : data.data(); }
};

// Ensemble numbers and the seven clock bytes of every row filled.
struct Clock_Columns {
    Column_Store<std::int32_t> ensembles;
    Column_Store<std::uint8_t> clock;  // R x 7

    void Allocate(std::int32_t rows) {
        ensembles.Allocate(rows, 1);
        clock.Allocate(rows, 7);
    }
    void Fill(std::int32_t r, const Export_Job& job) {
        ensembles.At(r, 0) = job.dec.Cur_Ens_Number;
        for (std::int32_t k = 0; k < 7; ++k) clock.At(r, k) = job.ds.Sub_Time(static_cast<std::size_t>(k), 0);
    }
    void Write(std::ostream& out, std::string_view prefix, const char* const (&names)[8], std::int32_t n) const {
        Write_Mat_Long_Matrix(out, std::string(prefix) + names[0], ensembles.Data(), n, 1, ensembles.rows);
        for (std::int32_t k = 0; k < 7; ++k) {
            const std::uint8_t* column = clock.Data() ? clock.Data() + static_cast<std::size_t>(k) * static_cast<std::size_t>(clock.rows) : nullptr;
            Write_Mat_Byte_Matrix(out, std::string(prefix) + names[k + 1], column, n, 1, clock.rows);
        }
    }
};

// Positions of the selected bins as a row; a lone 0 when none is selected.
std::vector<std::uint8_t> Bin_Positions(const std::vector<Bin_Column>& bins) {
    std::vector<std::uint8_t> positions;
    for (const Bin_Column& c : bins) positions.push_back(static_cast<std::uint8_t>(c.position));
    if (positions.empty()) positions.push_back(0);
    return positions;
}

void Write_Positions(std::ostream& out, std::string_view name, const std::vector<std::uint8_t>& positions) {
    Write_Mat_Byte_Matrix(out, name, positions.data(), 1, static_cast<std::int32_t>(positions.size()));
}

// Per-bin values of one type in either element width: velocities 16-bit, the rest bytes.
struct Bin_Matrix {
    bool velocity = false;
    Column_Store<std::uint8_t> bytes;
    Column_Store<std::int16_t> words;

    void Allocate(int type, std::int32_t rows, std::int32_t cols) {
        velocity = Is_Velocity_Type(type);
        if (velocity) words.Allocate(rows, cols);
        else bytes.Allocate(rows, cols);
    }
    void Set(std::int32_t r, std::int32_t c, std::int32_t v) {
        if (velocity) words.At(r, c) = static_cast<std::int16_t>(v);
        else bytes.At(r, c) = static_cast<std::uint8_t>(v);
    }
    void Write(std::ostream& out, std::string_view name, std::int32_t rows) const {
        if (velocity) Write_Mat_Integer_Matrix(out, name, words.Data(), rows, words.cols, words.rows);
        else Write_Mat_Byte_Matrix(out, name, bytes.Data(), rows, bytes.cols, bytes.rows);
    }
};

constexpr const char* k_con_clock_names[8] = {"Ensembles", "Year", "Month", "Day", "Hour", "Min", "Sec", "Hund"};
constexpr const char* k_ser_clock_names[8] = {"Ensembles", "Year", "Mon", "Day", "Hour", "Min", "Sec", "Hund"};

constexpr const char* k_series_bin_names[k_export_type_count] = {
    "SerEA1cnt",    "SerEA2cnt",    "SerEA3cnt",     "SerEA4cnt",      "SerEAAcnt",     "SerC1cnt",     "SerC2cnt",
    "SerC3cnt",     "SerC4cnt",     "SerCAcnt",      "SerEmmpersec",   "SerNmmpersec",  "SerVmmpersec", "SerErmmpersec",
    "SerMagmmpersec", "SerDir10thDeg", "SerPG1",      "SerPG2",         "SerPG3",        "SerPG4"};

constexpr const char* k_series_velocity_names[16] = {
    "AnBTEmmpersec",  "AnBTNmmpersec",   "AnBTVmmpersec", "AnBTErmmpersec", "AnBTMagmmpersec", "AnBTDir10thDeg",
    "AnWMEmmpersec",  "AnWMNmmpersec",   "AnWMVmmpersec", "AnWMErmmpersec", "AnWMMagmmpersec", "AnWMDir10thDeg",
    "AnNVEmmpersec",  "AnNVNmmpersec",   "AnNVMagmmpersec", "AnNVDir10thDeg"};

constexpr const char* k_anc_names[k_anc_box_count] = {"AnP100thDeg", "AnR100thDeg", "AnH100thDeg", "AnT100thDeg",
                                                      "AnDepthmm",   "AnOrienUP",   "AnBIT",       "AnBatt"};

std::string Profile_Base_Name(int i) {
    static constexpr const char* k_vel[6] = {"Emmpersec",  "Nmmpersec", "Vmmpersec",
                                             "Ermmpersec", "Magmmsec",  "Dir10thDeg"};
    if (i < k_type_echo_average) return "EAmpBm" + std::to_string(i - k_type_echo + 1) + "cnts";
    if (i == k_type_echo_average) return "EAmpBmAvgcnts";
    if (i < k_type_corr_average) return "Cor" + std::to_string(i - k_type_corr + 1) + "cnts";
    if (i == k_type_corr_average) return "CorAvgcnts";
    if (i < k_type_pgood) return k_vel[i - k_type_vel];
    return "PG" + std::to_string(i - k_type_pgood + 1);
}

}  // namespace

void Write_Mat_Text(std::ostream& out, std::string_view name, std::string_view text) {
    std::vector<float> codes;
    codes.reserve(text.size());
    for (char c : text) codes.push_back(static_cast<float>(static_cast<unsigned char>(c)));
    Write_Record(out, k_mat_text, name, codes.data(), 1, static_cast<std::int32_t>(codes.size()), 1);
}

void Write_Mat_Long_Scalar(std::ostream& out, std::string_view name, std::int32_t value) {
    Write_Scalar(out, k_mat_long, name, value);
}

void Write_Mat_Single_Scalar(std::ostream& out, std::string_view name, float value) {
    Write_Scalar(out, k_mat_single, name, value);
}

void Write_Mat_Double_Matrix(std::ostream& out, std::string_view name, const double* data, std::int32_t rows,
                             std::int32_t cols, std::int32_t stride) {
    Write_Record(out, k_mat_double, name, data, rows, cols, stride);
}

void Write_Mat_Byte_Matrix(std::ostream& out, std::string_view name, const std::uint8_t* data, std::int32_t rows,
                           std::int32_t cols, std::int32_t stride) {
    Write_Record(out, k_mat_byte, name, data, rows, cols, stride);
}

void Write_Mat_Long_Matrix(std::ostream& out, std::string_view name, const std::int32_t* data, std::int32_t rows,
                           std::int32_t cols, std::int32_t stride) {
    Write_Record(out, k_mat_long, name, data, rows, cols, stride);
}

void Write_Mat_Integer_Matrix(std::ostream& out, std::string_view name, const std::int16_t* data, std::int32_t rows,
                              std::int32_t cols, std::int32_t stride) {
    Write_Record(out, k_mat_integer, name, data, rows, cols, stride);
}

void Write_Mat_Unsigned_Matrix(std::ostream& out, std::string_view name, const std::int16_t* data,
                               std::int32_t rows, std::int32_t cols, std::int32_t stride) {
    Write_Record(out, k_mat_unsigned, name, data, rows, cols, stride);
}

void Write_Mat_Header(Export_Job& job, std::ostream& out) {
    const Decoder_State& dec = job.dec;
    const Data_Set& ds = job.ds;
    Write_Mat_Text(out, "ORUFileName", job.ensemble_file);
    Write_Mat_Text(out, "ORUSystem", System_Text(dec));
    Write_Mat_Long_Scalar(out, "ORUPingsPerEns", dec.Pings_Per_Ens);
    const double sec_per_ping = dec.Time_Per_Ping[0] * 60.0 + dec.Time_Per_Ping[1] + dec.Time_Per_Ping[2] / 100.0;
    Write_Mat_Single_Scalar(out, "ORUSecPerPing", static_cast<float>(sec_per_ping));
    Write_Mat_Text(out, "ORUEnsDate", Ensemble_Date_Text(ds));
    Write_Mat_Text(out, "ORUEnsTime", Ensemble_Time_Text(ds));
    Write_Mat_Single_Scalar(out, "ORUEnsInterval", static_cast<float>(ds.Avg_Interval));
    Write_Mat_Single_Scalar(out, "ORUBin1Mid", static_cast<float>(dec.Bin1_Dist));
    Write_Mat_Single_Scalar(out, "ORUBinSize", static_cast<float>(dec.Bin_Size));
}

void Write_Contour_Mat(Export_Job& job, std::ostream& out) {
    const Ensemble_Range range = Normalise_Range(job.sel.Contour_Range, job.ds);
    const int d = job.sel.Contour_Type;
    const bool have_type = d >= 0 && d < k_export_type_count;
    Write_Mat_Text(out, "ConTitle", Contour_Type_Title(d, true));
    if (!Load_For_Export(job, range.first, range.first)) return;
    Write_Mat_Header(job, out);

    const std::vector<Bin_Column> bins = Selected_Bins(job.sel.Contour_Bins, job.dec.Num_Bins, job.ds.Orientation_Count);
    const std::vector<std::uint8_t> positions = Bin_Positions(bins);
    Write_Positions(out, "ConBins", positions);

    const std::int32_t planned = range.Rows();
    const auto cols = static_cast<std::int32_t>(positions.size());
    Bin_Matrix values;
    if (have_type) values.Allocate(d, planned, cols);
    Clock_Columns clock;
    clock.Allocate(planned);

    std::int32_t n = 0;
    for (std::int64_t e = range.first; n < planned && e <= range.last; e += range.step) {
        job.progress.Yield();
        if (job.progress.Stop()) break;
        const auto ens = static_cast<std::int32_t>(e);
        if (!Load_For_Export(job, ens, ens)) break;
        clock.Fill(n, job);
        if (have_type) {
            for (std::size_t k = 0; k < bins.size(); ++k) {
                values.Set(n, static_cast<std::int32_t>(k), Bin_Value(job.ds, d, bins[k].bin));
            }
        }
        ++n;
        job.progress.Percent(Range_Percent(range, ens));
    }

    clock.Write(out, "Con", k_con_clock_names, n);
    if (have_type) {
        const char* name = d < k_type_corr ? "ConEchoAmp" : d < k_type_vel ? "ConCor" : d < k_type_pgood ? "ConVel" : "ConPGood";
        values.Write(out, name, planned);
    }
    job.progress.Percent(100);
}

void Write_Profile_Mat(Export_Job& job, std::ostream& out) {
    const std::int32_t ens = Normalise_Profile_Ens(job.sel.Profile_Ens, job.ds);
    if (!Load_For_Export(job, ens, ens)) return;
    Write_Mat_Long_Scalar(out, "ORUProfileEns", job.dec.Cur_Ens_Number);
    Write_Mat_Header(job, out);

    const std::vector<Bin_Column> bins = Selected_Bins(job.sel.Profile_Bins, job.dec.Num_Bins, job.ds.Orientation_Count);
    const std::vector<std::uint8_t> positions = Bin_Positions(bins);
    Write_Positions(out, "ORUProfileBins", positions);
    const auto cols = static_cast<std::int32_t>(positions.size());

    for (int i = 0; i < k_export_type_count; ++i) {
        if (!job.sel.Profile_Types[static_cast<std::size_t>(i)]) continue;
        if (job.progress.Stop()) break;
        Bin_Matrix row;
        row.Allocate(i, 1, cols);
        for (std::size_t k = 0; k < bins.size(); ++k) {
            row.Set(0, static_cast<std::int32_t>(k), Bin_Value(job.ds, i, bins[k].bin));
        }
        row.Write(out, "Pro" + Profile_Base_Name(i), 1);
        job.progress.Percent((i + 1) * 100 / k_export_type_count);
    }
    job.progress.Percent(100);
}

void Write_Series_Mat(Export_Job& job, std::ostream& out) {
    const Export_Selection& sel = job.sel;
    const Ensemble_Range range = Normalise_Range(job.sel.Series_Range, job.ds);
    const bool calimbro = sel.Series_Types[k_type_calimbro];
    if (!Load_For_Export(job, range.first, range.first)) return;
    Write_Mat_Header(job, out);

    const std::vector<Bin_Column> bins = Selected_Bins(sel.Series_Bins, job.dec.Num_Bins, job.ds.Orientation_Count);
    Write_Positions(out, "SerBins", Bin_Positions(bins));
    const auto bin_count = static_cast<std::int32_t>(bins.size());

    const std::int32_t planned = range.Rows();
    Clock_Columns clock;
    clock.Allocate(planned);
    Column_Store<std::int16_t> anc_words;  // pitch, roll, heading, temperature, BIT in their component's column
    Column_Store<std::int32_t> depth;
    Column_Store<std::uint8_t> anc_bytes;  // orientation at column 0, battery at 1
    anc_words.Allocate(planned, k_anc_bit + 1);
    depth.Allocate(sel.Anc_Types[k_anc_depth] ? planned : 0, 1);
    anc_bytes.Allocate(sel.Anc_Types[k_anc_orientation] || sel.Anc_Types[k_anc_battery] ? planned : 0, 2);

    std::vector<int> bin_types;
    std::vector<Bin_Matrix> bin_values(k_export_type_count);
    if (bin_count > 0) {
        for (int t = 0; t < k_export_type_count; ++t) {
            if (!sel.Series_Types[static_cast<std::size_t>(t)]) continue;
            bin_types.push_back(t);
            bin_values[static_cast<std::size_t>(t)].Allocate(t, planned, bin_count);
        }
    }
    std::vector<int> velocity_types;
    for (int t = k_type_bt; t <= k_type_nav_direction; ++t) {
        if (sel.Series_Types[static_cast<std::size_t>(t)]) velocity_types.push_back(t);
    }
    Column_Store<std::int16_t> velocities;
    velocities.Allocate(planned, static_cast<std::int32_t>(velocity_types.size()));
    const bool want_positions = sel.Series_Types[k_type_positions], want_depths = sel.Series_Types[k_type_bt_depths];
    Column_Store<double> positions;  // first lat, lon, last lat, lon (or the two carried in bottom track)
    positions.Allocate(want_positions ? planned : 0, 4);
    Column_Store<std::int32_t> bt_depths;
    bt_depths.Allocate(want_depths ? planned : 0, 4);

    const Data_Set& ds = job.ds;
    std::int32_t n = 0;
    for (std::int64_t e = range.first; n < planned && e <= range.last; e += range.step) {
        job.progress.Yield();
        if (job.progress.Stop()) break;
        const auto ens = static_cast<std::int32_t>(e);
        if (!Load_For_Export(job, ens, ens)) break;
        clock.Fill(n, job);
        for (std::int32_t k = k_anc_pitch; k <= k_anc_temperature; ++k) {
            anc_words.At(n, k) = static_cast<std::int16_t>(ds.Sub_Anc(static_cast<std::size_t>(k), 0));
        }
        const std::int32_t heading = ds.Sub_Anc(k_anc_heading, 0);
        anc_words.At(n, k_anc_heading) = static_cast<std::int16_t>(heading >= 18000 ? heading - 36000 : heading);
        anc_words.At(n, k_anc_bit) = static_cast<std::int16_t>(ds.Sub_Anc(k_anc_bit, 0));
        if (depth.rows) depth.At(n, 0) = ds.Sub_Anc(k_anc_depth, 0);
        if (anc_bytes.rows) {
            anc_bytes.At(n, 0) = static_cast<std::uint8_t>(ds.Sub_Anc(k_anc_orientation, 0));
            anc_bytes.At(n, 1) = static_cast<std::uint8_t>(ds.Sub_Anc(k_anc_battery, 0));
        }
        for (int t : bin_types) {
            Bin_Matrix& m = bin_values[static_cast<std::size_t>(t)];
            for (std::int32_t k = 0; k < bin_count; ++k) m.Set(n, k, Bin_Value(ds, t, bins[static_cast<std::size_t>(k)].bin));
        }
        for (std::size_t k = 0; k < velocity_types.size(); ++k) {
            velocities.At(n, static_cast<std::int32_t>(k)) = Series_Velocity(ds, velocity_types[k], calimbro);
        }
        if (want_positions) {
            const std::int32_t stored[4] = {calimbro ? ds.Sub_Calimbro_Lat(0) : ds.Sub_First_Lat(0),
                                            calimbro ? ds.Sub_Calimbro_Lon(0) : ds.Sub_First_Lon(0),
                                            ds.Sub_Last_Lat(0), ds.Sub_Last_Lon(0)};
            for (std::int32_t k = 0; k < 4; ++k) positions.At(n, k) = Position_Degrees(stored[k]);
        }
        if (want_depths) {
            for (std::int32_t k = 0; k < 4; ++k) bt_depths.At(n, k) = ds.Sub_BT_Range(static_cast<std::size_t>(k), 0);
        }
        ++n;
        job.progress.Percent(Range_Percent(range, ens));
    }

    clock.Write(out, "Ser", k_ser_clock_names, n);
    for (int box = 0; box < k_anc_box_count; ++box) {
        if (!sel.Anc_Types[static_cast<std::size_t>(box)]) continue;
        const char* name = k_anc_names[box];
        if (box <= k_anc_temperature) {
            Write_Mat_Integer_Matrix(out, name, anc_words.Data() + box * planned, n, 1, planned);
        } else if (box == k_anc_depth) {
            Write_Mat_Long_Matrix(out, name, depth.Data(), n, 1, planned);
        } else if (box == k_anc_bit) {
            Write_Mat_Unsigned_Matrix(out, name, anc_words.Data() + k_anc_bit * planned, n, 1, planned);
        } else {
            Write_Mat_Byte_Matrix(out, name, anc_bytes.Data() + (box == k_anc_orientation ? 0 : planned), n, 1, planned);
        }
    }
    for (int t : bin_types) bin_values[static_cast<std::size_t>(t)].Write(out, k_series_bin_names[t], n);
    for (std::size_t k = 0; k < velocity_types.size(); ++k) {
        Write_Mat_Integer_Matrix(out, k_series_velocity_names[velocity_types[k] - k_type_bt],
                                 velocities.Data() + k * static_cast<std::size_t>(planned), n, 1, planned);
    }
    if (want_positions) {
        static constexpr const char* k_nav_names[4] = {"AnFLatDeg", "AnFLonDeg", "AnLLatDeg", "AnLLonDeg"};
        static constexpr const char* k_carried_names[2] = {"AnCLLatDeg", "AnCLLonDeg"};
        for (std::int32_t k = 0; k < (calimbro ? 2 : 4); ++k) {
            Write_Mat_Double_Matrix(out, calimbro ? k_carried_names[k] : k_nav_names[k],
                                    positions.Data() + k * planned, n, 1, planned);
        }
    }
    if (want_depths) {
        static constexpr const char* k_depth_names[4] = {"AnBTDepthcmB1", "AnBTDepthcmB2", "AnBTDepthcmB3",
                                                         "AnBTDepthcmB4"};
        for (std::int32_t k = 0; k < 4; ++k) {
            Write_Mat_Long_Matrix(out, k_depth_names[k], bt_depths.Data() + k * planned, n, 1, planned);
        }
    }
    job.progress.Percent(100);
}

}  // namespace vantrel
