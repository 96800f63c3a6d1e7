// Connecting to the X display, patiently.
#pragma once

// Makes sure the patient connection below is linked in; called before GLUT opens the display.
void usePatientDisplayConnection();
