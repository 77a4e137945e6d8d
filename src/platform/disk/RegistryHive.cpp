#include "platform/disk/RegistryHive.h"

#include "platform/pe/PeVersion.h"

#include <hivex.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace ostravion::disk {

namespace {

// A text hivex allocated, freed when it goes out of scope.
struct Freed {
    char* p;
    ~Freed() { std::free(p); }
};

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The base block: "regf", the two sequence numbers, and the length of the
// hive bins that follow it at 4096.
constexpr std::size_t kBaseBlock = 4096;

} // namespace

struct RegistryHive::Impl {
    hive_h* hive = nullptr;
    bool dirty = false;
    mutable bool damaged = false;

    // hivex tells a missing name by 0 with errno untouched, a failure by 0
    // with errno set.
    void NoteFailure() const {
        if (errno != 0)
            damaged = true;
    }
    ~Impl() {
        if (hive)
            hivex_close(hive);
    }

    hive_node_h Key(const std::string& path) const {
        hive_node_h node = hivex_root(hive);
        std::size_t at = 0;
        while (node != 0 && at < path.size()) {
            std::size_t end = path.find('\\', at);
            if (end == std::string::npos)
                end = path.size();
            const std::string name = path.substr(at, end - at);
            if (!name.empty()) {
                errno = 0;
                node = hivex_node_get_child(hive, node, name.c_str());
                if (node == 0)
                    NoteFailure();
            }
            at = end + 1;
        }
        return node;
    }

    hive_value_h Value(const std::string& key, const std::string& name, hive_type want) const {
        const hive_node_h node = Key(key);
        if (node == 0)
            return 0;
        errno = 0;
        const hive_value_h value = hivex_node_get_value(hive, node, name.c_str());
        if (value == 0)
            NoteFailure();
        // A damaged hive may hold any number as a value's type: it is taken
        // as a number, never as the library's enumeration.
        std::uint32_t type = 0;
        std::size_t length = 0;
        if (value == 0)
            return 0;
        if (hivex_value_type(hive, value, reinterpret_cast<hive_type*>(&type), &length) != 0) {
            damaged = true;
            return 0;
        }
        if (type == static_cast<std::uint32_t>(want) ||
            (want == hive_t_REG_SZ && type == static_cast<std::uint32_t>(hive_t_REG_EXPAND_SZ)))
            return value;
        return 0;
    }
};

RegistryHive::RegistryHive(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegistryHive::~RegistryHive() = default;

std::unique_ptr<RegistryHive> RegistryHive::FromBytes(const std::string& bytes, std::string* why) {
    const auto refuse = [&](std::string reason) -> std::unique_ptr<RegistryHive> {
        if (why)
            *why = std::move(reason);
        return nullptr;
    };
    if (bytes.size() < kBaseBlock || bytes.compare(0, 4, "regf") != 0)
        return refuse("레지스트리 하이브 파일이 아닙니다");
    const std::uint64_t binsEnd = kBaseBlock + std::uint64_t{pe::Le32(bytes, 0x28)};
    if (binsEnd > bytes.size())
        return refuse("하이브가 잘렸습니다 (헤더로는 " + std::to_string(binsEnd) +
                      "바이트인데 파일은 " + std::to_string(bytes.size()) + "바이트입니다)");
    // hivex reads a hive by file name: the bytes go into a file in memory,
    // which it reads whole and which is gone once it is closed.
    const int fd = ::memfd_create("hive", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    auto impl = std::make_unique<Impl>();
    if (WriteAll(fd, bytes)) {
        const std::string name = "/proc/self/fd/" + std::to_string(fd);
        impl->hive = hivex_open(name.c_str(), 0);
    }
    ::close(fd);
    if (!impl->hive || hivex_root(impl->hive) == 0)
        return refuse("손상되어 읽을 수 없습니다");
    impl->dirty = pe::Le32(bytes, 4) != pe::Le32(bytes, 8);
    return std::unique_ptr<RegistryHive>(new RegistryHive(std::move(impl)));
}

bool RegistryHive::Dirty() const {
    return impl_->dirty;
}

bool RegistryHive::Damaged() const {
    return impl_->damaged;
}

bool RegistryHive::HasKey(const std::string& key) const {
    return impl_->Key(key) != 0;
}

bool RegistryHive::SubKeys(const std::string& key, std::vector<std::string>& names) const {
    names.clear();
    const hive_node_h node = impl_->Key(key);
    if (node == 0)
        return false;
    hive_node_h* children = hivex_node_children(impl_->hive, node);
    if (!children) {
        impl_->damaged = true;
        return false;
    }
    for (const hive_node_h* c = children; *c != 0; ++c) {
        char* name = hivex_node_name(impl_->hive, *c);
        if (!name) {
            impl_->damaged = true;
            continue;
        }
        names.emplace_back(name);
        std::free(name);
    }
    std::free(children);
    return true;
}

std::optional<std::string> RegistryHive::String(const std::string& key,
                                                const std::string& name) const {
    const hive_value_h value = impl_->Value(key, name, hive_t_REG_SZ);
    if (value == 0)
        return std::nullopt;
    const Freed text{hivex_value_string(impl_->hive, value)};
    if (!text.p) {
        impl_->damaged = true;
        return std::nullopt;
    }
    return std::string(text.p);
}

std::optional<std::uint32_t> RegistryHive::Dword(const std::string& key,
                                                 const std::string& name) const {
    const hive_value_h value = impl_->Value(key, name, hive_t_REG_DWORD);
    if (value == 0)
        return std::nullopt;
    std::size_t length = 0;
    std::uint32_t type = 0;
    const Freed raw{
        hivex_value_value(impl_->hive, value, reinterpret_cast<hive_type*>(&type), &length)};
    if (!raw.p) {
        impl_->damaged = true;
        return std::nullopt;
    }
    if (length < 4)
        return std::nullopt;
    const auto* b = reinterpret_cast<const unsigned char*>(raw.p);
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
           (std::uint32_t(b[3]) << 24);
}

std::optional<std::vector<std::string>> RegistryHive::Strings(const std::string& key,
                                                              const std::string& name) const {
    const hive_value_h value = impl_->Value(key, name, hive_t_REG_MULTI_SZ);
    if (value == 0)
        return std::nullopt;
    char** list = hivex_value_multiple_strings(impl_->hive, value);
    if (!list) {
        impl_->damaged = true;
        return std::nullopt;
    }
    std::vector<std::string> out;
    for (char** s = list; *s; ++s) {
        out.emplace_back(*s);
        std::free(*s);
    }
    std::free(list);
    return out;
}

} // namespace ostravion::disk
