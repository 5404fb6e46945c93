#include "export/export_common.h"

#include <charconv>
#include <cstdlib>

#include "decode/file_survey.h"
#include "platform/text_format.h"

namespace vantrel {

bool Load_For_Export(Export_Job& job, std::int32_t first_ens, std::int32_t last_ens) {
    Outcome loaded = job.load(first_ens, last_ens);
    if (!(loaded == Outcome_Kind::k_invalid_file || loaded == Outcome_Kind::k_out_of_memory)) return true;
    job.failure = std::move(loaded);
    return false;
}

double Field_Value(std::string_view field) {
    std::string s;
    for (char c : field.substr(0, 8)) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') s += c;
    }
    // Longest prefix that reads as a number: [sign] digits [. digits] [E|D [sign] digits].
    std::size_t i = 0, end = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
    }
    if (!digits) return 0;
    end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
            s[i] = 'e';
            end = j;
        }
    }
    return std::strtod(s.substr(0, end).c_str(), nullptr);
}

Ensemble_Range Normalise_Range(Range_Fields& fields, const Data_Set& ds) {
    const double lo = ds.File_First_Ens, hi = ds.File_Last_Ens;
    Ensemble_Range r;
    r.first = Round_Clamp(Field_Value(fields.First), lo, hi);
    r.last = Round_Clamp(Field_Value(fields.Last), lo, hi);
    r.step = Round_Clamp(Field_Value(fields.Step), 1, hi - lo + 1);
    if (r.step < 1) r.step = 1;  // a file whose last number is below its first
    fields.First = Format(r.first, "0");
    fields.Last = Format(r.last, "0");
    fields.Step = Format(r.step, "0");
    return r;
}

std::int32_t Normalise_Profile_Ens(std::string& field, const Data_Set& ds) {
    const std::int32_t e = Round_Clamp(Field_Value(field), ds.Whole_First_Ens, ds.File_Last_Ens);
    field = Format(e, "0");
    return e;
}

int Range_Percent(const Ensemble_Range& range, std::int32_t e) {
    const double span = static_cast<double>(range.last) - range.first + 1;
    if (span <= 0) return 100;
    const double p = rnd((static_cast<double>(e) - range.first) * 100.0 / span);
    return p > 100 ? 100 : static_cast<int>(p);
}

std::vector<Bin_Column> Selected_Bins(const Bin_List& list, std::int32_t num_bins, std::int32_t orientation_count) {
    std::vector<Bin_Column> columns;
    const std::int32_t n = num_bins < k_bin_list_count ? num_bins : k_bin_list_count;
    for (std::int32_t p = 1; p <= n; ++p) {
        if (!list[static_cast<std::size_t>(p - 1)]) continue;
        columns.push_back({p, orientation_count >= 1 ? num_bins - p : p - 1});
    }
    return columns;
}

std::int32_t Bin_Value(const Data_Set& ds, int type, std::int32_t bin) {
    const auto b = static_cast<std::size_t>(bin);
    if (type < k_type_echo) return 0;
    if (type < k_type_corr) return ds.Sub_Echo(static_cast<std::size_t>(type - k_type_echo), b, 0);
    if (type < k_type_vel) return ds.Sub_Corr(static_cast<std::size_t>(type - k_type_corr), b, 0);
    if (type < k_type_pgood) return ds.Sub_Vel(static_cast<std::size_t>(type - k_type_vel), b, 0);
    if (type < k_type_per_bin_count) return ds.Sub_PGood(static_cast<std::size_t>(type - k_type_pgood), b, 0);
    return 0;
}

std::int16_t Series_Velocity(const Data_Set& ds, int type, bool calimbro) {
    static constexpr std::size_t k_nav_components[4] = {0, 1, 4, 5};
    if (type >= k_type_bt && type < k_type_wm) return ds.Sub_BT_Vel(static_cast<std::size_t>(type - k_type_bt), 0);
    if (type >= k_type_wm && type < k_type_nav) return ds.Sub_WM_Vel(static_cast<std::size_t>(type - k_type_wm), 0);
    if (type >= k_type_nav && type <= k_type_nav_direction) {
        const std::size_t c = k_nav_components[type - k_type_nav];
        return calimbro ? ds.Sub_Ref_Vel(c, 0) : ds.Sub_Nav_Vel(c, 0);
    }
    return k_bad_velocity;
}

std::string Contour_Type_Title(int d, bool mat) {
    static constexpr const char* k_velocity[6] = {" East (u) mm/s", " North (v) mm/s", " Vertical (w) mm/s",
                                                  " Error mm/s",    " Magnitude mm/s", " Direction degrees"};
    std::string title;
    if (d >= k_type_echo && d < k_type_corr) {
        title = " Echo Amplitude counts";
        title += d == k_type_echo_average ? " Four Beam Average" : " Beam" + std::to_string(d - k_type_echo + 1);
    } else if (d >= k_type_corr && d < k_type_vel) {
        title = " Correlation counts";
        title += d == k_type_corr_average ? " Four Beam Average" : " Beam" + std::to_string(d - k_type_corr + 1);
    } else if (d >= k_type_vel && d < k_type_pgood) {
        title = " Velocity";
        title += (mat && d == k_type_vel_direction) ? " Direction tenth degrees" : k_velocity[d - k_type_vel];
    } else if (d >= k_type_pgood && d < k_type_per_bin_count) {
        return " PG" + std::to_string(d - k_type_pgood + 1);
    } else {
        return title;
    }
    return mat ? title.substr(1) : title;
}

std::string System_Text(const Decoder_State& dec) {
    const bool nb = dec.Data_Structure == k_structure_nb;
    const bool bb = dec.Data_Structure == k_structure_bb;
    std::string text = nb ? "Narrowband" : bb ? "Broadband" : "Unknown System";
    const std::int32_t code = dec.Sys_Config & 7;
    if (code == 7 || (code == 5 && !nb && !bb)) return text + " Unknown Frequency";
    return text + " " + System_Frequency_Label(code, nb);
}

std::string Ensemble_Date_Text(const Data_Set& ds) {
    return Date_Text(ds.Sub_Time(0, 0), ds.Sub_Time(1, 0), ds.Sub_Time(2, 0));
}

std::string Ensemble_Time_Text(const Data_Set& ds) {
    return Clock_Text(ds.Sub_Time(3, 0), ds.Sub_Time(4, 0), ds.Sub_Time(5, 0), ds.Sub_Time(6, 0));
}

void Append_Int(std::string& out, std::int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void Append_Scaled(std::string& out, std::int64_t v, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    if (v < 0) out += '-';
    const std::uint64_t a = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    const auto s = static_cast<std::uint64_t>(scale);
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, a / s);
    out.append(buf, r.ptr);
    if (decimals <= 0) return;
    out += '.';
    r = std::to_chars(buf, buf + sizeof buf, a % s);
    const auto len = static_cast<int>(r.ptr - buf);
    out.append(static_cast<std::size_t>(decimals - len), '0');
    out.append(buf, r.ptr);
}

void Append_Two(std::string& out, std::int32_t v) {
    if (v >= 0 && v < 10) out += '0';
    Append_Int(out, v);
}

}  // namespace vantrel
