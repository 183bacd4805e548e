// The settings file read at start-up and written at close, and the close itself.
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "Ucompiler.h"
#include "error_display.h"
#include "file_io.h"
#include "settings.h"

// The sliders take the file's lines one by one, each clamped, each change handled at once; a
// bad line stops the reading, and the lines before it keep their values.
void Tfmain::read_settings() {
    const QString name = QString::fromLatin1(SETTINGS_FILE_NAME);
    if (!QFileInfo(name).isFile()) return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        show_error("Cannot open file " + name);
        return;
    }
    const QByteArray bytes = file.readAll();
    const SettingsRead read = settings_parse(std::string_view(bytes.constData(), bytes.size()));
    for (size_t i = 0; i < read.values.size(); ++i) {
        channel_set(settings_channels[i], read.values[i]);
    }
    if (!read.error.empty()) show_error(QString::fromLatin1(read.error.c_str()));
}

void Tfmain::bt_siniClick() {
    if (!write_file_replacing(QString::fromLatin1(SETTINGS_FILE_NAME), settings_format())) {
        throw DisplayedError(QStringLiteral("Cannot create file ") + SETTINGS_FILE_NAME);
    }
}

// Unsaved text is worth a question; Cancel keeps the window open and the program running.
// A close that goes ahead stops the program and writes the settings.
void Tfmain::closeEvent(QCloseEvent* event) {
    if (bt_save->isEnabled()) {
        const int answer = ask_save_changes();
        if (answer == QMessageBox::Cancel ||
            (answer == QMessageBox::Yes && save() != SaveResult::Saved)) {
            event->ignore();
            return;
        }
    }
    bt_stopClick();
    event->accept();
    try {
        bt_siniClick();
    } catch (const DisplayedError& e) {
        show_error(QString::fromUtf8(e.what()));
    }
}
