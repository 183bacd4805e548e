// File > Open Recent and files dropped on the window: the ways to open a program without LOAD's
// dialog. Both open as LOAD does once its dialog is answered, "Save changes?" first when the
// text is modified. The recent files live in the toolkit's settings store; a file opened or
// saved under its name comes first, one that could not be opened leaves the list.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class ProgramDocument;
class QEvent;
class QMenu;

class QuickOpen : public QObject {
    Q_OBJECT
   public:
    QuickOpen(ProgramDocument* document, QObject* parent);

    // Adds File > Open Recent to `file`.
    void add_recent_menu(QMenu* file);
    QMenu* recent_menu() const { return recent_menu_; }
    // Newest first, absolute paths.
    QStringList recent_files() const;

    // Files dropped on `target` (the editor, the output) open rather than land in its text.
    void watch_drops(QObject* target);
    // A drag or drop that brings a local file: accepted, and on the drop the file opens once
    // the drag has ended. False for anything else.
    bool take_drop(QEvent* event);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    void remember(const QString& path);
    void forget(const QString& path);
    void update_recent_menu();

    ProgramDocument* document_;
    QMenu* recent_menu_ = nullptr;
};
