#include "bench/PlainMainWindow.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

#include "bench/GameSession.h"
#include "fw/properties/PropertyList.h"
#include "fw/ui/Canvas.h"
#include "fw/ui/Font.h"
#include "fw/ui/Label.h"
#include "fw/ui/Listbox.h"
#include "fw/ui/PushButton.h"
#include "fw/ui/Separator.h"
#include "fw/ui/TextArea.h"
#include "fw/ui/TextField.h"
#include "fw/ui/Timer.h"
#include "fw/ui/Window.h"

namespace bench {
namespace {

using game::ControlKind;
using Values = std::map<std::string, fw::PropertyValue, std::less<>>;

// A canvas that paints its picture over its whole area, as the card slots' paint handlers do.
class PictureCanvas final : public QWidget {
public:
    PictureCanvas(QWidget* parent, const QImage* picture) : QWidget(parent), picture_(picture) {}

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        if (picture_ == nullptr) {
            return;
        }
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, width(), height()), *picture_, QRectF(picture_->rect()));
    }

private:
    const QImage* picture_;
};

// A fresh object of the control's class, which knows the type of each of its properties.
fw::Ref<fw::Control> TypesOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::CardCanvas:
        case ControlKind::FudaCanvas:
        case ControlKind::Canvas:
            return fw::MakeRef<fw::Canvas>();
        case ControlKind::Label:
            return fw::Label::Create();
        case ControlKind::TextField:
            return fw::TextField::Create();
        case ControlKind::TextArea:
            return fw::TextArea::Create();
        case ControlKind::Listbox:
            return fw::Listbox::Create();
        case ControlKind::PushButton:
            return fw::PushButton::Create();
        case ControlKind::Separator:
            return fw::Separator::Create();
        case ControlKind::Timer:
            return fw::Timer::Create();
    }
    throw std::logic_error("unknown control kind");
}

Values Decode(const std::string& list, const fw::PropertyTarget& types) {
    Values values;
    for (fw::PropertyEntry& entry : fw::ReadPropertyList(list, types)) {
        values.emplace(std::move(entry.name), std::move(entry.value));
    }
    return values;
}

template <class T>
T Get(const Values& values, const char* name, T otherwise = T()) {
    auto found = values.find(name);
    return found == values.end() ? otherwise : std::get<T>(found->second);
}

QColor ToQColor(fw::Color color) {
    return QColor(color.Red(), color.Green(), color.Blue(), 255 - color.Alpha());
}

// The font a declared name shows in: a Mincho or Gyosho name the serif Japanese family, any
// other the application's font.
QFont FontFor(const std::string& declared, float size, bool bold) {
    QFont font = QApplication::font();
    if (declared.find("明朝") != std::string::npos || declared.find("行書") != std::string::npos) {
        font.setStyleHint(QFont::Serif);
        font.setFamilies({QString::fromStdString(fw::FontFamilyFor(declared))});
    }
    if (size > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    }
    font.setBold(bold);
    return font;
}

QStringList Rows(const std::string& value) {
    QStringList rows = QString::fromStdString(value).split(QLatin1Char('\r'));
    if (!rows.isEmpty() && rows.back().isEmpty()) {
        rows.pop_back();
    }
    return rows;
}

// What the window's open handlers change: the first texts of four fields, the title shown, and
// the declared font of the question, the start button and the two captions above the cards.
void ApplyOpenHandlers(const std::string& name, PlainControl& control, std::string& font) {
    if (name == "ScoreFiled" || name == "TotalScoreField" || name == "KaisuField" ||
        name == "HighScoreField") {
        control.text = QStringLiteral("0");
    } else if (name == "ShogoText") {
        control.text = QStringLiteral("なし");
    }
    if (name == "OdaiField" || name == "StartButton" || name == "StaticText1" ||
        name == "StaticText2") {
        font = "平成明朝";
    }
}

}  // namespace

PlainWindowPlan PlanMainWindow() {
    PlainWindowPlan plan;
    fw::Ref<fw::Window> windowTypes = fw::MakeRef<fw::Window>();
    const Values window = Decode(game::MainWindowPropertyList().Bytes(), *windowTypes);
    plan.title = QString::fromStdString(Get<std::string>(window, "Title"));
    plan.background = ToQColor(Get<fw::Color>(window, "BackColor"));
    // The window's open handler resizes it from its declared size.
    plan.size = QSize(570, 510);
    plan.cardBack.load(CardPicturePath("Green.pct"));
    plan.cardBack.convertTo(QImage::Format_ARGB32_Premultiplied);

    // "Name$index" of each control so far, for the faces that lie in a card frame.
    std::map<std::string, int> placed;
    std::vector<QPoint> origins;
    for (const game::ControlDeclaration& d : game::MainWindowControls()) {
        const Values values = Decode(d.propertyList().Bytes(), *TypesOf(d.kind));
        PlainControl control;
        control.kind = d.kind;
        const std::string name = d.name;
        const QPoint origin(static_cast<int>(Get<int64_t>(values, "Left")),
                            static_cast<int>(Get<int64_t>(values, "Top")));
        const std::string parent = Get<std::string>(values, "InitialParent");
        QPoint relative = origin;
        if (!parent.empty()) {
            control.parent = placed.at(parent);
            relative -= origins[static_cast<size_t>(control.parent)];
        }
        control.geometry = QRect(relative, QSize(static_cast<int>(Get<int64_t>(values, "Width")),
                                                 static_cast<int>(Get<int64_t>(values, "Height"))));
        control.visible = Get<bool>(values, "Visible", true);
        control.tabIndex = Get<int64_t>(values, "TabIndex");
        control.text = QString::fromStdString(
            Get<std::string>(values, d.kind == ControlKind::PushButton ? "Caption" : "Text"));
        control.rows = Rows(Get<std::string>(values, "InitialValue"));
        control.verticalScrollbar =
            Get<bool>(values, "ScrollbarVertical") || Get<bool>(values, "ScrollBarVertical");
        control.horizontalScrollbar = Get<bool>(values, "ScrollbarHorizontal");
        control.isDefault = Get<bool>(values, "Default");
        control.showsCardBack =
            d.kind == ControlKind::CardCanvas || d.kind == ControlKind::FudaCanvas;
        std::string font = Get<std::string>(values, "TextFont");
        ApplyOpenHandlers(name, control, font);
        control.font = FontFor(font, Get<float>(values, "TextSize"), Get<bool>(values, "Bold"));

        placed[d.index == fw::kNoControlSetIndex ? name : name + "$" + std::to_string(d.index)] =
            static_cast<int>(plan.controls.size());
        origins.push_back(origin);
        plan.controls.push_back(std::move(control));
    }

    for (size_t i = 0; i < plan.controls.size(); ++i) {
        switch (plan.controls[i].kind) {
            case ControlKind::TextField:
            case ControlKind::TextArea:
            case ControlKind::Listbox:
            case ControlKind::PushButton:
                plan.tabOrder.push_back(static_cast<int>(i));
                break;
            default:
                break;
        }
    }
    std::stable_sort(plan.tabOrder.begin(), plan.tabOrder.end(), [&](int a, int b) {
        return plan.controls[static_cast<size_t>(a)].tabIndex <
               plan.controls[static_cast<size_t>(b)].tabIndex;
    });
    return plan;
}

