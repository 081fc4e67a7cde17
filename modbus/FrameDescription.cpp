#include "modbus/FrameDescription.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "modbus/DataTable.h"
#include "modbus/HexText.h"

namespace modbus {

namespace {

// Slave, function, two CRC bytes: nothing shorter is a whole frame.
constexpr size_t kShortestFrame = 4;
// Slave, function, two 16-bit fields, CRC.
constexpr size_t kFixedFrameSize = 8;
// Slave, exception function, code, CRC.
constexpr size_t kExceptionFrameSize = 5;
constexpr size_t kCrcSize = 2;
constexpr uint8_t kExceptionBit = 0x80;
// A long read reply lists this many registers (or bytes) and then "…"; the hex column has them all.
constexpr size_t kListedValues = 16;

// What a frame of a function holds after its function code, one way.
enum class TShape : uint8_t {
    NameOnly,    // nothing told beyond the name
    Fixed,       // two 16-bit fields, told by the name alone
    StartCount,  // start address and count
    Written,     // start address, count, byte count and the data written
    ByteCount,   // byte count and the data read
};

struct TFunction {
    uint8_t code;
    const char* chinese;
    const char* english;
    TShape request;
    TShape reply;
    bool registers;  // its data is 16-bit registers rather than bits packed in bytes
};

constexpr std::array<TFunction, 9> kFunctions{{
    {0x01, "读线圈", "Read coils", TShape::StartCount, TShape::ByteCount, false},
    {0x02, "读离散输入", "Read discrete inputs", TShape::StartCount, TShape::ByteCount, false},
    {0x03, "读保持寄存器", "Read holding registers", TShape::StartCount, TShape::ByteCount, true},
    {0x04, "读输入寄存器", "Read input registers", TShape::StartCount, TShape::ByteCount, true},
    {0x05, "写单个线圈", "Write single coil", TShape::Fixed, TShape::Fixed, false},
    {0x06, "写单个寄存器", "Write single register", TShape::Fixed, TShape::Fixed, true},
    {0x0F, "写多个线圈", "Write multiple coils", TShape::Written, TShape::StartCount, false},
    {0x10, "写多个寄存器", "Write multiple registers", TShape::Written, TShape::StartCount, true},
    {0x17, "读写多个寄存器", "Read/write multiple registers", TShape::NameOnly, TShape::ByteCount, true},
}};

const TFunction* FindFunction(uint8_t code) {
    const auto found = std::find_if(kFunctions.begin(), kFunctions.end(),
                                    [code](const TFunction& function) { return function.code == code; });
    return found == kFunctions.end() ? nullptr : &*found;
}

TShape ShapeOf(const TFunction* function, TFrameSide side) {
    if (function == nullptr) return TShape::NameOnly;
    return side == TFrameSide::Request ? function->request : function->reply;
}

struct TWords {
    std::string_view slave;
    std::string_view start;
    std::string_view count;
    std::string_view exception;
    std::string_view function;
    std::string_view truncated;
    std::string_view separator;
    std::string_view colon;
};

constexpr TWords kEnglish{"Slave", "start", "count", "exception", "function", "truncated", ", ", ": "};
constexpr TWords kChinese{"从站", "起始", "数量", "异常", "功能", "不完整", "，", "："};

// The parts of the line, joined by the language's separator at the end.
class TLine {
public:
    TLine(std::span<const uint8_t> frame, TLanguage language)
        : frame_(frame), language_(language), words_(language == TLanguage::Chinese ? kChinese : kEnglish) {}

    bool Has(size_t count) const { return frame_.size() >= count; }
    uint16_t Word(size_t index) const { return static_cast<uint16_t>(frame_[index] << 8 | frame_[index + 1]); }

    void Add(std::string part) { parts_.push_back(std::move(part)); }
    void Add(std::string_view word, size_t value) { Add(std::string(word) + " " + std::to_string(value)); }

    void AddFunction(uint8_t code) {
        const TFunction* function = FindFunction(code);
        if (function != nullptr) {
            Add(language_ == TLanguage::Chinese ? function->chinese : function->english);
        } else {
            Add(std::string(words_.function) + " 0x" + ByteToHex(code));
        }
    }

