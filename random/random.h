// The program's own random sequence: the same numbers on every platform, equal to those of the
// GNU C library's rand() and srand(), so the production looks the same wherever it runs.
#pragma once

namespace Random {

// The largest number draw() returns.
constexpr int maximum = 2147483647;

// Restarts the sequence from `seed`; 0 acts as 1, and a sequence never seeded starts as seed 1.
void seed(unsigned int seed);

// The next number of the sequence, from 0 to maximum. Not thread-safe: every draw of the
// production is made on the program's thread, in a fixed order.
int draw();

} // namespace Random
