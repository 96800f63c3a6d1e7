// Connecting to the display, patiently where the display is X's; elsewhere there is nothing to do.
#pragma once

struct _XDisplay; // Xlib's Display

// On X, makes sure the patient XOpenDisplay is linked in; called before GLUT opens the display.
void usePatientDisplayConnection();

// The connection opened last through it (GLUT's, once GLUT is initialised), or null: where there
// is no X, or none has opened.
_XDisplay* lastOpenedDisplay();
