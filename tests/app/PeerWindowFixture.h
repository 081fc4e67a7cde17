#pragma once
// The main window with COM1 on a pseudo-terminal bridged to another one, where a test peer (a
// libmodbus slave, paced or not) opens its end: the window talks to a real program over real ttys.

#include <memory>
#include <string>
#include <vector>

#include "tests/app/MainWindowFixture.h"
#include "tests/peers/SlaveProcess.h"
#include "tests/platform/serialdev/PtyPair.h"

namespace app::testing {

class PeerWindowTest : public MainWindowTest {
protected:
    PeerWindowTest() : MainWindowTest(false) {}

    void SetUp() override {
        config_.MapPort(1, ours_.SlavePath());
        bridge_ = std::make_unique<vcl::pty::PtyBridge>(ours_.Master(), theirs_.Master());
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        slave_.reset();
        bridge_.reset();
    }
    // Starts the peer program on the far pty (arguments after its path and the device) and waits
    // until it listens.
    void StartPeer(const std::string& program, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {program, theirs_.SlavePath()});
        slave_ = std::make_unique<vcl::peers::SlaveProcess>(arguments);
        ASSERT_EQ(slave_->ReadLine(), "ready");
    }

    vcl::pty::ScratchConfig config_;
    vcl::pty::PtyPair ours_;
    vcl::pty::PtyPair theirs_;
    std::unique_ptr<vcl::pty::PtyBridge> bridge_;
    std::unique_ptr<vcl::peers::SlaveProcess> slave_;
};

}  // namespace app::testing
