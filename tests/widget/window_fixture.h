// A fresh main window on a fresh machine for every test, and helpers to drive a run: RUN
// blocks until the run ends, so what happens during the run is scheduled before the click.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "Ucompiler.h"
#include "channels.h"
#include "code_editor.h"
#include "device_panel_box.h"
#include "error_display.h"
#include "interp.h"
#include "lesson_pane.h"
#include "radio.h"
#include "waterfall_view.h"
#include "window_controls.h"

// Steps taken from inside a run: each waits for its condition, then acts. A poll timer drives
// them, so the run loop goes on between two polls.
struct Step {
    std::function<bool()> when;
    std::function<void()> act;
};

class StepDriver : public QObject {
   public:
    explicit StepDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(2);
    }
    bool done() const { return next_ == steps_.size(); }

   private:
    void poll() {
        while (next_ < steps_.size() && steps_[next_].when()) {
            auto act = steps_[next_++].act;
            if (act) act();
        }
        if (done()) timer_.stop();
    }
    std::vector<Step> steps_;
    size_t next_ = 0;
    QTimer timer_;
};

inline std::function<bool()> at_once() {
    return [] { return true; };
}

class WindowTest : public testing::Test {
   protected:
    void SetUp() override {
        // Every test in its own working directory: the settings file lives there.
        ASSERT_TRUE(dir.isValid());
        saved_dir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        // Recovery files too: a test's unsaved text must not be offered to the next test.
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
        // And the recent files of the toolkit's settings store.
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        // The store reads that variable once per process: later tests name their folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        // The first start's welcome page is a test of its own.
        LessonPane::set_welcome_dismissed(!welcome);
        // And the temporary folder, where they go when their own folder cannot be written.
        saved_tmpdir = qgetenv("TMPDIR");
        QDir().mkpath(dir.filePath("tmp"));
        qputenv("TMPDIR", dir.filePath("tmp").toLocal8Bit());
        clear_hooks();
        // A question or dialog nobody expected fails the test instead of waiting forever.
        answer_questions({});
        answer_dialogs({});
        error_display_hook = [this](const QString& title, const QString& text,
                                    const QString& reason) {
            errors << text;
            error_titles << title;
            reasons << reason;
        };
        if (!defer_window) open_window();
    }
    void TearDown() override {
        w.reset();
        clear_hooks();
        QDir::setCurrent(saved_dir);
        if (saved_tmpdir.isNull()) {
            qunsetenv("TMPDIR");
        } else {
            qputenv("TMPDIR", saved_tmpdir);
        }
    }
    void open_window() {
        interp_reset_all();
        device_reset();
        radio_reset();
        w = std::make_unique<Tfmain>();
        w->show();
    }
    static void clear_hooks() {
        Tfmain::math_error_hook = nullptr;
        Tfmain::file_dialog_hook = nullptr;
        Tfmain::question_hook = nullptr;
        error_display_hook = nullptr;
    }
    // Answers the next questions in order, counting them; a question with no answer left
    // fails the test and is cancelled.
    void answer_questions(std::vector<int> answers) {
        Tfmain::question_hook = [this, answers](QMessageBox& box) mutable {
            questions << box.text();
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected question";
                return static_cast<int>(QMessageBox::Cancel);
            }
            const int a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
    }
    // Answers the next file dialogs in order: a path to accept, or an empty text to cancel.
    void answer_dialogs(std::vector<QString> paths) {
        Tfmain::file_dialog_hook = [this, paths](QFileDialog& d) mutable {
            dialogs << d.objectName();
            offered << d.property("offered").toString();
            if (paths.empty()) {
                ADD_FAILURE() << "unexpected dialog " << d.objectName().toStdString();
                return static_cast<int>(QDialog::Rejected);
            }
            const QString p = paths.front();
            paths.erase(paths.begin());
            if (p.isEmpty()) return static_cast<int>(QDialog::Rejected);
            d.selectFile(p);
            return static_cast<int>(QDialog::Accepted);
        };
    }

    // Replaces the editor's text as a user's edit would (a paste over everything): the
    // document is modified afterwards.
    void edit(const QString& text) {
        QTextCursor cursor(mcod(*w)->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
    }

    // Puts `program` into the editor and clicks RUN; `during` runs from inside the run loop.
    void run(const QString& program, std::function<void()> during = nullptr) {
        edit(program);
        if (during) QTimer::singleShot(0, w.get(), during);
        QTest::mouseClick(button("bt_run"), Qt::LeftButton);
    }

    // Puts `program` into the editor and clicks RUN (or `start`); the steps run while the
    // program runs. Returns whether every step was taken.
    bool run_steps(const QString& program, std::vector<Step> steps, QPushButton* start = nullptr) {
        StepDriver driver(std::move(steps));
        edit(program);
        QTest::mouseClick(start != nullptr ? start : button("bt_run"), Qt::LeftButton);
        return driver.done();
    }
    bool paused() const { return run_control(*w)->state() == RunControl::State::Paused; }
    // The panel redraws changed channels at its paint rate: waits for that redraw.
    bool panel_drawn() const {
        return wait_for([this] { return !GroupBox1(*w)->pending(); });
    }

    // Waits, serving the window, until `condition` holds; false after five seconds.
    static bool wait_for(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 5000);
    }

    QStringList output() const { return mdb(*w)->toPlainText().split('\n', Qt::SkipEmptyParts); }
    QString label(const char* name) const { return w->findChild<QLabel*>(name)->text(); }
    QPushButton* button(const char* name) const { return w->findChild<QPushButton*>(name); }
    QAction* action(const char* name) const { return named<QAction>(*w, name); }
    QSlider* slider(const char* name) const { return w->findChild<QSlider*>(name); }
    QTimer* timer(const char* name) const { return w->findChild<QTimer*>(name); }
    // "run pause stop" as 1 for enabled, 0 for disabled.
    QString button_states() const {
        return QStringLiteral("%1%2%3")
            .arg(button("bt_run")->isEnabled())
            .arg(button("bt_pause")->isEnabled())
            .arg(button("bt_stop")->isEnabled());
    }
    // The grey value of one waterfall pixel as the image shows it.
    int pixel(int row, int column) const {
        return qBlue(w->findChild<WaterfallView*>("Iprev")->image().pixel(column, row));
    }

    std::unique_ptr<Tfmain> w;
    QTemporaryDir dir;
    QString saved_dir;
    bool defer_window = false;
    bool welcome = false;  // the window starts as on a first start, with its welcome page
    QStringList errors;
    QStringList error_titles;
    QStringList reasons;
    QStringList questions;
    QStringList dialogs;
    QByteArray saved_tmpdir;
    QStringList offered;
};

// A file's bytes, or "<missing>".
inline QByteArray read_bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void write_bytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join("|").toStdString() << ']';
}
