// Resource ids of the module-resource test executable, shared by its .rc file and its tests.
#pragma once

#define IDR_INDEXED1_PNG 301
#define IDR_INDEXED4_PNG 302
#define IDR_INDEXED8_PNG 303
#define IDR_RGB24_PNG 304
#define IDR_RGBA32_PNG 305
#define IDR_RGB48_PNG 306
#define IDR_NOT_A_PICTURE 307
#define IDR_TEXT_BOM 310
#define IDR_TEXT_PLAIN 311
#define IDR_TEXT_TWO_BOMS 312
#define IDR_EMPTY 313
#define IDI_PRODUCT 320
#define IDS_PRODUCT_NAME 200
#define IDS_ASCII 201
#define IDS_LONG 202
#define IDC_POINTER 321
#define ID_MISSING 399
