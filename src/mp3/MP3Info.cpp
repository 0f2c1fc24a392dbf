// SPDX-License-Identifier: GPL-3.0-or-later
#include "MP3Info.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "CheckedMath.h"
#include "Id3Tags.h"

namespace mirelune::mp3 {
namespace {

constexpr std::int32_t kBlockSize = 2048;
// The search gives up once a block starting this far past the last skipped
// tag has shown no frame: seven blocks in all.
constexpr std::int32_t kSearchLimit = 10240;

constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

// Index of the first byte equal to value in data[from, end), or end.
std::size_t NextByte(const std::uint8_t* data, std::size_t from, std::size_t end, int value) {
    const void* found = std::memchr(data + from, value, end - from);
    return found == nullptr
               ? end
               : static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - data);
}

// Closes the file however ReadMP3Info ends.
class CloseOnExit {
  public:
    explicit CloseOnExit(FileSource& file) : file_(file) {}
    ~CloseOnExit() { file_.Close(); }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

  private:
    FileSource& file_;
};

}  // namespace

std::int64_t MP3Info::MpegBytes() const noexcept {
    return static_cast<std::int64_t>(checked::RoundHalfEven(info_.MpegBytes));
}

bool MP3Info::ReadMP3Info(const std::string& path) {
    info_ = StreamInfo{};
    fileSize_ = 0;
    firstFrame_ = 0;
    firstFrameLength_ = 0;
    id3State_ = 0;
    syncState_ = 0;

    CloseOnExit closer(file_);
    if (!file_.Open(path)) {
        return false;
    }
    // Only the low 32 bits of the size count, taken as a signed number.
    fileSize_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(file_.size() & 0xFFFFFFFFu));

    const FirstFrameSearch search = FindFirstFrame();
    if (!search.found) {
        return false;
    }
    firstFrame_ = search.offset;
    firstFrameLength_ = search.length;
    info_ = ReadStreamInfo(firstFrame_, firstFrameLength_, fileSize_);
    return true;
}

FrameHeader MP3Info::ReadFrameHeader(std::int32_t offset) {
    std::array<std::uint8_t, 4> bytes{};
    file_.ReadAtZeroFilled(offset, bytes.data(), bytes.size());
    return DecodeFrameHeader(bytes, bits_);
}

bool MP3Info::Id3Detector(std::uint8_t b) {
    switch (id3State_) {
        case 0:
            id3State_ = b == 'I' ? 1 : 0;
            break;
        case 1:
            id3State_ = b == 'D' ? 2 : 0;
            break;
        case 2:
            id3State_ = b == '3' ? 3 : 0;
            break;
        default:
            id3State_ = 0;
            break;
    }
    return id3State_ == 3;
}

bool MP3Info::SyncDetector(std::uint8_t b) {
    if (syncState_ == 1) {
        syncState_ = b != 0 ? 2 : 0;
    } else {
        syncState_ = b == 0xFF ? 1 : 0;
    }
    return syncState_ == 2;
}

MP3Info::FirstFrameSearch MP3Info::FindFirstFrame() {
    std::int32_t blockStart = 0;
    std::int32_t lastTagLength = 0;
    std::array<std::uint8_t, kBlockSize> block{};
    for (;;) {
        const std::size_t n = file_.ReadAt(blockStart, block.data(), block.size());
        if (n == 0) {
            return {};
        }
        // While the ID3 detector is idle and the sync detector is not right
        // after an FF byte, only an "I" or an FF byte can change either of
        // them: the bytes in between are skipped with memchr.
        std::size_t nextI = kUnknown;
        std::size_t nextFF = kUnknown;
        for (std::size_t i = 0; i < n; ++i) {
            if (id3State_ == 0 && syncState_ != 1) {
                if (nextI == kUnknown || nextI < i) {
                    nextI = NextByte(block.data(), i, n, 'I');
                }
                if (nextFF == kUnknown || nextFF < i) {
                    nextFF = NextByte(block.data(), i, n, 0xFF);
                }
                const std::size_t next = std::min(nextI, nextFF);
                if (next > i) {
                    syncState_ = 0;
                    i = next;
                    if (i == n) {
                        break;
                    }
                }
            }
            const std::uint8_t b = block[i];
            const auto at = static_cast<std::int32_t>(i);
            if (Id3Detector(b)) {
                const std::int32_t tagStart =
                    checked::Sub(checked::Add(blockStart, at, "search offset"), 2, "search offset");
                lastTagLength = Id3v2TagLengthAt(tagStart);
                blockStart = checked::Sub(checked::Add(tagStart, lastTagLength, "search offset"),
                                          kBlockSize, "search offset");
                break;
            }
            if (SyncDetector(b)) {
                const std::int32_t candidate =
                    checked::Sub(checked::Add(blockStart, at, "search offset"), 1, "search offset");
                const FrameHeader h1 = ReadFrameHeader(candidate);
                if (IsValidHeader(h1)) {
                    const std::int32_t length = FrameLength(h1);
                    const FrameHeader h2 =
                        ReadFrameHeader(checked::Add(candidate, length, "search offset"));
                    if (IsValidHeader(h2)) {
                        return {true, candidate, length};
                    }
                }
            }
        }
        if (checked::Sub(blockStart, lastTagLength, "search offset") > kSearchLimit) {
            return {};
        }
        blockStart = checked::Add(blockStart, kBlockSize, "search offset");
    }
}

