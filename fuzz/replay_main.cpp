// Replays committed corpora through a harness without libFuzzer, so the test
// build runs every kept input under its own sanitizers in seconds. Arguments:
// corpus folders or single input files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool replay(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray input = f.readAll();
    // A buffer of exactly the input's size, as libFuzzer hands over, so a
    // read past its end is seen.
    std::vector<uint8_t> exact(input.begin(), input.end());
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        QStringList files;
        if (QFileInfo(arg).isDir()) {
            for (const QString& name : QDir(arg).entryList(QDir::Files, QDir::Name))
                files << QDir(arg).filePath(name);
        } else {
            files << arg;
        }
        if (files.isEmpty()) {
            std::fprintf(stderr, "no input in %s\n", qPrintable(arg));
            return 1;
        }
        for (const QString& file : files) {
            if (!replay(file))
                return 1;
            ++inputs;
        }
    }
    std::printf("replayed %d inputs\n", inputs);
    return inputs > 0 ? 0 : 1;
}
