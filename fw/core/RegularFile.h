#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fw/core/FileIdentity.h"

namespace fw {

// Why a file was not read.
enum class FileReadFailure {
    kNone,            // read whole
    kMissing,         // no file of that name
    kUnreadable,      // no permission, or an error while reading
    kNotRegularFile,  // a folder, a pipe, a device, a socket
    kOverByteCap,     // longer than the caller allows
};

struct FileBytes {
    std::vector<uint8_t> bytes;  // the whole file when failure is kNone, else empty
    FileReadFailure failure = FileReadFailure::kNone;
    // The file that the name led to, once it could be looked at (whether or not it was read).
    std::optional<FileIdentity> identity;
};

// Reads the file at path whole, if it is a regular file of at most maxBytes. No other kind of
// file is opened for reading, even one swapped in under the name while this runs: the name is
// first resolved to a descriptor that only points at the file (Linux's O_PATH), and only a
// regular file is then opened through that descriptor, which cannot lead elsewhere. (Where the
// system has no such descriptors, the name is opened without waiting and the opened file judged
// by its own type, so a device swapped in at that moment has been opened.) Nothing waits on a
// pipe or a device; looking the file up and reading it still wait as long as its file system
// takes to answer, so a file on a network or user-space file system that never answers holds the
// program with it. Never raises for a file that cannot be read.
FileBytes ReadRegularFile(const std::string& path, size_t maxBytes);

}  // namespace fw
