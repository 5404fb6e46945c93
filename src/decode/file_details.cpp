#include "decode/file_details.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "decode/bb_decoder.h"
#include "decode/decode_ensemble.h"
#include "decode/ensemble_walk.h"
#include "decode/file_survey.h"
#include "decode/nb_decoder.h"
#include "decode/scanner.h"
#include "decode/setup_changes.h"
#include "platform/byte_reader.h"
#include "platform/text_format.h"

namespace vantrel {

namespace {

constexpr const char* k_eol = "\r\n";
constexpr std::size_t k_fixed_leader_report_bytes = 53;
constexpr std::size_t k_nb_leader_report_bytes = 21;
constexpr std::size_t k_calimbro_flag_offset = 64;

std::string Line(const std::string& text) { return text + k_eol; }
std::string Num(double v) { return Format(v, "0"); }
std::string Two_Digits(double v) { return Format(v, "00"); }

std::string Hex(unsigned value, std::size_t digits) {
    static const char* k_digits = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), k_digits[value & 15]);
        value >>= 4;
    } while (value != 0);
    return Fix_String(out, '0', digits);
}

std::string Degrees(std::int16_t hundredths) {
    std::string out(hundredths >= 0 ? " " : "");
    out += Format(hundredths / 100.0, "0.00");
    return out + " degrees";
}

std::string Coordinate_Text(std::uint8_t ex) {
    static const char* const k_frames[] = {"Beam", "Instrument", "Ship", "Earth"};
    static const char* const k_options[] = {"",
                                            "Using Bin Mapping",
                                            "Using 3 Beam Solutions",
                                            "Using 3 Beam Solutions and Bin Mapping",
                                            "Using Tilts",
                                            "Using Tilts and Bin Mapping",
                                            "Using Tilts and 3 Beam Solutions",
                                            "Using Tilts, 3 Beam Solutions, and Bin Mapping"};
    return CovertByteToBinaryStr(ex, 7) + " " + k_frames[(ex >> 3) & 3] + " Coordinates " + k_options[ex & 7];
}

// Identifiers of the data types of a broadband ensemble, and whether its bottom-track
// block carries Calimbro positions; the fixed leader's offset when it holds the report fields.
struct BB_Layout {
    std::string type_list;
    bool calimbro = false;
    std::optional<std::size_t> fixed_leader;
};

BB_Layout Read_BB_Layout(const Decoder_State& dec) {
    BB_Layout out;
    const Byte_Block ens(dec.Ens_Buffer.data(), std::min<std::size_t>(dec.Ens_Buffer.size(), static_cast<std::size_t>(std::max(dec.Ens_Bytes, 0))));
    if (!ens.Fits(0, 6)) return out;
    const std::size_t types = ens.Read_U8(5);
    for (std::size_t i = 0; i < types && ens.Fits(6 + 2 * i, 2); ++i) {
        const std::size_t offset = ens.Read_U16_LE(6 + 2 * i);
        if (!ens.Fits(offset, 2)) continue;
        const std::uint16_t id = ens.Read_U16_LE(offset);
        out.type_list += ' ';
        out.type_list += Hex(id, 4);
        if (id == k_id_fixed_leader && !out.fixed_leader && ens.Fits(offset, k_fixed_leader_report_bytes)) {
            out.fixed_leader = offset;
        }
        if (id == k_id_bottom_track && ens.Fits(offset + k_calimbro_flag_offset, 1) &&
            ens.Read_U8(offset + k_calimbro_flag_offset) < 4) {
            out.calimbro = true;
        }
    }
    return out;
}

struct Scan_State {
    Ens_Statistics stats;
    const Statistic_Changed& on_change;
    void Set(Ens_Statistic which, std::int64_t& counter, std::int64_t value) {
        counter = value;
        if (on_change) on_change(which, stats);
    }
};

// Decoding state of the report's own, so the loaded data set is never touched.
struct Private_State {
    Data_Set ds;
    Decoder_State dec;
};

