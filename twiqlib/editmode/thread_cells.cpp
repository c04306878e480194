#include "twiqlib/editmode/thread_cells.h"

namespace twiq {
namespace {

thread_local int32_t t_request = 0;
thread_local int32_t t_response = 0;

}  // namespace

int32_t& ThreadRequest() { return t_request; }
int32_t& ThreadResponse() { return t_response; }

}  // namespace twiq
