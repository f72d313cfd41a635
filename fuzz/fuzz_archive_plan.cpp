// The update archive: the input is the downloaded archive, whose central
// directory gives the entry names (walking the name, extra and comment
// sizes it stores); an input that does not start like a zip archive is a
// list of entry names instead, one a line ("/" at the end: a folder, "@" in
// front: a symbolic link). Either way the extraction plan writes only
// inside the target folder, never over the archive, and refuses links.

#include <QBuffer>
#include <QDir>

#include "support.h"
#include "settings/update_core.h"

namespace {

using update_core::ZipEntry;

const QString kRoot = QStringLiteral("/base/UpdateProgram");
const QString kArchive = QStringLiteral("/base/UpdateProgram/update.zip");

QList<ZipEntry> entriesOfNames(const QStringList& names, bool markedLinks)
{
    QList<ZipEntry> entries;
    for (QString name : names) {
        ZipEntry e;
        if (markedLinks && name.startsWith(QLatin1Char('@'))) {
            e.kind = ZipEntry::Kind::SymLink;
            name.remove(0, 1);
        } else if (name.endsWith(QLatin1Char('/'))) {
            e.kind = ZipEntry::Kind::Dir;
        }
        e.name = name;
        entries << e;
    }
    return entries;
}

void checkPlan(const QList<ZipEntry>& entries)
{
    const update_core::ExtractionPlan plan = update_core::planExtraction(entries, kRoot, kArchive);
    if (!plan.ok) {
        FUZZ_CHECK(!plan.refusal.isEmpty() && plan.steps.isEmpty());
        return;
    }
    FUZZ_CHECK(plan.steps.size() <= entries.size());
    for (const ZipEntry& e : entries)
        FUZZ_CHECK(e.kind != ZipEntry::Kind::SymLink);
    for (const update_core::ExtractionStep& step : plan.steps) {
        FUZZ_CHECK(step.path.startsWith(kRoot + QLatin1Char('/')));
        FUZZ_CHECK(QDir::cleanPath(step.path) == step.path);
        FUZZ_CHECK(step.path != kArchive);
        FUZZ_CHECK(!step.path.contains(QChar(0)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content = fuzz::bytes(data, size);
    if (!content.startsWith("PK")) {
        checkPlan(entriesOfNames(QString::fromUtf8(content).split(QLatin1Char('\n')), true));
        return 0;
    }
    QBuffer archive;
    archive.setData(content);
    FUZZ_CHECK(archive.open(QIODevice::ReadOnly));
    const std::optional<QStringList> names = update_core::zipEntryNames(archive);
    if (!names)
        return 0;
    // Each entry takes at least its 46-byte directory header.
    FUZZ_CHECK(names->size() <= content.size() / 46);
    checkPlan(entriesOfNames(*names, false));
    return 0;
}
