#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fw/PictureRefusal.h"

namespace fw {

// The most bytes a picture file may hold. The drawn cards are about 14 KB; anything far larger
// is not one of them, and reading it would only cost memory.
constexpr size_t kMaxPictureFileBytes = size_t{4} << 20;

struct PictureBytes {
    std::vector<uint8_t> bytes;  // the whole file when refusal is kNone, else empty
    PictureRefusal refusal = PictureRefusal::kNone;
};

// Reads the file at path whole, if it is a regular file of at most kMaxPictureFileBytes. Nothing
// here can block: the file is opened without waiting (a pipe with no writer, a device) and its
// type is taken from the opened descriptor, so a file swapped after the check is still judged
// by what was opened. Never raises for a file that cannot be read.
PictureBytes ReadPictureBytes(const std::string& path);

}  // namespace fw
