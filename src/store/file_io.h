#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes shared by every store file. Writes go through a
// temporary file that replaces the old one only once it is complete, so a
// crash or a full disk never leaves half a file behind.
namespace store {

// Bounded retry count for opens that must not give up at the first failure.
constexpr int kOpenAttempts = 3;

bool readFile(const QString& path, QByteArray* data, int attempts = 1);
bool writeFile(const QString& path, const QByteArray& data, int attempts = 1);

// The file at `path` could not be understood: before it is next replaced,
// its content is kept beside it as "<path>.bad" so the user can recover it.
void keepBadCopyBeforeNextWrite(const QString& path);

// A write cut short (the program killed, the machine off) leaves its
// temporary beside the file as "<name>.XXXXXX"; nothing ever reads it, so a
// start clears such leftovers of the file at `path` away.
void removeLeftoverTemporaries(const QString& path);

} // namespace store
