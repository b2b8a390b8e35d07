#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace brimwell {

// The read callback of a stream-in: copies at most `cb` bytes of the source named by
// `dwCookie` into `pbBuff` and stores how many it copied in `*pcb` (0 ends the stream). A
// result other than 0 is an error that also ends the stream.
using EditStreamCallback = std::uint32_t (*)(std::uintptr_t dwCookie, std::uint8_t* pbBuff,
                                             std::int32_t cb, std::int32_t* pcb);

struct EditStream {
    std::uintptr_t dwCookie = 0;
    std::uint32_t dwError = 0; // the callback's error result, 0 when the stream ended normally
    EditStreamCallback pfnCallback = nullptr;
};

// Stream-in formats (the values of the platform's SF_TEXT and SF_RTF).
inline constexpr int STREAM_FORMAT_TEXT = 0x0001; // 8-bit text in the Windows-1252 code page
inline constexpr int STREAM_FORMAT_RTF = 0x0002;

// A rich-text view asks its callback for pieces of this size, and takes at most this much.
inline constexpr std::int32_t RICHTEXT_STREAM_PIECE = 4096;
inline constexpr std::size_t RICHTEXT_MAX_STREAM = 4 * 1024 * 1024;

// Reads the stream as a rich-text view does: pieces of RICHTEXT_STREAM_PIECE bytes until the
// callback hands over 0 bytes or fails (its result lands in es.dwError), or until
// RICHTEXT_MAX_STREAM bytes have arrived. A callback that claims more than it was asked for
// gets only the piece's size.
std::string ReadEditStream(EditStream& es);

} // namespace brimwell
