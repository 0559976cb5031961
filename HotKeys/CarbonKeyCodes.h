#pragma once

// Virtual key codes of the Carbon kVK_ set. Stored shortcuts keep these numbers, so a settings
// file moves unchanged between platforms; each names a key position on an ANSI keyboard.
namespace HotKeys::CarbonKey {

inline constexpr int ANSI_A = 0x00;
inline constexpr int ANSI_S = 0x01;
inline constexpr int ANSI_D = 0x02;
inline constexpr int ANSI_F = 0x03;
inline constexpr int ANSI_H = 0x04;
inline constexpr int ANSI_G = 0x05;
inline constexpr int ANSI_Z = 0x06;
inline constexpr int ANSI_X = 0x07;
inline constexpr int ANSI_C = 0x08;
inline constexpr int ANSI_V = 0x09;
inline constexpr int ISO_Section = 0x0A;
inline constexpr int ANSI_B = 0x0B;
inline constexpr int ANSI_Q = 0x0C;
inline constexpr int ANSI_W = 0x0D;
inline constexpr int ANSI_E = 0x0E;
inline constexpr int ANSI_R = 0x0F;
inline constexpr int ANSI_Y = 0x10;
inline constexpr int ANSI_T = 0x11;
inline constexpr int ANSI_1 = 0x12;
inline constexpr int ANSI_2 = 0x13;
inline constexpr int ANSI_3 = 0x14;
inline constexpr int ANSI_4 = 0x15;
inline constexpr int ANSI_6 = 0x16;
inline constexpr int ANSI_5 = 0x17;
inline constexpr int ANSI_Equal = 0x18;
inline constexpr int ANSI_9 = 0x19;
inline constexpr int ANSI_7 = 0x1A;
inline constexpr int ANSI_Minus = 0x1B;
inline constexpr int ANSI_8 = 0x1C;
inline constexpr int ANSI_0 = 0x1D;
inline constexpr int ANSI_RightBracket = 0x1E;
inline constexpr int ANSI_O = 0x1F;
inline constexpr int ANSI_U = 0x20;
inline constexpr int ANSI_LeftBracket = 0x21;
inline constexpr int ANSI_I = 0x22;
inline constexpr int ANSI_P = 0x23;
inline constexpr int Return = 0x24;
inline constexpr int ANSI_L = 0x25;
inline constexpr int ANSI_J = 0x26;
inline constexpr int ANSI_Quote = 0x27;
inline constexpr int ANSI_K = 0x28;
inline constexpr int ANSI_Semicolon = 0x29;
inline constexpr int ANSI_Backslash = 0x2A;
inline constexpr int ANSI_Comma = 0x2B;
inline constexpr int ANSI_Slash = 0x2C;
inline constexpr int ANSI_N = 0x2D;
inline constexpr int ANSI_M = 0x2E;
inline constexpr int ANSI_Period = 0x2F;
inline constexpr int Tab = 0x30;
inline constexpr int Space = 0x31;
inline constexpr int ANSI_Grave = 0x32;
inline constexpr int Delete = 0x33;
inline constexpr int Escape = 0x35;
inline constexpr int F17 = 0x40;
inline constexpr int ANSI_KeypadDecimal = 0x41;
inline constexpr int ANSI_KeypadMultiply = 0x43;
inline constexpr int ANSI_KeypadPlus = 0x45;
inline constexpr int ANSI_KeypadClear = 0x47;
inline constexpr int VolumeUp = 0x48;
inline constexpr int VolumeDown = 0x49;
inline constexpr int Mute = 0x4A;
inline constexpr int ANSI_KeypadDivide = 0x4B;
inline constexpr int ANSI_KeypadEnter = 0x4C;
inline constexpr int ANSI_KeypadMinus = 0x4E;
inline constexpr int F18 = 0x4F;
inline constexpr int F19 = 0x50;
inline constexpr int ANSI_KeypadEquals = 0x51;
inline constexpr int ANSI_Keypad0 = 0x52;
inline constexpr int ANSI_Keypad1 = 0x53;
inline constexpr int ANSI_Keypad2 = 0x54;
inline constexpr int ANSI_Keypad3 = 0x55;
inline constexpr int ANSI_Keypad4 = 0x56;
inline constexpr int ANSI_Keypad5 = 0x57;
inline constexpr int ANSI_Keypad6 = 0x58;
inline constexpr int ANSI_Keypad7 = 0x59;
inline constexpr int F20 = 0x5A;
inline constexpr int ANSI_Keypad8 = 0x5B;
inline constexpr int ANSI_Keypad9 = 0x5C;
inline constexpr int JIS_Yen = 0x5D;
inline constexpr int F5 = 0x60;
inline constexpr int F6 = 0x61;
inline constexpr int F7 = 0x62;
inline constexpr int F3 = 0x63;
inline constexpr int F8 = 0x64;
inline constexpr int F9 = 0x65;
inline constexpr int F11 = 0x67;
inline constexpr int F13 = 0x69;
inline constexpr int F16 = 0x6A;
inline constexpr int F14 = 0x6B;
inline constexpr int F10 = 0x6D;
inline constexpr int F12 = 0x6F;
inline constexpr int F15 = 0x71;
inline constexpr int Help = 0x72;
inline constexpr int Home = 0x73;
inline constexpr int PageUp = 0x74;
inline constexpr int ForwardDelete = 0x75;
inline constexpr int F4 = 0x76;
inline constexpr int End = 0x77;
inline constexpr int F2 = 0x78;
inline constexpr int PageDown = 0x79;
inline constexpr int F1 = 0x7A;
inline constexpr int LeftArrow = 0x7B;
inline constexpr int RightArrow = 0x7C;
inline constexpr int DownArrow = 0x7D;
inline constexpr int UpArrow = 0x7E;

// F1 to F20 in order; their codes are scattered over the table.
inline constexpr int functionKeys[20] = {F1,  F2,  F3,  F4,  F5,  F6,  F7,  F8,  F9,  F10,
                                         F11, F12, F13, F14, F15, F16, F17, F18, F19, F20};

} // namespace HotKeys::CarbonKey
