// GoogleTest port settings for the win32-thread MinGW toolchains, which lack std::mutex and
// std::condition_variable: GoogleTest's thread start-up signal becomes an atomic flag.
#ifndef TESSARON_GTEST_CUSTOM_PORT_H
#define TESSARON_GTEST_CUSTOM_PORT_H

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Only GoogleTest's own thread tests wait on it, so spinning costs nothing in ours.
class Notification {
public:
    void Notify() { m_notified.store(true); }
    void WaitForNotification()
    {
        while (!m_notified.load()) {
        }
    }

private:
    std::atomic<bool> m_notified{false};
};

} // namespace internal
} // namespace testing

#endif
