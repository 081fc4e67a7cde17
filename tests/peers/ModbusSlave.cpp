// A Modbus RTU slave on libmodbus, the independent peer our frames are checked against.
//
//   velmo_modbus_slave DEVICE BAUD SLAVE_ID [REGISTER=VALUE ...]
//
// Serves holding registers 0..255 (preset from the arguments; numbers in C notation) on DEVICE,
// 8 data bits, no parity, 1 stop bit. Prints "ready" once it listens and, after every request it
// answered, one line "served FF R0 R1 ... R255": the function code and the whole register map,
// all in hexadecimal. Runs until the line goes away or it is terminated.

#include <modbus.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int kRegisterCount = 256;

struct ContextCloser {
    void operator()(modbus_t* context) const {
        modbus_close(context);
        modbus_free(context);
    }
};

struct MappingFreer {
    void operator()(modbus_mapping_t* mapping) const { modbus_mapping_free(mapping); }
};

bool Preset(modbus_mapping_t& mapping, const char* assignment) {
    char* end = nullptr;
    const long address = std::strtol(assignment, &end, 0);
    if (end == assignment || *end != '=' || address < 0 || address >= kRegisterCount) return false;
    const char* valueText = end + 1;
    const long value = std::strtol(valueText, &end, 0);
    if (end == valueText || *end != '\0' || value < 0 || value > 0xFFFF) return false;
    mapping.tab_registers[address] = static_cast<uint16_t>(value);
    return true;
}

void Report(const modbus_mapping_t& mapping, uint8_t function) {
    std::string line = "served";
    char field[8];
    std::snprintf(field, sizeof field, " %02X", function);
    line += field;
    for (int i = 0; i < kRegisterCount; ++i) {
        std::snprintf(field, sizeof field, " %04X", mapping.tab_registers[i]);
        line += field;
    }
    std::puts(line.c_str());
    std::fflush(stdout);
}

// Errors in one frame (a bad CRC, a request for another slave) leave the line usable.
bool LineStillUsable(int error) { return error >= MODBUS_ENOBASE; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DEVICE BAUD SLAVE_ID [REGISTER=VALUE ...]\n", argv[0]);
        return 2;
    }
    const std::unique_ptr<modbus_t, ContextCloser> context(modbus_new_rtu(argv[1], std::atoi(argv[2]), 'N', 8, 1));
    const std::unique_ptr<modbus_mapping_t, MappingFreer> mapping(modbus_mapping_new(0, 0, kRegisterCount, 0));
    if (!context || !mapping) {
        std::fprintf(stderr, "cannot set up: %s\n", modbus_strerror(errno));
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        if (!Preset(*mapping, argv[i])) {
            std::fprintf(stderr, "bad register assignment: %s\n", argv[i]);
            return 2;
        }
    }
    if (modbus_set_slave(context.get(), std::atoi(argv[3])) != 0 || modbus_connect(context.get()) != 0) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], modbus_strerror(errno));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);

    uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    for (;;) {
        const int length = modbus_receive(context.get(), request);
        if (length < 0) {
            if (LineStillUsable(errno)) continue;
            std::fprintf(stderr, "line lost: %s\n", modbus_strerror(errno));
            return 0;
        }
        // Zero: a frame for another slave, ignored.
        if (length == 0) continue;
        if (modbus_reply(context.get(), request, length, mapping.get()) < 0) {
            std::fprintf(stderr, "reply failed: %s\n", modbus_strerror(errno));
            continue;
        }
        Report(*mapping, request[1]);
    }
}
