// What a screen reader gets from the window: labels read as they show, and every window and
// dialog listed among the application's windows; and find bar texts a reader can see.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QTextBlock>

#include "editor_commands.h"
#include "find_bar.h"
#include "help_window.h"
#include "mission_control.h"
#include "simulation_control.h"
#include "window_colours.h"
#include "telemetry_part.h"
#include "window_fixture.h"

namespace {

QString accessible_text(QObject* o, QAccessible::Text t) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i != nullptr ? i->text(t) : QStringLiteral("<none>");
}

class AccessibilityTest : public WindowTest {
   protected:
    void SetUp() override {
        QAccessible::setActive(true);
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        line_dialog_hook = nullptr;
        QAccessible::setActive(false);
    }
    // "role: name" of each shown window the application lists to a screen reader.
    static QStringList shown_windows() {
        QStringList out;
        QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
        for (int i = 0; i < app->childCount(); ++i) {
            QAccessibleInterface* c = app->child(i);
            if (c == nullptr || c->state().invisible) continue;
            QString role = QStringLiteral("role %1").arg(c->role());
            if (c->role() == QAccessible::Window) role = "window";
            if (c->role() == QAccessible::Dialog) role = "dialog";
            if (c->role() == QAccessible::AlertMessage) role = "alert";
            out << role + ": " + c->text(QAccessible::Name);
        }
        return out;
    }
};

TEST_F(AccessibilityTest, LabelsAreReadAsTheyShowAndSayWhatTheyStandFor) {
    run("A=1\nB=A/4\nEND");
    QLabel* a = w->findChild<QLabel*>("lA");
    QLabel* status = w->findChild<QLabel*>("sb_panel");
    EXPECT_EQ(accessible_text(a, QAccessible::Name), "A: 1");
    EXPECT_EQ(accessible_text(a, QAccessible::Description), "Variable A");
    EXPECT_EQ(accessible_text(status, QAccessible::Name), "Stop in line: 2");
    EXPECT_EQ(accessible_text(status, QAccessible::Description), "Status");
    // The name follows the text: a label with a name of its own would keep saying that.
    var_set(0, 2);
    w->bt_showvarsClick();
    EXPECT_EQ(accessible_text(a, QAccessible::Name), "A: 2");

    QLabel* magx = GroupBox1(*w)->value_label(Channel::MagX);
    slider("tb_magx")->setValue(47);
    ASSERT_TRUE(panel_drawn());
    EXPECT_EQ(accessible_text(magx, QAccessible::Name), "0.47");
    EXPECT_EQ(accessible_text(magx, QAccessible::Description), "Magnetometer X value");

    find_bar(*w)->show_find();
    find_bar(*w)->set_text("ZZZ");
    find_bar(*w)->find_next();
    QLabel* found = w->findChild<QLabel*>("find_status");
    EXPECT_EQ(accessible_text(found, QAccessible::Name), "\"ZZZ\" not found");
    EXPECT_EQ(accessible_text(found, QAccessible::Description), "Find status");

    // Every label of the window, its panels and its other windows reads as it shows (the
    // toolkit's own dialogs aside).
    w->show_language_reference();
    w->telemetry()->view_action()->trigger();
    w->show_satellite(true);
    ASSERT_TRUE(w->mission_control()->choose_file(":/missions/detumble.mission"));
    int labels = 0;
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (qobject_cast<QDialog*>(l->window()) != nullptr) continue;
        EXPECT_EQ(accessible_text(l, QAccessible::Name), l->text())
            << l->objectName().toStdString();
        ++labels;
    }
    EXPECT_GT(labels, 26 + 22);
    w->simulation_control()->choose_off();
}

