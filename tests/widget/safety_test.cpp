// Nothing the user made is lost and nothing the user is told is untrue: failed writes, files
// that are no files, endless output, characters a program cannot hold, and a session that
// ends from outside.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "file_access.h"
#include "small_disk.h"
#include "window_fixture.h"

namespace {

const QString no_space = QString::fromLocal8Bit(std::strerror(ENOSPC));

TEST_F(WindowTest, AFailedSaveOnAFullDiskIsNoSave) {
    SmallDisk disk;
    QString folder = QString::fromStdString(disk.path());
    if (!disk.mounted()) {
        std::printf(
            "[  NOTE    ] no tmpfs could be mounted (needs root): the failure is injected\n");
        folder = dir.path();
        file_write_fault = [](WriteStep step) { return step == WriteStep::Flush ? ENOSPC : 0; };
    }
    const QString path = folder + "/full.bas";
    write_bytes(path, "OLD");
    write_bytes(folder + "/brevolin.ini", "1\r\n");
    answer_dialogs({path});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    edit(QString(20000, 'N'));
    disk.fill();

    QTest::mouseClick(button("bt_save"), Qt::LeftButton);
    EXPECT_EQ(errors, QStringList({"Cannot create file " + path + "."}));
    EXPECT_EQ(reasons, QStringList({no_space}));
    EXPECT_EQ(read_bytes(path), "OLD");
    EXPECT_EQ(w->status_text(), "Loaded.");
    EXPECT_TRUE(button("bt_save")->isEnabled());

    // The text is still unsaved, so closing still asks; the settings fail the same way.
    QDir::setCurrent(folder);
    answer_questions({QMessageBox::No});
    EXPECT_TRUE(w->close());
    EXPECT_EQ(questions, QStringList({"Save changes?"}));
    EXPECT_EQ(errors.value(1), "Cannot create file brevolin.ini.");
    EXPECT_EQ(reasons.value(1), no_space);
    EXPECT_EQ(read_bytes(folder + "/brevolin.ini"), "1\r\n");
    QDir::setCurrent(dir.path());
    file_write_fault = nullptr;
}

TEST_F(WindowTest, SettingsAreNeverWrittenThroughALink) {
    const QString victim = dir.filePath("somebody-elses.txt");
    write_bytes(victim, "precious");
    ASSERT_EQ(symlink("somebody-elses.txt", "brevolin.ini"), 0);
    w->close();
    EXPECT_EQ(errors, QStringList({"Cannot create file brevolin.ini."}));
    EXPECT_EQ(reasons, QStringList({"It is a symbolic link"}));
    EXPECT_EQ(read_bytes(victim), "precious");
}

TEST_F(WindowTest, LoadRefusesAFifoAndADevice) {
    // Opening the FIFO once froze the window; reading the device ran out of memory.
    const QString fifo = dir.filePath("fifo.bas");
    const QString zero = dir.filePath("zero.bas");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", QFile::encodeName(zero).constData()), 0);
    answer_dialogs({fifo, zero});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(errors,
              QStringList({"Cannot open file " + fifo + ".", "Cannot open file " + zero + "."}));
    EXPECT_EQ(reasons, QStringList({"It is not a regular file", "It is not a regular file"}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "");
    EXPECT_EQ(w->current_file(), "");
}

TEST_F(WindowTest, TheOutputPaneKeepsTheNewestLines) {
    run("FOR I=1 TO 100005\nPRINT I\nNEXT I");
    const QStringList lines = output();
    ASSERT_EQ(lines.size(), 100000);
    EXPECT_EQ(lines.first(), "6");
    EXPECT_EQ(lines.last(), "100005");
    EXPECT_FALSE(mdb(*w)->document()->isUndoAvailable());
}

TEST_F(WindowTest, ACharacterWithoutAnEightBitFormDoesNotRun) {
    // It used to run as '?'; in a comment line it is no matter.
    run(QString("// costs 5 \u20AC\nPRINT 1\nPRINT \"\u20AC\""));
    EXPECT_EQ(output(), QStringList({"ERROR in line: 2",
                                     "ERROR: Line holds a character that a program cannot use"}));
    EXPECT_EQ(button_states(), "100");
    run(QString("// costs 5 \u20AC\nPRINT 1"));
    EXPECT_EQ(output(), QStringList({"1"}));
}

TEST_F(WindowTest, UnsavedTextComesBackAfterTheSessionWasKilled) {
    QTest::keyClicks(mcod(*w), "print 7");
    mcod(*w)->insertPlainText(QString("\u20AC"));
    std::raise(SIGTERM);
    ASSERT_TRUE(wait_for([&] { return !w->isVisible(); }));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(QFile::exists(w->recovery_file()));
    EXPECT_TRUE(QFile::exists("brevolin.ini"));

    w.reset();
    answer_questions({QMessageBox::Yes});
    open_window();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith("Recover the unsaved program from "));
    EXPECT_TRUE(questions[0].endsWith("?"));
    EXPECT_EQ(mcod(*w)->toPlainText(), QString("PRINT 7\u20AC"));
    EXPECT_TRUE(button("bt_save")->isEnabled());
    EXPECT_EQ(w->windowTitle(), "Untitled[*] \u2014 ZORVANT Basic Editor");

    // Let go at the close, the text is gone for good: no question at the next start.
    answer_questions({QMessageBox::No});
    w->close();
    EXPECT_FALSE(QFile::exists(w->recovery_file()));
}

TEST_F(WindowTest, TheRecoveryFileFollowsTheTextUntilItIsSavedOrRefused) {
    w->document()->recovery_timer()->setInterval(10);
    QTest::keyClicks(mcod(*w), "A=1");
    ASSERT_TRUE(wait_for([&] { return QFile::exists(w->recovery_file()); }));
    answer_dialogs({dir.filePath("a.bas")});
    QTest::mouseClick(button("bt_save"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(w->recovery_file()));

    // A crash: the window goes without a close. Refused at the next start, it goes too.
    QTest::keyClicks(mcod(*w), "2");
    ASSERT_TRUE(wait_for([&] { return QFile::exists(w->recovery_file()); }));
    const QString recovery = w->recovery_file();
    w.reset();
    answer_questions({QMessageBox::No});
    open_window();
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(mcod(*w)->toPlainText(), "");
    EXPECT_FALSE(QFile::exists(recovery));
}

// A recovery folder that cannot be written (here a file stands in its place) loses no text: it
// goes to the user's own folder under the temporary folder, mode 0600, standard error and the
// status bar say where, and the next start offers it from there.
TEST_F(WindowTest, UnsavedTextGoesToTheTemporaryFolderWhenItsFolderCannotBeWritten) {
    const QString folder = QFileInfo(w->recovery_file()).path();
    QDir(folder).removeRecursively();
    QDir().mkpath(QFileInfo(folder).path());
    write_bytes(folder, "not a folder");
    const QString fallback = dir.filePath(QStringLiteral("tmp/zorvant-%1").arg(geteuid()));
    const QString kept =
        fallback + QStringLiteral("/unsaved-%1.txt").arg(QCoreApplication::applicationPid());
    const QString said = "Unsaved text kept in " + kept + ": the recovery folder " + folder +
                         " cannot be written (" + QString::fromLocal8Bit(std::strerror(ENOTDIR)) +
                         ").";

    w->document()->recovery_timer()->setInterval(10);
    testing::internal::CaptureStderr();
    QTest::keyClicks(mcod(*w), "print 8");
    ASSERT_TRUE(wait_for([&] { return QFile::exists(kept); }));
    EXPECT_EQ(w->status_text(), said);
    EXPECT_EQ(w->recovery_file(), kept);
    QTest::keyClicks(mcod(*w), "9");
    std::raise(SIGTERM);
    ASSERT_TRUE(wait_for([&] { return !w->isVisible(); }));
    // Said once, not at every copy.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "zorvant: " + said.toStdString() + "\n");
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(kept).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(QFile::encodeName(fallback).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    w.reset();
    answer_questions({QMessageBox::Yes});
    open_window();
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 89");
}

}  // namespace
