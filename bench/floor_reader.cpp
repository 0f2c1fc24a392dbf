// SPDX-License-Identifier: GPL-3.0-or-later
// The least any analysis of these files could cost: open each file, read its
// first 16 KB and its last 128 bytes, close it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char* argv[]) {
    static char head[16 * 1024];
    char tail[128];
    long long total = 0;
    for (int i = 1; i < argc; ++i) {
        const int fd = open(argv[i], O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        const ssize_t got = read(fd, head, sizeof head);
        const off_t end = lseek(fd, -128, SEEK_END);
        const ssize_t gotTail = end >= 0 ? read(fd, tail, sizeof tail) : 0;
        total += got + gotTail;
        close(fd);
        // One line out per file, as the analysis writes one.
        std::printf("%s %lld\n", argv[i], static_cast<long long>(got));
    }
    return total >= 0 ? 0 : 1;
}
