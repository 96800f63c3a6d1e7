// The production's soundtrack stream handle.
#include "audio/music_channel.h"

Soundtrack::Stream musicChannel = 0;
