#pragma once

#include <QString>

// Unpacks the zip archive `fileName` into `dirPath` (made when missing), entry
// by entry. An archive with an absolute entry, a symbolic link or a name that
// leads out of `dirPath` is refused as a whole before anything is written;
// nothing is ever written outside `dirPath`. True when every entry was written.
bool zipReader(QString fileName, QString dirPath);
