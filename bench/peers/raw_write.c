/* peer_raw_write IN OUT [RUNS]: reads IN once, then writes its bytes to OUT
 * RUNS times (default 5) and prints the best time. */
#include <stdio.h>
#include <stdlib.h>

#include "raw_io.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: peer_raw_write IN OUT [RUNS]\n");
    return 2;
  }
  int runs = argc > 3 ? atoi(argv[3]) : 5;
  size_t size = 0;
  unsigned char* data = peer_read_file(argv[1], &size);
  if (!data) {
    perror(argv[1]);
    return 1;
  }
  double best = -1;
  for (int i = 0; i < runs; ++i) {
    double start = peer_now();
    if (peer_write_file(argv[2], data, size) != 0) {
      perror(argv[2]);
      return 1;
    }
    double took = peer_now() - start;
    if (best < 0 || took < best) best = took;
  }
  printf("wrote %zu bytes: best %.3f s\n", size, best);
  free(data);
  return 0;
}
