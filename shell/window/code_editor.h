// The program editor: typed letters a-z become upper case on the way in; pasted and loaded
// text stays as it is. Key and mouse releases are reported for the cursor display.
#pragma once

#include <QPlainTextEdit>

class CodeEditor : public QPlainTextEdit {
    Q_OBJECT
   public:
    explicit CodeEditor(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}

   signals:
    void keyUp();
    void mouseUp();

   protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
