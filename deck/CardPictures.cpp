#include "deck/CardPictures.h"

#include <array>
#include <utility>

#include "deck/CardPictureLimits.h"
#include "deck/PoemTable.h"

namespace deck {
namespace {

template <size_t... n>
std::array<PictureLoader, sizeof...(n)> MakePoemCardLoaders(std::index_sequence<n...>) {
    return {PictureLoader("karuta" + std::to_string(n))...};
}

struct Loaders {
    PictureLoader green{"Green"};
    std::array<PictureLoader, kPoemCount> poemCards =
        MakePoemCardLoaders(std::make_index_sequence<kPoemCount>());
};

// Built on first use and never destroyed: the cached pictures belong to the whole run, and
// canvases may still hold them while the process ends.
Loaders& AllLoaders() {
    static Loaders* const loaders = new Loaders();
    return *loaders;
}

}  // namespace

PictureLoader::PictureLoader(std::string name)
    : name_(std::move(name)), fileName_(name_ + ".pct") {}

fw::Ref<fw::Picture> PictureLoader::Load() const {
    if (cache_.IsNil()) {
        // Assigned only when the load returns: an exception leaves the cache as it was, empty.
        cache_ = fw::Picture::_OpenFromApp(fileName_, kCardPictureLimits);
    }
    return cache_;
}

fw::Ref<fw::Picture> Green() {
    return AllLoaders().green.Load();
}

const PictureLoader* PoemCardLoader(int64_t n) {
    if (n < 0 || n >= kPoemCount) {
        return nullptr;
    }
    return &AllLoaders().poemCards[static_cast<size_t>(n)];
}

namespace testing {

void ClearPictureCaches() {
    Loaders& loaders = AllLoaders();
    loaders.green.cache_.Reset();
    for (const PictureLoader& loader : loaders.poemCards) {
        loader.cache_.Reset();
    }
}

}  // namespace testing
}  // namespace deck
