#pragma once

#define IDD_PROBE 100
#define IDD_MISSING 101
#define IDC_PROGRESS 1000
