#pragma once
// Pictures on buttons: a speed button's glyph bitmap cut into its images, and
// the picture of a bitmap button's kind.

#include <QIcon>

#include "Buttons.h"

namespace window {

// The glyph's first image as the normal picture and its second, when the
// bitmap holds one, as the disabled picture; the bitmap's lower-left pixel
// colour is transparent. An empty icon when there is no readable bitmap.
QIcon GlyphIcon(const host::TSpeedButton& button);

// The standard picture of a bitmap button's kind; empty for bkCustom.
QIcon KindIcon(host::TBitBtnKind kind);

}  // namespace window
