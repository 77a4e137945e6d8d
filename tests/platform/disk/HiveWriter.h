// Registry hives for the tests: an empty hive (a base block and one bin
// holding the root key and its security cell), filled through hivex's
// writing calls from lines "KEY\\PATH" or "KEY\\PATH|NAME|sz|TEXT",
// "...|dword|NUMBER", "...|multi|A;B".
#pragma once

#include <hivex.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace hivetest {

inline void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::string EmptyHive() {
    std::string b(8192, '\0');
    b.replace(0, 4, "regf");
    Put32(b, 4, 1);
    Put32(b, 8, 1);
    Put32(b, 20, 1);      // major version
    Put32(b, 24, 5);      // minor version
    Put32(b, 32, 1);      // format: direct memory load
    Put32(b, 36, 0x20);   // root key cell
    Put32(b, 40, 0x1000); // size of the bins
    Put32(b, 44, 1);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 508; i += 4)
        sum ^= std::uint32_t(std::uint8_t(b[i])) | std::uint32_t(std::uint8_t(b[i + 1])) << 8 |
               std::uint32_t(std::uint8_t(b[i + 2])) << 16 |
               std::uint32_t(std::uint8_t(b[i + 3])) << 24;
    Put32(b, 508, sum);
    const std::size_t bin = 0x1000;
    b.replace(bin, 4, "hbin");
    Put32(b, bin + 8, 0x1000);
    // The root key: 80 bytes and its name, in a cell of 88.
    const std::size_t nk = bin + 0x20;
    Put32(b, nk, static_cast<std::uint32_t>(-88));
    b.replace(nk + 4, 2, "nk");
    b[nk + 6] = 0x2C; // root, cannot be deleted, ASCII name
    Put32(b, nk + 20, 0xFFFFFFFF);
    Put32(b, nk + 32, 0xFFFFFFFF);
    Put32(b, nk + 36, 0xFFFFFFFF);
    Put32(b, nk + 44, 0xFFFFFFFF);
    Put32(b, nk + 48, 0x20 + 88); // security cell
    Put32(b, nk + 52, 0xFFFFFFFF);
    b[nk + 76] = 4;
    b.replace(nk + 80, 4, "ROOT");
    // The security cell: a self-relative descriptor with an empty DACL.
    const std::size_t sk = nk + 88;
    Put32(b, sk, static_cast<std::uint32_t>(-56));
    b.replace(sk + 4, 2, "sk");
    Put32(b, sk + 8, 0x20 + 88);
    Put32(b, sk + 12, 0x20 + 88);
    Put32(b, sk + 16, 1);
    Put32(b, sk + 20, 28);
    b[sk + 24] = 1;
    b[sk + 26] = 0x04;
    b[sk + 27] = static_cast<char>(0x80);
    Put32(b, sk + 40, 20);
    b[sk + 44] = 2;
    b[sk + 46] = 8;
    Put32(b, sk + 56, static_cast<std::uint32_t>(0x1000 - (sk + 56 - bin))); // the rest is free
    return b;
}

inline std::string Utf16(const std::string& ascii, bool terminate = true) {
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    if (terminate)
        out.append(2, '\0');
    return out;
}

// Writes the hive `path` from `lines`; false when hivex refuses.
inline bool WriteHive(const std::string& path, const std::vector<std::string>& lines) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << EmptyHive();
        if (!out)
            return false;
    }
    hive_h* h = hivex_open(path.c_str(), HIVEX_OPEN_WRITE);
    if (!h)
        return false;
    std::map<std::string, std::vector<std::pair<std::string, std::pair<hive_type, std::string>>>>
        values;
    std::vector<std::string> keys;
    for (const std::string& line : lines) {
        std::vector<std::string> f;
        std::stringstream in(line);
        for (std::string piece; std::getline(in, piece, '|');)
            f.push_back(piece);
        keys.push_back(f[0]);
        if (f.size() < 4)
            continue;
        std::string data;
        hive_type type = hive_t_REG_SZ;
        if (f[2] == "dword") {
            type = hive_t_REG_DWORD;
            data.assign(4, '\0');
            Put32(data, 0, static_cast<std::uint32_t>(std::strtoul(f[3].c_str(), nullptr, 0)));
        } else if (f[2] == "multi") {
            type = hive_t_REG_MULTI_SZ;
            std::stringstream parts(f[3]);
            for (std::string p; std::getline(parts, p, ';');)
                data += Utf16(p);
            data.append(2, '\0');
        } else {
            data = Utf16(f[3]);
        }
        values[f[0]].push_back({f[1], {type, data}});
    }
    bool ok = true;
    for (const std::string& key : keys) {
        hive_node_h node = hivex_root(h);
        std::stringstream in(key);
        for (std::string name; ok && std::getline(in, name, '\\');) {
            hive_node_h child = hivex_node_get_child(h, node, name.c_str());
            if (child == 0)
                child = hivex_node_add_child(h, node, name.c_str());
            ok = child != 0;
            node = child;
        }
        const auto v = values.find(key);
        if (!ok || v == values.end())
            continue;
        std::vector<hive_set_value> set;
        for (auto& [name, typed] : v->second)
            set.push_back({name.data(), typed.first, typed.second.size(), typed.second.data()});
        ok = hivex_node_set_values(h, node, set.size(), set.data(), 0) == 0;
        values.erase(v);
    }
    ok = ok && hivex_commit(h, nullptr, 0) == 0;
    hivex_close(h);
    return ok;
}

} // namespace hivetest
