#pragma once
// Pseudo-terminal pairs and the scaffolding the serial tests run on: a scratch config folder
// whose ports entries point COMn at a pty, bounded waits for bytes, and a bridge joining two
// pairs so that two programs can each open a real tty and talk to each other.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vcl::pty {

// One pair from openpty. The test talks through the master; the code under test opens the slave
// by its path. The pair keeps a slave descriptor of its own, unused, so that the master never sees
// a hang-up while the code under test has the slave closed.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int Master() const { return master_; }
    // The pair's own slave descriptor: another program that had the device open before the code
    // under test.
    int EarlierSlave() const { return slave_; }
    const std::string& SlavePath() const { return slavePath_; }
    // The other end hangs up, as a pulled adapter does.
    void CloseMaster();

    void WriteToMaster(const std::vector<uint8_t>& bytes) const;
    // Reads until count bytes came or a few seconds passed without them; what came.
    std::vector<uint8_t> ReadFromMaster(size_t count) const;
    // What the slave side sent and the master holds now, without waiting.
    std::vector<uint8_t> ReadAvailable() const;
    // Whether any byte comes from the slave side within the grace period.
    bool AnythingArrives(int graceMilliseconds) const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// XDG_CONFIG_HOME pointed at a fresh folder with an empty ports folder, restored on destruction.
class ScratchConfig {
public:
    ScratchConfig();
    ~ScratchConfig();
    ScratchConfig(const ScratchConfig&) = delete;
    ScratchConfig& operator=(const ScratchConfig&) = delete;

    const std::string& PortsFolder() const { return ports_; }
    // Makes COMn a symlink to target, replacing an earlier entry.
    void MapPort(int portNumber, const std::string& target) const;

private:
    std::string root_;
    std::string ports_;
    bool hadConfigHome_ = false;
    std::string savedConfigHome_;
};

// Hangs the other end up unless destroyed within a few seconds, so that a call that would wait
// for ever fails the test instead of hanging it.
class HangUpUnlessDone {
public:
    explicit HangUpUnlessDone(PtyPair& pty);
    ~HangUpUnlessDone();
    HangUpUnlessDone(const HangUpUnlessDone&) = delete;
    HangUpUnlessDone& operator=(const HangUpUnlessDone&) = delete;

    // Whether it had to hang up.
    bool HungUp() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool cancelled_ = false;
    bool hungUp_ = false;
    std::thread thread_;
};

// Copies bytes both ways between two masters until destroyed.
class PtyBridge {
public:
    PtyBridge(int firstMaster, int secondMaster);
    ~PtyBridge();
    PtyBridge(const PtyBridge&) = delete;
    PtyBridge& operator=(const PtyBridge&) = delete;

private:
    void Run(int first, int second) const;

    int stopPipe_[2] = {-1, -1};
    std::thread thread_;
};

std::vector<uint8_t> AllByteValues();

}  // namespace vcl::pty
