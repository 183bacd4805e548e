// The recovery folder as the window finds it, and keeping a session's unsaved bytes there (or in
// the fallback folder) through the file rules of recovery.h.
#include "kept_files.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "recovery.h"

namespace {

std::string encoded(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

QString recovery_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString recovery_fallback_folder() {
    return QFile::decodeName(recovery_fallback_folder(encoded(QDir::tempPath())).c_str());
}

KeptFile keep_in_recovery(const QString& current, const std::function<std::string(int)>& name,
                          const std::string& bytes, const QString& what) {
    const QString folder = recovery_folder();
    QDir().mkpath(folder);
    const RecoveryKept kept = recovery_keep(encoded(folder), encoded(recovery_fallback_folder()),
                                            encoded(current), name, bytes);
    KeptFile result;
    result.path = QFile::decodeName(kept.path.c_str());
    const QString reason = QString::fromLocal8Bit(kept.reason.c_str());
    if (kept.path.empty()) {
        result.trouble = QStringLiteral("%1 could not be kept: the recovery folder %2 cannot be "
                                        "written (%3), nor %4 (%5).")
                             .arg(what, folder, reason, recovery_fallback_folder(),
                                  QString::fromLocal8Bit(kept.fallback_reason.c_str()));
    } else if (!kept.reason.empty()) {
        result.trouble =
            QStringLiteral("%1 kept in %2: the recovery folder %3 cannot be written (%4).")
                .arg(what, result.path, folder, reason);
    }
    return result;
}
