#include "device/device_access.h"

#include "device/hid_device.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

std::string deniedDeviceNode()
{
    std::string node;
    hid_device_info* devices = hid_enumerate(QV_VENDOR_ID, QV_PRODUCT_ID);
    // hid_open takes the first listed node, so that is the one that failed.
    const hid_device_info* first = devices;
    while (first && (!first->path || !*first->path))
        first = first->next;
    // Any other failure (the node not made yet, gone again) is no matter of rights.
    if (first && access(first->path, R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM))
        node = first->path;
    hid_free_enumeration(devices);
    return node;
}

DeniedNodeReporter::DeniedNodeReporter(std::chrono::milliseconds grace)
    : m_grace(grace)
{
}

std::string DeniedNodeReporter::afterFailedOpen(const FailedOpen& attempt)
{
    std::string before = std::exchange(m_refusedBefore, attempt.deniedNode);
    m_awaitingUdev = false;
    if (attempt.replugged) {
        m_reported.clear(); // a new plug-in, though no attempt saw the node gone
        before.clear();
    }
    if (attempt.deniedNode.empty()) {
        m_reported.clear(); // gone (or no matter of rights): the next plug-in is news
        return {};
    }
    if (before != attempt.deniedNode)
        m_refusedSince = attempt.when;
    if (attempt.deniedNode == m_reported)
        return {};
    bool settled = false;
    if (attempt.udevListening) {
        settled = attempt.udevFinished || attempt.when - m_refusedSince >= m_grace;
        m_awaitingUdev = !settled;
    } else {
        settled = attempt.timed && before == attempt.deniedNode;
    }
    if (!settled)
        return {};
    m_reported = attempt.deniedNode;
    return m_reported;
}

int DeniedNodeReporter::waitMs(int otherwiseMs, Clock::time_point now) const
{
    if (!m_awaitingUdev)
        return otherwiseMs;
    // Rounded up, so the attempt at the end finds the grace over.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_refusedSince + m_grace - now);
    const int ms
        = int(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, m_grace.count()));
    return otherwiseMs < 0 ? ms : std::min(otherwiseMs, ms);
}

QString deniedDeviceLine(const QString& node)
{
    return QStringLiteral(
        "Device found at %1, but this user may not read and write it; see \"%2\" in "
        "README.md")
        .arg(node, QLatin1String(kRealDeviceSection));
}

DeniedDeviceTexts deniedDeviceTexts(int language, const QString& node)
{
    const QString section = QLatin1String(kRealDeviceSection);
    if (language == 1)
        return { QStringLiteral("Device access"),
            QStringLiteral("The device was found (%1), but this user may not open it.\n\n"
                           "Install the udev rule as the README's section \"%2\" describes, "
                           "then plug the device in again.")
                .arg(node, section),
            QStringLiteral("OK") };
    // Only characters the embedded font's subset holds.
    return { QStringLiteral("提醒"),
        QStringLiteral("已找到设备（%1），当前用户无法打开。\n\n"
                       "请读 README 中“%2”一段，设置 udev 后重新连接设备。")
            .arg(node, section),
        QStringLiteral("好的") };
}
