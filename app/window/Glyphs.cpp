#include "Glyphs.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QStyle>

namespace window {

namespace {

QPixmap GlyphImage(const QImage& bitmap, int index, int count) {
  const int width = bitmap.width() / count;
  QImage image =
      bitmap.copy(index * width, 0, width, bitmap.height()).convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = image.pixel(0, image.height() - 1);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == transparent) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  return QPixmap::fromImage(image);
}

}  // namespace

QIcon GlyphIcon(const host::TSpeedButton& button) {
  const std::vector<std::uint8_t>& data = button.GetGlyphData();
  QImage bitmap;
  if (data.empty() || !bitmap.loadFromData(data.data(), static_cast<int>(data.size()), "BMP"))
    return {};
  const int count = button.GetNumGlyphs();
  QIcon icon;
  icon.addPixmap(GlyphImage(bitmap, 0, count), QIcon::Normal);
  if (count > 1) icon.addPixmap(GlyphImage(bitmap, 1, count), QIcon::Disabled);
  return icon;
}

QIcon KindIcon(host::TBitBtnKind kind) {
  static constexpr QStyle::StandardPixmap kPictures[] = {
      QStyle::SP_CustomBase,         QStyle::SP_DialogOkButton,      QStyle::SP_DialogCancelButton,
      QStyle::SP_DialogHelpButton,   QStyle::SP_DialogYesButton,     QStyle::SP_DialogNoButton,
      QStyle::SP_DialogCloseButton,  QStyle::SP_DialogAbortButton,   QStyle::SP_DialogRetryButton,
      QStyle::SP_DialogIgnoreButton, QStyle::SP_DialogYesToAllButton};
  if (kind == host::bkCustom) return {};
  return QApplication::style()->standardIcon(kPictures[kind]);
}

}  // namespace window
