// File > Open Recent and dropped files.
#include "quick_open.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include "program_document.h"

namespace {

constexpr int MAX_RECENT_FILES = 10;
const char* const RECENT_KEY = "recentFiles";

QSettings user_settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "zorvant", "zorvant");
}

// The first local file among the dropped URLs, or an empty text.
QString dropped_file(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

}  // namespace

QuickOpen::QuickOpen(ProgramDocument* document, QObject* parent)
    : QObject(parent), document_(document) {
    connect(document_, &ProgramDocument::fileUsed, this, &QuickOpen::remember);
    connect(document_, &ProgramDocument::fileFailed, this, &QuickOpen::forget);
}

// ---- recent files ----

void QuickOpen::add_recent_menu(QMenu* file) {
    recent_menu_ = file->addMenu("Open &Recent");
    recent_menu_->setObjectName("menu_recent");
    update_recent_menu();
}

QStringList QuickOpen::recent_files() const {
    return user_settings().value(RECENT_KEY).toStringList();
}

void QuickOpen::remember(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recent_files();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > MAX_RECENT_FILES) files.removeLast();
    user_settings().setValue(RECENT_KEY, files);
    update_recent_menu();
}

void QuickOpen::forget(const QString& path) {
    QStringList files = recent_files();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) == 0) return;
    user_settings().setValue(RECENT_KEY, files);
    update_recent_menu();
}

void QuickOpen::update_recent_menu() {
    if (recent_menu_ == nullptr) return;
    recent_menu_->clear();
    const QStringList files = recent_files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        // "&1" to "&9", then "1&0": every entry has its key.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction* a = recent_menu_->addAction(number + "  " + path);
        connect(a, &QAction::triggered, this, [this, path] { document_->open(path); });
    }
    recent_menu_->setEnabled(!files.isEmpty());
}

// ---- dropped files ----

void QuickOpen::watch_drops(QObject* target) {
    target->installEventFilter(this);
}

// A file dropped anywhere in the window, the editor included, opens as LOAD would open it;
// its address never lands in the program text.
bool QuickOpen::take_drop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = dropped_file(drop->mimeData());
    if (path.isEmpty()) return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        // After the drag has ended: the question and the box need a free event loop.
        QTimer::singleShot(0, this, [this, path] { document_->open(path); });
    }
    return true;
}

bool QuickOpen::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (take_drop(event)) return true;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
