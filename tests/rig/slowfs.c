// A file server for the tests: a FUSE passthrough over a backing folder that answers late, or
// not at all for a while, as a NAS or a share behind a VPN does.
//
//   slowfs BACKING CONTROL MOUNTPOINT [FUSE options]
//
// CONTROL is a text file outside the mount, read again whenever it changes (the tests write it
// from Windows code through drive Z:):
//   wait MS      every call waits MS milliseconds first (a server some way off)
//   silent S     every call waits until S seconds after the file was last written (a server
//                that does not answer); a call already waiting goes on as soon as the file
//                says otherwise ("silent 0", or an empty file)
// A missing or empty file: every call is answered at once.
//
// Calls made by the prefix's shared processes never wait: the wineserver (one thread serving
// every process, which opens files and folders itself on a program's behalf) and the service
// hosts (the mount manager in winedevice.exe reads a drive's label for every process that asks).
// A wait there would hold the whole Wine session, which no Windows server does. The program's
// own path look-ups, attribute reads and folder reads, which come first and from its own thread,
// wait instead. The root of the mount never waits either (see SlowGetattr).
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

static char gBacking[PATH_MAX];
static char gControl[PATH_MAX];

// What the control file says, and which version of the file said it.
struct TControl {
  long WaitMs;
  struct timespec SilentUntil; // zero: answering
  struct timespec Modified;
  ino_t Inode;
  off_t Size;
  int Read;
};
static struct TControl gState;
static pthread_mutex_t gStateLock = PTHREAD_MUTEX_INITIALIZER;

static int Later(struct timespec a, struct timespec b) {
  return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec > b.tv_nsec);
}

// The control's current state, read again only when the file changed.
static struct TControl CurrentControl(void) {
  struct stat file;
  struct TControl fresh = {0};
  if (stat(gControl, &file) != 0) {
    pthread_mutex_lock(&gStateLock);
    gState = fresh;
    pthread_mutex_unlock(&gStateLock);
    return fresh;
  }
  pthread_mutex_lock(&gStateLock);
  if (gState.Read && gState.Inode == file.st_ino && gState.Size == file.st_size &&
      gState.Modified.tv_sec == file.st_mtim.tv_sec &&
      gState.Modified.tv_nsec == file.st_mtim.tv_nsec) {
    fresh = gState;
    pthread_mutex_unlock(&gStateLock);
    return fresh;
  }
  pthread_mutex_unlock(&gStateLock);

  fresh.Read = 1;
  fresh.Inode = file.st_ino;
  fresh.Size = file.st_size;
  fresh.Modified = file.st_mtim;
  FILE* text = fopen(gControl, "r");
  if (text) {
    char word[32];
    double value;
    while (fscanf(text, "%31s %lf", word, &value) == 2) {
      if (strcmp(word, "wait") == 0 && value > 0) fresh.WaitMs = (long)value;
      if (strcmp(word, "silent") == 0 && value > 0) {
        const double until = (double)file.st_mtim.tv_sec + file.st_mtim.tv_nsec / 1e9 + value;
        fresh.SilentUntil.tv_sec = (time_t)until;
        fresh.SilentUntil.tv_nsec = (long)((until - (double)fresh.SilentUntil.tv_sec) * 1e9);
      }
    }
    fclose(text);
  }
  pthread_mutex_lock(&gStateLock);
  gState = fresh;
  pthread_mutex_unlock(&gStateLock);
  return fresh;
}

// Whether the call comes from one of the prefix's shared processes rather than a program's own.
static int CallerIsShared(void) {
  static const char* const kShared[] = {"wineserver", "winedevice.exe", "services.exe",
                                        "explorer.exe", "plugplay.exe",   "svchost.exe",
                                        "rpcss.exe"};
  char path[64], name[32] = {0};
  snprintf(path, sizeof path, "/proc/%d/comm", (int)fuse_get_context()->pid);
  FILE* comm = fopen(path, "r");
  if (!comm) return 0;
  const int read = fgets(name, sizeof name, comm) != NULL;
  fclose(comm);
  if (!read) return 0;
  for (size_t i = 0; i < sizeof kShared / sizeof kShared[0]; ++i)
    if (strncmp(name, kShared[i], strlen(kShared[i])) == 0) return 1;
  return 0;
}