// Walks the whole file as the loaders do. An ensemble of another length counts as wrong
// size and, unless it is a two-type memory record, is numbered like the others.
void Run_Statistics(Binary_File& file, Private_State& priv, std::int32_t ens_bytes, Scan_State& scan,
                    Setup_Change_Log& setups, Progress_Hooks& progress) {
    Decoder_State& dec = priv.dec;
    Ens_Statistics& s = scan.stats;
    std::int64_t previous = s.First - 1;
    // A memory record before the first ensemble takes this number, not the last ensemble's.
    dec.Cur_Ens_Number = static_cast<std::int32_t>(previous);
    file.Seek(1);
    priv.ds.Sub_Count = 0;
    Ensemble_Walk walk;
    while (walk.Next(file, dec, progress)) {
        // Only the leader's number and set-up count here; the profiles are left undecoded.
        dec.Cur_Ens_Number = dec.Data_Structure == k_structure_nb ? NB_Leader_Number(dec, dec.Cur_Ens_Number)
                                                                  : BB_Leader_Number(dec, dec.Cur_Ens_Number);
        const std::int64_t number = dec.Cur_Ens_Number;
        if (file.Length() > 0) progress.Percent(static_cast<int>(std::min<std::int64_t>(100, file.Position() * 100 / file.Length())));
        if (dec.Ens_Bytes == k_two_type_record_bytes) {
            previous = number;
            continue;
        }
        setups.Note(dec, dec.Cur_Ens_Number);
        if (dec.Ens_Bytes != ens_bytes) scan.Set(Ens_Statistic::Wrong_Size, s.Wrong_Size, s.Wrong_Size + 1);
        const std::int64_t d = number - previous;
        if (d == 1) {
            scan.Set(Ens_Statistic::Last, s.Last, number);
        } else if (d > 1) {
            scan.Set(Ens_Statistic::Missing, s.Missing, s.Missing + d - 1);
        } else if (d < 0) {
            scan.Set(Ens_Statistic::Resets, s.Resets, s.Resets + 1);
        } else {
            scan.Set(Ens_Statistic::Repeats, s.Repeats, s.Repeats + 1);
        }
        previous = number;
    }
}

}  // namespace

std::string CovertByteToBinaryStr(std::uint32_t value, int nbits) {
    std::string out;
    for (int bit = nbits; bit >= 0; --bit) out += ((value >> bit) & 1u) ? '1' : '0';
    return out;
}

std::string NB_Setup_Lines(const std::uint8_t* leader) {
    const std::uint8_t c = leader[18];
    const int frequency = (c >> 4) & 7;
    std::string out;
    out += Line("System Frequency " + (frequency >= 6 ? std::string("Unknown") : System_Frequency_Label(frequency, true)) +
                ((c & 0x08) ? " Concave" : " Convex"));
    out += Line(std::string("Orientation ") + ((c & 0x04) ? "Down" : "UP"));
    out += Line(std::string("Velocity Reference ") + ((c & 0x02) ? "Earth" : "Beam"));
    out += Line(std::string("Velocity Range ") + ((c & 0x01) ? "High Range" : "Low Range"));
    out += Line("Pings/Ens    (P) " + Num(leader[8] * 256 + leader[9]));
    out += Line("Bins         (Q) " + Num(leader[10]));
    out += Line("Bin Length   (L) " + Num(std::ldexp(1.0, leader[11])) + " m");
    out += Line("Xmt Length   (I) " + Num(leader[12]) + " m");
    out += Line("Blank        (J) " + Num(leader[13]) + " m");
    out += Line("Delay        (K) " + Num(leader[14]) + " m");
    out += Line("S/N Threshold(N) " + Format(leader[19] / 10.0, "0.0") + " dB");
    out += Line("%GD Threshold(M) " + Num(leader[20]));
    out += Line("Time/Ping    (V) " + Two_Digits(Decimal_Coded(leader[5])) + ":" + Two_Digits(Decimal_Coded(leader[6])) +
                "." + Two_Digits(Decimal_Coded(leader[7])));
    return out;
}

