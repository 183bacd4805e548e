// Tfmain's room on a small screen. The output shows a dozen lines until the user moves the line
// above it. Beside a docked pane the editor keeps 70 columns where the window has room for them,
// the sliders and the pane, and the panels give way first; on a laptop the text is a zoom step
// or two smaller than the design's, so that they all fit. Panes docked on one side share it as
// tabs, whoever made them.
#include <QChildEvent>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "Ucompiler.h"
#include "code_editor.h"
#include "device_panel_box.h"
#include "editor_commands.h"

namespace {

constexpr int DESIGN_TEXT_PX = 18;
constexpr int LEAST_TEXT_PX = 14;
// At first the output takes a seventh of the editor's column, and at least a dozen lines while
// that leaves the editor half of it.
constexpr int OUTPUT_SHARE = 7;
constexpr int OUTPUT_LINES = 12;
// The editor's width in columns beside a docked pane, and a pane's least width beside it.
constexpr int EDITOR_COLUMNS = 70;
constexpr int PANE_LEAST_WIDTH = 300;
// The window's margins and spacing around the editor and the panels, and a dock's separator.
constexpr int AROUND_COLUMNS = 2 * 8 + 14 + 6;
// Below this the editor is not worth shrinking further, as designed.
constexpr int EDITOR_LEAST_WIDTH = 320;

}  // namespace

// The editor's width for EDITOR_COLUMNS at `text_px`: the columns, and its gutter, scroll bar and
// frame as they are now, grown or shrunk with the text.
int Tfmain::editor_width_for_columns(int text_px) const {
    QFont font = mcod->font();
    font.setPixelSize(text_px);
    const int now_px = text_pixel_size(mcod);
    const int gutter = mcod->gutter_width() * text_px / std::max(1, now_px);
    const int chrome = 2 * mcod->frameWidth() + mcod->verticalScrollBar()->sizeHint().width();
    return EDITOR_COLUMNS * QFontMetrics(font).horizontalAdvance(QLatin1Char('0')) + gutter +
           chrome + 1;
}

// The side column's least width at `text_px`: its buttons, and the sliders whole.
int Tfmain::side_least_width(int text_px) const {
    const double scale = static_cast<double>(text_px) / DESIGN_TEXT_PX;
    const int sliders = qRound(GroupBox1->width() * scale / GroupBox1->scale()) +
                        panel_scroll_->verticalScrollBar()->sizeHint().width();
    return std::max({sliders, bottom_width(ButtonRows::Three), side_->minimumSizeHint().width()});
}

// At the first show: the design's text where the editor's columns, the sliders and a pane fit
// the screen's width, else the largest zoom step down to LEAST_TEXT_PX at which they do; a
// screen too narrow for them at any keeps the design's.
void Tfmain::choose_text_size() {
    if (screen() == nullptr) return;
    const int width = screen()->availableGeometry().width() - (frameGeometry().width() - this->width());
    for (int px = DESIGN_TEXT_PX; px >= LEAST_TEXT_PX; px -= ZOOM_STEP_PX) {
        if (editor_width_for_columns(px) + side_least_width(px) + PANE_LEAST_WIDTH + AROUND_COLUMNS >
            width) {
            continue;
        }
        if (px != text_pixel_size(mcod)) {
            QFont font = mcod->font();
            font.setPixelSize(px);
            mcod->setFont(font);
        }
        return;
    }
}

// The editor's least width: with a pane docked at a side, its columns as far as the window has
// room for them beside the sliders and the pane; else as designed.
void Tfmain::keep_editor_columns() {
    if (bt_load == nullptr) return;  // still being built
    bool pane_beside = false;
    for (QDockWidget* d : findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        const Qt::DockWidgetArea area = dockWidgetArea(d);
        pane_beside |= !d->isHidden() && !d->isFloating() &&
                       (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea);
    }
    const int px = text_pixel_size(mcod);
    const int room = width() - AROUND_COLUMNS - side_least_width(px) - PANE_LEAST_WIDTH;
    const int least = pane_beside ? std::clamp(editor_width_for_columns(px), EDITOR_LEAST_WIDTH,
                                               std::max(EDITOR_LEAST_WIDTH, room))
                                  : EDITOR_LEAST_WIDTH;
    if (mcod->minimumWidth() != least) mcod->setMinimumWidth(least);
}

// A pane at the side is no wider than what the editor and the side column leave it.
void Tfmain::make_room_for_pane(QDockWidget* dock) {
    keep_editor_columns();
    const Qt::DockWidgetArea area = dockWidgetArea(dock);
    if (dock->isHidden() || dock->isFloating() ||
        (area != Qt::LeftDockWidgetArea && area != Qt::RightDockWidgetArea)) {
        return;
    }
    const int beside_editor = width() - AROUND_COLUMNS - mcod->minimumWidth();
    const int room = beside_editor - side_least_width(text_pixel_size(mcod));
    // Nor, down to its least width, wider than leaves the variables beside the sliders.
    const int whole_side =
        panels_->sizeHint().width() + panel_scroll_->verticalScrollBar()->sizeHint().width();
    const int wanted = std::min(room, std::max(beside_editor - whole_side, PANE_LEAST_WIDTH));
    if (std::max(dock->width(), dock->sizeHint().width()) > wanted) {
        resizeDocks({dock}, {std::max(wanted, PANE_LEAST_WIDTH)}, Qt::Horizontal);
    }
}

// Until the user moves the line between them, the output takes its share of the column, and at
// least a dozen lines while the editor keeps as much.
void Tfmain::set_default_split() {
    const QList<int> sizes = editor_split_->sizes();
    if (split_chosen_ || sizes.size() != 2) return;
    const int total = sizes[0] + sizes[1];
    if (total <= 0) return;
    // Sizes set otherwise at the same height are someone's choice.
    if (!default_split_.isEmpty() && default_split_[0] + default_split_[1] == total &&
        sizes != default_split_) {
        split_chosen_ = true;
        return;
    }
    const int chrome = output_tabs_->tabBar()->sizeHint().height() + 2 * mdb->frameWidth() +
                       2 * static_cast<int>(std::ceil(mdb->document()->documentMargin())) + 2;
    const int lines = OUTPUT_LINES * mdb->fontMetrics().lineSpacing() + chrome;
    const int output = std::min(std::max(total / OUTPUT_SHARE, lines), total / 2);
    default_split_ = {total - output, output};
    if (sizes != default_split_) editor_split_->setSizes(default_split_);
}

// A pane docked by any part of the window is watched as the window's own are.
bool Tfmain::event(QEvent* event) {
    if (event->type() == QEvent::ChildPolished) {
        if (auto* dock = qobject_cast<QDockWidget*>(static_cast<QChildEvent*>(event)->child())) {
            watch_dock(dock);
        }
    }
    return QMainWindow::event(event);
}
