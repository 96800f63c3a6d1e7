// Opening, reopening and closing the default OpenAL output.
#include "audio/audio_device.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <AL/alext.h>

#include "audio/platform_files.h"

namespace {

// Points the process's stderr at the null device for as long as it lives. Probing for an output on
// a machine without one makes the sound back ends print a screenful of errors; the production then
// simply plays silently, so they say nothing the user needs.
class StderrMuted {
  public:
    StderrMuted() {
        std::fflush(stderr);
        const int sink = openNullDevice();
        saved_ = sink < 0 ? -1 : ::dup(STDERR_FILENO);
        if (saved_ >= 0) {
            ::dup2(sink, STDERR_FILENO);
        }
        if (sink >= 0) {
            ::close(sink);
        }
    }
    ~StderrMuted() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    StderrMuted(const StderrMuted&) = delete;
    StderrMuted& operator=(const StderrMuted&) = delete;

  private:
    int saved_;
};

// alcReopenDeviceSOFT, which OpenAL Soft's headers declare only from 1.22 on; and
// alcGetInteger64vSOFT, found at run time like it.
using ReopenDevice = ALCboolean(ALC_APIENTRY*)(ALCdevice*, const ALCchar*, const ALCint*);
using GetInteger64 = void(ALC_APIENTRY*)(ALCdevice*, ALCenum, ALCsizei, ALCint64SOFT*);

ALCdevice* openQuietly() {
    const StderrMuted muted;
    return alcOpenDevice(nullptr);
}

} // namespace

std::unique_ptr<AudioDevice> AudioDevice::openDefault() {
    ALCdevice* const device = openQuietly();
    if (!device) {
        return nullptr;
    }
    auto output = std::make_unique<AudioDevice>(Opened{}, device);
    output->context_ = alcCreateContext(device, nullptr);
    if (!output->context_ || alcMakeContextCurrent(output->context_) != ALC_TRUE) {
        return nullptr;
    }
    output->tellsDisconnection_ = alcIsExtensionPresent(device, "ALC_EXT_disconnect") == ALC_TRUE;
    return output;
}

void AudioDevice::quietLibraryLog() {
    static char noLog[] = "ALSOFT_LOGLEVEL=0";
    if (!std::getenv("ALSOFT_LOGLEVEL")) {
        putenv(noLog);
    }
}

AudioDevice::AudioDevice(Opened, ALCdevice* device) : device_(device) {}

AudioDevice::~AudioDevice() {
    if (context_) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    alcCloseDevice(device_);
}

bool AudioDevice::connected() const {
    ALCint connected = ALC_TRUE;
    if (tellsDisconnection_) {
        alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
    }
    return connected != ALC_FALSE;
}

bool AudioDevice::reopen() {
    if (alcIsExtensionPresent(device_, "ALC_SOFT_reopen_device") != ALC_TRUE) {
        return false;
    }
    const auto reopenDevice =
        reinterpret_cast<ReopenDevice>(alcGetProcAddress(device_, "alcReopenDeviceSOFT"));
    const StderrMuted muted;
    return reopenDevice && reopenDevice(device_, nullptr, nullptr) == ALC_TRUE;
}

long long AudioDevice::latencyNanoseconds() const {
    if (alcIsExtensionPresent(device_, "ALC_SOFT_device_clock") != ALC_TRUE) {
        return 0;
    }
    const auto getInteger64 =
        reinterpret_cast<GetInteger64>(alcGetProcAddress(device_, "alcGetInteger64vSOFT"));
    ALCint64SOFT latency = 0;
    if (getInteger64) {
        getInteger64(device_, ALC_DEVICE_LATENCY_SOFT, 1, &latency);
    }
    return latency > 0 ? latency : 0;
}
