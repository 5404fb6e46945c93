#include "json_lines.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace vantrel::cli {

namespace {

void Append_Number(std::string& out, long long v) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, end);
}

void Append_Number(std::string& out, double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);  // shortest form that reads back exactly
    (void)ec;
    out.append(buf, end);
}

void Append_String(std::string& out, const std::string& s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    // Bytes outside ASCII are shown as the characters of the same code.
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

class Object_Writer {
public:
    explicit Object_Writer(std::string& out) : out_(out) { out_ += '{'; }
    void Close() { out_ += "}\n"; }

    void Key(const char* name) {
        if (!first_) out_ += ',';
        first_ = false;
        out_ += '"';
        out_ += name;
        out_ += "\":";
    }
    template <typename T>
    void Int(const char* name, T v) {
        Key(name);
        Append_Number(out_, static_cast<long long>(v));
    }
    void Real(const char* name, double v) {
        Key(name);
        Append_Number(out_, v);
    }
    void Bool(const char* name, bool v) {
        Key(name);
        out_ += v ? "true" : "false";
    }
    void Text(const char* name, const std::string& v) {
        Key(name);
        Append_String(out_, v);
    }
    // Components 0..n-1 of a (component, slot) array.
    template <typename T>
    void Components(const char* name, const Dense_Array<T>& a, std::size_t n, std::size_t slot) {
        Key(name);
        out_ += '[';
        for (std::size_t c = 0; c < n; ++c) {
            if (c) out_ += ',';
            Append_Number(out_, static_cast<long long>(a(c, slot)));
        }
        out_ += ']';
    }
    // Bins 0..bins-1 of a (component, bin, slot) array, each a list of n components.
    template <typename T>
    void Profile(const char* name, const Dense_Array<T>& a, std::size_t n, std::size_t bins, std::size_t slot) {
        Key(name);
        out_ += '[';
        for (std::size_t bin = 0; bin < bins; ++bin) {
            if (bin) out_ += ',';
            out_ += '[';
            for (std::size_t c = 0; c < n; ++c) {
                if (c) out_ += ',';
                Append_Number(out_, static_cast<long long>(a(c, bin, slot)));
            }
            out_ += ']';
        }
        out_ += ']';
    }

private:
    std::string& out_;
    bool first_ = true;
};

// The set-up scalars and the data-type flags of the last decoded ensemble.
void Write_Setup(Object_Writer& w, const Decoder_State& dec) {
    w.Int("Num_Bins", dec.Num_Bins);
    w.Real("Bin_Size", dec.Bin_Size);
    w.Real("Bin1_Dist", dec.Bin1_Dist);
    w.Int("Sys_Config", dec.Sys_Config);
    w.Int("Coord_Transform", dec.Coord_Transform);
    w.Real("FW_Version", dec.FW_Version);
    w.Bool("Is_QTRM", dec.Is_QTRM);
    w.Int("Profiling_Mode", dec.Profiling_Mode);
    w.Int("Pings_Per_Ens", dec.Pings_Per_Ens);
    w.Bool("Have_FL", dec.Have_FL);
    w.Bool("Have_VL", dec.Have_VL);
    w.Bool("Have_Vel", dec.Have_Vel);
    w.Bool("Have_Corr", dec.Have_Corr);
    w.Bool("Have_Echo", dec.Have_Echo);
    w.Bool("Have_PG", dec.Have_PG);
    w.Bool("Have_BT", dec.Have_BT);
    w.Bool("Have_MicroCAT", dec.Have_MicroCAT);
    w.Bool("Have_QTRM", dec.Have_QTRM);
    w.Bool("Have_Nav", dec.Have_Nav);
}

std::size_t Bin_Count(const Decoder_State& dec) { return static_cast<std::size_t>(std::clamp(dec.Num_Bins, 0, k_max_bins)); }

}  // namespace

void Append_Slot_Json(std::string& out, const Data_Set& ds, const Decoder_State& dec, std::size_t slot) {
    Object_Writer w(out);
    const std::size_t bins = Bin_Count(dec);
    w.Int("Sub_Ens_Number", ds.Sub_Ens_Number(slot));
    w.Components("Sub_Time", ds.Sub_Time, 7, slot);
    w.Components("Sub_Anc", ds.Sub_Anc, 8, slot);
    w.Profile("Sub_Vel", ds.Sub_Vel, 8, bins, slot);
    w.Profile("Sub_Corr", ds.Sub_Corr, 5, bins, slot);
    w.Profile("Sub_Echo", ds.Sub_Echo, 5, bins, slot);
    w.Profile("Sub_PGood", ds.Sub_PGood, 5, bins, slot);
    w.Components("Sub_BT_Vel", ds.Sub_BT_Vel, 6, slot);
    w.Components("Sub_WM_Vel", ds.Sub_WM_Vel, 6, slot);
    w.Components("Sub_Ref_Vel", ds.Sub_Ref_Vel, 6, slot);
    w.Components("Sub_Nav_Vel", ds.Sub_Nav_Vel, 6, slot);
    w.Components("Sub_BT_Range", ds.Sub_BT_Range, 6, slot);
    w.Int("Sub_First_Lat", ds.Sub_First_Lat(slot));
    w.Int("Sub_First_Lon", ds.Sub_First_Lon(slot));
    w.Int("Sub_Last_Lat", ds.Sub_Last_Lat(slot));
    w.Int("Sub_Last_Lon", ds.Sub_Last_Lon(slot));
    w.Int("Sub_Calimbro_Lat", ds.Sub_Calimbro_Lat(slot));
    w.Int("Sub_Calimbro_Lon", ds.Sub_Calimbro_Lon(slot));
    w.Text("Sub_MicroCAT", ds.Sub_MicroCAT(slot));
    w.Int("Sub_QTRM_Depth", ds.Sub_QTRM_Depth(slot));
    w.Int("Sub_QTRM_Vel", ds.Sub_QTRM_Vel(slot));
    w.Real("Sub_QTRM_Flow", ds.Sub_QTRM_Flow(slot));
    Write_Setup(w, dec);
    w.Close();
}

void Append_Whole_Slot_Json(std::string& out, const Data_Set& ds, const Decoder_State& dec, std::size_t slot) {
    Object_Writer w(out);
    const std::size_t bins = Bin_Count(dec);
    w.Components("Whole_Time", ds.Whole_Time, 7, slot);
    w.Components("Whole_Anc", ds.Whole_Anc, 8, slot);
    w.Profile("Whole_Vel", ds.Whole_Vel, 6, bins, slot);
    w.Profile("Whole_Corr", ds.Whole_Corr, 5, bins, slot);
    w.Profile("Whole_Echo", ds.Whole_Echo, 5, bins, slot);
    w.Profile("Whole_PGood", ds.Whole_PGood, 4, bins, slot);
    w.Components("Whole_BT_Vel", ds.Whole_BT_Vel, 6, slot);
    w.Components("Whole_WM_Vel", ds.Whole_WM_Vel, 6, slot);
    w.Components("Whole_Ref_Vel", ds.Whole_Ref_Vel, 6, slot);
    w.Components("Whole_Nav_Vel", ds.Whole_Nav_Vel, 6, slot);
    w.Components("Whole_BT_Range", ds.Whole_BT_Range, 5, slot);
    Write_Setup(w, dec);
    w.Close();
}

}  // namespace vantrel::cli
