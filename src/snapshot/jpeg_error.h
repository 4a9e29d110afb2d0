// The encoder's run-time errors: a number and a fixed description, raised as an exception
// so the caller decides whether to ignore them (the snapshot flow does).
#pragma once

#include <stdexcept>
#include <string>

namespace orv {

class JpegError : public std::runtime_error {
public:
    JpegError(int number, const char* description)
        : std::runtime_error(description), number_(number) {}
    int Number() const noexcept { return number_; }

private:
    int number_;
};

// The descriptions, spelled as the program has always spelled them.
inline constexpr const char* kErrInvalidSampling = "Invalid Sampling Value";
inline constexpr const char* kErrBadQuantTable = "Bad Quantization Table";
inline constexpr const char* kErrBadHuffmanTable = "Bad Huffman Table";
inline constexpr const char* kErrIllegalCommentLength = "Illegal Comment Length";

}  // namespace orv
