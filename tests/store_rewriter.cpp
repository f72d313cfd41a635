// Rewrites the store files through the store's own calls until it is
// killed. Arguments: the data folder and a log file; with the data folder
// alone it only does what a start of the program does with the files.
// After each completed step it appends "<step>\n" to the log in one write,
// and it resumes after the last step the log names, so a run that is killed
// and started again walks on where it stopped.

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include "store_steps.h"

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) { }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: store_rewriter <data folder> [<log file>]\n");
        return 2;
    }
    qInstallMessageHandler(quiet);
    setAppDataDirForTesting(QFile::decodeName(argv[1]));
    store_steps::start();
    if (argc == 2)
        return 0;

    const QString logPath = QFile::decodeName(argv[2]);
    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return 1;
    for (int step = store_steps::lastLoggedStep(logPath) + 1;; ++step) {
        store_steps::run(step);
        const QByteArray line = QByteArray::number(step) + '\n';
        if (log.write(line) != line.size())
            return 1;
    }
}
