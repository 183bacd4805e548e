// The program document: nothing the user typed is lost to a cancelled save, an untouched text
// is not modified, and the recovery file survives what others plant in its folder.
#include <sys/stat.h>

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>
#include <QUrl>
#include <csignal>

#include "telemetry_part.h"
#include "window_fixture.h"

namespace {

// Every way of replacing the text, each asking "Save changes?" first.
TEST_F(WindowTest, ACancelledSaveCancelsTheReplacement) {
    const QString other = dir.filePath("other.bas");
    write_bytes(other, "PRINT 9");
    QAction* example = named<QMenu>(*w, "menu_examples")->actions().value(0);
    ASSERT_NE(example, nullptr);
    const std::vector<std::pair<const char*, std::function<void()>>> replacements = {
        {"example", [&] { example->trigger(); }},
        {"new", [&] { w->new_program(); }},
        {"open", [&] { w->open_file(other); }},
    };
    QTest::keyClicks(mcod(*w), "PRINT 1");
    for (const auto& [what, replace] : replacements) {
        answer_questions({QMessageBox::Yes});
        answer_dialogs({""});  // the save dialog, cancelled
        replace();
        EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 1") << what;
        EXPECT_TRUE(button("bt_save")->isEnabled()) << what;
        EXPECT_EQ(w->current_file(), "") << what;
    }
    EXPECT_EQ(dialogs, QStringList({"sd", "sd", "sd"}));

    // LOAD goes on to its own dialog after a cancelled save; cancelling that keeps the text.
    answer_questions({QMessageBox::Yes});
    answer_dialogs({"", ""});
    QTest::mouseClick(button("bt_load"), Qt::LeftButton);
    EXPECT_EQ(dialogs.mid(3), QStringList({"sd", "od"}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 1");
    EXPECT_TRUE(button("bt_save")->isEnabled());

    // So does closing: the window stays.
    answer_questions({QMessageBox::Yes});
    answer_dialogs({""});
    w->close();
    EXPECT_TRUE(w->isVisible());
}

// Only an edit modifies the text; opening, New and undoing back do not.
TEST_F(WindowTest, OnlyAnEditModifiesTheText) {
    const QString path = dir.filePath("p.bas");
    write_bytes(path, "PRINT 2");
    const QList<QAction*> examples = named<QMenu>(*w, "menu_examples")->actions();
    ASSERT_GE(examples.size(), 2);
    examples[0]->trigger();
    examples[1]->trigger();
    w->open_file(path);
    w->new_program();
    EXPECT_EQ(questions, QStringList());
    EXPECT_FALSE(button("bt_save")->isEnabled());

    examples[0]->trigger();
    QTest::keyClicks(mcod(*w), "X");
    EXPECT_TRUE(button("bt_save")->isEnabled());
    mcod(*w)->undo();
    EXPECT_FALSE(button("bt_save")->isEnabled());
    // A session ended now leaves nothing to recover.
    w->document()->keep_for_recovery();
    EXPECT_FALSE(QFile::exists(w->recovery_file()));
    EXPECT_EQ(QDir(QFileInfo(w->recovery_file()).path()).entryList(QDir::Files), QStringList());
}

// A link planted under the recovery file's name is never written through, and the text still
// survives: it goes under the next name, readable by its owner only.
TEST_F(WindowTest, TheRecoveryFileGoesAroundALink) {
    const QString planted = dir.filePath("victim.txt");
    write_bytes(planted, "KEEP");
    const QString first = w->recovery_file();
    QDir().mkpath(QFileInfo(first).path());
    ASSERT_TRUE(QFile::link(planted, first));
    QTest::keyClicks(mcod(*w), "PRINT 5");
    std::raise(SIGTERM);
    ASSERT_TRUE(wait_for([&] { return !w->isVisible(); }));
    EXPECT_EQ(read_bytes(planted), "KEEP");
    const QString kept = w->recovery_file();
    EXPECT_NE(kept, first);
    EXPECT_TRUE(read_bytes(kept).endsWith("\nPRINT 5"));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(kept).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // The next start offers the text and sets the link aside.
    w.reset();
    answer_questions({QMessageBox::Yes});
    testing::internal::CaptureStderr();
    open_window();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 5");
    EXPECT_NE(said.find("is not a regular file: renamed to"), std::string::npos) << said;
    EXPECT_TRUE(QFileInfo(first + ".bad").isSymLink());
    EXPECT_EQ(read_bytes(planted), "KEEP");
}

// A file that is no recovery file is set aside once, with a word on standard error, and
// never offered.
TEST_F(WindowTest, ABrokenRecoveryFileIsSetAsideOnce) {
    const QString folder = QFileInfo(w->recovery_file()).path();
    w.reset();
    QDir().mkpath(folder);
    // No process has this number: the file is left over from a session that ended.
    const QString broken = folder + "/unsaved-99999999.txt";
    write_bytes(broken, QByteArray("ZORVANT-UNSAVED 1\n\n\xFF\xFE\x00\x01", 22));
    testing::internal::CaptureStderr();
    open_window();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(questions, QStringList());
    EXPECT_NE(said.find("unsaved-99999999.txt is no recovery file: renamed to"),
              std::string::npos)
        << said;
    EXPECT_FALSE(QFile::exists(broken));
    EXPECT_TRUE(QFile::exists(broken + ".bad"));

    w.reset();
    testing::internal::CaptureStderr();
    open_window();
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("zorvant:"), std::string::npos);
}

// Export Telemetry asks before it replaces the picture beside the CSV; No writes neither.
TEST_F(WindowTest, ExportAsksBeforeReplacingThePicture) {
    run("COIL 1,0,0");
    write_bytes(dir.filePath("run.png"), "MINE");
    answer_dialogs({dir.filePath("run.csv")});
    answer_questions({QMessageBox::No});
    w->telemetry()->export_action()->trigger();
    EXPECT_EQ(questions, QStringList({"run.png already exists beside run.csv. Replace it?"}));
    EXPECT_EQ(read_bytes(dir.filePath("run.png")), "MINE");
    EXPECT_FALSE(QFile::exists(dir.filePath("run.csv")));

    answer_dialogs({dir.filePath("run.csv")});
    answer_questions({QMessageBox::Yes});
    w->telemetry()->export_action()->trigger();
    EXPECT_TRUE(read_bytes(dir.filePath("run.png")).startsWith("\x89PNG"));
    EXPECT_TRUE(read_bytes(dir.filePath("run.csv")).startsWith("time_ms,"));
}

}  // namespace
