#pragma once

#include "colour.h"

// One palette for every skin bitmap, so that windows, buttons and the splash read as one design.
namespace tarnwick::art::palette {

inline constexpr Colour kTeal = FromHex(0x2f7f86);
inline constexpr Colour kTealDark = FromHex(0x1f5c62);
inline constexpr Colour kTealLight = FromHex(0x4fa3a9);
inline constexpr Colour kTealMist = FromHex(0xd6ebec);
inline constexpr Colour kWhite = FromHex(0xffffff);
inline constexpr Colour kPanel = FromHex(0xf3f6f7);  // body of every window, behind the labels
inline constexpr Colour kSidebar = FromHex(0xe4edee);
inline constexpr Colour kLine = FromHex(0xcfdcde);
inline constexpr Colour kInk = FromHex(0x23383b);
inline constexpr Colour kMuted = FromHex(0x8fa3a6);
inline constexpr Colour kDisabledFill = FromHex(0xe3e8e9);
inline constexpr Colour kCoral = FromHex(0xd9654f);
inline constexpr Colour kAmber = FromHex(0xe0a33a);
inline constexpr Colour kGreen = FromHex(0x3c9a6b);
inline constexpr Colour kPdfRed = FromHex(0xc8463d);

// The header band behind the toolbar: a vertical gradient over its height.
inline constexpr int kHeaderHeight = 52;
inline constexpr Colour kHeaderTop = FromHex(0x3a8f96);
inline constexpr Colour kHeaderBottom = FromHex(0x256b71);

// The colours the program treats as transparent around button shapes and the splash outline.
inline constexpr Rgb kHoverKey{189, 230, 231};
inline constexpr Rgb kNormalKey{2, 2, 2};
inline constexpr Rgb kSplashKey{255, 0, 240};

}  // namespace tarnwick::art::palette
