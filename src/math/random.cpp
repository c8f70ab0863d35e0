#include "math/random.h"

namespace {
RandomGenerator g_generator;
}

int random_next() { return g_generator.next(); }

void random_reset() { g_generator = RandomGenerator(); }
