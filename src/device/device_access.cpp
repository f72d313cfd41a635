#include "device/device_access.h"

#include "device/hid_device.h"

#include <unistd.h>

#include <cerrno>

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
    return { QStringLiteral("设备权限"),
        QStringLiteral("已找到设备（%1），但当前用户无权打开它。\n\n"
                       "请按 README 中“%2”一节安装 udev 规则，然后重新插入设备。")
            .arg(node, section),
        QStringLiteral("好的") };
}
