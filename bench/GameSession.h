#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "fw/core/Object.h"
#include "game/KarutaWindow.h"

class QWidget;

namespace bench {

// The folder of the card pictures the build draws (the game's resources folder).
std::string CardPicturesFolder();
// The path of one picture file in that folder.
QString CardPicturePath(const std::string& fileName);

// Hands every pending event to Qt: paints, window-system events and deferred deletions. The
// benchmarks call it outside the timed part, as the event loop would run between two events of
// the game.
void FlushEvents();

// The main window as the player gets it, on the card pictures the build draws, with a clock
// the benchmark sets by hand and a fixed question choice. Closing the session closes every
// window and puts the framework's clock, random numbers and resources folder back.
class GameSession {
public:
    GameSession();
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    game::KarutaWindow& Window() const { return *window_; }
    // The seconds every new Date reads.
    void SetNow(double seconds) { now_ = seconds; }
    double Now() const noexcept { return now_; }

    // A click on the start button, as the player gives it.
    void PressStart();
    // The card slot that holds the current question.
    int64_t QuestionSlot() const;
    // Every card face back to no picture, as after a game's end, with the repaint done.
    void ClearFaces();
    // Paints the whole window at once, as an exposure does.
    void RepaintWindow();
    // Whether every card face shows a picture.
    bool EveryFaceHasAPicture() const;

    static QWidget* WidgetOf(const fw::RectControl& control);

private:
    double now_ = 1'000'000.0;
    fw::Ref<game::KarutaWindow> window_;
};

}  // namespace bench
