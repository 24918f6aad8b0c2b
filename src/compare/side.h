// The two texts of a comparison, and per-side storage for twin data.
#pragma once

#include <array>
#include <cstdint>

namespace rd {

enum class Side : std::uint8_t { A, B };

template <class T>
using PerSide = std::array<T, 2>;

constexpr std::size_t Index(Side side) { return static_cast<std::size_t>(side); }
constexpr Side Other(Side side) { return side == Side::A ? Side::B : Side::A; }

}  // namespace rd