TEST_F(AccessibilityTest, EveryWindowAndDialogIsListedAsOne) {
    EXPECT_EQ(shown_windows(), QStringList({"window: Untitled \u2014 ZORVANT Basic Editor"}));

    // Help > Language Reference on an empty editor: the contents. Windows are listed in the
    // order they were first made.
    w->telemetry()->view_action()->trigger();
    action("act_reference")->trigger();
    EXPECT_EQ(shown_windows(),
              QStringList({"window: Untitled \u2014 ZORVANT Basic Editor", "window: Telemetry",
                           "window: Language Reference - ZORVANT Basic: help"}));

    // The dialogs, while they are shown.
    QStringList seen;
    const auto look = [&seen](QWidget& dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        seen << shown_windows().filter(QRegularExpression("^(dialog|alert)"));
        dialog.hide();
    };
    Tfmain::question_hook = [&](QMessageBox& box) {
        look(box);
        return static_cast<int>(QMessageBox::Ok);
    };
    Tfmain::file_dialog_hook = [&](QFileDialog& d) {
        look(d);
        return static_cast<int>(QDialog::Rejected);
    };
    line_dialog_hook = [&](QInputDialog& d) {
        look(d);
        return static_cast<int>(QDialog::Rejected);
    };
    action("act_about")->trigger();
    button("bt_load")->click();
    action("act_go_to_line")->trigger();
    EXPECT_EQ(seen, QStringList({"alert: About", "dialog: Open", "dialog: Go to Line"}));
}

// Tab and Ctrl+Tab go through the controls in the order they are laid out: the program, the
// output's tabs and the output (or the Problems list), the panels from left to right, the run
// buttons, the file buttons.
TEST_F(AccessibilityTest, TheKeyboardGoesThroughTheControlsInTheirOrder) {
    QStringList order;
    for (QWidget* x = w->nextInFocusChain(); x != w.get(); x = x->nextInFocusChain()) {
        if ((x->focusPolicy() & Qt::TabFocus) && x->isVisible()) order << x->objectName();
    }
    EXPECT_EQ(order.join(' '),
              "mcod output_tab_bar mdb tb_magx tb_magy tb_magz tb_colr tb_colg tb_colb tb_tem "
              "tb_rx tb_coix "
              "tb_coiy tb_coiz tb_timer bt_run bt_pause bt_stop bt_step bt_stepback cb_speed "
              "bt_load bt_save bt_savas");
}

// The find bar lies on the window's dark background; its texts are drawn light.
TEST_F(AccessibilityTest, TheFindBarsTextsAreDrawnInTheirColour) {
    find_bar(*w)->show_replace();
    const Rgb c = window_colours::FIND_BAR_TEXT;
    QList<QWidget*> texts;
    for (QLabel* l : find_bar(*w)->findChildren<QLabel*>()) texts << l;
    for (QCheckBox* b : find_bar(*w)->findChildren<QCheckBox*>()) texts << b;
    ASSERT_EQ(texts.size(), 4);
    for (QWidget* t : texts) {
        t->ensurePolished();
        EXPECT_EQ(t->palette().color(QPalette::WindowText).name(), QColor(c.r, c.g, c.b).name())
            << t->objectName().toStdString();
    }
}

}  // namespace

// Each character's extents are where it shows: a magnifier follows the caret by them, and the
// current-line band is found by them.
TEST_F(AccessibilityTest, TheEditorsCharactersAreWhereTheyShow) {
    mcod(*w)->setPlainText("A=1\nB=2\nC=3");
    mcod(*w)->setFocus();
    QAccessibleInterface* editor = QAccessible::queryAccessibleInterface(mcod(*w));
    ASSERT_NE(editor, nullptr);
    QAccessibleTextInterface* text = editor->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), "A=1\nB=2\nC=3");
    for (int line = 0; line < 3; ++line) {
        for (int column = 0; column < 3; ++column) {
            QTextCursor c(mcod(*w)->document()->findBlockByNumber(line));
            c.setPosition(c.position() + column);
            const QRect caret = mcod(*w)->cursorRect(c);
            const QPoint at = mcod(*w)->viewport()->mapToGlobal(caret.topLeft());
            const QRect r = text->characterRect(c.position());
            EXPECT_EQ(r.top(), at.y()) << line << "," << column;
            EXPECT_EQ(r.left(), at.x()) << line << "," << column;
            EXPECT_GT(r.width(), 0) << line << "," << column;
            EXPECT_EQ(r.height(), caret.height()) << line << "," << column;
            EXPECT_EQ(text->offsetAtPoint(r.center()), c.position()) << line << "," << column;
        }
    }
}
