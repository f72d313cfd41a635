#include "support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "store/paths.h"

namespace {

// The readers log every odd field; printing them would cost more than the
// reading and bury the one line that matters.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

namespace fuzz {

void fail(const char* file, int line, const char* condition)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QString dataDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/qv-fuzz-XXXXXX"));
    static const bool made
        = dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("Workspace_Config"));
    if (!made)
        fail(__FILE__, __LINE__, "temporary data folder");
    return dir.path();
}

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail(__FILE__, __LINE__, qPrintable(QStringLiteral("cannot write ") + path));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool sameDouble(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

} // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qInstallMessageHandler(quietHandler);
    static QCoreApplication app(*argc, *argv);
    setAppDataDirForTesting(fuzz::dataDir());
    return 0;
}
