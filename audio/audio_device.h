// The default OpenAL output device with a current context, open for as long as the object lives.
#pragma once

#include <memory>

#include <AL/alc.h>

class AudioDevice {
    struct Opened {
        explicit Opened() = default;
    };

  public:
    // Opens the default output and makes its context current for every thread; nullptr when the
    // machine has no usable output. What the audio back ends print while probing is dropped.
    static std::unique_ptr<AudioDevice> openDefault();

    // Turns OpenAL's own error lines off for the run, unless ALSOFT_LOGLEVEL asks for them: it
    // reads its log level as it first opens a device, and a lost output would otherwise have it
    // print its errors beside the one line the soundtrack module writes. It changes the
    // environment, so call it on the main thread before anything else runs beside it.
    static void quietLibraryLog();

    AudioDevice(Opened, ALCdevice* device);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // False once the device has said it went away (a sound server that ended, a headset
    // unplugged); true where it cannot tell.
    bool connected() const;

    // Opens the default output again in place where OpenAL offers that (ALC_SOFT_reopen_device,
    // found at run time): the context and its sources carry over. False where it does not, or
    // when the default output cannot be opened.
    bool reopen();

    // How long a sample mixed now takes to be heard, in nanoseconds (ALC_SOFT_device_clock); 0
    // where OpenAL cannot tell.
    long long latencyNanoseconds() const;

  private:
    ALCdevice* device_;
    bool tellsDisconnection_ = false;
    ALCcontext* context_ = nullptr;
};
