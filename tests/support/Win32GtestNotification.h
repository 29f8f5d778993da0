#pragma once
// GoogleTest's thread start gate needs std::mutex, which MinGW's win32 thread model (the
// one that keeps vexilla.exe free of newer imports) lacks. This gate does the same job with
// a Win32 event; it is force-included into the i686 test builds.

#include <windows.h>

namespace testing::internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() {
        if (event_ != nullptr) {
            CloseHandle(event_);
        }
    }
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal
