#pragma once
// The Modbus RTU frame library: CRC-16, request frames, hex text rules, reply check and value codecs.

#include "modbus/Crc16.h"
#include "modbus/Frame.h"
#include "modbus/HexText.h"
#include "modbus/ReplyCheck.h"
#include "modbus/Values.h"
