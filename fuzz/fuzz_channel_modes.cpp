// The channel-mode file: the input is its content at start-up. Every
// "key:value" pair read is kept, the file the start rewrites holds exactly
// those pairs one per line, and the next start reads the same map.

#include <QMap>

#include "support.h"
#include "store/channel_modes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = channelModeFilePath();
    fuzz::putFile(path, fuzz::bytes(data, size));
    loadConfig();
    const QMap<int, int> read = m_configMap;
    for (auto it = read.cbegin(); it != read.cend(); ++it)
        FUZZ_CHECK(getConfig(it.key()) == it.value());

    QByteArray lines;
    for (auto it = read.cbegin(); it != read.cend(); ++it)
        lines += QByteArray::number(it.key()) + ':' + QByteArray::number(it.value()) + '\n';
    FUZZ_CHECK(fuzz::fileBytes(path) == lines);

    m_configMap.clear();
    loadConfig();
    FUZZ_CHECK(m_configMap == read);
    return 0;
}
