#include "synth_writer.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/output_file.h"
#include "platform/text_format.h"
#include "synth_encoder.h"
#include "synth_nb.h"
#include "synth_variation.h"

namespace vantrel::synth {

namespace {

constexpr std::size_t k_chunk_bytes = 8u << 20;

bool Every(std::int64_t index, std::int64_t k) { return k > 0 && (index + 1) % k == 0; }

// Opens path under the output rule; a synthetic file replaces an earlier one whole.
void Open_Output(Output_File& out, const std::string& path, bool named_temporary = false) {
    if (const Outcome opened = out.Open(path, {}, Existing_Output::k_replace, named_temporary); !opened)
        throw std::runtime_error(opened.message);
}

// Buffers the file in large chunks and keeps the manifest's positions.
class Chunk_Writer {
public:
    Chunk_Writer(Output_File& out, const std::string& path, Synth_Manifest& m)
        : out_(out), path_(path), m_(m), buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(k_chunk_bytes)) {}

    // Room for n bytes at the end of the buffer, recorded as one manifest entry.
    std::uint8_t* Reserve(std::size_t n, Record_Kind kind, std::int64_t index, std::int32_t number) {
        if (used_ + n > k_chunk_bytes) Flush();
        m_.entries.push_back({kind, index, number, position_, static_cast<std::int64_t>(n)});
        position_ += static_cast<std::int64_t>(n);
        std::uint8_t* p = buffer_.get() + used_;
        used_ += n;
        return p;
    }
    void Note_Dropped(std::int64_t index, std::int32_t number) {
        m_.entries.push_back({Record_Kind::Dropped, index, number, position_, 0});
    }
    void Flush() {
        if ((used_ && !out_.Write(buffer_.get(), used_)) || !out_.Stream().flush()) throw std::runtime_error("cannot write " + path_);
        used_ = 0;
    }
    void Close() {
        Flush();
        m_.file_bytes = position_ - 1;
    }

private:
    Output_File& out_;
    std::string path_;
    Synth_Manifest& m_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
    std::int64_t position_ = 1;
};

// The byte where a scanner's candidates start: the broadband header byte, the narrowband
// leader size's low byte. Damage keeps it out of bytes a scanner reads as candidates.
std::uint8_t Marker_Byte(const Synth_Options& opt) {
    return opt.structure == Synth_Structure::Narrowband ? 0x3F : 0x7F;
}

void Write_Foreign_Records(Chunk_Writer& w, std::int64_t bytes, Synth_Rng& rng, std::uint8_t marker) {
    for (std::int64_t written = 0; written < bytes;) {
        const std::size_t n = Next_Foreign_Length(rng);
        Encode_Foreign_Record(w.Reserve(n, Record_Kind::Foreign, -1, 0), n, rng, marker);
        written += static_cast<std::int64_t>(n);
    }
}

void Write_Garbage(Chunk_Writer& w, std::int64_t bytes, Synth_Rng& rng, std::uint8_t marker) {
    while (bytes > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(bytes, 1 << 20));
        std::uint8_t* p = w.Reserve(n, Record_Kind::Garbage, -1, 0);
        for (std::size_t i = 0; i < n; ++i) {
            const auto b = static_cast<std::uint8_t>(rng.Next() >> 56);
            p[i] = b == marker ? static_cast<std::uint8_t>(marker - 1) : b;  // no false candidate starts here
        }
        bytes -= static_cast<std::int64_t>(n);
    }
}

// Gives a complete ensemble a wrong checksum. A scanner that rejects it searches on
// from the byte after its marker, so no marker byte may remain in its body or checksum:
// a false candidate there could claim a length that runs past the end of the file and end
// the search. The spare byte (4 broadband, 12 narrowband) is read by no decoder.
void Spoil_Checksum(std::uint8_t* p, std::size_t size, const Synth_Options& opt) {
    const bool nb = opt.structure == Synth_Structure::Narrowband;
    const std::uint8_t marker = Marker_Byte(opt);
    const std::size_t n = size - 2, spare_at = nb ? 12 : 4;
    for (std::size_t i = 4; i < n; ++i) {
        if (p[i] == marker) p[i] = static_cast<std::uint8_t>(marker - 1);
    }
    for (unsigned spare = 0; spare < 256; ++spare) {
        if (spare == marker) continue;
        p[spare_at] = static_cast<std::uint8_t>(spare);
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += p[i];
        const std::uint32_t wrong = (sum + 1) & 0xFFFF;
        const auto low = static_cast<std::uint8_t>(wrong & 0xFF), high = static_cast<std::uint8_t>(wrong >> 8);
        p[n] = nb ? high : low;
        p[n + 1] = nb ? low : high;
        if (p[n] != marker && p[n + 1] != marker) return;
    }
}