static void SleepMs(long ms) {
  struct timespec span = {ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&span, &span) != 0 && errno == EINTR) {
  }
}

// The server's delay before a call: the set wait, then the silence while it lasts.
static void Serve(void) {
  if (CallerIsShared()) return;
  struct TControl control = CurrentControl();
  if (control.WaitMs > 0) SleepMs(control.WaitMs);
  for (;;) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    control = CurrentControl();
    if (!Later(control.SilentUntil, now)) return;
    SleepMs(20); // a short step, so that a silence ended by the control ends here too
  }
}

static void Backed(char* out, const char* path) {
  snprintf(out, PATH_MAX, "%s%s", gBacking, path);
}

#define BACKED(name, path)                                                                         \
  char name[PATH_MAX];                                                                             \
  Backed(name, path)

static int Result(int status) {
  return status == -1 ? -errno : 0;
}

static void* SlowInit(struct fuse_conn_info* conn, struct fuse_config* config) {
  (void)conn;
  // The kernel asks every time: nothing is cached on the server's behalf.
  config->use_ino = 1;
  config->entry_timeout = 0;
  config->attr_timeout = 0;
  config->negative_timeout = 0;
  config->direct_io = 1;
  return NULL;
}

static int SlowGetattr(const char* path, struct stat* out, struct fuse_file_info* file) {
  // The drive's root answers at once: every Wine process that turns a Unix path into a Windows
  // one looks at each drive's root, which on Windows a mapped drive's silent server never holds.
  if (strcmp(path, "/") != 0) Serve();
  if (file) return Result(fstat((int)file->fh, out));
  BACKED(real, path);
  return Result(lstat(real, out));
}

static int SlowAccess(const char* path, int mode) {
  Serve();
  BACKED(real, path);
  return Result(access(real, mode));
}

static int SlowReadlink(const char* path, char* buffer, size_t size) {
  Serve();
  BACKED(real, path);
  const ssize_t length = readlink(real, buffer, size - 1);
  if (length == -1) return -errno;
  buffer[length] = '\0';
  return 0;
}

static int SlowOpendir(const char* path, struct fuse_file_info* file) {
  Serve();
  BACKED(real, path);
  DIR* folder = opendir(real);
  if (!folder) return -errno;
  file->fh = (uint64_t)(uintptr_t)folder;
  return 0;
}

static int SlowReaddir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t offset,
                       struct fuse_file_info* file, enum fuse_readdir_flags flags) {
  (void)path;
  (void)flags;
  Serve();
  DIR* folder = (DIR*)(uintptr_t)file->fh;
  if (offset != telldir(folder)) seekdir(folder, offset);
  for (struct dirent* entry; (entry = readdir(folder)) != NULL;) {
    struct stat st = {0};
    st.st_ino = entry->d_ino;
    st.st_mode = (mode_t)DTTOIF(entry->d_type);
    if (fill(buffer, entry->d_name, &st, telldir(folder), 0)) break;
  }
  return 0;
}

static int SlowReleasedir(const char* path, struct fuse_file_info* file) {
  (void)path;
  closedir((DIR*)(uintptr_t)file->fh);
  return 0;
}

static int SlowMkdir(const char* path, mode_t mode) {
  Serve();
  BACKED(real, path);
  return Result(mkdir(real, mode));
}

static int SlowUnlink(const char* path) {
  Serve();
  BACKED(real, path);
  return Result(unlink(real));
}

static int SlowRmdir(const char* path) {
  Serve();
  BACKED(real, path);
  return Result(rmdir(real));
}

static int SlowRename(const char* from, const char* to, unsigned int flags) {
  Serve();
  if (flags) return -EINVAL;
  BACKED(realFrom, from);
  BACKED(realTo, to);
  return Result(rename(realFrom, realTo));
}

