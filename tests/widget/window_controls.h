// The window's controls and menu entries for the tests and the driver: found by the object names
// the product gives them, as a user's tools find them; the parts through the window's accessors.
#pragma once

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtGlobal>

#include "Ucompiler.h"
#include "code_editor.h"
#include "debugger.h"
#include "device_panel_box.h"
#include "find_bar.h"
#include "problems_pane.h"
#include "quick_open.h"

// A missing name is a fault of the test: it stops the run with the name.
template <typename T>
T* named(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

inline CodeEditor* mcod(const Tfmain& w) {
    return named<CodeEditor>(w, "mcod");
}
inline QPlainTextEdit* mdb(const Tfmain& w) {
    return named<QPlainTextEdit>(w, "mdb");
}
inline QPlainTextEdit* msrc(const Tfmain& w) {
    return named<QPlainTextEdit>(w, "msrc");
}
inline DevicePanelBox* GroupBox1(const Tfmain& w) {
    return named<DevicePanelBox>(w, "GroupBox1");
}
inline FindBar* find_bar(const Tfmain& w) {
    return named<FindBar>(w, "find_bar");
}
inline RunControl* run_control(const Tfmain& w) {
    return w.debugger()->run_control();
}
