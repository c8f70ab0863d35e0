// Deterministic procedural noise for the content generator: a hashed integer lattice (no tables, no
// global state, the same values on every run), gradient noise in two and three dimensions with an
// optional period for pictures that must tile, fractal sums (fbm and ridged), domain warping and
// cellular (Worley) distances. Everything is plain float arithmetic in a fixed order.
#pragma once

#include <cstdint>

std::uint32_t noise_hash(std::uint32_t x);
std::uint32_t noise_hash2(int x, int y, std::uint32_t seed);
std::uint32_t noise_hash3(int x, int y, int z, std::uint32_t seed);
// A value in [0, 1) from a hash.
float noise_unit(std::uint32_t h);

// Gradient noise in about [-1, 1]. period > 0 makes the lattice repeat every `period` cells.
float gradient_noise2(float x, float y, std::uint32_t seed, int period = 0);
// The same with separate periods along x and y (0: no repeat along that axis).
float gradient_noise2_periods(float x, float y, std::uint32_t seed, int period_x, int period_y);
float gradient_noise3(float x, float y, float z, std::uint32_t seed);

// Fractal sums of `octaves` layers, each twice the frequency and half the amplitude (gain) of the one
// before; normalised to about [-1, 1]. A period repeats with the first octave's lattice.
float fbm2(float x, float y, std::uint32_t seed, int octaves, float gain = 0.5f, int period = 0);
float fbm3(float x, float y, float z, std::uint32_t seed, int octaves, float gain = 0.5f);
// fbm repeating every period_x cells along x and period_y along y (at the first octave's scale).
float fbm2_periods(float x, float y, std::uint32_t seed, int octaves, int period_x, int period_y);
// Ridged fractal sum in [0, 1]: sharp crests where the noise crosses zero.
float ridged2(float x, float y, std::uint32_t seed, int octaves, int period = 0);

// fbm of a domain pushed around by two further fbm fields (strength in input units).
float warped_fbm2(float x, float y, std::uint32_t seed, int octaves, float strength, int period = 0);

// Distances to the nearest and second-nearest feature point of a jittered grid (one point a cell).
struct CellDistance {
    float nearest = 0.0f;
    float second = 0.0f;
    std::uint32_t id = 0;  // hash of the nearest point's cell
};
CellDistance cellular2(float x, float y, std::uint32_t seed, int period = 0);
