// The window's modal questions and file dialogs go through here, so that a test can answer
// them instead of a user.
#pragma once

#include <QString>
#include <functional>

class QFileDialog;
class QMessageBox;
class QString;

// When set, they stand in for exec() and return its result (QDialog::Accepted with a file
// selected, QMessageBox::Yes, ...).
extern std::function<int(QFileDialog& dialog)> file_dialog_seam;
extern std::function<int(QMessageBox& box)> question_seam;
// When set, it receives a math error's caption and text instead of the box that offers STOP.
extern std::function<void(const QString& caption, const QString& text)> math_error_seam;
// When set (and math_error_seam is not), it stands in for the math error box's exec(): it
// answers the box by clicking one of its buttons (OK, or "math_stop"), with the check box
// "Do not show math messages again in this run" ticked or not.
extern std::function<void(QMessageBox& box)> math_box_seam;

// `offered` is the name the dialog starts with (none when empty); it also stays on the dialog
// as the property "offered", for the tests' seam.
int exec_file_dialog(QFileDialog& dialog, const QString& offered = QString());
int exec_question(QMessageBox& box);
