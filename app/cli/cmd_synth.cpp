// vantrel-cli synth OUT [options]
#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "arg_list.h"
#include "commands.h"
#include "synth_clock.h"
#include "synth_writer.h"

namespace vantrel::cli {

namespace {

const char* const k_synth_help =
    "usage: vantrel-cli synth OUT [options]\n"
    "Writes an ensemble file from a physical scenario; the same seed gives the same file.\n"
    "  --structure bb|nb      broadband or narrowband ensembles (bb)\n"
    "  --ensembles N          ensembles in the scenario (1000)\n"
    "  --bins N               depth cells, 1..255 (30)\n"
    "  --bin-size M           cell length in metres (1.0)\n"
    "  --facing up|down       beams facing (down)\n"
    "  --coords beam|earth    velocity coordinates (beam)\n"
    "  --beam-angle 15|20|30|40  beam angle in degrees (20)\n"
    "  --convex               convex beam pattern (concave)\n"
    "  --bottom-track         add bottom-track blocks\n"
    "  --navigation           add navigation blocks\n"
    "  --flow-meter           add flow-meter blocks (firmware version 21)\n"
    "  --text-block [TEXT]    add a zero-terminated text block (a default text)\n"
    "  --interval SECONDS     time between ensembles (1)\n"
    "  --start \"YYYY-MM-DD HH:MM:SS\"  time of the first ensemble (2024-05-01 12:00:00)\n"
    "  --first-number N       number of the first ensemble (1)\n"
    "  --seed N               seed of the noise (1)\n"
    "Narrowband configuration byte (--structure nb; cells of 1, 2, 4, ... 128 m, 30 degree beams):\n"
    "  --nb-frequency 0..7    frequency code, bits 4-6 (2: 307.2 kHz)\n"
    "  --nb-high-range        velocity range bit 0 set\n"
    "  --nb-bit7-clear        the older layout: earth coordinates, facing down\n"
    "File sets:\n"
    "  --split-every K        K ensembles per file: OUT is the first, NAME.000, NAME.001, ...\n"
    "  --acquisition-set      name the files PREFIX_000003.ENR, PREFIX_000004.ENR, ... and cut a\n"
    "                         record across each file boundary\n"
    "Physics:\n"
    "  --pitch DEG, --roll DEG  amplitudes of the pitch and roll swings (0)\n"
    "  --heading DEG          heading of the first ensemble (30)\n"
    "  --heading-rate DEG     heading change per ensemble (0.05)\n"
    "  --bottom-depth M       depth of the bottom (40)\n"
    "  --transducer-depth M   depth of the transducer (3 facing down, 0.5 m above the bottom facing up)\n"
    "  --ship-speed MM/S      speed of the ship (1000 facing down, 0 facing up)\n"
    "  --ship-direction DEG   course of the ship (60)\n"
    "  --current-east MM/S, --current-north MM/S  current at the surface (250, 150)\n"
    "  --shear-east MM/S/M, --shear-north MM/S/M  change of the current per metre of depth (-4, 3)\n"
    "  --vertical MM/S        vertical velocity of the water (5)\n"
    "  --noise MM/S           amplitude of uniform noise on water velocities (0)\n"
    "Damage:\n"
    "  --garbage N            N bytes free of 0x7F at the start, between ensembles and at the end\n"
    "                         (a scanner gives up after 10000 bytes without a header)\n"
    "  --garbage-every K      garbage after every K-th ensemble (100)\n"
    "  --bad-checksum-every K corrupt the checksum of every K-th ensemble\n"
    "  --drop-every K         leave out every K-th ensemble\n"
    "  --truncate-last        cut the last ensemble short at the end of the file\n"
    "  --long-records-every K after every K-th ensemble a record of two data types with a byte count of 8258\n"
    "  --repeat-every K       write every K-th ensemble twice\n"
    "  --reset-at K           from the K-th ensemble on, numbering restarts at 1\n"
    "Files of today's instruments:\n"
    "  --vary-length          optional data types on some ensembles (bottom track, navigation,\n"
    "                         a text block of varying length): lengths vary by up to 300 bytes\n"
    "  --foreign-records-every K  after every K-th ensemble checksum-correct records 0x7F 0x79 of\n"
    "                         an acquisition program, 36 to 44 bytes each\n"
    "  --foreign-bytes N      bytes of those records after each such ensemble (400; whole records)\n"
    "  --setup-change-at K    from the K-th ensemble on another set-up: twice the cells of half the size\n"
    "  --new-bins N, --new-bin-size M  the cells and cell size of that set-up\n";

void Take_Double_Into(Arg_List& args, const char* name, double& target) {
    // Finite and within a bound that keeps every product the writer forms in range.
    constexpr double k_bound = 1e9;
    if (auto v = args.Take_Double(name, -k_bound, k_bound)) target = *v;
}

void Take_Int_Into(Arg_List& args, const char* name, std::int64_t& target) {
    if (auto v = args.Take_Int(name)) target = *v;
}

std::string Take_Choice(Arg_List& args, const char* name, const char* a, const char* b, const char* fallback) {
    const std::string v = args.Take_Value(name).value_or(fallback);
    if (v != a && v != b) throw Cli_Error(std::string(name) + " must be " + a + " or " + b);
    return v;
}

// "--text-block" without a text (last, or followed by another option) takes the default text.
Args With_Default_Text(Args args, const std::string& text) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--text-block") continue;
        if (i + 1 == args.size() || args[i + 1].rfind("--", 0) == 0) {
            args.insert(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, text);
        }
        break;
    }
    return args;
}

}  // namespace

