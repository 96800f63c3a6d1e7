// The production's soundtrack stream handle.
#include "app/music_channel.h"

Soundtrack::Stream musicChannel = 0;
