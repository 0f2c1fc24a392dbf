// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "Bitstream.h"
#include "FileSource.h"
#include "FrameHeader.h"
#include "VbrHeader.h"

namespace mirelune::mp3 {

// Decides whether a file holds an MPEG audio stream and describes it. One
// object can be reused for any number of files; each ReadMP3Info starts from
// a clean state. Malformed input ends ReadMP3Info with an AnalysisError,
// which is never caught here.
class MP3Info {
  public:
    std::int32_t FirstFrame() const noexcept { return firstFrame_; }
    double duration() const noexcept { return info_.duration; }  // milliseconds
    std::int32_t Channels() const noexcept { return info_.Channels; }
    std::int32_t Samplerate() const noexcept { return info_.Samplerate; }
    std::int32_t Bitrate() const noexcept { return info_.Bitrate; }  // bits per second
    std::int32_t FileSize() const noexcept { return fileSize_; }
    // Held as a 32-bit float; the nearest integer, ties to even. Returned wide
    // because a float near 2^31 rounds to 2^31 itself, which a 32-bit result
    // could not hold.
    std::int64_t MpegBytes() const noexcept;
    std::int32_t Frames() const noexcept { return info_.Frames; }
    std::int32_t Layer() const noexcept { return info_.Layer; }
    float MpegVersion() const noexcept { return info_.MpegVersion; }
    bool CopyrightBit() const noexcept { return info_.CopyrightBit; }
    bool OriginalBit() const noexcept { return info_.OriginalBit; }
    bool PrivateBit() const noexcept { return info_.PrivateBit; }
    bool Protected() const noexcept { return info_.Protected; }
    bool Emphasis() const noexcept { return info_.Emphasis; }
    bool IsVBR() const noexcept { return info_.VbrKind != kNoVbrHeader; }

    // True when the file holds two consecutive valid frame headers within the
    // searched range; false when it cannot be opened or holds none.
    bool ReadMP3Info(const std::string& path);

  private:
    struct StreamInfo {
        std::int32_t Channels = 0;
        std::int32_t Samplerate = 0;
        std::int32_t Bitrate = 0;
        float MpegBytes = 0.0f;
        std::int32_t Frames = 0;
        std::int32_t Layer = 0;
        float MpegVersion = 0.0f;
        bool CopyrightBit = false;
        bool OriginalBit = false;
        bool PrivateBit = false;
        bool Protected = false;
        bool Emphasis = false;
        double duration = 0.0;
        bool InfoHeaderFound = false;
        std::int32_t VbrKind = kNoVbrHeader;
        VbrHeaderInfo Xing;
        VbrHeaderInfo Info;
        VbrHeaderInfo Vbri;
    };

    struct FirstFrameSearch {
        bool found = false;
        std::int32_t offset = 0;
        std::int32_t length = 0;
    };

    FrameHeader ReadFrameHeader(std::int32_t offset);
    FirstFrameSearch FindFirstFrame();
    StreamInfo ReadStreamInfo(std::int32_t firstFrame, std::int32_t frameLength,
                              std::int32_t fileSize);
    std::int32_t Id3v2TagLengthAt(std::int32_t offset);
    bool FindId3v1Tag(std::int32_t fileSize);
    bool Id3Detector(std::uint8_t b);
    bool SyncDetector(std::uint8_t b);

    FileSource file_;
    Bitstream bits_;
    std::int32_t fileSize_ = 0;
    std::int32_t firstFrame_ = 0;
    std::int32_t firstFrameLength_ = 0;
    StreamInfo info_;
    int id3State_ = 0;
    int syncState_ = 0;
};

}  // namespace mirelune::mp3