static int SlowChmod(const char* path, mode_t mode, struct fuse_file_info* file) {
  Serve();
  if (file) return Result(fchmod((int)file->fh, mode));
  BACKED(real, path);
  return Result(chmod(real, mode));
}

static int SlowChown(const char* path, uid_t uid, gid_t gid, struct fuse_file_info* file) {
  Serve();
  if (file) return Result(fchown((int)file->fh, uid, gid));
  BACKED(real, path);
  return Result(lchown(real, uid, gid));
}

static int SlowTruncate(const char* path, off_t size, struct fuse_file_info* file) {
  Serve();
  if (file) return Result(ftruncate((int)file->fh, size));
  BACKED(real, path);
  return Result(truncate(real, size));
}

static int SlowUtimens(const char* path, const struct timespec times[2],
                       struct fuse_file_info* file) {
  Serve();
  if (file) return Result(futimens((int)file->fh, times));
  BACKED(real, path);
  return Result(utimensat(AT_FDCWD, real, times, AT_SYMLINK_NOFOLLOW));
}

static int SlowCreate(const char* path, mode_t mode, struct fuse_file_info* file) {
  Serve();
  BACKED(real, path);
  const int fd = open(real, file->flags, mode);
  if (fd == -1) return -errno;
  file->fh = (uint64_t)fd;
  return 0;
}

static int SlowOpen(const char* path, struct fuse_file_info* file) {
  Serve();
  BACKED(real, path);
  const int fd = open(real, file->flags);
  if (fd == -1) return -errno;
  file->fh = (uint64_t)fd;
  return 0;
}

static int SlowRead(const char* path, char* buffer, size_t size, off_t offset,
                    struct fuse_file_info* file) {
  (void)path;
  Serve();
  const ssize_t got = pread((int)file->fh, buffer, size, offset);
  return got == -1 ? -errno : (int)got;
}

static int SlowWrite(const char* path, const char* buffer, size_t size, off_t offset,
                     struct fuse_file_info* file) {
  (void)path;
  Serve();
  const ssize_t put = pwrite((int)file->fh, buffer, size, offset);
  return put == -1 ? -errno : (int)put;
}

static int SlowStatfs(const char* path, struct statvfs* out) {
  Serve();
  BACKED(real, path);
  return Result(statvfs(real, out));
}

static int SlowRelease(const char* path, struct fuse_file_info* file) {
  (void)path;
  close((int)file->fh);
  return 0;
}

static int SlowFsync(const char* path, int dataOnly, struct fuse_file_info* file) {
  (void)path;
  Serve();
  return Result(dataOnly ? fdatasync((int)file->fh) : fsync((int)file->fh));
}

static const struct fuse_operations kOperations = {
    .init = SlowInit,
    .getattr = SlowGetattr,
    .access = SlowAccess,
    .readlink = SlowReadlink,
    .opendir = SlowOpendir,
    .readdir = SlowReaddir,
    .releasedir = SlowReleasedir,
    .mkdir = SlowMkdir,
    .unlink = SlowUnlink,
    .rmdir = SlowRmdir,
    .rename = SlowRename,
    .chmod = SlowChmod,
    .chown = SlowChown,
    .truncate = SlowTruncate,
    .utimens = SlowUtimens,
    .create = SlowCreate,
    .open = SlowOpen,
    .read = SlowRead,
    .write = SlowWrite,
    .statfs = SlowStatfs,
    .release = SlowRelease,
    .fsync = SlowFsync,
};

int main(int argc, char* argv[]) {
  if (argc < 4) {
    fprintf(stderr, "usage: %s BACKING CONTROL MOUNTPOINT [FUSE options]\n", argv[0]);
    return 2;
  }
  if (!realpath(argv[1], gBacking)) {
    perror(argv[1]);
    return 2;
  }
  snprintf(gControl, sizeof gControl, "%s", argv[2]);
  umask(0);
  // fuse_main sees the program's name, the mount point and the options.
  argv[2] = argv[0];
  return fuse_main(argc - 2, argv + 2, &kOperations, NULL);
}
