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

    AudioDevice(Opened, ALCdevice* device);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

  private:
    ALCdevice* device_;
    ALCcontext* context_ = nullptr;
};
