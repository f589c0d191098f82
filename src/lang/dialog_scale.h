/*
 * Parsing of a dialog-scale value "width*height" (numbers read as atol does). Free of
 * <windows.h>. Returns whether the dialog is to be scaled (not exactly 100 by 100).
 */
#ifndef ZELKOR_LANG_DIALOG_SCALE_H
#define ZELKOR_LANG_DIALOG_SCALE_H

bool ParseDialogScale(const char* value, int* widthPercent, int* heightPercent);

#endif
