// LOAD, SAVE, SAVE AS, the settings file and closing, through the seams for dialogs and
// questions.
#include <signal.h>
#include <sys/resource.h>

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include "window_fixture.h"

namespace {

// The window's title: the program's name with the modified mark's place, and the editor's name.
const QString title = "Untitled[*] \u2014 ZORVANT Basic Editor";
QString titled(const QString& path) {
    return QFileInfo(path).fileName() + "[*] \u2014 ZORVANT Basic Editor";
}
const QString endless = "LABEL 1\nGOTO 1";

// ---- program files ----

TEST_F(WindowTest, LoadReplacesTheTextAndNamesTheWindow) {
    const QString path = dir.filePath("lf.bas");
    write_bytes(path, "print 1\nPRINT 2\n");
    answer_dialogs({path});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(dialogs, QStringList({"od"}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "print 1\nPRINT 2\n");
    EXPECT_EQ(w->windowTitle(), titled(path));
    EXPECT_EQ(w->status_text(), "Loaded.");
    EXPECT_FALSE(button("bt_save")->isEnabled());

    // Saved again, the lines are separated by CR LF.
    QTest::keyClicks(mcod(*w), "x");
    EXPECT_TRUE(button("bt_save")->isEnabled());
    edit("print 1\nPRINT 2\n");
    QTest::mouseClick(button("bt_save"), Qt::LeftButton);
    EXPECT_EQ(read_bytes(path), "print 1\r\nPRINT 2\r\n");
    EXPECT_EQ(w->status_text(), "Saved.");
    EXPECT_FALSE(button("bt_save")->isEnabled());
}

TEST_F(WindowTest, LoadAsksAboutModifiedText) {
    const QString a = dir.filePath("a.bas");
    write_bytes(a, "A=1");
    QTest::keyClicks(mcod(*w), "b=2");

    answer_questions({QMessageBox::Cancel});
    answer_dialogs({});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(questions, QStringList({"Save changes?"}));
    EXPECT_TRUE(dialogs.isEmpty());
    EXPECT_EQ(mcod(*w)->toPlainText(), "B=2");
    EXPECT_TRUE(button("bt_save")->isEnabled());

    // Yes without a name: the save dialog, cancelled, does not stop the LOAD.
    answer_questions({QMessageBox::Yes});
    answer_dialogs({QString(), a});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(dialogs, QStringList({"sd", "od"}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "A=1");

    // No: the text is dropped.
    QTest::keyClicks(mcod(*w), "c");
    dialogs.clear();
    answer_questions({QMessageBox::No});
    answer_dialogs({a});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(dialogs, QStringList({"od"}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "A=1");

    // Yes with a name: saved in place first.
    const QString b = dir.filePath("b.bas");
    write_bytes(b, "B=1");
    edit("A=2");
    answer_questions({QMessageBox::Yes});
    answer_dialogs({b});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(read_bytes(a), "A=2");
    EXPECT_EQ(mcod(*w)->toPlainText(), "B=1");
    EXPECT_EQ(w->windowTitle(), titled(b));
}

TEST_F(WindowTest, FailedReadChangesNothing) {
    edit("KEEP");
    answer_questions({QMessageBox::No});
    const QString missing = dir.filePath("missing.bas");
    answer_dialogs({missing});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(errors, QStringList({"Cannot open file " + missing + "."}));
    EXPECT_EQ(reasons, QStringList({"No such file or directory"}));
    EXPECT_EQ(error_titles.value(0), QApplication::applicationDisplayName());
    EXPECT_EQ(mcod(*w)->toPlainText(), "KEEP");
    EXPECT_EQ(w->windowTitle(), title);
    EXPECT_TRUE(button("bt_save")->isEnabled());
    EXPECT_EQ(w->status_text(), "");

    // A folder chosen in the dialog cannot be read either.
    QDir(dir.path()).mkdir("folder.bas");
    const QString folder = dir.filePath("folder.bas");
    answer_questions({QMessageBox::No});
    answer_dialogs({folder});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(errors.value(1), "Cannot open file " + folder + ".");
    EXPECT_EQ(reasons.value(1), "It is not a regular file");
    EXPECT_EQ(mcod(*w)->toPlainText(), "KEEP");
}

TEST_F(WindowTest, OversizedFileIsRefused) {
    const QString big = dir.filePath("big.bas");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(16 * 1024 * 1024 + 1));
    }
    answer_dialogs({big});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(errors, QStringList({"Text exceeds memo capacity."}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "");
    EXPECT_EQ(w->windowTitle(), title);
}

TEST_F(WindowTest, EveryByteRoundTrips) {
    QByteArray bytes;
    for (int c = 0; c < 256; ++c) {
        if (c != '\r' && c != '\n') bytes += static_cast<char>(c);
    }
    bytes += "\r\nlower case\r\n";
    const QString in = dir.filePath("bytes.bas");
    const QString out = dir.filePath("copy.bas");
    write_bytes(in, bytes);
    answer_dialogs({in, out});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    QTest::mouseClick(button("bt_savas"), Qt::LeftButton);
    EXPECT_EQ(read_bytes(out), bytes);
}

TEST_F(WindowTest, EmptyFilesAndTheLastLineBreak) {
    const QString empty = dir.filePath("empty.bas");
    write_bytes(empty, "");
    edit("X");
    answer_questions({QMessageBox::No});
    answer_dialogs({empty, dir.filePath("e2.bas"), dir.filePath("n.bas")});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(mcod(*w)->toPlainText(), "");
    QTest::mouseClick(button("bt_savas"), Qt::LeftButton);
    EXPECT_EQ(read_bytes(dir.filePath("e2.bas")), "");

    edit("A\nB");
    QTest::mouseClick(button("bt_savas"), Qt::LeftButton);
    EXPECT_EQ(read_bytes(dir.filePath("n.bas")), "A\r\nB");
}

TEST_F(WindowTest, IdenticalTextLeavesTheEditorUntouched) {
    const QString path = dir.filePath("same.bas");
    write_bytes(path, "A=1\r\nB=2");
    edit("A=1\nB=2");
    QTextCursor c = mcod(*w)->textCursor();
    c.setPosition(5);
    mcod(*w)->setTextCursor(c);
    QSignalSpy changes(mcod(*w), &QPlainTextEdit::textChanged);
    answer_questions({QMessageBox::No});
    answer_dialogs({path});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(mcod(*w)->textCursor().position(), 5);
    EXPECT_FALSE(button("bt_save")->isEnabled());
    EXPECT_EQ(w->windowTitle(), titled(path));
}

TEST_F(WindowTest, TextWithoutAnEightBitFormIsNotSaved) {
    const QString path = dir.filePath("pi.bas");
    edit(QString("A=1\nB=") + QChar(0x3C0));
    answer_dialogs({path});
    QTest::mouseClick(button("bt_savas"), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Cannot save " + path +
                             ": line 1, column 2 holds a character that a program file cannot "
                             "store.");
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(button("bt_save")->isEnabled());
}

TEST_F(WindowTest, FailedWriteKeepsTheOldFile) {
    const QString path = dir.filePath("old.bas");
    write_bytes(path, "OLD");
    edit(QString(20000, 'N'));
    answer_dialogs({path});
    // A file size limit makes the write fail even for root; the signal it raises is ignored.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto old_handler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QTest::mouseClick(button("bt_savas"), Qt::LeftButton);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, old_handler);
    EXPECT_EQ(errors, QStringList({"Cannot create file " + path + "."}));
    EXPECT_EQ(reasons, QStringList({"File too large"}));
    EXPECT_EQ(read_bytes(path), "OLD");
    EXPECT_TRUE(button("bt_save")->isEnabled());
    // The dialog's path is the file name now; the caption still shows the one before.
    EXPECT_EQ(w->current_file(), path);
    EXPECT_EQ(w->windowTitle(), title);
}

TEST_F(WindowTest, DialogsAddTheSuffixAndRememberTheirOwnNames) {
    // SAVE without a file name is SAVE AS.
    answer_dialogs({dir.filePath("demo")});
    QTest::keyClicks(mcod(*w), "print 1");
    QTest::mouseClick(button("bt_save"), Qt::LeftButton);
    EXPECT_EQ(dialogs, QStringList({"sd"}));
    EXPECT_EQ(w->current_file(), dir.filePath("demo.bas"));
    EXPECT_EQ(read_bytes(dir.filePath("demo.bas")), "PRINT 1");

    const QString loaded = dir.filePath("demo.bas");
    answer_dialogs({loaded, dir.filePath("other.bas"), QString()});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    edit("PRINT 2");
    QTest::mouseClick(button("bt_savas"), Qt::LeftButton);
    answer_questions({QMessageBox::No});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    // SAVE AS offered the loaded file; the next LOAD offers the loaded one, not the saved one.
    EXPECT_EQ(offered, QStringList({"", "", loaded, loaded}));
    EXPECT_EQ(w->document()->open_dialog()->defaultSuffix(), "bas");
    EXPECT_EQ(w->document()->save_dialog()->defaultSuffix(), "bas");
    EXPECT_FALSE(w->document()->save_dialog()->testOption(QFileDialog::DontConfirmOverwrite));
}

// ---- the error display ----

TEST(ErrorDisplay, FullStopAfterCharactersBeyondThePoint) {
    EXPECT_EQ(error_display_text("Cannot open file a.bas"), "Cannot open file a.bas.");
    EXPECT_EQ(error_display_text("ends in a point."), "ends in a point.");
    EXPECT_EQ(error_display_text("value 7"), "value 7.");
    EXPECT_EQ(error_display_text("(x)"), "(x)");
    EXPECT_EQ(error_display_text("a/"), "a/.");
    EXPECT_EQ(error_display_text("a-"), "a-");
    EXPECT_EQ(error_display_text(""), "");
}

class Throwing : public QObject {
   public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw DisplayedError("Handler failed");
        return QObject::event(e);
    }
};

TEST_F(WindowTest, AnErrorEscapingAHandlerIsShownAndTheLoopGoesOn) {
    Throwing t;
    QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&t);
    EXPECT_EQ(errors, QStringList({"Handler failed."}));
    run("PRINT 1");
    EXPECT_EQ(output(), QStringList({"1"}));
}

// ---- settings and closing ----

class SettingsTest : public WindowTest {
   protected:
    SettingsTest() { defer_window = true; }
    void start_with(const QByteArray& bytes) {
        write_bytes(dir.filePath("brevolin.ini"), bytes);
        open_window();
    }
    void close_clean() {
        button("bt_save")->setEnabled(false);
        w->close();
    }
    QByteArray written() const { return read_bytes(dir.filePath("brevolin.ini")); }
};

TEST_F(SettingsTest, FirstStartAndTheFileWrittenAtClose) {
    open_window();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(w->windowTitle(), title);
    close_clean();
    EXPECT_EQ(written(), "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n5\r\n");
}

TEST_F(SettingsTest, SlidersComeBackClamped) {
    start_with("250\n-3\n7\n 8\n+9\n10\n-41\n300\n10\nextra\n11\n12\n");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(slider("tb_magx")->value(), 100);
    EXPECT_EQ(slider("tb_magy")->value(), -3);
    EXPECT_EQ(slider("tb_colr")->value(), 8);
    EXPECT_EQ(slider("tb_colg")->value(), 9);
    EXPECT_EQ(slider("tb_tem")->value(), -40);
    EXPECT_EQ(slider("tb_rx")->value(), 255);
    EXPECT_EQ(slider("tb_timer")->value(), 10);
    EXPECT_EQ(timer("t_sdr")->interval(), 10);
    EXPECT_EQ(label("lb_magx"), "1");
    slider("tb_magz")->setValue(-55);
    close_clean();
    EXPECT_EQ(written(), "100\r\n-3\r\n-55\r\n8\r\n9\r\n10\r\n-40\r\n255\r\n10\r\n");
}

TEST_F(SettingsTest, ABadLineIsReportedAndStartUpGoesOn) {
    start_with("1\n2\n7 \n4\n");
    EXPECT_EQ(errors, QStringList({"'7 ' is not a valid integer value."}));
    EXPECT_EQ(slider("tb_magx")->value(), 1);
    EXPECT_EQ(slider("tb_magy")->value(), 2);
    EXPECT_EQ(slider("tb_magz")->value(), 0);
    EXPECT_EQ(w->windowTitle(), title);
    EXPECT_TRUE(timer("t_sdr")->isActive());
    EXPECT_EQ(label("lA"), "A: 0");
    EXPECT_EQ(label("lb_magy"), "0.02");
    run("PRINT 1");
    EXPECT_EQ(output(), QStringList({"1"}));
}

TEST_F(SettingsTest, ShortAndEmptyLinesAreErrors) {
    start_with("1\r\n\r\n3\r\n");
    EXPECT_EQ(errors, QStringList({"'' is not a valid integer value."}));
    w.reset();
    errors.clear();
    start_with("1\n2\n3\n4\n5\n6\n7\n8\n");
    EXPECT_EQ(errors, QStringList({"'' is not a valid integer value."}));
}

TEST_F(SettingsTest, ADirectoryOfThatNameIsIgnoredAndCannotBeWritten) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("brevolin.ini"));
    open_window();
    EXPECT_TRUE(errors.isEmpty());
    close_clean();
    EXPECT_EQ(errors, QStringList({"Cannot create file brevolin.ini."}));
    EXPECT_EQ(reasons, QStringList({"It is not a regular file"}));
    EXPECT_FALSE(w->isVisible());
}

