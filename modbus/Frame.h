#pragma once
// Request frames: the transmit buffer, the read (0x03) and write (0x10) request builders, their
// text renderings, and the parsing of an edited frame text back into the buffer.

#include <array>
#include <cstdint>
#include <string>

namespace modbus {

inline constexpr int kFrameBufferSize = 10241;
inline constexpr int kReadRequestSize = 8;
inline constexpr int kWriteOverhead = 9;
inline constexpr int kMaxWriteLength = kFrameBufferSize - kWriteOverhead;  // 10232

// The one transmit buffer: every composed request and every sent frame stands here from index 0.
extern std::array<uint8_t, kFrameBufferSize> FrameBuffer;

// Writes the 8-byte read request into FrameBuffer[0..7]; returns 8.
int BuildReadRequest(uint8_t slave, int32_t start, int32_t length);

// Writes the write request into FrameBuffer[0..length+8]; returns length + 9.
// A length outside 0..10232 raises EConvertError and leaves FrameBuffer untouched.
int BuildWriteRequest(uint8_t slave, int32_t start, int32_t length, const std::string& dataText);

// The 8-byte read request in FrameBuffer, pairs joined by two spaces.
std::string FormatReadFrame();

// The first count bytes of FrameBuffer, each pair followed by two spaces.
// A count outside 0..10241 raises ERangeError.
std::string FormatWriteFrame(int count);

// Turns a frame text (as the user may have edited it) into bytes from FrameBuffer[0]: spaces are
// removed, then each pair of characters gives one byte by HexStrToInt; a lone last character is
// ignored. Returns the number of bytes. A text of more pairs than FrameBuffer holds raises
// EConvertError and leaves FrameBuffer untouched.
int ParseFrameText(const std::string& text);

}  // namespace modbus