// Encodes ensembles of either structure, all of the size the options give.
class Ensemble_Encoder {
public:
    explicit Ensemble_Encoder(const Synth_Options& opt)
        : opt_(opt), nb_(opt.structure == Synth_Structure::Narrowband), layout_(Make_Synth_Layout(opt)) {}
    std::size_t Size() const { return nb_ ? Synth_NB_Ensemble_Bytes(opt_) : layout_.Total(); }
    void Encode(const Synth_Ensemble& e, std::uint8_t* out) const {
        if (nb_) Encode_Synth_NB(opt_, e, out);
        else Encode_Ensemble(opt_, layout_, e, out);
    }
    void Encode_Long(const Synth_Ensemble& e, std::uint8_t* out) const {
        if (nb_) Encode_NB_Long_Record(opt_, e, out);
        else Encode_Long_Record(opt_, e, out);
    }

private:
    const Synth_Options& opt_;
    bool nb_;
    Synth_Layout layout_;
};

bool All_Digits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Zero_Padded(std::int64_t value, std::size_t width) {
    std::string text = std::to_string(value);
    return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

// Cuts the stream file into members at the given 1-based stream positions and moves the
// manifest's positions into their members.
void Split_Stream(const std::string& stream, const std::vector<std::string>& names,
                  const std::vector<std::int64_t>& cuts, Synth_Manifest& m) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(stream.c_str(), "rb"), std::fclose);
    if (!in) throw std::runtime_error("cannot read " + stream);
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(k_chunk_bytes);
    std::int64_t at = 1;
    m.members.clear();
    m.member_bytes.clear();
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::int64_t end = k + 1 < cuts.size() ? cuts[k + 1] : m.file_bytes + 1;
        Output_File out;
        Open_Output(out, names[k]);
        bool ok = true;
        for (std::int64_t left = end - at; ok && left > 0;) {
            const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, k_chunk_bytes));
            ok = std::fread(buffer.get(), 1, n, in.get()) == n && out.Write(buffer.get(), n);
            left -= static_cast<std::int64_t>(n);
        }
        if (const Outcome written = ok ? out.Commit() : Failure(Outcome_Kind::k_cannot_write, "cannot write " + names[k]); !written)
            throw std::runtime_error(written.message);
        m.members.push_back(names[k]);
        m.member_bytes.push_back(end - at);
        at = end;
    }
    for (Manifest_Entry& e : m.entries) {
        const auto k = static_cast<std::size_t>(std::upper_bound(cuts.begin(), cuts.end(), e.position) - cuts.begin()) - 1;
        e.member = static_cast<std::int32_t>(k);
        e.position -= cuts[k] - 1;
    }
}

// Stream positions where members start: the first record of every split_every-th
// ensemble, or half an ensemble into it when a record is cut across the boundary.
std::vector<std::int64_t> Member_Cuts(const Synth_Manifest& m, const Synth_Options& opt) {
    std::vector<std::int64_t> cuts{1};
    std::int64_t next = opt.split_every;
    for (const Manifest_Entry& e : m.entries) {
        if (e.kind == Record_Kind::Garbage || e.index < next) continue;
        const std::int64_t cut = e.position + (opt.acquisition_set ? m.ensemble_bytes / 2 : 0);
        if (cut <= m.file_bytes) cuts.push_back(cut);
        next += opt.split_every;
    }
    return cuts;
}

}  // namespace

