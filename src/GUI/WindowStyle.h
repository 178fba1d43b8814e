#pragma once

#include <cstdint>

namespace GUI {

// Window styles, with the window system's numbers. Visible, disabled and tab stop change the
// widget; the others are kept for what the creator asked and have no further effect.
inline constexpr std::uint32_t kStyleChild = 0x40000000;
inline constexpr std::uint32_t kStyleVisible = 0x10000000;
inline constexpr std::uint32_t kStyleDisabled = 0x08000000;
inline constexpr std::uint32_t kStyleClipSiblings = 0x04000000;
inline constexpr std::uint32_t kStyleClipChildren = 0x02000000;
inline constexpr std::uint32_t kStyleTabStop = 0x00010000;
inline constexpr std::uint32_t kStyleOverlappedWindow = 0x00CF0000;

inline constexpr std::uint32_t kExStyleTransparent = 0x00000020;
inline constexpr std::uint32_t kExStyleControlParent = 0x00010000;

}  // namespace GUI
