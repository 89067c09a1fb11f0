#pragma once

#define IDD_PROBE 100
#define IDD_MISSING 101
