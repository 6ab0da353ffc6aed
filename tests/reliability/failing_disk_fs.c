/* A file system that behaves like a disk with a bad stretch: it serves the read-only file
 * failing.bin, whose reads fail with EIO wherever they touch a chosen range of bytes; and
 * slow.bin, 160 MiB read at 40 MiB/s (each read waits as long as the disk would take), with a bad
 * stretch of 64 KiB one MiB before its end, for a search long enough to show its progress.
 *
 * usage: failing_disk_fs SIZE BAD_START BAD_END MOUNTPOINT [FUSE OPTIONS...]
 *
 * Byte i of the file is (i / 16 * 7 + i % 16) & 0xFF, so every 16-byte line differs from its
 * neighbours; the two bytes CA FE, which that rule never puts side by side, stand at the start
 * of the fourth line before BAD_START and of the fourth line after BAD_END, for a search to find
 * on either side of the range. A read that begins before the range delivers the bytes up to it
 * (a short read, as a disk gives the sectors it could read); one that begins inside it fails.
 * Reads bypass the page cache (direct_io), so each read the program makes reaches this server. */
#define FUSE_USE_VERSION 35
#define _XOPEN_SOURCE 700

#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>

static const char kFileName[] = "failing.bin";
static const off_t kMarkerLineDistance = 4 * 16;
static const char kSlowFileName[] = "slow.bin";
static const off_t kSlowSize = (off_t)160 << 20;
static const off_t kSlowBadStart = ((off_t)160 << 20) - ((off_t)1 << 20);
static const off_t kSlowBadEnd = ((off_t)160 << 20) - ((off_t)1 << 20) + ((off_t)64 << 10);
static const double kSlowBytesPerSecond = 40.0 * (1 << 20);

static off_t g_size, g_badStart, g_badEnd;

static unsigned char ByteAt(off_t offset) {
    const off_t markers[] = {g_badStart - kMarkerLineDistance, g_badEnd + kMarkerLineDistance};
    for (size_t i = 0; i < sizeof markers / sizeof markers[0]; ++i) {
        if (offset == markers[i])
            return 0xCA;
        if (offset == markers[i] + 1)
            return 0xFE;
    }
    return (unsigned char)((offset / 16 * 7 + offset % 16) & 0xFF);
}

static int IsTheFile(const char* path) {
    return path[0] == '/' && strcmp(path + 1, kFileName) == 0;
}

static int IsTheSlowFile(const char* path) {
    return path[0] == '/' && strcmp(path + 1, kSlowFileName) == 0;
}

/* slow.bin: the same line rule, without markers, read as slowly as the disk it stands for. */
static int ReadSlow(char* buffer, size_t count, off_t offset) {
    if (offset >= kSlowSize)
        return 0;
    off_t end = offset + (off_t)count < kSlowSize ? offset + (off_t)count : kSlowSize;
    if (offset < kSlowBadEnd && end > kSlowBadStart) {
        if (offset >= kSlowBadStart)
            return -EIO;
        end = kSlowBadStart;
    }
    const double seconds = (double)(end - offset) / kSlowBytesPerSecond;
    const struct timespec wait = {(time_t)seconds, (long)((seconds - (double)(time_t)seconds) * 1e9)};
    nanosleep(&wait, NULL);
    for (off_t at = offset; at < end; ++at)
        buffer[at - offset] = (char)((at / 16 * 7 + at % 16) & 0xFF);
    return (int)(end - offset);
}

static int GetAttr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    (void)fi;
    memset(st, 0, sizeof *st);
    if (strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0555;
        st->st_nlink = 2;
        return 0;
    }
    if (!IsTheFile(path) && !IsTheSlowFile(path))
        return -ENOENT;
    st->st_mode = S_IFREG | 0444;
    st->st_nlink = 1;
    st->st_size = IsTheFile(path) ? g_size : kSlowSize;
    return 0;
}

static int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t offset, struct fuse_file_info* fi,
                   enum fuse_readdir_flags flags) {
    (void)offset, (void)fi, (void)flags;
    if (strcmp(path, "/") != 0)
        return -ENOENT;
    fill(buffer, ".", NULL, 0, 0);
    fill(buffer, "..", NULL, 0, 0);
    fill(buffer, kFileName, NULL, 0, 0);
    fill(buffer, kSlowFileName, NULL, 0, 0);
    return 0;
}

static int Open(const char* path, struct fuse_file_info* fi) {
    if (!IsTheFile(path) && !IsTheSlowFile(path))
        return -ENOENT;
    if ((fi->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    fi->direct_io = 1;
    return 0;
}

static int Read(const char* path, char* buffer, size_t count, off_t offset, struct fuse_file_info* fi) {
    (void)fi;
    if (IsTheSlowFile(path))
        return ReadSlow(buffer, count, offset);
    if (!IsTheFile(path))
        return -ENOENT;
    if (offset >= g_size)
        return 0;
    if (offset >= g_badStart && offset < g_badEnd)
        return -EIO;
    off_t end = offset + (off_t)count < g_size ? offset + (off_t)count : g_size;
    if (offset < g_badStart && end > g_badStart)
        end = g_badStart;
    for (off_t at = offset; at < end; ++at)
        buffer[at - offset] = (char)ByteAt(at);
    return (int)(end - offset);
}

static const struct fuse_operations kOperations = {
    .getattr = GetAttr,
    .open = Open,
    .read = Read,
    .readdir = ReadDir,
};

static int ParseOffset(const char* text, off_t* value) {
    char* end = NULL;
    errno = 0;
    const long long parsed = strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < 0)
        return 0;
    *value = (off_t)parsed;
    return 1;
}

int main(int argc, char* argv[]) {
    if (argc < 5 || !ParseOffset(argv[1], &g_size) || !ParseOffset(argv[2], &g_badStart) ||
        !ParseOffset(argv[3], &g_badEnd) || g_badStart - kMarkerLineDistance < 0 || g_badStart > g_badEnd ||
        g_badEnd + kMarkerLineDistance + 2 > g_size) {
        fprintf(stderr, "usage: %s SIZE BAD_START BAD_END MOUNTPOINT [FUSE OPTIONS...]\n"
                        "(a marker line must fit four lines before BAD_START and after BAD_END)\n",
                argv[0]);
        return 2;
    }
    /* fuse_main takes the program name, the mount point and the FUSE options. */
    argv[3] = argv[0];
    return fuse_main(argc - 3, argv + 3, &kOperations, NULL);
}
