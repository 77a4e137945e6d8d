// The program's UTF-8 text on a Windows console or redirected stream, in the
// form its reader reads: the console takes UTF-16 (whatever --utf8 says:
// it shows characters, not bytes), a file or pipe the console's output code
// page (the ANSI code page without a console) with CR LF line ends, as
// Windows tools read text; with --utf8 a file or pipe gets the UTF-8 as it is.
#include "platform/Native.h"
#include "platform/win32/WinApi.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <streambuf>
#include <string>

namespace ostravion {

namespace {

bool WriteAll(HANDLE handle, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 65536 ? 65536 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

std::wstring WideFrom(const std::string& utf8) {
    if (utf8.empty())
        return std::wstring();
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

// The length of the text's start that ends on a whole UTF-8 character: the
// start of a character cut off at the end waits for the rest of it.
std::size_t WholeCharacters(const std::string& text) {
    std::size_t end = text.size();
    std::size_t back = 0;
    while (back < 4 && back < end &&
           (static_cast<unsigned char>(text[end - 1 - back]) & 0xC0) == 0x80)
        ++back;
    if (back == end)
        return end;
    const unsigned char lead = static_cast<unsigned char>(text[end - 1 - back]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > back + 1 ? end - 1 - back : end;
}

// LF line ends as CR LF; a CR LF already there stays as it is. `lastWasCr`
// carries a CR at the end of one piece of text over to the next.
std::string WithCrLf(const std::string& text, bool& lastWasCr) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n' && !lastWasCr)
            out.push_back('\r');
        out.push_back(c);
        lastWasCr = c == '\r';
    }
    return out;
}

// One standard stream: UTF-8 gathered by the line, written as its reader
// reads it.
class StreamText final : public std::streambuf {
public:
    StreamText(DWORD which, bool utf8) : which_(which), utf8_(utf8) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        pending_.push_back(traits_type::to_char_type(c));
        if (c == '\n' || pending_.size() >= kLine)
            Flush();
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<std::size_t>(n));
        if (pending_.size() >= kLine ||
            std::char_traits<char>::find(s, static_cast<std::size_t>(n), '\n'))
            Flush();
        return n;
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    static constexpr std::size_t kLine = 4096;

    bool Flush() {
        const std::size_t whole = WholeCharacters(pending_);
        if (whole == 0)
            return true;
        const std::string text = pending_.substr(0, whole);
        pending_.erase(0, whole);
        return Write(text);
    }

    bool Write(const std::string& text) {
        const HANDLE handle = GetStdHandle(which_);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
            return false;
        DWORD mode = 0;
        const bool console = GetConsoleMode(handle, &mode) != 0;
        if (utf8_ && !console)
            return WriteAll(handle, text.data(), text.size());
        const std::string lined = console ? text : WithCrLf(text, lastWasCr_);
        const std::wstring wide = WideFrom(lined);
        if (console) {
            const wchar_t* at = wide.data();
            std::size_t left = wide.size();
            while (left > 0) {
                const DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
                DWORD written = 0;
                if (!WriteConsoleW(handle, at, chunk, &written, nullptr) || written == 0)
                    return false;
                at += written;
                left -= written;
            }
            return true;
        }
        UINT codePage = GetConsoleOutputCP();
        if (codePage == 0)
            codePage = GetACP();
        if (codePage == CP_UTF8)
            return WriteAll(handle, lined.data(), lined.size());
        const int size = static_cast<int>(wide.size());
        const int n =
            WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
        if (n <= 0)
            return wide.empty();
        std::string bytes(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), n, nullptr, nullptr);
        return WriteAll(handle, bytes.data(), bytes.size());
    }

    DWORD which_;
    bool utf8_;
    std::string pending_;
    bool lastWasCr_ = false;
};

class WindowsStandardText final : public StandardText {
public:
    explicit WindowsStandardText(bool utf8)
        : out_(STD_OUTPUT_HANDLE, utf8), err_(STD_ERROR_HANDLE, utf8) {
        std::cout.flush();
        std::cerr.flush();
        SetStandardStreamsBinary();
        oldOut_ = std::cout.rdbuf(&out_);
        oldErr_ = std::cerr.rdbuf(&err_);
    }
    ~WindowsStandardText() override {
        std::cout.flush();
        std::cerr.flush();
        std::cout.rdbuf(oldOut_);
        std::cerr.rdbuf(oldErr_);
    }

private:
    StreamText out_;
    StreamText err_;
    std::streambuf* oldOut_ = nullptr;
    std::streambuf* oldErr_ = nullptr;
};

} // namespace

std::unique_ptr<StandardText> TakeStandardStreams(bool utf8) {
    return std::make_unique<WindowsStandardText>(utf8);
}

bool WriteStandardOutputBytes(const std::string& bytes) {
    std::cout.flush();
    std::fflush(stdout);
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           WriteAll(handle, bytes.data(), bytes.size());
}

} // namespace ostravion
