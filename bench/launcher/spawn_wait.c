/* The least a launcher can do: start argv[1] with the remaining arguments
   through posix_spawn, wait for it and return its exit status. Linked
   statically, it is the floor the launcher's own start is compared with. */
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  pid_t pid;
  if (posix_spawn(&pid, argv[1], 0, 0, argv + 1, environ) != 0) return 2;
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return 2;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
