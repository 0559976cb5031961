/* The I/O no reader of the benchmark home can avoid: every record file and the shared
 * recently-used file read whole, every document stated once. Paths follow RebuildHome. */

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

enum
{
    applications = 50,
    documentsEach = 20,
    sharedBookmarks = 2000
};

static long read_whole(const char* path)
{
    static char buffer[1 << 16];
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    long total = 0;
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        total += got;
    close(fd);
    return total;
}

static int exists(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s home\n", argv[0]);
        return 2;
    }
    const char* home = argv[1];
    char path[4096];
    snprintf(path, sizeof path,
             "%s/.local/share/com.apple.sharedfilelist/"
             "com.apple.LSSharedFileList.ApplicationRecentDocuments",
             home);
    long bytes = 0;
    DIR* folder = opendir(path);
    if (folder) {
        struct dirent* entry;
        while ((entry = readdir(folder))) {
            if (entry->d_name[0] == '.')
                continue;
            char record[8192];
            snprintf(record, sizeof record, "%s/%s", path, entry->d_name);
            bytes += read_whole(record);
        }
        closedir(folder);
    }
    snprintf(path, sizeof path, "%s/.local/share/recently-used.xbel", home);
    bytes += read_whole(path);
    int found = 0;
    for (int app = 0; app < applications; ++app)
        for (int doc = 0; doc < documentsEach; ++doc) {
            snprintf(path, sizeof path, "%s/Documents/%d/file %d.txt", home, app, doc);
            found += exists(path);
        }
    for (int bookmark = 0; bookmark < sharedBookmarks; ++bookmark) {
        snprintf(path, sizeof path, "%s/Shared/%d/doc %d.txt", home, bookmark % 40, bookmark);
        found += exists(path);
    }
    printf("%ld bytes, %d documents\n", bytes, found);
    return 0;
}
