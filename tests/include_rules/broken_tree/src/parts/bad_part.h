// A demo part that reaches into the framework.
#include "framework/application.h"
#include "effects/soft_blob.h"
