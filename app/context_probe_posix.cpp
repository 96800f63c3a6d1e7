// The core context probe on X, over the connection GLUT opened: Mesa's renderer query where it
// answers (no context made: nothing but the driver GLUT loads anyway), else GLX's
// context-creation extension asked for a 3.3 core context on a double-buffered RGBA
// configuration with depth, the kind of surface the demo opens.
#include "app/context_probe.h"

#include <GL/glx.h>
#include <GL/glxext.h>
#include <X11/Xlib.h>

#include "app/display_connection.h"
#include "gfx/context_version.h"

namespace {

using CreateContextAttribs = GLXContext (*)(Display*, GLXFBConfig, GLXContext, Bool, const int*);

constexpr int contextMajorVersion = 0x2091; // GLX_CONTEXT_MAJOR_VERSION_ARB
constexpr int contextMinorVersion = 0x2092; // GLX_CONTEXT_MINOR_VERSION_ARB
constexpr int contextProfileMask = 0x9126;  // GLX_CONTEXT_PROFILE_MASK_ARB
constexpr int coreProfileBit = 0x0001;      // GLX_CONTEXT_CORE_PROFILE_BIT_ARB

// A refused context arrives as an X error, which would otherwise end the program.
bool refused = false;
int noteRefusal(Display*, XErrorEvent*) {
    refused = true;
    return 0;
}

bool createsCoreContext(Display* display) {
    const auto create = reinterpret_cast<CreateContextAttribs>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCreateContextAttribsARB")));
    const int surface[] = {
        GLX_RENDER_TYPE, GLX_RGBA_BIT, GLX_DOUBLEBUFFER, True, GLX_DEPTH_SIZE, 1, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), surface, &count);
    if (create == nullptr || configs == nullptr || count == 0) {
        if (configs != nullptr) {
            XFree(configs);
        }
        return false;
    }
    const int wanted[] = {contextMajorVersion, 3,   contextMinorVersion, 3, contextProfileMask,
                          coreProfileBit,      None};
    refused = false;
    XSync(display, False);
    const auto previous = XSetErrorHandler(noteRefusal);
    const GLXContext context = create(display, configs[0], nullptr, True, wanted);
    XSync(display, False);
    XSetErrorHandler(previous);
    XFree(configs);
    if (context == nullptr) {
        return false;
    }
    glXDestroyContext(display, context);
    return !refused;
}

// Mesa tells the highest core version it gives without a context being made; a reading of 0.0
// means none.
bool mesaOffersCoreContext(Display* display) {
    const auto query = reinterpret_cast<PFNGLXQUERYRENDERERINTEGERMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    unsigned int version[3] = {0, 0, 0};
    if (query == nullptr || !query(display, DefaultScreen(display), 0,
                                   GLX_RENDERER_OPENGL_CORE_PROFILE_VERSION_MESA, version)) {
        return false;
    }
    return version[0] > 3 || (version[0] == 3 && version[1] >= 3);
}

} // namespace

bool coreContextOffered() {
    Display* display = lastOpenedDisplay();
    if (display == nullptr) {
        return false;
    }
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (!gfx::listsExtension(extensions, "GLX_ARB_create_context_profile")) {
        return false;
    }
    if (gfx::listsExtension(extensions, "GLX_MESA_query_renderer")) {
        return mesaOffersCoreContext(display);
    }
    return createsCoreContext(display);
}

bool coreContextCreated() {
    Display* display = lastOpenedDisplay();
    return display != nullptr && createsCoreContext(display);
}
