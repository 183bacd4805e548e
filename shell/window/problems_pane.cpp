// View > Problems: the checker's findings in a list on a tab beside the output.
#include "problems_pane.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "code_editor.h"

namespace {

enum Role {
    LINE_ROLE = Qt::UserRole,
    COLUMN_ROLE,
    HELP_ROLE,
};

QString count_of(size_t n, const char* word) {
    return QString::number(n) + ' ' + QLatin1String(word) + (n == 1 ? "" : "s");
}

// F1 on the list opens the selected finding's page rather than the reference's contents.
class HelpKey : public QObject {
   public:
    HelpKey(QObject* parent, std::function<void()> help)
        : QObject(parent), help_(std::move(help)) {}

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto is_f1 = [event] {
            return static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
                   static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier;
        };
        if (event->type() == QEvent::ShortcutOverride && is_f1()) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress && is_f1()) {
            help_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

   private:
    std::function<void()> help_;
};

}  // namespace

ProblemsPane::ProblemsPane(CodeEditor* editor, QTabWidget* tabs)
    : QObject(tabs), editor_(editor), tabs_(tabs) {
    list_ = new QListWidget(tabs_);
    list_->setObjectName("problems");
    list_->setAccessibleName("Problems");
    list_->setWordWrap(true);
    list_->setIconSize(QSize(16, 16));
    tab_ = tabs_->addTab(list_, "Problems");

    help_ = new QToolButton(tabs_);
    help_->setObjectName("problem_help");
    help_->setText("Help on This Problem");
    help_->setToolTip("The page of the language reference that explains the selected problem (F1)");
    // A face of its own in every state: the window's dark background lies behind the tabs.
    help_->setStyleSheet(
        "QToolButton { background: palette(button); color: palette(button-text); "
        "border: 1px solid palette(mid); padding: 1px 6px; }"
        "QToolButton:disabled { color: palette(mid); }");
    help_->setFocusPolicy(Qt::NoFocus);  // F1 in the list does the same
    tabs_->setCornerWidget(help_, Qt::TopRightCorner);
    help_->hide();
    connect(help_, &QToolButton::clicked, this, [this] { request_help(list_->currentItem()); });

    auto* help_action = new QAction("Help on This Problem", list_);
    list_->addAction(help_action);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(help_action, &QAction::triggered, this, [this] { request_help(list_->currentItem()); });
    list_->installEventFilter(new HelpKey(list_, [this] { request_help(list_->currentItem()); }));

    connect(editor_, &CodeEditor::findingsChanged, this, &ProblemsPane::findings_changed);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (shown() && stale_) fill();
        help_->setVisible(shown());
    });
    connect(list_, &QListWidget::currentItemChanged, this, &ProblemsPane::update_help_button);
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (!item->data(LINE_ROLE).isValid()) return;  // no place: "and M more"
        go_to(item->data(LINE_ROLE).toInt(), item->data(COLUMN_ROLE).toInt());
    });
    connect(list_, &QListWidget::itemClicked, list_, &QListWidget::itemActivated);
    update_title();
}

bool ProblemsPane::shown() const {
    return tabs_->currentIndex() == tab_;
}

void ProblemsPane::show_pane() {
    editor_->check_now();  // fills the list through findingsChanged when the tab is current
    tabs_->setCurrentIndex(tab_);
    if (stale_) fill();
}

// The title always counts; the list is filled when it can be seen.
void ProblemsPane::findings_changed() {
    stale_ = true;
    update_title();
    if (shown()) fill();
}

// "Problems (2 errors, 1 warning)", and "M more" past the listed ones, whose severities the
// editor does not keep.
void ProblemsPane::update_title() {
    size_t warnings = 0;
    for (const Finding& f : editor_->findings())
        warnings += f.severity == Severity::Warning ? 1 : 0;
    const size_t errors = editor_->findings().size() - warnings;
    QStringList counts;
    if (errors > 0) counts << count_of(errors, "error");
    if (warnings > 0) counts << count_of(warnings, "warning");
    if (editor_->more_findings() > 0) {
        counts << QStringLiteral("%1 more").arg(editor_->more_findings());
    }
    const QString listed = counts.join(", ");
    tabs_->setTabText(tab_, counts.isEmpty() ? QStringLiteral("Problems")
                                             : QStringLiteral("Problems (%1)").arg(listed));
    // Told apart from the list it shows.
    tabs_->tabBar()->setAccessibleTabName(
        tab_, counts.isEmpty() ? QStringLiteral("Problems tab, none found")
                               : QStringLiteral("Problems tab, %1").arg(listed));
}

void ProblemsPane::update_help_button() {
    const QListWidgetItem* item = list_->currentItem();
    help_->setEnabled(item != nullptr && !item->data(HELP_ROLE).toString().isEmpty());
}

void ProblemsPane::request_help(const QListWidgetItem* item) {
    if (item == nullptr) return;
    const QString page = item->data(HELP_ROLE).toString();
    if (!page.isEmpty()) emit helpRequested(page);
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
    stale_ = false;
    list_->clear();
    const QIcon error_icon = list_->style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning_icon = list_->style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const Finding& f : editor_->findings()) {
        const bool warning = f.severity == Severity::Warning;
        const QString text = QStringLiteral("Line %1, column %2: %3")
                                 .arg(f.line)
                                 .arg(f.column)
                                 .arg(QString::fromStdString(f.message));
        auto* item = new QListWidgetItem(warning ? warning_icon : error_icon, text, list_);
        // The icon is seen; a screen reader hears the word.
        item->setData(Qt::AccessibleTextRole,
                      (warning ? QStringLiteral("Warning: ") : QStringLiteral("Error: ")) + text);
        item->setToolTip(warning ? QStringLiteral("Warning: a run goes on here, but not as the "
                                                  "text seems to say. F1: help")
                                 : QStringLiteral("Error: a run that gets here stops. F1: help"));
        item->setData(LINE_ROLE, f.line);
        item->setData(COLUMN_ROLE, f.column);
        item->setData(HELP_ROLE, QString::fromStdString(f.help_page));
    }
    if (editor_->more_findings() > 0) {
        // Not a place in the text: activating it goes nowhere.
        auto* more =
            new QListWidgetItem(QStringLiteral("and %1 more").arg(editor_->more_findings()), list_);
        more->setFlags(Qt::ItemIsEnabled);
    }
    if (editor_->findings().empty()) list_->addItem("No problems found.");
    update_help_button();
}
