// Connecting to the display, patiently where the display is X's; elsewhere there is nothing to do.
#pragma once

// On X, makes sure the patient XOpenDisplay is linked in; called before GLUT opens the display.
void usePatientDisplayConnection();
