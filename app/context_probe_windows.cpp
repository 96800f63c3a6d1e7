// The core context probe on Windows: WGL's context-creation extension, which only a current
// context can look up, asked for a 3.3 core context on a hidden window of its own.
#include "app/context_probe.h"

#include <windows.h>

#include <GL/gl.h>

namespace {

using CreateContextAttribs = HGLRC(WINAPI*)(HDC, HGLRC, const int*);

constexpr int contextMajorVersion = 0x2091; // WGL_CONTEXT_MAJOR_VERSION_ARB
constexpr int contextMinorVersion = 0x2092; // WGL_CONTEXT_MINOR_VERSION_ARB
constexpr int contextProfileMask = 0x9126;  // WGL_CONTEXT_PROFILE_MASK_ARB
constexpr int coreProfileBit = 0x0001;      // WGL_CONTEXT_CORE_PROFILE_BIT_ARB

// A window that is never shown, with a device context set up for OpenGL, closed when it goes.
class ProbeWindow {
  public:
    ProbeWindow() {
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        window_ = CreateWindowA(className, "", WS_OVERLAPPEDWINDOW, 0, 0, 16, 16, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
        device_ = window_ != nullptr ? GetDC(window_) : nullptr;
    }
    ~ProbeWindow() {
        if (device_ != nullptr) {
            ReleaseDC(window_, device_);
        }
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
        UnregisterClassA(className, GetModuleHandleA(nullptr));
    }
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;

    HDC device() const { return device_; }

  private:
    static constexpr const char* className = "OMBRA context probe";
    HWND window_ = nullptr;
    HDC device_ = nullptr;
};

bool choosePixelFormat(HDC device) {
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    wanted.cDepthBits = 16;
    const int format = ChoosePixelFormat(device, &wanted);
    return format != 0 && SetPixelFormat(device, format, &wanted);
}

bool createsCoreContext(HDC device) {
    const HGLRC legacy = wglCreateContext(device);
    if (legacy == nullptr || !wglMakeCurrent(device, legacy)) {
        if (legacy != nullptr) {
            wglDeleteContext(legacy);
        }
        return false;
    }
    const auto create = reinterpret_cast<CreateContextAttribs>(
        reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
    const int wanted[] = {contextMajorVersion, 3, contextMinorVersion, 3, contextProfileMask,
                          coreProfileBit,      0};
    const HGLRC core = create != nullptr ? create(device, nullptr, wanted) : nullptr;
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(legacy);
    if (core == nullptr) {
        return false;
    }
    wglDeleteContext(core);
    return true;
}

} // namespace

bool coreContextCreated() {
    const ProbeWindow window;
    return window.device() != nullptr && choosePixelFormat(window.device()) &&
           createsCoreContext(window.device());
}

bool coreContextOffered() {
    return coreContextCreated();
}