TEST_F(SettingsTest, ClosingWithModifiedTextAsks) {
    open_window();
    QTest::keyClicks(mcod(*w), "print 1");

    answer_questions({QMessageBox::Cancel});
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(written(), "<missing>");

    // Yes while unnamed: SAVE AS; cancelling its dialog cancels the close.
    answer_questions({QMessageBox::Yes});
    answer_dialogs({QString()});
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());

    const QString path = dir.filePath("kept.bas");
    answer_questions({QMessageBox::Yes});
    answer_dialogs({path});
    EXPECT_TRUE(w->close());
    EXPECT_EQ(read_bytes(path), "PRINT 1");
    EXPECT_EQ(written().count("\r\n"), 9);
}

TEST_F(SettingsTest, CancelKeepsTheProgramRunningNoClosesAnyway) {
    open_window();
    bool still_running = false;
    answer_questions({QMessageBox::Cancel, QMessageBox::No});
    run_steps(endless, {{at_once(), [&] { w->close(); }},
                        {at_once(), [&] { still_running = button("bt_stop")->isEnabled(); }},
                        {at_once(), [&] { w->close(); }}});
    EXPECT_TRUE(still_running);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(button_states(), "100");
    EXPECT_EQ(written().count("\r\n"), 9);
}

}  // namespace
