#pragma once

// Qt loads every image format plug-in, with the libraries each needs (WebP, TIFF, MNG, JPEG,
// SVG), the first time it reads a picture by its file name, as the window's first icon from the
// theme: a few milliseconds of loading on the window's thread before its first frame. Loaded on
// a worker while the window is made, they cost that thread nothing.
class ImagePluginsWarmUp
{
public:
    static void startInBackground();
};
