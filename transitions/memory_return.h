// Handing memory freed in bulk back to the operating system at once, so that what an outro's
// particles took does not stay with the process after the outro ends.
#pragma once

void returnFreedMemory();
