#include "json_lines.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace vantrel::cli {

namespace {

// Writes one JSON object straight into the output string: the string is grown ahead of
// the writing (never by a character at a time) and cut back to what was written on Close.
class Object_Writer {
public:
    explicit Object_Writer(std::string& out) : out_(out), pos_(out.size()) { Put('{'); }
    void Close() {
        Put("}\n");
        out_.resize(pos_);
    }

    void Key(std::string_view name) {
        char* p = Room(name.size() + 4);
        if (!first_) *p++ = ',';
        first_ = false;
        *p++ = '"';
        std::memcpy(p, name.data(), name.size());
        p += name.size();
        *p++ = '"';
        *p++ = ':';
        End_At(p);
    }
    template <typename T>
    void Int(const char* name, T v) {
        Key(name);
        End_At(Number(Room(k_number_chars), static_cast<long long>(v)));
    }
    void Real(const char* name, double v) {
        Key(name);
        char* p = Room(k_number_chars);
        End_At(std::to_chars(p, p + k_number_chars, v).ptr);  // shortest form that reads back exactly
    }
    void Bool(const char* name, bool v) {
        Key(name);
        Put(v ? "true" : "false");
    }
    void Text(const char* name, const std::string& v) {
        Key(name);
        Put('"');
        for (unsigned char c : v) {
            switch (c) {
                case '"': Put("\\\""); break;
                case '\\': Put("\\\\"); break;
                case '\n': Put("\\n"); break;
                case '\r': Put("\\r"); break;
                case '\t': Put("\\t"); break;
                default:
                    if (c < 0x20 || c >= 0x7F) {
                        // Bytes outside ASCII are shown as the characters of the same code.
                        char buf[8];
                        std::snprintf(buf, sizeof buf, "\\u%04x", c);
                        Put(buf);
                    } else {
                        Put(static_cast<char>(c));
                    }
            }
        }
        Put('"');
    }
    // Components 0..n-1 of a (component, slot) array.
    template <typename T>
        requires(sizeof(T) <= 4)
    void Components(const char* name, const Dense_Array<T>& a, std::size_t n, std::size_t slot) {
        Key(name);
        char* p = Room(n * (k_int_chars + 1) + 2);
        *p++ = '[';
        for (std::size_t c = 0; c < n; ++c) {
            if (c) *p++ = ',';
            p = Number(p, static_cast<long long>(a(c, slot)));
        }
        *p++ = ']';
        End_At(p);
    }
    // Bins 0..bins-1 of a (component, bin, slot) array, each a list of n components.
    template <typename T>
        requires(sizeof(T) <= 4)
    void Profile(const char* name, const Dense_Array<T>& a, std::size_t n, std::size_t bins, std::size_t slot) {
        Key(name);
        char* p = Room(bins * (n * (k_int_chars + 1) + 3) + 2);
        *p++ = '[';
        for (std::size_t bin = 0; bin < bins; ++bin) {
            if (bin) *p++ = ',';
            *p++ = '[';
            for (std::size_t c = 0; c < n; ++c) {
                if (c) *p++ = ',';
                p = Number(p, static_cast<long long>(a(c, bin, slot)));
            }
            *p++ = ']';
        }
        *p++ = ']';
        End_At(p);
    }

private:
    static constexpr std::size_t k_number_chars = 24;  // the longest integer or shortest double
    static constexpr std::size_t k_int_chars = 11;     // the longest 32-bit integer, "-2147483648"

    // At least n bytes writable at the end of what is written so far.
    char* Room(std::size_t n) {
        // Growing a string writes zeros into the new part, so it grows by little more than asked;
        // its capacity still grows geometrically.
        if (out_.size() - pos_ < n) out_.resize(pos_ + n + 1024);
        return out_.data() + pos_;
    }
    void End_At(const char* p) { pos_ = static_cast<std::size_t>(p - out_.data()); }
    static char* Number(char* p, long long v) { return std::to_chars(p, p + k_number_chars, v).ptr; }
    void Put(char c) {
        *Room(1) = c;
        ++pos_;
    }
    void Put(std::string_view s) {
        std::memcpy(Room(s.size()), s.data(), s.size());
        pos_ += s.size();
    }

    std::string& out_;
    std::size_t pos_;  // end of what is written; out_ may run on past it while the object is open
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