QWidget* BuildPlainMainWindow(const PlainWindowPlan& plan) {
    auto* top = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint);
    top->setWindowTitle(plan.title);
    top->setFixedSize(plan.size);
    auto* content = new QWidget(top);
    content->setGeometry(QRect(QPoint(0, 0), plan.size));
    content->setAutoFillBackground(true);
    QPalette background = content->palette();
    background.setColor(QPalette::Window, plan.background);
    content->setPalette(background);

    std::vector<QWidget*> widgets;
    widgets.reserve(plan.controls.size());
    for (const PlainControl& c : plan.controls) {
        QWidget* parent = c.parent < 0 ? content : widgets[static_cast<size_t>(c.parent)];
        QWidget* widget = nullptr;
        switch (c.kind) {
            case ControlKind::CardCanvas:
            case ControlKind::FudaCanvas:
            case ControlKind::Canvas:
                widget = new PictureCanvas(parent, c.showsCardBack ? &plan.cardBack : nullptr);
                widget->setFocusPolicy(Qt::NoFocus);
                break;
            case ControlKind::Label: {
                auto* label = new QLabel(parent);
                label->setTextFormat(Qt::PlainText);
                label->setFocusPolicy(Qt::NoFocus);
                label->setText(c.text);
                label->setFont(c.font);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, Qt::black);
                label->setPalette(palette);
                widget = label;
                break;
            }
            case ControlKind::TextField: {
                auto* edit = new QLineEdit(parent);
                edit->setFont(c.font);
                edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                QPalette palette = edit->palette();
                palette.setColor(QPalette::Text, Qt::black);
                palette.setColor(QPalette::Base, Qt::white);
                edit->setPalette(palette);
                edit->setText(c.text);
                widget = edit;
                break;
            }
            case ControlKind::TextArea: {
                auto* area = new QPlainTextEdit(parent);
                area->setFont(c.font);
                area->setTabChangesFocus(true);
                area->setVerticalScrollBarPolicy(c.verticalScrollbar ? Qt::ScrollBarAsNeeded
                                                                     : Qt::ScrollBarAlwaysOff);
                area->setHorizontalScrollBarPolicy(c.horizontalScrollbar ? Qt::ScrollBarAsNeeded
                                                                         : Qt::ScrollBarAlwaysOff);
                QPalette palette = area->palette();
                palette.setColor(QPalette::Text, Qt::black);
                palette.setColor(QPalette::Base, Qt::white);
                area->setPalette(palette);
                area->setPlainText(c.text);
                widget = area;
                break;
            }
            case ControlKind::Listbox: {
                auto* list = new QListWidget(parent);
                list->setFont(c.font);
                list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
                list->addItems(c.rows);
                widget = list;
                break;
            }
            case ControlKind::PushButton: {
                auto* button = new QPushButton(c.text, parent);
                button->setAutoDefault(false);
                button->setDefault(c.isDefault);
                button->setFont(c.font);
                widget = button;
                break;
            }
            case ControlKind::Separator: {
                auto* line = new QFrame(parent);
                line->setFrameShadow(QFrame::Sunken);
                line->setFrameShape(QFrame::HLine);
                line->setFocusPolicy(Qt::NoFocus);
                widget = line;
                break;
            }
            case ControlKind::Timer: {
                auto* timer = new QTimer(top);
                timer->setTimerType(Qt::PreciseTimer);
                timer->start(1000);
                break;
            }
        }
        if (widget != nullptr) {
            widget->setGeometry(c.geometry);
            widget->setVisible(c.visible);
        }
        widgets.push_back(widget);
    }
    for (size_t i = 1; i < plan.tabOrder.size(); ++i) {
        QWidget::setTabOrder(widgets[static_cast<size_t>(plan.tabOrder[i - 1])],
                             widgets[static_cast<size_t>(plan.tabOrder[i])]);
    }
    top->show();
    top->activateWindow();
    return top;
}

}  // namespace bench
