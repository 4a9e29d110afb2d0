// The output of the encoder: a growing byte buffer and the entropy-coded bit writer.
// Bits go in from the most significant end, 64 at a time; a 0xFF byte is followed by a
// stuffed 0x00; a scan ends by filling its last byte with 1-bits. Portable.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace orv::jpeg {

class ByteSink {
public:
    // Makes room for at least n more bytes.
    void Reserve(std::size_t n) {
        if (buf_.size() - pos_ < n) buf_.resize(buf_.size() + (n > buf_.size() ? n : buf_.size()));
    }
    void Byte(std::uint8_t b) { Reserve(1); buf_[pos_++] = b; }
    void Word(unsigned w) { Byte(static_cast<std::uint8_t>(w >> 8)); Byte(static_cast<std::uint8_t>(w)); }
    void Bytes(const void* p, std::size_t n) {
        Reserve(n);
        if (n) std::memcpy(buf_.data() + pos_, p, n);
        pos_ += n;
    }
    std::uint8_t* Cursor() { return buf_.data() + pos_; }
    void Advance(std::size_t n) { pos_ += n; }
    std::size_t Size() const { return pos_; }
    // The bytes written. The capacity is left as it is: the buffer was sized from the
    // statistics, so the slack is small, and a trimmed copy would briefly hold the file
    // twice (the peak memory of an encode) and cost a copy.
    std::vector<std::uint8_t> Take() {
        buf_.resize(pos_);
        pos_ = 0;
        return std::move(buf_);
    }

private:
    std::vector<std::uint8_t> buf_;
    std::size_t pos_ = 0;
};

class BitWriter {
public:
    explicit BitWriter(ByteSink& sink) : sink_(sink) {}

    // Room for one block: 64 codes of at most 27 bits, doubled for stuffing.
    static constexpr std::size_t kBlockBytes = 512;
    void ReserveBlock() { sink_.Reserve(kBlockBytes); out_ = sink_.Cursor(); start_ = out_; }
    void CommitBlock() { sink_.Advance(static_cast<std::size_t>(out_ - start_)); start_ = out_; }

    // Appends the low `size` bits of `code` (size 1..32).
    void Put(std::uint32_t code, int size) {
        if (size < free_) {
            acc_ = (acc_ << size) | code;
            free_ -= size;
            return;
        }
        const int rest = size - free_;
        const std::uint64_t full = (acc_ << free_) | (static_cast<std::uint64_t>(code) >> rest);
        Flush64(full);
        acc_ = code;  // bits above `rest` are shifted out before they are written
        free_ = 64 - rest;
    }

    // Fills the last byte with 1-bits and writes what is left.
    void Finish() {
        sink_.Reserve(32);
        out_ = sink_.Cursor();
        start_ = out_;
        int used = 64 - free_;
        const int pad = (8 - used % 8) % 8;
        if (pad) Put((1u << pad) - 1u, pad);
        used = 64 - free_;
        for (int shift = used - 8; shift >= 0; shift -= 8) Emit(static_cast<std::uint8_t>(acc_ >> shift));
        acc_ = 0;
        free_ = 64;
        CommitBlock();
    }

private:
    void Emit(std::uint8_t b) {
        *out_++ = b;
        if (b == 0xFF) *out_++ = 0;
    }
    void Flush64(std::uint64_t w) {
        // Any 0xFF byte? (a zero byte in ~w)
        const std::uint64_t inv = ~w;
        if (((inv - 0x0101010101010101ull) & ~inv & 0x8080808080808080ull) == 0) {
#if defined(__GNUC__) || defined(__clang__)
            const std::uint64_t be = __builtin_bswap64(w);
            std::memcpy(out_, &be, 8);
#else
            for (int i = 0; i < 8; ++i) out_[i] = static_cast<std::uint8_t>(w >> (56 - 8 * i));
#endif
            out_ += 8;
        } else {
            for (int i = 0; i < 8; ++i) Emit(static_cast<std::uint8_t>(w >> (56 - 8 * i)));
        }
    }

    ByteSink& sink_;
    std::uint8_t* out_ = nullptr;
    std::uint8_t* start_ = nullptr;
    std::uint64_t acc_ = 0;
    int free_ = 64;
};

}  // namespace orv::jpeg
