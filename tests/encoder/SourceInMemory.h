// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <memory>

#include "encoder/MemoryReader.h"
#include "encoder/SourceFile.h"
#include "support/Mp3Bytes.h"

namespace mirelune::test {

// The parts one after another, as a file holds them.
inline Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) {
        Append(joined, part);
    }
    return joined;
}

// A source named source.mp3 that holds bytes.
inline encoder::SourceFile InMemory(Bytes bytes) {
    return encoder::SourceFile("source.mp3",
                               std::make_unique<encoder::MemoryReader>(std::move(bytes)));
}

}  // namespace mirelune::test
