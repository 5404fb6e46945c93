#include "synth_writer.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "synth_encoder.h"

namespace vantrel::synth {

namespace {

constexpr std::size_t k_chunk_bytes = 8u << 20;

bool Every(std::int64_t index, std::int64_t k) { return k > 0 && (index + 1) % k == 0; }

// Buffers the file in large chunks and keeps the manifest's positions.
class Chunk_Writer {
public:
    Chunk_Writer(const std::string& path, Synth_Manifest& m) : path_(path), m_(m) {
        file_ = std::fopen(path.c_str(), "wb");
        if (!file_) throw std::runtime_error("cannot write " + path);
        buffer_.reset(new std::uint8_t[k_chunk_bytes]);
    }
    ~Chunk_Writer() {
        if (file_) std::fclose(file_);
    }
    Chunk_Writer(const Chunk_Writer&) = delete;
    Chunk_Writer& operator=(const Chunk_Writer&) = delete;

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
        if (used_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_) {
            throw std::runtime_error("cannot write " + path_);
        }
        used_ = 0;
    }
    void Close() {
        Flush();
        const int rc = std::fclose(file_);
        file_ = nullptr;
        if (rc != 0) throw std::runtime_error("cannot write " + path_);
        m_.file_bytes = position_ - 1;
    }

private:
    std::string path_;
    Synth_Manifest& m_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
    std::int64_t position_ = 1;
};

void Write_Garbage(Chunk_Writer& w, std::int64_t bytes, Synth_Rng& rng) {
    while (bytes > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(bytes, 1 << 20));
        std::uint8_t* p = w.Reserve(n, Record_Kind::Garbage, -1, 0);
        for (std::size_t i = 0; i < n; ++i) {
            const auto b = static_cast<std::uint8_t>(rng.Next() >> 56);
            p[i] = b == 0x7F ? 0x7E : b;  // never a header byte, so no false candidate starts here
        }
        bytes -= static_cast<std::int64_t>(n);
    }
}

// Gives a complete ensemble a wrong checksum. A scanner that rejects it searches on
// from its second byte, so no 0x7F may remain in its body or checksum: a false header
// there could claim a length that runs past the end of the file and end the search.
void Spoil_Checksum(std::uint8_t* p, std::size_t size) {
    const std::size_t n = size - 2;
    for (std::size_t i = 4; i < n; ++i) {
        if (p[i] == 0x7F) p[i] = 0x7E;
    }
    for (unsigned spare = 0; spare < 256; ++spare) {
        if (spare == 0x7F) continue;
        p[4] = static_cast<std::uint8_t>(spare);  // byte 4 is not read by the decoders
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += p[i];
        const std::uint32_t wrong = (sum + 1) & 0xFFFF;
        p[n] = static_cast<std::uint8_t>(wrong & 0xFF);
        p[n + 1] = static_cast<std::uint8_t>(wrong >> 8);
        if (p[n] != 0x7F && p[n + 1] != 0x7F) return;
    }
}

}  // namespace

Synth_Manifest Write_Synth_File(const std::string& path, const Synth_Options& options) {
    const Synth_Options opt = Resolve_Options(options);  // unchanged when already resolved
    Synth_Manifest m;
    const Synth_Layout layout = Make_Synth_Layout(opt);
    const std::size_t size = layout.Total();
    m.ensemble_bytes = static_cast<std::int64_t>(size);
    m.entries.reserve(static_cast<std::size_t>(std::min<std::int64_t>(opt.ensembles, 1 << 20)) + 16);

    const std::string temp = path + ".part";
    try {
        Chunk_Writer w(temp, m);
        Synth_Rng garbage_rng(opt.seed ^ 0xA5A5A5A5DEADBEEFull);
        auto ens = std::make_unique<Synth_Ensemble>();
        Write_Garbage(w, opt.garbage, garbage_rng);
        for (std::int64_t i = 0; i < opt.ensembles; ++i) {
            const bool last = i + 1 == opt.ensembles;
            const std::int32_t number = Synth_Ensemble_Number(opt, i);
            if (last && opt.truncate_last) {
                Write_Garbage(w, opt.garbage, garbage_rng);  // the file must end inside the ensemble
                Fill_Synth_Ensemble(opt, i, *ens);
                std::vector<std::uint8_t> whole(size);
                Encode_Ensemble(opt, layout, *ens, whole.data());
                const std::size_t kept = size / 2;
                std::copy_n(whole.data(), kept, w.Reserve(kept, Record_Kind::Truncated, i, number));
                break;
            }
            Fill_Synth_Ensemble(opt, i, *ens);
            if (Every(i, opt.drop_every)) {
                w.Note_Dropped(i, number);
            } else {
                const bool bad = Every(i, opt.bad_checksum_every);
                std::uint8_t* p = w.Reserve(size, bad ? Record_Kind::Bad_Checksum : Record_Kind::Intact, i, number);
                Encode_Ensemble(opt, layout, *ens, p);
                if (bad) Spoil_Checksum(p, size);
                if (!bad && Every(i, opt.repeat_every)) {
                    std::copy_n(p, size, w.Reserve(size, Record_Kind::Repeat, i, number));
                }
            }
            // Damage kinds keep their own rhythm: a long record follows its slot even when
            // the ensemble there was dropped.
            if (Every(i, opt.long_records_every)) {
                Encode_Long_Record(opt, *ens, w.Reserve(k_long_record_bytes, Record_Kind::Long_Record, i, number));
            }
            if (!last && Every(i, opt.garbage_every)) Write_Garbage(w, opt.garbage, garbage_rng);
            if (last) Write_Garbage(w, opt.garbage, garbage_rng);
        }
        w.Close();
    } catch (...) {
        std::remove(temp.c_str());
        throw;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw std::runtime_error("cannot rename " + temp + " to " + path);
    }
    return m;
}

Synth_Counts Count_Manifest(const Synth_Manifest& m) {
    Synth_Counts c;
    for (const Manifest_Entry& e : m.entries) {
        switch (e.kind) {
            case Record_Kind::Intact: ++c.intact; break;
            case Record_Kind::Repeat: ++c.intact; ++c.repeats; break;
            case Record_Kind::Bad_Checksum: ++c.bad_checksum; break;
            case Record_Kind::Truncated: ++c.truncated; break;
            case Record_Kind::Long_Record: ++c.long_records; break;
            case Record_Kind::Garbage: c.garbage_bytes += e.length; break;
            case Record_Kind::Dropped: ++c.dropped; break;
        }
        if (e.kind != Record_Kind::Garbage && e.kind != Record_Kind::Dropped) ++c.records;
    }
    return c;
}

std::string Synth_Summary_Line(const Synth_Manifest& m, const Synth_Options& opt, const std::string& path) {
    const Synth_Counts c = Count_Manifest(m);
    const auto n = [](std::int64_t v) { return std::to_string(v); };
    return "synth: wrote " + n(c.records) + " records (" + n(c.intact) + " intact ensembles, " + n(m.ensemble_bytes) +
           " bytes each) to " + path + "; damage: garbage " + n(c.garbage_bytes) + " bytes, bad checksum " +
           n(c.bad_checksum) + ", dropped " + n(c.dropped) + ", truncated last " + n(c.truncated) + ", long records " +
           n(c.long_records) + ", repeats " + n(c.repeats) + ", reset at " + n(opt.reset_at);
}

}  // namespace vantrel::synth