int Run_Synth(const Args& raw_args) {
    Arg_List args(With_Default_Text(raw_args, synth::Synth_Options{}.text));
    if (args.Take_Flag("--help")) {
        std::fputs(k_synth_help, stdout);
        return 0;
    }
    synth::Synth_Options opt;
    if (Take_Choice(args, "--structure", "bb", "nb", "bb") == "nb") opt.structure = synth::Synth_Structure::Narrowband;
    std::int64_t frequency = opt.nb_frequency;
    Take_Int_Into(args, "--nb-frequency", frequency);
    opt.nb_frequency = static_cast<int>(std::clamp<std::int64_t>(frequency, -1, 8));
    opt.nb_high_range = args.Take_Flag("--nb-high-range");
    opt.nb_bit7 = !args.Take_Flag("--nb-bit7-clear");
    Take_Int_Into(args, "--split-every", opt.split_every);
    opt.acquisition_set = args.Take_Flag("--acquisition-set");
    Take_Int_Into(args, "--ensembles", opt.ensembles);
    std::int64_t bins = opt.bins, angle = opt.beam_angle;
    Take_Int_Into(args, "--bins", bins);
    if (bins < 1 || bins > synth::k_max_synth_bins) throw Cli_Error("--bins must be 1..255");
    opt.bins = static_cast<int>(bins);
    Take_Double_Into(args, "--bin-size", opt.bin_size);
    opt.facing_up = Take_Choice(args, "--facing", "up", "down", "down") == "up";
    opt.earth_coords = Take_Choice(args, "--coords", "beam", "earth", "beam") == "earth";
    Take_Int_Into(args, "--beam-angle", angle);
    opt.beam_angle = static_cast<int>(std::clamp<std::int64_t>(angle, 0, 90));
    opt.convex = args.Take_Flag("--convex");
    opt.bottom_track = args.Take_Flag("--bottom-track");
    opt.navigation = args.Take_Flag("--navigation");
    opt.flow_meter = args.Take_Flag("--flow-meter");
    if (auto text = args.Take_Value("--text-block")) {
        opt.text_block = true;
        opt.text = *text;
    }
    Take_Double_Into(args, "--interval", opt.interval);
    if (auto start = args.Take_Value("--start")) {
        if (!synth::Parse_Civil_Time(start->c_str(), opt.start)) throw Cli_Error("--start must be \"YYYY-MM-DD HH:MM:SS\"");
    }
    Take_Int_Into(args, "--first-number", opt.first_number);
    std::int64_t seed = 1;
    Take_Int_Into(args, "--seed", seed);
    opt.seed = static_cast<std::uint64_t>(seed);

    Take_Double_Into(args, "--pitch", opt.pitch_amplitude);
    Take_Double_Into(args, "--roll", opt.roll_amplitude);
    Take_Double_Into(args, "--heading", opt.heading_start);
    Take_Double_Into(args, "--heading-rate", opt.heading_rate);
    Take_Double_Into(args, "--bottom-depth", opt.bottom_depth);
    Take_Double_Into(args, "--transducer-depth", opt.transducer_depth);
    Take_Double_Into(args, "--ship-speed", opt.ship_speed);
    Take_Double_Into(args, "--ship-direction", opt.ship_direction);
    Take_Double_Into(args, "--current-east", opt.current_east);
    Take_Double_Into(args, "--current-north", opt.current_north);
    Take_Double_Into(args, "--shear-east", opt.shear_east);
    Take_Double_Into(args, "--shear-north", opt.shear_north);
    Take_Double_Into(args, "--vertical", opt.vertical);
    Take_Double_Into(args, "--noise", opt.noise);

    Take_Int_Into(args, "--garbage", opt.garbage);
    Take_Int_Into(args, "--garbage-every", opt.garbage_every);
    Take_Int_Into(args, "--bad-checksum-every", opt.bad_checksum_every);
    Take_Int_Into(args, "--drop-every", opt.drop_every);
    opt.truncate_last = args.Take_Flag("--truncate-last");
    Take_Int_Into(args, "--long-records-every", opt.long_records_every);
    Take_Int_Into(args, "--repeat-every", opt.repeat_every);
    Take_Int_Into(args, "--reset-at", opt.reset_at);

    opt.vary_length = args.Take_Flag("--vary-length");
    Take_Int_Into(args, "--foreign-records-every", opt.foreign_every);
    Take_Int_Into(args, "--foreign-bytes", opt.foreign_bytes);
    Take_Int_Into(args, "--setup-change-at", opt.setup_change_at);
    std::int64_t new_bins = 0;
    Take_Int_Into(args, "--new-bins", new_bins);
    opt.new_bins = static_cast<int>(std::clamp<std::int64_t>(new_bins, -1, 256));
    Take_Double_Into(args, "--new-bin-size", opt.new_bin_size);

    const std::string out = args.Take_Positional("OUT");
    args.Finish();

    synth::Synth_Options resolved;
    try {
        resolved = synth::Resolve_Options(opt);
    } catch (const std::invalid_argument& e) {
        throw Cli_Error(e.what());
    }
    synth::Synth_Manifest manifest;
    try {
        manifest = synth::Write_Synth_File(out, resolved);
    } catch (const std::invalid_argument& e) {
        throw Cli_Error(e.what());
    }
    std::printf("%s\n", synth::Synth_Summary_Line(manifest, resolved, out).c_str());
    return 0;
}

}  // namespace vantrel::cli