std::vector<std::string> Synth_Member_Names(const std::string& path, bool acquisition_set, std::int64_t count) {
    std::vector<std::string> names;
    if (acquisition_set) {
        static const char* const k_extensions[] = {".ENS", ".ENR", ".ENX", ".STA", ".LTA"};
        const bool shaped = path.size() >= 11 && path[path.size() - 11] == '_' &&
                            All_Digits(path.substr(path.size() - 10, 6)) &&
                            std::any_of(std::begin(k_extensions), std::end(k_extensions),
                                        [&](const char* ext) { return path.compare(path.size() - 4, 4, ext) == 0; });
        if (!shaped) throw std::invalid_argument("--acquisition-set: OUT must end in _NNNNNN.ENS, .ENR, .ENX, .STA or .LTA");
        const std::string prefix = path.substr(0, path.size() - 10), extension = path.substr(path.size() - 4);
        const std::int64_t first = std::stoll(path.substr(path.size() - 10, 6));
        if (first + count - 1 > 999999) throw std::invalid_argument("--acquisition-set: sequence numbers run past 999999");
        for (std::int64_t k = 0; k < count; ++k) names.push_back(prefix + Zero_Padded(first + k, 6) + extension);
        return names;
    }
    const bool shaped = path.size() >= 4 && path[path.size() - 4] == '.' && All_Digits(path.substr(path.size() - 3));
    if (!shaped) throw std::invalid_argument("--split-every: OUT must have a three-digit extension such as NAME.000");
    const std::string base = path.substr(0, path.size() - 3);
    const std::int64_t first = std::stoll(path.substr(path.size() - 3));
    if (first > 998 || first + count - 1 > 999) throw std::invalid_argument("--split-every: member numbers run past 999");
    for (std::int64_t k = 0; k < count; ++k) names.push_back(base + Zero_Padded(first + k, 3));
    return names;
}

Synth_Manifest Write_Synth_File(const std::string& path, const Synth_Options& options) {
    const Synth_Options opt = Resolve_Options(options);  // unchanged when already resolved
    Synth_Manifest m;
    const Ensemble_Encoder encoder(opt);
    const std::uint8_t marker = Marker_Byte(opt);
    m.ensemble_bytes = static_cast<std::int64_t>(
        Ensemble_Options_Vary(opt) ? Ensemble_Encoder(Ensemble_Options(opt, 0)).Size() : encoder.Size());
    m.entries.reserve(static_cast<std::size_t>(std::min<std::int64_t>(opt.ensembles, 1 << 20)) + 16);

    const std::int64_t member_count = opt.split_every > 0 ? (opt.ensembles + opt.split_every - 1) / opt.split_every : 1;
    const std::vector<std::string> names =
        opt.split_every > 0 ? Synth_Member_Names(path, opt.acquisition_set, member_count) : std::vector<std::string>{path};
    // A set is cut from one stream kept in a temporary file beside the first member.
    const bool split = opt.split_every > 0;
    Output_File out;
    Open_Output(out, path, split);
    {
        Chunk_Writer w(out, path, m);
        Synth_Rng garbage_rng(opt.seed ^ 0xA5A5A5A5DEADBEEFull);
        Synth_Rng foreign_rng(opt.seed ^ 0x5A5A5A5A0F0F0F0Full);
        auto ens = std::make_unique<Synth_Ensemble>();
        const bool varies = Ensemble_Options_Vary(opt);
        Synth_Options shaped;  // the options of ensemble i when they are not opt
        std::optional<Ensemble_Encoder> shaped_encoder;
        Write_Garbage(w, opt.garbage, garbage_rng, marker);
        for (std::int64_t i = 0; i < opt.ensembles; ++i) {
            const bool last = i + 1 == opt.ensembles;
            const std::int32_t number = Synth_Ensemble_Number(opt, i);
            const Ensemble_Encoder* enc = &encoder;
            if (varies) {
                shaped = Ensemble_Options(opt, i);
                enc = &shaped_encoder.emplace(shaped);
            }
            const Synth_Options& eo = varies ? shaped : opt;
            const std::size_t size = enc->Size();
            if (last && opt.truncate_last) {
                Write_Garbage(w, opt.garbage, garbage_rng, marker);  // the file must end inside the ensemble
                Fill_Synth_Ensemble(eo, i, *ens);
                std::vector<std::uint8_t> whole(size);
                enc->Encode(*ens, whole.data());
                const std::size_t kept = size / 2;
                std::copy_n(whole.data(), kept, w.Reserve(kept, Record_Kind::Truncated, i, number));
                break;
            }
            Fill_Synth_Ensemble(eo, i, *ens);
            if (Every(i, opt.drop_every)) {
                w.Note_Dropped(i, number);
            } else {
                const bool bad = Every(i, opt.bad_checksum_every);
                std::uint8_t* p = w.Reserve(size, bad ? Record_Kind::Bad_Checksum : Record_Kind::Intact, i, number);
                enc->Encode(*ens, p);
                if (bad) Spoil_Checksum(p, size, opt);
                if (!bad && Every(i, opt.repeat_every)) {
                    std::copy_n(p, size, w.Reserve(size, Record_Kind::Repeat, i, number));
                }
            }
            // Damage kinds keep their own rhythm: a long record follows its slot even when
            // the ensemble there was dropped.
            if (Every(i, opt.long_records_every)) {
                enc->Encode_Long(*ens, w.Reserve(k_long_record_bytes, Record_Kind::Long_Record, i, number));
            }
            if (!last && Every(i, opt.foreign_every)) Write_Foreign_Records(w, opt.foreign_bytes, foreign_rng, marker);
            if (!last && Every(i, opt.garbage_every)) Write_Garbage(w, opt.garbage, garbage_rng, marker);
            if (last) Write_Garbage(w, opt.garbage, garbage_rng, marker);
        }
        w.Close();
    }
    if (split) {
        const std::vector<std::int64_t> cuts = Member_Cuts(m, opt);
        Split_Stream(out.Temporary_Path(), std::vector<std::string>(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(cuts.size())), cuts, m);
        return m;  // the stream's file goes with out
    }
    if (const Outcome written = out.Commit(); !written) throw std::runtime_error(written.message);
    m.members = {path};
    m.member_bytes = {m.file_bytes};
    return m;
}

