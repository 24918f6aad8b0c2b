// ToLongPath: a path rebuilt with the names under which the file system
// lists each of its components.
#pragma once

#include <string>
#include <string_view>

namespace rd {

// Each existing component is respelled as its folder lists it (this differs
// from the given spelling on case-insensitive mounts such as vfat); a
// component that does not exist ends the respelling and the path comes back
// as given from there on. One trailing "/" is removed.
std::string ToLongPath(std::string_view path);

}  // namespace rd
