#include "widgets/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerResources() { Q_INIT_RESOURCE(resources); }

void initResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerResources();
}
