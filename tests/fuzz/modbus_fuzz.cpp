// libFuzzer target over the text rules and the frame builders: whatever the input, nothing outside
// FrameBuffer is touched, only the library's own exceptions leave, and composed frames check out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "modbus/modbus.h"
#include "platform/rtl/Exception.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

template <typename F>
void Guarded(F&& f) {
    try {
        f();
    } catch (const rtl::Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    int32_t length;
    std::memcpy(&length, data, sizeof length);
    const uint8_t slave = data[4];
    const std::string text(reinterpret_cast<const char*>(data + 5), size - 5);

    Guarded([&] {
        const int32_t value = modbus::StrToInt(text);
        Check(modbus::StrToInt(std::to_string(value)) == value);
    });
    Guarded([&] { modbus::HexStrToInt(text.substr(0, 2)); });
    Guarded([&] { modbus::HexStrToInt(text); });
    Guarded([&] {
        const long double value = modbus::StrToFloat(text);
        Check(!modbus::FloatToStr(value).empty());
    });
    Guarded([&] { modbus::ValueToDataText(text, 4 + 4 * (slave & 1)); });

    // Lengths mostly short so runs stay fast, sometimes up to and past the limit, sometimes wild.
    const int32_t writeLength = (slave & 0xC0) == 0xC0 ? length
                                : (slave & 0x40)       ? length % (modbus::kMaxWriteLength + 64)
                                                       : length % 600;
    Guarded([&] {
        const int count = modbus::BuildWriteRequest(slave, length, writeLength, text);
        Check(count == writeLength + 9);
        Check(modbus::ReplyCrc(modbus::FrameBuffer.data(), count) ==
              (modbus::FrameBuffer[count - 2] | (modbus::FrameBuffer[count - 1] << 8)));
        Check(modbus::FormatWriteFrame(count).size() == static_cast<size_t>(count) * 4);
    });
    Guarded([&] {
        const int count = modbus::ParseFrameText(text);
        Check(count >= 0 && count <= modbus::kFrameBufferSize);
        Check(count == static_cast<int>(modbus::RemoveSubStr(text, " ").size() / 2));
    });
    modbus::BuildReadRequest(slave, length, writeLength);
    Check(modbus::FormatReadFrame().size() == 30);
    return 0;
}
