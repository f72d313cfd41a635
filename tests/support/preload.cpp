// Entry point of the preloadable simulated device: the environment says what
// is plugged in when the program starts (SIMHID_PLUGGED=1) and which device
// model answers (SIMHID_MODEL=A, B, C or unknown), and whether this user may
// open its node (SIMHID_DENIED=1: no). SIMHID_UDEV_STUCK=1 plays a system
// whose udev never finishes with a new node (a stuck worker, a container it
// does not serve): every plug-in, the one at start included, is announced by
// the kernel only and its node stays root's, closed to this user. A model
// sends its keep-alive once a second while the device is plugged.
//
// For trying the program by hand, SIMHID_CONTROL names a file that is read
// once a second and then removed; each line is one step: "unplug", "plug",
// "plug-late" (a plug-in as a real system makes it: the node appears at once
// but belongs to root until udev has applied its rules, about 150 ms later),
// or "frame <command in hex> <data>" (a report the device sends).
#include "sim_models.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

// How long udev takes over a new node after the kernel has announced it.
constexpr std::chrono::milliseconds kUdevDelay { 150 };

bool isOne(const char* value) { return value && std::strcmp(value, "1") == 0; }

// SIMHID_UDEV_STUCK=1: udev never finishes with a plugged node.
bool udevStuck() { return isOne(std::getenv("SIMHID_UDEV_STUCK")); }

// A plug-in, ready at once unless udev is stuck.
void plug(sim::Engine& e)
{
    if (udevStuck())
        e.plugLate();
    else
        e.plug();
}

void runControlFile(const char* path)
{
    std::ifstream in(path);
    if (!in)
        return;
    std::remove(path);
    sim::Engine& e = sim::Engine::instance();
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string step;
        words >> step;
        if (step == "unplug") {
            e.unplug();
        } else if (step == "plug") {
            plug(e);
        } else if (step == "plug-late") {
            e.plugLate();
            if (!udevStuck()) {
                std::this_thread::sleep_for(kUdevDelay);
                e.finishUdev();
            }
        } else if (step == "frame") {
            uint32_t command = 0;
            int32_t data = 0;
            if (words >> std::hex >> command >> std::dec >> data)
                e.queueFrame(command, data);
        }
    }
}

struct PreloadSetup
{
    PreloadSetup()
    {
        sim::Engine& engine = sim::Engine::instance();
        if (const char* name = std::getenv("SIMHID_MODEL")) {
            if (auto model = sim::makeModel(name)) {
                engine.setModel(model);
                const char* control = std::getenv("SIMHID_CONTROL");
                // Detached: it only ever touches the engine, which is never destroyed.
                std::thread([model, control] {
                    for (;;) {
                        std::this_thread::sleep_for(std::chrono::seconds(1));
                        sim::Engine& e = sim::Engine::instance();
                        if (control)
                            runControlFile(control);
                        if (e.plugged() && e.openHandles() > 0)
                            model->tick(e);
                    }
                }).detach();
            }
        }
        engine.setDenied(isOne(std::getenv("SIMHID_DENIED")));
        if (isOne(std::getenv("SIMHID_PLUGGED")))
            plug(engine);
    }
} setup;

} // namespace
