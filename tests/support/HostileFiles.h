#pragma once

#include <QString>
#include <array>

#include "fw/pictures/PictureRefusal.h"

// Picture files made to hurt a loader that trusts them, each a kind the program could meet in
// its resources folder: for the tests of one picture and of a whole game on them. Each is made
// against kTestPictureLimits (TestPictureLimits.h).
namespace karuta_test {

enum class Hostile {
    kFifo,          // a named pipe with no writer: opening it waits for one
    kDirectory,     //
    kLinkToDevice,  // a link to /dev/zero, endless bytes
    kHugeOneBit,    // 2 KB of PNG declaring 4096 x 4096 one-bit pixels, all really there
    kLyingChunk,    // 75 bytes of PNG whose text chunk declares 2^31 - 1 bytes
    kJpeg,          // a good card picture, but JPEG
    kTruncated,     // PNG cut in half
    kOverByteCap,   // a good PNG followed by zeros past the byte cap
    kLargeOneBit,   // a good 512 x 512 one-bit PNG: more than a card needs, little to decode
    kEmptyBlocks,   // 4 MiB of image data in 370,000 empty compressed blocks, one byte short
    kEmptyBlocksWithinBound,  // as many empty blocks as the image data of 512 x 512 pixels of
                              // sixteen-bit channels may be long once compressed: 2 MB
    kBadTextChunks,  // a good 512 x 512 one-bit PNG behind 800 compressed text chunks that each
                     // inflate to 120 KiB and then fail their checksum
};

struct HostileKind {
    Hostile kind;
    const char* description;
    // Why the loader refuses it; kNone: it loads, scaled down to the kept size.
    fw::PictureRefusal refusal;
};

extern const std::array<HostileKind, 12> kHostileKinds;

// Puts a file of that kind at path, in place of whatever is there; false when the file system
// refuses.
bool MakeHostileFile(const QString& path, Hostile kind);

}  // namespace karuta_test
