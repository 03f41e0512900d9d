// Resource identifiers of Halvane.scr (shared by the resource script and the code).
#pragma once

// String table: the screen saver's name as the display settings list it.
#define IDS_DESCRIPTION 1

// The program icon (also the settings dialog's 32 x 32 icon).
#define IDI_HALVANE 100

// Pictures carried as bitmap files (RCDATA).
#define IDR_MOON_TEXTURE 200        // 512 x 256, the saver's texture
#define IDR_PREVIEW 201             // 152 x 112, the preview picture
#define IDR_MARK_OFF 210            // 12 x 12 selection mark, empty
#define IDR_MARK_ON 211             // 12 x 12 selection mark, filled
#define IDR_BUTTON_NORMAL 220       // 64 x 25 button state pictures
#define IDR_BUTTON_HIGHLIGHT 221
#define IDR_BUTTON_HIGHLIGHTSELECT 222
#define IDR_BUTTON_PRESSED 223
#define IDR_BUTTON_SELECTED 224
#define IDR_BUTTON_DISABLE 225
