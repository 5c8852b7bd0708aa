#pragma once
// Colours as the window framework writes them: $BBGGRR, so $4080FF is orange
// (red FF, green 80, blue 40). Values with the top bit set name a system colour.
#include <QColor>
#include <cstdint>

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clOrange = 0x4080FF;      // the peak display below 100
constexpr TColor clLightRed = 0x8080FF;    // the driver box while the motor runs
constexpr TColor clLightGreen = 0x80FF80;  // a settings box that holds a value

constexpr TColor clWindow = 0x80000005;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clInactiveCaptionText = 0x80000013;

// The RGB value a colour shows as; system colours take this program's palette.
TColor ColorToRGB(TColor colour);
QColor toQColor(TColor colour);
