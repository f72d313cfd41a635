#pragma once

// Whole-file reads and writes for tests that check or prepare files.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// The file's bytes, empty when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file with `bytes`; fails the running test when it cannot.
inline void putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}
