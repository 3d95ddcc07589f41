#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

#include "game/MainWindowDeclarations.h"

class QWidget;

namespace bench {

// One of the main window's controls as plain Qt sees it: the widget kind, where it lies, what
// it shows, in the state the window's open handlers leave it.
struct PlainControl {
    game::ControlKind kind;
    QRect geometry;   // relative to the parent widget
    int parent = -1;  // index of the control it lies in; -1 for the window's content
    QString text;     // label text, field text or button caption
    bool visible = true;
    QFont font;
    QStringList rows;  // list box rows
    bool verticalScrollbar = false;
    bool horizontalScrollbar = false;
    bool isDefault = false;
    bool showsCardBack = false;
    int64_t tabIndex = 0;
};

// The main window as it stands after opening, read once from the window's declared property
// lists, so that the plain build has the same geometry, texts, rows and fonts.
struct PlainWindowPlan {
    QString title;
    QSize size;
    QColor background;
    QImage cardBack;
    std::vector<PlainControl> controls;  // in creation order
    std::vector<int> tabOrder;           // the controls that take the focus, by TabIndex
};

PlainWindowPlan PlanMainWindow();

// Builds the 45 controls of the plan as Qt widgets made directly (labels, line edits, plain
// text edits, list widgets, a push button, frames, canvases painting the card back, a timer)
// in a window of the same size, title and background. The caller owns the top-level widget.
QWidget* BuildPlainMainWindow(const PlainWindowPlan& plan);

}  // namespace bench
