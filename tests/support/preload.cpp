// Entry point of the preloadable simulated device: the environment says what
// is plugged in when the program starts (SIMHID_PLUGGED=1) and which device
// model answers (SIMHID_MODEL=A, B, C or unknown), and whether this user may
// open its node (SIMHID_DENIED=1: no). A model sends its keep-alive once a
// second while the device is plugged.
#include "sim_models.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {
bool isOne(const char* value) { return value && std::strcmp(value, "1") == 0; }

struct PreloadSetup
{
    PreloadSetup()
    {
        sim::Engine& engine = sim::Engine::instance();
        if (const char* name = std::getenv("SIMHID_MODEL")) {
            if (auto model = sim::makeModel(name)) {
                engine.setModel(model);
                // Detached: it only ever touches the engine, which is never destroyed.
                std::thread([model] {
                    for (;;) {
                        std::this_thread::sleep_for(std::chrono::seconds(1));
                        sim::Engine& e = sim::Engine::instance();
                        if (e.plugged() && e.openHandles() > 0)
                            model->tick(e);
                    }
                }).detach();
            }
        }
        engine.setDenied(isOne(std::getenv("SIMHID_DENIED")));
        if (isOne(std::getenv("SIMHID_PLUGGED")))
            engine.plug();
    }
} setup;
}  // namespace
