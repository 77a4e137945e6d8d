// libFuzzer target for the key list: the input is KEYLIST.DAT as read from
// the file system (container undone, lines and columns split), then every
// loaded name is looked up again, and the payload is scrambled back.
#include "FuzzInput.h"
#include "files/Container.h"
#include "scan/KeyList.h"

#include <algorithm>

using namespace ostravion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    test::MemoryFileSystem fs;
    fuzz::QuietMessages messages;
    fs.files[kKeyListFile] = bytes;

    KeyList list;
    const bool loaded = list.Load(fs, messages);
    fuzz::Check(loaded == !bytes.empty(), "a key list loads unless the file is empty");

    // A name that is listed finds an entry of that name, never a later one
    // than the entry it was taken from.
    const std::size_t entries = std::min<std::size_t>(list.Size(), 64);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::string& name = list.ExeNameUpper(i);
        fuzz::Check(list.Lists(name), "every loaded name is listed");
        std::string version;
        const int k = list.Match(
            name, list.Column(6, i), [&] { return list.Column(4, i); }, version);
        fuzz::Check(k >= 0 && static_cast<std::size_t>(k) <= i, "a listed entry matches itself");
        fuzz::Check(list.ExeNameUpper(static_cast<std::size_t>(k)) == name,
                    "a match has the name looked up");
    }
    std::string version;
    list.Match("SETUP.EXE", "1", nullptr, version);

    // Whatever payload a container gives, scrambling it again either refuses
    // or gives a container of the same payload.
    const std::string payload = UnscrambleText(std::string_view(bytes).substr(0, bytes.find('\0')));
    std::string again;
    if (ScrambleText(payload, again))
        fuzz::Check(UnscrambleText(again) == payload, "a scrambled payload reads back");
    return 0;
}
