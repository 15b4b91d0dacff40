/* Preloaded into everything an idle daemon starts. It watches the buffer
 * swaps of GLX (our renderer) and EGL (xscreensaver's own hacks) from outside
 * the programs' code and appends one line for each process's first swap to
 * the file named in TOVAREL_SWAP_LOG:
 *   "<program file name> <pid> <ns>"   (monotonic clock, after the swap) */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

typedef struct _XDisplay Display;
typedef unsigned long GLXDrawable;

static void ReportFirstSwap(void) {
  static int reported = 0;
  if (reported) return;
  reported = 1;
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  char exe[512] = "";
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  exe[length > 0 ? length : 0] = '\0';
  const char* name = strrchr(exe, '/') ? strrchr(exe, '/') + 1 : exe;
  const char* log = getenv("TOVAREL_SWAP_LOG");
  if (!log) return;
  const int fd = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return;
  char line[640];
  const int n = snprintf(line, sizeof line, "%s %d %lld\n", name, (int)getpid(),
                         (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
  ssize_t ignored = write(fd, line, (size_t)n);
  (void)ignored;
  close(fd);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static void (*real)(Display*, GLXDrawable) = NULL;
  if (!real) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
  real(display, drawable);
  ReportFirstSwap();
}

unsigned int eglSwapBuffers(void* display, void* surface) {
  static unsigned int (*real)(void*, void*) = NULL;
  if (!real) real = (unsigned int (*)(void*, void*))dlsym(RTLD_NEXT, "eglSwapBuffers");
  const unsigned int result = real(display, surface);
  ReportFirstSwap();
  return result;
}
