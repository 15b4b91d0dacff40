/* Preloaded into a program under measurement. It watches glXSwapBuffers
 * from outside the program's code and reports to the file descriptor in
 * TOVAREL_PROBE_FD:
 *   "first <ns>"                  after the first swap returns (monotonic clock)
 *   "frames <n> cpu <ns> rss <kb>" after TOVAREL_PROBE_FRAMES more frames
 * and then ends the process. TOVAREL_PROBE_NO_SLEEP=1 turns nanosleep into
 * nothing, so frames run as fast as drawing allows. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

typedef struct _XDisplay Display;
typedef unsigned long GLXDrawable;

static long long Now(clockid_t clock) {
  struct timespec ts;
  clock_gettime(clock, &ts);
  return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static int EnvInt(const char* name, int fallback) {
  const char* value = getenv(name);
  return value && *value ? atoi(value) : fallback;
}

static void Report(const char* text) {
  const int fd = EnvInt("TOVAREL_PROBE_FD", -1);
  if (fd >= 0) {
    ssize_t ignored = write(fd, text, strlen(text));
    (void)ignored;
  }
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static void (*real)(Display*, GLXDrawable) = NULL;
  static long frame = 0;
  static long long cpuStart = 0;
  if (!real) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
  real(display, drawable);
  ++frame;
  char line[160];
  const int warmup = EnvInt("TOVAREL_PROBE_WARMUP", 20);
  const int frames = EnvInt("TOVAREL_PROBE_FRAMES", 0);
  if (frame == 1) {
    snprintf(line, sizeof line, "first %lld\n", Now(CLOCK_MONOTONIC));
    Report(line);
    if (frames <= 0) _exit(0);
  }
  if (frame == warmup) cpuStart = Now(CLOCK_PROCESS_CPUTIME_ID);
  if (frames > 0 && frame == warmup + frames) {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    snprintf(line, sizeof line, "frames %d cpu %lld rss %ld\n", frames, Now(CLOCK_PROCESS_CPUTIME_ID) - cpuStart,
             usage.ru_maxrss);
    Report(line);
    _exit(0);
  }
}

int nanosleep(const struct timespec* wanted, struct timespec* left) {
  static int (*real)(const struct timespec*, struct timespec*) = NULL;
  if (EnvInt("TOVAREL_PROBE_NO_SLEEP", 0)) return 0;
  if (!real) real = (int (*)(const struct timespec*, struct timespec*))dlsym(RTLD_NEXT, "nanosleep");
  return real(wanted, left);
}
