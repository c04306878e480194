// twiqdemo: the demonstration host of the Twiq library (placeholder until the runtime lands).
#include <cstdio>

int main() {
  std::puts("twiqdemo: the runtime is not built yet");
  return 0;
}