std::string BB_Setup_Lines(const std::uint8_t* fl, const Decoder_State& bt) {
    const Byte_Block b(fl, k_fixed_leader_report_bytes);
    const std::uint16_t c = b.Read_U16_LE(4);
    static const char* const k_angles[] = {"15", "20", "30", "Other"};
    const int transducer = c >> 12;
    const char* head = transducer == 4 ? "4 Beam Janus" : transducer == 5 ? "5 Beam Janus"
                       : transducer == 15 ? "Switched 5 Beam Janus" : "Unknown";
    std::string out;
    out += Line("Firmware Version " + Format(Firmware_Version(b.Read_U8(2), b.Read_U8(3)), "0.00"));
    out += Line("System Frequency " + System_Frequency_Label(c & 7, false) + ((c & 0x08) ? " Convex" : " Concave"));
    out += Line("Sensor Configuration #" + Num(((c >> 4) & 3) + 1));
    out += Line(std::string("Transducer Head Attached ") + ((c & 0x40) ? "TRUE" : "FALSE"));
    out += Line(std::string("Orientation ") + ((c & 0x80) ? "UP" : "DOWN"));
    out += Line(std::string("Beam Angle ") + k_angles[(c >> 8) & 3] + " Degrees");
    out += Line(std::string("Transducer ") + head);
    out += Line(b.Read_U8(6) == 0 ? "Real Data" : "Fake Data");
    std::string serial = "CPU Serial Number:";
    for (std::size_t i = 42; i < 50; ++i) {
        serial += ' ';
        serial += Hex(b.Read_U8(i), 2);
    }
    out += Line(serial);
    out += Line("Power Level (CQ) " + Num(b.Read_U8(52)));
    out += Line("Trigger     (CX) " + Num(b.Read_U8(39)));
    out += Line("False Target(WA) " + Num(b.Read_U8(38)) + " counts");
    out += Line("Band Width  (WB) " + Num(b.Read_U16_LE(50)));
    out += Line("Cor. Thres. (WC) " + Num(b.Read_U8(17)) + " counts");
    out += Line("Err Thres.  (WE) " + Num(b.Read_U16_LE(20)) + " mm/s");
    out += Line("Blank       (WF) " + Format(b.Read_U16_LE(14) / 100.0, "0.00") + " m");
    out += Line("Min PGood   (WG) " + Num(b.Read_U8(19)));
    out += Line("Ref Layer   (WL) " + Num(b.Read_U8(36)) + ", " + Num(b.Read_U8(37)) + " first bin, last bin");
    out += Line("Mode        (WM) " + Num(b.Read_U8(16)));
    out += Line("Bins        (WN) " + Num(b.Read_U8(9)));
    out += Line("Pings/Ens   (WP) " + Num(b.Read_U16_LE(10)));
    out += Line("Bin Size    (WS) " + Format(b.Read_U16_LE(12) / 100.0, "0.00") + " m");
    out += Line("Head Align  (EA) " + Degrees(b.Read_S16_LE(26)));
    out += Line("Head Bias   (EB) " + Degrees(b.Read_S16_LE(28)));
    out += Line("Coord Xform (EX) " + Coordinate_Text(b.Read_U8(25)));
    out += Line("Sens Source (EZ) " + CovertByteToBinaryStr(b.Read_U8(30), 6) + " cdhprst");
    out += Line("Sens Avail       " + CovertByteToBinaryStr(b.Read_U8(31), 6) + " cdhprst");
    out += Line("Time/Ping   (TP) " + Two_Digits(b.Read_U8(22)) + ":" + Two_Digits(b.Read_U8(23)) + "." +
                Two_Digits(b.Read_U8(24)));
    out += Line("Hardware   " + Num(b.Read_U8(8)) + " Beams");
    out += Line("Lag        " + Num(b.Read_U8(7)) + " elements");
    out += Line("Code Reps. " + Num(b.Read_U8(18)));
    out += Line("Lag Length " + Format(b.Read_U16_LE(40) / 100.0, "0.00") + " m");
    out += Line("Xmt Length " + Format(b.Read_U16_LE(34) / 100.0, "0.00") + " m");
    out += Line("1st Bin    " + Format(b.Read_U16_LE(32) / 100.0, "0.00") + " m");
    out += Line("");
    out += Line("BT Pings/Ens    (BP) " + Num(bt.BT_Pings));
    out += Line("BT Ens Delay    (BD) " + Num(bt.BT_Reacquire_Delay));
    out += Line("BT Cor.Thres.   (BC) " + Num(bt.BT_Corr_Min) + " counts");
    out += Line("BT Eval. Thres. (BA) " + Num(bt.BT_Amp_Min) + " counts");
    out += Line("BT PG Thres.    (BG) " + Num(bt.BT_PG_Min));
    out += Line("BT Mode         (BM) " + Num(bt.BT_Mode));
    out += Line("BT Err Thres.   (BE) " + Num(bt.BT_Err_Max) + " mm/s");
    out += Line("BT Max Range    (BX) " + Num(bt.BT_Max_Depth) + " dm");
    out += Line("");
    return out;
}

