// The window's font: Arial 9 pt, with faces that exist on this machine standing in for it.
#pragma once

#include <QFont>

// Arial falls back to Liberation Sans (same metrics), Chinese characters to WenQuanYi Micro Hei.
// Safe to call more than once.
void InstallFontSubstitutions();

QFont WindowFont();
