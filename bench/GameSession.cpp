#include "bench/GameSession.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>

#include "deck/CardPictures.h"
#include "fw/core/Date.h"
#include "fw/core/Random.h"
#include "fw/pictures/Picture.h"
#include "fw/ui/TestAccess.h"
#include "fw/ui/Window.h"

namespace bench {

std::string CardPicturesFolder() {
    return KARUTA_CARD_PICTURES_DIR;
}

QString CardPicturePath(const std::string& fileName) {
    return QString::fromStdString(CardPicturesFolder() + "/" + fileName);
}

void FlushEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

GameSession::GameSession() {
    fw::testing::SetResourcesFolder(CardPicturesFolder());
    fw::testing::SetClock([this] { return now_; });
    // The question is always the fourth card dealt.
    fw::testing::SetRandomSequence({3});
    window_ = game::KarutaWindow::Instance();
    FlushEvents();
}

GameSession::~GameSession() {
    window_.Reset();
    for (const fw::Ref<fw::Window>& open : fw::Window::OpenWindows()) {
        open->Close();
    }
    FlushEvents();
    fw::testing::ResetClock();
    fw::testing::ResetRandom();
    fw::testing::SetResourcesFolder("");
}

void GameSession::PressStart() {
    QTest::mouseClick(WidgetOf(*window_->StartButton()), Qt::LeftButton);
}

int64_t GameSession::QuestionSlot() const {
    return window_->OdaiNum - 10 * (window_->Kaisu - 1);
}

void GameSession::ClearFaces() {
    for (int64_t slot = 0; slot <= 9; ++slot) {
        window_->FudaCanvas(slot)->SetBackdrop(nullptr);
    }
    FlushEvents();
}

void GameSession::RepaintWindow() {
    fw::testing::WidgetOf(*window_)->repaint();
}

bool GameSession::EveryFaceHasAPicture() const {
    for (int64_t slot = 0; slot <= 9; ++slot) {
        if (window_->FudaCanvas(slot)->Backdrop().IsNil()) {
            return false;
        }
    }
    return true;
}

QWidget* GameSession::WidgetOf(const fw::RectControl& control) {
    return fw::testing::WidgetOf(control);
}

}  // namespace bench
