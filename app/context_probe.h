// Whether the display gives an OpenGL 3.3 core context, asked before GLUT asks for one: GLUT ends
// the program when the context it asked for is refused, so it asks only where the answer is yes.
#pragma once

// Tries a 3.3 core context and destroys it again, on GLUT's own display connection where there is
// one (so that the driver is loaded once); false wherever the platform has no such context or the
// driver refuses it. Called after glutInit.
bool coreContextOffered();

// The answer the slow way, by making a 3.3 core context and destroying it: what drivers that
// can't tell their versions beforehand get (on Windows, always).
bool coreContextCreated();
