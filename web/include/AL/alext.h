/* OpenAL's extension names for the browser build: Emscripten's OpenAL ships al.h and alc.h
 * alone. These are the few names the audio module looks up at run time; Emscripten's OpenAL
 * offers none of those extensions, so the module finds them absent and goes without. */
#pragma once

#include <stdint.h>

#include <AL/al.h>
#include <AL/alc.h>

#ifndef AL_APIENTRY
#define AL_APIENTRY
#endif
#ifndef ALC_APIENTRY
#define ALC_APIENTRY
#endif

/* ALC_EXT_disconnect */
#define ALC_CONNECTED 0x313

/* AL_SOFT_source_latency */
#define AL_SAMPLE_OFFSET_LATENCY_SOFT 0x1200
typedef int64_t ALint64SOFT;
typedef void(AL_APIENTRY* LPALGETSOURCEI64VSOFT)(ALuint, ALenum, ALint64SOFT*);

/* ALC_SOFT_device_clock */
#define ALC_DEVICE_LATENCY_SOFT 0x1601
typedef int64_t ALCint64SOFT;
