// The settings file in the working folder: the sensors' and the waterfall's positions, read at
// start-up and written at close and by its button (bt_sini). A file that cannot be read or
// written is reported; the window goes on.
#pragma once

#include <QObject>

class SettingsFile : public QObject {
    Q_OBJECT
   public:
    explicit SettingsFile(QObject* parent);

    // The sliders take the file's lines one by one, each clamped, each change handled at once;
    // a bad line stops the reading, and the lines before it keep their values. A missing file
    // changes nothing.
    void read();
    // The channels' positions, written in one go, never through a symbolic link. Throws a
    // DisplayedError when the file cannot be written.
    void write();
    // As write(), with a failure shown in the error display; when `quietly` (nobody is there
    // to answer a box) on standard error instead.
    void write_at_close(bool quietly);
};
