// View > Problems: the checker's findings in a docked list.
#include "problems_pane.h"

#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QTextBlock>
#include <algorithm>

#include "code_editor.h"

ProblemsPane::ProblemsPane(CodeEditor* editor, QMainWindow* window)
    : QObject(window), editor_(editor), window_(window) {}

void ProblemsPane::show_pane() {
    if (dock_ == nullptr) {
        dock_ = new QDockWidget("Problems", window_);
        dock_->setObjectName("problems_dock");
        list_ = new QListWidget(dock_);
        list_->setObjectName("problems");
        list_->setAccessibleName("Problems");
        list_->setWordWrap(true);
        dock_->setWidget(list_);
        window_->addDockWidget(Qt::BottomDockWidgetArea, dock_);
        emit dockMade(dock_);
        connect(editor_, &CodeEditor::findingsChanged, this, &ProblemsPane::fill);
        connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
            if (!item->data(Qt::UserRole).isValid()) return;  // no place: "and M more"
            go_to(item->data(Qt::UserRole).toInt(), item->data(Qt::UserRole + 1).toInt());
        });
        connect(list_, &QListWidget::itemClicked, list_, &QListWidget::itemActivated);
        editor_->check_now();
        fill();
    }
    dock_->show();
}

void ProblemsPane::go_to(int line, int column) {
    const QTextBlock block = editor_->document()->findBlockByNumber(line);
    if (!block.isValid()) return;
    QTextCursor c(block);
    c.setPosition(block.position() + std::min(column, block.length() - 1));
    editor_->setTextCursor(c);
    editor_->ensureCursorVisible();
    editor_->setFocus();
}

void ProblemsPane::fill() {
    list_->clear();
    for (const Finding& f : editor_->findings()) {
        auto* item = new QListWidgetItem(QStringLiteral("Line %1, column %2: %3")
                                             .arg(f.line)
                                             .arg(f.column)
                                             .arg(QString::fromStdString(f.message)),
                                         list_);
        item->setData(Qt::UserRole, f.line);
        item->setData(Qt::UserRole + 1, f.column);
    }
    if (editor_->more_findings() > 0) {
        // Not a place in the text: activating it goes nowhere.
        auto* more =
            new QListWidgetItem(QStringLiteral("and %1 more").arg(editor_->more_findings()), list_);
        more->setFlags(Qt::ItemIsEnabled);
    }
    if (editor_->findings().empty()) list_->addItem("No problems found.");
}
