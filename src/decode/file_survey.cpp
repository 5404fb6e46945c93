#include "decode/file_survey.h"

#include <new>

#include "decode/bb_decoder.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "platform/program_messages.h"
#include "platform/text_format.h"

namespace vantrel {

namespace {

constexpr const char* k_eol = "\r\n";

std::string Two_Digits(double v) { return Format(v, "00"); }

void Decode_Into(Decoder_State& dec, Data_Set& ds, const Decode_Options& opt, std::int32_t slot) {
    ds.Sub_Count = slot;
    Decode_Ensemble(dec, ds, opt);
}

bool Survey(Data_Set& ds, Decoder_State& dec, const Decode_Options& opt, File_Set_State& set,
            const std::string& file_name, std::string& text, Progress_Hooks& progress) {
    const auto members = File_Set_Members(file_name, set);
    text = members.size() > 1 ? members.front().name + " to " + members.back().name : file_name;
    text += k_eol;
    const std::int64_t file_size = File_Set_Size(members);
    if (file_size < 0) return false;  // a member that cannot be read ends the survey
    set.File_Size = file_size;
    text += File_Size_Line(file_size) + k_eol;

    if (ds.Sub_Slots() < 2) Allocate_Data_Set(ds, false, 1, 1);
    ds.Sub_Count = 0;
    // One stream: the first and last ensembles may lie in any member, or across two.
    Binary_File file;
    if (!Open_Members(file, members)) return false;
    dec.Data_Structure = Determine_File_Data_Structure(file, dec, progress);
    std::string label = dec.Data_Structure == k_structure_nb   ? "NB "
                        : dec.Data_Structure == k_structure_bb ? "BB/KX "
                                                               : "Unknown ";
    const auto fail = [&] {
        text += std::string(k_not_enough_valid) + k_eol;
        return false;
    };
    bool nvram = false, lengths_vary = false;
    if (!Get_First_Ensemble(file, dec, nvram, progress)) return fail();
    if (dec.Data_Structure != k_structure_nb && dec.Data_Structure != k_structure_bb) return fail();

    Clear_Slot(ds, 0);
    Decode_Into(dec, ds, opt, 0);
    if (dec.Is_QTRM) label = "QTRM ";
    const std::int32_t ens_bytes = dec.Ens_Bytes;
    const double record = ens_bytes + 2.0;
    text += label + "Ensemble Length " + Format(record, "0") + " bytes" + k_eol;
    ds.First_Ens = dec.Cur_Ens_Number;

    text += "System Frequency: " + System_Frequency_Label(dec.Sys_Config & 7, dec.Data_Structure == k_structure_nb) + k_eol;
    const double first_bin = (dec.Sys_Config & 0x80) ? dec.Bin1_Dist : -dec.Bin1_Dist;
    text += "1st Bin " + Format(first_bin, "0.00") + " m, ";
    if (dec.Is_QTRM) {
        text += "Bin Sizes " + Format(dec.Bin_Size_C20C10, "0.000") + ", " + Format(dec.Bin_Size_C30C20, "0.000") + " m";
    } else {
        text += "Bin Size " + Format(dec.Bin_Size, "0.00") + " m";
    }
    text += k_eol;
    text += "No. Bins " + Format(dec.Num_Bins, "0") + ", Pings/Ens " + Format(dec.Pings_Per_Ens, "0") + ", Time/Ping " +
            Two_Digits(dec.Time_Per_Ping[0]) + ":" + Two_Digits(dec.Time_Per_Ping[1]) + "." +
            Two_Digits(dec.Time_Per_Ping[2]) + k_eol;
    text += Ensemble_Line("First Ensemble ", ds.First_Ens, ds, 0) + k_eol;

    ds.Sub_Count = 1;
    Clear_Slot(ds, 1);
    if (!Find_Last_Ensemble(file, dec, ds, opt, ens_bytes, nvram, lengths_vary, progress)) {
        return file.Read_Error().empty() ? fail() : false;
    }
    ds.Last_Ens = dec.Cur_Ens_Number;
    text += Ensemble_Line("Last  Ensemble ", ds.Last_Ens, ds, 1) + k_eol;

    const std::int64_t expected = (static_cast<std::int64_t>(ds.Last_Ens) - ds.First_Ens + 1) * (ens_bytes + 2);
    if (lengths_vary) {
        text += std::string(" ") + k_lengths_vary_text + k_eol;
    } else if (expected < file_size) {
        if (nvram) {
            text += std::string(" NVRAM Data in File") + k_eol;
        } else {
            text += std::string(" Extra Data in File") + k_eol;
            ds.Last_Ens = static_cast<std::int32_t>(rnd(static_cast<double>(file_size) / record + ds.First_Ens - 1));
        }
    } else if (expected > file_size) {
        text += " Missing Ensembles " + Format(static_cast<double>(expected - file_size + 1) / record, "0") + k_eol;
    }
    ds.File_Lengths_Vary = lengths_vary;
    ds.File_Ens_Count = ds.Last_Ens - ds.First_Ens + 1;
    ds.File_First_Ens = ds.First_Ens;
    ds.File_Last_Ens = ds.Last_Ens;
    return true;
}

}  // namespace

std::string File_Size_Line(std::int64_t bytes) {
    // The grouping format writes no digit at all for 0.
    return "File Size " + (bytes == 0 ? std::string("0") : Format(static_cast<double>(bytes), "###,###,###,###")) + " bytes";
}

std::string System_Frequency_Label(std::int32_t code, bool narrowband) {
    switch (code) {
        case 0: return "76.8 kHz";
        case 1: return "153.6 kHz";
        case 2: return "307.2 kHz";
        case 3: return "614.4 kHz";
        case 4: return "1228.8 kHz";
        case 5: return narrowband ? "115.0 kHz" : "2457.6 kHz";
        case 6: return "38.4 kHz";
        default: return "Unknown";
    }
}

std::string Ensemble_Clock_Text(const Data_Set& ds, std::size_t slot) {
    const auto t = [&](std::size_t k) { return static_cast<int>(ds.Sub_Time(k, slot)); };
    return Date_Text(t(0), t(1), t(2)) + " " + Clock_Text(t(3), t(4), t(5), t(6));
}

std::string Ensemble_Line(const std::string& label, std::int32_t number, const Data_Set& ds, std::size_t slot) {
    return label + Format(number, "00000000") + " " + Ensemble_Clock_Text(ds, slot);
}

bool Get_First_Ensemble(Binary_File& file, Decoder_State& dec, bool& nvram_seen, Progress_Hooks& progress) {
    bool loaded = true;
    bool found = Get_Next_Ensemble(file, dec, loaded, progress);
    // Its length is not the ensembles' and it has no number: the file would seem to start at 0.
    for (; found && Is_NVRAM_Ensemble(dec); found = Get_Next_Ensemble(file, dec, loaded, progress)) nvram_seen = true;
    return found;
}

bool Find_Last_Ensemble(Binary_File& file, Decoder_State& dec, Data_Set& ds, const Decode_Options& opt,
                        std::int32_t ens_bytes, bool& nvram_seen, bool& lengths_vary, Progress_Hooks& progress) {
    const std::int32_t slot = ds.Sub_Count;
    const std::int64_t length = file.Length();
    const std::int64_t record = static_cast<std::int64_t>(ens_bytes) + 2;
    bool loaded = true;
    // Decodes every ensemble up to the end of the file; shorter ensembles than the first
    // may put more than two in the final bytes.
    const auto decode_to_end = [&] {
        do {
            if (dec.Ens_Bytes != ens_bytes && !Is_NVRAM_Ensemble(dec) && dec.Ens_Bytes != k_two_type_record_bytes) {
                lengths_vary = true;
            }
            Decode_Into(dec, ds, opt, slot);
        } while (!progress.Stop() && Get_Next_Ensemble(file, dec, loaded, progress));
    };

    // Normally the last two records lie in the final 2B + 3 bytes.
    const std::int64_t near_end = length - 2 * static_cast<std::int64_t>(ens_bytes) - 3;
    file.Seek(near_end > 0 ? near_end : 1);
    if (Get_Next_Ensemble(file, dec, loaded, progress)) {
        decode_to_end();
        return true;
    }

    // Trailing data without a record: step back one record length at a time.
    const auto last_k = static_cast<std::int64_t>(rnd(static_cast<double>(length) / static_cast<double>(record)));
    for (std::int64_t k = 3; k <= last_k; ++k) {
        if (progress.Stop()) break;
        file.Seek(length - record * k + 1);
        const bool found = Get_Next_Ensemble(file, dec, loaded, progress);
        // Past a set-up change no ensemble has the first one's length.
        const bool ensemble = found && !Is_NVRAM_Ensemble(dec) && dec.Ens_Bytes != k_two_type_record_bytes;
        if (ensemble) {
            decode_to_end();
            return true;
        }
        if (found && Is_NVRAM_Ensemble(dec)) nvram_seen = true;
        dec.Ens_Bytes = ens_bytes;
    }
    return false;
}

bool Show_File_Stats(Data_Set& ds, Decoder_State& dec, const Decode_Options& opt, File_Set_State& set,
                     std::string& info_text, const std::string& file_name, Progress_Hooks& progress) {
    std::string text;
    bool ok = false;
    try {
        ok = Survey(ds, dec, opt, set, file_name, text, progress);
    } catch (const std::bad_alloc&) {
        throw;  // arrays widened for the file's bins that do not fit: the caller reports memory
    } catch (const std::exception&) {
        ok = false;  // a vanished member ends the survey quietly
    }
    info_text = text;
    return ok;
}

}  // namespace vantrel
