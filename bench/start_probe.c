/* Stands in for the renderer in the start-up benchmark: notes the moment it
 * was started (CLOCK_MONOTONIC, in the file $TOVAREL_START_FILE), then
 * becomes the real renderer ($TOVAREL_REAL_RENDERER). */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
  (void)argc;
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const char* file = getenv("TOVAREL_START_FILE");
  if (file) {
    FILE* out = fopen(file, "w");
    if (out) {
      fprintf(out, "%.3f\n", now.tv_sec * 1e3 + now.tv_nsec / 1e6);
      fclose(out);
    }
  }
  const char* real = getenv("TOVAREL_REAL_RENDERER");
  if (!real) return 1;
  argv[0] = (char*)real;
  execv(real, argv);
  return 127;
}
