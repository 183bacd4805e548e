// The settings file in the working folder: read at start-up, written at close and by bt_sini.
#include "settings_file.h"

#include <QFileInfo>
#include <cstdio>

#include "channels.h"
#include "error_display.h"
#include "file_access.h"
#include "settings.h"

SettingsFile::SettingsFile(QObject* parent) : QObject(parent) {}

void SettingsFile::read() {
    const QString name = QString::fromLatin1(SETTINGS_FILE_NAME);
    if (!QFileInfo(name).isFile()) return;
    const FileRead file = read_regular_file(SETTINGS_FILE_NAME, MAX_SETTINGS_FILE_BYTES);
    if (!file.ok) {
        show_error("Cannot open file " + name, file.reason);
        return;
    }
    const SettingsRead read = settings_parse(file.bytes);
    for (size_t i = 0; i < read.values.size(); ++i) {
        channel_set(settings_channels[i], read.values[i]);
    }
    if (!read.error.empty()) show_error(QString::fromLatin1(read.error.c_str()));
}

// Never through a symbolic link: in a shared folder anybody could plant one that points at
// somebody else's file.
void SettingsFile::write() {
    const FileWrite written =
        write_file_atomically(SETTINGS_FILE_NAME, settings_format(), LinkPolicy::Refuse);
    if (!written.ok) {
        throw DisplayedError(QStringLiteral("Cannot create file ") + SETTINGS_FILE_NAME,
                             QString::fromLocal8Bit(written.reason.c_str()));
    }
}

void SettingsFile::write_at_close(bool quietly) {
    try {
        write();
    } catch (const DisplayedError& e) {
        // A box would hold up the end of a session that is going away; standard error is read.
        if (quietly) {
            std::fprintf(stderr, "%s: %s\n", e.what(), e.reason.toLocal8Bit().constData());
        } else {
            show_error(QString::fromUtf8(e.what()), e.reason);
        }
    }
}
