// Desktop entry point. The window front end arrives with the Qt toolkit; until
// then the program only identifies itself.
#include <cstdio>
#include "tonalyx_version.h"

int main() {
  std::printf("Tonalyx %s\n", TONALYX_VERSION);
  return 0;
}
