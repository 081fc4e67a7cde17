#pragma once
// Runs a function when the scope ends, also when it ends by an exception: the other half of a
// paired call (EndUpdate after BeginUpdate, a flag reset after it was set) in one line.
//
//     collection.BeginUpdate();
//     const rtl::ScopeExit end([&] { collection.EndUpdate(); });

#include <utility>

namespace rtl {

template <typename Function>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Function function) : function_(std::move(function)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (armed_) function_();
    }
    // The function will not run.
    void Release() { armed_ = false; }

private:
    Function function_;
    bool armed_ = true;
};

// Sets a flag for the scope and puts back its old value at the end.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag, bool value = true) : flag_(flag), old_(flag) { flag_ = value; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;
    ~ScopedFlag() { flag_ = old_; }

private:
    bool& flag_;
    bool old_;
};

}  // namespace rtl
