#pragma once

#include <optional>
#include <string>

#include "fw/core/FileIdentity.h"
#include "fw/pictures/PictureLimits.h"
#include "fw/pictures/PictureRefusal.h"

// The picture files refused so far in this run, each with the file it was when refused, so that
// asking again for a file that looks unchanged (FileIdentity.h) costs one look at it and no
// reading: a refusal may have cost the file's whole work budget. Only the user-interface thread
// loads pictures.
namespace fw {

// The reason path was refused for, if the file there still looks like the one refused, under
// the same limits; nothing when it was never refused, is seen to have changed since, or cannot
// be looked at (reading it then says why).
std::optional<PictureRefusal> StillRefused(const std::string& path,
                                           const PictureLimits& limits) noexcept;

// Remembers a refusal that holds as long as the file stays the same: not kUnreadable, nor
// kOutOfMemory, which say nothing of the file.
void RememberRefusal(const std::string& path, const FileIdentity& file, const PictureLimits& limits,
                     PictureRefusal refusal) noexcept;
void ForgetRefusal(const std::string& path) noexcept;

}  // namespace fw
