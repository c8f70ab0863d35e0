// The program: the demo, from the Settings dialog to Escape.
#include "driver/demo_entry.h"

int main(int argc, char** argv) { return demo_main(argc, argv); }
