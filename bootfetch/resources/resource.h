#pragma once

// Resource identifiers of bootfetch.exe.
#define IDI_APPLICATION_ICON 128
#define IDD_MAIN 129
#define IDR_LANGUAGE 201
#define IDC_PROGRESS 1000
#define IDC_STATUS 1001
