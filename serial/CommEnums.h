#pragma once
// The serial port component's enumerations and event types. Every enumeration is stored in one
// byte, with ordinals counting from 0 in the order listed; several ordinals are the platform's own
// codes, which is why the order matters.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/runtime/Object.h"

namespace serial {

// Port "COMn" is pnCOMn, ordinal n - 1.
enum TComPortNumber : uint8_t {
    pnCOM1 = 0, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6, pnCOM7, pnCOM8, pnCOM9, pnCOM10,
    pnCOM11, pnCOM12, pnCOM13, pnCOM14, pnCOM15, pnCOM16, pnCOM17, pnCOM18, pnCOM19, pnCOM20,
    pnCOM21, pnCOM22, pnCOM23, pnCOM24, pnCOM25, pnCOM26, pnCOM27, pnCOM28, pnCOM29, pnCOM30,
    pnCOM31, pnCOM32, pnCOM33, pnCOM34, pnCOM35, pnCOM36, pnCOM37, pnCOM38, pnCOM39, pnCOM40,
    pnCOM41, pnCOM42, pnCOM43, pnCOM44, pnCOM45, pnCOM46, pnCOM47, pnCOM48, pnCOM49, pnCOM50,
    pnCOM51, pnCOM52, pnCOM53, pnCOM54, pnCOM55, pnCOM56, pnCOM57, pnCOM58, pnCOM59, pnCOM60,
    pnCOM61, pnCOM62, pnCOM63, pnCOM64, pnCOM65, pnCOM66, pnCOM67, pnCOM68, pnCOM69, pnCOM70,
    pnCOM71, pnCOM72, pnCOM73, pnCOM74, pnCOM75, pnCOM76, pnCOM77, pnCOM78, pnCOM79, pnCOM80,
    pnCOM81, pnCOM82, pnCOM83, pnCOM84, pnCOM85, pnCOM86, pnCOM87, pnCOM88, pnCOM89, pnCOM90,
    pnCOM91, pnCOM92, pnCOM93, pnCOM94, pnCOM95, pnCOM96, pnCOM97, pnCOM98, pnCOM99, pnCOM100,
    pnCOM101, pnCOM102, pnCOM103, pnCOM104, pnCOM105, pnCOM106, pnCOM107, pnCOM108, pnCOM109, pnCOM110,
    pnCOM111, pnCOM112, pnCOM113, pnCOM114, pnCOM115, pnCOM116, pnCOM117, pnCOM118, pnCOM119, pnCOM120,
    pnCOM121, pnCOM122, pnCOM123, pnCOM124, pnCOM125, pnCOM126, pnCOM127, pnCOM128, pnCOM129, pnCOM130,
    pnCOM131, pnCOM132, pnCOM133, pnCOM134, pnCOM135, pnCOM136, pnCOM137, pnCOM138, pnCOM139, pnCOM140,
    pnCOM141, pnCOM142, pnCOM143, pnCOM144, pnCOM145, pnCOM146, pnCOM147, pnCOM148, pnCOM149, pnCOM150,
    pnCOM151, pnCOM152, pnCOM153, pnCOM154, pnCOM155, pnCOM156, pnCOM157, pnCOM158, pnCOM159, pnCOM160,
    pnCOM161, pnCOM162, pnCOM163, pnCOM164, pnCOM165, pnCOM166, pnCOM167, pnCOM168, pnCOM169, pnCOM170,
    pnCOM171, pnCOM172, pnCOM173, pnCOM174, pnCOM175, pnCOM176, pnCOM177, pnCOM178, pnCOM179, pnCOM180,
    pnCOM181, pnCOM182, pnCOM183, pnCOM184, pnCOM185, pnCOM186, pnCOM187, pnCOM188, pnCOM189, pnCOM190,
    pnCOM191, pnCOM192, pnCOM193, pnCOM194, pnCOM195, pnCOM196, pnCOM197, pnCOM198, pnCOM199, pnCOM200,
    pnCOM201, pnCOM202, pnCOM203, pnCOM204, pnCOM205, pnCOM206, pnCOM207, pnCOM208, pnCOM209, pnCOM210,
    pnCOM211, pnCOM212, pnCOM213, pnCOM214, pnCOM215, pnCOM216, pnCOM217, pnCOM218, pnCOM219, pnCOM220,
    pnCOM221, pnCOM222, pnCOM223, pnCOM224, pnCOM225, pnCOM226, pnCOM227, pnCOM228, pnCOM229, pnCOM230,
    pnCOM231, pnCOM232, pnCOM233, pnCOM234, pnCOM235, pnCOM236, pnCOM237, pnCOM238, pnCOM239, pnCOM240,
    pnCOM241, pnCOM242, pnCOM243, pnCOM244, pnCOM245, pnCOM246, pnCOM247, pnCOM248, pnCOM249, pnCOM250,
    pnCOM251, pnCOM252, pnCOM253, pnCOM254, pnCOM255,
};

enum TBaudRate : uint8_t {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400,
    br19200, br38400, br56000, br57600, br76800, br115200, br230400,
};

// Ordinals are the platform's parity codes NOPARITY .. SPACEPARITY. Scoped, because the bare
// names would collide with everything else called None.
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };

// Ordinals are the platform's ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS.
enum TStopBits : uint8_t { SB1, SB1_5, SB2 };

// Bits per character: ordinal + 5.
enum TDataBits : uint8_t { DB5, DB6, DB7, DB8 };

// RTS held off; RTS held on; RTS handshaking with CTS output flow control.
enum THWHandShaking : uint8_t { hhNone, hhNoneRTSON, hhRTSCTS };

// No software flow control; XON/XOFF in both directions.
enum TSWHandShaking : uint8_t { shNone, shXonXoff };

// The line speed in bits per second; an ordinal beyond the list selects the fastest speed.
uint32_t BaudRateSpeed(TBaudRate rate);

// The name the port is opened by: the five-character device prefix \\.\\, then "COM" and the
// port's number.
std::string PortDeviceName(TComPortNumber port);

using TReceiveDataEvent = std::function<void(vcl::TObject* Sender)>;
using TReceiveErrorEvent = std::function<void(vcl::TObject* Sender, uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(vcl::TObject* Sender, uint32_t ModemEvent)>;

}  // namespace serial
