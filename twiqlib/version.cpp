// The library's version, for hosts that want to report it.
#include "twiq/twiq.h"

extern "C" __attribute__((visibility("default"))) const char* twiq_version(void) { return "0.1.0"; }