    // The 16-bit fields at index 2 and 4 as far as the frame holds them.
    void AddStartAndCount() {
        if (Has(4)) Add(words_.start, Word(2));
        if (Has(6)) Add(words_.count, Word(4));
    }

    std::string Bytes(size_t count) const {
        if (language_ == TLanguage::Chinese) return std::to_string(count) + " 字节";
        return std::to_string(count) + (count == 1 ? " byte" : " bytes");
    }

    void AddData(size_t byteCount, std::span<const uint8_t> data, bool registers) {
        if (data.empty()) {
            Add(Bytes(byteCount));
            return;
        }
        const size_t width = registers ? 2 : 1;
        std::string values;
        for (size_t at = 0; at < data.size(); at += width) {
            if (at == kListedValues * width) {
                values += " …";
                break;
            }
            if (at != 0) values += ' ';
            values += JoinHex(data.subspan(at, std::min(width, data.size() - at)), "", "", "");
        }
        Add(Bytes(byteCount) + std::string(words_.colon) + values);
    }

    void AddException() {
        std::string part(words_.exception);
        if (Has(3)) {
            part += " " + ByteToHex(frame_[2]);
            const std::string name = ExceptionName(frame_[2], language_);
            if (!name.empty()) part += " " + name;
        }
        Add(std::move(part));
    }

    void AddTruncated() { Add(std::string(words_.truncated)); }

    std::string Text() const {
        std::string text;
        for (const std::string& part : parts_) {
            if (!text.empty()) text += words_.separator;
            text += part;
        }
        return text;
    }

    const TWords& Words() const { return words_; }

private:
    std::span<const uint8_t> frame_;
    TLanguage language_;
    const TWords& words_;
    std::vector<std::string> parts_;
};

// Adds the byte count and, for data read, the data; returns the size a whole frame has.
size_t DescribeCounted(TLine& line, std::span<const uint8_t> frame, TFrameSide side, const TFunction& function) {
    const size_t countAt = *ByteCountIndex(function.code, side);
    if (!line.Has(countAt + 1)) return countAt + 1 + kCrcSize;
    const size_t byteCount = frame[countAt];
    if (side == TFrameSide::Reply) {
        line.AddData(byteCount, FrameData(frame, side), function.registers);
    } else {
        line.Add(line.Bytes(byteCount));
    }
    return countAt + 1 + byteCount + kCrcSize;
}

// Adds what the frame holds from its function code on; returns the size a whole frame has.
size_t DescribeBody(TLine& line, std::span<const uint8_t> frame, TFrameSide side) {
    const uint8_t code = frame[1];
    if (side == TFrameSide::Reply && (code & kExceptionBit) != 0) {
        line.AddFunction(static_cast<uint8_t>(code & ~kExceptionBit));
        line.AddException();
        return kExceptionFrameSize;
    }
    line.AddFunction(code);
    const TFunction* function = FindFunction(code);
    switch (ShapeOf(function, side)) {
        case TShape::NameOnly: return kShortestFrame;
        case TShape::Fixed: return kFixedFrameSize;
        case TShape::StartCount: line.AddStartAndCount(); return kFixedFrameSize;
        case TShape::Written: line.AddStartAndCount(); return DescribeCounted(line, frame, side, *function);
        case TShape::ByteCount: return DescribeCounted(line, frame, side, *function);
    }
    return kShortestFrame;
}

}  // namespace

std::optional<size_t> ByteCountIndex(uint8_t function, TFrameSide side) {
    switch (ShapeOf(FindFunction(function), side)) {
        case TShape::ByteCount: return 2;
        case TShape::Written: return 6;
        default: return std::nullopt;
    }
}

std::string DescribeFrame(std::span<const uint8_t> frame, TFrameSide side, TLanguage language) {
    TLine line(frame, language);
    size_t wholeSize = kShortestFrame;
    if (line.Has(1)) line.Add(line.Words().slave, frame[0]);
    if (line.Has(2)) wholeSize = std::max(wholeSize, DescribeBody(line, frame, side));
    if (!line.Has(wholeSize)) line.AddTruncated();
    return line.Text();
}

}  // namespace modbus
