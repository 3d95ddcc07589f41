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
#include <memory>

#include "bench/GameSession.h"
#include "bench/Measurements.h"

namespace bench {
namespace {

// Seconds from the deal to the tick or the click: five characters shown, 14 points scored.
constexpr double kSecondsTaken = 5.5;
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

// Each sample starts with no repaint queued: the queued ones are handed to Qt beforehand,
// outside the timing, as the event loop would between two events. A run samples ours first, so
// the first check after a tick sees the texts the tick set, before the baseline sets the same.
class Tick final : public Comparison {
public:
    Tick() : timer_(question_.session.Window().MyTimer()), fields_(question_.Fields()) {}

    void SampleOurs(Stopwatch& watch, int64_t calls) override {
        FlushEvents();
        watch.Start();
        for (int64_t call = 0; call < calls; ++call) {
            timer_->Fire();
        }
        watch.Stop();
        if (odai_->toPlainText() != poem_.left(static_cast<int>(kSecondsTaken)) ||
            fields_.time->text() != QString("5.5")) {
            Fail("the tick did not show the poem's first characters and the time");
        }
    }

    void SampleBaseline(Stopwatch& watch, int64_t calls) override {
        FlushEvents();
        watch.Start();
        for (int64_t call = 0; call < calls; ++call) {
            odai_->setPlainText(poem_.left(static_cast<int>(seconds_)));
            fields_.time->setText(QString::number(seconds_, 'g', 7));
            fields_.score->setText(QString::number(points_));
            fields_.total->setText(QString::number(totalPoints_));
        }
        watch.Stop();
    }

private:
    OpenQuestion question_;
    fw::Ref<fw::Timer> timer_;
    QPlainTextEdit* odai_ = question_.Odai();
    OpenQuestion::ScoreFields fields_;
    const QString poem_ = question_.Poem();
    const double seconds_ = question_.session.Now() - question_.session.Window().StartTime;
    const int64_t points_ = question_.session.Window().MyPoint;
    const int64_t totalPoints_ = question_.session.Window().TotalPoint;
};

// Every press is judged, a further one on the same question included, so each call of a sample
// answers the same open question.
class Click final : public Comparison {
public:
    Click()
        : face_(GameSession::WidgetOf(*window_.FudaCanvas(question_.session.QuestionSlot()))),
          global_(face_->mapToGlobal(kInside)),
          markCanvas_(GameSession::WidgetOf(*window_.MyCanvas())),
          fields_(question_.Fields()),
          // The mark's own layer, as the canvas keeps one, and the canvas's pen.
          layer_(markCanvas_->size(), QImage::Format_ARGB32_Premultiplied),
          pen_(QBrush(QColor(255, 0, 0)), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin) {
        layer_.fill(Qt::transparent);
    }

    void SampleOurs(Stopwatch& watch, int64_t calls) override {
        FlushEvents();
        watch.Start();
        for (int64_t call = 0; call < calls; ++call) {
            QMouseEvent press(QEvent::MouseButtonPress, kInside, global_, Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(face_, &press);
        }
        watch.Stop();
        if (!window_.Seikai || window_.MyPoint != 14 || odai_->toPlainText() != poem_) {
            Fail("the click was not judged right");
        }
    }

    void SampleBaseline(Stopwatch& watch, int64_t calls) override {
        FlushEvents();
        watch.Start();
        for (int64_t call = 0; call < calls; ++call) {
            odai_->setPlainText(poem_);
            {
                QPainter painter(&layer_);
                painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
                painter.setPen(pen_);
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(QRectF(0.5, 0.5, 49.0, 49.0));
            }
            markCanvas_->update();
            fields_.time->setText(QString::number(kSecondsTaken, 'g', 7));
            fields_.score->setText(QString::number(kPoints));
            totalPoints_ += kPoints;
            fields_.total->setText(QString::number(totalPoints_));
        }
        watch.Stop();
    }

private:
    static constexpr QPointF kInside{35, 80};
    static constexpr int64_t kPoints = 14;

    OpenQuestion question_;
    game::KarutaWindow& window_ = question_.session.Window();
    QWidget* face_;
    QPointF global_;
    QPlainTextEdit* odai_ = question_.Odai();
    QWidget* markCanvas_;
    OpenQuestion::ScoreFields fields_;
    const QString poem_ = question_.Poem();
    int64_t totalPoints_ = 0;
    QImage layer_;
    const QPen pen_;
};

}  // namespace

std::unique_ptr<Comparison> MakeTick() {
    return std::make_unique<Tick>();
}

std::unique_ptr<Comparison> MakeClick() {
    return std::make_unique<Click>();
}

}  // namespace bench