File_Details_Result Show_File_Details(const std::string& file_name, const Decoder_State& main_dec,
                                      const Decode_Options& opt,
                                      const Statistic_Changed& on_change, Progress_Hooks& progress,
                                      const std::function<void(const std::string&)>& on_report) {
    File_Details_Result result;
    Binary_File file;
    if (!file.Open(file_name)) return result;
    result.opened = true;

    Private_State priv;
    Allocate_Data_Set(priv.ds, false, 1, 1);
    Decoder_State& dec = priv.dec;
    std::string& r = result.report;

    r += Line(File_Size_Line(file.Length()));
    dec.Data_Structure = Determine_File_Data_Structure(file, dec, progress);
    const bool nb = dec.Data_Structure == k_structure_nb;
    r += Line(nb ? "Data Structure NarrowBand"
                 : dec.Data_Structure == k_structure_bb ? "Data Structure BB/KX/LM" : "Data Structure Unknown ");
    bool nvram = false, lengths_vary = false;
    if (dec.Data_Structure == k_structure_unknown || !Get_First_Ensemble(file, dec, nvram, progress)) return result;
    result.found = true;

    priv.ds.Sub_Count = 0;
    Decode_Ensemble(priv.dec, priv.ds, opt);
    const std::int32_t ens_bytes = dec.Ens_Bytes;
    const std::int32_t first = dec.Cur_Ens_Number;
    r += Line("Ensemble Length " + Num(ens_bytes + 2.0) + " bytes");
    if (nb) {
        r += Line("Data Types");
        const Byte_Block ens(dec.Ens_Buffer.data(), static_cast<std::size_t>(ens_bytes));
        if (ens.Read_U16_BE(2) >= k_nb_leader_report_bytes && ens.Fits(k_nb_header_bytes, k_nb_leader_report_bytes)) {
            r += NB_Setup_Lines(ens.Data() + k_nb_header_bytes);
        }
    } else {
        const BB_Layout layout = Read_BB_Layout(dec);
        r += Line("Data Types" + layout.type_list + (layout.calimbro ? " CALIMBRO GPS" : ""));
        if (layout.fixed_leader) r += BB_Setup_Lines(dec.Ens_Buffer.data() + *layout.fixed_leader, main_dec);
    }

    r += Line(Ensemble_Line("First Ensemble ", first, priv.ds, 0));
    priv.ds.Sub_Count = 1;
    if (Find_Last_Ensemble(file, priv.dec, priv.ds, opt, ens_bytes, nvram, lengths_vary, progress)) {
        const std::int32_t last = dec.Cur_Ens_Number;
        r += Line(Ensemble_Line("Last  Ensemble ", last, priv.ds, 1));
        const std::int64_t extra =
            file.Length() - (static_cast<std::int64_t>(last) - first + 1) * (static_cast<std::int64_t>(ens_bytes) + 2);
        r += Line(lengths_vary ? k_lengths_vary_text
                               : "Extra Data in File " + Format(static_cast<double>(extra), "###,###,###,##0") + " bytes");
    }
    if (!nb) r += Line(std::string("NVRAM Data Set  ") + (nvram ? "TRUE" : "FALSE"));

    if (on_report) on_report(r);
    Scan_State scan{{}, on_change};
    scan.Set(Ens_Statistic::First, scan.stats.First, first);
    dec.Ens_Bytes = ens_bytes;
    Setup_Change_Log setups;
    Run_Statistics(file, priv, ens_bytes, scan, setups, progress);
    r += Setup_Change_Lines(setups.Changes());
    result.stats = scan.stats;
    return result;
}

}  // namespace vantrel
