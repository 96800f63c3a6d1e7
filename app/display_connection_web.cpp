// Connecting to the display in the browser: the page's canvas is always there.
#include "app/display_connection.h"

void usePatientDisplayConnection() {}

_XDisplay* lastOpenedDisplay() {
    return nullptr;
}
