// Whether OpenGL draws in software on this machine's processor rather than on a graphics card.
#pragma once

// True for Mesa's llvmpipe and softpipe and the other renderers that name themselves software
// ones; needs a current OpenGL context.
bool renderingInSoftware();
