/* Loaded into the FAT driver with LD_PRELOAD: every write to the card image named by
 * DW_CRASH_IMAGE is appended, in the order the driver makes it, to DW_CRASH_LOG as a record
 * <offset u64><length u32><bytes>. Replaying the first k records onto the image as it was at
 * mount time gives the card as it is when the driver stops at write k. */
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

extern "C" {

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static int image_fd = -1, log_fd = -1;

static ssize_t real_write(int fd, const void* p, size_t n) {
  using Write = ssize_t (*)(int, const void*, size_t);
  static Write next = reinterpret_cast<Write>(dlsym(RTLD_NEXT, "write"));
  return next(fd, p, n);
}

static void log_all(const void* p, size_t n) {
  const char* c = static_cast<const char*>(p);
  while (n > 0) {
    ssize_t w = real_write(log_fd, c, n);
    if (w <= 0) abort(); /* a lost record would make every replay wrong */
    c += w;
    n -= (size_t)w;
  }
}

static int opened(const char* path, int fd) {
  const char* image = getenv("DW_CRASH_IMAGE");
  const char* log = getenv("DW_CRASH_LOG");
  if (fd >= 0 && image && log && strcmp(path, image) == 0) {
    image_fd = fd;
    log_fd = (int)syscall(SYS_openat, AT_FDCWD, log, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  }
  return fd;
}

int open64(const char* path, int flags, ...) {
  using Open = int (*)(const char*, int, ...);
  static Open next = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open64"));
  va_list args;
  va_start(args, flags);
  const mode_t mode = (flags & O_CREAT) ? va_arg(args, mode_t) : 0;
  va_end(args);
  return opened(path, next(path, flags, mode));
}

int open(const char* path, int flags, ...) {
  using Open = int (*)(const char*, int, ...);
  static Open next = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"));
  va_list args;
  va_start(args, flags);
  const mode_t mode = (flags & O_CREAT) ? va_arg(args, mode_t) : 0;
  va_end(args);
  return opened(path, next(path, flags, mode));
}

ssize_t write(int fd, const void* p, size_t n) {
  if (fd != image_fd || log_fd < 0) return real_write(fd, p, n);
  pthread_mutex_lock(&lock);
  const uint64_t offset = (uint64_t)lseek64(fd, 0, SEEK_CUR);
  const ssize_t w = real_write(fd, p, n);
  if (w > 0) {
    const uint32_t length = (uint32_t)w;
    log_all(&offset, sizeof offset);
    log_all(&length, sizeof length);
    log_all(p, (size_t)w);
  }
  pthread_mutex_unlock(&lock);
  return w;
}

ssize_t pwrite64(int fd, const void* p, size_t n, off64_t at) {
  using PWrite = ssize_t (*)(int, const void*, size_t, off64_t);
  static PWrite next = reinterpret_cast<PWrite>(dlsym(RTLD_NEXT, "pwrite64"));
  if (fd != image_fd || log_fd < 0) return next(fd, p, n, at);
  pthread_mutex_lock(&lock);
  const ssize_t w = next(fd, p, n, at);
  if (w > 0) {
    const uint64_t offset = (uint64_t)at;
    const uint32_t length = (uint32_t)w;
    log_all(&offset, sizeof offset);
    log_all(&length, sizeof length);
    log_all(p, (size_t)w);
  }
  pthread_mutex_unlock(&lock);
  return w;
}

}  // extern "C"
