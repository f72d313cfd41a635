#pragma once

// Reading and writing the text files users exchange with the program.

#include <QByteArray>
#include <QString>
#include <QList>
#include <QStringView>

#include <optional>

// The whole file as text: UTF-8, a leading byte-order mark dropped, "\r\n"
// read as "\n". None when the file cannot be opened.
std::optional<QString> readTextFile(const QString& path);

// The lines of a text as a line reader gives them: without their "\n", and
// no empty line after a final "\n". The views point into `text`.
QList<QStringView> textLines(const QString& text);

// Writes an export whole through a temporary file, so a failed write leaves
// any older file intact. An empty path (a cancelled dialog) or a failure is
// logged as "FILE_ERR" and returns false.
bool writeExportFile(const QString& path, const QByteArray& bytes);
