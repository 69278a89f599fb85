/* peer_raw_read FILE [RUNS]: reads FILE into fresh memory RUNS times (default
 * 5) and prints the best time and the peak resident memory. */
#include <stdio.h>
#include <stdlib.h>

#include "raw_io.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: peer_raw_read FILE [RUNS]\n");
    return 2;
  }
  int runs = argc > 2 ? atoi(argv[2]) : 5;
  double best = -1;
  size_t size = 0;
  for (int i = 0; i < runs; ++i) {
    double start = peer_now();
    unsigned char* data = peer_read_file(argv[1], &size);
    double took = peer_now() - start;
    if (!data) {
      perror(argv[1]);
      return 1;
    }
    free(data);
    if (best < 0 || took < best) best = took;
  }
  printf("read %zu bytes: best %.3f s, peak rss %.1f MB\n", size, best, peer_peak_rss() / 1e6);
  return 0;
}
