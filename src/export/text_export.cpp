#include "export/text_export.h"

#include <string>
#include <string_view>

#include "export/export_common.h"
#include "platform/text_format.h"

namespace vantrel {

namespace {

constexpr std::string_view k_eol = "\r\n";
constexpr std::size_t k_flush_bytes = 1 << 16;

// Collects a file's text and hands it to the stream in large pieces.
class Text_Sink {
public:
    explicit Text_Sink(std::ostream& out) : out_(out) { text.reserve(2 * k_flush_bytes); }
    ~Text_Sink() { Flush(); }
    Text_Sink(const Text_Sink&) = delete;
    Text_Sink& operator=(const Text_Sink&) = delete;

    void Flush_If_Full() {
        if (text.size() >= k_flush_bytes) Flush();
    }
    void Flush() {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }

    std::string text;

private:
    std::ostream& out_;
};

void Quoted(std::string& out, std::string_view item) {
    out += '"';
    out += item;
    out += '"';
}

void Tab_Quoted(std::string& out, std::string_view item) {
    out += '\t';
    Quoted(out, item);
}

// Ensemble number and the seven clock cells of slot 0, each followed by a tab.
void Append_Row_Start(std::string& out, const Export_Job& job) {
    Append_Int(out, job.dec.Cur_Ens_Number);
    out += '\t';
    for (std::size_t k = 0; k < 7; ++k) {
        Append_Two(out, job.ds.Sub_Time(k, 0));
        out += '\t';
    }
}

void Append_Time_Headings(std::string& row1, std::string& row2, std::string& row3) {
    for (const char* label : {"Ens", "YR", "MO", "DA", "HH", "MM", "SS", "HH"}) {
        Quoted(row1, label);
        row1 += '\t';
    }
    row2.append(8, '\t');
    row3.append(8, '\t');
}

// TAB + the value of per-bin type at bin; a bad velocity leaves the cell empty. The
// direction is written in degrees with direction_decimals decimals.
void Append_Bin_Cell(std::string& out, const Data_Set& ds, int type, std::int32_t bin, int direction_decimals) {
    out += '\t';
    const std::int32_t v = Bin_Value(ds, type, bin);
    if (Is_Velocity_Type(type) && v == k_bad_velocity) return;
    if (type == k_type_vel_direction) {
        Append_Scaled(out, direction_decimals == 1 ? v : v * 10, direction_decimals);
    } else {
        Append_Int(out, v);
    }
}

// Series per-bin column names, types 0..19.
constexpr const char* k_series_bin_names[k_export_type_count] = {
    "EA1", "EA2", "EA3", "EA4", "EAA", "C1",  "C2",  "C3",  "C4",  "CA",
    "Eas", "Nor", "Ver", "Err", "Mag", "Dir", "PG1", "PG2", "PG3", "PG4"};

const char* Series_Bin_Unit(int type) {
    if (type < k_type_vel) return "cnt";
    if (type < k_type_vel_direction) return "mm/s";
    if (type == k_type_vel_direction) return "deg";
    return "%";
}

constexpr const char* k_anc_names[k_anc_box_count] = {"Pit", "Rol", "Hea", "Tem", "Dep", "Ori", "BIT", "Bat"};
constexpr const char* k_anc_units[k_anc_box_count] = {"deg", "deg", "deg", "deg", "m", "", "", "cnt"};
constexpr const char* k_velocity_names[16] = {"BTE", "BTN", "BTV", "BTe", "BTM", "BTD", "WME", "WMN",
                                              "WMV", "WMe", "WMM", "WMD", "NVE", "NVN", "NVM", "NVD"};

bool Is_Direction_Series(int type) {
    return type == k_type_bt_direction || type == k_type_wm_direction || type == k_type_nav_direction;
}

std::vector<std::string_view> Position_Names(bool calimbro) {
    if (calimbro) return {"Lat", "Lon"};
    return {"FLat", "FLon", "LLat", "LLon"};
}

void Append_Positions(std::string& out, const Data_Set& ds, bool calimbro) {
    const std::int32_t values[4] = {calimbro ? ds.Sub_Calimbro_Lat(0) : ds.Sub_First_Lat(0),
                                    calimbro ? ds.Sub_Calimbro_Lon(0) : ds.Sub_First_Lon(0), ds.Sub_Last_Lat(0),
                                    ds.Sub_Last_Lon(0)};
    for (int k = 0; k < (calimbro ? 2 : 4); ++k) {
        out += '\t';
        out += Fix_String(Format(Position_Degrees(values[k]), "0.00000000"), ' ', 10);
    }
}

void Append_Anc_Cell(std::string& out, const Data_Set& ds, int box) {
    out += '\t';
    const std::int32_t v = ds.Sub_Anc(static_cast<std::size_t>(box), 0);
    if (box <= k_anc_temperature) {
        Append_Scaled(out, v, 2);  // hundredths
    } else if (box == k_anc_depth) {
        Append_Scaled(out, v, 3);
    } else {
        Append_Int(out, v);
    }
}

}  // namespace

namespace {

void Append_Text_Header(const Export_Job& job, std::string& t) {
    const Decoder_State& dec = job.dec;
    const Data_Set& ds = job.ds;
    Quoted(t, job.ensemble_file);
    t += k_eol;
    Quoted(t, System_Text(dec));
    t += k_eol;
    Quoted(t, "Pings/Ens =");
    t += '\t';
    Append_Int(t, dec.Pings_Per_Ens);
    t += k_eol;
    std::string ping = "Time/Ping = ";
    Append_Two(ping, dec.Time_Per_Ping[0]);
    ping += ':';
    Append_Two(ping, dec.Time_Per_Ping[1]);
    ping += '.';
    Append_Two(ping, dec.Time_Per_Ping[2]);
    Quoted(t, ping);
    t += k_eol;
    Quoted(t, "First Ensemble Date = " + Ensemble_Date_Text(ds));
    t += k_eol;
    Quoted(t, "First Ensemble Time = " + Ensemble_Time_Text(ds));
    t += k_eol;
    Quoted(t, "Ensemble Interval (s) = ");
    t += '\t' + Format(ds.Avg_Interval, "0.00");
    t += k_eol;
    Quoted(t, "1st Bin Range (m) = ");
    t += '\t' + Format(dec.Bin1_Dist, "0.00");
    t += k_eol;
    Quoted(t, "Bin Size (m) =");
    t += '\t' + Format(dec.Bin_Size, "0.00");
    t += k_eol;
}

}  // namespace

void Write_Text_Header(Export_Job& job, std::ostream& out) {
    std::string t;
    Append_Text_Header(job, t);
    out.write(t.data(), static_cast<std::streamsize>(t.size()));
}

void Write_Contour_Text(Export_Job& job, std::ostream& out) {
    const Ensemble_Range range = Normalise_Range(job.sel.Contour_Range, job.ds);
    const int d = job.sel.Contour_Type;
    Text_Sink sink(out);
    Quoted(sink.text, "Contour Data =" + Contour_Type_Title(d, false));
    sink.text += k_eol;

    if (!Load_For_Export(job, range.first, range.first)) return;
    Append_Text_Header(job, sink.text);
    sink.text += k_eol;

    const std::vector<Bin_Column> bins = Selected_Bins(job.sel.Contour_Bins, job.dec.Num_Bins, job.ds.Orientation_Count);
    std::string row2, row3;
    Append_Time_Headings(sink.text, row2, row3);
    for (const Bin_Column& c : bins) {
        sink.text += '\t';
        Append_Int(sink.text, c.position);
    }
    sink.text += k_eol;
    sink.text += k_eol;

    const bool have_type = d >= 0 && d < k_export_type_count;
    for (std::int64_t e = range.first; e <= range.last; e += range.step) {
        job.progress.Yield();
        if (job.progress.Stop()) break;
        const auto ens = static_cast<std::int32_t>(e);
        if (!Load_For_Export(job, ens, ens)) break;
        std::string& t = sink.text;
        t += k_eol;  // line end before the row: the file ends without one
        Append_Row_Start(t, job);
        if (have_type) {
            for (const Bin_Column& c : bins) Append_Bin_Cell(t, job.ds, d, c.bin, 1);
        }
        sink.Flush_If_Full();
        job.progress.Percent(Range_Percent(range, ens));
    }
    job.progress.Percent(100);
}

void Write_Profile_Text(Export_Job& job, std::ostream& out) {
    const std::int32_t ens = Normalise_Profile_Ens(job.sel.Profile_Ens, job.ds);
    if (!Load_For_Export(job, ens, ens)) return;
    Text_Sink sink(out);
    Quoted(sink.text, "Profile Data Ensemble Number = ");
    sink.text += '\t';
    Append_Int(sink.text, job.dec.Cur_Ens_Number);
    sink.text += k_eol;
    Append_Text_Header(job, sink.text);
    sink.text += k_eol;

    const std::vector<Bin_Column> bins = Selected_Bins(job.sel.Profile_Bins, job.dec.Num_Bins, job.ds.Orientation_Count);
    for (const Bin_Column& c : bins) {
        sink.text += '\t';
        Append_Int(sink.text, c.position);
    }
    sink.text += k_eol;
    sink.text += k_eol;

    static constexpr const char* k_labels[k_export_type_count] = {
        "EA1 cnts", "EA2 cnts", "EA3 cnts", "EA4 cnts", "EAA cnts", "C1 cnts",  "C2 cnts",
        "C3 cnts",  "C4 cnts",  "CA cnts",  "E mm/s  ", "N mm/s  ", "V mm/s  ", "Err mm/s",
        "Mag mm/s", "Dir deg ", "PG1 ",     "PG2 ",     "PG3 ",     "PG4 "};
    for (int i = 0; i < k_export_type_count; ++i) {
        if (!job.sel.Profile_Types[static_cast<std::size_t>(i)]) continue;
        if (job.progress.Stop()) break;
        const char* label = k_labels[i];
        Quoted(sink.text, label);
        for (const Bin_Column& c : bins) Append_Bin_Cell(sink.text, job.ds, i, c.bin, 1);
        sink.text += k_eol;
        job.progress.Percent((i + 1) * 100 / k_export_type_count);
    }
    job.progress.Percent(100);
}

void Write_Series_Text(Export_Job& job, std::ostream& out) {
    const Export_Selection& sel = job.sel;
    const Ensemble_Range range = Normalise_Range(job.sel.Series_Range, job.ds);
    const bool calimbro = sel.Series_Types[k_type_calimbro];
    Text_Sink sink(out);
    Quoted(sink.text, "Series Data");
    sink.text += k_eol;
    if (!Load_For_Export(job, range.first, range.first)) return;
    Append_Text_Header(job, sink.text);
    sink.text += k_eol;
    sink.text += k_eol;

    const std::vector<Bin_Column> bins = Selected_Bins(sel.Series_Bins, job.dec.Num_Bins, job.ds.Orientation_Count);
    std::string row1, row2, row3;
    Append_Time_Headings(row1, row2, row3);
    for (int box = 0; box < k_anc_box_count; ++box) {
        if (!sel.Anc_Types[static_cast<std::size_t>(box)]) continue;
        Tab_Quoted(row1, k_anc_names[box]);
        Tab_Quoted(row2, k_anc_units[box]);
        row3 += '\t';
    }
    for (int type = 0; type < k_export_type_count; ++type) {
        if (!sel.Series_Types[static_cast<std::size_t>(type)]) continue;
        for (const Bin_Column& c : bins) {
            Tab_Quoted(row1, k_series_bin_names[type]);
            Tab_Quoted(row2, Series_Bin_Unit(type));
            row3 += '\t';
            Append_Int(row3, c.position);
        }
    }
    for (int type = k_type_bt; type < k_series_box_count; ++type) {
        if (!sel.Series_Types[static_cast<std::size_t>(type)]) continue;
        if (type <= k_type_nav_direction) {
            Tab_Quoted(row1, k_velocity_names[type - k_type_bt]);
            Tab_Quoted(row2, Is_Direction_Series(type) ? "deg" : "mm/s");
        } else if (type == k_type_positions) {
            for (std::string_view name : Position_Names(calimbro)) {
                std::string quoted;
                Quoted(quoted, name);
                row1 += '\t' + Fix_String(quoted, ' ', 10);
                row2 += '\t' + Fix_String("\"deg\"", ' ', 10);
            }
        } else if (type == k_type_microcat) {
            Tab_Quoted(row1, "MicroCAT");
            Tab_Quoted(row2, "str");
        } else if (type == k_type_bt_depths) {
            row1 += '\t';
            row2 += '\t';
            for (int beam = 1; beam <= 4; ++beam) {
                row1 += "   \"BD";
                Append_Int(row1, beam);
                row1 += '"';
                row2 += "    \"cm\"";
            }
        }
    }
    for (std::string* row : {&row1, &row2, &row3}) {
        sink.text += *row;
        sink.text += k_eol;
    }
    sink.text += k_eol;

    // The checked boxes, resolved once; the row loop only reads values.
    std::vector<int> anc_boxes, bin_types, ensemble_types;
    for (int box = 0; box < k_anc_box_count; ++box) {
        if (sel.Anc_Types[static_cast<std::size_t>(box)]) anc_boxes.push_back(box);
    }
    for (int type = 0; type < k_series_box_count; ++type) {
        if (!sel.Series_Types[static_cast<std::size_t>(type)]) continue;
        (type < k_export_type_count ? bin_types : ensemble_types).push_back(type);
    }

    const Data_Set& ds = job.ds;
    for (std::int64_t e = range.first; e <= range.last; e += range.step) {
        job.progress.Yield();
        if (job.progress.Stop()) break;
        const auto ens = static_cast<std::int32_t>(e);
        if (!Load_For_Export(job, ens, ens)) break;
        std::string& t = sink.text;
        Append_Row_Start(t, job);
        for (int box : anc_boxes) Append_Anc_Cell(t, ds, box);
        for (int type : bin_types) {
            for (const Bin_Column& c : bins) Append_Bin_Cell(t, ds, type, c.bin, 2);
        }
        for (int type : ensemble_types) {
            if (type <= k_type_nav_direction) {
                t += '\t';
                const std::int16_t v = Series_Velocity(ds, type, calimbro);
                if (v == k_bad_velocity) continue;
                if (Is_Direction_Series(type)) {
                    Append_Scaled(t, v * 10, 2);
                } else {
                    Append_Int(t, v);
                }
            } else if (type == k_type_positions) {
                Append_Positions(t, ds, calimbro);
            } else if (type == k_type_microcat) {
                t += '\t';
                t += ds.Sub_MicroCAT(0);
            } else if (type == k_type_bt_depths) {
                t += '\t';
                for (std::size_t beam = 0; beam < 4; ++beam) {
                    t += Fix_String(Format(ds.Sub_BT_Range(beam, 0), "0"), ' ', 8);
                }
            }
        }
        t += k_eol;
        sink.Flush_If_Full();
        job.progress.Percent(Range_Percent(range, ens));
    }
    job.progress.Percent(100);
}

}  // namespace vantrel
