// Entry point of the preloadable simulated device: the environment says what
// is plugged in when the program starts (SIMHID_PLUGGED=1).
#include "simhid.h"

#include <cstdlib>
#include <cstring>

namespace {
struct PreloadSetup
{
    PreloadSetup()
    {
        const char* plugged = std::getenv("SIMHID_PLUGGED");
        if (plugged && std::strcmp(plugged, "1") == 0)
            sim::Engine::instance().plug();
    }
} setup;
}  // namespace
