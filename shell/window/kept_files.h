// What a session could not save (unsaved text, recorded slider moves) waits in the recovery
// folder for the next start; when that folder cannot be written, in the user's own folder under
// the temporary folder.
#pragma once

#include <QString>
#include <functional>
#include <string>

QString recovery_folder();
// The fallback's folder; texts found there are offered at the next start too.
QString recovery_fallback_folder();

struct KeptFile {
    // Empty when the bytes could be kept nowhere.
    QString path;
    // A sentence for the status bar and standard error when they are not in the recovery
    // folder; empty when they are.
    QString trouble;
};

// Keeps `bytes` under `current` or the first free of name(0), name(1), ... (see recovery_keep);
// `what` names them in the sentence: "Unsaved text", "3 slider moves".
KeptFile keep_in_recovery(const QString& current, const std::function<std::string(int)>& name,
                          const std::string& bytes, const QString& what);
