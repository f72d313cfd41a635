#pragma once

// A device that is plugged in but may not be opened. On Linux a hidraw node
// belongs to root with mode 0600 unless a udev rule (packaging/linux/) hands
// it to the user at the seat; without one the program would only ever show
// "Disconnected". The connect thread asks after each failed open and the
// main window tells the user why.

#include <QString>

#include <chrono>
#include <string>

// The README section that says how to install the udev rule.
inline constexpr const char* kRealDeviceSection = "Using a real device";

// The node of the supported device when hidapi lists the device but this
// user may not read and write the node; empty when the device is absent or
// its node is open to this user (an open that failed then has another cause).
std::string deniedDeviceNode();

// How long a node may refuse this user before the refusal counts whatever
// udev says. udev hands a new node over within a fraction of a second; one
// whose udev never finishes (its announcement came before the program
// listened, a stuck worker, a container udev does not serve) would otherwise
// be refused for ever without a word.
inline constexpr std::chrono::milliseconds kDeniedNodeGrace { 3000 };

// When a node that refused this user is worth telling about. The kernel
// announces a new node while it still belongs to root; udev gives it to the
// user at the seat a moment later. So a refusal counts only once udev has
// finished with the node or the node has refused every attempt for the
// grace since the first; where no udev is heard, when the next timed
// attempt is refused as well. A device that opens before then is never
// reported. Each plug-in is reported once. One per search run.
class DeniedNodeReporter
{
public:
    using Clock = std::chrono::steady_clock;

    struct FailedOpen
    {
        std::string deniedNode; // deniedDeviceNode() after the attempt
        bool timed = false; // the attempt followed a timed wait, not an announcement
        bool udevListening = false; // udev runs and its announcements are heard
        bool udevFinished = false; // ... and it has finished with deniedNode
        bool replugged = false; // deniedNode was removed since the previous attempt
        Clock::time_point when; // when the attempt was made
    };

    explicit DeniedNodeReporter(std::chrono::milliseconds grace = kDeniedNodeGrace);

    // The node to report after this failed attempt; empty for none.
    std::string afterFailedOpen(const FailedOpen& attempt);

    // How long the search may sleep after the last attempt, given the wait
    // it would take otherwise (negative: none): no later than the end of the
    // grace of a refusal still waiting for udev.
    int waitMs(int otherwiseMs, Clock::time_point now) const;

private:
    std::chrono::milliseconds m_grace;
    std::string m_reported; // said already, until the node goes or opens
    std::string m_refusedBefore; // denied at the previous attempt
    Clock::time_point m_refusedSince; // first of the attempts that refused it in a row
    bool m_awaitingUdev = false; // the last refusal waits for udev or the grace
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
