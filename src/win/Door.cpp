#include "win/Door.h"

#include "desktop/ResourceTable.h"
#include "win/WinText.h"

#include <commdlg.h>
#include <shellapi.h>

#include <deque>
#include <mutex>

namespace ostravion::win {

namespace {

struct Script {
    std::mutex mutex;
    bool on = false;
    std::deque<bool> answers;
    std::deque<std::string> files;
    std::deque<std::function<void(HWND)>> actions;
    std::vector<std::string> log;
};

Script& S() {
    static Script s;
    return s;
}

void Log(std::string line) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().log.push_back(std::move(line));
}

const std::wstring& Caption() {
    static const std::wstring caption = Wide(kAppTitle);
    return caption;
}

// "A|B||" -> "A\0B\0\0", as the common dialogs take a filter.
std::wstring Filter(const std::string& cp949) {
    std::wstring f = Wide(cp949);
    for (wchar_t& c : f)
        if (c == L'|')
            c = L'\0';
    f.push_back(L'\0');
    return f;
}

std::optional<std::string> FileDialog(HWND owner, const FileDialogRequest& r, bool save) {
    const char* kind = save ? "save: " : "open: ";
    if (Door::Scripted()) {
        std::optional<std::string> next;
        {
            std::lock_guard<std::mutex> lock(S().mutex);
            if (!S().files.empty()) {
                next = S().files.front();
                S().files.pop_front();
            }
        }
        Log(kind + (next ? *next : std::string("(cancel)")));
        return next;
    }
    std::wstring name = Wide(r.initialName);
    name.resize(32768, L'\0');
    const std::wstring filter = Filter(r.filter);
    const std::wstring caption = Wide(r.caption);
    const std::wstring extension = Wide(r.defaultExtension);
    wchar_t folder[MAX_PATH] = {};
    const std::wstring relative = Wide(r.folder);
    GetFullPathNameW(relative.c_str(), MAX_PATH, folder, nullptr);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = DWORD(name.size());
    ofn.lpstrInitialDir = folder;
    ofn.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok)
        return std::nullopt;
    return Narrow(name.c_str());
}

// A scripted dialog runs under this procedure: the dialog's own procedure
// gets every message, and the queued action runs once the dialog is up.
constexpr UINT kRunAction = WM_APP + 0x3A1;
const wchar_t* const kWrapProp = L"OstravionScriptedDialog";

struct Wrapped {
    DLGPROC proc;
    LPARAM param;
    std::function<void(HWND)> action;
};

INT_PTR CALLBACK ScriptedProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* w = static_cast<Wrapped*>(GetPropW(dlg, kWrapProp));
    if (msg == WM_INITDIALOG) {
        w = reinterpret_cast<Wrapped*>(lp);
        SetPropW(dlg, kWrapProp, w);
        const INT_PTR r = w->proc(dlg, msg, wp, w->param);
        PostMessageW(dlg, kRunAction, 0, 0);
        return r;
    }
    if (!w)
        return FALSE;
    if (msg == kRunAction) {
        auto action = std::move(w->action);
        w->action = nullptr;
        if (action)
            action(dlg);
        else
            PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    if (msg == WM_NCDESTROY)
        RemovePropW(dlg, kWrapProp);
    return w->proc(dlg, msg, wp, lp);
}

// A box asked for over a window that a modal dialog has disabled goes over
// that dialog instead, so that it shows in front of it.
HWND BoxOwner(HWND owner) {
    if (owner && !IsWindowEnabled(owner))
        if (HWND popup = GetLastActivePopup(owner); popup && IsWindowEnabled(popup))
            return popup;
    return owner;
}

} // namespace

void Door::Show(HWND owner, const std::string& cp949) {
    if (Scripted()) {
        Log("show: " + cp949);
        return;
    }
    MessageBoxW(BoxOwner(owner), Wide(cp949).c_str(), Caption().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

void Door::Inform(HWND owner, const std::string& cp949) {
    if (Scripted()) {
        Log("inform: " + cp949);
        return;
    }
    MessageBoxW(BoxOwner(owner), Wide(cp949).c_str(), Caption().c_str(),
                MB_OK | MB_ICONINFORMATION);
}

bool Door::UntilAnswered(const std::function<int()>& show) {
    for (;;) {
        const int answer = show();
        if (answer == IDYES)
            return true;
        if (answer == IDNO || answer == 0)
            return false;
    }
}

bool Door::Ask(HWND owner, const std::string& cp949) {
    if (Scripted()) {
        bool yes = false;
        {
            std::lock_guard<std::mutex> lock(S().mutex);
            if (!S().answers.empty()) {
                yes = S().answers.front();
                S().answers.pop_front();
            }
        }
        Log("ask: " + cp949 + (yes ? " = yes" : " = no"));
        return yes;
    }
    const std::wstring text = Wide(cp949);
    return UntilAnswered([&] {
        return MessageBoxW(BoxOwner(owner), text.c_str(), Caption().c_str(),
                           MB_YESNO | MB_ICONQUESTION);
    });
}

std::optional<std::string> Door::OpenFile(HWND owner, const FileDialogRequest& request) {
    return FileDialog(owner, request, false);
}

std::optional<std::string> Door::SaveFile(HWND owner, const FileDialogRequest& request) {
    return FileDialog(owner, request, true);
}

INT_PTR Door::RunDialog(HWND owner, int templateId, DLGPROC proc, LPARAM param) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!Scripted())
        return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, proc, param);
    Wrapped w{proc, param, nullptr};
    {
        std::lock_guard<std::mutex> lock(S().mutex);
        if (!S().actions.empty()) {
            w.action = std::move(S().actions.front());
            S().actions.pop_front();
        }
    }
    const INT_PTR r = DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, ScriptedProc,
                                      reinterpret_cast<LPARAM>(&w));
    Log("dialog: " + std::to_string(templateId) + " = " + std::to_string(r));
    return r;
}

bool Door::Shell(const std::string& verb, const std::string& target) {
    if (Scripted()) {
        Log("shell: " + verb + " " + target);
        return true;
    }
    // Above 32 when a program took it; SE_ERR_NOASSOC and the like otherwise.
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, Wide(verb).c_str(), Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

void Door::SetScripted(bool on) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().on = on;
    S().answers.clear();
    S().files.clear();
    S().actions.clear();
    S().log.clear();
}

bool Door::Scripted() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return S().on;
}

void Door::SetNextAnswer(bool yes) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().answers.push_back(yes);
}

void Door::SetNextFileName(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().files.push_back(path);
}

void Door::SetNextDialogAction(std::function<void(HWND)> action) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().actions.push_back(std::move(action));
}

std::function<void(HWND)> Door::TakeNextDialogAction() {
    std::lock_guard<std::mutex> lock(S().mutex);
    if (S().actions.empty())
        return nullptr;
    auto action = std::move(S().actions.front());
    S().actions.pop_front();
    return action;
}

void Door::Note(const std::string& line) {
    Log(line);
}

std::vector<std::string> Door::TakeLog() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return std::exchange(S().log, {});
}

} // namespace ostravion::win
