#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <vector>

#include "deck/CardPictures.h"
#include "fw/core/Date.h"
#include "fw/core/Random.h"
#include "fw/runtime/Runtime.h"
#include "fw/ui/TestAccess.h"
#include "fw/ui/Window.h"
#include "game/KarutaWindow.h"
#include "game/MessageWindow.h"
#include "tests/support/CardResources.h"

// The main window opened on the offscreen platform with small coloured card pictures, a clock
// the test sets by hand and a fixed random sequence. Events reach the window through the same
// paths as the player's: a real click on the start button and on the card faces, the timer's
// own firing path.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        deck::testing::ClearPictureCaches();
        fw::testing::SetClock([this] { return now; });
        fw::testing::SetRandomSequence({3});
        window = game::KarutaWindow::Instance();
    }

    void TearDown() override {
        window = nullptr;
        for (const fw::Ref<fw::Window>& open : fw::Window::OpenWindows()) {
            open->Close();
        }
        fw::testing::ResetClock();
        fw::testing::SetBackgroundTaskHook(nullptr);
        fw::testing::ResetRandom();
        deck::testing::ClearPictureCaches();
    }

    static QWidget* Widget(const fw::RectControl& control) {
        return fw::testing::WidgetOf(control);
    }

    // A click on the start button, as the player gives it.
    void Press() { QTest::mouseClick(Widget(*window->StartButton()), Qt::LeftButton); }
    // A click in the middle of a card face.
    void ClickFace(int64_t slot) {
        QTest::mouseClick(Widget(*window->FudaCanvas(slot)), Qt::LeftButton, {}, QPoint(35, 80));
    }
    void Tick() { window->MyTimer()->Fire(); }

    std::string Text(const fw::Ref<fw::TextField>& field) { return field->Text(); }

    // The slot whose card is the current question.
    int64_t QuestionSlot() const { return window->OdaiNum - 10 * (window->Kaisu - 1); }

    CardResources resources;
    double now = 1'000'000.0;
    fw::Ref<game::KarutaWindow> window;
};
