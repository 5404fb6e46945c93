#include "viewer/data_view.h"

#include <algorithm>

#include "platform/text_format.h"

namespace vantrel {

namespace {

constexpr const char* k_eol = "\r\n";
constexpr const char* k_degree = "\xC2\xB0";
constexpr const char* k_cube = "\xC2\xB3";
constexpr std::int32_t k_bad = -32768;
constexpr double k_position_scale = 180.0 / 2147483648.0;  // degrees per stored unit

// s preceded by blanks up to width characters (UTF-8 sequences count as one).
std::string Pad(const std::string& s, std::size_t width) {
    const auto chars = static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    return chars >= width ? s : std::string(width - chars, ' ') + s;
}

std::string Pad(std::int64_t value, std::size_t width) { return Pad(std::to_string(value), width); }

std::string Direction(std::int32_t tenths) {
    const std::string d = tenths == k_bad ? std::string("-32768") : Format(tenths / 10.0, "0.0");
    return Pad(d + k_degree, 7);
}

// Columns 0..4 and the direction of column 5 of a (0..5, slot) velocity array.
template <typename T>
std::string Velocity_Row(const char* label, const Dense_Array<T>& a, std::size_t e) {
    std::string line = label;
    for (std::size_t i = 0; i < 5; ++i) line += Pad(a(i, e), 6);
    return line + Direction(static_cast<std::int32_t>(a(5, e))) + k_eol;
}

std::string Count_Row(const char* label, const Dense_Array<std::uint8_t>& a, std::size_t j, std::size_t e,
                      std::size_t slots) {
    std::string line = label;
    for (std::size_t i = 0; i < slots; ++i) line += Pad(a(i, j, e), 6);
    return line + k_eol;
}

std::string Position(std::int32_t stored) { return Pad(Format(stored * k_position_scale, "0.00000000") + k_degree, 14); }

}  // namespace

std::optional<std::int32_t> Data_View_Bin_Index(const Data_Set& ds, const Decoder_State& dec, std::int32_t r) {
    // The data set is in surface order already, as the contour rows are: the row picks the
    // index whichever way the ensemble faces.
    const std::int32_t held = std::min<std::int32_t>(dec.Num_Bins, static_cast<std::int32_t>(ds.Sub_Vel.Extent(1)));
    const std::int32_t j = ds.Last_Bin - 1 - r;
    if (r < 0 || j < std::max(ds.First_Bin - 1, 0) || j >= held) return std::nullopt;
    return j;
}

std::optional<std::string> Data_View_Text(const Data_Set& ds, const Decoder_State& dec, std::int32_t e,
                                          std::int32_t r) {
    if (e < 0 || e >= std::min(ds.Sub_Count, ds.Sub_Slots())) return std::nullopt;
    const std::optional<std::int32_t> index = Data_View_Bin_Index(ds, dec, r);
    if (!index) return std::nullopt;
    const std::int32_t j = *index;
    const auto slot = static_cast<std::size_t>(e), bin = static_cast<std::size_t>(j);
    const std::int32_t b = ds.Orientation_Count < 1 ? j + 1 : dec.Num_Bins - j;  // the instrument's bin number
    const bool up = ds.Sub_Anc(5, slot) != 0;
    const auto t = [&](std::size_t i) { return static_cast<int>(ds.Sub_Time(i, slot)); };

    std::string out;
    out += "Ensemble " + Pad(ds.Sub_Ens_Number(slot), 9) + "         Date " + Date_Text(t(0), t(1), t(2)) + k_eol;
    out += "Bin      " + Pad(b, 9) + "         Time " + Clock_Text(t(3), t(4), t(5), t(6)) + k_eol;
    const double range = dec.Bin1_Dist + (b - 1) * dec.Bin_Size;
    std::string range_text(up ? "" : "-");
    range_text += Format(range, "0.00") + " ";
    out += "Range(m) " + Pad(range_text, 10) + k_eol + k_eol;

    if (dec.Is_QTRM) {
        out += std::string("Array  B1/P1 B2/P2    B3    B4    Av") + k_eol;
        out += "V mm/s" + Pad(ds.Sub_Vel(0, bin, slot), 6) + Pad(ds.Sub_Vel(1, bin, slot), 6) + k_eol;
    } else {
        out += std::string("Array   B1/E  B2/N  B3/V  B4/e Av/Mg    Dir") + k_eol;
        out += "V mm/s";
        for (std::size_t i = 0; i < 5; ++i) out += Pad(ds.Sub_Vel(i, bin, slot), 6);
        out += Direction(ds.Sub_Vel(5, bin, slot)) + k_eol;
    }
    out += Count_Row("E cnt ", ds.Sub_Echo, bin, slot, 5);
    out += Count_Row("C cnt ", ds.Sub_Corr, bin, slot, 5);
    out += Count_Row("PGood ", ds.Sub_PGood, bin, slot, 4);
    out += Velocity_Row("B mm/s", ds.Sub_BT_Vel, slot);
    out += Velocity_Row("W mm/s", ds.Sub_WM_Vel, slot);
    out += Velocity_Row("N mm/s", ds.Sub_Nav_Vel, slot);
    out += "D (cm)";
    for (std::size_t i = 0; i < 5; ++i) out += Pad(ds.Sub_BT_Range(i, slot), 6);
    out += std::string(k_eol) + k_eol;

    if (dec.Is_QTRM) {
        const double flow = ds.Sub_QTRM_Flow(slot);
        const std::string q = flow == k_bad ? std::string() : Format(flow / 1000000.0, "0.000");
        out += "QTRM Q      " + Pad(q, 20) + " m" + k_cube + "/s" + k_eol;
        out += "QTRM Depth  " + Pad(Format(ds.Sub_QTRM_Depth(slot) / 10000.0, "0.000"), 20) + " m" + k_eol;
        out += "QTRM Vel    " + Pad(Format(ds.Sub_QTRM_Vel(slot) / 1000.0, "0.000"), 20) + " m/s" + k_eol;
        return out;
    }
    const char* const attitude[] = {"Pitch       ", "Roll        ", "Heading     ", "Temperature "};
    for (std::size_t i = 0; i < 4; ++i) {
        out += attitude[i] + Pad(Format(ds.Sub_Anc(i, slot) / 100.0, "0.00"), 7) + k_degree + k_eol;
    }
    out += "Depth Sensor" + Pad(Format(ds.Sub_Anc(4, slot) / 1000.0, "0.000"), 8) + " meters" + k_eol;
    out += "BIT         " + Pad(ds.Sub_Anc(6, slot), 7) + k_eol;
    out += std::string("                    First          Last      Calimbro") + k_eol;
    out += "LAT        " + Position(ds.Sub_First_Lat(slot)) + Position(ds.Sub_Last_Lat(slot)) +
           Position(ds.Sub_Calimbro_Lat(slot)) + k_eol;
    out += "LON        " + Position(ds.Sub_First_Lon(slot)) + Position(ds.Sub_Last_Lon(slot)) +
           Position(ds.Sub_Calimbro_Lon(slot)) + k_eol;
    out += k_eol;
    if (dec.Have_MicroCAT) out += "MicroCAT String:" + std::string(k_eol) + ds.Sub_MicroCAT(slot) + k_eol;
    return out;
}

}  // namespace vantrel
