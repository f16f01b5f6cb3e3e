// The floor for iconcount's walk of the user applications: every entry below
// a folder read with openat and getdents64 and nothing more, links never
// followed, each name's extension tested for "app" in any case. It prints the
// number of entries and of bundles it saw, so a run can be checked against
// iconcount's.
//
//   bare_walk FOLDER

#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

struct linux_dirent64 {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[];
};

static unsigned long entries, bundles;

static int isBundleName(const char* name) {
  const char* dot = strrchr(name, '.');
  return dot && dot != name && (dot[1] | 0x20) == 'a' && (dot[2] | 0x20) == 'p' && (dot[3] | 0x20) == 'p' &&
         dot[4] == '\0';
}

static void walk(int fd) {
  char buffer[32768];
  for (;;) {
    long length = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
    if (length <= 0) break;
    for (long at = 0; at < length;) {
      struct linux_dirent64* entry = (struct linux_dirent64*)(buffer + at);
      at += entry->d_reclen;
      const char* name = entry->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      ++entries;
      if (isBundleName(name)) ++bundles;
      int isFolder = entry->d_type == DT_DIR;
      if (entry->d_type == DT_UNKNOWN) {
        struct stat st;
        isFolder = fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
      }
      if (!isFolder) continue;
      int child = openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child < 0) continue;
      walk(child);
      close(child);
    }
  }
}

int main(int argc, char* argv[]) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s folder\n", argv[0]);
    return 2;
  }
  int fd = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    perror(argv[1]);
    return 1;
  }
  walk(fd);
  close(fd);
  printf("%lu entries, %lu bundles\n", entries, bundles);
  return 0;
}
