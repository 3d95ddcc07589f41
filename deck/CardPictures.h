#pragma once

#include <cstdint>
#include <string>

#include "fw/core/Object.h"
#include "fw/pictures/Picture.h"

namespace deck {
namespace testing {
void ClearPictureCaches();
}

// One card picture of the application's resources, loaded the first time it is asked for and
// then held for the rest of the run. Every caller gets the same Picture object: a canvas that
// shows it shares it with the cache, nothing copies it.
//
// While the cache is empty each Load asks the framework for the file, within the card limits
// (CardPictureLimits.h); a load that gives nil records nothing here, so the next call tries
// again (a missing card costs the player a blank face, never a stuck one), and a file put back
// or repaired shows at the next call. The framework refuses a file it refused before, and that
// looks unchanged, without reading it again. Once a picture is cached it is final: nothing replaces
// or releases it. Only the user-interface thread loads pictures, so the cache is not locked.
class PictureLoader {
public:
    explicit PictureLoader(std::string name);
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    // The picture name, "Green" or "karuta7".
    const std::string& Name() const noexcept { return name_; }
    // The resource file: the name followed by ".pct".
    const std::string& FileName() const noexcept { return fileName_; }

    // The cached picture with a reference of the caller's own, loading it first while the cache
    // is empty; nil while no load has given a picture. An exception of the load passes through
    // unchanged and leaves the cache empty.
    fw::Ref<fw::Picture> Load() const;

private:
    friend void testing::ClearPictureCaches();

    std::string name_;
    std::string fileName_;
    mutable fw::Ref<fw::Picture> cache_;
};

// The card back, "Green.pct", which every card frame and face shows when it opens.
fw::Ref<fw::Picture> Green();

// The picture-name rule: poem number n from 0 to 99 selects the card of that poem, named
// "karuta" followed by n in decimal without leading zeros ("karuta7", file "karuta7.pct").
// Every other value, compared as the whole 64-bit number, selects nothing (nullptr). Each poem
// has one loader for the whole run.
const PictureLoader* PoemCardLoader(int64_t n);

namespace testing {

// Empties every card picture cache, so that a test with its own resources folder starts as the
// program does. The program itself never calls this: a cached picture is kept until the end.
void ClearPictureCaches();

}  // namespace testing
}  // namespace deck
