// Small, valid sound files written by the tests themselves: a quiet wave tone and a
// one-note MIDI piece of a given length.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "support/temp_home.h"

namespace meldora::test {

inline void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void PutBE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// 16-bit mono PCM at 22050 Hz.
inline void WriteWave(const std::filesystem::path& file, int milliseconds)
{
    const std::uint32_t samples = 22050u * static_cast<std::uint32_t>(milliseconds) / 1000u;
    std::string wav = "RIFF";
    PutLE(wav, 36 + samples * 2, 4);
    wav += "WAVEfmt ";
    PutLE(wav, 16, 4);
    PutLE(wav, 1, 2);
    PutLE(wav, 1, 2);
    PutLE(wav, 22050, 4);
    PutLE(wav, 22050 * 2, 4);
    PutLE(wav, 2, 2);
    PutLE(wav, 16, 2);
    wav += "data";
    PutLE(wav, samples * 2, 4);
    for (std::uint32_t i = 0; i < samples; ++i)
        PutLE(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(2000 * std::sin(i * 0.06))), 2);
    WriteFile(file, wav);
}

// One middle C at 120 beats a minute (480 ticks a beat: a millisecond is 0.96 ticks).
inline void WriteMidi(const std::filesystem::path& file, int milliseconds)
{
    std::string track;
    track += std::string("\x00\x90\x3C\x50", 4);
    const std::uint32_t ticks = static_cast<std::uint32_t>(milliseconds * 0.96);
    // The length as a variable-length quantity.
    std::string length(1, static_cast<char>(ticks & 0x7F));
    for (std::uint32_t rest = ticks >> 7; rest; rest >>= 7)
        length.insert(length.begin(), static_cast<char>(0x80 | (rest & 0x7F)));
    track += length + std::string("\x80\x3C\x00", 3) + std::string("\x00\xFF\x2F\x00", 4);

    std::string midi = "MThd";
    PutBE(midi, 6, 4);
    PutBE(midi, 0, 2);
    PutBE(midi, 1, 2);
    PutBE(midi, 480, 2);
    midi += "MTrk";
    PutBE(midi, static_cast<std::uint32_t>(track.size()), 4);
    WriteFile(file, midi + track);
}

}  // namespace meldora::test
