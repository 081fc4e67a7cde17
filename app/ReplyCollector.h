#pragma once
// The rest of a reply, after the receive handler's first wait. A pseudo-terminal hands a reply
// over at once, but a real line at 9600 baud moves one byte per millisecond, so a 255-byte reply
// is still arriving when the 100 ms wait ends. The collector reads on while bytes keep coming and
// ends the reply once the line has been quiet for the inter-frame silence (3.5 character times,
// never under 20 ms), or at 16384 bytes, or 2 s after the poll found the first bytes, whichever
// comes first. Bytes beyond 16384 stay in the port for the next reply. It collects in short steps
// and lets the window's messages run between them (painting, input; the port's own next poll is
// not run there), so the window never freezes, and it stops early when the port is closed in the
// meantime.

#include <cstdint>
#include <vector>

namespace serial {
class TComm;
}

namespace app {

struct TCollectedReply {
    std::vector<uint8_t> Bytes;
    // When the first byte arrived, on the port's clock.
    uint64_t FirstArrival = 0;
};

inline constexpr uint32_t kLongestReply = 16384;
inline constexpr uint64_t kLongestCollectionUs = 2000000;

// Reads the reply from comm, whose poll found bytes waiting at foundAt (the window's clock).
TCollectedReply CollectReply(serial::TComm& comm, uint64_t foundAt);

}  // namespace app
