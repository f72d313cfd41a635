#pragma once

// A device that is plugged in but may not be opened. On Linux a hidraw node
// belongs to root with mode 0600 unless a udev rule (packaging/linux/) hands
// it to the user at the seat; without one the program would only ever show
// "Disconnected". The connect thread asks after each failed open and the
// main window tells the user why.

#include <QString>

#include <string>

// The README section that says how to install the udev rule.
inline constexpr const char* kRealDeviceSection = "Using a real device";

// The node of the supported device when hidapi lists the device but this
// user may not read and write the node; empty when the device is absent or
// its node is open to this user (an open that failed then has another cause).
std::string deniedDeviceNode();

// When a node that refused this user is worth telling about. The kernel
// announces a new node while it still belongs to root; udev gives it to the
// user at the seat a moment later. So a refusal counts only once udev has
// finished with the node, or, where no udev is heard, when the next timed
// attempt is refused as well; a device that opens before then is never
// reported. Each plug-in is reported once. One per search run.
class DeniedNodeReporter
{
public:
    struct FailedOpen
    {
        std::string deniedNode; // deniedDeviceNode() after the attempt
        bool timed = false; // the attempt followed a timed wait, not an announcement
        bool udevListening = false; // udev runs and its announcements are heard
        bool udevFinished = false; // ... and it has finished with deniedNode
        bool replugged = false; // deniedNode was removed since the previous attempt
    };

    // The node to report after this failed attempt; empty for none.
    std::string afterFailedOpen(const FailedOpen& attempt);

private:
    std::string m_reported; // said already, until the node goes or opens
    std::string m_refusedBefore; // denied at the previous attempt
};

// The one stderr line for a denied node.
QString deniedDeviceLine(const QString& node);

struct DeniedDeviceTexts
{
    QString title;
    QString text;
    QString button;
};

// The box's texts: English for language 1, Chinese for any other value.
DeniedDeviceTexts deniedDeviceTexts(int language, const QString& node);
