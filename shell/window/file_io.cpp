#include "file_io.h"

#include <QSaveFile>

bool write_file_replacing(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    return file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size &&
           file.commit();
}
