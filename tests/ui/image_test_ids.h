// Raw data resource ids of the UI binding test executable, shared by its .rc file and its tests.
#pragma once

#define IDR_BANNER_PNG 501  // a 600 x 420 PNG
#define IDR_FACE_PNG 502    // a 120 x 40 PNG
#define IDR_NOT_A_PICTURE 503
#define ID_MISSING 599
