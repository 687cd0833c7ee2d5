// Preloaded into zqr by the command-line test to stand for a file system the library meets in
// the field but the test machine lacks:
// - open and openat refuse O_TMPFILE with EOPNOTSUPP, as on vfat sticks and many network
//   shares, so unpacks write a named part file;
// - SHIM_WRITE_DELAY_US slows every write down, so a signal can reach an unpack half-way;
// - SHIM_DISK_BYTES makes statvfs report a disk of that size holding only the files of the
//   folder asked about, so a part file left there visibly takes space;
// - SHIM_OPENAT_COUNT names a file that gets the number of openat calls at exit, so the test
//   can see whether work grows with the depth of a path or with its square.
#define _GNU_SOURCE // NOLINT(bugprone-reserved-identifier): RTLD_NEXT needs it
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

static unsigned long openatCalls;

typedef int (*OpenFn)(const char*, int, ...);
typedef int (*OpenAtFn)(int, const char*, int, ...);
typedef ssize_t (*WriteFn)(int, const void*, size_t);

// The next definition of `symbol` (the C library's), stored into the function pointer at
// `function`: ISO C has no cast from dlsym's object pointer to a function pointer.
static void lookUp(const char* symbol, void* function)
{
    void* found = dlsym(RTLD_NEXT, symbol);
    memcpy(function, &found, sizeof found);
}

static int isTmpfile(int flags)
{
    return (flags & O_TMPFILE) == O_TMPFILE;
}

static mode_t modeOf(int flags, va_list args)
{
    return (flags & O_CREAT) != 0 || isTmpfile(flags) ? (mode_t)va_arg(args, int) : 0;
}

static int forwardOpenAt(const char* symbol, int folder, const char* path, int flags, mode_t mode)
{
    ++openatCalls;
    if (isTmpfile(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    OpenAtFn real;
    lookUp(symbol, &real);
    return real(folder, path, flags, mode);
}

static int forwardOpen(const char* symbol, const char* path, int flags, mode_t mode)
{
    if (isTmpfile(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    OpenFn real;
    lookUp(symbol, &real);
    return real(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    return forwardOpenAt("openat", folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    return forwardOpenAt("openat64", folder, path, flags, mode);
}

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    return forwardOpen("open", path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    return forwardOpen("open64", path, flags, mode);
}

// What fortified builds call for an open without a mode.
int __openat_2(int folder, const char* path, int flags) // NOLINT(bugprone-reserved-identifier)
{
    return forwardOpenAt("__openat_2", folder, path, flags, 0);
}

int __open_2(const char* path, int flags) // NOLINT(bugprone-reserved-identifier)
{
    return forwardOpen("__open_2", path, flags, 0);
}

ssize_t write(int fd, const void* data, size_t size)
{
    static long delay = -1;
    if (delay < 0) {
        const char* text = getenv("SHIM_WRITE_DELAY_US");
        delay = text != NULL ? strtol(text, NULL, 10) : 0;
    }
    if (delay > 0 && fd > 2) {
        const struct timespec pause = {delay / 1000000, (delay % 1000000) * 1000};
        nanosleep(&pause, NULL);
    }
    WriteFn real;
    lookUp("write", &real);
    return real(fd, data, size);
}

// The bytes held by the regular files directly in the folder open on `folder`.
static unsigned long long bytesInFolder(int folder)
{
    OpenAtFn real;
    lookUp("openat", &real);
    const int listFd = real(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* list = listFd >= 0 ? fdopendir(listFd) : NULL;
    unsigned long long total = 0;
    if (list == NULL) {
        return total;
    }
    for (const struct dirent* entry = readdir(list); entry != NULL; entry = readdir(list)) {
        struct stat st;
        if (fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
            total += (unsigned long long)st.st_size;
        }
    }
    closedir(list);
    return total;
}

static int smallDisk(int folder, struct statvfs* out)
{
    const char* text = getenv("SHIM_DISK_BYTES");
    if (text == NULL) {
        return 0;
    }
    const unsigned long long disk = strtoull(text, NULL, 10);
    const unsigned long long used = bytesInFolder(folder);
    const unsigned long long block = 4096;
    out->f_bsize = block;
    out->f_frsize = block;
    out->f_blocks = disk / block;
    out->f_bfree = used < disk ? (disk - used) / block : 0;
    out->f_bavail = out->f_bfree;
    return 1;
}

int fstatvfs(int fd, struct statvfs* out)
{
    typedef int (*Fn)(int, struct statvfs*);
    Fn real;
    lookUp("fstatvfs", &real);
    const int result = real(fd, out);
    if (result == 0) {
        smallDisk(fd, out);
    }
    return result;
}

int fstatvfs64(int fd, struct statvfs64* out)
{
    typedef int (*Fn)(int, struct statvfs64*);
    Fn real;
    lookUp("fstatvfs64", &real);
    const int result = real(fd, out);
    struct statvfs small;
    if (result == 0 && smallDisk(fd, &small)) {
        out->f_bsize = small.f_bsize;
        out->f_frsize = small.f_frsize;
        out->f_blocks = small.f_blocks;
        out->f_bfree = small.f_bfree;
        out->f_bavail = small.f_bavail;
    }
    return result;
}

__attribute__((destructor)) static void reportOpenatCalls(void)
{
    const char* path = getenv("SHIM_OPENAT_COUNT");
    FILE* out = path != NULL ? fopen(path, "w") : NULL;
    if (out != NULL) {
        fprintf(out, "%lu\n", openatCalls);
        fclose(out);
    }
}
