#pragma once
// The mapping between the line-settings record and the kernel's termios2, which carries any
// speed. This header brings the kernel's termios definitions: never include it beside
// <termios.h>.

#include <asm/termbits.h>

#include <cstdint>

#include "platform/serialdev/CommTypes.h"

namespace vcl {

// Raw mode: no echo, no canonical lines, no signals, no translation of any byte in either
// direction, no software flow control swallowing XON and XOFF; the receiver on and modem control
// ignored; reads return as soon as one byte is there. Speed, framing and hardware flow control
// stay as they are.
void MakeRaw(termios2& settings);

// Raw mode with the record's speed, data bits, parity, stop bits and flow control. False, with
// settings unchanged, when the record asks for something no line can do.
bool ApplyDcb(const DCB& dcb, termios2& settings);

// Overwrites the record's fields that termios holds (speed, framing, flow control, the XON and
// XOFF characters); the others keep what dcb held.
void ReadDcb(const termios2& settings, DCB& dcb);

// Whether the line as the driver took it is the one the record asked for. Drivers bend what
// they cannot do (a pseudo-terminal forces 8 bits without parity, adapters round custom speeds);
// a speed within 3 % still talks to the other end, so it counts as taken.
bool LineMatches(const DCB& dcb, const termios2& settings);

// How long count characters take on the line the settings describe: a start bit, the data bits,
// the parity bit and the stop bits each. 0 on a line without a speed.
uint64_t TransmitMicroseconds(DWORD count, const termios2& settings);

}  // namespace vcl
