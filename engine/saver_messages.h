#pragma once
#include <cstdint>

// Window messages and key codes the core handles, with their Win32 values.
// The Windows build checks them against windows.h.
const uint32_t SAVER_WM_CREATE = 0x0001;
const uint32_t SAVER_WM_DESTROY = 0x0002;
const uint32_t SAVER_WM_SIZE = 0x0005;
const uint32_t SAVER_WM_CLOSE = 0x0010;
const uint32_t SAVER_WM_SHOWWINDOW = 0x0018;
const uint32_t SAVER_WM_ACTIVATEAPP = 0x001C;
const uint32_t SAVER_WM_SETCURSOR = 0x0020;
const uint32_t SAVER_WM_NCCREATE = 0x0081;
const uint32_t SAVER_WM_KEYDOWN = 0x0100;
const uint32_t SAVER_WM_KEYUP = 0x0101;
const uint32_t SAVER_WM_SYSKEYDOWN = 0x0104;
const uint32_t SAVER_WM_TIMER = 0x0113;
const uint32_t SAVER_WM_MOUSEMOVE = 0x0200;
const uint32_t SAVER_WM_LBUTTONDOWN = 0x0201;
const uint32_t SAVER_WM_RBUTTONDOWN = 0x0204;
const uint32_t SAVER_WM_MBUTTONDOWN = 0x0207;

const uint32_t SAVER_VK_F1 = 0x70;
const uint32_t SAVER_VK_F2 = 0x71;

// The frame timer's identifier and period.
const uintptr_t SAVER_FRAME_TIMER_ID = 1;
const uint32_t SAVER_FRAME_TIMER_MILLIS = 1;
