#pragma once

// Shared by every harness: a check that stops the run and says what failed
// (libFuzzer then keeps the input), and a scratch folder for the harnesses
// that read and write through the program's own file calls.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzz::fail(__FILE__, __LINE__, #condition);                                            \
    } while (false)

namespace fuzz {

[[noreturn]] void fail(const char* file, int line, const char* condition);

// A copy of the input that owns its bytes.
QByteArray bytes(const uint8_t* data, size_t size);

// The program's data folder for this process: a fresh folder under TMPDIR
// (scripts/fuzz points that at memory), with Workspace_Config in it.
QString dataDir();

// The file's whole content; writing fails the run when the file cannot be
// written, since the harness must feed the reader exactly these bytes.
void putFile(const QString& path, const QByteArray& bytes);
QByteArray fileBytes(const QString& path);

// Same value, or both not numbers.
bool sameDouble(double a, double b);

} // namespace fuzz
