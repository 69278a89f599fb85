/* The floor of document input and output: a plain C program that reads a
 * file into freshly allocated memory or writes a buffer to a new file, in
 * large blocks with read() and write(). */
#ifndef TRACEMONT_BENCH_RAW_IO_H
#define TRACEMONT_BENCH_RAW_IO_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Reads the whole file at path into memory from malloc (the caller frees
 * it); *size receives its length. NULL on failure (errno set). */
unsigned char* peer_read_file(const char* path, size_t* size);

/* Writes size bytes to path (created or truncated) in blocks of at most
 * 1 GiB. 0 on success, else an errno value. */
int peer_write_file(const char* path, const unsigned char* data, size_t size);

/* Flushes the file at path to the disk (fsync). 0 or an errno value. */
int peer_sync_file(const char* path);

/* Seconds of a monotonic clock. */
double peer_now(void);

/* Peak resident memory of this process in bytes. */
long peer_peak_rss(void);

#ifdef __cplusplus
}
#endif

#endif
