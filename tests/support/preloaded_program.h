#pragma once

// The built program with the simulated device preloaded, for the black-box
// tests: a copy of it in a directory of its own (it keeps its files beside
// itself) and the environment it runs in. SIMHID_* variables added to the
// environment say what is plugged in.

#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// The copy's path, or an empty string when it could not be made.
inline QString copyOfProgram(const QTemporaryDir& dir)
{
    const QString program = dir.filePath("QuorvelVesk");
    return QFile::copy(PROGRAM_PATH, program) ? program : QString();
}

inline QProcessEnvironment preloadedProgramEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", SIMHID_PRELOAD_PATH);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // Both the program and the preloaded device carry the sanitizer runtime.
    env.insert(
        "ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0:verify_asan_link_order=0");
    return env;
}
