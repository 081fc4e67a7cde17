#include "app/ReplyCollector.h"

#include <algorithm>

#include "platform/runtime/Clock.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/toolkit/Application.h"
#include "serial/TComm1.h"

namespace app {

namespace {

// Short against the 20 ms silence, long enough to leave the processor alone meanwhile.
constexpr uint32_t kStepMs = 2;

// Appends what the port has that is new, at most room bytes (the rest stays waiting); whether
// anything came.
bool TakeNew(serial::TComm& comm, TCollectedReply& reply, uint32_t room) {
    const uint64_t before = comm.InputCount();
    const uint32_t inputLen = comm.InputLen();
    // A read asks for all that waits unless InputLen says less: here, never more than fits.
    comm.SetInputLen(room);
    const rtl::ScopeExit restore([&] { comm.SetInputLen(inputLen); });
    const uint8_t* data = nullptr;
    const int32_t last = comm.ReadBytes(data);
    if (comm.InputCount() == before || data == nullptr || last < 0) return false;
    if (reply.Bytes.empty()) reply.FirstArrival = comm.InputArrivals().front().Micros;
    reply.Bytes.insert(reply.Bytes.end(), data, data + last + 1);
    return true;
}

}  // namespace

TCollectedReply CollectReply(serial::TComm& comm, uint64_t foundAt) {
    TCollectedReply reply;
    const uint64_t silence = comm.InterFrameSilenceMicroseconds();
    uint64_t lastSeen = vcl::Clock().NowMicroseconds();
    TakeNew(comm, reply, kLongestReply);
    while (reply.Bytes.size() < kLongestReply) {
        const uint64_t now = vcl::Clock().NowMicroseconds();
        if (now - foundAt >= kLongestCollectionUs) break;
        if (now - lastSeen >= silence) break;
        vcl::Sleep(kStepMs);
        vcl::Application->ProcessMessages();
        if (!comm.PortOpen()) break;
        if (TakeNew(comm, reply, kLongestReply - static_cast<uint32_t>(reply.Bytes.size()))) {
            lastSeen = vcl::Clock().NowMicroseconds();
        }
    }
    return reply;
}

}  // namespace app
