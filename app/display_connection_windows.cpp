// Windows draws through the system's own window manager: no display connection to wait for.
#include "app/display_connection.h"

void usePatientDisplayConnection() {}

_XDisplay* lastOpenedDisplay() {
    return nullptr;
}
