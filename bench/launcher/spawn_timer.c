/* Starts commands interleaved, round after round, and prints the wall time of
   each start-and-wait.

     spawn_timer ROUNDS LABEL PROGRAM ARG... --- LABEL PROGRAM ARG... ...

   Each round starts every command once, in order, with its standard streams
   on /dev/null, through posix_spawn and waitpid. For each label it prints
     TIME|label|median_us|min_us|mean_us|runs|failures
   where a failure is a start that failed or an exit status other than 0. */
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

struct command {
  const char* label;
  char** argv;
  double* samples;
  int failures;
};

static double now_us(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

static int compare(const void* a, const void* b) {
  double x = *(const double*)a, y = *(const double*)b;
  return (x > y) - (x < y);
}

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr,
            "usage: spawn_timer ROUNDS LABEL PROGRAM ARG... [--- ...]\n");
    return 2;
  }
  int rounds = atoi(argv[1]);
  if (rounds <= 0) return 2;
  struct command commands[16];
  int n = 0;
  for (int i = 2; i < argc && n < 16;) {
    commands[n].label = argv[i++];
    commands[n].argv = &argv[i];
    while (i < argc && strcmp(argv[i], "---") != 0) ++i;
    if (i < argc) argv[i++] = NULL;
    commands[n].samples = calloc((size_t)rounds, sizeof(double));
    commands[n].failures = 0;
    if (!commands[n].samples || !commands[n].argv[0]) return 2;
    ++n;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

  for (int r = 0; r < rounds; ++r) {
    for (int c = 0; c < n; ++c) {
      double start = now_us();
      pid_t pid;
      int status = 0;
      int rc = posix_spawn(&pid, commands[c].argv[0], &actions, NULL,
                           commands[c].argv, environ);
      if (rc == 0) {
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
      }
      commands[c].samples[r] = now_us() - start;
      if (rc != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        ++commands[c].failures;
    }
  }

  for (int c = 0; c < n; ++c) {
    double sum = 0;
    for (int r = 0; r < rounds; ++r) sum += commands[c].samples[r];
    qsort(commands[c].samples, (size_t)rounds, sizeof(double), compare);
    double median = rounds % 2 ? commands[c].samples[rounds / 2]
                               : (commands[c].samples[rounds / 2 - 1] +
                                  commands[c].samples[rounds / 2]) /
                                     2;
    printf("TIME|%s|%.1f|%.1f|%.1f|%d|%d\n", commands[c].label, median,
           commands[c].samples[0], sum / rounds, rounds, commands[c].failures);
    free(commands[c].samples);
  }
  posix_spawn_file_actions_destroy(&actions);
  return 0;
}
