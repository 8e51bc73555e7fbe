/* Preloaded into the program by the write-fault tests: every file opened for writing under
 * QUOVA_FAULT_ROOT is counted, and from the QUOVA_FAULT_AT-th open on, the file it opened
 * behaves like a file on a full disk whenever it is opened for writing: it opens, takes
 * QUOVA_FAULT_BYTES bytes in all (default 0), then every write fails with ENOSPC.
 * QUOVA_FAULT_TRACE names a file that gets "<count> <path>" for every such open, and
 * "refused" once a write was refused. Files opened with open() fail in write(); files opened
 * with fopen() write to /dev/full (counted as refused when opened). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/uio.h>
#include <unistd.h>

static int counter;
static char faultyPath[8192]; /* the file on the full disk, once chosen */
static long faultyFd = -1;    /* its fd while open, or -1 */
static long bytesLeft = -1;   /* what it still takes (-1: not yet set) */

static int underRoot(const char* path, char* full, size_t size) {
  const char* root = getenv("QUOVA_FAULT_ROOT");
  if (!root || !path) return 0;
  if (path[0] == '/') snprintf(full, size, "%s", path);
  else {
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return 0;
    snprintf(full, size, "%s/%s", cwd, path);
  }
  return strncmp(full, root, strlen(root)) == 0;
}

static void traceLine(const char* text) {
  const char* trace = getenv("QUOVA_FAULT_TRACE");
  if (!trace) return;
  static int (*realOpen)(const char*, int, ...);
  if (!realOpen) realOpen = dlsym(RTLD_NEXT, "open");
  int fd = realOpen(trace, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  if (write(fd, text, strlen(text)) < 0) { /* a trace line lost */ }
  close(fd);
}

static void refused(void) {
  static int said;
  if (!said) traceLine("refused\n");
  said = 1;
}

/* Counts a write open; true when this one is to fail. */
static int counted(const char* path) {
  char full[8192];
  if (!underRoot(path, full, sizeof full)) return 0;
  int n = __atomic_add_fetch(&counter, 1, __ATOMIC_SEQ_CST);
  char line[8300];
  snprintf(line, sizeof line, "%d %s\n", n, full);
  traceLine(line);
  const char* at = getenv("QUOVA_FAULT_AT");
  if (at && atoi(at) == n) snprintf(faultyPath, sizeof faultyPath, "%s", full);
  return faultyPath[0] && strcmp(full, faultyPath) == 0;
}

static int opened(int fd, const char* path, int flags) {
  if (fd >= 0 && (flags & O_ACCMODE) != O_RDONLY && counted(path)) {
    const char* b = getenv("QUOVA_FAULT_BYTES");
    if (bytesLeft < 0) bytesLeft = b ? atol(b) : 0;
    faultyFd = fd;
  }
  return fd;
}

#define MODE_ARG(flags) \
  mode_t mode = 0;      \
  if ((flags) & (O_CREAT | O_TMPFILE)) { va_list ap; va_start(ap, flags); mode = va_arg(ap, mode_t); va_end(ap); }

int open(const char* path, int flags, ...) {
  static int (*real)(const char*, int, ...);
  if (!real) real = dlsym(RTLD_NEXT, "open");
  MODE_ARG(flags)
  return opened(real(path, flags, mode), path, flags);
}
int open64(const char* path, int flags, ...) {
  static int (*real)(const char*, int, ...);
  if (!real) real = dlsym(RTLD_NEXT, "open64");
  MODE_ARG(flags)
  return opened(real(path, flags, mode), path, flags);
}
int openat(int dir, const char* path, int flags, ...) {
  static int (*real)(int, const char*, int, ...);
  if (!real) real = dlsym(RTLD_NEXT, "openat");
  MODE_ARG(flags)
  return opened(real(dir, path, flags, mode), path, flags);
}
int openat64(int dir, const char* path, int flags, ...) {
  static int (*real)(int, const char*, int, ...);
  if (!real) real = dlsym(RTLD_NEXT, "openat64");
  MODE_ARG(flags)
  return opened(real(dir, path, flags, mode), path, flags);
}

static FILE* fopened(FILE* f, const char* path, const char* mode) {
  if (f && strpbrk(mode, "wa+") && counted(path)) {
    int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (full >= 0) {
      dup2(full, fileno(f));
      close(full);
      refused();
    }
  }
  return f;
}
FILE* fopen(const char* path, const char* mode) {
  static FILE* (*real)(const char*, const char*);
  if (!real) real = dlsym(RTLD_NEXT, "fopen");
  return fopened(real(path, mode), path, mode);
}
FILE* fopen64(const char* path, const char* mode) {
  static FILE* (*real)(const char*, const char*);
  if (!real) real = dlsym(RTLD_NEXT, "fopen64");
  return fopened(real(path, mode), path, mode);
}

/* How much of a write to the faulty fd goes through; -1 when none may. */
static ssize_t allowed(int fd, size_t n) {
  if (fd != faultyFd) return (ssize_t)n;
  if (bytesLeft <= 0) {
    refused();
    errno = ENOSPC;
    return -1;
  }
  if ((long)n > bytesLeft) n = (size_t)bytesLeft;
  bytesLeft -= (long)n;
  return (ssize_t)n;
}

ssize_t write(int fd, const void* buf, size_t n) {
  static ssize_t (*real)(int, const void*, size_t);
  if (!real) real = dlsym(RTLD_NEXT, "write");
  ssize_t k = allowed(fd, n);
  return k < 0 ? -1 : real(fd, buf, (size_t)k);
}
ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) {
  static ssize_t (*real)(int, const void*, size_t, off_t);
  if (!real) real = dlsym(RTLD_NEXT, "pwrite");
  ssize_t k = allowed(fd, n);
  return k < 0 ? -1 : real(fd, buf, (size_t)k, at);
}
ssize_t pwrite64(int fd, const void* buf, size_t n, off_t at) { return pwrite(fd, buf, n, at); }
ssize_t writev(int fd, const struct iovec* v, int count) {
  static ssize_t (*real)(int, const struct iovec*, int);
  if (!real) real = dlsym(RTLD_NEXT, "writev");
  if (fd == faultyFd && v && count > 0) return write(fd, v[0].iov_base, v[0].iov_len);
  return real(fd, v, count);
}
int close(int fd) {
  static int (*real)(int);
  if (!real) real = dlsym(RTLD_NEXT, "close");
  if (fd == faultyFd) faultyFd = -1;
  return real(fd);
}
