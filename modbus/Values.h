#pragma once
// The receiving side and the number codecs: the reply's local CRC, float data bytes, the decimal
// rendering of a value, the float text conversion, and data bytes generated from a decimal text.

#include <cstdint>
#include <string>

namespace modbus {

// Crc16 over every byte of a reply but its last two (over nothing when count < 3).
uint16_t ReplyCrc(const uint8_t* reply, int count);

// The single-precision value whose bit pattern is b0 + 256*b1 + 65536*b2 + 16777216*b3.
float ByteToFloat(const uint8_t bytes[4]);

// 15 significant digits in general format; "NAN", "INF" and "-INF" for the special values.
std::string FloatToStr(long double value);

// Optional spaces and sign, digits with an optional point, optional exponent, trailing spaces.
// Raises EConvertError for anything else.
long double StrToFloat(const std::string& text);

// The 4 (single) or 8 (double) data bytes of the value in text, least significant first, as
// upper-case pairs joined by single spaces. Raises EConvertError for a bad text and EOverflow
// when the value exceeds the precision; any other width gives the empty text.
std::string ValueToDataText(const std::string& text, int width);

}  // namespace modbus
