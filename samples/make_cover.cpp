// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a small cover picture (PNG) for the tagged sample file, so the
// samples carry an embedded picture made by our own build.
//
//   make_cover OUT.png [SIZE]
#include <QColor>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_cover OUT.png [SIZE]\n");
        return 2;
    }
    const int size = argc > 2 ? std::atoi(argv[2]) : 48;
    if (size < 1 || size > 512) {
        std::fprintf(stderr, "make_cover: bad size\n");
        return 2;
    }
    QImage picture(size, size, QImage::Format_RGB32);
    // A diagonal dusk gradient with a pale disc: a moon over a lake.
    const double centre = size * 0.62;
    const double radius = size * 0.2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int shade = 255 * (x + y) / (2 * size);
            QColor colour(40 + shade / 3, 30 + shade / 4, 90 + shade / 2);
            const double dx = x - centre;
            const double dy = y - size * 0.35;
            if (dx * dx + dy * dy < radius * radius) {
                colour = QColor(235, 230, 200);
            }
            picture.setPixel(x, y, colour.rgb());
        }
    }
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "make_cover: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
