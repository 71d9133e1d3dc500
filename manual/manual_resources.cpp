#include "manual_resources.h"

#include <QtCore/qglobal.h>

// Outside any namespace, as the resource's own functions are.
static void InitManualResource() {
    Q_INIT_RESOURCE(raysketcher_manual);
}

namespace rs::manual {

void InitResources() {
    static const bool done = [] {
        InitManualResource();
        return true;
    }();
    (void)done;
}

}  // namespace rs::manual