Synth_Counts Count_Manifest(const Synth_Manifest& m) {
    Synth_Counts c;
    for (const Manifest_Entry& e : m.entries) {
        switch (e.kind) {
            case Record_Kind::Intact: ++c.intact; break;
            case Record_Kind::Repeat: ++c.intact; ++c.repeats; break;
            case Record_Kind::Foreign: ++c.foreign; c.foreign_bytes += e.length; break;
            case Record_Kind::Bad_Checksum: ++c.bad_checksum; break;
            case Record_Kind::Truncated: ++c.truncated; break;
            case Record_Kind::Long_Record: ++c.long_records; break;
            case Record_Kind::Garbage: c.garbage_bytes += e.length; break;
            case Record_Kind::Dropped: ++c.dropped; break;
        }
        if (e.kind == Record_Kind::Intact || e.kind == Record_Kind::Repeat || e.kind == Record_Kind::Bad_Checksum) {
            c.shortest = c.shortest == 0 ? e.length : std::min(c.shortest, e.length);
            c.longest = std::max(c.longest, e.length);
        }
        if (e.kind != Record_Kind::Garbage && e.kind != Record_Kind::Dropped && e.kind != Record_Kind::Foreign) ++c.records;
    }
    return c;
}

std::string Synth_Summary_Line(const Synth_Manifest& m, const Synth_Options& opt, const std::string& path) {
    const Synth_Counts c = Count_Manifest(m);
    const auto n = [](std::int64_t v) { return std::to_string(v); };
    const std::string lengths = c.shortest != c.longest ? n(c.shortest) + " to " + n(c.longest) + " bytes"
                                                         : n(m.ensemble_bytes) + " bytes each";
    std::string today;  // what today's instruments add, named only when asked for
    if (opt.vary_length) today += "; varying length";
    if (opt.foreign_every > 0) today += "; foreign records " + n(c.foreign) + " (" + n(c.foreign_bytes) + " bytes)";
    if (opt.setup_change_at > 0) {
        today += "; set-up change at " + n(opt.setup_change_at) + " to " + n(opt.new_bins) + " bins of " +
                 Format(opt.new_bin_size, "0.00") + " m";
    }
    return "synth: wrote " + n(c.records) + " records (" + n(c.intact) + " intact ensembles, " + lengths + ") to " +
           path + today + "; damage: garbage " + n(c.garbage_bytes) + " bytes, bad checksum " +
           n(c.bad_checksum) + ", dropped " + n(c.dropped) + ", truncated last " + n(c.truncated) + ", long records " +
           n(c.long_records) + ", repeats " + n(c.repeats) + ", reset at " + n(opt.reset_at) +
           (m.members.size() > 1 ? "; " + n(static_cast<std::int64_t>(m.members.size())) + " files, " + m.members.front() +
                                       " to " + m.members.back()
                                 : std::string());
}

}  // namespace vantrel::synth
