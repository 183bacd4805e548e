// Writing a file so that a failed write never destroys the file that was there.
#pragma once

#include <QString>
#include <string>

// Writes `bytes` to a temporary file beside `path` that replaces it only when complete.
bool write_file_replacing(const QString& path, const std::string& bytes);
