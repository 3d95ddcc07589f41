#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

// Shared by the seed writers: each writes its fuzzer's starting corpus into the one folder given
// as its argument.

// Writes bytes to folder/name; false when the file cannot be written.
inline bool WriteSeedFile(const std::string& folder, const std::string& name,
                          std::string_view bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The whole main of a seed writer: writeAll writes every seed into the folder and says whether
// it could.
inline int SeedWriterMain(int argc, char** argv, bool (*writeAll)(const std::string& folder)) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    if (!writeAll(argv[1])) {
        std::fprintf(stderr, "%s: cannot write the seeds into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
