// The twelve demo parts of the timeline and the drawing routines they share. Every part takes the
// frame delta in seconds and the demo time in ticks of 1/30 s, and returns true while it runs and
// false in the one call in which it has ended. A part first adds dt × 30 to its own clock; in its
// ending call it returns at once, drawing and presenting nothing; otherwise it advances its animation,
// draws only inside a successful begin_scene, and always ends the frame with end_frame. Each part keeps
// its clocks, angles and one-shot flags to itself, and leaves its device states to the part after it.
#pragma once

bool demo_part_1(float dt, float demo_time);   // the outous scene, the blob, the credits, the logo
bool demo_part_2(float dt, float demo_time);   // the echo shells and the spinning logo; ends on the demo time
bool demo_part_3(float dt, float demo_time);   // "vireline.jpg" out of white
bool demo_part_4(float dt, float demo_time);   // the title with the shard ring, into white
bool demo_part_5(float dt, float demo_time);   // the canyon in two takes with the tunnel
bool demo_part_6(float dt, float demo_time);   // the altars with the water ("allas.jpg")
bool demo_part_7(float dt, float demo_time);   // "kald.jpg" out of white
bool demo_part_8(float dt, float demo_time);   // the greetings over the spiral sculpture
bool demo_part_9(float dt, float demo_time);   // the altars with the water ("vireline.jpg"), into white
bool demo_part_10(float dt, float demo_time);  // the repelled box through motion blur
bool demo_part_11(float dt, float demo_time);  // "orv.jpg" out of white
bool demo_part_12(float dt, float demo_time);  // the live canyon picture on the planet; never ends

// The current credits picture in the lower-left corner, fading in over its seventh of span ticks.
void draw_credits_overlay(float dt, float span);
// The logo sprite with "kestra2.jpg" at opacity alpha, under the caller's transforms.
void draw_logo(float alpha);
// "greets.jpg" over the right half of the screen, its top edge 1 − time / span screen heights down.
void draw_greetings(float time, float span);
