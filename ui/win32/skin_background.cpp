#include "skin_background.h"

#include "gdi_bitmap.h"

namespace tarnwick::win32 {

SkinBackground::~SkinBackground() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

bool SkinBackground::Load(const std::string& bitmapPath) {
  // A failed load leaves no stale picture behind: the dialog then shows its plain colour.
  skin::UniqueBitmap loaded = skin::LoadBitmapFile(bitmapPath);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = loaded.release();
  return bitmap_ != nullptr;
}

void SkinBackground::Paint(HDC dc) const {
  if (bitmap_ == nullptr) return;
  const SIZE size = skin::BitmapSize(bitmap_);
  const skin::SelectedBitmap source(dc, bitmap_);
  BitBlt(dc, 0, 0, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY);
}

}  // namespace tarnwick::win32
