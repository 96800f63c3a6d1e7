// Which way up the off-screen picture keeps its rows: the way the window keeps them, so that
// drawing in the picture rasterises exactly as drawing on the window does. One implementation per
// kind of OpenGL (picture_rows_desktop.cpp, picture_rows_web.cpp).
#pragma once

// Sets the bound framebuffer's rows the window's way up.
void keepRowsAsTheWindow();
