#pragma once

namespace fw {

// Why a picture file gives no picture. The program goes on without it, and the reason is said
// once for each file and reason, so that a broken installation does not go unnoticed.
enum class PictureRefusal {
    kNone,            // the file gave a picture
    kMissing,         // no file of that name
    kUnreadable,      // there, but opening or reading it failed
    kNotRegularFile,  // a directory, pipe, socket or device (or a link to one)
    kOverByteCap,     // longer than the caller's limits allow
    kNotPng,          // pictures are PNG and nothing else
    kMalformed,       // PNG that is cut short, inconsistent or damaged
    kTooLarge,        // well-formed PNG larger than the caller's limits allow
    kOverWorkBudget,  // image data in more pieces (chunks, compressed blocks) than allowed, or
                      // inflating to more than twice what the picture takes
    kOutOfMemory,     // no memory for the work, which says nothing of the file
};

// The reason in a few words, for the line that reports the file.
constexpr const char* Describe(PictureRefusal refusal) {
    switch (refusal) {
        case PictureRefusal::kNone:
            return "no fault";
        case PictureRefusal::kMissing:
            return "missing";
        case PictureRefusal::kUnreadable:
            return "unreadable";
        case PictureRefusal::kNotRegularFile:
            return "not a regular file";
        case PictureRefusal::kOverByteCap:
            return "over the size cap";
        case PictureRefusal::kNotPng:
            return "not PNG";
        case PictureRefusal::kMalformed:
            return "malformed";
        case PictureRefusal::kTooLarge:
            return "too large";
        case PictureRefusal::kOverWorkBudget:
            return "too costly to decode";
        case PictureRefusal::kOutOfMemory:
            return "out of memory";
    }
    return "refused";
}

}  // namespace fw
