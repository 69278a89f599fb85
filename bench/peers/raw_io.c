#define _POSIX_C_SOURCE 200809L
#include "raw_io.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#define BLOCK ((size_t)1 << 30)

unsigned char* peer_read_file(const char* path, size_t* size) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) return NULL;
  struct stat st;
  if (fstat(fd, &st) != 0) {
    close(fd);
    return NULL;
  }
  size_t n = (size_t)st.st_size;
  unsigned char* data = malloc(n ? n : 1);
  if (!data) {
    close(fd);
    return NULL;
  }
  size_t done = 0;
  while (done < n) {
    size_t want = n - done < BLOCK ? n - done : BLOCK;
    ssize_t got = read(fd, data + done, want);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      free(data);
      close(fd);
      return NULL;
    }
    done += (size_t)got;
  }
  close(fd);
  *size = n;
  return data;
}

int peer_write_file(const char* path, const unsigned char* data, size_t size) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return errno;
  size_t done = 0;
  while (done < size) {
    size_t want = size - done < BLOCK ? size - done : BLOCK;
    ssize_t put = write(fd, data + done, want);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      int error = put < 0 ? errno : ENOSPC;
      close(fd);
      return error;
    }
    done += (size_t)put;
  }
  return close(fd) == 0 ? 0 : errno;
}

int peer_sync_file(const char* path) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) return errno;
  int result = fsync(fd) == 0 ? 0 : errno;
  close(fd);
  return result;
}

double peer_now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

long peer_peak_rss(void) {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}
