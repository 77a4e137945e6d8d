#include "win/WinMessages.h"

#include "util/Messages.h"
#include "win/Door.h"
#include "win/UiThread.h"

#include <algorithm>

namespace ostravion::win {

struct WinMessages::Wait {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::mutex mutex;
    bool done = false;
    bool yes = false;
    ~Wait() { CloseHandle(event); }
    void Answer(bool y) {
        std::lock_guard<std::mutex> lock(mutex);
        if (done)
            return;
        done = true;
        yes = y;
        SetEvent(event);
    }
};

void WinMessages::Show(const std::string& given) {
    const std::string text = msg::WithKoreanLine(given);
    if (OnUiThread()) {
        Door::Show(owner_, text);
        return;
    }
    HWND owner = owner_;
    PostToUi([owner, text] { Door::Show(owner, text); });
}

void WinMessages::Inform(const std::string& text) {
    if (OnUiThread()) {
        Door::Inform(owner_, text);
        return;
    }
    HWND owner = owner_;
    PostToUi([owner, text] { Door::Inform(owner, text); });
}

bool WinMessages::Ask(const std::string& question) {
    if (OnUiThread())
        return Door::Ask(owner_, question);
    auto wait = std::make_shared<Wait>();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waits_.push_back(wait);
    }
    HWND owner = owner_;
    if (!PostToUi([owner, question, wait] {
            {
                std::lock_guard<std::mutex> lock(wait->mutex);
                if (wait->done)
                    return; // given up on already
            }
            wait->Answer(Door::Ask(owner, question));
        }))
        wait->Answer(false);
    WaitForSingleObject(wait->event, INFINITE);
    bool yes = false;
    {
        std::lock_guard<std::mutex> lock(wait->mutex);
        yes = wait->yes;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    waits_.erase(std::remove(waits_.begin(), waits_.end(), wait), waits_.end());
    return yes;
}

void WinMessages::CancelWaits() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& wait : waits_)
        wait->Answer(false);
}

} // namespace ostravion::win
