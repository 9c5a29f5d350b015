// Virtual-key codes of the keys the program and its tables name. Letters and digits are their
// upper-case ASCII codes.
#pragma once

#include "Types.h"

constexpr WORD VK_BACK = 0x08;
constexpr WORD VK_TAB = 0x09;
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_PRIOR = 0x21; // Page Up
constexpr WORD VK_NEXT = 0x22;  // Page Down
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_DOWN = 0x28;
constexpr WORD VK_INSERT = 0x2D;
constexpr WORD VK_DELETE = 0x2E;
constexpr WORD VK_ADD = 0x6B; // '+', on the keypad or shifted
constexpr WORD VK_F6 = 0x75;
constexpr WORD VK_OEM_4 = 0xDB;     // [ on a US keyboard
constexpr WORD VK_OEM_6 = 0xDD;     // ]
constexpr WORD VK_OEM_PLUS = 0xBB;  // the '=' key
constexpr WORD VK_OEM_MINUS = 0xBD; // '-', on the keypad too
