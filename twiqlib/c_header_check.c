/* Compiled as C: the public header must stay valid C. */
#include "twiq/twiq.h"

int twiq_c_header_check(void) { return (int)sizeof(TWIQSETTINGS); }
