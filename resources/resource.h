#pragma once

// String table: the display name (the screen-saver host shows string 1) and the dialog texts.
#define IDS_DESCRIPTION 1
#define IDS_OK 2
#define IDS_CANCEL 3
#define IDS_PREVIEW 4
#define IDS_INTERVAL 5
#define IDS_SIZE 6
#define IDS_COLOR 7
#define IDS_CHOOSE 8
#define IDS_PICTURE 9
#define IDS_PICTURE_SCREEN 10
#define IDS_PICTURE_WALLPAPER 11
#define IDS_PICTURE_GENERATED 12

#define IDI_ORLIVEX 101
