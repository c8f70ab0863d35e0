// Registration of the backends built into vireline_d3d. The entry points call it before doing anything
// else; it runs once. A new backend adds its registration call to builtin_backends.cpp.
#pragma once

void d3d_builtin_backends_register();
