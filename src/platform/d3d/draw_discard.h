// A program-wide switch of the device layer, beyond the platform's interfaces: while draws are
// discarded, every device's Clear and Draw* calls are checked and answered as usual but change no
// pixel, and nothing reaches a backend. All state (transforms, render and stage states, lights,
// targets, state blocks) is kept exactly as without the switch. The demo's fast-forward runs frames'
// logic this way, so that what comes after sees the same device state as a full run.
#pragma once

void d3d_set_draws_discarded(bool discarded);
bool d3d_draws_discarded();
