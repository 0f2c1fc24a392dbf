// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a small seed corpus for the analysis fuzzer: the structures the
// analysis knows, each in a minimal file.
#include <filesystem>
#include <string>

#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

using namespace mirelune::test;

namespace {

void Save(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes) {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);

    Save(dir, "cbr", Frames(kMpeg1L3At128, 417, 3));

    Bytes tagged = Id3v2Tag(4, 0x10, SyncsafeSize(40), 50);
    Append(tagged, Frames(kMpeg1L3At128Padded, 418, 3));
    Append(tagged, Id3v1Tag());
    Save(dir, "id3", tagged);

    Bytes xing = Frames(kMpeg1L3At128, 417, 3);
    PutXing(xing, 36, "Xing", 15, 100, 40000);
    Save(dir, "xing", xing);

    Bytes info = Frames(kMpeg1L3At128, 417, 3);
    PutXing(info, 36, "Info", 3, 3, 1251);
    Save(dir, "info", info);

    Bytes vbri = Frames(kMpeg1L3At128, 417, 3);
    PutVbri(vbri, 1251, 3);
    Save(dir, "vbri", vbri);

    Save(dir, "mpeg2", Frames({0xFF, 0xF3, 0x10, 0xC0}, 26, 4));
    Save(dir, "layer1", Frames({0xFF, 0xFF, 0x14, 0x00}, 32, 4));

    Bytes junk(300, 0xFF);
    Append(junk, Frames(kMpeg1L3At128, 417, 2));
    Save(dir, "ffrun", junk);
    return 0;
}
