// Resource and command identifiers, shared by the resource script and the code.
// The framework's standard ids come with it; the program's own are below.
#pragma once

#include "framework/standard_ids.h"

// Resources
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_SIMPARAM 310
#define IDR_CONTEXT_MENU 311

// Controls
#define IDC_GAME_SPEED 1000

// Commands of the program
#define ID_FONT 32773
#define ID_SIM_OPTIONS 32774