std::int32_t MP3Info::Id3v2TagLengthAt(std::int32_t offset) {
    std::array<std::uint8_t, 10> header{};
    file_.ReadAtZeroFilled(offset, header.data(), header.size());
    return Id3v2TagLength(header);
}

bool MP3Info::FindId3v1Tag(std::int32_t fileSize) {
    if (fileSize < 128) {
        return false;
    }
    std::array<std::uint8_t, 128> tail{};
    file_.ReadAtZeroFilledOnce(checked::Sub(fileSize, 128, "ID3v1 offset"), tail.data(),
                               tail.size());
    return IsId3v1Tag(tail.data());
}

MP3Info::StreamInfo MP3Info::ReadStreamInfo(std::int32_t firstFrame, std::int32_t frameLength,
                                            std::int32_t fileSize) {
    const FrameHeader h = ReadFrameHeader(firstFrame);
    StreamInfo s;
    s.Channels = h.ChannelMode == kSingleChannelMode ? 1 : 2;
    s.Samplerate = HeaderSamplerate(h);
    s.Bitrate = HeaderBitrate(h);
    s.Layer = LayerNumber(h);
    s.MpegVersion = MpegVersionNumber(h);
    s.CopyrightBit = h.Copyright;
    s.OriginalBit = h.Original;
    s.PrivateBit = h.Private;
    s.Protected = !h.ProtectionBit;
    s.Emphasis = h.EmphasisIndex != 0;
    s.VbrKind = kNoVbrHeader;
    s.InfoHeaderFound = false;

    s.MpegBytes = static_cast<float>(checked::Sub(fileSize, firstFrame, "stream size"));
    if (FindId3v1Tag(fileSize)) {
        s.MpegBytes = s.MpegBytes - 128.0f;
    }

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(frameLength), 0);
    file_.ReadAtZeroFilled(firstFrame, bytes.data(), bytes.size());
    const FrameBytes frame(std::move(bytes));
    const std::int32_t at = checked::Add(4, SideInfoSize(h), "frame index");
    if (frame.HasText(at, "Xing")) {
        s.Xing = ReadXingHeader(frame, at);
        s.VbrKind = kXingVbrHeader;
    } else if (frame.HasText(at, "Info")) {
        s.Info = ReadXingHeader(frame, at);
        s.InfoHeaderFound = true;
    } else if (frame.HasText(36, "VBRI")) {
        s.Vbri = ReadVbriHeader(frame, 36);
        s.VbrKind = kVbriVbrHeader;
    }

    if (s.VbrKind == kNoVbrHeader && s.InfoHeaderFound && (s.Info.Flags & kXingBytesFlag) != 0) {
        s.MpegBytes = static_cast<float>(s.Info.Bytes);
    } else if (s.VbrKind == kXingVbrHeader && (s.Xing.Flags & kXingBytesFlag) != 0) {
        s.MpegBytes = static_cast<float>(s.Xing.Bytes);
    } else if (s.VbrKind == kVbriVbrHeader && s.Vbri.Bytes > 0) {
        s.MpegBytes = static_cast<float>(s.Vbri.Bytes);
    }

    s.Frames = checked::RoundToInt32(static_cast<double>(s.MpegBytes) / frameLength, "frame count");
    if (s.VbrKind == kNoVbrHeader && s.InfoHeaderFound && (s.Info.Flags & kXingFramesFlag) != 0) {
        s.Frames = s.Info.Frames;
    } else if (s.VbrKind == kXingVbrHeader && (s.Xing.Flags & kXingFramesFlag) != 0) {
        s.Frames = s.Xing.Frames;
    } else if (s.VbrKind == kVbriVbrHeader && s.Vbri.Frames > 0) {
        s.Frames = s.Vbri.Frames;
    }

    const std::int32_t samples = checked::Mul(s.Frames, SamplesPerFrame(h), "frames x samples");
    s.duration = static_cast<double>(samples) / s.Samplerate * 1000.0;

    if (s.VbrKind != kNoVbrHeader) {
        if (s.duration == 0.0) {
            throw DivisionByZeroError("average bitrate of a stream that plays for 0 ms");
        }
        s.Bitrate = checked::RoundToInt32(
            static_cast<double>(s.MpegBytes) * 8.0 / s.duration * 1000.0, "average bitrate");
    }
    return s;
}

}  // namespace mirelune::mp3
