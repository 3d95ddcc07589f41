// tick: the one-second timer's handler with a question open, raised through the timer's own
// firing path; beside it the same four texts set on the window's Qt widgets directly.
// click: a press on the card of the question, delivered to the card face's widget; beside it
// the same four texts set and the same circle drawn with QPainter.
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPlainTextEdit>
#include <cstdint>
#include <limits>

#include "bench/GameSession.h"
#include "bench/Measurements.h"

namespace bench {
namespace {

// Seconds from the deal to the tick or the click: five characters shown, 14 points scored.
constexpr double kSecondsTaken = 5.5;
// The timed loops hand the queued repaints to Qt this often, outside the timing, as the event
// loop would between two events.
constexpr int64_t kFlushEvery = 256;

void FlushNowAndThen(benchmark::State& state, int64_t& count) {
    if (++count % kFlushEvery == 0) {
        state.PauseTiming();
        FlushEvents();
        state.ResumeTiming();
    }
}

// A session with the first question dealt and the clock kSecondsTaken after the deal. The high
// score is out of reach, so that a right answer rewrites the same four texts as a tick.
struct OpenQuestion {
    OpenQuestion() {
        session.PressStart();
        session.SetNow(session.Now() + kSecondsTaken);
        session.Window().HighScore = std::numeric_limits<int64_t>::max();
        FlushEvents();
    }

    QPlainTextEdit* Odai() const {
        return static_cast<QPlainTextEdit*>(GameSession::WidgetOf(*session.Window().OdaiField()));
    }
    QLineEdit* Field(const fw::Ref<fw::TextField>& field) const {
        return static_cast<QLineEdit*>(GameSession::WidgetOf(*field));
    }
    QString Poem() const {
        game::KarutaWindow& w = session.Window();
        return QString::fromStdString((*w.OdaiString)(w.OdaiNum));
    }

    // The three fields that a tick and a judged click rewrite beside the question field.
    struct ScoreFields {
        QLineEdit* time;
        QLineEdit* score;
        QLineEdit* total;
    };
    ScoreFields Fields() const {
        game::KarutaWindow& w = session.Window();
        return {Field(w.TimeField()), Field(w.ScoreFiled()), Field(w.TotalScoreField())};
    }

    GameSession session;
};

}  // namespace

void TickOurs(benchmark::State& state) {
    OpenQuestion question;
    fw::Ref<fw::Timer> timer = question.session.Window().MyTimer();
    int64_t count = 0;
    for (auto _ : state) {
        timer->Fire();
        FlushNowAndThen(state, count);
    }
    const QString shown = question.Poem().left(static_cast<int>(kSecondsTaken));
    if (question.Odai()->toPlainText() != shown ||
        question.Field(question.session.Window().TimeField())->text() != QString("5.5")) {
        state.SkipWithError("the tick did not show the poem's first characters and the time");
    }
}

void TickBaseline(benchmark::State& state) {
    OpenQuestion question;
    game::KarutaWindow& window = question.session.Window();
    QPlainTextEdit* odai = question.Odai();
    const auto [time, score, total] = question.Fields();
    const QString poem = question.Poem();
    const double seconds = question.session.Now() - window.StartTime;
    const int64_t points = window.MyPoint;
    const int64_t totalPoints = window.TotalPoint;
    int64_t count = 0;
    for (auto _ : state) {
        odai->setPlainText(poem.left(static_cast<int>(seconds)));
        time->setText(QString::number(seconds, 'g', 7));
        score->setText(QString::number(points));
        total->setText(QString::number(totalPoints));
        FlushNowAndThen(state, count);
    }
}

void ClickOurs(benchmark::State& state) {
    OpenQuestion question;
    game::KarutaWindow& window = question.session.Window();
    QWidget* face = GameSession::WidgetOf(*window.FudaCanvas(question.session.QuestionSlot()));
    const QPointF inside(35, 80);
    const QPointF global = face->mapToGlobal(inside);
    int64_t count = 0;
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(face, &press);
        FlushNowAndThen(state, count);
    }
    if (!window.Seikai || window.MyPoint != 14 ||
        question.Odai()->toPlainText() != question.Poem()) {
        state.SkipWithError("the click was not judged right");
    }
}

void ClickBaseline(benchmark::State& state) {
    OpenQuestion question;
    game::KarutaWindow& window = question.session.Window();
    QPlainTextEdit* odai = question.Odai();
    const auto [time, score, total] = question.Fields();
    QWidget* markCanvas = GameSession::WidgetOf(*window.MyCanvas());
    const QString poem = question.Poem();
    const double seconds = kSecondsTaken;
    const int64_t points = 14;
    int64_t totalPoints = 0;
    // The mark's own layer, as the canvas keeps one, and the canvas's pen.
    QImage layer(markCanvas->size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    const QPen pen(QBrush(QColor(255, 0, 0)), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    int64_t count = 0;
    for (auto _ : state) {
        odai->setPlainText(poem);
        {
            QPainter painter(&layer);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QRectF(0.5, 0.5, 49.0, 49.0));
        }
        markCanvas->update();
        time->setText(QString::number(seconds, 'g', 7));
        score->setText(QString::number(points));
        totalPoints += points;
        total->setText(QString::number(totalPoints));
        FlushNowAndThen(state, count);
    }
}

}  // namespace bench
