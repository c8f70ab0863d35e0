// The program's entry flow: the command line, the data folder, the application (Settings dialog,
// window, device, motion-blur target), the two loading steps, the music, the frame timer, the frame
// loop, and the shutdown in the fixed order (scenes, textures, audio, application). Returns the
// process's exit status: 0 after a run, also when the framework could not start (it has said why),
// 2 for a malformed command line.
#pragma once

int demo_main(int argc, char** argv);
