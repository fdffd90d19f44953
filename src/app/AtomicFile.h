// Writing a whole file so that a crash or a full disk half-way never destroys the previous copy.
#pragma once

#include <QByteArray>
#include <QString>

namespace app {

// Writes bytes to a temporary file beside path and renames it over path only when every byte
// reached the disk. Returns false (and leaves any old file untouched) on failure.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace app
