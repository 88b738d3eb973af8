#pragma once
// A settings store in memory that can refuse single values, which neither real store can do on
// its own: the registry may fail one write among seventeen, a key file fails all or none.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct SettingsKey {
    std::map<std::string, uint32_t> values;
    std::set<std::string> failing;
    std::vector<std::string> writes;  // every attempted write, in order
};
