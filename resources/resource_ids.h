// Ids of Install.exe's raw-data resources: the encrypted UI archive and the skin pictures.
#pragma once

#define IDR_UI_ARCHIVE 500

// The skin pictures, numbered in this order.
#define IDR_BANNER 501
#define IDR_BANNER_DONE 502
#define IDR_INSTALL_NORMAL 503
#define IDR_INSTALL_HOVER 504
#define IDR_INSTALL_PRESSED 505
#define IDR_BROWSE 506
#define IDR_LAUNCH_NORMAL 507
#define IDR_LAUNCH_HOVER 508
#define IDR_LAUNCH_PRESSED 509
#define SKIN_PICTURE_COUNT 9
